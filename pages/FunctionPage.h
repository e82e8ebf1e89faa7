#pragma once
// Stand-in for the function settings tab until its page lands: relabels itself and shows nothing else.

#include "pages/ImagePage.h"

#include <QWidget>

class CVantorDoc;

class CFunctionPage final : public QWidget, public IImagePage
{
    Q_OBJECT
public:
    CFunctionPage(CVantorDoc& doc, QWidget* parent);
    ~CFunctionPage() override;

    void ReloadFromImage() override;

private:
    CVantorDoc& m_doc;
};
