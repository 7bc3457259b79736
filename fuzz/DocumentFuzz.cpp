// Any bytes as a redefinition file, a ROM file and the loader's settings: the
// readers never fail, the writers write what was read, and what they wrote
// reads back.
#include "common/AtomicFile.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/LoaderSettings.h"
#include "editor/model/RedefinitionFile.h"
#include "editor/model/RomFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using namespace tessaron;

class Quiet : public TMessageSink
{
public:
    void ShowInformation(const std::string&) override {}
};

const std::string& Folder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "document-fuzz-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

std::string File(const char* name)
{
    return Folder() + "/" + name;
}

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Every level stays within what the item operations allow.
void CheckTable(TKeypadClass& k)
{
    for (int key = 0; key < MaxKeys; ++key) {
        for (int level = 0; level < 2; ++level) {
            const int count = k.ItemCount(key, level);
            Check(k.BytesUsed(key, level) <= MacroByteLimit + 2);
            Check(count <= MacroByteLimit);
            for (int slot = count; slot < MacroSlots; ++slot) {
                Check(k.Item(key, level, slot) == MacroEnd);
            }
            for (int slot = 0; slot <= count; ++slot) {
                Check(!ItemLabelOf(k.Item(key, level, slot), false).empty());
            }
        }
    }
}

// What a write and a read do to texts: a line break inside a value cannot be
// stored and becomes a blank, and an unquoted value loses its outer blanks.
std::string Stored(std::string text, bool quoted)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (!quoted) {
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.pop_back();
        }
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
            text.erase(0, 1);
        }
    }
    return text;
}

void Normalise(TRomRecords& rom)
{
    TAdvancedParams& a = rom.AdvancedParams;
    for (std::string* text :
         {&a.SignOnMsgLine1, &a.SignOnMsgLine2, &a.CardReadMsgLine1, &a.CardReadMsgLine2}) {
        *text = Stored(*text, true);
    }
    a.ECR_String = Stored(a.ECR_String, false);
    for (TScreenDataRec& screen : rom.ScreenData) {
        screen.TextLine1 = Stored(screen.TextLine1, true);
        screen.TextLine2 = Stored(screen.TextLine2, true);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size > MaxReadFileSize) {
        return 0; // refused unread, as every reader does
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string input = File("input.ckd");
    const std::string loader = File("Tavrix.ini");
    Check(WriteFileAtomically(input, bytes).empty());
    Check(WriteFileAtomically(loader, bytes).empty());
    Quiet quiet;

    // As a redefinition file, saved as the editor saves it.
    {
        TKeypadClass k;
        Check(ReadRedefinitionFile(k, input));
        CheckTable(k);
        std::filesystem::remove(File("out.ckd"));
        WriteRedefinitionFile(k, File("out.ckd"));
        WriteDownloadImage(k, File("out.hex"), loader);
        TKeypadClass back;
        Check(ReadRedefinitionFile(back, File("out.ckd")));
        CheckTable(back);
        Check(back.Command_Prefix == k.Command_Prefix);
        Check(back.CDC_Serial_No == k.CDC_Serial_No);
        (void)ReadLoaderPortStatus(loader);
        (void)ReadTestComPort(loader);
    }

    // As a ROM file.
    {
        TKeypadClass k;
        TRomRecords rom;
        Check(ReadRomFile(k, rom, input, &quiet));
        CheckTable(k);
        Check(rom.AdvancedParams.ECR_String.size() <= static_cast<size_t>(EcrStringLimit));
        std::filesystem::remove(File("out.rom"));
        WriteRomFile(k, rom, File("out.rom"));
        TKeypadClass keypad;
        TRomRecords back;
        Check(ReadRomFile(keypad, back, File("out.rom"), &quiet));
        // LCD texts, numbers and flags come back as they were written.
        Normalise(rom);
        Check(back.AdvancedParams == rom.AdvancedParams);
        Check(back.ScreenData == rom.ScreenData);
    }
    return 0;
}
