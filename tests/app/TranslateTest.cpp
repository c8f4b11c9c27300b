// Translation from the frame: Ctrl+F9 on a project, F8 on the active scheme.
#include "app/AppTest.h"

#include "app/Progress.h"

#include <unistd.h>

#include <filesystem>
#include <set>

#include "document/Project.h"
#include "platform/FileUtils.h"
#include "translator/Logfile.h"
#include "translator/TranslatorHost.h"

namespace {

// The progress window as a run drives it, noting whether the frame was
// disabled whenever the run moved it.
class WatchedProgress : public TProgressRecord {
public:
    void SetProgress(int position) override {
        TProgressRecord::SetProgress(position);
        frameEnabledDuringRun = frameEnabledDuringRun || MainForm->Enabled();
        ++steps;
    }
    bool frameEnabledDuringRun = false;
    int steps = 0;
};

class Translate : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
        TranslatorHooks().Progress = &progress;
        WriteScheme(dir.File("a.tvs"), {"E1"});
        WriteScheme(dir.File("b.tvs"), {"E2", "E3"});
        OpenProjectOf({"a.tvs", "b.tvs"});
    }
    void TearDown() override {
        TranslatorHooks().Progress = nullptr;
        AppTest::TearDown();
    }
    WatchedProgress progress;
};

TEST_F(Translate, CtrlF9OnATwoSchemeProjectReportsSuccessAndLeavesTheFiles) {
    // An open window's document is what gets translated: it is saved first.
    TTestSchemeChild* a = OpenScheme(dir.File("a.tvs"));
    ASSERT_EQ(a->SchemeDocument()->CountDevices(), 1);
    TElement* added = a->SchemeDocument()->CreateAndElement();
    added->SetName("E9");
    added->SetNumber(2);
    added->Move(300, 0);
    frame->ShowErrorAction->SetEnabled(false);
    frame->ExportActionExecute(frame->ExportAction);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Трансляция прошла успешно."_a});
    EXPECT_EQ(port.Calls.back().type, mtInformation);
    for (const char* name : {"1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$", "tvca.dat", "Debutvca.dat", "err.log"})
        EXPECT_TRUE(FileExists(dir.File(name))) << name;
    EXPECT_TRUE(frame->LogFile->Messages.Text().Pos("E9") > 0 ||
                testenv::ReadBytes(dir.Path() / "4.$$$").find("E9") != std::string::npos)
        << "the unsaved element reached the translation";
    EXPECT_FALSE(a->SchemeDocument()->IsModified());
    EXPECT_EQ(frame->LogFile->ErrorCount, 0);
    EXPECT_TRUE(frame->ShowErrorAction->Enabled());
    EXPECT_TRUE(frame->Enabled());
    EXPECT_FALSE(progress.frameEnabledDuringRun);
    EXPECT_GT(progress.steps, 0);
    EXPECT_FALSE(progress.Shown);
}

// Both ways out, success and a run refused at its first check, hide the
// progress window and enable the frame again; a failed run leaves no
// controller files.
TEST_F(Translate, TheProgressWindowShowsDuringARunAndIsHiddenAfterItWhateverTheOutcome) {
    TranslatorHooks().Progress = ProgressForm;
    for (int iterations : {0, 1}) {
        SCOPED_TRACE(iterations);
        frame->CurrentProject->Iterations = uint16_t(iterations);
        port.Answer(mrNo);
        frame->ExportActionExecute(frame->ExportAction);
        EXPECT_TRUE(ProgressForm->WasShown());
        EXPECT_FALSE(ProgressForm->Showing());
        EXPECT_TRUE(frame->Enabled());
        EXPECT_EQ(frame->LogFile->ErrorCount > 0, iterations == 0);
        EXPECT_EQ(FileExists(dir.File("tvca.dat")), iterations == 1);
        EXPECT_EQ(FileExists(dir.File("Debutvca.dat")), iterations == 1);
    }
    EXPECT_EQ(ProgressForm->Caption(), "Трансляция"_a);
}

