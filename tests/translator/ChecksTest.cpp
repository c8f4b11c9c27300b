// The output-signal check and the driver-bit ordering and conflict check,
// with the exact texts of their boxes and log lines.
#include "TranslatorTestSupport.h"

using namespace trtest;

namespace {

// A string list made from lines.
class List : public TStringList {
public:
    List(const Lines& lines) {
        for (const AnsiString& l : lines)
            Add(l);
    }
};

class Checks : public ::testing::Test {
protected:
    TestUiPort ui;
    Table table;
    TLogFile log;
};

// ---- output signals ------------------------------------------------------------------------

TEST_F(Checks, IsSignalMatchesTrimmedLinesExactly) {
    List signals({Pad("V"), "_var3", Pad("Y") + " DO 3", " \t_var9\t "});
    EXPECT_TRUE(TLogFile::IsSignal("V", signals));
    EXPECT_TRUE(TLogFile::IsSignal("_var3", signals));
    EXPECT_TRUE(TLogFile::IsSignal("_var9", signals));
    EXPECT_FALSE(TLogFile::IsSignal("Y", signals)); // a driver pin carries its driver and bit
    EXPECT_FALSE(TLogFile::IsSignal("v", signals)); // exact
}

TEST_F(Checks, NothingToReportWritesOkHeadingOk) {
    List elements({"E1 and", OutLine("_var1"), InLine("A"), "", "E2 or", InLine("_var1"),
                                   OutLine("Y"), "%%5 3", ""});
    List signals({Pad("A") + " DI 0", "_var1"});
    EXPECT_FALSE(log.CheckSchemes(elements, signals));
    EXPECT_EQ(ToLines(log.Messages),
              Lines({"Ok", "Проверка переходных сигналов (переходов со схемы на схему) "_a, "Ok"}));
    EXPECT_TRUE(ui.Calls.empty());
    EXPECT_EQ(log.ErrorCount, 0);

    TLogFile empty;
    TStringList none;
    EXPECT_FALSE(empty.CheckSchemes(none, none));
    EXPECT_EQ(ToLines(empty.Messages), ToLines(log.Messages));
}

TEST_F(Checks, AnOutputDrivenTwiceGivesOneBoxAndOneLineAndNoSecondOk) {
    // Y is written by two elements (and by a third, still one report), an
    // unconnected output never counts, and the transition signal is fine.
    List elements({"E1 and", OutLine("Y"), InLine("_var1"), "", "E2 or", OutLine("y"), InLine("A"), "", "E3 or",
                OutLine("Y"), OutLine("_null_out_", true), OutLine("_null_out_"), InLine("B"), "", "E4 xor ",
                OutLine("_var1"), InLine("A"), InLine("B"), ""});
    List signals({"_var1"});
    EXPECT_TRUE(log.CheckSchemes(elements, signals));
    AnsiString text = "Сигнал y является выходным более чем для одного элемента!"_a;
    ASSERT_EQ(ui.Messages(), Lines({text}));
    EXPECT_EQ(ui.Calls[0].kind, TestUiPort::kShowMessage);
    EXPECT_EQ(ToLines(log.Messages), Lines({text, "Проверка переходных сигналов (переходов со схемы на схему) "_a}));
    EXPECT_EQ(log.ErrorCount, 0);
}

TEST_F(Checks, TransitionSignalsUsedOneWayAreNamed) {
    struct Case {
        Lines elements;
        Lines expected; // lines after the heading
    };
    AnsiString notInput = "  не является входным ни на одной схеме"_a;
    AnsiString notOutput = "  не является выходным ни на одной схеме"_a;
    const std::vector<Case> cases = {
        // Read on one scheme and written on another: fine.
        {{"E1 and", OutLine("V"), "", "E2 and", InLine("V"), ""}, {"Ok"}},
        // Read on both.
        {{"E1 and", InLine("V"), "", "E2 and", InLine("V"), ""}, {"Сигнал V"_a + notOutput}},
        // Written only, in the order met.
        {{"E1 and", OutLine("_var2"), OutLine("V"), "", "E2 and", OutLine("V"), ""},
         {"Сигнал _var2"_a + notInput, "Сигнал V"_a + notInput}},
        // The null names are never transition signals.
        {{"E1 and", InLine("_null_in_"), OutLine("_null_out_"), ""}, {"Ok"}},
    };
    for (const Case& c : cases) {
        TLogFile l;
        List elements(c.elements);
        List signals({Pad("V"), "_var2", "_null_in_", "_null_out_"});
        EXPECT_EQ(l.CheckSchemes(elements, signals), c.expected[0] != "Ok");
        Lines expected = {"Ok", "Проверка переходных сигналов (переходов со схемы на схему) "_a};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(ToLines(l.Messages), expected) << c.elements[1].c_str();
    }
}

// ---- driver bits -------------------------------------------------------------------------------

TEST_F(Checks, GetDriverFieldIsTheThirdField) {
    EXPECT_EQ(TLogFile::GetDriverField("3;Y;DO;лампа; и ещё"_a), AnsiString("DO"));
    EXPECT_EQ(TLogFile::GetDriverField("0;V;_VAR_Driver_;"), AnsiString("_VAR_Driver_"));
    EXPECT_EQ(TLogFile::GetDriverField("0;V"), AnsiString());
}

TEST_F(Checks, BitsFiveTwoTwoReportThePairMetWhileMoving) {
    List comments({"5;P1;DO;", "2;P2;DO;", "2;P3;DO;"});
    TStringList out;
    EXPECT_EQ(log.CheckBit("DO", comments, out), 1);
    EXPECT_EQ(ToLines(out), Lines({"2;P2;DO;", "2;P3;DO;", "5;P1;DO;"}));
    // The box has the line break without the four blanks, the log keeps them.
    EXPECT_EQ(ui.Messages(), Lines({" Два выхода P2 и P3\nзанимают один 2-й бит в драйвере DO"_a}));
    EXPECT_EQ(ui.Calls[0].kind, TestUiPort::kShowMessage);
    EXPECT_EQ(ToLines(log.Messages), Lines({" Два выхода P2 и P3\n    занимают один 2-й бит в драйвере DO"_a}));
    EXPECT_EQ(log.ErrorCount, 0);
}

TEST_F(Checks, APairMetAtFirstSightKeepsTheIndentInTheBox) {
    List comments({"3;P1;D;", "3;P2;D;", "1;Q;E;"});
    TStringList out;
    EXPECT_EQ(log.CheckBit("D", comments, out), 1);
    EXPECT_EQ(ToLines(out), Lines({"3;P1;D;", "3;P2;D;"}));
    AnsiString text = " Два выхода P1 и P2\n    занимают один 3-й бит в драйвере D"_a;
    EXPECT_EQ(ui.Messages(), Lines({text}));
    EXPECT_EQ(ToLines(log.Messages), Lines({text}));
    // No pair, and an empty driver name.
    TLogFile other;
    EXPECT_EQ(other.CheckBit("E", comments, out), 0);
    EXPECT_EQ(ToLines(out), Lines({"1;Q;E;"}));
    EXPECT_EQ(other.CheckBit("", comments, out), 0);
    EXPECT_EQ(out.Count(), 0);
}

TEST_F(Checks, InsertionSortKeepsEqualBitsInOrder) {
    List comments({"7;a;D;", "1;b;D;", "4;c;D;", "0;d;D;", "6;e;D;"});
    TStringList out;
    EXPECT_EQ(log.CheckBit("D", comments, out), 0);
    EXPECT_EQ(ToLines(out), Lines({"0;d;D;", "1;b;D;", "4;c;D;", "6;e;D;", "7;a;D;"}));
    EXPECT_TRUE(ui.Calls.empty());
}

TEST_F(Checks, SortByDriversPutsInputDriversFirstReversed) {
    List drivers({"I1 in DT 00000000 8 0", "O1 out DT 00000010 8 0", "I2 in DT 00000020 8 0",
                                  "O2 out DT 00000030 8 0", "i1 out DT 00000040 8 0"});
    List comments({"2;y;O1;", "1;x;O1;", "0;a;I1;", "5;b;I2;", "3;c;O2;", "9;lost;NONE;", "4;d;I2;"});
    EXPECT_EQ(log.SortByDrivers(comments, drivers), 0);
    // I2, I1 (the reverse of their table order), then O1, O2; a line of an
    // unknown driver is dropped.
    EXPECT_EQ(ToLines(comments), Lines({"4;d;I2;", "5;b;I2;", "0;a;I1;", "1;x;O1;", "2;y;O1;", "3;c;O2;"}));
    // The drivers list is replaced by direction entries (a second entry of one
    // name, letter case aside, is not added).
    EXPECT_EQ(ToLines(drivers), Lines({"I2=0", "I1=0", "O1=1", "O2=1"}));
}

TEST_F(Checks, SortByDriversReportsEveryDriverAndKeepsTheFirstResult) {
    List drivers({"DI in DT 00000010 8 0", "DO out DT 00000020 8 0"});
    List comments({"0;A;DI;", "0;A2;DI;", "3;Y;DO;", "3;Y2;DO;"});
    EXPECT_EQ(log.SortByDrivers(comments, drivers), 1);
    EXPECT_EQ(log.Messages.Count(), 2);
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(comments.Count(), 4);
}

TEST_F(Checks, SortBitsFollowsTheTableAndKeepsTheLastOfEqualNames) {
    table.table.AddBit("P", "DO", 5, "");
    // A pin in another letter case ("b") is the table's B.
    List comments({"5;P;DO;", "4;Z;DO;", "9;NotInTable;DO;", "3;Y;DO;лампа"_a, "0;A;DI;кнопка"_a,
                                   "4;Z;DO;second", "1;b;DI;"});
    TStringList unused;
    log.SortBits(comments, unused);
    EXPECT_EQ(ToLines(comments), Lines({"0;A;DI;кнопка"_a, "1;b;DI;", "3;Y;DO;лампа"_a, "4;Z;DO;second", "5;P;DO;"}));
}

} // namespace
