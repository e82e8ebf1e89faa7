#include "app/QtMessageBox.h"

#include "app/MessageBox.h"
#include "i18n/RelabelDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MsgResult FromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        return MsgResult::Cancel; // Cancel, and Esc or the close box
    }
}

// The buttons by their dialog ids, under which the language file names them like every dialog's
// buttons; without a text there, Qt's own (translated) text stays.
constexpr std::pair<QMessageBox::StandardButton, int> kButtonIds[] = {
    {QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}, {QMessageBox::Yes, 6}, {QMessageBox::No, 7}};

MsgResult ShowQtMessage(const MessageRequest& r)
{
    QMessageBox box(ToQtIcon(r.icon), QString::fromStdString(r.caption), QString::fromStdString(r.text),
                    ToQtButtons(r.buttons), QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    for (const auto& [button, id] : kButtonIds)
        if (QAbstractButton* b = box.button(button))
            if (const QString text = ResourceText(id); !text.isEmpty())
                b->setText(text);
    return FromQtButton(box.exec());
}

} // namespace

void InstallQtMessageBox()
{
    SetMessageHandler(ShowQtMessage);
}
