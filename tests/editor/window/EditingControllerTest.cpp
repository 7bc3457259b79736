// The editing controller without a window: every kind of edit is one step
// that undo takes back exactly and redo does again, the saved state is known,
// and macros go to the clipboard text and come back from it.
#include "editor/window/EditingController.h"
#include "editor/model/Document.h"
#include "editor/model/MacroClip.h"
#include "tests/support/FakeKeyboardState.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tessaron {
namespace {

class RecordingView : public TEditingView
{
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInformation(const std::string& text) override { informations.push_back(text); }
    void ShowMacro(int position) override { cursor = position; }
    void ShowPlace(int position) override { cursor = position; }
    void ShowMacroName() override {}
    void ShowKeyType(int) override {}
    void ShowProperties() override { ++propertiesShown; }
    void ShowModified(bool flag) override { modified = flag; }
    void ShowCapsLock(bool) override {}
    void ShowLengthWarning(bool) override { ++warnings; }

    std::vector<std::string> errors;
    std::vector<std::string> informations;
    int cursor = -1;
    bool modified = false;
    int propertiesShown = 0;
    int warnings = 0;
};

class EditingController : public ::testing::Test
{
protected:
    TKeypadClass& keypad() { return document.Keypad(); }
    std::vector<int> items(int key = -1, int level = -1)
    {
        const TMacroData& macro = keypad().Macro(key < 0 ? keypad().CurrentKey() : key,
                                                 level < 0 ? keypad().CurrentLevel() : level);
        std::vector<int> result;
        for (int i = 0; i < MacroItemCount(macro); ++i) {
            result.push_back(macro.Items[static_cast<size_t>(i)]);
        }
        return result;
    }
    void typeText(const std::string& text)
    {
        for (char c : text) {
            controller.CharacterTyped(keypad().ItemCount(), c);
        }
    }
    // Everything an edit can touch.
    struct State
    {
        std::array<TKeyDataRec, MaxKeys> keys;
        TUserParameters user;
        TAdvancedParams advanced;
        bool operator==(const State& other) const
        {
            for (int k = 0; k < MaxKeys; ++k) {
                if (keys[k].KeyType != other.keys[k].KeyType ||
                    !(keys[k].Levels == other.keys[k].Levels)) {
                    return false;
                }
            }
            return user == other.user && advanced == other.advanced;
        }
    };
    State state()
    {
        State s;
        for (int k = 0; k < MaxKeys; ++k) {
            s.keys[static_cast<size_t>(k)] = keypad().Keys(k);
        }
        s.user = UserParametersOf(keypad());
        s.advanced = document.Rom().AdvancedParams;
        return s;
    }

