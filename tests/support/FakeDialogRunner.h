#pragma once

#include "common/DialogRunner.h"

#include <QString>

#include <functional>
#include <vector>

namespace tessaron::test {

// Records the dialogs that would have been shown modally and returns a preset
// result without blocking; a callback may act on the dialog meanwhile (press
// its Apply button, read its controls).
class FakeDialogRunner : public DialogRunner
{
public:
    int Run(QDialog& dialog) override;

    void SetResult(int result) { m_result = result; }
    void SetWhileShown(std::function<void(QDialog&)> callback)
    {
        m_whileShown = std::move(callback);
    }

    // Object names of the dialogs, in order.
    const std::vector<QString>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    int m_result = 0;
    std::function<void(QDialog&)> m_whileShown;
    std::vector<QString> m_shown;
};

} // namespace tessaron::test
