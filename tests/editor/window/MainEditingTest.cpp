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
        w.Keypad().Operating_Mode = 0;
        return w;
    }
    // Fills the macro with plain codes up to the given number of bytes.
    void fillTo(int bytes)
    {
        while (window().Keypad().BytesUsed() < bytes) {
            ASSERT_TRUE(window().InsertRawCode('x'));
        }
        messages.clear();
    }
    QAbstractButton* key(const char* name) { return find<QAbstractButton>(name); }
    QAbstractButton* keyNumber(int k)
    {
        return find<QAbstractButton>(QStringLiteral("btnKey%1").arg(k).toLatin1().constData());
    }
    bool warningShown() { return window().MacroLenWarning().isVisible(); }
    QString warningText()
    {
        auto* memo = window().MacroLenWarning().findChild<QPlainTextEdit*>("Memo1");
        return memo != nullptr ? memo->toPlainText() : QString();
    }
};

// Typing in the grid.

TEST_F(EditingTest, TypedLetterIsInsertedAndNamesAnUnnamedMacro)
{
    TfrmMain& w = startQuiet();
    type("a");
    EXPECT_EQ(items(), std::vector<int>{97});
    EXPECT_EQ(w.Keypad().MacroName(), "a");
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), "a");
    EXPECT_EQ(grid()->Cursor(), 1);
    EXPECT_TRUE(w.Modified());
    type("b");
    EXPECT_EQ(w.Keypad().MacroName(), "a") << "only an empty name is replaced";
}

TEST_F(EditingTest, NameFromTheFirstItemFollowsTheView)
{
    TfrmMain& w = startQuiet();
    w.Keypad().HexView = 1;
    type("a");
    EXPECT_EQ(w.Keypad().MacroName(), "0x61");
}

TEST_F(EditingTest, PcShiftGivesTheShiftedCode)
{
    startQuiet();
    keyboard.shift = true;
    QTest::keyClick(grid(), 'A', Qt::ShiftModifier);
    EXPECT_EQ(items(), std::vector<int>{65});
}

TEST_F(EditingTest, PcCapsLockGivesTheShiftedCode)
{
    startQuiet();
    keyboard.capsLock = true;
    type("a");
    EXPECT_EQ(items(), std::vector<int>{65});
}

TEST_F(EditingTest, OnScreenCapsLockShiftsAndSurvivesTheInsertion)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    EXPECT_EQ(w.ModifierFlags(), CapsLock);
    type("ab");
    EXPECT_EQ(items(), (std::vector<int>{65, 66}));
    EXPECT_EQ(w.ModifierFlags(), CapsLock);
    EXPECT_TRUE(key("spdbtnCapsLock")->isChecked());
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    EXPECT_EQ(w.ModifierFlags(), 0);
}

TEST_F(EditingTest, AtSignIsTheEscapedPrefixThenPlainWhileShiftStaysDown)
{
    TfrmMain& w = startQuiet();
    QTest::keyPress(grid(), Qt::Key_Shift);
    keyboard.shift = true;
    EXPECT_EQ(w.ModifierFlags(), LeftShift | ShiftKeyHeld);
    QTest::keyClick(grid(), '@');
    EXPECT_EQ(w.ModifierFlags(), 0) << "cleared by the insertion";
    QTest::keyClick(grid(), '@');
    QTest::keyRelease(grid(), Qt::Key_Shift);
    keyboard.shift = false;
    EXPECT_EQ(items(), (std::vector<int>{PrefixEscape, 64}));
    EXPECT_EQ(cells(2), (std::vector<std::string>{"@@", "@"}));
    EXPECT_EQ(w.Keypad().BytesUsed(), 3);
}

