#include "link/CloneProgressDlg.h"

#include "app/AppPaths.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "i18n/Profile.h"
#include "i18n/RelabelDialog.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "radio/ImageParts.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kBarRange = 1024;
constexpr int kTimerMs = 20;

QString LangText(const char* key)
{
    return QString::fromStdString(LoadLangString(key));
}

} // namespace

CCloneProgressDlg::CCloneProgressDlg(CVantorDoc& doc, CSerialPort& port, CloneDirection direction,
                                     std::function<void()> applyLanguage,
                                     std::function<void(int)> showPortInStatusBar, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_port(port), m_direction(direction),
      m_applyLanguage(std::move(applyLanguage)), m_showPortInStatusBar(std::move(showPortInStatusBar))
{
    CDialogBuilder::Build(this, g_dlgProgress);
    RelabelDialog(this, g_dlgProgress.id);
    setWindowTitle(LangText(m_direction == CloneDirection::Read ? "IDS_READDATA" : "IDS_WRITEDATA"));

    m_prompt = GetDlgItemAs<QLabel>(this, idc::progress::Prompt);
    m_bar = GetDlgItemAs<QProgressBar>(this, idc::progress::Bar);
    m_ok = GetDlgItemAs<QPushButton>(this, idc::Ok);
    m_verify = GetDlgItemAs<QCheckBox>(this, idc::progress::Verify);
    m_verify->setVisible(m_direction == CloneDirection::Write);
    m_verify->setChecked(VerifyEnabled());
    connect(m_verify, &QCheckBox::toggled, this,
            [](bool on) { WriteProfileString(g_strSettingFile, "setup", "verify", on ? "1" : "0"); });
    m_bar->setRange(0, kBarRange);
    m_bar->setValue(0);

    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &CCloneProgressDlg::OnTimer);
    connect(m_ok, &QPushButton::clicked, this, &CCloneProgressDlg::OnOK);
    connect(GetDlgItemAs<QPushButton>(this, idc::Cancel), &QPushButton::clicked, this,
            &CCloneProgressDlg::reject);
}

CCloneProgressDlg::~CCloneProgressDlg()
{
    m_status.m_cancel = true;
    StopTransfer();
}

void CCloneProgressDlg::OnOK()
{
    if (!m_worker.joinable())
        StartTransfer();
}

