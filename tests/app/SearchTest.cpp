// The frame's signal search: the question, the open windows and the
// project's schemes, the result rows and what a double click opens.
#include "app/AppTest.h"

#include "app/Progress.h"
#include "common/Printers.h"
#include "document/Project.h"
#include "document/UndoList.h"
#include "editor/EditorFakes.h"
#include "editor/FindSign.h"
#include "translator/SchemeBuild.h"

namespace {

using Row = std::vector<AnsiString>;

class Search : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
        SeedSignals();
    }
    // s1: A1 reads X1; A3 reads and writes X1. s2: X1 joined to no device.
    // s3: a driver x1 only.
    void WriteSchemes() {
        {
            TScheme s;
            TElement* a1 = trtest::Place(s, s.CreateAndElement(), "A1", 100, 100, 1);
            trtest::DriverOn(s, "X1", a1->GetInput(0));
            TElement* a3 = trtest::Place(s, s.CreateAndElement(), "A3", 300, 100, 2);
            trtest::DriverOn(s, "X1", a3->GetInput(0));
            trtest::DriverOn(s, "X1", a3->GetOutput(0));
            Save(s, "s1.tvs");
        }
        {
            TScheme s;
            trtest::Place(s, s.CreateAndElement(), "A2", 100, 100, 1);
            trtest::LooseDriver(s, "X1", 300, 300);
            Save(s, "s2.tvs");
        }
        {
            TScheme s;
            TElement* a4 = trtest::Place(s, s.CreateAndElement(), "A4", 100, 100, 1);
            trtest::DriverOn(s, "x1", a4->GetInput(0));
            Save(s, "s3.tvs");
        }
    }
    void Save(TScheme& s, const char* name) {
        s.SetFileName(dir.File(name));
        ASSERT_TRUE(s.SaveToFile());
    }
    void OpenProject(const std::vector<AnsiString>& files) {
        WriteProject(dir.File("p.tvp"), files);
        port.AnswerFile(dir.File("p.tvp"));
        frame->OpenProjectActionExecute(frame->OpenProjectAction);
        port.Clear();
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
        EXPECT_EQ(script.unscripted, 0);
    }
    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        TListItems* items = frame->FindSignalListView->Items();
        for (int i = 0; i < items->Count(); ++i) {
            Row r{items->Item(i)->Caption()};
            for (int j = 0; j < items->Item(i)->SubItems()->Count(); ++j) r.push_back(items->Item(i)->SubItems()->Get(j));
            rows.push_back(r);
        }
        return rows;
    }
};

