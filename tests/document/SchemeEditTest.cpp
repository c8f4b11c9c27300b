// Editing a scheme document: wiring and nets, numbering, selection, chains,
// undo, symbols and the walks a translation makes.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/TestEnv.h"
#include "document/UndoList.h"
#include "model/ModelTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace modeltest;

namespace {

// The pins each pin of the element reaches, as "element.pin" names.
AnsiString Reach(TElement* e) {
    AnsiString out;
    for (int i = 0; i < e->PinCount(); ++i) {
        TList l;
        TInOut::CollectNetPins(e->Pin(i), &l);
        out += IntToStr(i) + ":";
        for (int k = 0; k < l.Count(); ++k) {
            auto* p = static_cast<TInOut*>(l[k]);
            out += p->Element()->Name() + "." + IntToStr(p->Element()->PinIndex(p)) + ",";
        }
        out += " ";
    }
    return out;
}

TEST(SchemeEdit, CheckNumbersAnswers) {
    struct Case {
        std::vector<int> numbers;
        int expected;
    };
    std::vector<Case> cases = {
        {{}, 0},        {{1}, 0},          {{2, 1, 3}, 0},  {{1, 0, 2}, 3}, {{1, 1, 0}, 3},
        {{1, 1, 2}, 2}, {{1, 3, 3}, 2},    {{1, 3}, 1},     {{2, 5, 1}, 1}, {{-1, 2}, 1},
        {{4, 4, 3, 1}, 2},
    };
    for (const Case& c : cases) {
        TScheme s;
        for (int n : c.numbers)
            AndAt(s, "A", 0, 0, n);
        s.CreateWire(0, 0, 10, 0); // wires and driver pins are not counted
        s.CreateDriver()->AssignNumber(0);
        EXPECT_EQ(s.CheckNumbers(0), c.expected) << c.numbers.size();
        EXPECT_EQ(s.CountDevices(), int(c.numbers.size()));
    }
    // Deleted devices are not counted.
    TScheme s;
    AndAt(s, "A", 0, 0, 1);
    TElement* b = AndAt(s, "B", 0, 100, 1);
    EXPECT_EQ(s.CheckNumbers(0), 2);
    s.AddToSelection(b, true);
    s.DeleteSelected();
    EXPECT_EQ(s.CheckNumbers(0), 0);
    EXPECT_EQ(s.FindDeviceByNumber(1)->Name(), AnsiString("A"));
    EXPECT_EQ(s.FindDeviceByNumber(7), nullptr);
}

TEST(SchemeEdit, NextByNumberGivesEveryDeviceOnceTiesInStorageOrder) {
    TScheme s;
    AndAt(s, "c", 0, 0, 3);
    AndAt(s, "a1", 0, 0, 1);
    AndAt(s, "b", 0, 0, 2);
    AndAt(s, "a2", 0, 0, 1);
    AndAt(s, "z", 0, 0, 0);
    s.CreateDriver()->AssignNumber(1);
    AnsiString order;
    for (TElement* e = s.NextByNumber(true); e; e = s.NextByNumber(false))
        order += e->Name() + " ";
    EXPECT_EQ(order, AnsiString("z a1 a2 b c "));
    EXPECT_EQ(s.NextByNumber(false), nullptr);
    EXPECT_EQ(s.NextByNumber(true)->Name(), AnsiString("z"));
    // Storage order and the device walk.
    AnsiString stored;
    for (TElement* e = s.FirstDevice(); e; e = s.NextDevice())
        stored += e->Name() + " ";
    EXPECT_EQ(stored, AnsiString("c a1 b a2 z "));
}

TEST(SchemeEdit, CheckNamesRenumbersOrReportsTheClash) {
    TestUiPort ui;
    TScheme s;
    s.SetFileName("/p/m.tvs");
    AndAt(s, "D2", 0, 0, 0);
    AndAt(s, "D1", 0, 0, 5);
    AndAt(s, "B", 0, 0, 0);
    ASSERT_TRUE(s.CheckNames());
    AnsiString order;
    for (TElement* e = s.NextByNumber(true); e; e = s.NextByNumber(false))
        order += e->Name() + IntToStr(e->Number()) + " ";
    EXPECT_EQ(order, AnsiString("B1 D12 D23 "));
    AndAt(s, "d1", 0, 0, 9);
    EXPECT_FALSE(s.CheckNames());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0], " В схеме /p/m.tvs обнаружено более одного элемента с именем d1 и номером 9"_a);
    EXPECT_EQ(s.FindDeviceByNumber(9)->Name(), AnsiString("d1")); // nothing renumbered
}

