#include "editor/window/MacroLen.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tessaron;

namespace {

class LengthWarning : public ::testing::Test
{
protected:
    QPlainTextEdit* memo() { return warning.findChild<QPlainTextEdit*>("Memo1"); }
    QCheckBox* checkBox() { return warning.findChild<QCheckBox*>("CheckBox1"); }
    QPushButton* ok() { return warning.findChild<QPushButton*>("BitBtn1"); }

    void SetUp() override
    {
        ASSERT_NE(memo(), nullptr);
        ASSERT_NE(checkBox(), nullptr);
        ASSERT_NE(ok(), nullptr);
        QObject::connect(&warning, &TfrmMacroLenWarning::dontShowAgain,
                         [this] { ++dontShowAgainCount; });
    }

    TfrmMacroLenWarning warning;
    int dontShowAgainCount = 0;
};

const char* const Expected[7] = {
    "In Line Edit mode only the first character in each ",
    "macro is used (unless you have an ALPHA shift",
    "key).  Any other macro data is ignored.",
    "",
    "If Line Edit Character Translation is enabled, then ",
    "the first character is transmitted to the host and the ",
    "second character, if present, is shown on the LCD.",
};

QString lines(int count)
{
    QStringList text;
    for (int i = 0; i < count; ++i) {
        text << QString::fromLatin1(Expected[i]);
    }
    return text.join('\n');
}

} // namespace

TEST_F(LengthWarning, WindowLooks)
{
    EXPECT_EQ(warning.windowTitle(), "Macro Length Warning");
    EXPECT_EQ(warning.size(), QSize(315, 212));
    EXPECT_FALSE(warning.isModal());
    EXPECT_FALSE(warning.isVisible()); // made hidden, shown on demand
    EXPECT_TRUE(memo()->isReadOnly());
    EXPECT_EQ(memo()->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(memo()->palette().color(QPalette::Base), warning.palette().color(QPalette::Window));
    EXPECT_EQ(checkBox()->text(), "Don't show this message again");
    EXPECT_EQ(ok()->text(), "OK");
    const QLabel* picture = warning.findChild<QLabel*>("imgWarning");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    // Everything lies inside the window, the long text field included.
    warning.ShowLengthWarning(true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((warning.frameGeometry().center() - screen.center()).manhattanLength(), 2);
    for (const QWidget* w : warning.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(warning.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST_F(LengthWarning, ShortAndLongForms)
{
    warning.ShowLengthWarning(false);
    EXPECT_TRUE(warning.isVisible());
    EXPECT_EQ(memo()->toPlainText(), lines(3));
    EXPECT_EQ(memo()->height(), 40);

    // Shown again while open: same window, new length.
    warning.ShowLengthWarning(true);
    EXPECT_TRUE(warning.isVisible());
    EXPECT_EQ(memo()->toPlainText(), lines(7));
    EXPECT_EQ(memo()->height(), 105);
    EXPECT_EQ(memo()->document()->blockCount(), 7);
    EXPECT_EQ(memo()->document()->findBlockByNumber(3).text(), "");

    warning.ShowLengthWarning(false);
    EXPECT_EQ(memo()->height(), 40);
    EXPECT_EQ(memo()->document()->blockCount(), 3);
}

TEST_F(LengthWarning, TextFitsItsField)
{
    // Each form's lines fit the field's height, so none is cut off.
    for (bool longForm : {false, true}) {
        warning.ShowLengthWarning(longForm);
        const QFontMetrics metrics(memo()->font());
        const int lineCount = longForm ? 7 : 3;
        EXPECT_LE(metrics.lineSpacing() * lineCount, memo()->height()) << longForm;
        for (int i = 0; i < lineCount; ++i) {
            EXPECT_LE(metrics.horizontalAdvance(QString::fromLatin1(Expected[i])),
                      memo()->viewport()->width())
                << i;
        }
    }
}

TEST_F(LengthWarning, OkWithoutTickOnlyCloses)
{
    warning.ShowLengthWarning(false);
    QTest::mouseClick(ok(), Qt::LeftButton);
    EXPECT_FALSE(warning.isVisible());
    EXPECT_EQ(dontShowAgainCount, 0);
}

TEST_F(LengthWarning, OkWithTickSignalsAndTheTickStays)
{
    warning.ShowLengthWarning(true);
    QTest::mouseClick(checkBox(), Qt::LeftButton);
    ASSERT_TRUE(checkBox()->isChecked());
    QTest::mouseClick(ok(), Qt::LeftButton);
    EXPECT_FALSE(warning.isVisible());
    EXPECT_EQ(dontShowAgainCount, 1);

    warning.ShowLengthWarning(false);
    EXPECT_TRUE(checkBox()->isChecked());
}

TEST_F(LengthWarning, ClosingByTheWindowDoesNotSignal)
{
    warning.ShowLengthWarning(false);
    checkBox()->setChecked(true);
    warning.close();
    EXPECT_FALSE(warning.isVisible());
    EXPECT_EQ(dontShowAgainCount, 0);
}
