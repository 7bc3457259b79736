#include "DownloadImageFile.h"

#include "DownloadStream.h"

#include "common/AsciiText.h"
#include "common/AtomicFile.h"
#include "common/IniFile.h"

#include <cstdio>
#include <cstring>

namespace tessaron {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// A line as it can be shown in a message: cut short, control bytes escaped.
std::string shown(std::string_view line)
{
    std::string out;
    for (char c : line.substr(0, 40)) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", u);
            out += esc;
        } else {
            out += c;
        }
    }
    if (line.size() > 40) {
        out += "...";
    }
    return out;
}

TImageFile malformed(std::string problem)
{
    TImageFile f;
    f.Type = TImageFile::Kind::Malformed;
    f.Problem = std::move(problem);
    return f;
}

// The editor's INI documents: a ROM file has ADVANCED_PARAMETERS besides the
// GLOBAL_PARAMETERS that both kinds have.
bool editorDocument(std::string_view text, TImageFile& f)
{
    const IniFile ini = IniFile::fromText(text);
    if (ini.hasSection("ADVANCED_PARAMETERS")) {
        f.Type = TImageFile::Kind::RomFile;
        return true;
    }
    if (ini.hasSection("GLOBAL_PARAMETERS")) {
        f.Type = TImageFile::Kind::RedefinitionFile;
        return true;
    }
    return false;
}

} // namespace

TImageFile ParseDownloadImageText(std::string_view text)
{
    TImageFile f;
    if (editorDocument(text, f)) {
        return f;
    }
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        const std::string_view line = trim(raw);
        if (line.empty()) {
            continue;
        }
        const int high = line.size() == 4 ? HexDigitValue(line[1]) : -1;
        const int low = line.size() == 4 ? HexDigitValue(line[2]) : -1;
        if (line.size() != 4 || line[0] != '"' || line[3] != '"' || high < 0 || low < 0) {
            const std::string_view ending =
                raw.substr(0, raw.size() - (raw.ends_with('\r') ? 1 : 0));
            return malformed("line " + std::to_string(lineNumber) + " (\"" + shown(ending) +
                             "\") is not a byte written as \"XX\"");
        }
        f.Bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    const std::string problem = TDownloadStream::Check(f.Bytes.data(), f.Bytes.size());
    if (!problem.empty()) {
        return malformed(problem);
    }
    f.Type = TImageFile::Kind::Image;
    return f;
}

TImageFile ReadDownloadImageFile(const std::string& path)
{
    TImageFile f;
    std::string text;
    switch (ReadRegularFile(path, text, f.Problem)) {
    case FileRead::Read:
        if (text.size() <= MaxImageFileSize) {
            return ParseDownloadImageText(text);
        }
        [[fallthrough]];
    case FileRead::TooLong:
        f.Type = TImageFile::Kind::Malformed;
        f.Problem = "the file is far longer than a download image can be";
        return f;
    case FileRead::Missing:
        f.Type = TImageFile::Kind::Missing;
        return f;
    case FileRead::Refused:
        f.Type = TImageFile::Kind::Unreadable;
        return f;
    }
    return f;
}

} // namespace tessaron
