#include "editor/window/PcKeyboard.h"

#include "editor/model/KeypadClass.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

using namespace tessaron;

namespace {

// Every button with a key number, row by row.
const std::vector<std::vector<int>> KeyRows = {
    {1},
    {41, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 100, 88, 55, 74},
    {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 43, 71, 72, 73, 78},
    {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 28, 75, 76, 77},
    {44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 79, 80, 81, 86},
    {57, 82, 83},
};

class PcKeyboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(&keyboard, &TPcKeyboard::keyClicked,
                         [this](int key) { keys.push_back(key); });
        QObject::connect(&keyboard, &TPcKeyboard::rawCodeClicked,
                         [this](int code) { raws.push_back(code); });
        QObject::connect(
            &keyboard, &TPcKeyboard::modifierToggled,
            [this](std::uint8_t flag, bool pressed) { toggles.emplace_back(flag, pressed); });
        QObject::connect(&keyboard, &TPcKeyboard::beepClicked,
                         [this](int position) { beeps.push_back(position); });
        QObject::connect(&keyboard, &TPcKeyboard::delayClicked,
                         [this](int position) { delays.push_back(position); });
        keyboard.show();
    }

    QAbstractButton* button(const QString& name)
    {
        auto* b = keyboard.findChild<QAbstractButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    QAbstractButton* key(int number) { return button(QStringLiteral("btnKey%1").arg(number)); }
    QSlider* slider(const char* name) { return keyboard.findChild<QSlider*>(name); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    TPcKeyboard keyboard;
    std::vector<int> keys, raws, beeps, delays;
    std::vector<std::pair<int, bool>> toggles;
};

const char* const Modifiers[] = {"sbtnLShift", "sbtnRShift", "sbtnLCtrl",     "sbtnRCtrl",
                                 "sbtnLAlt",   "sbtnRAlt",   "spdbtnCapsLock"};

} // namespace

