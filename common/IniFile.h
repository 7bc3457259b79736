#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// A Windows-style profile (INI) file with the semantics that the suite's files
// rely on:
// - section and key names compare without regard to (ASCII) letter case;
// - values are trimmed; a missing key gives the caller's default;
// - writing replaces a key in place or appends it to its section (after the
//   section's last non-blank line), a new section goes to the end of the file,
//   and every other line, comment and blank line stays as it was;
// - section names are listed in file order.
// Text is 8-bit and passed through unchanged. Both CRLF and LF are read; a new
// file is written with CRLF and an existing one keeps its line ends.
//
// Writes collect in memory; save() replaces the file atomically and throws
// FileWriteError("Unable to write to <path>") when it cannot.
class IniFile
{
public:
    // Reads the file at path if there is one; a missing file is an empty
    // profile, and so is one that is refused (see readError).
    explicit IniFile(std::string path);

    // A profile parsed from text, not tied to any file (used by tests and fuzzing).
    static IniFile fromText(std::string_view text);

    const std::string& path() const { return m_path; }
    // Whether a file existed at path when the profile was read.
    bool existed() const { return m_existed; }
    // Why the file at path was not read, naming it ("" when it was read or is
    // missing): not a regular file, longer than MaxReadFileSize, or unreadable.
    // save() never replaces such a file.
    const std::string& readError() const { return m_readError; }

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Signed decimal, or hexadecimal with a leading "0x"; anything else (such
    // as "$1F" or "0X1F") and anything that is not wholly an integer of 32 bits
    // gives the default.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // Any non-zero integer is true.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    bool hasSection(std::string_view section) const;
    // Section names in file order; a name repeated in the file is listed once.
    std::vector<std::string> sectionNames() const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    // The profile as file text.
    std::string text() const;

    // Writes the profile to its file when it was modified (or when force is set).
    // Throws FileWriteError when it cannot, also when the file was refused.
    void save(bool force = false);

private:
    struct Line
    {
        std::string text;
        // Trimmed key and value of a "key=value" line; isKey false for any other line.
        bool isKey = false;
        std::string key;
        std::string value;
    };

    struct Section
    {
        bool hasHeader = false; // false only for the lines before the first section
        std::string name;
        std::vector<Line> lines; // the header line first, when there is one
    };

    IniFile() = default;
    void parse(std::string_view text);
    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    void addSection(Section section);

    // Case-folded section name -> index of its first section in m_sections:
    // finding a section takes logarithmic time however many a file holds (a
    // tree, not a hash table, so no crafted set of names can slow it down).
    static std::string fold(std::string_view name);

    std::string m_path;
    bool m_existed = false;
    bool m_modified = false;
    bool m_crlf = true;
    std::string m_readError;
    std::vector<Section> m_sections;
    std::map<std::string, size_t, std::less<>> m_index;
};

// The one integer reader of every file of the suite (see IniFile::readInt).
std::optional<int> ParseProfileInt(std::string_view text);

} // namespace tessaron
