#include "pages/NameEdit.h"

CNameEdit::CNameEdit(QWidget* parent) : CInPlaceEdit(5, parent) {}

CNameEdit::~CNameEdit() = default;

bool CNameEdit::Admits(QChar c, const QString&) const
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u' ' ||
           c == u'*' || c == u'+' || c == u'-' || c == u'_';
}
