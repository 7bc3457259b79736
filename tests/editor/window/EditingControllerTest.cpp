// The editing controller without a window: every kind of edit is one step
// that undo takes back exactly and redo does again, the saved state is known,
// and macros go to the clipboard text and come back from it.
#include "editor/window/EditingController.h"
#include "editor/model/Document.h"
#include "editor/model/MacroClip.h"
#include "tests/support/FakeKeyboardState.h"

#include <gtest/gtest.h>

#include <cstdint>
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
    void ShowPlace(int k, int l, int position) override
    {
        key = k;
        level = l;
        cursor = position;
    }
    void ShowMacroName() override {}
    void ShowKeyType(int) override {}
    void ShowProperties() override { ++propertiesShown; }
    void ShowModified(bool flag) override { modified = flag; }
    void ShowCapsLock(bool) override {}
    void ShowLengthWarning(bool longForm) override { warnings.push_back(longForm); }
    bool HexView() const override { return hex; }
    bool RomEditMode() const override { return rom; }

    std::vector<std::string> errors;
    std::vector<std::string> informations;
    int key = -1;
    int level = -1;
    int cursor = -1;
    bool modified = false;
    int propertiesShown = 0;
    std::vector<bool> warnings; // long form or not
    bool hex = false;
    bool rom = false;
};

class EditingController : public ::testing::Test
{
protected:
    TKeypadClass& keypad() { return document.Keypad(); }
    // The key and level being edited, with the cursor at a cell.
    TMacroPlace at(int cursor) const { return {key, level, cursor}; }
    const TMacroData& macro() { return keypad().Macro(key, level); }
    std::vector<int> items()
    {
        std::vector<int> result;
        for (int i = 0; i < MacroItemCount(macro()); ++i) {
            result.push_back(macro().Items[static_cast<size_t>(i)]);
        }
        return result;
    }
    void typeText(const std::string& text)
    {
        for (char c : text) {
            controller.CharacterTyped(at(keypad().ItemCount(key, level)), c);
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

    int key = 0;
    int level = 0;
    TDocument document;
    test::FakeKeyboardState keyboard;
    RecordingView view;
    TEditingController controller{document, keyboard, view};
};

TEST_F(EditingController, EveryKindOfEditIsOneStepThatUndoAndRedoRestoreExactly)
{
    keypad().Operating_Mode = 0;
    key = 6;
    level = 1;
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
        {"typed key", [&] { controller.CharacterTyped(at(2), 'x'); }},
        {"on-screen delay", [&] { controller.KeyWithLengthCheck(at(0), DelayBase + 50); }},
        {"raw code", [&] { controller.RawCodeWithLengthCheck(at(5), 173); }},
        {"MIDI message", [&] { controller.InsertMidiMessage(at(1), midi, 3); }},
        {"block delete",
         [&] {
             controller.DeleteCells(at(1), TCellBlock{1, 0, 3, 1});
         }},
        {"erase all", [&] { controller.EraseAll(at(3)); }},
        {"LED command", [&] { controller.LedCommand(at(0), 9); }},
        {"key type", [&] { controller.KeyTypeClicked(at(2), KeyTypeLevelShift); }},
        {"auto-repeat", [&] { controller.SetAutoRepeat(at(2), true); }},
        {"transmit flag", [&] { controller.SetSendLineEditKeyASAP(at(2), true); }},
        {"name", [&] { controller.SetMacroName(at(2), "Greeting"); }},
        {"paste", [&] { controller.Paste(at(3), clip); }},
        {"cut all", [&] { controller.Cut(at(0), TCellBlock{}); }},
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
        view.key = view.level = 0;
        controller.Undo();
        EXPECT_TRUE(state() == before) << what;
        if (ofAMacro) {
            EXPECT_EQ(view.key, 6) << what;
            EXPECT_EQ(view.level, 1) << what;
        } else {
            EXPECT_EQ(view.propertiesShown, 1);
        }
        controller.Redo();
        EXPECT_TRUE(state() == after) << what;
    }
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
    controller.Undo();
    EXPECT_EQ(document.Rom().ScreenData[0].TextLine1, "This is screen 1");
}

TEST_F(EditingController, CursorGoesBackToWhereTheEditWasMade)
{
    keypad().Operating_Mode = 0;
    typeText("abcd");
    controller.DeleteCells(at(1), TCellBlock{1, 0, 2, 1});
    EXPECT_EQ(items(), (std::vector<int>{'a', 'd'}));
    controller.InsertKeyCode(at(1), CharKeyTable['z']);
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
    controller.SetAutoRepeat(at(0), false);
    controller.Backspace(at(0), TCellBlock{});
    controller.DeleteCells(at(5), TCellBlock{}); // past the end: marks modified only
    controller.EraseAll(at(0));
    keyboard.shift = false;
    controller.ModifierToggled(LeftCtrl, true);
    controller.CharacterTyped(at(0), '1'); // Ctrl with a digit gives no item
    for (int i = 0; i < 100; ++i) {
        controller.InsertRawCode(at(i), 'x');
    }
    const size_t steps = controller.History().Size();
    controller.InsertRawCode(at(0), 'y'); // full
    controller.InsertKeyCode(at(0), DelayBase + 1);
    EXPECT_EQ(controller.History().Size(), steps);
    EXPECT_EQ(steps, 100u);
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{"Macro Full!", "Not enough room or macro full!"}));
}

