#include "ModelTestSupport.h"

#include "common/AtomicFile.h"
#include "common/FileWriteError.h"
#include "editor/model/DownloadImage.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace tessaron {
namespace {

using test::ReadFile;
using test::SetMacro;
using test::TempDir;
using test::WriteFile;

std::string ImageText(const std::vector<int>& bytes)
{
    std::string text;
    for (int b : bytes) {
        char line[8];
        std::snprintf(line, sizeof line, "\"%02X\"\r\n", b);
        text += line;
    }
    return text;
}

// The bytes of an image file; fails the test on a malformed line.
std::vector<int> ImageBytes(const std::string& text)
{
    std::vector<int> bytes;
    for (size_t at = 0; at < text.size(); at += 6) {
        const std::string line = text.substr(at, 6);
        EXPECT_EQ(line.size(), 6u);
        EXPECT_EQ(line[0], '"');
        EXPECT_EQ(line.substr(3), "\"\r\n");
        bytes.push_back(std::stoi(line.substr(1, 2), nullptr, 16));
    }
    return bytes;
}

class DownloadImage : public ::testing::Test
{
protected:
    std::vector<int> Write(TKeypadClass& k)
    {
        WriteDownloadImage(k, m_dir.file("k.hex"), m_dir.file("Tavrix.ini"));
        return ImageBytes(ReadFile(m_dir.file("k.hex")));
    }

    // The block of key k's level (0 or 1), after the 6-byte record head.
    static std::vector<int> Block(const std::vector<int>& image, int key, int level)
    {
        size_t at = 28;
        for (int k = 0; k <= key; ++k) {
            at += 6;
            for (int l = 0; l < 2; ++l) {
                const int count = image.at(at);
                const size_t size = count == 0 ? 1 : (count <= 100 ? count + 1u : count + 1u);
                if (k == key && l == level) {
                    return {image.begin() + static_cast<std::ptrdiff_t>(at),
                            image.begin() + static_cast<std::ptrdiff_t>(at + size)};
                }
                at += size;
            }
        }
        return {};
    }

