// "Tessaron Advanced ROM Properties", opened from the ROM Properties menu: the
// working copy, the caption and buttons, the encodings stored and saved in
// the .rom file, and what the pages show for the mode, host and reader type.
#include "DialogFixture.h"

#include "editor/dialogs/Advanced.h"

#include <QLabel>

namespace tessaron::test {
namespace {

const QString Caption = "Tessaron Advanced ROM Properties";

class AdvancedTest : public DialogTest
{
public:
    const TAdvancedParams& work() { return child<TfrmAdvanced>().WorkingCopy(); }
    // Sets the document's values as a loaded file would.
    void stored(const std::function<void(TAdvancedParams&)>& change)
    {
        change(rom().AdvancedParams);
    }
    bool pageVisible(const char* page)
    {
        auto* pages = control<QTabWidget>("PageControl");
        return pages->isTabVisible(pages->indexOf(control(page)));
    }
    QString pageTitle(const char* page)
    {
        auto* pages = control<QTabWidget>("PageControl");
        return pages->tabText(pages->indexOf(control(page)));
    }
};

TEST_F(AdvancedTest, FillingNeverCountsAndCancelUndoesOnlyWhatWasNotApplied)
{
    startRom();
    stored([](TAdvancedParams& p) { p.LcdBrightness = 3; });
    openAdvanced([&] {
        EXPECT_EQ(dialog().windowTitle(), Caption);
        EXPECT_FALSE(okEnabled() || applyEnabled());
        EXPECT_EQ(control<QSlider>("tbarLcdBrightness")->value(), 3);
        cancel();
    });
    stored([](TAdvancedParams& p) { p.LcdBrightness = 7; });
    openAdvanced([&] {
        // The bar moves from 3 to 7 while filling: still nothing changed.
        EXPECT_EQ(dialog().windowTitle(), Caption);
        EXPECT_FALSE(okEnabled());
        typeInto("spinCharPacing", "20");
        EXPECT_EQ(dialog().windowTitle(), Caption + "*");
        EXPECT_EQ(work().Character_Pacing, 20);
        EXPECT_EQ(rom().AdvancedParams.Character_Pacing, 0) << "only the working copy";
        apply();
        EXPECT_EQ(dialog().windowTitle(), Caption);
        EXPECT_FALSE(applyEnabled());
        EXPECT_TRUE(okEnabled());
        typeInto("spinTSignOnHold", "2500");
        cancel();
    });
    EXPECT_EQ(rom().AdvancedParams.Character_Pacing, 20);
    EXPECT_EQ(rom().AdvancedParams.TSignOnHold, 1000);
    EXPECT_EQ(work(), rom().AdvancedParams);
    EXPECT_TRUE(doc().Modified());
    EXPECT_EQ(saved("GLOBAL_PARAMETERS", "Character_Pacing"), "20");
}

TEST_F(AdvancedTest, ControlsStoreTheirEncodingsAndTheRomFileHoldsThem)
{
    struct Case
    {
        const char* what;
        std::function<void(TAdvancedParams&)> stored;
        std::function<void(AdvancedTest&)> act;
        std::function<void(const TAdvancedParams&)> expect;
        const char* section;
        const char* key;
        const char* inFile;
    };
    const Case cases[] = {
        {"word format 0x99 (bit 7): Odd is 0x9D, None 0x98",
         [](TAdvancedParams& p) { p.Word_Format = 0x99; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbHost8DataBits") && t.checked("rbHostStopBits2"));
             EXPECT_TRUE(t.checked("rbHostParityNone"));
             t.click("rbHostParityOdd");
             EXPECT_EQ(t.work().Word_Format, 0x9D);
             t.click("rbHostParityNone");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.Word_Format, 0x98); }, "GLOBAL_PARAMETERS",
         "Word_Format", "152"},
        {"word format 8: Even 0x0A, Odd 0x0E, None 0x08, 7 bits and 2 stop bits",
         [](TAdvancedParams& p) { p.Word_Format = 8; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbHost8DataBits") && t.checked("rbHostStopBits1"));
             t.click("rbHostParityEven");
             EXPECT_EQ(t.work().Word_Format, 0x0A);
             t.click("rbHostParityOdd");
             EXPECT_EQ(t.work().Word_Format, 0x0E);
             t.click("rbHostParityNone");
             EXPECT_EQ(t.work().Word_Format, 0x08);
             t.click("rbHost7DataBits");
             t.click("rbHostStopBits2");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.Word_Format, 0x01); }, "GLOBAL_PARAMETERS",
         "Word_Format", "1"},
        {"a stored mark parity shows on the disabled Mark; Even makes it 4",
         [](TAdvancedParams& p) { p.Word_Format = 0x87; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbHostParityMark"));
             EXPECT_FALSE(t.enabled("rbHostParityMark") || t.enabled("rbHostParitySpace"));
             t.click("rbHostParityEven");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.Word_Format, 0x84); }, "GLOBAL_PARAMETERS",
         "Word_Format", "132"},
        {"card word format 0x90 with Space is 0x96",
         [](TAdvancedParams& p) { p.CardWordFormat = 0x90; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbCard8DataBits") && t.checked("rbCardStopBits1"));
             EXPECT_TRUE(t.checked("rbCardParityNone"));
             t.click("rbCardParitySpace");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.CardWordFormat, 0x96); }, "ADVANCED_PARAMETERS",
         "CardWordFormat", "150"},
        {"LED 0x1F, then green Under Host Control, is 0x23",
         [](TAdvancedParams& p) { p.LED_Function = 0x1F; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbLED1level") && t.checked("rbLED2power"));
             t.click("rbLED1host");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.LED_Function, 0x23); }, "GLOBAL_PARAMETERS",
         "LED_Function", "35"},
        {"screen mode keeps the mode bits; Line Edit then clears it and sets bit 0",
         [](TAdvancedParams& p) { p.Operating_Mode = 0x02; },
         [](AdvancedTest& t) {
             t.click("rbScreenMode");
             EXPECT_EQ(t.work().ScreenEnable, 1);
             EXPECT_EQ(t.work().Operating_Mode, 0x02);
             t.click("rbLineEditMode");
         },
         [](const TAdvancedParams& p) {
             EXPECT_EQ(p.ScreenEnable, 0);
             EXPECT_EQ(p.Operating_Mode, 0x03);
         },
         "GLOBAL_PARAMETERS", "Operating_Mode", "3"},
        {"post-processing with field 16 keeps the track flag",
         [](TAdvancedParams& p) { p.ECR_Mode = 0x0010; },
         [](AdvancedTest& t) {
             EXPECT_FALSE(t.enabled("cboxSelectField"));
             t.click("cboxEnableEcrMode");
             EXPECT_TRUE(t.enabled("cboxSelectField"));
             EXPECT_EQ(t.shown("cboxSelectTrack"), "Track 2 (MCR only)");
             t.choose("cboxSelectField", 15);
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.ECR_Mode, 0x801F); }, "ADVANCED_PARAMETERS",
         "ECR_Mode", "32799"},
        {"clearing a flag clears bits 16 to 31", [](TAdvancedParams& p) { p.ECR_Mode = 0x58040; },
         [](AdvancedTest& t) { t.click("cboxPrepend00"); },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.ECR_Mode, 0x8000); }, "ADVANCED_PARAMETERS",
         "ECR_Mode", "32768"},
        {"host type 2 from a file stays", [](TAdvancedParams& p) { p.HostType = 2; },
         [](AdvancedTest& t) {
             EXPECT_TRUE(t.checked("rbUSB"));
             EXPECT_FALSE(t.enabled("rbUSB"));
             t.typeInto("spinKeyClick", "44");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.HostType, 2); }, "ADVANCED_PARAMETERS",
         "HostType", "2"},
        {"one beep field stores all four as shown", [](TAdvancedParams& p) { p.TBeepChirp = 3000; },
         [](AdvancedTest& t) {
             EXPECT_EQ(t.shown("spinPowerOnBeep"), "2500");
             t.typeInto("spinKeyClick", "60");
         },
         [](const TAdvancedParams& p) {
             EXPECT_EQ(p.Key_Click, 60);
             EXPECT_EQ(p.TBeepChirp, 2500);
         },
         "ADVANCED_PARAMETERS", "TBeepChirp", "2500"},
        {"the mask character; an emptied field keeps it", [](TAdvancedParams&) {},
         [](AdvancedTest& t) {
             t.typeInto("edMaskChar", "#");
             t.typeInto("edMaskChar", "");
             EXPECT_EQ(t.shown("edMaskChar"), "#");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.MaskChar, '#'); }, "ADVANCED_PARAMETERS",
         "MaskChar", "35"},
        {"the Mag Card prefix is the Barcode/RFID prefix",
         [](TAdvancedParams& p) { p.CardReader_Type = 2; },
         [](AdvancedTest& t) {
             t.typeInto("spinMCRPrefixChar", "2");
             t.click("rbCardBCR");
             EXPECT_EQ(t.shown("spinBCRPrefixChar"), "2");
         },
         [](const TAdvancedParams& p) { EXPECT_EQ(p.CardStartDelim, 2); }, "ADVANCED_PARAMETERS",
         "CardStartDelim", "2"},
        {"sign-on text and the suffix to remove", [](TAdvancedParams&) {},
         [](AdvancedTest& t) {
             t.typeInto("edLcdLine1", "Hello%");
             t.click("cboxEnableEcrMode");
             t.typeInto("edRemoveSuffix", "123456789");
         },
         [](const TAdvancedParams& p) {
             EXPECT_EQ(p.SignOnMsgLine1, "Hello%");
             EXPECT_EQ(p.ECR_String, "12345678");
         },
         "ADVANCED_PARAMETERS", "SignOnMsgLine1", "%Hello%%          %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startRom();
        stored(c.stored);
        openAdvanced([&] {
            c.act(*this);
            ok();
        });
        c.expect(rom().AdvancedParams);
        EXPECT_EQ(work(), rom().AdvancedParams);
        EXPECT_EQ(saved(c.section, c.key), c.inFile);
        TearDown();
    }
}

