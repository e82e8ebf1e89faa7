#include "pages/FunctionPage.h"

#include "i18n/RelabelDialog.h"

CFunctionPage::CFunctionPage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    ReloadFromImage();
}

CFunctionPage::~CFunctionPage() = default;

void CFunctionPage::ReloadFromImage()
{
    RelabelDialog(this, 151);
}
