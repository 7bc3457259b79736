#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessaron {

// A decoded picture: 8-bit RGB, three bytes a pixel, rows from the top.
struct TJpegImage
{
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Rgb;
};

// The largest picture accepted, so that a damaged header cannot make us
// allocate gigabytes: the pictures the windows show are a few hundred pixels.
constexpr int kMaxJpegSide = 4096;

// Decodes a JPEG held in memory (baseline or progressive, grey or colour).
// False, with image emptied and a reason in error, for anything that is not a
// whole picture of at most kMaxJpegSide on each side.
bool DecodeJpeg(const unsigned char* data, std::size_t size, TJpegImage& image,
                std::string* error = nullptr);

// The same for a file.
bool LoadJpegFile(const std::string& path, TJpegImage& image, std::string* error = nullptr);

} // namespace tessaron
