// Chains across schemes: the chain dialog filled by "Соединения", its
// colouring, the walks through connectors and the jumps; and the question
// asked when a wire joins two named chains.
#include "app/AppTest.h"

#include "common/Printers.h"
#include "controls/gui/Placemnt.h"
#include "platform/IniFile.h"
#include "document/Project.h"
#include "document/UndoList.h"
#include "editor/CheckConnect.h"
#include "editor/connectChains.h"
#include "translator/SchemeBuild.h"

namespace {

// One element per chain: its input 0 wired to a connector of each name (or
// to a free point when none is given). Returns the chain's name.
AnsiString ChainOf(TScheme& s, const AnsiString& element, int y, const std::vector<AnsiString>& connectors) {
    TElement* e = trtest::Place(s, s.CreateAndElement(), element, 300, y, y / 100 + 1);
    TInOut* pin = e->GetInput(0);
    if (connectors.empty()) s.CreateWire(pin->TipX(), pin->TipY(), pin->TipX() - 60, pin->TipY());
    int x = 40;
    for (const AnsiString& c : connectors) {
        TDriver* k = trtest::LooseDriver(s, c, x, y + 40, true);
        trtest::Wire(s, k->Terminal(), pin);
        x += 80;
    }
    return pin->Net()->Chains.at(0)->Name();
}

class Chains : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
    }
    // Writes a scheme of chains (one per entry: element name and connectors)
    // and returns the chains' names.
    std::vector<AnsiString> Write(const char* file, const std::vector<std::pair<AnsiString, std::vector<AnsiString>>>& chains) {
        TScheme s;
        std::vector<AnsiString> names;
        int y = 100;
        for (const auto& [element, connectors] : chains) {
            names.push_back(ChainOf(s, element, y, connectors));
            y += 100;
        }
        s.SetFileName(dir.File(file));
        EXPECT_TRUE(s.SaveToFile());
        return names;
    }
    void OpenProject(const std::vector<AnsiString>& files) {
        WriteProject(dir.File("p.tvp"), files);
        port.AnswerFile(dir.File("p.tvp"));
        frame->OpenProjectActionExecute(frame->OpenProjectAction);
        port.Clear();
    }
    TCheckConnectivityDialog* D() const { return CheckConnectivityDialog; }
    // "Соединения", then the steps on the dialog, then OK.
    void Connections(const std::function<void()>& steps) {
        ModalScript script;
        script.On(D(), [&] {
            steps();
            D()->OKBtn->Click();
        });
        frame->CheckConnectivityActionExecute(frame->CheckConnectivityAction);
        EXPECT_EQ(script.unscripted, 0);
    }
    static std::vector<std::vector<AnsiString>> Grid(TStringGrid* g) {
        std::vector<std::vector<AnsiString>> rows;
        for (int r = 0; r < g->RowCount(); ++r) rows.push_back({g->Cells(0, r), g->Cells(1, r)});
        return rows;
    }
    // Chooses the chain row and clicks it.
    void ChooseChain(int row) {
        D()->grChains->SetRow(row);
        D()->grChainsClick(D()->grChains);
    }
    // Colours of the wires of each chain of the scheme, by chain name.
    static std::map<AnsiString, TColor> Colours(TScheme* doc) {
        std::map<AnsiString, TColor> colours;
        for (const TChain& c : doc->Chains())
            for (TLink* l : c.Links) colours[c.Name()] = l->CustomColor();
        return colours;
    }
    TScheme* DocOf(const char* file) {
        for (TForm* w : Children())
            if (auto* s = dynamic_cast<ISchemeChild*>(w); s && s->SchemeDocument()->GetName() == file)
                return s->SchemeDocument();
        return nullptr;
    }
};

using Rows = std::vector<std::vector<AnsiString>>;

