#include "KeypadClass.h"

#include "GlobalParameters.h"
#include "common/AsciiText.h"

#include <cstdio>
#include <utility>

namespace tessaron {

// clang-format off
const std::array<TRecXlate, KeyXlateRows> KeyXlateTable = {{
    /*   0 */ {"0", "0", "", ""},
    /*   1 */ {"27", "27", "Esc", "Esc"},
    /*   2 */ {"49", "33", "1", "!"},
    /*   3 */ {"50", "64", "2", "@"},
    /*   4 */ {"51", "35", "3", "#"},
    /*   5 */ {"52", "36", "4", "$"},
    /*   6 */ {"53", "37", "5", "%"},
    /*   7 */ {"54", "94", "6", "^"},
    /*   8 */ {"55", "38", "7", "&"},
    /*   9 */ {"56", "42", "8", "*"},
    /*  10 */ {"57", "40", "9", "("},
    /*  11 */ {"48", "41", "0", ")"},
    /*  12 */ {"45", "95", "-", "_"},
    /*  13 */ {"61", "43", "=", "+"},
    /*  14 */ {"8", "8", "BSpace", "BSpace"},
    /*  15 */ {"9", "9", "Tab", "Tab"},
    /*  16 */ {"113", "81", "q", "Q"},
    /*  17 */ {"119", "87", "w", "W"},
    /*  18 */ {"101", "69", "e", "E"},
    /*  19 */ {"114", "82", "r", "R"},
    /*  20 */ {"116", "84", "t", "T"},
    /*  21 */ {"121", "89", "y", "Y"},
    /*  22 */ {"117", "85", "u", "U"},
    /*  23 */ {"105", "73", "i", "I"},
    /*  24 */ {"111", "79", "o", "O"},
    /*  25 */ {"112", "80", "p", "P"},
    /*  26 */ {"91", "123", "[", "{"},
    /*  27 */ {"93", "125", "]", "}"},
    /*  28 */ {"13", "13", "Enter", "Enter"},
    /*  29 */ {"-1", "-1", "LCtrlD", "LCtrlD"},
    /*  30 */ {"97", "65", "a", "A"},
    /*  31 */ {"115", "83", "s", "S"},
    /*  32 */ {"100", "68", "d", "D"},
    /*  33 */ {"102", "70", "f", "F"},
    /*  34 */ {"103", "71", "g", "G"},
    /*  35 */ {"104", "72", "h", "H"},
    /*  36 */ {"106", "74", "j", "J"},
    /*  37 */ {"107", "75", "k", "K"},
    /*  38 */ {"108", "76", "l", "L"},
    /*  39 */ {"59", "58", ";", ":"},
    /*  40 */ {"39", "34", "'", "\""},
    /*  41 */ {"96", "126", "`", "~"},
    /*  42 */ {"-1", "-1", "LShiftD", "LShiftD"},
    /*  43 */ {"92", "124", "\\", "|"},
    /*  44 */ {"122", "90", "z", "Z"},
    /*  45 */ {"120", "88", "x", "X"},
    /*  46 */ {"99", "67", "c", "C"},
    /*  47 */ {"118", "86", "v", "V"},
    /*  48 */ {"98", "66", "b", "B"},
    /*  49 */ {"110", "78", "n", "N"},
    /*  50 */ {"109", "77", "m", "M"},
    /*  51 */ {"44", "60", ",", "<"},
    /*  52 */ {"46", "62", ".", ">"},
    /*  53 */ {"47", "63", "/", "?"},
    /*  54 */ {"-1", "-1", "RShiftD", "RShiftD"},
    /*  55 */ {"42", "42", "* (kp)", "* (kp)"},
    /*  56 */ {"-1", "-1", "LAltD", "LAltD"},
    /*  57 */ {"32", "32", "Space", "Space"},
    /*  58 */ {"-1", "-1", "CapsLck", "CapsLck"},
    /*  59 */ {"-1", "-1", "F1", "F1"},
    /*  60 */ {"-1", "-1", "F2", "F2"},
    /*  61 */ {"-1", "-1", "F3", "F3"},
    /*  62 */ {"-1", "-1", "F4", "F4"},
    /*  63 */ {"-1", "-1", "F5", "F5"},
    /*  64 */ {"-1", "-1", "F6", "F6"},
    /*  65 */ {"-1", "-1", "F7", "F7"},
    /*  66 */ {"-1", "-1", "F8", "F8"},
    /*  67 */ {"-1", "-1", "F9", "F9"},
    /*  68 */ {"-1", "-1", "F10", "F10"},
    /*  69 */ {"-1", "-1", "NumLck", "NumLck"},
    /*  70 */ {"-1", "-1", "ScrlLck", "ScrlLck"},
    /*  71 */ {"55", "55", "7 (kp)", "7 (kp)"},
    /*  72 */ {"56", "56", "8 (kp)", "8 (kp)"},
    /*  73 */ {"57", "57", "9 (kp)", "9 (kp)"},
    /*  74 */ {"45", "45", "- (kp)", "- (kp)"},
    /*  75 */ {"52", "52", "4 (kp)", "4 (kp)"},
    /*  76 */ {"53", "53", "5 (kp)", "5 (kp)"},
    /*  77 */ {"54", "54", "6 (kp)", "6 (kp)"},
    /*  78 */ {"43", "43", "+ (kp)", "+ (kp)"},
    /*  79 */ {"49", "49", "1 (kp)", "1 (kp)"},
    /*  80 */ {"50", "50", "2 (kp)", "2 (kp)"},
    /*  81 */ {"51", "51", "3 (kp)", "3 (kp)"},
    /*  82 */ {"48", "48", "0 (kp)", "0 (kp)"},
    /*  83 */ {"46", "46", ". (kp)", ". (kp)"},
    /*  84 */ {"-1", "-1", "F11", "F11"},
    /*  85 */ {"-1", "-1", "F12", "F12"},
    /*  86 */ {"13", "13", "Entr(kp)", "Entr(kp)"},
    /*  87 */ {"-1", "-1", "RCtrlD", "RCtrlD"},
    /*  88 */ {"47", "47", "/ (kp)", "/ (kp)"},
    /*  89 */ {"-1", "-1", "PrintScr", "Shft-Prs"},
    /*  90 */ {"-1", "-1", "RAltD", "RAltD"},
    /*  91 */ {"-1", "-1", "Home", "Home"},
    /*  92 */ {"-1", "-1", "Up", "Up"},
    /*  93 */ {"-1", "-1", "PgUp", "PgUp"},
    /*  94 */ {"-1", "-1", "Left", "Left"},
    /*  95 */ {"-1", "-1", "Right", "Right"},
    /*  96 */ {"-1", "-1", "End", "End"},
    /*  97 */ {"-1", "-1", "Down", "Down"},
    /*  98 */ {"-1", "-1", "PgDn", "PgDn"},
    /*  99 */ {"-1", "-1", "Ins", "Ins"},
    /* 100 */ {"127", "127", "Del", "Del"},
    /* 101 */ {"-1", "-1", "LWin", "LWin"},
    /* 102 */ {"-1", "-1", "RWin", "RWin"},
    /* 103 */ {"-1", "-1", "App", "App"},
    /* 104 */ {"-1", "-1", "Pause", "Pause"},
    /* 105 */ {"-1", "-1", "LCtrlU", "LCtrlU"},
    /* 106 */ {"-1", "-1", "LShiftU", "LShiftU"},
    /* 107 */ {"-1", "-1", "RShiftU", "RShiftU"},
    /* 108 */ {"-1", "-1", "LAltU", "LAltU"},
    /* 109 */ {"-1", "-1", "RCtrlU", "RCtrlU"},
    /* 110 */ {"-1", "-1", "RAltU", "RAltU"},
}};

// Printable characters go to their main-block key, except "*" and "+", which
// go to the keypad's keys.
const std::array<std::uint8_t, 128> CharKeyTable = {{
    //  0    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15
        0,   0,   0,   0,   0,   0,   0,   0,   0,  15,   0,   0,   0,  28,   0,   0,
    // 16                                     24             27
        0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   1,   0,   0,   0,   0,
    // ' '  !    "    #    $    %    &    '    (    )    *    +    ,    -    .    /
       57,   2,  40,   4,   5,   6,   8,  40,  10,  11,  55,  78,  51,  12,  52,  53,
    //  0    1    2    3    4    5    6    7    8    9    :    ;    <    =    >    ?
       11,   2,   3,   4,   5,   6,   7,   8,   9,  10,  39,  39,  51,  13,  52,  53,
    //  @    A    B    C    D    E    F    G    H    I    J    K    L    M    N    O
        3,  30,  48,  46,  32,  18,  33,  34,  35,  23,  36,  37,  38,  50,  49,  24,
    //  P    Q    R    S    T    U    V    W    X    Y    Z    [    \    ]    ^    _
       25,  16,  19,  31,  20,  22,  47,  17,  45,  21,  44,  26,  43,  27,   7,  12,
    //  `    a    b    c    d    e    f    g    h    i    j    k    l    m    n    o
       41,  30,  48,  46,  32,  18,  33,  34,  35,  23,  36,  37,  38,  50,  49,  24,
    //  p    q    r    s    t    u    v    w    x    y    z    {    |    }    ~  DEL
       25,  16,  19,  31,  20,  22,  47,  17,  45,  21,  44,  26,  43,  27,  41,   0,
}};
// clang-format on

namespace {

constexpr std::uint8_t ShiftLikeMask = LeftShift | RightShift | CapsLock;
constexpr std::uint8_t CtrlLikeMask = LeftCtrl | RightCtrl;
constexpr std::uint8_t ShiftOrCtrlMask = LeftShift | RightShift | LeftCtrl | RightCtrl;

bool isDelay(std::int32_t item)
{
    return (item & DelayBase) != 0;
}

bool isBeep(std::int32_t item)
{
    return (item & BeepBase) != 0;
}

bool isCommand(std::int32_t item)
{
    return (item & LedBase) != 0;
}

int parseCode(const char* text)
{
    // The table's own decimal texts: "-1" or a non-negative number.
    if (text[0] == '-') {
        return -1;
    }
    int value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        value = value * 10 + (*p - '0');
    }
    return value;
}

// The control character that Ctrl gives with the row's unshifted code g:
// g - 96 but for these.
constexpr std::pair<int, int> ControlCodes[] = {{13, 10}, {45, 31}, {50, 0}, {54, 30},
                                                {91, 27}, {92, 28}, {93, 29}};

int controlCode(int g)
{
    for (const auto& [unshifted, control] : ControlCodes) {
        if (unshifted == g) {
            return control;
        }
    }
    return g - 96;
}

// Plain codes with a name of their own.
constexpr std::pair<std::int32_t, const char*> NamedCodes[] = {
    {7, "Bel"},     {8, "BS"},     {9, "Tab"},    {10, "LF"},     {13, "CR"},
    {27, "Esc"},    {32, "Space"}, {127, "Del"},  {157, "PrtSc"}, {158, "Scroll"},
    {159, "Pause"}, {160, "Caps"}, {185, "Ins"},  {186, "Del"},   {187, "Home"},
    {188, "End"},   {189, "PgUp"}, {190, "PgDn"}, {191, "Num"},   {202, "Kp."},
    {203, "Kp/"},   {204, "Kp*"},  {205, "Kp-"},  {206, "Kp+"},   {207, "KpEnt"},
};

const char* const MediaLabels[] = {
    "Next",  "Prev",  "Stop",  "Play",  "Mute",  "BassB", "Loud",  "Vol+",
    "Vol-",  "Bass+", "Bass-", "Treb+", "Treb-", "Media", "Email", "Calc",
    "My PC", "WSrch", "WWW",   "WBack", "WFwd",  "WStop", "WRefr", "WFavs",
};

const char* const LedLabels[] = {"grn off", "grn on", "grn flash",
                                 "red off", "red on", "red flash"};

std::string hexByte(unsigned value, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    return {digits[(value >> 4) & 0xFu], digits[value & 0xFu]};
}

// Two lowercase digits, the text form's unit.
void appendHex(std::string& text, unsigned value)
{
    static const char digits[] = "0123456789abcdef";
    text += digits[(value >> 4) & 0xFu];
    text += digits[value & 0xFu];
}

std::string plainCodeLabel(std::int32_t code)
{
    for (const auto& [named, name] : NamedCodes) {
        if (named == code) {
            return name;
        }
    }
    if (code < 32) {
        return std::string("^") + static_cast<char>(code + 64) + "  " +
               hexByte(static_cast<unsigned>(code), true) + "h";
    }
    if (code >= 128 && code <= 151) {
        return MediaLabels[code - 128];
    }
    if (code >= 152 && code <= 156) {
        return "??";
    }
    if (code >= 161 && code <= 184) {
        return "F" + std::to_string(code - 160);
    }
    if (code >= 192 && code <= 201) {
        return "Kp" + std::to_string(code - 192);
    }
    if (code <= 255) {
        return std::string(1, static_cast<char>(code));
    }
    // Only a key number of 111 or more beyond a byte gets here (key path).
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(code));
    return buffer;
}

} // namespace

