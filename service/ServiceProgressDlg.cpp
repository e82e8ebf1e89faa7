#include "service/ServiceProgressDlg.h"

#include "app/AppPaths.h"
#include "i18n/LangText.h"
#include "link/CloneSession.h"
#include "link/SerialPort.h"
#include "res/DialogBuilder.h"

#include <QLabel>
#include <QProgressBar>
#include <chrono>

namespace {

constexpr int kTimerMs = 20;

} // namespace

CServiceProgressDlg::CServiceProgressDlg(CSerialPort& port, RadioImage& image, Job job,
                                         const QString& caption, QWidget* parent)
    : QDialog(parent), m_image(image), m_job(job), m_exchange(port, m_buffer, g_strSettingFile)
{
    CDialogBuilder::Build(this, g_dlgServiceProgress);
    setWindowTitle(caption);
    m_prompt = GetDlgItemAs<QLabel>(this, idc::serviceProgress::Prompt);
    m_bar = GetDlgItemAs<QProgressBar>(this, idc::serviceProgress::Bar);
    m_bar->setRange(0, kCloneImageBlocks);
    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &CServiceProgressDlg::OnTimer);
    OnTimer();
}

CServiceProgressDlg::~CServiceProgressDlg() = default;

ServiceResult CServiceProgressDlg::Run()
{
    m_buffer = m_image;
    m_result = std::async(std::launch::async, [this] {
        return m_job == Job::ReadAll ? m_exchange.ReadAll() : m_exchange.WriteAll();
    });
    m_timer.start();
    exec();
    m_timer.stop();
    // Should the application quit meanwhile, exec ends early; the outcome is still the exchange's.
    const ServiceResult result = m_result.get();
    if (m_job == Job::ReadAll)
        m_image = m_buffer;
    return result;
}

void CServiceProgressDlg::OnTimer()
{
    const int blocks = m_exchange.BlocksDone();
    const char* key = m_job == Job::ReadAll ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE";
    m_prompt->setText(QString::fromStdString(LoadLangString(key)) +
                      QStringLiteral(" %1%").arg(blocks * 100 / kCloneImageBlocks));
    m_bar->setValue(blocks);
    if (m_result.valid() && m_result.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        done(Accepted);
}
