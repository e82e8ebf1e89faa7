#include "app/AboutDlg.h"

#include "i18n/RelabelDialog.h"
#include "res/DialogBuilder.h"
#include "res/IconPainter.h"

#include <QLabel>
#include <QStyle>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    CDialogBuilder::Build(this, g_dlgAbout);
    RelabelDialog(this, g_dlgAbout.id);
    // The icon holder shares key 65535 with the year line, so its picture goes in after relabelling.
    // The builder makes the children in template order.
    const QList<QLabel*> labels = findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (std::size_t i = 0; i < g_dlgAbout.controls.size() && i < static_cast<std::size_t>(labels.size());
         ++i) {
        if (g_dlgAbout.controls[i].kind == ControlKind::Icon) {
            const int size = style()->pixelMetric(QStyle::PM_LargeIconSize);
            labels[static_cast<qsizetype>(i)]->setPixmap(CIconPainter::ProgramIcon().pixmap(size, size));
        }
    }
}

CAboutDlg::~CAboutDlg() = default;
