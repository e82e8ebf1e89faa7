#include "pages/FrequencyEdit.h"

#include <QKeyEvent>

CFrequencyEdit::CFrequencyEdit(QWidget* parent) : CInPlaceEdit(9, parent) {}

CFrequencyEdit::~CFrequencyEdit() = default;

bool CFrequencyEdit::Admits(QChar c, const QString& before) const
{
    return (c >= u'0' && c <= u'9') || (c == u'.' && !before.contains(u'.'));
}

void CFrequencyEdit::keyPressEvent(QKeyEvent* e)
{
    // A typed point is refused while the text holds one anywhere, even inside the selection.
    if (e->text() == QStringLiteral(".") && text().contains(u'.')) {
        e->accept();
        return;
    }
    CInPlaceEdit::keyPressEvent(e);
}
