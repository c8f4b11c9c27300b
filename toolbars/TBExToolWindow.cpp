// TCustomToolWindowEx: docking and floating, the frame, showing and hiding.
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/ScopeGuard.h"
#include "toolbars/TBEx.h"
#include "toolbars/TBExPaint.h"

namespace {

std::vector<TCustomToolWindowEx*>& FloatingList() {
    static std::vector<TCustomToolWindowEx*> list;
    return list;
}

// Metrics of the classic desktop the frames are drawn to.
constexpr int kSmallCaptionHeight = 15;
constexpr int kSizingFrame = 4;
constexpr int kFixedFrame = 3;
constexpr int kDockedBorder = 2;
// Indexed by [close button when docked][dhDouble, dhNone, dhSingle].
constexpr int kDragHandleSizes[2][3] = {{9, 0, 6}, {14, 14, 14}};
constexpr int kDragHandleOffsets[2][3] = {{2, 0, 1}, {3, 0, 5}};

bool FormShown(TForm* f) { return f && f->Visible() && f->WindowState() != wsMinimized; }

// The close button of a caption: a raised (or, pushed, sunken) square with a cross.
void DrawCloseButtonIn(TCanvas* c, const TRect& r, bool pushed) {
    if (IsRectEmpty(r)) return;
    FillSolid(c, r, clBtnFace);
    DrawButtonEdge(c, r, false, pushed);
    int size = std::min(r.Width(), r.Height());
    int arm = std::max((size - 6) / 2, 1);
    int cx = r.Left + r.Width() / 2 - (size % 2 == 0 ? 1 : 0) + (pushed ? 1 : 0);
    int cy = r.Top + r.Height() / 2 - (size % 2 == 0 ? 1 : 0) + (pushed ? 1 : 0);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBtnText);
    for (int d = 0; d <= 1; ++d) {
        c->MoveTo(cx - arm + d, cy - arm);
        c->LineTo(cx + arm + 1 + d, cy + arm + 1);
        c->MoveTo(cx - arm + d, cy + arm);
        c->LineTo(cx + arm + 1 + d, cy - arm - 1);
    }
}

} // namespace

// ---- the forms around a tool window ---------------------------------------------------

TForm* GetToolWindowParentForm(const TControl* window) {
    TForm* outer = nullptr;
    for (const TControl* c = window; c; c = c->Parent())
        if (auto* f = dynamic_cast<const TForm*>(c)) outer = const_cast<TForm*>(f);
    if (auto* fp = dynamic_cast<TFloatingWindowParent*>(outer)) return fp->ParentForm();
    return outer;
}

TForm* ValidToolWindowParentForm(const TControl* window) {
    TForm* f = GetToolWindowParentForm(window);
    if (!f) throw EInvalidOperation(Format("Control '%s' has no parent window", window ? window->Name() : AnsiString()));
    return f;
}

TForm* GetTopLevelForm(TForm* form) {
    if (form && form->FormStyle() == fsMDIChild) {
        if (TForm* frame = form->MDIParent()) return frame;
    }
    return form;
}

// ---- the floating parent ----------------------------------------------------------------

TFloatingWindowParent::TFloatingWindowParent(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetBounds(0, 0, 0, 0);
    SetShowHint(true);
    // Visible as a form, though its own window never shows: the tool window
    // on it is a window of its own.
    visible_ = true;
}

TFloatingWindowParent::~TFloatingWindowParent() { SetParentForm(nullptr); }

void TFloatingWindowParent::SetParentForm(TForm* f) {
    if (parentForm_ == f) return;
    if (parentForm_) parentForm_->RemoveFreeNotification(this);
    parentForm_ = f;
    if (f) f->FreeNotification(this);
}

void TFloatingWindowParent::Notification(TComponent* component, TOperation operation) {
    TForm::Notification(component, operation);
    if (operation == opRemove && component == parentForm_) parentForm_ = nullptr;
}

void TFloatingWindowParent::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGKEY && WORD(m.WParam) == VK_ESCAPE && (TShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0) {
        // Escape in a floating window goes back to the form.
        if (parentForm_) parentForm_->SetFocus();
        m.Result = 1;
        return;
    }
    TForm::WndProc(m);
}

// ---- construction -------------------------------------------------------------------------

TCustomToolWindowEx::TCustomToolWindowEx(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = (ControlStyle | csAcceptsControls | csClickEvents | csSetCaption | csDoubleClicks) & ~(csCaptureMouse | csOpaque);
    TabStop = false;
    color_ = clBtnFace;
    InstallHookProc(HookProc, THookProcCodes{hpSendActivateApp, hpSendWindowPosChanged}, false);
    EnableNonClient();
}

TCustomToolWindowEx::~TCustomToolWindowEx() {
    ToolWindowDestroying();
    UninstallHookProc(HookProc);
}

