// Every way the main window edits a macro: typing in the grid, the on-screen
// PC keyboard, manual entry, the pop-up menu, deleting, key types, the check
// boxes and the name; the length warning and the MIDI dialog.
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

namespace tessaron::test {
namespace {

class EditingTest : public MainWindowTest
{
protected:
    // A user document without Line Edit, so that no length warning shows.
    TfrmMain& startQuiet()
    {
        TfrmMain& w = start();
        keypad().Operating_Mode = 0;
        return w;
    }
    // Fills the macro with plain codes up to the given number of bytes.
    void fillTo(int bytes)
    {
        while (MacroBytesUsed(macro()) < bytes) {
            ASSERT_TRUE(insertRaw('x'));
        }
        messages.clear();
    }
    QAbstractButton* key(const char* name) { return find<QAbstractButton>(name); }
    QAbstractButton* keyNumber(int k)
    {
        return find<QAbstractButton>(QStringLiteral("btnKey%1").arg(k).toLatin1().constData());
    }
    bool warningShown() { return child<TfrmMacroLenWarning>().isVisible(); }
};

// Typing in the grid.

TEST_F(EditingTest, TypedLetterIsInsertedAndNamesAnUnnamedMacro)
{
    startQuiet();
    type("a");
    EXPECT_EQ(items(), std::vector<int>{97});
    EXPECT_EQ(macro().MacroName, "a");
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), "a");
    EXPECT_EQ(grid()->Cursor(), 1);
    EXPECT_TRUE(doc().Modified());
    type("b");
    EXPECT_EQ(macro().MacroName, "a") << "only an empty name is replaced";
}

TEST_F(EditingTest, OnScreenCapsLockShiftsAndSurvivesTheInsertion)
{
    startQuiet();
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    EXPECT_EQ(window().Editing().ModifierFlags(), CapsLock);
    type("ab");
    EXPECT_EQ(items(), (std::vector<int>{65, 66}));
    EXPECT_EQ(window().Editing().ModifierFlags(), CapsLock);
    EXPECT_TRUE(key("spdbtnCapsLock")->isChecked());
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    EXPECT_EQ(window().Editing().ModifierFlags(), 0);
}

TEST_F(EditingTest, AtSignIsTheEscapedPrefixThenPlainWhileShiftStaysDown)
{
    startQuiet();
    QTest::keyPress(grid(), Qt::Key_Shift);
    keyboard.shift = true;
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftShift | ShiftKeyHeld);
    QTest::keyClick(grid(), '@');
    EXPECT_EQ(window().Editing().ModifierFlags(), 0) << "cleared by the insertion";
    QTest::keyClick(grid(), '@');
    QTest::keyRelease(grid(), Qt::Key_Shift);
    keyboard.shift = false;
    EXPECT_EQ(items(), (std::vector<int>{PrefixEscape, 64}));
    EXPECT_EQ(cells(2), (std::vector<std::string>{"@@", "@"}));
    EXPECT_EQ(MacroBytesUsed(macro()), 3);
}

TEST_F(EditingTest, ShiftGoingUpClearsEveryFlagAndReleasesCapsLock)
{
    startQuiet();
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRCtrl"), Qt::LeftButton);
    QTest::keyPress(grid(), Qt::Key_Shift);
    EXPECT_EQ(window().Editing().ModifierFlags(), CapsLock | RightCtrl | LeftShift | ShiftKeyHeld);
    QTest::keyRelease(grid(), Qt::Key_Shift);
    EXPECT_EQ(window().Editing().ModifierFlags(), 0);
    EXPECT_FALSE(key("spdbtnCapsLock")->isChecked());
}

