#pragma once
// In-place editor of the name cells: the radio's name alphabet plus lower-case letters (stored as
// upper case), at most 5 characters.

#include "pages/InPlaceEdit.h"

class CNameEdit final : public CInPlaceEdit
{
    Q_OBJECT
public:
    explicit CNameEdit(QWidget* parent = nullptr);
    ~CNameEdit() override;

    bool Admits(QChar c, const QString& before) const override;
};
