#pragma once
// Undo and redo of the radio memory: the memory after each user action, kept whole (4096 bytes a
// step), so an undo restores every byte the action touched, bookkeeping and hidden bits included.
// A marker remembers which state was last saved or opened; the document's modified flag follows it.

#include "radio/RadioImage.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

// What an action is called in the Edit menu: a language key with %1 standing for `number`.
struct EditStep
{
    std::string key;
    int number = 0;
};

class CEditHistory final
{
public:
    static constexpr std::size_t kMaxSteps = 1000;

    // A new history that starts (saved) at `image`: Open and New.
    void Reset(const RadioImage& image);
    // The memory after an action. False, and no step, when the action changed nothing. A new step
    // drops the steps that could have been redone; beyond kMaxSteps the oldest goes.
    bool Record(const RadioImage& image, EditStep step);

    bool CanUndo() const { return m_pos > 0; }
    bool CanRedo() const { return m_pos + 1 < m_states.size(); }
    // The action the next Undo or Redo takes back or does again; only when CanUndo / CanRedo.
    const EditStep& UndoStep() const { return m_steps[m_pos - 1]; }
    const EditStep& RedoStep() const { return m_steps[m_pos]; }
    // The memory to restore; only when CanUndo / CanRedo.
    const RadioImage& Undo() { return m_states[--m_pos]; }
    const RadioImage& Redo() { return m_states[++m_pos]; }

    // The current state was saved as `image` (saving recomputes bookkeeping bytes).
    void MarkSaved(const RadioImage& image);
    bool IsAtSaved() const { return m_saved == m_pos; }
    std::size_t StepCount() const { return m_steps.size(); }

private:
    std::deque<RadioImage> m_states{RadioImage{}}; // m_steps[i] leads from state i to state i + 1
    std::deque<EditStep> m_steps;
    std::size_t m_pos = 0;
    std::optional<std::size_t> m_saved = 0; // none: the saved state is no longer in the history
};
