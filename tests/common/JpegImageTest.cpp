#include "common/JpegImage.h"
#include "common/SuiteFolder.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

#include <jpeglib.h>

namespace tessaron {
namespace {

// A w x h picture, left half red and right half blue, encoded by libjpeg.
std::vector<unsigned char> encode(int w, int h, bool progressive = false)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[x * 3 + (x < w / 2 ? 0 : 2)] = 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(out, out + size);
    std::free(out);
    return bytes;
}

TEST(JpegImageTest, DecodesBaselineAndProgressivePictures)
{
    for (const bool progressive : {false, true}) {
        const auto bytes = encode(32, 16, progressive);
        TJpegImage image;
        std::string error;
        ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), image, &error)) << error;
        EXPECT_EQ(image.Width, 32);
        EXPECT_EQ(image.Height, 16);
        ASSERT_EQ(image.Rgb.size(), 32u * 16u * 3u);
        // Lossy, but far from the other colour: red on the left, blue on the right.
        const unsigned char* left = &image.Rgb[(8 * 32 + 2) * 3];
        const unsigned char* right = &image.Rgb[(8 * 32 + 29) * 3];
        EXPECT_GT(left[0], 200);
        EXPECT_LT(left[2], 60);
        EXPECT_GT(right[2], 200);
        EXPECT_LT(right[0], 60);
    }
}

TEST(JpegImageTest, DamagedDataFailsWithAReasonAndAnEmptyImage)
{
    const auto good = encode(16, 16);
    auto oversized = good;
    // The frame header's height and width (bytes 5 to 8 after the SOF0 marker).
    for (size_t i = 0; i + 9 < oversized.size(); ++i) {
        if (oversized[i] == 0xFF && oversized[i + 1] == 0xC0) {
            oversized[i + 5] = oversized[i + 7] = 0x7F;
            break;
        }
    }
    const std::vector<unsigned char> cases[] = {
        {},
        {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'},
        std::vector<unsigned char>(good.begin(), good.begin() + 20),
        oversized,
    };
    for (const auto& bytes : cases) {
        TJpegImage image;
        image.Width = 3;
        std::string error;
        EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size(), image, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(image.Width, 0);
        EXPECT_TRUE(image.Rgb.empty());
    }
}

TEST(JpegImageTest, MissingFileFails)
{
    TJpegImage image;
    std::string error;
    EXPECT_FALSE(LoadJpegFile("/nonexistent/picture.jpg", image, &error));
    EXPECT_FALSE(error.empty());
}

TEST(SuiteFolderTest, SharedFilesAndSiblingsInTheSuiteFolderWin)
{
    test::TempHome home;
    const std::string picture = SuitePath("picture.jpg");
    const std::string program = SuitePath("Sibling");
    // Absent everywhere: the suite folder's path, for the message.
    EXPECT_EQ(SharedFilePath("picture.jpg"), picture);
    EXPECT_EQ(SiblingProgramPath("Sibling"), program);

    // Copies beside a program are found while the suite folder has none...
    test::TempDir exe;
    test::WriteFile(exe.file("picture.jpg"), "x");
    test::WriteFile(exe.file("Sibling"), "#!/bin/sh\n");
    ::chmod(exe.file("Sibling").c_str(), 0755);
    EXPECT_EQ(SharedFilePathFor(exe.path(), "picture.jpg"), exe.file("picture.jpg"));
    EXPECT_EQ(SiblingProgramPathFor(exe.path(), "Sibling"), exe.file("Sibling"));

    // ...and lose to the suite folder's own.
    home.write("picture.jpg", "x");
    home.write("Sibling", "#!/bin/sh\n");
    ::chmod(program.c_str(), 0755);
    EXPECT_EQ(SharedFilePath("picture.jpg"), picture);
    EXPECT_EQ(SiblingProgramPath("Sibling"), program);
    EXPECT_EQ(SharedFilePathFor(exe.path(), "picture.jpg"), picture);
    EXPECT_EQ(SiblingProgramPathFor(exe.path(), "Sibling"), program);
}

} // namespace
} // namespace tessaron