void TCustomToolWindowEx::ToolWindowDestroying() {
    if (destroyingDone_) return;
    destroyingDone_ = true;
    Destroying();
    tracker_.reset();
    if (TDragOutline::Instance().Visible() && draggingOutline_) TDragOutline::Instance().Hide();
    // Out of the floating list and off the floating parent before that is
    // freed, so that the parent never frees the window a second time.
    auto& fl = FloatingList();
    fl.erase(std::remove(fl.begin(), fl.end(), this), fl.end());
    if (auto* fp = dynamic_cast<TFloatingWindowParent*>(Parent())) {
        TCustomControl::SetParent(nullptr);
        if (fp != floatParent_) delete fp;
    }
    delete floatParent_;
    floatParent_ = nullptr;
    // The docks forget the window while it can still answer their questions.
    if (auto* d = dynamic_cast<TDockEx*>(Parent())) {
        d->ChangeDockList(false, this);
        d->ToolbarVisibilityChanged(this, true);
    }
    if (lastDock_) lastDock_->ChangeDockList(false, this);
    if (dockedTo_ && dockedTo_ != Parent()) dockedTo_->ChangeDockList(false, this);
    for (TForm* f : dockForms_) f->RemoveFreeNotification(this);
    dockForms_.clear();
}

bool TCustomToolWindowEx::Floating() const { return dynamic_cast<TFloatingWindowParent*>(Parent()) != nullptr; }

int TCustomToolWindowEx::FloatingCount() { return int(FloatingList().size()); }

TCustomToolWindowEx* TCustomToolWindowEx::FloatingWindows(int index) {
    if (index < 0 || index >= FloatingCount()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return FloatingList()[std::size_t(index)];
}

TRect TCustomToolWindowEx::ScreenRect() const {
    TRect r;
    if (!GetWindowRect(this, r)) r = Bounds(Left(), Top(), Width(), Height());
    return Bounds(r.Left, r.Top, Width(), Height());
}

// ---- metrics ------------------------------------------------------------------------------

int TCustomToolWindowEx::SmallCaptionHeight() { return kSmallCaptionHeight; }

TPoint TCustomToolWindowEx::FrameSize(bool resizable) {
    int f = resizable ? kSizingFrame : kFixedFrame;
    return TPoint(f, f);
}

void TCustomToolWindowEx::GetFloatingNCArea(TPoint& topLeft, TPoint& bottomRight, bool resizable, bool showCaption) {
    topLeft = bottomRight = FrameSize(resizable);
    if (showCaption) topLeft.y += SmallCaptionHeight();
}

int TCustomToolWindowEx::DragHandleSize(bool closeButtonWhenDocked, TDragHandleStyle style) {
    return kDragHandleSizes[closeButtonWhenDocked ? 1 : 0][style];
}

void TCustomToolWindowEx::GetDockedNCArea(TPoint& topLeft, TPoint& bottomRight, bool leftRight, bool closeButtonWhenDocked,
                                          TDragHandleStyle dragHandleStyle) {
    topLeft = bottomRight = TPoint(kDockedBorder, kDockedBorder);
    int handle = DragHandleSize(closeButtonWhenDocked, dragHandleStyle);
    if (leftRight) topLeft.y += handle;
    else topLeft.x += handle;
}

TRect TCustomToolWindowEx::NCInsetsFor(TDockEx* dock, bool floating) const {
    TPoint tl, br;
    if (dock && !floating) {
        GetDockedNCArea(tl, br, GetDockTypeOf(dock) == dtLeftRight, closeButtonWhenDocked_, dragHandleStyle_);
        if (!dock->AllowDrag()) tl = TPoint(kDockedBorder, kDockedBorder);
    } else {
        GetFloatingNCArea(tl, br, resizable_, showCaption_);
    }
    return TRect(tl.x, tl.y, br.x, br.y);
}

TRect TCustomToolWindowEx::NCInsets() const {
    auto* dock = dynamic_cast<TDockEx*>(Parent());
    return NCInsetsFor(dock, dock == nullptr);
}

int TCustomToolWindowEx::ClientWidth() const {
    TRect i = NCInsets();
    return std::max(Width() - i.Left - i.Right, 0);
}

int TCustomToolWindowEx::ClientHeight() const {
    TRect i = NCInsets();
    return std::max(Height() - i.Top - i.Bottom, 0);
}

TRect TCustomToolWindowEx::FloatingCaptionRect() const {
    TPoint f = FrameSize(resizable_);
    TRect r = Bounds(f.x, f.y, ClientWidth(), SmallCaptionHeight() - 1);
    if (closeButton_) r.Right -= r.Height();
    return r;
}

TRect TCustomToolWindowEx::FloatingCloseButtonRect() const {
    TPoint f = FrameSize(resizable_);
    int side = SmallCaptionHeight() - 1;
    return Bounds(f.x + ClientWidth() - side, f.y, side, side);
}

TRect TCustomToolWindowEx::DockedCloseButtonRect() const {
    int side = DragHandleSize(closeButtonWhenDocked_, dragHandleStyle_) - 3;
    if (GetDockTypeOf(dockedTo_) == dtLeftRight) return Bounds(ClientWidth() + 2 - side, 3, side, side);
    return Bounds(3, 2, side, side);
}

AnsiString TCustomToolWindowEx::FitCaption(TCanvas* canvas, const AnsiString& text, int width) {
    if (canvas->TextWidth(text) <= width) return text;
    AnsiString s = text + "...";
    while (s.Length() > 5 && canvas->TextWidth(s) > width) s.Delete(s.Length() - 3, 1);
    return s;
}

// ---- properties ------------------------------------------------------------------------------

void TCustomToolWindowEx::FrameChanged() {
    RecalcNonClient();
    ArrangeControls();
    InvalidateNonClient();
}

void TCustomToolWindowEx::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    if (docked_) FrameChanged();
}

