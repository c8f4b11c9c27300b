// Mouse editing of the state-machine window: presses, moves and releases on
// the paint box become selections, drags, rubber bands and new states,
// transitions, reset transitions and condition boxes, by the mode word.
#include <algorithm>

#include "controls/gui/ExCheckListBox.h"
#include "document/Scheme.h"
#include "fsm/gui/FSMChild.h"

namespace {
constexpr const char* kUnit = "FSMChild";
} // namespace

void TFSMChild::ToDiagram(int px, int py, int& x, int& y) const {
    const int zoom = fsm_->GetZoom();
    x = SnapToGrid(px * 100 / zoom + grid_ / 2, grid_);
    y = SnapToGrid(py * 100 / zoom + grid_ / 2, grid_);
}

TPoint TFSMChild::PressedAt(int px, int py) const {
    const int zoom = fsm_->GetZoom();
    return TPoint(px * 100 / zoom, py * 100 / zoom);
}

// ---- press ----------------------------------------------------------------------------------

void TFSMChild::PaintBox1MouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The paint box takes no focus itself: a press brings the keys (Esc,
    // the arrows, the keypad's zoom) to this window, where activating it
    // would put them.
    TWinControl* focus = Screen->ActiveControl();
    if (!focus || GetParentForm(focus) != this) {
        TWinControl* target = ActiveControl();
        (target ? target : inBox)->SetFocus();
    }
    if (!fsm_ || Button == mbRight || (Shift & ssDouble)) return;
    try {
        int x, y;
        ToDiagram(X, Y, x, y);
        // A press lands where the last move was; a press without one still
        // acts at its own point.
        lastX_ = x;
        lastY_ = y;
        if (mode_ & kPlacing) PressPlacing(X, Y, x, y);
        else PressFree(X, Y, x, y);
        dragX_ = lastX_ = x;
        dragY_ = lastY_ = y;
    } catch (...) {
        ReportFsmInternalError(kUnit, __LINE__);
    }
}

void TFSMChild::PressPlacing(int px, int py, int x, int y) {
    switch (GetMode()) {
    case mdState:
        if (!(mode_ & kInserted)) {
            InsertDeviceActionExecute(InsertDeviceAction);
            mode_ |= kInserted;
        }
        break;
    case mdCondition: PlaceCondition(PressedAt(px, py), x, y); break;
    case mdTransition: PressTransitionPoint(x, y); break;
    case mdReset: PressResetPoint(x, y); break;
    default: break;
    }
}

// The box goes to the grid point; its owner is what lies under the press.
void TFSMChild::PlaceCondition(TPoint pressed, int x, int y) {
    TfsmElement* owner = fsm_->TransitionAt(pressed.x, pressed.y);
    if (!owner) owner = fsm_->StateAt(pressed.x, pressed.y);
    if (!owner) return;
    if (TfsmCond* box = owner->GetCondition()) {
        box->SetX(x);
        box->SetY(y);
        fsm_->SetModified(true);
        return;
    }
    TfsmCond* box = TFSMScheme::IsTransition(owner) ? fsm_->CreateTransitionCondition(owner)
                                                    : fsm_->CreateStateCondition(owner);
    box->SetX(x);
    box->SetY(y);
    box->SetAnchor(x, y);
    fsm_->ClearSelection();
    fsm_->AddToSelection(box, false);
    box->Show();
    fsm_->SetModified(true);
}

