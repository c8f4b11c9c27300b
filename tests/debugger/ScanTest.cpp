// The scan: order of the host calls, records that end a scan, forced inputs,
// counters, ticks, the minimal timer preset and the bit memory.
#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Builder;
using dbgfile::Op;

using Events = std::vector<std::string>;

TEST_F(EmulatorTest, ScanCallsTheHostAroundTheRecordsAndShowsTheRunCounterOnlyWhenVisible) {
    Builder b;
    b.And({}, {Op(5)});
    vac.Run(); // nothing loaded: nothing happens
    EXPECT_EQ(vac.RunCount, 0);
    EXPECT_TRUE(host.Events.empty());
    LoadOk(b);
    host.Events.clear();
    vac.Run();
    EXPECT_EQ(host.Events, (Events{"read", "show"}));
    host.Visible = true;
    vac.Run();
    vac.Tick();
    EXPECT_EQ(host.Events, (Events{"read", "show", "runs 2", "read", "show", "ticks 1"}));
    host.Events.clear();
    vac.SuppressDisplay = true; // no exchange and no tick display; the run counter still shows
    vac.Run();
    vac.Tick();
    EXPECT_EQ(host.Events, (Events{"runs 3"}));
    EXPECT_EQ(vac.RunCount, 3);
    EXPECT_EQ(vac.TickCount, 2);
    host.Visible = false;
    vac.SuppressDisplay = false;
    host.Events.clear();
    vac.Tick();
    EXPECT_TRUE(host.Events.empty());
}

namespace {

// An emulator whose start- and end-of-scan exchange is its own.
class OwnExchange : public TVAC {
public:
    using TVAC::TVAC;
    std::vector<std::string> Calls;
    void ReadInputs() override { Calls.push_back("own read"); }
    void ShowOutputs() override { Calls.push_back("own show"); }
};

} // namespace

// The scan reaches the exchange through the emulator's virtual operations, so
// that an emulator of another kind replaces it.
TEST_F(EmulatorTest, TheScanUsesTheExchangeOfTheEmulatorsKind) {
    Builder b;
    b.And({}, {Op(5)});
    testenv::WriteBytes(ToFsPath(dir.File("Debutvca.dat")), b.Build());
    OwnExchange own(&host);
    own.FileName = dir.File("Debutvca.dat");
    TVAC& base = own;
    ASSERT_EQ(base.Load(), kLoadOk);
    host.Events.clear();
    base.Run();
    EXPECT_EQ(own.Calls, (Events{"own read", "own show"}));
    EXPECT_TRUE(host.Events.empty()) << "the host's exchange is not reached";
}

TEST_F(EmulatorTest, ADelayRecordOrAnUnknownTypeEndsTheScanAtOnce) {
    for (int type : {4, 23, 255}) {
        SCOPED_TRACE(type);
        Builder b;
        b.And({}, {Op(5, 0)});
        b.Record(type, {Op(0)}, {Op(5, 2)});
        b.And({}, {Op(5, 1)});
        LoadOk(b);
        host.Events.clear();
        vac.Run();
        EXPECT_EQ(vac.GetBit(5, 0), 1);
        EXPECT_EQ(vac.GetBit(5, 1), 0);
        EXPECT_EQ(vac.GetBit(5, 2), 0);
        EXPECT_EQ(vac.GetPreviousBit(5, 0), 0); // the previous image is not saved
        EXPECT_EQ(host.Events, (Events{"read"})); // and the outputs are not shown
        vac.SetBit(5, 0, 0);
        vac.Run(); // the next scan starts from the first record again
        EXPECT_EQ(vac.GetBit(5, 0), 1);
        EXPECT_EQ(vac.RunCount, 2);
    }
}

TEST_F(EmulatorTest, NoForcedInputIsSetWhenTheFirstRecordEndsTheScan) {
    Builder b;
    b.Record(4, {}, {});
    LoadOk(b);
    host.Rows = {true};
    vac.AddForcedInput(7, 3, 0);
    vac.Run();
    EXPECT_EQ(vac.GetBit(7, 3), 0);
    vac.ApplyForcedInputs();
    EXPECT_EQ(vac.GetBit(7, 3), 8);
}