void TCustomToolWindowEx::SetCloseButton(bool v) {
    if (v == closeButton_) return;
    closeButton_ = v;
    if (Floating()) InvalidateNonClient();
}

void TCustomToolWindowEx::SetCloseButtonWhenDocked(bool v) {
    if (v == closeButtonWhenDocked_) return;
    closeButtonWhenDocked_ = v;
    if (docked_) FrameChanged();
}

void TCustomToolWindowEx::SetDefaultDock(TDockEx* v) {
    if (v == defaultDock_) return;
    if (defaultDock_ && defaultDock_ != lastDock_ && defaultDock_ != dockedTo_) defaultDock_->RemoveFreeNotification(this);
    defaultDock_ = v;
    if (v) v->FreeNotification(this);
}

void TCustomToolWindowEx::SetDockedTo(TDockEx* v) {
    if (v) SetParent(v);
    else SetParent(ValidToolWindowParentForm(this));
}

void TCustomToolWindowEx::SetDockPos(int v) {
    if (v == dockPos_) return;
    dockPos_ = v;
    if (docked_ && dockedTo_) dockedTo_->ArrangeToolbars(false);
}

void TCustomToolWindowEx::SetDockRow(int v) {
    if (v == dockRow_) return;
    dockRow_ = v;
    if (docked_ && dockedTo_) dockedTo_->ArrangeToolbars(false);
}

void TCustomToolWindowEx::SetDragHandleStyle(TDragHandleStyle v) {
    if (v == dragHandleStyle_) return;
    dragHandleStyle_ = v;
    if (docked_) FrameChanged();
}

void TCustomToolWindowEx::SetFloatingMode(TToolWindowFloatingMode v) {
    if (v == floatingMode_) return;
    floatingMode_ = v;
    UpdateVisibility();
}

void TCustomToolWindowEx::SetFullSize(bool v) {
    if (v == fullSize_) return;
    fullSize_ = v;
    ArrangeControls();
    if (docked_ && dockedTo_) dockedTo_->ArrangeToolbars(false);
}

void TCustomToolWindowEx::SetLastDock(TDockEx* v) {
    if (useLastDock_ && docked_) v = dockedTo_;
    if (v == lastDock_) return;
    TDockEx* old = lastDock_;
    if (old && old != Parent()) old->ChangeDockList(false, this);
    lastDock_ = v;
    if (v) {
        useLastDock_ = true;
        v->FreeNotification(this);
        v->ChangeDockList(true, this);
    }
}

void TCustomToolWindowEx::SetUseLastDock(bool v) {
    useLastDock_ = v;
    SetLastDock(v && docked_ ? dockedTo_ : nullptr);
}

void TCustomToolWindowEx::SetResizable(bool v) {
    if (v == resizable_) return;
    resizable_ = v;
    if (Floating()) FrameChanged();
}

void TCustomToolWindowEx::SetShowCaption(bool v) {
    if (v == showCaption_) return;
    showCaption_ = v;
    if (Floating()) FrameChanged();
}

void TCustomToolWindowEx::AddDockForm(TForm* form) {
    if (!form || std::find(dockForms_.begin(), dockForms_.end(), form) != dockForms_.end()) return;
    dockForms_.push_back(form);
    form->FreeNotification(this);
}

void TCustomToolWindowEx::RemoveDockForm(TForm* form) {
    auto it = std::find(dockForms_.begin(), dockForms_.end(), form);
    if (it == dockForms_.end()) return;
    dockForms_.erase(it);
}

// ---- arrangement ------------------------------------------------------------------------------

void TCustomToolWindowEx::BeginUpdate() { ++updateCount_; }

void TCustomToolWindowEx::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0 && arrangeNeeded_) ArrangeControls();
}

void TCustomToolWindowEx::ArrangeControls() {
    TDockEx* dock = docked_ ? dockedTo_ : nullptr;
    CustomArrangeControls(GetDockTypeOf(dock), dock, true);
}

int TCustomToolWindowEx::GetDockRowSize() {
    if (docked_ && dockedTo_) {
        dockedTo_->BuildRowInfo();
        return dockedTo_->GetRowSize(dockRow_, this);
    }
    return GetBarSize(dtNotDocked);
}

