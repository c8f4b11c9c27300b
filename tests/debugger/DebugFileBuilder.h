#pragma once
// Builds debugging data files byte by byte for the emulator's tests and
// benchmarks: header, driver records, element records, the 32-bit word and
// the name section, each with switches for writing damaged files.

#include <cstdint>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/AnsiString.h"
#include "platform/Bytes.h"

namespace dbgfile {

// An operand word: byte address, bit, inversion.
inline uint16_t Op(int addr, int bit = 0, bool inv = false) {
    return uint16_t((addr & 0x0FFF) | (bit & 7) << 12 | (inv ? 0x8000 : 0));
}
inline uint16_t Inv(uint16_t op) { return uint16_t(op ^ 0x8000); }
// n consecutive bits from (addr, bit 0).
inline std::vector<uint16_t> Bits(int addr, int n) {
    std::vector<uint16_t> v;
    for (int i = 0; i < n; ++i) v.push_back(Op(addr + i / 8, i % 8));
    return v;
}

struct Driver {
    int16_t Type;
    uint16_t First;
    uint16_t Count;
};

struct Name {
    uint16_t Operand;
    AnsiString Text;
    AnsiString Comment;
};

// A state machine record. Patterns are texts of '1', '0' and 'X', character
// j for input (output) j.
struct Machine {
    struct Row {
        std::string Pattern;
        int Next;
    };
    struct State {
        std::string Outputs;
        std::vector<Row> Rows;
    };
    std::vector<uint16_t> Inputs, Outputs;
    std::string StartPattern, ResetPattern;
    int StartState = 1, ResetState = 0, Initial = 0;
    std::vector<State> States;
    int RowCountOverride = -1; // written as T when >= 0
};

class Builder {
public:
    uint16_t Timers = 0;
    std::vector<Driver> Inputs, Outputs;
    std::vector<Name> Names;
    bool NamesFlag = false;     // set by AddName
    int TrailingBytes = 2;      // of the last name record (0-2)
    int CodeSizeOverride = -1;  // header field when >= 0
    int RecordCountOverride = -1;