TEST_F(EditingTest, OnScreenCtrlThenCGivesControlCOnce)
{
    startQuiet();
    QTest::mouseClick(key("sbtnLCtrl"), Qt::LeftButton);
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftCtrl);
    type("cc");
    EXPECT_EQ(items(), (std::vector<int>{3, 'c'}));
    EXPECT_EQ(cells(1), std::vector<std::string>{"^C  03h"});
    EXPECT_FALSE(key("sbtnLCtrl")->isChecked());
    EXPECT_EQ(key("sbtnLCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
    EXPECT_EQ(key("sbtnRCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
}

TEST_F(EditingTest, ModifierTogglesAreIndependent)
{
    startQuiet();
    QTest::mouseClick(key("sbtnLShift"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRShift"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRCtrl"), Qt::LeftButton);
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftShift | RightShift | RightCtrl);
    QTest::mouseClick(key("sbtnRShift"), Qt::LeftButton);
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftShift | RightCtrl);
    EXPECT_TRUE(items().empty()) << "toggles insert nothing";
}

TEST_F(EditingTest, CharactersWithoutAKeyAreIgnoredSilently)
{
    startQuiet();
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier); // types ^A
    QTest::keyClick(grid(), Qt::Key_F5);
    EXPECT_TRUE(items().empty());
    EXPECT_FALSE(doc().Modified());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(EditingTest, EnterEscapeSpaceAndStarAreTyped)
{
    startQuiet();
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    press(Qt::Key_Space);
    type("*+");
    EXPECT_EQ(items(), (std::vector<int>{13, 27, 32, '*', '+'}));
}

TEST_F(EditingTest, EightBitCharactersAreStoredAsTheyAre)
{
    startQuiet();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
    QApplication::sendEvent(grid(), &press);
    EXPECT_EQ(items(), std::vector<int>{0xE9});
}

TEST_F(EditingTest, TabMovesOnThenTypesATab)
{
    startQuiet();
    type("ab");
    grid()->SetCursor(0);
    press(Qt::Key_Tab);
    EXPECT_EQ(items(), (std::vector<int>{'a', 9, 'b'}));
    EXPECT_EQ(grid()->Cursor(), 2);
}

TEST_F(EditingTest, RawInsertionsAtHundredBytesAreRefusedWithMacroFull)
{
    startQuiet();
    fillTo(100);
    QTest::mouseClick(key("btnRaw161"), Qt::LeftButton);
    trigger(menu("popmenuClearMacro"), "F13");
    find<QLineEdit>("edManualInput")->setText("65");
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    EXPECT_EQ(messages.errors(),
              (std::vector<QString>{"Macro Full!", "Macro Full!", "Macro Full!"}));
    EXPECT_EQ(MacroItemCount(macro()), 100);
}

// Deleting.

TEST_F(EditingTest, DoubleClickDeletesTheClickedCell)
{
    startQuiet();
    type("abc");
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, cellCentre(0));
    EXPECT_EQ(items(), (std::vector<int>{'b', 'c'}));
    EXPECT_EQ(grid()->Cursor(), 0);
}

TEST_F(EditingTest, BlockOfThreeCellsInOneRowDeletesThreeItems)
{
    startQuiet();
    type("abcdefgh");
    clickCell(5);
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(grid()->SelectedBlock(), QRect(3, 0, 3, 1));
    EXPECT_EQ(grid()->Cursor(), 3);
    press(Qt::Key_Delete);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b', 'c', 'g', 'h'}));
    EXPECT_EQ(grid()->SelectedBlock(), QRect(3, 0, 1, 1)) << "shrinks to its top-left cell";
    EXPECT_EQ(grid()->Cursor(), 3);
}

// A block extended to the right leaves the cursor on its right end; the block
// is still deleted from its top-left cell, never the items after it.
TEST_F(EditingTest, BlockExtendedRightwardsDeletesItsOwnCells)
{
    startQuiet();
    type("abcdefgh");
    clickCell(2);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid()->Cursor(), 4);
    press(Qt::Key_Backspace);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b', 'f', 'g', 'h'}));
    EXPECT_EQ(grid()->Cursor(), 2);
}

TEST_F(EditingTest, BlockOverTwoRowsDeletesBothRowParts)
{
    startQuiet();
    for (int i = 0; i < 16; ++i) {
        insertRaw('a' + i);
    }
    clickCell(1);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid()->SelectedBlock(), QRect(1, 0, 2, 2));
    press(Qt::Key_Delete);
    // Cells 1, 2, 9 and 10 held b, c, j and k.
    EXPECT_EQ(items(),
              (std::vector<int>{'a', 'd', 'e', 'f', 'g', 'h', 'i', 'l', 'm', 'n', 'o', 'p'}));
}

