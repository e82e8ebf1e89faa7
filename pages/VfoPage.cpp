#include "pages/VfoPage.h"

#include "i18n/RelabelDialog.h"

CVfoPage::CVfoPage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    ReloadFromImage();
}

CVfoPage::~CVfoPage() = default;

void CVfoPage::ReloadFromImage()
{
    RelabelDialog(this, 135);
}