TEST_F(EditingTest, ShiftGoingUpClearsEveryFlagAndReleasesCapsLock)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(key("spdbtnCapsLock"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRCtrl"), Qt::LeftButton);
    QTest::keyPress(grid(), Qt::Key_Shift);
    EXPECT_EQ(w.ModifierFlags(), CapsLock | RightCtrl | LeftShift | ShiftKeyHeld);
    QTest::keyRelease(grid(), Qt::Key_Shift);
    EXPECT_EQ(w.ModifierFlags(), 0);
    EXPECT_FALSE(key("spdbtnCapsLock")->isChecked());
}

TEST_F(EditingTest, OnScreenCtrlThenCGivesControlCOnce)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(key("sbtnLCtrl"), Qt::LeftButton);
    EXPECT_EQ(w.ModifierFlags(), LeftCtrl);
    type("cc");
    EXPECT_EQ(items(), (std::vector<int>{3, 'c'}));
    EXPECT_EQ(cells(1), std::vector<std::string>{"^C  03h"});
    EXPECT_FALSE(key("sbtnLCtrl")->isChecked());
    EXPECT_EQ(key("sbtnLCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
    EXPECT_EQ(key("sbtnRCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
}

TEST_F(EditingTest, CtrlWithADigitInsertsNothingAndKeepsTheNameEmpty)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(key("sbtnLCtrl"), Qt::LeftButton);
    type("1");
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(w.ModifierFlags(), 0);
    EXPECT_EQ(w.Keypad().MacroName(), "");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(EditingTest, ModifierTogglesAreIndependent)
{
    TfrmMain& w = startQuiet();
    QTest::mouseClick(key("sbtnLShift"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRShift"), Qt::LeftButton);
    QTest::mouseClick(key("sbtnRCtrl"), Qt::LeftButton);
    EXPECT_EQ(w.ModifierFlags(), LeftShift | RightShift | RightCtrl);
    QTest::mouseClick(key("sbtnRShift"), Qt::LeftButton);
    EXPECT_EQ(w.ModifierFlags(), LeftShift | RightCtrl);
    EXPECT_TRUE(items().empty()) << "toggles insert nothing";
}

TEST_F(EditingTest, CharactersWithoutAKeyAreIgnoredSilently)
{
    TfrmMain& w = startQuiet();
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier); // types ^A
    QTest::keyClick(grid(), Qt::Key_F5);
    EXPECT_TRUE(items().empty());
    EXPECT_FALSE(w.Modified());
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

TEST_F(EditingTest, FullMacroRefusesTypingWithTheKeyPathMessage)
{
    TfrmMain& w = startQuiet();
    fillTo(99);
    type("a");
    EXPECT_EQ(w.Keypad().BytesUsed(), 100) << "a character still fits at 99 bytes";
    grid()->SetCursor(50);
    type("b");
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Not enough room or macro full!"});
    EXPECT_EQ(w.Keypad().BytesUsed(), 100);
}

TEST_F(EditingTest, DelayAtNinetyNineBytesIsRefused)
{
    TfrmMain& w = startQuiet();
    fillTo(99);
    QTest::mouseClick(key("btnDelay"), Qt::LeftButton);
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Not enough room or macro full!"});
    EXPECT_EQ(w.Keypad().BytesUsed(), 99);
}

TEST_F(EditingTest, RawInsertionsAtHundredBytesAreRefusedWithMacroFull)
{
    TfrmMain& w = startQuiet();
    fillTo(100);
    QTest::mouseClick(key("btnRaw161"), Qt::LeftButton);
    trigger(w.GridPopupMenu(), "F13");
    find<QLineEdit>("edManualInput")->setText("65");
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    EXPECT_EQ(messages.errors(),
              (std::vector<QString>{"Macro Full!", "Macro Full!", "Macro Full!"}));
    EXPECT_EQ(w.Keypad().ItemCount(), 100);
}

TEST_F(EditingTest, FailedInsertionChangesNothing)
{
    TfrmMain& w = startQuiet();
    fillTo(100);
    w.SetModified(false);
    QTest::mouseClick(key("sbtnLShift"), Qt::LeftButton);
    type("a");
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(w.ModifierFlags(), LeftShift) << "flags are cleared only by a success";
}

// Deleting.

TEST_F(EditingTest, BackspaceDeletesBeforeTheCursor)
{
    TfrmMain& w = startQuiet();
    type("abc");
    press(Qt::Key_Backspace);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b'}));
    EXPECT_EQ(grid()->Cursor(), 2);
    grid()->SetCursor(0);
    w.SetModified(false);
    press(Qt::Key_Backspace);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b'}));
    EXPECT_FALSE(w.Modified()) << "Backspace at cell 0 does nothing";
}

TEST_F(EditingTest, DeleteRemovesAtTheCursorAndPastTheEndOnlyMarksModified)
{
    TfrmMain& w = startQuiet();
    type("abc");
    grid()->SetCursor(1);
    press(Qt::Key_Delete);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'c'}));
    EXPECT_EQ(grid()->Cursor(), 1);

    w.SetModified(false);
    clickCell(20);
    press(Qt::Key_Delete);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'c'}));
    EXPECT_TRUE(w.Modified());
    EXPECT_EQ(grid()->Cursor(), 20);
}

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
    TfrmMain& w = startQuiet();
    for (int i = 0; i < 16; ++i) {
        w.InsertRawCode('a' + i);
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
    TfrmMain& w = startQuiet();
    type("abcdef");
    w.SetModified(false);
    trigger(w.GridPopupMenu(), "Erase all key codes for this macro");
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(grid()->Cursor(), 0);
    EXPECT_EQ(w.Keypad().MacroName(), "a");
    EXPECT_TRUE(w.Modified());
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
    EXPECT_EQ(window().Keypad().BytesUsed(), 6);
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
    TfrmMain& w = startQuiet();
    QTest::keyClick(find<QLineEdit>("edManualInput"), Qt::Key_Return);
    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    EXPECT_TRUE(items().empty());
    EXPECT_FALSE(w.Modified());
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
    TfrmMain& w = startQuiet();
    QMenu& menu = w.GridPopupMenu();
    QStringList captions;
    for (QAction* a : menu.actions()) {
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
        trigger(menu, QString::fromLatin1(caption));
        expected.push_back(code);
    }
    EXPECT_EQ(items(), expected);
    EXPECT_EQ(action(menu, "Insert USB HID MultiMedia key")->menu()->actions().size(), 24);
    EXPECT_EQ(action(menu, "Insert USB HID Numeric Keypad key")->menu()->actions().size(), 16);
    EXPECT_EQ(action(menu, "Insert USB HID Miscellaneous key")->menu()->actions().size(), 11);
    EXPECT_EQ(action(menu, "Insert F13 through F24 key")->menu()->actions().size(), 12);
}

