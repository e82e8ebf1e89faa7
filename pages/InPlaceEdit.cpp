#include "pages/InPlaceEdit.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// Accepts a text when every character is admitted after the characters in front of it.
class CCharFilter final : public QValidator
{
public:
    explicit CCharFilter(CCharFilterEdit* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int&) const override
    {
        for (qsizetype i = 0; i < input.size(); ++i)
            if (!m_edit->Admits(input[i], input.left(i)))
                return Invalid;
        return Acceptable;
    }

private:
    const CCharFilterEdit* m_edit;
};

} // namespace

CCharFilterEdit::CCharFilterEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new CCharFilter(this));
}

CCharFilterEdit::~CCharFilterEdit() = default;

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
