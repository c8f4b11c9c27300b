// The translation library over damaged work files. The input holds the five
// work files (driver types, drivers, signals, comments, elements) separated
// by bytes 0x01. A run that fails leaves no data file; one that succeeds
// writes a file the emulator loads.
#include "FuzzSupport.h"

#include "debugger/EmulatorHost.h"
#include "debugger/Vac.h"
#include "translate/TranslateApi.h"

namespace {

const char* const kWorkFiles[5] = {"drvtypes.txt", "drivers.txt", "signals.txt", "comments.txt", "elements.txt"};

class QuietHost : public IEmulatorHost {
public:
    void ReadInputs(TVAC&) override {}
    void ShowOutputs(TVAC&) override {}
    bool InputChecked(int) override { return false; }
    bool IsDebuggerVisible() override { return false; }
    void ShowRunCount(int) override {}
    void ShowTickCount(int) override {}
    void Message(const AnsiString&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginInput();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t from = 0;
    for (int i = 0; i < 5; ++i) {
        std::size_t to = i < 4 ? input.find('\x01', from) : std::string_view::npos;
        if (to == std::string_view::npos) to = input.size();
        fuzz::Write(kWorkFiles[i], input.substr(std::min(from, input.size()), to - std::min(from, input.size())));
        from = to + 1;
    }
    fuzz::Remove("Debutvca.dat");
    fuzz::Remove("err.log");
    std::string paths[7];
    for (int i = 0; i < 5; ++i) paths[i] = fuzz::File(kWorkFiles[i]).str();
    paths[5] = fuzz::File("Debutvca.dat").str();
    paths[6] = fuzz::File("err.log").str();
    const int copy = size > 0 && (data[size - 1] & 1) ? 1 : 0;
    const int rc = _GenerateDatFile(paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), paths[3].c_str(),
                                    paths[4].c_str(), paths[5].c_str(), paths[6].c_str(), 1, copy);
    FUZZ_CHECK(rc >= kTranslateOk && rc <= kTranslateWriteError);
    if (rc != kTranslateOk) {
        FUZZ_CHECK(!fuzz::Exists("Debutvca.dat"));
        return 0;
    }
    FUZZ_CHECK(fuzz::Exists("Debutvca.dat"));
    // A run that succeeds may still warn; it never logs an error.
    {
        const std::string log = fuzz::Read("err.log");
        const std::string warning = AnsiString("Предупреждение: "_a).str();
        for (std::size_t at = 0; at < log.size();) {
            const std::size_t end = std::min(log.find("\r\n", at), log.size());
            FUZZ_CHECK(log.compare(at, warning.size(), warning) == 0);
            at = end + 2;
        }
    }
    FUZZ_CHECK(_ConvertDatFile(paths[5].c_str()) == kConvertOk);
    QuietHost host;
    TVAC vac(&host);
    vac.FileName = fuzz::File("Debutvca.dat");
    FUZZ_CHECK(vac.Load() == kLoadOk);
    for (int scan = 0; scan < 20; ++scan) {
        vac.Tick();
        vac.Run();
    }
    return 0;
}
