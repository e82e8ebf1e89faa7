#include "app/FileDialogs.h"

#include <QFileDialog>
#include <utility>

namespace {

FileDialogHandler& CurrentHandler()
{
    static FileDialogHandler handler;
    return handler;
}

// The data files' filter as the program has always listed it.
const char* const kFilter = "Radio Program Data Files(*.pgm)";

} // namespace

QString AskDataFilePath(QWidget* parent, FileDialogKind kind, const QString& proposed)
{
    if (const FileDialogHandler& handler = CurrentHandler())
        return handler(kind, proposed);
    const QString filter = QString::fromLatin1(kFilter);
    if (kind == FileDialogKind::Open)
        return QFileDialog::getOpenFileName(parent, {}, proposed, filter);
    QFileDialog dialog(parent, {}, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pgm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
