// The scheme window's mouse and keys: selection, the rubber band, dragging,
// wires, placing new objects, numbering, the double click, Esc, scrolling
// and zooming from the keyboard.
#include <algorithm>

#include "document/Scheme.h"
#include "document/UndoList.h"
#include "editor/AutoName.h"
#include "editor/ChildWin.h"
#include "editor/EditorHooks.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/OpenSym.h"
#include "editor/Unit9.h"
#include "platform/UiPort.h"

namespace {

bool Accepted(TForm* dialog) { return dialog && dialog->ShowModal() == mrOk; }

} // namespace

bool TMDIChild::Converted(int x, int y, TPoint& p, int line) const {
    try {
        p = SchemePoint(x, y);
        return true;
    } catch (const std::exception&) {
        ReportFailure(line);
        return false;
    }
}

// ---- press ------------------------------------------------------------------------------------------

void TMDIChild::PaintBox1MouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPoint p;
    if (!Converted(X, Y, p, __LINE__)) return;
    if (Button == mbRight) return;
    pressed_ = true;
    if (Shift & ssDouble) {
        // The second press of a double click, and the release that follows it.
        ignoreRelease_ = true;
        return;
    }
    ignoreRelease_ = false;
    // A press away from the last move acts where it is: what follows the
    // mouse gets there first.
    if (p != LastPoint && (Mode & PlacingFlag)) {
        MovePlacing(p.x, p.y);
        LastPoint = p;
    }
    if (Mode & PlacingFlag) PressPlacing(p.x, p.y);
    else PressIdle(X, Y, p.x, p.y);
    DownPoint = LastPoint = p;
}

void TMDIChild::PressPlacing(int sx, int sy) {
    switch (GetMode()) {
    case mdWire: {
        DrawRubberLine(WireStart, LastPoint);
        const std::size_t before = Scheme->Objects().size();
        TLink* wire = Scheme->CreateWire(WireStart.x, WireStart.y, sx, sy);
        if (wire) {
            PlacedObject = wire;
            // The segment may have been cut where it crosses pins and ends.
            const auto& objects = Scheme->Objects();
            for (std::size_t i = before; i < objects.size(); ++i)
                if (!objects[i]->Deleted() && !objects[i]->Visible()) objects[i]->Show();
        }
        WireStart = TPoint(sx, sy);
        break;
    }
    case mdPin:
        InsertPinActionExecute(this);
        Mode |= InsertedFlag;
        break;
    case mdDevice:
        if (!(Mode & InsertedFlag)) {
            InsertDeviceActionExecute(this);
            Mode |= InsertedFlag;
        }
        break;
    case mdConnect:
        InsertConnectActionExecute(this);
        Mode |= InsertedFlag;
        break;
    case mdSymbol:
        InsertSymbolActionExecute(this);
        // A refused symbol ends the placing.
        if (Mode & PlacingFlag) Mode |= InsertedFlag;
        break;
    case mdFSM:
        if (!(Mode & InsertedFlag) && !FsmFileName.IsEmpty()) {
            InsertFSMActionExecute(this);
            Mode |= InsertedFlag;
        }
        break;
    default: break;
    }
}

void TMDIChild::PressIdle(int x, int y, int sx, int sy) {
    switch (GetMode()) {
    case mdSelect: {
        const int hit = Scheme->HitTest(sx, sy);
        if (hit == 2) {
            Scheme->ClearSelection();
            Scheme->SelectAt(sx, sy, true);
        }
        if (hit != 0) {
            SetMode(mdDrag);
            Scheme->UndoList()->BeginGroup();
            Scheme->CommitSelection();
        } else {
            Scheme->ClearSelection();
            BandOrigin = TPoint(x, y);
            BandRect = Rect(x, y, x, y);
            DrawBand();
            BandActive = true;
            BandMoved = false;
        }
        break;
    }
    case mdWire:
        SetMode(mdWire | PlacingFlag);
        WireStart = TPoint(sx, sy);
        LastPoint = WireStart;
        DrawRubberLine(WireStart, WireStart);
        break;
    case mdPaste:
        SetMode(mdDrag);
        Scheme->UndoList()->BeginGroup();
        Scheme->Paste(sx, sy);
        break;
    default: break;
    }
}

// ---- move -------------------------------------------------------------------------------------------