TEST_F(EditingTest, LedCommandInHidKeyboardModeShowsOnlyTheHidNote)
{
    TfrmMain& w = startQuiet();
    w.Keypad().Operating_Mode = 0x31;
    trigger(w.GridPopupMenu(), "Turn Green LED On");
    EXPECT_EQ(items(), std::vector<int>{LedBase + 9});
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"Note: The LED cannot be controlled by Host or Macro in HID "
                                   "Keyboard mode."});
}

TEST_F(EditingTest, LedCommandInLineEditModeNeedsTransmitThisKey)
{
    TfrmMain& w = start();
    w.Keypad().LED_Function = 0x22;
    trigger(w.GridPopupMenu(), "Flash Red LED");
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"Keypad must be in True Terminal mode or key  must have "
                                   "\"Transmit this key\"\nchecked in order for the LED command "
                                   "to function."});
    EXPECT_FALSE(warningShown()) << "LED commands never warn about the length";

    messages.clear();
    QTest::mouseClick(find<QCheckBox>("cboxKeyAsTrueTerminal"), Qt::LeftButton);
    trigger(w.GridPopupMenu(), "Turn Red LED Off");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(items(), (std::vector<int>{LedBase + 13, LedBase + 11}));
}

TEST_F(EditingTest, LedCommandNotesTheLedModes)
{
    TfrmMain& w = startQuiet();
    w.Keypad().LED_Function = 0x21; // green host, red level indicator
    trigger(w.GridPopupMenu(), "Turn Green LED Off");
    EXPECT_TRUE(messages.shown().empty());
    trigger(w.GridPopupMenu(), "Turn Red LED On");
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"The Red LED will not operate in your macro unless you "
                                   "change\nthe Red LED mode to Host/Macro in the Properties "
                                   "panel."});
    messages.clear();
    w.Keypad().LED_Function = 0x12;
    trigger(w.GridPopupMenu(), "Flash Green LED");
    EXPECT_EQ(messages.informations(),
              std::vector<QString>{"The Green LED will not operate in your macro unless you "
                                   "change\nthe Green LED mode to Host/Macro in the Properties "
                                   "panel."});
}

