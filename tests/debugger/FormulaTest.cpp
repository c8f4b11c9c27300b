// Stimulus formulas: what a typed text becomes (checked, cut or cleared,
// parsed, normalised) and how formulas step an input tick by tick, with the
// one-scan pulses of steps that last no tick.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "debugger/StimulusFormula.h"

namespace {

using Events = std::vector<std::string>;

// Inputs by signal name and everything done to them, in order.
struct FakeSink : IFormulaSink {
    std::map<std::string, int> Level;
    Events Log;
    void Scan() override { Log.push_back("scan " + std::to_string(Level["A"])); }
    void OutputsFollow() override { Log.push_back("follow"); }
    int InputLevel(const FormulStr& f) override { return Level[f.Name.str()]; }
    void ToggleInput(const FormulStr& f) override {
        int& level = Level[f.Name.str()];
        level = 1 - level;
        Log.push_back(f.Name.str() + (level ? " up" : " down"));
    }
};

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
        {"10H5L", true, "10H5L"}, {"007H", true, "007H"}, {"10H5", true, "10H5"}, {"0H5L", true, "0H5L"},
        {"2147483647H", true, "2147483647H"},
        {"1x2H", false, "1x"}, {"10H5xL", false, "10H5x"}, // cut after the first bad character
        {"H5", false, ""}, {"5h", false, ""}, {"", false, ""},
        {"5HH", false, "5HH"}, {"5HL7H", false, "5HL"},    // an empty duration
        {"0H0L", false, "0H0L"},                          // no step lasts
        {"2147483648H", false, "2147483648"}, {"1H21474836470L", false, "1H21474836470"},
        {Repeat("0H", 24) + "5L", false, Repeat("0H", 24) + "5L"}, // the lasting 25th step is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.str());
        AnsiString text = c.typed;
        EXPECT_EQ(CheckFormula(text), c.ok);
        EXPECT_EQ(text, c.shown);
    }
}

TEST(FormulaText, ParsesStepsAndNormalisesKeepingTwentyFourSteps) {
    AnsiString steps25;
    for (int k = 1; k <= 25; ++k) steps25 += IntToStr(k) + (k % 2 ? "H" : "L");
    const struct {
        AnsiString text;
        std::vector<int32_t> durations;
        std::vector<int> levels;
        AnsiString normal;
    } cases[] = {
        {"10H5L", {10, 5, -1}, {1, 0}, "10H5L"},
        {"007H", {7, -1}, {1}, "7H"},
        {"0003L000H9", {3, 0, -1}, {0, 1}, "3L0H"},
        {"99999999999999999999H", {2147483647, -1}, {1}, "2147483647H"}, // unchecked: no overflow
        {steps25, {}, {}, steps25.SubString(1, steps25.Pos("25H") - 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.str());
        FormulStr f;
        f.Count = ParseFormula(c.text, f.Durations, f.Levels);
        EXPECT_EQ(FormulaNormalForm(f), c.normal);
        if (c.durations.empty()) {
            EXPECT_EQ(std::pair(f.Count, f.Durations[24]), std::pair(24, -1));
            continue;
        }
        EXPECT_EQ(std::vector<int32_t>(f.Durations, f.Durations + f.Count + 1), c.durations);
        EXPECT_EQ(std::vector<int>(f.Levels, f.Levels + f.Count), c.levels);
    }
}

class Formulas : public ::testing::Test {
protected:
    int Add(const char* name, const char* text, int row = 0) {
        int i = set.Find(name);
        if (i < 0) i = set.Append();
        set.Set(i, name, row, text, sink);
        return i;
    }
    // The level of the input after each of n ticks.
    std::string Run(const char* name, int ticks) {
        std::string levels;
        for (int t = 0; t < ticks; ++t) {
            set.Step(1, sink);
            levels += char('0' + sink.Level[name]);
        }
        return levels;
    }
    TFormulaSet set;
    FakeSink sink;
};

TEST_F(Formulas, AFormulaSetsItsFirstLevelAtOnceThenCountsItsTicks) {
    Add("A", "3H2L");
    EXPECT_EQ(sink.Log, Events{"A up"});
    EXPECT_EQ(Run("A", 10), "1110011100");
    Add("B", "2L1H"); // starts low: a low input stays
    EXPECT_EQ(sink.Log.size(), 4u);
}

// The first step lasts its whole count of ticks from the first tick, as
// every later step does; restarting takes the first step again at once.
TEST_F(Formulas, EveryStepLastsItsTicksTheFirstFromTheFirstTick) {
    const struct {
        const char* text;
        int ticks;
        const char* levels;
    } cases[] = {
        {"10H10L", 40, "1111111111000000000011111111110000000000"},
        {"3H2L", 10, "1110011100"},
        {"2L1H", 6, "001001"},
        {"20H", 25, "1111111111111111111111111"},
        {"1H1L", 4, "1010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        set.Release();
        sink.Level.clear();
        Add("A", c.text);
        EXPECT_EQ(Run("A", c.ticks), c.levels);
    }
}

TEST_F(Formulas, RestartingTakesTheFirstStepAgainAtOnce) {
    Add("A", "3H2L");
    Add("B", "2L2H", 1);
    EXPECT_EQ(Run("A", 4), "1110");
    sink.Level["A"] = 0; // every input cleared, as zeroing the signals does
    sink.Level["B"] = 0;
    sink.Log.clear();
    set.Restart(sink);
    EXPECT_EQ(sink.Log, Events{"A up"});
    EXPECT_EQ(Run("A", 3), "111");
    EXPECT_EQ(sink.Level["B"], 1); // its third tick: the second step
    EXPECT_EQ(set[1].Step, 1);
    EXPECT_EQ(Run("A", 3), "001");
}

TEST_F(Formulas, AStepOfNoTickIsAPulseOfOneScan) {
    Add("A", "2H0L");
    sink.Log.clear();
    EXPECT_EQ(Run("A", 5), "11111");
    // At the end of the high step: down, one scan with the input low, the
    // outputs follow, up again; after the first two ticks, every second tick.
    EXPECT_EQ(sink.Log, (Events{"A down", "scan 0", "follow", "A up", "A down", "scan 0", "follow", "A up"}));
    // A formula that never lasts is refused; set all the same, it must still end.
    Add("B", "0H0L", 1);
    set.Step(1, sink);
    EXPECT_LE(sink.Log.size(), 30u);
}

TEST_F(Formulas, ReplacingKeepsThePlaceDeletingMovesLaterOnesUp) {
    Add("A", "2H");
    Add("B", "1H1L1H", 1);
    EXPECT_EQ(Add("a", "5L"), 0); // the same signal in other letters
    ASSERT_EQ(set.Count(), 2);
    EXPECT_EQ(set[0].Text, "5L");
    set.Step(1, sink);
    set.Step(1, sink);
    set.Delete(0);
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(std::tuple(set[0].Name, set[0].Count, set[0].Step), std::tuple("B", 3, 1)); // its own step count
    for (int i = 1; i < TFormulaSet::kMaxFormulas; ++i) Add(("S" + std::to_string(i)).c_str(), "1H", i);
    EXPECT_EQ(set.Append(), -1);
}

} // namespace