TEST_F(EditingTest, EraseAllEmptiesTheMacroAndKeepsItsName)
{
    startQuiet();
    type("abcdef");
    doc().SetModified(false);
    trigger(menu("popmenuClearMacro"), "Erase all key codes for this macro");
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(grid()->Cursor(), 0);
    EXPECT_EQ(macro().MacroName, "a");
    EXPECT_TRUE(doc().Modified());
}

// The on-screen PC keyboard.

TEST_F(EditingTest, OnScreenKeysInsertTheirKeyNumbers)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(keyNumber(16), Qt::LeftButton);  // Q
    QTest::mouseClick(keyNumber(2), Qt::LeftButton);   // 1
    QTest::mouseClick(keyNumber(55), Qt::LeftButton);  // keypad *
    QTest::mouseClick(keyNumber(14), Qt::LeftButton);  // Backspace
    QTest::mouseClick(keyNumber(100), Qt::LeftButton); // Del
    QTest::mouseClick(keyNumber(86), Qt::LeftButton);  // keypad Enter
    EXPECT_EQ(items(), (std::vector<int>{'q', '1', '*', 8, 127, 13}));
    EXPECT_EQ(w.focusWidget(), grid());
    EXPECT_EQ(keyNumber(14)->toolTip(), "Click to add BS character, use keyboard to erase");
    EXPECT_EQ(keyNumber(100)->toolTip(), "Click to add DEL character, use keyboard to erase");
}

TEST_F(EditingTest, OnScreenShiftShiftsTheNextKeyOnly)
{
    startQuiet();
    QTest::mouseClick(key("sbtnRShift"), Qt::LeftButton);
    QTest::mouseClick(keyNumber(30), Qt::LeftButton);
    QTest::mouseClick(keyNumber(30), Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{'A', 'a'}));
}

TEST_F(EditingTest, FunctionKeysAreRawCodes)
{
    startQuiet();
    QTest::mouseClick(key("btnRaw161"), Qt::LeftButton);
    QTest::mouseClick(key("btnRaw172"), Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{161, 172}));
    EXPECT_EQ(cells(2), (std::vector<std::string>{"F1", "F12"}));
}

TEST_F(EditingTest, DelayAndBeepTakeTheirTrackBarsPositions)
{
    startQuiet();
    auto* delay = find<QSlider>("tbDelayValue");
    auto* beep = find<QSlider>("tbBeepValue");
    EXPECT_EQ(delay->value(), 50);
    EXPECT_EQ(delay->minimum(), 1);
    EXPECT_EQ(delay->maximum(), 125);
    EXPECT_EQ(delay->toolTip(), "200ms");
    QTest::mouseClick(key("btnDelay"), Qt::LeftButton);
    beep->setValue(125);
    EXPECT_EQ(beep->toolTip(), "500ms");
    QTest::mouseClick(key("btnBeep"), Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{DelayBase + 50, BeepBase + 125}));
    EXPECT_EQ(cells(2), (std::vector<std::string>{"Dly 200", "Beep500"}));
    EXPECT_EQ(MacroBytesUsed(macro()), 6);
    EXPECT_EQ(key("btnDelay")->toolTip(), "3 byte Delay command");
    EXPECT_EQ(key("btnBeep")->toolTip(), "3 byte Beep command");
}

// Manual entry.

TEST_F(EditingTest, ManualHexEntryTypesCapitalsAndInsertsOnEnter)
{
    startQuiet();
    find<QRadioButton>("rbHexadecimal")->click();
    auto* field = find<QLineEdit>("edManualInput");
    EXPECT_EQ(field->maxLength(), 2);
    QTest::keyClicks(field, "7g-f");
    EXPECT_EQ(field->text(), "7F");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(items(), std::vector<int>{127});
    EXPECT_EQ(field->text(), "");
    QTest::keyClicks(field, "a");
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_EQ(items(), (std::vector<int>{127, 10}));
}

TEST_F(EditingTest, ManualDecimalEntryChecksTheRange)
{
    startQuiet();
    auto* field = find<QLineEdit>("edManualInput");
    EXPECT_TRUE(find<QRadioButton>("rbDecimal")->isChecked());
    EXPECT_EQ(field->maxLength(), 3);
    QTest::keyClicks(field, "3a0x05");
    EXPECT_EQ(field->text(), "300");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Value exceeds 255 (decimal)."});
    EXPECT_EQ(field->text(), "300");
    EXPECT_TRUE(items().empty());
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(items(), std::vector<int>{3});
}

