#pragma once
// Drop-down list of the tone list (off, CTCSS tones, normal and inverted DCS codes): in place over
// the channel table's tone cells, and as the VFO page's tone selectors. Esc keeps the current
// selection, which the owner commits when the list loses the focus.

#include "pages/CellListCombo.h"

class CToneCombo final : public CCellListCombo
{
    Q_OBJECT
public:
    explicit CToneCombo(QWidget* parent = nullptr);
    ~CToneCombo() override;

    // Empties the list and fills it with the tone list; entry i is tone index i.
    void FillToneList();

protected:
    void RestoreOriginal() override {}
};
