#pragma once

// Drives the property dialogs as a user would: opened through the main
// window's Properties button or its ROM Properties menu, shown and active
// while the test acts on them, controls found by their names, and the
// document saved to a file afterwards.

#include "tests/editor/window/MainWindowFixture.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace tessaron::test {

class DialogTest : public MainWindowTest
{
public:
    // Public, so that the tables of cases can act through them.
    using Act = std::function<void()>;

    // Opens the dialog as the user does and runs act while it is shown.
    void openUserProperties(const Act& act)
    {
        whileShown(act);
        QTest::mouseClick(find<QToolButton>("ToolBtnParameters"), Qt::LeftButton);
    }
    void openAdvanced(const Act& act)
    {
        whileShown(act);
        trigger(menu("EditMenu"), "Edit &Advanced ROM Properties");
    }
    void openScreens(const Act& act)
    {
        whileShown(act);
        trigger(menu("EditMenu"), "Edit &Screen Data");
    }

    QDialog& dialog() { return *m_dialog; }

    template <class T = QWidget>
    T* control(const char* name)
    {
        T* widget = m_dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }
    QAbstractButton* button(const char* name) { return control<QAbstractButton>(name); }
    bool checked(const char* name) { return button(name)->isChecked(); }
    bool enabled(const char* name) { return control(name)->isEnabled(); }

    // Brings the page holding the control to the front, as a user must.
    void reveal(QWidget* widget)
    {
        for (QWidget* w = widget; w != nullptr && w != m_dialog; w = w->parentWidget()) {
            if (auto* pages = qobject_cast<QTabWidget*>(
                    w->parentWidget() != nullptr ? w->parentWidget()->parentWidget() : nullptr)) {
                if (pages->indexOf(w) >= 0) {
                    pages->setCurrentWidget(w);
                }
            }
        }
    }
    // Clicks a button on its indicator (a radio button or check box takes
    // clicks only on its indicator and caption).
    void click(const char* name)
    {
        QAbstractButton* b = button(name);
        reveal(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Types into a field and leaves it with Tab.
    void typeInto(const char* name, const QString& text)
    {
        QWidget* field = control(name);
        reveal(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    void choose(const char* name, int entry)
    {
        auto* list = control<QComboBox>(name);
        reveal(list);
        list->setCurrentIndex(entry);
    }
    QString shown(const char* name)
    {
        if (auto* list = qobject_cast<QComboBox*>(control(name))) {
            return list->currentText();
        }
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(control(name))) {
            return spin->text();
        }
        if (auto* edit = qobject_cast<QLineEdit*>(control(name))) {
            return edit->text();
        }
        return button(name)->text();
    }
    // A screen reader's "Toggle" or "Press" action on a control.
    static void accessibleAction(QWidget* widget, const QString& action)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->actionInterface(), nullptr);
        face->actionInterface()->doAction(action);
        waitForClicks(widget->window());
    }
    // Press and a mnemonic show a button down and click it a moment later.
    static void waitForClicks(QWidget* window)
    {
        EXPECT_TRUE(QTest::qWaitFor([window] {
            const auto buttons = window->findChildren<QAbstractButton*>();
            return std::none_of(buttons.begin(), buttons.end(),
                                [](const QAbstractButton* b) { return b->isDown(); });
        }));
    }
    // What a screen reader says a control is: the label it is labelled by
    // (a list's own name adds its current entry), else its name.
    static QString spoken(QWidget* widget)
    {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        const auto labels = face->relations(QAccessible::Label);
        if (!labels.isEmpty()) {
            return labels.first().first->text(QAccessible::Name);
        }
        return face->text(QAccessible::Name);
    }
    // Every control the keyboard reaches has something to be called by.
    void expectEveryControlNamed()
    {
        for (QWidget* w : m_dialog->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) != nullptr ||
                                 qobject_cast<QAbstractSpinBox*>(w) != nullptr ||
                                 qobject_cast<QComboBox*>(w) != nullptr ||
                                 (qobject_cast<QLineEdit*>(w) != nullptr &&
                                  qobject_cast<QAbstractSpinBox*>(w->parentWidget()) == nullptr &&
                                  qobject_cast<QComboBox*>(w->parentWidget()) == nullptr);
            if (control && (w->focusPolicy() & Qt::TabFocus) != 0) {
                EXPECT_FALSE(spoken(w).trimmed().isEmpty()) << qPrintable(w->objectName());
            }
        }
    }
    // A mnemonic, which clicks its button a moment later.
    void mnemonic(Qt::Key key)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : m_dialog, key, Qt::AltModifier);
        waitForClicks(m_dialog);
    }

    void ok() { QTest::mouseClick(control<QPushButton>("btnOK"), Qt::LeftButton); }
    void apply() { QTest::mouseClick(control<QPushButton>("btnApply"), Qt::LeftButton); }
    void cancel() { QTest::mouseClick(control<QPushButton>("btnCancel"), Qt::LeftButton); }
    bool okEnabled() { return enabled("btnOK"); }
    bool applyEnabled() { return enabled("btnApply"); }

    // Saves the document with Save As and reads a key of the file written.
    std::string saved(const char* section, const char* key)
    {
        const std::string path = home.file(romEditMode() ? "doc.rom" : "doc.ckd");
        if (m_savedTo != path) {
            EXPECT_TRUE(saveAs(path));
            m_savedTo = path;
        }
        return IniFile(path).readString(section, key, "<missing>");
    }
    // The next saved() writes the file again.
    void changedSinceSave() { m_savedTo.clear(); }

private:
    void whileShown(const Act& act)
    {
        dialogs.SetWhileShown([this, act](QDialog& d) {
            m_dialog = &d;
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            act();
            if (d.isVisible()) {
                d.reject();
            }
        });
        m_savedTo.clear();
    }

    QDialog* m_dialog = nullptr;
    std::string m_savedTo;
};

} // namespace tessaron::test
