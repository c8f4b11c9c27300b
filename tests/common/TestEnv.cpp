#include "common/TestEnv.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/FileIO.h"

namespace testenv {

namespace {
std::filesystem::path g_root;
int g_counter = 0;
}

const std::filesystem::path& Root() { return g_root; }

CommaLocale::CommaLocale() {
    const char* now = std::setlocale(LC_NUMERIC, nullptr);
    saved_ = now ? now : "C";
    ok_ = std::setlocale(LC_NUMERIC, kCommaLocaleName) != nullptr;
}

CommaLocale::~CommaLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }

void Init() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "ge-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot create the test folder");
    g_root = tmpl;
    std::filesystem::create_directories(g_root / "config");
    std::filesystem::create_directories(g_root / "cwd");
    std::filesystem::create_directories(g_root / "runtime");
    std::filesystem::permissions(g_root / "runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (g_root / "runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (g_root / "config").c_str(), 1);
    std::filesystem::current_path(g_root / "cwd");
}

namespace {

std::vector<std::function<void()>>& AfterEachTestSteps() {
    static std::vector<std::function<void()>> steps;
    return steps;
}

// Gives every test a working folder and a settings folder of its own, so
// that no file a test leaves (a clipboard file, a settings file, a work file
// written beside the current directory) reaches the next one, whatever the
// order; afterwards the binary's shared state is put back as it was.
class FreshFolders : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        folder_ = g_root / "each" / std::to_string(++count_);
        std::filesystem::create_directories(folder_ / "cwd");
        std::filesystem::create_directories(folder_ / "config");
        ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        std::filesystem::current_path(folder_ / "cwd");
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        RunAfterEachTestSteps();
        std::error_code ec;
        std::filesystem::current_path(g_root / "cwd", ec);
        ::setenv("XDG_CONFIG_HOME", (g_root / "config").c_str(), 1);
        if (!std::getenv("GE_KEEP_TEST_FILES")) std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path folder_;
    int count_ = 0;
};

} // namespace

void AfterEachTest(std::function<void()> step) { AfterEachTestSteps().push_back(std::move(step)); }

void RunAfterEachTestSteps() {
    for (const auto& step : AfterEachTestSteps()) step();
}

void InstallFreshFolders() { ::testing::UnitTest::GetInstance()->listeners().Append(new FreshFolders); }

void Cleanup() {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    if (!g_root.empty() && !std::getenv("GE_KEEP_TEST_FILES")) std::filesystem::remove_all(g_root, ec);
}

TempDir::TempDir() {
    path_ = g_root / ("t" + std::to_string(++g_counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    // Kept with the rest of the root for a look after the run.
    if (std::getenv("GE_KEEP_TEST_FILES")) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

AnsiString TempDir::File(const AnsiString& name) const { return FromFsPath(path_) + "/" + name; }

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string RegressionFile(const std::string& relative) {
    std::string bytes = ReadBytes(std::filesystem::path(GE_REGRESSIONS_DIR) / relative);
    if (bytes.empty()) {
        std::fprintf(stderr, "missing regression file %s\n", relative.c_str());
        std::abort();
    }
    return bytes;
}

} // namespace testenv
