#pragma once

#include "editor/model/AdvancedClass.h"
#include "editor/model/GlobalParameters.h"
#include "editor/model/KeypadClass.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <variant>

namespace tessaron {

// A key's type and one of its macros.
struct TMacroSnapshot
{
    std::uint8_t KeyType = KeyTypeNone;
    TMacroData Macro;

    bool operator==(const TMacroSnapshot&) const = default;
};

// Everything that the property dialogs edit.
struct TPropertySnapshot
{
    TUserParameters User{};
    TAdvancedParams Advanced{};
    TScreenDataArray Screens{};

    bool operator==(const TPropertySnapshot&) const = default;
};

// One edit of one macro (its items, name and flags, or its key's type), with
// where the grid cursor stood before and after it.
struct TMacroChange
{
    int Key = 0;
    int Level = 0;
    int CursorBefore = 0;
    int CursorAfter = 0;
    TMacroSnapshot Before;
    TMacroSnapshot After;
    // Typing a name is one step, however many keys it takes.
    bool NameEdit = false;
};

// One Apply of a property dialog.
struct TPropertyChange
{
    TPropertySnapshot Before;
    TPropertySnapshot After;
};

using TEditStep = std::variant<TMacroChange, TPropertyChange>;

// The document's undo and redo history: a line of steps with the place of the
// last save in it, so that undoing back to the saved state is known to be it.
class TUndoHistory
{
public:
    // Older steps are forgotten beyond this many.
    static constexpr std::size_t Limit = 500;

    // Empties the history; the document as it is counts as saved.
    void Clear();
    // The document as it is has just been saved.
    void MarkSaved();
    bool AtSavedPoint() const;

    // Records a step that has been done; any steps undone before are dropped.
    // A name edit of the macro whose name was edited by the step before is
    // merged into it.
    void Push(TEditStep step);

    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_steps.size(); }
    // The step to take back or to do again; null when there is none.
    const TEditStep* Undo();
    const TEditStep* Redo();

    std::size_t Size() const { return m_steps.size(); }

private:
    static constexpr std::size_t Unreachable = static_cast<std::size_t>(-1);

    std::deque<TEditStep> m_steps;
    std::size_t m_done = 0;
    // m_done when the document was last saved.
    std::size_t m_saved = 0;
    // The last step may still take in further name edits.
    bool m_nameEditOpen = false;
};

} // namespace tessaron
