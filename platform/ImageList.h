#pragma once
// TImageList: a row of pictures of one size, each with a mask that tells which
// pixels show, drawn by index onto a canvas, normally or in the greyed
// "disabled" look. Controls that show its pictures register a change link and
// redraw when the list changes.

#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Color.h"

class TBitmap;
class TCanvas;
class TImageList;

// Tells its owner that an image list changed. Unregisters itself when freed.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TImageList* Sender() const { return sender_; }
    TNotifyEvent OnChange;

private:
    friend class TImageList;
    TImageList* sender_ = nullptr;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list, as on the old platform.
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    void SetSize(int w, int h);
    int Count() const;

    // Adds the picture (a wider one as several pictures of the list's width,
    // side by side) and answers the index of the first. mask: white where the
    // picture does not show, any other colour where it does; null shows all.
    int Add(TBitmap* image, TBitmap* mask);
    // The same with every pixel of maskColor left out.
    int AddMasked(TBitmap* image, TColor maskColor);
    // A picture drawn in code: paint draws on a cell of the list's size
    // filled with clear, which is then left out. Answers its index.
    int AddPainted(TColor clear, const std::function<void(TCanvas& canvas)>& paint);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void Delete(int index);
    void Clear();

    // Draws picture index with its top-left corner at (x, y) through the
    // canvas's copy mode. Disabled: the picture's shape (shown pixels that are
    // not white) embossed, in the button-highlight colour one pixel right and
    // down and in the button-shadow colour in place.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // The picture as it was added / its mask as a monochrome bitmap (white where
    // the picture does not show).
    void GetBitmap(int index, TBitmap* image) const;
    void GetMask(int index, TBitmap* mask) const;

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    TNotifyEvent OnChange;

private:
    struct Entry;
    void Check(int index) const;
    void Changed();
    Entry Cut(TBitmap* image, int cell, const std::function<bool(int x, int y, uint32_t rgb)>& shows) const;
    int width_ = 16;
    int height_ = 16;
    std::vector<std::unique_ptr<Entry>> images_;
    std::vector<TChangeLink*> links_;
};
