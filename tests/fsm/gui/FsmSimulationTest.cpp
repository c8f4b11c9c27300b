// Simulation in the window: the check before it starts, the input vector
// from the input check list, the highlighted state and the output list.
#include <QTest>

#include "FsmGuiTest.h"
#include "PaintBoxMouse.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/gui/FsmImages.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

class FsmSimulation : public FsmGuiTest {
protected:
    // The worked example: inputs "Пуск" (item 0) and "Стоп", output "Мотор";
    // S1 -> S2 on Пуск alone, S2 -> S1 with neither, reset on Стоп.
    void SetUp() override {
        FsmGuiTest::SetUp();
        w = Open(ExampleFile());
        d = w->FsmDocument();
    }
    TfsmElement* State(const char* name) {
        for (TfsmElement* s : d->States())
            if (s->GetName() == name) return s;
        return nullptr;
    }
    void Tick(int item, TCheckBoxState state) {
        w->inBox->SetState(item, state);
        w->inBox->OnClickCheck(w->inBox);
    }

    TFSMChild* w = nullptr;
    TFSMScheme* d = nullptr;
};

TEST_F(FsmSimulation, TheHighlightAndOutputsFollowTheInputTicks) {
    EXPECT_EQ(w->SimulateAction->ImageIndex(), int(fiSimulationStopped));
    w->SimulateAction->Execute();
    ASSERT_TRUE(w->Simulating());
    EXPECT_TRUE(d->IsSimulating());
    EXPECT_EQ(w->SimulateAction->ImageIndex(), int(fiSimulationRunning));
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationRunning));
    // Nothing ticked: the initial transition leads to S1, whose value is 0.
    EXPECT_EQ(d->GetCurrentState(), State("S1"));
    EXPECT_FALSE(w->outBox->GetChecked(0));
    // An input ticked; the vector (the last item first), the state and the output then.
    struct Step { int item; TCheckBoxState state; const char *vector, *current; bool motor; };
    const Step steps[] = {
        {0, cbChecked, "01", "S2", true},    // Пуск alone
        {0, cbUnchecked, "00", "S1", false}, // neither
        {1, cbGrayed, "X0", "S1", false},    // Стоп unknown: no transition covers it
        {0, cbChecked, "X1", "S1", false},
        {1, cbUnchecked, "01", "S2", true},
        {1, cbChecked, "11", "S1", false},   // the reset transition comes first
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.vector);
        Tick(s.item, s.state);
        EXPECT_EQ(w->InputVectorFromChecks(), AnsiString(s.vector));
        EXPECT_EQ(d->GetInputVector(), AnsiString(s.vector));
        w->Timer1Timer(w->Timer1);
        EXPECT_EQ(d->GetCurrentState(), State(s.current));
        EXPECT_TRUE(State(s.current)->IsActive());
        EXPECT_EQ(w->outBox->GetChecked(0), s.motor);
        EXPECT_TRUE(ShowsRepaint(w));
    }
    // Clicks on the output list change nothing.
    const std::string bytes = d->SaveToBytes();
    const AnsiString outputs = d->GetOutputVector();
    w->outBox->ToggleClickCheck(0);
    w->Timer1Timer(w->Timer1);
    EXPECT_EQ(d->SaveToBytes(), bytes);
    EXPECT_EQ(d->GetOutputVector(), outputs);
    EXPECT_FALSE(d->IsModified());
    // A click on an input's check ticks it at once (no grayed step between).
    EXPECT_FALSE(w->inBox->AllowGrayed());
    Tick(1, cbUnchecked);
    Tick(0, cbChecked);
    paintmouse::Click(w->inBox, 8, 6);
    EXPECT_EQ(w->InputVectorFromChecks(), "00"_a);
    paintmouse::Click(w->inBox, 8, 6);
    EXPECT_EQ(d->GetInputVector(), "01"_a);
    // The mode commands rest while it runs.
    w->ChildActionList->UpdateActions();
    EXPECT_FALSE(w->SetModeSelectAction->Enabled() || w->SetModeDeviceAction->Enabled());
    // The timer steps by itself.
    Tick(1, cbUnchecked);
    EXPECT_TRUE(testenv::WaitFor([&] { return d->GetCurrentState() == State("S2"); }));
    w->SimulateAction->Execute();
    EXPECT_FALSE(w->Simulating() || d->IsSimulating());
    EXPECT_EQ(d->GetCurrentState(), nullptr);
    EXPECT_FALSE(State("S2")->IsActive());
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationStopped));
    w->ChildActionList->UpdateActions();
    EXPECT_TRUE(w->SetModeSelectAction->Enabled());
    EXPECT_TRUE(ShowsRepaint(w));
    // Input ticks outside a simulation set no vector.
    Tick(0, cbUnchecked);
    EXPECT_EQ(d->GetInputVector(), "01"_a);
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(FsmSimulation, AFailingCheckShowsItsMessageAndLeavesTheSimulationStopped) {
    // The example without its initial transition.
    TFSMScheme doc;
    TfsmLink* initial = BuildExample(doc).Initial;
    doc.ClearSelection();
    doc.AddToSelection(initial, true);
    doc.DeleteSelected();
    w = Open(Saved(doc, "broken.fsm"));
    w->SimulateAction->Execute();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" где первый переход?"_a});
    EXPECT_FALSE(w->Simulating() || w->FsmDocument()->IsSimulating());
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationStopped));
    w->Timer1Timer(w->Timer1);
    EXPECT_EQ(w->FsmDocument()->GetCurrentState(), nullptr);
    EXPECT_TRUE(ShowsRepaint(w));
}

TEST_F(FsmSimulation, OutputVectorsOfAnotherLengthNeverReadOutsideTheText) {
    TStringList in, out;
    for (const char* n : {"y0", "y1", "y2"}) out.Add(n);
    d->SetPins(&in, &out);
    const std::pair<const char*, std::vector<bool>> cases[] = {
        {"100", {false, false, true}}, {"011", {true, true, false}}, {"1", {false, false, true}},
        {"", {false, false, false}},   {"11111", {true, true, true}},
    };
    for (const auto& [vector, checks] : cases) {
        w->ShowOutputs(vector);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(w->outBox->GetChecked(i), checks[std::size_t(i)]) << vector << " " << i;
    }
}

} // namespace
