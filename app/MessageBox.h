#pragma once
// The one way every part of the program shows a message box. The GUI installs a QMessageBox
// handler, the command-line tool a console one, tests a scripted one (CScriptedMessages).

#include <functional>
#include <string>

enum class MsgIcon
{
    Stop,
    Exclamation,
    Information,
    Question,
    None
};
enum class MsgButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel
};
enum class MsgResult
{
    Ok,
    Cancel,
    Yes,
    No
};

struct MessageRequest
{
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::Exclamation;
    MsgButtons buttons = MsgButtons::Ok;
};

using MessageHandler = std::function<MsgResult(const MessageRequest&)>;

// Shows a message through the installed handler. Without a handler the text goes to standard
// error and the answer is the first button (OK or Yes).
MsgResult ShowMessage(const std::string& caption, const std::string& text, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok);

// Installs a handler and returns the previous one (an empty handler restores the default).
MessageHandler SetMessageHandler(MessageHandler handler);
