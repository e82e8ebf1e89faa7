#include "pages/ChannelTablePage.h"

CChannelTablePage::CChannelTablePage(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    ReloadFromImage();
}

CChannelTablePage::~CChannelTablePage() = default;

void CChannelTablePage::ReloadFromImage()
{
}
