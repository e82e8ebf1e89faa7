#include "service/TestModeDlg.h"

#include "app/AppPaths.h"
#include "app/AutoBackup.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "link/SerialPort.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <utility>

namespace {

// The dialog does not respond while an exchange runs; the cursor says so.
class CBusyCursor final
{
public:
    CBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CBusyCursor() { QApplication::restoreOverrideCursor(); }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;
};

// The part of the scroll bar under a point: an arrow, the thumb or the trough on either side.
QStyle::SubControl PartAt(const QScrollBar& bar, const QPoint& at)
{
    QStyleOptionSlider opt;
    opt.initFrom(&bar);
    opt.orientation = bar.orientation();
    opt.minimum = bar.minimum();
    opt.maximum = bar.maximum();
    opt.sliderPosition = bar.sliderPosition();
    opt.pageStep = bar.pageStep(); // the thumb's length
    return bar.style()->hitTestComplexControl(QStyle::CC_ScrollBar, &opt, at, &bar);
}

// The value moves only by single steps and by dragging the thumb, and is stored and sent when a
// button or key is released. Inputs that would jump it (a click on the trough, which some styles
// turn into a jump, the middle button, the context menu's entries) or move it with no release to
// store it (the wheel) are refused before the scroll bar sees them.
bool IsRefusedScrollInput(const QScrollBar& bar, const QEvent& e)
{
    switch (e.type()) {
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto& mouse = static_cast<const QMouseEvent&>(e);
        if (mouse.button() != Qt::LeftButton)
            return true;
        const QStyle::SubControl part = PartAt(bar, mouse.position().toPoint());
        return part == QStyle::SC_ScrollBarAddPage || part == QStyle::SC_ScrollBarSubPage;
    }
    default:
        return false;
    }
}

// The outcome of a whole-image transfer, shown without an icon.
void Prompt(const char* key)
{
    ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString(key), MsgIcon::None, MsgButtons::Ok);
}

} // namespace

CTestModeDlg::CTestModeDlg(CVantorDoc& doc, CSerialPort& port, QWidget* parent, TestModeFileCommands commands)
    : QDialog(parent), m_doc(doc), m_port(port), m_commands(std::move(commands))
{
    CDialogBuilder::Build(this, g_dlgTestMode);
    m_list = GetDlgItemAs<QListWidget>(this, idc::testMode::ItemList);
    m_scroll = GetDlgItemAs<QScrollBar>(this, idc::testMode::ValueScroll);
    m_value = GetDlgItemAs<QLineEdit>(this, idc::testMode::Value);
    m_scroll->installEventFilter(this);
    // A scroll bar's keys run the other way by default; Left and Down lower the value like the left arrow.
    m_scroll->setInvertedControls(false);
    m_value->setAlignment(Qt::AlignCenter);

    connect(m_list, &QListWidget::currentRowChanged, this, &CTestModeDlg::OnSelectItem);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &CTestModeDlg::OnScrollAction);
    const auto button = [this](int id) { return GetDlgItemAs<QPushButton>(this, id); };
    connect(button(idc::testMode::ReadAll), &QPushButton::clicked, this, &CTestModeDlg::OnReadAll);
    connect(button(idc::testMode::WriteAll), &QPushButton::clicked, this, &CTestModeDlg::OnWriteAll);
    connect(button(idc::testMode::StartAdjust), &QPushButton::clicked, this, &CTestModeDlg::OnStartAdjust);
    connect(button(idc::testMode::OpenData), &QPushButton::clicked, this, &CTestModeDlg::OnOpenData);
    connect(button(idc::testMode::SaveData), &QPushButton::clicked, this, &CTestModeDlg::OnSaveData);
    connect(button(idc::Cancel), &QPushButton::clicked, this, &QDialog::reject);
    button(idc::testMode::OpenData)->setEnabled(static_cast<bool>(m_commands.open));
    button(idc::testMode::SaveData)->setEnabled(static_cast<bool>(m_commands.save));

    LoadTestItems();
}

CTestModeDlg::~CTestModeDlg() = default;

CServiceExchange CTestModeDlg::Exchange()
{
    return CServiceExchange(m_port, m_doc.Image(), g_strSettingFile);
}

void CTestModeDlg::LoadTestItems()
{
    RelabelDialog(this, g_dlgTestMode.id);
    m_scroll->setRange(0, 255);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(16);

    // Filling and selecting here is no user's choice: it stores nothing.
    const QSignalBlocker block(m_list);
    m_list->clear();
    int count = 0;
    for (const std::string& name : LoadOptionList("TestData")) {
        // Item values end where the selected-item byte begins; a longer list would overwrite it.
        if (count++ == ImageMap::kCalibrationMaxItems)
            break;
        m_list->addItem(QString::fromStdString(name));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    ShowCurrentItem();
}

void CTestModeDlg::ShowValue(int value)
{
    m_value->setText(QString::number(value));
}

// The scroll bar and the edit show the selected item's value; without an item there is nothing
// to show or to store.
void CTestModeDlg::ShowCurrentItem()
{
    const int i = m_list->currentRow();
    m_scroll->setEnabled(i >= 0);
    if (i < 0) {
        m_value->clear();
        return;
    }
    m_scroll->setValue(m_doc.GetCalibration(i));
    ShowValue(m_scroll->value());
}

void CTestModeDlg::OnSelectItem(int index)
{
    if (index < 0)
        return;
    m_doc.SetCalibrationItem(index);
    ShowCurrentItem();
    if (m_bAdjustMode)
        SendAdjustFrame();
}

void CTestModeDlg::OnScrollAction(int action)
{
    const int min = m_scroll->minimum();
    const int max = m_scroll->maximum();
    int position = m_scroll->value();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        position = position - 1 < min ? max : position - 1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        position = position + 1 > max ? min : position + 1;
        break;
    case QAbstractSlider::SliderMove:
        position = m_scroll->sliderPosition();
        break;
    default: // page steps and jumps to the ends leave the value alone
        break;
    }
    m_scroll->setSliderPosition(position);
    ShowValue(position);
}

