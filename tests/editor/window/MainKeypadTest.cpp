// The on-screen keypad, the level tabs, the macro header and the grid.
#include "MainWindowFixture.h"

#include "editor/window/MacroGridModel.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

namespace tessaron::test {
namespace {

using KeypadTest = MainWindowTest;

TKeyButton* keyButton(TfrmMain& w, int number)
{
    return w.findChild<TKeyButton*>(QStringLiteral("SpeedButton%1").arg(number));
}

TEST_F(KeypadTest, TwentyKeyLayoutPositions)
{
    TfrmMain& w = start();
    QWidget* panel = find<QWidget>("pnlKeypad");
    EXPECT_EQ(panel->geometry(), QRect(5, 83, 149, 183));
    EXPECT_EQ(panel->toolTip(), "Right-click to set Level control");
    for (int k = 1; k <= 20; ++k) {
        TKeyButton* b = keyButton(w, k);
        ASSERT_NE(b, nullptr) << k;
        EXPECT_EQ(b->parentWidget(), panel);
        const int row = (k - 1) / 4;
        const int column = (k - 1) % 4;
        EXPECT_EQ(b->geometry(), QRect(8 + 35 * column, 8 + 35 * row, 30, 30)) << k;
        EXPECT_TRUE(b->isVisible()) << k;
        EXPECT_EQ(b->text(), " ") << k;
    }
    EXPECT_TRUE(keyButton(w, 1)->isChecked());
    EXPECT_TRUE(find<QToolButton>("ToolButtonKeyLabels")->isEnabled());
}

TEST_F(KeypadTest, TwelveKeyLayoutPositionsAndCaptions)
{
    TfrmMain& w = start();
    find<QRadioButton>("rbModel514")->click();
    EXPECT_EQ(find<QWidget>("pnlKeypad")->geometry(), QRect(25, 90, 115, 150));
    const std::pair<int, const char*> visible[] = {
        {5, "7"},  {6, "8"},  {7, "9"},  {9, "4"},    {10, "5"}, {11, "6"},
        {13, "1"}, {14, "2"}, {15, "3"}, {17, "CLR"}, {18, "0"}, {19, "ENT"},
    };
    for (const auto& [k, caption] : visible) {
        TKeyButton* b = keyButton(w, k);
        EXPECT_TRUE(b->isVisible()) << k;
        EXPECT_EQ(b->text(), caption) << k;
        EXPECT_EQ(b->geometry().topLeft(),
                  QPoint(8 + 35 * ((k - 1) % 4), 8 + 35 * ((k - 1) / 4 - 1)))
            << k;
    }
    for (int k : {1, 2, 3, 4, 8, 12, 16, 20}) {
        EXPECT_FALSE(keyButton(w, k)->isVisible()) << k;
    }
    EXPECT_TRUE(keyButton(w, 5)->isChecked());
    EXPECT_EQ(pressedKey(), 4);
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 5, Level 1");
    EXPECT_FALSE(find<QToolButton>("ToolButtonKeyLabels")->isEnabled());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "1");

    find<QRadioButton>("rbModel510")->click();
    EXPECT_EQ(find<QWidget>("pnlKeypad")->geometry(), QRect(5, 83, 149, 183));
    EXPECT_EQ(keyButton(w, 5)->geometry().topLeft(), QPoint(8, 43));
    EXPECT_EQ(keyButton(w, 19)->geometry().topLeft(), QPoint(78, 148));
    EXPECT_EQ(keyButton(w, 5)->text(), " ");
    EXPECT_TRUE(keyButton(w, 1)->isVisible());
    EXPECT_EQ(pressedKey(), 0);
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "2");
}

TEST_F(KeypadTest, SwitchingLayoutsKeepsTheHiddenKeysMacros)
{
    TfrmMain& w = start();
    QTest::mouseClick(keyButton(w, 4), Qt::LeftButton);
    type("x");
    find<QRadioButton>("rbModel514")->click();
    find<QRadioButton>("rbModel510")->click();
    EXPECT_EQ(keypad().Keys(3).Levels[0].Items[0], 'x');
}

TEST_F(KeypadTest, ChoosingTheCurrentModelStillWritesTheSetting)
{
    start();
    home.write("Plindorax.ini", "[CONFIGURATION]\r\n");
    find<QRadioButton>("rbModel510")->click();
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "2");
}

TEST_F(KeypadTest, ModelChoiceDoesNotTouchTheDocument)
{
    start();
    find<QRadioButton>("rbModel514")->click();
    EXPECT_FALSE(doc().Modified());
}

