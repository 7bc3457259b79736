// Renders the editor's windows to PNG files without a desktop, for review:
// the main window in both layouts and both edit modes, the MIDI event dialog,
// the macro length warning and the property dialogs (USER Properties, every
// page of the Advanced ROM Properties, the screen editor with a two-line and a
// one-line LCD).
//   PlindoraxSnapshots [output folder]   (default build/snapshots)
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "editor/model/KeypadClass.h"
#include "editor/snapshots/SilentServices.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroLen.h"
#include "editor/window/Main.h"
#include "editor/window/MidiEvents.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>

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

// A sample macro on the layout's first key, which the window shows: text, a
// delay, a beep and an LED command.
void fillSample(TfrmMain& window, int layout)
{
    TEditingController& editing = window.Editing();
    TMacroPlace place{TKeypadPanel::FirstKey(layout), 0, 0};
    const auto raw = [&](int code) {
        editing.InsertRawCode(place, code);
        ++place.Cursor;
    };
    const auto key = [&](int value) {
        editing.InsertKeyCode(place, value);
        ++place.Cursor;
    };
    raw('H');
    for (const char c : std::string("ello")) {
        key(CharKeyTable[static_cast<unsigned char>(c)]);
    }
    for (const int value : {DelayBase + 50, 28, BeepBase + 25, LedBase + 9}) {
        key(value);
    }
    raw(161);
    raw(135);
    editing.SetMacroName(place, "Greeting");
    window.findChild<QLineEdit*>(QStringLiteral("EditName"))->setText(QStringLiteral("Greeting"));
}

template <class Window>
Window& child(TfrmMain& window)
{
    return *window.findChild<Window*>();
}

// Shows a property dialog as an opening would, renders it, and cancels it.
bool saveDialog(TPropertyDialogFrame& dialog, const QDir& folder, const QString& name,
                const std::function<void()>& prepare = {})
{
    dialog.show();
    if (prepare) {
        prepare();
    }
    QApplication::processEvents();
    const bool ok = save(dialog, folder, name);
    dialog.CancelButton()->click();
    return ok;
}

bool savePropertyDialogs(TfrmMain& window, bool rom, const QDir& folder)
{
    if (!rom) {
        return saveDialog(child<TfrmParameters>(window), folder,
                          QStringLiteral("user-properties.png"));
    }
    bool ok = true;
    TRomRecords& records = window.Document().Rom();
    TfrmAdvanced& advanced = child<TfrmAdvanced>(window);
    auto* pages = advanced.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    static const char* const names[] = {"mode",      "keys-leds", "lcd",      "host", "beeper",
                                        "card-type", "barcode",   "mag-card", "ecr"};
    for (int page = 0; page < pages->count(); ++page) {
        // The Mag Card page is there for a magnetic card reader only.
        records.AdvancedParams.CardReader_Type = page == 7 ? 2 : 1;
        records.AdvancedParams.DeviceType = 0x81;
        records.AdvancedParams.ECR_Mode = 0x8000;
        ok = saveDialog(advanced, folder,
                        QStringLiteral("advanced-%1.png").arg(QLatin1String(names[page])),
                        [&] { pages->setCurrentIndex(page); }) &&
             ok;
    }
    records.SetRomDefaults();
    records.ScreenData[0].TextLine1 = "Badge number:   ";
    records.ScreenData[0].TextLine2 = "> ________      ";
    records.ScreenData[0].bTimeoutEnable = 1;
    records.ScreenData[0].LedModes = 21;
    TfrmScreenEdit& screens = child<TfrmScreenEdit>(window);
    ok = saveDialog(screens, folder, QStringLiteral("screen-editor-2lines.png")) && ok;
    records.AdvancedParams.LcdSize = 16;
    ok = saveDialog(screens, folder, QStringLiteral("screen-editor-1line.png")) && ok;
    records.SetRomDefaults();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plindorax"));

    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/snapshots");
    QDir folder;
    if (!folder.mkpath(output)) {
        std::fprintf(stderr, "snapshots: cannot create %s\n", qPrintable(output));
        return 1;
    }
    folder.setPath(output);

    // A suite folder of its own, so that no real settings are touched.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "snapshots: no temporary folder\n");
        return 1;
    }
    qputenv("TESSARON_HOME", QFile::encodeName(home.path()));

    SilentServices silent;
    const TMainServices services = silent.Services();

    bool ok = true;
    for (const bool rom : {false, true}) {
        for (const int layout : {2, 1}) {
            QFile ini(home.filePath(QStringLiteral("Plindorax.ini")));
            if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                return 1;
            }
            ini.write(
                QStringLiteral("[CONFIGURATION]\r\nKeypad_Layout=%1\r\nAdvanced_Enable=%2\r\n")
                    .arg(layout)
                    .arg(rom ? 1 : 0)
                    .toLatin1());
            ini.close();
            QFile tavrix(home.filePath(QStringLiteral("Tavrix.ini")));
            if (tavrix.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                tavrix.write("[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");
                tavrix.close();
            }

            TfrmMain window(services, {});
            window.show();
            fillSample(window, layout);
            if (rom) {
                // Level Shift on the current key, through its menu.
                window.findChild<QMenu*>(QStringLiteral("popmenKeyType"))
                    ->actions()
                    .constFirst()
                    ->trigger();
            }
            QApplication::processEvents();
            const QString name = QStringLiteral("plindorax-%1-%2keys.png")
                                     .arg(rom ? QStringLiteral("rom") : QStringLiteral("user"))
                                     .arg(layout == 2 ? 20 : 12);
            ok = save(window, folder, name) && ok;
            if (layout == 2) {
                ok = savePropertyDialogs(window, rom, folder) && ok;
            }

            if (!rom && layout == 2) {
                TfrmMidiEvents& midi = child<TfrmMidiEvents>(window);
                midi.ShowDialog();
                QApplication::processEvents();
                ok = save(midi, folder, QStringLiteral("midi-events.png")) && ok;
                midi.hide();

                TfrmMacroLenWarning& warning = child<TfrmMacroLenWarning>(window);
                warning.ShowLengthWarning(false);
                QApplication::processEvents();
                ok = save(warning, folder, QStringLiteral("length-warning-short.png")) && ok;
                warning.ShowLengthWarning(true);
                QApplication::processEvents();
                ok = save(warning, folder, QStringLiteral("length-warning-long.png")) && ok;
                warning.hide();
            }
            window.Document().Keypad().Reset();
            window.Document().SetModified(false);
            window.close();
        }
    }
    return ok ? 0 : 1;
}
