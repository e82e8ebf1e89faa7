#pragma once
// Writes the document's memory to one radio after another: the user connects the next radio and
// presses Write; each radio is written and verified on a worker thread, and gets a line in the
// list (number, time, port, identification bytes, result) and in the fleet log. A radio that
// failed can be retried; nothing stops the series but Close.

#include "link/CloneStatus.h"
#include "link/FleetLog.h"
#include "link/WriteCheck.h"
#include "radio/RadioImage.h"

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

class CSerialPort;
class CVantorDoc;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

class CFleetWriteDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CFleetWriteDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent = nullptr);
    ~CFleetWriteDlg() override;

    void reject() override; // Close, Esc and the window's close button

    // The radios written so far, in order.
    const std::vector<FleetEntry>& Entries() const { return m_entries; }

private:
    void OnWrite();
    void OnRetry();
    void OnTimer();
    void StartRadio(int number);
    void FinishRadio();
    void StopWorker();
    void ShowNext();
    void SetBusy(bool busy);

    CVantorDoc& m_doc;
    CSerialPort& m_port;

    QLabel* m_prompt = nullptr;
    QProgressBar* m_bar = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_retry = nullptr;
    QTimer m_timer;

    int m_number = 1;      // the radio the prompt asks for
    bool m_failed = false; // the last radio failed: Retry radio writes it again
    std::vector<FleetEntry> m_entries;

    // Shared with the worker; every way out of the dialog joins it first.
    CloneStatusRecord m_status;
    RadioImage m_buffer{};
    CloneIdent m_ident{};
    CWriteCheck m_check;
    FleetResult m_result = FleetResult::Failed;
    std::atomic<bool> m_checking{false};
    std::atomic<bool> m_workerDone{false};
    std::thread m_worker;
};
