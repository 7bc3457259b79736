// Any bytes as the loader's input: as the text of a download image and as a
// download stream. Reading never fails; what reads as an image is one whole
// stream, and its bytes written out as an image read back the same.
#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/DownloadStream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using namespace tessaron;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const TImageFile image = ParseDownloadImageText(text);
    if (image.Type == TImageFile::Kind::Image) {
        if (!TDownloadStream::Check(image.Bytes.data(), image.Bytes.size()).empty()) {
            std::abort();
        }
        std::string again;
        for (std::uint8_t b : image.Bytes) {
            char line[8];
            std::snprintf(line, sizeof line, "\"%02X\"\r\n", b);
            again += line;
        }
        if (ParseDownloadImageText(again).Bytes != image.Bytes) {
            std::abort();
        }
    } else if (!image.Bytes.empty()) {
        std::abort(); // a refused file hands out no bytes
    }

    // As a stream: it takes bytes until it is complete or broken, never more.
    TDownloadStream stream;
    const TDownloadStream::State state = stream.FeedAll(data, size);
    const bool whole = TDownloadStream::Check(data, size).empty();
    if (whole != (state == TDownloadStream::State::Complete &&
                  static_cast<size_t>(stream.BytesTaken()) == size)) {
        std::abort();
    }
    for (const auto& key : stream.Keys()) {
        for (const auto& level : key.Levels) {
            if (level.Length < 0 || level.Length > download::MaxBlockBytes) {
                std::abort();
            }
        }
    }
    return 0;
}
