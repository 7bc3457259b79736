// "Tessaron USER Properties", opened with the Properties button in USER mode:
// what each opening shows, what Apply stores and what the saved .ckd holds.
#include "DialogFixture.h"

#include "editor/dialogs/Params.h"

#include <QRadioButton>

namespace tessaron::test {
namespace {

using ParamsTest = DialogTest;

TEST_F(ParamsTest, OpeningFillsWithoutChangingAndCancelKeepsTheParameters)
{
    start();
    const TKeypadClass before = keypad();
    openUserProperties([&] {
        EXPECT_EQ(dialog().windowTitle(), "Tessaron USER Properties");
        EXPECT_FALSE(dialog().windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(okEnabled());
        EXPECT_FALSE(applyEnabled());
        EXPECT_EQ(shown("spinKeyClick"), "40");
        EXPECT_EQ(shown("cboxBaudRate"), "9600");
        EXPECT_TRUE(checked("rbLineEdit"));
        EXPECT_TRUE(checked("radbtnKeyRoll2"));
        EXPECT_TRUE(control("gboxBCR")->isVisible());
        EXPECT_FALSE(control("gboxMCR")->isVisible());
        EXPECT_FALSE(control("rbHostTypeRF")->isVisible());
        typeInto("spinKeyClick", "100");
        click("rbCardReaderMCR");
        EXPECT_TRUE(okEnabled() && applyEnabled());
        EXPECT_TRUE(control("gboxMCR")->isVisible());
        cancel();
    });
    EXPECT_EQ(keypad().Key_Click, before.Key_Click);
    EXPECT_EQ(keypad().CardReader_Type, before.CardReader_Type);
    EXPECT_FALSE(doc().Modified());
    // The next opening shows the record again, not what was left in the controls.
    openUserProperties([&] {
        EXPECT_EQ(shown("spinKeyClick"), "40");
        EXPECT_TRUE(checked("rbCardReaderBCR"));
    });
}

// Stored values, what the user does, and what Apply makes of them.
TEST_F(ParamsTest, ApplyStoresTheFieldsAsEncoded)
{
    struct Case
    {
        const char* what;
        std::function<void(TKeypadClass&)> stored;
        std::function<void(ParamsTest&)> act;
        std::function<void(const TKeypadClass&)> expect;
    };
    const Case cases[] = {
        {"0x43 is Line Edit, masked, host Default, and is rebuilt as 0x03",
         [](TKeypadClass& k) { k.Operating_Mode = 0x43; },
         [](ParamsTest& t) {
             EXPECT_TRUE(t.checked("rbLineEdit") && t.checked("cbMaskInput"));
             EXPECT_TRUE(t.checked("rbHostTypeDefault"));
         },
         [](const TKeypadClass& k) { EXPECT_EQ(k.Operating_Mode, 0x03); }},
        {"word format 10 shows 8,N,1 and stores 8", [](TKeypadClass& k) { k.Word_Format = 10; },
         [](ParamsTest& t) { EXPECT_EQ(t.shown("cboxWordFormat"), "8,N,1"); },
         [](const TKeypadClass& k) { EXPECT_EQ(k.Word_Format, 8); }},
        {"7,O,1 stores 6", [](TKeypadClass& k) { k.Word_Format = 8; },
         [](ParamsTest& t) { t.choose("cboxWordFormat", 2); },
         [](const TKeypadClass& k) { EXPECT_EQ(k.Word_Format, 6); }},
        {"LED 0x3F loads as 0x33", [](TKeypadClass& k) { k.LED_Function = 0x3F; },
         [](ParamsTest& t) { EXPECT_TRUE(t.checked("rbLED1power") && t.checked("rbLED2power")); },
         [](const TKeypadClass& k) { EXPECT_EQ(k.LED_Function, 0x33); }},
        {"LED 0x31, then green Host/Macro", [](TKeypadClass& k) { k.LED_Function = 0x31; },
         [](ParamsTest& t) { t.click("rbLED1host"); },
         [](const TKeypadClass& k) { EXPECT_EQ(k.LED_Function, 0x21); }},
        {"tracks 0x83 without track 2 is 0x81", [](TKeypadClass& k) { k.CardReader_Tracks = 0x83; },
         [](ParamsTest& t) {
             t.click("rbCardReaderMCR");
             t.click("cbTrack2");
         },
         [](const TKeypadClass& k) { EXPECT_EQ(k.CardReader_Tracks, 0x81); }},
        {"a hidden RF mode and its ID survive",
         [](TKeypadClass& k) {
             k.Operating_Mode = 0x61;
             k.RF_Keypad_ID = 5;
         },
         [](ParamsTest& t) { EXPECT_TRUE(t.checked("rbHostTypeRF")); },
         [](const TKeypadClass& k) {
             EXPECT_EQ(k.Operating_Mode, 0x61);
             EXPECT_EQ(k.RF_Keypad_ID, 5);
         }},
        {"the mask bit follows the disabled box in True Terminal mode",
         [](TKeypadClass& k) { k.Operating_Mode = 0x03; },
         [](ParamsTest& t) {
             t.click("rbTrueTerminal");
             EXPECT_FALSE(t.enabled("cbMaskInput"));
             EXPECT_FALSE(t.enabled("spinTailChar"));
         },
         [](const TKeypadClass& k) { EXPECT_EQ(k.Operating_Mode, 0x02); }},
        {"start character 0 shows and stores the minimum 1",
         [](TKeypadClass& k) {
             k.CardReader_StartCharacter = 0;
             k.CardReader_StartCharacterEnable = 2;
         },
         [](ParamsTest& t) {
             EXPECT_EQ(t.shown("spinStartChar"), "1");
             // Checked for any non-zero flag, but the field only for exactly 1.
             EXPECT_TRUE(t.checked("cbStartCharEnable"));
             EXPECT_FALSE(t.enabled("spinStartChar"));
         },
         [](const TKeypadClass& k) {
             EXPECT_EQ(k.CardReader_StartCharacter, 1);
             EXPECT_EQ(k.CardReader_StartCharacterEnable, 1);
         }},
        {"values beyond the lists: 9600, the sentinel's default; an unknown reader kept",
         [](TKeypadClass& k) {
             k.Baud_Rate = 12;
             k.CardReader_EndSentinel = 200;
             k.CardReader_Type = 3;
         },
         [](ParamsTest& t) {
             EXPECT_FALSE(t.checked("rbCardReaderNone") || t.checked("rbCardReaderBCR") ||
                          t.checked("rbCardReaderMCR"));
             EXPECT_FALSE(t.control("gboxBCR")->isVisible() || t.control("gboxMCR")->isVisible());
         },
         [](const TKeypadClass& k) {
             EXPECT_EQ(k.Baud_Rate, 3);
             EXPECT_EQ(k.CardReader_EndSentinel, 13);
             EXPECT_EQ(k.CardReader_Type, 3);
         }},
        {"pacing typed beyond its range is clamped when left, a non-number is the minimum",
         [](TKeypadClass&) {},
         [](ParamsTest& t) {
             t.typeInto("spinCharacterPacing", "300");
             EXPECT_EQ(t.shown("spinCharacterPacing"), "200");
             t.typeInto("spinCmdPrefix", "abc");
             EXPECT_EQ(t.shown("spinCmdPrefix"), "0");
         },
         [](const TKeypadClass& k) {
             EXPECT_EQ(k.Character_Pacing, 200);
             EXPECT_EQ(k.Command_Prefix, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        start();
        c.stored(keypad());
        openUserProperties([&] {
            c.act(*this);
            // Something changed, so that OK is there to press.
            typeInto("spinDownloadDelay", "7");
            ok();
        });
        c.expect(keypad());
        EXPECT_EQ(keypad().DOWNLOAD_DELAY, 7);
        EXPECT_TRUE(doc().Modified());
        TearDown();
    }
}

TEST_F(ParamsTest, ApplyStaysAfterCancelAndReachesTheFile)
{
    TfrmMain& w = start();
    openUserProperties([&] {
        typeInto("spinKeyClick", "60");
        click("rbHostTypeCDC");
        EXPECT_TRUE(enabled("spinCdcSerialNo"));
        typeInto("spinCdcSerialNo", "4321");
        click("radbtnKeyRoll1");
        apply();
        EXPECT_FALSE(applyEnabled());
        EXPECT_TRUE(okEnabled());
        typeInto("spinKeyClick", "80");
        EXPECT_TRUE(applyEnabled());
        cancel();
    });
    EXPECT_EQ(keypad().Key_Click, 60);
    EXPECT_TRUE(w.windowTitle().endsWith('*'));
    EXPECT_EQ(saved("GLOBAL_PARAMETERS", "Key_Click"), "60");
    EXPECT_EQ(saved("GLOBAL_PARAMETERS", "Operating_Mode"), "113"); // 0x71
    EXPECT_EQ(saved("GLOBAL_PARAMETERS", "CDC_Serial_No"), "4321");
    EXPECT_EQ(saved("GLOBAL_PARAMETERS", "Key_Roll_Over"), "1");
}

TEST_F(ParamsTest, HidHostModeRelabelsTheLedsAndKeepsTheirCodes)
{
    start();
    openUserProperties([&] {
        click("rbHostTypeHID");
        EXPECT_EQ(shown("rbLED1level"), "CapsLock Indicator");
        EXPECT_EQ(shown("rbLED1host"), "NumLock Indicator");
        EXPECT_EQ(shown("rbLED1power"), "Power Indicator");
        EXPECT_EQ(shown("rbLED2power"), "Level Indicator");
        EXPECT_FALSE(enabled("spinCdcSerialNo"));
        click("rbLED2host");
        ok();
    });
    EXPECT_EQ(keypad().Operating_Mode, 0x31);
    EXPECT_EQ(keypad().LED_Function, 0x32);
    openUserProperties([&] {
        click("rbHostTypeDefault");
        EXPECT_EQ(shown("rbLED2power"), "Power Indicator");
    });
}

TEST_F(ParamsTest, KeyboardAndScreenReaderReachEveryControl)
{
    start();
    openUserProperties([&] {
        // Fields speak their labels; a unit or hint adds to it.
        expectEveryControlNamed();
        EXPECT_EQ(spoken(control("spinTailChar")), "Tail Character:");
        EXPECT_EQ(control("spinTailChar")->accessibleDescription(), "(decimal)");
        EXPECT_EQ(spoken(control("cbMaskInput")), "Mask User Input");
        EXPECT_EQ(spoken(control("cboxWordFormat")), "Word Format :");

        // Tab goes through the controls in reading order and ends at the buttons.
        control("rbLineEdit")->setFocus();
        std::vector<QString> order;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* f = QApplication::focusWidget();
            order.push_back(f->objectName().isEmpty() ? f->parentWidget()->objectName()
                                                      : f->objectName());
        }
        EXPECT_EQ(order,
                  (std::vector<QString>{"cbMaskInput", "spinTailChar", "spinCharacterPacing",
                                        "spinDownloadDelay", "spinCmdPrefix", "spinKeyClick"}));

        // A screen reader's Toggle is a click, and counts as a change.
        accessibleAction(control("cbTrack1"), QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(applyEnabled());
        accessibleAction(control("rbTrueTerminal"), QAccessibleActionInterface::pressAction());
        EXPECT_FALSE(enabled("spinTailChar"));
        // The mnemonic of "&Apply".
        mnemonic(Qt::Key_A);
        EXPECT_FALSE(applyEnabled());
        EXPECT_EQ(keypad().Operating_Mode & 0x01, 0);
        EXPECT_EQ(keypad().CardReader_Tracks, 2);
        // Escape is Cancel.
        QTest::keyClick(&dialog(), Qt::Key_Escape);
        EXPECT_FALSE(dialog().isVisible());
    });
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

} // namespace
} // namespace tessaron::test