void TCustomToolWindowEx::CustomArrangeControls(TDockType previousDockType, TDockEx* dockingTo, bool resize) {
    if (updateCount_ > 0 || IsLoading() || IsDestroying() || !Parent() || Parent()->IsDestroying()) {
        arrangeNeeded_ = true;
        return;
    }
    arrangeNeeded_ = false;
    ++updateCount_;
    struct Guard {
        int& n;
        ~Guard() { --n; }
    } guard{updateCount_};
    TPoint size = OrderControls(true, previousDockType, dockingTo);
    if (!resize) return;
    TRect ins = NCInsets();
    if (docked_ && dockedTo_) {
        int row = GetDockRowSize();
        bool leftRight = GetDockTypeOf(dockedTo_) == dtLeftRight;
        if (leftRight) size.x = std::max(size.x, row);
        else size.y = std::max(size.y, row);
        if (fullSize_) {
            if (leftRight) size.y = dockedTo_->ClientHeight() - (ins.Top + ins.Bottom);
            else size.x = dockedTo_->ClientWidth() - (ins.Left + ins.Right);
        }
    }
    if (size.x == ClientWidth() && size.y == ClientHeight()) return;
    ++updatingBounds_;
    SetBounds(Left(), Top(), size.x + ins.Left + ins.Right, size.y + ins.Top + ins.Bottom);
    --updatingBounds_;
}

void TCustomToolWindowEx::AlignControls(TRect& rect) {
    if (params_.CallAlignControls) TCustomControl::AlignControls(rect);
    int width = ClientWidth(), height = ClientHeight();
    ArrangeControls();
    // The arrangement gave the window another size (a full-size window
    // follows its dock): the children align to it.
    if (params_.CallAlignControls && (ClientWidth() != width || ClientHeight() != height)) {
        TRect r = AlignRect();
        TCustomControl::AlignControls(r);
    }
}

void TCustomToolWindowEx::Loaded() {
    TCustomControl::Loaded();
    InitializeOrdering();
    ArrangeControls();
}

void TCustomToolWindowEx::SizeChanging(int, int) {}
void TCustomToolWindowEx::ReadPositionData(const TPositionReader&) {}
void TCustomToolWindowEx::DoneReadingPositionData(const TPositionReader&) {}
void TCustomToolWindowEx::WritePositionData(const TPositionWriter&) {}
void TCustomToolWindowEx::ResizeBegin(int) {}
void TCustomToolWindowEx::ResizeTrack(TRect&, const TRect&) {}
void TCustomToolWindowEx::ResizeEnd(bool) {}
bool TCustomToolWindowEx::ChildControlTransparent(TControl*) { return false; }

void TCustomToolWindowEx::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    bool moved = left != Left() || top != Top();
    if (sized && updatingBounds_ == 0) SizeChanging(width, height);
    TCustomControl::SetBounds(left, top, width, height);
    // The frame follows the size, and so do the children, also while the
    // window is hidden.
    if (sized) RecalcNonClient();
    if (Floating() && !IsLoading() && updatingBounds_ == 0) SetFloatingTopLeft(TPoint(left, top));
    if (moved) {
        if (docked_ && dockedTo_ && dockedTo_->UsingBackground()) {
            InvalidateNonClient();
            Invalidate();
        }
        Moved();
    }
}

void TCustomToolWindowEx::Moved() {
    if (!IsLoading() && disableOnMove_ == 0 && OnMove) OnMove(this);
}

// ---- docking and floating -------------------------------------------------------------------

