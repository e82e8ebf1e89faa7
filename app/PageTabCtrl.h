#pragma once
// The view's tab control: one tab per page, exactly one page visible, the page kept at its own size.

#include <QTabWidget>

class CPageTabCtrl final : public QTabWidget
{
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent);
    ~CPageTabCtrl() override;

    // Adds a tab showing `page` with `text`; the first page added is the one shown.
    void AddPage(QWidget* page, const QString& text);
    int PageCount() const { return m_nPages; }

private:
    int m_nPages = 0;
};
