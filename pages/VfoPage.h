#pragma once
// Stand-in for the VFO tab until its page lands: relabels itself and shows nothing else.

#include "pages/ImagePage.h"

#include <QWidget>

class CVantorDoc;

class CVfoPage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    CVfoPage(CVantorDoc& doc, QWidget* parent);
    ~CVfoPage() override;

    void ReloadFromImage() override;

private:
    CVantorDoc& m_doc;
};
