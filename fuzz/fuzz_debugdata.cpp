// The debugging data file run by the emulator: the reader returns "loaded"
// or "damaged" and nothing else; a refused file leaves the emulator without a
// program; a file that loads runs 300 scans (with timer ticks and forced
// inputs) inside its code.
#include "FuzzSupport.h"

#include "debugger/EmulatorHost.h"
#include "debugger/Vac.h"

namespace {

class QuietHost : public IEmulatorHost {
public:
    void ReadInputs(TVAC& vac) override {
        ++n;
        vac.SetBit(int(n % 4096), int(n % 8), int(n & 1));
    }
    void ShowOutputs(TVAC& vac) override { n += unsigned(vac.GetBit(int(n % 4096), 1)); }
    bool InputChecked(int row) override { return (row + n) % 2 == 0; }
    bool IsDebuggerVisible() override { return true; }
    void ShowRunCount(int) override {}
    void ShowTickCount(int) override {}
    void Message(const AnsiString&) override {}
    unsigned n = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    fuzz::Write("Debutvca.dat", std::string_view(reinterpret_cast<const char*>(data), size));
    QuietHost host;
    TVAC vac(&host);
    vac.FileName = fuzz::File("Debutvca.dat");
    vac.AddForcedInput(int(size % 4096), int(size % 8), 0);
    const int rc = vac.Load();
    FUZZ_CHECK(rc == kLoadOk || rc == kLoadBadData);
    if (rc != kLoadOk) {
        FUZZ_CHECK(!vac.Loaded());
        FUZZ_CHECK(vac.RecordCount() == 0);
        FUZZ_CHECK(vac.Signals().empty());
        return 0;
    }
    for (int k = 0; k < 3; ++k) vac.AddForcedInput(int((size * 31 + unsigned(k) * 977) % 4096), k, k);
    for (int scan = 0; scan < 300; ++scan) {
        vac.Tick();
        vac.Run();
    }
    vac.MinTimerPreset();
    for (const SignalsStr& sig : vac.Signals()) {
        FUZZ_CHECK(sig.ByteAddress >= 0 && sig.ByteAddress < 4096);
        FUZZ_CHECK(sig.DriverIndex <= int(vac.Drivers().size()));
    }
    return 0;
}