TEST_F(EditingTest, LedNotesFollowAFailedInsertionToo)
{
    TfrmMain& w = startQuiet();
    fillTo(99);
    trigger(w.GridPopupMenu(), "Turn Green LED On");
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Not enough room or macro full!"});
    EXPECT_EQ(messages.informations().size(), 1u) << "the default green LED is a level indicator";
}

// Key types.

TEST_F(EditingTest, KeyTypeMenuChecksTheTypeAndToggles)
{
    TfrmMain& w = startQuiet();
    QWidget* button = w.findChild<QWidget*>("SpeedButton6");
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(w.Keypad().CurrentKey(), 5);
    EXPECT_TRUE(static_cast<QAbstractButton*>(button)->isChecked());
    QMenu& menu = w.KeyTypeMenu();
    EXPECT_TRUE(menu.isVisible());
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0]->text(),
              "Shift Level    -- will cause the keypad to switch levels while held down.");
    EXPECT_EQ(menu.actions()[1]->text(),
              "Toggle Level -- will cause the keypad to switch levels after key is released.");
    for (QAction* a : menu.actions()) {
        EXPECT_FALSE(a->isChecked());
    }
    menu.actions()[0]->trigger();
    closeMenus();
    EXPECT_EQ(w.Keypad().Keys(5).KeyType, KeyTypeLevelShift);
    EXPECT_EQ(w.Keypad().MacroName(), "Level Shift");
    EXPECT_EQ(find<QLineEdit>("EditName")->text(), "Level Shift");
    EXPECT_TRUE(w.Modified());

    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_TRUE(menu.actions()[0]->isChecked());
    menu.actions()[0]->trigger();
    closeMenus();
    EXPECT_EQ(w.Keypad().Keys(5).KeyType, KeyTypeNone);
    EXPECT_EQ(w.Keypad().MacroName(), "Level Shift");
}

TEST_F(EditingTest, KeyTypeBelongsToTheKeyAndNamesOnlyAnUnnamedMacro)
{
    TfrmMain& w = startQuiet();
    type("z");
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::RightButton);
    trigger(w.KeyTypeMenu(),
            "Toggle Level -- will cause the keypad to switch levels after key is released.");
    EXPECT_EQ(w.Keypad().MacroName(), "z");
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    EXPECT_EQ(w.Keypad().KeyType(), KeyTypeLevelToggle);
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::RightButton);
    EXPECT_TRUE(w.KeyTypeMenu().actions()[1]->isChecked());
    trigger(w.KeyTypeMenu(),
            "Alpha Lock    -- toggles keypad in and out of Alphabetic mode. (v5.43+)");
    EXPECT_EQ(w.Keypad().KeyType(), KeyTypeAlphaToggle);
    EXPECT_EQ(w.Keypad().MacroName(), "Alpha Toggle") << "level 2 had no name";
}

// Check boxes and the name.

TEST_F(EditingTest, CheckBoxesSetTheMacrosFlags)
{
    TfrmMain& w = startQuiet();
    w.Keypad().Operating_Mode = 1;
    w.ShowMacro(0);
    QTest::mouseClick(find<QCheckBox>("chkboxAutoRepeat"), Qt::LeftButton);
    EXPECT_EQ(w.Keypad().AutoRepeat(), 1);
    EXPECT_TRUE(w.Modified());
    QTest::mouseClick(find<QCheckBox>("cboxKeyAsTrueTerminal"), Qt::LeftButton);
    EXPECT_EQ(w.Keypad().SendLineEditKeyASAP(), 1);

    // Showing another key's macro sets the boxes without counting as an edit.
    w.SetModified(false);
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_FALSE(find<QCheckBox>("chkboxAutoRepeat")->isChecked());
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_TRUE(find<QCheckBox>("chkboxAutoRepeat")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("cboxKeyAsTrueTerminal")->isChecked());
    EXPECT_FALSE(w.Modified());
}