void TFSMChild::PressTransitionPoint(int x, int y) {
    EraseRubberLine();
    TfsmElement* s = fsm_->StateAt(x, y);
    TfsmLink* made = nullptr;
    const TPoint* p = points_;
    if (startState_ && s == startState_) {
        // Back on the state it started from: the drawing is abandoned.
        FinishPlacing();
    } else if (s) {
        if (pointCount_ == 1) made = fsm_->CreateTransition2(p[0].x, p[0].y, x, y);
        else if (pointCount_ == 2) made = fsm_->CreateTransition4(p[0].x, p[0].y, p[1].x, p[1].y, p[1].x, p[1].y, x, y);
        else if (pointCount_ == 3) made = fsm_->CreateTransition4(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, x, y);
        if (made) {
            made->SetSource(startState_);
            made->SetTarget(s);
        }
        FinishPlacing();
    } else {
        AddPoint(x, y);
        if (pointCount_ == 4) {
            made = fsm_->CreateTransition4(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
            if (made) made->SetSource(startState_);
            FinishPlacing();
        }
    }
    if (made) made->Show();
    anchor_ = TPoint(x, y);
    // Still drawing: the rubber line starts again from the new point.
    if (mode_ & kPlacing) ShowRubberLine(x, y);
}

TfsmResetLink* TFSMChild::CreateResetTransition(TfsmElement* target) {
    TfsmResetLink* r = fsm_->AddResetLink();
    if (!r) return nullptr;
    r->SetPointX(0, points_[0].x);
    r->SetPointY(0, points_[0].y);
    r->SetPointX(3, target->GetX());
    r->SetPointY(3, target->GetY());
    r->SetStraight(true);
    r->SetTarget(target);
    return r;
}

void TFSMChild::PressResetPoint(int x, int y) {
    EraseRubberLine();
    TfsmElement* s = fsm_->StateAt(x, y);
    if (s && pointCount_ >= 1) {
        if (TfsmResetLink* r = CreateResetTransition(s)) r->Show();
        // A machine has one reset transition: placing ends with it.
        FinishPlacing();
    } else if (!s && pointCount_ == 0) {
        AddPoint(x, y);
    }
    anchor_ = TPoint(x, y);
}

void TFSMChild::PressFree(int px, int py, int x, int y) {
    switch (GetMode()) {
    case mdSelect: {
        // Objects are found under the press itself: on the grid point a
        // transition whose stretch between two grid lines is short would
        // never be found at all.
        const TPoint pressed = PressedAt(px, py);
        switch (fsm_->HitTestAny(pressed.x, pressed.y)) {
        case 0:
            fsm_->ClearSelection();
            band_ = TRect(px, py, px, py);
            bandOrigin_ = TPoint(px, py);
            DrawBand();
            bandActive_ = true;
            bandMoved_ = false;
            break;
        case 1:
            SetMode(mdDrag);
            fsm_->GetUndoList()->BeginGroup();
            fsm_->CommitSelection();
            break;
        default:
            fsm_->ClearSelection();
            fsm_->SelectAt(pressed.x, pressed.y, true);
            break;
        }
        break;
    }
    case mdTransition:
    case mdReset:
        // The press is the first point: a click on the target then gives a
        // straight transition.
        pointCount_ = 0;
        AddPoint(x, y);
        startState_ = fsm_->StateAt(x, y);
        SetMode(GetMode() | kPlacing);
        anchor_ = TPoint(x, y);
        ShowRubberLine(x, y);
        break;
    case mdPaste:
        SetMode(mdDrag);
        fsm_->GetUndoList()->BeginGroup();
        if (fsm_->PasteFromClipboard(x, y)) fsm_->SetModified(true);
        break;
    default: break;
    }
}

// ---- move -----------------------------------------------------------------------------------

void TFSMChild::PaintBox1MouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (!fsm_ || (Shift & ssDouble)) return;
    try {
        int x, y;
        ToDiagram(X, Y, x, y);
        if (x == lastX_ && y == lastY_) return;
        StatusBar->Panels()->Items(0)->SetText(IntToStr(x) + ":" + IntToStr(y));
        const int m = GetMode();
        if ((mode_ & kPlacing) && m == mdTransition) {
            ShowRubberLine(x, y);
        } else if ((mode_ & kPlacing) && m == mdState && (mode_ & kInserted)) {
            Screen->SetCursor(kSelectCursor);
            if (placing_) placing_->Move(x - lastX_, y - lastY_);
        } else if (m == mdSelect && bandActive_) {
            Screen->SetCursor(kSelectCursor);
            DrawBand();
            if (!bandMoved_) {
                fsm_->ClearSelection();
                bandMoved_ = true;
            }
            band_ = TRect(std::min(bandOrigin_.x, X), std::min(bandOrigin_.y, Y), std::max(bandOrigin_.x, X),
                          std::max(bandOrigin_.y, Y));
            DrawBand();
        } else if (m == mdDrag) {
            fsm_->SetModified(true);
            fsm_->MoveSelection(x - lastX_, y - lastY_);
        }
        lastX_ = x;
        lastY_ = y;
    } catch (...) {
        ReportFsmInternalError(kUnit, __LINE__);
    }
}

// ---- release --------------------------------------------------------------------------------

void TFSMChild::PaintBox1MouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!fsm_) return;
    try {
        ToDiagram(X, Y, lastX_, lastY_);
        if (Button == mbRight || (Shift & ssDouble)) return;
        const int m = GetMode();
        if ((mode_ & kPlacing) && m == mdState) {
            Screen->SetCursor(crDefault);
            if (placing_) {
                // Dropped: the state shows its name again.
                placing_->Hide();
                placing_->SetChanged(false);
                placing_->SetMarked(false);
                placing_->Show();
            }
            mode_ &= ~kInserted;
        } else if (m == mdSelect) {
            if (bandActive_) {
                DrawBand();
                bandActive_ = false;
                const int zoom = fsm_->GetZoom();
                fsm_->SelectInRect(true, TRect(band_.Left * 100 / zoom, band_.Top * 100 / zoom,
                                               band_.Right * 100 / zoom, band_.Bottom * 100 / zoom));
            }
            Screen->SetCursor(crDefault);
            bandMoved_ = false;
            UpdateEditActions();
        } else if (m == mdDrag) {
            fsm_->EndDragSelection();
            SetMode(mdSelect);
        }
    } catch (...) {
        ReportFsmInternalError(kUnit, __LINE__);
    }
}

void TFSMChild::PaintBox1DblClick(TObject*) {
    if (GetMode() == mdSelect) EditPropertyAction->Execute();
    PaintBox1->Repaint();
}
