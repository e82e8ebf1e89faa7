#include "service/PasswordDlg.h"

#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "res/DialogBuilder.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Compared byte for byte: letter case counts.
constexpr const char* kPassword = "HN274";

} // namespace

CPasswordDlg::CPasswordDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_port(port)
{
    CDialogBuilder::Build(this, g_dlgPassword);
    RelabelDialog(this, g_dlgPassword.id);
    connect(GetDlgItemAs<QPushButton>(this, idc::Ok), &QPushButton::clicked, this, &CPasswordDlg::OnOK);
    connect(GetDlgItemAs<QPushButton>(this, idc::Cancel), &QPushButton::clicked, this, &QDialog::reject);
    GetDlgItem(this, idc::password::Password)->setFocus();
}

CPasswordDlg::~CPasswordDlg() = default;

void CPasswordDlg::OnOK()
{
    if (GetDlgItemAs<QLineEdit>(this, idc::password::Password)->text().toUtf8() != kPassword) {
        ShowMessage(LoadLangString("IDS_ERROR"), LoadLangString("IDS_ERROR_PASSWORD"), MsgIcon::Stop,
                    MsgButtons::Ok);
        return;
    }
    CTestModeDlg testMode(m_doc, m_port, this, m_commands);
    testMode.exec();
}
