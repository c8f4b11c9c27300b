#pragma once
// Dock areas and the tool window base.
//
// TDockEx sits along one edge of a form and holds tool windows (toolbars and
// the resizable tool window) in numbered rows; it lays them out whenever
// anything changes and grows or shrinks to fit them. TCustomToolWindowEx is
// what can sit in a dock or float above its form: it owns the change between
// docked and floating, draws its own frame (border and drag handle when
// docked; frame, small caption and close button when floating) through the
// layer's non-client model, and is moved and resized by mouse gestures that
// follow the mouse without a nested event loop.
//
// A floating tool window is a frameless top-level window of its own; its
// Left/Top are then screen coordinates. Its formal parent is a
// TFloatingWindowParent, a form that is never shown and stands for the form
// the window belongs to.
//
// The routines at the end save and restore where the tool windows of a form
// are, in an ini file, the registry or through caller-supplied routines.

#include <functional>
#include <memory>
#include <vector>

#include "platform/List.h"
#include "platform/gui/Forms.h"
#include "toolbars/TBExTrack.h"
#include "toolbars/TbExcmn.h"

class TBitmap;
class TCustomToolWindowEx;
class TDockEx;
class TFloatingWindowParent;

enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
enum TDockType { dtNotDocked, dtTopBottom, dtLeftRight };
enum TDockBoundLinesValues { blTop, blBottom, blLeft, blRight };
using TDockBoundLines = TEnumSet<TDockBoundLinesValues>;
using TDockableTo = TEnumSet<TDockPosition>;
enum TToolWindowDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };
enum TDragHandleStyle { dhDouble, dhNone, dhSingle };
enum TToolWindowFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };

using TInsertRemoveEvent = std::function<void(TObject* Sender, bool Inserting, TCustomToolWindowEx* Bar)>;
using TRequestDockEvent = std::function<void(TObject* Sender, TCustomToolWindowEx* Bar, bool& Accept)>;
using TDockChangingExEvent = std::function<void(TObject* Sender, TDockEx* DockingTo)>;

// dtNotDocked for no dock, dtLeftRight for a left or right dock, else dtTopBottom.
TDockType GetDockTypeOf(const TDockEx* dock);

// ---- dock area ------------------------------------------------------------------

class TDockEx : public TCustomControl {
public:
    explicit TDockEx(TComponent* owner);
    ~TDockEx() override;