int ItemCost(std::int32_t item)
{
    if (item == MacroEnd) {
        return 0;
    }
    if (isDelay(item) || isBeep(item)) {
        return 3;
    }
    if (isCommand(item)) {
        return 2;
    }
    return 1;
}

const char* KeyTypeName(int keyType)
{
    static const char* const Names[] = {"", "Level Shift", "Level Toggle", "Alpha Toggle"};
    return keyType > KeyTypeNone && keyType <= KeyTypeAlphaToggle ? Names[keyType] : "";
}

int MacroItemCount(const TMacroData& macro)
{
    int count = 0;
    while (count < MacroSlots && macro.Items[static_cast<size_t>(count)] != MacroEnd) {
        ++count;
    }
    return count;
}

int MacroBytesUsed(const TMacroData& macro)
{
    int bytes = 0;
    for (std::int32_t item : macro.Items) {
        if (item == MacroEnd) {
            break;
        }
        bytes += ItemCost(item);
    }
    return bytes;
}

std::string ItemLabelOf(std::int32_t item, bool hexView)
{
    if (item == MacroEnd) {
        return " ";
    }
    if (hexView) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%02X", static_cast<unsigned>(item));
        return buffer;
    }
    if (isDelay(item)) {
        return "Dly " + std::to_string((item & 0xFF) * 4);
    }
    if (isBeep(item)) {
        return "Beep" + std::to_string((item & 0xFF) * 4);
    }
    if (item == PrefixEscape) {
        return "@@";
    }
    if (isCommand(item)) {
        const int n = item & 0xFF;
        if (n >= 8 && n <= 13) {
            return LedLabels[n - 8];
        }
        // Other command bytes only come from hand-written files.
        return "Cmd " + hexByte(static_cast<unsigned>(n), true) + "h";
    }
    return plainCodeLabel(item);
}

