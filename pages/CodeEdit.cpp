#include "pages/CodeEdit.h"

CCodeEdit::CCodeEdit(QWidget* parent) : CCharFilterEdit(parent) {}

CCodeEdit::~CCodeEdit() = default;

bool CCodeEdit::Admits(QChar c, const QString&) const
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'D') || (c >= u'a' && c <= u'd') || c == u'*' ||
           c == u'#';
}
