// The ROM screen editor, opened from the ROM Properties menu: one screen at a
// time, Apply and Cancel over all eight, the caption and buttons that carry
// over between openings, and the screens saved in the .rom file.
#include "DialogFixture.h"

#include "editor/dialogs/ScreenEdit.h"

namespace tessaron::test {
namespace {

class ScreenEditTest : public DialogTest
{
public:
    const TScreenDataRec& working(int screen)
    {
        return child<TfrmScreenEdit>().WorkingCopy()[static_cast<size_t>(screen)];
    }
    TScreenDataRec& document(int screen) { return rom().ScreenData[screen]; }
};

TEST_F(ScreenEditTest, NewScreensShowTheirDefaultsAndSwitchingChangesNothing)
{
    startRom();
    openScreens([&] {
        EXPECT_EQ(dialog().windowTitle(), "Tessaron Screen Editor");
        EXPECT_FALSE(okEnabled() || applyEnabled());
        for (const int screen : {1, 2, 1}) {
            click(QStringLiteral("rbScreen%1").arg(screen).toLatin1().constData());
            EXPECT_EQ(shown("edLcdLine1"), QStringLiteral("This is screen %1").arg(screen));
        }
        EXPECT_EQ(shown("edLcdLine2"), "> _____________ ");
        const std::pair<const char*, const char*> lists[] = {
            {"cboxUserDataAction", "Accept key data"},
            {"cboxEnterAction", "Go to Screen 1"},
            {"cboxCardSwipeAction", "Go to Screen 1"},
            {"cboxUserFullAction", "Beep"},
            {"cboxBackNormalAction", "Erase one character"},
            {"cboxBackEmptyAction", "Beep"},
            {"cboxClearNormalAction", "Erase all characters"},
            {"cboxClearEmptyAction", "Beep"},
        };
        for (const auto& [list, entry] : lists) {
            EXPECT_EQ(shown(list), entry) << list;
        }
        EXPECT_EQ(shown("spinTimeoutPeriod"), "1000");
        EXPECT_FALSE(enabled("cboxTimeoutAction") || enabled("spinTimeoutPeriod"));
        EXPECT_FALSE(enabled("cboxCardSwipeAction"));
        EXPECT_EQ(dialog().windowTitle(), "Tessaron Screen Editor");
        EXPECT_FALSE(okEnabled());
        expectEveryControlNamed();
        EXPECT_EQ(spoken(control("rbScreen3")), "Screen 3");
        EXPECT_EQ(spoken(control("cboxEnterAction")), "On ENTER key, do:");
    });
    EXPECT_FALSE(doc().Modified());
}

TEST_F(ScreenEditTest, ActionsLedsAndEnablingStoreIntoTheScreenShown)
{
    startRom();
    document(1).LedModes = 21;
    openScreens([&] {
        click("rbScreen2");
        EXPECT_TRUE(checked("rbLed1flash") && checked("rbLed2on"));
        click("rbLed1off");
        EXPECT_EQ(working(1).LedModes, 1);
        EXPECT_EQ(dialog().windowTitle(), "Tessaron ROM Screen Editor*");

        EXPECT_FALSE(enabled("cboxSaveDataForNextScreen"));
        choose("cboxUserDataAction", 4);
        EXPECT_EQ(working(1).UserDataAction, 4);
        EXPECT_TRUE(enabled("cboxSaveDataForNextScreen"));
        // The empty entry that closes list D stores 12.
        EXPECT_EQ(control<QComboBox>("cboxEnterAction")->count(), 13);
        choose("cboxEnterAction", 12);
        EXPECT_EQ(working(1).EnterAction, 12);

        accessibleAction(control("cboxTimeoutEnable"), QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(working(1).bTimeoutEnable, 1);
        EXPECT_TRUE(enabled("spinTimeoutPeriod"));
        typeInto("spinTimeoutPeriod", "99999");
        EXPECT_EQ(working(1).TimeoutPeriod, 60000);
        typeInto("spinOnShow", "x");
        typeInto("edLcdLine1", "Enter PIN then OK");
        ok();
    });
    EXPECT_EQ(document(1).LedModes, 1);
    EXPECT_EQ(document(1).TextLine1, "Enter PIN then O");
    EXPECT_EQ(saved("SCREEN2", "LedModes"), "1");
    EXPECT_EQ(saved("SCREEN2", "EnterAction"), "12");
    EXPECT_EQ(saved("SCREEN2", "TimeoutPeriod"), "60000");
    EXPECT_EQ(saved("SCREEN2", "OnShowChar"), "0");
    EXPECT_EQ(saved("SCREEN2", "TextLine1"), "%Enter PIN then O%");
}

TEST_F(ScreenEditTest, AnLedStateNoButtonShowsIsKept)
{
    startRom();
    document(2).LedModes = 52; // green 5, which no button shows; red flashing
    openScreens([&] {
        click("rbScreen3");
        EXPECT_FALSE(checked("rbLed1off") || checked("rbLed1on") || checked("rbLed1flash"));
        click("rbLed2on");
        ok();
    });
    EXPECT_EQ(saved("SCREEN3", "LedModes"), "51");
}

TEST_F(ScreenEditTest, ApplyAndCancelCoverAllScreensAndTheStateCarriesOver)
{
    startRom();
    openScreens([&] {
        click("rbScreen3");
        click("cboxMaskUserInput");
        click("rbScreen5");
        cancel();
    });
    EXPECT_EQ(working(2).bUserMaskInput, 0) << "screen 3 restored from screen 5";
    EXPECT_FALSE(doc().Modified());

    openScreens([&] {
        EXPECT_EQ(dialog().windowTitle(), "Tessaron ROM Screen Editor");
        EXPECT_TRUE(checked("rbScreen5")) << "the screen shown last time";
        EXPECT_TRUE(okEnabled() && applyEnabled()) << "not disabled by Cancel or reopening";
        // Nothing changed since Cancel: the screens are copied, the document not marked.
        apply();
        EXPECT_FALSE(doc().Modified());
        EXPECT_FALSE(applyEnabled());
        click("cboxRequireAllData");
        click("rbScreen1");
        apply();
        EXPECT_TRUE(doc().Modified());
        EXPECT_EQ(document(4).bRequireAllData, 1);
        click("cboxRequireAllData");
        cancel();
    });
    EXPECT_EQ(document(0).bRequireAllData, 0);
    EXPECT_EQ(document(4).bRequireAllData, 1) << "the earlier Apply stays";
}

TEST_F(ScreenEditTest, OneLineLcdLosesTheSecondLineOfEveryScreenShown)
{
    startRom();
    rom().AdvancedParams.LcdSize = 16;
    openScreens([&] {
        EXPECT_FALSE(enabled("edLcdLine2"));
        EXPECT_EQ(shown("edLcdLine2"), "");
        click("rbScreen4");
        EXPECT_EQ(working(3).TextLine2, "");
        EXPECT_EQ(working(5).TextLine2, "> _____________ ") << "not shown yet";
        EXPECT_EQ(dialog().windowTitle(), "Tessaron Screen Editor") << "no change by itself";
        click("cboxRequireAllData");
        apply();
    });
    EXPECT_EQ(document(0).TextLine2, "");
    EXPECT_EQ(document(3).TextLine2, "");
    EXPECT_EQ(document(5).TextLine2, "> _____________ ");
    EXPECT_EQ(saved("SCREEN6", "TextLine2"), "%%");
}

} // namespace
} // namespace tessaron::test
