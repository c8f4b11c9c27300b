#include "model/Painter.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

// The canvas settings a painter changes, put back when it is done.
struct TPainterSavedTools {
    explicit TPainterSavedTools(TCanvas* c)
        : canvas(c), penColor(c->Pen()->Color()), penMode(c->Pen()->Mode()), penStyle(c->Pen()->Style()),
          penWidth(c->Pen()->Width()), brushColor(c->Brush()->Color()), brushStyle(c->Brush()->Style()),
          copyMode(c->CopyMode), bkMode(c->BkMode()) {
        font.Assign(c->Font());
    }
    ~TPainterSavedTools() {
        canvas->Pen()->SetColor(penColor);
        canvas->Pen()->SetMode(penMode);
        canvas->Pen()->SetStyle(penStyle);
        canvas->Pen()->SetWidth(penWidth);
        canvas->Brush()->SetColor(brushColor);
        canvas->Brush()->SetStyle(brushStyle);
        canvas->CopyMode = copyMode;
        canvas->SetFont(&font);
        canvas->SetBkMode(bkMode);
    }
    TCanvas* canvas;
    TColor penColor;
    TPenMode penMode;
    TPenStyle penStyle;
    int penWidth;
    TColor brushColor;
    TBrushStyle brushStyle;
    TCopyMode copyMode;
    int bkMode;
    TFont font;
};

namespace {

void SetTextFont(TCanvas* canvas, int pixels, TColor color) {
    TFont* f = canvas->Font();
    if (f->Name() != "Arial")
        f->SetName("Arial");
    if (f->Height() != -pixels)
        f->SetHeight(-pixels);
    if (f->Color() != color)
        f->SetColor(color);
}

// Rendered texts packed in rows of one picture: a text is rendered once, in
// its colour on black, and XOR-ed from here onto a canvas (black leaves the
// canvas as it is). The same text always gives the same pixels, so a copy
// dropped from the cache and made again changes nothing.
class GlyphAtlas {
public:
    static constexpr int kWidth = 1024;
    // Room for some 48,000 short texts; the picture grows only as far as needed.
    static constexpr int kMaxHeight = 16384;

    // A text in the atlas: the part with ink (empty for a text that does not
    // fit, or has none), where that part starts in the text's cell, and the
    // cell's width.
    struct Slot {
        TRect ink;
        int dx = 0, dy = 0;
        int width = 0;
        bool held = false; // false: too large for the atlas, drawn directly
    };
    const Slot& Place(const AnsiString& text, TColor color, int pixels) {
        std::string key = text.str();
        key.push_back('\0');
        key.append(reinterpret_cast<const char*>(&color), sizeof color);
        key.append(reinterpret_cast<const char*>(&pixels), sizeof pixels);
        auto it = slots_.find(key);
        if (it != slots_.end())
            return it->second;
        TCanvas* c = bitmap_.Canvas();
        SetTextFont(c, pixels, color);
        Slot slot;
        slot.width = c->TextWidth(text);
        int h = c->TextHeight(text);
        if (slot.width <= 0 || h <= 0 || slot.width > kWidth || h > 1024)
            return slots_[key] = slot;
        slot.held = true;
        TRect cell = Allocate(slot.width, h);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlack);
        c->FillRect(cell);
        c->Pen()->SetMode(pmCopy);
        c->SetBkMode(TRANSPARENT);
        SetTextFont(c, pixels, color);
        c->TextOut(cell.Left, cell.Top, text);
        // Only the inked part is copied later: the rest is black.
        int l = cell.Right, t = cell.Bottom, r = cell.Left, b = cell.Top;
        for (int y = cell.Top; y < cell.Bottom; ++y)
            for (int x = cell.Left; x < cell.Right; ++x)
                if ((c->Pixels(x, y) & 0xFFFFFF) != 0) {
                    l = std::min(l, x);
                    r = std::max(r, x + 1);
                    t = std::min(t, y);
                    b = std::max(b, y + 1);
                }
        if (l < r) {
            slot.ink = Rect(l, t, r, b);
            slot.dx = l - cell.Left;
            slot.dy = t - cell.Top;
        }
        return slots_[key] = slot;
    }
    TCanvas* Canvas() { return bitmap_.Canvas(); }

private:
    struct Shelf {
        int top, height, used;
    };
    TRect Allocate(int w, int h) {
        for (Shelf& s : shelves_)
            if (s.height == h && s.used + w <= kWidth) {
                TRect r = Bounds(s.used, s.top, w, h);
                s.used += w;
                return r;
            }
        if (bottom_ + h > bitmap_.Height()) {
            if (bottom_ + h > kMaxHeight) {
                // Full: start again (the texts in use are rendered anew).
                slots_.clear();
                shelves_.clear();
                bottom_ = 0;
            } else {
                bitmap_.SetSize(kWidth, std::min(kMaxHeight, std::max(bottom_ + h, bitmap_.Height() * 2)));
            }
        }
        shelves_.push_back({bottom_, h, w});
        bottom_ += h;
        return Bounds(0, shelves_.back().top, w, h);
    }

