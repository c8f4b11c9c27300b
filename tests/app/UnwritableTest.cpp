// Writes the user starts, to a place that cannot take the file: each is
// refused with the program's own message naming the file, leaves no part of
// a file behind, and keeps the document as it was; the program's box for
// faults ("Ошибка в программе!") never shows.
#include "app/AppTest.h"

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "controls/gui/Placemnt.h"
#include "document/DriversInfo.h"
#include "document/Project.h"
#include "editor/ChildWin.h"
#include "editor/ShowExport.h"
#include "fsm/gui/FSMChild.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"

namespace {

// Everything under the folder whose name shows an unfinished write.
std::vector<std::string> Leftovers(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp~") != std::string::npos) found.push_back(entry.path().string());
    return found;
}

// Points the settings folder elsewhere for a scope.
class SettingsFolderScope {
public:
    explicit SettingsFolderScope(const std::filesystem::path& folder) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~SettingsFolderScope() { setenv("XDG_CONFIG_HOME", old_.c_str(), 1); }

private:
    std::string old_;
};

class Unwritable : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        FrameWindowFactories().FsmWindow = nullptr; // the frame registers its own
        StartFrame();
        // Two kinds of place that cannot take a file, even for root: a folder
        // that does not exist, and a "folder" that is a file.
        testenv::WriteBytes(dir.Path() / "plain", "a file, not a folder");
    }
    AnsiString Gone(const char* name) const { return dir.File((std::string("gone/") + name).c_str()); }
    AnsiString UnderFile(const char* name) const { return dir.File((std::string("plain/") + name).c_str()); }
    static AnsiString CannotCreate(const AnsiString& file) { return "Не могу создать файл!\n"_a + file; }
};

