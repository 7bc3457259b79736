// The window as a keyboard and screen-reader user meets it: keys go where the
// desktop sends them (the window that has the focus), shortcuts, undo and
// redo, copy and paste of macros, the accessibility actions, dropped files.
#include "MainWindowFixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

namespace tessaron::test {
namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

class InputTest : public MainWindowTest
{
protected:
    TfrmMain& startActive(const QStringList& arguments = {})
    {
        TfrmMain& w = start(arguments);
        w.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }

    // The window a key goes to, as the desktop picks it: the one with the
    // focus. A closed pop-up menu gives it back to the main window, which the
    // offscreen platform leaves to us.
    QWindow* focusWindow()
    {
        // Activations still on their way (a menu's) land first.
        QCoreApplication::processEvents();
        const QWindow* focus = QGuiApplication::focusWindow();
        if (focus == nullptr || !focus->isVisible()) {
            window().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
        }
        return QGuiApplication::focusWindow();
    }
    // A key as the desktop delivers it: to the window with the focus, then to
    // that window's focus widget, shortcuts first.
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWindow* target = focusWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k, modifiers);
    }
    void typeText(const QString& text)
    {
        for (const QChar c : text) {
            QWindow* target = focusWindow();
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, c.toLatin1());
        }
    }

    static QAccessibleInterface* accessible(QObject* object)
    {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(iface, nullptr);
        return iface;
    }
    static void doAction(QObject* object, const QString& action)
    {
        QAccessibleInterface* iface = accessible(object);
        ASSERT_NE(iface->actionInterface(), nullptr);
        ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action));
        iface->actionInterface()->doAction(action);
    }
};

// Typing.

TEST_F(InputTest, AWordTypedIntoANewDocumentKeepsEveryCharacter)
{
    // A new document is in Line Edit mode: the length warning comes with the
    // second character and must not take the keys that follow.
    TfrmMain& w = startActive();
    ASSERT_EQ(QApplication::focusWidget(), grid());
    typeText("hello world");
    EXPECT_EQ(items(), (std::vector<int>{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}));
    EXPECT_TRUE(child<TfrmMacroLenWarning>().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(QApplication::activeWindow(), &w);
    EXPECT_FALSE(child<TfrmMacroLenWarning>().findChild<QCheckBox*>("CheckBox1")->isChecked());
}

TEST_F(InputTest, CtrlLettersThatAreControlCharactersStillType)
{
    startActive();
    keypad().Operating_Mode = 0;
    key(Qt::Key_I, Qt::ControlModifier);
    key(Qt::Key_M, Qt::ControlModifier);
    key(Qt::Key_BracketLeft, Qt::ControlModifier);
    EXPECT_EQ(items(), (std::vector<int>{9, 13, 27}));
}

// Shortcuts, with the grid holding the focus.

TEST_F(InputTest, FileShortcutsRunTheirCommands)
{
    startActive();
    keypad().Operating_Mode = 0;
    typeText("a");
    EXPECT_TRUE(command("actSave")->isEnabled());

    files.QueueAnswer(q(home.file("one.ckd")));
    key(Qt::Key_S, Qt::ControlModifier); // never saved: Save As
    EXPECT_TRUE(home.exists("one.ckd"));
    EXPECT_FALSE(doc().Modified());

    files.QueueAnswer(q(home.file("two.ckd")));
    key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("two.ckd"));

    files.QueueAnswer(q(home.file("one.ckd")));
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("one.ckd"));

    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(doc().RedefinitionFileName(), "untitled");
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(files.shown().size(), 3u);
}

TEST_F(InputTest, CtrlQClosesWithTheSaveQuestion)
{
    TfrmMain& w = startActive();
    keypad().Operating_Mode = 0;
    typeText("a");
    messages.QueueAnswer(MessageAnswer::Cancel);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(w.isVisible());
    messages.QueueAnswer(MessageAnswer::No);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(messages.texts(Kind::YesNoCancel).size(), 2u);
}

