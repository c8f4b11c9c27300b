// Machines that read back as saved: transitions keep the states their file
// names even where states overlap, save-load-save is a fixed point, a file
// cut short is reported and not written over unasked, and clipboard
// fragments that would land beyond the limits are refused.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <utility>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmRecords.h"
#include "platform/FileIO.h"
#include "platform/TestUiPort.h"
#include "platform/UiPort.h"

namespace {

using namespace fsmtest;

std::string Reload(const std::string& bytes, std::vector<std::pair<int, int>>* logic) {
    TestUiPort ui;
    TFSMScheme doc;
    EXPECT_TRUE(doc.LoadFromBytes(bytes));
    *logic = Logic(doc);
    return doc.SaveToBytes();
}

TEST(FsmReload, LogicAndBytesSurviveSaveAndLoadCycles) {
    TFSMScheme built;
    BuildExample(built);
    // Two states whose circles overlap, joined both ways.
    TfsmElement* s1 = AddState(built, 1000, 1000, "P1", "0");
    TfsmElement* s2 = AddState(built, 1049, 1000, "P2", "0");
    Connect(built, s1, s2, "1");
    Connect(built, s2, s1, "0");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"overlapping states", testenv::RegressionFile("fsm/corrupt-overlapping-states-transition-retargets.fsm")},
        {"fuzzer-found retarget", testenv::RegressionFile("fsm/corrupt-fuzzer-found-retarget.fsm")},
        {"ends off their circles", testenv::RegressionFile("fsm/drift-load-save-not-fixed-point.fsm")},
        {"state at the limit", testenv::RegressionFile("fsm/state-at-the-limit-snaps-beyond.fsm")},
        {"example with overlapping states", built.SaveToBytes()},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> first, again;
        const std::string saved = Reload(c.bytes, &first);
        std::string bytes = saved;
        for (int cycle = 0; cycle < 3; ++cycle) {
            bytes = Reload(bytes, &again);
            EXPECT_EQ(again, first) << c.what << ", cycle " << cycle;
            EXPECT_EQ(bytes, saved) << c.what << ", cycle " << cycle;
        }
    }
}

