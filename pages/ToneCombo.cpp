#include "pages/ToneCombo.h"

#include "radio/ToneList.h"

#include <QSignalBlocker>

CToneCombo::CToneCombo(QWidget* parent) : CCellListCombo(parent) {}

CToneCombo::~CToneCombo() = default;

void CToneCombo::FillToneList()
{
    const QSignalBlocker quiet(this);
    clear();
    for (const std::string& text : ToneList::Texts())
        addItem(QString::fromStdString(text));
}