void CCloneProgressDlg::StartTransfer()
{
    // A fresh copy of the document every time, so a restart after a failure begins from block 0
    // with the document's bytes (blocks a read skips keep them).
    RadioImage& image = m_doc.Image();
    PrepareImageForTransfer(image);
    m_buffer = image;
    m_status.Reset();
    m_checking = false;
    m_workerDone = false;

    const bool reading = m_direction == CloneDirection::Read;
    ShowPrompt(LangText(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE"));
    m_bar->setValue(0);

    const bool verify = !reading && m_verify->isChecked();
    m_worker = std::thread([this, verify, settingFile = g_strSettingFile, direction = m_direction] {
        CCloneSession session(m_port, m_status, m_buffer, settingFile);
        session.Run(direction);
        m_skippedBlocks = session.SkippedBlocks();
        if (verify && m_status.m_status == CloneStatus::WriteDone && !m_status.m_cancel) {
            m_checking = true;
            m_outcome = m_check.Run(m_port, m_status, m_buffer, settingFile);
        }
        m_workerDone = true;
    });
    m_ok->setEnabled(false);
    m_verify->setEnabled(false);
    m_timer.start();
}

void CCloneProgressDlg::StopTransfer()
{
    m_timer.stop();
    m_port.Close(); // a worker waiting on the line returns at once
    if (!m_worker.joinable())
        return;
    m_worker.join();
    // A search may have opened another port between the close and the worker's end.
    m_port.Close();
    // The search's last try is over: the port in use is the one it found, else the configured one.
    const int found = m_status.m_foundPort;
    ShowPort(found > 0 ? found : ConfiguredPort(g_strSettingFile));
}

void CCloneProgressDlg::ShowPort(int port)
{
    if (m_showPortInStatusBar)
        m_showPortInStatusBar(port);
}

void CCloneProgressDlg::OnTimer()
{
    // While the search goes on, the port it tries; once it has found the radio, that port.
    if (const int found = m_status.m_foundPort; found > 0)
        ShowPort(found);
    else if (m_status.m_status == CloneStatus::Searching)
        ShowPort(m_status.m_progress);

    if (m_checking) {
        OnCheckTick();
        return;
    }
    const bool reading = m_direction == CloneDirection::Read;
    const int progress = m_status.m_progress;
    const CloneStatus status = m_status.m_status;
    // A write that ends may go on with the verifying read: an outcome counts once the worker is done.
    const bool running = status == CloneStatus::Idle || status == CloneStatus::Reading ||
                         status == CloneStatus::Writing || status == CloneStatus::Searching;
    if (!running && !m_workerDone)
        return;
    switch (status) {
    case CloneStatus::Idle:
        break;
    case CloneStatus::PortError:
        EndWithMessage("IDS_ERROR_PORTCONN");
        break;
    case CloneStatus::TypeError:
        EndWithMessage("IDS_ERROR_TYPE");
        break;
    case CloneStatus::Reading:
    case CloneStatus::Writing:
        ShowProgress(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE", progress);
        break;
    case CloneStatus::ReadFailed:
    case CloneStatus::WriteFailed: {
        const bool readFailed = m_status.m_status == CloneStatus::ReadFailed;
        StopTransfer();
        ShowPrompt(LangText(readFailed ? "IDS_PROMPT_READFAIL" : "IDS_PROMPT_WRITEFAIL"));
        m_ok->setEnabled(true); // OK starts the whole transfer again
        m_verify->setEnabled(true);
        break;
    }
    case CloneStatus::ReadDone:
        StopTransfer();
        m_doc.Image() = m_buffer;
        if (m_applyLanguage)
            m_applyLanguage();
        done(kResultDone);
        WarnOfSkippedBlocks();
        break;
    case CloneStatus::Searching:
        ShowPrompt(LangText("IDS_SEARCHCOMPORT") + QString(progress % 16, QLatin1Char('.')));
        break;
    default: // write done, and any code the exchange does not use
        StopTransfer();
        done(kResultDone);
        break;
    }
}

// The second phase of a verified write: the verifying read, then what it found.
void CCloneProgressDlg::OnCheckTick()
{
    if (!m_workerDone) {
        // Until the first block is read the bar starts again from 0.
        const bool reading = m_status.m_status == CloneStatus::Reading;
        ShowProgress("IDS_PROMPT_VERIFY", reading ? m_status.m_progress.load() : 0);
        return;
    }
    StopTransfer();
    done(kResultDone);
    ReportCheck(m_check, m_outcome);
}

bool CCloneProgressDlg::VerifyEnabled()
{
    return ReadProfileInt(g_strSettingFile, "setup", "verify", 1) != 0;
}

void CCloneProgressDlg::ReportCheck(const CWriteCheck& check, CWriteCheck::Outcome outcome)
{
    switch (outcome) {
    case CWriteCheck::Outcome::Verified:
        ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_PROMPT_VERIFIED"),
                    MsgIcon::Information);
        break;
    case CWriteCheck::Outcome::Differs: {
        std::string parts;
        for (const ImagePartSpan& span : PartsOfBlocks(check.DifferingBlocks()))
            parts += (parts.empty() ? "" : "\n") + LangPartText(span);
        std::string backup;
        std::string error;
        const std::string kept = check.KeepReadBack(backup, error)
                                     ? FormatLangText(LoadLangString("IDS_VERIFY_BACKUP"), backup)
                                     : LoadLangString("IDS_VERIFY_NOBACKUP") + "\n" + error;
        ShowMessage(LoadLangString("IDS_ERROR"),
                    FormatLangText(LoadLangString("IDS_ERROR_VERIFY"), parts, kept), MsgIcon::Stop);
        break;
    }
    case CWriteCheck::Outcome::NotVerified:
        ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_WARN_NOTVERIFIED"),
                    MsgIcon::Exclamation);
        break;
    case CWriteCheck::Outcome::Cancelled:
        break;
    }
}

void CCloneProgressDlg::ShowProgress(const char* key, int progress)
{
    ShowPrompt(LangText(key) + QStringLiteral(" %1%").arg(progress));
    m_bar->setValue(progress * kBarRange / 100);
}

void CCloneProgressDlg::EndWithMessage(const char* key)
{
    StopTransfer();
    ShowMessage(LoadLangString("IDS_ERROR"), LoadLangString(key), MsgIcon::Stop, MsgButtons::Ok);
    done(kResultDone);
}

void CCloneProgressDlg::WarnOfSkippedBlocks() const
{
    if (m_skippedBlocks.empty())
        return;
    std::string parts;
    for (const ImagePartSpan& span : PartsOfBlocks(m_skippedBlocks))
        parts += (parts.empty() ? "" : "\n") + LangPartText(span);
    ShowMessage(LoadLangString("IDS_PROMPT"), FormatLangText(LoadLangString("IDS_WARN_READSKIPPED"), parts),
                MsgIcon::Exclamation, MsgButtons::Ok);
}

void CCloneProgressDlg::ShowPrompt(const QString& text)
{
    m_prompt->setText(text);
}

void CCloneProgressDlg::reject()
{
    // A write stopped between its first and last block leaves the radio with a mix of both memories.
    // (Once the port is closed the block in flight fails, so the status is taken before.)
    const bool writing =
        m_direction == CloneDirection::Write && !m_checking && m_status.m_status == CloneStatus::Writing;
    m_status.m_cancel = true;
    StopTransfer();
    QDialog::reject();
    if (writing)
        WarnOfStoppedWrite(m_status.m_progress);
}

void CCloneProgressDlg::WarnOfStoppedWrite(int progress)
{
    if (progress < 100) {
        ShowMessage(LoadLangString("IDS_PROMPT"),
                    FormatLangText(LoadLangString("IDS_WARN_WRITESTOPPED"), std::to_string(progress)),
                    MsgIcon::Exclamation, MsgButtons::Ok);
    }
}
