// Gestures on the sheet, each checked twice: afterwards the sheet equals a full repaint (nothing left over from the
// inverting drawing), and after Ctrl+Z the document equals the one before the gesture.
#include <algorithm>
#include <functional>

#include "editor/SchemeWindowTest.h"

#include "editor/ModalScript.h"
#include "platform/testing/TestUiPort.h"

namespace {

using Records = std::vector<std::string>;
using K = TEntityKind;

class Gesture : public SchemeWindowTest {
protected:
    void Down(int x, int y) { Move(x, y), Press(x, y); }
    void Up(int x, int y) { Move(x, y), Release(x, y); }
    void Undo() { window->UndoExecute(nullptr); }
    // Both checks of a gesture: the sheet equals a full repaint, and after `undos` steps back the document is
    // `before`, the sheet clean again.
    ::testing::AssertionResult Undoes(const Records& before, int undos = 1) {
        if (::testing::AssertionResult clean = SheetIsClean(); !clean) return clean << " before the undo";
        while (undos-- > 0) Undo();
        if (const Records now = State(); now != before)
            return ::testing::AssertionFailure() << "undone: " << now.size() << " objects, before " << before.size();
        ::testing::AssertionResult clean = SheetIsClean();
        return clean << " after the undo";
    }
    TPoint At(TEntity* o) const { return TPoint(o->GetX(), o->GetY()); }
    // F5, then a zoom in, in the middle of a gesture: the sheet equals a full repaint after each.
    ::testing::AssertionResult RepaintAndZoomIn() {
        window->RedrawActionExecute(nullptr);
        if (::testing::AssertionResult clean = SheetIsClean(); !clean) return clean << " after F5";
        window->ZoomInActionExecute(nullptr);
        ::testing::AssertionResult clean = SheetIsClean();
        return clean << " after the zoom";
    }
    // Starts the mode and clicks the empty sheet for its dialog, which `fill` completes (no dialog: null); then
    // places the object with a press at (100, 100) and a release at (120, 140).
    TEntity* PlaceFromDialog(void (TMDIChild::*mode)(TObject*), TForm* dialog, std::function<void()> fill) {
        ModalScript script;
        if (dialog) script.On(dialog, std::move(fill));
        std::invoke(mode, window, nullptr);
        Click(700, 550);
        EXPECT_TRUE(window->Mode & PlacingFlag);
        Down(100, 100);
        EXPECT_TRUE(window->Mode & InsertedFlag);
        TEntity* placed = window->PlacedObject;
        Up(120, 140);
        return placed;
    }
};

TEST_F(Gesture, NumberedNamesAndCopies) {
    // D7, then D8; unticked, D.
    InsertElementForm->ComboBox1->SetItemIndex(1), InsertElementForm->Edit1->SetText("D");
    InsertElementForm->InsertCounter = 7;
    const char* names[] = {"D7", "D8", "D"};
    for (int i = 0; i < 3; ++i) {
        InsertElementForm->InsertIncrement->SetChecked(i < 2);
        window->SetMode(mdDevice | PlacingFlag), Click(100, 100 + 100 * i);
        EXPECT_EQ(window->PlacedObject->Name(), AnsiString(names[i]));
    }
    EXPECT_EQ(InsertElementForm->InsertCounter, 9);
    // A release on an element makes its copy 20 units right and down, with its pin names and inversions and the
    // running number, following the mouse.
    auto* src = static_cast<TElement*>(Doc()->DeviceAt(110, 110));
    src->Pin(1)->SetInverse(true), src->Pin(2)->SetName("Reset");
    const Records before = State();
    Click(110, 110);
    auto* copy = dynamic_cast<TElement*>(window->PlacedObject);
    ASSERT_NE(copy, src);
    EXPECT_EQ(window->Mode, mdDevice | PlacingFlag | InsertedFlag);
    EXPECT_EQ(std::pair(At(copy), copy->Name()), std::pair(TPoint(120, 120), AnsiString("D79")));
    for (int i = 0; i < src->PinCount(); ++i)
        EXPECT_EQ(std::pair(copy->Pin(i)->Name(), copy->Pin(i)->Inverse()),
                  std::pair(src->Pin(i)->Name(), src->Pin(i)->Inverse()));
    Move(130, 150);
    EXPECT_EQ(At(copy), TPoint(140, 160));
    Drag({{200, 200}, {250, 200}});
    EXPECT_EQ(std::pair(At(copy), window->Mode), std::pair(TPoint(260, 210), int(mdDevice)));
    EXPECT_TRUE(Undoes(before));
}

TEST_F(Gesture, TheCopyTable) {
    TScheme* d = Doc();
    // Made, then the copy's inputs (-1: not checked) and outputs.
    const std::tuple<std::function<TElement*()>, int, int> rows[] = {
        {[&] { auto* e = d->CreateTimerElement(); return e->SetDelay(700), e; }, 2, 1},
        {[&] { auto* e = d->CreatePredTimerElement(3); return e->SetDelay(900), e; }, 5, 1},
        {[&] { auto* e = d->CreateCounterElement(); return e->SetOutputCount(6), e; }, -1, 6},
        {[&] { return d->CreateCaseElement(5); }, 8, 5}, {[&] { return d->CreateCaseDiapElement(6); }, 16, 6},
        {[&] { auto* e = d->CreateCommutatorElement(); return e->SetPinCount(9), e; }, 9, 4}};
    for (const auto& [make, inputs, outputs] : rows) {
        TElement* src = make();
        SCOPED_TRACE(int(src->Kind()));
        ASSERT_TRUE(window->InsertCopyDevice(src));
        auto* c = static_cast<TElement*>(window->PlacedObject);
        EXPECT_EQ(std::pair(c->Kind(), c->OutputCount()), std::pair(src->Kind(), outputs));
        EXPECT_TRUE(inputs < 0 || c->InputCount() == inputs);
        if (auto* t = dynamic_cast<TTimerElement*>(src)) { EXPECT_EQ(static_cast<TTimerElement*>(c)->Delay(), t->Delay()); }
    }
    // A symbol has no copy: nothing is inserted, no placement starts, no dialog.
    Shown(d->CreateSymbol(), 400, 400);
    const Records before = State();
    ModalScript script;
    window->SetModeDeviceActionExecute(nullptr), Click(410, 405);
    EXPECT_EQ(std::tuple(window->Mode, State(), script.shown[InsertElementForm]),
              std::tuple(int(mdDevice), before, 0));
}

// A state machine's copy is named after the source's pins, so it takes the
// box those names need, outputs at its edge.
TEST_F(Gesture, AStateMachinesCopyTakesTheBoxOfItsNames) {
    TFSM* src = Doc()->CreateFSM();
    src->SetInputCount(4);
    src->SetOutputCount(2);
    const char* names[] = {"BTN", "TOP", "STOP", "RESET", "ДВИГАТЕЛЬ_ВВЕРХ", "ДВИГАТЕЛЬ_ВНИЗ"};
    for (int i = 0; i < 6; ++i) src->Pin(i)->SetName(Utf8ToAnsi(names[i]));
    src->FitToPins();
    ASSERT_GT(src->GetWidth(), 40);
    ASSERT_TRUE(window->InsertCopyDevice(src));
    auto* copy = static_cast<TFSM*>(window->PlacedObject);
    EXPECT_EQ(std::pair(copy->GetWidth(), copy->GetHeight()), std::pair(src->GetWidth(), src->GetHeight()));
    EXPECT_EQ(copy->GetOutput(1)->OffsetX(), copy->GetWidth() + 10);
}

TEST_F(Gesture, EveryObjectPlacedFromItsDialog) {
    ASSERT_TRUE(DriversInUse().AddVarBit("link1", "связь"_a));
    FakeFrameServices services;
    services.answer = dir.File("pump.fsm");
    const AnsiString symbolFile = dir.File("valve.tvy");
    TScheme symbol;
    symbol.CreateVarDriver()->SetName("c1"), symbol.SetFileName(symbolFile);
    ASSERT_TRUE(symbol.SaveToFile());
    InsertElementForm->TimerValue->SetValue(500);
    // The mode, its dialog and what is entered there, the kind, the first object's name and the second's (null: one
    // object per placement); of an element, the inputs and outputs where the count of 3 decides them (-1: not checked).
    struct Row {
        void (TMDIChild::*mode)(TObject*); TForm* dialog; std::function<void()> fill;
        K kind; AnsiString first; const char* second; int inputs = -1, outputs = -1;
    };
    std::vector<Row> rows = {
        {&TMDIChild::SetModePinActionExecute, InsertPinForm,
         [] { InsertPinForm->NamePin->SetText("X1"), InsertPinForm->OKBtn->Click(); }, K::Driver, "X1", "X1"},
        {&TMDIChild::SetModeConnectActionExecute, Form9, [] { Form9->NameBox->SetText("link1"), Form9->Button3->Click(); },
         K::VarDriver, "link1", "link1"},
        {&TMDIChild::SetModeSymbolActionExecute, fmOpenSymbolFile,
         [&] {
             fmOpenSymbolFile->FilenameEdit->SetText(symbolFile), fmOpenSymbolFile->Edit1->SetText("V");
             fmOpenSymbolFile->InsertIncrement->SetChecked(true), fmOpenSymbolFile->Button1->Click();
         },
         K::Symbol, "V0", "V1"},
        {&TMDIChild::SetModeFSMActionExecute, nullptr, nullptr, K::FSM, "FSM", nullptr},
    };
    const std::tuple<K, int, int> elements[21] = {
        {K::And, 3, 1},          {K::Or, 3, 1},          {K::Xor, -1, -1},          {K::Trigger, -1, -1},
        {K::Timer, -1, -1},      {K::PredTimer, 5, -1},  {K::DTrigger, -1, -1},     {K::Counter, -1, 3},
        {K::Decoder, -1, 3},     {K::DRSTrigger, -1, -1}, {K::D8Trigger, -1, -1},   {K::D8RSCounter, -1, -1},
        {K::ByteCompare, -1, -1}, {K::Case, 8, 3},        {K::ReverCounter, -1, 3}, {K::Case16, 16, 3},
        {K::CaseMask, 16, 3},    {K::CaseDiap, 16, 6},   {K::Commutator, 7, 3},     {K::Filter, -1, -1},
        {K::Goto, -1, -1}};
    for (int i = 0; i < 21; ++i) {
        auto fill = [i] {
            InsertElementForm->ComboBox1->SetItemIndex(i), InsertElementForm->ComboBox1Change(nullptr);
            InsertElementForm->CSpinEdit2->SetValue(3), InsertElementForm->Button1->Click();
        };
        const auto [kind, inputs, outputs] = elements[i];
        rows.push_back({&TMDIChild::SetModeDeviceActionExecute, InsertElementForm, fill, kind,
                        TInsertElementForm::KindAt(i).DefaultName, nullptr, inputs, outputs});
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.kind));
        const Records before = State();
        TEntity* placed = PlaceFromDialog(r.mode, r.dialog, r.fill);
        ASSERT_NE(placed, nullptr);
        EXPECT_EQ(std::tuple(placed->Kind(), At(placed), placed->Name()), std::tuple(r.kind, TPoint(120, 140), r.first));
        EXPECT_EQ(placed->Selected(), r.kind == K::VarDriver) << "a new connector is selected";
        if (auto* f = dynamic_cast<TFSM*>(placed)) { EXPECT_EQ(f->InputCount(), 2) << "pins from the file"; }
        if (auto* e = dynamic_cast<TElement*>(placed)) {
            auto* t = dynamic_cast<TTimerElement*>(e);
            EXPECT_TRUE((r.inputs < 0 || e->InputCount() == r.inputs) && (r.outputs < 0 || e->OutputCount() == r.outputs));
            EXPECT_TRUE(!t || t->Delay() == 500);
        }
        int steps = 1;
        if (r.second) {
            EXPECT_EQ(window->Mode & (InsertedFlag | PlacingFlag), PlacingFlag)
                << "the placement goes on";
            Click(300, 100);
            EXPECT_EQ(window->PlacedObject->Name(), AnsiString(r.second));
            window->EscActionExecute(nullptr), ++steps;
        } else {
            EXPECT_EQ(window->Mode, r.kind == K::FSM ? int(mdSelect) : int(mdDevice)) << "one object per placement";
        }
        EXPECT_EQ(std::pair(Live(r.kind), Doc()->LiveObjects().size()), std::pair(steps, before.size() + steps));
        EXPECT_TRUE(Undoes(before, steps));
    }
    EXPECT_EQ(DriversInUse().GetVarBitCount(), 1) << "a known name adds no second signal";
    // The state-machine file is asked for with an empty name; cancelled, no placement.
    services.answer = AnsiString(), window->SetModeFSMActionExecute(nullptr), Click(700, 550);
    EXPECT_EQ(std::pair(window->Mode, services.asked.back()), std::pair(int(mdFSM), AnsiString()));
}

