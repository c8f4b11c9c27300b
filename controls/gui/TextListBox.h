#pragma once
// TTextListBox: the platform's list box that scrolls sideways as far as its
// widest item (the item's text with "x" after it, tabs expanded when
// TabWidth is 1 or more). The extent follows every change of the items and
// of the font; deleting the widest item scrolls back to the left end.

#include "platform/gui/StdCtrls.h"

class TTextListBox : public TListBox {
public:
    explicit TTextListBox(TComponent* owner);
    void WndProc(TMessage& message) override;
    // The width over which the box scrolls sideways, in pixels.
    int HorizontalExtent() const { return extent_; }

protected:
    virtual int GetItemWidth(int index);
    // The widest item's width, given to the box.
    void ResetHorizontalExtent();

private:
    void SetHorizontalExtent();
    int extent_ = 0;
};