TEST_F(Search, OpenWindowsGiveARowPerUseWithItsOwnDirectionAndNamesAreExact) {
    WriteSchemes();
    for (const char* name : {"s1.tvs", "s2.tvs", "s3.tvs"}) OpenScheme(dir.File(name));
    struct Case {
        const char* name;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        // Windows in child order (the last opened first); a scheme without a
        // device on the signal gives its one row; A3 reads and writes.
        {"X1", {{"s2.tvs"}, {"s1.tvs", "A1", "In"}, {"s1.tvs", "A3", "Out"}, {"s1.tvs", "A3", "In"}}},
        {"x1", {{"s3.tvs", "A4", "In"}}},
        {"X2", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Find(c.name, 1);
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(frame->FindSignalName->Caption(), "Сигнал  "_a + AnsiString(c.name) + "  найден в:"_a);
    }
}

TEST_F(Search, TheQuestionOffersTheSelectedDriversFirstThenTheTableOncePerShowing) {
    WriteSchemes();
    TTestSchemeChild* s1 = OpenScheme(dir.File("s1.tvs"));
    TScheme* doc = s1->SchemeDocument();
    for (TDriver* d = doc->FirstDriver(); d; d = doc->NextDriver())
        if (d->Name() == "X1") {
            doc->AddToSelection(d, true);
            break;
        }
    std::vector<AnsiString> texts, lists;
    ModalScript script;
    auto look = [&] {
        texts.push_back(FindSignalDlg->ComboBox->Text());
        lists.push_back(FindSignalDlg->ComboBox->Items()->CommaText());
        FindSignalDlg->CancelBtn->Click();
    };
    script.On(FindSignalDlg, look);
    script.On(FindSignalDlg, look);
    frame->FindActionExecute(frame->FindAction);
    // A typed name stays; the list is made again for each showing.
    FindSignalDlg->ComboBox->SetText("Y1");
    doc->ClearSelection();
    frame->FindActionExecute(frame->FindAction);
    EXPECT_EQ(texts, (std::vector<AnsiString>{"X1", "Y1"}));
    EXPECT_EQ(lists, (std::vector<AnsiString>{"X1,X1,X2,Y1", "X1,X2,Y1"}));
    // Cancel keeps the last rows and label; the name is kept all the same.
    EXPECT_EQ(FindSignalDlg->SignalName, AnsiString("Y1"));
    EXPECT_EQ(FindSignalDlg->ComboBox->Items()->Count(), 0);
    EXPECT_EQ(frame->FindSignalName->Caption(), "Сигнал"_a);
    EXPECT_EQ(FindSignalDlg->RadioGroup->ItemIndex(), 1);
}

TEST_F(Search, TheProjectSearchReadsOpenWindowsAsTheyAreAndStopsAfterTheCurrentScheme) {
    WriteSchemes();
    OpenProject({"s3.tvs", "s1.tvs", "s2.tvs", "gone.tvs"});
    TTestSchemeChild* s2 = OpenScheme(dir.File("s2.tvs"));
    TTestSchemeChild* s1 = OpenScheme(dir.File("s1.tvs"));
    // An edit not saved yet counts.
    TElement* a9 = trtest::Place(*s1->SchemeDocument(), s1->SchemeDocument()->CreateAndElement(), "A9", 500, 100, 3);
    trtest::DriverOn(*s1->SchemeDocument(), "X1", a9->GetInput(0));
    s2->SchemeDocument()->AddToSelection(s2->SchemeDocument()->FirstDevice(), true);
    auto state = [&] {
        std::vector<std::string> v;
        for (TForm* w : Children()) {
            TScheme* d = dynamic_cast<ISchemeChild*>(w)->SchemeDocument();
            v.push_back(std::string(d->GetName().c_str()) + " sel" + std::to_string(d->Selection().size()) +
                        " mod" + std::to_string(d->IsModified()) + " undo" + std::to_string(d->UndoList()->GroupCount()));
        }
        return v;
    };
    const auto before = state();
    Find("X1", 0);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"s1.tvs", "A1", "In"},
                                        {"s1.tvs", "A3", "Out"},
                                        {"s1.tvs", "A3", "In"},
                                        {"s1.tvs", "A9", "In"},
                                        {"s2.tvs"}}));
    EXPECT_EQ(state(), before) << "window order, selections, modified flags and undo lists";
    EXPECT_EQ(ProgressForm->Caption(), " Трансляция "_a);
    EXPECT_FALSE(ProgressForm->Visible());
    EXPECT_FALSE(ProgressForm->btHalt->Visible());
    EXPECT_EQ(ProgressForm->MaxValue(), 4);
    EXPECT_EQ(ProgressForm->ProgressPosition(), 4);
    EXPECT_TRUE(port.Messages().empty()) << "a missing scheme is an empty one";

    // "Остановить" pressed while the first scheme is read: the second is
    // never read, and the frame takes no input meanwhile.
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
    EXPECT_EQ(Rows(), std::vector<Row>{}) << "s3 holds x1 only";
    EXPECT_EQ(ProgressForm->ProgressPosition(), 1);
    EXPECT_FALSE(frameEnabled);
    EXPECT_EQ(caption, " Поиск ... "_a);
    EXPECT_TRUE(frame->Enabled());
    EXPECT_FALSE(ProgressForm->Visible());
    EXPECT_FALSE(ProgressForm->btHalt->Visible());
    EXPECT_EQ(ProgressForm->Label1->Caption(), " Схема "_a + dir.File("s3.tvs"));
}

TEST_F(Search, WithoutAProjectTheProjectScopeSearchesTheOpenWindows) {
    WriteSchemes();
    OpenScheme(dir.File("s2.tvs"));
    Find("X1", 0);
    EXPECT_EQ(Rows(), (std::vector<Row>{{"s2.tvs"}}));
    EXPECT_FALSE(ProgressForm->Visible());
}

TEST_F(Search, ADoubleClickActivatesOrOpensThenCentresOnTheDevice) {
    WriteSchemes();
    OpenProject({"s1.tvs", "s2.tvs"});
    TTestSchemeChild* s2 = OpenScheme(dir.File("s2.tvs"));
    Find("X1", 0);
    ASSERT_EQ(Rows().size(), 4u);
    auto click = [&](int row) {
        ChildCalls().clear();
        frame->FindSignalListView->SetSelected(frame->FindSignalListView->Items()->Item(row));
        frame->FindSignalListViewDblClick(frame->FindSignalListView);
        Application->ProcessMessages();
    };
    // s1 is not open: its project file opens, A3 is selected and centred.
    click(1);
    ASSERT_EQ(Children().size(), 2u);
    auto* s1 = dynamic_cast<TTestSchemeChild*>(frame->ActiveMDIChild());
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(s1->SchemeDocument()->GetFileName(), dir.File("s1.tvs"));
    ASSERT_EQ(s1->SchemeDocument()->Selection().size(), 1u);
    EXPECT_EQ(s1->SchemeDocument()->Selection()[0]->Name(), AnsiString("A3"));
    EXPECT_EQ(ChildCalls(), (std::vector<std::string>{"scheme:Center"}));
    // s2 is open: brought forward; its row names no device, so nothing is centred.
    click(3);
    EXPECT_EQ(frame->ActiveMDIChild(), s2);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_TRUE(ChildCalls().empty());
    // Rows outlive their windows: without a project nothing opens in their place.
    frame->CloseProject();
    Application->ProcessMessages();
    ASSERT_TRUE(Children().empty());
    click(0);
    EXPECT_TRUE(Children().empty()) << "never an untitled window";
}

} // namespace
