#pragma once
// What every tab page offers the view: relabel itself, refill its option lists and load every
// control from the document's image.

class IImagePage
{
public:
    virtual ~IImagePage() = default;
    virtual void ReloadFromImage() = 0;
};
