#include "debugger/Vac.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <system_error>

#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

using emu::Operand;

namespace {

// ---- Bits of the image ---------------------------------------------------------
// Reading an operand gives its bit, negated by the inversion flag; writing v
// stores v, negated by the inversion flag.

inline int Rd(const uint8_t* img, const Operand& o) { return ((img[o.Addr] >> o.Bit) & 1) ^ o.Inv; }

inline void Wr(uint8_t* img, const Operand& o, int v) {
    const unsigned m = 1u << o.Bit;
    img[o.Addr] = uint8_t((img[o.Addr] & ~m) | (unsigned((v ^ o.Inv) & 1) << o.Bit));
}

// Rising edge: 0 at the end of the last complete scan, 1 now.
inline bool Edge(const uint8_t* cur, const uint8_t* prev, const Operand& o) { return !Rd(prev, o) && Rd(cur, o); }

// The value of inputs: the first listed input is bit 0. Inputs past the 64th
// do not count.
inline uint64_t Value(const uint8_t* img, const Operand* in, int count) {
    uint64_t v = 0;
    const int n = count < 64 ? count : 64;
    for (int j = 0; j < n; ++j) v |= uint64_t(Rd(img, in[j])) << j;
    return v;
}

inline void WriteAll(uint8_t* img, const Operand* out, int count, int v) {
    for (int j = 0; j < count; ++j) Wr(img, out[j], v);
}

// Output j := bit j of x (0 past the 64th output).
inline void WriteBits(uint8_t* img, const Operand* out, int count, uint64_t x) {
    for (int j = 0; j < count; ++j) Wr(img, out[j], j < 64 ? int((x >> j) & 1) : 0);
}

// ---- Values wider than 64 bits ---------------------------------------------------
// A record may list thousands of inputs or outputs. Such a value is kept as
// 64-bit words, least significant first, with one word more than its bits
// need, so that a difference keeps its sign in the top word.

using Wide = std::vector<uint64_t>;

void ReadWide(const uint8_t* img, const Operand* in, int count, Wide& w) {
    w.assign(std::size_t(count / 64 + 2), 0);
    for (int j = 0; j < count; ++j) w[std::size_t(j / 64)] |= uint64_t(Rd(img, in[j])) << (j % 64);
}

// Output j := bit j of w; bits past the last output are lost.
void WriteWide(uint8_t* img, const Operand* out, int count, const Wide& w) {
    for (int j = 0; j < count; ++j) Wr(img, out[j], int((w[std::size_t(j / 64)] >> (j % 64)) & 1));
}

// w := w + d, in two's complement over all its words.
void AddWide(Wide& w, int64_t d) {
    const uint64_t extension = d < 0 ? ~uint64_t(0) : 0;
    uint64_t carry = 0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const uint64_t a = w[i], b = i == 0 ? uint64_t(d) : extension;
        const uint64_t sum = a + b, total = sum + carry;
        carry = uint64_t(sum < a) | uint64_t(total < sum);
        w[i] = total;
    }
}

bool NegativeWide(const Wide& w) { return (w.back() >> 63) != 0; }

// A non-negative wide value greater than limit.
bool GreaterWide(const Wide& w, uint64_t limit) {
    if (NegativeWide(w)) return false;
    for (std::size_t i = 1; i < w.size(); ++i)
        if (w[i]) return true;
    return w[0] > limit;
}

// The filter of a value wider than 62 bits: the same steps on the whole value.
// The offset's difference needs only the low 16 bits of the value.
[[gnu::cold, gnu::noinline]] void WideFilter(uint8_t* stored, uint8_t* cur, const uint8_t* prev, const Operand* in,
                                             int k, const Operand* out, int nOut) {
    Wide r;
    ReadWide(cur, in, k, r);
    const uint64_t p = Value(prev, in, k);
    int64_t o = int16_t(uint16_t(stored[0] | stored[1] << 8));
    if (o < -4000) o += 4001;
    if (o > 4000) o -= 4001;
    if (Rd(cur, in[k])) {
        int64_t d = int16_t(uint16_t(r[0] - p));
        if (d < -2000) d += 4001;
        else if (d > 2000) d -= 4001;
        o += d;
    }
    AddWide(r, -o);
    if (GreaterWide(r, 4000)) AddWide(r, -4001);
    else if (NegativeWide(r)) AddWide(r, 4001);
    stored[0] = uint8_t(o);
    stored[1] = uint8_t(uint64_t(o) >> 8);
    WriteWide(cur, out, nOut, r);
}

