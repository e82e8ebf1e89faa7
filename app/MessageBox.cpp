#include "app/MessageBox.h"

#include <cstdio>
#include <utility>

namespace {

MessageHandler& CurrentHandler()
{
    static MessageHandler handler;
    return handler;
}

} // namespace

MsgResult ShowMessage(const std::string& caption, const std::string& text, MsgIcon icon, MsgButtons buttons)
{
    const MessageRequest request{caption, text, icon, buttons};
    if (const MessageHandler& handler = CurrentHandler())
        return handler(request);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgResult::Yes
                                                                                : MsgResult::Ok;
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
