#include "DownloadImage.h"

#include "DownloadImageLayout.h"
#include "LoaderSettings.h"

#include "common/AtomicFile.h"
#include "common/FileWriteError.h"

#include <array>

namespace tessaron {

namespace download {

const std::array<const char*, ParameterRecordLength> ParameterByteNames = {
    "Command_Prefix (record start)",
    "record kind (1: parameters)",
    "parameter count",
    "MACRO_LENGTH",
    "LEVEL1_LENGTH",
    "Level Toggle key 1",
    "Level Toggle key 2",
    "Level Shift key 1",
    "Level Shift key 2",
    "Key_Roll_Over",
    "Key_Click / 2",
    "Character_Pacing / 2",
    "LED_Function",
    "Baud_Rate",
    "Word_Format",
    "Command_Prefix",
    "Xon_Character",
    "Xoff_Character",
    "Operating_Mode + 4 x CardReader_Tracks",
    "LineEdit_TailCharacter",
    "CardReader start sentinel or character",
    "CardReader end sentinel or character",
    "CardReader_FieldSeparator",
    "CardReader_BadSwipe",
    "Alpha Toggle key",
    "RF_Keypad_ID",
    "CDC_Serial_No (thousands, hundreds)",
    "CDC_Serial_No (tens, units)",
};

} // namespace download

namespace {

using namespace download;

// The key numbers of the keys with a level or alpha function, noted the way
// the redefinition writer notes them: the first and the second Level Toggle
// and Level Shift key (a third or later one replaces the second), and the
// last Alpha Toggle key.
struct TypedKeys
{
    std::uint8_t toggle[2] = {NoKey, NoKey};
    std::uint8_t shift[2] = {NoKey, NoKey};
    std::uint8_t alpha = NoAlphaToggleKey;
};

void note(std::uint8_t (&slots)[2], std::uint8_t key)
{
    if (slots[0] == NoKey) {
        slots[0] = key;
    } else {
        slots[1] = key;
    }
}

TypedKeys noteTypedKeys(const TKeypadClass& keypad)
{
    TypedKeys keys;
    for (int k = 0; k < MaxKeys; ++k) {
        const auto key = static_cast<std::uint8_t>(k);
        // The file stores the type with bit 7 cleared; the image agrees with it.
        switch (keypad.Keys(k).KeyType & 0x7F) {
        case KeyTypeLevelToggle:
            note(keys.toggle, key);
            break;
        case KeyTypeLevelShift:
            note(keys.shift, key);
            break;
        case KeyTypeAlphaToggle:
            keys.alpha = key;
            break;
        default:
            break;
        }
    }
    return keys;
}

std::uint8_t bcd(int tens, int units)
{
    return static_cast<std::uint8_t>(tens * 16 + units);
}

int hexValue(char c)
{
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

class ImageText
{
public:
    void add(int byte)
    {
        static const char digits[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned>(byte) & 0xFFu;
        const char line[] = {'"', digits[b >> 4], digits[b & 0xF], '"', '\r', '\n'};
        m_text.append(line, sizeof line);
    }

    // A level's block from its text form (always well-formed lowercase hex).
    void addBlock(const std::string& macroText)
    {
        const size_t n = macroText.size() / 2;
        if (n == 0) {
            add(0);
            return;
        }
        add(static_cast<int>(n < MaxBlockBytes ? n + 1 : n));
        for (size_t i = 0; i + 1 < macroText.size(); i += 2) {
            add(hexValue(macroText[i]) * 16 + hexValue(macroText[i + 1]));
        }
        if (n < MaxBlockBytes) {
            add(0);
        }
    }

    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

std::uint8_t levelFlags(const TMacroData& macro)
{
    if (MacroItemCount(macro) == 0) {
        return 0;
    }
    std::uint8_t flags = LevelUsed;
    if (macro.AutoRepeat != 0) {
        flags |= LevelAutoRepeat;
    }
    if (macro.SendLineEditKeyASAP != 0) {
        flags |= LevelSendLineEditKeyASAP;
    }
    return flags;
}

} // namespace

std::string DownloadImageText(const TKeypadClass& keypad)
{
    const TypedKeys typed = noteTypedKeys(keypad);
    const TKeypadClass& k = keypad;

    std::array<std::uint8_t, ParameterRecordLength> p{};
    p[PrefixByte] = k.Command_Prefix;
    p[KindByte] = ParameterRecord;
    p[CountByte] = ParameterCount;
    p[MacroLengthByte] = MacroLength;
    p[Level1LengthByte] = Level1Length;
    p[LevelToggleKey1] = typed.toggle[0];
    p[LevelToggleKey2] = typed.toggle[1];
    p[LevelShiftKey1] = typed.shift[0];
    p[LevelShiftKey2] = typed.shift[1];
    p[KeyRollOverByte] = k.Key_Roll_Over;
    p[KeyClickByte] = static_cast<std::uint8_t>(k.Key_Click / 2);
    p[CharacterPacingByte] = static_cast<std::uint8_t>(k.Character_Pacing / 2);
    p[LedFunctionByte] = k.LED_Function;
    p[BaudRateByte] = k.Baud_Rate;
    p[WordFormatByte] = k.Word_Format;
    p[CommandPrefixByte] = k.Command_Prefix;
    p[XonByte] = k.Xon_Character;
    p[XoffByte] = k.Xoff_Character;
    p[OperatingModeByte] = static_cast<std::uint8_t>(k.Operating_Mode + 4 * k.CardReader_Tracks);
    p[LineEditTailByte] = k.LineEdit_TailCharacter;
    if (k.CardReader_Type == 2) {
        p[CardStartByte] = k.CardReader_StartSentinel;
        p[CardEndByte] = k.CardReader_EndSentinel;
        p[CardFieldSeparatorByte] = k.CardReader_FieldSeparator;
        p[CardBadSwipeByte] = k.CardReader_BadSwipe;
    } else {
        p[CardStartByte] = k.CardReader_StartCharacterEnable == 1 ? k.CardReader_StartCharacter : 0;
        p[CardEndByte] = k.CardReader_EndCharacterEnable == 1 ? k.CardReader_EndCharacter : 0;
    }
    p[AlphaToggleKey] = typed.alpha;
    p[RfKeypadIdByte] = k.RF_Keypad_ID;
    // Four decimal digits at most; a value out of range would give no valid BCD.
    int serial = k.CDC_Serial_No;
    serial = serial < 0 ? 0 : (serial > 9999 ? 9999 : serial);
    p[CdcSerialHighByte] = bcd(serial / 1000, serial / 100 % 10);
    p[CdcSerialLowByte] = bcd(serial / 10 % 10, serial % 10);

    ImageText image;
    for (std::uint8_t b : p) {
        image.add(b);
    }

    for (int key = 0; key < MaxKeys; ++key) {
        const std::uint8_t level2Flags = levelFlags(k.Macro(key, 1));
        const std::string level2 = k.MacroText(key, 1);
        const std::uint8_t level1Flags = levelFlags(k.Macro(key, 0));
        const std::string level1 = k.MacroText(key, 0);

        image.add(k.Command_Prefix);
        image.add(KeyRecord);
        image.add(key);
        image.add(level2Flags);
        image.add(level1Flags);
        image.add(key);
        image.addBlock(level1);
        image.addBlock(level2);
    }
    return image.text();
}

void WriteDownloadImage(const TKeypadClass& keypad, const std::string& path,
                        const std::string& loaderSettingsPath)
{
    const std::string reason = WriteFileAtomically(path, DownloadImageText(keypad));
    if (!reason.empty()) {
        throw FileWriteError("Unable to write to " + path + " (" + reason + ")", path);
    }

    UpdateDownloadDelay(loaderSettingsPath, keypad.DOWNLOAD_DELAY);
}

std::string DownloadImagePath(const std::string& documentPath)
{
    const size_t keep = documentPath.size() >= 3 ? documentPath.size() - 3 : 0;
    return documentPath.substr(0, keep) + "hex";
}

} // namespace tessaron
