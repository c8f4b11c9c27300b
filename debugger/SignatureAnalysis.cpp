#include "debugger/SignatureAnalysis.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "debugger/Vac.h"

namespace {

constexpr int kBits = TVAC::kImageSize * 8;
constexpr uint64_t kMaxScans = std::numeric_limits<uint64_t>::max();

// The pin the translator writes for inputs left open: it names a signal, but
// reading it tells nothing about the program.
bool IsNullInput(const AnsiString& name) { return name.Trim() == "_null_in_"; }

uint64_t SatMul(uint64_t a, uint64_t b) { return a != 0 && b > kMaxScans / a ? kMaxScans : a * b; }
uint64_t SatAdd(uint64_t a, uint64_t b) { return b > kMaxScans - a ? kMaxScans : a + b; }

} // namespace

// ---- the signal lists ---------------------------------------------------------------

int TSignalLists::IndexOfLine(const TVAC& vac, int line) {
    const AnsiString text = vac.SignalIndex()[line];
    const int index = text.SubString(text.Pos("=") + 1, text.Length()).Trim().ToIntDef(-1);
    return index >= 0 && index < int(vac.Signals().size()) ? index : -1;
}

void TSignalLists::CollectComments(const TVAC& vac, TStrings& comments, std::vector<int>& signalOfLine) {
    comments.BeginUpdate();
    for (int line = 0; line < vac.SignalIndex().Count(); ++line) {
        const int index = IndexOfLine(vac, line);
        if (index < 0) continue;
        const SignalsStr& s = vac.Signals()[std::size_t(index)];
        if (s.Comment.IsEmpty()) continue;
        comments.Add(s.Comment);
        signalOfLine.push_back(index);
    }
    comments.EndUpdate();
}

void TSignalLists::Add(int line, bool output) {
    Line& l = lines_[std::size_t(line)];
    bool& in = output ? l.InOutputs : l.InInputs;
    if (in) return;
    in = true;
    (output ? Outputs : Inputs).Add(vac_->SignalIndex()[line]);
    (output ? OutputRecords : InputRecords).push_back(TAnalysisSignal{l.Index, l.ByteAddress, l.Bit, 0, 0});
}

bool TSignalLists::IsNamedSignal(int byteAddress, int bit) const {
    if (byteAddress < 0 || byteAddress >= TVAC::kImageSize || bit < 0 || bit > 7 || firstNamed_.empty()) return false;
    return firstNamed_[std::size_t(byteAddress * 8 + bit)] != kNone;
}

void TSignalLists::AddAnalysisInput(int byteAddress, int bit) {
    if (byteAddress < 0 || byteAddress >= TVAC::kImageSize || bit < 0 || bit > 7 || firstLine_.empty()) return;
    const int line = firstLine_[std::size_t(byteAddress * 8 + bit)];
    if (line != kNone) Add(line, false);
}

void TSignalLists::AddAnalysisOutput(int byteAddress, int bit) {
    if (byteAddress < 0 || byteAddress >= TVAC::kImageSize || bit < 0 || bit > 7 || firstLine_.empty()) return;
    const int line = firstLine_[std::size_t(byteAddress * 8 + bit)];
    if (line != kNone) Add(line, true);
}

void TSignalLists::BuildSignalLists(TVAC& vac) {
    vac_ = &vac;
    vac.AnalysisTimerValue = 2;
    Inputs.Clear();
    Outputs.Clear();
    InputRecords.clear();
    OutputRecords.clear();
    const int count = vac.SignalIndex().Count();
    InputRecords.reserve(std::size_t(count));
    OutputRecords.reserve(std::size_t(count));

    // Each line names its record by the index it carries.
    lines_.clear();
    firstLine_.assign(kBits, kNone);
    firstNamed_.assign(kBits, kNone);
    for (int line = 0; line < count; ++line) {
        const int index = IndexOfLine(vac, line);
        const SignalsStr* s = index >= 0 ? &vac.Signals()[std::size_t(index)] : nullptr;
        lines_.push_back(Line{index, s ? s->ByteAddress : 0, s ? s->Bit : 0, false, false});
        if (!s) continue;
        const std::size_t at = std::size_t(s->ByteAddress * 8 + s->Bit);
        if (firstLine_[at] == kNone) firstLine_[at] = line;
        if (firstNamed_[at] == kNone && !IsNullInput(vac.SignalIndex().Names(line))) firstNamed_[at] = line;
    }

    // Only operand positions are looked up: table values, presets and jump
    // counts are numbers, not signals.
    const emu::TElementCode& code = vac.Program();
    for (const emu::Record& r : code.Records) {
        const emu::Operand* in = code.Ops.data() + r.In;
        const emu::Operand* out = code.Ops.data() + r.Out;
        if (r.Type == emu::etTimer) {
            if (IsNamedSignal(in[0].Addr, in[0].Bit)) AddAnalysisInput(in[0].Addr, in[0].Bit);
            if (IsNamedSignal(in[1].Addr, in[1].Bit)) AddAnalysisInput(in[1].Addr, in[1].Bit);
            else vac.AnalysisTimerValue = int(r.Param & 0xFFFFF);
        } else {
            for (int j = 0; j < r.InCount; ++j)
                if (IsNamedSignal(in[j].Addr, in[j].Bit)) AddAnalysisInput(in[j].Addr, in[j].Bit);
        }
        for (int j = 0; j < r.OutCount; ++j)
            if (IsNamedSignal(out[j].Addr, out[j].Bit)) AddAnalysisOutput(out[j].Addr, out[j].Bit);
    }

    // Signals no element uses go to the side of their driver.
    for (int line = 0; line < count; ++line) {
        const Line& l = lines_[std::size_t(line)];
        if (l.Index < 0 || l.InInputs || l.InOutputs) continue;
        const SignalsStr& s = vac.Signals()[std::size_t(l.Index)];
        const std::vector<DriversStr>& drivers = vac.Drivers();
        const bool inputDriver = s.DriverIndex > 0 && s.DriverIndex < int(drivers.size()) &&
                                 drivers[std::size_t(s.DriverIndex)].Side == 0;
        Add(line, !inputDriver);
    }
}

