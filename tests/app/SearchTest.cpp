// The frame's signal search: the question, the open windows and the
// project's schemes, the result rows and what a double click opens.
#include "app/AppTest.h"

#include "app/Progress.h"
#include "common/Printers.h"
#include "editor/EditorFakes.h"
#include "editor/FindSign.h"
#include "translator/SchemeBuild.h"

namespace {

using Rows = std::vector<std::vector<AnsiString>>;

class Search : public AppTest {
protected:
    // s1: A1 reads X1, A3 reads and writes it; s2: X1 joined to no device;
    // s3: a driver x1 only.
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
        SeedSignals();
        TScheme s1, s2, s3;
        TElement* a1 = trtest::Place(s1, s1.CreateAndElement(), "A1", 100, 100, 1);
        trtest::DriverOn(s1, "X1", a1->GetInput(0));
        TElement* a3 = trtest::Place(s1, s1.CreateAndElement(), "A3", 300, 100, 2);
        trtest::DriverOn(s1, "X1", a3->GetInput(0));
        trtest::DriverOn(s1, "X1", a3->GetOutput(0));
        trtest::Place(s2, s2.CreateAndElement(), "A2", 100, 100, 1);
        trtest::LooseDriver(s2, "X1", 300, 300);
        trtest::DriverOn(s3, "x1", trtest::Place(s3, s3.CreateAndElement(), "A4", 100, 100, 1)->GetInput(0));
        for (auto [s, name] : {std::pair{&s1, "s1.tvs"}, std::pair{&s2, "s2.tvs"}, std::pair{&s3, "s3.tvs"}}) {
            s->SetFileName(dir.File(name));
            ASSERT_TRUE(s->SaveToFile());
        }
    }
    // F3 with the name typed and the scope chosen, then "Поиск".
    void Find(const AnsiString& name, int scope) {
        ModalScript script;
        script.On(FindSignalDlg, [&] {
            FindSignalDlg->ComboBox->SetText(name);
            FindSignalDlg->RadioGroup->SetItemIndex(scope);
            FindSignalDlg->OKBtn->Click();
        });
        frame->FindActionExecute(frame->FindAction);
    }
    Rows Results() const {
        Rows rows;
        TListItems* items = frame->FindSignalListView->Items();
        for (int i = 0; i < items->Count(); ++i) {
            rows.push_back({items->Item(i)->Caption()});
            for (int j = 0; j < items->Item(i)->SubItems()->Count(); ++j) rows.back().push_back(items->Item(i)->SubItems()->Get(j));
        }
        return rows;
    }
};

TEST_F(Search, OpenWindowsGiveARowPerUseWithItsOwnDirectionAndNamesAreExact) {
    for (const char* name : {"s1.tvs", "s2.tvs", "s3.tvs"}) OpenScheme(dir.File(name));
    const std::pair<const char*, Rows> cases[] = {
        // Windows in child order (the last opened first); A3 reads and writes.
        {"X1", {{"s2.tvs"}, {"s1.tvs", "A1", "In"}, {"s1.tvs", "A3", "Out"}, {"s1.tvs", "A3", "In"}}},
        {"x1", {{"s3.tvs", "A4", "In"}}},
        {"X2", {}},
    };
    for (const auto& [name, rows] : cases) {
        Find(name, 1);
        EXPECT_EQ(Results(), rows) << name;
        EXPECT_EQ(frame->FindSignalName->Caption(), "Сигнал  "_a + AnsiString(name) + "  найден в:"_a);
    }
}

TEST_F(Search, TheQuestionOffersTheSelectedDriversFirstThenTheTableOncePerShowing) {
    TScheme* doc = OpenScheme(dir.File("s1.tvs"))->SchemeDocument();
    doc->AddToSelection(doc->FirstDriver(), true);
    std::vector<AnsiString> texts, lists;
    ModalScript script;
    for (int i = 0; i < 2; ++i)
        script.On(FindSignalDlg, [&] {
            texts.push_back(FindSignalDlg->ComboBox->Text());
            lists.push_back(FindSignalDlg->ComboBox->Items()->CommaText());
            FindSignalDlg->CancelBtn->Click();
        });
    frame->FindActionExecute(frame->FindAction);
    // A name put in by another window stays; the list is made anew.
    FindSignalDlg->ComboBox->SetText("Y1");
    doc->ClearSelection();
    frame->FindActionExecute(frame->FindAction);
    EXPECT_EQ(texts, (std::vector<AnsiString>{"X1", "Y1"}));
    EXPECT_EQ(lists, (std::vector<AnsiString>{"X1,X1,X2,Y1", "X1,X2,Y1"}));
    EXPECT_EQ(FindSignalDlg->SignalName, AnsiString("Y1")) << "kept whichever button closed it";
    EXPECT_EQ(frame->FindSignalName->Caption(), "Сигнал"_a) << "Cancel searches nothing";
}