std::string MacroTextOf(const TMacroData& macro, std::uint8_t commandPrefix)
{
    const unsigned prefix = commandPrefix;
    std::string text;
    text.reserve(MacroByteLimit * 4);
    for (std::int32_t item : macro.Items) {
        if (item == MacroEnd) {
            break;
        }
        const auto n = static_cast<unsigned>(item & 0xFF);
        if (isDelay(item) || isBeep(item)) {
            appendHex(text, prefix);
            appendHex(text, isDelay(item) ? 1 : 2);
            appendHex(text, n);
        } else if (item == PrefixEscape) {
            appendHex(text, prefix);
            appendHex(text, 0x40);
        } else if (isCommand(item)) {
            appendHex(text, prefix);
            appendHex(text, n);
        } else if (n == prefix) {
            // A bare prefix byte would start a command, in the file and in the
            // keypad alike: write it escaped, so that the keypad sends it as
            // data. It reads back as PrefixEscape.
            appendHex(text, prefix);
            appendHex(text, 0x40);
        } else {
            appendHex(text, n);
        }
    }
    return text;
}

TDecodedMacro DecodeMacroText(std::string_view text, std::uint8_t commandPrefix)
{
    TDecodedMacro decoded;
    // The items of a full macro, with room for a few more.
    decoded.Items.reserve(text.size() / 2 < 128 ? text.size() / 2 : 128);
    size_t at = 0;
    // The next byte; -1 at the end of the text, -2 at a fault.
    auto nextByte = [&text, &at]() -> int {
        int high = -1;
        while (at < text.size()) {
            const char c = text[at++];
            if (c == ' ') {
                continue;
            }
            const int digit = HexDigitValue(c); // hand-edited files may use capitals
            if (digit < 0) {
                at = text.size();
                return -2;
            }
            if (high < 0) {
                high = digit;
            } else {
                return high * 16 + digit;
            }
        }
        // An odd last digit is a fault too.
        return high < 0 ? -1 : -2;
    };
    auto fault = [&decoded] {
        decoded.WellFormed = false;
        return decoded;
    };

    const int prefix = commandPrefix;
    while (true) {
        const int b = nextByte();
        if (b == -1) {
            return decoded;
        }
        if (b < 0) {
            return fault();
        }
        if (b != prefix) {
            decoded.Items.push_back(b);
            continue;
        }
        const int g = nextByte();
        if (g < 0) {
            // The prefix as the last byte is a plain code (also before a fault).
            decoded.Items.push_back(b);
            return g == -1 ? decoded : fault();
        }
        if (g == 1 || g == 2) {
            const int n = nextByte();
            if (n < 0) {
                // A delay or beep without its length is dropped.
                return fault();
            }
            decoded.Items.push_back((g == 1 ? DelayBase : BeepBase) + n);
        } else if (g == 0x40) {
            decoded.Items.push_back(PrefixEscape);
        } else if ((g & 0x08) != 0) {
            decoded.Items.push_back(LedBase + g);
        } else {
            // Not a command: nothing is inserted, and decoding goes on.
            decoded.WellFormed = false;
        }
    }
}

