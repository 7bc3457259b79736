#pragma once

#include <stdexcept>
#include <string>

namespace tessaron {

// A document that is there but may not be read: not a regular file (a FIFO, a
// device, a folder), longer than any real document, or unreadable. The message
// names the path and the reason. Nothing of the document was loaded.
class FileReadError : public std::runtime_error
{
public:
    explicit FileReadError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tessaron
