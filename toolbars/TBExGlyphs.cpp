// The state images of toolbar buttons and the lists that share them.
#include <algorithm>

#include "toolbars/TBExCtls.h"

namespace tbex {

// ---- glyph list -----------------------------------------------------------------------------

TGlyphList::TGlyphList(int width, int height) { images_.SetSize(width, height); }

int TGlyphList::Store(TBitmap* image, TBitmap* mask) {
    auto it = std::find(used_.begin(), used_.end(), false);
    int index;
    if (it != used_.end()) {
        index = int(it - used_.begin());
        images_.Replace(index, image, mask);
        *it = true;
    } else {
        index = images_.Add(image, mask);
        used_.push_back(true);
    }
    ++count_;
    return index;
}

void TGlyphList::Delete(int index) {
    if (index < 0 || index >= int(used_.size()) || !used_[std::size_t(index)]) return;
    used_[std::size_t(index)] = false;
    --count_;
}

void TGlyphList::Draw(TCanvas* canvas, int x, int y, int index) const { images_.Draw(canvas, x, y, index, true); }

// ---- glyph cache ----------------------------------------------------------------------------

TGlyphList* TGlyphCache::GetList(int width, int height) {
    for (auto& l : lists_)
        if (l->Width() == width && l->Height() == height) return l.get();
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->Count() > 0) return;
    lists_.erase(std::remove_if(lists_.begin(), lists_.end(), [list](const auto& l) { return l.get() == list; }), lists_.end());
}

namespace {
TGlyphCache* g_cache = nullptr;
int g_glyphCount = 0;

uint32_t Rgb(TColor c) {
    TColor v = ColorToRGB(c);
    return uint32_t(GetRValue(v)) << 16 | uint32_t(GetGValue(v)) << 8 | uint32_t(GetBValue(v));
}
} // namespace

TGlyphCache* GlyphCache() { return g_cache; }

// ---- button glyph --------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() {
    if (g_glyphCount++ == 0) g_cache = new TGlyphCache;
    glyph_.OnChange = [this](TObject*) { GlyphChanged(); };
    mask_.OnChange = [this](TObject*) {
        Invalidate();
        if (OnChange) OnChange(nullptr);
    };
}

TButtonGlyph::~TButtonGlyph() {
    glyph_.OnChange = nullptr;
    mask_.OnChange = nullptr;
    SetImages(nullptr);
    Invalidate();
    if (--g_glyphCount == 0) {
        delete g_cache;
        g_cache = nullptr;
    }
}

void TButtonGlyph::GlyphChanged() {
    if (changing_) return;
    Invalidate();
    // The transparent colour is the bottom-left pixel; the glyph count follows
    // the strip's shape. An empty strip is no glyph at all.
    int w = glyph_.Width(), h = glyph_.Height();
    if (w > 0 && h > 0) {
        transparentColor_ = glyph_.Canvas()->Pixels(0, h - 1);
        if (!images_) {
            int n = w % h == 0 ? w / h : 1;
            numGlyphs_ = n >= 1 && n <= 5 ? n : 1;
        }
    } else {
        transparentColor_ = clNone;
        numGlyphs_ = 1;
    }
    if (OnChange) OnChange(nullptr);
}

void TButtonGlyph::SetImages(TImageList* list) {
    if (list == images_) return;
    if (images_ && imagesLink_) images_->UnRegisterChanges(imagesLink_.get());
    imagesLink_.reset();
    images_ = list;
    if (list) {
        imagesLink_ = std::make_unique<TChangeLink>();
        imagesLink_->OnChange = [this](TObject*) {
            Invalidate();
            if (OnChange) OnChange(nullptr);
        };
        list->RegisterChanges(imagesLink_.get());
        numGlyphs_ = 1;
    }
    Invalidate();
}

void TButtonGlyph::SetNumGlyphs(int v) {
    numGlyphs_ = std::clamp(v, 1, 5);
    Invalidate();
}

bool TButtonGlyph::HasSource() const {
    if (images_) return imageIndex_ >= 0 && imageIndex_ < images_->Count() && images_->Width() > 0 && images_->Height() > 0;
    return glyph_.Width() / numGlyphs_ > 0 && glyph_.Height() > 0;
}

TSize TButtonGlyph::GlyphSize() const {
    if (!HasSource()) return TSize(0, 0);
    if (images_) return TSize(images_->Width(), images_->Height());
    return TSize(glyph_.Width() / numGlyphs_, glyph_.Height());
}

void TButtonGlyph::Invalidate() {
    for (int i = 0; i < 5; ++i) {
        if (index_[std::size_t(i)] >= 0 && list_) list_->Delete(index_[std::size_t(i)]);
        if (disabledIndex_[std::size_t(i)] >= 0 && disabledList_) disabledList_->Delete(disabledIndex_[std::size_t(i)]);
    }
    index_.fill(-1);
    disabledIndex_.fill(-1);
    if (g_cache) {
        g_cache->ReturnList(list_);
        g_cache->ReturnList(disabledList_);
    }
    list_ = nullptr;
    disabledList_ = nullptr;
}

