#include "link/PortDlg.h"

#include "app/AppPaths.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "i18n/RelabelDialog.h"
#include "link/CloneSession.h"
#include "link/PortResolver.h"
#include "link/SerialPort.h"
#include "res/DialogBuilder.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kPortCount = 8;

// The radio button of COMn.
QRadioButton* PortButton(const QWidget* dialog, int n)
{
    return GetDlgItemAs<QRadioButton>(dialog, idc::port::Com1 + n - 1);
}

// A text of section "String", or the built-in one where the language file has none.
QString TextOr(const char* key, const char* builtIn)
{
    const std::string text = LoadLangValue("String", key, "", 1000);
    return QString::fromStdString(text.empty() ? builtIn : text);
}

// What the tooltip says about a port: its device, and why it cannot be used when it cannot.
QString PortTip(int n, PortOpenError error)
{
    const QString path = QString::fromStdString(ResolvePortPath(n));
    if (path.isEmpty())
        return TextOr("IDS_PORT_NODEVICE", "No serial device");
    switch (error) {
    case PortOpenError::None:
        return path;
    case PortOpenError::PermissionDenied:
        return path + QStringLiteral(": ") + TextOr("IDS_PORT_NOACCESS", "no permission to open it");
    case PortOpenError::Busy:
        return path + QStringLiteral(": ") + TextOr("IDS_PORT_BUSY", "in use by another program");
    default:
        return path + QStringLiteral(": ") + TextOr("IDS_PORT_CANNOTOPEN", "cannot be opened");
    }
}

} // namespace

CPortDlg::CPortDlg(CSerialPort& port, std::function<void(int)> showPortInStatusBar, QWidget* parent)
    : QDialog(parent), m_port(port), m_showPortInStatusBar(std::move(showPortInStatusBar))
{
    CDialogBuilder::Build(this, g_dlgPort);
    connect(GetDlgItemAs<QPushButton>(this, idc::Ok), &QPushButton::clicked, this, &CPortDlg::accept);
    connect(GetDlgItemAs<QPushButton>(this, idc::Cancel), &QPushButton::clicked, this, &CPortDlg::reject);
    RelabelDialog(this, g_dlgPort.id);

    ProbePorts(ConfiguredPort(g_strSettingFile));

    auto* search = GetDlgItemAs<QCheckBox>(this, idc::port::SearchPort);
    search->setChecked(ReadProfileInt(g_strSettingFile, "setup", "searchcom", 1) != 0);
    connect(search, &QCheckBox::clicked, this, &CPortDlg::OnSearchClicked);
}

CPortDlg::~CPortDlg() = default;

void CPortDlg::ProbePorts(int configured)
{
    // The shared port is tried on every button, so it is closed first and left closed.
    m_port.Close();
    for (int n = 1; n <= kPortCount; ++n) {
        QRadioButton* button = PortButton(this, n);
        if (n == configured)
            button->setChecked(true); // stays checked even when the port cannot be opened now
        const PortOpenError error = m_port.Probe(n);
        button->setEnabled(error == PortOpenError::None);
        button->setToolTip(PortTip(n, error));
    }
}

void CPortDlg::OnSearchClicked(bool checked)
{
    // Takes effect at once, whether or not the dialog is confirmed.
    WriteProfileString(g_strSettingFile, "setup", "searchcom", checked ? "1" : "0");
}

void CPortDlg::accept()
{
    for (int n = 1; n <= kPortCount; ++n) {
        if (!PortButton(this, n)->isChecked())
            continue;
        if (n != ConfiguredPort(g_strSettingFile)) {
            m_port.Close();
            WriteProfileString(g_strSettingFile, "setup", "com", std::to_string(n));
        }
        break;
    }
    if (m_showPortInStatusBar)
        m_showPortInStatusBar(ConfiguredPort(g_strSettingFile));
    QDialog::accept();
}