TEST_F(KeypadTest, KeySelectionKeepsTheLevelAndLevelChangeKeepsTheKey)
{
    TfrmMain& w = start();
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    QTest::mouseClick(keyButton(w, 7), Qt::LeftButton);
    EXPECT_EQ(pressedKey(), 6);
    EXPECT_EQ(shownLevel(), 1);
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 7, Level 2");
    EXPECT_TRUE(keyButton(w, 7)->isChecked());
    EXPECT_FALSE(keyButton(w, 1)->isChecked());

    find<QTabBar>("TabControlLevel")->setCurrentIndex(0);
    EXPECT_EQ(pressedKey(), 6);
    EXPECT_EQ(shownLevel(), 0);
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 7, Level 1");
}

TEST_F(KeypadTest, PanelIsGreyOnLevelOneAndBlackOnLevelTwo)
{
    start();
    QWidget* panel = find<QWidget>("pnlKeypad");
    QTabBar* tabs = find<QTabBar>("TabControlLevel");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Level 1");
    EXPECT_EQ(tabs->tabText(1), "Level 2");
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(128, 128, 128));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 0, 0));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(128, 128, 128));
}

TEST_F(KeypadTest, EachLevelHasItsOwnMacro)
{
    start();
    type("a");
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    EXPECT_EQ(MacroItemCount(macro()), 0);
    type("b");
    find<QTabBar>("TabControlLevel")->setCurrentIndex(0);
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_EQ(cells(2), (std::vector<std::string>{"a", " "}));
}

TEST_F(KeypadTest, HeaderControls)
{
    start();
    EXPECT_EQ(find<QLabel>("Label1")->text(), "Description:");
    EXPECT_EQ(find<QLineEdit>("EditName")->maxLength(), 40);
    EXPECT_EQ(find<QLineEdit>("EditName")->toolTip(), "Enter optional name for key macro.");
    EXPECT_EQ(find<QCheckBox>("chkboxAutoRepeat")->text(), "- This macro can auto-repeat");
    EXPECT_EQ(find<QCheckBox>("chkboxAutoRepeat")->toolTip(),
              "Check this box to make the current macro auto-repeat");
    EXPECT_EQ(find<QCheckBox>("cboxKeyAsTrueTerminal")->text(),
              "- Transmit this key (don't buffer)");
    EXPECT_EQ(find<QCheckBox>("cboxKeyAsTrueTerminal")->toolTip(),
              "Treat this LineEdit key as if in TrueTerminal mode");
    EXPECT_EQ(find<QLabel>("lblSpaceAvailable")->text(), "Bytes available for this macro:");
    EXPECT_EQ(find<QLabel>("lblBytesUsed")->text(), "100");
    EXPECT_EQ(find<QProgressBar>("ProgressBar1")->value(), 0);
    EXPECT_EQ(find<QProgressBar>("ProgressBar1")->maximum(), 100);
    EXPECT_NE(find<QWidget>("pnlMacroHeader"), nullptr);
    // Line Edit is on in a new document, so the check box is usable.
    EXPECT_TRUE(find<QCheckBox>("cboxKeyAsTrueTerminal")->isEnabled());
    keypad().Operating_Mode = 0;
    showAgain();
    EXPECT_FALSE(find<QCheckBox>("cboxKeyAsTrueTerminal")->isEnabled());
}

TEST_F(KeypadTest, FullMacroShowsNoBytesLeftAndAFullBar)
{
    start();
    keypad().Operating_Mode = 0;
    for (int i = 0; i < 33; ++i) {
        ASSERT_TRUE(insertKey(DelayBase + 1));
    }
    ASSERT_TRUE(insertRaw(1));
    EXPECT_EQ(MacroBytesUsed(macro()), 100);
    EXPECT_EQ(find<QLabel>("lblBytesUsed")->text(), "0");
    EXPECT_EQ(find<QProgressBar>("ProgressBar1")->value(), 100);
}