// A scheme is never a symbol of itself: the placing ends with the message and
// nothing is inserted, whether the file is named in full or as the symbol
// records keep it, beside the scheme.
TEST_F(Gesture, TheSchemesOwnFileIsRefusedAsItsSymbol) {
    TestUiPort ui;
    const AnsiString own = dir.File("valve.tvy");
    Doc()->CreateVarDriver()->SetName("c1");
    Doc()->SetFileName(own);
    ASSERT_TRUE(Doc()->SaveToFile());
    const Records before = State();
    for (const AnsiString& chosen : {own, AnsiString("valve.tvy")}) {
        SCOPED_TRACE(chosen.c_str());
        ui.Clear();
        fmOpenSymbolFile->FilenameEdit->SetText(chosen);
        window->SetMode(mdSymbol | PlacingFlag);
        Down(100, 100);
        EXPECT_EQ(window->Mode, int(mdSymbol));
        EXPECT_EQ(window->PlacedObject, nullptr);
        Up(120, 140);
        EXPECT_EQ(State(), before);
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Схема "_a + own + " не может быть символом самой себя."_a});
        EXPECT_TRUE(SheetIsClean());
    }
}

TEST_F(Gesture, WiresSegmentBySegment) {
    TElement *a = Device(100, 300), *b = Device(300, 400); // a's output at (150, 310), b's input 1 at (290, 410)
    const Records before = State();
    window->SetModeWireActionExecute(nullptr), Click(a->Pin(0)->TipX(), a->Pin(0)->TipY());
    EXPECT_EQ(window->Mode, mdWire | PlacingFlag);
    Move(200, 250), Move(250, 310);
    EXPECT_TRUE(RepaintAndZoomIn()) << "a repaint draws the rubber line again"; // the rest at 150 %
    Click(250, 310), Click(250, 310); // a second press at one point adds nothing
    EXPECT_EQ(Live(K::Link), 1);
    Click(b->Pin(1)->TipX(), 310), Click(b->Pin(1)->TipX(), b->Pin(1)->TipY()), Move(400, 400);
    // Esc erases the rubber line and keeps the segments.
    window->EscActionExecute(nullptr);
    EXPECT_EQ(std::pair(window->Mode, Live(K::Link)), std::pair(int(mdWire), 3));
    ASSERT_NE(a->Pin(0)->Net(), nullptr);
    EXPECT_EQ(a->Pin(0)->Net(), b->Pin(1)->Net());
    EXPECT_TRUE(Undoes(before, 3)) << "one step per segment";
}

