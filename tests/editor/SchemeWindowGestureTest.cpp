// Gestures on the sheet, each checked twice: afterwards the sheet equals a
// full repaint (nothing left over from the inverting drawing), and after
// Ctrl+Z the document equals the one before the gesture.
#include "editor/SchemeWindowTest.h"

#include "editor/ModalScript.h"

namespace {

class Gesture : public SchemeWindowTest {
protected:
    // Places an element through the dialog: a click on empty sheet, the
    // dialog accepted with the kind and count, a press at (x, y), a move to
    // (tx, ty), the release.
    TElement* Place(int kind, int x, int y, int tx, int ty, int count = 2) {
        ModalScript script;
        window->SetModeDeviceActionExecute(nullptr);
        script.On(InsertElementForm, [=] {
            InsertElementForm->ComboBox1->SetItemIndex(kind);
            InsertElementForm->ComboBox1Change(nullptr);
            InsertElementForm->CSpinEdit2->SetValue(count);
            InsertElementForm->Button1->Click();
        });
        Click(700, 550);
        EXPECT_EQ(window->Mode, TMDIChild::mdDevice | TMDIChild::PlacingFlag);
        Move(x, y);
        Press(x, y);
        auto* placed = dynamic_cast<TElement*>(window->PlacedObject);
        Move(tx, ty);
        Release(tx, ty);
        EXPECT_EQ(window->Mode, int(TMDIChild::mdDevice)) << "one element per placement";
        return placed;
    }
    void Undo() { window->UndoExecute(nullptr); }
    // Presses and releases at the points, moving to each first.
    void Clicks(std::vector<std::pair<int, int>> points) {
        for (auto [x, y] : points) Click(x, y);
    }
};

TEST_F(Gesture, EveryKindPlacedFromTheDialog) {
    struct Row {
        TEntityKind kind;
        int inputs, outputs; // with count 3; -1: not checked
    };
    const Row rows[21] = {
        {TEntityKind::And, 3, 1},       {TEntityKind::Or, 3, 1},           {TEntityKind::Xor, -1, -1},
        {TEntityKind::Trigger, -1, -1}, {TEntityKind::Timer, -1, -1},      {TEntityKind::PredTimer, 5, -1},
        {TEntityKind::DTrigger, -1, -1}, {TEntityKind::Counter, -1, 3},    {TEntityKind::Decoder, -1, 3},
        {TEntityKind::DRSTrigger, -1, -1}, {TEntityKind::D8Trigger, -1, -1}, {TEntityKind::D8RSCounter, -1, -1},
        {TEntityKind::ByteCompare, -1, -1}, {TEntityKind::Case, 8, 3},     {TEntityKind::ReverCounter, -1, 3},
        {TEntityKind::Case16, 16, 3},   {TEntityKind::CaseMask, 16, 3},    {TEntityKind::CaseDiap, 16, 6},
        {TEntityKind::Commutator, 7, 3}, {TEntityKind::Filter, -1, -1},    {TEntityKind::Goto, -1, -1},
    };
    InsertElementForm->TimerValue->SetValue(500);
    for (int kind = 0; kind < 21; ++kind) {
        SCOPED_TRACE(kind);
        const auto before = State();
        TElement* e = Place(kind, 100, 100, 200, 140, 3);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Kind(), rows[kind].kind);
        EXPECT_EQ(e->GetX(), 200);
        EXPECT_EQ(e->GetY(), 140);
        EXPECT_EQ(e->Name(), AnsiString(TInsertElementForm::KindAt(kind).DefaultName));
        EXPECT_TRUE(rows[kind].inputs < 0 || e->InputCount() == rows[kind].inputs);
        EXPECT_TRUE(rows[kind].outputs < 0 || e->OutputCount() == rows[kind].outputs);
        auto* t = dynamic_cast<TTimerElement*>(e);
        EXPECT_TRUE(!t || t->Delay() == 500);
        EXPECT_EQ(int(Doc()->LiveObjects().size()), int(before.size()) + 1);
        EXPECT_TRUE(SheetIsClean());
        Undo();
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(SheetIsClean());
    }
}