TEST(SchemeEdit, SetElementNumberWarnsAboutSharedNumbers) {
    TestUiPort ui;
    TScheme s;
    TElement* a = AndAt(s, "A", 0, 0, 1);
    TElement* b = AndAt(s, "B", 0, 0, 2);
    TElement* c = AndAt(s, "C", 0, 0, 0);
    s.StartOrdering();
    EXPECT_NE(c->CustomColor(), clNone);
    EXPECT_TRUE(s.SetElementNumber(3, c));
    EXPECT_EQ(c->Number(), 3);
    EXPECT_EQ(c->CustomColor(), clNone);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(s.SetElementNumber(1, b));
    EXPECT_EQ(b->Number(), 1);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0], "Теперь в схеме существует несколько элементов с номером 1"_a);
    EXPECT_TRUE(s.SetElementNumber(1, c)); // two others carry 1 already
    EXPECT_EQ(c->Number(), 3);
    EXPECT_EQ(ui.Messages().back(), "В схеме существует несколько элементов с номером 1"_a);
    EXPECT_FALSE(s.SetElementNumber(1, nullptr));
    (void)a;
}

TEST(SchemeEdit, SetNumberRefusesATakenNumberOnlyInASchemeWindow) {
    TestUiPort ui;
    TScheme headless;
    TElement* a = AndAt(headless, "A", 0, 0, 1);
    TElement* b = AndAt(headless, "B", 0, 0, 2);
    b->SetNumber(1);
    EXPECT_EQ(b->Number(), 1);
    struct Window : IEntityOwner {
        TCanvas* GetCanvas() override { return nullptr; }
    } window;
    TScheme s(&window);
    a = AndAt(s, "A", 0, 0, 1);
    b = AndAt(s, "B", 0, 0, 2);
    b->SetNumber(1);
    EXPECT_EQ(b->Number(), 2);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0], "Елемент с номером 1 уже существует"_a);
    a->SetNumber(1); // its own number
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(SchemeEdit, WiresJoinAtEndsAndSplitAtTJunctions) {
    TScheme s;
    TElement* a = AndAt(s, "A", 100, 100);
    TElement* b = AndAt(s, "B", 300, 100);
    TElement* c = AndAt(s, "C", 300, 200);
    EXPECT_EQ(s.CreateWire(5, 5, 5, 5), nullptr);
    TInOut* out = a->GetOutput(0);
    s.CreateWire(out->TipX(), out->TipY(), b->GetInput(0)->TipX(), b->GetInput(0)->TipY());
    EXPECT_EQ(Reach(a), AnsiString("0:B.1, 1: 2: "));
    // A wire that ends on the middle of the first splits it.
    s.CreateWire(200, out->TipY(), 200, c->GetInput(1)->TipY());
    s.CreateWire(200, c->GetInput(1)->TipY(), c->GetInput(1)->TipX(), c->GetInput(1)->TipY());
    EXPECT_EQ(Reach(a), AnsiString("0:B.1,C.2, 1: 2: "));
    EXPECT_EQ(s.Junctions().size(), 1u);
    // A wire laid over a pin tip is cut there and joins it.
    s.CreateWire(c->GetInput(0)->TipX() - 50, c->GetInput(0)->TipY(), c->GetInput(0)->TipX() + 5,
                 c->GetInput(0)->TipY());
    TList l;
    TInOut::CollectNetPins(c->GetInput(0), &l);
    EXPECT_EQ(l.Count(), 0); // only wires there: no other pin
    EXPECT_NE(c->GetInput(0)->Net(), nullptr);
    EXPECT_FALSE(c->GetInput(0)->Connected());
    EXPECT_EQ(c->GetInput(0)->SignalName(), AnsiString("_null_in_"));
    // Crossing wires without a common point stay apart.
    s.CreateWire(250, 50, 250, 300);
    EXPECT_EQ(Reach(a), AnsiString("0:B.1,C.2, 1: 2: "));
    // Pins that touch are joined without a wire.
    TElement* d = AndAt(s, "D", 500, 100);
    d->SetX(c->GetOutput(0)->TipX() + 10);
    d->SetY(c->GetY());
    s.AttachElement(d);
    EXPECT_EQ(Reach(c).SubString(1, 6), AnsiString("0:D.1,"));
}

