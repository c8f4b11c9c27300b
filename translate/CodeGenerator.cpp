#include "translate/CodeGenerator.h"

#include <set>

#include "controller/ElementTypes.h"
#include "platform/Bytes.h"
#include "translate/MachineTable.h"
#include "translate/TranslateApi.h"
#include "translate/WorkFiles.h"

namespace translate {

namespace {

constexpr uint32_t kTimerIndexShift = 20;

// One CASE row: "%%value pattern", "%%value mask pattern" or "%%* pattern".
struct TCaseRow {
    bool Default = false;
    std::vector<uint16_t> Numbers;
};

class TGenerator {
public:
    TGenerator(TMemoryMap& map, TProgram& out, TDiagnostics& diag) : map_(map), out_(out), diag_(diag) {}

    bool Block(const TBlock& b);
    void Jumps(const std::vector<TBlock>& blocks);

private:
    bool Fail(const TBlock& b, const AnsiString& what, int result = kTranslateNetlistError) {
        diag_.Error(result, "Элемент "_a + b.Name + ": "_a + what);
        return false;
    }
    bool WrongPins(const TBlock& b) { return Fail(b, "неверное число входов или выходов"_a); }
    bool Operands(const TBlock& b, bool ownOpenOutputs, std::vector<uint16_t>& in, std::vector<uint16_t>& out);
    bool CaseRows(const TBlock& b, bool masks, bool defaults, std::vector<TCaseRow>& rows);
    bool Timer(const TBlock& b, uint32_t& param);
    void Emit(int type, std::size_t word1, const std::string& middle, const std::vector<uint16_t>& outs);

