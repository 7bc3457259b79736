#include "UndoHistory.h"

namespace tessaron {

void TUndoHistory::Clear()
{
    m_steps.clear();
    m_done = 0;
    m_saved = 0;
    m_nameEditOpen = false;
}

void TUndoHistory::MarkSaved()
{
    m_saved = m_done;
    // A name typed on after a save is a new step, so the saved state stays
    // one undo away.
    m_nameEditOpen = false;
}

bool TUndoHistory::AtSavedPoint() const
{
    return m_saved == m_done;
}

void TUndoHistory::Push(TEditStep step)
{
    if (CanRedo()) {
        m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_done), m_steps.end());
        if (m_saved > m_done) {
            m_saved = Unreachable;
        }
    }
    const auto* change = std::get_if<TMacroChange>(&step);
    if (change != nullptr && change->NameEdit && m_nameEditOpen && !m_steps.empty()) {
        auto* last = std::get_if<TMacroChange>(&m_steps.back());
        if (last != nullptr && last->NameEdit && last->Key == change->Key &&
            last->Level == change->Level) {
            last->After = change->After;
            last->CursorAfter = change->CursorAfter;
            return;
        }
    }
    m_nameEditOpen = change != nullptr && change->NameEdit;
    m_steps.push_back(std::move(step));
    ++m_done;
    if (m_steps.size() > Limit) {
        m_steps.pop_front();
        --m_done;
        m_saved = m_saved == 0 || m_saved == Unreachable ? Unreachable : m_saved - 1;
    }
}

const TEditStep* TUndoHistory::Undo()
{
    if (!CanUndo()) {
        return nullptr;
    }
    m_nameEditOpen = false;
    --m_done;
    return &m_steps[m_done];
}

const TEditStep* TUndoHistory::Redo()
{
    if (!CanRedo()) {
        return nullptr;
    }
    m_nameEditOpen = false;
    ++m_done;
    return &m_steps[m_done - 1];
}

} // namespace tessaron
