// A stand-in for the translation library, loaded by the translator in its
// tests. It records every call of its entry points, appends a line to the log
// file it is given, writes a small data file when it succeeds, and answers
// with the results a test configured. Built three times: whole, without
// "_GenerateDatFile" (FAKE_NO_GENERATE) and without "_ConvertDatFile"
// (FAKE_NO_CONVERT). A test keeps the library loaded while it runs, so the
// record survives the translator's unloading.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Call {
    std::vector<std::string> paths; // generate: 7 paths; convert: 1
    unsigned iterations = 0;
    int flag = 0;
};

struct State {
    std::vector<Call> generateCalls;
    std::vector<Call> convertCalls;
    int firstResult = 0;
    int laterResult = 0;
    int convertResult = 0;
    std::string logLine = "fake library";
};

State& S() {
    static State state;
    return state;
}

[[maybe_unused]] void AppendLine(const char* file, const std::string& line) {
    if (std::FILE* f = std::fopen(file, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fwrite("\r\n", 1, 2, f);
        std::fclose(f);
    }
}

[[maybe_unused]] void WriteData(const char* file, int flag) {
    if (std::FILE* f = std::fopen(file, "wb")) {
        std::string bytes = flag ? "controller data" : "debugging copy";
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}
} // namespace

extern "C" {

#ifndef FAKE_NO_GENERATE
__attribute__((visibility("default"))) int _GenerateDatFile(const char* types, const char* drivers,
                                                            const char* signals, const char* comments,
                                                            const char* elements, const char* data, const char* log,
                                                            uint16_t iterations, int32_t flag) {
    Call call;
    for (const char* p : {types, drivers, signals, comments, elements, data, log})
        call.paths.push_back(p ? p : "");
    call.iterations = iterations;
    call.flag = flag;
    int result = S().generateCalls.empty() ? S().firstResult : S().laterResult;
    S().generateCalls.push_back(call);
    AppendLine(log, S().logLine + " " + std::to_string(flag));
    if (result == 0)
        WriteData(data, flag);
    return result;
}
#endif

#ifndef FAKE_NO_CONVERT
__attribute__((visibility("default"))) int _ConvertDatFile(const char* data) {
    Call call;
    call.paths.push_back(data ? data : "");
    S().convertCalls.push_back(call);
    return S().convertResult;
}
#endif

// ---- control of the stand-in ---------------------------------------------------------

// Forgets the calls and sets the results of the first generation, of later
// generations and of the conversion.
__attribute__((visibility("default"))) void FakeTranslate_Configure(int first, int later, int convert) {
    S() = State();
    S().firstResult = first;
    S().laterResult = later;
    S().convertResult = convert;
}

// The text of the line each generation appends to the log (followed by the flag).
__attribute__((visibility("default"))) void FakeTranslate_SetLogLine(const char* line) { S().logLine = line; }

__attribute__((visibility("default"))) int FakeTranslate_GenerateCount() { return int(S().generateCalls.size()); }

// Path argument index (0 .. 6) of generation call; "" out of range.
__attribute__((visibility("default"))) const char* FakeTranslate_GeneratePath(int call, int index) {
    if (call < 0 || call >= int(S().generateCalls.size()) || index < 0 || index >= 7)
        return "";
    return S().generateCalls[std::size_t(call)].paths[std::size_t(index)].c_str();
}

// The iteration count (which 0) or the copy flag (which 1) of a generation call.
__attribute__((visibility("default"))) int FakeTranslate_GenerateNumber(int call, int which) {
    if (call < 0 || call >= int(S().generateCalls.size()))
        return -1;
    const Call& c = S().generateCalls[std::size_t(call)];
    return which == 0 ? int(c.iterations) : c.flag;
}

__attribute__((visibility("default"))) int FakeTranslate_ConvertCount() { return int(S().convertCalls.size()); }

__attribute__((visibility("default"))) const char* FakeTranslate_ConvertPath(int call) {
    if (call < 0 || call >= int(S().convertCalls.size()))
        return "";
    return S().convertCalls[std::size_t(call)].paths[0].c_str();
}
}
