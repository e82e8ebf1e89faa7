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
const char* const kCsvFilter = "Channel Lists (*.csv);;All Files (*)";

} // namespace

QString AskDataFilePath(QWidget* parent, FileDialogKind kind, const QString& proposed)
{
    if (const FileDialogHandler& handler = CurrentHandler())
        return handler(kind, proposed);
    const bool csv = kind == FileDialogKind::OpenCsv || kind == FileDialogKind::SaveCsv;
    const QString filter = QString::fromLatin1(csv ? kCsvFilter : kFilter);
    if (kind == FileDialogKind::Open || kind == FileDialogKind::OpenCsv)
        return QFileDialog::getOpenFileName(parent, {}, proposed, filter);
    QFileDialog dialog(parent, {}, proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(csv ? "csv" : "pgm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
