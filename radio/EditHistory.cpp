#include "radio/EditHistory.h"

void CEditHistory::Reset(const RadioImage& image)
{
    m_states.assign(1, image);
    m_steps.clear();
    m_pos = 0;
    m_saved = 0;
}

bool CEditHistory::Record(const RadioImage& image, EditStep step)
{
    if (image == m_states[m_pos])
        return false;
    m_states.resize(m_pos + 1);
    m_steps.resize(m_pos);
    if (m_saved && *m_saved > m_pos)
        m_saved.reset();
    m_states.push_back(image);
    m_steps.push_back(std::move(step));
    ++m_pos;
    if (m_steps.size() > kMaxSteps) {
        m_states.pop_front();
        m_steps.pop_front();
        --m_pos;
        m_saved = m_saved && *m_saved > 0 ? std::optional(*m_saved - 1) : std::nullopt;
    }
    return true;
}

void CEditHistory::MarkSaved(const RadioImage& image)
{
    m_states[m_pos] = image;
    m_saved = m_pos;
}
