#pragma once
// Helpers of the translator tests: a signal table in use, the stand-in
// translation library held open with access to its record, schemes built in
// code and written to files, and a fixture that gives each test a project
// folder, a scripted user-interface port and a translator.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Printers.h"
#include "common/TestEnv.h"
#include "document/DriversInfo.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "platform/testing/TestUiPort.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"
#include "translator/SchemeBuild.h"

namespace trtest {

using Lines = std::vector<AnsiString>;

inline Lines ToLines(const TStrings& list) {
    Lines out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

// The lines of a text file written with CR LF ends; empty when it is missing.
inline Lines FileLines(const AnsiString& name) {
    std::string bytes;
    if (!ReadWholeFile(name, bytes))
        return {};
    Lines out;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            out.push_back(AnsiString(bytes.substr(start)));
            break;
        }
        out.push_back(AnsiString(bytes.substr(start, end - start)));
        start = end + 2;
    }
    return out;
}

inline AnsiString Pad(const AnsiString& name) {
    return name.Length() < 15 ? name + AnsiString::StringOfChar(' ', 15 - name.Length()) : name;
}
inline AnsiString InLine(const AnsiString& net, bool inverse = false) {
    return "%" + Pad(net) + " in " + (inverse ? "inverse" : "");
}
inline AnsiString OutLine(const AnsiString& net, bool inverse = false) {
    return "%" + Pad(net) + " out " + (inverse ? "inverse" : "");
}

// The signal table in use while it lives: input driver DI (type DT, user
// type 7) with bits A = 0 and B = 1, output driver DO (type DT) with Y = 3
// and Z = 4, the variable signal V ("общий"), and the table's own drivers.
class Table {
public:
    Table() : previous_(SetDriversInUse(&table)) {
        table.AddDriverType("DT", 7);
        AddDriver("DI", 0, 0x10);
        AddDriver("DO", 1, 0x20);
        table.AddBit("A", "DI", 0, "кнопка"_a);
        table.AddBit("B", "DI", 1, "");
        table.AddBit("Y", "DO", 3, "лампа"_a);
        table.AddBit("Z", "DO", 4, "");
        table.AddVarBit("V", "общий"_a);
    }
    ~Table() { SetDriversInUse(previous_); }
    // An 8-bit driver of type DT; direction 0 input, 1 output.
    void AddDriver(const AnsiString& name, int direction, uint32_t address) {
        _drv d;
        d.Name = name;
        d.Type = 0;
        d.Direction = direction;
        d.Address = address;
        d.BitCount = 8;
        table.AddDriver(d);
    }
    TDriversInfo table;

private:
    TDriversInfo* previous_;
};

// The stand-in library, held loaded so that its record outlives the
// translator's unloading.
class FakeLibrary {
public:
    explicit FakeLibrary(const char* name = "gefaketranslate.dll") : module_(LoadLibraryA(name)) {}
    ~FakeLibrary() {
        if (module_)
            FreeLibrary(module_);
    }
    bool Loaded() const { return module_ != nullptr; }
    void Configure(int first, int later, int convert) const {
        Fn<void (*)(int, int, int)>("FakeTranslate_Configure")(first, later, convert);
    }
    void SetLogLine(const AnsiString& line) const { Fn<void (*)(const char*)>("FakeTranslate_SetLogLine")(line.c_str()); }
    int GenerateCount() const { return Fn<int (*)()>("FakeTranslate_GenerateCount")(); }
    AnsiString GeneratePath(int call, int index) const {
        return Fn<const char* (*)(int, int)>("FakeTranslate_GeneratePath")(call, index);
    }
    int Iterations(int call) const { return Fn<int (*)(int, int)>("FakeTranslate_GenerateNumber")(call, 0); }
    int Flag(int call) const { return Fn<int (*)(int, int)>("FakeTranslate_GenerateNumber")(call, 1); }
    int ConvertCount() const { return Fn<int (*)()>("FakeTranslate_ConvertCount")(); }
    AnsiString ConvertPath(int call) const { return Fn<const char* (*)(int)>("FakeTranslate_ConvertPath")(call); }

private:
    template <class F>
    F Fn(const char* name) const {
        return reinterpret_cast<F>(GetProcAddress(module_, name));
    }
    HMODULE module_;
};

// ---- schemes in code (Place, DriverOn, LooseDriver, Wire: SchemeBuild.h) ----------------

// Writes the scheme to the file; fails the test when it cannot.
inline void SaveAs(TScheme& s, const AnsiString& file) {
    s.SetFileName(file);
    ASSERT_TRUE(s.SaveToFile());
}

// ---- the fixture ---------------------------------------------------------------------------

// Keeps the translator headless while it lives, and leaves it so: no frame,
// no progress window, every stored option false.
class HeadlessTranslator {
public:
    HeadlessTranslator() { Reset(); }
    ~HeadlessTranslator() { Reset(); }
    HeadlessTranslator(const HeadlessTranslator&) = delete;
    HeadlessTranslator& operator=(const HeadlessTranslator&) = delete;
    static void Reset() {
        TranslatorOptions().Reset();
        TranslatorOptions().Query = nullptr;
        TranslatorHooks().Frame = nullptr;
        TranslatorHooks().Progress = nullptr;
        TranslatorHooks().HeadlessProgress = TProgressRecord();
    }
};

class TranslatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded()) << LastLibraryError().c_str();
        library.Configure(0, 0, 0);
        log.LibraryName = "gefaketranslate.dll";
    }

    AnsiString File(const AnsiString& name) const { return dir.File(name); }
    AnsiString Dir() const { return dir.File(""); }

    // A project in the test folder listing the given scheme files.
    TProject& MakeProject(const Lines& files, uint16_t iterations = 1) {
        project = std::make_unique<TProject>(nullptr);
        project->SetFileName(File("p.tvp"));
        project->Iterations = iterations;
        for (const AnsiString& f : files)
            project->AddFile(f);
        return *project;
    }

    // The texts of the boxes shown, in order.
    Lines Shown() const { return ui.Messages(); }
    int Views() const {
        int n = 0;
        for (const auto& c : ui.Calls)
            n += c.kind == TestUiPort::kViewTextFile;
        return n;
    }
    // Whether the log holds exactly this line.
    bool LogHas(const AnsiString& line) const {
        Lines lines = ToLines(log.Messages);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    HeadlessTranslator headless;
    TestUiPort ui;
    testenv::TempDir dir;
    Table table;
    FakeLibrary library;
    TLogFile log;
    std::unique_ptr<TProject> project;
};

} // namespace trtest