// Wires that lie on one another cancel out on the sheet: no step leaves two.
::testing::AssertionResult NoWiresOverlap(const std::vector<TEntity*>& objects) {
    std::vector<TLink*> wires;
    for (TEntity* o : objects)
        if (o->IsLink()) wires.push_back(static_cast<TLink*>(o));
    for (TLink* a : wires)
        for (TLink* b : wires) {
            if (a == b || a->Y1() != a->Y2() || b->Y1() != b->Y2() || a->Y1() != b->Y1()) continue;
            const int from = std::max(std::min(a->X1(), a->X2()), std::min(b->X1(), b->X2()));
            const int to = std::min(std::max(a->X1(), a->X2()), std::max(b->X1(), b->X2()));
            if (from < to) return ::testing::AssertionFailure() << "wires overlap from " << from << " to " << to;
        }
    return ::testing::AssertionSuccess();
}

TEST_F(Gesture, EachSegmentOfAWireAlongAnotherUndoesAsOneDrawableStep) {
    TElement* a = Device(100, 300); // its output at (150, 310)
    window->SetModeWireActionExecute(nullptr);
    Click(150, 310), Click(300, 310);
    window->EscActionExecute(nullptr);
    // From the old wire's end at the pin: along it, then away in two segments.
    std::vector<Records> steps{State()};
    Click(150, 310);
    for (auto [x, y] : {std::pair{220, 310}, {220, 400}, {280, 400}}) {
        Click(x, y);
        EXPECT_TRUE(NoWiresOverlap(Doc()->LiveObjects())) << x << "," << y;
        steps.push_back(State());
    }
    window->EscActionExecute(nullptr);
    // The old wire cut where the new one leaves it, and the two segments away from it.
    EXPECT_EQ(Live(K::Link), 4);
    ASSERT_NE(a->Pin(0)->Net(), nullptr);
    EXPECT_EQ(a->Pin(0)->Net()->Links.size(), std::size_t(4));
    // A click on the new wire moves nothing and is no step of its own.
    window->SetModeSelectActionExecute(nullptr);
    Click(220, 350);
    EXPECT_EQ(State(), steps.back());
    for (int k = 2; k >= 0; --k) {
        Undo();
        EXPECT_EQ(State(), steps[std::size_t(k)]) << "undone to the step " << k;
        EXPECT_TRUE(NoWiresOverlap(Doc()->LiveObjects())) << k;
        EXPECT_TRUE(SheetIsClean()) << k;
    }
}

