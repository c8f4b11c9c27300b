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
#include "platform/testing/TestUiPort.h"
#include "platform/UiPort.h"

namespace {

using namespace fsmtest;

using Machine = std::vector<std::pair<int, int>>;

// Loads the bytes and saves them again; logic is what was read, messages
// what the load said.
std::string Reload(const std::string& bytes, Machine* logic, std::vector<AnsiString>* messages) {
    TestUiPort ui;
    TFSMScheme doc;
    EXPECT_TRUE(doc.LoadFromBytes(bytes));
    *logic = Logic(doc);
    *messages = ui.Messages();
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
    // The logic the first load must give, quietly, where it is known.
    struct Case { const char* what; std::string bytes; Machine logic; } cases[] = {
        // One transition from S1 (the first state) to S2, whose circles overlap.
        {"overlapping states", testenv::RegressionFile("fsm/corrupt-overlapping-states-transition-retargets.fsm"),
         {{0, 1}}},
        {"fuzzer-found retarget", testenv::RegressionFile("fsm/corrupt-fuzzer-found-retarget.fsm"), {}},
        {"ends off their circles", testenv::RegressionFile("fsm/drift-load-save-not-fixed-point.fsm"), {}},
        {"state at the limit", testenv::RegressionFile("fsm/state-at-the-limit-snaps-beyond.fsm"), {}},
        {"example with overlapping states", built.SaveToBytes(), Logic(built)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine first, again;
        std::vector<AnsiString> messages;
        const std::string saved = Reload(c.bytes, &first, &messages);
        if (!c.logic.empty()) {
            EXPECT_EQ(first, c.logic);
            EXPECT_TRUE(messages.empty());
        }
        std::string bytes = saved;
        for (int cycle = 0; cycle < 3; ++cycle) {
            bytes = Reload(bytes, &again, &messages);
            EXPECT_TRUE(messages.empty()) << "cycle " << cycle;
            EXPECT_EQ(again, first) << "cycle " << cycle;
            EXPECT_EQ(bytes, saved) << "cycle " << cycle;
        }
    }
}

TEST(FsmReload, NamedStateCountsOnlyWhereTheEndLies) {
    // A one-transition file: the states at (0,0) and (200,0), the transition
    // from the first to the second whatever ids it names.
    TFSMScheme built;
    TfsmElement* a = AddState(built, 0, 0, "A", "0");
    Connect(built, a, AddState(built, 200, 0, "B", "0"), "1");
    const std::string good = built.SaveToBytes();
    const std::size_t ids = std::size_t(fsmfile::kNamesOffset) + 2 * 21 + 2 * 137 + 1 + 36;
    const struct { const char* what; int source, target; } cases[] = {
        {"as written", 0, 1},
        {"ids swapped: the drawing decides", 1, 0},
        {"ids beyond the file", 77, -5},
        {"id naming the transition itself", 2, 2},
    };
    for (const auto& c : cases) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[ids + std::size_t(i)] = char((unsigned(c.source) >> (8 * i)) & 0xFF);
            bytes[ids + 4 + std::size_t(i)] = char((unsigned(c.target) >> (8 * i)) & 0xFF);
        }
        TFSMScheme doc;
        ASSERT_TRUE(doc.LoadFromBytes(bytes)) << c.what;
        EXPECT_EQ(Logic(doc), (Machine{{0, 1}})) << c.what;
    }
}