TEST_F(Gesture, NumberedNamesAndCopies) {
    // D7, then D8; unticked, D.
    InsertElementForm->ComboBox1->SetItemIndex(1);
    InsertElementForm->Edit1->SetText("D");
    InsertElementForm->InsertIncrement->SetChecked(true);
    InsertElementForm->InsertCounter = 7;
    const char* names[] = {"D7", "D8", "D"};
    for (int i = 0; i < 3; ++i) {
        InsertElementForm->InsertIncrement->SetChecked(i < 2);
        window->SetMode(TMDIChild::mdDevice | TMDIChild::PlacingFlag);
        Click(100, 100 + 100 * i);
        EXPECT_EQ(window->PlacedObject->Name(), AnsiString(names[i]));
    }
    EXPECT_EQ(InsertElementForm->InsertCounter, 9);
    // A release on an element makes its copy 20 units right and down, with
    // its pin names and inversions and the running number, following the mouse.
    auto* src = static_cast<TElement*>(Doc()->DeviceAt(110, 110));
    src->Pin(1)->SetInverse(true);
    src->Pin(2)->SetName("Reset");
    const auto before = State();
    Click(110, 110);
    auto* copy = dynamic_cast<TElement*>(window->PlacedObject);
    ASSERT_NE(copy, src);
    EXPECT_EQ(window->Mode, TMDIChild::mdDevice | TMDIChild::PlacingFlag | TMDIChild::InsertedFlag);
    EXPECT_EQ(TPoint(copy->GetX(), copy->GetY()), TPoint(120, 120));
    EXPECT_EQ(copy->Name(), AnsiString("D79"));
    for (int i = 0; i < src->PinCount(); ++i) {
        EXPECT_EQ(copy->Pin(i)->Name(), src->Pin(i)->Name());
        EXPECT_EQ(copy->Pin(i)->Inverse(), src->Pin(i)->Inverse());
    }
    Move(130, 150);
    EXPECT_EQ(TPoint(copy->GetX(), copy->GetY()), TPoint(140, 160));
    Drag({{200, 200}, {250, 200}});
    EXPECT_EQ(TPoint(copy->GetX(), copy->GetY()), TPoint(260, 210));
    EXPECT_EQ(window->Mode, int(TMDIChild::mdDevice));
    EXPECT_TRUE(SheetIsClean());
    Undo();
    EXPECT_EQ(State(), before);
}

TEST_F(Gesture, TheCopyTable) {
    struct Row {
        std::function<TElement*()> make;
        int inputs, outputs;
    };
    TScheme* d = Doc();
    const Row rows[] = {
        {[&] { auto* e = d->CreateTimerElement(); e->SetDelay(700); return e; }, 2, 1},
        {[&] { auto* e = d->CreatePredTimerElement(3); e->SetDelay(900); return e; }, 5, 1},
        {[&] { auto* e = d->CreateCounterElement(); e->SetOutputCount(6); return e; }, -1, 6},
        {[&] { return d->CreateCaseElement(5); }, 8, 5},
        {[&] { return d->CreateCaseDiapElement(6); }, 16, 6},
        {[&] { auto* e = d->CreateCommutatorElement(); e->SetPinCount(9); return e; }, 9, 4},
    };
    for (const Row& r : rows) {
        TElement* src = r.make();
        ASSERT_TRUE(window->InsertCopyDevice(src));
        auto* c = static_cast<TElement*>(window->PlacedObject);
        EXPECT_EQ(c->Kind(), src->Kind());
        EXPECT_TRUE(r.inputs < 0 || c->InputCount() == r.inputs) << int(src->Kind());
        EXPECT_EQ(c->OutputCount(), r.outputs) << int(src->Kind());
        if (auto* t = dynamic_cast<TTimerElement*>(src)) {
            EXPECT_EQ(static_cast<TTimerElement*>(c)->Delay(), t->Delay());
        }
    }
    // A symbol has no copy: nothing is inserted, no placement starts, no dialog.
    TSymbol* symbol = d->CreateSymbol();
    symbol->SetX(400);
    symbol->SetY(400);
    const auto before = State();
    ModalScript script;
    window->SetModeDeviceActionExecute(nullptr);
    Click(410, 405);
    EXPECT_EQ(window->Mode, int(TMDIChild::mdDevice));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(script.shown[InsertElementForm], 0);
}

