// The properties operation of the kinds: which dialog, and the pattern of
// fill, modal show and, on OK, hide, store, show; symbol and state-machine
// actions through the frame.
#include <gtest/gtest.h>

#include "common/Printers.h"
#include "common/TestEnv.h"
#include "model/ModelTestSupport.h"
#include "platform/testing/TestUiPort.h"
#include "platform/UiPort.h"

using namespace modeltest;

namespace {

class FakeDialogs : public IPropertyDialogs {
public:
    FakeDialogs() : previous_(ModelHooks().Dialogs) { ModelHooks().Dialogs = this; }
    ~FakeDialogs() override { ModelHooks().Dialogs = previous_; }
    int Run(TPropertyDialog dialog, TEntity* entity) override {
        runs.push_back(dialog);
        shownDuringRun = entity->Visible();
        return answer;
    }
    void Store(TPropertyDialog dialog, TEntity* entity) override {
        stores.push_back(dialog);
        hiddenDuringStore = !entity->Visible();
        entity->SetName(newName);
    }
    int SymbolActionChoice() override { return choice; }

    std::vector<TPropertyDialog> runs, stores;
    int answer = mrOk;
    int choice = 0;
    AnsiString newName = "NEW";
    bool shownDuringRun = false, hiddenDuringStore = false;

private:
    IPropertyDialogs* previous_;
};

TEST(Properties, EachKindOpensItsDialog) {
    TScheme s;
    struct Row {
        TEntity* e;
        TPropertyDialog dialog;
    };
    std::vector<Row> rows = {
        {s.CreateAndElement(), TPropertyDialog::Element},
        {s.CreateOrElement(), TPropertyDialog::Element},
        {s.CreateDRSTriggerElement(), TPropertyDialog::Element},
        {s.CreateFilterElement(), TPropertyDialog::Element},
        {s.CreateXorElement(), TPropertyDialog::ElementNoPins},
        {s.CreateD8TriggerElement(), TPropertyDialog::ElementNoPins},
        {s.CreateByteCompareElement(), TPropertyDialog::ElementNoPins},
        {s.CreateD8RSCounterElement(), TPropertyDialog::ElementOutputs},
        {s.CreateCounterElement(), TPropertyDialog::ElementOutputs},
        {s.CreateReverCounterElement(), TPropertyDialog::ElementOutputs},
        {s.CreateDecoderElement(), TPropertyDialog::ElementOutputs},
        {s.CreateCommutatorElement(), TPropertyDialog::ElementOutputs},
        {s.CreatePredTimerElement(1), TPropertyDialog::PredTimer},
        {s.CreateTriggerElement(), TPropertyDialog::Trigger},
        {s.CreateDTriggerElement(), TPropertyDialog::Trigger},
        {s.CreateTimerElement(), TPropertyDialog::Timer},
        {s.CreateWire(0, 0, 10, 0), TPropertyDialog::Link},
        {s.CreateDriver(), TPropertyDialog::Driver},
        {s.CreateVarDriver(), TPropertyDialog::VarDriver},
        {s.CreateCaseElement(1), TPropertyDialog::Case},
        {s.CreateCase16Element(1), TPropertyDialog::Case},
        {s.CreateCaseMaskElement(1), TPropertyDialog::Case},
        {s.CreateCaseDiapElement(6), TPropertyDialog::Case},
        {s.CreateGotoElement(), TPropertyDialog::Goto},
    };
    // Without dialogs nothing changes.
    for (const Row& r : rows)
        EXPECT_FALSE(r.e->Properties());
    FakeDialogs dialogs;
    for (const Row& r : rows) {
        dialogs.runs.clear();
        dialogs.stores.clear();
        s.SetModified(false);
        r.e->Show();
        EXPECT_TRUE(r.e->Properties());
        ASSERT_EQ(dialogs.runs.size(), 1u);
        EXPECT_EQ(dialogs.runs[0], r.dialog);
        EXPECT_EQ(dialogs.stores, std::vector<TPropertyDialog>({r.dialog}));
        EXPECT_TRUE(dialogs.shownDuringRun);
        EXPECT_TRUE(dialogs.hiddenDuringStore);
        EXPECT_TRUE(r.e->Visible());
        EXPECT_EQ(r.e->Name(), AnsiString("NEW"));
        EXPECT_TRUE(s.IsModified());
    }
    // Cancel stores nothing; a driver pin's result 6 reports a change unstored.
    dialogs.answer = mrCancel;
    dialogs.stores.clear();
    EXPECT_FALSE(rows[0].e->Properties());
    dialogs.answer = mrYes;
    EXPECT_TRUE(rows[17].e->Properties());
    EXPECT_FALSE(rows[18].e->Properties());
    EXPECT_TRUE(dialogs.stores.empty());
}

TEST(Properties, SymbolAndStateMachineActions) {
    TScheme s;
    s.SetFileName("/work/a.tvs");
    TSymbol* sym = s.CreateSymbol();
    sym->SetFileName("/nowhere/part.tvy");
    TFSM* fsm = s.CreateFSM();
    fsm->SetFileName("lift.fsm");
    FakeDialogs dialogs;
    FakeFrame frame;
    dialogs.choice = 1;
    EXPECT_FALSE(sym->Properties());
    EXPECT_FALSE(fsm->Properties());
    EXPECT_EQ(frame.opened, std::vector<AnsiString>({"/nowhere/part.tvy", "/project/lift.fsm"}));
    EXPECT_EQ(frame.checkedInputs, 0);
    EXPECT_EQ(frame.checkedOutputs, 0);
    dialogs.choice = 2;
    EXPECT_TRUE(sym->Properties());
    EXPECT_EQ(dialogs.runs.back(), TPropertyDialog::Element);
    dialogs.choice = 0;
    frame.askAnswer = "lift.fsm"; // the same file: nothing to do
    EXPECT_FALSE(fsm->Properties());
    dialogs.answer = mrCancel;
    EXPECT_FALSE(sym->Properties());
}

TEST(Properties, EditSelectionPropertiesMarksAndAttaches) {
    TScheme s;
    TElement* a = s.CreateAndElement();
    a->SetX(100);
    a->SetY(100);
    TLink* w = s.CreateWire(0, 110, 200, 110); // runs through A's first input tip
    (void)w;
    s.SetModified(false);
    s.AddToSelection(a, true);
    FakeDialogs dialogs;
    s.EditSelectionProperties();
    EXPECT_TRUE(s.IsModified());
    // Attached again: the wire through the pin tip was cut there.
    EXPECT_NE(a->GetInput(0)->Net(), nullptr);
    dialogs.answer = mrCancel;
    s.SetModified(false);
    s.EditSelectionProperties();
    EXPECT_FALSE(s.IsModified());
}

// A symbol read again from a file that lost a connector: the wires follow
// the pins of their names, the wire of the lost one is left unconnected (off
// the pin that took its place) and the user is told.
TEST(Properties, ASymbolRefreshKeepsEachWireOnThePinOfItsName) {
    testenv::TempDir dir;
    const AnsiString file = dir.File("gate.tvy");
    auto writeSymbol = [&](std::initializer_list<const char*> connectors) {
        TScheme inner;
        int y = 0;
        for (const char* c : connectors)
            DriverAt(inner, c, 100, y += 50, true);
        ASSERT_TRUE(inner.SaveAsSymbol(file));
    };
    writeSymbol({"A", "B", "C"});
    TestUiPort ui;
    TScheme s;
    s.SetFileName(dir.File("main.tvs"));
    TSymbol* sym = s.CreateSymbol();
    sym->SetName("G1");
    sym->SetX(300);
    sym->SetY(100);
    sym->LoadSymbolFile(file);
    s.AttachElement(sym);
    ASSERT_EQ(sym->PinCount(), 3);
    std::vector<TDriver*> drivers;
    for (int i = 0; i < 3; ++i) {
        TInOut* pin = sym->Pin(i);
        drivers.push_back(DriverAt(s, "X_" + pin->Name(), pin->TipX() - 60, pin->TipY()));
        WireFrom(s, pin, pin->TipX() - 60, pin->TipY());
    }
    writeSymbol({"B", "C"});
    FakeDialogs dialogs;
    s.AddToSelection(sym, true);
    s.EditSelectionProperties();
    ASSERT_EQ(sym->PinCount(), 2);
    EXPECT_EQ(sym->Pin(0)->Name() + "=" + sym->Pin(0)->SignalName(), AnsiString("B=X_B"));
    EXPECT_EQ(sym->Pin(1)->Name() + "=" + sym->Pin(1)->SignalName(), AnsiString("C=X_C"));
    TNet* lost = drivers[0]->Terminal()->Net();
    ASSERT_NE(lost, nullptr) << "the wire stays with its driver pin";
    for (TInOut* p : lost->Pins)
        EXPECT_NE(p->Element(), sym);
    EXPECT_EQ(ui.Messages(),
              std::vector<AnsiString>{"В файле "_a + file + " больше нет сигналов A элемента G1: их провода оставлены неподключёнными."_a});
}

} // namespace
