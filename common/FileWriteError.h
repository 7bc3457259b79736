#pragma once

#include <stdexcept>
#include <string>

namespace tessaron {

// The one error that the file layer raises: a settings file, a document or a
// download image could not be written. The old file, if any, is left as it was.
class FileWriteError : public std::runtime_error
{
public:
    FileWriteError(const std::string& message, std::string path)
        : std::runtime_error(message), m_path(std::move(path))
    {
    }

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace tessaron
