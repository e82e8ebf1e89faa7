#pragma once
// The file dialogs of the document commands, behind one function so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

// OpenCsv and SaveCsv ask for the channel lists of the File menu's Import and Export.
enum class FileDialogKind
{
    Open,
    SaveAs,
    OpenCsv,
    SaveCsv
};

// Asks for a data file: `proposed` is the file name or path offered first. Returns the chosen path,
// empty when the user cancelled.
QString AskDataFilePath(QWidget* parent, FileDialogKind kind, const QString& proposed);

// Tests install a handler that answers instead of a dialog; returns the previous handler (an empty
// handler restores the real dialogs).
using FileDialogHandler = std::function<QString(FileDialogKind kind, const QString& proposed)>;
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);
