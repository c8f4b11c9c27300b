#include "controls/gui/TextListBox.h"

#include "controls/gui/ExListBox.h"
#include "platform/Bitmap.h"

TTextListBox::TTextListBox(TComponent* owner) : TListBox(owner) { SetHorizontalExtent(); }

int TTextListBox::GetItemWidth(int index) {
    TBitmap measure;
    measure.Canvas()->SetFont(Font());
    return ListTextWidth(measure.Canvas(), Items()->Get(index) + "x", TabWidth);
}

void TTextListBox::SetHorizontalExtent() { Perform(LB_SETHORIZONTALEXTENT, WPARAM(extent_)); }

void TTextListBox::ResetHorizontalExtent() {
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i) widest = std::max(widest, GetItemWidth(i));
    extent_ = widest;
    SetHorizontalExtent();
}

void TTextListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        TListBox::WndProc(message);
        if (message.Result >= 0) {
            int width = GetItemWidth(int(message.Result));
            if (width > extent_) {
                extent_ = width;
                SetHorizontalExtent();
            }
        }
        return;
    case LB_DELETESTRING: {
        int index = int(message.WParam);
        // Without its widest item the box may be narrower: back to the left end first.
        bool widest = index >= 0 && index < Items()->Count() && GetItemWidth(index) >= extent_;
        if (widest) Perform(WM_HSCROLL, SB_TOP);
        TListBox::WndProc(message);
        if (widest) ResetHorizontalExtent();
        return;
    }
    case LB_RESETCONTENT:
        TListBox::WndProc(message);
        extent_ = 0;
        SetHorizontalExtent();
        Perform(WM_HSCROLL, SB_TOP);
        return;
    default:
        break;
    }
    TListBox::WndProc(message);
    if (message.Msg == CM_FONTCHANGED) ResetHorizontalExtent();
}
