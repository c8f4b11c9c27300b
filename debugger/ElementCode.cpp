#include "debugger/ElementCode.h"

#include <algorithm>
#include <utility>

namespace emu {

namespace {

constexpr uint32_t kPresetMask = 0xFFFFF;
constexpr uint32_t kTimerIndexShift = 20;
constexpr uint32_t kTimerIndexMask = 0x7FF;

Bits128 LowBits(int n) {
    Bits128 b;
    b.Lo = n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1;
    b.Hi = n <= 64 ? 0 : n >= 128 ? ~uint64_t(0) : (uint64_t(1) << (n - 64)) - 1;
    return b;
}

Bits128 And(Bits128 a, Bits128 b) { return Bits128{a.Lo & b.Lo, a.Hi & b.Hi}; }
Bits128 Not(Bits128 a) { return Bits128{~a.Lo, ~a.Hi}; }

// Walks the element code record by record. Every position it reads has been
// checked against the code size first.
class Decoder {
public:
    Decoder(const std::vector<uint8_t>& code, int timerCount, TElementCode& out)
        : code_(code), size_(uint32_t(code.size())), timerCount_(timerCount), out_(out) {}

    bool Run(int recordCount, AnsiString& error);

private:
    enum Problem { pNone, pBeyond, pShape, pTable, pTimer, pState, pNoStates, pJump };

    uint16_t W(uint32_t pos) const { return uint16_t(code_[pos] | code_[pos + 1] << 8); }
    uint32_t U32(uint32_t pos) const { return W(pos) | uint32_t(W(pos + 2)) << 16; }
    bool Fits(uint32_t pos, uint64_t bytes) const { return pos <= size_ && bytes <= size_ - pos; }

    uint32_t Ops(uint32_t pos, uint32_t count) {
        uint32_t first = uint32_t(out_.Ops.size());
        for (uint32_t k = 0; k < count; ++k) out_.Ops.push_back(DecodeOperand(W(pos + 2 * k)));
        return first;
    }
    void Inputs(Record& r, uint32_t pos, uint32_t count) {
        r.In = Ops(pos, count);
        r.InCount = uint16_t(count);
    }
    void Outputs(Record& r, uint32_t pos, uint32_t count) {
        r.Out = Ops(pos, count);
        r.OutCount = uint16_t(count);
    }
    // An ob- or ib-byte big-endian pattern: bit j belongs to pin j.
    Bits128 Pattern(uint32_t pos, int bytes) const {
        Bits128 b;
        for (int k = 0; k < bytes; ++k) {
            uint64_t v = code_[pos + k];
            int shift = (bytes - 1 - k) * 8;
            if (shift < 64) b.Lo |= v << shift;
            else b.Hi |= v << (shift - 64);
        }
        return b;
    }
    // Value bytes, then mask bytes (a set mask bit is a don't-care position).
    MachineMatch Match(uint32_t pos, int bytes, int pins) const {
        Bits128 care = And(Not(Pattern(pos + bytes, bytes)), LowBits(pins));
        return MachineMatch{care, And(Pattern(pos, bytes), care)};
    }

    Problem Element(Record& r, uint32_t pos, uint8_t type, uint16_t w1, uint16_t w2);
    Problem Timer(Record& r, uint32_t paramPos);
    Problem StateMachine(Record& r, uint32_t pos, uint16_t w0, uint16_t w1, uint16_t w2, uint32_t& size);
    AnsiString Text(Problem p, int record, int type) const;