TEST_F(EditingController, TypingANameIsOneStepPerMacroAndPerSave)
{
    controller.SetMacroName(at(0), "G");
    controller.SetMacroName(at(0), "Gr");
    controller.SetMacroName(at(0), "Gre");
    EXPECT_EQ(controller.History().Size(), 1u);
    controller.DocumentSaved();
    controller.SetMacroName(at(0), "Gree");
    EXPECT_EQ(controller.History().Size(), 2u) << "the saved name stays one undo away";
    key = 3;
    controller.SetMacroName(at(0), "Other");
    controller.SetAutoRepeat(at(0), true);
    controller.SetMacroName(at(0), "Other2");
    EXPECT_EQ(controller.History().Size(), 5u);
    for (int i = 0; i < 4; ++i) {
        controller.Undo();
    }
    EXPECT_EQ(keypad().Macro(0, 0).MacroName, "Gre");
    EXPECT_FALSE(view.modified);
}

TEST_F(EditingController, NameEditsMergeOnlyWithinOneMacro)
{
    // Typing on key 3 level 1, then on its level 2, then on key 4.
    const std::pair<int, int> places[] = {{3, 0}, {3, 0}, {3, 1}, {4, 1}};
    std::string name;
    for (const auto& [k, l] : places) {
        key = k;
        level = l;
        name += 'n';
        controller.SetMacroName(at(0), name);
    }
    EXPECT_EQ(controller.History().Size(), 3u);
    controller.Undo();
    controller.Undo();
    EXPECT_EQ(keypad().Macro(3, 1).MacroName, "") << "level 2's name is its own step";
    EXPECT_EQ(keypad().Macro(3, 0).MacroName, "nn");
}

TEST(UndoHistory, ASavePointKeepsItsPlaceWhileTheLimitDropsOlderSteps)
{
    const struct
    {
        size_t Before, After; // steps before and after the save
        bool Reachable;
    } cases[] = {
        {300, 300, true}, // 100 steps dropped, all before the save
        {1, TUndoHistory::Limit, true},
        {1, TUndoHistory::Limit + 1, false},
        {0, TUndoHistory::Limit + 1, false},
    };
    for (const auto& c : cases) {
        TUndoHistory history;
        for (size_t i = 0; i < c.Before; ++i) {
            history.Push(TMacroChange{});
        }
        history.MarkSaved();
        for (size_t i = 0; i < c.After; ++i) {
            history.Push(TMacroChange{});
        }
        for (size_t i = 0; i < c.After && history.CanUndo(); ++i) {
            EXPECT_FALSE(history.AtSavedPoint()) << c.Before << " " << i;
            history.Undo();
        }
        EXPECT_EQ(history.AtSavedPoint(), c.Reachable) << c.Before << " " << c.After;
    }
}

