// The library's window placement, message, cursor and grid-cell helpers.

#include <algorithm>
#include <memory>

#include "controls/gui/CtlUtils.h"
#include "platform/ScopeGuard.h"
#include "platform/gui/Dialogs.h"

namespace {

// The canvas a control paints on, or null.
TCanvas* CanvasOf(TControl* c) {
    if (auto* f = dynamic_cast<TForm*>(c)) return f->Canvas();
    if (auto* cc = dynamic_cast<TCustomControl*>(c)) return cc->Canvas();
    if (auto* gc = dynamic_cast<TGraphicControl*>(c)) return gc->Canvas();
    return nullptr;
}

// The off-screen bitmap that WriteText lays wrapped text out in; made on
// first use, freed when the program ends.
TBitmap& WriteTextBitmap() {
    static std::unique_ptr<TBitmap> bitmap = std::make_unique<TBitmap>();
    return *bitmap;
}

} // namespace

void CenterControl(TControl* control) {
    if (!control) return;
    int areaWidth, areaHeight;
    auto* form = dynamic_cast<TForm*>(control);
    if (form && form->FormStyle() == fsMDIChild && form->MDIParent()) {
        areaWidth = form->MDIParent()->ClientWidth();
        areaHeight = form->MDIParent()->ClientHeight();
    } else if (form || !control->Parent()) {
        areaWidth = Screen->Width();
        areaHeight = Screen->Height();
    } else {
        areaWidth = control->Parent()->ClientWidth();
        areaHeight = control->Parent()->ClientHeight();
    }
    int left = std::max(0, (areaWidth - control->Width()) / 2);
    int top = std::max(0, (areaHeight - control->Height()) / 2);
    control->SetBounds(left, top, control->Width(), control->Height());
}

void MergeForm(TWinControl* control, TForm* form, TAlign align, bool show) {
    if (!control || !form) return;
    const bool autoScroll = form->AutoScroll;
    const TRect screenBounds = form->BoundsRect();
    control->DisableAlign();
    TScopeGuard realign([control] { control->EnableAlign(); });
    form->SetVisible(false);
    form->SetBorderStyle(bsNone);
    form->SetBorderIcons(0);
    form->SetParent(control);
    form->AutoScroll = autoScroll;
    if (align == alNone) {
        const TPoint origin = control->ClientOrigin();
        form->SetBounds(screenBounds.Left - origin.x, screenBounds.Top - origin.y, screenBounds.Width(),
                        screenBounds.Height());
    } else {
        form->SetAlign(align);
    }
    form->SetVisible(show);
}

void ShowWinNoAnimate(TControl* control, unsigned cmdShow) {
    if (!control) return;
    auto* form = dynamic_cast<TForm*>(control);
    switch (cmdShow) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (form) form->SetWindowState(wsMinimized);
        break;
    case SW_SHOWMAXIMIZED:
        if (form) form->SetWindowState(wsMaximized);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (form) form->SetWindowState(wsNormal);
        break;
    default:
        break;
    }
    if (cmdShow == SW_HIDE) {
        ShowWindow(control, SW_HIDE);
        return;
    }
    if (form && !form->Visible()) form->Show();
    else ShowWindow(control, cmdShow == SW_SHOWNA ? SW_SHOWNA : SW_SHOW);
}

void ActivateWindow(TControl* control) {
    if (!control) return;
    ShowWinNoAnimate(control, SW_SHOW);
    SetActiveWindow(control);
}

void ShowMDIClientEdge(TForm* frame, bool showEdge) {
    if (frame) frame->SetMDIClientEdge(showEdge);
}

int MsgBox(const AnsiString& caption, const AnsiString& text, unsigned flags) {
    return Application->MessageBox(text, caption, flags);
}

int MsgDlg(const AnsiString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    return MessageDlg(msg, type, buttons, helpContext);
}

void KillMessage(TControl* control, unsigned msg) {
    TMessage removed;
    if (!RemovePostedMessage(control, msg, removed)) return;
    if (removed.Msg == WM_QUIT) PostMessage(control, WM_QUIT, removed.WParam);
}

