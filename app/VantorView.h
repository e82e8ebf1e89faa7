#pragma once
// The editor view: a form holding the tab control with the channel table, function settings and
// VFO pages. Every change of the document reaches the pages through OnUpdate.

#include <QWidget>
#include <array>
#include <memory>

class CChannelPrinter;
class CChannelTablePage;
class CPageTabCtrl;
class CVantorDoc;
class IImagePage;

class CVantorView final : public QWidget
{
    Q_OBJECT
public:
    explicit CVantorView(CVantorDoc& doc, QWidget* parent);
    ~CVantorView() override;

    // Once the first document exists: relabel the menus and create the three pages.
    void OnInitialUpdate();
    // Title, then the channel, function and VFO pages reloaded in that order, then the tab titles.
    void OnUpdate();

    // File Print (through the print dialog), print without the dialog and Print Preview: the
    // channels in use and the function settings as the pages show them.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    // The size of the form's template.
    QSize sizeHint() const override;
    CPageTabCtrl* TabCtrl() const { return m_tabCtrl; }
    bool HasPages() const { return m_pages[0] != nullptr; }
    // The channel table page; nothing before the pages exist.
    CChannelTablePage* ChannelPage() const;

private:
    // Nothing before the pages exist.
    std::unique_ptr<CChannelPrinter> MakePrinter() const;
    void RetitleTabs();

    CVantorDoc& m_doc;
    CPageTabCtrl* m_tabCtrl = nullptr;
    QSize m_formSize;
    std::array<IImagePage*, 3> m_pages{}; // channel table, function settings, VFO
};