TEST_F(AdvancedTest, ReaderTypeDecidesTheCardPages)
{
    struct Step
    {
        const char* click;
        int type;
        int device;
        bool barcode, magCard, ecr, groups, delimiters;
        const char* barcodeTitle;
        const char* startLabel;
    };
    const Step steps[] = {
        {"rbCardNone", 0, 0x00, false, false, false, false, true, "Barcode/RFID",
         "Barcode/RFID start character: *"},
        {"rbCardMCR", 2, 0x81, false, true, true, true, true, "Barcode/RFID",
         "Barcode/RFID start character: *"},
        {"rbCardWedge", 3, 0x02, true, false, false, true, false, "Ext. Wedge",
         "External Wedge start character: *"},
        {"rbWedgeModePacketize", 3, 0x82, true, false, true, true, true, "Ext. Wedge",
         "External Wedge start character: *"},
        {"rbCardBCR", 1, 0x81, true, false, true, true, true, "Barcode/RFID",
         "Barcode/RFID start character: *"},
    };
    startRom();
    openAdvanced([&] {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.click);
            click(s.click);
            EXPECT_EQ(work().CardReader_Type, s.type);
            EXPECT_EQ(work().DeviceType, s.device);
            EXPECT_EQ(pageVisible("tabBarcode"), s.barcode);
            EXPECT_EQ(pageVisible("tabMagCard"), s.magCard);
            EXPECT_EQ(pageVisible("tabEcr"), s.ecr);
            EXPECT_EQ(pageTitle("tabBarcode"), s.barcodeTitle);
            EXPECT_EQ(!control("gboxCardCom")->isHidden(), s.groups);
            EXPECT_EQ(!control("gboxCardOKMessage")->isHidden(), s.groups);
            EXPECT_EQ(control("spinBCRStartChar")->isEnabled(), s.delimiters);
            EXPECT_EQ(control<QLabel>("lblBCRStartChar")->text(), s.startLabel);
            EXPECT_EQ(spoken(control("spinBCRStartChar")), s.startLabel);
            EXPECT_EQ(!control("rbWedgeModePassThru")->isHidden(), s.type == 3);
        }
        EXPECT_EQ(dialog().windowTitle(), Caption + "*");
        cancel();
    });
    EXPECT_EQ(rom().AdvancedParams.CardReader_Type, 1);
    EXPECT_EQ(rom().AdvancedParams.DeviceType, 0);
}

