#include "service/PasswordDlg.h"

CPasswordDlg::CPasswordDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_port(port)
{
}

CPasswordDlg::~CPasswordDlg() = default;