// The wide paths are kept out of line, so that the scan of ordinary records
// stays as tight as it was.
[[gnu::cold, gnu::noinline]] void CountWide(uint8_t* img, const Operand* out, int count, bool up) {
    Wide w;
    ReadWide(img, out, count, w);
    AddWide(w, up ? 1 : -1);
    WriteWide(img, out, count, w);
}

[[gnu::cold, gnu::noinline]] void CopyWide(uint8_t* img, const Operand* in, const Operand* out, int count) {
    Wide w;
    ReadWide(img, in, count, w);
    WriteWide(img, out, count, w);
}

// Counting elements keep their value in their output bits: output 1 is the
// least significant bit, a carry or borrow past the last output is lost.
inline void Count(uint8_t* img, const Operand* out, int count, bool up) {
    if (count > 64) [[unlikely]] {
        CountWide(img, out, count, up);
        return;
    }
    uint64_t v = Value(img, out, count);
    WriteBits(img, out, count, up ? v + 1 : v - 1);
}

inline bool Matches(const emu::MachineMatch& m, const emu::Bits128& x) {
    return ((x.Lo & m.Care.Lo) == m.Value.Lo) & ((x.Hi & m.Care.Hi) == m.Value.Hi);
}

constexpr uint8_t kSetState = 0x80;   // a flip-flop's "set": bit 15 of word 0
constexpr uint8_t kRunningBit = 0x80; // bit 31 of a timer's parameter

} // namespace

TVAC::TVAC(IEmulatorHost* host, const IDriverTable* drivers) : host_(host), drivers_(drivers) {
    std::memset(image_, 0, sizeof image_);
    std::memset(previous_, 0, sizeof previous_);
    std::memset(timers_, 0, sizeof timers_);
}

TVAC::~TVAC() = default;

void TVAC::ShowMsg(const AnsiString& text) {
    if (host_) host_->Message(text);
    else ShowMessage(text);
}

// ---- Loading ---------------------------------------------------------------------

void TVAC::DropProgram() {
    header_ = DebugDataHeader();
    inputDrivers_.clear();
    outputDrivers_.clear();
    code_.clear();
    program_.Clear();
    driverTable_.clear();
    signals_.clear();
    signalIndex_.Clear();
    loadedName_ = AnsiString();
    markedVersion_ = 0;
}

int TVAC::Load() {
    ClearForcedInputs();
    loaded_ = false;
    TickCount = 0;
    RunCount = 0;
    ClearImages();
    DropProgram();
    std::error_code ec;
    if (FileName.IsEmpty() || !std::filesystem::exists(ToFsPath(FileName), ec)) {
        ShowMsg(" Нет файла данных для отладки.\n Запустите трансляцию (Ctrl+F9). "_a);
        return kLoadNoFile;
    }
    if (host_) {
        host_->ShowRunCount(0);
        host_->ShowTickCount(0);
    }
    try {
        std::string bytes;
        if (!ReadWholeFile(FileName, bytes)) return kLoadCannotOpen;
        DebugDataFile file;
        const int rc = ReadDebugDataFile(bytes, file);
        if (rc != kLoadOk) return rc;
        AnsiString error;
        if (!program_.Decode(file.Code, file.Header.RecordCount, file.Header.TimerCount, error)) {
            ShowMsg(" Ошибка файла данных отладчика "_a + ExtractFileName(FileName) + ": " + error);
            return kLoadBadData;
        }
        header_ = file.Header;
        inputDrivers_ = std::move(file.InputDrivers);
        outputDrivers_ = std::move(file.OutputDrivers);
        code_ = std::move(file.Code);
        if (file.HasNames) {
            BuildDriverTable();
            BuildSignals(file.Names);
        }
        loadedName_ = FileName;
    } catch (const std::bad_alloc&) {
        DropProgram();
        return kLoadNoMemory;
    }
    loaded_ = true;
    return kLoadOk;
}