TEST_F(Chains, TheDialogListsTheChainsOfEveryOpenSchemeInWindowOrder) {
    const auto one = Write("one.tvs", {{"A1", {}}, {"A2", {"K1"}}, {"A3", {}}});
    const auto two = Write("two.tvs", {{"B1", {"K1"}}, {"B2", {}}});
    OpenScheme(dir.File("one.tvs"));
    OpenScheme(dir.File("two.tvs"));
    Rows chains, members, cleared;
    Connections([&] {
        chains = Grid(D()->grChains);
        ChooseChain(2);
        members = Grid(D()->grthisElems);
        members.push_back({});
        for (const auto& r : Grid(D()->grthisDrivers)) members.push_back(r);
        ClickAt(D()->grChains->Widget(), QPoint(30, 6)); // the header row
        cleared = Grid(D()->grthisElems);
        for (const auto& r : Grid(D()->grthisDrivers)) cleared.push_back(r);
    });
    EXPECT_EQ(chains, (Rows{{"Цепь"_a, "Схема"_a},
                            {two[0], "two.tvs"}, {two[1], "two.tvs"},
                            {one[0], "one.tvs"}, {one[1], "one.tvs"}, {one[2], "one.tvs"}}));
    EXPECT_EQ(members, (Rows{{"Элемент"_a, "Тип"_a}, {"B2", "and"}, {}, {"Выход"_a, "Тип"_a}, {"", ""}}));
    EXPECT_EQ(cleared, (Rows{{"Элемент"_a, "Тип"_a}, {"", ""}, {"Выход"_a, "Тип"_a}, {"", ""}}))
        << "the header row empties the middle grids";
    // With no chains anywhere the grid keeps its empty row.
    for (TForm* w : Children()) Free(w);
    Application->ProcessMessages();
    Connections([&] { chains = Grid(D()->grChains); });
    EXPECT_EQ(chains, (Rows{{"Цепь"_a, "Схема"_a}, {"", ""}}));
}

TEST_F(Chains, HighlightColoursTheChainInItsOwnOpenSchemeOnlyAndBack) {
    const auto one = Write("one.tvs", {{"A1", {}}, {"A2", {}}});
    Write("same.tvs", {{"S1", {}}});
    TScheme* doc = OpenScheme(dir.File("one.tvs"))->SchemeDocument();
    TScheme* other = OpenScheme(dir.File("same.tvs"))->SchemeDocument();
    const bool modified = doc->IsModified();
    std::vector<std::map<AnsiString, TColor>> seen;
    Connections([&] {
        D()->grChains->SetRow(3); // one.tvs, the first chain (same.tvs's is row 1)
        D()->Button1->Click();
        seen.push_back(Colours(doc));
        seen.push_back(Colours(other));
        D()->Button4->Click();
        seen.push_back(Colours(doc));
    });
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].at(one[1]), TColor(16776960));
    EXPECT_EQ(seen[0].at(one[0]), clNone);
    EXPECT_EQ(seen[1].begin()->second, clNone) << "the same chain name in another scheme";
    EXPECT_EQ(seen[2].at(one[1]), clNone);
    EXPECT_EQ(doc->IsModified(), modified) << "colours are no modification";
}

TEST_F(Chains, FindChainOpensAndColoursEverySchemeJoinedThroughConnectorsAndEndsOnACycle) {
    const auto a = Write("a.tvs", {{"EA1", {"K1"}}, {"EA2", {"K2"}}});
    const auto b = Write("b.tvs", {{"EB1", {"K1", "K2"}}});
    const auto c = Write("c.tvs", {{"EC1", {"K2"}}, {"EC2", {"K3"}}});
    OpenProject({"a.tvs", "b.tvs", "c.tvs"});
    OpenScheme(dir.File("a.tvs"));
    Connections([&] {
        ChooseChain(1);
        D()->Button2->Click();
        EXPECT_TRUE(D()->Button2->Enabled());
    });
    std::vector<std::string> open;
    for (TForm* w : Children()) open.push_back(dynamic_cast<ISchemeChild*>(w)->SchemeDocument()->GetName().c_str());
    std::sort(open.begin(), open.end());
    EXPECT_EQ(open, (std::vector<std::string>{"a.tvs", "b.tvs", "c.tvs"}));
    const TColor on(16776960);
    EXPECT_EQ(Colours(DocOf("a.tvs")), (std::map<AnsiString, TColor>{{a[0], on}, {a[1], on}}));
    EXPECT_EQ(Colours(DocOf("b.tvs")), (std::map<AnsiString, TColor>{{b[0], on}}));
    EXPECT_EQ(Colours(DocOf("c.tvs")), (std::map<AnsiString, TColor>{{c[0], on}, {c[1], clNone}}));
}