TEST_F(EditingTest, EnterInAnEmptyFieldDoesNothing)
{
    startQuiet();
    QTest::keyClick(find<QLineEdit>("edManualInput"), Qt::Key_Return);
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    EXPECT_TRUE(items().empty());
    EXPECT_FALSE(doc().Modified());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(EditingTest, InsertButtonKeepsTheTextAndGivesTheGridTheFocus)
{
    TfrmMain& w = startQuiet();
    auto* field = find<QLineEdit>("edManualInput");
    QTest::keyClicks(field, "200");
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{200, 200}));
    EXPECT_EQ(field->text(), "200");
    EXPECT_EQ(w.focusWidget(), grid());
}

TEST_F(EditingTest, SwitchingTheBaseEmptiesTheField)
{
    startQuiet();
    auto* field = find<QLineEdit>("edManualInput");
    QTest::keyClicks(field, "12");
    find<QRadioButton>("rbHexadecimal")->click();
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(find<QRadioButton>("rbDecimal")->isChecked());
    QTest::keyClicks(field, "ff");
    find<QRadioButton>("rbDecimal")->click();
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(field->maxLength(), 3);
}

TEST_F(EditingTest, PastedTextKeepsToTheDigits)
{
    startQuiet();
    auto* field = find<QLineEdit>("edManualInput");
    field->insert("9x");
    EXPECT_EQ(field->text(), "");
    field->insert("42");
    EXPECT_EQ(field->text(), "42");
}

// The grid's pop-up menu.

TEST_F(EditingTest, PopupMenuGroupsAndRawCodes)
{
    startQuiet();
    QMenu& popup = menu("popmenuClearMacro");
    QStringList captions;
    for (QAction* a : popup.actions()) {
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(captions, (QStringList{"Erase all key codes for this macro",
                                     "-",
                                     "Copy macro",
                                     "Paste macro",
                                     "-",
                                     "View key codes as ASCII",
                                     "View key codes as hex",
                                     "-",
                                     "Insert F13 through F24 key",
                                     "Insert USB HID MultiMedia key",
                                     "Insert USB HID Numeric Keypad key",
                                     "Insert USB HID Miscellaneous key",
                                     "-",
                                     "Insert MIDI Message...",
                                     "-",
                                     "Turn Green LED Off",
                                     "Turn Green LED On",
                                     "Flash Green LED",
                                     "-",
                                     "Turn Red LED Off",
                                     "Turn Red LED On",
                                     "Flash Red LED"}));
    const std::pair<const char*, int> codes[] = {
        {"F13", 173},       {"F24", 184},         {"Scan Next Track", 128}, {"WWW Bookmarks", 151},
        {"Volume Up", 135}, {"KP 0 Ins", 192},    {"KP Enter", 207},        {"CapsLock", 160},
        {"NumLock", 191},   {"Pause/Break", 159}, {"Print Screen", 157},
    };
    std::vector<int> expected;
    for (const auto& [caption, code] : codes) {
        trigger(popup, QString::fromLatin1(caption));
        expected.push_back(code);
    }
    EXPECT_EQ(items(), expected);
    trigger(popup, "Flash Red LED");
    EXPECT_EQ(items().back(), LedBase + 13);
    EXPECT_EQ(messages.informations().size(), 1u) << "the red LED is no host LED";
    EXPECT_EQ(action(popup, "Insert USB HID MultiMedia key")->menu()->actions().size(), 24);
    EXPECT_EQ(action(popup, "Insert USB HID Numeric Keypad key")->menu()->actions().size(), 16);
    EXPECT_EQ(action(popup, "Insert USB HID Miscellaneous key")->menu()->actions().size(), 11);
    EXPECT_EQ(action(popup, "Insert F13 through F24 key")->menu()->actions().size(), 12);
}

// Key types.

TEST_F(EditingTest, KeyTypeMenuChecksTheTypeAndToggles)
{
    TfrmMain& w = startQuiet();
    QWidget* button = w.findChild<QWidget*>("SpeedButton6");
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(pressedKey(), 5);
    EXPECT_TRUE(static_cast<QAbstractButton*>(button)->isChecked());
    QMenu& types = menu("popmenKeyType");
    EXPECT_TRUE(types.isVisible());
    ASSERT_EQ(types.actions().size(), 3);
    EXPECT_EQ(types.actions()[0]->text(),
              "Shift Level    -- will cause the keypad to switch levels while held down.");
    EXPECT_EQ(types.actions()[1]->text(),
              "Toggle Level -- will cause the keypad to switch levels after key is released.");
    for (QAction* a : types.actions()) {
        EXPECT_FALSE(a->isChecked());
    }
    types.actions()[0]->trigger();
    closeMenus();
    EXPECT_EQ(keypad().Keys(5).KeyType, KeyTypeLevelShift);
    EXPECT_EQ(macro().MacroName, "Level Shift");
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), "Level Shift");
    EXPECT_TRUE(doc().Modified());

    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_TRUE(types.actions()[0]->isChecked());
    types.actions()[0]->trigger();
    closeMenus();
    EXPECT_EQ(keypad().Keys(5).KeyType, KeyTypeNone);
    EXPECT_EQ(macro().MacroName, "Level Shift");
}