TKeypadClass::TKeypadClass()
{
    Reset();
}

void TKeypadClass::Reset()
{
    for (TKeyDataRec& key : m_keys) {
        key.KeyType = KeyTypeNone;
        for (TMacroData& level : key.Levels) {
            level.Items.fill(MacroEnd);
            level.AutoRepeat = 0;
            level.SendLineEditKeyASAP = 0;
            level.MacroName.clear();
        }
    }
    SetNewGlobalParameters(*this);
}

void TKeypadClass::SetKeyType(int key, std::uint8_t type)
{
    m_keys[static_cast<size_t>(key)].KeyType = type;
}

void TKeypadClass::SetAutoRepeat(int key, int level, std::uint8_t flag)
{
    macro(key, level).AutoRepeat = flag;
}

void TKeypadClass::SetSendLineEditKeyASAP(int key, int level, std::uint8_t flag)
{
    macro(key, level).SendLineEditKeyASAP = flag;
}

void TKeypadClass::SetMacroName(int key, int level, std::string name)
{
    macro(key, level).MacroName = std::move(name);
}

std::uint8_t TKeypadClass::ItemCount(int key, int level) const
{
    // At most 100 items fit under the byte limit, so the count fits a byte.
    return static_cast<std::uint8_t>(MacroItemCount(Macro(key, level)));
}

