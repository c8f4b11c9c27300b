// The CASE-forming window: its inputs, the default output chosen from what
// the check computed, and the table "Применить" writes into the element.
#include "editor/SchemeWindowTest.h"

#include "editor/Case.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "translator/SchemeBuild.h"

namespace {

class CaseWindow : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        element = Doc()->CreateCaseMaskElement(4);
        element->SetName("M1");
        element->SetX(200);
        element->SetY(100);
        element->Show();
        element->Options.SetCount(2);
        element->Masks.SetCount(3);
        Doc()->SetModified(false);
        Application->SetMainForm(frame);
        forms_.push_back(caseWindow = static_cast<TfmCase*>(MakeCaseWindow(nullptr, dir.File("M1.tvc"), element)));
        Application->ProcessMessages();
    }
    // n connectors feeding inputs of an element of the drawing, and one
    // that an output feeds.
    void DrawInputs(int n) {
        TScheme& s = *caseWindow->Scheme;
        TElement* e = trtest::Place(s, s.CreateCase16Element(1), "C", 300, 100, 1);
        for (int i = 0; i < n; ++i) trtest::DriverOn(s, "I" + IntToStr(i), e->GetInput(i), true);
        trtest::DriverOn(s, "Q", e->GetOutput(0), true);
    }
    TCaseMaskElement* element = nullptr;
    TfmCase* caseWindow = nullptr;
};

TEST_F(CaseWindow, TheDefaultIsTheOutputThatRepeatsFirstAndTheOtherEntriesBecomeRows) {
    struct Case {
        int inputs;
        std::vector<int32_t> outputs; // of the first entries; the rest are 0
        int32_t chosen;
        std::vector<std::pair<int32_t, int32_t>> rows;
    };
    const Case cases[] = {
        {2, {5, 7, 5, 7}, 5, {{1, 7}, {3, 7}}},       // 5 repeats first
        {2, {1, 2, 3, 4}, 0, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}}, // nothing repeats: 0
        {2, {0, 2, 3, 0}, 0, {{1, 2}, {2, 3}}},       // all different but 0
        {1, {9, 4, 9, 9}, 0, {{0, 9}, {1, 4}}},       // one input: two entries
        {0, {6, 6}, 0, {{0, 6}}},                     // none: one entry
        // 2 and 3 both three times: 3 got there first.
        {3, {2, 2, 3, 3, 3, 1, 2, 8}, 3, {{0, 2}, {1, 2}, {5, 1}, {6, 2}, {7, 8}}},
    };
    for (const Case& c : cases) {
        caseWindow->Scheme->Clear();
        DrawInputs(c.inputs);
        EXPECT_EQ(caseWindow->CountInputs(), c.inputs);
        std::fill(caseWindow->CaseOutputs.begin(), caseWindow->CaseOutputs.end(), 0);
        std::copy(c.outputs.begin(), c.outputs.end(), caseWindow->CaseOutputs.begin());
        for (int i = 0; i < TfmCase::kEntries; ++i) caseWindow->CaseInputs[std::size_t(i)] = i;
        const int n = caseWindow->DefaultOutput();
        EXPECT_EQ(caseWindow->CaseDefault, c.chosen) << c.inputs;
        std::vector<std::pair<int32_t, int32_t>> rows;
        for (int i = 0; i < n; ++i) rows.emplace_back(caseWindow->CaseInputs[std::size_t(i)], caseWindow->CaseOutputs[std::size_t(i)]);
        EXPECT_EQ(rows, c.rows) << c.inputs;
    }
}