    bool AllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool v);
    // The tiled background (owned; assigned by copy; empty = none).
    TBitmap* Background() const { return background_.get(); }
    void SetBackground(const TBitmap* b);
    bool BackgroundOnToolbars() const { return backgroundOnToolbars_; }
    void SetBackgroundOnToolbars(bool v);
    bool BackgroundTransparent() const { return backgroundTransparent_; }
    void SetBackgroundTransparent(bool v);
    TDockBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TDockBoundLines v);
    // An empty dock keeps one pixel of thickness.
    bool FixAlign() const { return fixAlign_; }
    void SetFixAlign(bool v);
    // Every bar is forced into row 0 at each arrangement.
    bool LimitToOneRow = false;
    TDockPosition Position() const { return position_; }
    // EInvalidOperation once the dock holds controls.
    void SetPosition(TDockPosition v);

    TInsertRemoveEvent OnInsertRemoveBar;
    TRequestDockEvent OnRequestDock;

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;

    // The bars visible on the dock.
    int ToolbarCount() const { return visibleList_.Count(); }
    TCustomToolWindowEx* Toolbars(int index) const;
    // Every bar that belongs to the dock, floating ones that remember it included.
    int DockListCount() const { return dockList_.Count(); }
    TCustomToolWindowEx* DockListItems(int index) const;
    bool HasVisibleToolbars() const;

    void BeginUpdate();
    void EndUpdate();
    void ArrangeToolbars(bool clipPoses);

    int GetHighestRow() const;
    int GetNumberOfToolbarsOnRow(int row, const TCustomToolWindowEx* notIncluding) const;
    // The thickness of a row as last laid out; 0 for an empty or unknown row,
    // or then the default bar's own size when one is given.
    int GetRowSize(int row, TCustomToolWindowEx* defaultToolbar) const;
    void InsertRowBefore(int row);
    void RemoveBlankRows();
    // The row under a client coordinate across the rows; before is set when
    // the point lies within 5 pixels of the row's start.
    int GetRowOf(int xy, bool& before) const;
    int GetDesignModeRowOf(int xy) const;

    bool UsingBackground() const;
    // Tiles the background on canvas, within intersectClip minus excludeClip,
    // in a grid that starts at drawRect's top-left.
    void DrawBackground(TCanvas* canvas, const TRect& intersectClip, const TRect* excludeClip, const TRect& drawRect);
    // The screen point the background grid is anchored at (the client origin
    // of the dock's parent).
    TPoint BackgroundAnchor() const;
    void InvalidateBackgrounds();
    void BackgroundChanged();

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void AlignControls(TRect& rect) override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomToolWindowEx;
    void ChangeDockList(bool insert, TCustomToolWindowEx* bar);
    void ToolbarVisibilityChanged(TCustomToolWindowEx* bar, bool forceRemove);
    bool ToolbarVisibleOnDock(const TCustomToolWindowEx* bar) const;
    void BuildRowInfo();
    void ChangeWidthHeight(bool isClientSize, int newWidth, int newHeight);
    void FrameChanged();
    TBitmap* BackgroundSource();
    TRect NCInsets() const;
    void PaintNonClient();

    bool allowDrag_ = true;
    std::unique_ptr<TBitmap> background_;
    std::unique_ptr<TBitmap> backgroundCache_;
    bool backgroundOnToolbars_ = true;
    bool backgroundTransparent_ = false;
    TDockBoundLines boundLines_;
    bool fixAlign_ = false;
    TDockPosition position_ = dpTop;
    TList dockList_;
    TList visibleList_;
    std::vector<int> rowInfo_;
    int updateCount_ = 0;
    bool arrangeNeeded_ = false;
    bool arrangeClipPoses_ = false;
};

// ---- position data ------------------------------------------------------------------

// The routines that read and write one tool window's stored values; the
// toolbar name is the window's Name, value the value's name.
using TPositionReadIntProc = std::function<int(const AnsiString& ToolbarName, const AnsiString& Value, int Default, void* ExtraData)>;
using TPositionReadStringProc = std::function<AnsiString(const AnsiString& ToolbarName, const AnsiString& Value, const AnsiString& Default, void* ExtraData)>;
using TPositionWriteIntProc = std::function<void(const AnsiString& ToolbarName, const AnsiString& Value, int Data, void* ExtraData)>;
using TPositionWriteStringProc = std::function<void(const AnsiString& ToolbarName, const AnsiString& Value, const AnsiString& Data, void* ExtraData)>;

struct TPositionReader {
    TPositionReadIntProc ReadInt;
    TPositionReadStringProc ReadString;
    void* ExtraData = nullptr;
};

struct TPositionWriter {
    TPositionWriteIntProc WriteInt;
    TPositionWriteStringProc WriteString;
    void* ExtraData = nullptr;
};

// ---- tool window base ---------------------------------------------------------------

// Window parameters, set by each class's constructor.
struct TToolWindowParams {
    bool CallAlignControls = true;  // the layer aligns the children first
    bool ResizeEightCorner = true;  // floating frame has corner sizing zones
    bool ResizeClipCursor = true;   // the cursor is kept in the work area while sizing
};

// The form that carries a floating tool window: never shown itself, it
// stands for the form the window belongs to (ParentForm).
class TFloatingWindowParent : public TForm {
public:
    explicit TFloatingWindowParent(TComponent* owner);
    ~TFloatingWindowParent() override;
    TForm* ParentForm() const { return parentForm_; }
    void SetParentForm(TForm* f);
    bool ShouldBeVisible() const { return shouldBeVisible_; }
    void SetShouldBeVisible(bool v) { shouldBeVisible_ = v; }
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TForm* parentForm_ = nullptr;
    bool shouldBeVisible_ = false;
};