// A forced input takes its row's check mark after every record: the first
// record still sees the old value, later ones the mark, and an element output
// on the same bit is overruled.
TEST_F(EmulatorTest, ForcedInputsWinAfterEveryRecord) {
    const uint16_t F = Op(3072, 1), Z = Op(3073, 0), Y = Op(3073, 1), W = Op(3073, 2);
    Builder b;
    b.And({F}, {Z});  // sees F before any forcing
    b.And({}, {F});   // writes F = 1
    b.And({F}, {Y});  // sees the forced 0
    b.Or({}, {F});    // writes F = 0
    b.Or({F}, {W});   // sees the mark again
    LoadOk(b);
    host.Rows = {false};
    ASSERT_EQ(vac.AddForcedInput(3072, 1, 0), 0);
    vac.SetBit(3072, 1, 1);
    vac.Run();
    EXPECT_EQ(Raw(vac, Z), 1);
    EXPECT_EQ(Raw(vac, Y), 0);
    EXPECT_EQ(Raw(vac, F), 0);
    host.Rows = {true};
    vac.Run();
    EXPECT_EQ(Raw(vac, Z), 0); // F was 0 when the scan began
    EXPECT_EQ(Raw(vac, Y), 1);
    EXPECT_EQ(Raw(vac, W), 1); // the Or wrote 0, the mark set it back to 1
    EXPECT_EQ(Raw(vac, F), 1);
    EXPECT_EQ(host.Asked, 2); // once per scan for the one entry
}

// Two entries on one bit: the later entry wins, after the first record and
// after a record that writes the bit (here through an inverted output).
TEST_F(EmulatorTest, TheLaterOfTwoForcedEntriesOnOneBitWins) {
    const uint16_t X = Op(3080, 4), Y = Op(3081, 0), Z = Op(3081, 1);
    Builder b;
    b.And({}, {Y});
    b.Or({}, {dbgfile::Inv(X)});
    b.And({X}, {Z});
    LoadOk(b);
    host.Rows = {true, false};
    vac.AddForcedInput(3080, 4, 0);
    vac.AddForcedInput(3080, 4, 1);
    vac.Run();
    EXPECT_EQ(Raw(vac, X), 0);
    EXPECT_EQ(Raw(vac, Z), 0);
    host.Rows = {false, true};
    vac.Run();
    EXPECT_EQ(Raw(vac, X), 1);
    EXPECT_EQ(Raw(vac, Z), 1);
}

TEST_F(EmulatorTest, TheHostIsNotAskedWithoutForcedInputs) {
    Builder b;
    b.And({}, {Op(5)});
    LoadOk(b);
    vac.Run();
    EXPECT_EQ(host.Asked, 0);
    vac.AddForcedInput(6, 0, 0);
    vac.SetForcedInputEnabled(0, false);
    vac.Run();
    EXPECT_EQ(host.Asked, 0);
    EXPECT_EQ(vac.AddForcedInput(4096, 0, 1), -1);
    EXPECT_EQ(vac.AddForcedInput(0, 8, 1), -1);
    EXPECT_EQ(vac.AddForcedInput(-1, 0, 1), -1);
    EXPECT_EQ(vac.ForcedInputCount(), 1);
}

TEST_F(EmulatorTest, TheForcedInputTableGrowsPastSeventySevenEntries) {
    const int n = 150;
    std::vector<uint16_t> bits = dbgfile::Bits(3100, n);
    Builder b;
    b.And({}, bits);
    LoadOk(b);
    for (int i = 0; i < n; ++i) {
        host.Rows.push_back(i % 3 == 0);
        ASSERT_EQ(vac.AddForcedInput(3100 + i / 8, i % 8, i), i);
    }
    vac.Run();
    for (int i = 0; i < n; ++i) EXPECT_EQ(Raw(vac, bits[std::size_t(i)]), i % 3 == 0 ? 1 : 0) << i;
}

