#include "controls/Exconst.h"

#include <cmath>
#include <initializer_list>
#include <mutex>

#include "platform/Bitmap.h"

namespace {

// Fixed colours of the pictures (they are pictures, not themed drawing).
constexpr TColor kBack = clFuchsia;      // left out when drawn
constexpr TColor kShadow = 0x808080;
constexpr TColor kFace = 0xC0C0C0;

// Paints a picture from rows of characters: '.' background, the others by map.
void PaintMap(TBitmap& b, int x0, int y0, std::initializer_list<const char*> rows) {
    int y = y0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x) {
            TColor c;
            switch (row[x]) {
            case 'X': c = clBlack; break;
            case 'w': c = clWhite; break;
            case 'g': c = kShadow; break;
            case 's': c = kFace; break;
            case 'y': c = clYellow; break;
            case 'o': c = clOlive; break;
            case 'r': c = clRed; break;
            default: continue;
            }
            b.Canvas()->SetPixels(x0 + x, y, c);
        }
        ++y;
    }
}

void Clear(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(kBack);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
}

// The 7 x 7 tick, three pixels thick.
void Tick(TBitmap& b, int x0, int y0, TColor color) {
    static const int top[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k) b.Canvas()->SetPixels(x0 + i, y0 + top[i] + k, color);
}

void CheckBoxCell(TBitmap& b, int x0, int y0, bool enabled, int state) {
    TCanvas* c = b.Canvas();
    int x = x0 + 1, y = y0;
    c->Brush()->SetColor(kShadow);
    c->FillRect(Rect(x, y, x + 12, y + 1));
    c->FillRect(Rect(x, y, x + 1, y + 12));
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(x, y + 12, x + 13, y + 13));
    c->FillRect(Rect(x + 12, y, x + 13, y + 13));
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(x + 1, y + 1, x + 11, y + 2));
    c->FillRect(Rect(x + 1, y + 1, x + 2, y + 11));
    c->Brush()->SetColor(kFace);
    c->FillRect(Rect(x + 1, y + 11, x + 12, y + 12));
    c->FillRect(Rect(x + 11, y + 1, x + 12, y + 12));
    c->Brush()->SetColor(enabled && state != 2 ? clWhite : kFace);
    c->FillRect(Rect(x + 2, y + 2, x + 11, y + 11));
    if (state != 0) Tick(b, x + 3, y + 3, enabled && state == 1 ? clBlack : kShadow);
}

void RadioCell(TBitmap& b, int x0, int y0, bool enabled, int state) {
    const double cx = 5.5, cy = 5.5;
    for (int py = 0; py < 12; ++py) {
        for (int px = 0; px < 12; ++px) {
            double d = std::hypot(px - cx, py - cy);
            bool topLeft = (px - cx) + (py - cy) < 0;
            TColor c;
            if (d <= 4.0) c = enabled ? clWhite : kFace;
            else if (d <= 5.0) c = topLeft ? clBlack : kFace;
            else if (d <= 6.2) c = topLeft ? kShadow : clWhite;
            else continue;
            if (d <= 2.0 && state == 1) c = enabled ? clBlack : kShadow;
            b.Canvas()->SetPixels(x0 + 2 + px, y0 + 1 + py, c);
        }
    }
}

// A check mark stands in a flat one-pixel box in every state, so that an
// unmarked item still shows where a click marks it.
void CheckMarkCell(TBitmap& b, int x0, int y0, bool enabled, int state) {
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(enabled ? kShadow : kFace);
    c->FrameRect(Rect(x0 + 2, y0 + 1, x0 + 13, y0 + 12));
    if (state != 0) Tick(b, x0 + 4, y0 + 3, enabled && state == 1 ? clBlack : kShadow);
}

void PaintCheckImages(TBitmap& b) {
    Clear(b, 96, 39);
    for (int kind = 0; kind < 3; ++kind) {
        for (int col = 0; col < 6; ++col) {
            int x0 = col * 16, y0 = kind * 13;
            bool enabled = col < 3;
            int state = col % 3;
            if (kind == 0) CheckBoxCell(b, x0, y0, enabled, state);
            else if (kind == 1) RadioCell(b, x0, y0, enabled, state);
            else CheckMarkCell(b, x0, y0, enabled, state);
        }
    }
}

// The arrows fill their pictures, so the colour left out is fixed rather
// than taken from the bottom-left pixel.
void PaintSpinUp(TBitmap& b) {
    Clear(b, 7, 4);
    PaintMap(b, 0, 0, {"...X...", "..XXX..", ".XXXXX.", "XXXXXXX"});
    b.SetTransparentColor(kBack);
}

void PaintSpinDown(TBitmap& b) {
    Clear(b, 7, 4);
    PaintMap(b, 0, 0, {"XXXXXXX", ".XXXXX.", "..XXX..", "...X..."});
    b.SetTransparentColor(kBack);
}

void PaintFileEdit(TBitmap& b) {
    Clear(b, 14, 12);
    PaintMap(b, 0, 0, {"..............",
                       ".XXXX.........",
                       "XyyyyXXXXXX...",
                       "XyyyyyyyyyX...",
                       "XyyXXXXXXXXXX.",
                       "XyXoooooooooX.",
                       "XyXooooooooX..",
                       "XXoooooooooX..",
                       "XXooooooooX...",
                       "XXXXXXXXXXX...",
                       "..............",
                       ".............."});
}

