// The check with its messages, ambiguity, and the simulator's step.

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

TEST(FsmCheck, TheExampleIsValidAndFindsItsInitialTransition) {
    TestUiPort ui;
    TFSMScheme doc;
    Example e = BuildExample(doc);
    EXPECT_TRUE(doc.Check());
    EXPECT_EQ(doc.GetInitialTransition(), e.Initial);
    EXPECT_TRUE(ui.Messages().empty());
}

// Each way a machine can fail, with the exact text of its message.
TEST(FsmCheck, EveryMessageWithItsExactBlanks) {
    struct Case {
        const char* what;
        std::function<void(TFSMScheme&, Example&)> damage;
        const char* message;
        bool highlightsS2;
    };
    const std::vector<Case> cases = {
        {"condition of the wrong length", [](TFSMScheme&, Example& e) { e.S1S2->GetCondition()->SetText("011"); },
         " неправильные условия переходов ", false},
        {"condition with a foreign character", [](TFSMScheme&, Example& e) { e.S1S2->GetCondition()->SetText("0Z"); },
         " неправильные условия переходов ", false},
        {"transition without a box (two inputs)",
         [](TFSMScheme& d, Example& e) {
             TfsmCond* c = e.S1S2->GetCondition();
             d.ClearSelection();
             d.AddToSelection(c, true);
             d.DeleteSelected();
         },
         " неправильные условия переходов ", false},
        {"transition without a target",
         [](TFSMScheme& d, Example&) { AddTransition(d, 600, 600, 700, 650, "11")->SetSource(nullptr); },
         " не все переходы подсоединены к состояниям ", false},
        {"two transitions without a source", [](TFSMScheme& d, Example& e) { AddTransition(d, 400, 30, e.S2->GetX(), e.S2->GetY(), "11"); },
         " не все переходы подсоединены к состояниям ", false},
        {"no initial transition, only the reset transition",
         [](TFSMScheme& d, Example& e) {
             d.ClearSelection();
             d.AddToSelection(e.Initial, true);
             d.DeleteSelected();
         },
         " где первый переход?", false},
        {"output value of the wrong length", [](TFSMScheme&, Example& e) { e.S2->GetCondition()->SetText("10"); },
         " неправильная длина выходного значения ", true},
        {"empty output value", [](TFSMScheme&, Example& e) { e.S2->GetCondition()->SetText(""); },
         " неправильная длина выходного значения ", true},
        {"state without an output box",
         [](TFSMScheme& d, Example& e) {
             d.ClearSelection();
             d.AddToSelection(e.S2->GetCondition(), true);
             d.DeleteSelected();
         },
         " неправильная длина выходного значения ", true},
        {"output with a foreign character", [](TFSMScheme&, Example& e) { e.S2->GetCondition()->SetText("Z"); },
         " неправильное выходное значение ", true},
        {"ambiguous outgoing conditions",
         [](TFSMScheme& d, Example& e) { Connect(d, e.S2, e.S1, "0X"); },
         " неопределенность условий переходов ", true},
    };
    for (const Case& c : cases) {
        TestUiPort ui;
        TFSMScheme doc;
        Example e = BuildExample(doc);
        c.damage(doc, e);
        ui.Clear();
        EXPECT_FALSE(doc.Check()) << c.what;
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{Utf8ToAnsi(c.message)}) << c.what;
        EXPECT_EQ(doc.GetCurrentState(), c.highlightsS2 ? e.S2 : nullptr) << c.what;
        EXPECT_EQ(e.S2->IsActive(), c.highlightsS2) << c.what;
    }
}

TEST(FsmCheck, MoreThan255StatesAreRefused) {
    TestUiPort ui;
    TFSMScheme doc;
    SetSignals(doc, {"a"}, {"y"});
    AddState(doc, 0, 0, "S", "1");
    AddTransition(doc, -100, 0, 0, 0, "1");
    for (int i = 1; i < 255; ++i) AddState(doc, 100 * i, 1000, "S", "0");
    EXPECT_TRUE(doc.Check()) << (ui.Messages().empty() ? "" : ui.Messages()[0].c_str());
    AddState(doc, 50, 3000, "S", "0");
    ui.Clear();
    EXPECT_FALSE(doc.Check());
    EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{" слишком много состояний (больше 255) "_a});
}

TEST(FsmCheck, ConditionTextIsStoredUpperCased) {
    TFSMScheme doc;
    TfsmCond* c = doc.CreateStateCondition(nullptr);
    c->SetText("1x0");
    EXPECT_EQ(c->GetText(), "1X0"_a);
    EXPECT_EQ(c->GetValueBits(), "100"_a);
    EXPECT_EQ(c->GetMaskBits(), "010"_a);
}

TEST(FsmCheck, CoversOnlyThroughThePatternsDontCares) {
    struct Case {
        const char* pattern;
        const char* vector;
        bool covers;
    } cases[] = {{"", "", true},     {"1X", "10", true},  {"1X", "11", true}, {"1X", "01", false},
                 {"10", "1X", false}, {"XX", "X1", true}, {"1", "10", false}, {"X1", "11", true}};
    for (const Case& c : cases) EXPECT_EQ(TFSMScheme::Covers(c.pattern, c.vector), c.covers) << c.pattern << " " << c.vector;
}