void TButtonGlyph::SourceCell(int cell, TBitmap& image, TBitmap& mask) const {
    TSize s = GlyphSize();
    image.SetMonochrome(false);
    image.SetSize(s.cx, s.cy);
    mask.SetSize(s.cx, s.cy);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, s.cx, s.cy));
    if (images_) {
        images_->GetBitmap(imageIndex_, &image);
        images_->GetMask(imageIndex_, &mask);
        return;
    }
    TRect source = Bounds(cell * s.cx, 0, s.cx, s.cy);
    image.Canvas()->CopyRect(Rect(0, 0, s.cx, s.cy), const_cast<TBitmap&>(glyph_).Canvas(), source);
    // White in the mask where the picture does not show: an explicit mask
    // strip when there is one, else the transparent colour.
    if (!mask_.Empty()) {
        TBitmap m;
        m.SetSize(s.cx, s.cy);
        m.Canvas()->CopyRect(Rect(0, 0, s.cx, s.cy), const_cast<TBitmap&>(mask_).Canvas(), source);
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                mask.Canvas()->SetPixels(x, y, ColorToRGB(m.Canvas()->Pixels(x, y)) == clWhite ? clWhite : clBlack);
    } else {
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x)
                if (image.Canvas()->Pixels(x, y) == transparentColor_) mask.Canvas()->SetPixels(x, y, clWhite);
    }
}

void TButtonGlyph::Build(TButtonStateEx state) {
    if (!g_cache || !HasSource()) return;
    TSize s = GlyphSize();
    TBitmap image, mask;
    if (state != bsDisabled) {
        // A state without its own cell shares the up image.
        int cell = int(state) < numGlyphs_ && !images_ ? int(state) : 0;
        if (cell == 0 && state != bsUp) {
            if (index_[bsUp] < 0) Build(bsUp);
            index_[state] = -2; // shares bsUp
            return;
        }
        SourceCell(cell, image, mask);
        if (!list_) list_ = g_cache->GetList(s.cx, s.cy);
        index_[state] = list_->Store(&image, &mask);
        return;
    }
    if (numGlyphs_ >= 2 && !images_) {
        // The strip's own disabled cell, in the desktop's 3-D colours.
        SourceCell(1, image, mask);
        uint32_t hi = Rgb(clBtnHighlight), sh = Rgb(clBtnShadow);
        for (int y = 0; y < image.Height(); ++y) {
            uint32_t* row = image.ScanLine(y);
            for (int x = 0; x < image.Width(); ++x) {
                uint32_t p = row[x] & 0xFFFFFF;
                if (p == 0xFFFFFF) row[x] = 0xFF000000 | hi;
                else if (p == 0x808080) row[x] = 0xFF000000 | sh;
            }
        }
        image.Changed();
        if (!list_) list_ = g_cache->GetList(s.cx, s.cy);
        index_[bsDisabled] = list_->Store(&image, &mask);
        return;
    }
    // Generated: the picture's shape embossed, highlight one pixel right and
    // down, shadow in place. The shape leaves out the background (the mask,
    // the transparent colour) and, in the new style, white and silver too.
    SourceCell(0, image, mask);
    std::vector<bool> shape(std::size_t(s.cx * s.cy));
    for (int y = 0; y < s.cy; ++y)
        for (int x = 0; x < s.cx; ++x) {
            bool background = mask.Canvas()->Pixels(x, y) == clWhite;
            uint32_t p = std::as_const(image).ScanLine(y)[x] & 0xFFFFFF;
            if (!OldDisabledStyle && (p == 0xFFFFFF || p == 0xC0C0C0)) background = true;
            shape[std::size_t(y * s.cx + x)] = !background;
        }
    TBitmap out, outMask;
    out.SetSize(s.cx + 1, s.cy + 1);
    outMask.SetSize(s.cx + 1, s.cy + 1);
    out.Canvas()->Brush()->SetColor(clBtnFace);
    out.Canvas()->FillRect(Rect(0, 0, s.cx + 1, s.cy + 1));
    outMask.Canvas()->Brush()->SetColor(clWhite);
    outMask.Canvas()->FillRect(Rect(0, 0, s.cx + 1, s.cy + 1));
    uint32_t hi = 0xFF000000 | Rgb(clBtnHighlight), sh = 0xFF000000 | Rgb(clBtnShadow);
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < s.cy; ++y)
            for (int x = 0; x < s.cx; ++x) {
                if (!shape[std::size_t(y * s.cx + x)]) continue;
                int d = pass == 0 ? 1 : 0;
                out.ScanLine(y + d)[x + d] = pass == 0 ? hi : sh;
                outMask.ScanLine(y + d)[x + d] = 0xFF000000;
            }
    out.Changed();
    outMask.Changed();
    if (!disabledList_) disabledList_ = g_cache->GetList(s.cx + 1, s.cy + 1);
    disabledIndex_[bsDisabled] = disabledList_->Store(&out, &outMask);
}

void TButtonGlyph::DrawGlyph(TCanvas* canvas, TPoint p, TButtonStateEx state) {
    if (!HasSource()) return;
    if (index_[state] == -1 && disabledIndex_[state] == -1) Build(state);
    int index = index_[state];
    if (index == -2) index = index_[bsUp];
    if (index >= 0 && list_) {
        list_->Draw(canvas, p.x, p.y, index);
        return;
    }
    if (disabledIndex_[state] >= 0 && disabledList_) disabledList_->Draw(canvas, p.x, p.y, disabledIndex_[state]);
}

} // namespace tbex