int DefineCursor(HINSTANCE instance, const AnsiString& name) {
    std::unique_ptr<TBitmap> picture(MakeModuleBitmap(instance, name));
    picture->SetTransparent(true);
    for (int number = 100; number <= 32767; ++number) {
        if (Screen->HasCursor(number)) continue;
        Screen->SetCursors(number, *picture, 0, 0);
        return number;
    }
    throw EOutOfResources("Out of system resources");
}

void WriteText(TCanvas* canvas, const TRect& rect, int dx, int dy, const AnsiString& text, TAlignment alignment,
               bool wordWrap, bool rightToLeft) {
    if (!canvas) return;
    // Every colour of the program's canvases is one the device shows as it is,
    // so a single line is written directly.
    if (!wordWrap && text.Pos("\r") == 0) {
        int x;
        switch (alignment) {
        case taRightJustify: x = rect.Right - canvas->TextWidth(text) - 3; break;
        case taCenter: x = rect.Left + (rect.Right - rect.Left) / 2 - canvas->TextWidth(text) / 2; break;
        default: x = rect.Left + dx; break;
        }
        canvas->TextRect(rect, x, rect.Top + dy, text);
        return;
    }
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap& bitmap = WriteTextBitmap();
    TCanvas* work = bitmap.Canvas();
    work->Lock();
    TScopeGuard unlock([work] { work->Unlock(); });
    if (bitmap.Width() < w || bitmap.Height() < h)
        bitmap.SetSize(std::max(bitmap.Width(), w), std::max(bitmap.Height(), h));
    work->SetFont(canvas->Font());
    work->SetBrush(canvas->Brush());
    const TRect area = Rect(0, 0, w, h);
    work->FillRect(area);
    work->SetBkMode(TRANSPARENT);
    unsigned format = DT_EXPANDTABS | DT_NOPREFIX;
    format |= alignment == taRightJustify ? unsigned(DT_RIGHT) : alignment == taCenter ? unsigned(DT_CENTER) : 0u;
    if (wordWrap) format |= DT_WORDBREAK;
    if (rightToLeft) format |= DT_RTLREADING;
    TRect box = Rect(dx, dy, w - 1, h - 1);
    work->DrawText(text, box, format);
    canvas->CopyRect(rect, work, area);
}

void DrawCellTextEx(TControl* control, int, int, const AnsiString& text, const TRect& rect, TAlignment align,
                    TVertAlignment vertAlign, bool wordWrap, bool rightToLeft) {
    TCanvas* canvas = CanvasOf(control);
    if (!canvas) return;
    const int free = rect.Height() - canvas->TextHeight("W");
    int dy;
    switch (vertAlign) {
    case vaCenter: dy = std::max(1, free / 2); break;
    case vaBottomJustify: dy = std::max(2, free); break;
    default: dy = 2; break;
    }
    WriteText(canvas, rect, 2, dy, text, align, wordWrap, rightToLeft);
}

void DrawCellText(TControl* control, int col, int row, const AnsiString& text, const TRect& rect, TAlignment align,
                  TVertAlignment vertAlign) {
    DrawCellTextEx(control, col, row, text, rect, align, vertAlign, align == taCenter, false);
}

void DrawCellText(TControl* control, int col, int row, const AnsiString& text, const TRect& rect, TAlignment align,
                  TVertAlignment vertAlign, bool rightToLeft) {
    DrawCellTextEx(control, col, row, text, rect, align, vertAlign, align == taCenter, rightToLeft);
}

void DrawCellBitmap(TControl* control, int, int, TBitmap* graphic, const TRect& rect) {
    TCanvas* canvas = CanvasOf(control);
    if (!canvas || !graphic || graphic->Empty()) return;
    canvas->Draw(rect.Left + (rect.Width() - graphic->Width()) / 2, rect.Top + (rect.Height() - graphic->Height()) / 2,
                 graphic);
}