TEST_F(Chains, NeighboursAreListedOncePerGridAndTheWalkChangesNoWindow) {
    Write("a.tvs", {{"EA1", {"K1"}}, {"EA2", {}}});
    Write("b.tvs", {{"EB1", {"K1", "K2"}}});
    Write("c.tvs", {{"EC1", {"K2"}}, {"EB1", {"K2"}}});
    Write("d.tvs", {{"ED1", {"K9"}}});
    OpenProject({"a.tvs", "b.tvs", "c.tvs", "d.tvs"});
    OpenScheme(dir.File("c.tvs"));
    OpenScheme(dir.File("a.tvs"));
    auto state = [&] {
        std::vector<std::string> v;
        for (TForm* w : Children()) {
            TScheme* d = dynamic_cast<ISchemeChild*>(w)->SchemeDocument();
            v.push_back(std::string(d->GetName().c_str()) + " sel" + std::to_string(d->Selection().size()) +
                        " mod" + std::to_string(d->IsModified()) + " undo" +
                        std::to_string(d->UndoList()->GroupCount()));
        }
        return v;
    };
    const auto before = state();
    Rows elements, outputs, none;
    Connections([&] {
        ChooseChain(1); // a.tvs: EA1's chain
        D()->Button3->Click();
        elements = Grid(D()->granotherElems);
        outputs = Grid(D()->granotherDrivers);
        ChooseChain(2); // a.tvs: a chain without connectors
        D()->Button3->Click();
        none = Grid(D()->granotherElems);
    });
    EXPECT_EQ(elements, (Rows{{"Элемент"_a, "Цепь"_a}, {"EB1", "b.tvs"}, {"EC1", "c.tvs"}}));
    EXPECT_EQ(outputs, (Rows{{"Выход"_a, "Цепь"_a}, {"K1", "b.tvs"}, {"K2", "b.tvs"}}));
    EXPECT_EQ(none, (Rows{{"Элемент"_a, "Цепь"_a}, {"", ""}}));
    EXPECT_EQ(state(), before) << "window order, selections, modified flags and undo lists";
}

TEST_F(Chains, WithoutAProjectTheWalksCoverTheOpenWindowsAndJumpsOpenNothing) {
    Write("a.tvs", {{"EA1", {"K1"}}});
    Write("b.tvs", {{"EB1", {"K1"}}});
    Write("c.tvs", {{"EC1", {"K1"}}});
    OpenScheme(dir.File("b.tvs"));
    OpenScheme(dir.File("a.tvs"));
    Rows elements;
    Connections([&] {
        ChooseChain(1);
        D()->Button3->Click();
        elements = Grid(D()->granotherElems);
        D()->Button2->Click();
    });
    EXPECT_EQ(elements, (Rows{{"Элемент"_a, "Цепь"_a}, {"EB1", "b.tvs"}})) << "c.tvs is not open";
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(Colours(DocOf("b.tvs")).begin()->second, TColor(16776960));
    frame->SelectElementInScheme("c.tvs", "EC1", true);
    EXPECT_EQ(Children().size(), 2u) << "no file to open: nothing opens";
}

