#pragma once
// For tests: answers message boxes from a script and records every question asked.
// Installed for its lifetime; an unscripted question is answered with the first button.

#include "app/MessageBox.h"

#include <deque>
#include <vector>

class CScriptedMessages final
{
public:
    CScriptedMessages()
    {
        m_previous = SetMessageHandler([this](const MessageRequest& r) { return Answer(r); });
    }
    ~CScriptedMessages() { SetMessageHandler(std::move(m_previous)); }
    CScriptedMessages(const CScriptedMessages&) = delete;
    CScriptedMessages& operator=(const CScriptedMessages&) = delete;

    void Queue(MsgResult answer) { m_answers.push_back(answer); }
    const std::vector<MessageRequest>& Asked() const { return m_asked; }
    void Clear() { m_asked.clear(); }

private:
    MsgResult Answer(const MessageRequest& r)
    {
        m_asked.push_back(r);
        if (!m_answers.empty()) {
            const MsgResult a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        return (r.buttons == MsgButtons::YesNo || r.buttons == MsgButtons::YesNoCancel) ? MsgResult::Yes
                                                                                        : MsgResult::Ok;
    }

    MessageHandler m_previous;
    std::deque<MsgResult> m_answers;
    std::vector<MessageRequest> m_asked;
};
