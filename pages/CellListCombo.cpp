#include "pages/CellListCombo.h"

#include "pages/InPlaceEdit.h"

#include <QKeyEvent>
#include <QSignalBlocker>

CCellListCombo::CCellListCombo(QWidget* parent) : QComboBox(parent)
{
    setMaxVisibleItems(16);
}

CCellListCombo::~CCellListCombo() = default;

bool CCellListCombo::SelectEntryStartingWith(const QString& text)
{
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            const QSignalBlocker quiet(this);
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void CCellListCombo::BeginEdit(const QRect& rect, const QString& text)
{
    show();
    setEnabled(true);
    m_strOriginal = text;
    SelectEntryStartingWith(text);
    setGeometry(rect);
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CCellListCombo::EndEdit()
{
    setEnabled(false);
    hide();
}

void CCellListCombo::RestoreOriginal()
{
    SelectEntryStartingWith(m_strOriginal);
}

void CCellListCombo::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape)
        RestoreOriginal();
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        ReturnFocusToOwner(this);
        e->accept();
        return;
    }
    QComboBox::keyPressEvent(e);
}
