// Simulation in the window: the check before it starts, the input vector
// from the input check list, the highlighted state and the output list.
#include <QTest>

#include "FsmGuiTest.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/gui/FsmImages.h"
#include "fsm/gui/PaintBoxMouse.h"
#include "platform/TestUiPort.h"

using namespace fsmtest;

namespace {

class FsmSimulation : public FsmGuiTest {
protected:
    // The worked example: inputs "Пуск" (item 0) and "Стоп", output "Мотор";
    // S1 -> S2 on Пуск alone, S2 -> S1 with neither, reset on Стоп.
    TFSMChild* OpenExample(bool withInitial = true) {
        TFSMScheme doc;
        Example e = BuildExample(doc);
        if (!withInitial) {
            doc.ClearSelection();
            doc.AddToSelection(e.Initial, true);
            doc.DeleteSelected();
        }
        const AnsiString file = dir.File(withInitial ? "lift.fsm" : "broken.fsm");
        doc.SetFileName(file);
        EXPECT_TRUE(doc.SaveToFile());
        return Open(file);
    }
    static TfsmElement* State(TFSMChild* w, const char* name) {
        for (TfsmElement* s : w->FsmDocument()->States())
            if (s->GetName() == name) return s;
        return nullptr;
    }
    static void Tick(TFSMChild* w, int item, TCheckBoxState state) {
        w->inBox->SetState(item, state);
        w->inBox->OnClickCheck(w->inBox);
    }
};

TEST_F(FsmSimulation, TheHighlightAndOutputsFollowTheInputTicks) {
    TFSMChild* w = OpenExample();
    TFSMScheme* doc = w->FsmDocument();
    EXPECT_EQ(w->SimulateAction->ImageIndex(), int(fiSimulationStopped));
    w->SimulateAction->Execute();
    ASSERT_TRUE(w->Simulating());
    EXPECT_TRUE(doc->IsSimulating());
    EXPECT_EQ(w->SimulateAction->ImageIndex(), int(fiSimulationRunning));
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationRunning));
    // Nothing ticked: the initial transition leads to S1, whose value is 0.
    EXPECT_EQ(doc->GetCurrentState(), State(w, "S1"));
    EXPECT_FALSE(w->outBox->GetChecked(0));
    struct Step {
        int item;
        TCheckBoxState state;
        const char* vector; // the last item first
        const char* current;
        bool motor;
    };
    const Step steps[] = {
        {0, cbChecked, "01", "S2", true},    // Пуск alone
        {0, cbUnchecked, "00", "S1", false}, // neither
        {1, cbGrayed, "X0", "S1", false},    // Стоп unknown: no transition covers it
        {0, cbChecked, "X1", "S1", false},
        {1, cbUnchecked, "01", "S2", true},
        {1, cbChecked, "11", "S1", false},   // the reset transition comes first
    };
    for (const Step& s : steps) {
        Tick(w, s.item, s.state);
        EXPECT_EQ(w->InputVectorFromChecks(), AnsiString(s.vector));
        EXPECT_EQ(doc->GetInputVector(), AnsiString(s.vector));
        w->Timer1Timer(w->Timer1);
        TfsmElement* current = State(w, s.current);
        EXPECT_EQ(doc->GetCurrentState(), current) << s.vector;
        EXPECT_TRUE(current->IsActive()) << s.vector;
        EXPECT_EQ(w->outBox->GetChecked(0), s.motor) << s.vector;
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << s.vector;
    }
    // A click on an input's check ticks it at once (no grayed step between).
    EXPECT_FALSE(w->inBox->AllowGrayed());
    Tick(w, 1, cbUnchecked);
    Tick(w, 0, cbChecked);
    paintmouse::Click(w->inBox, 8, 6);
    EXPECT_EQ(w->InputVectorFromChecks(), "00"_a);
    paintmouse::Click(w->inBox, 8, 6);
    EXPECT_EQ(doc->GetInputVector(), "01"_a);
    // The mode commands rest while it runs.
    w->ChildActionList->UpdateActions();
    EXPECT_FALSE(w->SetModeSelectAction->Enabled());
    EXPECT_FALSE(w->SetModeDeviceAction->Enabled());
    // The timer steps by itself.
    Tick(w, 1, cbUnchecked);
    QTest::qWait(60);
    EXPECT_EQ(doc->GetCurrentState(), State(w, "S2"));
    w->SimulateAction->Execute();
    EXPECT_FALSE(w->Simulating());
    EXPECT_FALSE(doc->IsSimulating());
    EXPECT_EQ(doc->GetCurrentState(), nullptr);
    EXPECT_FALSE(State(w, "S2")->IsActive());
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationStopped));
    w->ChildActionList->UpdateActions();
    EXPECT_TRUE(w->SetModeSelectAction->Enabled());
    EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w)));
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(FsmSimulation, AFailingCheckShowsItsMessageAndLeavesTheSimulationStopped) {
    TFSMChild* w = OpenExample(false);
    w->SimulateAction->Execute();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" где первый переход?"_a});
    EXPECT_FALSE(w->Simulating());
    EXPECT_FALSE(w->FsmDocument()->IsSimulating());
    EXPECT_EQ(w->tbSimul->ImageIndex(), int(fiSimulationStopped));
    w->Timer1Timer(w->Timer1);
    EXPECT_EQ(w->FsmDocument()->GetCurrentState(), nullptr);
    EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w)));
}

TEST_F(FsmSimulation, OutputListClicksChangeNothing) {
    TFSMChild* w = OpenExample();
    TFSMScheme* doc = w->FsmDocument();
    w->SimulateAction->Execute();
    const std::string bytes = doc->SaveToBytes();
    const AnsiString outputs = doc->GetOutputVector();
    w->outBox->ToggleClickCheck(0);
    w->Timer1Timer(w->Timer1);
    EXPECT_EQ(doc->SaveToBytes(), bytes);
    EXPECT_EQ(doc->GetOutputVector(), outputs);
    EXPECT_FALSE(doc->IsModified());
    // Input ticks outside a simulation set no vector.
    w->SimulateAction->Execute();
    Tick(w, 0, cbChecked);
    EXPECT_EQ(doc->GetInputVector(), "00"_a);
}

TEST_F(FsmSimulation, OutputVectorsOfAnotherLengthNeverReadOutsideTheText) {
    TFSMChild* w = OpenExample();
    TStringList in, out;
    for (const char* n : {"y0", "y1", "y2"}) out.Add(n);
    w->FsmDocument()->SetPins(&in, &out);
    struct Case {
        const char* vector;
        std::vector<bool> checks;
    };
    const Case cases[] = {
        {"100", {false, false, true}}, {"011", {true, true, false}}, {"1", {false, false, true}},
        {"", {false, false, false}},   {"11111", {true, true, true}},
    };
    for (const Case& c : cases) {
        w->ShowOutputs(c.vector);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(w->outBox->GetChecked(i), c.checks[std::size_t(i)]) << c.vector << " " << i;
    }
}

} // namespace
