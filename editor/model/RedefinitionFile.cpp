#include "FileIO.h"
#include "KeySections.h"

#include "common/IniFile.h"

namespace tessaron {

bool ReadRedefinitionFile(TKeypadClass& keypad, const std::string& path)
{
    const IniFile ini(path);
    if (!ini.existed()) {
        return false;
    }
    keypad.Reset();

    const std::string_view g = GlobalSection;
    keypad.DOWNLOAD_DELAY = ini.readInt(g, "DOWNLOAD_DELAY", 0);
    keypad.Key_Roll_Over = ClampKeyRollOver(ReadByte(ini, g, "Key_Roll_Over", 2));
    keypad.Key_Click = ReadByte(ini, g, "Key_Click", 20);
    keypad.Character_Pacing = ReadByte(ini, g, "Character_Pacing", 2);
    keypad.LED_Function = ReadByte(ini, g, "LED_Function", 49);
    keypad.Baud_Rate = ReadByte(ini, g, "Baud_Rate", 3);
    keypad.Word_Format = ReadByte(ini, g, "Word_Format", 8);
    // Before any code list: decoding depends on it.
    keypad.Command_Prefix = ReadByte(ini, g, "Command_Prefix", 64);
    keypad.Xon_Character = ReadByte(ini, g, "Xon_Character", 17);
    keypad.Xoff_Character = ReadByte(ini, g, "Xoff_Character", 19);
    keypad.Operating_Mode = ReadByte(ini, g, "Operating_Mode", 1);
    keypad.LineEdit_TailCharacter = ReadByte(ini, g, "LineEdit_TailCharacter", 13);
    keypad.CardReader_Type = ReadByte(ini, g, "CardReader_Type", 1);
    keypad.CardReader_StartCharacter = ReadByte(ini, g, "CardReader_StartCharacter", 9);
    keypad.CardReader_StartCharacterEnable =
        ReadFlag(ini, g, "CardReader_StartCharacterEnable", false);
    keypad.CardReader_EndCharacter = ReadByte(ini, g, "CardReader_EndCharacter", 13);
    keypad.CardReader_EndCharacterEnable = ReadFlag(ini, g, "CardReader_EndCharacterEnable", true);
    keypad.CardReader_Tracks = ReadByte(ini, g, "CardReader_Tracks", 3);
    keypad.CardReader_StartSentinel = ReadByte(ini, g, "CardReader_StartSentinel", 0);
    keypad.CardReader_EndSentinel = ReadByte(ini, g, "CardReader_EndSentinel", 13);
    keypad.CardReader_FieldSeparator = ReadByte(ini, g, "CardReader_FieldSeparator", 9);
    keypad.CardReader_BadSwipe = ReadByte(ini, g, "CardReader_BadSwipe", 33);
    keypad.RF_Keypad_ID = ReadByte(ini, g, "RF_Keypad_ID", 0);
    keypad.CDC_Serial_No = ini.readInt(g, "CDC_Serial_No", 1);
    if (keypad.CDC_Serial_No > 9999) {
        keypad.CDC_Serial_No = 9999;
    }

    ReadKeySections(ini, keypad);
    return true;
}

void WriteRedefinitionFile(TKeypadClass& keypad, const std::string& path)
{
    IniFile ini(path);
    const std::string_view g = GlobalSection;
    ini.writeString(g, "MODEL_NUMBER", "Plindorax");
    ini.writeInt(g, "DOWNLOAD_DELAY", keypad.DOWNLOAD_DELAY);
    ini.writeInt(g, "MACRO_LENGTH", 200);
    ini.writeInt(g, "LEVEL1_LENGTH", 100);
    ini.writeInt(g, "Key_Roll_Over", keypad.Key_Roll_Over);
    ini.writeInt(g, "Key_Click", keypad.Key_Click);
    ini.writeInt(g, "Character_Pacing", keypad.Character_Pacing);
    ini.writeInt(g, "LED_Function", keypad.LED_Function);
    ini.writeInt(g, "Baud_Rate", keypad.Baud_Rate);
    ini.writeInt(g, "Word_Format", keypad.Word_Format);
    ini.writeInt(g, "Command_Prefix", keypad.Command_Prefix);
    ini.writeInt(g, "Xon_Character", keypad.Xon_Character);
    ini.writeInt(g, "Xoff_Character", keypad.Xoff_Character);
    ini.writeInt(g, "Operating_Mode", keypad.Operating_Mode);
    ini.writeInt(g, "LineEdit_TailCharacter", keypad.LineEdit_TailCharacter);
    ini.writeInt(g, "CardReader_Type", keypad.CardReader_Type);
    ini.writeInt(g, "CardReader_StartCharacter", keypad.CardReader_StartCharacter);
    ini.writeBool(g, "CardReader_StartCharacterEnable",
                  keypad.CardReader_StartCharacterEnable != 0);
    ini.writeInt(g, "CardReader_EndCharacter", keypad.CardReader_EndCharacter);
    ini.writeBool(g, "CardReader_EndCharacterEnable", keypad.CardReader_EndCharacterEnable != 0);
    ini.writeInt(g, "CardReader_Tracks", keypad.CardReader_Tracks);
    ini.writeInt(g, "CardReader_StartSentinel", keypad.CardReader_StartSentinel);
    ini.writeInt(g, "CardReader_EndSentinel", keypad.CardReader_EndSentinel);
    ini.writeInt(g, "CardReader_FieldSeparator", keypad.CardReader_FieldSeparator);
    ini.writeInt(g, "CardReader_BadSwipe", keypad.CardReader_BadSwipe);
    ini.writeInt(g, "RF_Keypad_ID", keypad.RF_Keypad_ID);
    ini.writeInt(g, "CDC_Serial_No", keypad.CDC_Serial_No);

    WriteKeySections(ini, keypad);
    ini.save(true);
}

} // namespace tessaron
