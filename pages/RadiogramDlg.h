#pragma once
// The FM broadcast presets dialog: the sixteen presets in a grid, each edited through a drop-down
// list laid over its cell, and the frequency in use. Every choice is written into the image at
// once; OK and Cancel only close the dialog.

#include <QDialog>

class CCellListCombo;
class CGridCtrl;
class CVantorDoc;
class QComboBox;
struct GridNotify;

class CRadiogramDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CRadiogramDlg(CVantorDoc& doc, QWidget* parent);
    ~CRadiogramDlg() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGrid();
    void RefreshPreset(int k);
    void FillPresetList();
    void OnBeginEdit(const GridNotify& notify);
    void CommitEdit();
    void OnFrequencyChanged(int index);

    CVantorDoc& m_doc;
    CGridCtrl* m_grid = nullptr;
    CCellListCombo* m_presetList = nullptr;
    QComboBox* m_frequencyList = nullptr;
    int m_nEditRow = -1;
    bool m_bEditOpen = false; // from the begin-edit notification to the commit
};
