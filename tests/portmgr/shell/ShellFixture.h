#pragma once

// A temporary suite folder, the simulated USB keypad library loaded as hidapi,
// an empty fake sysfs tree, a private runtime folder, recording fakes for the
// message boxes, launches and modal dialogs, and Corvandelle's main form on
// top of them (made on first use, started with start()).

#include "FakeHid.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/shell/Main.h"
#include "tests/support/FakeDialogRunner.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TempHome.h"

#include <QAction>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tessaron::test {

// Public, so that the set-up functions of table-driven cases reach it.
class ShellTest : public ::testing::Test
{
public:
    ShellTest();
    ~ShellTest() override;

    // Writes "Corvandelle.ini" with the assignments identity -> port, in order.
    void remember(const std::vector<std::pair<std::string, int>>& assignments);
    // A stand-in sibling program in the suite folder.
    void addProgram(const char* name);

    TFormMain& form();
    void start() { form().FormCreate(); }
    QAction* item(const char* name);
    QString tip() { return form().Tray().Tip(); }
    bool portExists(int n);
    TKeypadSlot& slot(int i) { return form().Host().Ports().KeypadSlots[static_cast<size_t>(i)]; }
    // The programs started, as "name parameters".
    std::vector<std::string> launches();
    // The error boxes, as "caption|text".
    std::vector<std::string> errors();

    TempHome home;
    TempDir sysfs;
    TempDir runtime;
    FakeMessageBox messages;
    FakeLauncher programs;
    FakeDialogRunner dialogs;
    std::ostringstream err;
    std::vector<int> waits;     // the main form's and the bridge's fixed waits
    std::vector<int> exitCodes; // ExitRequested

private:
    std::unique_ptr<TFormMain> m_form;
};

} // namespace tessaron::test