TEST_F(PcKeyboard, FitsTheMainWindow)
{
    EXPECT_EQ(keyboard.sizeHint(), QSize(410, 168));
    EXPECT_EQ(keyboard.size(), keyboard.sizeHint());
    EXPECT_LE(keyboard.width(), 430);
    EXPECT_LE(keyboard.height(), 170);
    for (const QWidget* w : keyboard.findChildren<QWidget*>()) {
        EXPECT_TRUE(keyboard.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_EQ(keyboard.findChild<QLabel*>("lblPcKeyboard")->text(),
              "Click on any key below or type on PC keyboard (green keys only)");
}

TEST_F(PcKeyboard, ExactlyTheButtonsOfTheTable)
{
    std::set<QString> expected;
    for (const auto& row : KeyRows) {
        for (int k : row) {
            expected.insert(QStringLiteral("btnKey%1").arg(k));
        }
    }
    for (int code = 161; code <= 172; ++code) {
        expected.insert(QStringLiteral("btnRaw%1").arg(code));
    }
    for (const char* name : Modifiers) {
        expected.insert(QString::fromLatin1(name));
    }
    expected.insert("btnBeep");
    expected.insert("btnDelay");
    std::set<QString> actual;
    for (const QAbstractButton* b : keyboard.findChildren<QAbstractButton*>()) {
        EXPECT_TRUE(actual.insert(b->objectName()).second) << b->objectName().toStdString();
    }
    EXPECT_EQ(actual, expected);
}

TEST_F(PcKeyboard, KeysDoNotOverlapAndClicksLeaveTheFocus)
{
    // A click leaves the focus in the grid; Tab reaches the toggles and the
    // commands only.
    const QList<QWidget*> chain = keyboard.FocusChain();
    std::vector<const QAbstractButton*> shown;
    for (const QAbstractButton* b : keyboard.findChildren<QAbstractButton*>()) {
        EXPECT_EQ(b->focusPolicy(),
                  chain.contains(const_cast<QAbstractButton*>(b)) ? Qt::TabFocus : Qt::NoFocus)
            << b->objectName().toStdString();
        if (b->isVisible()) {
            shown.push_back(b);
        }
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->objectName().toStdString() << " "
                << shown[j]->objectName().toStdString();
        }
    }
    for (const char* name : {"tbBeepValue", "tbDelayValue"}) {
        EXPECT_EQ(slider(name)->focusPolicy(), Qt::TabFocus) << name;
    }
    EXPECT_EQ(chain.size(), 9);
}

TEST_F(PcKeyboard, RowsRunLeftToRightAndTopToBottom)
{
    int previousTop = -1;
    for (const auto& row : KeyRows) {
        const int top = key(row.front())->y();
        EXPECT_GT(top, previousTop) << row.front();
        for (size_t i = 1; i < row.size(); ++i) {
            EXPECT_EQ(key(row[i])->y(), top) << row[i];
            EXPECT_GT(key(row[i])->x(), key(row[i - 1])->x()) << row[i];
        }
        previousTop = top;
    }
    // F1 to F12 share Esc's row; the two tall keypad keys span two rows.
    EXPECT_EQ(button("btnRaw161")->y(), key(1)->y());
    EXPECT_GT(button("btnRaw172")->x(), button("btnRaw161")->x());
    EXPECT_EQ(key(78)->geometry().bottom(), key(77)->geometry().bottom());
    EXPECT_EQ(key(86)->geometry().bottom(), key(83)->geometry().bottom());
    EXPECT_GT(key(57)->width(), 4 * key(30)->width()); // the wide space bar
    EXPECT_GT(key(82)->width(), key(83)->width());     // the wide keypad 0
    // The modifier toggles stand at the ends of their rows.
    EXPECT_LT(button("spdbtnCapsLock")->x(), key(30)->x());
    EXPECT_LT(button("sbtnLShift")->x(), key(44)->x());
    EXPECT_GT(button("sbtnRShift")->x(), key(53)->x());
    EXPECT_LT(button("sbtnLCtrl")->x(), key(57)->x());
    EXPECT_GT(button("sbtnRCtrl")->x(), key(57)->x());
}

TEST_F(PcKeyboard, EveryKeyButtonReportsItsKeyNumber)
{
    std::vector<int> expected;
    for (const auto& row : KeyRows) {
        for (int k : row) {
            click(key(k));
            expected.push_back(k);
        }
    }
    EXPECT_EQ(keys, expected);
    EXPECT_TRUE(raws.empty());
    EXPECT_TRUE(toggles.empty());
}

TEST_F(PcKeyboard, FunctionKeysReportRawCodes)
{
    click(button("btnRaw161"));
    click(button("btnRaw166"));
    click(button("btnRaw172"));
    EXPECT_EQ(raws, (std::vector<int>{161, 166, 172}));
    EXPECT_TRUE(keys.empty());
}

TEST_F(PcKeyboard, GreenAndGreyCaps)
{
    std::set<QString> grey = {"btnKey14",  "btnKey100",  "spdbtnCapsLock", "sbtnLCtrl",
                              "sbtnRCtrl", "sbtnRShift", "sbtnLAlt",       "sbtnRAlt"};
    for (int code = 161; code <= 172; ++code) {
        grey.insert(QStringLiteral("btnRaw%1").arg(code));
    }
    for (const QAbstractButton* b : keyboard.findChildren<QAbstractButton*>()) {
        const QString name = b->objectName();
        const QString colour = b->property("capColour").toString();
        if (name == "btnBeep" || name == "btnDelay") {
            continue;
        }
        EXPECT_EQ(colour, grey.count(name) ? "grey" : "green") << name.toStdString();
    }
    // And drawn so: the caps' own colours show in the picture.
    auto greenish = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += (c.green() > c.red() + 40 && c.green() > c.blue() + 40) ? 1 : 0;
            }
        }
        return count;
    };
    const QImage green = key(30)->grab().toImage();
    const QImage greyCap = key(14)->grab().toImage();
    EXPECT_GT(greenish(green), green.width() * green.height() / 3);
    EXPECT_EQ(greenish(greyCap), 0);
}

