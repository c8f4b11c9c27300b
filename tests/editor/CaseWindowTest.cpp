// The CASE-forming window: its inputs, the default output chosen from what the check computed, and the table
// "Применить" writes into the element.
#include "editor/SchemeWindowTest.h"

#include "editor/Case.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "translator/SchemeBuild.h"

namespace {

using Pairs = std::vector<std::pair<int32_t, int32_t>>;

class CaseWindow : public SchemeWindowTest {
protected:
    void SetUp() override {
        SchemeWindowTest::SetUp();
        element = Shown(Doc()->CreateCaseMaskElement(4), 200, 100);
        element->SetName("M1"), element->Options.SetCount(2), element->Masks.SetCount(3), Doc()->SetModified(false);
        forms_.push_back(cw = static_cast<TfmCase*>(MakeCaseWindow(nullptr, dir.File("M1.tvc"), element)));
        Application->ProcessMessages();
    }
    // n connectors feeding inputs of an element of the drawing, one an output feeds.
    void DrawInputs(int n) {
        TScheme& s = *cw->Scheme;
        TElement* e = trtest::Place(s, s.CreateCase16Element(1), "C", 300, 100, 1);
        for (int i = 0; i < n; ++i) trtest::DriverOn(s, "I" + IntToStr(i), e->GetInput(i), true);
        trtest::DriverOn(s, "Q", e->GetOutput(0), true);
    }
    // "Применить" with the check answering outputs (none: the check did not run).
    void Apply(std::function<int32_t(int)> outputs) {
        fake.exported.clear();
        fake.exportCase = [outputs](std::vector<int32_t>* out) {
            for (std::size_t i = 0; outputs && i < out->size(); ++i) (*out)[i] = outputs(int(i));
            return bool(outputs);
        };
        cw->ToolbarButtonEx2->Click(), Application->ProcessMessages();
    }
    TCaseMaskElement* element = nullptr;
    TfmCase* cw = nullptr;
};

TEST_F(CaseWindow, TheDefaultIsTheOutputThatRepeatsFirstAndTheOtherEntriesBecomeRows) {
    // The inputs drawn, the outputs of the first entries (the rest are 0), the default chosen and the rows left.
    const std::tuple<int, std::vector<int32_t>, int32_t, Pairs> cases[] = {
        {2, {5, 7, 5, 7}, 5, {{1, 7}, {3, 7}}},                 // 5 repeats first
        {2, {1, 2, 3, 4}, 0, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}}, // nothing repeats: 0
        {2, {0, 2, 3, 0}, 0, {{1, 2}, {2, 3}}},
        {1, {9, 4, 9, 9}, 0, {{0, 9}, {1, 4}}},                 // one input: two entries
        {0, {6, 6}, 0, {{0, 6}}},                               // none: one entry
        {3, {2, 2, 3, 3, 3, 1, 2, 8}, 3, {{0, 2}, {1, 2}, {5, 1}, {6, 2}, {7, 8}}}, // 3 three times first
    };
    for (const auto& [inputs, outputs, chosen, expected] : cases) {
        cw->Scheme->Clear(), DrawInputs(inputs);
        EXPECT_EQ(cw->CountInputs(), inputs);
        std::fill(cw->CaseOutputs.begin(), cw->CaseOutputs.end(), 0);
        std::copy(outputs.begin(), outputs.end(), cw->CaseOutputs.begin());
        for (int i = 0; i < TfmCase::kEntries; ++i) cw->CaseInputs[std::size_t(i)] = i;
        Pairs rows(std::size_t(cw->DefaultOutput()));
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = {cw->CaseInputs[i], cw->CaseOutputs[i]};
        EXPECT_EQ(std::pair(cw->CaseDefault, rows), std::pair(chosen, expected)) << inputs;
    }
}

TEST_F(CaseWindow, TheToolbarSitsAboveTheSheetAndApplyWritesTheRowsAndTheDefaultIntoTheElement) {
    DrawInputs(2), cw->SetBounds(0, 0, 640, 420), cw->RepaintSheet(), Application->ProcessMessages();
    EXPECT_EQ(std::pair(cw->DockEx1->Top(), cw->ScrollBox1->Top()), std::pair(0, cw->DockEx1->Height()));
    EXPECT_GE(cw->DockEx1->Height(), 26);
    // Nothing in the program shows this window: its picture is kept for a look when asked for.
    const QPixmap picture = cw->Widget()->grab();
    EXPECT_FALSE(picture.isNull());
    if (const char* out = std::getenv("GE_CASE_WINDOW_IMAGE")) picture.save(QString::fromUtf8(out));
    const std::weak_ptr<char> alive = cw->Alive();
    cw->Scheme->SetModified(false), Apply([](int i) { return i % 2 ? 7 : 5; });
    EXPECT_EQ(fake.exported, std::vector<TForm*>{cw});
    Pairs rows;
    for (const auto& r : element->Options.Rows()) rows.emplace_back(r.Input, r.Output);
    EXPECT_EQ(rows, (Pairs{{1, 7}, {3, 7}}));
    EXPECT_EQ(std::tuple(element->Options.Default, element->DefaultOutput, element->Masks.Count()),
              std::tuple(5, 5, 0));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(alive.expired()) << "the window closed";
    Forget(cw);
    EXPECT_TRUE(SheetIsClean()) << "the element was hidden and shown again";
}

TEST_F(CaseWindow, NothingIsWrittenWithoutACheckOrWithoutTheElementOrItsWindow) {
    DrawInputs(1);
    // What happens before "Применить", and how often the check then runs.
    const std::pair<std::function<void()>, std::size_t> cases[] = {
        {[] {}, 1},                                                                     // the check did not run
        {[&] { Doc()->AddToSelection(element, true), Doc()->DeleteSelected(); }, 0},    // deleted
        {[&] { window->Close(), Application->ProcessMessages(), Forget(window), window = nullptr; }, 0}, // closed
    };
    bool check = false;
    for (const auto& [prepare, checks] : cases) {
        prepare();
        Apply(check ? [](int) { return 1; } : std::function<int32_t(int)>());
        check = true;
        EXPECT_EQ(fake.exported.size(), checks);
        // (The element goes with its window.)
        if (window) { EXPECT_EQ(std::pair(element->Options.Count(), element->Masks.Count()), std::pair(2, 3)); }
        EXPECT_TRUE(cw->Showing()) << "stays open";
    }
    // "Выход" closes it as any scheme window.
    const std::weak_ptr<char> alive = cw->Alive();
    cw->ToolbarButtonEx3->Click(), Application->ProcessMessages();
    EXPECT_TRUE(alive.expired());
    Forget(cw);
}

} // namespace
