// The code check of loading: a program that could read or write outside its
// records, its counters or its code is refused with a message naming the record.
#include <functional>

#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Builder;
using dbgfile::Machine;
using dbgfile::Op;

Machine TwoStates() {
    Machine m;
    m.Inputs = {Op(0, 0)};
    m.Outputs = {Op(1, 0)};
    m.StartPattern = "X";
    m.ResetPattern = "1";
    m.StartState = 1;
    m.States = {{"1", {{"1", 2}}}, {"0", {{"0", 1}}}};
    return m;
}

struct BadCode {
    const char* what;
    std::function<void(Builder&)> build;
    const char* reason; // UTF-8, after the file name
};

const BadCode kBadCodes[] = {
    {"more records than code", [](Builder& b) { b.And({}, {Op(1)}); b.RecordCountOverride = 2; }, "запись 2 выходит за конец кода"},
    {"record across the end", [](Builder& b) { b.And({Op(0)}, {Op(1)}); b.CodeSizeOverride = 8; }, "запись 1 выходит за конец кода"},
    {"header cut", [](Builder& b) { b.And({}, {}); b.CodeSizeOverride = 4; }, "запись 1 выходит за конец кода"},
    {"bytes after the records", [](Builder& b) { b.And({}, {Op(1)}); b.Or({}, {Op(1)}); b.RecordCountOverride = 1; },
     "записи занимают 8 байт кода из 16"},
    {"no records but code", [](Builder& b) { b.And({}, {}); b.RecordCountOverride = 0; }, "записи занимают 0 байт кода из 6"},
    {"timer count above 128", [](Builder& b) { b.Timers = 129; }, "число таймеров 129 больше 128"},
    {"timer index not below the count", [](Builder& b) { b.Timers = 2; b.Timer(Op(0), Op(1), 5, 2, {Op(2)}); },
     "запись 1 (тип 3): номер таймера 2 вне пределов"},
    {"timer index above 127", [](Builder& b) { b.Timers = 128; b.And({}, {}); b.Timer(Op(0), Op(1), 5, 1000, {Op(2)}); },
     "запись 2 (тип 3): номер таймера 1000 вне пределов"},
    {"predtimer index", [](Builder& b) { b.PredTimer(Op(0), Op(1), {Op(3)}, 5, 0, {Op(2)}); },
     "запись 1 (тип 13): номер таймера 0 вне пределов"},
    {"predtimer without its parameter", [](Builder& b) { b.Record(13, {Op(0), Op(1), 0}, {Op(2)}); },
     "запись 1 (тип 13): неверное число входов или выходов"},
    {"jump past the records", [](Builder& b) { b.IfGoto(Op(0), 3); b.And({}, {Op(1)}); }, "запись 1 (тип 16): переход за пределы кода"},
    {"jump bytes and records disagree", [](Builder& b) { b.IfGoto(Op(0), 1, 10); b.And({}, {Op(1)}); },
     "запись 1 (тип 16): переход за пределы кода"},
    {"jump into the middle of a record", [](Builder& b) { b.And({}, {}); b.IfGoto(Op(0), 0, 2); b.And({}, {Op(1)}); },
     "запись 2 (тип 16): переход за пределы кода"},
    {"jump with outputs", [](Builder& b) { b.Record(16, {Op(0), 0, 0, 0}, {Op(1)}); },
     "запись 1 (тип 16): неверное число входов или выходов"},
    {"trigger with three inputs", [](Builder& b) { b.Record(2, {Op(0), Op(1), Op(2)}, {Op(3)}); },
     "запись 1 (тип 2): неверное число входов или выходов"},
    {"d8rscnt short", [](Builder& b) { b.Record(10, dbgfile::Bits(0, 10), {Op(3)}); },
     "запись 1 (тип 10): неверное число входов или выходов"},
    {"cbyte with two outputs", [](Builder& b) { b.Record(11, dbgfile::Bits(0, 16), {Op(9), Op(10)}); },
     "запись 1 (тип 11): неверное число входов или выходов"},
    {"commut groups and outputs disagree", [](Builder& b) { b.Record(20, {Op(0), Op(1), Op(2), Op(3)}, {Op(9)}); },
     "запись 1 (тип 20): неверное число входов или выходов"},
    {"filter without hold and offset", [](Builder& b) { b.Record(22, {Op(0)}, {Op(9)}); },
     "запись 1 (тип 22): неверное число входов или выходов"},
    {"cdec half a pair", [](Builder& b) { auto w = dbgfile::Bits(0, 8); w.insert(w.end(), {1, 2, 3, 4}); b.Record(14, w, {Op(9)}); },
     "запись 1 (тип 14): таблица не совпадает с размером записи"},
    {"cdec16 without default", [](Builder& b) { b.Record(17, dbgfile::Bits(0, 16), {Op(9)}); },
     "запись 1 (тип 17): таблица не совпадает с размером записи"},
    {"cMask counts more rows than it has",
     [](Builder& b) {
         auto w = dbgfile::Bits(0, 16);
         w.insert(w.end(), {2, 1, 1, 1, 1, 5, 5, 0});
         b.Record(18, w, {Op(9)});
     },
     "запись 1 (тип 18): таблица не совпадает с размером записи"},
    {"cMask without counts", [](Builder& b) { b.Record(18, dbgfile::Bits(0, 17), {Op(9)}); },
     "запись 1 (тип 18): таблица не совпадает с размером записи"},
    {"cDiap half a range", [](Builder& b) { auto w = dbgfile::Bits(0, 16); w.push_back(4); b.Record(19, w, {Op(9)}); },
     "запись 1 (тип 19): таблица не совпадает с размером записи"},
    {"machine start state above S", [](Builder& b) { Machine m = TwoStates(); m.StartState = 3; b.StateMachine(m); },
     "запись 1 (тип 21): номер состояния 3 вне пределов"},
    {"machine reset state above S", [](Builder& b) { Machine m = TwoStates(); m.ResetState = 9; b.StateMachine(m); },
     "запись 1 (тип 21): номер состояния 9 вне пределов"},
    {"machine row to a state above S", [](Builder& b) { Machine m = TwoStates(); m.States[1].Rows[0].Next = 4; b.StateMachine(m); },
     "запись 1 (тип 21): номер состояния 4 вне пределов"},
    {"machine present state above S", [](Builder& b) { b.And({}, {}); Machine m = TwoStates(); m.Initial = 200; b.StateMachine(m); },
     "запись 2 (тип 21): номер состояния 200 вне пределов"},
    {"machine without states", [](Builder& b) { Machine m = TwoStates(); m.States.clear(); m.StartState = 0; b.StateMachine(m); },
     "запись 1 (тип 21): автомат без состояний"},
    {"machine row count disagrees", [](Builder& b) { Machine m = TwoStates(); m.RowCountOverride = 3; b.StateMachine(m); },
     "запись 1 (тип 21): таблица не совпадает с размером записи"},
    {"machine with 121 inputs", [](Builder& b) { Machine m = TwoStates(); m.Inputs = dbgfile::Bits(0, 121); b.StateMachine(m); },
     "запись 1 (тип 21): неверное число входов или выходов"},
    {"machine blocks beyond the code", [](Builder& b) { b.StateMachine(TwoStates()); b.CodeSizeOverride = b.CodeSize() - 3; },
     "запись 1 выходит за конец кода"},
};