TEST(FsmCheck, AmbiguityIsContainmentNotOverlap) {
    struct Case {
        const char* a;
        const char* b;
        const char* reset; // null: no reset transition
        bool ambiguous;
    } cases[] = {{"1X", "11", nullptr, true},  {"1X", "X1", nullptr, false}, {"10", "10", nullptr, true},
                 {"01", "10", "X1", true},     {"00", "10", "X1", false},   {"11", "0X", "1X", true}};
    for (const Case& c : cases) {
        TFSMScheme doc;
        SetSignals(doc, {"a", "b"}, {"y"});
        TfsmElement* s = AddState(doc, 100, 100, "S", "0");
        TfsmElement* t = AddState(doc, 300, 100, "T", "1");
        TfsmElement* u = AddState(doc, 100, 300, "U", "1");
        Connect(doc, s, t, c.a);
        Connect(doc, s, u, c.b);
        if (c.reset) AddReset(doc, 100, 300, t, c.reset);
        EXPECT_EQ(doc.HasAmbiguity(s), c.ambiguous) << c.a << " " << c.b;
    }
}

TEST(FsmSimulation, StepsFollowTheInputsWithTheResetFirst) {
    TestUiPort ui;
    RecordingWindow w;
    TFSMScheme doc(&w);
    Example e = BuildExample(doc);
    ASSERT_TRUE(doc.Check());

    // No current state and an initial condition that does not cover: nothing.
    doc.SetInputVector("1");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), nullptr);

    w.Checks = "00";
    doc.StartSimulation(); // the initial transition (XX) leads to S1
    EXPECT_TRUE(doc.IsSimulating());
    EXPECT_EQ(doc.GetCurrentState(), e.S1);
    EXPECT_TRUE(e.S1->IsActive());
    EXPECT_EQ(doc.GetOutputVector(), "0"_a);
    EXPECT_EQ(w.Outputs.back(), "0"_a);

    doc.SetInputVector("01");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), e.S2);
    EXPECT_FALSE(e.S1->IsActive());
    EXPECT_EQ(w.Outputs.back(), "1"_a);

    doc.SetInputVector("00");
    doc.SimulationStep(); // S2 -> S1 on 00
    ASSERT_EQ(doc.GetCurrentState(), e.S1);

    // From S1 "11" is covered both by the reset (1X, back to S1) and by the
    // transition to S2 (now X1): the reset comes first.
    e.S1S2->GetCondition()->SetText("X1");
    doc.SetInputVector("11");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), e.S1);
    doc.SetInputVector("01");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), e.S2);

    // From S2 "01" is covered neither by its transition (00) nor by the reset: it stays.
    doc.SetInputVector("01");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), e.S2);

    doc.StopSimulation();
    EXPECT_FALSE(doc.IsSimulating());
    EXPECT_EQ(doc.GetCurrentState(), nullptr);
    EXPECT_FALSE(e.S1->IsActive());
}

// A don't-care output passes the check, and the simulator shows the state's
// output value as it is written, 'X' included.
TEST(FsmSimulation, ADontCareOutputIsValidAndShownAsWritten) {
    TestUiPort ui;
    RecordingWindow w;
    TFSMScheme doc(&w);
    Example e = BuildExample(doc);
    e.S1->GetCondition()->SetText("X");
    ASSERT_TRUE(doc.Check());
    EXPECT_TRUE(ui.Messages().empty());
    w.Checks = "00";
    doc.StartSimulation();
    ASSERT_EQ(doc.GetCurrentState(), e.S1);
    EXPECT_EQ(doc.GetOutputVector(), "X"_a);
    EXPECT_EQ(w.Outputs.back(), "X"_a);
    doc.SetInputVector("01");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetOutputVector(), "1"_a);
    doc.StopSimulation();
}

TEST(FsmSimulation, TheFirstCoveringTransitionInListOrderIsTaken) {
    RecordingWindow w;
    TFSMScheme doc(&w);
    SetSignals(doc, {"a", "b"}, {"y"});
    TfsmElement* s = AddState(doc, 100, 100, "S", "0");
    TfsmElement* t = AddState(doc, 300, 100, "T", "1");
    TfsmElement* u = AddState(doc, 100, 300, "U", "1");
    AddTransition(doc, 20, 100, 100, 100, "XX");
    Connect(doc, s, t, "0X");
    Connect(doc, s, u, "1X");
    ASSERT_TRUE(doc.Check());
    doc.SetInputVector("00");
    doc.SimulationStep();
    ASSERT_EQ(doc.GetCurrentState(), s);
    doc.SetInputVector("10");
    doc.SimulationStep();
    EXPECT_EQ(doc.GetCurrentState(), u);

    // A selected state is where a started run begins.
    doc.StopSimulation();
    doc.ClearSelection();
    doc.AddToSelection(t, true);
    w.Checks = "11";
    doc.StartSimulation();
    EXPECT_EQ(doc.GetCurrentState(), t);

    // Without a window a start does nothing.
    TFSMScheme headless;
    BuildExample(headless);
    headless.Check();
    headless.StartSimulation();
    EXPECT_FALSE(headless.IsSimulating());
}

} // namespace
