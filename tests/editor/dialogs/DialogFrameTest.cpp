// The property dialogs on their own, without the main window: OK and Apply
// start disabled, Apply and Cancel move the ROM working copies the right way.
#include "editor/dialogs/Advanced.h"
#include "editor/dialogs/Params.h"
#include "editor/dialogs/ScreenEdit.h"
#include "tests/support/FakeMessageBox.h"

#include <QPushButton>
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
    TDialogContext context{keypad, rom, messages, [this](bool flag) {
                               if (flag) {
                                   ++modifiedCalls;
                               }
                           }};
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

TEST_F(PropertyDialogsTest, AdvancedApplyCommitsTheWorkingCopyAndMarksModified)
{
    TfrmAdvanced advanced(context);
    rom.AdvancedParamsWork.LcdBrightness = 2;
    advanced.ApplyButton()->setEnabled(true);
    QTest::mouseClick(advanced.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(rom.AdvancedParams.LcdBrightness, 2);
    EXPECT_EQ(modifiedCalls, 1);
    EXPECT_FALSE(advanced.ApplyButton()->isEnabled());
}

TEST_F(PropertyDialogsTest, AdvancedCancelDiscardsTheWorkingCopy)
{
    TfrmAdvanced advanced(context);
    rom.AdvancedParamsWork.LcdBrightness = 2;
    QTest::mouseClick(advanced.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(rom.AdvancedParamsWork.LcdBrightness, 9);
    EXPECT_EQ(rom.AdvancedParams.LcdBrightness, 9);
    EXPECT_EQ(modifiedCalls, 0);
}

TEST_F(PropertyDialogsTest, ScreenCancelDiscardsTheWorkingScreens)
{
    TfrmScreenEdit screens(context);
    rom.ScreenDataWork[3].TextLine1 = "changed";
    QTest::mouseClick(screens.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(rom.ScreenDataWork[3], rom.ScreenData[3]);
}

} // namespace
} // namespace tessaron::test