TEST_F(KeypadTest, GridShape)
{
    start();
    TMacroGrid* g = grid();
    EXPECT_EQ(g->model()->rowCount(), 14);
    EXPECT_EQ(g->model()->columnCount(), 8);
    EXPECT_FALSE(g->horizontalHeader()->isVisible());
    EXPECT_FALSE(g->verticalHeader()->isVisible());
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(g->columnWidth(c), 53);
    }
    for (int r = 0; r < 14; ++r) {
        EXPECT_EQ(g->rowHeight(r), 18);
    }
    EXPECT_TRUE(g->showGrid());
    EXPECT_EQ(g->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(g->palette().color(QPalette::Text), QColor(0, 255, 0));
    EXPECT_EQ(g->selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    // Every cell but the last can be selected.
    EXPECT_TRUE(g->model()->flags(g->model()->index(13, 6)).testFlag(Qt::ItemIsSelectable));
    EXPECT_FALSE(g->model()->flags(g->model()->index(13, 7)).testFlag(Qt::ItemIsSelectable));
}

TEST_F(KeypadTest, CursorStandsAfterTheMacro)
{
    TfrmMain& w = start();
    EXPECT_EQ(grid()->Cursor(), 0);
    type("abcdefghij");
    QTest::mouseClick(keyButton(w, 2), Qt::LeftButton);
    QTest::mouseClick(keyButton(w, 1), Qt::LeftButton);
    EXPECT_EQ(grid()->Cursor(), 10);
    EXPECT_EQ(grid()->currentIndex().row(), 1);
    EXPECT_EQ(grid()->currentIndex().column(), 2);
}

TEST_F(KeypadTest, CellsPastTheEndCanBeSelectedButNotTheLastOne)
{
    start();
    keypad().Operating_Mode = 0;
    type("ab");
    clickCell(105);
    EXPECT_EQ(grid()->Cursor(), 105);
    type("c");
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b', 'c'})) << "appended at the end";
    EXPECT_EQ(grid()->Cursor(), 3);

    clickCell(110);
    clickCell(111);
    EXPECT_EQ(grid()->Cursor(), 110);
    grid()->SetCursor(111);
    EXPECT_NE(grid()->Cursor(), 111);
}

TEST_F(KeypadTest, CellSelectionReleasesTheModifierButtonsButKeepsTheFlags)
{
    start();
    auto* lshift = find<QAbstractButton>("sbtnLShift");
    QTest::mouseClick(lshift, Qt::LeftButton);
    EXPECT_TRUE(lshift->isChecked());
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftShift);
    clickCell(3);
    EXPECT_FALSE(lshift->isChecked());
    EXPECT_EQ(window().Editing().ModifierFlags(), LeftShift);
}

TEST_F(KeypadTest, OnlyTheFirstHundredCellsShowItems)
{
    start();
    keypad().Operating_Mode = 0;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(insertRaw('A' + i % 26));
    }
    EXPECT_EQ(cells(1), std::vector<std::string>{"A"});
    EXPECT_EQ(grid()->model()->index(12, 3).data().toString(), "V");
    for (int cell = 100; cell < 112; ++cell) {
        EXPECT_EQ(grid()->model()->index(cell / 8, cell % 8).data().toString(), "") << cell;
    }
}

TEST_F(KeypadTest, TextAndHexViews)
{
    start();
    keypad().Operating_Mode = 0;
    insertRaw(13);
    insertKey(DelayBase + 50);
    insertKey(LedBase + 12);
    EXPECT_EQ(cells(4), (std::vector<std::string>{"CR", "Dly 200", "red on", " "}));

    grid()->SetCursor(1);
    trigger(menu("popmenuClearMacro"), "View key codes as hex");
    EXPECT_EQ(cells(4), (std::vector<std::string>{"0x0D", "0x1032", "0x400C", " "}));
    EXPECT_EQ(grid()->Cursor(), 3) << "the view refresh puts the cursor at the end";

    trigger(menu("popmenuClearMacro"), "View key codes as ASCII");
    EXPECT_EQ(cells(1), std::vector<std::string>{"CR"});
}

TEST_F(KeypadTest, PopupMenuOpensAtTheMouseWithTheViewChecked)
{
    start();
    trigger(menu("popmenuClearMacro"), "View key codes as hex");
    type("ab");
    grid()->SetCursor(0);
    QTest::mouseClick(viewport(), Qt::RightButton, {}, cellCentre(5));
    QMenu& popup = menu("popmenuClearMacro");
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(action(popup, "View key codes as hex")->isChecked());
    EXPECT_FALSE(action(popup, "View key codes as ASCII")->isChecked());
    EXPECT_EQ(grid()->Cursor(), 0) << "the right click does not move the cursor";
    closeMenus();
}

TEST_F(KeypadTest, NewAndLoadingKeepTheView)
{
    start();
    trigger(menu("popmenuClearMacro"), "View key codes as hex");
    click("ToolBtnNew");
    type("a");
    EXPECT_EQ(cells(1), std::vector<std::string>{"0x61"});
}

TEST_F(KeypadTest, KeyTypeGlyphFollowsTheKeysType)
{
    TfrmMain& w = start();
    EXPECT_TRUE(keyButton(w, 3)->Glyph().isNull());
    QTest::mouseClick(keyButton(w, 3), Qt::RightButton);
    trigger(menu("popmenKeyType"),
            "Alpha Lock    -- toggles keypad in and out of Alphabetic mode. (v5.43+)");
    EXPECT_FALSE(keyButton(w, 3)->Glyph().isNull());
    EXPECT_EQ(keypad().Keys(2).KeyType, KeyTypeAlphaToggle);
    EXPECT_TRUE(keyButton(w, 1)->Glyph().isNull());
}

} // namespace
} // namespace tessaron::test
