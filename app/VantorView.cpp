#include "app/VantorView.h"

#include "app/ChannelPrinter.h"
#include "app/PageTabCtrl.h"
#include "i18n/LangText.h"
#include "i18n/RelabelMenus.h"
#include "pages/ChannelTablePage.h"
#include "pages/FunctionPage.h"
#include "pages/VfoPage.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QMainWindow>
#include <QMenuBar>

namespace {

constexpr qreal kFormPointSize = 8.0;
constexpr std::array<const char*, 3> kTabKeys = {"IDS_CHANNEL", "IDS_FUNCTION", "IDS_VFOFREQ"};

// Tab titles carry five spaces on each side of the language text.
QString TabTitle(const char* key)
{
    const QString pad(5, QLatin1Char(' '));
    return pad + QString::fromStdString(LoadLangString(key)) + pad;
}

} // namespace

CVantorView::CVantorView(CVantorDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    // The form and its pages are laid out in dialog units of an 8-point font, the size they were
    // designed for; with it the whole form fits the largest main window.
    QFont formFont = font();
    formFont.setPointSizeF(kFormPointSize);
    setFont(formFont);
    CDialogBuilder::Build(this, g_dlgView, [](int, QWidget* p) -> QWidget* { return new CPageTabCtrl(p); });
    m_tabCtrl = GetDlgItemAs<CPageTabCtrl>(this, idc::view::Tabs);
    m_formSize = size();
    // The form may lose its empty margin right of and below the tab control before it scrolls.
    setMinimumSize(m_tabCtrl->geometry().bottomRight().x() + 1, m_tabCtrl->geometry().bottomRight().y() + 1);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_doc.SetUpdateAllViewsHandler([this] { OnUpdate(); });
}

CVantorView::~CVantorView()
{
    m_doc.SetUpdateAllViewsHandler({});
}

QSize CVantorView::sizeHint() const
{
    return m_formSize;
}

void CVantorView::OnInitialUpdate()
{
    if (auto* frame = qobject_cast<QMainWindow*>(window()))
        RelabelMenus(frame->menuBar());
    if (HasPages())
        return;
    // Each page relabels itself and loads the image while it is made.
    auto* channel = new CChannelTablePage(m_doc, m_tabCtrl);
    auto* function = new CFunctionPage(m_doc, m_tabCtrl);
    auto* vfo = new CVfoPage(m_doc, m_tabCtrl);
    m_pages = {channel, function, vfo};
    m_tabCtrl->AddPage(channel, TabTitle(kTabKeys[0]));
    m_tabCtrl->AddPage(function, TabTitle(kTabKeys[1]));
    m_tabCtrl->AddPage(vfo, TabTitle(kTabKeys[2]));
}

void CVantorView::OnUpdate()
{
    window()->setWindowTitle(QString::fromStdString(LoadLangString("IDS_WINDOWNAME")));
    if (!HasPages())
        return;
    for (IImagePage* page : m_pages)
        page->ReloadFromImage();
    RetitleTabs();
    for (int i = 0; i < m_tabCtrl->count(); ++i)
        m_tabCtrl->widget(i)->update();
}

void CVantorView::RetitleTabs()
{
    for (int i = 0; i < static_cast<int>(kTabKeys.size()) && i < m_tabCtrl->count(); ++i)
        m_tabCtrl->setTabText(i, TabTitle(kTabKeys[static_cast<std::size_t>(i)]));
}

CChannelTablePage* CVantorView::ChannelPage() const
{
    return dynamic_cast<CChannelTablePage*>(m_pages[0]);
}

std::unique_ptr<CChannelPrinter> CVantorView::MakePrinter() const
{
    const auto* channels = dynamic_cast<const CChannelTablePage*>(m_pages[0]);
    const auto* function = dynamic_cast<const QWidget*>(m_pages[1]);
    if (!channels || !function)
        return nullptr;
    return std::make_unique<CChannelPrinter>(channels->Grid(), *function);
}

void CVantorView::OnFilePrint()
{
    if (const auto printer = MakePrinter())
        printer->PrintWithDialog(this);
}

void CVantorView::OnFilePrintDirect()
{
    if (const auto printer = MakePrinter())
        printer->PrintWithoutDialog(this);
}

void CVantorView::OnFilePrintPreview()
{
    if (const auto printer = MakePrinter())
        printer->PrintPreview(this);
}
