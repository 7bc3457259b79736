#pragma once

#include <string>

namespace tessaron {

// How the model shows a message to the user: the editor implements it with an
// information box, the command-line tool with a line on standard error, tests
// with a recorder.
class TMessageSink
{
public:
    virtual ~TMessageSink() = default;
    // An information box with an OK button.
    virtual void ShowInformation(const std::string& text) = 0;
};

} // namespace tessaron
