#include "editor/model/KeypadClass.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tessaron {
namespace {

int code(const char* text)
{
    return std::atoi(text);
}

// Fills the current level with plain codes up to the given byte count.
void fillPlain(TKeypadClass& k, int bytes)
{
    int pos = k.ItemCount(0, 0);
    for (int i = 0; i < bytes; ++i) {
        ASSERT_TRUE(k.InsertItem(0, 0, pos, 'x'));
    }
}

TEST(KeyXlateTable, CodesFollowTheLabels)
{
    for (int row = 0; row < KeyXlateRows; ++row) {
        const TRecXlate& r = KeyXlateTable[static_cast<size_t>(row)];
        SCOPED_TRACE(row);
        const std::string unshifted = r.UnshiftedLabel;
        const std::string shifted = r.ShiftedLabel;
        if (unshifted.size() == 1) {
            EXPECT_EQ(code(r.Unshifted), static_cast<unsigned char>(unshifted[0]));
        }
        if (shifted.size() == 1) {
            EXPECT_EQ(code(r.Shifted), static_cast<unsigned char>(shifted[0]));
        }
        if (unshifted.size() > 1 && unshifted.find(" (kp)") == 1) {
            EXPECT_EQ(code(r.Unshifted), static_cast<unsigned char>(unshifted[0]));
            EXPECT_EQ(code(r.Shifted), code(r.Unshifted));
        }
    }
}

TEST(KeyXlateTable, NamedRows)
{
    EXPECT_STREQ(KeyXlateTable[0].Unshifted, "0");
    EXPECT_STREQ(KeyXlateTable[0].UnshiftedLabel, "");
    const struct
    {
        int row;
        const char* label;
        int code;
    } named[] = {{1, "Esc", 27},       {14, "BSpace", 8},  {15, "Tab", 9},       {28, "Enter", 13},
                 {57, "Space", 32},    {100, "Del", 127},  {86, "Entr(kp)", 13}, {88, "/ (kp)", 47},
                 {55, "* (kp)", 42},   {29, "LCtrlD", -1}, {58, "CapsLck", -1},  {84, "F11", -1},
                 {89, "PrintScr", -1}, {104, "Pause", -1}, {110, "RAltU", -1}};
    for (const auto& n : named) {
        SCOPED_TRACE(n.row);
        EXPECT_STREQ(KeyXlateTable[static_cast<size_t>(n.row)].UnshiftedLabel, n.label);
        EXPECT_EQ(code(KeyXlateTable[static_cast<size_t>(n.row)].Unshifted), n.code);
        EXPECT_EQ(code(KeyXlateTable[static_cast<size_t>(n.row)].Shifted), n.code);
    }
    EXPECT_STREQ(KeyXlateTable[89].ShiftedLabel, "Shft-Prs");
    EXPECT_STREQ(KeyXlateTable[40].ShiftedLabel, "\"");
    EXPECT_STREQ(KeyXlateTable[43].UnshiftedLabel, "\\");
    EXPECT_STREQ(KeyXlateTable[59].UnshiftedLabel, "F1");
    EXPECT_STREQ(KeyXlateTable[68].UnshiftedLabel, "F10");
    EXPECT_STREQ(KeyXlateTable[16].ShiftedLabel, "Q");
}

TEST(CharKeyTable, MapsCharactersToTheirKeys)
{
    for (int c = 33; c < 127; ++c) {
        SCOPED_TRACE(c);
        const int key = CharKeyTable[static_cast<size_t>(c)];
        ASSERT_GT(key, 0);
        const TRecXlate& row = KeyXlateTable[static_cast<size_t>(key)];
        EXPECT_TRUE(code(row.Unshifted) == c || code(row.Shifted) == c);
        if (c != '*' && c != '+') {
            // The main block, never a keypad key.
            EXPECT_EQ(std::string(row.UnshiftedLabel).find("(kp)"), std::string::npos);
        }
    }
    EXPECT_EQ(CharKeyTable['*'], 55);
    EXPECT_EQ(CharKeyTable['+'], 78);
    EXPECT_EQ(CharKeyTable['-'], 12);
    EXPECT_EQ(CharKeyTable['7'], 8);
    EXPECT_EQ(CharKeyTable['A'], 30);
    EXPECT_EQ(CharKeyTable['a'], 30);
    EXPECT_EQ(CharKeyTable[' '], 57);
    EXPECT_EQ(CharKeyTable[9], 15);
    EXPECT_EQ(CharKeyTable[13], 28);
    EXPECT_EQ(CharKeyTable[27], 1);
    EXPECT_EQ(CharKeyTable[10], 0);
    EXPECT_EQ(CharKeyTable[0], 0);
    EXPECT_EQ(CharKeyTable[127], 0);
}

TEST(ItemCost, FollowsTheBitRule)
{
    EXPECT_EQ(ItemCost(0x41), 1);
    EXPECT_EQ(ItemCost(DelayBase + 50), 3);
    EXPECT_EQ(ItemCost(BeepBase + 1), 3);
    EXPECT_EQ(ItemCost(LedBase + 12), 2);
    EXPECT_EQ(ItemCost(PrefixEscape), 2);
    EXPECT_EQ(ItemCost(MacroEnd), 0);
    EXPECT_EQ(ItemCost(0x5000), 3);
}

TEST(TKeypadClass, FreshTableIsEmptyWithNewDefaults)
{
    TKeypadClass k;
    for (int key = 0; key < MaxKeys; ++key) {
        for (int level = 0; level < 2; ++level) {
            EXPECT_EQ(k.ItemCount(key, level), 0);
            EXPECT_EQ(k.BytesUsed(key, level), 0);
            EXPECT_EQ(k.MacroText(key, level), "");
            EXPECT_EQ(k.Keys(key).KeyType, KeyTypeNone);
            for (int slot = 0; slot < MacroSlots; ++slot) {
                ASSERT_EQ(ItemLabelOf(k.Item(key, level, slot), false), " ");
            }
        }
    }
    EXPECT_EQ(k.Key_Roll_Over, 2);
    EXPECT_EQ(k.LED_Function, 49);
    EXPECT_EQ(k.Character_Pacing, 2);
    EXPECT_EQ(k.DOWNLOAD_DELAY, 0);
    EXPECT_EQ(k.Operating_Mode, 1);
    EXPECT_EQ(k.LineEdit_TailCharacter, 13);
    EXPECT_EQ(k.Key_Click, 40);
    EXPECT_EQ(k.Command_Prefix, 64);
    EXPECT_EQ(k.Baud_Rate, 3);
    EXPECT_EQ(k.Word_Format, 8);
    EXPECT_EQ(k.Xon_Character, 0);
    EXPECT_EQ(k.Xoff_Character, 0);
    EXPECT_EQ(k.CardReader_Type, 1);
    EXPECT_EQ(k.CardReader_StartCharacter, 9);
    EXPECT_EQ(k.CardReader_StartCharacterEnable, 0);
    EXPECT_EQ(k.CardReader_EndCharacter, 13);
    EXPECT_EQ(k.CardReader_EndCharacterEnable, 1);
    EXPECT_EQ(k.CardReader_Tracks, 3);
    EXPECT_EQ(k.CardReader_StartSentinel, 0);
    EXPECT_EQ(k.CardReader_EndSentinel, 13);
    EXPECT_EQ(k.CardReader_FieldSeparator, 9);
    EXPECT_EQ(k.CardReader_BadSwipe, 0);
    EXPECT_EQ(k.RF_Keypad_ID, 0);
    EXPECT_EQ(k.CDC_Serial_No, 1);
}

TEST(TKeypadClass, ResetClearsEverything)
{
    TKeypadClass k;
    int pos = 0;
    k.InsertItem(7, 1, pos, 'a');
    k.SetKeyType(7, KeyTypeLevelShift);
    k.SetAutoRepeat(7, 1, 1);
    k.SetSendLineEditKeyASAP(7, 1, 1);
    k.SetMacroName(7, 1, "name");
    k.Key_Click = 10;
    k.Command_Prefix = 1;

    k.Reset();
    EXPECT_EQ(k.Key_Click, 40);
    EXPECT_EQ(k.Command_Prefix, 64);
    EXPECT_EQ(k.ItemCount(7, 1), 0);
    EXPECT_EQ(k.Keys(7).KeyType, 0);
    EXPECT_EQ(k.Macro(7, 1).AutoRepeat, 0);
    EXPECT_EQ(k.Macro(7, 1).SendLineEditKeyASAP, 0);
    EXPECT_EQ(k.Macro(7, 1).MacroName, "");
}

TEST(TKeypadClass, OperationsActOnTheNamedKeyAndLevel)
{
    TKeypadClass k;
    int pos = 0;
    k.InsertItem(3, 1, pos, 'z');
    k.SetMacroName(3, 1, "three");
    EXPECT_EQ(k.ItemCount(3, 0), 0);
    EXPECT_EQ(k.Macro(3, 0).MacroName, "");
    EXPECT_EQ(k.Keys(3).Levels[1].Items[0], 'z');
    EXPECT_EQ(k.Keys(3).Levels[1].MacroName, "three");
    EXPECT_EQ(k.Keys(2).Levels[1].Items[0], MacroEnd);
}

TEST(InsertItem, PositionsClampAndInsertBefore)
{
    TKeypadClass k;
    int pos = 50;
    ASSERT_TRUE(k.InsertItem(0, 0, pos, 'a'));
    EXPECT_EQ(pos, 1);
    ASSERT_TRUE(k.InsertItem(0, 0, pos, 'c'));
    pos = 1;
    ASSERT_TRUE(k.InsertItem(0, 0, pos, 'b'));
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(k.ItemCount(0, 0), 3);
    EXPECT_EQ(k.Item(0, 0, 0), 'a');
    EXPECT_EQ(k.Item(0, 0, 1), 'b');
    EXPECT_EQ(k.Item(0, 0, 2), 'c');
    EXPECT_EQ(k.Item(0, 0, 3), MacroEnd);
    EXPECT_EQ(k.Item(0, 0, MacroSlots - 1), MacroEnd);
}

TEST(InsertItem, CountsOneByteWhateverTheItem)
{
    TKeypadClass k;
    fillPlain(k, 99);
    int pos = 99;
    EXPECT_TRUE(k.InsertItem(0, 0, pos, DelayBase + 5));
    EXPECT_EQ(k.BytesUsed(0, 0), 102);
    EXPECT_EQ(k.ItemCount(0, 0), 100);

    TKeypadClass full;
    fillPlain(full, 100);
    pos = 0;
    EXPECT_FALSE(full.InsertItem(0, 0, pos, 'a'));
    EXPECT_FALSE(full.InsertItem(0, 0, pos, DelayBase + 1));
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(full.ItemCount(0, 0), 100);
}

TEST(InsertItem, RefusesNegativeItems)
{
    TKeypadClass k;
    int pos = 0;
    k.InsertItem(0, 0, pos, 'a');
    k.InsertItem(0, 0, pos, 'b');
    pos = 1;
    EXPECT_FALSE(k.InsertItem(0, 0, pos, MacroEnd));
    EXPECT_FALSE(k.InsertItem(0, 0, pos, -7));
    EXPECT_EQ(k.ItemCount(0, 0), 2);
    EXPECT_EQ(k.Item(0, 0, 1), 'b');
}

TEST(DeleteItem, RemovesAndRefusesPastEnd)
{
    TKeypadClass k;
    int pos = 0;
    for (char c : std::string("abc")) {
        k.InsertItem(0, 0, pos, c);
    }
    EXPECT_FALSE(k.DeleteItem(0, 0, 3));
    EXPECT_FALSE(k.DeleteItem(0, 0, 200));
    EXPECT_TRUE(k.DeleteItem(0, 0, 1));
    EXPECT_EQ(k.ItemCount(0, 0), 2);
    EXPECT_EQ(k.Item(0, 0, 0), 'a');
    EXPECT_EQ(k.Item(0, 0, 1), 'c');
    EXPECT_EQ(k.Item(0, 0, 2), MacroEnd);
    EXPECT_TRUE(k.DeleteItem(0, 0, 1));
    EXPECT_TRUE(k.DeleteItem(0, 0, 0));
    EXPECT_FALSE(k.DeleteItem(0, 0, 0));
    EXPECT_EQ(k.ItemCount(0, 0), 0);
}

TEST(DeleteItem, FullListKeepsInvariant)
{
    TKeypadClass k;
    fillPlain(k, 100);
    EXPECT_TRUE(k.DeleteItem(0, 0, 0));
    EXPECT_EQ(k.ItemCount(0, 0), 99);
    for (int slot = 99; slot < MacroSlots; ++slot) {
        ASSERT_EQ(k.Item(0, 0, slot), MacroEnd);
    }
}

struct KeyCase
{
    int keyNumber;
    std::uint8_t flags;
    bool pcShift;
    bool pcCaps;
    std::int32_t expected; // MacroEnd: nothing inserted
};

class InsertKeyNumberCases : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(InsertKeyNumberCases, Translates)
{
    const KeyCase c = GetParam();
    TKeypadClass k;
    int pos = 0;
    EXPECT_TRUE(k.InsertKeyNumber(0, 0, pos, c.keyNumber, c.flags, c.pcShift, c.pcCaps));
    if (c.expected == MacroEnd) {
        EXPECT_EQ(k.ItemCount(0, 0), 0);
        EXPECT_EQ(pos, 0);
    } else {
        EXPECT_EQ(k.ItemCount(0, 0), 1);
        EXPECT_EQ(k.Item(0, 0, 0), c.expected);
        EXPECT_EQ(pos, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, InsertKeyNumberCases,
    ::testing::Values(
        KeyCase{30, 0, false, false, 'a'}, KeyCase{30, LeftShift, false, false, 'A'},
        KeyCase{30, RightShift, false, false, 'A'}, KeyCase{30, CapsLock, false, false, 'A'},
        KeyCase{30, 0, true, false, 'A'}, KeyCase{30, 0, false, true, 'A'},
        // ShiftKeyHeld is never looked at.
        KeyCase{30, ShiftKeyHeld, false, false, 'a'}, KeyCase{28, LeftCtrl, false, false, 10},
        KeyCase{38, RightCtrl, false, false, 12}, KeyCase{30, LeftCtrl, false, false, 1},
        KeyCase{44, LeftCtrl, false, false, 26}, KeyCase{12, LeftCtrl, false, false, 31},
        KeyCase{3, LeftCtrl, false, false, 0}, KeyCase{7, LeftCtrl, false, false, 30},
        KeyCase{26, LeftCtrl, false, false, 27}, KeyCase{43, LeftCtrl, false, false, 28},
        KeyCase{27, LeftCtrl, false, false, 29}, KeyCase{2, LeftCtrl, false, false, MacroEnd},
        KeyCase{38, LeftCtrl, false, true, 'L'}, KeyCase{3, CapsLock, false, false, PrefixEscape},
        KeyCase{3, LeftShift, false, false, PrefixEscape}, KeyCase{3, 0, false, true, 64},
        KeyCase{3, 0, true, false, 64}, KeyCase{59, 0, false, false, MacroEnd},
        KeyCase{29, LeftShift, false, false, MacroEnd}, KeyCase{0, 0, false, false, 0},
        KeyCase{100, 0, false, false, 127}, KeyCase{86, LeftShift, false, false, 13},
        KeyCase{130, 0, false, false, 130}, KeyCase{130, LeftCtrl, true, true, 130},
        KeyCase{DelayBase + 50, LeftShift, false, false, DelayBase + 50},
        KeyCase{BeepBase + 3, 0, false, false, BeepBase + 3},
        KeyCase{LedBase + 12, LeftCtrl, false, false, LedBase + 12},
        KeyCase{-5, 0, false, false, MacroEnd}));

TEST(InsertKeyNumber, ByteLimitCountsTheRealCost)
{
    TKeypadClass k;
    fillPlain(k, 98);
    int pos = 98;
    EXPECT_FALSE(k.InsertKeyNumber(0, 0, pos, DelayBase + 5, 0, false, false));
    EXPECT_EQ(pos, 98);
    EXPECT_EQ(k.ItemCount(0, 0), 98);
    EXPECT_TRUE(k.InsertKeyNumber(0, 0, pos, 30, 0, false, false));
    EXPECT_EQ(k.BytesUsed(0, 0), 99);
    EXPECT_FALSE(k.InsertKeyNumber(0, 0, pos, 3, LeftShift, false, false));
    EXPECT_FALSE(k.InsertKeyNumber(0, 0, pos, LedBase + 9, 0, false, false));
    EXPECT_TRUE(k.InsertKeyNumber(0, 0, pos, 3, 0, false, true)); // plain 64, one byte
    EXPECT_EQ(k.BytesUsed(0, 0), 100);
    EXPECT_FALSE(k.InsertKeyNumber(0, 0, pos, 30, 0, false, false));
}

TEST(InsertKeyNumber, FullMacroStillRefusesKeyWithoutItem)
{
    TKeypadClass k;
    fillPlain(k, 100);
    int pos = 0;
    // The room check comes first, even for a key that would insert nothing.
    EXPECT_FALSE(k.InsertKeyNumber(0, 0, pos, 59, 0, false, false));
}

TEST(ItemLabel, TextView)
{
    TKeypadClass k;
    int pos = 0;
    const std::int32_t items[] = {0,
                                  1,
                                  11,
                                  28,
                                  31,
                                  7,
                                  8,
                                  9,
                                  10,
                                  13,
                                  27,
                                  32,
                                  127,
                                  'A',
                                  '~',
                                  128,
                                  143,
                                  151,
                                  152,
                                  156,
                                  157,
                                  158,
                                  159,
                                  160,
                                  161,
                                  184,
                                  185,
                                  186,
                                  187,
                                  188,
                                  189,
                                  190,
                                  191,
                                  192,
                                  201,
                                  202,
                                  203,
                                  204,
                                  205,
                                  206,
                                  207,
                                  0xE9,
                                  DelayBase + 50,
                                  BeepBase + 50,
                                  LedBase + 8,
                                  LedBase + 9,
                                  LedBase + 10,
                                  LedBase + 11,
                                  LedBase + 12,
                                  LedBase + 13,
                                  PrefixEscape};
    for (std::int32_t item : items) {
        ASSERT_TRUE(k.InsertItem(0, 0, pos, item));
    }
    const char* expected[] = {
        "^@  00h", "^A  01h",   "^K  0Bh", "^\\  1Ch", "^_  1Fh", "Bel",    "BS",        "Tab",
        "LF",      "CR",        "Esc",     "Space",    "Del",     "A",      "~",         "Next",
        "Calc",    "WFavs",     "??",      "??",       "PrtSc",   "Scroll", "Pause",     "Caps",
        "F1",      "F24",       "Ins",     "Del",      "Home",    "End",    "PgUp",      "PgDn",
        "Num",     "Kp0",       "Kp9",     "Kp.",      "Kp/",     "Kp*",    "Kp-",       "Kp+",
        "KpEnt",   "\xE9",      "Dly 200", "Beep200",  "grn off", "grn on", "grn flash", "red off",
        "red on",  "red flash", "@@"};
    static_assert(std::size(items) == std::size(expected));
    for (size_t i = 0; i < std::size(items); ++i) {
        EXPECT_EQ(ItemLabelOf(k.Item(0, 0, static_cast<int>(i)), false), expected[i])
            << "item " << items[i];
    }
    EXPECT_EQ(ItemLabelOf(k.Item(0, 0, static_cast<int>(std::size(items))), false), " ");
    EXPECT_EQ(ItemLabelOf(k.Item(0, 0, -1), false), " ");
    EXPECT_EQ(ItemLabelOf(k.Item(0, 0, MacroSlots), false), " ");
}

TEST(ItemLabel, HexView)
{
    EXPECT_EQ(ItemLabelOf(13, true), "0x0D");
    EXPECT_EQ(ItemLabelOf(DelayBase + 50, true), "0x1032");
    EXPECT_EQ(ItemLabelOf(0xAB, true), "0xAB");
    EXPECT_EQ(ItemLabelOf(PrefixEscape, true), "0x4040");
    EXPECT_EQ(ItemLabelOf(MacroEnd, true), " ");
}

TEST(ItemLabel, OtherCommandByte)
{
    TKeypadClass k;
    k.AppendMacroText(0, 0, "4018");
    ASSERT_EQ(k.ItemCount(0, 0), 1);
    EXPECT_EQ(k.Item(0, 0, 0), LedBase + 0x18);
    EXPECT_EQ(ItemLabelOf(k.Item(0, 0, 0), false), "Cmd 18h");
}

TEST(MacroText, EncodesItems)
{
    TKeypadClass k;
    int pos = 0;
    k.InsertItem(0, 0, pos, 'A');
    k.InsertItem(0, 0, pos, DelayBase + 50);
    k.InsertItem(0, 0, pos, LedBase + 12);
    EXPECT_EQ(k.MacroText(0, 0), "41400132400c");
    k.InsertItem(0, 0, pos, BeepBase + 255);
    k.InsertItem(0, 0, pos, PrefixEscape);
    k.InsertItem(0, 0, pos, 0);
    EXPECT_EQ(k.MacroText(0, 0), "41400132400c4002ff404000");
}

TEST(MacroText, UsesCurrentPrefix)
{
    TKeypadClass k;
    k.Command_Prefix = 0x7E;
    int pos = 0;
    k.InsertItem(0, 0, pos, DelayBase + 1);
    k.InsertItem(0, 0, pos, PrefixEscape);
    k.InsertItem(0, 0, pos, 0x40);
    EXPECT_EQ(k.MacroText(0, 0), "7e01017e4040");
}

TEST(MacroText, PlainPrefixIsWrittenEscaped)
{
    TKeypadClass k;
    int pos = 0;
    k.InsertKeyNumber(0, 0, pos, 3, 0, false, true); // plain 64 through PC Caps Lock
    k.InsertItem(0, 0, pos, 'a');
    EXPECT_EQ(k.Item(0, 0, 0), 64);
    EXPECT_EQ(k.MacroText(0, 0), "404061");

    TKeypadClass back;
    back.AppendMacroText(0, 0, k.MacroText(0, 0));
    EXPECT_EQ(back.Item(0, 0, 0), PrefixEscape);
    EXPECT_EQ(back.Item(0, 0, 1), 'a');
}

TEST(AppendMacroText, RoundTripsItems)
{
    TKeypadClass k;
    int pos = 0;
    const std::int32_t items[] = {'h',
                                  'i',
                                  13,
                                  DelayBase + 0,
                                  BeepBase + 9,
                                  LedBase + 8,
                                  LedBase + 13,
                                  PrefixEscape,
                                  0xFF,
                                  DelayBase + 255,
                                  0};
    for (auto item : items) {
        k.InsertItem(0, 0, pos, item);
    }
    TKeypadClass back;
    back.AppendMacroText(0, 0, k.MacroText(0, 0));
    ASSERT_EQ(back.ItemCount(0, 0), std::size(items));
    for (size_t i = 0; i < std::size(items); ++i) {
        EXPECT_EQ(back.Item(0, 0, static_cast<int>(i)), items[i]);
    }
}

TEST(AppendMacroText, DecodesCommands)
{
    TKeypadClass k;
    k.AppendMacroText(0, 0, "41 40 01 32 40 0c");
    ASSERT_EQ(k.ItemCount(0, 0), 3);
    EXPECT_EQ(k.Item(0, 0, 0), 'A');
    EXPECT_EQ(k.Item(0, 0, 1), DelayBase + 50);
    EXPECT_EQ(k.Item(0, 0, 2), LedBase + 12);
}

TEST(AppendMacroText, TrailingPrefixIsPlain)
{
    TKeypadClass k;
    k.AppendMacroText(0, 0, "4140");
    ASSERT_EQ(k.ItemCount(0, 0), 2);
    EXPECT_EQ(k.Item(0, 0, 1), 64);
}

TEST(AppendMacroText, CommandWithoutBit3IsDropped)
{
    TKeypadClass k;
    k.AppendMacroText(0, 0, "41400341");
    ASSERT_EQ(k.ItemCount(0, 0), 2);
    EXPECT_EQ(k.Item(0, 0, 0), 'A');
    EXPECT_EQ(k.Item(0, 0, 1), 'A');
}

TEST(AppendMacroText, MalformedTextNeverCrashes)
{
    struct
    {
        const char* text;
        std::vector<std::int32_t> items;
    } cases[] = {
        {"414", {'A'}},       // odd digit dropped
        {"4A4b", {'J', 'K'}}, // capitals accepted
        {"41zz42", {'A'}},    // cut at the first non-hex pair
        {"41\t42", {'A'}},    // only spaces are removed
        {"4001", {}},         // delay without its length
        {"414002", {'A'}},    // beep without its length
        {"40 0", {64}},       // prefix, then half a byte
        {"", {}},             // nothing
        {"    ", {}},         // only blanks
        {"\xff\x80", {}},     // 8-bit junk
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TKeypadClass k;
        k.AppendMacroText(0, 0, c.text);
        ASSERT_EQ(k.ItemCount(0, 0), c.items.size());
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(k.Item(0, 0, static_cast<int>(i)), c.items[i]);
        }
    }
}

TEST(AppendMacroText, LongTextIsCutAtTheLimit)
{
    TKeypadClass k;
    std::string text;
    for (int i = 0; i < 150; ++i) {
        text += "41";
    }
    k.AppendMacroText(0, 0, text);
    EXPECT_EQ(k.ItemCount(0, 0), 100);
    EXPECT_EQ(k.BytesUsed(0, 0), 100);

    TKeypadClass delays;
    std::string d(98 * 2, '6');
    d += "400105";
    d += "400106";
    delays.AppendMacroText(0, 0, d);
    // 98 bytes, then one delay (99 + 1 <= 100 counts one byte), then refused.
    EXPECT_EQ(delays.BytesUsed(0, 0), 101);
    EXPECT_EQ(delays.ItemCount(0, 0), 99);
    EXPECT_EQ(delays.Item(0, 0, 98), DelayBase + 5);
}

TEST(AppendMacroText, VeryLongTextIsHandled)
{
    TKeypadClass k;
    const std::string text(1 << 20, '4');
    k.AppendMacroText(0, 0, text);
    EXPECT_EQ(k.BytesUsed(0, 0), 100);
}

TEST(ClearMacro, EmptiesOnlyTheItems)
{
    TKeypadClass k;
    k.AppendMacroText(0, 0, "414243");
    k.SetMacroName(0, 0, "n");
    k.SetAutoRepeat(0, 0, 1);
    k.ClearMacro(0, 0);
    EXPECT_EQ(k.ItemCount(0, 0), 0);
    EXPECT_EQ(k.Macro(0, 0).MacroName, "n");
    EXPECT_EQ(k.Macro(0, 0).AutoRepeat, 1);
}

} // namespace
} // namespace tessaron