TEST_F(InputTest, MenuKeyAndShiftF10OpenThePopupMenus)
{
    startActive();
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        key(modifiers == Qt::NoModifier ? Qt::Key_Menu : Qt::Key_F10, modifiers);
        EXPECT_EQ(QApplication::activePopupWidget(), &menu("popmenuClearMacro"));
        closeMenus();
    }
    // The key type menu of the keypad key that has the focus.
    keypadButton(7)->setFocus();
    QTest::keyClick(keypadButton(7), Qt::Key_Menu);
    EXPECT_EQ(QApplication::activePopupWidget(), &menu("popmenKeyType"));
    EXPECT_EQ(pressedKey(), 6);
}

TEST_F(InputTest, ArrowKeysMoveBetweenKeypadKeysAndTabLeavesTheGrid)
{
    startActive();
    keypadButton(1)->setFocus();
    key(Qt::Key_Right);
    EXPECT_EQ(pressedKey(), 1);
    EXPECT_EQ(QApplication::focusWidget(), keypadButton(2));
    key(Qt::Key_Down);
    EXPECT_EQ(pressedKey(), 5);
    EXPECT_EQ(keypadButton(6)->focusPolicy(), Qt::TabFocus)
        << "the pressed key is in the tab chain";
    EXPECT_EQ(keypadButton(1)->focusPolicy(), Qt::NoFocus);

    // Tab is typed into the macro; Ctrl+Tab and Ctrl+Shift+Tab leave the grid.
    grid()->setFocus();
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btnBeep");
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "cboxKeyAsTrueTerminal");
    EXPECT_TRUE(items().empty()) << "Ctrl+Tab types nothing";
}

// Undo and redo.

TEST_F(InputTest, UndoAndRedoFollowTheChangedFlagAndTheCaption)
{
    TfrmMain& w = startActive();
    keypad().Operating_Mode = 0;
    typeText("ab");
    ASSERT_TRUE(saveAs(home.file("k.ckd")));
    typeText("c");
    EXPECT_TRUE(w.windowTitle().endsWith('*'));

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b'}));
    EXPECT_FALSE(doc().Modified()) << "back at the saved state";
    EXPECT_EQ(w.windowTitle(), " [USER Mode]   Plindorax - k.ckd");
    EXPECT_FALSE(find<QToolButton>("ToolBtnSave")->isEnabled());

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(items(), std::vector<int>{'a'});
    EXPECT_TRUE(doc().Modified()) << "Save does not clear the history";
    EXPECT_EQ(grid()->Cursor(), 1);

    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b', 'c'}));
    EXPECT_EQ(grid()->Cursor(), 3);
    EXPECT_TRUE(w.windowTitle().endsWith('*'));
    EXPECT_FALSE(command("actRedo")->isEnabled());

    messages.QueueAnswer(MessageAnswer::No);
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(command("actUndo")->isEnabled()) << "New starts a new history";
}

TEST_F(InputTest, UndoShowsTheKeyAndLevelItChanges)
{
    startActive();
    keypad().Operating_Mode = 0;
    QTest::mouseClick(keypadButton(3), Qt::LeftButton);
    find<QTabBar>("TabControlLevel")->setCurrentIndex(1);
    typeText("x");
    QTest::mouseClick(keypadButton(9), Qt::LeftButton);
    find<QTabBar>("TabControlLevel")->setCurrentIndex(0);
    grid()->setFocus();

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(itemsOf(2, 1).empty());
    EXPECT_EQ(pressedKey(), 2);
    EXPECT_EQ(shownLevel(), 1);
    EXPECT_TRUE(keypadButton(3)->isChecked());
    EXPECT_EQ(find<QTabBar>("TabControlLevel")->currentIndex(), 1);
    EXPECT_EQ(find<QLabel>("lblMacroHeader")->text(), "Macro for Key 3, Level 2");
}

