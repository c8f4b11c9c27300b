// Stimulus formulas: what a typed text becomes (checked, cut or cleared,
// parsed, normalised) and how formulas step an input tick by tick, with the
// one-scan pulses of steps that last no tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "debugger/StimulusFormula.h"

namespace {

using Events = std::vector<std::string>;

// Inputs by signal name, their levels, and everything done to them in order.
struct FakeSink : IFormulaSink {
    std::map<std::string, int> Level;
    Events Log;
    // The level of every input at each scan.
    std::vector<std::map<std::string, int>> Scans;

    void Scan() override {
        Log.push_back("scan");
        Scans.push_back(Level);
    }
    void OutputsFollow() override { Log.push_back("follow"); }
    int InputLevel(const FormulStr& f) override { return Level[f.Name.str()]; }
    void ToggleInput(const FormulStr& f) override {
        int& level = Level[f.Name.str()];
        level = 1 - level;
        Log.push_back(f.Name.str() + (level ? " up" : " down"));
    }
};

struct Parsed {
    std::vector<int32_t> durations; // with the closing -1
    std::vector<int> levels;
};

Parsed Parse(const AnsiString& text) {
    int32_t d[kMaxFormulaSteps + 1];
    uint8_t l[kMaxFormulaSteps];
    const int n = ParseFormula(text, d, l);
    Parsed p;
    for (int k = 0; k <= n; ++k) p.durations.push_back(d[k]);
    for (int k = 0; k < n; ++k) p.levels.push_back(l[k]);
    return p;
}

AnsiString Repeat(const char* step, int times) {
    AnsiString s;
    for (int i = 0; i < times; ++i) s += step;
    return s;
}

TEST(FormulaText, IsCheckedCutOrClearedAsTheEngineerShouldSeeIt) {
    const struct {
        AnsiString typed;
        bool ok;
        AnsiString shown; // the text after the check
    } cases[] = {
        {"10H5L", true, "10H5L"},
        {"007H", true, "007H"},
        {"10H5", true, "10H5"},       // text after the last letter is no step
        {"3L2H", true, "3L2H"},
        {"0H5L", true, "0H5L"},       // a step of no tick is a pulse
        {"2147483647H", true, "2147483647H"},
        {"1x2H", false, "1x"},
        {"10H5xL", false, "10H5x"},   // the cut counts in the whole text
        {"1 H", false, "1 "},
        {"-1H", false, "-"},
        {"H5", false, ""},
        {"5h", false, ""},            // a small letter is no level
        {"", false, ""},
        {"12", false, ""},
        {"5HH", false, "5HH"},        // an empty duration
        {"5HL7H", false, "5HL"},
        {"0H0L", false, "0H0L"},      // no step lasts
        {"2147483648H", false, "2147483648"},
        {"1H21474836470L", false, "1H21474836470"},
        {Repeat("0H", 24) + "5L", false, Repeat("0H", 24) + "5L"}, // the lasting 25th step is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.str());
        AnsiString text = c.typed;
        EXPECT_EQ(CheckFormula(text), c.ok);
        EXPECT_EQ(text, c.shown);
    }
}

TEST(FormulaText, ParsesStepsAndNormalises) {
    const struct {
        AnsiString text;
        std::vector<int32_t> durations;
        std::vector<int> levels;
        AnsiString normal;
    } cases[] = {
        {"10H5L", {10, 5, -1}, {1, 0}, "10H5L"},
        {"007H", {7, -1}, {1}, "7H"},
        {"0003L000H", {3, 0, -1}, {0, 1}, "3L0H"},
        {"10H5", {10, -1}, {1}, "10H"},
        {"2147483647L", {2147483647, -1}, {0}, "2147483647L"},
        {"", {-1}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.str());
        const Parsed p = Parse(c.text);
        EXPECT_EQ(p.durations, c.durations);
        EXPECT_EQ(p.levels, c.levels);
        FormulStr f;
        f.Count = ParseFormula(c.text, f.Durations, f.Levels);
        EXPECT_EQ(FormulaNormalForm(f), c.normal);
    }
}

TEST(FormulaText, TwentyFiveStepsKeepTwentyFour) {
    AnsiString text;
    for (int k = 1; k <= 25; ++k) text += IntToStr(k) + (k % 2 ? "H" : "L");
    AnsiString checked = text;
    ASSERT_TRUE(CheckFormula(checked));
    const Parsed p = Parse(text);
    ASSERT_EQ(p.durations.size(), 25u);
    EXPECT_EQ(p.durations[23], 24);
    EXPECT_EQ(p.durations[24], -1);
    EXPECT_EQ(p.levels[23], 0);
    FormulStr f;
    f.Count = ParseFormula(text, f.Durations, f.Levels);
    EXPECT_EQ(f.Count, 24);
    EXPECT_EQ(FormulaNormalForm(f).Pos("25H"), 0);
}

TEST(FormulaText, AnUncheckedTextReadsAsFarAsItGoesWithoutOverflow) {
    // Only checked texts reach the parser; a damaged one must still stay in bounds.
    EXPECT_EQ(Parse("99999999999999999999H").durations, (std::vector<int32_t>{2147483647, -1}));
    EXPECT_EQ(Parse("1x2H").durations, (std::vector<int32_t>{1, -1}));
    EXPECT_EQ(Parse("HL").durations, (std::vector<int32_t>{0, 0, -1}));
    EXPECT_EQ(Parse(Repeat("H", 40)).durations.size(), 25u);
}

// ---- stepping --------------------------------------------------------------------------

class Formulas : public ::testing::Test {
protected:
    int Add(const char* name, const char* text, int row = 0) {
        int i = set.Find(name);
        if (i < 0) i = set.Append();
        set.Set(i, name, row, text, sink);
        return i;
    }
    // The level of the input after each of n ticks.
    std::vector<int> Run(const char* name, int ticks) {
        std::vector<int> levels;
        for (int t = 0; t < ticks; ++t) {
            set.Step(1, sink);
            levels.push_back(sink.Level[name]);
        }
        return levels;
    }
    TFormulaSet set;
    FakeSink sink;
};

TEST_F(Formulas, AFormulaSetsItsFirstLevelAtOnceThenCountsItsTicks) {
    Add("A", "3H2L");
    EXPECT_EQ(sink.Log, Events{"A up"});
    EXPECT_EQ(set[0].Text, "3H2L");
    EXPECT_EQ(set[0].Step, 0);
    EXPECT_EQ(set[0].Elapsed, 1);
    EXPECT_EQ(Run("A", 10), (std::vector<int>{1, 1, 0, 0, 1, 1, 1, 0, 0, 1}));
    EXPECT_TRUE(sink.Scans.empty());
    // A formula that starts low leaves a low input alone.
    Add("B", "2L1H");
    EXPECT_EQ(sink.Level["B"], 0);
    EXPECT_EQ(std::count(sink.Log.begin(), sink.Log.end(), "B up"), 0);
}

TEST_F(Formulas, TenHighFiveLowLastTenAndFiveTicks) {
    Add("A", "10H5L");
    // Set high at tick 0: ticks 1-9 high, low from tick 10 to 14, high again at 15.
    std::vector<int> want;
    for (int t = 1; t <= 30; ++t) want.push_back(t % 15 < 10 ? 1 : 0);
    EXPECT_EQ(Run("A", 30), want);
}

TEST_F(Formulas, AStepOfNoTickIsAPulseOfOneScan) {
    Add("A", "2H0L");
    sink.Log.clear();
    EXPECT_EQ(Run("A", 4), (std::vector<int>{1, 1, 1, 1}));
    // At the end of the high step: down, one scan with the input low, the
    // outputs follow, up again; the next round the same.
    EXPECT_EQ(sink.Log, (Events{"A down", "scan", "follow", "A up", "A down", "scan", "follow", "A up"}));
    ASSERT_EQ(sink.Scans.size(), 2u);
    EXPECT_EQ(sink.Scans[0].at("A"), 0);
    EXPECT_EQ(set[0].Step, 0);
    EXPECT_EQ(set[0].Elapsed, 1);
}

TEST_F(Formulas, PulsesOfTwoFormulasDoNotDisturbEachOther) {
    Add("A", "1H0L");
    Add("B", "3L", 1);
    Add("C", "1L0H", 2);
    sink.Log.clear();
    set.Step(1, sink);
    // A first (its pulse and one scan), B counts, C then pulses with A high again.
    EXPECT_EQ(sink.Log, (Events{"A down", "scan", "follow", "A up", "C up", "scan", "follow", "C down"}));
    ASSERT_EQ(sink.Scans.size(), 2u);
    EXPECT_EQ(sink.Scans[1].at("A"), 1);
    EXPECT_EQ(sink.Scans[1].at("C"), 1);
}

TEST_F(Formulas, AFormulaThatNeverLastsCannotHoldTheProgram) {
    // Only a checked text is ever set; one that is not must still end.
    Add("A", "0H0L");
    sink.Log.clear();
    set.Step(1, sink);
    set.Step(1, sink);
    EXPECT_LE(sink.Scans.size(), 6u);
}

TEST_F(Formulas, ReplacingKeepsThePlaceDeletingMovesLaterOnesUp) {
    Add("A", "2H");
    Add("B", "1H1L1H", 1);
    EXPECT_EQ(Add("a", "5L"), 0); // the same signal in other letters
    ASSERT_EQ(set.Count(), 2);
    EXPECT_EQ(set[0].Text, "5L");
    EXPECT_EQ(set[0].Name, "a");
    set.Step(1, sink);
    set.Delete(0);
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set[0].Name, "B");
    EXPECT_EQ(set[0].Count, 3);
    EXPECT_EQ(set[0].Row, 1);
    EXPECT_EQ(set[0].Step, 1);
    set.Delete(5); // nothing there
    EXPECT_EQ(set.Count(), 1);
}

TEST_F(Formulas, RetiredTextsJoinTheHistoryOnce) {
    for (int i = 0; i < TFormulaSet::kMaxFormulas; ++i) Add(("S" + std::to_string(i)).c_str(), i % 2 ? "1H" : "2L", i);
    EXPECT_EQ(set.Append(), -1);
    EXPECT_EQ(set.Count(), TFormulaSet::kMaxFormulas);
    set.Retire(0);
    EXPECT_EQ(set.History().Text(), "2L\r\n");
    set.RetireAll();
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.History().Text(), "2L\r\n1H\r\n");
    set.Release();
    EXPECT_EQ(set.History().Count(), 2);
}

} // namespace
