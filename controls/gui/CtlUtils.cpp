#include "controls/gui/CtlUtils.h"

#include <algorithm>

#include "controls/Exconst.h"
#include "platform/Bitmap.h"

namespace {

int g_waitCount = 0;
TCursor g_savedCursor = crDefault;

// The picture of a control that paints itself, or null.
TCanvas* PictureOf(TControl* c) {
    if (auto* f = dynamic_cast<TForm*>(c)) return f->Canvas();
    if (auto* cc = dynamic_cast<TCustomControl*>(c)) return cc->Canvas();
    if (auto* gc = dynamic_cast<TGraphicControl*>(c)) return gc->Canvas();
    return nullptr;
}

} // namespace

void StartWait() {
    if (g_waitCount++ == 0) {
        g_savedCursor = Screen->Cursor();
        Screen->SetCursor(crHourGlass);
    }
}

void StopWait() {
    if (g_waitCount <= 0) return;
    if (--g_waitCount == 0) Screen->SetCursor(g_savedCursor);
}

int WaitCount() { return g_waitCount; }

void CenterWindow(TForm* form) {
    if (!form) return;
    TRect area = Screen->WorkAreaRect();
    int left = area.Left + (area.Width() - form->Width()) / 2;
    int top = area.Top + (area.Height() - form->Height()) / 2;
    left = std::max(area.Left, std::min(left, area.Right - form->Width()));
    top = std::max(area.Top, std::min(top, area.Bottom - form->Height()));
    form->SetBounds(left, top, form->Width(), form->Height());
}

void SwitchToWindow(TForm* form, bool restore) {
    if (!form || !form->Enabled()) return;
    if (restore && form->Visible() && form->WindowState() == wsMinimized) form->SetWindowState(wsNormal);
    form->BringToFront();
    if (form->Visible()) form->SetFocus();
}

bool IsForegroundTask() { return Application->Active(); }

void CopyParentImage(TControl* control, TCanvas* dest) {
    if (!control || !dest || !control->Parent()) return;
    TWinControl* parent = control->Parent();
    TRect area = control->BoundsRect();
    TRect target = Rect(0, 0, area.Width(), area.Height());
    if (TCanvas* picture = PictureOf(parent)) dest->CopyRect(target, picture, area);
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == control) break;
        if (!sibling->Visible() || !dynamic_cast<TGraphicControl*>(sibling)) continue;
        TRect common;
        if (!IntersectRect(common, sibling->BoundsRect(), area)) continue;
        TRect from = common;
        OffsetRect(from, -sibling->Left(), -sibling->Top());
        TRect to = common;
        OffsetRect(to, -area.Left, -area.Top);
        dest->CopyRect(to, PictureOf(sibling), from);
    }
}

int FontTextHeight(const TFont* font, const AnsiString& sample) {
    TBitmap measure;
    measure.Canvas()->SetFont(const_cast<TFont*>(font));
    return measure.Canvas()->TextHeight(sample);
}

int EditMinHeight(const TFont* font) {
    const int borderHeight = 1;
    return FontTextHeight(font, "0") + 4 * borderHeight + 1;
}

bool IsAccelerator(WPARAM key, const AnsiString& caption) {
    char upper = char(AnsiUpperChar(static_cast<unsigned char>(key)));
    AnsiString text = caption.AnsiUpperCase();
    int amp = text.Pos("&");
    return amp > 0 && amp < text.Length() && text[amp + 1] == upper;
}

bool MouseIsOver(TControl* control) {
    return control && FindControlAtScreen(GetCursorPos()) == control && IsForegroundTask();
}

void NotImplemented() {
    Screen->SetCursor(crDefault);
    MessageDlg(ExLoadStr(SNotImplemented), mtInformation, mbOKOnly, 0);
    Abort();
}