// Two cells: the calendar sheet, and the same sheet embossed in grey for a
// button that is disabled (its dark pixels in the shadow colour over a
// white copy one pixel down and right; its light ones left out).
void PaintDateEdit(TBitmap& b) {
    constexpr int kCell = 14;
    Clear(b, 2 * kCell, 12);
    PaintMap(b, 0, 0, {"..............",
                       ".XXXXXXXXXXXX.",
                       ".XrrrrrrrrrrX.",
                       ".XrrrrrrrrrrX.",
                       ".XXXXXXXXXXXX.",
                       ".XwXwXwXwXwwX.",
                       ".XwwwwwwwwwwX.",
                       ".XwXwXwXwXwwX.",
                       ".XwwwwwwwwwwX.",
                       ".XwXwXwXwwwwX.",
                       ".XXXXXXXXXXXX.",
                       ".............."});
    TCanvas* c = b.Canvas();
    auto dark = [c](int x, int y) {
        const TColor p = c->Pixels(x, y);
        return p == clBlack || p == clRed;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < kCell; ++x)
                if (dark(x, y)) {
                    if (pass == 0) c->SetPixels(kCell + x + 1, y + 1, clWhite);
                    else c->SetPixels(kCell + x, y, kShadow);
                }
}

// The navigation arrows of the calendars: two-colour pictures, black on
// white (white is left out when they are drawn).
void PaintMono(TBitmap& b, std::initializer_list<const char*> rows) {
    b.SetMonochrome(true);
    b.SetSize(8, 6);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 8, 6));
    PaintMap(b, 0, 0, rows);
    // Fixed: a picture with a black corner pixel would lose its black.
    b.SetTransparentColor(clWhite);
}

void PaintPrev2(TBitmap& b) {
    PaintMono(b, {"...X...X", "..XX..XX", ".XXX.XXX", ".XXX.XXX", "..XX..XX", "...X...X"});
}

void PaintPrev1(TBitmap& b) {
    PaintMono(b, {"....X...", "...XX...", "..XXX...", "..XXX...", "...XX...", "....X..."});
}

void PaintNext1(TBitmap& b) {
    PaintMono(b, {"...X....", "...XX...", "...XXX..", "...XXX..", "...XX...", "...X...."});
}

void PaintNext2(TBitmap& b) {
    PaintMono(b, {"X...X...", "XX..XX..", "XXX.XXX.", "XXX.XXX.", "XX..XX..", "X...X..."});
}

void PaintHandCursor(TBitmap& b) {
    Clear(b, 32, 32);
    PaintMap(b, 0, 0, {"....XX..........", "...XwwX.........", "...XwwX.........", "...XwwX.........",
                       "...XwwXXX.......", "...XwwXwwXXX....", "...XwwXwwXwwXX..", "XX.XwwXwwXwwXwX.",
                       "XwwXwwwwwwwwXwwX", "XwwwwwwwwwwwwwwX", ".XwwwwwwwwwwwwwX", ".XwwwwwwwwwwwwwX",
                       "..XwwwwwwwwwwwX.", "..XwwwwwwwwwwwX.", "...XwwwwwwwwwX..", "...XwwwwwwwwwX..",
                       "....XXXXXXXXX..."});
}

void PaintDragCursor(TBitmap& b) {
    Clear(b, 32, 32);
    PaintMap(b, 0, 0, {"X..............", "XX.............", "XwX............", "XwwX...........",
                       "XwwwX..........", "XwwwwX.........", "XwwwwwX........", "XwwwwwwX.......",
                       "XwwwwwwwX......", "XwwwwwXXXX.....", "XwwXwwX........", "XwX.XwwX.......",
                       "XX..XwwX.......", "X....XwwX......", ".....XwwX......", "......XX.......",
                       "...............", ".......XXXXXXXX", ".......XwwwwwwX", ".......XwwwwwwX",
                       ".......XXXXXXXX"});
}

} // namespace

AnsiString ExLoadStr(int id) {
    switch (id) {
    case SInformation: return "Сведения"_a;
    case SLoadLibError: return "Невозможно загрузить библиотеку '%s'"_a;
    case SFileNotExec:
        return "Указанный файл не является исполнимым файлом, динамической библиотекой или файлом иконки"_a;
    case SNotImplemented: return "Функция не реализована"_a;
    case SPrevMonth: return "Предыдущий месяц|"_a;
    case SPrevYear: return "Предыдущий год|"_a;
    case SNextMonth: return "Следующий месяц|"_a;
    case SNextYear: return "Следующий год|"_a;
    case SDateDlgTitle: return "Выбор даты"_a;
    case SDefaultFilter: return "Все файлы (*.*)|*.*"_a;
    case SBrowse: return "Список"_a;
    default: return AnsiString();
    }
}

void RegisterExResources() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterBitmapResource("CHECK_IMAGES", PaintCheckImages);
        RegisterBitmapResource("EXSPINUP", PaintSpinUp);
        RegisterBitmapResource("EXSPINDOWN", PaintSpinDown);
        RegisterBitmapResource("FEDITBMP", PaintFileEdit);
        RegisterBitmapResource("DEDITBMP", PaintDateEdit);
        RegisterBitmapResource("PREV2", PaintPrev2);
        RegisterBitmapResource("PREV1", PaintPrev1);
        RegisterBitmapResource("NEXT1", PaintNext1);
        RegisterBitmapResource("NEXT2", PaintNext2);
        RegisterBitmapResource("EX_HANDCUR", PaintHandCursor);
        RegisterBitmapResource("EX_DRAGCUR", PaintDragCursor);
    });
}
