#pragma once
// The control tree of the windowing layer: TControl (anything visible on a
// form), TWinControl (a control that holds others and takes the focus),
// TGraphicControl and TCustomControl (controls that paint themselves on a
// canvas over a persistent image). Each control stands on one Qt widget; Qt
// types stay out of this header so that window code does not need them.
//
// Messages: every input and notification reaches a control as a TMessage
// through its WindowProc, a chain that hooks may wrap (keep the old value and
// call it from the new one). WndProc is the control's own handler; Perform
// sends a message synchronously, PostMessage queues it.
//
// Handlers: every event handler runs inside Dispatch(), so an exception that
// escapes it goes to Application->OnException and never into Qt's event loop.

#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Color.h"
#include "platform/Region.h"
#include "platform/Types.h"
#include "platform/gui/Messages.h"

class QWidget;
class TFont;
class TCanvas;
class TControl;
class TWinControl;
class TForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;

namespace gebridge { class Surface; class Router; }

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using TAnchors = unsigned;
constexpr unsigned akLeft = 1;
constexpr unsigned akTop = 2;
constexpr unsigned akRight = 4;
constexpr unsigned akBottom = 8;
constexpr TAnchors DefaultAnchors = akLeft | akTop;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;
constexpr unsigned ssShift = 1;
constexpr unsigned ssAlt = 2;
constexpr unsigned ssCtrl = 4;
constexpr unsigned ssLeft = 8;
constexpr unsigned ssRight = 16;
constexpr unsigned ssMiddle = 32;
constexpr unsigned ssDouble = 64;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Cursor numbers: negative ones are the desktop's own, positive ones are
// registered by the program (Screen->SetCursors).
using TCursor = int;
enum : int {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -5, crSizeNESW = -6,
    crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
    crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
    crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22,
};

// Control style flags.
using TControlStyle = unsigned;
constexpr unsigned csAcceptsControls = 0x1;
constexpr unsigned csCaptureMouse = 0x2;
constexpr unsigned csClickEvents = 0x8;
constexpr unsigned csFramed = 0x10;
constexpr unsigned csSetCaption = 0x20;
constexpr unsigned csOpaque = 0x40;
constexpr unsigned csDoubleClicks = 0x80;
constexpr unsigned csFixedWidth = 0x100;
constexpr unsigned csFixedHeight = 0x200;
constexpr unsigned csReplicatable = 0x800;
constexpr unsigned csNoStdEvents = 0x1000;
constexpr unsigned csActionClient = 0x10000;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TWndMethod = std::function<void(TMessage& Message)>;

// Dragging a control onto another one.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Runs a handler so that no exception leaves it: EAbort is dropped silently,
// every other exception goes to Application->HandleException. Returns false
// when the handler raised.
bool Dispatch(const std::function<void()>& handler);

// The short part of a hint "short|long" and the long part (the whole text
// when there is no bar).
AnsiString GetShortHint(const AnsiString& hint);
AnsiString GetLongHint(const AnsiString& hint);

// The form a control sits on (itself for a form), or null.
TForm* GetParentForm(TControl* control);

