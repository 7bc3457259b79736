#include "SiblingPrograms.h"

#include "common/CommandLine.h"
#include "common/SuiteFolder.h"

#include <QFile>
#include <QFileInfo>

namespace tessaron {

namespace {

const QString Caption = QStringLiteral("Plindorax");

} // namespace

TSiblingPrograms::TSiblingPrograms(Launcher& programs, MessageBox& messages)
    : m_programs(programs), m_messages(messages)
{
}

QString TSiblingPrograms::FileName(const char* program)
{
#ifdef _WIN32
    return QString::fromLatin1(program) + QStringLiteral(".exe");
#else
    return QString::fromLatin1(program);
#endif
}

QString TSiblingPrograms::Path(const char* program)
{
    return QFile::decodeName(QByteArray::fromStdString(
        SiblingProgramPath(QFile::encodeName(FileName(program)).toStdString())));
}

void TSiblingPrograms::StartLoader(const std::string& path)
{
    const QString quoted = QFile::decodeName(QByteArray::fromStdString(QuoteWindowsArgument(path)));
    if (!m_programs.StartProgram(Path("Tavrix"), quoted)) {
        m_messages.Error(Caption, QStringLiteral("Could not find \"%1\" loader program. Make sure "
                                                 "it is located in the same directory as this "
                                                 "application.")
                                      .arg(FileName("Tavrix")));
    }
}

void TSiblingPrograms::RunPortSetting(QWidget* window)
{
    if (!m_programs.RunAndWait(Path("Wendrel"), window)) {
        m_messages.Error(Caption, QStringLiteral("Could not find \"%1\".  Make sure it is located "
                                                 "in the same directory as this application.")
                                      .arg(FileName("Wendrel")));
    }
}

void TSiblingPrograms::StartTest(bool usbHid, int comPort)
{
    if (usbHid) {
        // No message either way.
        m_programs.StartProgram(Path("Ruskel"), QString());
        return;
    }
    bool started = false;
    if (comPort == 0) {
        started = m_programs.StartProgram(Path("Qex"), QString());
    } else if (comPort == -1) {
        // By its bare name. Windows looks in the program's own folder before
        // the search path; here the suite's places come first, then the path.
        const QString found = Path("Ruskel");
        started = m_programs.StartProgram(
            QFileInfo(found).isExecutable() ? found : FileName("Ruskel"), QString());
    } else if (comPort > 0) {
        started = m_programs.StartProgram(Path("Qex"), QString::number(comPort));
    }
    if (!started) {
        m_messages.Error(Caption, QStringLiteral("Could not find the Windows Ruskel Program.  Make "
                                                 "sure it is located in the same directory as "
                                                 "this application."));
    }
}

} // namespace tessaron