// A window whose file cannot be written (a folder stands where the save puts
// its temporary file, so the older file stays): a scheme of the project stops
// the run at the save's own message, since the run would read the older
// file; another scheme's failure does not.
TEST_F(Translate, AProjectSchemeThatCannotBeSavedStopsTheRun) {
    WriteScheme(dir.File("c.tvs"), {"E7"});
    struct Case {
        const char* file;
        bool ofProject;
    };
    for (const Case& c : {Case{"a.tvs", true}, Case{"c.tvs", false}}) {
        SCOPED_TRACE(c.file);
        for (const char* name : {"tvca.dat", "Debutvca.dat"})
            std::filesystem::remove(dir.Path() / name);
        TTestSchemeChild* window = OpenScheme(dir.File(c.file));
        window->SchemeDocument()->CreateAndElement()->SetName("E9");
        const std::filesystem::path blocker = dir.Path() / (c.file + std::string(".tmp~") + std::to_string(getpid()));
        std::filesystem::create_directory(blocker);
        port.Clear();
        frame->ShowErrorAction->SetEnabled(false);
        frame->ExportActionExecute(frame->ExportAction);
        std::vector<AnsiString> shown{"Не могу создать файл!\n"_a + dir.File(c.file)};
        if (!c.ofProject)
            shown.push_back("Трансляция прошла успешно."_a);
        EXPECT_EQ(port.Messages(), shown);
        EXPECT_EQ(FileExists(dir.File("tvca.dat")), !c.ofProject);
        EXPECT_EQ(FileExists(dir.File("Debutvca.dat")), !c.ofProject);
        EXPECT_EQ(frame->ShowErrorAction->Enabled(), !c.ofProject);
        EXPECT_TRUE(window->SchemeDocument()->IsModified());
        EXPECT_TRUE(frame->Enabled());
        EXPECT_FALSE(progress.Shown);
        std::filesystem::remove(blocker);
        window->SchemeDocument()->SetModified(false);
        window->Close();
        Application->ProcessMessages();
    }
}

TEST_F(Translate, F8TranslatesTheActiveSchemeIntoFilesNamedAfterIt) {
    OpenScheme(dir.File("b.tvs"));
    port.Answer(mrNo);
    frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
    EXPECT_TRUE(FileExists(dir.File("Debubtvca.dat")));
    EXPECT_TRUE(FileExists(dir.File("b3.$$$")));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Трансляция схемы b прошла успешно."_a});
    EXPECT_FALSE(FileExists(dir.File("err.log"))) << "the project's log is not the scheme's";
    EXPECT_FALSE(FileExists(dir.File("tvca.dat"))) << "only the debugging copy";
    EXPECT_TRUE(frame->Enabled());
    EXPECT_FALSE(progress.frameEnabledDuringRun);
    EXPECT_FALSE(progress.Shown);
    EXPECT_TRUE(frame->ShowErrorAction->Enabled());
}

// What each run leaves in the project's folder besides the schemes and the
// project, as the help lists it: a run stopped by the processing order of a
// scheme writes its message file only, deletes the controller files and
// leaves the work files of an earlier run as they were.
TEST_F(Translate, EachRunLeavesTheFilesTheHelpNames) {
    const struct {
        const char* what;
        bool project; // Ctrl+F9, else F8 on b.tvs
        bool ordered;
        bool afterAnother; // the folder as the row before left it, else emptied
        std::set<std::string> left;
    } cases[] = {
        {"Ctrl+F9", true, true, false, {"1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$", "err.log", "tvca.dat", "Debutvca.dat"}},
        {"Ctrl+F9 stopped by the order after that", true, false, true, {"1.$$$", "2.$$$", "3.$$$", "4.$$$", "5.$$$", "err.log"}},
        {"Ctrl+F9 stopped by the order", true, false, false, {"err.log"}},
        {"F8", false, true, false, {"b3.$$$", "b4.$$$", "b5.$$$", "Debubtvca.dat"}},
        {"F8 stopped by the order after that", false, false, true, {"b3.$$$", "b4.$$$", "b5.$$$", "Debuerr.log"}},
        {"F8 stopped by the order", false, false, false, {"Debuerr.log"}},
    };
    const std::set<std::string> inputs = {"a.tvs", "b.tvs", "p.tvp"};
    auto left = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (!inputs.count(entry.path().filename().string())) names.insert(entry.path().filename().string());
        return names;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.afterAnother)
            for (const std::string& name : left()) std::filesystem::remove(dir.Path() / name);
        // Two elements with one number: the run asks, "Нет" stops it.
        WriteScheme(dir.File("b.tvs"), {"E2", "E3"}, c.ordered ? std::vector<int>{1, 2} : std::vector<int>{1, 1});
        port.Clear();
        if (!c.ordered) port.Answer(mrNo);
        port.Answer(mrNo); // the results are not looked at
        if (c.project) {
            frame->ExportActionExecute(frame->ExportAction);
        } else {
            OpenScheme(dir.File("b.tvs"));
            frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
            for (TForm* child : Children()) Free(child);
            Application->ProcessMessages();
        }
        EXPECT_EQ(left(), c.left);
    }
}

TEST_F(Translate, SchemeWindowsAreSavedForTheRunUntitledOnesAreNot) {
    TTestSchemeChild* b = OpenScheme(dir.File("b.tvs"));
    b->SchemeDocument()->CreateAndElement()->SetName("E5");
    OpenByCommand(dir.File("copy.tvt"));
    EXPECT_TRUE(TranslatorHooks().Frame->SaveSchemeWindows(*frame->CurrentProject));
    TScheme reread;
    reread.SetFileName(dir.File("b.tvs"));
    reread.LoadFromFile();
    EXPECT_EQ(reread.CountDevices(), 3);
    EXPECT_FALSE(FileExists(dir.File("copy.tvt")));
}

} // namespace