TEST_F(AdvancedTest, OperatingModeHostTypeAndLcdSizeShapeThePages)
{
    struct Mode
    {
        const char* button;
        bool echo, startScreen, mask, keypadData, leds, scroll, xlate;
    };
    const Mode modes[] = {
        {"rbScreenMode", false, true, false, true, false, false, false},
        {"rbLineEditMode", false, false, true, true, true, false, true},
        {"rbTrueTerminalMode", true, false, false, false, true, true, false},
    };
    startRom();
    openAdvanced([&] {
        for (const Mode& m : modes) {
            SCOPED_TRACE(m.button);
            click(m.button);
            EXPECT_EQ(control("cboxEcho")->isEnabled(), m.echo);
            EXPECT_EQ(control("cboxStartScreen")->isEnabled(), m.startScreen);
            EXPECT_EQ(control("cboxMaskUserInput")->isEnabled(), m.mask);
            EXPECT_EQ(control("edMaskChar")->isEnabled(), m.keypadData);
            EXPECT_EQ(control("spinCalcTail")->isEnabled(), m.keypadData);
            EXPECT_EQ(!control("gboxLED1")->isHidden(), m.leds);
            EXPECT_EQ(!control("gboxLED2")->isHidden(), m.leds);
            EXPECT_EQ(control("cbEnableScroll")->isEnabled(), m.scroll);
            EXPECT_EQ(control("cbLcdXlate")->isEnabled(), m.xlate);
        }

        // The host type relabels the LEDs at once.
        click("rbHostHID");
        EXPECT_EQ(work().HostType, 3);
        EXPECT_EQ(shown("rbLED1level"), "CapsLock Indicator");
        EXPECT_EQ(shown("rbLED2level"), "CapsLock Indicator");
        EXPECT_EQ(shown("rbLED2host"), "NumLock Indicator");
        EXPECT_EQ(shown("rbLED2power"), "Shift/Toggle Indicator");
        EXPECT_EQ(shown("rbLED1power"), "Power Indicator");
        EXPECT_FALSE(enabled("spinCdcSerialNo"));
        click("rbHostCDC");
        EXPECT_EQ(shown("rbLED2power"), "Power Indicator");
        EXPECT_TRUE(enabled("spinCdcSerialNo"));

        // One LCD line darkens both second lines but keeps their texts.
        click("rbLcdIs1x16");
        EXPECT_EQ(work().LcdSize, 16);
        EXPECT_FALSE(enabled("edLcdLine2"));
        EXPECT_FALSE(enabled("edLcdLine2CardOK"));
        EXPECT_EQ(shown("edLcdLine2"), "*   Tessaron   *");
        EXPECT_EQ(work().SignOnMsgLine2, "*   Tessaron   *");
        click("rbLcdIs2x16");
        EXPECT_TRUE(enabled("edLcdLine2") && enabled("edLcdLine2CardOK"));
        ok();
    });
    EXPECT_EQ(saved("ADVANCED_PARAMETERS", "HostType"), "7");
}

