#pragma once
// Single-line edit that admits only the characters of its filter, whether typed, pasted or dropped.

#include <QLineEdit>

class CCharFilterEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CCharFilterEdit(QWidget* parent = nullptr);
    ~CCharFilterEdit() override;

    // Whether character `c` may follow `before` (the text in front of it).
    virtual bool Admits(QChar c, const QString& before) const = 0;
};