TEST_F(Gesture, EscDropsTheFollowingObjectJoinedToTheWireItsPinLiesOn) {
    Device(100, 100);
    Doc()->CreateWire(400, 200, 400, 500)->Show();
    const Records before = State();
    window->SetModeDeviceActionExecute(nullptr);
    Click(110, 110);
    auto* copy = static_cast<TElement*>(window->PlacedObject);
    ASSERT_NE(copy, nullptr);
    Move(340, 310);
    ASSERT_EQ(TPoint(copy->GetOutput(0)->TipX(), copy->GetOutput(0)->TipY()), TPoint(400, 330));
    window->EscActionExecute(nullptr);
    EXPECT_EQ(window->Mode, int(mdDevice));
    EXPECT_EQ(window->PlacedObject, nullptr);
    EXPECT_EQ(Live(K::Link), 2) << "the wire is cut at the pin";
    ASSERT_NE(copy->GetOutput(0)->Net(), nullptr);
    EXPECT_EQ(copy->GetOutput(0)->Net()->Links.size(), std::size_t(2)) << "both halves reach the pin";
    EXPECT_TRUE(Undoes(before));
}

TEST_F(Gesture, TheBandSpansThePressPointAndTheMouse) {
    TElement *a = Device(100, 100), *b = Device(300, 300);
    const Records before = State();
    // Up and to the left of the press point.
    Down(400, 400), Move(350, 350);
    EXPECT_TRUE(window->BandActive && SheetIsClean()) << "a repaint draws the band again";
    Up(250, 250);
    EXPECT_EQ(std::tuple(window->BandActive, a->Selected(), b->Selected()), std::tuple(false, false, true));
    EXPECT_TRUE(SheetIsClean());
    // Back across its start.
    Drag({{200, 200}, {150, 150}, {90, 90}, {250, 260}, {50, 50}});
    EXPECT_EQ(std::tuple(window->BandRect, a->Selected(), b->Selected()), std::tuple(Rect(50, 50, 200, 200), true, false));
    // A band that holds nothing leaves nothing selected.
    Drag({{600, 500}, {650, 550}, {700, 560}});
    EXPECT_EQ(std::pair(Doc()->HasSelection(), State()), std::pair(false, before));
    EXPECT_TRUE(SheetIsClean());
    // F5 and a zoom in the middle of a band: the band keeps its press point on the scheme; the release ends it.
    Down(500, 500), Move(450, 420);
    EXPECT_TRUE(RepaintAndZoomIn());
    EXPECT_EQ(window->BandRect, Rect(675, 630, 750, 750));
    Up(250, 250);
    EXPECT_EQ(std::tuple(window->BandActive, a->Selected(), b->Selected()), std::tuple(false, false, true));
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, DragMovesTheSelectionWithItsWiresAndMergesOnlyWhenMoved) {
    TElement *a = Device(100, 100), *b = Device(300, 100);
    Doc()->CreateWire(a->Pin(0)->TipX(), a->Pin(0)->TipY(), b->Pin(1)->TipX(), b->Pin(1)->TipY())->Show();
    // Two wires that overlap on one line.
    Doc()->AddObject(new TLink(Doc(), 100, 400, 300, 400)), Doc()->AddObject(new TLink(Doc(), 200, 400, 400, 400));
    for (TEntity* o : Doc()->LiveObjects()) o->Show();
    // Released where it was pressed: nothing merges.
    Drag({{110, 110}, {110, 110}});
    EXPECT_EQ(std::pair(a->Selected(), Live(K::Link)), std::pair(true, 3));
    const Records before = State();
    Drag({{110, 110}, {130, 140}, {160, 180}});
    EXPECT_EQ(std::pair(window->GetMode(), At(a)), std::pair(mdSelect, TPoint(150, 170)));
    EXPECT_EQ(a->Pin(0)->Net(), b->Pin(1)->Net()) << "the wire follows";
    EXPECT_EQ(Live(K::Link), 2) << "moved: the overlapping wires became one";
    EXPECT_TRUE(Undoes(before));
}

