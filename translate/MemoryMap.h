#pragma once
// TMemoryMap: the allocator. It gives every driver an area of the controller's
// bit image and every signal a bit. Driver areas are laid from byte 0 in the
// order of the drivers file, ceil(bits / 8) bytes each; a driver pin is the
// bit of its number inside its driver's area. Signals that belong to no
// driver (connectors, nets, temporaries) are counted from byte 3072 bit 0:
// "_null_in_" there (never written, so an unconnected input reads 0),
// "_null_out_" next (where unconnected outputs write), then the others in
// the order of the signals file. Names are matched ignoring letter case.
// A counter keeps its count in its output bits, so an unconnected output of
// a counter cannot share "_null_out_" with the others: it gets an unnamed
// bit of its own after the signals.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/AnsiString.h"
#include "translate/Diagnostics.h"
#include "translate/WorkFiles.h"

namespace translate {

struct TDriverArea {
    AnsiString Name;
    bool Output = false;
    int16_t TypeCode = 0; // the user type number of its driver type
    uint16_t First = 0;   // first byte of its area
    uint16_t Bytes = 0;   // ceil(bits / 8)
    int Bits = 0;
};

struct TSignal {
    AnsiString Name; // as the signals file spells it
    uint16_t Address = 0;
    uint8_t Bit = 0;
    int Driver = -1; // index into Drivers(), -1 for an internal signal
};

class TMemoryMap {
public:
    static constexpr int kDriverBytes = 3072;   // bytes 0-3071 belong to the drivers
    static constexpr int kInternalBase = 3072;  // first byte of the internal signals
    static constexpr int kInternalBits = 8192;  // bytes 3072-4095
    static constexpr int kMaxDriverRecords = 65535;

    // Lays out the drivers and then the signals. False when a problem was
    // reported (an unknown driver type, a type number beyond 16 bits, a name
    // defined twice, a bit outside its driver, a limit exceeded).
    bool Build(const TWorkFiles& files, TDiagnostics& diag);

    // The signal of a net name, null when the signals file does not define it.
    const TSignal* Find(const AnsiString& name) const;
    const TSignal& NullIn() const { return signals_[0]; }
    const TSignal& NullOut() const { return signals_[1]; }
    // A fresh unnamed internal bit (for an unconnected output whose element
    // reads its outputs back). Past the limit it is the last bit; the limit
    // is reported by CheckInternalBits.
    TSignal OwnBit();
    // False, with the limit reported, when the internal bits given out
    // exceed the internal area.
    bool CheckInternalBits(TDiagnostics& diag) const;
    // Null-pin names stand for the two fixed bits whatever their letter case.
    static bool IsNullName(const AnsiString& name);
    const std::vector<TDriverArea>& Drivers() const { return drivers_; }
    // "_null_in_", "_null_out_", then every signal in signals-file order.
    const std::vector<TSignal>& Signals() const { return signals_; }

    // An operand word: bits 0-11 the byte, 12-14 the bit, 15 inversion.
    static uint16_t Operand(const TSignal& s, bool inverted) {
        return uint16_t((s.Address & 0x0FFF) | (s.Bit & 7) << 12 | (inverted ? 0x8000 : 0));
    }

private:
    bool LayDrivers(const TWorkFiles& files, TDiagnostics& diag);
    bool LaySignals(const TWorkFiles& files, TDiagnostics& diag);
    void Define(const TSignal& s, TDiagnostics& diag);

    std::vector<TDriverArea> drivers_;
    std::unordered_map<AnsiString, int, AnsiStringHash> driverIndex_; // upper-case name -> driver
    std::vector<TSignal> signals_;
    std::unordered_map<AnsiString, int, AnsiStringHash> signalIndex_; // upper-case name -> signal
    int internalBits_ = 0;
};

} // namespace translate