bool TVAC::FindDriverOfAddress(int& side, int& typeCode, int& firstByte, int byteAddress, int* tableIndex) const {
    const std::vector<DebugDriverRecord>* lists[2] = {&inputDrivers_, &outputDrivers_};
    int entry = 1;
    for (int s = 0; s < 2; ++s) {
        for (const DebugDriverRecord& d : *lists[s]) {
            if (byteAddress >= d.FirstByte && byteAddress < int(d.FirstByte) + int(d.ByteCount)) {
                side = s;
                typeCode = d.TypeCode;
                firstByte = d.FirstByte;
                if (tableIndex) *tableIndex = entry;
                return true;
            }
            ++entry;
        }
    }
    firstByte = kNoDriverFirstByte;
    return false;
}

AnsiString TVAC::DriverNameOf(int typeCode, int side, int occurrence) const {
    if (!drivers_) return AnsiString();
    const int n = drivers_->GetDriverCount();
    for (int i = 0; i < n; ++i) {
        TDriverTableEntry d = drivers_->GetDriver(i);
        if (d.Direction == side && drivers_->GetDriverType(d.TypeNumber) == typeCode && occurrence-- == 0) return d.Name;
    }
    return AnsiString();
}

void TVAC::BuildDriverTable() {
    driverTable_.clear();
    driverTable_.push_back(DriversStr{"нет драйвера"_a, kNoDriverFirstByte, -1, -1});
    // The k-th record of a type and side is the k-th driver of that type and
    // direction in the signal table.
    std::map<std::pair<int, int>, int> seen;
    const std::vector<DebugDriverRecord>* lists[2] = {&inputDrivers_, &outputDrivers_};
    for (int side = 0; side < 2; ++side)
        for (const DebugDriverRecord& d : *lists[side]) {
            const int occurrence = seen[{d.TypeCode, side}]++;
            driverTable_.push_back(DriversStr{DriverNameOf(d.TypeCode, side, occurrence), d.FirstByte, d.TypeCode, side});
        }
}

void TVAC::BuildSignals(const std::vector<SignalNameRecord>& names) {
    signals_.assign(names.size(), SignalsStr());
    signalIndex_.Clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const SignalNameRecord& rec = names[i];
        if (rec.Name.IsEmpty()) continue;
        SignalsStr& s = signals_[i];
        s.Name = rec.Name;
        s.Comment = rec.Comment;
        const Operand op = emu::DecodeOperand(rec.Operand);
        int side = 0, type = 0, first = 0, entry = 0;
        if (FindDriverOfAddress(side, type, first, op.Addr, &entry)) {
            s.DriverType = type;
            s.Side = side;
            s.DriverIndex = entry;
        } else {
            s.DriverType = -1;
            s.DriverIndex = 0;
        }
        s.ByteAddress = op.Addr;
        s.Bit = op.Bit;
        s.Offset = op.Addr - first;
        signalIndex_.Add(rec.Name + "=" + IntToStr(static_cast<long long>(i)));
    }
}

int TVAC::MinTimerPreset() {
    AnalysisTimerValue = 0;
    int result = kNoTimerPreset;
    for (const emu::Record& r : program_.Records) {
        if (r.Type == emu::etEndOfScan) {
            ShowMsg(" Ошибка файла данных отладчика "_a + ExtractFileName(loadedName_));
            break;
        }
        if (r.Type == emu::etTimer) result = std::min(result, int(r.Param & 0xFFFFF));
    }
    return result;
}

// ---- Bit memory ------------------------------------------------------------------

void TVAC::SetBit(int byteAddress, int bit, int value) {
    if (byteAddress < 0 || byteAddress >= kImageSize || bit < 0 || bit > 7) return;
    if (value) image_[byteAddress] = uint8_t(image_[byteAddress] | 1u << bit);
    else image_[byteAddress] = uint8_t(image_[byteAddress] & ~(1u << bit));
}