    TDocument document;
    test::FakeKeyboardState keyboard;
    RecordingView view;
    TEditingController controller{document, keyboard, view};
};

TEST_F(EditingController, EveryKindOfEditIsOneStepThatUndoAndRedoRestoreExactly)
{
    keypad().Operating_Mode = 0;
    keypad().SelectKey(6);
    keypad().SelectLevel(1);
    typeText("hello");
    const std::uint8_t midi[] = {0x90, 0x3C, 0x7F};
    // B, a delay, the escaped prefix and B, written with the prefix "A".
    const std::string clip =
        "[Tessaron Macro]\nName=clip\nCommand_Prefix=65\nCodes=42410105414042\n";
    struct Edit
    {
        const char* What;
        std::function<void()> Run;
        bool OfAMacro = true;
    };
    const Edit edits[] = {
        {"typed key", [&] { controller.CharacterTyped(2, 'x'); }},
        {"on-screen delay", [&] { controller.KeyWithLengthCheck(0, DelayBase + 50); }},
        {"raw code", [&] { controller.RawCodeWithLengthCheck(5, 173); }},
        {"MIDI message", [&] { controller.InsertMidiMessage(1, midi, 3); }},
        {"block delete",
         [&] {
             controller.DeleteCells(1, TCellBlock{1, 0, 3, 1});
         }},
        {"erase all", [&] { controller.EraseAll(3); }},
        {"LED command", [&] { controller.LedCommand(0, 9); }},
        {"key type", [&] { controller.KeyTypeClicked(2, KeyTypeLevelShift); }},
        {"auto-repeat", [&] { controller.SetAutoRepeat(2, true); }},
        {"transmit flag", [&] { controller.SetSendLineEditKeyASAP(2, true); }},
        {"name", [&] { controller.SetMacroName(2, "Greeting"); }},
        {"paste", [&] { controller.Paste(3, clip); }},
        {"cut all", [&] { controller.Cut(0, TCellBlock{}); }},
        {"properties",
         [&] {
             controller.BeginPropertyEdits();
             keypad().Key_Click = 7;
             document.Rom().AdvancedParams.LcdBrightness = 3;
             controller.PropertiesApplied();
         },
         false},
    };
    for (const auto& [what, edit, ofAMacro] : edits) {
        const State before = state();
        const size_t steps = controller.History().Size();
        edit();
        const State after = state();
        ASSERT_FALSE(after == before) << what;
        EXPECT_EQ(controller.History().Size(), steps + 1) << what;
        EXPECT_TRUE(view.modified) << what;

        // Undo from somewhere else: it goes back to the key and level too.
        keypad().SelectKey(0);
        keypad().SelectLevel(0);
        controller.Undo();
        EXPECT_TRUE(state() == before) << what;
        if (ofAMacro) {
            EXPECT_EQ(keypad().CurrentKey(), 6) << what;
            EXPECT_EQ(keypad().CurrentLevel(), 1) << what;
        } else {
            EXPECT_EQ(view.propertiesShown, 1);
            keypad().SelectKey(6);
            keypad().SelectLevel(1);
        }
        controller.Redo();
        EXPECT_TRUE(state() == after) << what;
    }
    EXPECT_EQ(document.Rom().AdvancedParamsWork.LcdBrightness, 3) << "working copy follows";
    EXPECT_TRUE(view.informations.size() >= 1) << "the LED notes still show";
}

TEST_F(EditingController, EachApplyIsOneStepWhenTheDialogReportsItBeforeWriting)
{
    // Such a dialog reports each Apply first and writes the records after.
    controller.BeginPropertyEdits();
    for (std::uint8_t line : {1, 2}) {
        controller.PropertiesApplied();
        document.Rom().ScreenData[0].TextLine1 = std::string(line, 'x');
    }
    controller.EndPropertyEdits();
    EXPECT_EQ(controller.History().Size(), 2u);
    controller.Undo();
    EXPECT_EQ(document.Rom().ScreenData[0].TextLine1, "x");
    EXPECT_EQ(document.Rom().ScreenDataWork[0].TextLine1, "x");
    controller.Undo();
    EXPECT_EQ(document.Rom().ScreenData[0].TextLine1, "This is screen 1");
}

TEST_F(EditingController, CursorGoesBackToWhereTheEditWasMade)
{
    keypad().Operating_Mode = 0;
    typeText("abcd");
    controller.DeleteCells(1, TCellBlock{1, 0, 2, 1});
    EXPECT_EQ(items(), (std::vector<int>{'a', 'd'}));
    controller.InsertKeyCode(1, CharKeyTable['z']);
    EXPECT_EQ(view.cursor, 2);
    controller.Undo();
    EXPECT_EQ(view.cursor, 1);
    controller.Undo();
    EXPECT_EQ(view.cursor, 1);
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b', 'c', 'd'}));
    controller.Redo();
    EXPECT_EQ(view.cursor, 1);
}

TEST_F(EditingController, TheSavedStateIsKnownUntilItCanNoLongerBeReached)
{
    keypad().Operating_Mode = 0;
    typeText("ab");
    controller.DocumentSaved();
    typeText("c");
    controller.Undo();
    EXPECT_FALSE(view.modified);
    controller.Undo();
    EXPECT_TRUE(view.modified);
    controller.Redo();
    EXPECT_FALSE(view.modified);

    // A new edit after an undo drops the saved state's future for good.
    controller.Undo();
    typeText("x");
    controller.Undo();
    EXPECT_TRUE(view.modified) << "'a' alone was never saved";
    controller.Redo();
    EXPECT_TRUE(view.modified);

    controller.ClearHistory();
    EXPECT_FALSE(controller.CanUndo());
    EXPECT_FALSE(controller.CanRedo());
}

TEST_F(EditingController, NothingChangedIsNoStep)
{
    keypad().Operating_Mode = 0;
    controller.SetAutoRepeat(0, false);
    controller.Backspace(0, TCellBlock{});
    controller.DeleteCells(5, TCellBlock{}); // past the end: marks modified only
    controller.EraseAll(0);
    keyboard.shift = false;
    controller.ModifierToggled(LeftCtrl, true);
    controller.CharacterTyped(0, '1'); // Ctrl with a digit gives no item
    for (int i = 0; i < 100; ++i) {
        controller.InsertRawCode(i, 'x');
    }
    const size_t steps = controller.History().Size();
    controller.InsertRawCode(0, 'y'); // full
    controller.InsertKeyCode(0, DelayBase + 1);
    EXPECT_EQ(controller.History().Size(), steps);
    EXPECT_EQ(steps, 100u);
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{"Macro Full!", "Not enough room or macro full!"}));
}

TEST_F(EditingController, TypingANameIsOneStepPerMacroAndPerSave)
{
    controller.SetMacroName(0, "G");
    controller.SetMacroName(0, "Gr");
    controller.SetMacroName(0, "Gre");
    EXPECT_EQ(controller.History().Size(), 1u);
    controller.DocumentSaved();
    controller.SetMacroName(0, "Gree");
    EXPECT_EQ(controller.History().Size(), 2u) << "the saved name stays one undo away";
    keypad().SelectKey(3);
    controller.SetMacroName(0, "Other");
    controller.SetAutoRepeat(0, true);
    controller.SetMacroName(0, "Other2");
    EXPECT_EQ(controller.History().Size(), 5u);
    for (int i = 0; i < 4; ++i) {
        controller.Undo();
    }
    EXPECT_EQ(keypad().Macro(0, 0).MacroName, "Gre");
    EXPECT_FALSE(view.modified);
}

