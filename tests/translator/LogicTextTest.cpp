// The Boolean-logic text: the equation lines of each element kind, read back
// from netlist blocks as the elements write them.
#include "TranslatorTestSupport.h"

using namespace trtest;

namespace {

// The logic lines of an element text, and the log lines it gave.
struct Result {
    Lines logic;
    Lines log;
};

Result Logic(const Lines& elements) {
    TLogFile log;
    TStringList list;
    for (const AnsiString& l : elements)
        list.Add(l);
    log.DoTextLogicFile(list);
    return {ToLines(*log.LogicLines), ToLines(log.Messages)};
}

Lines Block(const AnsiString& header, const Lines& pins, bool ownEmptyLine = true) {
    Lines b = {header};
    b.insert(b.end(), pins.begin(), pins.end());
    if (ownEmptyLine)
        b.push_back("");
    b.push_back("");
    return b;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(LogicText, KeywordTableInTypeCodeOrder) {
    const char* expected[] = {"and",   "or",   "trigger", "timer",     "delay", "dtrigger", "cnt",
                              "dcd",   "drstrigger", "d8trigger", "d8rscnt", "cbyte", "xor",
                              "predtimer", "cdec", "rcnt", "ifgoto", "cdec16", "cMask", "cDiap", "commut"};
    for (int i = 0; i < kElementKeywordCount; ++i) {
        EXPECT_STREQ(ElementKeywords[i], expected[i]);
        EXPECT_EQ(ElementKeywordIndex(expected[i]), i);
    }
    EXPECT_EQ(ElementKeywordIndex("AND"), -1);
    EXPECT_EQ(ElementKeywordIndex("fsm"), -1);
    EXPECT_EQ(ElementKeywordIndex("filter"), -1);
}

TEST(LogicText, OperandsOfEntries) {
    EXPECT_EQ(TLogFile::PinOperand("_var1=0", false), AnsiString("_var1"));
    EXPECT_EQ(TLogFile::PinOperand("_var1=0", true), AnsiString("/_var1"));
    EXPECT_EQ(TLogFile::PinOperand("_var1=1", false), AnsiString("/_var1"));
    EXPECT_EQ(TLogFile::PinOperand("_var1=1", true), AnsiString("_var1"));
    // A null pin whose line says "inverse" is not inverted: it reads 0.
    EXPECT_EQ(TLogFile::PinOperand("_null_in_=1", false), AnsiString("0"));
    EXPECT_EQ(TLogFile::PinOperand("_null_in_=0", false), AnsiString("1"));
    EXPECT_EQ(TLogFile::PinOperand("_null_out_=1", true), AnsiString("1"));
    EXPECT_TRUE(TLogFile::IsNullPin("_null_out_=0"));
    EXPECT_FALSE(TLogFile::IsNullPin("_null_inx=0"));
}

TEST(LogicText, SplitPinsAndCountCaseRows) {
    TStringList list;
    for (const AnsiString& l : Lines({"C cdec", "%%5 3", "%%* 1", InLine("a"), InLine("b", true), OutLine("q"),
                                      OutLine("_null_out_", true), "", "next and"}))
        list.Add(l);
    TStringList in, out;
    TLogFile::SplitPins(in, out, list, 0);
    EXPECT_EQ(ToLines(in), Lines({"a=0", "b=1"}));
    EXPECT_EQ(ToLines(out), Lines({"q=0", "_null_out_=1"}));
    EXPECT_EQ(TLogFile::CountCaseRows(list, 0), 2);
}

TEST(LogicText, EmptyListWritesNothing) {
    Result r = Logic({});
    EXPECT_TRUE(r.logic.empty());
    EXPECT_TRUE(r.log.empty());
}

TEST(LogicText, AndOrXorAndTheInvertedOutput) {
    Result r = Logic(Join({
        Block("A1 and", {OutLine("_var5"), OutLine("_var6"), InLine("_var1"), InLine("_var2"), InLine("_var3", true)},
              false),
        Block("A2 and", {OutLine("_var5", true), InLine("_var1"), InLine("_var2")}, false),
        Block("O1 or", {OutLine("Y"), InLine("A"), InLine("B", true)}, false),
        Block("X1 xor ", {OutLine("Z"), InLine("A"), InLine("B"), InLine("C")}),
    }));
    EXPECT_EQ(r.logic, Lines({"_var5=_var1*_var2*/_var3;", "_var6=_var1*_var2*/_var3;", "/_var5=_var1*_var2;",
                              "Y=A+/B;", "Z=A~B;"}));
    EXPECT_TRUE(r.log.empty());
}

TEST(LogicText, NullPinsBecomeConstantsAndNullOutputsAreSkipped) {
    Result r = Logic(Block("A1 and", {OutLine("y"), OutLine("_null_out_", true), InLine("a"), InLine("_null_in_", true),
                                      InLine("_null_in_")},
                           false));
    EXPECT_EQ(r.logic, Lines({"y=a*0*1;"}));
}

TEST(LogicText, TriggersHaveNoClosingSemicolon) {
    Result r = Logic(Join({
        Block("T1 trigger", {InLine("s"), InLine("r"), OutLine("q"), OutLine("nq", true)}),
        Block("T2 dtrigger", {InLine("d"), InLine("c"), OutLine("q2"), OutLine("_null_out_")}),
        Block("T3 drstrigger", {InLine("s"), InLine("d"), InLine("c"), InLine("r"), OutLine("q3"), OutLine("n3")}),
    }));
    EXPECT_EQ(r.logic, Lines({"q=/s*r", "/nq=s", "q2=c^*d", "q3=/r*(c^*d+s);", "n3=r+(c^*/d);"}));
}

TEST(LogicText, TimerTimeIsTheParameterTimesTheIncrement) {
    Result r = Logic(Join({
        Block("TM timer 20", {InLine("_var3"), InLine("_var4"), OutLine("_var7")}),
        Block("PT predtimer 3", {InLine("s"), InLine("r", true), OutLine("o", true), InLine("f0")}),
    }));
    EXPECT_EQ(r.logic, Lines({"_var7=_var3^*(1000ms)*/_var4;", "/o=s^*(150ms)*r;"}));
}

TEST(LogicText, CounterAndDecoder) {
    Result r = Logic(Join({
        Block("C1 cnt", {InLine("c"), InLine("r"), OutLine("q0"), OutLine("q1"), OutLine("q2")}),
        Block("D1 dcd", {InLine("a"), InLine("b"), InLine("c"), InLine("d"), OutLine("o0"), OutLine("o1"),
                         OutLine("o2"), OutLine("o3"), OutLine("o4"), OutLine("o5")}),
    }));
    EXPECT_EQ(r.logic, Lines({"q0=/r*c^*/q0;", "q1=/r*(c^*q0*/q1);", "q2=/r*(c^*q1*q0*/q2);", "o0=/a*/b*/c*/d;",
                              "o1=a*/b*/c*/d;", "o2=/a*b*/c*/d;", "o3=a*b*/c*/d;", "o4=/a*/b*c*/d;",
                              "o5=a*/b*c*/d;"}));
}

TEST(LogicText, EightBitRegisterAndCounter) {
    Lines d8 = {InLine("d0"), InLine("d1"), InLine("d2"), InLine("d3"), InLine("d4"),
                InLine("d5"), InLine("d6"), InLine("d7")};
    Lines reg = d8;
    for (const AnsiString& l : Lines({InLine("clk"), InLine("rst"), OutLine("q0"), OutLine("q1")}))
        reg.push_back(l);
    Lines cnt = d8;
    for (const AnsiString& l : Lines({InLine("ld"), InLine("rst"), InLine("cnt"), OutLine("k0"), OutLine("k1")}))
        cnt.push_back(l);
    Result r = Logic(Join({Block("R1 d8trigger", reg), Block("K1 d8rscnt", cnt)}));
    EXPECT_EQ(r.logic, Lines({"q0=/rst*(clk^*d0);", "q1=/rst*(clk^*d1);", "k0=/rst*((cnt^*/k0)+(ld^*d0));",
                              "k1=/rst*((cnt^*k0*/k1)+(ld^*d1));"}));
}

TEST(LogicText, ByteComparatorThreeLines) {
    Lines pins;
    for (int k = 0; k < 8; ++k)
        pins.push_back(InLine("a" + IntToStr(k)));
    for (int k = 0; k < 8; ++k)
        pins.push_back(InLine("b" + IntToStr(k)));
    pins.push_back(OutLine("g"));
    pins.push_back(OutLine("e"));
    pins.push_back(OutLine("l"));
    Result r = Logic(Block("CB cbyte", pins));
    ASSERT_EQ(r.logic.size(), 3u);
    EXPECT_EQ(r.logic[0], AnsiString("g=((/(a7~b7)+a7*/b7)"
                                     "+(a6*/b6*/(a7~b7))"
                                     "+(a5*/b5*/(a6~b6)*/(a7~b7))"
                                     "+(a4*/b4*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(a3*/b3*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(a2*/b2*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(a1*/b1*/(a2~b2)*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(a0*/b0*/(a1~b1)*/(a2~b2)*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "*/e);"));
    EXPECT_EQ(r.logic[1], AnsiString("e=/(a7~b7)*/(a6~b6)*/(a5~b5)*/(a4~b4)*/(a3~b3)*/(a2~b2)*/(a1~b1)*/(a0~b0);"));
    EXPECT_EQ(r.logic[2], AnsiString("l=((/(a7~b7)+/a7*b7)"
                                     "+(/a6*b6*/(a7~b7))"
                                     "+(/a5*b5*/(a6~b6)*/(a7~b7))"
                                     "+(/a4*b4*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(/a3*b3*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(/a2*b2*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(/a1*b1*/(a2~b2)*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "+(/a0*b0*/(a1~b1)*/(a2~b2)*/(a3~b3)*/(a4~b4)*/(a5~b5)*/(a6~b6)*/(a7~b7))"
                                     "*/e);"));
}

TEST(LogicText, CaseBlocksAndKindsWithoutEquationsWriteNothing) {
    Result r = Logic(Join({
        Block("C1 cdec", {"%%5 3", "%%* 1", InLine("a"), OutLine("q0")}),
        Block("C2 cMask", {"%%1 255 4", "%%2 5", InLine("a"), OutLine("q1")}),
        Block("M1 commut", {InLine("a0"), InLine("b0"), InLine("s"), OutLine("m")}, false),
        Block("R1 rcnt", {InLine("c"), InLine("p"), InLine("d"), OutLine("r0")}),
        Block("A1 and", {OutLine("y"), InLine("q0"), InLine("m")}, false),
    }));
    EXPECT_EQ(r.logic, Lines({"y=q0*m;"}));
    EXPECT_TRUE(r.log.empty());
}

// Blocks that cannot become equations are named in the log and skipped; the
// text goes on with the next block.
TEST(LogicText, FilterStateMachineAndJumpAreLoggedAndSkipped) {
    Result r = Logic(Join({
        Block("F1 filter", {InLine("v0"), InLine("h"), OutLine("f0")}),
        Block("A1 and", {OutLine("y"), InLine("a"), InLine("b")}, false),
        Block("M1 fsm", {InLine("a"), OutLine("s"), "%~2 2 ", "%%00000000-11111111=00000001;", "%~1 ",
                         "%%00000000;00000001-11111100=00000010;"}),
        Block("G1 ifgoto s2.tvs E1", {InLine("c")}),
        Block("X1 xor ", {OutLine("z"), InLine("a")}),
        Block("O1 or", {OutLine("w"), InLine("a"), InLine("b")}, false),
    }));
    EXPECT_EQ(r.logic, Lines({"y=a*b;", "w=a+b;"}));
    EXPECT_EQ(r.log, Lines({"filter is not used type", "fsm is not used type", "ifgoto s2.tvs E1 is not used type",
                            "Элемент X1 не записан: не хватает выводов"_a}));
}

} // namespace