// ---- the analysis ---------------------------------------------------------------------

void TSignatureAnalysis::Scan() { vac_->Run(); }

void TSignatureAnalysis::Tick() { vac_->Tick(); }

void TSignatureAnalysis::ClearImages() { vac_->ClearImages(); }

void TSignatureAnalysis::SetInput(int k, int value) {
    if (k < 0 || k >= int(lists_.InputRecords.size())) return;
    const TAnalysisSignal& s = lists_.InputRecords[std::size_t(k)];
    vac_->SetBit(s.ByteAddress, s.Bit, value);
}

bool TSignatureAnalysis::Begin(TVAC& vac) {
    if (!vac.Loaded()) return false;
    vac_ = &vac;
    vac.SuppressDisplay = true;
    timerValue_ = std::max(0, vac.AnalysisTimerValue);
    for (TAnalysisSignal& s : lists_.OutputRecords) s.Changed = 0;
    constants_.Clear();
    stack_.clear();
    topCall_ = 0;
    evaluating_ = false;
    scans_ = 0;
    phase_ = kFirstScan;
    return true;
}

uint64_t TSignatureAnalysis::Estimate() const {
    const int n = std::max<int>(1, int(lists_.InputRecords.size()));
    const uint64_t levels = n >= 64 ? kMaxScans : (uint64_t(1) << n) - 1;
    return SatAdd(2, SatMul(SatMul(6, levels), SatAdd(1, uint64_t(timerValue_))));
}

void TSignatureAnalysis::Watch() {
    constexpr std::size_t kWords = TVAC::kImageSize / 8;
    watchMask_.assign(kWords, 0);
    firstBits_.assign(kWords, 0);
    outputAt_.clear();
    for (std::size_t k = 0; k < lists_.OutputRecords.size(); ++k) {
        TAnalysisSignal& s = lists_.OutputRecords[k];
        s.FirstValue = vac_->GetBit(s.ByteAddress, s.Bit);
        const uint32_t at = uint32_t(s.ByteAddress * 8 + s.Bit);
        if (at >= TVAC::kImageSize * 8u) continue;
        watchMask_[at / 64] |= uint64_t(1) << (at % 64);
        if (s.FirstValue) firstBits_[at / 64] |= uint64_t(1) << (at % 64);
        outputAt_.emplace_back(at, uint32_t(k));
    }
    std::sort(outputAt_.begin(), outputAt_.end());
    watchedWords_.clear();
    for (std::size_t w = 0; w < kWords; ++w)
        if (watchMask_[w]) watchedWords_.push_back(uint32_t(w));
}

void TSignatureAnalysis::Compare() {
    const uint8_t* image = vac_->ImageBytes();
    for (std::size_t i = 0; i < watchedWords_.size();) {
        const uint32_t w = watchedWords_[i];
        uint64_t bits;
        std::memcpy(&bits, image + 8 * w, 8); // bit 8k+j of the word is bit j of byte k
        uint64_t changed = (bits ^ firstBits_[w]) & watchMask_[w];
        if (!changed) {
            ++i;
            continue;
        }
        watchMask_[w] &= ~changed;
        while (changed) {
            const uint32_t at = w * 64 + uint32_t(std::countr_zero(changed));
            changed &= changed - 1;
            auto range = std::equal_range(outputAt_.begin(), outputAt_.end(), std::make_pair(at, 0u),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto it = range.first; it != range.second; ++it) lists_.OutputRecords[it->second].Changed = 1;
        }
        if (watchMask_[w]) {
            ++i;
        } else {
            watchedWords_[i] = watchedWords_.back();
            watchedWords_.pop_back();
        }
    }
}

