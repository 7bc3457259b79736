#pragma once

class QDialog;

namespace tessaron {

// Shows a dialog modally and returns its result. Tests replace it, so that no
// modal dialog ever blocks them.
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    virtual int Run(QDialog& dialog) = 0;
};

} // namespace tessaron