TEST_F(AdvancedTest, KeyboardScreenReaderAndPictures)
{
    // A damaged picture in the suite folder shows as an empty area.
    home.write("host-db9.jpg", "not a picture");
    startRom();
    stored([](TAdvancedParams& p) { p.Operating_Mode = 0; });
    openAdvanced([&] {
        expectEveryControlNamed();
        EXPECT_EQ(spoken(control("spinCalcTail")), "Keypad Tail character*:");
        EXPECT_EQ(spoken(control("edLcdLine1")), "Sign-on message, line 1");
        EXPECT_TRUE(control<QLabel>("imgHostDB9")->pixmap().isNull());
        EXPECT_FALSE(control<QLabel>("imgMagCard")->pixmap().isNull());

        // Toggle and Press act as clicks: stored, marked, reloaded.
        accessibleAction(control("cboxEcho"), QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(work().bHostEcho, 1);
        EXPECT_EQ(dialog().windowTitle(), Caption + "*");
        accessibleAction(control("rbScreenMode"), QAccessibleActionInterface::pressAction());
        EXPECT_EQ(work().ScreenEnable, 1);
        EXPECT_FALSE(control("cboxEcho")->isEnabled());
        // A disabled button cannot be chosen that way either.
        accessibleAction(control("rbRS232"), QAccessibleActionInterface::pressAction());
        EXPECT_EQ(work().HostType, 0);
        mnemonic(Qt::Key_O);
        EXPECT_FALSE(dialog().isVisible());
    });
    EXPECT_EQ(rom().AdvancedParams.bHostEcho, 1);
    EXPECT_EQ(rom().AdvancedParams.ScreenEnable, 1);
}

} // namespace
} // namespace tessaron::test