class TCustomToolWindowEx : public TCustomControl {
public:
    explicit TCustomToolWindowEx(TComponent* owner);
    ~TCustomToolWindowEx() override;

    // ---- properties ----
    bool ActivateParent = true;
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool v);
    bool CloseButtonWhenDocked() const { return closeButtonWhenDocked_; }
    void SetCloseButtonWhenDocked(bool v);
    TDockEx* DefaultDock() const { return defaultDock_; }
    void SetDefaultDock(TDockEx* v);
    TDockableTo DockableTo{dpTop, dpBottom, dpLeft, dpRight};
    TDockEx* DockedTo() const { return dockedTo_; }
    // A dock re-parents to it; null floats the window on its form.
    void SetDockedTo(TDockEx* v);
    TToolWindowDockMode DockMode = dmCanFloat;
    int DockPos() const { return dockPos_; }
    void SetDockPos(int v);
    int DockRow() const { return dockRow_; }
    void SetDockRow(int v);
    TDragHandleStyle DragHandleStyle() const { return dragHandleStyle_; }
    void SetDragHandleStyle(TDragHandleStyle v);
    TToolWindowFloatingMode FloatingMode() const { return floatingMode_; }
    void SetFloatingMode(TToolWindowFloatingMode v);
    bool FullSize() const { return fullSize_; }
    void SetFullSize(bool v);
    bool HideWhenInactive = true;
    TDockEx* LastDock() const { return lastDock_; }
    void SetLastDock(TDockEx* v);
    bool Resizable() const { return resizable_; }
    void SetResizable(bool v);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool v);
    bool UseLastDock() const { return useLastDock_; }
    void SetUseLastDock(bool v);

    TNotifyEvent OnClose;
    TNotifyEvent OnDockChanged;
    TNotifyEvent OnDockChanging;
    TNotifyEvent OnMove;
    TNotifyEvent OnRecreated;
    TNotifyEvent OnRecreating;
    TNotifyEvent OnVisibleChanged;
    TDockChangingExEvent OnDockChangingEx;
    TDockChangingExEvent OnDockChangingHidden;

    // ---- state ----
    bool Docked() const { return docked_; }
    bool Floating() const;
    TFloatingWindowParent* FloatParent() const { return floatParent_; }
    // Screen position of the floating window, kept while docked. A window
    // that never had one floats first where it was docked.
    TPoint FloatingTopLeft() const { return floatingTopLeft_; }
    void SetFloatingTopLeft(TPoint p) {
        floatingTopLeft_ = p;
        floatingPlaceKnown_ = true;
    }
    bool InactiveCaption() const { return inactiveCaption_; }
    bool CloseButtonDown() const { return closeButtonDown_; }
    // The window's rectangle on the screen.
    TRect ScreenRect() const;

    // Further forms whose docks are offered while dragging.
    void AddDockForm(TForm* form);
    void RemoveDockForm(TForm* form);
    int DockFormCount() const { return int(dockForms_.size()); }

    void BeginUpdate();
    void EndUpdate();
    void ArrangeControls();
    // The thickness of the window's row (docked) or its own bar size.
    int GetDockRowSize();

    // Moves a floating window onto the work area (only when it is wholly off
    // it, with onlyIfFullyOffscreen).
    void MoveOnScreen(bool onlyIfFullyOffscreen);

    // ---- gestures ----
    // Starts dragging; (initX, initY) is the pressed client point.
    void BeginMoving(int initX, int initY);
    // Starts resizing a floating window by the frame part hitTest, pressed at
    // the screen point startScreen.
    void BeginSizing(int hitTest, TPoint startScreen);
    // The gesture in progress, or the last one (null before the first).
    TMouseTracker* Tracker() const { return tracker_.get(); }
    // During a drag: the outline (empty when nothing would happen) and the
    // dock the window would land on.
    TRect DragRect() const { return moveRect_; }
    TDockEx* DragDock() const { return useNewDock_; }
    bool DragPreventDocking() const { return preventDocking_; }

    // ---- frame metrics ----
    static int SmallCaptionHeight();
    static TPoint FrameSize(bool resizable);
    static void GetFloatingNCArea(TPoint& topLeft, TPoint& bottomRight, bool resizable, bool showCaption);
    static void GetDockedNCArea(TPoint& topLeft, TPoint& bottomRight, bool leftRight, bool closeButtonWhenDocked,
                                TDragHandleStyle dragHandleStyle);
    static int DragHandleSize(bool closeButtonWhenDocked, TDragHandleStyle style);
    // Window coordinates.
    TRect FloatingCaptionRect() const;
    TRect FloatingCloseButtonRect() const;
    TRect DockedCloseButtonRect() const;
    // The caption text as the floating caption shows it in width pixels.
    static AnsiString FitCaption(TCanvas* canvas, const AnsiString& text, int width);

    // ---- the operations a kind of tool window supplies ----
    // Thickness the window needs in a row of a dock of that type.
    virtual int GetBarSize(TDockType dockType) = 0;
    // Smallest floating client size.
    virtual void GetMinimumSize(int& clientWidth, int& clientHeight) = 0;
    // The client size the window needs docked on dockingTo (null: floating);
    // with canMoveControls the children are placed too.
    virtual TPoint OrderControls(bool canMoveControls, TDockType previousDockType, TDockEx* dockingTo) = 0;
    // Called before a size change that the docking system did not make.
    virtual void SizeChanging(int width, int height);
    virtual void InitializeOrdering() {}
    virtual void ReadPositionData(const TPositionReader& reader);
    virtual void DoneReadingPositionData(const TPositionReader& reader);
    virtual void WritePositionData(const TPositionWriter& writer);
    virtual void ResizeBegin(int hitTest);
    virtual void ResizeTrack(TRect& rect, const TRect& origRect);
    virtual void ResizeEnd(bool accept);
    // Whether a press on the child drags the window.
    virtual bool ChildControlTransparent(TControl* control);

    // ---- layer ----
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

    // Every tool window floating now.
    static int FloatingCount();
    static TCustomToolWindowEx* FloatingWindows(int index);

