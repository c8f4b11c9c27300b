// The signature analysis and the CASE check: which signals become analysed
// inputs and outputs, the order of the enumeration against a recursive
// reference, the constants found, cancelling, and the check's words.
#include <functional>
#include <string>

#include "EmulatorTestSupport.h"
#include "debugger/SignatureAnalysis.h"
#include "debugger/WantedSignals.h"

namespace {

using namespace emutest;
using namespace dbgfile;
using Strings = std::vector<std::string>;

Strings Lines(const TStringList& list) {
    Strings out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(AnsiToUtf8(list[i]));
    return out;
}

class AnalysisTest : public EmulatorTest {
protected:
    TSignalLists lists;

    void Build(const Builder& b) {
        LoadOk(b);
        lists.BuildSignalLists(vac);
    }
    // Loads the program, builds the lists and runs the whole analysis.
    Strings Analyse(const Builder& b) {
        Build(b);
        TSignatureAnalysis a(lists);
        EXPECT_TRUE(a.Begin(vac));
        while (!a.Step(1000)) {}
        EXPECT_TRUE(a.Finished());
        EXPECT_FALSE(vac.SuppressDisplay);
        return Lines(a.Constants());
    }
};

TEST_F(AnalysisTest, ListsTakeOperandsAsSignalsAndSortTheRestByTheirDrivers) {
    Builder b;
    b.Inputs.push_back({1, 0, 1});  // input driver: byte 0
    b.Outputs.push_back({2, 1, 1}); // output driver: byte 1
    const uint16_t A = Op(0, 0), B = Op(0, 1), Y = Op(1, 0), X = Internal(5), open = Internal(0);
    // The first name record is empty: it keeps its index (and loses its
    // comment), so every later line names the record after it.
    const struct {
        uint16_t op;
        const char* name;
        AnsiString comment;
    } names[] = {{Op(3000), "", "lost"}, {A, "A", "Кнопка"_a}, {B, "B", ""}, {Y, "Y", "Лампа"_a}, {X, "X", ""},
                 {Op(0, 2), "SpareIn", ""}, {Op(1, 1), "SpareOut", ""}, {Internal(6), "Spare", ""}, {open, "_null_in_", ""}};
    for (const auto& n : names) b.AddName(n.op, n.name, n.comment);
    b.And({A, Internal(20), open}, {X}); // an unnamed input adds nothing; "_null_in_" is not a signal
    b.Or({X, B}, {Y});                   // X is written above and read here: on both sides
    // A CASE table whose values equal A's and Y's operand words: values are no signals.
    b.CaseTable(14, Bits(2000, 8), {{A, Y}}, 0, {Internal(30)});
    Build(b);
    EXPECT_EQ(Lines(lists.Inputs), (Strings{"A=1", "X=4", "B=2", "SpareIn=5"}));
    EXPECT_EQ(Lines(lists.Outputs), (Strings{"X=4", "Y=3", "SpareOut=6", "Spare=7", "_null_in_=8"}));
    ASSERT_EQ(lists.InputRecords.size(), 4u);
    ASSERT_EQ(lists.OutputRecords.size(), 5u);
    const auto &in = lists.InputRecords[2], &out = lists.OutputRecords[1];
    EXPECT_EQ(std::tuple(in.Index, in.ByteAddress, in.Bit, out.ByteAddress, out.Bit), std::tuple(2, 0, 1, 1, 0));
    // Named; "_null_in_"; unnamed; outside the image.
    EXPECT_EQ((std::vector<bool>{lists.IsNamedSignal(0, 0), lists.IsNamedSignal(3072, 0), lists.IsNamedSignal(3074, 4),
                                 lists.IsNamedSignal(4096, 0)}),
              (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(vac.AnalysisTimerValue, 2);
    // Adding a signal twice keeps one line.
    lists.AddAnalysisInput(0, 0);
    lists.AddAnalysisOutput(1, 0);
    EXPECT_EQ(lists.Inputs.Count() + lists.Outputs.Count(), 9);
    // Comments go by the index their line carries.
    TStringList comments;
    std::vector<int> map;
    TSignalLists::CollectComments(vac, comments, map);
    EXPECT_EQ(Lines(comments), (Strings{"Кнопка", "Лампа"}));
    EXPECT_EQ(map, (std::vector<int>{1, 3}));
}

TEST_F(AnalysisTest, TheLastTimerWithAnUnnamedStopGivesTheTimerValue) {
    const struct {
        const char* what;
        bool namedStop1, namedStop2;
        int expected;
    } cases[] = {{"both named", true, true, 2}, {"first unnamed", false, true, 7},
                 {"second unnamed", true, false, 11}, {"both unnamed: the last", false, false, 11}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Builder b;
        b.Timers = 2;
        b.AddName(Internal(1), "Start");
        b.AddName(Internal(2), "Stop");
        b.Timer(Internal(1), c.namedStop1 ? Internal(2) : Internal(9), 7, 0, {Internal(3)});
        b.Timer(Internal(1), c.namedStop2 ? Internal(2) : Internal(9), 11, 1, {Internal(4)});
        Build(b);
        EXPECT_EQ(vac.AnalysisTimerValue, c.expected);
        EXPECT_EQ(Lines(lists.Inputs), c.namedStop1 || c.namedStop2 ? (Strings{"Start=0", "Stop=1"}) : Strings{"Start=0"});
        vac.MinTimerPreset(); // the timing diagram's walk resets it
        EXPECT_EQ(vac.AnalysisTimerValue, 0);
    }
}

std::string SetEvent(int k, int v) { return "set " + std::to_string(k) + "=" + std::to_string(v); }

// Records the emulator operations the analysis makes.
class WatchedAnalysis : public TSignatureAnalysis {
public:
    using TSignatureAnalysis::TSignatureAnalysis;
    Strings events;

protected:
    void Scan() override { events.push_back("scan"); TSignatureAnalysis::Scan(); }
    void Tick() override { events.push_back("tick"); TSignatureAnalysis::Tick(); }
    void ClearImages() override { events.push_back("clear"); TSignatureAnalysis::ClearImages(); }
    void SetInput(int k, int v) override { events.push_back(SetEvent(k, v)); TSignatureAnalysis::SetInput(k, v); }
};

// The analysis as a plain recursion over n inputs with timer value tv.
Strings Reference(int n, int tv) {
    Strings e{"scan", "clear", "scan", "clear"};
    auto evaluate = [&] {
        e.push_back("scan");
        for (int p = 0; p < tv; ++p) e.insert(e.end(), {"scan", "tick"});
    };
    std::function<void(int, int, int)> enumerate = [&](int k, int a, int b) {
        evaluate();
        for (int v : {a, b}) {
            e.push_back(SetEvent(k, v));
            if (k < n - 1) enumerate(k + 1, a, b);
            evaluate();
        }
    };
    enumerate(0, 1, 0);
    enumerate(0, 0, 1);
    return e;
}

// Also: the run counter after n > 0 inputs is 2 + 6 (2^n - 1)(1 + tv).
TEST_F(AnalysisTest, TheEnumerationFollowsTheRecursionInAnySliceSize) {
    for (int tv : {0, 1, 2, 5}) {
        for (int n = 0; n <= 5; ++n) {
            for (uint64_t slice : {uint64_t(1), uint64_t(3), uint64_t(1000000)}) {
                SCOPED_TRACE("n=" + std::to_string(n) + " tv=" + std::to_string(tv) + " slice=" + std::to_string(slice));
                Build(Ors(n, tv));
                ASSERT_EQ(int(lists.InputRecords.size()), n);
                WatchedAnalysis a(lists);
                ASSERT_TRUE(a.Begin(vac));
                const uint64_t estimate = a.Estimate();
                if (n > 0) {
                    EXPECT_EQ(estimate, 2 + 6 * ((uint64_t(1) << n) - 1) * uint64_t(1 + tv));
                }
                for (bool done = false; !done;) {
                    const uint64_t before = a.ScansDone();
                    done = a.Step(slice);
                    EXPECT_LE(a.ScansDone() - before, slice);
                }
                EXPECT_EQ(a.events, Reference(n, tv));
                EXPECT_EQ(uint64_t(vac.RunCount), estimate);
                EXPECT_EQ(a.ScansDone(), estimate);
                EXPECT_EQ(vac.TickCount, int((estimate - 2) / (1 + tv) * tv));
                EXPECT_FALSE(vac.SuppressDisplay);
            }
        }
    }
}

// 70 inputs: the estimate saturates; a cancelled run lists nothing.
TEST_F(AnalysisTest, ACancelledRunListsNothingAndGivesTheDisplayBack) {
    Build(Ors(70));
    TSignatureAnalysis a(lists);
    ASSERT_TRUE(a.Begin(vac));
    EXPECT_EQ(a.Estimate(), UINT64_MAX);
    EXPECT_TRUE(vac.SuppressDisplay);
    EXPECT_FALSE(a.Step(100));
    EXPECT_TRUE(a.Active());
    a.Cancel();
    EXPECT_TRUE(a.Cancelled() && !a.Active());
    EXPECT_TRUE(a.Step(100));
    EXPECT_EQ(std::pair(a.ScansDone(), a.Constants().Count()), std::pair(uint64_t(100), 0));
    EXPECT_FALSE(vac.SuppressDisplay);
}

TEST_F(AnalysisTest, NothingRunsWithoutALoadedProgram) {
    TSignatureAnalysis a(lists);
    EXPECT_FALSE(a.Begin(vac) || a.Active());
    std::vector<int32_t> words{5};
    EXPECT_FALSE(CompareOutputs(vac, lists, words));
    EXPECT_EQ(words, std::vector<int32_t>{5});
    EXPECT_FALSE(vac.SuppressDisplay);
}

TEST_F(AnalysisTest, ConstantsAreTheOutputsThatNeverChanged) {
    const uint16_t A = Internal(1), Y = Internal(3), Y2 = Internal(4), Z = Internal(5), open = Internal(0);
    const uint16_t nullOut = Internal(6);
    struct Case {
        const char* what;
        std::vector<std::pair<uint16_t, const char*>> names;
        std::function<void(Builder&)> build;
        Strings constants;
    };
    // Constants come in the order of the output list. "_null_in_" is read
    // by no element as a signal: it joins the outputs (no driver) last and
    // never changes.
    const Case cases[] = {
        {"OR of one input", {{A, "A"}, {Y, "Y"}}, [&](Builder& b) { b.Or({A}, {Y}); }, {}},
        {"AND with an unconnected input", {{open, "_null_in_"}, {A, "A"}, {Y, "Y"}},
         [&](Builder& b) { b.And({A, open}, {Y}); }, {"Y=0", "_null_in_=0"}},
        {"inverted output of an AND of nothing", {{open, "_null_in_"}, {Y, "Y"}},
         [&](Builder& b) { b.And({open}, {Inv(Y)}); }, {"Y=1", "_null_in_=0"}},
        {"an output that is also read", {{open, "_null_in_"}, {A, "A"}, {Y, "Y"}, {Z, "Z"}},
         [&](Builder& b) { b.Or({A}, {Y}); b.And({Y, open}, {Z}); }, {"Z=0", "_null_in_=0"}},
        {"the unconnected output pin is analysed too", {{open, "_null_in_"}, {nullOut, "_null_out_"}, {A, "A"}},
         [&](Builder& b) { b.And({A, open}, {nullOut}); }, {"_null_out_=0", "_null_in_=0"}},
        {"a name listed once", {{open, "_null_in_"}, {A, "A"}, {Y, "Y"}, {Y2, "Y"}},
         [&](Builder& b) { b.And({A, open}, {Y}); b.And({A, open}, {Y2}); }, {"Y=0", "_null_in_=0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Builder b;
        for (const auto& [op, name] : c.names) b.AddName(op, name);
        c.build(b);
        EXPECT_EQ(Analyse(b), c.constants);
    }
}

// Sixteen one-input ORs give every word its own number, even with I0 forced
// to 1 by its checked row: the forced input disturbs neither analysis nor check.
TEST_F(AnalysisTest, AForcedInternalInputDisturbsNeitherAnalysisNorCheck) {
    Build(Ors(16));
    host.Rows = {true};
    vac.AddForcedInput(3072, 0, 0);
    TSignatureAnalysis a(lists);
    ASSERT_TRUE(a.Begin(vac));
    while (!a.Step(100000)) {}
    EXPECT_EQ(a.Constants().Count(), 0) << AnsiToUtf8(a.Constants().Text());
    const int before = vac.RunCount;
    std::vector<int32_t> words;
    ASSERT_TRUE(CompareOutputs(vac, lists, words));
    ASSERT_EQ(words.size(), 65536u);
    for (int n = 0; n < 65536; ++n) ASSERT_EQ(words[std::size_t(n)], n) << n;
    EXPECT_EQ(vac.RunCount - before, 65537);
    EXPECT_FALSE(vac.SuppressDisplay);
    // Once the display is back, the forced input holds again.
    vac.Run();
    EXPECT_EQ(vac.GetBit(3072, 0), 1);
}

TEST_F(AnalysisTest, FewerThanSixteenPinsLeaveTheMissingBitsZero) {
    // Three inputs, two outputs (Q2 is read back as nothing): Q0 = I0, Q1 = I1 and I2.
    Builder b;
    for (int k = 0; k < 3; ++k) b.AddName(Internal(k), AnsiString("I") + IntToStr(k));
    b.AddName(Internal(40), "Q0");
    b.AddName(Internal(41), "Q1");
    b.Or({Internal(0)}, {Internal(40)});
    b.And({Internal(1), Internal(2)}, {Internal(41)});
    Build(b);
    std::vector<int32_t> words;
    ASSERT_TRUE(CompareOutputs(vac, lists, words));
    for (int n : {0, 1, 2, 6, 7, 0xFFF8, 0xFFFF})
        EXPECT_EQ(words[std::size_t(n)], (n & 1) | ((n & 6) == 6 ? 2 : 0)) << n;
    // No input and no output at all: every word 0.
    Build(Builder());
    ASSERT_TRUE(CompareOutputs(vac, lists, words));
    EXPECT_EQ(std::count(words.begin(), words.end(), 0), 65536);
}

// An output after the input keeps the input; letter case, Cyrillic too, does not count.
TEST(WantedSignals, TheFirstLineOfANameStays) {
    TWantedSignalList w;
    const struct {
        AnsiString name;
        int kind;
        bool added;
    } adds[] = {{"A", 0, true}, {"A", 1, false}, {"a", 1, false}, {"Лампа"_a, 1, true}, {"ЛАМПА"_a, 0, false}};
    for (const auto& c : adds) EXPECT_EQ(w.Add(c.name, c.kind), c.added) << AnsiToUtf8(c.name);
    EXPECT_EQ(Lines(w.Lines()), (Strings{"A=0", "Лампа=1"}));
    EXPECT_EQ(w.KindOf(1), 1);
    EXPECT_TRUE(w.Remove("лампа"_a));
    EXPECT_FALSE(w.Remove("Лампа"_a));
    EXPECT_EQ(Lines(w.Lines()), Strings{"A=0"});
}

} // namespace