int TKeypadClass::BytesUsed(int key, int level) const
{
    return MacroBytesUsed(Macro(key, level));
}

std::int32_t TKeypadClass::Item(int key, int level, int slot) const
{
    if (slot < 0 || slot >= MacroSlots) {
        return MacroEnd;
    }
    return Macro(key, level).Items[static_cast<size_t>(slot)];
}

void TKeypadClass::ClearMacro(int key, int level)
{
    macro(key, level).Items.fill(MacroEnd);
}

bool TKeypadClass::storeAt(TMacroData& macro, int& position, std::int32_t item, int count)
{
    auto& items = macro.Items;
    if (count >= MacroSlots - 1) {
        // The last slot always keeps the end marker.
        return false;
    }
    if (position > count) {
        position = count;
    }
    if (position < 0) {
        position = 0;
    }
    for (int i = count; i > position; --i) {
        items[static_cast<size_t>(i)] = items[static_cast<size_t>(i - 1)];
    }
    items[static_cast<size_t>(position)] = item;
    ++position;
    return true;
}

bool TKeypadClass::InsertItem(int key, int level, int& position, std::int32_t item)
{
    if (BytesUsed(key, level) + 1 > MacroByteLimit) {
        return false;
    }
    // A negative value would be taken for the end marker (or break the cost
    // rule); no caller has a use for one.
    if (item < 0) {
        return false;
    }
    return storeAt(macro(key, level), position, item, ItemCount(key, level));
}

