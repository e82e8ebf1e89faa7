#pragma once
// Filtered edit of the channel table that opens over a grid cell, restores its original text on Esc
// and hands the focus back to its owner on Enter and Esc, so that the owner's focus-out handler
// commits the value.

#include "pages/CharFilterEdit.h"

class CInPlaceEdit : public CCharFilterEdit
{
    Q_OBJECT
public:
    explicit CInPlaceEdit(int textLimit, QWidget* parent = nullptr);
    ~CInPlaceEdit() override;

    // Opens over `rect` (owner's coordinates) with the cell's text, all of it selected.
    void BeginEdit(const QRect& rect, const QString& text);
    void EndEdit();
    bool IsOpen() const { return isEnabled() && isVisible(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    int m_nTextLimit = 0;
    QString m_strOriginal;
};

// Gives the focus back to the editor's owner (its parent), which then sees the editor's focus-out.
void ReturnFocusToOwner(QWidget* editor);

// Whether `event` takes the focus away from an in-place editor for good, which ends its edit: not
// while a popup of its own (a drop-down list, an edit's context menu) has the focus.
bool EndsInPlaceEdit(const QObject* editor, const QEvent* event);
