#pragma once
// Stand-in for the test-mode password dialog until it lands: an empty dialog closed with Esc.

#include <QDialog>

class CSerialPort;
class CVantorDoc;

class CPasswordDlg final : public QDialog
{
    Q_OBJECT
public:
    CPasswordDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent);
    ~CPasswordDlg() override;

private:
    CVantorDoc& m_doc;
    CSerialPort& m_port;
};
