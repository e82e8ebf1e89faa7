#pragma once
// Builds the controls of a DialogTemplate as children of a widget and finds them again by id.

#include "res/DialogTemplate.h"

#include <QPointF>
#include <QRect>
#include <QWidget>
#include <functional>

class CDialogBuilder final
{
public:
    // Makes the widget of a Custom control; gets the control's id and its parent.
    using CustomFactory = std::function<QWidget*(int id, QWidget* parent)>;

    // Creates every control of the template as a direct child of `dialog`, in template order
    // (the order relabelling visits them), tags each with its id and names it after the id (the
    // objectName tests find it by), sets the dialog's caption and fixed size. Returns nothing; use
    // GetDlgItem to reach the controls.
    static void Build(QWidget* dialog, const DialogTemplate& tmpl, const CustomFactory& factory = {});

    // Dialog units to pixels for the dialog's font.
    static QRect MapDialogRect(const QWidget* dialog, int x, int y, int w, int h);
    // Horizontal base: average width of the 52 letters; vertical base: the font height.
    static QPointF DialogBaseUnits(const QWidget* dialog);
};

// The direct child of `dialog` carrying control id `id`, or nullptr.
QWidget* GetDlgItem(const QWidget* dialog, int id);

// The control id of a widget made by CDialogBuilder, or -1.
int GetDlgCtrlId(const QWidget* widget);

template <class T> T* GetDlgItemAs(const QWidget* dialog, int id)
{
    return qobject_cast<T*>(GetDlgItem(dialog, id));
}