    const std::vector<uint8_t>& code_;
    uint32_t size_;
    int timerCount_;
    TElementCode& out_;
    std::vector<std::pair<uint32_t, uint32_t>> jumps_; // record index, byte count D
    int badValue_ = 0;
};

Decoder::Problem Decoder::Timer(Record& r, uint32_t paramPos) {
    uint32_t param = U32(paramPos);
    uint32_t index = (param >> kTimerIndexShift) & kTimerIndexMask;
    if (int(index) >= timerCount_ || int(index) >= kTimerCounters) {
        badValue_ = int(index);
        return pTimer;
    }
    r.Param = (param & kPresetMask) | index << kTimerIndexShift;
    r.State = paramPos + 3; // bit 7 of this byte is the running bit
    return pNone;
}

Decoder::Problem Decoder::Element(Record& r, uint32_t pos, uint8_t type, uint16_t w1, uint16_t w2) {
    const uint32_t p = pos + 6;        // first word after the three header words
    const uint32_t outs = p + 2u * w1; // output operands follow the words counted by word 1
    r.Type = type;
    r.State = pos + 1; // high byte of word 0
    // Types whose inputs are a fixed list.
    auto fixed = [&](uint16_t inputs) {
        if (w1 != inputs) return pShape;
        Inputs(r, p, inputs);
        Outputs(r, outs, w2);
        return pNone;
    };
    std::vector<uint32_t>& t = out_.Tables;
    switch (type) {
    case etAnd:
    case etOr:
    case etXor:
    case etDcd:
        Inputs(r, p, w1);
        Outputs(r, outs, w2);
        return pNone;
    case etTrigger:
    case etDTrigger:
    case etCnt: return fixed(2);
    case etRCnt: return fixed(3);
    case etDrsTrigger: return fixed(4);
    case etD8Trigger: return fixed(10);
    case etD8RsCnt: return fixed(11);
    case etCByte:
        if (w2 != 3) return pShape;
        return fixed(16);
    case etTimer:
        Inputs(r, p, 2);
        Outputs(r, p + 8, w2);
        return Timer(r, p + 4);
    case etPredTimer:
        if (w1 < 4) return pShape;
        Inputs(r, p, w1 - 2u); // start, stop, factor inputs
        Outputs(r, outs, w2);
        return Timer(r, outs - 4);
    case etCDec:
    case etCDec16: {
        const uint32_t inputs = type == etCDec ? 8 : 16;
        if (w1 < inputs + 1 || (w1 - inputs - 1) % 2 != 0) return pTable;
        const uint32_t pairs = (w1 - inputs - 1) / 2;
        const uint32_t table = p + 2 * inputs;
        const uint16_t def = W(table + 4 * pairs);
        Inputs(r, p, inputs);
        Outputs(r, outs, w2);
        r.Aux = uint32_t(t.size());
        if (type == etCDec) {
            // Eight inputs: a pattern for each of the 256 values, first pair first.
            t.insert(t.end(), 256, def);
            std::vector<bool> taken(256, false);
            for (uint32_t k = 0; k < pairs; ++k) {
                uint16_t v = W(table + 4 * k);
                if (v < 256 && !taken[v]) {
                    taken[v] = true;
                    t[r.Aux + v] = W(table + 4 * k + 2);
                }
            }
        } else {
            t.push_back(pairs);
            for (uint32_t k = 0; k < 2 * pairs; ++k) t.push_back(W(table + 2 * k));
            t.push_back(def);
        }
        return pNone;
    }
    case etCMask: {
        if (w1 < 18) return pTable;
        const uint32_t a = W(p + 32), b = W(p + 34);
        if (uint32_t(w1) != 16 + 2 + 3 * b + 2 * a + 1) return pTable;
        Inputs(r, p, 16);
        Outputs(r, outs, w2);
        r.Aux = uint32_t(t.size());
        t.push_back(b);
        t.push_back(a);
        for (uint32_t k = 0; k < 3 * b + 2 * a + 1; ++k) t.push_back(W(p + 36 + 2 * k));
        return pNone;
    }
    case etCDiap: {
        if (w1 < 16 || (w1 - 16) % 2 != 0) return pTable;
        const uint32_t ranges = (w1 - 16) / 2;
        Inputs(r, p, 16);
        Outputs(r, outs, w2);
        r.Aux = uint32_t(t.size());
        t.push_back(ranges);
        for (uint32_t k = 0; k < ranges; ++k) {
            uint16_t x = W(p + 32 + 4 * k), y = W(p + 34 + 4 * k);
            t.push_back(x < y ? x : y);
            t.push_back(x < y ? y : x);
        }
        return pNone;
    }
    case etCommut:
        if (uint32_t(w1) != 2u * w2 + 1) return pShape;
        Inputs(r, p, w1); // group A, group B, select
        Outputs(r, outs, w2);
        return pNone;
    case etIfGoto:
        if (w1 != 4 || w2 != 0) return pShape;
        Inputs(r, p, 1);
        jumps_.emplace_back(uint32_t(out_.Records.size()), U32(p + 2));
        r.Param = W(p + 6); // record count N until the jumps are resolved
        return pNone;
    case etFilter:
        if (w1 < 2) return pShape;
        Inputs(r, p, w1 - 1u); // value inputs, then the hold input
        r.State = outs - 2;     // the i16 offset
        Outputs(r, outs, w2);
        return pNone;
    default:
        r.Type = etEndOfScan;
        return pNone;
    }
}

Decoder::Problem Decoder::StateMachine(Record& r, uint32_t pos, uint16_t w0, uint16_t n, uint16_t m, uint32_t& size) {
    if (n > kMaxMachinePins || m > kMaxMachinePins) return pShape;
    const int ib = (n + 7) / 8, ob = (m + 7) / 8;
    uint32_t q = pos + 6;
    if (!Fits(q, 2u * n + 4)) return pBeyond;
    Inputs(r, q, n);
    q += 2u * n;
    Machine mc;
    mc.StateCount = W(q);
    const uint32_t rowTotal = W(q + 2);
    q += 4;
    if (!Fits(q, 2 * (2u * ib + 1))) return pBeyond;
    mc.Start = Match(q, ib, n);
    mc.StartState = code_[q + 2 * ib];
    q += 2 * ib + 1;
    mc.Reset = Match(q, ib, n);
    mc.ResetState = code_[q + 2 * ib];
    q += 2 * ib + 1;
    mc.FirstState = uint32_t(out_.States.size());
    uint32_t rows = 0;
    int badState = -1;
    for (uint32_t s = 0; s < mc.StateCount; ++s) {
        if (!Fits(q, 2u + ob)) return pBeyond;
        MachineState st;
        st.RowCount = W(q);
        st.Outputs = And(Pattern(q + 2, ob), LowBits(m));
        st.FirstRow = uint32_t(out_.Rows.size());
        q += 2 + ob;
        if (!Fits(q, uint64_t(st.RowCount) * (2 * ib + 1))) return pBeyond;
        for (uint32_t k = 0; k < st.RowCount; ++k) {
            MachineRow row{Match(q, ib, n), code_[q + 2 * ib]};
            if (row.Next > mc.StateCount && badState < 0) badState = row.Next;
            out_.Rows.push_back(row);
            q += 2 * ib + 1;
        }
        rows += st.RowCount;
        out_.States.push_back(st);
    }
    if (!Fits(q, 2u * m)) return pBeyond;
    Outputs(r, q, m);
    q += 2u * m;
    size = q - pos;
    if (mc.StateCount == 0) return pNoStates;
    if (rows != rowTotal) return pTable;
    for (int s : {int(w0 >> 8), int(mc.StartState), int(mc.ResetState)})
        if (s > mc.StateCount && badState < 0) badState = s;
    if (badState >= 0) {
        badValue_ = badState;
        return pState;
    }
    r.Type = etMachine;
    r.State = pos + 1;
    r.Aux = uint32_t(out_.Machines.size());
    out_.Machines.push_back(mc);
    return pNone;
}

AnsiString Decoder::Text(Problem p, int record, int type) const {
    switch (p) {
    case pBeyond: return Format("запись %d выходит за конец кода"_a, record);
    case pShape: return Format("запись %d (тип %d): неверное число входов или выходов"_a, record, type);
    case pTable: return Format("запись %d (тип %d): таблица не совпадает с размером записи"_a, record, type);
    case pTimer: return Format("запись %d (тип %d): номер таймера %d вне пределов"_a, record, type, badValue_);
    case pState: return Format("запись %d (тип %d): номер состояния %d вне пределов"_a, record, type, badValue_);
    case pNoStates: return Format("запись %d (тип %d): автомат без состояний"_a, record, type);
    case pJump: return Format("запись %d (тип %d): переход за пределы кода"_a, record, type);
    case pNone: break;
    }
    return AnsiString();
}

bool Decoder::Run(int recordCount, AnsiString& error) {
    if (timerCount_ > kTimerCounters) {
        error = Format("число таймеров %d больше %d"_a, timerCount_, kTimerCounters);
        return false;
    }
    uint32_t pos = 0;
    for (int i = 0; i < recordCount; ++i) {
        out_.Offsets.push_back(pos);
        Record r;
        if (!Fits(pos, 6)) {
            error = Text(pBeyond, i + 1, 0);
            return false;
        }
        const uint16_t w0 = W(pos), w1 = W(pos + 2), w2 = W(pos + 4);
        const uint8_t type = uint8_t(w0);
        Problem p = pNone;
        uint32_t size = 0;
        if (type == etMachine) {
            p = StateMachine(r, pos, w0, w1, w2, size);
        } else {
            size = 2 * (3u + (type == etTimer ? 4u : w1) + w2);
            p = Fits(pos, size) ? Element(r, pos, type, w1, w2) : pBeyond;
        }
        if (p != pNone) {
            error = Text(p, i + 1, type);
            return false;
        }
        out_.Records.push_back(r);
        pos += size;
    }
    out_.Offsets.push_back(pos);
    if (pos != size_) {
        error = Format("записи занимают %d байт кода из %d"_a, int(pos), int(size_));
        return false;
    }
    // A true condition skips N records and D bytes: both must name the same
    // place, a record boundary inside the code.
    for (auto [index, bytes] : jumps_) {
        Record& r = out_.Records[index];
        uint64_t target = uint64_t(index) + 1 + r.Param;
        if (target > uint64_t(recordCount) || out_.Offsets[target] != uint64_t(out_.Offsets[index + 1]) + bytes) {
            error = Text(pJump, int(index) + 1, etIfGoto);
            return false;
        }
        r.Param = uint32_t(target);
    }
    return true;
}

} // namespace

bool TElementCode::Decode(const std::vector<uint8_t>& code, int recordCount, int timerCount, AnsiString& error) {
    Clear();
    Records.reserve(std::min<std::size_t>(std::size_t(recordCount), code.size() / 6)); // a record has at least 6 bytes
    Decoder d(code, timerCount, *this);
    if (d.Run(recordCount, error)) return true;
    Clear();
    return false;
}

void TElementCode::Clear() {
    Records.clear();
    Ops.clear();
    Tables.clear();
    Machines.clear();
    States.clear();
    Rows.clear();
    Offsets.clear();
}

} // namespace emu
