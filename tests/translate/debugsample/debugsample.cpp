// debugsample: writes the two-scheme project of the end-to-end tests into a
// folder, for trying the translation and the debugger by hand:
//
//   debugsample DIR
//   cd DIR && XDG_CONFIG_HOME=$PWD/config xvfb-run -a <source>/run p.tvp
//
// DIR gets s1.tvs, s2.tvs and p.tvp; DIR/config/ge gets the signal table
// (bittblsv.btb), which the program reads from its settings folder. See
// docs/testing.md.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "SampleProject.h"
#include "document/DriversInfo.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: debugsample DIR\n";
        return 2;
    }
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::absolute(argv[1], ec);
    std::filesystem::create_directories(dir / "config", ec);
    if (ec) {
        std::cerr << "debugsample: cannot make " << (dir / "config").string() << ": " << ec.message() << "\n";
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    TDriversInfo table;
    AnsiString error;
    if (!EnsureSettingsFolder() || !sample::FillTable(table, error) ||
        !table.SaveToFile(TDriversInfo::DefaultFileName)) {
        std::cerr << "debugsample: the signal table was not written " << AnsiToUtf8(error) << "\n";
        return 1;
    }
    SetDriversInUse(&table);
    const bool written = sample::WriteSchemes(FromFsPath(dir), true);
    SetDriversInUse(nullptr);
    if (!written) {
        std::cerr << "debugsample: the schemes or the project were not written\n";
        return 1;
    }
    std::cout << (dir / "p.tvp").string() << "\n" << AnsiToUtf8(SettingsFilePath(TDriversInfo::DefaultFileName)) << "\n";
    return 0;
}
