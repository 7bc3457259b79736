#include "IniFile.h"

#include "AsciiText.h"
#include "AtomicFile.h"
#include "FileWriteError.h"

#include <cstdint>

namespace tessaron {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

std::optional<int> ParseProfileInt(std::string_view s)
{
    s = trim(s);
    // Hexadecimal: "0x" (lower case x) and one to eight digits; the top bit of
    // 32 makes the value negative, as the files' writers would have written it.
    if (s.size() > 2 && s[0] == '0' && s[1] == 'x') {
        s.remove_prefix(2);
        if (s.size() > 8) {
            return std::nullopt;
        }
        std::uint32_t bits = 0;
        for (char c : s) {
            const int d = HexDigitValue(c);
            if (d < 0) {
                return std::nullopt;
            }
            bits = (bits << 4) | static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(bits);
    }
    // Otherwise signed decimal; "$1F", "0X1F", "-0x1F" and the like are not integers.
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) {
            return std::nullopt;
        }
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    if (magnitude > 2147483647LL) {
        return std::nullopt;
    }
    return static_cast<int>(magnitude);
}

IniFile::IniFile(std::string path) : m_path(std::move(path))
{
    std::string contents;
    std::string reason;
    switch (ReadRegularFile(m_path, contents, reason)) {
    case FileRead::Read:
        m_existed = true;
        parse(contents);
        return;
    case FileRead::Missing:
        break;
    case FileRead::TooLong:
    case FileRead::Refused:
        m_readError = "Unable to read " + m_path + ": " + reason;
        break;
    }
    m_sections.push_back(Section{});
}

std::string IniFile::fold(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded) {
        c = AsciiLower(c);
    }
    return folded;
}

void IniFile::addSection(Section section)
{
    // Only the first of sections with the same name is ever found.
    m_index.try_emplace(fold(section.name), m_sections.size());
    m_sections.push_back(std::move(section));
}

IniFile IniFile::fromText(std::string_view text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(std::string_view text)
{
    m_sections.clear();
    m_index.clear();
    m_sections.push_back(Section{});

    const auto firstNewline = text.find('\n');
    m_crlf = firstNewline == std::string_view::npos ||
             (firstNewline > 0 && text[firstNewline - 1] == '\r');

    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }

        Line line;
        line.text = std::string(raw);
        const std::string_view trimmed = trim(raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            std::string_view name = trimmed.substr(1);
            const auto close = name.find(']');
            if (close != std::string_view::npos) {
                name = name.substr(0, close);
            }
            Section section;
            section.hasHeader = true;
            section.name = std::string(trim(name));
            section.lines.push_back(std::move(line));
            addSection(std::move(section));
            continue;
        }
        if (!trimmed.empty() && trimmed.front() != ';') {
            const auto eq = trimmed.find('=');
            if (eq != std::string_view::npos && !trim(trimmed.substr(0, eq)).empty()) {
                line.isKey = true;
                line.key = std::string(trim(trimmed.substr(0, eq)));
                line.value = std::string(trim(trimmed.substr(eq + 1)));
            }
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    const auto found = m_index.find(fold(name));
    return found == m_index.end() ? nullptr : &m_sections[found->second];
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    return const_cast<Section*>(static_cast<const IniFile*>(this)->findSection(name));
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(trim(section));
    if (s == nullptr) {
        return std::nullopt;
    }
    key = trim(key);
    for (const Line& line : s->lines) {
        if (line.isKey && EqualsIgnoreCase(line.key, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(trim(defaultValue));
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto v = value(section, key);
    if (!v) {
        return defaultValue;
    }
    return ParseProfileInt(*v).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasSection(std::string_view section) const
{
    return findSection(trim(section)) != nullptr;
}

std::vector<std::string> IniFile::sectionNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const Section& section = m_sections[i];
        if (section.hasHeader && m_index.at(fold(section.name)) == i) {
            names.push_back(section.name);
        }
    }
    return names;
}

void IniFile::writeString(std::string_view sectionName, std::string_view keyName,
                          std::string_view newValue)
{
    sectionName = trim(sectionName);
    keyName = trim(keyName);
    // A line break inside a value would split it into lines of its own.
    std::string flat(newValue);
    for (char& c : flat) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    Line line;
    line.isKey = true;
    line.key = std::string(keyName);
    line.value = std::string(trim(flat));
    line.text = line.key + "=" + flat;

    Section* section = findSection(sectionName);
    if (section == nullptr) {
        Section added;
        added.hasHeader = true;
        added.name = std::string(sectionName);
        Line header;
        header.text = "[" + added.name + "]";
        added.lines.push_back(std::move(header));
        added.lines.push_back(std::move(line));
        addSection(std::move(added));
        m_modified = true;
        return;
    }

    for (Line& existing : section->lines) {
        if (existing.isKey && EqualsIgnoreCase(existing.key, keyName)) {
            if (existing.text != line.text) {
                existing = std::move(line);
                m_modified = true;
            }
            return;
        }
    }

    // After the last non-blank line, so that blank lines separating this
    // section from the next one stay where they are.
    size_t at = section->lines.size();
    while (at > 1 && trim(section->lines[at - 1].text).empty()) {
        --at;
    }
    section->lines.insert(section->lines.begin() + static_cast<std::ptrdiff_t>(at),
                          std::move(line));
    m_modified = true;
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

std::string IniFile::text() const
{
    const std::string_view eol = m_crlf ? "\r\n" : "\n";
    size_t size = 0;
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            size += line.text.size() + eol.size();
        }
    }
    std::string out;
    out.reserve(size);
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            out += line.text;
            out += eol;
        }
    }
    return out;
}

void IniFile::save(bool force)
{
    if (!m_modified && !force) {
        return;
    }
    // What could not be read is never replaced by what little was written.
    if (!m_readError.empty() || !WriteFileAtomically(m_path, text()).empty()) {
        throw FileWriteError("Unable to write to " + m_path, m_path);
    }
    m_modified = false;
    m_existed = true;
}

} // namespace tessaron