    // ---- Element records ------------------------------------------------------------
    // A record of the generic shape: word 1 = inputs.size(), word 2 = outputs.size().
    void Record(int type, const std::vector<uint16_t>& inputs, const std::vector<uint16_t>& outputs, int state = 0) {
        W(uint16_t(type | state << 8));
        W(uint16_t(inputs.size()));
        W(uint16_t(outputs.size()));
        for (uint16_t w : inputs) W(w);
        for (uint16_t w : outputs) W(w);
        ++records_;
    }
    void And(const std::vector<uint16_t>& in, const std::vector<uint16_t>& out) { Record(0, in, out); }
    void Or(const std::vector<uint16_t>& in, const std::vector<uint16_t>& out) { Record(1, in, out); }
    void Xor(const std::vector<uint16_t>& in, const std::vector<uint16_t>& out) { Record(12, in, out); }
    void Timer(uint16_t start, uint16_t stop, uint32_t preset, int index, const std::vector<uint16_t>& out, bool running = false) {
        uint32_t p = TimerParam(preset, index, running);
        Record(3, {start, stop, uint16_t(p), uint16_t(p >> 16)}, out);
    }
    void PredTimer(uint16_t start, uint16_t stop, const std::vector<uint16_t>& factors, uint32_t preset, int index,
                   const std::vector<uint16_t>& out) {
        uint32_t p = TimerParam(preset, index, false);
        std::vector<uint16_t> w{start, stop};
        w.insert(w.end(), factors.begin(), factors.end());
        w.push_back(uint16_t(p));
        w.push_back(uint16_t(p >> 16));
        Record(13, w, out);
    }
    // cdec (8 inputs) and cdec16 (16 inputs): {value, pattern} pairs and a default.
    void CaseTable(int type, const std::vector<uint16_t>& in, const std::vector<std::pair<uint16_t, uint16_t>>& pairs,
                   uint16_t def, const std::vector<uint16_t>& out) {
        std::vector<uint16_t> w = in;
        for (auto [v, p] : pairs) {
            w.push_back(v);
            w.push_back(p);
        }
        w.push_back(def);
        Record(type, w, out);
    }
    struct Triple {
        uint16_t Value, Mask, Pattern;
    };
    void CMask(const std::vector<uint16_t>& in16, const std::vector<Triple>& triples,
               const std::vector<std::pair<uint16_t, uint16_t>>& pairs, uint16_t def, const std::vector<uint16_t>& out) {
        std::vector<uint16_t> w = in16;
        w.push_back(uint16_t(pairs.size()));
        w.push_back(uint16_t(triples.size()));
        for (const Triple& t : triples) w.insert(w.end(), {t.Value, t.Mask, t.Pattern});
        for (auto [v, p] : pairs) w.insert(w.end(), {v, p});
        w.push_back(def);
        Record(18, w, out);
    }
    void CDiap(const std::vector<uint16_t>& in16, const std::vector<std::pair<uint16_t, uint16_t>>& ranges,
               const std::vector<uint16_t>& out) {
        std::vector<uint16_t> w = in16;
        for (auto [a, b] : ranges) w.insert(w.end(), {a, b});
        Record(19, w, out);
    }
    void Commut(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, uint16_t select, const std::vector<uint16_t>& out) {
        std::vector<uint16_t> w = a;
        w.insert(w.end(), b.begin(), b.end());
        w.push_back(select);
        Record(20, w, out);
    }
    // Skips the next n records; bytes is their total size (-1: computed when
    // the file is built, from the records that follow).
    void IfGoto(uint16_t condition, int n, int bytes = -1) {
        if (bytes < 0) jumps_.push_back({code_.Size() + 8, records_ + 1, n});
        Record(16, {condition, uint16_t(bytes), uint16_t(uint32_t(bytes) >> 16), uint16_t(n)}, {});
    }
    void Filter(const std::vector<uint16_t>& values, uint16_t hold, int16_t offset, const std::vector<uint16_t>& out) {
        std::vector<uint16_t> w = values;
        w.push_back(hold);
        w.push_back(uint16_t(offset));
        Record(22, w, out);
    }
    void StateMachine(const Machine& m);
    // Raw words or bytes of a record the helpers cannot shape.
    void RawWords(const std::vector<uint16_t>& words, int records = 1) {
        for (uint16_t w : words) W(w);
        records_ += records;
    }

    // Appends the records of another builder (its jumps keep their targets).
    void Append(const Builder& other) {
        const std::size_t base = code_.Size();
        for (const Jump& j : other.jumps_) jumps_.push_back({j.Field + base, j.FirstRecord + records_, j.Count});
        code_.Bytes(other.code_.Data());
        records_ += other.records_;
    }

    int RecordCount() const { return records_; }
    int CodeSize() const { return int(code_.Size()); }

    void AddName(uint16_t op, const AnsiString& name, const AnsiString& comment = AnsiString()) {
        Names.push_back({op, name, comment});
        NamesFlag = true;
    }

    std::string Build() const;