TEST_F(EditingController, HistoryForgetsItsOldestStepsBeyondItsLimit)
{
    keypad().Operating_Mode = 0;
    for (size_t i = 0; i < TUndoHistory::Limit + 5; ++i) {
        controller.SetAutoRepeat(0, i % 2 == 0);
    }
    EXPECT_EQ(controller.History().Size(), TUndoHistory::Limit);
    size_t undone = 0;
    while (controller.CanUndo()) {
        controller.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, TUndoHistory::Limit);
    EXPECT_TRUE(view.modified) << "the saved state was forgotten";
}

// Copy and paste.

TEST_F(EditingController, CopyTakesTheBlockOrTheWholeMacroWithNameAndFlags)
{
    keypad().Operating_Mode = 0;
    typeText("abcdefghij"); // row 0: a..h, row 1: i j
    controller.SetAutoRepeat(10, true);
    const auto clip = TMacroClip::Parse(controller.CopyText(TCellBlock{}));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Items.size(), 10u);
    EXPECT_EQ(clip->Name, "a");
    EXPECT_EQ(clip->AutoRepeat, 1);

    // Columns 1 and 2 of rows 0 and 1: b c, then j (k does not exist).
    const auto block = TMacroClip::Parse(controller.CopyText(TCellBlock{1, 0, 2, 2}));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->Items, (std::vector<std::int32_t>{'b', 'c', 'j'}));
}

TEST_F(EditingController, PastedMacroKeepsItsItemsWhateverPrefixItWasWrittenWith)
{
    keypad().Operating_Mode = 0;
    TMacroClip source;
    source.Items = {'B', 64, DelayBase + 5, LedBase + 12, PrefixEscape};
    source.Name = "Mixed";
    source.SendLineEditKeyASAP = 1;
    // A document whose prefix is "A": the text differs, the items do not.
    const std::string text = source.Text('A');
    EXPECT_NE(text.find("Command_Prefix=65"), std::string::npos);
    ASSERT_TRUE(controller.Paste(0, text));
    EXPECT_EQ(items(), (std::vector<int>{'B', 64, DelayBase + 5, LedBase + 12, PrefixEscape}));
    EXPECT_EQ(keypad().MacroName(), "Mixed");
    EXPECT_EQ(keypad().SendLineEditKeyASAP(), 1) << "an empty macro takes the flags";

    // Into a macro with items: at the cursor, its own name and flags stay.
    keypad().SelectKey(1);
    typeText("xy");
    ASSERT_TRUE(controller.Paste(1, text));
    EXPECT_EQ(items().size(), 7u);
    EXPECT_EQ(items()[1], 'B');
    EXPECT_EQ(keypad().MacroName(), "x");
    EXPECT_EQ(keypad().SendLineEditKeyASAP(), 0);
    EXPECT_EQ(view.cursor, 6);
}

TEST_F(EditingController, TheClipboardTextReadsAsTheReadmeShowsIt)
{
    // Written by hand, mailed, pasted: letter case, blanks and CRLF do not
    // matter.
    ASSERT_TRUE(controller.Paste(0, "[tessaron macro]\r\n  name = Login \r\nAutoRepeat=0\r\n"
                                    "SendLineEditKeyASAP=0\r\nCommand_Prefix=64\r\n"
                                    "Codes=7573657209400132706173730d\r\n"));
    EXPECT_EQ(items(),
              (std::vector<int>{'u', 's', 'e', 'r', 9, DelayBase + 50, 'p', 'a', 's', 's', 13}));
    EXPECT_EQ(keypad().MacroName(), "Login");
}

TEST_F(EditingController, PasteRefusesWhatIsNotAMacroOrDoesNotFitAndChangesNothing)
{
    keypad().Operating_Mode = 0;
    typeText("q");
    const State before = state();
    const size_t steps = controller.History().Size();
    for (const char* text :
         {"", "hello", "Codes=41", "[Tessaron Macro]\nName=x\n", "[Tessaron Macro]\nCodes=4g\n",
          "[Tessaron Macro]\nCodes=414\n", "[Tessaron Macro]\nCodes=4001\n",
          "[Tessaron Macro]\nCodes=4003\n", "[Tessaron Macro]\nCommand_Prefix=300\nCodes=41\n"}) {
        view.errors.clear();
        EXPECT_FALSE(controller.Paste(0, text)) << text;
        EXPECT_EQ(
            view.errors,
            std::vector<std::string>{"The clipboard does not hold a macro: nothing was pasted."})
            << text;
    }
    // 34 delays are 102 bytes.
    std::string codes;
    for (int i = 0; i < 34; ++i) {
        codes += "400110";
    }
    view.errors.clear();
    EXPECT_FALSE(controller.Paste(1, "[Tessaron Macro]\nCodes=" + codes + "\n"));
    EXPECT_EQ(view.errors, std::vector<std::string>{"Macro Full!"});
    EXPECT_TRUE(state() == before);
    EXPECT_EQ(controller.History().Size(), steps);
}

} // namespace
} // namespace tessaron
