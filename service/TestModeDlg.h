#pragma once
// The test mode: the radio's calibration items by name, the value of the selected one on a scroll
// bar, and the exchanges that read the whole radio, write it back with the calibration block, or
// keep the radio in an adjust mode where every change is sent at once.

#include "service/ServiceExchange.h"
#include "service/ServiceProgressDlg.h"

#include <QDialog>
#include <functional>
#include <optional>

class CSerialPort;
class CVantorDoc;
class QLineEdit;
class QListWidget;
class QScrollBar;

// The application's File Open and Save commands, run by the "open data" and "save data" buttons.
// A button whose command is missing is disabled.
struct TestModeFileCommands
{
    std::function<void()> open;
    std::function<void()> save;
};

class CTestModeDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CTestModeDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent,
                          TestModeFileCommands commands = {});
    ~CTestModeDlg() override;

    bool IsAdjustMode() const { return m_bAdjustMode != 0; }
    // Every way of closing (Cancel, Esc, Enter, the close box) leaves adjust mode first; during
    // read all or write all the dialog closes once the exchange has ended.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void LoadTestItems();
    void OnSelectItem(int index);
    void OnScrollAction(int action);
    void OnEndScroll();
    void OnReadAll();
    void OnWriteAll();
    void OnStartAdjust();
    void OnOpenData();
    void OnSaveData();
    bool EnterAdjustMode();
    void SendAdjustFrame();

    CServiceExchange Exchange();
    // Read all or write all on a worker behind a progress dialog titled like the button pressed,
    // then `outcome` (effects and message), then a close asked for meanwhile.
    void RunWithProgress(CServiceProgressDlg::Job job, int button,
                         const std::function<void(ServiceResult)>& outcome);
    void ShowValue(int value);
    void ShowCurrentItem();
    void ShowFailure(ServiceResult result);

    CVantorDoc& m_doc;
    CSerialPort& m_port;
    TestModeFileCommands m_commands;
    QListWidget* m_list = nullptr;
    QScrollBar* m_scroll = nullptr;
    QLineEdit* m_value = nullptr;
    int m_bAdjustMode = 0;
    bool m_bExchanging = false;
    std::optional<int> m_closeAfterExchange;
};
