#pragma once
// Read all and write all of the test mode behind a small modal dialog. The exchange runs on a
// worker thread with an image of its own, so that the windows keep painting through the seconds
// it takes at 9600 baud, and a bar shows how far it has come. Nothing in the dialog stops or
// repeats the exchange; the dialog closes itself when the exchange has ended.

#include "radio/RadioImage.h"
#include "service/ServiceExchange.h"

#include <QDialog>
#include <QTimer>
#include <future>

class CSerialPort;
class QLabel;
class QProgressBar;

class CServiceProgressDlg final : public QDialog
{
    Q_OBJECT
public:
    enum class Job
    {
        ReadAll,
        WriteAll
    };

    // `image` is the document's: a read fills it, a write sends it.
    CServiceProgressDlg(CSerialPort& port, RadioImage& image, Job job, const QString& caption,
                        QWidget* parent);
    ~CServiceProgressDlg() override;

    // Runs the exchange to its end behind the dialog and returns its outcome. A read leaves in the
    // image every block it read: the whole radio, or after a failure the blocks before it.
    ServiceResult Run();

    // Esc and the close box do nothing: cut short, a write would leave the radio half written.
    void reject() override {}

private:
    void OnTimer();

    RadioImage& m_image;
    const Job m_job;
    RadioImage m_buffer{}; // the worker's; the image is touched on this thread only
    CServiceExchange m_exchange;
    QLabel* m_prompt = nullptr;
    QProgressBar* m_bar = nullptr;
    QTimer m_timer;
    // Last, so that it goes first: the destructor of a future of std::async waits for the worker,
    // which uses the buffer and the exchange.
    std::future<ServiceResult> m_result;
};
