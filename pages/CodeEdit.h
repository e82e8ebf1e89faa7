#pragma once
// The PTT ID code edit of the function settings page: digits, A to D (either case), "*" and "#".
// The page sets its text limit.

#include "pages/CharFilterEdit.h"

class CCodeEdit final : public CCharFilterEdit
{
    Q_OBJECT
public:
    explicit CCodeEdit(QWidget* parent = nullptr);
    ~CCodeEdit() override;

    bool Admits(QChar c, const QString& before) const override;
};
