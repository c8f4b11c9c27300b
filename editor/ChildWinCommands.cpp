// The scheme window's commands: inserting elements, copies, driver pins,
// connectors, symbols and state-machine blocks at the mouse point; property
// editing, delete, undo, the clipboard, mirroring, numbering, the scheme
// check, signals for the debugger, centring and the pin test.
#include "document/Scheme.h"
#include "document/UndoList.h"
#include "editor/ChildWin.h"
#include "editor/EditorHooks.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/OpenSym.h"
#include "editor/Unit9.h"
#include "platform/FileUtils.h"
#include "platform/List.h"
#include "platform/UiPort.h"

// ---- inserting ----------------------------------------------------------------------------------

void TMDIChild::FinishInsert(TEntity* object, int x, int y, bool selected) {
    object->SetX(x);
    object->SetY(y);
    Scheme->ClearSelection();
    Scheme->AddToSelection(object, selected);
    object->SetVisible(true);
}

// The nets are rebuilt once for everything an insert changes, not after
// every pin of the new object.
class TMDIChild::OneRebuild {
public:
    explicit OneRebuild(TScheme* s) : s_(s) { s_->BeginUpdate(); }
    ~OneRebuild() { s_->EndUpdate(); }

private:
    TScheme* s_;
};

void TMDIChild::InsertDeviceActionExecute(TObject*) {
    TInsertElementForm* f = InsertElementForm;
    if (!f) return;
    TElement* e = nullptr;
    {
        OneRebuild once(Scheme.get());
        e = TInsertElementForm::MakeElement(f->ComboBox1->ItemIndex(), f->GetPinCount(), f->GetDelay(), Scheme.get());
        if (!e) return;
        Scheme->AddObject(e);
    }
    FinishInsert(e, LastPoint.x, LastPoint.y, false);
    AnsiString name = f->GetElementName();
    if (f->InsertIncrement->Checked()) name += IntToStr(f->InsertCounter++);
    e->SetName(name);
    PlacedObject = e;
    Scheme->SetModified(true);
}

bool TMDIChild::InsertCopyDevice(TElement* d) {
    if (!d) return false;
    OneRebuild once(Scheme.get());
    // A copy of the kind of the source's type keyword (model/ElementKinds.h).
    TElement* c = NewCopy(*d, Scheme.get(), [this](TElement* made) { Scheme->AddObject(made); });
    // A symbol, or a keyword typed into the element dialog, has no copy.
    if (!c) return false;
    c->SetX(d->GetX() + 20);
    c->SetY(d->GetY() + 20);
    for (int i = 0; i < c->PinCount() && i < d->PinCount(); ++i) {
        c->Pin(i)->SetInverse(d->Pin(i)->Inverse());
        c->Pin(i)->SetName(d->Pin(i)->Name());
    }
    // A state machine's box is sized from its pins' names.
    if (auto* fsm = dynamic_cast<TFSM*>(c)) fsm->FitToPins();
    Scheme->ClearSelection();
    Scheme->AddToSelection(c, false);
    c->SetVisible(true);
    int number = 0;
    if (InsertElementForm) number = InsertElementForm->InsertCounter++;
    c->SetName(d->Name() + IntToStr(number));
    PlacedObject = c;
    Scheme->SetModified(true);
    return true;
}

void TMDIChild::InsertPinActionExecute(TObject*) {
    OneRebuild once(Scheme.get());
    TDriver* d = Scheme->CreateDriver();
    PlacedObject = d;
    if (InsertPinForm) InsertPinForm->ApplyToDriver(d);
    FinishInsert(d, LastPoint.x, LastPoint.y, false);
    Scheme->SetModified(true);
}

void TMDIChild::InsertConnectActionExecute(TObject*) {
    OneRebuild once(Scheme.get());
    TVarDriver* v = Scheme->CreateVarDriver();
    PlacedObject = v;
    if (Form9) Form9->StoreEntity(v);
    FinishInsert(v, LastPoint.x, LastPoint.y, true);
    Scheme->SetModified(true);
}