TEST(FsmReload, FileCutShortIsReportedAndNotWrittenOverUnasked) {
    testenv::TempDir dir;
    TFSMScheme built;
    BuildExample(built);
    const std::string whole = built.SaveToBytes(), cut = whole.substr(0, whole.size() - 100);
    const AnsiString path = dir.File("cut.fsm");
    // A whole file asks nothing; a cut one is reported, and saved over only when agreed.
    for (int answer : {mrNone, mrNo, mrYes}) {
        testenv::WriteBytes(ToFsPath(path), answer == mrNone ? whole : cut);
        TestUiPort ui;
        ui.Answer(answer);
        TFSMScheme doc;
        doc.SetFileName(path);
        ASSERT_TRUE(doc.LoadFromFile());
        EXPECT_FALSE(doc.Entities().empty());
        if (answer == mrNone) {
            EXPECT_TRUE(doc.SaveToFile());
            EXPECT_TRUE(ui.Calls.empty());
            continue;
        }
        EXPECT_EQ(ui.Messages(), std::vector<AnsiString>{"Файл разрушен!!"_a});
        EXPECT_EQ(doc.SaveToFile(), answer == mrYes);
        ASSERT_EQ(ui.Calls.size(), 2u);
        EXPECT_EQ(ui.Calls[1].kind, TestUiPort::kMessageDlg);
        EXPECT_EQ(ui.Calls[1].text,
                  "Файл "_a + path + " был прочитан не полностью. Записать поверх него только прочитанную часть?"_a);
        EXPECT_EQ(testenv::ReadBytes(ToFsPath(path)) == cut, answer == mrNo);
        // Once agreed, no more questions.
        if (answer == mrYes) {
            EXPECT_TRUE(doc.SaveToFile());
            EXPECT_EQ(ui.Calls.size(), 2u);
        }
    }
}

TEST(FsmReload, AFileRefusedWholeIsNotWrittenOverUnasked) {
    testenv::TempDir dir;
    TFSMScheme built;
    BuildExample(built);
    // The version follows the stored name; the magic opens the signature.
    std::string otherVersion = built.SaveToBytes(), otherMagic = otherVersion;
    otherVersion[FileHeader::kCountOffset - 4] ^= 0x55;
    otherMagic[kFileHeaderSize] ^= 0x55;
    const AnsiString damaged = "Файл разрушен!!"_a;
    const struct Case {
        const char* what;
        std::string bytes;
        AnsiString message;
    } cases[] = {
        {"empty", "", damaged},
        {"not a state machine", std::string(200, 'x'), "Старая версия файла"_a},
        {"header cut short", built.SaveToBytes().substr(0, 12), damaged},
        {"another version", otherVersion, "Старая версия файла"_a},
        {"another magic", otherMagic, damaged},
    };
    const AnsiString path = dir.File("m.fsm");
    for (const Case& c : cases)
        for (int answer : {mrNo, mrYes}) {
            SCOPED_TRACE(c.what);
            testenv::WriteBytes(ToFsPath(path), c.bytes);
            TestUiPort ui;
            ui.Answer(answer);
            TFSMScheme doc;
            doc.SetFileName(path);
            EXPECT_FALSE(doc.LoadFromFile());
            // The load's own message first.
            ASSERT_EQ(ui.Calls.size(), 1u);
            EXPECT_EQ(ui.Calls[0].text, c.message);
            EXPECT_EQ(doc.SaveToFile(), answer == mrYes);
            ASSERT_EQ(ui.Calls.size(), 2u);
            EXPECT_EQ(ui.Calls[1].text,
                      "Файл "_a + path + " был прочитан не полностью. Записать поверх него только прочитанную часть?"_a);
            EXPECT_EQ(testenv::ReadBytes(ToFsPath(path)) == c.bytes, answer == mrNo);
        }
}

TEST(FsmReload, PasteRefusesFragmentsThatLandOutside) {
    TFSMScheme source;
    TfsmElement* s = AddState(source, 500, 300, "S", "0");
    source.ClearSelection();
    source.SelectAt(s->GetX(), s->GetY(), true);
    ASSERT_TRUE(source.CopyToClipboard());
    const std::string fragment = testenv::ReadBytes("clip.brd");
    // The clipboard file and the X it is pasted at; whether it is pasted.
    struct Case { const char* what; std::string clip; int x; bool pastes; } cases[] = {
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