TEST(FsmReload, OverlappingStatesKeepTheirTransitions) {
    TestUiPort ui;
    TFSMScheme doc;
    ASSERT_TRUE(doc.LoadFromBytes(
        testenv::RegressionFile("fsm/corrupt-overlapping-states-transition-retargets.fsm")));
    ASSERT_EQ(doc.Transitions().size(), 1u);
    for (int cycle = 0; cycle < 2; ++cycle) {
        TfsmLink* t = doc.Transitions()[0];
        ASSERT_NE(t->GetSource(), nullptr);
        ASSERT_NE(t->GetTarget(), nullptr);
        EXPECT_EQ(t->GetSource()->GetName(), "S1");
        EXPECT_EQ(t->GetTarget()->GetName(), "S2");
        ASSERT_TRUE(doc.LoadFromBytes(doc.SaveToBytes()));
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(FsmReload, NamedStateCountsOnlyWhereTheEndLies) {
    // Source and target ids of a one-transition file: the states at (0,0)
    // and (200,0), the transition from the first to the second.
    TFSMScheme built;
    TfsmElement* a = AddState(built, 0, 0, "A", "0");
    TfsmElement* b = AddState(built, 200, 0, "B", "0");
    Connect(built, a, b, "1");
    const std::string good = built.SaveToBytes();
    const std::size_t transition = std::size_t(fsmfile::kNamesOffset) + 2 * 21 + 2 * 137 + 1;
    struct Case {
        const char* what;
        int source, target;
        std::pair<int, int> logic;
    } cases[] = {
        {"as written", 0, 1, {0, 1}},
        {"ids swapped: the drawing decides", 1, 0, {0, 1}},
        {"ids beyond the file", 77, -5, {0, 1}},
        {"id naming the transition itself", 2, 2, {0, 1}},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        auto put = [&](std::size_t at, int v) {
            for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char((unsigned(v) >> (8 * i)) & 0xFF);
        };
        put(transition + 36, c.source);
        put(transition + 40, c.target);
        TFSMScheme doc;
        ASSERT_TRUE(doc.LoadFromBytes(bytes)) << c.what;
        ASSERT_EQ(Logic(doc).size(), 1u) << c.what;
        EXPECT_EQ(Logic(doc)[0], c.logic) << c.what;
    }
}

TEST(FsmReload, FileCutShortIsReportedAndNotWrittenOverUnasked) {
    testenv::TempDir dir;
    TFSMScheme built;
    BuildExample(built);
    const std::string whole = built.SaveToBytes();
    const std::string cut = whole.substr(0, whole.size() - 100);
    const AnsiString path = dir.File("cut.fsm");
    for (int answer : {mrNo, mrYes}) {
        testenv::WriteBytes(ToFsPath(path), cut);
        TestUiPort ui;
        ui.Answer(answer);
        TFSMScheme doc;
        doc.SetFileName(path);
        ASSERT_TRUE(doc.LoadFromFile());
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});
        EXPECT_FALSE(doc.Entities().empty());
        EXPECT_EQ(doc.SaveToFile(), answer == mrYes);
        ASSERT_EQ(ui.Calls.size(), 2u);
        EXPECT_EQ(ui.Calls[1].kind, TestUiPort::kMessageDlg);
        EXPECT_EQ(ui.Calls[1].text,
                  "Файл "_a + path + " был прочитан не полностью. Записать поверх него только прочитанную часть?"_a);
        EXPECT_EQ(testenv::ReadBytes(ToFsPath(path)) == cut, answer == mrNo);
        // Once agreed, or once saved under another name, no more questions.
        if (answer == mrYes) {
            EXPECT_TRUE(doc.SaveToFile());
            EXPECT_EQ(ui.Calls.size(), 2u);
        }
    }
    // A whole file asks nothing.
    testenv::WriteBytes(ToFsPath(path), whole);
    TestUiPort ui;
    TFSMScheme doc;
    doc.SetFileName(path);
    ASSERT_TRUE(doc.LoadFromFile());
    EXPECT_TRUE(doc.SaveToFile());
    EXPECT_TRUE(ui.Calls.empty());
}

TEST(FsmReload, PasteRefusesFragmentsThatLandOutside) {
    TFSMScheme source;
    TfsmElement* s = AddState(source, 500, 300, "S", "0");
    source.ClearSelection();
    source.SelectAt(s->GetX(), s->GetY(), true);
    ASSERT_TRUE(source.CopyToClipboard());
    const std::string fragment = testenv::ReadBytes("clip.brd");
    struct Case {
        const char* what;
        std::string clip;
        int x;
        bool pastes;
    } cases[] = {
        {"minimum X of INT_MIN", testenv::RegressionFile("clip/ub-fsm-paste-minx.clip.brd"), 10, false},
        {"lands on the bound", fragment, fsmfile::kStateLimit, true},
        {"lands beyond the bound", fragment, fsmfile::kStateLimit + 1, false},
        {"paste point far out", fragment, INT_MIN, false},
    };
    for (const Case& c : cases) {
        testenv::WriteBytes("clip.brd", c.clip);
        TestUiPort ui;
        TFSMScheme doc;
        AddState(doc, 40, 40, "Q", "0");
        const std::size_t before = doc.Entities().size();
        EXPECT_EQ(doc.PasteFromClipboard(c.x, 300), c.pastes) << c.what;
        if (c.pastes) {
            ASSERT_EQ(doc.States().size(), 2u) << c.what;
            EXPECT_EQ(doc.States()[1]->GetX(), c.x) << c.what;
            EXPECT_TRUE(ui.Messages().empty()) << c.what;
        } else {
            EXPECT_EQ(doc.Entities().size(), before) << c.what;
            EXPECT_TRUE(doc.Selection().empty()) << c.what;
            EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a}) << c.what;
        }
    }
}

} // namespace