void TMDIChild::InsertSymbolActionExecute(TObject*) {
    TfmOpenSymbolFile* f = fmOpenSymbolFile;
    // A scheme that holds itself could never be loaded whole: the placing
    // ends and nothing is inserted.
    if (f) {
        const AnsiString own = Scheme->GetFileName();
        if (SameFile(TSymbol::ResolveFileName(f->FilenameEdit->FileName(), own), own)) {
            EndGesture();
            ShowMessage("Схема "_a + own + " не может быть символом самой себя."_a);
            return;
        }
    }
    OneRebuild once(Scheme.get());
    TSymbol* s = Scheme->CreateSymbol();
    if (f) s->LoadSymbolFile(f->FilenameEdit->FileName());
    FinishInsert(s, LastPoint.x, LastPoint.y, false);
    if (f) {
        AnsiString name = f->SymbolName;
        // Numbered like the elements: equal symbol names expand into equal
        // device names otherwise.
        if (f->InsertIncrement->Checked()) name += IntToStr(f->InsertCounter++);
        s->SetName(name);
    }
    PlacedObject = s;
    Scheme->SetModified(true);
}

void TMDIChild::InsertFSMActionExecute(TObject*) {
    OneRebuild once(Scheme.get());
    TFSM* f = Scheme->CreateFSM();
    f->SetX(LastPoint.x);
    f->SetY(LastPoint.y);
    Scheme->ClearSelection();
    Scheme->AddToSelection(f, false);
    f->LoadPinsFromFile(FsmFileName);
    f->SetVisible(true);
    PlacedObject = f;
    Scheme->SetModified(true);
}

// ---- editing ------------------------------------------------------------------------------------

void TMDIChild::EditPropertyActionExecute(TObject*) {
    EndGesture();
    Scheme->EditSelectionProperties();
}

void TMDIChild::DeleteActionExecute(TObject*) {
    EndGesture();
    // A Delete meant for the debugger's window never deletes scheme objects.
    ISchemeFrame& frame = SchemeFrame();
    if (frame.DebuggerPresent() && frame.DebugWindowActive()) return;
    Scheme->DeleteSelected();
}

void TMDIChild::UndoExecute(TObject*) {
    EndGesture();
    Scheme->UndoList()->Undo();
}

void TMDIChild::CopyActionExecute(TObject*) {
    if (Scheme->Copy()) SchemeFrame().SetPasteAvailable(true);
}

void TMDIChild::CutActionExecute(TObject*) {
    EndGesture();
    // Nothing is deleted unless it reached the clipboard.
    if (!Scheme->Copy()) return;
    SchemeFrame().SetPasteAvailable(true);
    Scheme->DeleteSelected();
}

void TMDIChild::PasteActionExecute(TObject*) {
    EndGesture();
    Scheme->ClearSelection();
    SetMode(mdPaste);
}

void TMDIChild::FlipHorActionExecute(TObject*) {
    EndGesture();
    Scheme->FlipSelection();
}

void TMDIChild::OrderActionExecute(TObject*) {
    EndGesture();
    SetMode(mdOrder);
    Scheme->SetModified(true);
    NextOrderNumber = 1;
    Scheme->ClearSelection();
    Scheme->StartOrdering();
    PaintBox1->Repaint();
}

// ---- checking and the debugger ---------------------------------------------------------------------

void TMDIChild::CheckSchemeActionExecute(TObject*) { SchemeFrame().CheckScheme(Scheme.get()); }

void TMDIChild::AddSignalsToDebugActionExecute(TObject*) {
    ISchemeFrame& frame = SchemeFrame();
    if (!frame.DebuggerPresent()) return;
    TStringList inputs, outputs;
    switch (frame.SortDr()) {
    case -1: Scheme->CollectDebugSignals(&inputs, &outputs); break;
    case 0: Scheme->CollectDebugSignalsByY(&inputs, &outputs); break;
    case 1: Scheme->CollectDebugSignalsBySelection(&inputs, &outputs); break;
    default: break;
    }
    frame.AddSignalsToDebug(&inputs, &outputs);
}

// ---- view -----------------------------------------------------------------------------------------

void TMDIChild::CenterSelectedActionExecute(TObject*) {
    if (!Scheme->HasSelection()) return;
    const int hw = ScrollBox1->Width() / 2, hh = ScrollBox1->Height() / 2;
    TRect r;
    Scheme->GetSelectionBounds(r);
    ScrollBox1->VertScrollBar()->SetPosition(ScreenValue((r.Top + r.Bottom) / 2) - hh);
    ScrollBox1->HorzScrollBar()->SetPosition(ScreenValue((r.Left + r.Right) / 2) - hw);
}

void TMDIChild::TestActionSaveListExecute(TObject*) {
    TElement* d = Scheme->FirstDevice();
    if (!d) return;
    for (TInOut* pin = d->FirstPin(); pin; pin = d->NextPin()) {
        TList joined;
        TInOut::CollectNetPins(pin, &joined);
        if (joined.Count() == 0) ShowMessage("NO!");
    }
}
