#include "Commands.h"
#include "ShowJson.h"

#include "common/AsciiText.h"
#include "common/AtomicFile.h"
#include "common/FileWriteError.h"
#include "editor/model/Document.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/GlobalParameters.h"
#include "editor/model/LoaderSettings.h"
#include "editor/model/RomSections.h"

#include <memory>
#include <ostream>

namespace tessaron::cli {

namespace {

enum class DocumentKind
{
    Unknown,
    Redefinition,
    Rom
};

// By extension, in any letter case, as the editor's dialogs filter them.
DocumentKind KindOf(const std::string& path)
{
    if (EndsWithIgnoreCase(path, ".ckd")) {
        return DocumentKind::Redefinition;
    }
    if (EndsWithIgnoreCase(path, ".rom")) {
        return DocumentKind::Rom;
    }
    return DocumentKind::Unknown;
}

int Fail(std::ostream& err, const std::string& message)
{
    err << "tessaron: " << message << '\n';
    return 1;
}

int UnknownExtension(std::ostream& err, const std::string& path, const char* expected)
{
    return Fail(err, "unknown extension of \"" + path + "\" (expected " + expected + ")");
}

int MissingInput(std::ostream& err, const std::string& path)
{
    return Fail(err, "no such file: " + path);
}

// The ROM reader's warning: a line on standard error, and the command goes on.
class ErrorStreamMessages : public TMessageSink
{
public:
    explicit ErrorStreamMessages(std::ostream& err) : m_err(err) {}
    void ShowInformation(const std::string& text) override
    {
        m_err << "tessaron: " << text << '\n';
    }

private:
    std::ostream& m_err;
};

// Runs a save; a write that fails ends the command with the file layer's message.
template <typename Save>
int Saving(std::ostream& err, Save save)
{
    try {
        save();
    } catch (const FileWriteError& e) {
        return Fail(err, e.what());
    }
    return 0;
}

bool Load(TDocument& doc, DocumentKind kind, const std::string& path, std::ostream& err)
{
    if (kind == DocumentKind::Rom) {
        ErrorStreamMessages messages(err);
        return doc.OpenRom(path, &messages);
    }
    return doc.ReadRedefinition(path);
}

// Save as the editor saves in the mode of the document's kind.
void Save(TDocument& doc, DocumentKind kind, const std::string& path)
{
    if (kind == DocumentKind::Rom) {
        doc.SaveRom(path);
    } else {
        doc.SaveRedefinition(path);
    }
}

// --- show -------------------------------------------------------------------

class Printer
{
public:
    explicit Printer(std::ostream& out) : m_out(out) {}

    void heading(const std::string& text) { m_out << text << '\n'; }
    void number(const char* name, long value) { m_out << "  " << pad(name) << value << '\n'; }
    void text(const char* name, const std::string& value)
    {
        m_out << "  " << pad(name) << '"' << value << "\"\n";
    }

private:
    static std::string pad(const char* name)
    {
        std::string s(name);
        s += ' ';
        if (s.size() < 33) {
            s.append(33 - s.size(), ' ');
        }
        return s;
    }

