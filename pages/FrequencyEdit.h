#pragma once
// In-place editor of the RX and TX frequency cells: digits and one point, at most 9 characters.

#include "pages/InPlaceEdit.h"

class CFrequencyEdit final : public CInPlaceEdit
{
    Q_OBJECT
public:
    explicit CFrequencyEdit(QWidget* parent = nullptr);
    ~CFrequencyEdit() override;

    bool Admits(QChar c, const QString& before) const override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
