#pragma once

#include "common/Launcher.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace tessaron::test {

// Records every start and document, and starts nothing. Whether a start
// succeeds is set beforehand (all succeed by default); RunAndWait can run a
// callback in place of the program (for example one that writes Tavrix.ini).
class FakeLauncher : public Launcher
{
public:
    enum class Kind
    {
        Program,
        Document,
        RunAndWait,
    };

    struct Started
    {
        Kind kind;
        QString program;       // or the document
        QString parameters;    // as given
        QStringList arguments; // as the program would receive them
    };

    bool StartProgram(const QString& program, const QString& parameters) override;
    bool OpenDocument(const QString& path) override;
    bool RunAndWait(const QString& program, QWidget* window) override;

    // Every later call fails (false) or succeeds (true).
    void SetSucceeds(bool succeeds) { m_succeeds = succeeds; }
    void SetWhileRunning(std::function<void()> callback) { m_whileRunning = std::move(callback); }

    const std::vector<Started>& started() const { return m_started; }
    void clear() { m_started.clear(); }

private:
    bool m_succeeds = true;
    std::function<void()> m_whileRunning;
    std::vector<Started> m_started;
};

} // namespace tessaron::test
