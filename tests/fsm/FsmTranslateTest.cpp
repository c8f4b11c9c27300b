// The transition-table text.

#include <gtest/gtest.h>

#include <cstring>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "fsm/FsmServices.h"
#include "fsm/FsmTable.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

std::vector<std::string> TableOf(TFSMScheme& doc) {
    TStringList lines;
    EXPECT_TRUE(doc.Check());
    doc.Translate(&lines);
    return Lines(lines);
}

TEST(FsmTable, TheWorkedExampleGivesItsSevenLines) {
    TFSMScheme doc;
    BuildExample(doc);
    EXPECT_EQ(TableOf(doc), ExampleLines());
}

TEST(FsmTable, TheExampleReadFromItsFileGivesTheSameLines) {
    testenv::TempDir dir;
    const AnsiString name = dir.File("пример.fsm"_a);
    {
        TFSMScheme doc;
        doc.SetFileName(name);
        BuildExample(doc);
        ASSERT_TRUE(doc.SaveToFile());
    }
    TFSMScheme doc;
    doc.SetFileName(name);
    ASSERT_TRUE(doc.LoadFromFile());
    EXPECT_EQ(TableOf(doc), ExampleLines());
    TStringList lines;
    lines.Add("before");
    TFsmServices services;
    EXPECT_TRUE(services.AppendTransitionTable(name, &lines));
    std::vector<std::string> want = ExampleLines();
    want.insert(want.begin(), "before");
    EXPECT_EQ(Lines(lines), want);
}

TEST(FsmTable, WithoutAResetTransitionTheResetRowTargetsNothing) {
    TFSMScheme doc;
    BuildExample(doc, false);
    std::vector<std::string> want = ExampleLines();
    want[2] = "%%00000000-11111111=00000000;";
    EXPECT_EQ(TableOf(doc), want);
}

// A don't-care output is written in the state's row as it stands, padded
// with '0' in front like any other output value.
TEST(FsmTable, ADontCareOutputIsWrittenUnchanged) {
    const struct {
        const char* value;
        const char* row;
    } cases[] = {{"X", "%%0000000X;"}, {"1X0", "%%000001X0;"}, {"XXXXXXXX", "%%XXXXXXXX;"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TestUiPort ui;
        TFSMScheme doc;
        const Example e = BuildExample(doc);
        const int outputs = int(std::strlen(c.value));
        std::vector<AnsiString> names;
        for (int k = 0; k < outputs; ++k) names.push_back("y" + IntToStr(k));
        SetSignals(doc, {"a", "b"}, names);
        e.S1->GetCondition()->SetText(c.value);
        e.S2->GetCondition()->SetText(AnsiString::StringOfChar('1', outputs));
        const std::vector<std::string> got = TableOf(doc);
        ASSERT_EQ(got.size(), 7u);
        EXPECT_EQ(got[4], std::string(c.row) + "00000001-11111100=00000010;");
        EXPECT_TRUE(ui.Messages().empty());
    }
}

TEST(FsmTable, FiveOutgoingTransitionsWrapTheRowAt120Characters) {
    TFSMScheme doc;
    SetSignals(doc, {"a", "b"}, {"y"});
    TfsmElement* s = AddState(doc, 100, 100, "S", "1");
    AddTransition(doc, 20, 100, 100, 100, "XX");
    const char* conds[] = {"00", "01", "10", "11"};
    std::vector<TfsmElement*> targets;
    for (int i = 0; i < 4; ++i) targets.push_back(AddState(doc, 300, 100 + 100 * i, "T", "0"));
    for (int i = 0; i < 4; ++i) Connect(doc, s, targets[std::size_t(i)], conds[i]);
    // The fifth leaves from S too, to the first target, through a curve.
    TfsmLink* fifth = doc.CreateTransition4(100, 100, 150, 500, 250, 500, 300, 100);
    fifth->EndDrag();
    doc.CreateTransitionCondition(fifth)->SetText("0X");
    ASSERT_EQ(s->OutgoingCount(), 5);
    TStringList lines;
    s->SetTranslationNumber(1);
    for (int i = 0; i < 4; ++i) targets[std::size_t(i)]->SetTranslationNumber(i + 2);
    s->Translate(&lines);
    const std::vector<std::string> got = Lines(lines);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "%~5 ");
    EXPECT_EQ(got[1], "%%00000001;"
                      "00000000-11111100=00000010;"
                      "00000001-11111100=00000011;"
                      "00000010-11111100=00000100;"
                      "00000011-11111100=00000101;");
    EXPECT_EQ(got[1].size(), 119u);
    EXPECT_EQ(got[2], "%%00000000-11111101=00000010;");
}

TEST(FsmTable, PaddingTargetBytesAndEmptyConditions) {
    using namespace fsmtable;
    EXPECT_EQ(ValueMaskItem("1X0X1X0X", PadCount(8), nullptr), "10001000-01010101=00000000;"_a);
    EXPECT_EQ(TargetByte(300), "00101100"_a);
    EXPECT_EQ(TargetByte(1), "00000001"_a);
    EXPECT_EQ(TargetByte(255), "11111111"_a);
    EXPECT_EQ(PadCount(0), 0);
    EXPECT_EQ(PadCount(9), 7);
    EXPECT_EQ(Pad("1", 7, '1'), "11111111"_a);

    // With 0 inputs every condition is empty.
    TFSMScheme doc;
    SetSignals(doc, {}, {"y"});
    TfsmElement* s = AddState(doc, 100, 100, "S", "1");
    AddTransition(doc, 20, 100, 100, 100, nullptr);
    const std::vector<std::string> got = TableOf(doc);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], "%~1 0 ");
    EXPECT_EQ(got[1], "%%-=00000001;");
    EXPECT_EQ(got[2], "%%-=00000000;");
    // A state without outgoing transitions: its count line and its output row.
    EXPECT_EQ(got[3], "%~0 ");
    EXPECT_EQ(got[4], "%%00000001;");
    (void)s;
}

TEST(FsmTable, ADontCareOutputOfAStateIsWrittenAsItStands) {
    TFSMScheme doc;
    TfsmElement* s = AddState(doc, 100, 100, "S", "1X0X");
    TStringList lines;
    s->Translate(&lines);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"%~0 ", "%%00001X0X;"}));
}

TEST(FsmTable, NothingIsWrittenWithoutASuccessfulCheck) {
    TestUiPort ui;
    TFSMScheme doc;
    BuildExample(doc, false);
    TStringList lines;
    doc.Translate(&lines); // never checked: no initial transition known
    EXPECT_EQ(lines.Count(), 0);
}

} // namespace