uint64_t TSignatureAnalysis::Evaluate(uint64_t budget) {
    uint64_t used = 0;
    while (used < budget) {
        if (!firstScanDone_) {
            passCounter_ = 0;
            Scan();
            Compare();
            firstScanDone_ = true;
            ++used;
        } else if (passCounter_ < timerValue_) {
            Scan();
            Compare();
            Tick();
            ++passCounter_;
            ++used;
        }
        if (firstScanDone_ && passCounter_ >= timerValue_) {
            evaluating_ = false;
            break;
        }
    }
    return used;
}

bool TSignatureAnalysis::Advance() {
    const int n = int(lists_.InputRecords.size());
    const int a = topCall_ == 0 ? 1 : 0, b = 1 - a;
    for (;;) {
        if (stack_.empty()) {
            if (topCall_ > 1) return false;
            stack_.push_back(Frame{0, 0});
        }
        Frame& f = stack_.back();
        switch (f.Stage) {
        case 0:
        case 2:
        case 4:
            ++f.Stage;
            evaluating_ = true;
            firstScanDone_ = false;
            return true;
        case 1:
        case 3: {
            const int k = f.K;
            SetInput(k, f.Stage == 1 ? a : b);
            ++f.Stage;
            if (k < n - 1) stack_.push_back(Frame{k + 1, 0});
            break;
        }
        default:
            stack_.pop_back();
            if (stack_.empty()) {
                ++topCall_;
                if (topCall_ > 1) return false;
                return Advance();
            }
            break;
        }
    }
}

bool TSignatureAnalysis::Step(uint64_t maxScans) {
    uint64_t budget = std::max<uint64_t>(1, maxScans);
    while (budget > 0) {
        switch (phase_) {
        case kFirstScan:
            Scan();
            ClearImages();
            ++scans_;
            --budget;
            phase_ = kSecondScan;
            break;
        case kSecondScan:
            Scan();
            ++scans_;
            --budget;
            Watch();
            ClearImages();
            phase_ = kEnumerate;
            break;
        case kEnumerate:
            if (!evaluating_ && !Advance()) {
                End(kFinished);
                return true;
            }
            if (evaluating_) {
                const uint64_t used = Evaluate(budget);
                scans_ += used;
                budget -= used;
            }
            break;
        default:
            return true;
        }
    }
    return !Active();
}

void TSignatureAnalysis::End(Phase how) {
    phase_ = how;
    stack_.clear();
    evaluating_ = false;
    constants_.Clear();
    if (how == kFinished) {
        for (std::size_t k = 0; k < lists_.OutputRecords.size(); ++k) {
            const TAnalysisSignal& s = lists_.OutputRecords[k];
            if (s.Changed) continue;
            const AnsiString name = lists_.Outputs.Names(int(k));
            if (constants_.IndexOfName(name) < 0) constants_.Add(name + "=" + (s.FirstValue ? "1" : "0"));
        }
    }
    if (vac_) vac_->SuppressDisplay = false;
}

void TSignatureAnalysis::Cancel() {
    if (Active()) End(kCancelled);
}

// ---- the CASE check -------------------------------------------------------------------

bool CompareOutputs(TVAC& vac, const TSignalLists& lists, std::vector<int32_t>& outputs) {
    if (!vac.Loaded()) return false;
    constexpr int kPins = 16;
    constexpr int kWords = 1 << kPins;
    const int inputs = std::min<int>(kPins, int(lists.InputRecords.size()));
    const int outs = std::min<int>(kPins, int(lists.OutputRecords.size()));
    outputs.assign(kWords, 0);
    vac.SuppressDisplay = true;
    for (int i = 0; i < inputs; ++i) vac.SetBit(lists.InputRecords[std::size_t(i)].ByteAddress, lists.InputRecords[std::size_t(i)].Bit, 0);
    vac.Run();
    for (int n = 0; n < kWords; ++n) {
        for (int i = 0; i < inputs; ++i) {
            const TAnalysisSignal& s = lists.InputRecords[std::size_t(i)];
            vac.SetBit(s.ByteAddress, s.Bit, (n >> i) & 1);
        }
        vac.Run();
        int32_t word = 0;
        for (int i = 0; i < outs; ++i) {
            const TAnalysisSignal& s = lists.OutputRecords[std::size_t(i)];
            if (vac.GetBit(s.ByteAddress, s.Bit)) word |= int32_t(1) << i;
        }
        outputs[std::size_t(n)] = word;
    }
    vac.SuppressDisplay = false;
    return true;
}