    TBitmap bitmap_;
    std::unordered_map<std::string, Slot> slots_;
    std::vector<Shelf> shelves_;
    int bottom_ = 0;

public:
    GlyphAtlas() { bitmap_.SetSize(kWidth, 256); }
};

GlyphAtlas& Atlas() {
    static GlyphAtlas atlas;
    return atlas;
}

} // namespace

TPainter::TPainter(TCanvas* canvas, int zoom, TPaintMode mode) : canvas_(canvas), zoom_(zoom), mode_(mode) {
    if (canvas_) {
        saved_ = new TPainterSavedTools(canvas_);
        canvas_->Pen()->SetStyle(psSolid);
        // On paper a line keeps its weight on the sheet at any scale.
        canvas_->Pen()->SetWidth(mode_ == TPaintMode::Print ? std::max(1, zoom_ / 100) : 1);
        canvas_->Pen()->SetMode(mode_ == TPaintMode::Invert ? pmXor : pmCopy);
        canvas_->SetBkMode(TRANSPARENT);
        canvas_->CopyMode = cmSrcInvert;
    }
}

TPainter::~TPainter() { delete saved_; }

void TPainter::PixelLine(int x1, int y1, int x2, int y2, TColor color) {
    canvas_->Pen()->SetColor(color);
    canvas_->MoveTo(x1, y1);
    canvas_->LineTo(x2, y2);
}

void TPainter::Line(int x1, int y1, int x2, int y2, TColor color) {
    if (canvas_)
        PixelLine(Scale(x1), Scale(y1), Scale(x2), Scale(y2), Ink(color));
}

void TPainter::Frame(int left, int top, int right, int bottom, TColor color) {
    if (!canvas_)
        return;
    int l = Scale(left), t = Scale(top), r = Scale(right), b = Scale(bottom);
    TColor c = Ink(color);
    PixelLine(l, t, r, t, c);
    PixelLine(r, t, r, b, c);
    PixelLine(r, b, l, b, c);
    PixelLine(l, b, l, t, c);
}

void TPainter::Pin(int tipX, int y, int edgeX, bool inverted, TColor color) {
    if (!canvas_)
        return;
    int tip = Scale(tipX), edge = Scale(edgeX), py = Scale(y);
    TColor c = Ink(color);
    if (!inverted) {
        PixelLine(tip, py, edge, py, c);
        return;
    }
    // The circle's far side stops one pixel short of the edge, and the line
    // stops short of the circle.
    int r = std::max(1, Scale(2));
    int dir = edge >= tip ? 1 : -1;
    int cx = edge - dir * (r + 1);
    canvas_->Pen()->SetColor(c);
    canvas_->Brush()->SetStyle(bsClear);
    canvas_->Ellipse(cx - r, py - r, cx + r + 1, py + r + 1);
    PixelLine(tip, py, cx - dir * r, py, c);
}

void TPainter::Disc(int cx, int cy, int r, TColor color) {
    if (!canvas_)
        return;
    int x = Scale(cx), y = Scale(cy), p = std::max(1, Scale(r));
    TColor c = Ink(color);
    canvas_->Pen()->SetColor(c);
    canvas_->Brush()->SetStyle(bsSolid);
    canvas_->Brush()->SetColor(c);
    canvas_->Ellipse(x - p, y - p, x + p + 1, y + p + 1);
}

// Draws a text whose cell starts at (x, y), or whose cell is placed by align
// (0 left, 1 centred on x, 2 ending at x).
void TPainter::PixelText(int x, int y, const AnsiString& text, TColor color, int pixels, int align) {
    const GlyphAtlas::Slot& slot = Atlas().Place(text, color, pixels);
    x -= align == 1 ? slot.width / 2 : align == 2 ? slot.width : 0;
    if (mode_ == TPaintMode::Invert && slot.held) {
        if (!IsRectEmpty(slot.ink))
            canvas_->CopyRect(Bounds(x + slot.dx, y + slot.dy, slot.ink.Width(), slot.ink.Height()), Atlas().Canvas(),
                              slot.ink);
        return;
    }
    SetTextFont(canvas_, pixels, color);
    canvas_->TextOut(x, y, text);
}

void TPainter::AlignedText(int x, int y, const AnsiString& text, TColor color, int height, int align) {
    int h = Scale(height);
    if (h >= 5 && !text.IsEmpty() && canvas_)
        PixelText(Scale(x), Scale(y), text, Ink(color), h, align);
}

int TPainter::TextWidth(const AnsiString& text, int height, int zoom) {
    const int pixels = TPainter(nullptr, zoom, TPaintMode::Normal).Scale(height);
    if (pixels < 5 || text.IsEmpty())
        return 0;
    TCanvas* c = Atlas().Canvas();
    SetTextFont(c, pixels, clBlack);
    return c->TextWidth(text);
}

void TPainter::Text(int x, int y, const AnsiString& text, TColor color, int height) {
    AlignedText(x, y, text, color, height, 0);
}

void TPainter::TextCentered(int cx, int y, const AnsiString& text, TColor color, int height) {
    AlignedText(cx, y, text, color, height, 1);
}

void TPainter::TextRight(int right, int y, const AnsiString& text, TColor color, int height) {
    AlignedText(right, y, text, color, height, 2);
}
