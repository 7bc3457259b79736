// Any bytes as a profile: parsing, querying and writing must never fail, and
// writing a parsed profile out must keep what it holds.
#include "common/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tessaron::IniFile;

std::string Name(std::string_view bytes)
{
    std::string name(bytes);
    for (char& c : name) {
        if (c == '\r' || c == '\n' || c == '[' || c == ']' || c == '=' || c == ';') {
            c = '_';
        }
    }
    return name;
}

// The lines of a text without their carriage returns at the end: a line of an
// LF file that ends in a carriage return loses one with every round, which no
// value or name notices (both are trimmed).
std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        while (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

// Writing a profile out and reading it again keeps its sections and lines.
void CheckStable(const IniFile& ini)
{
    const std::string text = ini.text();
    const IniFile again = IniFile::fromText(text);
    if (again.sectionNames() != ini.sectionNames() || Lines(again.text()) != Lines(text)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    IniFile ini = IniFile::fromText(bytes);
    CheckStable(ini);
    // Every key of every section can be looked up, in either letter case.
    for (const std::string& section : ini.sectionNames()) {
        if (!ini.hasSection(section)) {
            std::abort();
        }
        (void)ini.readInt(section, "KeyType", 0);
        (void)ini.readBool(section, "L1_AutoRepeat", false);
        (void)ini.readString(section, "level_1_codes", "");
    }
    (void)tessaron::ParseProfileInt(bytes);

    // Writes, with names and a value taken from the input. The program's own
    // names never hold line breaks or the characters that delimit sections,
    // keys and comments.
    const size_t third = size / 3;
    const std::string section = Name(bytes.substr(0, third));
    const std::string key = Name(bytes.substr(third, third));
    ini.writeString(section, "Key", bytes.substr(third));
    ini.writeString("GLOBAL_PARAMETERS", key, "1");
    if (!section.empty() && !key.empty()) {
        ini.writeString(section, key, bytes);
    }
    ini.writeInt("KEY0", "KeyType", static_cast<int>(size));
    CheckStable(ini);
    return 0;
}