TEST_F(CaseWindow, ApplyWritesTheRowsAndTheDefaultIntoTheElementAndCloses) {
    DrawInputs(2);
    fake.exportCase = [](std::vector<int32_t>* out) {
        // Outputs of input values 0 to 3: 5, 7, 5, 7; beyond them 5.
        for (std::size_t i = 0; i < out->size(); ++i) (*out)[i] = i % 2 ? 7 : 5;
        return true;
    };
    const std::weak_ptr<char> alive = caseWindow->Alive();
    caseWindow->Scheme->SetModified(false);
    caseWindow->ToolbarButtonEx2->Click();
    Application->ProcessMessages();
    EXPECT_EQ(fake.exported, std::vector<TForm*>{caseWindow});
    std::vector<std::pair<int32_t, int32_t>> rows;
    for (const auto& r : element->Options.Rows()) rows.emplace_back(r.Input, r.Output);
    EXPECT_EQ(rows, (std::vector<std::pair<int32_t, int32_t>>{{1, 7}, {3, 7}}));
    EXPECT_EQ(element->Options.Default, 5);
    EXPECT_EQ(element->DefaultOutput, 5);
    EXPECT_EQ(element->Masks.Count(), 0) << "masked rows would override the logic";
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(alive.expired()) << "the window closed";
    Forget(caseWindow);
    EXPECT_TRUE(SheetIsClean()) << "the element was hidden and shown again";
}

TEST_F(CaseWindow, NothingIsWrittenWithoutACheckOrWithoutTheElement) {
    DrawInputs(1);
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::size_t checks;
    };
    const Case cases[] = {
        {"the check did not run", [&] { fake.exportCase = nullptr; }, 1},
        {"the element was deleted",
         [&] {
             fake.exportCase = [](std::vector<int32_t>* out) { return std::fill(out->begin(), out->end(), 1), true; };
             Doc()->ClearSelection();
             Doc()->AddToSelection(element, true);
             Doc()->DeleteSelected();
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.exported.clear();
        c.prepare();
        Doc()->SetModified(false);
        caseWindow->ToolbarButtonEx2->Click();
        Application->ProcessMessages();
        EXPECT_EQ(fake.exported.size(), c.checks);
        EXPECT_EQ(element->Options.Count(), 2);
        EXPECT_EQ(element->Masks.Count(), 3);
        EXPECT_FALSE(Doc()->IsModified());
        EXPECT_TRUE(caseWindow->Showing()) << "stays open";
    }
}

TEST_F(CaseWindow, AClosedElementWindowLeavesNothingToWriteInto) {
    DrawInputs(1);
    fake.exportCase = [](std::vector<int32_t>* out) { return std::fill(out->begin(), out->end(), 1), true; };
    window->Close();
    Application->ProcessMessages();
    Forget(window);
    caseWindow->ToolbarButtonEx2->Click();
    Application->ProcessMessages();
    EXPECT_TRUE(fake.exported.empty());
    EXPECT_TRUE(caseWindow->Showing());
    // "Выход" closes it as any scheme window.
    const std::weak_ptr<char> alive = caseWindow->Alive();
    caseWindow->Scheme->SetModified(false);
    caseWindow->ToolbarButtonEx3->Click();
    Application->ProcessMessages();
    EXPECT_TRUE(alive.expired());
    Forget(caseWindow);
}

TEST_F(CaseWindow, TheToolbarSitsAboveTheSheet) {
    DrawInputs(3);
    caseWindow->SetBounds(0, 0, 640, 420);
    caseWindow->RepaintSheet();
    Application->ProcessMessages();
    EXPECT_EQ(caseWindow->DockEx1->Top(), 0);
    EXPECT_EQ(caseWindow->ScrollBox1->Top(), caseWindow->DockEx1->Height());
    EXPECT_GE(caseWindow->DockEx1->Height(), 26);
    EXPECT_EQ(caseWindow->ToolbarEx1->DockedTo(), caseWindow->DockEx1);
    EXPECT_EQ(caseWindow->Scheme->GetFileName(), dir.File("M1.tvc"));
    EXPECT_EQ(caseWindow->GetElement(), element);
    // Nothing in the program opens this window: its picture is kept for a
    // look by eye when asked for.
    const QPixmap picture = caseWindow->Widget()->grab();
    EXPECT_FALSE(picture.isNull());
    if (const char* out = std::getenv("GE_CASE_WINDOW_IMAGE")) picture.save(QString::fromUtf8(out));
}

} // namespace