    static uint32_t TimerParam(uint32_t preset, int index, bool running) {
        return (preset & 0xFFFFF) | uint32_t(index & 0x7FF) << 20 | (running ? 0x80000000u : 0);
    }

private:
    void W(uint16_t w) { code_.U16(w); }
    struct Jump {
        std::size_t Field; // offset of D in the code
        int FirstRecord;
        int Count;
    };
    ByteWriter code_;
    std::vector<Jump> jumps_;
    int records_ = 0;
};

// Big-endian pattern bytes of a '1'/'0'/'X' text: value bytes, or mask bytes
// (X) when mask is true.
inline std::string PatternBytes(const std::string& text, int pins, bool mask) {
    int bytes = (pins + 7) / 8;
    std::string out(std::size_t(bytes), '\0');
    for (int j = 0; j < int(text.size()) && j < bytes * 8; ++j) {
        bool set = mask ? text[std::size_t(j)] == 'X' : text[std::size_t(j)] == '1';
        if (set) out[std::size_t(bytes - 1 - j / 8)] = char(out[std::size_t(bytes - 1 - j / 8)] | 1 << (j % 8));
    }
    return out;
}

inline void Builder::StateMachine(const Machine& m) {
    int n = int(m.Inputs.size()), mo = int(m.Outputs.size());
    W(uint16_t(21 | m.Initial << 8));
    W(uint16_t(n));
    W(uint16_t(mo));
    for (uint16_t w : m.Inputs) W(w);
    int rows = 0;
    for (const auto& s : m.States) rows += int(s.Rows.size());
    W(uint16_t(m.States.size()));
    W(uint16_t(m.RowCountOverride >= 0 ? m.RowCountOverride : rows));
    auto pattern = [&](const std::string& p, int state) {
        code_.Bytes(PatternBytes(p, n, false));
        code_.Bytes(PatternBytes(p, n, true));
        code_.U8(uint8_t(state));
    };
    pattern(m.StartPattern, m.StartState);
    pattern(m.ResetPattern, m.ResetState);
    for (const auto& s : m.States) {
        W(uint16_t(s.Rows.size()));
        code_.Bytes(PatternBytes(s.Outputs, mo, false));
        for (const auto& r : s.Rows) pattern(r.Pattern, r.Next);
    }
    for (uint16_t w : m.Outputs) W(w);
    ++records_;
}

inline std::string Builder::Build() const {
    // Resolve the byte counts of the jumps from the records that follow them.
    std::string code = code_.Data();
    if (!jumps_.empty()) {
        // Walk the records to find their offsets (all records are well formed here).
        std::vector<std::size_t> offsets;
        std::size_t pos = 0;
        auto w = [&](std::size_t at) { return uint16_t(uint8_t(code[at]) | uint8_t(code[at + 1]) << 8); };
        while (pos + 6 <= code.size()) {
            offsets.push_back(pos);
            int type = w(pos) & 0xFF, w1 = w(pos + 2), w2 = w(pos + 4);
            if (type == 21) {
                int ib = (w1 + 7) / 8, ob = (w2 + 7) / 8;
                std::size_t q = pos + 6 + 2 * std::size_t(w1);
                int states = w(q);
                q += 4 + 2 * (2 * ib + 1);
                for (int s = 0; s < states; ++s) {
                    int r = w(q);
                    q += 2 + std::size_t(ob) + std::size_t(r) * std::size_t(2 * ib + 1);
                }
                pos = q + 2 * std::size_t(w2);
            } else {
                pos += 2 * std::size_t(3 + (type == 3 ? 4 : w1) + w2);
            }
        }
        offsets.push_back(code.size());
        for (const Jump& j : jumps_) {
            std::size_t from = offsets[std::size_t(j.FirstRecord)];
            std::size_t to = offsets[std::min<std::size_t>(std::size_t(j.FirstRecord + j.Count), offsets.size() - 1)];
            uint32_t d = uint32_t(to - from);
            code[j.Field] = char(d);
            code[j.Field + 1] = char(d >> 8);
            code[j.Field + 2] = char(d >> 16);
            code[j.Field + 3] = char(d >> 24);
        }
    }
    ByteWriter f;
    f.U16(uint16_t(Inputs.size()));
    f.U16(uint16_t(Outputs.size()));
    f.U16(uint16_t(CodeSizeOverride >= 0 ? CodeSizeOverride : int(code.size())));
    f.U16(uint16_t(RecordCountOverride >= 0 ? RecordCountOverride : records_));
    f.U16(Timers);
    f.Zeros(14);
    f.U16(NamesFlag ? 1 : 0);
    f.Zeros(6);
    for (const auto* list : {&Inputs, &Outputs})
        for (const Driver& d : *list) {
            f.I16(d.Type);
            f.Zeros(4);
            f.U16(d.First);
            f.U16(d.Count);
            f.Zeros(6);
        }
    f.Bytes(code);
    f.U32(0);
    for (std::size_t i = 0; i < Names.size(); ++i) {
        const Name& n = Names[i];
        f.U16(n.Operand);
        f.Bytes(n.Text.view());
        f.U8(0);
        f.Bytes(n.Comment.view());
        f.U8(0);
        f.Zeros(i + 1 == Names.size() ? std::size_t(TrailingBytes) : 2);
    }
    return f.Take();
}

// A program of the given number of records for benchmarks and as a seed of
// the fuzz test: every record type but the delay (which would end each scan),
// 100 timers, 32-row CASE tables and 16-state machines. As in real programs
// most records are small gates: in each stretch of up to 400 records the
// eleven large types appear once, spread out, and the rest are small types, so
// that about 4,000 records fit the 64 KB code limit. Stops before the code
// would pass maxCodeBytes. Inputs spread over the image, outputs over its
// upper half.
inline void GenerateProgram(Builder& b, int records, unsigned seed, int maxCodeBytes = 65535) {
    std::mt19937 rng(seed);
    auto addr = [&](int lo, int hi) { return int(rng() % unsigned(hi - lo)) + lo; };
    auto in = [&] { return Op(addr(0, 4096), int(rng() % 8), rng() % 4 == 0); };
    auto out = [&] { return Op(addr(2048, 4096), int(rng() % 8), rng() % 8 == 0); };
    auto ins = [&](int n) { std::vector<uint16_t> v; for (int i = 0; i < n; ++i) v.push_back(in()); return v; };
    auto outs = [&](int n) { std::vector<uint16_t> v; for (int i = 0; i < n; ++i) v.push_back(out()); return v; };
    auto pat = [&](int n, bool x) { std::string s; for (int i = 0; i < n; ++i) s += x && rng() % 3 == 0 ? 'X' : char('0' + rng() % 2); return s; };
    static const int kLarge[] = {9, 10, 11, 13, 14, 17, 18, 19, 20, 21, 22};
    static const int kSmall[] = {0, 1, 2, 3, 5, 6, 7, 8, 12, 15, 16, 0, 1, 12, 2, 5, 0, 1, 12, 2, 5, 0,
                                 1, 12, 2, 5, 0, 1, 12, 2, 5, 0, 1};
    const int stretches = std::max(1, (records + 399) / 400);
    const int stretch = (records + stretches - 1) / stretches;
    const int step = std::max(1, stretch / 11);
    b.Timers = 100;
    int timer = 0, small = 0;
    for (int i = 0; i < records; ++i) {
        const std::size_t before = std::size_t(b.CodeSize());
        if (before + 600 > std::size_t(maxCodeBytes)) break;
        const int pos = i % stretch;
        int type = pos % step == 0 && pos / step < 11 ? kLarge[pos / step] : kSmall[small++ % 33];
        if (type == 16 && (i + 1 >= records || before + 1200 > std::size_t(maxCodeBytes))) type = 0; // a jump needs a record to skip
        switch (type) {
        case 0: b.And(ins(2), outs(1)); break;
        case 1: b.Or(ins(2), outs(1)); break;
        case 2: b.Record(2, ins(2), outs(1)); break;
        case 3: b.Timer(in(), in(), rng() % 60, timer++ % 100, outs(1)); break;
        case 5: b.Record(5, ins(2), outs(1)); break;
        case 6: b.Record(6, ins(2), outs(3)); break;
        case 7: b.Record(7, ins(2), outs(4)); break;
        case 8: b.Record(8, ins(4), outs(1)); break;
        case 9: b.Record(9, ins(10), outs(8)); break;
        case 10: b.Record(10, ins(11), outs(8)); break;
        case 11: b.Record(11, ins(16), outs(3)); break;
        case 12: b.Xor(ins(2), outs(1)); break;
        case 13: b.PredTimer(in(), in(), ins(3), rng() % 20, timer++ % 100, outs(1)); break;
        case 14: {
            std::vector<std::pair<uint16_t, uint16_t>> p;
            for (int k = 0; k < 32; ++k) p.push_back({uint16_t(rng() % 256), uint16_t(rng())});
            b.CaseTable(14, ins(8), p, uint16_t(rng()), outs(8));
            break;
        }
        case 15: b.Record(15, ins(3), outs(3)); break;
        case 16: b.IfGoto(in(), 1); break;
        case 17: {
            std::vector<std::pair<uint16_t, uint16_t>> p;
            for (int k = 0; k < 32; ++k) p.push_back({uint16_t(rng()), uint16_t(rng())});
            b.CaseTable(17, ins(16), p, uint16_t(rng()), outs(16));
            break;
        }
        case 18: {
            std::vector<Builder::Triple> t;
            std::vector<std::pair<uint16_t, uint16_t>> p;
            for (int k = 0; k < 16; ++k) t.push_back({uint16_t(rng()), uint16_t(rng()), uint16_t(rng())});
            for (int k = 0; k < 16; ++k) p.push_back({uint16_t(rng()), uint16_t(rng())});
            b.CMask(ins(16), t, p, uint16_t(rng()), outs(16));
            break;
        }
        case 19: {
            std::vector<std::pair<uint16_t, uint16_t>> r;
            for (int k = 0; k < 32; ++k) r.push_back({uint16_t(rng()), uint16_t(rng())});
            b.CDiap(ins(16), r, outs(6));
            break;
        }
        case 20: b.Commut(ins(4), ins(4), in(), outs(4)); break;
        case 21: {
            Machine m;
            m.Inputs = ins(8);
            m.Outputs = outs(8);
            m.StartPattern = pat(8, true);
            m.ResetPattern = pat(8, false);
            m.ResetState = 1;
            for (int s = 0; s < 16; ++s) {
                Machine::State st;
                st.Outputs = pat(8, false);
                for (int k = 0; k < 3; ++k) st.Rows.push_back({pat(8, true), int(rng() % 16) + 1});
                m.States.push_back(st);
            }
            b.StateMachine(m);
            break;
        }
        case 22: b.Filter(ins(12), in(), 0, outs(12)); break;
        }
    }
}

// Internal signal k: no driver's area holds it.
inline uint16_t Internal(int k) { return Op(3072 + k / 8, k % 8); }

// n named one-input ORs of internal signals, Ik -> Qk, then (timerValue >= 0)
// a timer whose unnamed stop makes its preset the analysis' timer value.
inline Builder Ors(int n, int timerValue = -1) {
    Builder b;
    for (int k = 0; k < n; ++k) {
        b.Or({Internal(k)}, {Internal(40 + k)});
        b.AddName(Internal(k), AnsiString("I") + IntToStr(k));
        b.AddName(Internal(40 + k), AnsiString("Q") + IntToStr(k));
    }
    if (timerValue >= 0) {
        b.Timers = 1;
        b.Timer(Internal(100), Internal(101), uint32_t(timerValue), 0, {Internal(102)});
    }
    return b;
}

// Sample files for damaging: three generated programs with names, and a small
// one with a timer, a jump and a filter.
inline std::vector<std::string> SampleFiles() {
    std::vector<std::string> files;
    for (unsigned s = 0; s < 3; ++s) {
        Builder b;
        b.Inputs = {{1, 0, 64}, {2, 64, 64}};
        b.Outputs = {{3, 2048, 512}};
        GenerateProgram(b, 30 + int(s) * 20, s);
        for (int i = 0; i < 20; ++i) b.AddName(Op(i * 97 % 4096, i % 8), AnsiString("s") + IntToStr(i), "comment");
        files.push_back(b.Build());
    }
    Builder small;
    small.Timers = 1;
    small.IfGoto(Op(1), 1);
    small.Timer(Op(0), Op(1), 1, 0, {Op(2)});
    small.Filter({Op(3), Op(4)}, Op(5), 10, {Op(6), Op(7)});
    small.AddName(Op(0), "x", "");
    files.push_back(small.Build());
    return files;
}

} // namespace dbgfile