    TMemoryMap& map_;
    TProgram& out_;
    TDiagnostics& diag_;
    ByteWriter code_;
    std::vector<std::size_t> offsets_; // code offset of every block's record, then the end
    std::vector<std::size_t> jumps_;   // blocks that are jumps
};

void Words(ByteWriter& w, const std::vector<uint16_t>& words) {
    for (uint16_t v : words) w.U16(v);
}

// Counters keep their count only in their output bits and read it back at
// every edge: an unconnected output must keep its bit from scan to scan.
// (Flip-flops and timers keep their state in the record; the 8-bit trigger
// reads each output back into itself alone.)
bool ReadsItsOutputs(int type) { return type == etCnt || type == etRCnt || type == etD8RsCnt; }

bool TGenerator::Operands(const TBlock& b, bool ownOpenOutputs, std::vector<uint16_t>& in,
                          std::vector<uint16_t>& out) {
    bool ok = true;
    std::set<AnsiString> warned;
    for (const TPinLine& p : b.Pins) {
        uint16_t op = 0;
        if (TMemoryMap::IsNullName(p.Net)) {
            // The writer marks an unconnected pin "inverse" when it is NOT inverted.
            if (p.Output && ownOpenOutputs) op = TMemoryMap::Operand(map_.OwnBit(), !p.InverseWord);
            else op = TMemoryMap::Operand(p.Output ? map_.NullOut() : map_.NullIn(), !p.InverseWord);
        } else if (const TSignal* s = map_.Find(p.Net)) {
            op = TMemoryMap::Operand(*s, p.InverseWord);
            const bool inputDriver = s->Driver >= 0 && !map_.Drivers()[std::size_t(s->Driver)].Output;
            if (p.Output && inputDriver && warned.insert(s->Name).second)
                diag_.Warning("элемент "_a + b.Name + " пишет во входной сигнал "_a + s->Name);
        } else {
            ok = Fail(b, "неизвестная цепь "_a + p.Net);
            continue;
        }
        (p.Output ? out : in).push_back(op);
    }
    return ok;
}

bool TGenerator::CaseRows(const TBlock& b, bool masks, bool defaults, std::vector<TCaseRow>& rows) {
    bool ok = true, haveDefault = false;
    for (const AnsiString& line : b.Rows) {
        const std::vector<AnsiString> f = SplitFields(line.SubString(3, line.Length()));
        TCaseRow row;
        row.Default = !f.empty() && f[0] == "*";
        bool good = line[2] == '%' && (row.Default ? defaults && !haveDefault && f.size() == 2
                                                   : f.size() == 2 || (masks && f.size() == 3));
        for (std::size_t k = row.Default ? 1 : 0; good && k < f.size(); ++k) {
            long long v = 0;
            good = ParseInteger(f[k], v) && v >= 0 && v <= 65535;
            row.Numbers.push_back(uint16_t(v));
        }
        if (!good) {
            ok = Fail(b, "неверная строка таблицы \""_a + line + "\"");
            continue;
        }
        haveDefault = haveDefault || row.Default;
        rows.push_back(row);
    }
    return ok;
}

bool TGenerator::Timer(const TBlock& b, uint32_t& param) {
    long long preset = 0;
    if (b.Params.size() != 1 || !ParseInteger(b.Params[0], preset) || preset < 0)
        return Fail(b, "неверное время таймера \""_a + (b.Params.empty() ? AnsiString() : b.Params[0]) + "\"");
    if (preset > kMaxTimerPreset)
        return Fail(b, Format("время таймера %s больше %d"_a, IntToStr(preset), kMaxTimerPreset),
                    kTranslateLimitExceeded);
    const int index = out_.Timers++;
    param = uint32_t(preset) | uint32_t(index & 0x7FF) << kTimerIndexShift;
    return true;
}

void TGenerator::Emit(int type, std::size_t word1, const std::string& middle, const std::vector<uint16_t>& outs) {
    code_.U16(uint16_t(type));
    code_.U16(uint16_t(word1));
    code_.U16(uint16_t(outs.size()));
    code_.Bytes(middle);
    Words(code_, outs);
}

bool TGenerator::Block(const TBlock& b) {
    offsets_.push_back(code_.Size());
    if (b.Damaged) return false;
    const int type = RecordType(b.Keyword);
    if (type < 0) return Fail(b, "неизвестный тип "_a + b.Keyword);
    if (type == etDelay) return Fail(b, "элемент задержки (delay) не поддерживается"_a);
    std::vector<uint16_t> in, out;
    if (!Operands(b, ReadsItsOutputs(type), in, out)) return false;
    if (type != etMachine && type != etCDec && type != etCDec16 && type != etCMask && type != etCDiap &&
        !b.Rows.empty())
        return Fail(b, "неверная строка таблицы \""_a + b.Rows[0] + "\"");
    ByteWriter middle;
    std::size_t word1 = in.size();
    // Types whose inputs are a fixed list: S, R; D, C; count, reset; ...
    auto fixed = [&](std::size_t inputs, int outputs = -1) {
        if (in.size() != inputs || (outputs >= 0 && out.size() != std::size_t(outputs))) return WrongPins(b);
        Words(middle, in);
        return true;
    };
    bool ok = true;
    switch (type) {
    case etAnd:
    case etOr:
    case etXor:
    case etDcd: Words(middle, in); break;
    case etTrigger:
    case etDTrigger:
    case etCnt: ok = fixed(2); break;
    case etRCnt: ok = fixed(3); break;
    case etDrsTrigger: ok = fixed(4); break;
    case etD8Trigger: ok = fixed(10); break;
    case etD8RsCnt: ok = fixed(11); break;
    case etCByte: ok = fixed(16, 3); break;
    case etTimer:
    case etPredTimer: {
        // start, stop, the pre-set factor inputs, the u32 parameter
        uint32_t param = 0;
        if ((type == etTimer ? in.size() != 2 : in.size() < 2)) return WrongPins(b);
        if (!Timer(b, param)) return false;
        Words(middle, in);
        middle.U32(param);
        word1 = in.size() + 2;
        break;
    }
    case etCDec:
    case etCDec16:
    case etCMask:
    case etCDiap: {
        std::vector<TCaseRow> rows;
        const std::size_t inputs = type == etCDec ? 8 : 16;
        if (!CaseRows(b, type == etCMask, type != etCDiap, rows)) return false;
        if (in.size() != inputs) return WrongPins(b);
        Words(middle, in);
        uint16_t def = 0;
        std::vector<const TCaseRow*> pairs, triples;
        for (const TCaseRow& r : rows) {
            if (r.Default) def = r.Numbers[0];
            else (r.Numbers.size() == 3 ? triples : pairs).push_back(&r);
        }
        if (type == etCMask) {
            middle.U16(uint16_t(pairs.size()));
            middle.U16(uint16_t(triples.size()));
            for (const TCaseRow* r : triples) Words(middle, r->Numbers);
        }
        for (const TCaseRow* r : pairs) Words(middle, r->Numbers);
        if (type != etCDiap) middle.U16(def);
        word1 = middle.Size() / 2;
        break;
    }
    case etCommut:
        if (in.size() != 2 * out.size() + 1) return WrongPins(b);
        Words(middle, in); // group A, group B, select
        break;
    case etIfGoto:
        if (!fixed(1, 0)) return false;
        middle.U32(0); // the byte count D and the record count N of the
        middle.U16(0); // records it skips, set once all records are written
        word1 = 4;
        jumps_.push_back(offsets_.size() - 1);
        break;
    case etFilter:
        if (in.empty()) return WrongPins(b);
        Words(middle, in); // value inputs, then the hold input
        middle.I16(0);     // the offset the scan keeps
        word1 = in.size() + 1;
        break;
    case etMachine:
        if (in.size() > std::size_t(kMaxMachinePins) || out.size() > std::size_t(kMaxMachinePins))
            return Fail(b, Format("у автомата %d входов и %d выходов, допустимо не более %d"_a, int(in.size()),
                                  int(out.size()), kMaxMachinePins),
                        kTranslateLimitExceeded);
        Words(middle, in);
        if (!WriteMachineTable(b, int(in.size()), int(out.size()), middle, diag_)) return false;
        break;
    }
    if (!ok) return false;
    // The record keeps its length and counts in 16 bits: a longer table
    // must not wrap them.
    if (word1 > 0xFFFF)
        return Fail(b, Format("запись занимает %d слов, допустимо не более %d"_a, int(word1), 0xFFFF),
                    kTranslateLimitExceeded);
    Emit(type, word1, middle.Data(), out);
    ++out_.Records;
    return true;
}

// A jump "name ifgoto scheme element" goes to the first later block of that
// element: it skips the N blocks in between, D bytes of code.
void TGenerator::Jumps(const std::vector<TBlock>& blocks) {
    offsets_.push_back(code_.Size());
    out_.Code = code_.Take();
    for (std::size_t j : jumps_) {
        const TBlock& b = blocks[j];
        const AnsiString target = b.Params.size() >= 2 ? b.Params.back() : AnsiString();
        if (target.IsEmpty()) {
            Fail(b, "не задан элемент перехода"_a);
            continue;
        }
        std::size_t k = j + 1;
        while (k < blocks.size() && !SameText(blocks[k].Name, target)) ++k;
        if (k == blocks.size()) {
            bool earlier = false;
            for (std::size_t e = 0; e <= j; ++e) earlier = earlier || SameText(blocks[e].Name, target);
            Fail(b, (earlier ? "переход назад к элементу "_a : "не найден элемент перехода "_a) + target);
            continue;
        }
        if (diag_.Failed()) continue; // the offsets are those of a complete program only
        std::string& code = out_.Code;
        const uint32_t bytes = uint32_t(offsets_[k] - offsets_[j + 1]);
        const uint16_t count = uint16_t(k - j - 1);
        const std::size_t at = offsets_[j] + 8;
        for (int i = 0; i < 4; ++i) code[at + std::size_t(i)] = char(bytes >> (8 * i));
        code[at + 4] = char(count);
        code[at + 5] = char(count >> 8);
    }
}

} // namespace

int RecordType(const AnsiString& keyword) { return ElementTypeOf(keyword.str()); }

bool GenerateCode(const std::vector<TBlock>& blocks, TMemoryMap& map, TProgram& out, TDiagnostics& diag) {
    out = TProgram();
    TGenerator g(map, out, diag);
    for (const TBlock& b : blocks) g.Block(b);
    g.Jumps(blocks);
    map.CheckInternalBits(diag);
    if (out.Timers > kMaxTimers)
        diag.Error(kTranslateLimitExceeded, Format("Превышен предел: таймеров %d, допустимо %d"_a, out.Timers, kMaxTimers));
    if (out.Code.size() > std::size_t(kMaxCodeBytes))
        diag.Error(kTranslateLimitExceeded,
                   Format("Превышен предел: код занимает %d байт, допустимо %d"_a, int(out.Code.size()), kMaxCodeBytes));
    return !diag.Failed();
}

} // namespace translate
