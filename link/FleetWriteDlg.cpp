#include "link/FleetWriteDlg.h"

#include "app/AppPaths.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "link/CloneProgressDlg.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kBarRange = 1024;
constexpr int kTimerMs = 20;

QString LangText(const char* key, const std::string& arg1 = {}, const std::string& arg2 = {})
{
    return QString::fromStdString(FormatLangText(LoadLangString(key), arg1, arg2));
}

const char* ResultKey(FleetResult result)
{
    switch (result) {
    case FleetResult::Verified:
    case FleetResult::Written:
        return "IDS_FLEET_VERIFIED";
    case FleetResult::Differs:
        return "IDS_FLEET_DIFFERS";
    case FleetResult::NotVerified:
        return "IDS_FLEET_NOTVERIFIED";
    case FleetResult::Failed:
        break;
    }
    return "IDS_FLEET_FAILED";
}

} // namespace

CFleetWriteDlg::CFleetWriteDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_port(port)
{
    CDialogBuilder::Build(this, g_dlgFleet);
    RelabelDialog(this, g_dlgFleet.id);
    m_prompt = GetDlgItemAs<QLabel>(this, idc::fleet::Prompt);
    m_bar = GetDlgItemAs<QProgressBar>(this, idc::fleet::Bar);
    m_list = GetDlgItemAs<QListWidget>(this, idc::fleet::Radios);
    m_write = GetDlgItemAs<QPushButton>(this, idc::fleet::Write);
    m_retry = GetDlgItemAs<QPushButton>(this, idc::fleet::Retry);
    m_bar->setRange(0, kBarRange);
    ShowNext();

    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &CFleetWriteDlg::OnTimer);
    connect(m_write, &QPushButton::clicked, this, &CFleetWriteDlg::OnWrite);
    connect(m_retry, &QPushButton::clicked, this, &CFleetWriteDlg::OnRetry);
    connect(GetDlgItemAs<QPushButton>(this, idc::fleet::Close), &QPushButton::clicked, this,
            &CFleetWriteDlg::reject);
}

CFleetWriteDlg::~CFleetWriteDlg()
{
    m_status.m_cancel = true;
    StopWorker();
}

void CFleetWriteDlg::OnWrite()
{
    // After a failure Write leaves that radio behind and goes on with the next.
    StartRadio(m_failed ? m_number + 1 : m_number);
}

void CFleetWriteDlg::OnRetry()
{
    StartRadio(m_number);
}

void CFleetWriteDlg::StartRadio(int number)
{
    if (m_worker.joinable())
        return;
    m_number = number;
    RadioImage& image = m_doc.Image();
    PrepareImageForTransfer(image);
    m_buffer = image;
    m_status.Reset();
    m_status.m_status = CloneStatus::Idle;
    m_checking = false;
    m_workerDone = false;
    m_ident = {};
    m_result = FleetResult::Failed;
    m_bar->setValue(0);
    m_prompt->setText(LangText("IDS_FLEET_WRITING", std::to_string(number)));
    m_worker = std::thread([this, settingFile = g_strSettingFile] {
        CCloneSession session(m_port, m_status, m_buffer, settingFile);
        session.Run(CloneDirection::Write);
        m_ident = session.Identification();
        if (m_status.m_status == CloneStatus::WriteDone && !m_status.m_cancel) {
            m_checking = true;
            m_result = CFleetLog::ResultOf(m_check.Run(m_port, m_status, m_buffer, settingFile));
        }
        m_workerDone = true;
    });
    SetBusy(true);
    m_timer.start();
}

void CFleetWriteDlg::OnTimer()
{
    if (m_workerDone) {
        FinishRadio();
        return;
    }
    const CloneStatus status = m_status.m_status;
    if (status == CloneStatus::Writing || status == CloneStatus::Reading) {
        const int progress = m_status.m_progress;
        m_prompt->setText(
            LangText(m_checking ? "IDS_FLEET_VERIFYING" : "IDS_FLEET_WRITING", std::to_string(m_number)) +
            QStringLiteral(" %1%").arg(progress));
        m_bar->setValue(progress * kBarRange / 100);
    }
}

void CFleetWriteDlg::FinishRadio()
{
    StopWorker();
    FleetEntry entry;
    entry.number = m_number;
    entry.time = std::time(nullptr);
    const int found = m_status.m_foundPort;
    entry.port = "COM" + std::to_string(found > 0 ? found : ConfiguredPort(g_strSettingFile));
    entry.ident = m_ident;
    entry.result = m_result;
    m_entries.push_back(entry);

    m_list->addItem(LangText("IDS_FLEET_RADIO", std::to_string(entry.number)) + QStringLiteral("   ") +
                    QString::fromStdString(CFleetLog::TimeText(entry.time)) + QStringLiteral("   ") +
                    QString::fromStdString(entry.port) + QStringLiteral("   ") +
                    QString::fromStdString(HexBytes(entry.ident.data(), entry.ident.size())) +
                    QStringLiteral("   ") + LangText(ResultKey(entry.result)));
    m_list->scrollToBottom();

    std::string backup;
    std::string error;
    if (entry.result == FleetResult::Differs)
        m_check.KeepReadBack(backup, error); // the list says it differs; the backup keeps what it holds
    if (!CFleetLog::Append(CFleetLog::Path(), {entry}, error))
        ShowMessage(LoadLangString("IDS_ERROR"), FormatLangText(LoadLangString("IDS_FLEET_LOGFAIL"), error),
                    MsgIcon::Stop);

    m_failed = entry.result == FleetResult::Failed;
    if (!m_failed)
        ++m_number;
    SetBusy(false);
    ShowNext();
}

void CFleetWriteDlg::ShowNext()
{
    m_bar->setValue(0);
    m_prompt->setText(
        m_failed ? LangText("IDS_FLEET_RETRY", std::to_string(m_number), std::to_string(m_number + 1))
                 : LangText("IDS_FLEET_NEXT", std::to_string(m_number)));
}

void CFleetWriteDlg::SetBusy(bool busy)
{
    m_write->setEnabled(!busy);
    m_retry->setEnabled(!busy && m_failed);
}

void CFleetWriteDlg::StopWorker()
{
    m_timer.stop();
    m_port.Close(); // a worker waiting on the line returns at once
    if (m_worker.joinable())
        m_worker.join();
    m_port.Close(); // each radio starts on a freshly opened port
}

void CFleetWriteDlg::reject()
{
    // Once the port is closed the block in flight fails, so the status is taken before.
    const bool writing = m_worker.joinable() && !m_checking && m_status.m_status == CloneStatus::Writing;
    m_status.m_cancel = true;
    StopWorker();
    QDialog::reject();
    if (writing)
        CCloneProgressDlg::WarnOfStoppedWrite(m_status.m_progress);
}