bool TKeypadClass::InsertKeyNumber(int key, int level, int& position, int keyNumber,
                                   std::uint8_t modifierFlags, bool pcShiftDown, bool pcCapsLockOn)
{
    if (keyNumber < 0) {
        // No row and no item: nothing to store.
        return true;
    }
    const bool shiftLike = (modifierFlags & ShiftLikeMask) != 0;
    const bool ctrlLike = (modifierFlags & CtrlLikeMask) != 0;

    int cost = 1;
    if (isDelay(keyNumber) || isBeep(keyNumber)) {
        cost = 3;
    } else if ((keyNumber == 3 && shiftLike) || isCommand(keyNumber)) {
        cost = 2;
    }
    if (BytesUsed(key, level) + cost > MacroByteLimit) {
        return false;
    }

    std::int32_t item = -1;
    if (isDelay(keyNumber) || isBeep(keyNumber) || isCommand(keyNumber)) {
        item = keyNumber;
    } else if (keyNumber >= KeyXlateRows) {
        item = keyNumber;
    } else if (keyNumber == 3 && shiftLike) {
        item = PrefixEscape;
    } else {
        const TRecXlate& row = KeyXlateTable[static_cast<size_t>(keyNumber)];
        if (shiftLike || pcCapsLockOn || pcShiftDown) {
            item = parseCode(row.Shifted);
        } else if ((modifierFlags & ShiftOrCtrlMask) == 0) {
            item = parseCode(row.Unshifted);
        } else if (ctrlLike) {
            const int g = parseCode(row.Unshifted);
            item = g < 0 ? -1 : controlCode(g);
        }
    }

    if (item >= 0) {
        storeAt(macro(key, level), position, item, ItemCount(key, level));
    }
    return true;
}

bool TKeypadClass::DeleteItem(int key, int level, std::uint8_t index)
{
    const int count = ItemCount(key, level);
    if (index >= count) {
        return false;
    }
    auto& items = macro(key, level).Items;
    for (int i = index; i < count; ++i) {
        items[static_cast<size_t>(i)] = items[static_cast<size_t>(i + 1)];
    }
    return true;
}

std::string TKeypadClass::MacroText(int key, int level) const
{
    return MacroTextOf(Macro(key, level), Command_Prefix);
}

void TKeypadClass::AppendMacroText(int key, int level, std::string_view text)
{
    // Malformed text is cut at the first pair that is not two hexadecimal
    // digits (an odd last digit included); everything before it is kept.
    const TDecodedMacro decoded = DecodeMacroText(text, Command_Prefix);

    // InsertItem's rules, with the count and the bytes kept as we go rather
    // than recounted for every item. Once one insert is refused, so is every
    // later one.
    int bytes = BytesUsed(key, level);
    int count = ItemCount(key, level);
    int position = 0;
    for (std::int32_t item : decoded.Items) {
        if (bytes + 1 > MacroByteLimit || !storeAt(macro(key, level), position, item, count)) {
            break;
        }
        bytes += ItemCost(item);
        ++count;
    }
}

void TKeypadClass::RestoreKey(int key, int level, std::uint8_t keyType, const TMacroData& macro)
{
    if (key < 0 || key >= MaxKeys || level < 0 || level > 1) {
        return;
    }
    TKeyDataRec& rec = m_keys[static_cast<size_t>(key)];
    rec.KeyType = keyType;
    rec.Levels[static_cast<size_t>(level)] = macro;
}

} // namespace tessaron
