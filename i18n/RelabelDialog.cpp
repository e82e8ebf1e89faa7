#include "i18n/RelabelDialog.h"

#include "app/AppPaths.h"
#include "i18n/Profile.h"
#include "res/DialogBuilder.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace {

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
}

} // namespace

QString ResourceText(int key)
{
    return QString::fromStdString(
        ReadProfileString(g_strLangFile, "Resource", std::to_string(key), "", 1024));
}

void RelabelDialog(QWidget* dialog, int templateId)
{
    if (!dialog)
        return;
    if (const QString caption = ResourceText(templateId); !caption.isEmpty())
        dialog->setWindowTitle(caption);
    // Direct children only, in creation (z-) order; controls without an id are not ours to relabel.
    for (QObject* child : dialog->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        const int id = GetDlgCtrlId(control);
        if (id < 0 || !control || control->isWindow())
            continue;
        if (const QString text = ResourceText(id); !text.isEmpty())
            SetControlText(control, text);
    }
}
