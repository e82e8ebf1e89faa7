#pragma once
// The file dialogs of the document commands, behind one function so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

enum class FileDialogKind { Open, SaveAs };

// Asks for a data file: `proposed` is the file name or path offered first. Returns the chosen path,
// empty when the user cancelled.
QString AskDataFilePath(QWidget* parent, FileDialogKind kind, const QString& proposed);

// Tests install a handler that answers instead of a dialog; returns the previous handler (an empty
// handler restores the real dialogs).
using FileDialogHandler = std::function<QString(FileDialogKind kind, const QString& proposed)>;
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);