    std::ostream& m_out;
};

void ShowUserParameters(Printer& p, const TKeypadClass& k)
{
    p.heading("Parameters:");
    for (const TGlobalParameter& parameter : GlobalParameters) {
        if (parameter.User.Exists()) {
            p.number(std::string(parameter.Key).c_str(), parameter.User.Get(k));
        }
    }
}

// A field of a record, by the kind of its file key.
template <class Record>
void ShowField(Printer& p, std::string_view key, TFieldKind kind, const TRecordField<Record>& field,
               const Record& record)
{
    const std::string name(key);
    if (kind == TFieldKind::Number || kind == TFieldKind::Flag) {
        p.number(name.c_str(), field.Get(record));
    } else {
        p.text(name.c_str(), field.Text(record));
    }
}

void ShowRomParameters(Printer& p, const TRomRecords& rom)
{
    p.heading("ROM properties:");
    for (const TRomProperty& property : RomPropertiesInRecordOrder()) {
        ShowField(p, property.Key, property.Kind, property.Field, rom.AdvancedParams);
    }
    for (int i = 0; i < ScreenCount; ++i) {
        p.heading("Screen " + std::to_string(i + 1) + ":");
        for (const TSectionField<TScreenDataRec>& f : ScreenFields) {
            ShowField(p, f.Key, f.Kind, f.Field, rom.ScreenData[static_cast<size_t>(i)]);
        }
    }
}

void ShowMacros(std::ostream& out, const TKeypadClass& k)
{
    out << "Key types:";
    bool anyType = false;
    for (int key = 0; key < MaxKeys; ++key) {
        const std::uint8_t type = k.Keys(key).KeyType;
        if (type != KeyTypeNone) {
            const char* name = KeyTypeName(type);
            out << (anyType ? ", " : " ") << "KEY" << key << ' '
                << (*name != '\0' ? name : "unknown");
            anyType = true;
        }
    }
    out << (anyType ? "\n" : " none\n");

    out << "Macros:";
    bool anyMacro = false;
    for (int key = 0; key < MaxKeys; ++key) {
        for (int level = 0; level < 2; ++level) {
            const TMacroData& macro = k.Macro(key, level);
            const int count = MacroItemCount(macro);
            if (count == 0) {
                continue;
            }
            if (!anyMacro) {
                out << '\n';
            }
            anyMacro = true;
            out << "  KEY" << key << " level " << level + 1 << "  name \"" << macro.MacroName
                << "\"  AutoRepeat " << int(macro.AutoRepeat) << "  SendLineEditKeyASAP "
                << int(macro.SendLineEditKeyASAP) << "  " << MacroBytesUsed(macro)
                << " bytes\n    ";
            for (int slot = 0; slot < count; ++slot) {
                out << (slot > 0 ? " [" : "[")
                    << ItemLabelOf(macro.Items[static_cast<size_t>(slot)], false) << ']';
            }
            out << '\n';
        }
    }
    if (!anyMacro) {
        out << " none\n";
    }
}

} // namespace

int RunNew(const Args& args, std::ostream&, std::ostream& err)
{
    if (args.size() != 1) {
        return UsageError(err, "new");
    }
    const std::string& path = args[0];
    const DocumentKind kind = KindOf(path);
    if (kind == DocumentKind::Unknown) {
        return UnknownExtension(err, path, ".ckd or .rom");
    }
    auto doc = std::make_unique<TDocument>();
    return Saving(err, [&] { Save(*doc, kind, path); });
}

int RunHex(const Args& args, std::ostream&, std::ostream& err)
{
    if (args.empty() || args.size() > 2) {
        return UsageError(err, "hex");
    }
    const std::string& path = args[0];
    if (KindOf(path) != DocumentKind::Redefinition) {
        return UnknownExtension(err, path, ".ckd");
    }
    auto doc = std::make_unique<TDocument>();
    if (!doc->ReadRedefinition(path)) {
        return MissingInput(err, path);
    }
    const std::string out = args.size() == 2 ? args[1] : DownloadImagePath(path);
    return Saving(err, [&] { WriteDownloadImage(doc->Keypad(), out, LoaderSettingsPath()); });
}

int RunResave(const Args& args, std::ostream&, std::ostream& err)
{
    if (args.size() != 2) {
        return UsageError(err, "resave");
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    const DocumentKind kind = KindOf(in);
    if (kind == DocumentKind::Unknown) {
        return UnknownExtension(err, in, ".ckd or .rom");
    }
    // The same format as IN: Open followed by Save As never changes the mode.
    if (KindOf(out) != kind) {
        return UnknownExtension(err, out, kind == DocumentKind::Rom ? ".rom" : ".ckd");
    }
    auto doc = std::make_unique<TDocument>();
    if (!Load(*doc, kind, in, err)) {
        return MissingInput(err, in);
    }
    return Saving(err, [&] { Save(*doc, kind, out); });
}

int RunShow(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    const bool json = TakeFlag(args, "--json");
    if (args.size() != 1 || !UnknownOption(args).empty()) {
        return UsageError(err, "show");
    }
    const std::string& path = args[0];
    const DocumentKind kind = KindOf(path);
    if (kind == DocumentKind::Unknown) {
        return UnknownExtension(err, path, ".ckd or .rom");
    }
    auto doc = std::make_unique<TDocument>();
    if (!Load(*doc, kind, path, err)) {
        return MissingInput(err, path);
    }
    if (json) {
        ShowJson(out, path, kind == DocumentKind::Rom, *doc);
        return 0;
    }
    Printer printer(out);
    if (kind == DocumentKind::Rom) {
        out << "ROM file " << path << '\n';
        ShowRomParameters(printer, doc->Rom());
    } else {
        out << "Redefinition file " << path << '\n';
        ShowUserParameters(printer, doc->Keypad());
    }
    ShowMacros(out, doc->Keypad());
    return 0;
}

} // namespace tessaron::cli
