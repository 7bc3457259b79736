#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

constexpr int MaxKeys = 20;
constexpr int MacroSlots = 256;
constexpr int MacroByteLimit = 100;

// Macro items: signed 32-bit values.
constexpr std::int32_t DelayBase = 0x1000;    // + n: pause of n x 4 ms, 3 bytes
constexpr std::int32_t BeepBase = 0x2000;     // + n: beep of n x 4 ms, 3 bytes
constexpr std::int32_t LedBase = 0x4000;      // + 8..13: LED command, 2 bytes
constexpr std::int32_t PrefixEscape = 0x4040; // the command prefix sent as data, 2 bytes
constexpr std::int32_t MacroEnd = -1;

enum : std::uint8_t
{
    KeyTypeNone = 0,
    KeyTypeLevelShift = 1,
    KeyTypeLevelToggle = 2,
    KeyTypeAlphaToggle = 3,
};

// The main window's modifier flags, as InsertKeyNumber receives them.
enum : std::uint8_t
{
    LeftShift = 0x01,
    RightShift = 0x02,
    LeftCtrl = 0x04,
    RightCtrl = 0x08,
    ShiftKeyHeld = 0x10,
    CapsLock = 0x20,
};

// Bytes an item takes in the keypad's macro memory: 3 for bit 0x1000 or 0x2000,
// otherwise 2 for bit 0x4000, otherwise 1 (0 for MacroEnd).
int ItemCost(std::int32_t item);

// A key type's name ("Level Shift"); "" for none and for a type that is not one.
const char* KeyTypeName(int keyType);

struct TMacroData
{
    std::array<std::int32_t, MacroSlots> Items; // ends at the first MacroEnd
    std::uint8_t AutoRepeat = 0;
    std::uint8_t SendLineEditKeyASAP = 0;
    std::string MacroName;

    bool operator==(const TMacroData&) const = default;
};

struct TKeyDataRec
{
    std::array<TMacroData, 2> Levels; // index 0 = level 1
    std::uint8_t KeyType = KeyTypeNone;
};

// A macro's item count (up to its first MacroEnd) and the bytes its items take.
int MacroItemCount(const TMacroData& macro);
int MacroBytesUsed(const TMacroData& macro);
// Display label of an item (MacroEnd gives " "), as text or in hexadecimal.
std::string ItemLabelOf(std::int32_t item, bool hexView);
// The text form of a macro with the given command prefix.
std::string MacroTextOf(const TMacroData& macro, std::uint8_t commandPrefix);

// A text form decoded into items. WellFormed is false when the text holds
// anything but pairs of hexadecimal digits (and blanks), ends inside a
// command, or names a command that is not one; Items then holds what came
// before the fault.
struct TDecodedMacro
{
    std::vector<std::int32_t> Items;
    bool WellFormed = true;
};
TDecodedMacro DecodeMacroText(std::string_view text, std::uint8_t commandPrefix);

// One row of KeyXlateTable: codes as decimal text ("-1" = no character) and labels.
struct TRecXlate
{
    const char* Unshifted;
    const char* Shifted;
    const char* UnshiftedLabel;
    const char* ShiftedLabel;
};

constexpr int KeyXlateRows = 111;
// Indexed by key number 0..110 (1..83 are PC scan codes of set 1, US layout).
extern const std::array<TRecXlate, KeyXlateRows> KeyXlateTable;
// Key number for a typed character code 0..127; 0 = no key.
extern const std::array<std::uint8_t, 128> CharKeyTable;

// The key definition table: the editor's document. Every query and operation
// on a macro names its key (0 to 19) and level (0 = level 1).
class TKeypadClass
{
public:
    TKeypadClass();

    // Clears all keys and sets the USER-mode parameters to their new-document
    // values.
    void Reset();

    const TKeyDataRec& Keys(int key) const { return m_keys[static_cast<size_t>(key)]; }
    const TMacroData& Macro(int key, int level) const
    {
        return m_keys[static_cast<size_t>(key)].Levels[static_cast<size_t>(level)];
    }
    // Puts back a key's type and one of its macros as they were (undo and redo).
    void RestoreKey(int key, int level, std::uint8_t keyType, const TMacroData& macro);

    void SetKeyType(int key, std::uint8_t type);
    void SetAutoRepeat(int key, int level, std::uint8_t flag);
    void SetSendLineEditKeyASAP(int key, int level, std::uint8_t flag);
    void SetMacroName(int key, int level, std::string name);

    std::uint8_t ItemCount(int key, int level) const; // index of the first MacroEnd
    int BytesUsed(int key, int level) const;          // sum of the item costs
    std::int32_t Item(int key, int level, int slot) const;

    // The key path: translates a key number under the modifier state and
    // inserts it at position (advanced past the new item). False, with nothing
    // changed, when the macro would exceed 100 bytes; true also when the
    // translation gives no item.
    bool InsertKeyNumber(int key, int level, int& position, int keyNumber,
                         std::uint8_t modifierFlags, bool pcShiftDown, bool pcCapsLockOn);
    // The raw path: inserts the item unchanged, always counted as one byte.
    // A negative item (it would read as the end marker) is refused like a full
    // macro.
    bool InsertItem(int key, int level, int& position, std::int32_t item);
    // Removes one item; false when index is not before the end.
    bool DeleteItem(int key, int level, std::uint8_t index);

    // The macro's text form: lowercase hex, commands introduced by Command_Prefix.
    // A plain code equal to Command_Prefix is written as the escaped prefix, so
    // it reads back (and reaches the keypad) as PrefixEscape.
    std::string MacroText(int key, int level) const;
    // Decodes a text form into items at a running position from 0. Decoding
    // stops at the first pair that is not two hexadecimal digits; a delay or
    // beep without its length byte is dropped.
    void AppendMacroText(int key, int level, std::string_view text);
    // Empties a level's item list (flags and name stay).
    void ClearMacro(int key, int level);

    // USER-mode global parameters (names of their file keys). Setting them has
    // no side effects, so they are plain fields.
    std::uint8_t Key_Roll_Over;
    std::uint8_t LED_Function;
    std::uint8_t Character_Pacing;
    std::int32_t DOWNLOAD_DELAY;
    std::uint8_t Operating_Mode;
    std::uint8_t LineEdit_TailCharacter;
    std::uint8_t Key_Click;
    std::uint8_t Command_Prefix;
    std::uint8_t Baud_Rate;
    std::uint8_t Word_Format;
    std::uint8_t Xon_Character;
    std::uint8_t Xoff_Character;
    std::uint8_t CardReader_Type;
    std::uint8_t CardReader_StartCharacter;
    std::uint8_t CardReader_StartCharacterEnable;
    std::uint8_t CardReader_EndCharacter;
    std::uint8_t CardReader_EndCharacterEnable;
    std::uint8_t CardReader_Tracks;
    std::uint8_t CardReader_StartSentinel;
    std::uint8_t CardReader_EndSentinel;
    std::uint8_t CardReader_FieldSeparator;
    std::uint8_t CardReader_BadSwipe;
    std::uint8_t RF_Keypad_ID;
    std::int32_t CDC_Serial_No;

private:
    TMacroData& macro(int key, int level)
    {
        return m_keys[static_cast<size_t>(key)].Levels[static_cast<size_t>(level)];
    }
    // Inserts at position for a caller that knows the item count.
    static bool storeAt(TMacroData& macro, int& position, std::int32_t item, int count);

    std::array<TKeyDataRec, MaxKeys> m_keys;
};

} // namespace tessaron
