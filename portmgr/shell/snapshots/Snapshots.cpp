// Renders Corvandelle's windows to PNG files without a desktop, for review and
// the README: the tray menu, the configuration dialog with the keypads that
// TESSARON_HIDAPI and ports/ offer (scripts/snapshots.sh runs it with the
// simulated keypads), the LED window, the "Attention" notice, the start-up
// failure dialog, About and the window used where there is no notification area.
//   CorvandelleSnapshots [output folder]   (default build/snapshots)
#include "portmgr/bridge/TActivityView.h"
#include "portmgr/devices/PortAssignments.h"
#include "portmgr/devices/PortManager.h"
#include "portmgr/shell/About.h"
#include "portmgr/shell/Activity.h"
#include "portmgr/shell/Config.h"
#include "portmgr/shell/ConsoleDialogRunner.h"
#include "portmgr/shell/ConsoleMessageBox.h"
#include "portmgr/shell/Enumerate.h"
#include "portmgr/shell/FormVComFail.h"
#include "portmgr/shell/Main.h"

#include "common/QtLauncher.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>

#include <cstdio>
#include <iostream>

namespace {

using namespace tessaron;

bool save(QWidget& widget, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "snapshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvandelle"));
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("snapshots"));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "snapshots: cannot make %s\n", qPrintable(folder.path()));
        return 1;
    }
    bool ok = true;

    TConsoleMessageBox messages(std::cerr);
    TConsoleDialogRunner dialogs;
    QtLauncher programs;
    TFormMain::Options options;
    options.WatchTray = false;
    TFormMain main({messages, programs, dialogs}, options);

    // The menu while bridging runs, LED window switched on.
    QMenu& menu = main.IconTrayMenu();
    if (auto* leds = menu.findChild<QAction*>(QStringLiteral("mnuShowActivity"))) {
        leds->setEnabled(true);
        leds->setChecked(true);
    }
    menu.popup(QPoint(0, 0));
    settle();
    ok = save(menu, folder, QStringLiteral("corvandelle-menu.png")) && ok;
    menu.hide();

    // The configuration dialog after the second keypad got COM5.
    TPortManager pm;
    TConfigForm config(pm, messages);
    config.show();
    settle();
    for (int row = 0; row < TConfigForm::Rows; ++row) {
        const TKeypadSlot& slot = pm.KeypadSlots[row];
        if (IsUsbSlot(slot) && FindAssignedPort(pm, DevicePathOf(slot)) == 0) {
            config.CurrentRow = row;
            config.ComClick(5);
            break;
        }
    }
    settle();
    ok = save(config, folder, QStringLiteral("corvandelle-config.png")) && ok;
    config.btnFinishedClick();

    // The LED window with two keypads, one of them busy.
    TfrmActivity& activity = main.ActivityForm();
    for (int row = 0; row < TfrmActivity::Rows; ++row) {
        activity.EnableRowLabel(row, row < 2);
        activity.EnableIdBoxes(row, row < 2);
    }
    activity.SetUsbIdBox(0, true);
    activity.SetComIdBox(0, true);
    activity.SetUsbIdBox(1, true);
    activity.SetLed(TLedGroup::UsbRx, 0, true);
    activity.SetLed(TLedGroup::ComTx, 0, true);
    activity.show();
    settle();
    ok = save(activity, folder, QStringLiteral("corvandelle-leds.png")) && ok;
    activity.hide();

    TEnumerateForm notice;
    notice.show();
    settle();
    ok = save(notice, folder, QStringLiteral("corvandelle-attention.png")) && ok;

    TFormVComFail failure(pm, messages);
    failure.show();
    settle();
    ok = save(failure, folder, QStringLiteral("corvandelle-vcomfail.png")) && ok;

    TAboutForm about;
    about.show();
    settle();
    ok = save(about, folder, QStringLiteral("corvandelle-about.png")) && ok;

    TfrmTrayWindow& window = main.Tray().Window();
    main.Tray().LoadIcons();
    main.Tray().AddTrayIcon();
    main.Tray().SetTrayState(QStringLiteral("Corvandelle (Running)"), true);
    window.show();
    settle();
    ok = save(window, folder, QStringLiteral("corvandelle-window.png")) && ok;
    return ok ? 0 : 1;
}
