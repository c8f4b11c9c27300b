#pragma once
// Panels, bevels, paint boxes, images, splitters, radio groups, scroll boxes
// and the timer.
//
// A paint box keeps a persistent image: code may draw on its Canvas at any
// time and the screen shows it at once; OnPaint runs on Invalidate, Repaint
// and Refresh, after a resize and on the first show, never just because the
// window was uncovered.

#include <memory>

#include "platform/StringList.h"
#include "platform/gui/Controls.h"

class TBitmap;
class QGroupBox;
class QScrollArea;
class QObject;
class QScrollBar;
class QTimer;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// Draws a 3-D frame of the given width inside r and shrinks r by it.
void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    void Paint() override;
    TRect AlignRect() const override;
    void ApplyText() override { Invalidate(); }
    void ApplyColor() override { Invalidate(); }
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape s);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle s);

protected:
    void Paint() override;
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// A picture: a bitmap that an image shows.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(TBitmap* b);
    int Width() const;
    int Height() const;
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;
    void Assign(TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TBitmap> bitmap_;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* p);
    // Drawing goes into the picture's bitmap (sized to the image on first use).
    TCanvas* Canvas();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

protected:
    void Paint() override;
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
    bool transparent_ = false;
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

// Resizes the control aligned before it (on the same side) when dragged.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    int MinSize = 30;
    TResizeStyle ResizeStyle = rsPattern;
    bool Beveled = false;
    TNotifyEvent OnMoved;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    TControl* FindControl() const;
    TControl* target_ = nullptr;
    TPoint down_;
    int startSize_ = 0;
    bool dragging_ = false;
};

class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* s) { items_->Assign(s); }
    // Kept while the group is hidden and shown again.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int i);
    int Columns() const { return columns_; }
    void SetColumns(int c);
    void Rebuild();

protected:
    void ApplyText() override;
    QGroupBox* box_;
    std::unique_ptr<TStringList> items_;
    std::vector<QWidget*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool syncing_ = false;
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    // 0 stops the timer; setting the interval it already has changes nothing
    // (the running period is not restarted).
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    QTimer* timer_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(QScrollArea* area, bool horizontal) : area_(area), horizontal_(horizontal) {}
    int Position() const;
    void SetPosition(int v);
    int Range() const;
    void SetRange(int v);
    int Increment() const;
    void SetIncrement(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Tracking = false;
    // The range follows the children (Range reports their extent) unless it
    // was set.
    bool AutoRange = true;

private:
    friend class TScrollBox;
    QScrollBar* Bar() const;
    QScrollArea* area_;
    bool horizontal_;
    bool visible_ = true;
    int range_ = 0;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    ~TScrollBox() override;
    TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
    TControlScrollBar* VertScrollBar() const { return vert_.get(); }
    bool AutoScroll = true;
    void ScrollInView(TControl* c);
    // Recomputes the scroll range from the children.
    void UpdateRange();
    TPoint ClientOrigin() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void WndProc(TMessage& m) override;

protected:
    void ApplyColor() override;
    void ControlsChanged() override;
    TRect AlignRect() const override;
    QScrollArea* area_;
    QObject* viewportWatch_ = nullptr; // owned by area_
    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
};