TEST_F(Chains, JumpsBringForwardOrOpenSelectAndCentre) {
    Write("a.tvs", {{"EA1", {"K1"}}});
    Write("b.tvs", {{"EB1", {"K1"}}});
    OpenProject({"a.tvs", "b.tvs"});
    TTestSchemeChild* a = OpenScheme(dir.File("a.tvs"));
    std::vector<std::string> calls;
    Connections([&] {
        ChooseChain(1);
        D()->Button3->Click();
        ChildCalls().clear();
        D()->granotherElems->SetRow(1);
        D()->granotherElemsDblClick(D()->granotherElems); // EB1 on b.tvs, not open
        D()->granotherDrivers->SetRow(1);
        D()->granotherDriversDblClick(D()->granotherDrivers); // K1 on b.tvs, now open
        D()->grthisElems->SetRow(1);
        D()->grthisElemsClick(D()->grthisElems); // EA1 on a.tvs
        calls = ChildCalls();
    });
    EXPECT_EQ(calls, (std::vector<std::string>{"scheme:Center", "scheme:Center", "scheme:Center"}));
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    ASSERT_EQ(DocOf("b.tvs")->Selection().size(), 1u);
    EXPECT_EQ(DocOf("b.tvs")->Selection()[0]->Name(), AnsiString("K1"));
    ASSERT_EQ(a->SchemeDocument()->Selection().size(), 1u);
    EXPECT_EQ(a->SchemeDocument()->Selection()[0]->Name(), AnsiString("EA1"));
}

class Join : public Chains {};

TEST_F(Join, TheQuestionOffersTheFirstNameTakesAClickedOneAndNeedsANameForYes) {
    struct Case {
        std::function<void()> act;
        bool result;
        const char* joined;
    };
    const Case cases[] = {
        // A click on the second name, then "Да".
        {[] { fmConnect->lblChain2->Click(); fmConnect->BitBtn1->Click(); }, true, "ПАР"},
        // A third name typed.
        {[] { fmConnect->Edit1->SetText("СМЕСЬ"_a); fmConnect->BitBtn1->Click(); }, true, "СМЕСЬ"},
        // An empty name keeps "Да" from closing; "Нет" closes all the same.
        {[] {
             fmConnect->Edit1->SetText("");
             fmConnect->BitBtn1->Click();
             EXPECT_TRUE(fmConnect->Visible());
             fmConnect->BitBtn2->Click();
         },
         false, ""},
    };
    for (const Case& c : cases) {
        ModalScript script;
        AnsiString offered;
        script.On(fmConnect, [&] {
            offered = fmConnect->Edit1->Text();
            c.act();
        });
        AnsiString joined;
        EXPECT_EQ(fmConnect->Ask("ВОДА"_a, "ПАР"_a, joined), c.result);
        EXPECT_EQ(offered, "ВОДА"_a);
        EXPECT_EQ(joined, Utf8ToAnsi(c.joined));
        EXPECT_EQ(fmConnect->lblChain1->Caption(), "ВОДА"_a);
        EXPECT_FALSE(script.stuck);
    }
}

TEST_F(Join, AWireJoiningTwoNamedChainsAsksThroughTheFrame) {
    TScheme s;
    TLink* w1 = s.CreateWire(0, 0, 100, 0);
    TLink* w2 = s.CreateWire(200, 0, 300, 0);
    w1->Chain()->SetName("ВОДА"_a);
    w2->Chain()->SetName("ПАР"_a);
    ModalScript script;
    script.On(fmConnect, [] { fmConnect->lblChain2->Click(); fmConnect->BitBtn1->Click(); });
    ASSERT_NE(s.CreateWire(100, 0, 200, 0), nullptr);
    EXPECT_EQ(w1->ChainName(), "ПАР"_a);
    EXPECT_EQ(w2->ChainName(), "ПАР"_a);
    EXPECT_EQ(script.shown[fmConnect], 1);
}

} // namespace

namespace {

TEST_F(Chains, TheWidthOfTheChainListSurvivesARestart) {
    Connections([&] { D()->LeftPanel->SetWidth(260); });
    // In the ini file named after the program.
    EXPECT_EQ(TIniFile(D()->FormStorage1->GetIniFileName()).ReadString("TCheckConnectivityDialog", "Splitter1_Left", ""),
              AnsiString("260"));
    auto* again = new TCheckConnectivityDialog(nullptr);
    again->DoCreate();
    forms_.push_back(again);
    ModalScript script;
    int width = 0;
    script.On(again, [&] {
        width = again->LeftPanel->Width();
        again->OKBtn->Click();
    });
    again->ShowModal();
    EXPECT_EQ(width, 260);
}

} // namespace
