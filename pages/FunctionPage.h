#pragma once
// The function settings tab: squelch, scan mode, time-out, VOX, work modes, beeps, PTT ID and the
// other general options of the radio. Every control writes its field into the image the moment it
// changes; the PTT ID code when its edit loses the focus.

#include "pages/ImagePage.h"

#include <QWidget>

class CCodeEdit;
class CVantorDoc;
struct FunctionField;

class CFunctionPage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    explicit CFunctionPage(CVantorDoc& doc, QWidget* parent);
    ~CFunctionPage() override;

    void ReloadFromImage() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillList(const FunctionField& field, int value);
    void OnListChanged(const FunctionField& field, int index);
    void OnCheckClicked(const FunctionField& field, bool checked);
    void OnCodeFocusLost();

    CVantorDoc& m_doc;
    CCodeEdit* m_codeEdit = nullptr;
};
