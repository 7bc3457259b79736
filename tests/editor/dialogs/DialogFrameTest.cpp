// The property dialogs on their own, without the main window: OK and Apply
// start disabled, Apply commits the working copies and Cancel discards them.
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "tests/support/FakeMessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaron::test {
namespace {

class PropertyDialogsTest : public ::testing::Test
{
protected:
    TKeypadClass keypad;
    TRomRecords rom;
    FakeMessageBox messages;
    int modifiedCalls = 0;
    TDialogContext context{keypad, rom, messages, [this] { ++modifiedCalls; }};
};

TEST_F(PropertyDialogsTest, CaptionsAndNames)
{
    TfrmParameters parameters(context);
    TfrmAdvanced advanced(context);
    TfrmScreenEdit screens(context);
    EXPECT_EQ(parameters.windowTitle(), "Tessaron USER Properties");
    EXPECT_EQ(advanced.windowTitle(), "Tessaron Advanced ROM Properties");
    EXPECT_EQ(screens.windowTitle(), "Tessaron Screen Editor");
    EXPECT_EQ(parameters.objectName(), "frmParameters");
    EXPECT_TRUE(parameters.isModal());
    EXPECT_NE(advanced.findChild<QPushButton*>("btnOK"), nullptr);
    EXPECT_NE(advanced.findChild<QPushButton*>("btnApply"), nullptr);
    EXPECT_NE(advanced.findChild<QPushButton*>("btnCancel"), nullptr);
}

TEST_F(PropertyDialogsTest, OpeningDisablesOkAndApply)
{
    TfrmAdvanced advanced(context);
    advanced.OkButton()->setEnabled(true);
    advanced.ApplyButton()->setEnabled(true);
    advanced.show();
    EXPECT_FALSE(advanced.OkButton()->isEnabled());
    EXPECT_FALSE(advanced.ApplyButton()->isEnabled());
    advanced.hide();
}

TEST_F(PropertyDialogsTest, DisableOkAndApplyAfterARomSave)
{
    TfrmAdvanced advanced(context);
    advanced.OkButton()->setEnabled(true);
    advanced.ApplyButton()->setEnabled(true);
    advanced.DisableOkAndApply();
    EXPECT_FALSE(advanced.OkButton()->isEnabled());
    EXPECT_FALSE(advanced.ApplyButton()->isEnabled());
}

TEST_F(PropertyDialogsTest, AdvancedApplyCommitsTheWorkingCopyAndCancelDiscardsIt)
{
    TfrmAdvanced advanced(context);
    auto* brightness = advanced.findChild<QSlider*>("tbarLcdBrightness");
    advanced.show();
    brightness->setValue(2);
    EXPECT_EQ(advanced.WorkingCopy().LcdBrightness, 2);
    EXPECT_EQ(rom.AdvancedParams.LcdBrightness, 9) << "only the working copy";
    QTest::mouseClick(advanced.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(rom.AdvancedParams.LcdBrightness, 2);
    EXPECT_EQ(modifiedCalls, 1);
    EXPECT_FALSE(advanced.ApplyButton()->isEnabled());

    brightness->setValue(5);
    QTest::mouseClick(advanced.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(rom.AdvancedParams.LcdBrightness, 2);
    EXPECT_EQ(modifiedCalls, 1);
    advanced.show();
    EXPECT_EQ(brightness->value(), 2) << "the next opening starts from the document";
    advanced.hide();
}

TEST_F(PropertyDialogsTest, ScreenCancelDiscardsTheWorkingScreens)
{
    TfrmScreenEdit screens(context);
    screens.show();
    screens.findChild<QLineEdit*>("edLcdLine1")->setText("changed");
    EXPECT_EQ(screens.WorkingCopy()[0].TextLine1, "changed");
    QTest::mouseClick(screens.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(rom.ScreenData[0], NewScreenData(1));
    EXPECT_EQ(modifiedCalls, 0);
}

} // namespace
} // namespace tessaron::test