TEST(SchemeEdit, BuildNetNamesContinuesTheCounterAndSkipsDriverNets) {
    SignalTable signals;
    TScheme s;
    TElement* a = AndAt(s, "A", 100, 100);
    TElement* b = AndAt(s, "B", 300, 100);
    WireFrom(s, a->GetOutput(0), b->GetInput(0)->TipX(), b->GetInput(0)->TipY());
    WireFrom(s, b->GetOutput(0), 450, 110);
    DriverAt(s, "Y1", 450, 110);
    DriverAt(s, "V1", a->GetInput(0)->TipX(), a->GetInput(0)->TipY(), true);
    // A dangling wire is no net of pins: not named.
    WireFrom(s, a->GetInput(1), 50, 300);
    // Two pins that touch directly form a net.
    TElement* c = AndAt(s, "C", 0, 0);
    c->SetX(b->GetInput(1)->TipX() - 50);
    c->SetY(b->GetY() + 10); // C's output on B's second input
    s.AttachElement(c);
    TStringList list;
    list.Add("keep");
    EXPECT_EQ(s.BuildNetNames(&list, 41), 43);
    EXPECT_EQ(Lines(list), std::vector<AnsiString>({"keep", "_var41", "_var42"}));
    EXPECT_EQ(a->GetOutput(0)->SignalName(), AnsiString("_var41"));
    EXPECT_EQ(b->GetInput(1)->SignalName(), AnsiString("_var42"));
    EXPECT_EQ(b->GetOutput(0)->SignalName(), AnsiString("Y1"));
    EXPECT_EQ(a->GetInput(0)->SignalName(), AnsiString("V1"));
    EXPECT_EQ(a->GetInput(1)->SignalName(), AnsiString("_null_in_"));
    TStringList users;
    s.ListSignalUsers(&users, "Y1");
    EXPECT_EQ(Lines(users), std::vector<AnsiString>({"B=Out"}));
    uint8_t cls = 9;
    TVarDriver* v = s.NextVarDriver(cls, true);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(cls, 0);
    EXPECT_EQ(s.NextVarDriver(cls, false), nullptr);
}

TEST(SchemeEdit, JoiningTwoNamedChainsAsksTheUser) {
    TScheme s;
    TLink* w1 = s.CreateWire(0, 0, 100, 0);
    TLink* w2 = s.CreateWire(200, 0, 300, 0);
    w1->Chain()->SetName("ВОДА"_a);
    w2->Chain()->SetName("ПАР"_a);
    {
        FakeFrame frame;
        frame.joinAnswer = false;
        int objects = int(s.LiveObjects().size());
        EXPECT_EQ(s.CreateWire(100, 0, 200, 0), nullptr);
        EXPECT_EQ(frame.joinQuestions, std::vector<AnsiString>({"ВОДА+ПАР"_a}));
        EXPECT_EQ(int(s.LiveObjects().size()), objects);
        EXPECT_NE(w1->Net(), w2->Net());
        // A generated name meeting a given one takes it without a question.
        TLink* w3 = s.CreateWire(300, 0, 300, 100);
        EXPECT_EQ(w3->ChainName(), "ПАР"_a);
        TLink* w4 = s.CreateWire(0, 100, 0, 200);
        AnsiString generated = w4->ChainName();
        EXPECT_EQ(generated.Pos("_chain"), 1);
        s.CreateWire(0, 0, 0, 100);
        EXPECT_EQ(w4->ChainName(), "ВОДА"_a);
        EXPECT_EQ(frame.joinQuestions.size(), 1u);
    }
    FakeFrame frame;
    frame.joinName = "СМЕСЬ"_a;
    ASSERT_NE(s.CreateWire(100, 0, 200, 0), nullptr);
    EXPECT_EQ(w1->Net(), w2->Net());
    EXPECT_EQ(w1->ChainName(), "СМЕСЬ"_a);
    EXPECT_EQ(w2->ChainName(), "СМЕСЬ"_a);
    EXPECT_EQ(w1->ChainNumber(), 0);
    // Undo gives each wire its chain back.
    s.UndoList()->Undo();
    EXPECT_EQ(w1->ChainName(), "ВОДА"_a);
    EXPECT_EQ(w2->ChainName(), "ПАР"_a);
    EXPECT_NE(w1->Net(), w2->Net());
    // Without a frame to ask, named chains are not joined.
    ModelHooks().Frame = nullptr;
    EXPECT_EQ(s.CreateWire(100, 0, 200, 0), nullptr);
    ModelHooks().Frame = &frame;
}

// Two chains named by the user: ВОДА along y 0 from 0 to 300, ПАР down x 200
// from -100 to 100 and on along y 100 to 400. They cross at (200, 0) without
// a common point. A device A stands apart.
struct NamedChains {
    TScheme s;
    TLink* water;
    TLink* steam;
    TLink* steamFoot;
    TElement* a;
    NamedChains() {
        water = s.CreateWire(0, 0, 300, 0);
        steam = s.CreateWire(200, -100, 200, 100);
        steamFoot = s.CreateWire(200, 100, 400, 100);
        water->Chain()->SetName("ВОДА"_a);
        steam->Chain()->SetName("ПАР"_a);
        a = AndAt(s, "A", 500, 300);
    }
    // The user-given chain names of each net that has wires.
    std::vector<std::vector<AnsiString>> NamesByNet() const {
        std::vector<std::vector<AnsiString>> out;
        for (const TNet& net : s.Nets()) {
            std::vector<AnsiString> names;
            for (TLink* l : net.Links)
                if (l->ChainNumber() == 0 && std::find(names.begin(), names.end(), l->ChainName()) == names.end())
                    names.push_back(l->ChainName());
            if (!names.empty())
                out.push_back(names);
        }
        return out;
    }
};