TEST_F(EditingTest, NameFieldStoresWhatIsTypedAndEnterGoesToTheGrid)
{
    TfrmMain& w = startQuiet();
    auto* name = find<QLineEdit>("EditName");
    QTest::keyClicks(name, "Open door");
    EXPECT_EQ(w.Keypad().MacroName(), "Open door");
    EXPECT_TRUE(w.Modified());
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), grid());
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(name->text(), "");
    QTest::mouseClick(w.findChild<QWidget*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(name->text(), "Open door");
}

TEST_F(EditingTest, MovingInTheNameFieldIsNoEdit)
{
    TfrmMain& w = startQuiet();
    auto* name = find<QLineEdit>("EditName");
    QTest::keyClick(name, Qt::Key_Left);
    QTest::keyClick(name, Qt::Key_Shift);
    EXPECT_FALSE(w.Modified());
}

// The macro length warning.

TEST_F(EditingTest, LineEditWarnsFromTwoBytesWithTheShortText)
{
    TfrmMain& w = start();
    type("a");
    EXPECT_FALSE(warningShown());
    type("b");
    EXPECT_TRUE(warningShown());
    EXPECT_EQ(warningText(), TfrmMacroLenWarning::WarningText(false));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(w.HideLengthWarning());
}

TEST_F(EditingTest, TheWarningFollowsTheNamedCommandsOnly)
{
    TfrmMain& w = start();
    w.InsertRawCode('a');
    w.InsertRawCode('b');
    EXPECT_FALSE(warningShown()) << "the operations themselves do not warn";

    QTest::mouseClick(find<QToolButton>("spdbtnInsert"), Qt::LeftButton);
    find<QLineEdit>("edManualInput")->setText("65");
    QTest::keyClick(find<QLineEdit>("edManualInput"), Qt::Key_Return);
    EXPECT_FALSE(warningShown()) << "manual entry never warns";

    QTest::mouseClick(find<QAbstractButton>("btnRaw161"), Qt::LeftButton);
    EXPECT_TRUE(warningShown()) << "F1";
    w.MacroLenWarning().hide();
    trigger(w.GridPopupMenu(), "Mute");
    EXPECT_TRUE(warningShown()) << "pop-up menu code";
    w.MacroLenWarning().hide();
    QTest::mouseClick(find<QAbstractButton>("btnBeep"), Qt::LeftButton);
    EXPECT_TRUE(warningShown()) << "beep";
    w.MacroLenWarning().hide();
    press(Qt::Key_F5);
    EXPECT_FALSE(warningShown()) << "a key without a character is no typing";
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(warningShown()) << "a typed character that maps to no key still checks";
}

TEST_F(EditingTest, DontShowAgainStopsTheWarningUntilRestart)
{
    TfrmMain& w = start();
    type("ab");
    ASSERT_TRUE(warningShown());
    auto* box = w.MacroLenWarning().findChild<QCheckBox*>("CheckBox1");
    auto* ok = w.MacroLenWarning().findChild<QAbstractButton*>("BitBtn1");
    ASSERT_NE(box, nullptr);
    ASSERT_NE(ok, nullptr);
    box->setChecked(true);
    ok->click();
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(w.HideLengthWarning());
    type("c");
    EXPECT_FALSE(warningShown());
    TearDown();

    start();
    type("ab");
    EXPECT_TRUE(warningShown()) << "not stored";
}

