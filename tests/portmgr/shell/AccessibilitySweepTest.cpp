// Every window of Corvandelle read as a screen reader reads it and walked
// with Tab (the rules: tests/support/AccessibilitySweep.h).
#include "ShellFixture.h"

#include "FakeHid.h"
#include "portmgr/shell/Activity.h"
#include "portmgr/shell/FormVComFail.h"
#include "portmgr/shell/TrayIcon.h"
#include "tests/support/AccessibilitySweep.h"

#include <QDialog>

namespace tessaron::test {
namespace {

using Problems = std::vector<std::string>;

TEST_F(ShellTest, ScreenReaderAndTabMeetEveryControlOfEveryWindow)
{
    remember({{"/dev/sim-1", 3}, {"/dev/gone", 4}});
    fakehid_add_device(0x16C0, 0x0604, "/dev/sim-1");
    start(); // offscreen there is no notification area: the menu is in a window
    EXPECT_EQ(AccessibilityProblems(form().Tray().Window()), Problems{}) << "no-tray window";
    item("mnuShowActivity")->trigger();
    EXPECT_EQ(AccessibilityProblems(form().ActivityForm()), Problems{}) << "LED window";

    // The notice, the configuration dialog and About, each as it is shown.
    dialogs.SetWhileShown([](QDialog& d) {
        d.show();
        EXPECT_EQ(AccessibilityProblems(d), Problems{}) << d.objectName().toStdString();
        d.hide();
    });
    form().mnuConfigClick();
    item("mnuAbout")->trigger();
    EXPECT_EQ(dialogs.shown(),
              (std::vector<QString>{QStringLiteral("EnumerateForm"), QStringLiteral("ConfigForm"),
                                    QStringLiteral("AboutForm")}));

    TFormVComFail retry(form().Host().Ports(), messages);
    retry.show();
    EXPECT_EQ(AccessibilityProblems(retry), Problems{}) << "retry dialog";
}

} // namespace
} // namespace tessaron::test
