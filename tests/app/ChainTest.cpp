// Chains across schemes: the chain dialog filled by "Соединения", its
// colouring, the walks through connectors and the jumps; and the question
// asked when a wire joins two named chains.
#include "app/AppTest.h"

#include "common/Printers.h"
#include "controls/gui/Placemnt.h"
#include "editor/CheckConnect.h"
#include "editor/connectChains.h"
#include "platform/IniFile.h"
#include "translator/SchemeBuild.h"

namespace {

using Rows = std::vector<std::vector<AnsiString>>;
using Chain = std::pair<AnsiString, std::vector<AnsiString>>; // element, its connectors

class Chains : public FrameTest {
protected:
    // A scheme of one chain per entry: the element's input 0 wired to each
    // connector named (to a free point without one). Returns the chain names.
    std::vector<AnsiString> Write(const char* file, const std::vector<Chain>& chains) {
        TScheme s;
        std::vector<AnsiString> names;
        int y = 100;
        for (const auto& [element, connectors] : chains) {
            TInOut* pin = trtest::Place(s, s.CreateAndElement(), element, 300, y, y / 100)->GetInput(0);
            if (connectors.empty()) s.CreateWire(pin->TipX(), pin->TipY(), pin->TipX() - 60, pin->TipY());
            for (std::size_t i = 0; i < connectors.size(); ++i)
                trtest::Wire(s, trtest::LooseDriver(s, connectors[i], 40 + 80 * int(i), y + 40, true)->Terminal(), pin);
            names.push_back(pin->Net()->Chains.at(0)->Name());
            y += 100;
        }
        s.SetFileName(dir.File(file));
        EXPECT_TRUE(s.SaveToFile());
        return names;
    }
    TCheckConnectivityDialog* D() const { return CheckConnectivityDialog; }
    // "Соединения", the steps on the dialog, then OK.
    void Connections(const std::function<void()>& steps) {
        ModalScript script;
        script.On(D(), [&] {
            steps();
            D()->OKBtn->Click();
        });
        frame->CheckConnectivityActionExecute(frame->CheckConnectivityAction);
    }
    static Rows Grid(TStringGrid* g) {
        Rows rows;
        for (int r = 0; r < g->RowCount(); ++r) rows.push_back({g->Cells(0, r), g->Cells(1, r)});
        return rows;
    }
    void ChooseChain(int row) {
        D()->grChains->SetRow(row);
        D()->grChainsClick(D()->grChains);
    }
    // The colour of each chain's wires.
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
    const TColor on{16776960};
};

TEST_F(Chains, TheDialogListsTheChainsOfEveryOpenSchemeInWindowOrder) {
    const auto one = Write("one.tvs", {{"A1", {}}, {"A2", {"K1"}}, {"A3", {}}});
    const auto two = Write("two.tvs", {{"B1", {"K1"}}, {"B2", {}}});
    OpenScheme(dir.File("one.tvs"));
    OpenScheme(dir.File("two.tvs"));
    Rows chains, elements, outputs, cleared;
    Connections([&] {
        chains = Grid(D()->grChains);
        ChooseChain(1);
        elements = Grid(D()->grthisElems);
        outputs = Grid(D()->grthisDrivers);
        ClickAt(D()->grChains->Widget(), QPoint(30, 6)); // the header row
        cleared = Grid(D()->grthisElems);
    });
    EXPECT_EQ(chains, (Rows{{"Цепь"_a, "Схема"_a}, {two[0], "two.tvs"}, {two[1], "two.tvs"}, {one[0], "one.tvs"},
                            {one[1], "one.tvs"}, {one[2], "one.tvs"}}));
    EXPECT_EQ(elements, (Rows{{"Элемент"_a, "Тип"_a}, {"B1", "and"}}));
    EXPECT_EQ(outputs, (Rows{{"Выход"_a, "Тип"_a}, {"K1", "var"}}));
    EXPECT_EQ(cleared, (Rows{{"Элемент"_a, "Тип"_a}, {"", ""}}));
}

TEST_F(Chains, HighlightColoursTheChainInItsOwnSchemeOnlyAndBack) {
    const auto one = Write("one.tvs", {{"A1", {}}, {"A2", {}}});
    Write("same.tvs", {{"S1", {}}});
    TScheme* doc = OpenScheme(dir.File("one.tvs"))->SchemeDocument();
    TScheme* other = OpenScheme(dir.File("same.tvs"))->SchemeDocument();
    std::vector<std::map<AnsiString, TColor>> seen;
    Connections([&] {
        D()->grChains->SetRow(3); // one.tvs's second chain, named as same.tvs's only one
        D()->Button1->Click();
        seen = {Colours(doc), Colours(other)};
        D()->Button4->Click();
        seen.push_back(Colours(doc));
    });
    EXPECT_EQ(seen[0], (std::map<AnsiString, TColor>{{one[0], clNone}, {one[1], on}}));
    EXPECT_EQ(seen[1].begin()->second, clNone);
    EXPECT_EQ(seen[2].at(one[1]), clNone);
    EXPECT_FALSE(doc->IsModified()) << "colours are no modification";
}

TEST_F(Chains, FindChainOpensAndColoursEverySchemeJoinedThroughConnectorsAndEndsOnACycle) {
    const auto a = Write("a.tvs", {{"EA1", {"K1"}}, {"EA2", {"K2"}}}); // a -> b -> a
    const auto b = Write("b.tvs", {{"EB1", {"K1", "K2"}}});
    const auto c = Write("c.tvs", {{"EC1", {"K2"}}, {"EC2", {"K3"}}});
    OpenProjectOf({"a.tvs", "b.tvs", "c.tvs"});
    OpenScheme(dir.File("a.tvs"));
    Connections([&] {
        ChooseChain(1);
        D()->Button2->Click();
    });
    ASSERT_EQ(Children().size(), 3u);
    EXPECT_EQ(Colours(DocOf("a.tvs")), (std::map<AnsiString, TColor>{{a[0], on}, {a[1], on}}));
    EXPECT_EQ(Colours(DocOf("b.tvs")), (std::map<AnsiString, TColor>{{b[0], on}}));
    EXPECT_EQ(Colours(DocOf("c.tvs")), (std::map<AnsiString, TColor>{{c[0], on}, {c[1], clNone}}));
}

TEST_F(Chains, NeighboursAreListedOncePerGridAndTheWalkChangesNoWindow) {
    Write("a.tvs", {{"EA1", {"K1"}}, {"EA2", {}}});
    Write("b.tvs", {{"EB1", {"K1", "K2"}}});
    Write("c.tvs", {{"EC1", {"K2"}}, {"EB1", {"K2"}}});
    Write("d.tvs", {{"ED1", {"K9"}}});
    OpenProjectOf({"a.tvs", "b.tvs", "c.tvs", "d.tvs"});
    OpenScheme(dir.File("c.tvs"));
    OpenScheme(dir.File("a.tvs"));
    const auto before = WindowsState();
    Rows elements, outputs, none;
    Connections([&] {
        ChooseChain(1);
        D()->Button3->Click();
        elements = Grid(D()->granotherElems);
        outputs = Grid(D()->granotherDrivers);
        ChooseChain(2); // no connectors: the grids are only cleared
        D()->Button3->Click();
        none = Grid(D()->granotherElems);
    });
    EXPECT_EQ(elements, (Rows{{"Элемент"_a, "Цепь"_a}, {"EB1", "b.tvs"}, {"EC1", "c.tvs"}}));
    EXPECT_EQ(outputs, (Rows{{"Выход"_a, "Цепь"_a}, {"K1", "b.tvs"}, {"K2", "b.tvs"}}));
    EXPECT_EQ(none, (Rows{{"Элемент"_a, "Цепь"_a}, {"", ""}}));
    EXPECT_EQ(WindowsState(), before);
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
        ChildCalls().clear();
        D()->granotherElems->SetRow(1);
        D()->granotherElemsDblClick(D()->granotherElems);
    });
    EXPECT_EQ(elements, (Rows{{"Элемент"_a, "Цепь"_a}, {"EB1", "b.tvs"}})) << "c.tvs is not open";
    EXPECT_EQ(Colours(DocOf("b.tvs")).begin()->second, on);
    EXPECT_EQ(ChildCalls(), std::vector<std::string>{"scheme:Center"});
    ASSERT_EQ(DocOf("b.tvs")->Selection().size(), 1u);
    EXPECT_EQ(DocOf("b.tvs")->Selection()[0]->Name(), AnsiString("EB1"));
    frame->SelectElementInScheme("c.tvs", "EC1", true);
    EXPECT_EQ(Children().size(), 2u) << "no file to open: nothing opens";
}

