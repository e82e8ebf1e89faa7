#pragma once
// The password asked before the test mode: the right one opens the test mode, and this dialog
// stays open behind it until Cancel.

#include "service/TestModeDlg.h"

#include <QDialog>

class CSerialPort;
class CVantorDoc;

class CPasswordDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CPasswordDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent);
    ~CPasswordDlg() override;

    // The application's File Open and Save, handed on to the test mode's data buttons.
    void SetFileCommands(TestModeFileCommands commands) { m_commands = std::move(commands); }

private:
    void OnOK();

    CVantorDoc& m_doc;
    CSerialPort& m_port;
    TestModeFileCommands m_commands;
};
