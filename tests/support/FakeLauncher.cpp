#include "FakeLauncher.h"

#include "common/CommandLine.h"

namespace tessaron::test {

bool FakeLauncher::StartProgram(const QString& program, const QString& parameters)
{
    QStringList arguments;
    for (const std::string& argument : SplitWindowsCommandLine(parameters.toStdString())) {
        arguments << QString::fromStdString(argument);
    }
    m_started.push_back({Kind::Program, program, parameters, arguments});
    return m_succeeds;
}

bool FakeLauncher::OpenDocument(const QString& path)
{
    m_started.push_back({Kind::Document, path, QString(), QStringList()});
    return m_succeeds;
}

bool FakeLauncher::RunAndWait(const QString& program, QWidget*)
{
    m_started.push_back({Kind::RunAndWait, program, QString(), QStringList()});
    if (m_succeeds && m_whileRunning) {
        m_whileRunning();
    }
    return m_succeeds;
}

} // namespace tessaron::test