TEST_F(Gesture, PinsConnectorsSymbolsAndStateMachinesInARow) {
    ASSERT_TRUE(DriversInUse().AddVarBit("link1", "связь"_a));
    FakeFrameServices services;
    services.answer = dir.File("pump.fsm");
    const AnsiString symbolFile = dir.File("valve.tvy");
    {
        TScheme inner;
        inner.CreateVarDriver()->SetName("c1");
        inner.SetFileName(symbolFile);
        ASSERT_TRUE(inner.SaveToFile());
    }
    ModalScript script;
    script.On(InsertPinForm, [] {
        InsertPinForm->NamePin->SetText("X1");
        InsertPinForm->OKBtn->Click();
    });
    script.On(Form9, [] {
        Form9->NameBox->SetText("link1");
        Form9->Button3->Click();
    });
    script.On(fmOpenSymbolFile, [&] {
        fmOpenSymbolFile->FilenameEdit->SetText(symbolFile);
        fmOpenSymbolFile->Edit1->SetText("V");
        fmOpenSymbolFile->InsertIncrement->SetChecked(true);
        fmOpenSymbolFile->Button1->Click();
    });
    struct Row {
        void (TMDIChild::*mode)(TObject*);
        TEntityKind kind;
        const char* first;  // the first object's name
        const char* second; // the second's; null: one object per placement
    };
    const Row rows[] = {
        {&TMDIChild::SetModePinActionExecute, TEntityKind::Driver, "X1", "X1"},
        {&TMDIChild::SetModeConnectActionExecute, TEntityKind::VarDriver, "link1", "link1"},
        {&TMDIChild::SetModeSymbolActionExecute, TEntityKind::Symbol, "V0", "V1"},
        {&TMDIChild::SetModeFSMActionExecute, TEntityKind::FSM, "FSM", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.kind));
        const auto before = State();
        (window->*r.mode)(nullptr);
        Click(700, 550); // the dialog
        ASSERT_TRUE(window->Mode & TMDIChild::PlacingFlag);
        Move(100, 100);
        Press(100, 100);
        EXPECT_TRUE(window->Mode & TMDIChild::InsertedFlag);
        Move(120, 140);
        Release(120, 140);
        TEntity* first = window->PlacedObject;
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->Kind(), r.kind);
        EXPECT_EQ(TPoint(first->GetX(), first->GetY()), TPoint(120, 140));
        EXPECT_EQ(first->Name(), AnsiString(r.first));
        EXPECT_EQ(first->Selected(), r.kind == TEntityKind::VarDriver) << "a new connector is selected";
        if (auto* f = dynamic_cast<TFSM*>(first)) {
            EXPECT_EQ(f->InputCount(), 2) << "pins from the file";
        }
        int steps = 1;
        if (r.second) {
            EXPECT_EQ(window->Mode & TMDIChild::InsertedFlag, 0);
            EXPECT_TRUE(window->Mode & TMDIChild::PlacingFlag) << "the placement goes on";
            Click(300, 100);
            EXPECT_EQ(window->PlacedObject->Name(), AnsiString(r.second));
            window->EscActionExecute(nullptr);
            ++steps;
        } else {
            EXPECT_EQ(window->GetMode(), 1);
        }
        EXPECT_EQ(Live(r.kind), steps);
        EXPECT_TRUE(SheetIsClean());
        while (steps--) Undo();
        EXPECT_EQ(State(), before);
    }
    EXPECT_EQ(DriversInUse().GetVarBitCount(), 1) << "a known name adds no second signal";
    // The state-machine file is asked for with an empty name; cancelled, no placement.
    services.answer = AnsiString();
    window->SetModeFSMActionExecute(nullptr);
    Click(700, 550);
    EXPECT_EQ(window->Mode, int(TMDIChild::mdFSM));
    EXPECT_EQ(services.asked.back(), AnsiString());
}