// The end of a scroll (button released): the value is stored and, in adjust mode, sent.
void CTestModeDlg::OnEndScroll()
{
    const int i = m_list->currentRow();
    if (i < 0)
        return;
    m_doc.SetCalibrationItem(i);
    m_doc.SetCalibration(i, m_scroll->sliderPosition());
    if (m_bAdjustMode)
        SendAdjustFrame();
}

bool CTestModeDlg::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_scroll) {
        if (IsRefusedScrollInput(*m_scroll, *e))
            return true;
        switch (e->type()) {
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton && m_scroll->isEnabled())
                OnEndScroll();
            break;
        case QEvent::KeyRelease:
            if (!static_cast<QKeyEvent*>(e)->isAutoRepeat() && m_scroll->isEnabled())
                OnEndScroll();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void CTestModeDlg::ShowFailure(ServiceResult result)
{
    const char* key = result == ServiceResult::WrongType ? "IDS_ERROR_TYPE" : "IDS_ERROR_PORTCONN";
    ShowMessage(LoadLangString("IDS_ERROR"), LoadLangString(key), MsgIcon::Stop, MsgButtons::Ok);
}

void CTestModeDlg::RunWithProgress(CServiceProgressDlg::Job job, int button,
                                   const std::function<void(ServiceResult)>& outcome)
{
    ServiceResult result;
    {
        CServiceProgressDlg progress(m_port, m_doc.Image(), job,
                                     GetDlgItemAs<QPushButton>(this, button)->text(), this);
        m_bExchanging = true;
        result = progress.Run();
        m_bExchanging = false;
    }
    outcome(result);
    if (const std::optional<int> close = std::exchange(m_closeAfterExchange, std::nullopt))
        done(*close);
}

void CTestModeDlg::OnReadAll()
{
    RunWithProgress(CServiceProgressDlg::Job::ReadAll, idc::testMode::ReadAll, [this](ServiceResult result) {
        // Every page and this dialog show the image as it now is (not modified): the whole radio,
        // or after a failure the blocks read before it.
        m_doc.LoadBandLimits();
        m_doc.UpdateAllViews();
        ShowCurrentItem();
        if (result == ServiceResult::Ok) {
            Prompt("IDS_PROMPT_READSUCC");
            AutoBackup(m_doc.Image(), BackupMoment::AfterRead);
        } else {
            ShowFailure(result);
        }
    });
}

void CTestModeDlg::OnWriteAll()
{
    // Adjust mode ends with the end byte; the port stays open for the write's own start.
    if (m_bAdjustMode)
        Exchange().EndProgrammingMode();
    m_bAdjustMode = 0;
    RunWithProgress(CServiceProgressDlg::Job::WriteAll, idc::testMode::WriteAll,
                    [this](ServiceResult result) {
                        if (result == ServiceResult::Ok)
                            Prompt("IDS_PROMPT_WRITESUCC");
                        else if (result == ServiceResult::WriteFailed)
                            Prompt("IDS_PROMPT_WRITEFAIL");
                        else
                            ShowFailure(result);
                    });
}

bool CTestModeDlg::EnterAdjustMode()
{
    ServiceResult result;
    {
        const CBusyCursor busy;
        result = Exchange().EnterAdjustMode();
    }
    if (result != ServiceResult::Ok) {
        ShowFailure(result);
        return false;
    }
    return true;
}

void CTestModeDlg::OnStartAdjust()
{
    // Set even when the start fails: a later Cancel or write all then ends the mode anyway.
    m_bAdjustMode = 1;
    if (!EnterAdjustMode())
        return;
    SendAdjustFrame();
    ShowCurrentItem();
}

void CTestModeDlg::SendAdjustFrame()
{
    Exchange().SendAdjustFrame();
}

void CTestModeDlg::OnOpenData()
{
    m_commands.open();
    LoadTestItems();
}

void CTestModeDlg::OnSaveData()
{
    m_commands.save();
}

void CTestModeDlg::keyPressEvent(QKeyEvent* e)
{
    // Enter is the dialog's OK action: a focused button is pressed, otherwise the dialog closes.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CTestModeDlg::done(int result)
{
    // Nothing can be clicked under the progress dialog, but the desktop may still ask to close:
    // the exchange ends and its outcome is shown first.
    if (m_bExchanging) {
        m_closeAfterExchange = result;
        return;
    }
    if (m_bAdjustMode) {
        Exchange().LeaveAdjustMode();
        m_bAdjustMode = 0;
    }
    QDialog::done(result);
}
