#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <unistd.h>

#include <QGuiApplication>

#include "platform/FileIO.h"

namespace fuzz {

namespace {

std::filesystem::path g_scratch;
AnsiString g_scratchName;
TestUiPort* g_ui = nullptr;
bool g_ownScratch = false;

void RemoveOwnScratch() {
    std::error_code ec;
    if (g_ownScratch) std::filesystem::remove_all(g_scratch, ec);
}

// scripts/fuzz makes the folder and removes it whatever way the target ends;
// a target started by hand makes its own and removes it on a normal exit.
void MakeScratch() {
    if (const char* given = std::getenv("GE_FUZZ_SCRATCH"); given && *given) {
        g_scratch = given;
        std::filesystem::create_directories(g_scratch);
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "ge-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        g_scratch = pattern;
        g_ownScratch = true;
        std::atexit(RemoveOwnScratch);
    }
    std::filesystem::current_path(g_scratch);
    ::setenv("XDG_CONFIG_HOME", (g_scratch / "config").c_str(), 1);
    g_scratchName = FromFsPath(g_scratch) + "/";
}

} // namespace

void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "\n*** broken promise at %s:%d: %s\n", file, line, what);
    if (g_ui)
        for (const AnsiString& m : g_ui->Messages()) std::fprintf(stderr, "    message: %s\n", AnsiToUtf8(m).c_str());
    std::abort();
}

TestUiPort& Ui() { return *g_ui; }

void BeginInput() { g_ui->Clear(); }

const AnsiString& Scratch() { return g_scratchName; }

AnsiString File(const std::string& name) { return g_scratchName + AnsiString(name); }

void Write(const std::string& name, std::string_view bytes) {
    std::ofstream out(g_scratch / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Read(const std::string& name) {
    std::ifstream in(g_scratch / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::exists(g_scratch / name, ec);
}

void Remove(const std::string& name) {
    std::error_code ec;
    std::filesystem::remove(g_scratch / name, ec);
}

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_FONT_DPI", "96", 1);
    fuzz::MakeScratch();
    // Painting texts needs an application object; it lives as long as the process.
    static int argc = 1;
    static char name[] = "ge-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    fuzz::g_ui = new TestUiPort;
    fuzz::g_ui->DefaultAnswer = mrNo;
    return 0;
}
