// The netlist text every element kind writes, byte for byte.
#include <gtest/gtest.h>

#include "model/ModelTestSupport.h"
#include "common/TestEnv.h"
#include "document/InitModule.h"
#include "model/Records.h"

using namespace modeltest;

namespace {

using Text = std::vector<AnsiString>;

AnsiString Pad(const char* name) {
    AnsiString s(name);
    return s + AnsiString::StringOfChar(' ', 15 - s.Length());
}
AnsiString In(const char* net, bool inverse = false) { return "%" + Pad(net) + " in " + (inverse ? "inverse" : ""); }
AnsiString Out(const char* net, bool inverse = false) { return "%" + Pad(net) + " out " + (inverse ? "inverse" : ""); }
// An unconnected pin: "inverse" stands when the pin is NOT inverted.
AnsiString NullIn(bool inverted = false) { return In("_null_in_", !inverted); }
AnsiString NullOut(bool inverted = false) { return Out("_null_out_", !inverted); }

Text Repeat(const AnsiString& line, int n) { return Text(std::size_t(n), line); }
Text Join(std::initializer_list<Text> parts) {
    Text out;
    for (const Text& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(Netlist, PinLinePaddingAndTheNullNames) {
    EXPECT_EQ(TElement::PinLine("_var1", false, false), AnsiString("%_var1           in "));
    EXPECT_EQ(TElement::PinLine("_var1", true, true), AnsiString("%_var1           out inverse"));
    // Names of 15 characters and more are not cut.
    EXPECT_EQ(TElement::PinLine("ABCDEFGHIJKLMNOP", false, false), AnsiString("%ABCDEFGHIJKLMNOP in "));
    EXPECT_EQ(NullIn(), AnsiString("%_null_in_       in inverse"));
    EXPECT_EQ(NullOut(true), AnsiString("%_null_out_      out "));
}

// Every kind standing alone: header, its null pins in pin-list order, its
// rows, and the closing empty line of every kind but and, or and commut.
TEST(Netlist, EveryKindAloneWritesItsBlock) {
    TScheme s;
    struct Case {
        TElement* element;
        Text text;
    };
    auto* andE = s.CreateAndElement();
    andE->GetInput(1)->SetInverse(true);
    auto* xorE = s.CreateXorElement();
    auto* timer = s.CreateTimerElement();
    timer->SetDelay(1000);
    auto* pred = s.CreatePredTimerElement(2);
    pred->SetDelay(150);
    auto* cdec = s.CreateCaseElement(2);
    cdec->Options.SetCount(2);
    cdec->Options.First();
    cdec->Options.SetInput(5);
    cdec->Options.SetOutput(3);
    cdec->Options.Next();
    cdec->Options.SetInput(7);
    cdec->Options.SetOutput(1);
    cdec->Options.Default = 2;
    auto* mask = s.CreateCaseMaskElement(1);
    mask->Masks.SetCount(1);
    mask->Masks.First();
    mask->Masks.SetInput(1);
    mask->Masks.SetMask(255);
    mask->Masks.SetOutput(4);
    mask->Options.SetCount(1);
    mask->Options.First();
    mask->Options.SetInput(2);
    mask->Options.SetOutput(5);
    auto* diap = s.CreateCaseDiapElement(6);
    diap->Options.SetCount(2);
    diap->Options.Rows()[0] = {10, 5};
    diap->Options.Rows()[1] = {20, 30};
    diap->Options.Default = 99; // not written for ranges
    auto* commut = s.CreateCommutatorElement();
    commut->SetPinCount(5);
    auto* go = s.CreateGotoElement();
    go->TargetScheme = "b.tvs";
    go->GotoElement = true;
    go->TargetElement = "E5";
    std::vector<Case> cases = {
        {andE, Join({{"AND and", NullOut(), NullIn(), NullIn(true)}})},
        {s.CreateOrElement(), Join({{"OR or", NullOut()}, Repeat(NullIn(), 2)})},
        {xorE, Join({{"XOR xor ", NullOut()}, Repeat(NullIn(), 2), {""}})},
        {s.CreateTriggerElement(), Join({{"RS trigger", NullIn(), NullIn(), NullOut(), NullOut(true), ""}})},
        {timer, Join({{"TIMER timer 20", NullIn(), NullIn(), NullOut(), ""}})},
        {pred, Join({{"PTIMER predtimer 3", NullIn(), NullIn(), NullOut(), NullIn(), NullIn(), ""}})},
        {s.CreateDTriggerElement(), Join({{"DT dtrigger", NullIn(), NullIn(), NullOut(), NullOut(true), ""}})},
        {s.CreateCounterElement(), Join({{"CNT cnt"}, Repeat(NullIn(), 2), Repeat(NullOut(), 4), {""}})},
        {s.CreateDecoderElement(), Join({{"DCD dcd"}, Repeat(NullIn(), 4), Repeat(NullOut(), 10), {""}})},
        {s.CreateDRSTriggerElement(), Join({{"DRS drstrigger"}, Repeat(NullIn(), 4), {NullOut(), NullOut(true), ""}})},
        {s.CreateD8TriggerElement(), Join({{"D8 d8trigger"}, Repeat(NullIn(), 10), Repeat(NullOut(), 8), {""}})},
        {s.CreateD8RSCounterElement(), Join({{"CNT8 d8rscnt"}, Repeat(NullIn(), 11), Repeat(NullOut(), 8), {""}})},
        {s.CreateByteCompareElement(), Join({{"CMP cbyte"}, Repeat(NullIn(), 16), Repeat(NullOut(), 3), {""}})},
        {s.CreateReverCounterElement(), Join({{"RCNT rcnt"}, Repeat(NullIn(), 3), Repeat(NullOut(), 4), {""}})},
        {cdec, Join({{"CASE cdec", "%%5 3", "%%7 1", "%%* 2"}, Repeat(NullIn(), 8), Repeat(NullOut(), 2), {""}})},
        {s.CreateCase16Element(3), Join({{"CASE16 cdec16", "%%* 0"}, Repeat(NullIn(), 16), Repeat(NullOut(), 3), {""}})},
        {mask, Join({{"CMASK cMask", "%%1 255 4", "%%2 5", "%%* 0"}, Repeat(NullIn(), 16), {NullOut(), ""}})},
        {diap, Join({{"CDIAP cDiap", "%%10 5", "%%20 30"}, Repeat(NullIn(), 16), Repeat(NullOut(), 6), {""}})},
        {commut, Join({{"COMMUT commut"}, Repeat(NullIn(), 5), Repeat(NullOut(), 2)})},
        {s.CreateFilterElement(), Join({{"FILTER filter"}, Repeat(NullIn(), 13), Repeat(NullOut(), 12), {""}})},
        {go, Join({{"GOTO ifgoto b.tvs E5", NullIn(), ""}})},
        {s.CreateFSM(), Join({{"FSM fsm", ""}})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Translated(c.element), c.text) << c.element->Label().c_str();
}

TEST(Netlist, ConnectedPinsCarryNetAndDriverNames) {
    SignalTable signals;
    TScheme s;
    TElement* a = AndAt(s, "A1", 100, 100);
    a->SetInputCount(3);
    a->GetInput(1)->SetInverse(true);
    a->GetOutput(0)->SetInverse(true);
    DriverAt(s, "X1", a->GetInput(0)->TipX(), a->GetInput(0)->TipY());
    TDriver* y1 = DriverAt(s, "Y1", a->GetOutput(0)->TipX() + 40, a->GetOutput(0)->TipY());
    WireFrom(s, a->GetOutput(0), y1->Terminal()->TipX(), y1->Terminal()->TipY());
    // Input 1 wired to the output of an OR element.
    auto* o = s.CreateOrElement();
    o->SetName("O1");
    o->SetX(0);
    o->SetY(200);
    WireFrom(s, o->GetOutput(0), a->GetInput(1)->TipX(), a->GetInput(1)->TipY());

    TStringList names;
    EXPECT_EQ(s.BuildNetNames(&names, 7), 8);
    EXPECT_EQ(Lines(names), Text({"_var7"})); // the nets with driver pins are not named
    EXPECT_EQ(Translated(a), Text({"A1 and", Out("Y1", true), In("X1"), In("_var7", true), NullIn()}));
    EXPECT_EQ(Translated(o), Text({"O1 or", Out("_var7"), NullIn(), NullIn()}));
    EXPECT_EQ(a->TempNames, AnsiString());
}

TEST(Netlist, TimerParameterFollowsTheMultiplicityAndIsGuardedAgainstZero) {
    TScheme s;
    auto* t = s.CreateTimerElement();
    t->SetName("T1");
    t->SetDelay(1000);
    EXPECT_EQ(Translated(t)[0], AnsiString("T1 timer 20")); // default "Кратность таймера" 50
    testenv::TempDir dir;
    {
        TInitModule module(nullptr, dir.File("graphic.ini"));
        ASSERT_EQ(InitModule, &module);
        module.TimerMultiple = 0;
        EXPECT_EQ(Translated(t)[0], AnsiString("T1 timer 1000"));
        module.TimerMultiple = 300;
        EXPECT_EQ(Translated(t)[0], AnsiString("T1 timer 3"));
    }
}

TEST(Netlist, ElementWithoutTypeReportsAndWritesNothing) {
    TScheme s;
    ErrorLog log;
    auto* e = new TElement(&s);
    e->SetName("E1");
    s.AddObject(e);
    EXPECT_TRUE(Translated(e).empty());
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_EQ(log.errors[0], "Элемент E1не имеет типа."_a);
    // A keyword makes a plain element translatable.
    auto* typed = new TElement(&s, "delay");
    typed->SetName("D1");
    s.AddObject(typed);
    EXPECT_EQ(Translated(typed), Text({"D1 delay", ""}));
}

TEST(Netlist, DriverPinsWriteTheirSignalLineOnce) {
    SignalTable signals;
    TScheme s;
    ErrorLog log;
    auto* x = s.CreateDriver();
    x->SetName("Y1");
    auto* v = s.CreateVarDriver();
    v->SetName("V1");
    auto* unknown = s.CreateDriver();
    unknown->SetName("Q9");
    auto* lower = s.CreateDriver();
    lower->SetName("y1");
    TStringList lines;
    x->Translate(&lines);
    x->Translate(&lines);
    v->Translate(&lines);
    v->Translate(&lines);
    EXPECT_EQ(Lines(lines), Text({Pad("Y1") + " OUT1 3", Pad("V1")}));
    // A name the table does not know is an internal signal; the run warns of it.
    unknown->Translate(&lines);
    EXPECT_EQ(Lines(lines), Text({Pad("Y1") + " OUT1 3", Pad("V1"), Pad("Q9")}));
    EXPECT_TRUE(log.errors.empty());
    // The other letter case is the table's signal, as the library takes it.
    TStringList lowerLines;
    lower->Translate(&lowerLines);
    EXPECT_EQ(Lines(lowerLines), Text({Pad("y1") + " OUT1 3"}));
    EXPECT_EQ(lower->GetDirection(), 1);
    EXPECT_EQ(x->GetDirection(), 1);
    EXPECT_EQ(x->GetBitNumber(), 3);
    EXPECT_EQ(x->GetComment(), AnsiString("lamp"));
    EXPECT_EQ(unknown->GetDirection(), 2);
    EXPECT_EQ(v->GetDriverName(), AnsiString("var"));
    EXPECT_EQ(v->GetComment(), AnsiString("shared"));
    auto* lowerConnector = s.CreateVarDriver();
    lowerConnector->SetName("v1");
    EXPECT_EQ(lowerConnector->GetComment(), AnsiString("shared"));
}

// An output whose net carries several signals writes a temporary signal and a
// copy block that drives every signal of the net.
TEST(Netlist, SeveralSignalsOnOneOutputMakeATemporarySignal) {
    SignalTable signals;
    TScheme s;
    TElement* a = AndAt(s, "A1", 100, 100);
    TInOut* out = a->GetOutput(0);
    DriverAt(s, "Y1", out->TipX() + 100, out->TipY());
    DriverAt(s, "V1", out->TipX() + 100, out->TipY() + 40, true);
    WireFrom(s, out, out->TipX() + 100, out->TipY());
    s.CreateWire(out->TipX() + 50, out->TipY(), out->TipX() + 50, out->TipY() + 40);
    s.CreateWire(out->TipX() + 50, out->TipY() + 40, out->TipX() + 100, out->TipY() + 40);
    TStringList names;
    EXPECT_EQ(s.BuildNetNames(&names, 0), 0);
    EXPECT_EQ(Translated(a), Text({"A1 and", Out("_varA11"), NullIn(), NullIn(), "", "_varA11 and", Out("Y1"),
                                   Out("V1"), In("_varA11")}));
    EXPECT_EQ(a->TempNames, AnsiString("_varA11;"));
    // Translating again starts the names afresh.
    Translated(a);
    EXPECT_EQ(a->TempNames, AnsiString("_varA11;"));
}

// An input driver joined to a connector: the input feeds the connector
// through a copy block of its own, which runs before every element, not
// one carried by a reader.
TEST(Netlist, AnInputSharedThroughAConnectorIsCopiedToIt) {
    SignalTable signals;
    TScheme s;
    auto* a = s.CreateOrElement();
    a->SetName("O1");
    a->SetX(200);
    a->SetY(100);
    TInOut* in = a->GetInput(0);
    DriverAt(s, "V1", in->TipX() - 100, in->TipY(), true);
    DriverAt(s, "X1", in->TipX() - 100, in->TipY() + 40);
    s.CreateWire(in->TipX() - 100, in->TipY(), in->TipX(), in->TipY());
    s.CreateWire(in->TipX() - 50, in->TipY(), in->TipX() - 50, in->TipY() + 40);
    s.CreateWire(in->TipX() - 50, in->TipY() + 40, in->TipX() - 100, in->TipY() + 40);
    TStringList names;
    s.BuildNetNames(&names, 0);
    EXPECT_EQ(Translated(a), Text({"O1 or", NullOut(), In("X1"), NullIn()}));
    EXPECT_EQ(a->TempNames, AnsiString());
    std::vector<TScheme::TLooseCopy> copies;
    s.ListLooseCopies(copies);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].source, AnsiString("X1"));
    EXPECT_EQ(copies[0].targets, std::vector<AnsiString>{"V1"});
    EXPECT_TRUE(copies[0].ofInput);
}

TEST(Netlist, GotoTargetIsResolvedForTheTranslationOnly) {
    TScheme s;
    s.SetFileName("/p/a.tvs");
    auto* go = s.CreateGotoElement();
    go->SetName("G1");
    go->TargetScheme = "b.tvs";
    go->TargetElement = "OLD"; // the flag is off: not used
    EXPECT_EQ(Translated(go)[0], AnsiString("G1 ifgoto b.tvs "));
    FakeFrame frame;
    frame.resolvedElement = "FIRST";
    EXPECT_EQ(Translated(go)[0], AnsiString("G1 ifgoto b.tvs FIRST"));
    ASSERT_EQ(frame.resolveCalls.size(), 1u);
    EXPECT_EQ(frame.resolveCalls[0], AnsiString("/p/a.tvs|b.tvs|G1|"));
    EXPECT_EQ(go->TargetElement, AnsiString("OLD"));
    go->GotoElement = true;
    EXPECT_EQ(Translated(go)[0], AnsiString("G1 ifgoto b.tvs OLD"));
}

class FakeFsm : public IFsmServices {
public:
    FakeFsm() : previous_(ModelHooks().Fsm) { ModelHooks().Fsm = this; }
    ~FakeFsm() override { ModelHooks().Fsm = previous_; }
    bool ReadPins(const AnsiString& file, TStrings* inputs, TStrings* outputs) override {
        if (file != "lift.fsm")
            return false;
        inputs->Add("up");
        inputs->Add("down");
        outputs->Add("motor");
        return true;
    }
    bool WritePins(const AnsiString& file, TStrings* inputs, TStrings* outputs) override {
        written = file + ":" + inputs->Text() + outputs->Text();
        return true;
    }
    bool AppendTransitionTable(const AnsiString& file, TStrings* lines) override {
        tableFile = file;
        lines->Add("TABLE");
        return valid;
    }
    AnsiString written, tableFile;
    bool valid = true;

private:
    IFsmServices* previous_;
};

TEST(Netlist, StateMachineElementTakesPinsAndTableThroughTheHook) {
    TScheme s;
    auto* f = s.CreateFSM();
    f->SetName("F1");
    f->LoadPinsFromFile("lift.fsm"); // no hook installed: nothing changes
    EXPECT_EQ(f->PinCount(), 0);
    FakeFsm fsm;
    f->LoadPinsFromFile("missing.fsm");
    EXPECT_EQ(f->PinCount(), 0);
    f->LoadPinsFromFile("lift.fsm");
    ASSERT_EQ(f->PinCount(), 3);
    EXPECT_EQ(f->FileName(), AnsiString("lift.fsm"));
    EXPECT_EQ(f->GetHeight(), 30);
    EXPECT_EQ(Translated(f), Text({"F1 fsm", NullIn(), NullIn(), NullOut(), "TABLE", ""}));
    FakeFrame frame;
    EXPECT_EQ(f->GetFullFileName(), AnsiString("/project/lift.fsm"));
    EXPECT_TRUE(f->SavePinsToFile("x.fsm"));
    EXPECT_EQ(fsm.written, AnsiString("x.fsm:up\r\ndown\r\nmotor\r\n"));
}

// A machine that gives no table (missing, refused or failing its check) is a
// translation error, so the run cannot count as a success.
TEST(Netlist, StateMachineWithoutTableIsReportedToTheLog) {
    struct Log : ITranslationLog {
        Log() : previous(ModelHooks().Log) { ModelHooks().Log = this; }
        ~Log() override { ModelHooks().Log = previous; }
        void Error(const AnsiString& text) override { errors.push_back(text); }
        ITranslationLog* previous;
        std::vector<AnsiString> errors;
    } log;
    TScheme s;
    auto* f = s.CreateFSM();
    f->SetName("F1");
    {
        FakeFsm fsm;
        f->LoadPinsFromFile("lift.fsm");
        fsm.valid = false;
        Translated(f);
    }
    Translated(f); // no state-machine services at all
    ASSERT_EQ(log.errors.size(), 2u);
    EXPECT_EQ(log.errors[0], "Машина состояний "_a + f->GetFullFileName() + " элемента F1 не транслирована"_a);
    EXPECT_EQ(log.errors[1], log.errors[0]);
}

} // namespace
