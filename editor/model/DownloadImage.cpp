#include "FileIO.h"

#include "common/AtomicFile.h"
#include "common/FileWriteError.h"

#include <array>

namespace tessaron {

namespace {

constexpr std::uint8_t NoKey = 128;
constexpr std::uint8_t NoAlphaToggleKey = 255;

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
        add(static_cast<int>(n < 100 ? n + 1 : n));
        for (size_t i = 0; i + 1 < macroText.size(); i += 2) {
            add(hexValue(macroText[i]) * 16 + hexValue(macroText[i + 1]));
        }
        if (n < 100) {
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
    std::uint8_t flags = 1;
    if (macro.AutoRepeat != 0) {
        flags |= 2;
    }
    if (macro.SendLineEditKeyASAP != 0) {
        flags |= 4;
    }
    return flags;
}

} // namespace

void WriteDownloadImage(const TKeypadClass& keypad, const std::string& path,
                        const std::string& loaderSettingsPath)
{
    const TypedKeys typed = noteTypedKeys(keypad);
    const TKeypadClass& k = keypad;

    ImageText image;
    image.add(k.Command_Prefix);
    image.add(1);
    image.add(25);
    image.add(200);
    image.add(100);
    image.add(typed.toggle[0]);
    image.add(typed.toggle[1]);
    image.add(typed.shift[0]);
    image.add(typed.shift[1]);
    image.add(k.Key_Roll_Over);
    image.add(k.Key_Click / 2);
    image.add(k.Character_Pacing / 2);
    image.add(k.LED_Function);
    image.add(k.Baud_Rate);
    image.add(k.Word_Format);
    image.add(k.Command_Prefix);
    image.add(k.Xon_Character);
    image.add(k.Xoff_Character);
    image.add(k.Operating_Mode + 4 * k.CardReader_Tracks);
    image.add(k.LineEdit_TailCharacter);
    if (k.CardReader_Type == 2) {
        image.add(k.CardReader_StartSentinel);
        image.add(k.CardReader_EndSentinel);
        image.add(k.CardReader_FieldSeparator);
        image.add(k.CardReader_BadSwipe);
    } else {
        image.add(k.CardReader_StartCharacterEnable == 1 ? k.CardReader_StartCharacter : 0);
        image.add(k.CardReader_EndCharacterEnable == 1 ? k.CardReader_EndCharacter : 0);
        image.add(0);
        image.add(0);
    }
    image.add(typed.alpha);
    image.add(k.RF_Keypad_ID);
    // Four decimal digits at most; a value out of range would give no valid BCD.
    int serial = k.CDC_Serial_No;
    serial = serial < 0 ? 0 : (serial > 9999 ? 9999 : serial);
    image.add(bcd(serial / 1000, serial / 100 % 10));
    image.add(bcd(serial / 10 % 10, serial % 10));

    for (int key = 0; key < MaxKeys; ++key) {
        const std::uint8_t level2Flags = levelFlags(k.Macro(key, 1));
        const std::string level2 = k.MacroText(key, 1);
        const std::uint8_t level1Flags = levelFlags(k.Macro(key, 0));
        const std::string level1 = k.MacroText(key, 0);

        image.add(k.Command_Prefix);
        image.add(2);
        image.add(key);
        image.add(level2Flags);
        image.add(level1Flags);
        image.add(key);
        image.addBlock(level1);
        image.addBlock(level2);
    }

    const std::string reason = WriteFileAtomically(path, image.text());
    if (!reason.empty()) {
        throw FileWriteError("Unable to write to " + path + " (" + reason + ")", path);
    }

    UpdateDownloadDelay(loaderSettingsPath, k.DOWNLOAD_DELAY);
}

std::string DownloadImagePath(const std::string& documentPath)
{
    const size_t keep = documentPath.size() >= 3 ? documentPath.size() - 3 : 0;
    return documentPath.substr(0, keep) + "hex";
}

} // namespace tessaron
