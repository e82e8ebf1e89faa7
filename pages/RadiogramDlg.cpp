#include "pages/RadiogramDlg.h"

#include "app/MessageBox.h"
#include "grid/GridCtrl.h"
#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "pages/CellListCombo.h"
#include "pages/InPlaceEdit.h"
#include "radio/FmPreset.h"
#include "radio/RadioImage.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <new>

namespace {

constexpr int kRows = 1 + ImageMap::kFmPresetCount;

QString PresetText(int index)
{
    return QString::fromStdString(FmPreset::Text(index));
}

} // namespace

CRadiogramDlg::CRadiogramDlg(CVantorDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    CDialogBuilder::Build(this, g_dlgRadiogram, [](int id, QWidget* parent) -> QWidget* {
        if (id == idc::radiogram::Grid)
            return new CGridCtrl(parent);
        if (id == idc::radiogram::PresetList)
            return new CCellListCombo(parent);
        return new QWidget(parent);
    });
    m_grid = GetDlgItemAs<CGridCtrl>(this, idc::radiogram::Grid);
    m_presetList = GetDlgItemAs<CCellListCombo>(this, idc::radiogram::PresetList);
    m_frequencyList = GetDlgItemAs<QComboBox>(this, idc::radiogram::Frequency);

    connect(m_grid, &CGridCtrl::EditRequested, this, &CRadiogramDlg::OnBeginEdit);
    // A choice in the list ends the edit with it; the focus-out that follows finds it committed.
    connect(m_presetList, &QComboBox::currentIndexChanged, this, &CRadiogramDlg::CommitEdit);
    m_presetList->installEventFilter(this);
    connect(m_frequencyList, &QComboBox::currentIndexChanged, this, &CRadiogramDlg::OnFrequencyChanged);
    connect(GetDlgItemAs<QPushButton>(this, idc::Ok), &QPushButton::clicked, this, &QDialog::accept);
    connect(GetDlgItemAs<QPushButton>(this, idc::Cancel), &QPushButton::clicked, this, &QDialog::reject);

    RelabelDialog(this, g_dlgRadiogram.id);
    BuildGrid();
    FillPresetList();
    const QSignalBlocker quiet(m_frequencyList);
    for (int i = 0; i <= FmPreset::kMaxFrequency; ++i)
        m_frequencyList->addItem(PresetText(i));
    // A value beyond the list (above 108M0) leaves it without a selection.
    m_frequencyList->setCurrentIndex(m_doc.ReadWordBE(ImageMap::kFmFrequency, 1));
}

CRadiogramDlg::~CRadiogramDlg()
{
    // The list outlives this part of the dialog while the children are destroyed.
    m_presetList->removeEventFilter(this);
}

// Built once, on the dialog's new grid: it has no selection and no focus cell yet, offers neither
// resizing nor range selection, draws every cell centred, and is not painted before the dialog
// shows.
void CRadiogramDlg::BuildGrid()
{
    try {
        m_grid->SetRowCount(kRows);
        m_grid->SetColumnCount(2);
        m_grid->SetFixedRowCount(1);
        m_grid->SetFixedColumnCount(1);
    } catch (const std::bad_alloc&) {
        ShowMessage(LoadLangString("IDS_ERROR"), "Out of memory.", MsgIcon::Stop);
        return;
    }
    m_grid->SetColumnWidth(0, 40);
    m_grid->SetColumnWidth(1, 100);
    m_grid->SetRowHeight(0, 28);
    const std::vector<std::string> headers = LoadHeaderTexts("RadiogramText", "IDS_RadiogramText", 2);
    for (int c = 0; c < 2; ++c)
        m_grid->SetItemText(0, c, QString::fromStdString(headers[static_cast<std::size_t>(c)]));
    for (int k = 1; k < kRows; ++k) {
        m_grid->SetRowHeight(k, 21);
        m_grid->SetItemText(k, 0, QString::number(k));
        RefreshPreset(k);
    }
}

void CRadiogramDlg::RefreshPreset(int k)
{
    m_grid->SetItemText(k, 1, PresetText(m_doc.ReadWordBE(ImageMap::kFmPresets, k)));
}

void CRadiogramDlg::FillPresetList()
{
    const QSignalBlocker quiet(m_presetList);
    m_presetList->clear();
    for (int i = 0; i <= FmPreset::kOff; ++i)
        m_presetList->addItem(PresetText(i));
}

void CRadiogramDlg::OnBeginEdit(const GridNotify& notify)
{
    m_nEditRow = notify.item.row;
    m_grid->SetEditing(true);
    FillPresetList();
    m_bEditOpen = true;
    m_presetList->BeginEdit(notify.rect, notify.item.text);
}

void CRadiogramDlg::CommitEdit()
{
    if (!m_bEditOpen)
        return;
    m_bEditOpen = false;
    m_grid->SetEditing(false);
    const int index = m_presetList->currentIndex();
    if (index >= 0)
        m_doc.WriteWordBE(ImageMap::kFmPresets, m_nEditRow, index);
    RefreshPreset(m_nEditRow); // repaints the cell
    m_doc.SetModifiedFlag();
    m_presetList->EndEdit();
}

void CRadiogramDlg::OnFrequencyChanged(int index)
{
    if (index < 0)
        return;
    m_doc.WriteWordBE(ImageMap::kFmFrequency, 1, index);
    m_doc.SetModifiedFlag();
}

bool CRadiogramDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_presetList) {
        if (EndsInPlaceEdit(watched, event))
            CommitEdit();
        // The list ends the edit on Enter and Esc (Esc first choosing the old entry again); the
        // dialog then takes the key as OK or Cancel.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape)
                QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
            else if (key == Qt::Key_Return || key == Qt::Key_Enter)
                QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}