void TCustomToolWindowEx::SetParent(TWinControl* aParent) {
    auto* asForm = dynamic_cast<TForm*>(aParent);
    auto* newDock = dynamic_cast<TDockEx*>(aParent);
    if (aParent && !asForm && !newDock) throw EInvalidOperation("A tool window can only be placed on a TDockEx or directly on the form");
    TWinControl* realParent = aParent;
    bool destroying = IsDestroying();
    if (asForm && !destroying) {
        if (auto* fp = dynamic_cast<TFloatingWindowParent*>(asForm)) asForm = fp->ParentForm() ? fp->ParentForm() : asForm;
        if (!floatParent_ || floatParent_->ParentForm() != asForm) {
            TFloatingWindowParent* old = floatParent_;
            auto* fp = new TFloatingWindowParent(nullptr);
            fp->SetParentForm(asForm);
            floatParent_ = fp;
            // One that is not the current parent is of no further use; the
            // current one goes once the window has left it.
            if (old && old != Parent()) delete old;
        }
        asForm->FreeNotification(this);
        realParent = floatParent_;
    }
    auto* oldDock = dynamic_cast<TDockEx*>(Parent());
    // Floating for the first time: where it was docked, not at the corner of
    // the screen.
    if (asForm && oldDock && !floatingPlaceKnown_) SetFloatingTopLeft(ScreenRect().TopLeft());

    if (realParent == Parent()) {
        dockedTo_ = newDock;
        docked_ = newDock != nullptr;
        FloatingBookkeeping();
        return;
    }

    bool notify = !destroying && realParent;
    if (notify) {
        if (OnDockChanging) OnDockChanging(this);
        if (OnDockChangingEx) OnDockChangingEx(this, newDock);
        if (OnRecreating) OnRecreating(this);
    }
    ++hiddenCount_;
    ++disableOnMove_;
    UpdateVisibility();
    if (oldDock) oldDock->BeginUpdate();
    if (newDock) newDock->BeginUpdate();
    ++updatingBounds_;
    {
        TScopeGuard finish([&] {
            --updatingBounds_;
            if (newDock) newDock->EndUpdate();
            if (oldDock) oldDock->EndUpdate();
            --disableOnMove_;
            --hiddenCount_;
            UpdateVisibility();
        });
        if (realParent) {
            if (!destroying && OnDockChangingHidden) OnDockChangingHidden(this, newDock);
            if (lastDockTypeSet_) CustomArrangeControls(lastDockType_, newDock, false);
        }
        BeginUpdate();
        if (oldDock) {
            if (!useLastDock_) oldDock->ChangeDockList(false, this);
            oldDock->ToolbarVisibilityChanged(this, true);
        }
        TWinControl* oldParent = Parent();
        TCustomControl::SetParent(nullptr);
        dockedTo_ = newDock;
        docked_ = newDock != nullptr;
        TCustomControl::SetParent(realParent);
        // Hidden until it is placed: made a window of its own while it
        // shows, it would reach the desktop at its docked place first, and
        // a window manager's late answers to that would move it back there.
        ShowWindow(this, SW_HIDE);
        ApplyWindowKind();
        SyncWidgetVisibility(false);
        LayoutNonClient();
        // The frame changed: the children are laid out again when the update ends.
        arrangeNeeded_ = true;
        if (auto* oldFloat = dynamic_cast<TFloatingWindowParent*>(oldParent)) {
            if (oldFloat == floatParent_) floatParent_ = nullptr;
            delete oldFloat;
        }
        if (newDock) {
            if (useLastDock_) {
                SetLastDock(newDock);
                newDock->ToolbarVisibilityChanged(this, false);
            } else {
                newDock->ChangeDockList(true, this);
            }
        }
        FloatingBookkeeping();
        EndUpdate();
        if (realParent) {
            lastDockType_ = GetDockTypeOf(newDock);
            lastDockTypeSet_ = true;
        }
    }
    if (realParent) Moved();
    if (notify) {
        if (OnRecreated) OnRecreated(this);
        if (OnDockChanged) OnDockChanged(this);
    }
}

void TCustomToolWindowEx::FloatingBookkeeping() {
    auto& fl = FloatingList();
    bool listed = std::find(fl.begin(), fl.end(), this) != fl.end();
    if (Floating()) {
        if (!listed) fl.push_back(this);
        ++updatingBounds_;
        SetBounds(floatingTopLeft_.x, floatingTopLeft_.y, Width(), Height());
        --updatingBounds_;
    } else if (listed) {
        fl.erase(std::remove(fl.begin(), fl.end(), this), fl.end());
    }
}

// A floating window is a window of its own, kept above its form (or above
// every window); a docked one a child of its dock's client area.
void TCustomToolWindowEx::ApplyWindowKind() {
    if (!Floating()) return;
    TWinControl* owner = floatingMode_ == fmOnTopOfParentForm ? GetToolWindowParentForm(this) : nullptr;
    SetPopupWindow(true, owner, floatingMode_ == fmOnTopOfAllForms && Enabled());
}

void TCustomToolWindowEx::SyncWidgetVisibility(bool showing) {
    if (Floating()) {
        ApplyWindowKind();
        if (floatParent_) floatParent_->SetShouldBeVisible(showing);
        // A window that goes while it is the active one passes the
        // activation on first: left to the desktop, the program would be
        // left without an active window, as if another program had it.
        if (!showing && GetActiveWindow() == this) ActivateAnotherWindow();
    }
    ShowWindow(this, showing ? SW_SHOWNA : SW_HIDE);
}

void TCustomToolWindowEx::VisibleChanging() {
    // Hidden while it is the active window: the activation goes before the window.
    if (!Visible() && Floating() && GetActiveWindow() == this) ActivateAnotherWindow();
}

// The first visible, enabled form of the program that stands on its own
// (no floating parent, no MDI child), the most recently active first and
// one that is not on top of all windows before one that is.
void TCustomToolWindowEx::ActivateAnotherWindow() {
    TForm* onTop = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (dynamic_cast<TFloatingWindowParent*>(f) || f->FormStyle() == fsMDIChild) continue;
        if (!f->Visible() || !f->Enabled() || f->WindowState() == wsMinimized) continue;
        if (f->FormStyle() != fsStayOnTop) {
            SetActiveWindow(f);
            return;
        }
        if (!onTop) onTop = f;
    }
    if (onTop) SetActiveWindow(onTop);
}

