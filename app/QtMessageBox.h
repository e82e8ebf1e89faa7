#pragma once
// The desktop program's message function: a QMessageBox over the active window.

void InstallQtMessageBox();