TEST_F(EditingTest, RomModeWarnsByTheRomPropertiesWithTheLongTextForTranslation)
{
    TfrmMain& w = startRom();
    w.Keypad().Operating_Mode = 0;
    w.Rom().AdvancedParams.Operating_Mode = 0;
    type("ab");
    EXPECT_FALSE(warningShown());
    w.Rom().AdvancedParams.Operating_Mode = 1;
    type("c");
    EXPECT_TRUE(warningShown());
    EXPECT_EQ(warningText(), TfrmMacroLenWarning::WarningText(false));
    w.Rom().AdvancedParamsWork.LcdXlate = 1;
    type("d");
    EXPECT_EQ(warningText(), TfrmMacroLenWarning::WarningText(true));
}

// The MIDI dialog.

TEST_F(EditingTest, MidiMessageItemShowsHexAndOpensTheDialog)
{
    TfrmMain& w = startQuiet();
    type("a");
    trigger(w.GridPopupMenu(), "Insert MIDI Message...");
    EXPECT_EQ(w.Keypad().HexView, 1);
    EXPECT_EQ(cells(1), std::vector<std::string>{"0x61"});
    EXPECT_TRUE(w.MidiEvents().isVisible());
}

TEST_F(EditingTest, MidiNoteOnInsertsThreeRawItemsWithoutAWarning)
{
    TfrmMain& w = start();
    trigger(w.GridPopupMenu(), "Insert MIDI Message...");
    auto* insert = w.MidiEvents().findChild<QPushButton*>("btnInsert");
    ASSERT_NE(insert, nullptr);
    QTest::mouseClick(insert, Qt::LeftButton);
    EXPECT_EQ(items(), (std::vector<int>{0x90, 0x3C, 0x7F}));
    EXPECT_EQ(cells(3), (std::vector<std::string>{"0x90", "0x3C", "0x7F"}));
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(w.Modified());
    EXPECT_TRUE(w.MidiEvents().isVisible()) << "the dialog stays open";
}

TEST_F(EditingTest, MidiProgramChangeOnChannelTen)
{
    TfrmMain& w = startQuiet();
    trigger(w.GridPopupMenu(), "Insert MIDI Message...");
    TfrmMidiEvents& midi = w.MidiEvents();
    midi.findChild<QRadioButton*>("rbProgramChange")->click();
    midi.findChild<QSlider*>("tbMidiChannel")->setValue(10);
    midi.findChild<QSlider*>("tbMidiParam1")->setValue(5);
    midi.findChild<QPushButton*>("btnInsert")->click();
    EXPECT_EQ(items(), (std::vector<int>{0xC9, 0x05}));
    EXPECT_EQ(w.MidiChannel(), 10);
}

// A message that does not fit is refused whole, with one message.
TEST_F(EditingTest, MidiMessageThatDoesNotFitIsNotInsertedAtAll)
{
    TfrmMain& w = startQuiet();
    fillTo(98);
    trigger(w.GridPopupMenu(), "Insert MIDI Message...");
    w.MidiEvents().findChild<QPushButton*>("btnInsert")->click();
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Macro Full!"});
    EXPECT_EQ(w.Keypad().BytesUsed(), 98);
    EXPECT_EQ(w.Keypad().Item(97), 'x');

    messages.clear();
    w.MidiEvents().findChild<QRadioButton*>("rbSongSelect")->click();
    w.MidiEvents().findChild<QPushButton*>("btnInsert")->click();
    EXPECT_TRUE(messages.shown().empty()) << "two bytes fit";
    EXPECT_EQ(w.Keypad().BytesUsed(), 100);
}

TEST_F(EditingTest, MidiInsertsAtTheCursor)
{
    TfrmMain& w = startQuiet();
    type("ab");
    grid()->SetCursor(1);
    trigger(w.GridPopupMenu(), "Insert MIDI Message...");
    w.MidiEvents().findChild<QRadioButton*>("rbStart")->click();
    w.MidiEvents().findChild<QPushButton*>("btnInsert")->click();
    EXPECT_EQ(items(), (std::vector<int>{'a', 0xFA, 'b'}));
}

} // namespace
} // namespace tessaron::test
