#pragma once
// Reads the radio into the document, or writes the document to the radio, behind a small modal
// dialog: OK starts one clone exchange on a worker thread, a 20 ms timer shows its progress and
// outcome. After a read or write failure OK starts again; Cancel ends the dialog at any time.
// A read that had to skip blocks ends with a warning naming the parts that keep their old values.
// A write can be verified: a second phase reads the radio again and compares ("verify" of section
// "setup", a check box of the dialog).

#include "link/CloneStatus.h"
#include "link/WriteCheck.h"
#include "radio/RadioImage.h"

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class CSerialPort;
class CVantorDoc;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

class CCloneProgressDlg final : public QDialog
{
    Q_OBJECT
public:
    // Result of exec() after success or an error message; Cancel gives QDialog::Rejected.
    static constexpr int kResultDone = 5;

    // `applyLanguage` refreshes the application after a successful read (menus, bands, all views);
    // `showPortInStatusBar` shows the port in use: the one a search is trying or has found, and
    // once the exchange is over, the found one or else the configured one.
    explicit CCloneProgressDlg(CVantorDoc& doc, CSerialPort& port, CloneDirection direction,
                               std::function<void()> applyLanguage,
                               std::function<void(int)> showPortInStatusBar, QWidget* parent = nullptr);
    ~CCloneProgressDlg() override;

    void reject() override; // Cancel, Esc and the window's close button

    // Whether writes are verified: "verify" of section "setup", on unless it is 0.
    static bool VerifyEnabled();
    // Tells the user what the check of a write found; a radio holding something else is kept as a
    // backup first.
    static void ReportCheck(const CWriteCheck& check, CWriteCheck::Outcome outcome);
    // Tells the user that a write they stopped at `progress` percent (below 100) left the radio
    // with part of the new memory and part of its old one.
    static void WarnOfStoppedWrite(int progress);

private:
    void OnOK();
    void OnTimer();
    void StartTransfer();
    // Stops the timer, closes the port and waits for the worker, which then returns at once.
    void StopTransfer();
    void ShowPort(int port);
    void EndWithMessage(const char* key);
    void WarnOfSkippedBlocks() const;
    void ShowPrompt(const QString& text);
    void ShowProgress(const char* key, int progress);
    void OnCheckTick();

    CVantorDoc& m_doc;
    CSerialPort& m_port;
    const CloneDirection m_direction;
    std::function<void()> m_applyLanguage;
    std::function<void(int)> m_showPortInStatusBar;

    QLabel* m_prompt = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_ok = nullptr;
    QCheckBox* m_verify = nullptr;
    QTimer m_timer;

    // Shared with the worker; both outlive it because every way out of the dialog joins it first.
    CloneStatusRecord m_status;
    RadioImage m_buffer{};
    std::vector<int> m_skippedBlocks; // written by the worker as it ends, read after the join
    CWriteCheck m_check;              // the same
    CWriteCheck::Outcome m_outcome = CWriteCheck::Outcome::NotVerified;
    std::atomic<bool> m_checking{false};   // the worker has begun the verifying read
    std::atomic<bool> m_workerDone{false}; // the worker's last action: nothing of it is left to see
    std::thread m_worker;
};