// Queues a message: it reaches the control's WindowProc once the current
// event has been handled, unless the control is gone by then.
void PostMessage(TControl* control, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Takes the oldest queued message msg of the control out of the queue; false
// when none waits.
bool RemovePostedMessage(TControl* control, unsigned msg, TMessage& removed);
// Queues any call on the GUI thread (after the current event).
void PostCall(std::function<void()> call);

// The mouse capture. While a control holds it, every mouse message of the
// program goes to that control (in its client coordinates) until it is
// released; the control that loses it, to another control, by a release or
// because the desktop took the mouse, gets WM_CAPTURECHANGED (LParam: the
// new capture control or null).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control under a screen point (the innermost one), or null.
TControl* FindControlAtScreen(TPoint screenPoint);
// The cursor position in screen coordinates.
TPoint GetCursorPos();
// Confines the cursor to a rectangle of the screen (right and bottom edges
// outside), or frees it with null. The desktop cannot hold the pointer, so
// the program puts it back: a mouse message from outside the rectangle moves
// the cursor to the nearest point inside and is reported from there.
void ClipCursor(const TRect* rect);
// The rectangle the cursor is confined to; false while it is free.
bool GetClipCursor(TRect& rect);
// The point within the confining rectangle nearest to p (p itself while the
// cursor is free).
TPoint ClipCursorPoint(TPoint p);
// The state of a key or mouse button as of the input being handled: negative
// (the high bit set) while VK_SHIFT, VK_CONTROL, VK_MENU (Alt), VK_LBUTTON,
// VK_RBUTTON or VK_MBUTTON is down, 0 when it is up; 0 for other keys.
short GetKeyState(int virtualKey);
// The desktop's alert sound.
void Beep();
// The window rectangle of a control (its frame included) in screen coordinates.
bool GetWindowRect(const TControl* control, TRect& rect);
// Raises the control's window above its siblings (or a window of its own
// above the other windows); the order of its parent's controls, and so the
// alignment, stays as it is.
void BringWindowToTop(TControl* control);
// The control whose window is the active window of the desktop (a form, or a
// control that is a window of its own), or null when another program's is.
TControl* GetActiveWindow();
// Makes the window of the control (its form, or itself when it is a window
// of its own) the active window, at once, and asks the desktop for it.
void SetActiveWindow(TControl* control);

// Files dropped on a control from the desktop: WM_DROPFILES carries a
// pointer to this in WParam.
struct TDropFiles {
    std::vector<AnsiString> Files; // full names, in the order dropped
    TPoint Point;                  // client coordinates of the drop
};
using TDropFilesEvent = std::function<void(TObject* Sender, const std::vector<AnsiString>& Files, int X, int Y)>;

// The limits of a control's size (0: no limit). SetBounds keeps the size
// within them. For a form they hold the window inside the desktop's frame
// (Width() - FrameSize().cx by Height() - FrameSize().cy) and also bound the
// window the user drags.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl* control) : control_(control) {}
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v) { Set(minWidth_, v); }
    void SetMinHeight(int v) { Set(minHeight_, v); }
    void SetMaxWidth(int v) { Set(maxWidth_, v); }
    void SetMaxHeight(int v) { Set(maxHeight_, v); }
    // All four at once (one adjustment of the control).
    void SetLimits(int minWidth, int minHeight, int maxWidth, int maxHeight);
    void Assign(TPersistent* source) override;
    // The size within the limits (a maximum below the minimum counts as the minimum).
    void Apply(int& width, int& height) const;
    TNotifyEvent OnChange;

private:
    void Set(int& field, int v);
    void Changed();
    TControl* control_;
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// Whether the user reaches a windowed control with Tab. A control that paints
// itself takes the focus (by Tab or a click) only as a tab stop; a native
// control (an edit, a button) takes it from a click either way, as on the
// desktop. It reads and assigns as a bool.
class TTabStop {
public:
    explicit TTabStop(TWinControl* control) : control_(control) {}
    TTabStop(const TTabStop&) = delete;
    operator bool() const { return value_; }
    TTabStop& operator=(bool v);
    TTabStop& operator=(const TTabStop& other) { return *this = bool(other); }

private:
    TWinControl* control_;
    bool value_ = false;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- tree and geometry ----
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual int ClientWidth() const;
    virtual int ClientHeight() const;
    virtual void SetClientWidth(int v);
    virtual void SetClientHeight(int v);
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    // Screen position of the client area's top-left pixel.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors a);

    // ---- state ----
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, with every parent up to a shown window.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* f);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString& s) { SetText(s); }
    AnsiString Text() const { return GetText(); }
    void SetText(const AnsiString& s);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& h);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    // The limits of the control's size.
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    int HelpContext = 0;

    // ---- painting ----
    virtual void Invalidate();
    // Paints now (what was invalid and the window).
    virtual void Repaint();
    void Refresh() { Repaint(); }
    // Carries out a pending paint at once.
    virtual void Update();
    void BringToFront();
    void SendToBack();

    // ---- mouse ----
    bool MouseCapture() const;
    void SetMouseCapture(bool v);

    // ---- dragging ----
    // With dmAutomatic a left press begins a drag (BeginAutoDrag).
    TDragMode DragMode = dmManual;
    TCursor DragCursor = crDrag;
    // Begins dragging the control: at once, or once the mouse has moved
    // threshold pixels (5 when negative) with the button held; a release
    // before that is a plain click. While dragged the control holds the
    // mouse: the control under it is asked through DragOver whether it takes
    // the control, and the cursor shows DragCursor or crNoDrop. Releasing the
    // left button drops it on a control that takes it (DragDrop); Esc, the
    // right button or the loss of the mouse cancel it (DragCanceled). Either
    // way OnEndDrag follows with the target (null when none).
    void BeginDrag(bool immediate, int threshold = -1);
    // The drag has begun (not while it waits for the threshold).
    bool Dragging() const;
    // Ends a drag of the control: dropped on the control that takes it, or cancelled.
    void EndDrag(bool drop);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    // Accept starts false; with OnDragOver set it starts true and the event decides.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);

    // ---- messages ----
    TWndMethod WindowProc;
    LRESULT Perform(unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's own message handler; default handling of input and
    // notifications ends in DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // Whether the control's text reads from right to left: its window's
    // layout direction (that of the application unless set for the window).
    bool UseRightToLeftReading() const;

    // The Qt widget under the control, for the windowing layer and its tests.
    QWidget* Widget() const;
    // Expires when the control is destroyed (for queued work).
    std::weak_ptr<char> Alive() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Fires the click: runs the action when one is linked, else OnClick.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    // A press tells the focused control of each form around the pressed one
    // (CM_CANCELMODE with the pressed control as LParam), so that a drop-down
    // or a drag it runs ends.
    void SendCancelMode();
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();

    // The action link keeps the control in step with its action.
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);