TEST_F(InputTest, EditsOfEveryKindAreOneStepEach)
{
    TfrmMain& w = startActive();
    keypad().Operating_Mode = 0;
    QTest::mouseClick(find<QAbstractButton>("btnDelay"), Qt::LeftButton);
    trigger(menu("popmenuClearMacro"), "F13");
    const std::uint8_t noteOn[] = {0x90, 0x3C, 0x7F};
    static_cast<TMidiEventsHost&>(w).InsertMidiMessage(noteOn, 3);
    QTest::mouseClick(find<QCheckBox>("chkboxAutoRepeat"), Qt::LeftButton);
    QLineEdit* name = find<QLineEdit>("EditName");
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Intro");
    trigger(menu("popmenuClearMacro"), "Erase all key codes for this macro");
    QTest::mouseClick(keypadButton(1), Qt::RightButton);
    trigger(menu("popmenKeyType"), menu("popmenKeyType").actions()[0]->text());

    const TMacroData& macro = keypad().Macro(0, 0);
    const std::pair<const char*, std::function<bool()>> steps[] = {
        {"key type", [&] { return keypad().Keys(0).KeyType == KeyTypeNone; }},
        {"erase", [&] { return MacroItemCount(macro) == 5; }},
        {"name, typed in one go", [&] { return macro.MacroName == "Dly 200"; }},
        {"auto-repeat", [&] { return macro.AutoRepeat == 0; }},
        {"MIDI message", [&] { return MacroItemCount(macro) == 2; }},
        {"F13", [&] { return MacroItemCount(macro) == 1; }},
        {"delay", [&] { return MacroItemCount(macro) == 0; }},
    };
    name->setFocus(); // Ctrl+Z in the name field undoes the document too
    for (const auto& [what, undone] : steps) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(undone()) << what;
    }
    EXPECT_FALSE(command("actUndo")->isEnabled());
    EXPECT_FALSE(doc().Modified());
}

TEST_F(InputTest, EachApplyOfAPropertyDialogIsOneStep)
{
    writeSettings("[CONFIGURATION]\r\nAdvanced_Enable=1\r\n");
    startActive();
    int shown = -1;
    dialogs.SetWhileShown([&](QDialog& dialog) {
        dialog.show();
        auto* apply = dialog.findChild<QPushButton*>("btnApply");
        auto* brightness = dialog.findChild<QSlider*>("tbarLcdBrightness");
        for (int value : {2, 5}) {
            brightness->setValue(value);
            QTest::mouseClick(apply, Qt::LeftButton);
        }
        dialog.reject();
    });
    trigger(menu("EditMenu"), "Edit &Advanced ROM Properties");
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 5);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 2);
    dialogs.SetWhileShown([&](QDialog& dialog) {
        dialog.show();
        shown = dialog.findChild<QSlider*>("tbarLcdBrightness")->value();
        dialog.reject();
    });
    trigger(menu("EditMenu"), "Edit &Advanced ROM Properties");
    EXPECT_EQ(shown, 2) << "the dialog opens with the document's values";
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 9);
    EXPECT_FALSE(doc().Modified());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(rom().AdvancedParams.LcdBrightness, 2);
}

// Copy and paste.