TEST(SchemeEdit, EveryGestureThatWouldJoinNamedChainsLeavesThemApartOnNo) {
    struct Case {
        const char* gesture;
        std::function<void(NamedChains&)> prepare; // the state the gesture starts from
        std::function<void(NamedChains&)> act;
    };
    auto selectA = [](NamedChains& n) { n.s.AddToSelection(n.a, true); };
    // A drag as the window makes it: one step from the press, the document
    // marked modified while it moves, connected and merged at the release.
    auto drag = [](NamedChains& n, int dx, int dy) {
        n.s.UndoList()->BeginGroup();
        n.s.CommitSelection();
        n.s.SetModified(true);
        n.s.MoveSelection(dx, dy);
        n.s.RemoveZeroLengthLinks();
        n.s.ConnectSelection();
        n.s.MergeOverlappingWires();
    };
    const std::vector<Case> cases = {
        {"drawing a wire from one chain's end to the other's", selectA,
         [](NamedChains& n) { n.s.CreateWire(300, 0, 400, 100); }},
        {"dragging a wire so that its end lands on the other chain's wire",
         [](NamedChains& n) { n.s.AddToSelection(n.water, true); },
         [&](NamedChains& n) { drag(n, -100, 50); }},
        {"dragging a device so that its pin lands where the chains cross", selectA,
         [&](NamedChains& n) {
             TInOut* out = n.a->GetOutput(0);
             drag(n, 200 - out->TipX(), 0 - out->TipY());
         }},
        {"placing a connector where the chains cross", selectA,
         [](NamedChains& n) { DriverAt(n.s, "K", 200, 0, true); }},
        {"merging wires that overlap",
         [](NamedChains& n) {
             n.water->SetEnds(250, 100, 500, 100);
             n.s.RebuildNets();
         },
         [](NamedChains& n) {
             n.s.UndoList()->BeginGroup();
             n.s.MergeOverlappingWires();
         }},
        {"uniting the chains after a wire was moved onto the other's end",
         [](NamedChains& n) { n.s.AddToSelection(n.steam, true); },
         [](NamedChains& n) {
             n.s.UndoList()->BeginGroup();
             n.water->CommitPosition(n.s.UndoList());
             n.water->SetEnds(0, 0, 200, 100);
             n.s.RebuildNets();
             n.s.MergeChainsOfPins(n.water);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gesture);
        {
            NamedChains n;
            c.prepare(n);
            n.s.SetModified(false);
            const std::string bytes = n.s.SaveToBytes();
            const std::vector<TEntity*> selection = n.s.Selection();
            std::vector<bool> selected;
            for (TEntity* o : n.s.LiveObjects())
                selected.push_back(o->Selected());
            const int steps = n.s.UndoList()->GroupCount();
            FakeFrame frame;
            frame.joinAnswer = false;
            c.act(n);
            EXPECT_EQ(frame.joinQuestions.size(), 1u);
            for (const auto& names : n.NamesByNet())
                EXPECT_EQ(names.size(), 1u) << names[0].c_str();
            EXPECT_EQ(n.NamesByNet().size(), 2u);
            EXPECT_TRUE(n.s.SaveToBytes() == bytes) << "the drawing is as it was";
            EXPECT_EQ(n.s.Selection(), selection);
            std::vector<bool> selectedAfter;
            for (TEntity* o : n.s.LiveObjects())
                selectedAfter.push_back(o->Selected());
            EXPECT_EQ(selectedAfter, selected);
            EXPECT_FALSE(n.s.IsModified());
            EXPECT_EQ(n.s.UndoList()->GroupCount(), steps);
        }
        // "Да" joins them under the name given.
        NamedChains n;
        c.prepare(n);
        FakeFrame frame;
        frame.joinName = "СМЕСЬ"_a;
        c.act(n);
        EXPECT_EQ(n.NamesByNet(), std::vector<std::vector<AnsiString>>({{"СМЕСЬ"_a}}));
        EXPECT_TRUE(n.s.IsModified());
    }
}

TEST(SchemeEdit, ChainQueriesAndColours) {
    SignalTable signals;
    TScheme s;
    TElement* a = AndAt(s, "A", 100, 100);
    WireFrom(s, a->GetOutput(0), 300, 110);
    DriverAt(s, "K1", 300, 110, true);
    DriverAt(s, "Y1", a->GetOutput(0)->TipX(), a->GetOutput(0)->TipY());
    TLink* w = WireFrom(s, a->GetInput(0), 0, 110);
    DriverAt(s, "K2", 0, 110, true);
    TChain* out = a->GetOutput(0)->Net()->Chains[0];
    out->SetName("OUT"_a);
    TStringList names;
    s.ListChainNames(&names);
    EXPECT_EQ(names.Count(), 2);
    TStringList elements, outputs;
    s.ListChainMembers(&elements, &outputs, "OUT");
    EXPECT_EQ(Lines(elements), std::vector<AnsiString>({"A=and"}));
    EXPECT_EQ(Lines(outputs), std::vector<AnsiString>({"K1=var", "Y1=OUT1"}));
    TStringList connectors;
    s.ChainTouchesConnections(&connectors, "OUT");
    EXPECT_EQ(Lines(connectors), std::vector<AnsiString>({"K1"}));
    TStringList wanted, chains;
    wanted.Add("K2");
    EXPECT_TRUE(s.MarkChainsOfConnections(&wanted, true, &chains));
    EXPECT_EQ(Lines(chains), std::vector<AnsiString>({w->ChainName()}));
    EXPECT_EQ(w->CustomColor(), TColor(16776960));
    TStringList none;
    none.Add("K9");
    EXPECT_FALSE(s.MarkChainsOfConnections(&none, false, nullptr));
    s.HighlightChain("OUT", false);
    EXPECT_EQ(out->Links[0]->CustomColor(), TColor(16776960));
    s.HighlightChain("OUT", true);
    EXPECT_EQ(out->Links[0]->CustomColor(), clNone);
}

TEST(SchemeEdit, SelectionHitTestsAndExtent) {
    TScheme s;
    TElement* a = AndAt(s, "A", 100, 100);
    TLink* w = s.CreateWire(300, 300, 400, 300);
    TDriver* d = s.CreateDriver();
    d->SetX(500);
    d->SetY(100);
    EXPECT_EQ(s.HitTest(120, 110), 2);
    s.SelectAt(120, 110, true);
    EXPECT_EQ(s.HitTest(120, 110), 1);
    EXPECT_EQ(s.HitTest(700, 700), 0);
    EXPECT_EQ(s.DeviceAt(120, 110), a);
    EXPECT_EQ(s.DeviceAt(350, 300), nullptr);
    EXPECT_TRUE(s.SelectionHasEditable());
    EXPECT_FALSE(s.SelectionHasDriver());
    s.SelectInRect(Rect(290, 290, 600, 310), true);
    ASSERT_EQ(s.Selection().size(), 1u);
    EXPECT_EQ(s.Selection()[0], w);
    EXPECT_FALSE(s.SelectionHasEditable());
    s.AddToSelection(d, true);
    EXPECT_TRUE(s.SelectionHasDriver());
    TRect bounds;
    s.GetSelectionBounds(bounds);
    EXPECT_EQ(bounds, Rect(300, 100, 520, 320));
    s.FlipSelection();
    EXPECT_TRUE(d->Mirrored());
    EXPECT_EQ(d->Terminal()->OffsetX(), -10);
    int maxX, maxY;
    s.GetExtent(maxX, maxY);
    EXPECT_EQ(maxX, 560);
    EXPECT_EQ(maxY, 300);
    s.ClearSelection();
    EXPECT_FALSE(s.HasSelection());
    EXPECT_FALSE(d->Selected());
    d->SetName("X1");
    s.FindAndSelectDriver("X1");
    EXPECT_EQ(s.Selection(), std::vector<TEntity*>({d}));
    s.FindAndSelectDevice("nobody");
    EXPECT_EQ(s.Selection(), std::vector<TEntity*>({d}));
    s.SelectDeviceByName("A");
    EXPECT_EQ(s.Selection(), std::vector<TEntity*>({a}));
    TStringList devs;
    EXPECT_TRUE(s.ListDeviceNames(&devs));
    EXPECT_EQ(Lines(devs), std::vector<AnsiString>({"A"}));
    EXPECT_TRUE(s.HasDriverNamed("X1"));
    EXPECT_FALSE(s.HasDriverNamed("x1"));
    s.SetScale(10);
    EXPECT_EQ(s.Zoom(), 100);
    s.SetScale(400);
    EXPECT_EQ(s.Scale(30), 120);
}

TEST(SchemeEdit, DebugSignalsOfTheSelection) {
    SignalTable signals;
    TScheme s;
    TDriver* y = s.CreateDriver();
    y->SetName("Y1");
    y->SetY(300);
    TDriver* x = s.CreateDriver();
    x->SetName("X1");
    x->SetY(100);
    TVarDriver* v = s.CreateVarDriver();
    v->SetName("V1");
    v->SetY(200);
    s.AddToSelection(y, true);
    s.AddToSelection(v, true);
    s.AddToSelection(x, true);
    TStringList in, out;
    s.CollectDebugSignals(&in, &out); // no frame: the connector is left out
    EXPECT_EQ(Lines(in), std::vector<AnsiString>({"X1"}));
    EXPECT_EQ(Lines(out), std::vector<AnsiString>({"Y1"}));
    FakeFrame frame;
    frame.signalDirection = 1;
    TStringList in2, out2;
    s.CollectDebugSignalsByY(&in2, &out2);
    EXPECT_EQ(Lines(out2), std::vector<AnsiString>({"V1", "Y1"}));
    EXPECT_EQ(frame.asked, std::vector<AnsiString>({"V1"}));
    TStringList drivers;
    drivers.Add("old");
    s.ListSelectedDriverNames(&drivers);
    EXPECT_EQ(Lines(drivers), std::vector<AnsiString>({"Y1", "X1"}));
    EXPECT_EQ(s.GetHintAt(x->GetX() + 5, x->GetY() + 5), AnsiString("X1 IN1 0 first input"));
    EXPECT_EQ(s.GetHintAt(1000, 1000), AnsiString());
}

TEST(SchemeEdit, AutoNameDevicesInNumberOrder) {
    TScheme s;
    s.SetFileName("/x/pump.tvs");
    AndAt(s, "q", 0, 0, 2);
    AndAt(s, "r", 0, 0, 1);
    s.AutoNameDevices("");
    EXPECT_EQ(s.FindDeviceByNumber(1)->Name(), AnsiString("pump1"));
    EXPECT_EQ(s.FindDeviceByNumber(2)->Name(), AnsiString("pump2"));
    s.AutoNameDevices("K");
    EXPECT_EQ(s.FindDeviceByNumber(2)->Name(), AnsiString("K2"));
}

// ---- undo -------------------------------------------------------------------------------

struct Wired {
    TScheme s;
    TElement *a, *b, *c;
    Wired() {
        a = AndAt(s, "A", 100, 100, 1);
        b = AndAt(s, "B", 300, 100, 2);
        c = AndAt(s, "C", 300, 200, 3);
        TInOut* out = a->GetOutput(0);
        s.CreateWire(out->TipX(), out->TipY(), b->GetInput(0)->TipX(), b->GetInput(0)->TipY());
        s.CreateWire(200, out->TipY(), 200, c->GetInput(0)->TipY());
        s.CreateWire(200, c->GetInput(0)->TipY(), c->GetInput(0)->TipX(), c->GetInput(0)->TipY());
    }
    AnsiString State() { return Reach(a) + "|" + Reach(b) + "|" + Reach(c); }
};

TEST(SchemeUndo, DraggedGroupComesBackWithItsNets) {
    Wired w;
    std::string before = w.s.SaveToBytes();
    AnsiString nets = w.State();
    ASSERT_EQ(nets, AnsiString("0:B.1,C.1, 1: 2: |0: 1:A.0,C.1, 2: |0: 1:A.0,B.1, 2: "));
    // Drag B down onto C's level: its input wire stretches with it.
    w.s.SelectAt(320, 110, true);
    ASSERT_EQ(w.s.Selection(), std::vector<TEntity*>({w.b}));
    w.s.UndoList()->BeginGroup();
    w.s.CommitSelection();
    w.s.MoveSelection(100, 0);
    w.s.MoveSelection(0, 200);
    w.s.RemoveZeroLengthLinks();
    w.s.ConnectSelection();
    w.s.MergeOverlappingWires();
    EXPECT_EQ(w.b->GetX(), 400);
    EXPECT_EQ(w.b->GetY(), 300);
    EXPECT_EQ(w.State(), nets); // the wire followed B
    ASSERT_TRUE(w.s.UndoList()->Undo());
    EXPECT_EQ(w.b->GetX(), 300);
    EXPECT_EQ(w.s.SaveToBytes(), before);
    EXPECT_EQ(w.State(), nets);
    EXPECT_TRUE(w.s.IsModified());
}

TEST(SchemeUndo, DeleteAndInsertAreReversed) {
    Wired w;
    std::string before = w.s.SaveToBytes();
    AnsiString nets = w.State();
    // Delete the vertical wire: C falls off the net.
    w.s.SelectAt(200, 150, true);
    ASSERT_EQ(w.s.Selection().size(), 1u);
    w.s.DeleteSelected();
    EXPECT_EQ(Reach(w.c), AnsiString("0: 1: 2: "));
    EXPECT_EQ(w.s.Junctions().size(), 0u);
    // Delete A too, in a second step.
    w.s.AddToSelection(w.a, true);
    w.s.DeleteSelected();
    EXPECT_EQ(w.s.CountDevices(), 2);
    EXPECT_EQ(Reach(w.b), AnsiString("0: 1: 2: "));
    ASSERT_TRUE(w.s.UndoList()->Undo());
    EXPECT_EQ(w.s.CountDevices(), 3);
    EXPECT_EQ(Reach(w.b), AnsiString("0: 1:A.0, 2: "));
    ASSERT_TRUE(w.s.UndoList()->Undo());
    EXPECT_EQ(w.State(), nets);
    EXPECT_EQ(w.s.Junctions().size(), 1u);
    EXPECT_EQ(w.s.SaveToBytes(), before);
    // An insertion that joined a net is taken back with its join.
    TElement* d = AndAt(w.s, "D", 0, 0);
    d->SetX(w.b->GetOutput(0)->TipX() + 10);
    d->SetY(w.b->GetY());
    w.s.AttachElement(d);
    EXPECT_EQ(Reach(w.b).SubString(1, 6), AnsiString("0:D.1,"));
    // The factory and the window's positioning are one step each here: undo
    // the factory's step takes the element away.
    ASSERT_TRUE(w.s.UndoList()->Undo());
    EXPECT_TRUE(d->Deleted());
    EXPECT_EQ(w.State(), nets);
    EXPECT_EQ(w.s.SaveToBytes(), before);
    while (w.s.UndoList()->Undo()) {
    }
    EXPECT_EQ(w.s.FirstElement(), nullptr);
    EXPECT_FALSE(w.s.UndoList()->Undo());
}

TEST(SchemeUndo, AFlipIsOneStep) {
    TScheme s;
    TDriver* a = s.CreateDriver();
    TDriver* b = s.CreateDriver();
    b->SetY(100);
    const std::string before = s.SaveToBytes();
    s.AddToSelection(a, true);
    s.AddToSelection(b, true);
    s.FlipSelection();
    ASSERT_TRUE(a->Mirrored() && b->Mirrored());
    EXPECT_EQ(a->Terminal()->OffsetX(), -10);
    const int steps = s.UndoList()->GroupCount();
    ASSERT_TRUE(s.UndoList()->Undo());
    EXPECT_EQ(s.UndoList()->GroupCount(), steps - 1);
    EXPECT_FALSE(a->Mirrored());
    EXPECT_FALSE(b->Mirrored());
    EXPECT_EQ(a->Terminal()->OffsetX(), TDriver::kWidth + 10);
    EXPECT_EQ(s.SaveToBytes(), before);
}

TEST(SchemeUndo, ADroppedSelectionSplitsTheWiresItsPinsLandOn) {
    // An element dragged so that its three pins land inside a horizontal, a
    // vertical and a slanted wire, and a dragged wire that passes over a pin
    // and another wire's end: every wire is cut there, and undo restores all.
    TScheme s;
    TElement* a = AndAt(s, "A", 0, 0); // pins: output (50, 10), inputs (-10, 10), (-10, 20)
    a->SetInputCount(2);
    // After the move the output is at (350, 410), the inputs at (290, 410) and (290, 420).
    s.CreateWire(330, 410, 370, 410);  // horizontal through the output's place
    s.CreateWire(280, 400, 300, 420);  // slanted through input 1
    s.CreateWire(290, 415, 290, 500);  // vertical through input 2
    // The wire lands on y 400 from 800 to 1000, over B's output (900, 400)
    // and the end of a wire at (950, 400).
    AndAt(s, "B", 850, 390);
    TLink* dragged = s.CreateWire(500, 0, 700, 0);
    s.CreateWire(950, 350, 950, 400);
    const std::string before = s.SaveToBytes();
    s.AddToSelection(a, true);
    s.AddToSelection(dragged, true);
    s.UndoList()->BeginGroup();
    s.CommitSelection();
    s.MoveSelection(300, 400);
    s.ConnectSelection();
    auto linksWithEnd = [&](int x, int y) {
        int n = 0;
        for (TEntity* o : s.LiveObjects())
            if (o->IsLink() && static_cast<TLink*>(o)->HasEnd(x, y)) ++n;
        return n;
    };
    EXPECT_EQ(linksWithEnd(350, 410), 2) << "the horizontal wire is cut at the output";
    EXPECT_EQ(linksWithEnd(290, 410), 2) << "the slanted wire at input 1";
    EXPECT_EQ(linksWithEnd(290, 420), 2) << "the vertical wire at input 2";
    EXPECT_EQ(a->GetOutput(0)->Net(), a->Pin(0)->Net());
    ASSERT_NE(a->Pin(0)->Net(), nullptr);
    EXPECT_EQ(a->Pin(0)->Net()->Links.size(), 2u);
    EXPECT_EQ(linksWithEnd(900, 400), 2) << "the dragged wire is cut at B's output";
    EXPECT_EQ(linksWithEnd(950, 400), 3) << "and at the other wire's end";
    ASSERT_TRUE(s.UndoList()->Undo());
    EXPECT_EQ(s.SaveToBytes(), before);
}

// ---- symbols -------------------------------------------------------------------------------

TEST(SchemeSymbols, ExpansionIsTransientAndPrefixesInnerDevices) {
    SignalTable signals;
    testenv::TempDir dir;
    AnsiString symbolFile = dir.File("gate.tvy");
    {
        // Inside: connectors IN_A -> AND input 0, AND output -> OUT_B, and a
        // real driver pin X2 on input 1.
        TScheme inner;
        TElement* g = AndAt(inner, "G", 100, 100, 1);
        DriverAt(inner, "IN_A", g->GetInput(0)->TipX(), g->GetInput(0)->TipY(), true);
        DriverAt(inner, "X2", g->GetInput(1)->TipX() - 100, g->GetInput(1)->TipY());
        WireFrom(inner, g->GetInput(1), g->GetInput(1)->TipX() - 100, g->GetInput(1)->TipY());
        TVarDriver* outB = inner.CreateVarDriver();
        outB->SetName("OUT_B");
        outB->SetMirrored(true);
        outB->SetX(g->GetOutput(0)->TipX() + 10);
        outB->SetY(g->GetOutput(0)->TipY() - 10);
        inner.AttachElement(outB);
        ASSERT_TRUE(inner.SaveAsSymbol(symbolFile));
    }
    TScheme s;
    TSymbol* sym = s.CreateSymbol();
    sym->SetName("S1");
    sym->AssignNumber(2);
    sym->SetX(300);
    sym->SetY(100);
    sym->LoadSymbolFile(symbolFile);
    ASSERT_EQ(sym->PinCount(), 2);
    EXPECT_EQ(sym->Pin(0)->Name(), AnsiString("IN_A"));
    EXPECT_EQ(sym->Pin(0)->Direction(), 0);
    EXPECT_EQ(sym->Pin(1)->Name(), AnsiString("OUT_B"));
    EXPECT_EQ(sym->Pin(1)->Direction(), 1);
    DriverAt(s, "X1", sym->Pin(0)->TipX(), sym->Pin(0)->TipY());
    TElement* after = AndAt(s, "N", 500, 100, 3);
    WireFrom(s, sym->Pin(1), after->GetInput(0)->TipX(), after->GetInput(0)->TipY());
    TElement* before = AndAt(s, "P", 0, 300, 1);
    int objects = int(s.Objects().size());
    std::string bytes = s.SaveToBytes();

    ASSERT_TRUE(s.ExpandSymbols());
    AnsiString drivers;
    for (TDriver* d = s.FirstDriver(); d; d = s.NextDriver())
        drivers += d->Name() + " ";
    EXPECT_EQ(drivers, AnsiString("X1 X2 ")); // the inner connectors stay inside
    TStringList names;
    EXPECT_EQ(s.BuildNetNames(&names, 0), 1);
    EXPECT_EQ(Lines(names), std::vector<AnsiString>({"_var0"}));
    std::vector<std::vector<AnsiString>> blocks;
    AnsiString order;
    for (TElement* e = s.NextByNumber(true); e; e = s.NextByNumber(false)) {
        order += e->Name() + " ";
        blocks.push_back(Translated(e));
    }
    EXPECT_EQ(order, AnsiString("P S1G N "));
    ASSERT_EQ(blocks.size(), 3u);
    auto pad = [](const char* n) { return AnsiString(n) + AnsiString::StringOfChar(' ', 15 - int(strlen(n))); };
    EXPECT_EQ(blocks[1], std::vector<AnsiString>({"S1G and", "%" + pad("_var0") + " out ", "%" + pad("X1") + " in ",
                                                  "%" + pad("X2") + " in "}));
    EXPECT_EQ(blocks[2][2], "%" + pad("_var0") + " in ");
    // The document gained nothing and lost nothing.
    EXPECT_EQ(int(s.Objects().size()), objects);
    EXPECT_EQ(s.SaveToBytes(), bytes);
    EXPECT_EQ(InnerSchemeOf(sym)->FirstDevice()->Name(), AnsiString("G"));
    s.ReloadSymbols();
    EXPECT_FALSE(s.ExpandSymbols());
    order = "";
    for (TElement* e = s.NextByNumber(true); e; e = s.NextByNumber(false))
        order += e->Name() + " ";
    EXPECT_EQ(order, AnsiString("P S1 N "));
    (void)before;
    // A symbol whose file is gone has no pins and reports when translated.
    TSymbol* lost = s.CreateSymbol();
    lost->LoadSymbolFile(dir.File("gone.tvy"));
    EXPECT_EQ(lost->PinCount(), 0);
    ErrorLog log;
    Translated(lost);
    ASSERT_EQ(log.errors.size(), 1u);
}

} // namespace