protected:
    // A left press with dmAutomatic: begins a drag that waits for the threshold.
    virtual void BeginAutoDrag() { BeginDrag(false); }
    // A drag of the control ended without a drop.
    virtual void DragCanceled() {}
    virtual void DoEndDrag(TObject* target, int x, int y);
    // A message of the control while it is dragged or waits to be; true when
    // the drag took it.
    bool DragMessage(TMessage& message);
    void FinishDrag(bool drop, TPoint screenPoint);
    // Called by the constructor of each concrete class with the widget it made.
    void AttachWidget(QWidget* w);
    virtual AnsiString GetText() const { return text_; }
    // Stores the text into the widget (native controls override).
    virtual void ApplyText() {}
    virtual void ApplyFont();
    virtual void ApplyColor() {}
    virtual void VisibleChanging() {}
    // Applies the size limits to the widget (the window's real size).
    virtual void ApplyConstraints();
    friend class TSizeConstraints;
    void Notification(TComponent* component, TOperation operation) override;
    // The effective hint flag (ShowHint, or the parent's when ParentShowHint).
    bool EffectiveShowHint() const;
    void UpdateToolTip();
    void ParentFontChanged();
    void ParentColorChanged();
    void DestroyWidget();

    friend class TWinControl;
    friend class gebridge::Router;
    friend class gebridge::Surface;
    friend class TControlActionLink;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = DefaultAnchors;
    TRect anchorRules_;  // distances kept by the anchors
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    AnsiString text_;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    std::unique_ptr<TControlActionLink> actionLink_;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool clicked_ = false;     // a left press arrived; the release clicks
    bool passToQt_ = false;    // the default handler let the Qt event through
    bool mouseInside_ = false;
    struct WidgetHolder;
    std::unique_ptr<WidgetHolder> holder_;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const;
    bool ContainsControl(const TControl* c) const;
    // The visible child whose bounds hold the client point, topmost first.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false) const;
    TControl* FindChildControl(const AnsiString& name) const;

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    TTabStop TabStop{this};
    int TabOrder() const;
    void SetTabOrder(int v);

    // Re-arranges the aligned children: top, bottom, left, right, client.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    // Sends the message to every child (stops at the first non-zero result).
    void Broadcast(TMessage& message);

    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);

    // ---- files dropped from the desktop ----
    // A control that accepts files gets WM_DROPFILES when names of local
    // files are dropped on it; its default handling fires OnDropFiles.
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool v);
    TDropFilesEvent OnDropFiles;

    // ---- a window of its own ----
    // With popup on, the control leaves its parent's client area and stands
    // on the desktop as a window of its own at its bounds, which are then
    // screen coordinates: a tool window without a frame of the desktop's,
    // which the desktop is asked not to activate when it shows. It is kept
    // above the window of owner
    // (when given) or, with stayOnTop, above every window. Closing it from
    // the desktop (Alt+F4) sends WM_CLOSE; unless a handler answers, it hides.
    // Setting a parent puts it back into the parent's client area. The
    // desktop lists the window under the control's caption.
    // With noActivate (the old WS_EX_NOACTIVATE) the window is never
    // activated, also where the desktop activates every window it shows, so
    // the focus stays where it is: the drop-down of an edit. The desktop does
    // not manage such a window (no closing from the desktop).
    void SetPopupWindow(bool popup, TWinControl* owner = nullptr, bool stayOnTop = false, bool noActivate = false);
    bool PopupWindow() const { return popup_; }

    // ---- window scroll bars ----
    // The control's own scroll bars (SB_HORZ, SB_VERT) lie in its frame: a
    // shown bar takes its room from the client rectangle that WM_NCCALCSIZE
    // answers (the bottom or the right edge). When the user moves one, the
    // control hears WM_HSCROLL or WM_VSCROLL with SB_THUMBPOSITION in the low
    // word of WParam and the new position in GetScrollInfo's nPos.
    void ShowScrollBar(int bar, bool show);
    bool ScrollBarVisible(int bar) const;
    // fMask says which fields count (SIF_RANGE, SIF_PAGE, SIF_POS, SIF_ALL);
    // the position is kept within nMin .. nMax - nPage + 1. Answers the position.
    int SetScrollInfo(int bar, const TScrollInfo& info);
    bool GetScrollInfo(int bar, TScrollInfo& info) const;

    // Whether a key reaches the control rather than the form's dialog keys
    // (Enter and Esc for default and cancel buttons, Tab for focus moves).
    virtual bool WantsKey(WORD key) const;

    // ---- the non-client model ----
    // A control that draws its own frame turns it on; its children then sit in
    // a client area inset by the rectangle that WM_NCCALCSIZE answers.
    // WM_NCCALCSIZE: LParam points to a TRect, the window rectangle in window
    //   coordinates on entry and the client rectangle on return.
    // WM_NCPAINT: WParam points to the update TRegion (window coordinates);
    //   paint on NonClientCanvas().
    // WM_NCHITTEST: LParam the screen point; Result an HT code. HTCLIENT over
    //   the frame sends the press to the client handlers with client
    //   coordinates outside the client rectangle.
    void EnableNonClient();
    bool HasNonClient() const { return nonClient_; }
    // Asks for WM_NCCALCSIZE again and lays the client area out.
    void RecalcNonClient();
    // Repaints the frame in the region (whole window when null).
    void InvalidateNonClient(const TRegion* region = nullptr);
    // The canvas of the whole window, valid inside WM_NCPAINT.
    TCanvas* NonClientCanvas();
    // The client rectangle inside the window (window coordinates).
    TRect ClientRectInWindow() const { return ncClient_; }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    virtual void DoDropFiles(const TDropFiles& drop);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();

    int ClientWidth() const override;
    int ClientHeight() const override;
    TPoint ClientOrigin() const override;
    void WndProc(TMessage& message) override;

    // The widget that holds the children (the client area).
    QWidget* ClientWidget() const;