    TempDir m_dir;
};

TEST_F(DownloadImage, FreshDocumentIsByteExact)
{
    TKeypadClass k;
    std::vector<int> expected = {64, 1,  25, 200, 100, 128, 128, 128, 128, 2, 20,  1, 49, 3,
                                 8,  64, 0,  0,   13,  13,  0,   13,  0,   0, 255, 0, 0,  1};
    for (int key = 0; key < MaxKeys; ++key) {
        for (int b : {64, 2, key, 0, 0, key, 0, 0}) {
            expected.push_back(b);
        }
    }
    ASSERT_EQ(expected.size(), 188u);
    WriteDownloadImage(k, m_dir.file("fresh.hex"), m_dir.file("Tavrix.ini"));
    const std::string text = ReadFile(m_dir.file("fresh.hex"));
    EXPECT_EQ(text, ImageText(expected));
    EXPECT_EQ(text.substr(18 * 6, 6), "\"0D\"\r\n");
}

TEST_F(DownloadImage, LevelFlagsAndBlocks)
{
    TKeypadClass k;
    SetMacro(k, 0, 0, "41");
    k.SetAutoRepeat(0, 0, 1);
    SetMacro(k, 0, 1, "42");
    k.SetSendLineEditKeyASAP(0, 1, 1);
    SetMacro(k, 1, 1, "43");
    k.SetAutoRepeat(1, 1, 1);
    k.SetSendLineEditKeyASAP(1, 1, 1);
    SetMacro(k, 2, 0, "");
    k.SetAutoRepeat(2, 0, 1); // flags of an empty level do not count
    const auto image = Write(k);
    EXPECT_EQ(std::vector<int>(image.begin() + 28, image.begin() + 34),
              (std::vector<int>{64, 2, 0, 5, 3, 0}));
    EXPECT_EQ(Block(image, 0, 0), (std::vector<int>{2, 0x41, 0}));
    EXPECT_EQ(Block(image, 0, 1), (std::vector<int>{2, 0x42, 0}));
    EXPECT_EQ(Block(image, 1, 0), (std::vector<int>{0}));
    EXPECT_EQ(Block(image, 1, 1), (std::vector<int>{2, 0x43, 0}));
    const size_t key1 = 28 + 6 + 3 + 3;
    EXPECT_EQ(std::vector<int>(image.begin() + key1, image.begin() + key1 + 6),
              (std::vector<int>{64, 2, 1, 7, 0, 1}));
    const size_t key2 = key1 + 6 + 1 + 3;
    EXPECT_EQ(image[key2 + 3], 0);
    EXPECT_EQ(image[key2 + 4], 0);
}

TEST_F(DownloadImage, CommandsAreThePrefixedBytes)
{
    TKeypadClass k;
    SetMacro(k, 3, 0, "41400132400c4040");
    const auto image = Write(k);
    EXPECT_EQ(Block(image, 3, 0),
              (std::vector<int>{9, 0x41, 0x40, 1, 0x32, 0x40, 0x0C, 0x40, 0x40, 0}));
}

TEST_F(DownloadImage, HundredBytesHaveNoTerminator)
{
    TKeypadClass k;
    SetMacro(k, 0, 0, std::string(200, '7'));
    SetMacro(k, 0, 1, std::string(198, '6'));
    const auto image = Write(k);
    std::vector<int> full = {100};
    full.insert(full.end(), 100, 0x77);
    EXPECT_EQ(Block(image, 0, 0), full);
    std::vector<int> almost = {100};
    almost.insert(almost.end(), 99, 0x66);
    almost.push_back(0);
    EXPECT_EQ(Block(image, 0, 1), almost);
    EXPECT_EQ(image.size(), 188u + 100 + 100);
}

TEST_F(DownloadImage, OverLongMacroCountsItsBytes)
{
    // 99 bytes and a delay accepted at the limit: 102 bytes.
    TKeypadClass k;
    SetMacro(k, 0, 0, std::string(198, '6') + "400105");
    ASSERT_EQ(k.BytesUsed(0, 0), 102);
    const auto image = Write(k);
    const auto block = Block(image, 0, 0);
    ASSERT_EQ(block.size(), 103u);
    EXPECT_EQ(block[0], 102);
    EXPECT_EQ(block[102], 5);
}

TEST_F(DownloadImage, SerialNumberAsBcd)
{
    const struct
    {
        int serial;
        int high;
        int low;
    } cases[] = {{7, 0x00, 0x07}, {9999, 0x99, 0x99},  {1234, 0x12, 0x34},
                 {0, 0, 0},       {12345, 0x99, 0x99}, {-3, 0, 0}};
    for (const auto& c : cases) {
        TKeypadClass k;
        k.CDC_Serial_No = c.serial;
        const auto image = Write(k);
        EXPECT_EQ(image[26], c.high) << c.serial;
        EXPECT_EQ(image[27], c.low) << c.serial;
    }
}

TEST_F(DownloadImage, TypedKeys)
{
    TKeypadClass k;
    for (int key : {2, 5, 9}) {
        k.SetKeyType(key, KeyTypeLevelToggle);
    }
    for (int key : {11, 1}) {
        k.SetKeyType(key, KeyTypeLevelShift);
    }
    for (int key : {4, 17, 12}) {
        k.SetKeyType(key, KeyTypeAlphaToggle);
    }
    auto image = Write(k);
    EXPECT_EQ(image[5], 2);
    EXPECT_EQ(image[6], 9);
    EXPECT_EQ(image[7], 1);
    EXPECT_EQ(image[8], 11);
    EXPECT_EQ(image[24], 17);

    TKeypadClass one;
    one.SetKeyType(6, KeyTypeLevelShift | 0x80);
    image = Write(one);
    EXPECT_EQ(image[5], 128);
    EXPECT_EQ(image[7], 6);
    EXPECT_EQ(image[8], 128);
    EXPECT_EQ(image[24], 255);
}

TEST_F(DownloadImage, ParameterBytes)
{
    TKeypadClass k;
    k.Command_Prefix = 0x7E;
    k.Key_Roll_Over = 1;
    k.Key_Click = 41;
    k.Character_Pacing = 200;
    k.LED_Function = 0x23;
    k.Baud_Rate = 7;
    k.Word_Format = 6;
    k.Xon_Character = 17;
    k.Xoff_Character = 19;
    k.Operating_Mode = 0x31;
    k.CardReader_Tracks = 2;
    k.LineEdit_TailCharacter = 10;
    k.CardReader_StartCharacterEnable = 1;
    k.CardReader_StartCharacter = 0x25;
    k.CardReader_EndCharacterEnable = 0;
    k.RF_Keypad_ID = 6;
    const auto image = Write(k);
    const std::vector<int> head(image.begin(), image.begin() + 28);
    EXPECT_EQ(head, (std::vector<int>{0x7E, 1,   25,   200, 100, 128,  128, 128, 128,  1,
                                      20,   100, 0x23, 7,   6,   0x7E, 17,  19,  0x39, 10,
                                      0x25, 0,   0,    0,   255, 6,    0,   1}));
    EXPECT_EQ(image[28], 0x7E);
}

TEST_F(DownloadImage, MagneticCardBytesIgnoreEnableFlags)
{
    TKeypadClass k;
    k.CardReader_Type = 2;
    k.CardReader_StartCharacterEnable = 1;
    k.CardReader_EndCharacterEnable = 1;
    k.CardReader_StartSentinel = 1;
    k.CardReader_EndSentinel = 2;
    k.CardReader_FieldSeparator = 3;
    k.CardReader_BadSwipe = 4;
    auto image = Write(k);
    EXPECT_EQ(std::vector<int>(image.begin() + 20, image.begin() + 24),
              (std::vector<int>{1, 2, 3, 4}));

    k.CardReader_Type = 0;
    k.CardReader_StartCharacterEnable = 0;
    image = Write(k);
    EXPECT_EQ(std::vector<int>(image.begin() + 20, image.begin() + 24),
              (std::vector<int>{0, 13, 0, 0}));
}

TEST_F(DownloadImage, ReplacesTheFile)
{
    TKeypadClass k;
    WriteFile(m_dir.file("k.hex"), std::string(5000, 'x'));
    const auto image = Write(k);
    EXPECT_EQ(image.size(), 188u);
}

TEST_F(DownloadImage, FailureRaisesNamingTheFileAndKeepsTheOldOne)
{
    TKeypadClass k;
    k.DOWNLOAD_DELAY = 40;
    const std::string settings = m_dir.file("Tavrix.ini");
    WriteFile(settings, "[Com Port Configuration]\r\nComPort=3\r\n");

    const std::string missing = m_dir.file("gone/k.hex");
    try {
        WriteDownloadImage(k, missing, settings);
        FAIL() << "no error raised";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.path(), missing);
        EXPECT_EQ(std::string(e.what()).rfind("Unable to write to " + missing, 0), 0u) << e.what();
    }
    EXPECT_THROW(WriteDownloadImage(k, m_dir.path(), settings), FileWriteError);

