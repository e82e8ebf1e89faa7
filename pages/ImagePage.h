#pragma once
// What every tab page offers the view: relabel itself, refill its option lists and load every
// control from the document's image; and whether the main window's shortcuts reach into it.

class IImagePage
{
public:
    virtual ~IImagePage() = default;
    virtual void ReloadFromImage() = 0;
    // Whether the program's shortcut keys work while the focus is inside the page.
    virtual bool ForwardsShortcuts() const { return true; }
};