void TMDIChild::PaintBox1MouseMove(TObject*, TShiftState Shift, int X, int Y) {
    TPoint p;
    if (!Converted(X, Y, p, __LINE__)) return;
    // Everything follows the snapped point only: moves inside one grid cell
    // change nothing.
    if ((Shift & ssDouble) || p == LastPoint) return;
    StatusBar->Panels()->Items(0)->SetText(IntToStr(p.x) + ":" + IntToStr(p.y));
    if (Mode & PlacingFlag) MovePlacing(p.x, p.y);
    else MoveIdle(X, Y, p.x, p.y);
    LastPoint = p;
    StatusBar->Panels()->Items(2)->SetText(Scheme->GetHintAt(p.x, p.y));
}

void TMDIChild::StretchBand(int x, int y) {
    // The band always spans the press point and the mouse, whatever path
    // the mouse took.
    const TRect next = Rect(std::min(BandOrigin.x, x), std::min(BandOrigin.y, y), std::max(BandOrigin.x, x),
                            std::max(BandOrigin.y, y));
    if (next == BandRect) return;
    Screen->SetCursor(crSelectCursor);
    DrawBand();
    BandRect = next;
    DrawBand();
    if (!BandMoved) {
        Scheme->ClearSelection();
        BandMoved = true;
    }
}

void TMDIChild::MoveIdle(int x, int y, int sx, int sy) {
    if (GetMode() == mdSelect && BandActive) {
        StretchBand(x, y);
    } else if (GetMode() == mdDrag) {
        Scheme->SetModified(true);
        Scheme->MoveSelection(sx - LastPoint.x, sy - LastPoint.y);
    }
}

void TMDIChild::MovePlacing(int sx, int sy) {
    switch (GetMode()) {
    case mdWire:
        DrawRubberLine(WireStart, LastPoint);
        DrawRubberLine(WireStart, TPoint(sx, sy));
        break;
    case mdPin:
    case mdDevice:
    case mdConnect:
    case mdSymbol:
    case mdFSM:
        if ((Mode & InsertedFlag) && PlacedObject) {
            Screen->SetCursor(crSelectCursor);
            PlacedObject->Move(sx - LastPoint.x, sy - LastPoint.y);
        }
        break;
    default: break;
    }
}

// ---- release ----------------------------------------------------------------------------------------

void TMDIChild::PaintBox1MouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPoint p;
    if (!Converted(X, Y, p, __LINE__)) return;
    if (Button == mbRight) return;
    pressed_ = false;
    if ((Shift & ssDouble) || ignoreRelease_) {
        ignoreRelease_ = false;
        return;
    }
    // A release that moved the snapped point drags and follows to it first.
    if (p != LastPoint) {
        if (Mode & PlacingFlag) MovePlacing(p.x, p.y);
        else MoveIdle(X, Y, p.x, p.y);
    }
    LastPoint = p;
    if (Mode & PlacingFlag) ReleasePlacing();
    else ReleaseIdle(p.x, p.y);
}

void TMDIChild::DropPlacedObject() {
    Screen->SetCursor(crDefault);
    if (!PlacedObject) return;
    PlacedObject->Hide();
    PlacedObject->Pasted = false;
    PlacedObject->Show();
    // A refused union of named chains takes the placed object back.
    if (!Scheme->AttachElement(PlacedObject)) PlacedObject = nullptr;
}

void TMDIChild::ReleasePlacing() {
    switch (GetMode()) {
    case mdPin:
    case mdConnect:
    case mdSymbol:
        if (!(Mode & InsertedFlag)) break;
        DropPlacedObject();
        Mode &= ~InsertedFlag;
        break;
    case mdDevice:
        if (!(Mode & InsertedFlag)) break;
        DropPlacedObject();
        // One element per placement: the mode stays.
        SetMode(mdDevice);
        break;
    case mdFSM:
        if (!(Mode & InsertedFlag)) break;
        DropPlacedObject();
        SetMode(mdSelect);
        break;
    default: break;
    }
}

