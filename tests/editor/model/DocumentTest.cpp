// The document the window and the tool share: its file names, what Save does
// to them and to the changed flag, and the file the loader gets.
#include "ModelTestSupport.h"

#include "common/FileWriteError.h"
#include "common/IniFile.h"
#include "editor/model/Document.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tessaron {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(TDocument, NamesFollowNewOpenAndSave)
{
    TempDir dir;
    TDocument doc;
    EXPECT_EQ(doc.RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc.RomFileName(), "");
    EXPECT_TRUE(TDocument::IsUntitled(doc.RomFileName()));
    EXPECT_EQ(doc.LoaderFile(false), "");
    EXPECT_EQ(doc.LoaderFile(true), "");

    doc.SetModified(true);
    doc.SaveRedefinition(dir.file("keys.ckd"));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.RedefinitionFileName(), dir.file("keys.ckd"));
    EXPECT_EQ(doc.DownloadFile(), dir.file("keys.hex"));
    EXPECT_FALSE(ReadFile(dir.file("keys.hex")).empty());

    EXPECT_FALSE(doc.OpenRom(dir.file("none.rom"), nullptr));
    EXPECT_EQ(doc.RomFileName(), dir.file("none.rom")) << "named even when missing";
    EXPECT_FALSE(doc.ReadRedefinition(dir.file("none.ckd")));
    EXPECT_EQ(doc.RedefinitionFileName(), dir.file("keys.ckd"));

    doc.New();
    EXPECT_EQ(doc.RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc.RomFileName(), "untitled");
    EXPECT_EQ(doc.DownloadFile(), "");
    ASSERT_TRUE(doc.ReadRedefinition(dir.file("keys.ckd")));
    EXPECT_EQ(doc.DownloadFile(), dir.file("keys.hex"));
}

TEST(TDocument, TheLoaderGetsTheImageOrTheRomFile)
{
    TempDir dir;
    for (const std::string name : {"a \"quoted\" name.ckd", "tail\\\\", "back\\\"slash.rom"}) {
        TDocument doc;
        const std::string path = dir.file(name);
        const bool rom = name.ends_with(".rom");
        if (rom) {
            doc.SaveRom(path);
        } else {
            doc.SetDownloadFileFor(path);
        }
        const std::string expected = rom ? path : path.substr(0, path.size() - 3) + "hex";
        EXPECT_EQ(doc.LoaderFile(rom), expected) << name;
    }
}

TEST(TDocument, RomSaveFitsTheLcdTextsAndAFailedSaveKeepsTheDocumentAsItWas)
{
    TempDir dir;
    TDocument doc;
    doc.Rom().AdvancedParams.LcdSize = 16;
    doc.Rom().AdvancedParams.SignOnMsgLine1 = "Hi";
    doc.SetModified(true);
    EXPECT_THROW(doc.SaveRom(dir.file("no/folder/a.rom")), FileWriteError);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.RomFileName(), "");
    EXPECT_THROW(doc.SaveRedefinition(dir.file("no/folder/a.ckd")), FileWriteError);
    EXPECT_EQ(doc.RedefinitionFileName(), "untitled");
    EXPECT_EQ(doc.DownloadFile(), "");

    doc.SaveRom(dir.file("a.rom"));
    EXPECT_EQ(doc.Rom().AdvancedParams.SignOnMsgLine1, "Hi" + std::string(14, ' '));
    EXPECT_EQ(doc.Rom().AdvancedParams.SignOnMsgLine2, "");
    EXPECT_EQ(IniFile(dir.file("a.rom")).readString("ADVANCED_PARAMETERS", "SignOnMsgLine2", ""),
              "%%");
    EXPECT_FALSE(doc.Modified());
}

TEST(TDocument, IntegersAreDecimalOrZeroXHexadecimalInEveryFile)
{
    TempDir dir;
    const std::string globals = "[GLOBAL_PARAMETERS]\nKey_Click=$1F\nXon_Character=0X11\n"
                                "Xoff_Character=0x1f\nBaud_Rate=-0x2\nWord_Format=+7\n";
    WriteFile(dir.file("a.ckd"), globals);
    WriteFile(dir.file("a.rom"), globals + "[ADVANCED_PARAMETERS]\nHostType=$3\nCalcStart=0x2A\n");
    TDocument doc;
    ASSERT_TRUE(doc.ReadRedefinition(dir.file("a.ckd")));
    const int userKeyClick = doc.Keypad().Key_Click;
    ASSERT_TRUE(doc.OpenRom(dir.file("a.rom"), nullptr));
    const TAdvancedParams& a = doc.Rom().AdvancedParams;
    for (const auto& [got, want] : {std::pair{userKeyClick, 20},
                                    {int(a.Key_Click), 20},
                                    {int(a.Xon_Character), 17},
                                    {int(a.Xoff_Character), 31},
                                    {int(a.Baud_Rate), 3},
                                    {int(a.Word_Format), 7},
                                    {a.HostType, 0},
                                    {int(a.CalcStart), 42}}) {
        EXPECT_EQ(got, want);
    }
}

} // namespace
} // namespace tessaron