TEST_F(Search, TheProjectSearchReadsOpenWindowsAsTheyAreAndStopsAfterTheCurrentScheme) {
    OpenProjectOf({"s3.tvs", "s1.tvs", "s2.tvs", "gone.tvs"});
    TTestSchemeChild* s2 = OpenScheme(dir.File("s2.tvs"));
    TScheme& s1 = *OpenScheme(dir.File("s1.tvs"))->SchemeDocument();
    // An edit not saved yet counts.
    trtest::DriverOn(s1, "X1", trtest::Place(s1, s1.CreateAndElement(), "A9", 500, 100, 3)->GetInput(0));
    s2->SchemeDocument()->AddToSelection(s2->SchemeDocument()->FirstDevice(), true);
    const auto before = WindowsState();
    Find("X1", 0);
    EXPECT_EQ(Results(), (Rows{{"s1.tvs", "A1", "In"}, {"s1.tvs", "A3", "Out"}, {"s1.tvs", "A3", "In"},
                               {"s1.tvs", "A9", "In"}, {"s2.tvs"}}));
    EXPECT_EQ(WindowsState(), before);
    EXPECT_EQ(ProgressForm->ProgressPosition(), 4);
    EXPECT_TRUE(port.Messages().empty()) << "a missing scheme is an empty one";

    // "Остановить" while the first scheme is read: the frame takes no input
    // meanwhile, and the second scheme is never read.
    bool frameEnabled = true;
    AnsiString caption;
    ProgressForm->OnShow = [&](TObject*) {
        PostCall([&] {
            frameEnabled = frame->Enabled();
            caption = ProgressForm->Caption();
            ProgressForm->btHalt->Click();
        });
    };
    Find("X1", 0);
    ProgressForm->OnShow = nullptr;
    EXPECT_EQ(Results(), Rows{}) << "s3 holds x1 only";
    EXPECT_EQ(ProgressForm->ProgressPosition(), 1);
    EXPECT_FALSE(frameEnabled);
    EXPECT_EQ(caption, " Поиск ... "_a);
    // The progress window is left as the translations expect it.
    EXPECT_TRUE(frame->Enabled());
    EXPECT_EQ(ProgressForm->Caption(), " Трансляция "_a);
    EXPECT_FALSE(ProgressForm->Visible() || ProgressForm->btHalt->Visible());
}

TEST_F(Search, ADoubleClickActivatesOrOpensThenCentresAndWithoutAProjectOpensNothing) {
    OpenProjectOf({"s1.tvs", "s2.tvs"});
    TTestSchemeChild* s2 = OpenScheme(dir.File("s2.tvs"));
    Find("X1", 0);
    auto click = [&](int row) {
        ChildCalls().clear();
        frame->FindSignalListView->SetSelected(frame->FindSignalListView->Items()->Item(row));
        frame->FindSignalListViewDblClick(frame->FindSignalListView);
        Application->ProcessMessages();
    };
    click(1); // A3 in s1, which is not open
    auto* s1 = dynamic_cast<TTestSchemeChild*>(frame->ActiveMDIChild());
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(s1->SchemeDocument()->GetFileName(), dir.File("s1.tvs"));
    ASSERT_EQ(s1->SchemeDocument()->Selection().size(), 1u);
    EXPECT_EQ(s1->SchemeDocument()->Selection()[0]->Name(), AnsiString("A3"));
    EXPECT_EQ(ChildCalls(), std::vector<std::string>{"scheme:Center"});
    click(3); // s2's row names no device
    EXPECT_EQ(frame->ActiveMDIChild(), s2);
    EXPECT_TRUE(ChildCalls().empty());
    // The rows outlive their windows; without a project nothing opens.
    frame->CloseProject();
    Application->ProcessMessages();
    click(0);
    EXPECT_TRUE(Children().empty()) << "never an untitled window";
    // Without a project the project scope searches the open windows.
    OpenScheme(dir.File("s2.tvs"));
    Find("X1", 0);
    EXPECT_EQ(Results(), Rows{{"s2.tvs"}});
}

} // namespace
