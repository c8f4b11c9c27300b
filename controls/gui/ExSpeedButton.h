#pragma once
// TExSpeedButton: a window-less push button with a glyph and a caption, flat
// and transparent looks, groups of buttons that stay down, a drop-down menu
// with a marker, and repeated clicks while held. TExButtonGlyph turns one
// bitmap of up to five glyph cells into per-state images (kept in image
// lists shared by all glyphs of one size), lays glyph, caption and marker out
// and draws them; TButtonImage draws a whole button picture on any canvas.

#include <memory>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

enum TExButtonState { rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive };
enum TExDropDownMenuPos { dmpBottom, dmpRight };
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };

class TGlyphList;

class TExButtonGlyph : public TObject {
public:
    TExButtonGlyph();
    ~TExButtonGlyph() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    TColor TransparentColor() const { return transparentColor_; }
    bool WordWrap = false;
    TAlignment Alignment = taCenter;
    TNotifyEvent OnChange;

    // The image of a state in the shared list (made once), or -1 without a glyph.
    int CreateButtonGlyph(TExButtonState state);
    // The same for an image of an image list.
    int CreateImageGlyph(TExButtonState state, TImageList* images, int index);
    void DrawButtonGlyph(TCanvas* canvas, TPoint pos, TExButtonState state);
    // Draws the state image of picture index of an image list.
    void DrawButtonImage(TCanvas* canvas, TPoint pos, TExButtonState state, TImageList* images, int index);
    void DrawButtonText(TCanvas* canvas, const AnsiString& caption, TRect bounds, TExButtonState state, unsigned flags);
    // A triangle pointing down, 7, 5, 3 and 1 pixels wide, from y - 1 to y + 2.
    void DrawPopupMark(TCanvas* canvas, int x, int y, TExButtonState state);
    // Places glyph and caption in client (offset added to both); the caption is
    // cut with "..." to the room left without WordWrap. With images the glyph
    // has the size of the list's pictures. Halves round toward zero.
    void CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, AnsiString& caption,
                          TButtonLayout layout, int margin, int spacing, bool popupMark, TPoint& glyphPos,
                          TRect& textBounds, unsigned flags, TImageList* images = nullptr);
    // Draws glyph, caption and marker; returns the caption's rectangle.
    TRect Draw(TCanvas* canvas, const TRect& client, TPoint offset, const AnsiString& caption, TButtonLayout layout,
               int margin, int spacing, bool popupMark, TExButtonState state, unsigned flags);
    // The same with picture index of an image list in place of the glyph
    // (no list or no such picture: the glyph).
    TRect DrawEx(TCanvas* canvas, const TRect& client, TPoint offset, const AnsiString& caption, TButtonLayout layout,
                 int margin, int spacing, bool popupMark, TImageList* images, int index, TExButtonState state,
                 unsigned flags);
    // Releases every state image.
    void Invalidate();
    void GlyphChanged();
    // The size of one glyph cell (0 x 0 without a glyph).
    TSize GlyphSize() const;
    // The list holding the state images (null until one is made).
    TGlyphList* List() const { return list_; }
    int ImageIndex(TExButtonState s) const { return indexes_[s]; }

private:
    std::unique_ptr<TBitmap> glyph_;
    TGlyphList* list_ = nullptr;
    int indexes_[5] = {-1, -1, -1, -1, -1};
    TColor transparentColor_ = clFuchsia;
    int numGlyphs_ = 1;
};

// The number of image lists the glyph cache holds (for tests and diagnostics).
int GlyphCacheListCount();
// The gray level a glyph pixel takes in the inactive look.
TColor GrayedColor(TColor color, TColor transparentColor);

class TExSpeedButton : public TGraphicControl {
public:
    explicit TExSpeedButton(TComponent* owner);
    ~TExSpeedButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool v);
    int InitPause = 500;
    int RepeatInterval = 100;
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* menu);
    TExDropDownMenuPos MenuPosition = dmpBottom;
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* b);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int n);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout l);
    int Margin() const { return margin_; }
    void SetMargin(int m);
    int Spacing() const { return spacing_; }
    void SetSpacing(int s);
    TAlignment Alignment() const { return glyph_->Alignment; }
    void SetAlignment(TAlignment a);
    bool WordWrap() const { return glyph_->WordWrap; }
    void SetWordWrap(bool v);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle s);
    int ModalResult = 0;

    TExButtonState FState() const { return state_; }
    TExButtonGlyph* ButtonGlyph() const { return glyph_.get(); }
    TTimer* RepeatTimer() const { return repeatTimer_; }
    bool MouseInside() const { return mouseInside_; }
    // The state the picture is drawn in (rbsInactive for a flat button without the mouse).
    TExButtonState PaintState() const;

    void Click() override;
    // A press made by the program.
    void ButtonClick();
    bool CheckMenuDropDown(TPoint pos, bool manual);
    bool CheckBtnMenuDropDown(bool manual);
    TPoint GetDropDownMenuPos() const;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void SetEnabled(bool v) override;
    void WndProc(TMessage& message) override;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Draws the frame and shrinks the content rectangle.
    TRect DrawButtonFrame(TCanvas* canvas, TRect client, bool pressed);
    void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void TimerExpired();
    void UpdateTracking();
    void MouseEnter();
    void MouseLeave();

private:
    void GroupChanged(bool wentDown);
    bool NewStyle() const { return style_ == bsNew || style_ == bsAutoDetect; }

    std::unique_ptr<TExButtonGlyph> glyph_;
    std::unique_ptr<TBitmap> drawImage_;
    TTimer* repeatTimer_ = nullptr;
    TExButtonState state_ = rbsUp;
    bool dragging_ = false;
    bool menuTracking_ = false;
    bool dropPresses_ = false;
    bool mouseInside_ = false;
    bool allowAllUp_ = false;
    bool allowTimer_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    TPopupMenu* dropDownMenu_ = nullptr;
    bool markDropDown_ = true;
    bool flat_ = false;
    bool grayedInactive_ = true;
    bool transparent_ = false;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    int spacing_ = 1;
    TButtonStyle style_ = bsAutoDetect;
};

// The number of speed buttons alive.
int SpeedButtonCount();

// Draws a complete button picture with a glyph and a caption.
class TButtonImage : public TObject {
public:
    TButtonImage();
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(TBitmap* b) { glyph_->SetGlyph(b); }
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int n) { glyph_->SetNumGlyphs(n); }
    TAlignment Alignment() const { return glyph_->Alignment; }
    void SetAlignment(TAlignment a) { glyph_->Alignment = a; }
    bool WordWrap() const { return glyph_->WordWrap; }
    void SetWordWrap(bool v) { glyph_->WordWrap = v; }
    TSize ButtonSize{24, 23};
    void Invalidate() { glyph_->Invalidate(); }
    void Draw(TCanvas* canvas, int x, int y, int margin, int spacing, TButtonLayout layout, TFont* font,
              unsigned flags, const AnsiString& caption = AnsiString());

private:
    std::unique_ptr<TExButtonGlyph> glyph_;
};
