// Every window of Plindorax in both modes, read as a screen reader reads it
// and walked with Tab (the rules: tests/support/AccessibilitySweep.h), also
// after the changes that recaption or refill its controls.
#include "tests/support/AccessibilitySweep.h"
#include "DialogFixture.h"

namespace tessaron::test {
namespace {

using Problems = std::vector<std::string>;

class PlindoraxSweep : public DialogTest
{
protected:
    static QString busName(QWidget* w)
    {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    }
    void sweep(QWidget& w, const char* state)
    {
        EXPECT_EQ(AccessibilityProblems(w), Problems{}) << state;
    }
    // Clicks each control in turn and sweeps the dialog after each click.
    void sweepAfterClicks(std::initializer_list<const char*> clicks)
    {
        for (const char* name : clicks) {
            click(name);
            sweep(dialog(), name);
        }
    }
    // Runs the next modal box offscreen long enough to sweep it.
    void sweepNextDialog(const char* state)
    {
        dialogs.SetWhileShown([this, state](QDialog& d) {
            d.show();
            sweep(d, state);
            d.reject();
        });
    }
};

TEST_F(PlindoraxSweep, UserModeWindows)
{
    TfrmMain& w = start();
    sweep(w, "main window");
    // A changed figure, and the two windows that typing and the grid's menu open.
    type("ab");
    sweep(w, "main window after typing");
    EXPECT_EQ(busName(find<QWidget>("lblBytesUsed")), "Bytes available for this macro: 98");
    sweep(*w.findChild<TfrmMacroLenWarning*>(), "length warning");
    trigger(menu("popmenuClearMacro"), "Insert MIDI Message...");
    sweep(*w.findChild<TfrmMidiEvents*>(), "MIDI dialog");
    w.findChild<TfrmMidiEvents*>()->hide();

    openUserProperties([&] {
        sweep(dialog(), "Parameters");
        // USB HID recaptions the LED choices; each reader type shows its group.
        sweepAfterClicks({"rbHostTypeHID", "rbCardReaderBCR", "rbCardReaderMCR"});
        EXPECT_EQ(busName(control("rbLED1level")), "Green LED CapsLock Indicator");
        EXPECT_EQ(busName(control("cboxBaudRate")), "Baud Rate: 9600");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control("btnApply"))
                      ->text(QAccessible::Accelerator),
                  "Alt+A");
    });
    sweepNextDialog("About");
    trigger(menu("HelpMenu"), "&About Plindorax");
}

TEST_F(PlindoraxSweep, RomEditModeWindows)
{
    TfrmMain& w = startRom();
    sweep(w, "main window");
    openAdvanced([&] {
        sweep(dialog(), "Advanced");
        // Other reader types show other pages; USB HID recaptions the LEDs.
        sweepAfterClicks({"rbHostHID", "rbCardBCR", "rbCardMCR"});
        EXPECT_EQ(busName(control("rbCardMCR")), "Magnetic Card");
    });
    openScreens([&] { sweep(dialog(), "screen editor"); });
}

} // namespace
} // namespace tessaron::test
