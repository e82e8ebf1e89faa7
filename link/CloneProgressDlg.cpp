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
    m_port.SetBaudRate(kCableBaud);
    m_status.Reset();

    const bool reading = m_direction == CloneDirection::Read;
    ShowPrompt(LangText(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE"));

    m_worker = std::thread([this, settingFile = g_strSettingFile, direction = m_direction] {
        CCloneSession session(m_port, m_status, m_buffer, settingFile);
        session.Run(direction);
        m_skippedBlocks = session.SkippedBlocks();
    });
    m_ok->setEnabled(false);
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

    const bool reading = m_direction == CloneDirection::Read;
    const int progress = m_status.m_progress;
    switch (m_status.m_status.load()) {
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
        ShowPrompt(LangText(reading ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE") +
                   QStringLiteral(" %1%").arg(progress));
        m_bar->setValue(progress * kBarRange / 100);
        break;
    case CloneStatus::ReadFailed:
    case CloneStatus::WriteFailed: {
        const bool readFailed = m_status.m_status == CloneStatus::ReadFailed;
        StopTransfer();
        ShowPrompt(LangText(readFailed ? "IDS_PROMPT_READFAIL" : "IDS_PROMPT_WRITEFAIL"));
        m_ok->setEnabled(true); // OK starts the whole transfer again
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
    m_status.m_cancel = true;
    StopTransfer();
    QDialog::reject();
}