protected:
    friend class TTabStop;
    // The focus a widget takes follows TabStop (see TTabStop).
    virtual void TabStopChanged() {}
    void SetClientWidgetOf(QWidget* w);
    virtual void AlignControls(TRect& rect);
    // The rectangle in which aligned children are placed.
    virtual TRect AlignRect() const;
    virtual void ControlsChanged() {}
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void LayoutNonClient();
    // Frees the owned components and the children placed on the control.
    void DestroyChildren();
    friend class TControl;
    friend class gebridge::Router;

    std::vector<TControl*> controls_;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    int borderWidth_ = 0;
    bool nonClient_ = false;
    TRect ncClient_;
    struct NonClient;
    std::unique_ptr<NonClient> nc_;
    QWidget* client_ = nullptr;
    bool acceptFiles_ = false;
    bool popup_ = false;
    bool popupOnTop_ = false;
    TWinControl* popupOwner_ = nullptr;
    std::weak_ptr<char> popupOwnerAlive_;
    void ApplyPopupOwner();
    void ApplyPopupTitle();
    friend class gebridge::Router;
    struct ScrollBars;
    std::unique_ptr<ScrollBars> scrollBars_;
    void LayoutScrollBars();
};

// The largest image a self-painting control keeps: no side beyond
// kMaxSurfaceSide pixels and no more than kMaxSurfacePixels in all. A larger
// control keeps an image of its top-left part within those bounds.
constexpr int kMaxSurfaceSide = 32767;
constexpr long long kMaxSurfacePixels = 1LL << 26;
bool SurfaceCanHold(long long width, long long height);

// A control without children that paints itself: Paint() draws on Canvas,
// which lies over a persistent image; the screen only shows that image.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas();
    void Invalidate() override;
    void Repaint() override;
    void Update() override;

protected:
    virtual void Paint() {}
    gebridge::Surface* surface_ = nullptr;
    friend class gebridge::Surface;
};

// A windowed control that paints itself the same way.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas();
    void Invalidate() override;
    void Repaint() override;
    void Update() override;

protected:
    virtual void Paint() {}
    void TabStopChanged() override;
    gebridge::Surface* surface_ = nullptr;
    friend class gebridge::Surface;
};

// Builds a control for a form built in code: owned by owner, placed on
// parent, named (so FindComponent finds it).
template <class T, class... Args>
T* NewControl(TComponent* owner, TWinControl* parent, const AnsiString& name, Args&&... args) {
    T* c = new T(owner, std::forward<Args>(args)...);
    c->SetName(name);
    if (parent) c->SetParent(parent);
    return c;
}

// A non-visual component with a name.
template <class T, class... Args>
T* NewComponent(TComponent* owner, const AnsiString& name, Args&&... args) {
    T* c = new T(owner, std::forward<Args>(args)...);
    c->SetName(name);
    return c;
}
