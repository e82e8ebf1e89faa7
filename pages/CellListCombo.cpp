#include "pages/CellListCombo.h"

#include "pages/InPlaceEdit.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace {

bool IsEndKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CCellListCombo::CCellListCombo(QWidget* parent) : QComboBox(parent)
{
    // A list of sixteen entries under the cell: the desktop style would otherwise open it as a
    // menu as tall as the screen, covering the dialog and the cell being edited.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(16);
    view()->installEventFilter(this);
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

bool CCellListCombo::eventFilter(QObject* watched, QEvent* event)
{
    // Enter and Esc in the dropped-down list: the list closes (Enter choosing the highlighted entry),
    // then the key goes to this control as if pressed on the closed list.
    if (watched != view() || !IsEndKey(event))
        return QComboBox::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const int highlighted = view()->currentIndex().row();
        hidePopup();
        if (key->key() != Qt::Key_Escape && highlighted >= 0)
            setCurrentIndex(highlighted);
        QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers());
        QCoreApplication::sendEvent(this, &again);
    }
    return true;
}

void CCellListCombo::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape)
        RestoreOriginal();
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // A choice may have ended the edit already.
        if (IsOpen())
            ReturnFocusToOwner(this);
        e->accept();
        return;
    }
    QComboBox::keyPressEvent(e);
}