bool TCustomToolWindowEx::GetShowingState() const {
    if (!Parent() || !Visible() || hiddenCount_ > 0) return false;
    if (docked_) return true;
    if (!Floating()) return Parent()->Visible();
    if (floatingMode_ == fmOnTopOfParentForm) {
        TForm* form = GetToolWindowParentForm(this);
        TForm* top = GetTopLevelForm(form);
        if (!form || !top || !FormShown(form)) return false;
        if (top != form && !FormShown(top)) return false;
        TForm* main = Application->MainForm();
        if (main && main->Visible() && main->WindowState() == wsMinimized) return false;
    }
    if (HideWhenInactive && !ApplicationIsActive()) return false;
    return true;
}

void TCustomToolWindowEx::UpdateVisibility() {
    bool floating = Floating();
    bool inactive = floating && !HideWhenInactive && !ApplicationIsActive();
    if (inactive != inactiveCaption_) {
        inactiveCaption_ = inactive;
        if (floating) InvalidateNonClient();
    }
    SyncWidgetVisibility(GetShowingState());
}

void TCustomToolWindowEx::HookProc(THookProcCode code, TControl* wnd, WPARAM wParam, LPARAM) {
    std::vector<TCustomToolWindowEx*> floating = FloatingList();
    auto stillFloating = [](TCustomToolWindowEx* t) {
        auto& fl = FloatingList();
        return std::find(fl.begin(), fl.end(), t) != fl.end();
    };
    switch (code) {
    case hpSendActivateApp:
        for (TCustomToolWindowEx* t : floating)
            if (stillFloating(t)) t->UpdateVisibility();
        break;
    case hpSendWindowPosChanged:
        if (!wnd || !(wParam & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) break;
        for (TCustomToolWindowEx* t : floating) {
            if (!stillFloating(t) || t->floatingMode_ != fmOnTopOfParentForm) continue;
            // The form's own window, or the frame that holds it as an MDI child.
            TForm* form = GetToolWindowParentForm(t);
            if (form && (form == wnd || form->MDIParent() == wnd)) t->UpdateVisibility();
        }
        break;
    default:
        break;
    }
}

void TCustomToolWindowEx::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == defaultDock_) defaultDock_ = nullptr;
    if (component == lastDock_) lastDock_ = nullptr;
    if (component == dockedTo_) {
        dockedTo_ = nullptr;
        docked_ = false;
    }
    auto it = std::find(dockForms_.begin(), dockForms_.end(), component);
    if (it != dockForms_.end()) dockForms_.erase(it);
    if (floatParent_ && component == floatParent_->ParentForm() && !IsDestroying()) {
        // The form is part way through its destruction: nothing may reach
        // it any more, so the floating parent lets go of it before the
        // window leaves (leaving asks the window's form for its place).
        floatParent_->SetParentForm(nullptr);
        if (floatParent_ != Parent()) {
            delete floatParent_;
            floatParent_ = nullptr;
        } else if (floatingMode_ != fmOnTopOfAllForms) {
            SetParent(nullptr);
        }
    }
}

// ---- messages ------------------------------------------------------------------------------

void TCustomToolWindowEx::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        // The desktop's close of a floating window (its window manager's
        // close, Alt+F4 there) closes that window only, as its own close
        // button does: the program and its form go on.
        CloseByUser();
        return;
    case WM_ACTIVATE:
        if (Floating()) Activated(m.WParam != WA_INACTIVE, reinterpret_cast<TControl*>(m.LParam));
        break;
    case WM_NCCALCSIZE:
        ApplyNCInsets(m, NCInsets());
        return;
    case WM_NCPAINT:
        if (docked_) DrawDockedNCArea();
        else DrawFloatingNCArea();
        return;
    case WM_NCHITTEST:
        m.Result = HitTest(TPoint(LParamX(m.LParam), LParamY(m.LParam)));
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        ActivateOnClick();
        if (m.WParam == HTCLOSE) BeginCloseButton();
        else if (Floating() && m.WParam >= HTLEFT && m.WParam <= HTBOTTOMRIGHT) BeginSizing(int(m.WParam), TPoint(LParamX(m.LParam), LParamY(m.LParam)));
        return;
    case CM_TEXTCHANGED:
        if (Floating()) InvalidateNonClient();
        break;
    case CM_COLORCHANGED:
        TCustomControl::WndProc(m);
        InvalidateNonClient();
        return;
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(m);
        UpdateVisibility();
        return;
    case CM_VISIBLECHANGED:
        TCustomControl::WndProc(m);
        UpdateVisibility();
        if (docked_ && dockedTo_) dockedTo_->ToolbarVisibilityChanged(this, false);
        if (OnVisibleChanged) OnVisibleChanged(this);
        return;
    case WM_SIZE:
        if (IsLoading()) return;
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