int TVAC::GetBit(int byteAddress, int bit) const {
    if (byteAddress < 0 || byteAddress >= kImageSize || bit < 0 || bit > 7) return 0;
    return image_[byteAddress] & (1 << bit);
}

int TVAC::GetPreviousBit(int byteAddress, int bit) const {
    if (byteAddress < 0 || byteAddress >= kImageSize || bit < 0 || bit > 7) return 0;
    return previous_[byteAddress] & (1 << bit);
}

void TVAC::ClearImages() {
    std::memset(image_, 0, sizeof image_);
    std::memset(previous_, 0, sizeof previous_);
}

void TVAC::SavePrevious() { std::memcpy(previous_, image_, sizeof image_); }

// ---- Forced inputs ---------------------------------------------------------------

int TVAC::AddForcedInput(int byteAddress, int bit, int row) {
    if (byteAddress < 0 || byteAddress >= kImageSize || bit < 0 || bit > 7) return -1;
    forced_.push_back(TForcedInput{byteAddress, bit, row, 1});
    ++forcedVersion_;
    return int(forced_.size()) - 1;
}

void TVAC::SetForcedInputEnabled(int index, bool enabled) {
    forced_.at(std::size_t(index)).Enabled = enabled ? 1 : 0;
    ++forcedVersion_;
}

void TVAC::InputRowDeleted(int row) {
    for (TForcedInput& f : forced_) {
        if (f.Row == row) f.Enabled = 0;
        else if (f.Row > row) --f.Row;
    }
    ++forcedVersion_;
}

void TVAC::ClearForcedInputs() {
    forced_.clear();
    ++forcedVersion_;
}

// Takes the rows' check marks for this scan (the host's check marks cannot
// change while a scan runs).
void TVAC::PrepareForced() {
    forcedNow_.clear();
    // The analysis sets inputs itself: the rows' marks would overrule it.
    if (!host_ || SuppressDisplay) return;
    for (const TForcedInput& f : forced_)
        if (f.Enabled)
            forcedNow_.push_back(ForcedBit{uint16_t(f.ByteAddress), uint8_t(1u << f.Bit), uint8_t(host_->InputChecked(f.Row) ? 1 : 0)});
    if (markedVersion_ != forcedVersion_) MarkForcedWriters();
}

// Once the forced bits hold their marks, only a record that writes one of
// them can change one again: marks those records with the entries they hit.
void TVAC::MarkForcedWriters() {
    uint8_t mask[kImageSize] = {};
    std::vector<const TForcedInput*> enabled;
    for (const TForcedInput& f : forced_)
        if (f.Enabled) {
            mask[f.ByteAddress] = uint8_t(mask[f.ByteAddress] | 1u << f.Bit);
            enabled.push_back(&f);
        }
    touchStart_.assign(program_.Records.size() + 1, 0);
    touchList_.clear();
    std::vector<uint32_t> hits;
    for (std::size_t i = 0; i < program_.Records.size(); ++i) {
        emu::Record& r = program_.Records[i];
        touchStart_[i] = uint32_t(touchList_.size());
        hits.clear();
        const Operand* out = program_.Ops.data() + r.Out;
        for (int j = 0; j < r.OutCount; ++j) {
            if (!(mask[out[j].Addr] & (1u << out[j].Bit))) continue;
            for (std::size_t k = 0; k < enabled.size(); ++k)
                if (enabled[k]->ByteAddress == out[j].Addr && enabled[k]->Bit == out[j].Bit) hits.push_back(uint32_t(k));
        }
        std::sort(hits.begin(), hits.end()); // entry order: a later entry for the same bit wins
        hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
        touchList_.insert(touchList_.end(), hits.begin(), hits.end());
        r.TouchesForced = hits.empty() ? 0 : 1;
    }
    touchStart_.back() = uint32_t(touchList_.size());
    markedVersion_ = forcedVersion_;
}

void TVAC::Force(const ForcedBit& f) {
    image_[f.Addr] = f.Value ? uint8_t(image_[f.Addr] | f.Mask) : uint8_t(image_[f.Addr] & ~f.Mask);
}