protected:
    void Loaded() override;
    void AlignControls(TRect& rect) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void VisibleChanging() override;
    void CustomArrangeControls(TDockType previousDockType, TDockEx* dockingTo, bool resize);
    // Called first by the destructor of every kind of tool window: the docks
    // and the floating parent let go of the window while it is still whole.
    void ToolWindowDestroying();
    // The cursor's screen point during a resize (for ResizeTrack).
    TPoint SizingCursor() const { return sizingCursor_; }
    // The insets of the frame for the current state (left, top, right, bottom).
    TRect NCInsets() const;
    TRect NCInsetsFor(TDockEx* dock, bool floating) const;
    // Paints the dock's background on the client when the dock shows it on bars.
    bool PaintDockBackground(TCanvas* canvas, const TRect& area);
    bool UpdatingBounds() const { return updatingBounds_ > 0; }
    void UpdateVisibility();
    bool GetShowingState() const;
    void DrawFloatingNCArea();
    void DrawDockedNCArea();

    TToolWindowParams params_;
    int updateCount_ = 0;
    bool arrangeNeeded_ = false;

private:
    friend class TDockEx;
    static void HookProc(THookProcCode code, TControl* wnd, WPARAM wParam, LPARAM lParam);
    void FrameChanged();
    void ApplyWindowKind();
    void SyncWidgetVisibility(bool showing);
    void ActivateAnotherWindow();
    void Moved();
    void ActivateOnClick();
    void Activated(bool active, TControl* previous);
    void DoubleClickDock();
    int HitTest(TPoint screen);
    void BeginCloseButton();
    // Hides the window as the user asked, by its close button or by the
    // desktop's close of the floating window, and tells OnClose.
    void CloseByUser();
    void FloatingBookkeeping();
    // ---- drag ----
    struct DockedSize {
        TDockEx* dock;
        int width;
        int height;
    };
    void CollectCandidateDocks(std::vector<TDockEx*>& out);
    bool CanDockTo(TDockEx* dock, TPoint p, const DockedSize& size) const;
    const DockedSize& SizeFor(TDockEx* dock) const;
    void DragMoved(TPoint p);
    void DragFinished(bool accepted);
    void SizeMoved(TPoint p);
    void SizeFinished(bool accepted);
    void DrawDraggingOutline(const TRect& newRect, bool newDocking);

    TBorderStyle borderStyle_ = bsSingle;
    bool closeButton_ = true;
    bool closeButtonWhenDocked_ = false;
    TDockEx* defaultDock_ = nullptr;
    TDockEx* dockedTo_ = nullptr;
    bool docked_ = false;
    int dockPos_ = -1;
    int dockRow_ = 0;
    TDragHandleStyle dragHandleStyle_ = dhDouble;
    TToolWindowFloatingMode floatingMode_ = fmOnTopOfParentForm;
    bool fullSize_ = false;
    TDockEx* lastDock_ = nullptr;
    bool resizable_ = true;
    bool showCaption_ = true;
    bool useLastDock_ = true;
    TFloatingWindowParent* floatParent_ = nullptr;
    TPoint floatingTopLeft_;
    bool floatingPlaceKnown_ = false;
    std::vector<TForm*> dockForms_;
    int updatingBounds_ = 0;
    int disableOnMove_ = 0;
    int hiddenCount_ = 0;
    bool inactiveCaption_ = false;
    bool closeButtonDown_ = false;
    TDockType lastDockType_ = dtNotDocked;
    bool lastDockTypeSet_ = false;
    bool destroyingDone_ = false;
    bool draggingOutline_ = false;
    std::unique_ptr<TMouseTracker> tracker_;
    // drag state
    TPoint dPoint_;
    TPoint origSize_;
    std::vector<TDockEx*> candidates_;
    std::vector<DockedSize> dockedSizes_;
    TRect moveRect_;
    TDockEx* useNewDock_ = nullptr;
    bool preventDocking_ = false;
    bool preventFloating_ = false;
    // resize state
    int sizingHit_ = 0;
    TRect sizingRect_;
    TRect sizingOrig_;
    TPoint sizingMin_;
    TPoint sizingStart_;
    TPoint sizingCursor_;
    TPoint lastSizingPos_;
};