int TCustomToolWindowEx::HitTest(TPoint screen) {
    TRect sr = ScreenRect();
    TPoint p(screen.x - sr.Left, screen.y - sr.Top);
    TRect ins = NCInsets();
    TRect client = Rect(ins.Left, ins.Top, Width() - ins.Right, Height() - ins.Bottom);
    if (docked_) {
        if (closeButtonWhenDocked_ && dockedTo_ && dockedTo_->AllowDrag() && PtInRect(DockedCloseButtonRect(), p)) return HTCLOSE;
        return HTCLIENT;
    }
    if (PtInRect(client, p)) return HTCLIENT;
    if (showCaption_) {
        TRect caption = FloatingCaptionRect();
        caption.Right = FloatingCloseButtonRect().Right;
        if (PtInRect(caption, p)) return closeButton_ && PtInRect(FloatingCloseButtonRect(), p) ? HTCLOSE : HTCLIENT;
    }
    if (!resizable_) return HTBORDER;
    int W = Width(), H = Height();
    TPoint f = FrameSize(true);
    int c = SmallCaptionHeight() - 1 + f.x;
    bool left = p.x >= 0 && p.x < f.x;
    bool right = p.x >= W - f.x - 1 && p.x < W;
    bool top = p.y >= 0 && p.y < f.y;
    bool bottom = p.y >= H - f.y - 1 && p.y < H;
    if (params_.ResizeEightCorner) {
        if (left) return p.y < c ? HTTOPLEFT : p.y >= H - c ? HTBOTTOMLEFT : HTLEFT;
        if (right) return p.y < c ? HTTOPRIGHT : p.y >= H - c ? HTBOTTOMRIGHT : HTRIGHT;
        if (top) return p.x < c ? HTTOPLEFT : p.x >= W - c ? HTTOPRIGHT : HTTOP;
        if (bottom) return p.x < c ? HTBOTTOMLEFT : p.x >= W - c ? HTBOTTOMRIGHT : HTBOTTOM;
    } else {
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    return HTCLIENT;
}

// ---- painting ----------------------------------------------------------------------------

bool TCustomToolWindowEx::PaintDockBackground(TCanvas* canvas, const TRect& area) {
    TDockEx* d = docked_ ? dockedTo_ : nullptr;
    if (!d || !d->UsingBackground() || !d->BackgroundOnToolbars()) return false;
    TPoint anchor = d->BackgroundAnchor();
    TPoint origin = ClientOrigin();
    d->DrawBackground(canvas, area, nullptr, Rect(anchor.x - origin.x, anchor.y - origin.y, area.Right, area.Bottom));
    return true;
}

void TCustomToolWindowEx::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!PaintDockBackground(c, r)) FillSolid(c, r, Color());
}

void TCustomToolWindowEx::DrawDockedNCArea() {
    TCanvas* c = NonClientCanvas();
    if (!c) return;
    int W = Width(), H = Height();
    TDockEx* d = dockedTo_;
    bool leftRight = GetDockTypeOf(d) == dtLeftRight;
    bool background = d && d->UsingBackground() && d->BackgroundOnToolbars();
    TRect whole = Rect(0, 0, W, H);
    if (background) {
        TPoint anchor = d->BackgroundAnchor();
        TRect sr = ScreenRect();
        TRect ring = whole;
        InflateRect(ring, -1, -1);
        d->DrawBackground(c, ring, nullptr, Rect(anchor.x - sr.Left, anchor.y - sr.Top, W, H));
    } else {
        FillSolid(c, whole, Color());
    }
    if (borderStyle_ == bsSingle) DrawEdgeLines(c, whole, clBtnHighlight, clBtnShadow);
    else {
        c->Brush()->SetColor(Color());
        c->FrameRect(whole);
    }
    if (!d || !d->AllowDrag()) return;
    int cw = ClientWidth(), ch = ClientHeight();
    int offset = kDragHandleOffsets[closeButtonWhenDocked_ ? 1 : 0][dragHandleStyle_];
    int stripEnd = leftRight ? cw + 2 : ch + 2;
    int bars = dragHandleStyle_ == dhDouble ? 2 : dragHandleStyle_ == dhSingle ? 1 : 0;
    TRect close = DockedCloseButtonRect();
    int from = 2, to = stripEnd;
    if (closeButtonWhenDocked_) {
        if (leftRight) to = close.Left - 1;
        else from = close.Bottom + 1;
    }
    for (int i = 0; i < bars; ++i) {
        int at = 2 + offset + 3 * i;
        TRect bar = leftRight ? Rect(from, at, to, at + 3) : Rect(at, from, at + 3, to);
        if (IsRectEmpty(bar)) continue;
        FillSolid(c, bar, clBtnFace);
        DrawEdgeLines(c, bar, clBtnHighlight, clBtnShadow);
        c->SetPixels(bar.Left, bar.Bottom - 1, clBtnHighlight);
    }
    if (closeButtonWhenDocked_) DrawCloseButtonIn(c, close, closeButtonDown_);
}

