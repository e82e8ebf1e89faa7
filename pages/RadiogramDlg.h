#pragma once
// Stand-in for the FM presets dialog until it lands: an empty dialog closed with Esc.

#include <QDialog>

class CVantorDoc;

class CRadiogramDlg final : public QDialog
{
    Q_OBJECT
public:
    CRadiogramDlg(CVantorDoc& doc, QWidget* parent);
    ~CRadiogramDlg() override;

private:
    CVantorDoc& m_doc;
};