// The form a tool window belongs to (a floating window's parent form), or
// null; Valid... raises EInvalidOperation when there is none.
TForm* GetToolWindowParentForm(const TControl* window);
TForm* ValidToolWindowParentForm(const TControl* window);
// The MDI frame of an MDI child, else the form itself.
TForm* GetTopLevelForm(TForm* form);

// ---- position persistence ------------------------------------------------------------

void CustomSaveToolbarPositions(TComponent* form, const TPositionWriteIntProc& writeInt, const TPositionWriteStringProc& writeString,
                                void* extraData);
void CustomLoadToolbarPositions(TComponent* form, const TPositionReadIntProc& readInt, const TPositionReadStringProc& readString,
                                void* extraData);
void IniSaveToolbarPositions(TComponent* form, const AnsiString& fileName);
void IniLoadToolbarPositions(TComponent* form, const AnsiString& fileName);
void RegSaveToolbarPositions(TComponent* form, const AnsiString& baseRegistryKey);
void RegLoadToolbarPositions(TComponent* form, const AnsiString& baseRegistryKey);
void RegSaveToolbarPositionsEx(TComponent* form, unsigned rootKey, const AnsiString& baseRegistryKey);
void RegLoadToolbarPositionsEx(TComponent* form, unsigned rootKey, const AnsiString& baseRegistryKey);
