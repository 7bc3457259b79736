#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// The file the loader is given: a download image (one byte per line, as a
// double quote, two hexadecimal digits and a double quote) whose bytes form one
// whole download stream. The editor's other documents are told apart, so that
// the loader can say what it was handed instead.
struct TImageFile
{
    enum class Kind
    {
        Image,            // Bytes holds the stream
        Missing,          // no file at the path
        Unreadable,       // Problem says why
        RomFile,          // the editor's ROM Edit mode document
        RedefinitionFile, // the editor's USER mode document (.ckd)
        Malformed,        // Problem says where and why
    };

    Kind Type = Kind::Missing;
    std::string Problem;
    std::vector<std::uint8_t> Bytes;
};

// A download image is at most 4188 bytes (6 text characters each); anything
// far larger is refused unread.
constexpr std::size_t MaxImageFileSize = 256 * 1024;

TImageFile ReadDownloadImageFile(const std::string& path);
TImageFile ParseDownloadImageText(std::string_view text);

} // namespace tessaron
