#include "pages/InPlaceEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

CInPlaceEdit::CInPlaceEdit(int textLimit, QWidget* parent) : CCharFilterEdit(parent), m_nTextLimit(textLimit)
{
    setAlignment(Qt::AlignCenter);
}

CInPlaceEdit::~CInPlaceEdit() = default;

void CInPlaceEdit::BeginEdit(const QRect& rect, const QString& text)
{
    show();
    setEnabled(true);
    setMaxLength(m_nTextLimit);
    setGeometry(rect);
    raise();
    setText(text);
    selectAll();
    m_strOriginal = text;
    setFocus(Qt::OtherFocusReason);
}

void CInPlaceEdit::EndEdit()
{
    setEnabled(false);
    hide();
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape)
        setText(m_strOriginal);
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        ReturnFocusToOwner(this);
        e->accept();
        return;
    }
    CCharFilterEdit::keyPressEvent(e);
}

void ReturnFocusToOwner(QWidget* editor)
{
    if (QWidget* owner = editor->parentWidget())
        owner->setFocus(Qt::OtherFocusReason);
}

bool EndsInPlaceEdit(const QObject* editor, const QEvent* event)
{
    if (event->type() != QEvent::FocusOut ||
        static_cast<const QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
        return false;
    // The window system may report an open drop-down list as another window taking the focus.
    const auto* list = qobject_cast<const QComboBox*>(editor);
    return !(list && list->view()->isVisible());
}