TEST_F(EmulatorTest, CodeThatCannotRunSafelyIsRefusedWithAMessageNamingTheRecord) {
    for (const BadCode& c : kBadCodes) {
        SCOPED_TRACE(c.what);
        // A good program first, so that a refusal must also drop it.
        Builder good;
        good.And({}, {Op(1)});
        LoadOk(good);
        host.Messages.clear();
        Builder b;
        c.build(b);
        std::string bytes = b.Build();
        if (b.CodeSizeOverride >= 0) bytes.append(64, '\0'); // the file stays long enough to be read
        EXPECT_EQ(LoadBytes(bytes, "Debuproj.dat"), kLoadBadData);
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(AnsiToUtf8(host.Messages[0]), std::string(" Ошибка файла данных отладчика Debuproj.dat: ") + c.reason);
        EXPECT_FALSE(vac.Loaded());
        EXPECT_EQ(vac.RecordCount(), 0);
        vac.Run();
        EXPECT_EQ(vac.RunCount, 0);
    }
}

TEST_F(EmulatorTest, RecordsThatEndTheScanAreSizedByTheCommonRule) {
    Builder b;
    b.Record(4, {Op(0), Op(1), 77}, {Op(2)});
    b.Record(200, {1, 2}, {});
    b.Timer(Op(0), Op(1), 3, 0, {Op(2), Op(3)});
    b.Timers = 1;
    LoadOk(b);
    EXPECT_EQ(vac.RecordCount(), 3);
    EXPECT_EQ(vac.RecordOffset(1), 14);
    EXPECT_EQ(vac.RecordSize(1), 10);
    EXPECT_EQ(vac.RecordSize(2), 18); // a timer: 3 + 4 + outputs words, whatever word 1 says
}

} // namespace
