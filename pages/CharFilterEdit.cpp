#include "pages/CharFilterEdit.h"

#include <QValidator>

namespace {

// Accepts a text when every character is admitted after the characters in front of it.
class CCharFilter final : public QValidator
{
public:
    explicit CCharFilter(CCharFilterEdit* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int&) const override
    {
        for (qsizetype i = 0; i < input.size(); ++i)
            if (!m_edit->Admits(input[i], input.left(i)))
                return Invalid;
        return Acceptable;
    }

private:
    const CCharFilterEdit* m_edit;
};

} // namespace

CCharFilterEdit::CCharFilterEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new CCharFilter(this));
}

CCharFilterEdit::~CCharFilterEdit() = default;