TEST_F(Unwritable, EveryWriteIsRefusedWithTheProgramsMessageAndLeavesNothingBehind) {
    WriteScheme(dir.File("a.tvs"), {"E1"});
    OpenProjectOf({"a.tvs"});
    auto* scheme = dynamic_cast<TMDIChild*>(frame->CreateMDIChild(dir.File("a.tvs")));
    auto* fsm = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("lift.fsm")));
    ASSERT_NE(scheme, nullptr);
    ASSERT_NE(fsm, nullptr);
    auto activate = [](TForm* w) {
        w->BringToFront();
        Application->ProcessMessages();
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        AnsiString file;    // the target, which must not appear
        AnsiString message; // the one message shown
        std::function<void()> check;
    };
    TMDIChild* untitled = nullptr;
    const Case cases[] = {
        {"the scheme's picture",
         [&] {
             port.AnswerFile(Gone("a.bmp"));
             scheme->PrintToFileActionExecute(nullptr);
         },
         Gone("a.bmp"), CannotCreate(Gone("a.bmp")), [] {}},
        {"the state machine's picture",
         [&] {
             port.AnswerFile(UnderFile("lift.bmp"));
             fsm->PrintToFileActionExecute(nullptr);
         },
         UnderFile("lift.bmp"), CannotCreate(UnderFile("lift.bmp")), [] {}},
        {"print to file",
         [&] {
             port.OnPrintDialog = [&](PrintDialogRequest& r) {
                 r.PdfFileName = Gone("a.pdf");
                 r.PrintRange = prPageNums;
                 r.FromPage = 1;
                 r.ToPage = 1;
                 return true;
             };
             frame->PrintSchemActionExecute(frame->PrintSchemAction);
             port.OnPrintDialog = nullptr;
         },
         Gone("a.pdf"), CannotCreate(Gone("a.pdf")), [] {}},
        {"save of an untitled scheme",
         [&] {
             WriteScheme(dir.File("a.tvt"), {"E2"});
             OpenByCommand(dir.File("a.tvt"));
             untitled = dynamic_cast<TMDIChild*>(frame->ActiveMDIChild());
             port.AnswerFile(Gone("new.tvs"));
             frame->FileSave1Execute(frame->FileSave1);
         },
         Gone("new.tvs"), CannotCreate(Gone("new.tvs")),
         [&] {
             ASSERT_NE(untitled, nullptr);
             EXPECT_TRUE(untitled->Scheme->GetFileName().IsEmpty()) << "the refused name is not taken on";
             EXPECT_TRUE(untitled->Scheme->IsModified());
         }},
        {"save as of a scheme",
         [&] {
             activate(scheme);
             port.AnswerFile(UnderFile("b.tvs"));
             frame->FileSaveAs1Execute(frame->FileSaveAs1);
         },
         UnderFile("b.tvs"), CannotCreate(UnderFile("b.tvs")),
         [&] {
             EXPECT_EQ(scheme->Scheme->GetFileName(), dir.File("a.tvs"));
             EXPECT_EQ(frame->CurrentProject->GetFile(0), dir.File("a.tvs")) << "the project keeps its entry";
         }},
        {"save as of a scheme as a symbol",
         [&] {
             activate(scheme);
             frame->SaveDialog1->FilterIndex = 3;
             port.AnswerFile(Gone("part.tvy"));
             frame->FileSaveAs1Execute(frame->FileSaveAs1);
             frame->SaveDialog1->FilterIndex = 1;
         },
         Gone("part.tvy"), CannotCreate(Gone("part.tvy")), [] {}},
        {"save as of a state machine",
         [&] {
             activate(fsm);
             port.AnswerFile(Gone("m.fsm"));
             frame->FileSaveAs1Execute(frame->FileSaveAs1);
         },
         Gone("m.fsm"), CannotCreate(Gone("m.fsm")),
         [&] { EXPECT_EQ(fsm->FsmDocument()->GetFileName(), dir.File("lift.fsm")); }},
        {"the scheme's autosave, said once",
         [&] {
             scheme->Scheme->SetFileName(Gone("a.tvs"));
             scheme->AutosaveTimerTimer(nullptr);
             scheme->AutosaveTimerTimer(nullptr);
             scheme->Scheme->SetFileName(dir.File("a.tvs"));
         },
         Gone("a.tvt"), CannotCreate(Gone("a.tvt")), [] {}},
        {"the state machine's autosave, said once",
         [&] {
             fsm->FsmDocument()->SetFileName(UnderFile("lift.fsm"));
             fsm->AutosaveTimerTimer(nullptr);
             fsm->AutosaveTimerTimer(nullptr);
             fsm->FsmDocument()->SetFileName(dir.File("lift.fsm"));
         },
         UnderFile("lift.fsmt"), CannotCreate(UnderFile("lift.fsmt")), [] {}},
        {"a work file edited in the viewer",
         [&] {
             testenv::WriteBytes(dir.Path() / "1.$$$", "1;DI\r\n");
             ShowExportDlg->WorkDirectory = [&] { return dir.File(""); };
             ShowExportDlg->Show();
             ShowExportDlg->FormActivate(nullptr);
             ShowExportDlg->Memo1->Lines()->Add("2;DO");
             ShowExportDlg->Memo1->Modified = true;
             // A folder in the file's place: it cannot be replaced.
             std::filesystem::remove(dir.Path() / "1.$$$");
             std::filesystem::create_directory(dir.Path() / "1.$$$");
             port.Answer(mrYes);
             ShowExportDlg->OKBtnClick(nullptr);
             port.Calls.erase(port.Calls.begin()); // the question
         },
         dir.File("1.$$$/x"), CannotCreate(dir.File("1.$$$")),
         [&] {
             EXPECT_TRUE(ShowExportDlg->Visible()) << "the viewer stays open with the edits";
             EXPECT_TRUE(ShowExportDlg->Memo1->Modified);
             ShowExportDlg->CancelBtnClick(nullptr);
             ShowExportDlg->WorkDirectory = nullptr;
         }},
        {"the signal table",
         [&] { DriversInUse().SaveToFile(Gone("t.tbl")); },
         Gone("t.tbl"), "Невозможно записать файл таблицы сигналов "_a + Gone("t.tbl"), [] {}},
        {"the settings file",
         [&] { delete new TInitModule(nullptr, UnderFile("graphic.ini")); },
         UnderFile("graphic.ini"), "Невозможно записать файл настроек "_a + UnderFile("graphic.ini"), [] {}},
        {"the stored values and window places",
         [&] {
             SettingsFolderScope settings(dir.Path() / "plain" / "cfg");
             frame->FormS->SetStoredValue("SortBits", Variant(true));
             frame->FormS->SaveFormPlacement();
         },
         UnderFile("cfg/ge/registry.ini"), "Невозможно записать файл настроек "_a + UnderFile("cfg/ge/registry.ini"),
         [] {}},
        {"the project",
         [&] {
             frame->CurrentProject->SetFileName(Gone("p.tvp"));
             frame->CurrentProject->Save();
             frame->CurrentProject->SetFileName(dir.File("p.tvp"));
         },
         Gone("p.tvp"), " Невозможно записать файл проекта "_a + Gone("p.tvp"), [] {}},
    };
    std::unique_ptr<IPrinterBackend> printer = Printer()->SetBackend(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        port.Clear();
        // As the program's event dispatch does: what escapes goes to the
        // application's handler.
        try {
            c.act();
        } catch (Exception& e) {
            Application->HandleException(Application, e);
        }
        Application->ProcessMessages();
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{c.message});
        EXPECT_FALSE(std::filesystem::exists(ToFsPath(c.file)));
        EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{});
        c.check();
    }
    Printer()->SetBackend(std::move(printer));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "plain"), "a file, not a folder");
}

} // namespace