TEST_F(Chains, TheWidthOfTheChainListSurvivesARestart) {
    Connections([&] { D()->LeftPanel->SetWidth(260); });
    EXPECT_EQ(TIniFile(D()->FormStorage1->GetIniFileName()).ReadString("TCheckConnectivityDialog", "Splitter1_Left", ""),
              AnsiString("260"));
    auto* again = new TCheckConnectivityDialog(nullptr);
    again->DoCreate();
    forms_.push_back(again);
    int width = 0;
    RunModal(again, {[&] {
        width = again->LeftPanel->Width();
        again->OKBtn->Click();
    }});
    EXPECT_EQ(width, 260);
}

TEST_F(Chains, TheJoinQuestionOffersTheFirstNameTakesAClickedOneAndNeedsANameForYes) {
    struct Case {
        std::function<void()> act;
        bool result;
        const char* joined;
    };
    const Case cases[] = {
        {[] { fmConnect->lblChain2->Click(), fmConnect->BitBtn1->Click(); }, true, "ПАР"},
        {[] { fmConnect->Edit1->SetText("СМЕСЬ"_a), fmConnect->BitBtn1->Click(); }, true, "СМЕСЬ"},
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
        AnsiString offered, joined;
        ModalScript script;
        script.On(fmConnect, [&] {
            offered = fmConnect->Edit1->Text();
            c.act();
        });
        EXPECT_EQ(fmConnect->Ask("ВОДА"_a, "ПАР"_a, joined), c.result);
        EXPECT_EQ(offered, "ВОДА"_a);
        EXPECT_EQ(joined, Utf8ToAnsi(c.joined));
    }
    // A wire that joins two named chains asks through the frame.
    TScheme s;
    TLink* w1 = s.CreateWire(0, 0, 100, 0);
    TLink* w2 = s.CreateWire(200, 0, 300, 0);
    w1->Chain()->SetName("ВОДА"_a);
    w2->Chain()->SetName("ПАР"_a);
    ModalScript script;
    script.On(fmConnect, [] { fmConnect->lblChain2->Click(), fmConnect->BitBtn1->Click(); });
    ASSERT_NE(s.CreateWire(100, 0, 200, 0), nullptr);
    EXPECT_EQ(w1->ChainName(), "ПАР"_a);
    EXPECT_EQ(w2->ChainName(), "ПАР"_a);
}

} // namespace
