#pragma once

// Drives the real main window offscreen: a temporary suite folder, recording
// fakes for every box, dialog, launch and the keyboard, and helpers that find
// controls by their names and click and type with QTest.

#include "common/IniFile.h"
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "editor/window/KeyButton.h"
#include "editor/window/MacroGrid.h"
#include "editor/window/MacroLen.h"
#include "editor/window/Main.h"
#include "editor/window/MidiEvents.h"
#include "tests/support/FakeDialogRunner.h"
#include "tests/support/FakeFileDialog.h"
#include "tests/support/FakeKeyboardState.h"
#include "tests/support/FakeLauncher.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TempHome.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessaron::test {

using Kind = FakeMessageBox::Kind;

class MainWindowTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_window) {
            closeMenus();
            m_window.reset();
        }
        EXPECT_EQ(messages.PendingAnswers(), 0) << "queued answers left unused";
        EXPECT_EQ(files.PendingAnswers(), 0) << "queued file names left unused";
    }

    // "Plindorax.ini" in the temporary suite folder.
    void writeSettings(const std::string& text) { home.write("Plindorax.ini", text); }
    void writeLoaderSettings(const std::string& text) { home.write("Tavrix.ini", text); }

    // Creates the window (and shows it, unless told otherwise).
    TfrmMain& start(const QStringList& arguments = {}, bool show = true)
    {
        const TMainServices services{messages, files, *launcher, keyboard, dialogs};
        m_window = std::make_unique<TfrmMain>(services, arguments);
        if (show) {
            m_window->show();
        }
        return *m_window;
    }
    TfrmMain& startRom()
    {
        writeSettings("[CONFIGURATION]\r\nAdvanced_Enable=1\r\n");
        return start();
    }

    TfrmMain& window() { return *m_window; }
    TDocument& doc() { return m_window->Document(); }
    TKeypadClass& keypad() { return doc().Keypad(); }
    TRomRecords& rom() { return doc().Rom(); }
    // The edit mode, as the Properties button shows it.
    bool romEditMode()
    {
        return find<QToolButton>("ToolBtnParameters")->text() == "ROM Properties";
    }

    // A keypad key's button by its number (1 to 20).
    TKeyButton* keypadButton(int number)
    {
        return m_window->findChild<TKeyButton*>(QStringLiteral("SpeedButton%1").arg(number));
    }
    // The key whose button is down, the level tab shown, and their macro.
    int pressedKey()
    {
        for (int k = 0; k < MaxKeys; ++k) {
            if (keypadButton(k + 1)->isChecked()) {
                return k;
            }
        }
        return -1;
    }
    int shownLevel() { return find<QTabBar>("TabControlLevel")->currentIndex(); }
    const TMacroData& macro() { return keypad().Macro(pressedKey(), shownLevel()); }
    TMacroPlace place() { return {pressedKey(), shownLevel(), grid()->Cursor()}; }
    // Inserts through the editing controller at the grid cursor, as the MIDI
    // dialog does.
    bool insertRaw(int code) { return window().Editing().InsertRawCode(place(), code); }
    bool insertKey(int value) { return window().Editing().InsertKeyCode(place(), value); }
    // Shows the macro again, as a click on its key does.
    void showAgain() { QTest::mouseClick(keypadButton(pressedKey() + 1), Qt::LeftButton); }
    std::uint8_t midiChannel() { return static_cast<TMidiEventsHost&>(window()).MidiChannel(); }

    // One of the window's own dialogs and menus, and its commands.
    template <class T>
    T& child()
    {
        T* widget = m_window->findChild<T*>();
        EXPECT_NE(widget, nullptr);
        return *widget;
    }
    QMenu& menu(const char* name) { return *find<QMenu>(name); }
    QAction* command(const char* name) { return find<QAction>(name); }
    // Clicks a button of the tool bar.
    void click(const char* name) { find<QToolButton>(name)->click(); }
    // Save As, the file dialog answering with path (cancelled when empty);
    // true when the document was written there.
    bool saveAs(const std::string& path)
    {
        if (path.empty()) {
            files.QueueCancel();
        } else {
            files.QueueAnswer(QString::fromStdString(path));
        }
        click("ToolBtnSaveAs");
        return !path.empty() && !doc().Modified() &&
               (doc().RedefinitionFileName() == path || doc().RomFileName() == path);
    }

    template <class T>
    T* find(const char* name)
    {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }

    TMacroGrid* grid() { return find<TMacroGrid>("Grid"); }
    QWidget* viewport() { return grid()->viewport(); }

    void type(const QString& text)
    {
        for (const QChar c : text) {
            QTest::keyClick(grid(), c.toLatin1());
        }
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(grid(), key, modifiers);
    }
    // The centre of a cell of the grid, in viewport coordinates.
    QPoint cellCentre(int cell)
    {
        TMacroGrid* g = grid();
        const QModelIndex index = g->model()->index(cell / 8, cell % 8);
        g->scrollTo(index);
        return g->visualRect(index).center();
    }
    void clickCell(int cell)
    {
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, cellCentre(cell));
    }

    // The labels of the first n cells.
    std::vector<std::string> cells(int n)
    {
        std::vector<std::string> result;
        for (int i = 0; i < n; ++i) {
            result.push_back(grid()->model()->index(i / 8, i % 8).data().toString().toStdString());
        }
        return result;
    }
    std::vector<int> items() { return itemsOf(pressedKey(), shownLevel()); }
    std::vector<int> itemsOf(int key, int level)
    {
        const TMacroData& m = keypad().Macro(key, level);
        return std::vector<int>(m.Items.begin(), m.Items.begin() + MacroItemCount(m));
    }

    // An action of a menu (or of its submenus) by its caption.
    static QAction* action(QMenu& menu, const QString& text)
    {
        for (QAction* a : menu.actions()) {
            if (a->text() == text) {
                return a;
            }
            if (a->menu() != nullptr) {
                if (QAction* inner = action(*a->menu(), text)) {
                    return inner;
                }
            }
        }
        return nullptr;
    }
    void trigger(QMenu& menu, const QString& text)
    {
        QAction* a = action(menu, text);
        ASSERT_NE(a, nullptr) << "no menu item " << text.toStdString();
        a->trigger();
        closeMenus();
    }
    static void closeMenus()
    {
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }

    std::string setting(const char* file, const char* section, const char* key)
    {
        return IniFile(home.file(file)).readString(section, key, "<missing>");
    }

    // A stand-in for a sibling program: a script that writes its arguments,
    // one a line, to <name>.args in the suite folder (and runs more shell).
    std::string standIn(const std::string& name, const std::string& extra = "")
    {
        const std::string args = home.file(name + ".args");
        const std::string path =
            home.write(name, "#!/bin/sh\n" + extra +
                                 "\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; "
                                 "done > '" +
                                 args + ".tmp'\nmv '" + args + ".tmp' '" + args + "'\n");
        QFile::setPermissions(QString::fromStdString(path),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    TempHome home;
    FakeMessageBox messages;
    FakeFileDialog files;
    FakeLauncher programs;
    Launcher* launcher = &programs;
    FakeKeyboardState keyboard;
    FakeDialogRunner dialogs;

private:
    std::unique_ptr<TfrmMain> m_window;
};

} // namespace tessaron::test