void TCustomToolWindowEx::DrawFloatingNCArea() {
    TCanvas* c = NonClientCanvas();
    if (!c) return;
    int W = Width(), H = Height();
    TRect whole = Rect(0, 0, W, H);
    FillSolid(c, whole, clBtnFace);
    DrawEdgeLines(c, whole, cl3DLight, cl3DDkShadow);
    if (!showCaption_) return;
    TColor captionColor = inactiveCaption_ ? clInactiveCaption : clActiveCaption;
    TRect caption = FloatingCaptionRect();
    FillSolid(c, caption, captionColor);
    c->Font()->SetName("MS Sans Serif");
    c->Font()->SetHeight(-11);
    c->Font()->SetStyle(TFontStyles());
    c->Font()->SetColor(inactiveCaption_ ? clInactiveCaptionText : clCaptionText);
    c->Brush()->SetStyle(bsClear);
    TRect text = caption;
    InflateRect(text, -1, 0);
    AnsiString shown = FitCaption(c, Caption(), text.Width());
    c->DrawText(shown, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    c->Brush()->SetStyle(bsSolid);
    if (closeButton_) {
        TRect b = FloatingCloseButtonRect();
        c->Brush()->SetColor(captionColor);
        c->FrameRect(b);
        InflateRect(b, -1, -1);
        DrawCloseButtonIn(c, b, closeButtonDown_);
    }
}

// ---- mouse ----------------------------------------------------------------------------------

void TCustomToolWindowEx::ActivateOnClick() {
    if (!Floating()) return;
    BringWindowToTop(this);
    if (floatingMode_ == fmOnTopOfParentForm && ActivateParent && GetActiveWindow() != this) {
        TForm* form = GetToolWindowParentForm(this);
        TForm* top = GetTopLevelForm(form);
        if (top && GetActiveWindow() != top) SetActiveWindow(top);
        if (form && form->FormStyle() == fsMDIChild) form->BringToFront();
    }
}

// A floating window that the desktop activates gives its form's caption the
// same state and hands the activation back to that form, unless the form was
// the active window before (then the window keeps it, for the keys of a
// control of its own); one that is not showing passes it on.
void TCustomToolWindowEx::Activated(bool active, TControl* previous) {
    TForm* top = GetTopLevelForm(GetToolWindowParentForm(this));
    if (top) top->Perform(WM_NCACTIVATE, active ? 1 : 0, 0);
    if (!active) return;
    if (!Showing()) ActivateAnotherWindow();
    else if (top && previous != top) SetActiveWindow(top);
}

void TCustomToolWindowEx::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        ActivateOnClick();
        TControl* child = ControlAtPos(TPoint(x, y), true);
        bool onChild = child && child->Visible() && !ChildControlTransparent(child);
        bool dragAllowed = !docked_ || (dockedTo_ && dockedTo_->AllowDrag());
        if (!onChild && dragAllowed) {
            if (shift & ssDouble) DoubleClickDock();
            else BeginMoving(x, y);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomToolWindowEx::MouseMove(TShiftState shift, int x, int y) {
    // Sizing cursors over the floating frame.
    if (Floating() && (!tracker_ || !tracker_->Active())) {
        TCursor want = crDefault;
        switch (HitTest(ClientToScreen(TPoint(x, y)))) {
        case HTLEFT: case HTRIGHT: want = crSizeWE; break;
        case HTTOP: case HTBOTTOM: want = crSizeNS; break;
        case HTTOPLEFT: case HTBOTTOMRIGHT: want = crSizeNWSE; break;
        case HTTOPRIGHT: case HTBOTTOMLEFT: want = crSizeNESW; break;
        default: break;
        }
        if (Cursor() != want) SetCursor(want);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomToolWindowEx::DoubleClickDock() {
    if (docked_) {
        if (DockMode != dmCanFloat) return;
        SetParent(ValidToolWindowParentForm(this));
        MoveOnScreen(true);
    } else if (lastDock_) {
        SetParent(lastDock_);
    } else if (defaultDock_) {
        dockRow_ = 0;
        dockPos_ = -8;
        SetParent(defaultDock_);
    }
}

void TCustomToolWindowEx::MoveOnScreen(bool onlyIfFullyOffscreen) {
    if (!Floating()) return;
    TRect r = BoundsRect();
    TRect w = Screen->WorkAreaAt(TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
    TRect common;
    if (onlyIfFullyOffscreen && IntersectRect(common, r, w)) return;
    if (r.Right > w.Right) OffsetRect(r, w.Right - r.Right, 0);
    if (r.Bottom > w.Bottom) OffsetRect(r, 0, w.Bottom - r.Bottom);
    if (r.Left < w.Left) OffsetRect(r, w.Left - r.Left, 0);
    if (r.Top < w.Top) OffsetRect(r, 0, w.Top - r.Top);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}
