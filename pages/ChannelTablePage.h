#pragma once
// The channel table tab: one grid row per channel, edited in place. A click on a cell lays one of
// the page's editors over it; when the editor loses the focus its value is stored through the
// channel store rules and the row is shown again from the image.

#include "pages/ImagePage.h"
#include "radio/ChannelEditor.h"

#include <QFont>
#include <QHash>
#include <QPoint>
#include <QWidget>
#include <vector>

class CCellListCombo;
class CFrequencyEdit;
class CGridCtrl;
class CNameEdit;
class CToneCombo;
class QComboBox;
struct GridNotify;

class CChannelTablePage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    explicit CChannelTablePage(CVantorDoc& doc, QWidget* parent);
    ~CChannelTablePage() override;

    // Relabels the page, refills the range selector and the tone lists, rebuilds every row.
    void ReloadFromImage() override;

    // The table as shown (printing draws its header and rows).
    CGridCtrl& Grid() const { return *m_grid; }

    // Whether a cell editor is open (the Edit keys then stay with it).
    bool IsEditing() const;
    // The channels the row commands act on: the selected rows, else the focus row; none without either.
    std::vector<int> SelectedChannels() const;
    bool CanMove(int delta) const;

    // The row commands, each one undo step. Copy puts the channels on the clipboard as
    // tab-separated text under the CSV header; Cut also empties them. Paste stores the
    // clipboard's rows through the CSV import's rules into consecutive channels from the focus
    // row, and lists refused and left-out rows in one message. Insert Empty Channel refuses with a
    // message when channel 128 is in use.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnInsertChannel();
    void OnDeleteChannels();
    void OnMoveUp();
    void OnMoveDown();
    void OnSelectAll();

signals:
    // A right click on the table: the owner shows the row commands at `globalPos`.
    void ContextMenuRequested(const QPoint& globalPos);
    // The row selection or the focus row changed (what the row commands act on).
    void RowsChanged();

public:
    enum : int
    {
        kRows = 129,
        kCols = 13
    };
    enum Column : int
    {
        ColNumber,
        ColRx,
        ColRxTone,
        ColTx,
        ColTxTone,
        ColPower,
        ColBcl,
        ColBandwidth,
        ColScanAdd,
        ColReverse,
        ColPttId,
        ColCompander,
        ColName
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnBeginEdit(const GridNotify& notify);
    void OnFrequencyKillFocus();
    void OnToneKillFocus(CToneCombo* editor);
    void OnChoiceSelChange(int index);
    void OnChoiceKillFocus();
    void OnNameKillFocus();
    void OnRangeSelected(int index);

    bool BuildGrid();
    void FitColumnsAndRows();
    void RefreshRow(int channel);
    void EndAllEdits();
    void FinishEdit(bool changed);
    QStringList ChoiceTexts(int col) const;
    int FocusChannel() const; // the focus row, else the first selected, else 0
    void Move(int delta);
    // Records the step, shows it and selects `first`..`last` (none when `first` is 0).
    void FinishRowCommand(EditStep step, int first = 0, int last = 0);

    CVantorDoc& m_doc;
    CChannelEditor m_editor;
    CGridCtrl* m_grid = nullptr;
    QComboBox* m_range = nullptr;
    CFrequencyEdit* m_freqEdit = nullptr;
    CToneCombo* m_rxTone = nullptr;
    CToneCombo* m_txTone = nullptr;
    CCellListCombo* m_choice = nullptr;
    CNameEdit* m_nameEdit = nullptr;
    int m_nEditRow = 0;
    int m_nEditCol = 0;
    // Widths FitColumnsAndRows measured with this font at this resolution: measuring the 259 tone
    // texts again on every reload was the slowest part of it.
    QFont m_measuredFont;
    QPoint m_measuredDpi;
    QHash<QString, int> m_textWidths;
};