TEST_F(EmulatorTest, DeletingAnInputRowKeepsEveryOtherEntryWithItsSignal) {
    Builder b;
    b.And({}, {Op(3072, 0), Op(3072, 1), Op(3072, 2)});
    LoadOk(b);
    vac.AddForcedInput(3072, 0, 0);
    vac.AddForcedInput(3072, 2, 2);
    vac.AddForcedInput(3072, 1, 1);
    vac.InputRowDeleted(0);
    EXPECT_EQ(vac.ForcedInput(0).Enabled, 0);
    EXPECT_EQ(vac.ForcedInput(1).Row, 1);
    EXPECT_EQ(vac.ForcedInput(2).Row, 0);
    host.Rows = {false, false}; // rows now: the old second and third
    vac.Run();
    EXPECT_EQ(vac.GetBit(3072, 0), 1); // no longer forced
    EXPECT_EQ(vac.GetBit(3072, 1), 0);
    EXPECT_EQ(vac.GetBit(3072, 2), 0);
    vac.ClearForcedInputs();
    vac.Run();
    EXPECT_EQ(vac.GetBit(3072, 2), 4);
}

// Ticks touch only the first T counters, and a load keeps the counters.
TEST_F(EmulatorTest, TicksCountDownTheFirstTCountersThatAreNotZero) {
    Builder b;
    b.Timers = 2;
    b.Timer(Op(0), Op(1), 5, 1, {Op(2)});
    LoadOk(b);
    vac.SetBit(0, 0, 1);
    vac.Run();
    ASSERT_EQ(vac.TimerCounter(1), 5);
    vac.Tick();
    EXPECT_EQ(vac.TimerCounter(1), 4);
    Builder one;
    one.Timers = 1;
    LoadOk(one);
    EXPECT_EQ(vac.TimerCounter(1), 4);
    for (int i = 0; i < 10; ++i) vac.Tick();
    EXPECT_EQ(vac.TimerCounter(1), 4);
    EXPECT_EQ(vac.TickCount, 10);
}

TEST_F(EmulatorTest, MinTimerPresetTakesTheSmallestTimerPreset) {
    Builder b;
    b.Timers = 3;
    b.Timer(Op(0), Op(1), 30, 0, {Op(2)});
    b.PredTimer(Op(0), Op(1), {Op(3)}, 2, 1, {Op(2)}); // preset timers do not count
    b.Timer(Op(0), Op(1), 7, 2, {Op(2)});
    LoadOk(b);
    vac.AnalysisTimerValue = 9;
    EXPECT_EQ(vac.MinTimerPreset(), 7);
    EXPECT_EQ(vac.AnalysisTimerValue, 0);
    Builder none;
    none.And({}, {Op(2)});
    LoadOk(none);
    EXPECT_EQ(vac.MinTimerPreset(), 101);
    EXPECT_TRUE(host.Messages.empty());
}

// The walk stops at a record that ends the scan, with a message that names
// the file that was loaded.
TEST_F(EmulatorTest, MinTimerPresetStopsAtARecordThatEndsTheScan) {
    Builder b;
    b.Timers = 2;
    b.Timer(Op(0), Op(1), 40, 0, {Op(2)});
    b.Record(4, {}, {});
    b.Timer(Op(0), Op(1), 3, 1, {Op(2)});
    ASSERT_EQ(Load(b, "Debuproj.dat"), kLoadOk);
    vac.FileName = "other.dat";
    EXPECT_EQ(vac.MinTimerPreset(), 40);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0], " Ошибка файла данных отладчика Debuproj.dat"_a);
}

TEST_F(EmulatorTest, BitMemoryIgnoresBitsOutsideTheImage) {
    vac.SetBit(4096, 0, 1);
    vac.SetBit(-1, 0, 1);
    vac.SetBit(0, 8, 1);
    vac.SetBit(4095, 7, 1);
    EXPECT_EQ(vac.GetBit(4095, 7), 128);
    EXPECT_EQ(vac.GetBit(4096, 0), 0);
    EXPECT_EQ(vac.GetBit(0, -1), 0);
    for (int i = 0; i < 4095; ++i) ASSERT_EQ(vac.ImageBytes()[i], 0) << i;
    vac.SavePrevious();
    EXPECT_EQ(vac.GetPreviousBit(4095, 7), 128);
    vac.ClearImages();
    EXPECT_EQ(vac.GetBit(4095, 7), 0);
    EXPECT_EQ(vac.GetPreviousBit(4095, 7), 0);
}

} // namespace