    const std::string old = m_dir.file("old.hex");
    WriteFile(old, "\"01\"\r\n");
    {
        test::FileSizeLimit limit(64);
        EXPECT_THROW(WriteDownloadImage(k, old, settings), FileWriteError);
    }
    EXPECT_EQ(ReadFile(old), "\"01\"\r\n");
    // The loader's settings are only updated after a written image.
    EXPECT_EQ(ReadFile(settings), "[Com Port Configuration]\r\nComPort=3\r\n");
}

TEST_F(DownloadImage, UpdatesDownloadDelayOnlyWhenAPortIsNamed)
{
    const std::string settings = m_dir.file("Tavrix.ini");
    TKeypadClass k;
    k.DOWNLOAD_DELAY = 60;

    Write(k);
    EXPECT_FALSE(FileExists(settings)) << "a missing settings file is never created";

    const std::string noPort = "[Com Port Configuration]\r\nComType=U\r\n";
    WriteFile(settings, noPort);
    Write(k);
    EXPECT_EQ(ReadFile(settings), noPort);

    const std::string minusOne = "[Com Port Configuration]\r\nComPort=-1\r\nDownloadDelay=5\r\n";
    WriteFile(settings, minusOne);
    Write(k);
    EXPECT_EQ(ReadFile(settings), minusOne);

    WriteFile(settings, "; loader\r\n[Com Port Configuration]\r\nComPort=3\r\nComType=U\r\n");
    Write(k);
    EXPECT_EQ(ReadFile(settings), "; loader\r\n[Com Port Configuration]\r\nComPort=3\r\n"
                                  "ComType=U\r\nDownloadDelay=60\r\n");

    k.DOWNLOAD_DELAY = 0;
    Write(k);
    EXPECT_EQ(ReadFile(settings), "; loader\r\n[Com Port Configuration]\r\nComPort=3\r\n"
                                  "ComType=U\r\nDownloadDelay=0\r\n");

    WriteFile(settings, "[com port configuration]\ncomport=0\n");
    k.DOWNLOAD_DELAY = 7;
    Write(k);
    EXPECT_EQ(ReadFile(settings), "[com port configuration]\ncomport=0\nDownloadDelay=7\n");
}

TEST(DownloadImagePath, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(DownloadImagePath("/a/keys.ckd"), "/a/keys.hex");
    EXPECT_EQ(DownloadImagePath("keys.CKD"), "keys.hex");
    EXPECT_EQ(DownloadImagePath("keys.ab"), "keyshex");
    EXPECT_EQ(DownloadImagePath("ab"), "hex");
}

} // namespace
} // namespace tessaron