TEST_F(Gesture, WiresSegmentBySegment) {
    TElement* a = Device(100, 300); // output at (150, 310)
    TElement* b = Device(300, 400); // input 1 at (290, 410)
    const auto before = State();
    window->SetModeWireActionExecute(nullptr);
    Click(a->Pin(0)->TipX(), a->Pin(0)->TipY());
    EXPECT_EQ(window->Mode, TMDIChild::mdWire | TMDIChild::PlacingFlag);
    Move(200, 250);
    Move(250, 310);
    EXPECT_TRUE(SheetIsClean()) << "a repaint draws the rubber line again";
    Clicks({{250, 310}, {250, 310}}); // a second press at one point adds nothing
    EXPECT_EQ(Live(TEntityKind::Link), 1);
    Clicks({{b->Pin(1)->TipX(), 310}, {b->Pin(1)->TipX(), b->Pin(1)->TipY()}});
    EXPECT_EQ(Live(TEntityKind::Link), 3);
    Move(400, 400);
    // Esc erases the rubber line and keeps the segments.
    window->EscActionExecute(nullptr);
    EXPECT_EQ(window->Mode, int(TMDIChild::mdWire));
    EXPECT_EQ(Live(TEntityKind::Link), 3);
    EXPECT_NE(a->Pin(0)->Net(), nullptr);
    EXPECT_EQ(a->Pin(0)->Net(), b->Pin(1)->Net());
    EXPECT_TRUE(SheetIsClean());
    for (int i = 0; i < 3; ++i) Undo(); // one step per segment
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, TheBandSpansThePressPointAndTheMouse) {
    TElement* a = Device(100, 100);
    TElement* b = Device(300, 300);
    const auto before = State();
    // Up and to the left of the press point.
    Move(400, 400);
    Press(400, 400);
    Move(350, 350);
    EXPECT_TRUE(window->BandActive);
    EXPECT_TRUE(SheetIsClean()) << "a repaint draws the band again";
    Move(250, 250);
    Release(250, 250);
    EXPECT_FALSE(window->BandActive);
    EXPECT_TRUE(b->Selected());
    EXPECT_FALSE(a->Selected());
    EXPECT_TRUE(SheetIsClean());
    // Back across its start.
    Drag({{200, 200}, {150, 150}, {90, 90}, {250, 260}, {50, 50}});
    EXPECT_EQ(window->BandRect, Rect(50, 50, 200, 200));
    EXPECT_TRUE(a->Selected());
    EXPECT_FALSE(b->Selected());
    // A band that holds nothing leaves nothing selected.
    Drag({{600, 500}, {650, 550}, {700, 560}});
    EXPECT_FALSE(Doc()->HasSelection());
    EXPECT_TRUE(SheetIsClean());
    EXPECT_EQ(State(), before);
}