TEST_F(InputTest, AMacroCopiedOnOneKeyIsPastedOnAnother)
{
    startActive();
    keypad().Operating_Mode = 0;
    typeText("abc");
    QTest::mouseClick(find<QCheckBox>("chkboxAutoRepeat"), Qt::LeftButton);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("Codes=616263"));

    QTest::mouseClick(keypadButton(2), Qt::LeftButton);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(itemsOf(1, 0), (std::vector<int>{'a', 'b', 'c'}));
    EXPECT_EQ(keypad().Macro(1, 0).MacroName, "a");
    EXPECT_EQ(keypad().Macro(1, 0).AutoRepeat, 1);
    EXPECT_EQ(grid()->Cursor(), 3);

    // A block: Shift and the arrows select, Ctrl+X cuts, the pop-up pastes.
    grid()->SetCursor(0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(itemsOf(1, 0), std::vector<int>{'c'});
    grid()->SetCursor(1);
    trigger(menu("popmenuClearMacro"), "Paste macro");
    EXPECT_EQ(itemsOf(1, 0), (std::vector<int>{'c', 'a', 'b'}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(InputTest, PasteRefusesTextThatIsNoMacroAndAMacroThatDoesNotFit)
{
    startActive();
    keypad().Operating_Mode = 0;
    typeText("z");
    QGuiApplication::clipboard()->setText("Hello, world");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(messages.errors(),
              std::vector<QString>{"The clipboard does not hold a macro: nothing was pasted."});
    EXPECT_EQ(items(), std::vector<int>{'z'});

    messages.clear();
    QGuiApplication::clipboard()->setText(
        "[Tessaron Macro]\nCodes=" + QString(2 * 100, QLatin1Char('7')) + "\n");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(messages.errors(), std::vector<QString>{"Macro Full!"});
    EXPECT_EQ(items(), std::vector<int>{'z'});
}

// Screen readers.

TEST_F(InputTest, AccessibilityActionsHaveTheEffectOfAClick)
{
    startActive();
    keypad().Operating_Mode = 0;
    doAction(keypadButton(5), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(pressedKey(), 4);
    typeText("q");
    EXPECT_EQ(itemsOf(4, 0), std::vector<int>{'q'});

    doAction(find<QCheckBox>("chkboxAutoRepeat"), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(keypad().Macro(4, 0).AutoRepeat, 1);
    files.QueueAnswer(q(home.file("a.ckd")));
    doAction(find<QToolButton>("ToolBtnSave"), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(IniFile(home.file("a.ckd")).readString("KEY4", "L1_AutoRepeat", ""), "1");

    doAction(find<QRadioButton>("rbModel514"), QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(find<QRadioButton>("rbModel514")->isChecked());
    EXPECT_EQ(setting("Plindorax.ini", "CONFIGURATION", "Keypad_Layout"), "1");
    EXPECT_FALSE(keypadButton(1)->isVisible());
}

TEST_F(InputTest, ControlsHaveAccessibleNames)
{
    TfrmMain& w = startActive();
    keypad().Operating_Mode = 0;
    typeText("a");
    QTest::mouseClick(keypadButton(1), Qt::RightButton);
    trigger(menu("popmenKeyType"), menu("popmenKeyType").actions()[1]->text());

    const auto name = [](QObject* o) { return accessible(o)->text(QAccessible::Name); };
    EXPECT_EQ(name(keypadButton(1)), "Key 1, Level Toggle");
    EXPECT_EQ(name(keypadButton(20)), "Key 20");
    EXPECT_EQ(name(find<QLineEdit>("EditName")), "Description");
    EXPECT_EQ(name(find<QWidget>("panelPort")), "Port: <not set>");
    EXPECT_EQ(name(find<QToolButton>("ToolBtnNew")), "New");
    EXPECT_EQ(name(find<QAbstractButton>("btnKey57")), "Space");
    EXPECT_EQ(name(find<QAbstractButton>("sbtnLCtrl")), "Left Ctrl");
    QAccessibleInterface* table = accessible(grid());
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), "a");
    EXPECT_EQ(table->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), "empty");
    EXPECT_FALSE(w.windowIcon().isNull());

    find<QRadioButton>("rbModel514")->click();
    EXPECT_EQ(name(keypadButton(5)), "Key 5 \"7\"");
}

// Dropped files.

TEST_F(InputTest, ADroppedDocumentOpensAfterTheSaveQuestion)
{
    home.write("drop.ckd", "[KEY0]\r\nLevel_1_Codes=4142\r\n");
    home.write("drop.rom", "[KEY0]\r\nLevel_1_Codes=43\r\n");
    TfrmMain& w = startActive();
    keypad().Operating_Mode = 0;
    typeText("z");
    const auto drop = [&](const std::string& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(q(home.file(file)))});
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(300, 200), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
            QApplication::sendEvent(&w, &dropped);
            QCoreApplication::processEvents();
        }
        return enter.isAccepted();
    };
    EXPECT_FALSE(drop("drop.rom")) << "not a document of USER mode";
    messages.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(drop("drop.ckd"));
    EXPECT_EQ(items(), (std::vector<int>{'A', 'B'}));
    EXPECT_EQ(doc().RedefinitionFileName(), home.file("drop.ckd"));
    EXPECT_EQ(messages.texts(Kind::YesNoCancel),
              std::vector<QString>{"Do you wish to save changes to your custom definition?"});
}

} // namespace
} // namespace tessaron::test