TEST_F(EditingTest, KeyTypeBelongsToTheKeyAndNamesOnlyAnUnnamedMacro)
{
    TfrmMain& w = startQuiet();
    type("z");
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::RightButton);
    trigger(menu("popmenKeyType"),
            "Toggle Level -- will cause the keypad to switch levels after key is released.");
    EXPECT_EQ(macro().MacroName, "z");
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    EXPECT_EQ(keypad().Keys(pressedKey()).KeyType, KeyTypeLevelToggle);
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::RightButton);
    EXPECT_TRUE(menu("popmenKeyType").actions()[1]->isChecked());
    trigger(menu("popmenKeyType"),
            "Alpha Lock    -- toggles keypad in and out of Alphabetic mode. (v5.43+)");
    EXPECT_EQ(keypad().Keys(pressedKey()).KeyType, KeyTypeAlphaToggle);
    EXPECT_EQ(macro().MacroName, "Alpha Toggle") << "level 2 had no name";
}

// Check boxes and the name.

TEST_F(EditingTest, CheckBoxesSetTheMacrosFlags)
{
    TfrmMain& w = startQuiet();
    keypad().Operating_Mode = 1;
    showAgain(); // which enables the transmit box
    QTest::mouseClick(find<QCheckBox>("chkboxAutoRepeat"), Qt::LeftButton);
    EXPECT_EQ(macro().AutoRepeat, 1);
    EXPECT_TRUE(doc().Modified());
    QTest::mouseClick(find<QCheckBox>("cboxKeyAsTrueTerminal"), Qt::LeftButton);
    EXPECT_EQ(macro().SendLineEditKeyASAP, 1);

    // Showing another key's macro sets the boxes without counting as an edit.
    doc().SetModified(false);
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_FALSE(find<QCheckBox>("chkboxAutoRepeat")->isChecked());
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_TRUE(find<QCheckBox>("chkboxAutoRepeat")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("cboxKeyAsTrueTerminal")->isChecked());
    EXPECT_FALSE(doc().Modified());
}

TEST_F(EditingTest, NameFieldStoresWhatIsTypedAndEnterGoesToTheGrid)
{
    TfrmMain& w = startQuiet();
    auto* name = find<QLineEdit>("EditName");
    QTest::keyClicks(name, "Open door");
    EXPECT_EQ(macro().MacroName, "Open door");
    EXPECT_TRUE(doc().Modified());
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), grid());
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(name->text(), "");
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(name->text(), "Open door");
}

TEST_F(EditingTest, MovingInTheNameFieldIsNoEdit)
{
    startQuiet();
    auto* name = find<QLineEdit>("EditName");
    QTest::keyClick(name, Qt::Key_Left);
    QTest::keyClick(name, Qt::Key_Shift);
    EXPECT_FALSE(doc().Modified());
}

// The macro length warning.