TEST_F(PcKeyboard, Hints)
{
    EXPECT_EQ(key(14)->toolTip(), "Click to add BS character, use keyboard to erase");
    EXPECT_EQ(key(100)->toolTip(), "Click to add DEL character, use keyboard to erase");
    EXPECT_EQ(button("sbtnLCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
    EXPECT_EQ(button("sbtnRCtrl")->toolTip(), "Use Ctrl+Key to enter ASCII control codes");
    EXPECT_EQ(button("btnBeep")->toolTip(), "3 byte Beep command");
    EXPECT_EQ(button("btnDelay")->toolTip(), "3 byte Delay command");
}

TEST_F(PcKeyboard, ModifierToggles)
{
    struct Toggle
    {
        const char* name;
        int flag;
    };
    for (const Toggle& t : {Toggle{"sbtnLShift", LeftShift}, Toggle{"sbtnRShift", RightShift},
                            Toggle{"sbtnLCtrl", LeftCtrl}, Toggle{"sbtnRCtrl", RightCtrl},
                            Toggle{"spdbtnCapsLock", CapsLock}}) {
        toggles.clear();
        QAbstractButton* b = button(t.name);
        EXPECT_TRUE(b->isVisible()) << t.name;
        EXPECT_TRUE(b->isCheckable()) << t.name;
        click(b);
        EXPECT_TRUE(b->isChecked()) << t.name;
        click(b);
        EXPECT_FALSE(b->isChecked()) << t.name;
        EXPECT_EQ(toggles, (std::vector<std::pair<int, bool>>{{t.flag, true}, {t.flag, false}}))
            << t.name;
    }
    EXPECT_TRUE(keys.empty()); // toggles insert nothing
    // They are independent of one another.
    click(button("sbtnLShift"));
    click(button("sbtnRCtrl"));
    EXPECT_TRUE(button("sbtnLShift")->isChecked());
    EXPECT_TRUE(button("sbtnRCtrl")->isChecked());
    // The Alt toggles exist but are not shown.
    EXPECT_TRUE(button("sbtnLAlt")->isHidden());
    EXPECT_TRUE(button("sbtnRAlt")->isHidden());
}

TEST_F(PcKeyboard, ShowModifierButtonsReleasesAllButCapsLock)
{
    for (const char* name : Modifiers) {
        button(name)->setChecked(true);
    }
    toggles.clear();
    keyboard.ShowModifierButtons();
    for (const char* name : Modifiers) {
        EXPECT_EQ(button(name)->isChecked(), QString(name) == "spdbtnCapsLock") << name;
    }
    EXPECT_TRUE(toggles.empty());

    keyboard.SetModifierButton(CapsLock, false);
    keyboard.SetModifierButton(LeftCtrl, true);
    EXPECT_FALSE(button("spdbtnCapsLock")->isChecked());
    EXPECT_TRUE(button("sbtnLCtrl")->isChecked());
    keyboard.SetModifierButton(ShiftKeyHeld, true); // no button of its own
    EXPECT_TRUE(toggles.empty());
}

TEST_F(PcKeyboard, BeepAndDelayTrackBars)
{
    for (const char* name : {"tbBeepValue", "tbDelayValue"}) {
        QSlider* bar = slider(name);
        ASSERT_NE(bar, nullptr) << name;
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), 125);
        EXPECT_EQ(bar->value(), 50);
        EXPECT_EQ(bar->tickInterval(), 16);
        EXPECT_EQ(bar->toolTip(), "200ms") << name;
        bar->setValue(1);
        EXPECT_EQ(bar->toolTip(), "4ms") << name;
        bar->setValue(125);
        EXPECT_EQ(bar->toolTip(), "500ms") << name;
        bar->setValue(37);
        EXPECT_EQ(bar->toolTip(), "148ms") << name;
        const QString base = QString::fromLatin1(name);
        EXPECT_EQ(keyboard.findChild<QLabel*>(base + "Min")->text(), "4ms");
        EXPECT_EQ(keyboard.findChild<QLabel*>(base + "Max")->text(), "500ms");
    }
    slider("tbBeepValue")->setValue(10);
    slider("tbDelayValue")->setValue(100);
    click(button("btnBeep"));
    click(button("btnDelay"));
    EXPECT_EQ(beeps, std::vector<int>{10});
    EXPECT_EQ(delays, std::vector<int>{100});
    EXPECT_EQ(keyboard.BeepPosition(), 10);
    EXPECT_EQ(keyboard.DelayPosition(), 100);
    EXPECT_TRUE(keys.empty());
}

TEST_F(PcKeyboard, ClickingKeepsTheFocusWhereItWas)
{
    QWidget window;
    auto* grid = new QWidget(&window);
    grid->setFocusPolicy(Qt::StrongFocus);
    auto* pc = new TPcKeyboard(&window);
    pc->move(0, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    grid->setFocus();
    ASSERT_TRUE(grid->hasFocus());
    QTest::mouseClick(pc->findChild<QAbstractButton*>("btnKey30"), Qt::LeftButton);
    QTest::mouseClick(pc->findChild<QAbstractButton*>("sbtnLShift"), Qt::LeftButton);
    QTest::mouseClick(pc->findChild<QSlider*>("tbBeepValue"), Qt::LeftButton);
    EXPECT_TRUE(grid->hasFocus());
}
