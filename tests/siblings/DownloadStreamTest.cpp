// The download image read back: the file reader, the stream check that the
// loader runs before sending, and the simulated keypads' decoder.
#include "SiblingsTestSupport.h"

#include "siblings/core/DownloadImageFile.h"
#include "siblings/core/DownloadStream.h"
#include "tests/editor/model/ModelTestSupport.h"
#include "tests/fakes/DownloadDecoder.h"

#include <gtest/gtest.h>

#include <functional>

namespace tessaron::test {
namespace {

using Kind = TImageFile::Kind;

std::string Repeat(const std::string& pair, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += pair;
    }
    return text;
}

// A document with typed keys and macros at the block size limits.
void FillDocument(TKeypadClass& k)
{
    k.SetKeyType(3, KeyTypeLevelToggle);
    k.SetKeyType(7, KeyTypeLevelShift);
    k.SetKeyType(9, KeyTypeAlphaToggle);
    SetMacro(k, 0, 0, "41");
    k.SetAutoRepeat(0, 0, 1);
    SetMacro(k, 5, 1, Repeat("42", 100)); // 100 bytes: no terminator
    SetMacro(k, 6, 0, Repeat("43", 99));  // 99 bytes and the terminator
    SetMacro(k, 8, 0, "4001054040");      // a delay and the escaped prefix
    k.SetSendLineEditKeyASAP(8, 0, 1);
    k.CDC_Serial_No = 1234;
}

TEST(DownloadStream, ReadsBackWhatTheEditorWrites)
{
    const TempDir dir;
    struct Case
    {
        const char* name;
        std::function<void(TKeypadClass&)> fill;
        size_t bytes;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"fresh document",
         [](TKeypadClass&) {},
         188,
         {"Key_Roll_Over: 2\n", "Level Toggle key 1: none\n", "Alpha Toggle key: none\n",
          "CDC_Serial_No: 0001\n", "no macros: KEY0 KEY1"}},
        {"typed keys, full macros",
         FillDocument,
         188 + 2 + 100 + 100 + 6,
         {"Level Toggle key 1: KEY3\n", "Level Shift key 1: KEY7\n", "Alpha Toggle key: KEY9\n",
          "CDC_Serial_No: 1234\n", "KEY0 level 1 (AutoRepeat): [A]\n",
          "KEY8 level 1 (SendLineEditKeyASAP): [Dly 20] [@@]\n",
          "KEY5 level 2: " + Repeat("[B] ", 99) + "[B]\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKeypadClass k;
        c.fill(k);
        const TImageFile image = ParseDownloadImageText(ImageTextOf(k, dir));
        ASSERT_EQ(image.Type, Kind::Image) << image.Problem;
        ASSERT_EQ(image.Bytes.size(), c.bytes);

        TDownloadStream stream;
        EXPECT_EQ(stream.FeedAll(image.Bytes.data(), image.Bytes.size()),
                  TDownloadStream::State::Complete);
        EXPECT_EQ(stream.BytesTaken(), static_cast<int>(c.bytes));
        for (size_t i = 0; i < download::ParameterRecordLength; ++i) {
            EXPECT_EQ(stream.Parameters()[i], image.Bytes[i]) << "parameter byte " << i;
        }
        // Every level's bytes are the macro's text form, flags as the writer made them.
        for (int key = 0; key < MaxKeys; ++key) {
            for (int level = 0; level < 2; ++level) {
                const auto& got = stream.Keys()[key].Levels[level];
                std::string hex;
                for (int i = 0; i < got.Length; ++i) {
                    char pair[3];
                    std::snprintf(pair, sizeof pair, "%02x", got.Bytes[i]);
                    hex += pair;
                }
                EXPECT_EQ(hex, k.MacroText(key, level)) << "key " << key << " level " << level + 1;
                EXPECT_EQ(got.Flags == 0, k.ItemCount(key, level) == 0);
            }
        }
        const std::string listing = DownloadDecoder::Listing(stream);
        for (const std::string& line : c.listed) {
            EXPECT_NE(listing.find(line), std::string::npos) << line << "\nin\n" << listing;
        }
    }
}

TEST(DownloadImageFile, TellsWhatIsWrongWithAFile)
{
    const TempDir dir;
    TKeypadClass k;
    SetMacro(k, 2, 0, "41");
    const std::string good = ImageTextOf(k, dir);
    const size_t lines = good.size() / 6;
    auto withLine = [&good](size_t line, const std::string& text) {
        std::string changed = good;
        changed.replace(line * 6, 4, text);
        return changed;
    };
    const size_t key2 = 28 + 2 * 8; // keys 0 and 1 are 8 bytes each
    struct Case
    {
        const char* name;
        std::string text;
        Kind kind;
        std::string problem; // a part of it
    };
    const Case cases[] = {
        {"lower case, LF ends, blank last line",
         "\n" +
             [&] {
                 std::string t = good;
                 for (size_t at; (at = t.find("\r\n")) != std::string::npos;) {
                     t.replace(at, 2, "\n");
                 }
                 return t + "\n";
             }(),
         Kind::Image, ""},
        {"empty file", "", Kind::Malformed, "the image is empty"},
        {"not a byte", withLine(3, "\"C\" "), Kind::Malformed, "line 4 (\"\"C\" \")"},
        {"no quotes", withLine(0, " 40 "), Kind::Malformed, "line 1"},
        {"cut short", good.substr(0, good.size() - 6), Kind::Malformed,
         "ends early, after " + std::to_string(lines - 1) + " bytes (key 19, level 2)"},
        {"a byte too many", good + "\"00\"\r\n", Kind::Malformed,
         "1 bytes follow the end of the image"},
        {"wrong record kind", withLine(1, "\"02\""), Kind::Malformed, "not a download image"},
        {"keys out of order", withLine(key2 + 2, "\"03\""), Kind::Malformed,
         "(record of key 2): key number 3, 2 expected"},
        {"macro too long", withLine(key2 + 6, "\"65\""), Kind::Malformed, "a macro of 101 bytes"},
        {"terminator missing", withLine(key2 + 8, "\"01\""), Kind::Malformed,
         "does not end with its terminating 0"},
        {"ROM file", "[GLOBAL_PARAMETERS]\r\nMODEL_NUMBER=Plindorax\r\n[ADVANCED_PARAMETERS]\r\n",
         Kind::RomFile, ""},
        {"redefinition file", "[GLOBAL_PARAMETERS]\r\nDOWNLOAD_DELAY=0\r\n[KEY0]\r\n",
         Kind::RedefinitionFile, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("case.hex");
        WriteFile(path, c.text);
        const TImageFile f = ReadDownloadImageFile(path);
        EXPECT_EQ(f.Type, c.kind) << f.Problem;
        EXPECT_NE(f.Problem.find(c.problem), std::string::npos) << f.Problem;
        EXPECT_TRUE(c.kind == Kind::Image || f.Bytes.empty());
    }

    EXPECT_EQ(ReadDownloadImageFile(dir.file("none.hex")).Type, Kind::Missing);
    EXPECT_EQ(ReadDownloadImageFile(dir.path()).Type, Kind::Unreadable);
    WriteFile(dir.file("big.hex"), std::string(MaxImageFileSize + 1, '"'));
    EXPECT_EQ(ReadDownloadImageFile(dir.file("big.hex")).Type, Kind::Malformed);
}

class Decoder : public ::testing::Test
{
protected:
    using Clock = DownloadDecoder::Clock;

    Decoder()
    {
        TKeypadClass k;
        SetMacro(k, 1, 0, "4849");
        image = ParseDownloadImageText(ImageTextOf(k, dir)).Bytes;
    }

    // Feeds in chunks of at most chunk bytes, all at time at; returns what was passed on.
    std::string Feed(const std::string& bytes, size_t chunk, Clock::time_point at)
    {
        std::string passed;
        for (size_t i = 0; i < bytes.size(); i += chunk) {
            const std::string part = bytes.substr(i, chunk);
            decoder.Feed(reinterpret_cast<const std::uint8_t*>(part.data()), part.size(), at,
                         passed);
        }
        return passed;
    }

    std::string Image() const { return std::string(image.begin(), image.end()); }

    TempDir dir;
    std::vector<std::uint8_t> image;
    DownloadDecoder decoder;
};

TEST_F(Decoder, TakesTheImageOutOfOtherTrafficInReportsOfSevenBytes)
{
    const std::string passed = Feed(std::string("@\x06") + Image() + "@CHello", 7, Clock::now());
    EXPECT_EQ(passed, std::string("@\x06@CHello"));
    ASSERT_EQ(decoder.Downloads().size(), 1u);
    const auto& d = decoder.Downloads()[0];
    EXPECT_TRUE(d.Complete);
    EXPECT_EQ(d.Bytes, static_cast<int>(image.size()));
    EXPECT_NE(d.Listing.find("KEY1 level 1: [H] [I]\n"), std::string::npos) << d.Listing;
    EXPECT_NE(
        decoder.Report().find("download 1: " + std::to_string(image.size()) + " bytes, complete\n"),
        std::string::npos);
}

TEST_F(Decoder, BrokenOrStalledDownloadEndsIncomplete)
{
    const Clock::time_point t = Clock::now();
    std::string broken = Image();
    broken[28 + 2] = 7; // key 0's record names key 7
    const std::string passed = Feed(broken.substr(0, 40) + "xyz", 1, t);
    ASSERT_EQ(decoder.Downloads().size(), 1u);
    EXPECT_FALSE(decoder.Downloads()[0].Complete);
    EXPECT_NE(decoder.Downloads()[0].Problem.find("key number 7"), std::string::npos);
    // Byte by byte, the head's first four bytes had gone on before it was known.
    EXPECT_EQ(passed.substr(0, 4), broken.substr(0, 4));
    EXPECT_EQ(passed.substr(passed.size() - 3), "xyz");

    Feed(Image().substr(0, 100), 1, t);
    EXPECT_TRUE(decoder.Receiving());
    EXPECT_FALSE(decoder.ExpireIfQuiet(t + std::chrono::milliseconds(1999)));
    EXPECT_TRUE(decoder.ExpireIfQuiet(t + std::chrono::milliseconds(2000)));
    EXPECT_FALSE(decoder.Receiving());
    EXPECT_NE(decoder.Report().find("download 2: 100 bytes, incomplete: abandoned after 100"),
              std::string::npos)
        << decoder.Report();
}

} // namespace
} // namespace tessaron::test
