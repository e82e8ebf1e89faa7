#include "app/PageTabCtrl.h"

CPageTabCtrl::CPageTabCtrl(QWidget* parent) : QTabWidget(parent)
{
    // Pages keep the size of their template; the tab control never stretches them.
    setUsesScrollButtons(false);
}

CPageTabCtrl::~CPageTabCtrl() = default;

void CPageTabCtrl::AddPage(QWidget* page, const QString& text)
{
    insertTab(m_nPages, page, text);
    ++m_nPages;
}
