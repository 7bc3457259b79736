// The picture decoder on arbitrary bytes: it must fail cleanly, never crash,
// and never hand back a picture whose size disagrees with its pixels.
#include "common/JpegImage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tessaron::TJpegImage image;
    std::string error;
    if (tessaron::DecodeJpeg(data, size, image, &error)) {
        if (image.Rgb.size() != static_cast<size_t>(image.Width) * image.Height * 3) {
            std::abort();
        }
    } else if (!image.Rgb.empty() || error.empty()) {
        std::abort();
    }
    return 0;
}