TEST_F(EditingTest, TheWarningFollowsTheNamedCommandsOnly)
{
    start();
    insertRaw('a');
    insertRaw('b');
    EXPECT_FALSE(warningShown()) << "the operations themselves do not warn";

    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    find<QLineEdit>("edManualInput")->setText("65");
    QTest::keyClick(find<QLineEdit>("edManualInput"), Qt::Key_Return);
    EXPECT_FALSE(warningShown()) << "manual entry never warns";

    QTest::mouseClick(find<QAbstractButton>("btnRaw161"), Qt::LeftButton);
    EXPECT_TRUE(warningShown()) << "F1";
    child<TfrmMacroLenWarning>().hide();
    trigger(menu("popmenuClearMacro"), "Mute");
    EXPECT_TRUE(warningShown()) << "pop-up menu code";
    child<TfrmMacroLenWarning>().hide();
    QTest::mouseClick(find<QAbstractButton>("btnBeep"), Qt::LeftButton);
    EXPECT_TRUE(warningShown()) << "beep";
    child<TfrmMacroLenWarning>().hide();
    press(Qt::Key_F5);
    EXPECT_FALSE(warningShown()) << "a key without a character is no typing";
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(warningShown()) << "a typed character that maps to no key still checks";
}

TEST_F(EditingTest, DontShowAgainStopsTheWarningUntilRestart)
{
    start();
    type("ab");
    ASSERT_TRUE(warningShown());
    auto* box = child<TfrmMacroLenWarning>().findChild<QCheckBox*>("CheckBox1");
    auto* ok = child<TfrmMacroLenWarning>().findChild<QAbstractButton*>("BitBtn1");
    ASSERT_NE(box, nullptr);
    ASSERT_NE(ok, nullptr);
    box->setChecked(true);
    ok->click();
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(window().Editing().HideLengthWarning());
    type("c");
    EXPECT_FALSE(warningShown());
    TearDown();

    start();
    type("ab");
    EXPECT_TRUE(warningShown()) << "not stored";
}

// The MIDI dialog.

TEST_F(EditingTest, MidiMessageItemShowsHexAndOpensTheDialog)
{
    startQuiet();
    type("a");
    trigger(menu("popmenuClearMacro"), "Insert MIDI Message...");
    EXPECT_EQ(cells(1), std::vector<std::string>{"0x61"});
    EXPECT_TRUE(child<TfrmMidiEvents>().isVisible());
}

TEST_F(EditingTest, MidiNoteOnInsertsThreeRawItemsWithoutAWarning)
{
    start();
    trigger(menu("popmenuClearMacro"), "Insert MIDI Message...");
    auto* insert = child<TfrmMidiEvents>().findChild<QPushButton*>("btnInsert");
    ASSERT_NE(insert, nullptr);
    QTest::mouseClick(insert, Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{0x90, 0x3C, 0x7F}));
    EXPECT_EQ(cells(3), (std::vector<std::string>{"0x90", "0x3C", "0x7F"}));
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(doc().Modified());
    EXPECT_TRUE(child<TfrmMidiEvents>().isVisible()) << "the dialog stays open";
}

TEST_F(EditingTest, MidiProgramChangeOnChannelTen)
{
    startQuiet();
    trigger(menu("popmenuClearMacro"), "Insert MIDI Message...");
    TfrmMidiEvents& midi = child<TfrmMidiEvents>();
    midi.findChild<QRadioButton*>("rbProgramChange")->click();
    midi.findChild<QSlider*>("tbMidiChannel")->setValue(10);
    midi.findChild<QSlider*>("tbMidiParam1")->setValue(5);
    midi.findChild<QPushButton*>("btnInsert")->click();
    EXPECT_EQ(items(), (std::vector<int>{0xC9, 0x05}));
    EXPECT_EQ(midiChannel(), 10);
}

TEST_F(EditingTest, MidiInsertsAtTheCursor)
{
    startQuiet();
    type("ab");
    grid()->SetCursor(1);
    trigger(menu("popmenuClearMacro"), "Insert MIDI Message...");
    child<TfrmMidiEvents>().findChild<QRadioButton*>("rbStart")->click();
    child<TfrmMidiEvents>().findChild<QPushButton*>("btnInsert")->click();
    EXPECT_EQ(items(), (std::vector<int>{'a', 0xFA, 'b'}));
}

} // namespace
} // namespace tessaron::test
