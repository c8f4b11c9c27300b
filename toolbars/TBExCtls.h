#pragma once
// Controls for toolbars: the flat toolbar button with its action link and
// the shared cache of its state images, and the flat edit box.
//
// A toolbar button shows a glyph (a strip of up to five state images, or one
// image of an image list) and/or a caption, lights up while the mouse is over
// it, can belong to a group of buttons of which one stays down, can open a
// drop-down menu and can repeat its click while held. Code that drives it
// calls SetDown (buttons of a group release each other) and SetImageIndex.

#include <array>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"
#include "platform/gui/Actions.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "toolbars/TbExcmn.h"

class TToolbarButtonEx;

enum TButtonStateEx { bsUp, bsDisabled, bsDown, bsExclusive, bsMouseIn };
enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };
using TButtonDropdownEvent = std::function<void(TObject* Sender, bool& ShowMenu, bool& RemoveClicks)>;

namespace tbex {

// An image list of one size whose slots are handed out and given back.
class TGlyphList {
public:
    TGlyphList(int width, int height);
    int Width() const { return images_.Width(); }
    int Height() const { return images_.Height(); }
    // Stores a picture with its mask (white where it does not show) in the
    // first free slot and answers the slot.
    int Store(TBitmap* image, TBitmap* mask);
    void Delete(int index);
    // Slots in use.
    int Count() const { return count_; }
    void Draw(TCanvas* canvas, int x, int y, int index) const;
    void GetBitmap(int index, TBitmap* image) const { images_.GetBitmap(index, image); }
    void GetMask(int index, TBitmap* mask) const { images_.GetMask(index, mask); }

private:
    TImageList images_;
    std::vector<bool> used_;
    int count_ = 0;
};

// The glyph lists shared by all buttons, one per size; a list goes when its
// last slot is given back.
class TGlyphCache {
public:
    TGlyphList* GetList(int width, int height);
    void ReturnList(TGlyphList* list);
    int ListCount() const { return int(lists_.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

// The cache of the live button glyphs (null when there are none).
TGlyphCache* GlyphCache();

// The glyph of one button: its source pictures and the state images built
// from them on demand.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap* Glyph() { return &glyph_; }
    TBitmap* GlyphMask() { return &mask_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    bool OldDisabledStyle = false;
    bool CallDormant = true;
    // The colour left out of the strip: its bottom-left pixel.
    TColor TransparentColor() const { return transparentColor_; }
    TNotifyEvent OnChange;

    // The size of one image; (0, 0) when there is none.
    TSize GlyphSize() const;
    // Releases every built state image.
    void Invalidate();
    // Draws the image of a state with its top-left corner at p.
    void DrawGlyph(TCanvas* canvas, TPoint p, TButtonStateEx state);
    // Whether a state's image has been built (for tests).
    bool Built(TButtonStateEx state) const { return index_[state] >= 0 || disabledIndex_[state] >= 0; }

private:
    void GlyphChanged();
    bool HasSource() const;
    // The source picture of a strip cell (or the list's image) and its mask.
    void SourceCell(int cell, TBitmap& image, TBitmap& mask) const;
    void Build(TButtonStateEx state);
    TBitmap glyph_;
    TBitmap mask_;
    TImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> imagesLink_;
    int imageIndex_ = -1;
    int numGlyphs_ = 1;
    TColor transparentColor_ = clNone;
    TGlyphList* list_ = nullptr;
    TGlyphList* disabledList_ = nullptr;
    std::array<int, 5> index_{-1, -1, -1, -1, -1};
    std::array<int, 5> disabledIndex_{-1, -1, -1, -1, -1};
    bool changing_ = false;
};

} // namespace tbex

// Keeps a toolbar button in step with its action: the down state follows
// the action's check mark, the image index and help context follow too.
class TToolbarButtonExActionLink : public TControlActionLink {
public:
    explicit TToolbarButtonExActionLink(TToolbarButtonEx* client);
    // Linked while the action's value equals the button's.
    bool IsCheckedLinked() const;
    bool IsHelpContextLinked() const;
    bool IsImageIndexLinked() const;
    void SetChecked(bool v);
    void SetHelpContext(int v);
    void SetImageIndex(int v);

private:
    TToolbarButtonEx* button_;
};

// Where the parts of a button's content go (button client coordinates).
struct TButtonContentLayout {
    TRect ContentArea;
    TSize GlyphSize;
    TPoint GlyphPos;
    TRect TextRect;
    TPoint ArrowPos;
    bool ShowGlyph = false;
    bool ShowText = false;
    bool ShowArrow = false;
};

class TToolbarButtonEx : public TGraphicControl {
public:
    explicit TToolbarButtonEx(TComponent* owner);
    ~TToolbarButtonEx() override;

    // ---- properties ----
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Cancel = false;
    bool Default = false;
    TButtonDisplayMode DisplayMode() const { return displayMode_; }
    void SetDisplayMode(TButtonDisplayMode v);
    bool Down() const { return down_; }
    // The group rule: a button without a group is never down; a down button
    // of a group without AllowAllUp cannot be raised; pressing one raises
    // the other buttons of its group on the same toolbar.
    void SetDown(bool v);
    bool DropdownAlways() const { return dropdownAlways_; }
    void SetDropdownAlways(bool v);
    bool DropdownArrow() const { return dropdownArrow_; }
    void SetDropdownArrow(bool v);
    bool DropdownCombo() const { return dropdownCombo_; }
    void SetDropdownCombo(bool v);
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TBitmap* Glyph() { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* b);
    TBitmap* GlyphMask() { return glyph_.GlyphMask(); }
    void SetGlyphMask(const TBitmap* b);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    int ImageIndex() const { return glyph_.ImageIndex(); }
    void SetImageIndex(int v);
    TImageList* Images() const { return glyph_.Images(); }
    void SetImages(TImageList* v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Margin() const { return margin_; }
    void SetMargin(int v);
    int ModalResult = 0;
    bool NoBorder() const { return noBorder_; }
    void SetNoBorder(bool v);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int v);
    bool OldDisabledStyle() const { return glyph_.OldDisabledStyle; }
    void SetOldDisabledStyle(bool v);
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool v);
    bool Repeating = false;
    int RepeatDelay = 400;
    int RepeatInterval = 100;
    bool ShowBorderWhenInactive = false;
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

    TButtonDropdownEvent OnDropdown;
    // The button's own enter and exit (the layer's OnMouseEnter is shadowed).
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    // ---- state ----
    TButtonStateEx State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    bool MouseIsDown() const { return mouseIsDown_; }
    bool UsesDropdown() const { return dropdownMenu_ || dropdownAlways_; }
    // The repeat timer (null until first used and after the button is released).
    TTimer* RepeatTimer() const { return repeatTimer_.get(); }
    tbex::TButtonGlyph* GlyphObject() { return &glyph_; }
    TButtonContentLayout ContentLayout();

    // Module-wide: whether a clicked button shows down during its click, the
    // lit button, the shared 125 ms timer that unlights it, live buttons.
    static bool ButtonsStayDown;
    static TToolbarButtonEx* ButtonMouseInControl();
    static TTimer* ButtonMouseTimer();
    static int ButtonCount();

    // Binds the button to an action through its own kind of link.
    void SetAction(TBasicAction* action);
    // Copies the down state into a custom action's check mark.
    void AssignTo(TPersistent* dest);

    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolbarButtonExActionLink;
    static void HookProc(THookProcCode code, TControl* wnd, WPARAM wParam, LPARAM lParam);
    void Redraw();
    void UpdateExclusive();
    void MouseEntered();
    void MouseLeft();
    void Light();
    void Unlight();
    void UpdateTracking();
    void RepeatTick();
    void EnabledChanged();
    void ShowDropdown();
    TRect MainPart() const;
    TRect ComboPart() const;
    bool MainPartPushed() const;

    tbex::TButtonGlyph glyph_;
    bool allowAllUp_ = false;
    TButtonDisplayMode displayMode_ = dmBoth;
    bool down_ = false;
    bool dropdownAlways_ = false;
    bool dropdownArrow_ = true;
    bool dropdownCombo_ = false;
    TPopupMenu* dropdownMenu_ = nullptr;
    bool flat_ = true;
    int groupIndex_ = 0;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    bool noBorder_ = false;
    bool opaque_ = true;
    int spacing_ = 4;
    bool wordWrap_ = false;
    TAlignment alignment_ = taCenter;
    TButtonStateEx state_ = bsUp;
    bool mouseInControl_ = false;
    bool mouseIsDown_ = false;
    bool menuIsDown_ = false;
    bool inClick_ = false;
    bool dropPresses_ = false;
    std::unique_ptr<TTimer> repeatTimer_;
};

// A single-line edit drawn flat until it has the focus or the mouse is over it.
class TEditEx : public TCustomEdit {
public:
    explicit TEditEx(TComponent* owner);
    ~TEditEx() override;
    bool MouseInControl() const { return mouseInControl_; }
    // Whether the border is drawn lit now.
    bool BorderLit() const;
    // The border as last drawn (the window's size; the inside is not drawn).
    TBitmap* BorderImage() const { return border_.get(); }
    void RedrawBorder();
    void WndProc(TMessage& message) override;

protected:
    void Loaded() override;

private:
    void FitHeight();
    bool mouseInControl_ = false;
    std::unique_ptr<TBitmap> border_;
};