TEST_F(Gesture, DragMovesTheSelectionWithItsWiresAndMergesOnlyWhenMoved) {
    TElement* a = Device(100, 100);
    TElement* b = Device(300, 100);
    Doc()->CreateWire(a->Pin(0)->TipX(), a->Pin(0)->TipY(), b->Pin(1)->TipX(), b->Pin(1)->TipY())->Show();
    // Two wires that overlap on one line.
    Doc()->AddObject(new TLink(Doc(), 100, 400, 300, 400));
    Doc()->AddObject(new TLink(Doc(), 200, 400, 400, 400));
    for (TEntity* o : Doc()->LiveObjects()) o->Show();
    // Released where it was pressed: nothing merges.
    Drag({{110, 110}, {110, 110}});
    EXPECT_TRUE(a->Selected());
    EXPECT_EQ(Live(TEntityKind::Link), 3);
    const auto before = State();
    Drag({{110, 110}, {130, 140}, {160, 180}});
    EXPECT_EQ(window->GetMode(), 1);
    EXPECT_EQ(TPoint(a->GetX(), a->GetY()), TPoint(150, 170));
    EXPECT_EQ(a->Pin(0)->Net(), b->Pin(1)->Net()) << "the wire follows";
    EXPECT_EQ(Live(TEntityKind::Link), 2) << "moved: the overlapping wires became one";
    EXPECT_TRUE(SheetIsClean());
    Undo();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, PasteAtThePressThenDrag) {
    Device(100, 100);
    Device(200, 100);
    Drag({{50, 50}, {260, 160}});
    window->CopyActionExecute(nullptr);
    EXPECT_EQ(fake.pasteAvailable, std::vector<bool>{true});
    const auto before = State();
    window->PasteActionExecute(nullptr);
    EXPECT_EQ(window->GetMode(), 13);
    EXPECT_FALSE(Doc()->HasSelection());
    EXPECT_EQ(State(), before) << "nothing is pasted before the press";
    Move(400, 300);
    Press(400, 300);
    EXPECT_EQ(window->GetMode(), 10);
    EXPECT_EQ(Doc()->Selection().size(), 2u);
    Move(420, 320);
    Release(420, 320);
    EXPECT_EQ(window->GetMode(), 1);
    EXPECT_EQ(Live(TEntityKind::And), 4);
    EXPECT_EQ(Doc()->Selection()[0]->GetX(), 420);
    EXPECT_TRUE(SheetIsClean());
    Undo();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, FlipIsOneUndoStep) {
    TDriver* d1 = Pin("X1", 100, 0);
    TDriver* d2 = Pin("X2", 100, 100);
    Drag({{50, 0}, {200, 150}});
    ASSERT_TRUE(window->FlipHorActionEnabled());
    const auto before = State();
    window->FlipHorActionExecute(nullptr);
    EXPECT_TRUE(d1->Mirrored() && d2->Mirrored());
    EXPECT_TRUE(SheetIsClean());
    Undo();
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, ADoubleClickInAPlacementPlacesOneObjectAndRightButtonsDoNothing) {
    InsertPinForm->NamePin->SetText("X1");
    window->SetMode(TMDIChild::mdPin | TMDIChild::PlacingFlag);
    const auto before = State();
    Click(100, 100);
    Send(QEvent::MouseButtonDblClick, 100, 100);
    Release(100, 100);
    EXPECT_EQ(Live(TEntityKind::Driver), 1);
    EXPECT_EQ(window->Mode, TMDIChild::mdPin | TMDIChild::PlacingFlag) << "nothing follows the mouse";
    Move(200, 200);
    EXPECT_EQ(window->PlacedObject->GetX(), 100);
    Press(300, 300, Qt::RightButton);
    Release(300, 300, Qt::RightButton);
    EXPECT_EQ(Live(TEntityKind::Driver), 1);
    EXPECT_EQ(window->Mode, TMDIChild::mdPin | TMDIChild::PlacingFlag);
    EXPECT_TRUE(SheetIsClean());
    window->EscActionExecute(nullptr);
    Undo();
    EXPECT_EQ(State(), before);
}

TEST_F(Gesture, ZoomAndRepaintInTheMiddleOfAWireAndABand) {
    Device(100, 100);
    window->SetModeWireActionExecute(nullptr);
    Click(300, 300);
    Move(400, 350);
    window->RedrawActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
    window->ZoomInActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
    Click(420, 330);
    EXPECT_EQ(Live(TEntityKind::Link), 1);
    window->ZoomNormalActionExecute(nullptr);
    window->EscActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
    window->SetModeSelectActionExecute(nullptr);
    Move(500, 500);
    Press(500, 500);
    Move(450, 420);
    window->RedrawActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
    window->ZoomInActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
    Move(60, 60);
    Release(60, 60);
    EXPECT_FALSE(window->BandActive);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, ACommandEndsThePlacementOrDragFirst) {
    // An element follows the mouse when Ctrl+Z comes: dropped and attached,
    // then undone; its release is no click in the element mode.
    const auto before = State();
    InsertElementForm->ComboBox1->SetItemIndex(0);
    window->SetMode(TMDIChild::mdDevice | TMDIChild::PlacingFlag);
    Move(100, 100);
    Press(100, 100);
    Move(140, 140);
    window->UndoExecute(nullptr);
    EXPECT_EQ(window->Mode, int(TMDIChild::mdDevice));
    EXPECT_EQ(window->PlacedObject, nullptr);
    Release(140, 140);
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
    // A drag ended by a mode command ends as its release would.
    TElement* a = Device(100, 100);
    window->SetModeSelectActionExecute(nullptr);
    Move(110, 110);
    Press(110, 110);
    Move(150, 110);
    window->SetModeWireActionExecute(nullptr);
    EXPECT_EQ(window->Mode, int(TMDIChild::mdWire));
    Release(150, 110);
    EXPECT_EQ(a->GetX(), 140);
    EXPECT_TRUE(SheetIsClean());
    // A wire in progress: the rubber line goes.
    Click(300, 300);
    Move(350, 350);
    window->SetModeSelectActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
}

} // namespace
