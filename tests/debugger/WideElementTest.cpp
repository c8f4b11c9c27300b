// Elements with more than 64 inputs or outputs: every bit of their value
// counts, however wide the record is.
#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Bits;
using dbgfile::Builder;
using dbgfile::Inv;
using dbgfile::Op;

const uint16_t A = Op(10, 0), B = Op(10, 1), C = Op(10, 2);

// A value written as bits, first bit least significant.
using BitList = std::vector<int>;

BitList Ones(int n, std::initializer_list<int> positions) {
    BitList v(std::size_t(n), 0);
    for (int p : positions) v[std::size_t(p)] = 1;
    return v;
}
BitList AllBits(int n, int bit) { return BitList(std::size_t(n), bit); }
// The first count bits 1, the others 0.
BitList Low(int n, int count) {
    BitList v(std::size_t(n), 0);
    for (int j = 0; j < count; ++j) v[std::size_t(j)] = 1;
    return v;
}
BitList RawBits(const TVAC& vac, const std::vector<uint16_t>& ops) {
    BitList v;
    for (uint16_t op : ops) v.push_back(Raw(vac, op));
    return v;
}
void SetBits(TVAC& vac, const std::vector<uint16_t>& ops, const BitList& v) {
    for (std::size_t j = 0; j < ops.size(); ++j) SetRaw(vac, ops[j], v[j]);
}

class WideElementTest : public EmulatorTest {
protected:
    void Scan(std::initializer_list<std::pair<uint16_t, int>> bits = {}) {
        for (auto [op, v] : bits) SetRaw(vac, op, v);
        vac.Run();
    }
};

TEST_F(WideElementTest, CountersCarryAndBorrowAcrossEveryOutput) {
    constexpr int n = 66;
    const std::vector<uint16_t> q = Bits(20, n);
    const BitList low64 = Low(n, 64), from64 = Ones(n, {64});
    struct Case {
        const char* what;
        int type;
        std::vector<uint16_t> in; // count input first
        std::vector<std::pair<uint16_t, int>> levels;
        BitList before, after;
    };
    const std::vector<uint16_t> d8 = Bits(12, 8);
    std::vector<uint16_t> d8rs = d8;
    d8rs.insert(d8rs.end(), {B, C, A}); // data, load, reset, count
    const Case cases[] = {
        {"cnt keeps the 65th output", 6, {A, B}, {}, Ones(n, {64}), Ones(n, {0, 64})},
        {"cnt carries into the 65th output", 6, {A, B}, {}, low64, Ones(n, {64})},
        {"cnt carries into the 66th output", 6, {A, B}, {}, Low(n, 65), Ones(n, {65})},
        {"cnt loses the carry past the last output", 6, {A, B}, {}, AllBits(n, 1), AllBits(n, 0)},
        {"rcnt counts up across the 64th output", 15, {A, B, C}, {{C, 1}}, low64, from64},
        {"rcnt borrows from the 65th output", 15, {A, B, C}, {{C, 0}}, from64, low64},
        {"rcnt below zero gives every output 1", 15, {A, B, C}, {{C, 0}}, AllBits(n, 0), AllBits(n, 1)},
        {"d8rscnt keeps the 66th output", 10, d8rs, {}, Ones(n, {3, 65}), Ones(n, {0, 3, 65})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Builder b;
        b.Record(c.type, c.in, q);
        LoadOk(b);
        for (auto [op, v] : c.levels) SetRaw(vac, op, v);
        SetBits(vac, q, c.before);
        Scan({{A, 0}});
        ASSERT_EQ(RawBits(vac, q), c.before); // no edge, no change
        Scan({{A, 1}});
        EXPECT_EQ(RawBits(vac, q), c.after);
    }
}

TEST_F(WideElementTest, AWideCounterCountsThroughInvertedOutputs) {
    constexpr int n = 70;
    std::vector<uint16_t> q = Bits(20, n);
    for (uint16_t& op : q) op = Inv(op);
    Builder b;
    b.Record(6, {A, B}, q);
    LoadOk(b);
    Scan({{A, 1}}); // cleared bits read as every output 1: wraps to 0
    EXPECT_EQ(RawBits(vac, q), AllBits(n, 1));
    SetRaw(vac, q[66], 0); // the 67th output reads 1
    Scan({{A, 0}});
    Scan({{A, 1}});
    BitList expected = AllBits(n, 1);
    expected[0] = expected[66] = 0;
    EXPECT_EQ(RawBits(vac, q), expected);
}

TEST_F(WideElementTest, ACommutatorPassesEveryBitOfTheChosenGroup) {
    constexpr int n = 65;
    const std::vector<uint16_t> ga = Bits(10, n), gb = Bits(30, n), q = Bits(50, n);
    const uint16_t select = Op(60, 0);
    Builder b;
    b.Commut(ga, gb, select, q);
    LoadOk(b);
    const BitList a = Ones(n, {1, 64}), bb = Ones(n, {0, 63});
    SetBits(vac, ga, a);
    SetBits(vac, gb, bb);
    Scan({{select, 1}});
    EXPECT_EQ(RawBits(vac, q), a);
    Scan({{select, 0}});
    EXPECT_EQ(RawBits(vac, q), bb);
}

TEST_F(WideElementTest, AFilterOverWideValuesWorksOnTheWholeValue) {
    constexpr int k = 70;
    const std::vector<uint16_t> value = Bits(10, k), out = Bits(30, k);
    const uint16_t hold = Op(40, 0);
    Builder b;
    b.Filter(value, hold, 0, out);
    LoadOk(b);
    // V = 2^64 + 5000, offset 0: r = V > 4000, so r = V - 4001 = 2^64 + 999.
    BitList v = Ones(k, {64, 3, 7, 8, 9, 12}); // 5000 = 0b1001110001000
    SetBits(vac, value, v);
    Scan({{hold, 0}});
    EXPECT_EQ(RawBits(vac, out), Ones(k, {64, 0, 1, 2, 5, 6, 7, 8, 9})); // 999 = 0b1111100111
    // V = 2^64 + 1: r = 2^64 + 1 - 4001 = 2^64 - 4000, every bit of 2^64 - 4000 below the 65th.
    SetBits(vac, value, Ones(k, {0, 64}));
    Scan();
    BitList expected(std::size_t(k), 0);
    const uint64_t low = 0 - uint64_t(4000);
    for (int j = 0; j < 64; ++j) expected[std::size_t(j)] = int((low >> j) & 1);
    EXPECT_EQ(RawBits(vac, out), expected);
}

TEST_F(WideElementTest, APresetTimerCountsFactorInputsPastThe64th) {
    Builder b;
    b.Timers = 1;
    const std::vector<uint16_t> factors = Bits(11, 66);
    b.PredTimer(A, B, factors, 3, 0, {Op(40, 0)});
    LoadOk(b);
    SetRaw(vac, factors[64], 1); // F = 2^64: the counter saturates
    Scan({{A, 1}});
    EXPECT_EQ(vac.TimerCounter(0), INT32_MAX);
    EXPECT_EQ(Raw(vac, Op(40, 0)), 1);
    vac.Tick();
    Scan();
    EXPECT_EQ(Raw(vac, Op(40, 0)), 1);
}

} // namespace
