#pragma once
// The channel table tab: one grid row per channel, edited in place.

#include "pages/ImagePage.h"

#include <QWidget>

class CVantorDoc;

class CChannelTablePage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    CChannelTablePage(CVantorDoc& doc, QWidget* parent);
    ~CChannelTablePage() override;

    void ReloadFromImage() override;

private:
    CVantorDoc& m_doc;
};
