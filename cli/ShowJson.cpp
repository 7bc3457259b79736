// The document for scripts: every field of the file sections' tables with its
// file key, and the fields that pack several settings decoded into their parts.
#include "ShowJson.h"

#include "JsonWriter.h"

#include "editor/model/Document.h"
#include "editor/model/GlobalParameters.h"
#include "editor/model/PackedFields.h"
#include "editor/model/RomSections.h"

#include <iterator>
#include <string_view>

namespace tessaron::cli {

namespace {

// The host modes by value; 5 is none.
const char* hostModeName(THostMode mode)
{
    static const char* const names[] = {"auto",     "rs232",   "usb_serial", "hid",
                                        "ethernet", "unknown", "rf",         "cdc"};
    const auto i = static_cast<size_t>(mode);
    return i < std::size(names) ? names[i] : "unknown";
}

const char* parityName(TParity parity)
{
    static const char* const names[] = {"none", "odd", "even", "mark", "space"};
    const auto i = static_cast<size_t>(parity);
    return i < std::size(names) ? names[i] : "none";
}

const char* ledFunctionName(int function)
{
    static const char* const names[] = {"off", "level_indicator", "host_control",
                                        "power_indicator"};
    return names[function & 3];
}

const char* screenLedName(int mode)
{
    static const char* const names[] = {"off", "on", "flashing"};
    return mode >= 0 && mode <= 2 ? names[mode] : "unknown";
}

void wordFormat(JsonWriter& w, const TWordFormat& f)
{
    w.field("data_bits", f.EightDataBits ? 8 : 7);
    w.field("stop_bits", f.TwoStopBits ? 2 : 1);
    w.field("parity", parityName(f.Parity));
}

// The parts of a packed field, by its file key; the same key means the same
// packing in every section it appears in.
struct TPartsDecoder
{
    std::string_view Key;
    void (*Write)(JsonWriter& w, int value);
};

const TPartsDecoder kDecoders[] = {
    {"Operating_Mode",
     [](JsonWriter& w, int v) {
         const auto mode = static_cast<std::uint8_t>(v);
         w.field("line_edit", IsLineEdit(mode));
         w.field("input_masked", IsInputMasked(mode));
         w.field("host_mode", hostModeName(HostModeOf(mode)));
     }},
    {"HostType",
     [](JsonWriter& w, int v) { w.field("host_mode", hostModeName(static_cast<THostMode>(v))); }},
    {"LED_Function",
     [](JsonWriter& w, int v) {
         const TLeds f = LedFunctionsOf(static_cast<std::uint8_t>(v));
         w.field("green", ledFunctionName(f.Green));
         w.field("red", ledFunctionName(f.Red));
     }},
    {"CardReader_Tracks",
     [](JsonWriter& w, int v) {
         const TTracks t = TracksOf(static_cast<std::uint8_t>(v));
         w.field("track1", t.Track1);
         w.field("track2", t.Track2);
     }},
    {"Word_Format",
     [](JsonWriter& w, int v) {
         wordFormat(w, DecodeHostWordFormat(static_cast<std::uint8_t>(v)));
     }},
    {"CardWordFormat",
     [](JsonWriter& w, int v) {
         wordFormat(w, DecodeCardWordFormat(static_cast<std::uint8_t>(v)));
     }},
    {"CursorStyle",
     [](JsonWriter& w, int v) {
         w.field("underline", HasBit(static_cast<std::uint8_t>(v), CursorUnderline));
         w.field("block", HasBit(static_cast<std::uint8_t>(v), CursorBlock));
     }},
    {"ScrollWrap",
     [](JsonWriter& w, int v) {
         w.field("scroll", HasBit(static_cast<std::uint8_t>(v), ScrollEnabled));
         w.field("wrap", HasBit(static_cast<std::uint8_t>(v), WrapEnabled));
     }},
    {"ECR_Mode",
     [](JsonWriter& w, int v) {
         w.field("enabled", HasEcrFlag(v, EcrEnabled));
         w.field("concatenate", HasEcrFlag(v, EcrConcatenate));
         w.field("suppress_leading_zeros", HasEcrFlag(v, EcrSuppressLZ));
         w.field("prepend_00", HasEcrFlag(v, EcrPrepend00));
         w.field("track2", HasEcrFlag(v, EcrTrack2));
         w.field("field", EcrFieldOf(v) + 1);
     }},
    {"LedModes",
     [](JsonWriter& w, int v) {
         const TLeds leds = ScreenLedsOf(static_cast<std::uint8_t>(v));
         w.field("green", screenLedName(leds.Green));
         w.field("red", screenLedName(leds.Red));
     }},
};

// {"key": ..., "value": ...[, "parts": {...}]}: a flag as true or false, a
// text as a string, any other value as the number the file holds.
void numberField(JsonWriter& w, std::string_view key, int value, bool flag)
{
    w.beginObject();
    w.field("key", key);
    w.key("value");
    if (flag) {
        w.boolean(value != 0);
    } else {
        w.number(value);
    }
    for (const TPartsDecoder& d : kDecoders) {
        if (d.Key == key) {
            w.key("parts");
            w.beginObject();
            d.Write(w, value);
            w.endObject();
        }
    }
    w.endObject();
}

template <class Record>
void recordField(JsonWriter& w, std::string_view key, TFieldKind kind,
                 const TRecordField<Record>& field, const Record& record)
{
    if (kind == TFieldKind::Number || kind == TFieldKind::Flag) {
        numberField(w, key, field.Get(record), kind == TFieldKind::Flag);
        return;
    }
    w.beginObject();
    w.field("key", key);
    w.field("value", field.Text(record));
    w.endObject();
}

void parameters(JsonWriter& w, bool rom, const TDocument& doc)
{
    w.key("parameters");
    w.beginArray();
    if (rom) {
        for (const TRomProperty& p : RomPropertiesInRecordOrder()) {
            recordField(w, p.Key, p.Kind, p.Field, doc.Rom().AdvancedParams);
        }
    } else {
        for (const TGlobalParameter& p : GlobalParameters) {
            if (p.User.Exists()) {
                numberField(w, p.Key, p.User.Get(doc.Keypad()), p.Value == TGlobalValue::Flag);
            }
        }
    }
    w.endArray();

    w.key("screens");
    w.beginArray();
    for (int i = 0; rom && i < ScreenCount; ++i) {
        w.beginObject();
        w.field("screen", i + 1);
        w.key("fields");
        w.beginArray();
        const TScreenDataRec& screen = doc.Rom().ScreenData[static_cast<size_t>(i)];
        for (const TSectionField<TScreenDataRec>& f : ScreenFields) {
            recordField(w, f.Key, f.Kind, f.Field, screen);
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
}

void keys(JsonWriter& w, const TKeypadClass& k)
{
    w.key("key_types");
    w.beginArray();
    for (int key = 0; key < MaxKeys; ++key) {
        const std::uint8_t type = k.Keys(key).KeyType;
        if (type != KeyTypeNone) {
            const char* name = KeyTypeName(type);
            w.beginObject();
            w.field("key", key);
            w.field("type", *name != '\0' ? name : "unknown");
            w.endObject();
        }
    }
    w.endArray();

    w.key("macros");
    w.beginArray();
    for (int key = 0; key < MaxKeys; ++key) {
        for (int level = 0; level < 2; ++level) {
            const TMacroData& macro = k.Macro(key, level);
            const int count = MacroItemCount(macro);
            if (count == 0) {
                continue;
            }
            w.beginObject();
            w.field("key", key);
            w.field("level", level + 1);
            w.field("name", macro.MacroName);
            w.field("auto_repeat", macro.AutoRepeat != 0);
            w.field("send_line_edit_key_asap", macro.SendLineEditKeyASAP != 0);
            w.field("bytes", MacroBytesUsed(macro));
            w.field("codes", k.MacroText(key, level));
            w.key("items");
            w.beginArray();
            for (int slot = 0; slot < count; ++slot) {
                w.string(ItemLabelOf(macro.Items[static_cast<size_t>(slot)], false));
            }
            w.endArray();
            w.endObject();
        }
    }
    w.endArray();
}

} // namespace

void ShowJson(std::ostream& out, const std::string& path, bool rom, const TDocument& doc)
{
    JsonWriter w(out);
    w.beginObject();
    w.field("file", path);
    w.field("kind", rom ? "rom" : "redefinition");
    parameters(w, rom, doc);
    keys(w, doc.Keypad());
    w.endObject();
}

} // namespace tessaron::cli
