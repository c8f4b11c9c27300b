// Random and damaged files through the loader, and a few scans of those that
// load: no crash, no read or write out of bounds (the sanitizer build runs this too).
#include <cstdio>
#include <random>

#include "EmulatorTestSupport.h"

namespace {

using namespace emutest;
using dbgfile::Builder;
using dbgfile::Op;

class QuietHost : public IEmulatorHost {
public:
    void ReadInputs(TVAC& vac) override {
        ++n;
        vac.SetBit(int(n % 4096), 0, int(n & 1));
    }
    void ShowOutputs(TVAC& vac) override { n += unsigned(vac.GetBit(int(n % 4096), 1)); }
    bool InputChecked(int row) override { return (row + n) % 2 == 0; }
    bool IsDebuggerVisible() override { return true; }
    void ShowRunCount(int) override {}
    void ShowTickCount(int) override {}
    void Message(const AnsiString&) override { ++messages; }
    unsigned n = 0;
    int messages = 0;
};

std::string Mutate(std::mt19937& rng, std::string bytes) {
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const std::size_t at = rng() % bytes.size();
        switch (rng() % 6) {
        case 0: bytes[at] = char(bytes[at] ^ (1 << (rng() % 8))); break;
        case 1: bytes[at] = char(rng()); break;
        case 2: bytes.resize(at); break;
        case 3: bytes.insert(at, std::string(1 + rng() % 8, char(rng()))); break;
        case 4: bytes.erase(at, 1 + rng() % 8); break;
        case 5: // a header count
            if (bytes.size() >= 32) {
                const std::size_t field = 2 * (rng() % 5);
                bytes[field] = char(rng());
                bytes[field + 1] = char(rng() % 3 == 0 ? rng() : 0);
            }
            break;
        }
    }
    return bytes;
}

TEST(EmulatorFuzz, LoaderAndScanSurviveRandomAndMutatedFiles) {
    testenv::TempDir dir;
    QuietHost host;
    const std::vector<std::string> seeds = dbgfile::SampleFiles();
    std::mt19937 rng(20240601);
    // A fixed number of files, not a time budget: every run meets the same files.
    int iterations = 0, loaded = 0;
    for (; iterations < 3000; ++iterations) {
        std::string bytes;
        if (rng() % 5 == 0) {
            bytes.resize(rng() % 200);
            for (char& c : bytes) c = char(rng());
        } else {
            bytes = Mutate(rng, seeds[rng() % seeds.size()]);
        }
        testenv::WriteBytes(ToFsPath(dir.File("Debutvca.dat")), bytes);
        TVAC vac(&host);
        vac.FileName = dir.File("Debutvca.dat");
        vac.AddForcedInput(int(rng() % 4096), int(rng() % 8), 0);
        const int rc = vac.Load();
        ASSERT_TRUE(rc == kLoadOk || rc == kLoadBadData) << rc;
        if (rc != kLoadOk) continue;
        ++loaded;
        for (int k = 0; k < 3; ++k) vac.AddForcedInput(int(rng() % 4096), int(rng() % 8), k);
        for (int s = 0; s < 3; ++s) {
            vac.Tick();
            vac.Run();
        }
        vac.MinTimerPreset();
        for (const SignalsStr& sig : vac.Signals()) {
            ASSERT_LT(sig.ByteAddress, 4096);
            ASSERT_LE(sig.DriverIndex, int(vac.Drivers().size()));
        }
    }
    std::printf("fuzz: %d files, %d loaded\n", iterations, loaded);
    EXPECT_GT(loaded, 20); // the scan itself was exercised
}

} // namespace
