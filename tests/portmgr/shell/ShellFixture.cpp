#include "ShellFixture.h"

#include "common/SuiteFolder.h"
#include "tests/portmgr/PortSettingsText.h"

#include <QFileInfo>
#include <QMenu>

#include <cstdlib>
#include <filesystem>

namespace tessaron::test {

ShellTest::ShellTest()
{
    ::setenv("TESSARON_HIDAPI", TESSARON_FAKEHID_LIBRARY, 1);
    ::setenv("TESSARON_SYSFS", sysfs.path().c_str(), 1);
    // Where the single-instance lock and the command socket live.
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ::setenv("TESSARON_LOCK_DIR", runtime.path().c_str(), 1);
    std::filesystem::create_directories(sysfs.path() + "/class/hidraw");
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    fakehid_reset();
}

ShellTest::~ShellTest()
{
    m_form.reset();
    fakehid_reset();
    ::unsetenv("TESSARON_HIDAPI");
    ::unsetenv("TESSARON_SYSFS");
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("TESSARON_LOCK_DIR");
}

void ShellTest::remember(const std::vector<std::pair<std::string, int>>& assignments)
{
    home.write("Corvandelle.ini", PortSettingsText(assignments));
}

void ShellTest::addProgram(const char* name)
{
    const std::string path = home.write(name, "#!/bin/sh\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TFormMain& ShellTest::form()
{
    if (!m_form) {
        TFormMain::Options options;
        options.WatchTray = false;
        options.Err = &err;
        options.CommandSocket = QString::fromStdString(runtime.file("command"));
        m_form = std::make_unique<TFormMain>(TShellServices{messages, programs, dialogs}, options);
        m_form->SleepMs = [this](int ms) { waits.push_back(ms); };
        m_form->Host().SetSleep([this](int ms) { waits.push_back(ms); });
        QObject::connect(m_form.get(), &TFormMain::ExitRequested,
                         [this](int code) { exitCodes.push_back(code); });
    }
    return *m_form;
}

QAction* ShellTest::item(const char* name)
{
    return form().IconTrayMenu().findChild<QAction*>(QString::fromLatin1(name));
}

bool ShellTest::portExists(int n)
{
    std::error_code error;
    return std::filesystem::is_symlink(home.file("ports/COM" + std::to_string(n)), error);
}

std::vector<std::string> ShellTest::launches()
{
    std::vector<std::string> out;
    for (const FakeLauncher::Started& s : programs.started()) {
        out.push_back(QFileInfo(s.program).fileName().toStdString() +
                      (s.parameters.isEmpty() ? "" : " " + s.parameters.toStdString()));
    }
    return out;
}

std::vector<std::string> ShellTest::errors()
{
    std::vector<std::string> out;
    for (const FakeMessageBox::Shown& s : messages.shown()) {
        if (s.kind == FakeMessageBox::Kind::Error) {
            out.push_back(s.caption.toStdString() + "|" + s.text.toStdString());
        }
    }
    return out;
}

} // namespace tessaron::test
