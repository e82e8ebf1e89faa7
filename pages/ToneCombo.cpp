#include "pages/ToneCombo.h"

#include "radio/ToneList.h"

#include <QSignalBlocker>

CToneCombo::CToneCombo(QWidget* parent) : CCellListCombo(parent) {}

CToneCombo::~CToneCombo() = default;

void CToneCombo::FillToneList()
{
    // Built afresh each time: entry 0 is the current language's "off". Adding all entries in one go
    // is much faster than 259 single insertions.
    QStringList texts;
    for (const std::string& text : ToneList::Texts())
        texts << QString::fromStdString(text);
    const QSignalBlocker quiet(this);
    clear();
    addItems(texts);
}
