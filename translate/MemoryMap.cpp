#include "translate/MemoryMap.h"

#include "translate/TranslateApi.h"

namespace translate {

namespace {
const char* const kNullIn = "_null_in_";
const char* const kNullOut = "_null_out_";
} // namespace

bool TMemoryMap::IsNullName(const AnsiString& name) { return SameText(name, kNullIn) || SameText(name, kNullOut); }

bool TMemoryMap::Build(const TWorkFiles& files, TDiagnostics& diag) {
    drivers_.clear();
    driverIndex_.clear();
    signals_.clear();
    signalIndex_.clear();
    internalBits_ = 0;
    return LayDrivers(files, diag) && LaySignals(files, diag);
}

bool TMemoryMap::LayDrivers(const TWorkFiles& files, TDiagnostics& diag) {
    std::unordered_map<AnsiString, long long, AnsiStringHash> types;
    for (const TDriverTypeLine& t : files.DriverTypes) {
        if (t.Number < -32768 || t.Number > 32767)
            diag.Error(kTranslateNetlistError,
                       Format("Тип драйвера %s: номер %s не помещается в 16 бит"_a, t.Name, t.NumberText));
        auto [it, added] = types.emplace(AnsiUpperCase(t.Name), t.Number);
        if (!added && it->second != t.Number)
            diag.Error(kTranslateNetlistError, "Тип драйвера "_a + t.Name + " определён дважды"_a);
    }
    int bytes = 0, inputs = 0, outputs = 0;
    for (const TDriverLine& d : files.Drivers) {
        auto type = types.find(AnsiUpperCase(d.TypeName));
        if (type == types.end()) {
            diag.Error(kTranslateNetlistError, Format("Драйвер %s: неизвестный тип драйвера %s"_a, d.Name, d.TypeName));
            continue;
        }
        if (!driverIndex_.emplace(AnsiUpperCase(d.Name), int(drivers_.size())).second) {
            diag.Error(kTranslateNetlistError, "Драйвер "_a + d.Name + " определён дважды"_a);
            continue;
        }
        TDriverArea a;
        a.Name = d.Name;
        a.Output = d.Output;
        a.TypeCode = int16_t(type->second);
        a.Bits = d.Bits;
        a.Bytes = uint16_t((d.Bits + 7) / 8);
        a.First = uint16_t(bytes < kDriverBytes ? bytes : kDriverBytes);
        bytes += a.Bytes;
        ++(d.Output ? outputs : inputs);
        drivers_.push_back(a);
    }
    if (bytes > kDriverBytes)
        diag.Error(kTranslateLimitExceeded,
                   Format("Превышен предел: драйверы занимают %d байт, допустимо %d"_a, bytes, kDriverBytes));
    if (inputs > kMaxDriverRecords || outputs > kMaxDriverRecords)
        diag.Error(kTranslateLimitExceeded, Format("Превышен предел: драйверов %d, допустимо %d"_a,
                                                   inputs > outputs ? inputs : outputs, kMaxDriverRecords));
    return !diag.Failed();
}

void TMemoryMap::Define(const TSignal& s, TDiagnostics& diag) {
    auto [it, added] = signalIndex_.emplace(AnsiUpperCase(s.Name), int(signals_.size()));
    if (!added) {
        // The same definition met again (a connector or driver pin used in
        // several schemes) is one signal; a different one is an error.
        const TSignal& old = signals_[std::size_t(it->second)];
        bool same = old.Driver < 0 ? s.Driver < 0
                                   : s.Driver == old.Driver && s.Address == old.Address && s.Bit == old.Bit;
        if (!same) diag.Error(kTranslateNetlistError, "Сигнал "_a + s.Name + " определён дважды с разными битами"_a);
        return;
    }
    TSignal placed = s;
    if (s.Driver < 0) {
        const int n = internalBits_++;
        if (n < kInternalBits) {
            placed.Address = uint16_t(kInternalBase + n / 8);
            placed.Bit = uint8_t(n % 8);
        }
    }
    signals_.push_back(placed);
}

bool TMemoryMap::LaySignals(const TWorkFiles& files, TDiagnostics& diag) {
    Define(TSignal{kNullIn, 0, 0, -1}, diag);
    Define(TSignal{kNullOut, 0, 0, -1}, diag);
    for (const AnsiString& raw : files.Signals) {
        const AnsiString line = Trim(raw);
        if (line.IsEmpty()) continue;
        // "name driver bit" with a known driver is a driver pin; any other
        // line names an internal signal.
        const std::vector<AnsiString> f = SplitFields(line);
        long long bit = 0;
        auto driver = f.size() == 3 ? driverIndex_.find(AnsiUpperCase(f[1])) : driverIndex_.end();
        if (driver == driverIndex_.end() || !ParseInteger(f[2], bit)) {
            Define(TSignal{line, 0, 0, -1}, diag);
            continue;
        }
        const TDriverArea& d = drivers_[std::size_t(driver->second)];
        if (bit < 0 || bit >= d.Bits) {
            diag.Error(kTranslateNetlistError,
                       Format("Сигнал %s: бит %s вне драйвера %s"_a, f[0], IntToStr(bit), d.Name));
            continue;
        }
        Define(TSignal{f[0], uint16_t(d.First + bit / 8), uint8_t(bit % 8), driver->second}, diag);
    }
    CheckInternalBits(diag);
    return !diag.Failed();
}

TSignal TMemoryMap::OwnBit() {
    const int n = internalBits_++;
    const int at = n < kInternalBits ? n : kInternalBits - 1;
    return TSignal{AnsiString(), uint16_t(kInternalBase + at / 8), uint8_t(at % 8), -1};
}

bool TMemoryMap::CheckInternalBits(TDiagnostics& diag) const {
    if (internalBits_ <= kInternalBits) return true;
    diag.Error(kTranslateLimitExceeded, Format("Превышен предел: внутренние сигналы занимают %d бит, допустимо %d"_a,
                                               internalBits_, kInternalBits));
    return false;
}

const TSignal* TMemoryMap::Find(const AnsiString& name) const {
    auto it = signalIndex_.find(AnsiUpperCase(name));
    return it == signalIndex_.end() ? nullptr : &signals_[std::size_t(it->second)];
}

} // namespace translate