void TVAC::ApplyPrepared() {
    for (const ForcedBit& f : forcedNow_) Force(f);
}

void TVAC::ApplyPreparedFor(std::size_t record) {
    for (uint32_t k = touchStart_[record]; k < touchStart_[record + 1]; ++k) Force(forcedNow_[touchList_[k]]);
}

void TVAC::ApplyForcedInputs() {
    PrepareForced();
    ApplyPrepared();
}

// ---- Scan ------------------------------------------------------------------------

void TVAC::ReadInputs() {
    if (!SuppressDisplay && host_) host_->ReadInputs(*this);
}

void TVAC::ShowOutputs() {
    if (!SuppressDisplay && host_) host_->ShowOutputs(*this);
}

void TVAC::Tick() {
    const int n = std::min<int>(header_.TimerCount, kTimerCount);
    for (int t = 0; t < n; ++t)
        if (timers_[t] != 0) --timers_[t];
    ++TickCount;
    if (SuppressDisplay) return;
    if (host_ && host_->IsDebuggerVisible()) host_->ShowTickCount(TickCount);
}

// Inlined into the scan loop: a call per record costs more than many records do.
[[gnu::always_inline]] inline void TVAC::Execute(const emu::Record& r, std::size_t& next) {
    using namespace emu;
    uint8_t* const cur = image_;
    const uint8_t* const prev = previous_;
    const Operand* const in = program_.Ops.data() + r.In;
    const Operand* const out = program_.Ops.data() + r.Out;
    const int nIn = r.InCount, nOut = r.OutCount;
    switch (r.Type) {
    case etAnd: {
        int v = 1;
        for (int j = 0; j < nIn; ++j) v &= Rd(cur, in[j]);
        WriteAll(cur, out, nOut, v);
        break;
    }
    case etOr: {
        int v = 0;
        for (int j = 0; j < nIn; ++j) v |= Rd(cur, in[j]);
        WriteAll(cur, out, nOut, v);
        break;
    }
    case etXor: {
        int ones = 0;
        for (int j = 0; j < nIn; ++j) ones += Rd(cur, in[j]);
        WriteAll(cur, out, nOut, ones == 1);
        break;
    }
    case etTrigger: {
        uint8_t& st = code_[r.State];
        if (Rd(cur, in[1])) st = 0;
        else if (Rd(cur, in[0])) st |= kSetState;
        WriteAll(cur, out, nOut, st != 0);
        break;
    }
    case etDTrigger: {
        uint8_t& st = code_[r.State];
        if (Edge(cur, prev, in[1])) st = Rd(cur, in[0]) ? uint8_t(st | kSetState) : uint8_t(0);
        WriteAll(cur, out, nOut, st != 0);
        break;
    }
    case etDrsTrigger: { // S, D, C, R
        uint8_t& st = code_[r.State];
        const bool clock = Edge(cur, prev, in[2]);
        const int d = Rd(cur, in[1]);
        if (Rd(cur, in[3]) || (clock && !d)) st = 0;
        else if (Rd(cur, in[0]) || (clock && d)) st |= kSetState;
        WriteAll(cur, out, nOut, st != 0);
        break;
    }
    case etCnt: // count, reset
        if (Rd(cur, in[1])) WriteAll(cur, out, nOut, 0);
        else if (Edge(cur, prev, in[0])) Count(cur, out, nOut, true);
        break;
    case etDcd: {
        uint64_t n = Value(cur, in, nIn);
        for (int j = 64; j < nIn; ++j)
            if (Rd(cur, in[j])) n = ~uint64_t(0); // a value no output number reaches
        for (int j = 0; j < nOut; ++j) Wr(cur, out[j], uint64_t(j) == n);
        break;
    }
    case etD8Trigger: // 8 data, clock, reset
        if (Rd(cur, in[9])) WriteAll(cur, out, nOut, 0);
        else if (Edge(cur, prev, in[8])) WriteBits(cur, out, nOut, Value(cur, in, 8));
        else
            for (int j = 0; j < nOut; ++j) Wr(cur, out[j], Rd(prev, out[j]));
        break;
    case etD8RsCnt: // 8 data, load, reset, count
        if (Rd(cur, in[9])) WriteAll(cur, out, nOut, 0);
        else if (Edge(cur, prev, in[8])) WriteBits(cur, out, nOut, Value(cur, in, 8));
        else if (Edge(cur, prev, in[10])) Count(cur, out, nOut, true);
        break;
    case etRCnt: // count, preset, direction
        if (Rd(cur, in[1])) WriteAll(cur, out, nOut, Rd(cur, in[2]) == 0);
        else if (Edge(cur, prev, in[0])) Count(cur, out, nOut, Rd(cur, in[2]) != 0);
        break;
    case etCByte: {
        const uint64_t a = Value(cur, in, 8), b = Value(cur, in + 8, 8);
        Wr(cur, out[0], a > b);
        Wr(cur, out[1], a == b);
        Wr(cur, out[2], a < b);
        break;
    }
    case etTimer:
    case etPredTimer: { // start, stop[, factor inputs]
        uint8_t& running = code_[r.State];
        int32_t& counter = timers_[r.Param >> 20];
        const bool start = Edge(cur, prev, in[0]);
        const int stop = Rd(cur, in[1]);
        int v;
        if (!(running & kRunningBit)) {
            v = start && !stop;
            if (v) {
                running |= kRunningBit;
                uint64_t preset = r.Param & 0xFFFFF;
                if (r.Type == etPredTimer) {
                    uint64_t f = Value(cur, in + 2, nIn - 2);
                    for (int j = 66; j < nIn; ++j)
                        if (Rd(cur, in[j])) f = ~uint64_t(0); // 2^64 or more: the counter saturates
                    preset *= std::min<uint64_t>(f, uint64_t(INT32_MAX) + 1);
                }
                counter = int32_t(std::min<uint64_t>(preset, INT32_MAX));
            }
        } else if (counter <= 0 || stop) {
            running &= uint8_t(~kRunningBit);
            v = 0;
        } else {
            v = 1;
        }
        WriteAll(cur, out, nOut, v);
        break;
    }
    case etCDec:
        WriteBits(cur, out, nOut, program_.Tables[r.Aux + Value(cur, in, 8)]);
        break;
    case etCDec16: { // pairs, {value, pattern}..., default
        const uint32_t* t = program_.Tables.data() + r.Aux;
        const uint32_t v = uint32_t(Value(cur, in, 16));
        const uint32_t pairs = t[0];
        uint32_t pattern = t[1 + 2 * pairs];
        for (uint32_t k = 0; k < pairs; ++k)
            if (t[1 + 2 * k] == v) {
                pattern = t[2 + 2 * k];
                break;
            }
        WriteBits(cur, out, nOut, pattern);
        break;
    }
    case etCMask: { // triples, pairs, {value, mask, pattern}..., {value, pattern}..., default
        const uint32_t* t = program_.Tables.data() + r.Aux;
        const uint32_t v = uint32_t(Value(cur, in, 16));
        const uint32_t triples = t[0], pairs = t[1];
        const uint32_t* tr = t + 2;
        const uint32_t* pr = tr + 3 * triples;
        uint32_t pattern = pr[2 * pairs];
        bool found = false;
        for (uint32_t k = 0; k < triples && !found; ++k)
            if ((v & tr[3 * k + 1]) == tr[3 * k]) {
                pattern = tr[3 * k + 2];
                found = true;
            }
        for (uint32_t k = 0; k < pairs && !found; ++k)
            if (pr[2 * k] == v) {
                pattern = pr[2 * k + 1];
                found = true;
            }
        WriteBits(cur, out, nOut, pattern);
        break;
    }
    case etCDiap: { // ranges, {low, high}...
        const uint32_t* t = program_.Tables.data() + r.Aux;
        const uint32_t v = uint32_t(Value(cur, in, 16));
        uint32_t result = 0;
        for (uint32_t k = 0; k < t[0]; ++k)
            if (t[1 + 2 * k] <= v && v <= t[2 + 2 * k]) {
                result = k + 1;
                break;
            }
        WriteBits(cur, out, nOut, result);
        break;
    }
    case etCommut: { // group A, group B, select
        const bool a = Rd(cur, in[2 * nOut]) != 0;
        if (nOut > 64) [[unlikely]]
            CopyWide(cur, a ? in : in + nOut, out, nOut);
        else
            WriteBits(cur, out, nOut, Value(cur, a ? in : in + nOut, nOut));
        break;
    }
    case etIfGoto:
        if (Rd(cur, in[0])) next = r.Param;
        break;
    case etMachine: {
        const Machine& m = program_.Machines[r.Aux];
        const MachineState* states = program_.States.data() + m.FirstState;
        Bits128 x;
        for (int j = 0; j < nIn; ++j) {
            const uint64_t b = uint64_t(Rd(cur, in[j]));
            if (j < 64) x.Lo |= b << j;
            else x.Hi |= b << (j - 64);
        }
        uint8_t& st = code_[r.State];
        const int p = st;
        int ns = p;
        bool idleNoStart = false;
        if (p == 0) {
            if (Matches(m.Start, x)) ns = m.StartState;
            else idleNoStart = true;
        } else if (m.ResetState != 0 && Matches(m.Reset, x)) {
            ns = m.ResetState;
        } else {
            const MachineState& s = states[p - 1];
            const MachineRow* row = program_.Rows.data() + s.FirstRow;
            for (uint32_t k = 0; k < s.RowCount; ++k)
                if (Matches(row[k].Match, x)) {
                    ns = row[k].Next;
                    break;
                }
        }
        st = uint8_t(ns);
        if (idleNoStart) {
            WriteAll(cur, out, nOut, 0);
        } else {
            const Bits128& o = states[ns > 0 ? ns - 1 : 0].Outputs; // state 0 shows the first block
            for (int j = 0; j < nOut; ++j) Wr(cur, out[j], int(((j < 64 ? o.Lo >> j : o.Hi >> (j - 64))) & 1));
        }
        break;
    }
    case etFilter: { // value inputs, hold; the offset lives in the code
        const int k = nIn - 1;
        if (k > 62) [[unlikely]] { // a value that a signed 64-bit number cannot hold
            WideFilter(&code_[r.State], cur, prev, in, k, out, nOut);
            break;
        }
        const int64_t v = int64_t(Value(cur, in, k)), p = int64_t(Value(prev, in, k));
        uint8_t* stored = &code_[r.State];
        int64_t o = int16_t(uint16_t(stored[0] | stored[1] << 8));
        if (o < -4000) o += 4001;
        if (o > 4000) o -= 4001;
        if (Rd(cur, in[k])) {
            int64_t d = int16_t(uint16_t(uint64_t(v - p)));
            if (d < -2000) d += 4001;
            else if (d > 2000) d -= 4001;
            o += d;
        }
        int64_t res = v - o;
        if (res > 4000) res -= 4001;
        else if (res < 0) res += 4001;
        stored[0] = uint8_t(o);
        stored[1] = uint8_t(uint64_t(o) >> 8);
        WriteBits(cur, out, nOut, uint64_t(res));
        break;
    }
    default:
        break;
    }
}

void TVAC::Run() {
    if (!loaded_) return;
    ++RunCount;
    if (host_ && host_->IsDebuggerVisible()) host_->ShowRunCount(RunCount);
    ReadInputs();
    PrepareForced();
    // Forced bits are set after the first record, then again only after a
    // record that wrote one of them.
    bool pending = !forcedNow_.empty();
    const emu::Record* records = program_.Records.data();
    const std::size_t count = program_.Records.size();
    for (std::size_t i = 0; i < count;) {
        const emu::Record& r = records[i];
        if (r.Type == emu::etEndOfScan) return; // no forced inputs, no saved image, no outputs shown
        std::size_t next = i + 1;
        Execute(r, next);
        if (pending) {
            ApplyPrepared();
            pending = false;
        } else if (r.TouchesForced && !forcedNow_.empty()) {
            ApplyPreparedFor(i);
        }
        i = next;
    }
    SavePrevious();
    ShowOutputs();
}