TEST_F(Gesture, ADragThatWouldJoinNamedChainsIsTakenBackOnNo) {
    TLink* water = Doc()->CreateWire(100, 200, 300, 200);
    TLink* steam = Doc()->CreateWire(400, 100, 400, 300);
    water->Show(), steam->Show();
    water->Chain()->SetName("ВОДА"_a), steam->Chain()->SetName("ПАР"_a);
    Doc()->SetModified(false);
    const Records before = State();
    const int steps = Doc()->UndoList()->GroupCount();
    // The wire's right end lands on the middle of the other chain's wire; the frame answers "Нет".
    Drag({{200, 200}, {250, 200}, {300, 200}});
    EXPECT_EQ(window->GetMode(), mdSelect);
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(steam->Deleted()) << "the other chain's wire is whole again";
    EXPECT_NE(water->Net(), steam->Net());
    EXPECT_EQ(Doc()->Selection(), std::vector<TEntity*>{water});
    EXPECT_TRUE(water->Selected());
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(window->Caption(), Doc()->GetFileName()) << "no modified mark";
    EXPECT_EQ(Doc()->UndoList()->GroupCount(), steps);
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(Gesture, PasteAtThePressThenDragAndFlip) {
    Device(100, 100), Device(200, 100);
    Drag({{50, 50}, {260, 160}}), window->CopyActionExecute(nullptr);
    EXPECT_EQ(fake.pasteAvailable, std::vector<bool>{true});
    const Records before = State();
    window->PasteActionExecute(nullptr);
    EXPECT_EQ(std::pair(window->GetMode(), Doc()->HasSelection()), std::pair(mdPaste, false));
    EXPECT_EQ(State(), before) << "nothing is pasted before the press";
    Down(400, 300);
    EXPECT_EQ(std::pair(window->GetMode(), Doc()->Selection().size()), std::pair(mdDrag, std::size_t(2)));
    Up(420, 320);
    EXPECT_EQ(std::tuple(window->GetMode(), Live(K::And), Doc()->Selection()[0]->GetX()), std::tuple(mdSelect, 4, 420));
    EXPECT_TRUE(Undoes(before));
    // Flipping driver pins is one undo step.
    TDriver *d1 = Pin("X1", 100, 300), *d2 = Pin("X2", 100, 400);
    Drag({{50, 300}, {200, 450}});
    ASSERT_TRUE(window->FlipHorActionEnabled());
    const Records unflipped = State();
    window->FlipHorActionExecute(nullptr);
    EXPECT_TRUE(d1->Mirrored() && d2->Mirrored());
    EXPECT_TRUE(Undoes(unflipped));
}

TEST_F(Gesture, ADoubleClickInAPlacementPlacesOneObjectAndRightButtonsDoNothing) {
    InsertPinForm->NamePin->SetText("X1"), window->SetMode(mdPin | PlacingFlag);
    const Records before = State();
    Click(100, 100), Send(QEvent::MouseButtonDblClick, 100, 100), Release(100, 100);
    EXPECT_EQ(std::pair(Live(K::Driver), window->Mode), std::pair(1, mdPin | PlacingFlag))
        << "nothing follows the mouse";
    Move(200, 200);
    EXPECT_EQ(window->PlacedObject->GetX(), 100);
    Press(300, 300, Qt::RightButton), Release(300, 300, Qt::RightButton);
    EXPECT_EQ(std::pair(Live(K::Driver), window->Mode), std::pair(1, mdPin | PlacingFlag));
    EXPECT_TRUE(SheetIsClean());
    window->EscActionExecute(nullptr);
    EXPECT_TRUE(Undoes(before));
}

TEST_F(Gesture, ACommandEndsThePlacementOrDragFirst) {
    // An element follows the mouse when Ctrl+Z comes: dropped and attached, then undone; its release is no click in
    // the element mode.
    const Records before = State();
    InsertElementForm->ComboBox1->SetItemIndex(0), window->SetMode(mdDevice | PlacingFlag);
    Down(100, 100), Move(140, 140), Undo();
    EXPECT_EQ(std::tuple(window->Mode, window->PlacedObject), std::tuple(int(mdDevice), nullptr));
    Release(140, 140);
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(SheetIsClean());
    // A drag ended by a mode command ends as its release would.
    TElement* a = Device(100, 100);
    window->SetModeSelectActionExecute(nullptr), Down(110, 110), Move(150, 110), window->SetModeWireActionExecute(nullptr);
    EXPECT_EQ(window->Mode, int(mdWire));
    Release(150, 110);
    EXPECT_EQ(a->GetX(), 140);
    EXPECT_TRUE(SheetIsClean());
    // A wire in progress: the rubber line goes.
    Click(300, 300), Move(350, 350), window->SetModeSelectActionExecute(nullptr);
    EXPECT_TRUE(SheetIsClean());
}

} // namespace