TEST_F(EditingController, HistoryForgetsItsOldestStepsBeyondItsLimit)
{
    keypad().Operating_Mode = 0;
    for (size_t i = 0; i < TUndoHistory::Limit + 5; ++i) {
        controller.SetAutoRepeat(at(0), i % 2 == 0);
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

// Insertions, deletions and their messages.

TEST_F(EditingController, TypedCharactersFollowTheKeyboardAndTheView)
{
    keypad().Operating_Mode = 0;
    const struct
    {
        const char* What;
        bool Shift, CapsLock, Hex;
        std::uint8_t Modifier;
        char Typed;
        std::vector<int> Items;
        const char* Name;
    } cases[] = {
        {"plain", false, false, false, 0, 'a', {'a'}, "a"},
        {"PC Shift", true, false, false, 0, 'A', {'A'}, "A"},
        {"PC Caps Lock", false, true, false, 0, 'a', {'A'}, "A"},
        {"name as the view shows it", false, false, true, 0, 'a', {'a'}, "0x61"},
        {"Ctrl with a digit gives nothing", false, false, false, LeftCtrl, '1', {}, ""},
    };
    for (const auto& c : cases) {
        key = static_cast<int>(&c - cases);
        keyboard.shift = c.Shift;
        keyboard.capsLock = c.CapsLock;
        view.hex = c.Hex;
        controller.ModifierToggled(c.Modifier, true);
        typeText(std::string(1, c.Typed));
        EXPECT_EQ(items(), c.Items) << c.What;
        EXPECT_EQ(macro().MacroName, c.Name) << c.What;
        EXPECT_EQ(controller.ModifierFlags(), 0) << c.What;
    }
    EXPECT_TRUE(view.errors.empty());
    EXPECT_TRUE(view.informations.empty());
}

TEST_F(EditingController, InsertionsThatDoNotFitChangeNothing)
{
    keypad().Operating_Mode = 0;
    const std::uint8_t midi[] = {0x90, 0x3C, 0x7F};
    const struct
    {
        const char* What;
        int FilledTo;
        std::function<void()> Insert;
        int BytesAfter;
        const char* Error; // none when it fits
    } cases[] = {
        {"a character at 99 bytes", 99, [&] { typeText("a"); }, 100, nullptr},
        {"a character at 100 bytes", 100, [&] { controller.CharacterTyped(at(50), 'b'); }, 100,
         "Not enough room or macro full!"},
        {"a delay at 99 bytes", 99, [&] { controller.KeyWithLengthCheck(at(0), DelayBase + 50); },
         99, "Not enough room or macro full!"},
        {"a raw code at 100 bytes", 100, [&] { controller.RawCodeWithLengthCheck(at(0), 161); },
         100, "Macro Full!"},
        {"a MIDI message at 98 bytes", 98, [&] { controller.InsertMidiMessage(at(98), midi, 3); },
         98, "Macro Full!"},
        {"two MIDI bytes at 98 bytes", 98, [&] { controller.InsertMidiMessage(at(98), midi, 2); },
         100, nullptr},
    };
    for (const auto& c : cases) {
        key = static_cast<int>(&c - cases);
        for (int i = 0; i < c.FilledTo; ++i) {
            controller.InsertRawCode(at(i), 'x');
        }
        view.errors.clear();
        view.modified = false;
        controller.ModifierToggled(LeftShift, true);
        c.Insert();
        EXPECT_EQ(keypad().BytesUsed(key, level), c.BytesAfter) << c.What;
        EXPECT_EQ(view.errors,
                  c.Error ? std::vector<std::string>{c.Error} : std::vector<std::string>{})
            << c.What;
        // Only a success clears the flags and changes the document.
        EXPECT_EQ(controller.ModifierFlags(), c.Error ? LeftShift : 0) << c.What;
        EXPECT_EQ(view.modified, c.Error == nullptr) << c.What;
        controller.ModifierToggled(LeftShift, false);
    }
    EXPECT_EQ(keypad().Item(4, 0, 97), 'x') << "the message was refused whole";
}

TEST_F(EditingController, BackspaceAndDeleteTakeTheirCell)
{
    keypad().Operating_Mode = 0;
    typeText("abc");
    controller.Backspace(at(3), TCellBlock{});
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b'}));
    EXPECT_EQ(view.cursor, 2);
    view.modified = false;
    controller.Backspace(at(0), TCellBlock{});
    EXPECT_EQ(items(), (std::vector<int>{'a', 'b'}));
    EXPECT_FALSE(view.modified) << "Backspace at cell 0 does nothing";
    controller.Delete(at(0), TCellBlock{});
    EXPECT_EQ(items(), std::vector<int>{'b'});
    EXPECT_EQ(view.cursor, 0);
    controller.Delete(at(20), TCellBlock{});
    EXPECT_EQ(items(), std::vector<int>{'b'});
    EXPECT_TRUE(view.modified) << "past the end only marks modified";
    EXPECT_EQ(view.cursor, 20);
}

TEST_F(EditingController, LedCommandsNoteWhatKeepsTheLedFromFollowing)
{
    const std::string hidNote =
        "Note: The LED cannot be controlled by Host or Macro in HID Keyboard mode.";
    const std::string transmitNote = "Keypad must be in True Terminal mode or key  must have "
                                     "\"Transmit this key\"\nchecked in order for the LED "
                                     "command to function.";
    const std::string greenNote = "The Green LED will not operate in your macro unless you "
                                  "change\nthe Green LED mode to Host/Macro in the Properties "
                                  "panel.";
    const std::string redNote = "The Red LED will not operate in your macro unless you "
                                "change\nthe Red LED mode to Host/Macro in the Properties panel.";
    const struct
    {
        std::uint8_t OperatingMode, LedFunction;
        bool Transmit;
        int FilledTo, Command;
        std::vector<std::string> Notes;
    } cases[] = {
        {0x31, 0x22, false, 0, 9, {hidNote}},
        {0x01, 0x22, false, 0, 13, {transmitNote}},
        {0x01, 0x22, true, 0, 11, {}},
        {0x00, 0x21, false, 0, 8, {}},
        {0x00, 0x21, false, 0, 12, {redNote}},
        {0x00, 0x12, false, 0, 10, {greenNote}},
        // The notes follow a refused insertion too.
        {0x00, 0x11, false, 99, 9, {greenNote}},
    };
    for (const auto& c : cases) {
        key = static_cast<int>(&c - cases);
        keypad().Operating_Mode = c.OperatingMode;
        keypad().LED_Function = c.LedFunction;
        controller.SetSendLineEditKeyASAP(at(0), c.Transmit);
        for (int i = 0; i < c.FilledTo; ++i) {
            controller.InsertRawCode(at(i), 'x');
        }
        view.errors.clear();
        view.informations.clear();
        controller.LedCommand(at(c.FilledTo), c.Command);
        EXPECT_EQ(view.informations, c.Notes) << key;
        EXPECT_EQ(view.errors.size(), c.FilledTo == 99 ? 1u : 0u) << key;
        EXPECT_EQ(items().back(), c.FilledTo == 99 ? 'x' : LedBase + c.Command) << key;
        EXPECT_TRUE(view.warnings.empty()) << "LED commands never warn about the length";
    }
}

TEST_F(EditingController, LengthWarningFromTwoBytesInLineEditModeOfTheEditMode)
{
    const struct
    {
        bool Rom;
        std::uint8_t UserMode, RomMode, Translation;
        std::vector<bool> Warnings; // after the first and the second character
    } cases[] = {
        {false, 1, 0, 0, {false}}, {false, 0, 1, 0, {}},    {true, 1, 0, 0, {}},
        {true, 0, 1, 0, {false}},  {true, 0, 1, 1, {true}},
    };
    for (const auto& c : cases) {
        key = static_cast<int>(&c - cases);
        view.rom = c.Rom;
        keypad().Operating_Mode = c.UserMode;
        document.Rom().AdvancedParams.Operating_Mode = c.RomMode;
        document.Rom().AdvancedParams.LcdXlate = c.Translation;
        view.warnings.clear();
        typeText("ab");
        EXPECT_EQ(view.warnings, c.Warnings) << key;
    }
    EXPECT_FALSE(controller.HideLengthWarning());
    controller.SetHideLengthWarning();
    typeText("c");
    EXPECT_EQ(view.warnings.size(), 1u) << "not again until the program ends";
}

// Copy and paste.

TEST_F(EditingController, CopyTakesTheBlockOrTheWholeMacroWithNameAndFlags)
{
    keypad().Operating_Mode = 0;
    typeText("abcdefghij"); // row 0: a..h, row 1: i j
    controller.SetAutoRepeat(at(10), true);
    const auto clip = TMacroClip::Parse(controller.CopyText(at(0), TCellBlock{}));
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Items.size(), 10u);
    EXPECT_EQ(clip->Name, "a");
    EXPECT_EQ(clip->AutoRepeat, 1);

    // Columns 1 and 2 of rows 0 and 1: b c, then j (k does not exist).
    const auto block = TMacroClip::Parse(controller.CopyText(at(0), TCellBlock{1, 0, 2, 2}));
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
    ASSERT_TRUE(controller.Paste(at(0), text));
    EXPECT_EQ(items(), (std::vector<int>{'B', 64, DelayBase + 5, LedBase + 12, PrefixEscape}));
    EXPECT_EQ(macro().MacroName, "Mixed");
    EXPECT_EQ(macro().SendLineEditKeyASAP, 1) << "an empty macro takes the flags";

    // Into a macro with items: at the cursor, its own name and flags stay.
    key = 1;
    typeText("xy");
    ASSERT_TRUE(controller.Paste(at(1), text));
    EXPECT_EQ(items().size(), 7u);
    EXPECT_EQ(items()[1], 'B');
    EXPECT_EQ(macro().MacroName, "x");
    EXPECT_EQ(macro().SendLineEditKeyASAP, 0);
    EXPECT_EQ(view.cursor, 6);
}

TEST_F(EditingController, TheClipboardTextReadsAsTheReadmeShowsIt)
{
    // Written by hand, mailed, pasted: letter case, blanks and CRLF do not
    // matter.
    ASSERT_TRUE(controller.Paste(at(0), "[tessaron macro]\r\n  name = Login \r\nAutoRepeat=0\r\n"
                                        "SendLineEditKeyASAP=0\r\nCommand_Prefix=64\r\n"
                                        "Codes=7573657209400132706173730d\r\n"));
    EXPECT_EQ(items(),
              (std::vector<int>{'u', 's', 'e', 'r', 9, DelayBase + 50, 'p', 'a', 's', 's', 13}));
    EXPECT_EQ(macro().MacroName, "Login");
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
        EXPECT_FALSE(controller.Paste(at(0), text)) << text;
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
    EXPECT_FALSE(controller.Paste(at(1), "[Tessaron Macro]\nCodes=" + codes + "\n"));
    EXPECT_EQ(view.errors, std::vector<std::string>{"Macro Full!"});
    EXPECT_TRUE(state() == before);
    EXPECT_EQ(controller.History().Size(), steps);
}

} // namespace
} // namespace tessaron