void TMDIChild::ReleaseIdle(int sx, int sy) {
    switch (GetMode()) {
    case mdSelect:
        if (BandActive) {
            DrawBand();
            const int z = Scheme->Zoom();
            const TRect r = Rect(BandRect.Left * 100 / z, BandRect.Top * 100 / z, BandRect.Right * 100 / z,
                                 BandRect.Bottom * 100 / z);
            Scheme->SelectInRect(r, true);
            BandActive = false;
        }
        Screen->SetCursor(crDefault);
        BandMoved = false;
        SyncFrameEditActions();
        break;
    case mdPin:
        if (Accepted(InsertPinForm)) SetMode(mdPin | PlacingFlag);
        break;
    case mdDrag:
        Scheme->RemoveZeroLengthLinks();
        // A refused union of named chains has taken the whole drag back.
        if (Scheme->ConnectSelection() && TPoint(sx, sy) != DownPoint) Scheme->MergeOverlappingWires();
        // A click that moved nothing is no step to undo.
        Scheme->UndoList()->DropUnchangedStep();
        SetMode(mdSelect);
        // The press may have chosen a new selection: the frame follows it now.
        SyncFrameEditActions();
        break;
    case mdDevice:
        if (TElement* d = Scheme->DeviceAt(sx, sy)) {
            if (InsertCopyDevice(d)) SetMode(mdDevice | PlacingFlag | InsertedFlag);
        } else if (Accepted(InsertElementForm)) {
            SetMode(mdDevice | PlacingFlag);
        }
        break;
    case mdConnect:
        if (Accepted(Form9)) SetMode(mdConnect | PlacingFlag);
        break;
    case mdOrder: ReleaseOrdering(sx, sy); break;
    case mdSymbol:
        if (Accepted(fmOpenSymbolFile)) SetMode(mdSymbol | PlacingFlag);
        break;
    case mdFSM: {
        IFrameServices* frame = ModelHooks().Frame;
        FsmFileName = frame ? frame->AskFileName(AnsiString()) : AnsiString();
        if (!FsmFileName.IsEmpty()) SetMode(mdFSM | PlacingFlag);
        break;
    }
    default: break;
    }
}

void TMDIChild::ReleaseOrdering(int sx, int sy) {
    TElement* d = Scheme->DeviceAt(sx, sy);
    if (!d) return;
    if (Scheme->SetElementNumber(NextOrderNumber, d)) {
        ++NextOrderNumber;
        StatusBar->Panels()->Items(1)->SetText("Элемент № "_a + IntToStr(NextOrderNumber));
    } else {
        Scheme->ClearSelection();
    }
    PaintBox1->Repaint();
    if (Scheme->CountDevices() >= NextOrderNumber) return;
    // Every device has its number: the names may follow the numbers.
    if (fmAutoNames) {
        fmAutoNames->Edit1->SetText(AnsiString());
        if (fmAutoNames->ShowModal() == mrOk) {
            Scheme->AutoNameDevices(fmAutoNames->Edit1->Text());
            fmAutoNames->Edit1->SetText(AnsiString());
        }
    }
    SetMode(mdSelect);
    ScrollBox1->SetCursor(crDefault);
    PaintBox1->Repaint();
}

// ---- double click, Esc, keys ----------------------------------------------------------------------

void TMDIChild::PaintBox1DblClick(TObject*) {
    if (GetMode() == mdSelect) EditPropertyActionExecute(this);
    PaintBox1->Repaint();
}

void TMDIChild::EscActionExecute(TObject*) {
    if (Mode & PlacingFlag) {
        if (GetMode() == mdWire) DrawRubberLine(WireStart, LastPoint);
        else if (Mode & InsertedFlag) DropPlacedObject();
        SetMode(GetMode());
    }
    PlacedObject = nullptr;
}

void TMDIChild::EndGesture() {
    // The gesture of a press ends here, not at its release.
    if (pressed_) ignoreRelease_ = true;
    if (BandActive) {
        DrawBand();
        BandActive = false;
        BandMoved = false;
        Screen->SetCursor(crDefault);
    }
    if (Mode & PlacingFlag) EscActionExecute(this);
    if (GetMode() == mdDrag) {
        // As the release would end it.
        Scheme->RemoveZeroLengthLinks();
        if (Scheme->ConnectSelection() && LastPoint != DownPoint) Scheme->MergeOverlappingWires();
        Scheme->UndoList()->DropUnchangedStep();
        SetMode(mdSelect);
    }
    PlacedObject = nullptr;
}

void TMDIChild::FormKeyUp(TObject*, WORD& Key, TShiftState) {
    TControlScrollBar* h = ScrollBox1->HorzScrollBar();
    TControlScrollBar* v = ScrollBox1->VertScrollBar();
    switch (Key) {
    case VK_ESCAPE: EscActionExecute(this); break;
    case VK_PRIOR: v->SetPosition(v->Position() - ScrollBox1->Height() / 2); break;
    case VK_NEXT: v->SetPosition(v->Position() + ScrollBox1->Height() / 2); break;
    case VK_LEFT: h->SetPosition(h->Position() - 32); break;
    case VK_RIGHT: h->SetPosition(h->Position() + 32); break;
    case VK_UP: v->SetPosition(v->Position() - 32); break;
    case VK_DOWN: v->SetPosition(v->Position() + 32); break;
    case VK_ADD: ZoomInActionExecute(this); break;
    case VK_SUBTRACT: ZoomOutActionExecute(this); break;
    default: break;
    }
}

void TMDIChild::ScrollBox1Click(TObject*) { ShowMessage("Не рабочая область"_a); }
