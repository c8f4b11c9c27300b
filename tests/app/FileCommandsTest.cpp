// The file, project and print commands, and closing with unsaved documents.
#include "app/AppTest.h"

#include <functional>
#include <set>

#include "app/FileKinds.h"
#include "app/ProjectDlg.h"
#include <QColor>
#include <QImage>
#include <QWindow>
#include "controls/gui/MRUList.h"
#include "document/Project.h"
#include "platform/Exceptions.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

namespace {

TEST(SaveNames, OnlyTheLastComponentsExtensionGoesAndEachKindGetsItsOwn) {
    struct Case {
        const char* chosen;
        int filter;
        const char* scheme;
        const char* fsm;
    };
    const Case cases[] = {
        {"/s/a.tvs", 1, "/s/a.tvs", "/s/a.fsm"},
        {"/s/a", 1, "/s/a.tvs", "/s/a.fsm"},
        {"/s/a.txt", 2, "/s/a.sch", "/s/a.fsm"},
        {"/s/a", 3, "/s/a.tvy", "/s/a.fsm"},
        {"/s/a.tvs", 4, "/s/a.tvs", "/s/a.fsm"},   // "Все файлы": the typed kind stays
        {"/s/a.sch", 4, "/s/a.sch", "/s/a.fsm"},
        {"/s/a.txt", 4, "/s/a.tvs", "/s/a.fsm"},   // not a scheme kind: the default
        {"/s/a", 5, "/s/a.tvs", "/s/a.fsm"},       // the state-machine filter left set
        {"/s/y.tvs", 3, "/s/y.tvs", "/s/y.fsm"},   // a typed scheme kind stays, whatever the filter
        {"/s/a.tvy", 1, "/s/a.tvy", "/s/a.fsm"},
        {"/s/a.sch", 3, "/s/a.sch", "/s/a.fsm"},
        {"/s/v1.2/pump", 1, "/s/v1.2/pump.tvs", "/s/v1.2/pump.fsm"},
        {"/s/v1.2/pump.a.b", 4, "/s/v1.2/pump.a.tvs", "/s/v1.2/pump.a.fsm"},
        {"C:\\w.d\\plan", 1, "C:\\w.d\\plan.tvs", "C:\\w.d\\plan.fsm"},
        {"/s/a.", 1, "/s/a.tvs", "/s/a.fsm"},
        {"/s/.tvs", 1, "", ""},                    // nothing left of the name
        {"", 1, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SchemeSaveName(c.chosen, c.filter), AnsiString(c.scheme)) << c.chosen << " " << c.filter;
        EXPECT_EQ(FsmSaveName(c.chosen), AnsiString(c.fsm)) << c.chosen;
    }
}

TEST(FileKinds, TheFinalExtensionDecides) {
    struct Case {
        const char* name;
        TFileKind kind;
    };
    const Case cases[] = {
        {"p.prj", TFileKind::Project},  {"p.tvp", TFileKind::Project},   {"s.sch", TFileKind::Scheme},
        {"s.tvs", TFileKind::Scheme},   {"s.tvy", TFileKind::Scheme},    {"s.tvt", TFileKind::Recovery},
        {"m.fsm", TFileKind::Fsm},      {"c.tvc", TFileKind::CaseTable}, {"S.TVS", TFileKind::None},
        {"/a.fsm.d/s.tvs", TFileKind::Scheme}, {"/a.tvs/b", TFileKind::None}, {"x.tvs.bak", TFileKind::None},
        {"C:\\a.prj\\m.fsm", TFileKind::Fsm},  {"", TFileKind::None},
    };
    for (const Case& c : cases) EXPECT_EQ(FileKindOf(c.name), c.kind) << c.name;
}

class Files : public FrameTest {
protected:
    // The next file dialog is answered with name and filter.
    void AnswerSave(const AnsiString& name, int filter) {
        port.OnFileDialog = [name, filter](FileDialogRequest& r) {
            r.FileName = name;
            r.FilterIndex = filter;
            return true;
        };
    }
};

TEST_F(Files, NewAndOpenChooseTheWindowByTheFileKind) {
    port.AnswerFile(dir.File("a.tvs"));
    port.AnswerFile(dir.File("m.fsm"));
    port.AnswerFile(dir.File("notes.txt"));
    port.AnswerFile(dir.File("copy.tvt"));
    for (int i = 0; i < 4; ++i) frame->FileNew1Execute(frame->FileNew1);
    Application->ProcessMessages();
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{" Не мой файл схемы!!! "_a, " Не мой файл схемы!!! "_a}));
    EXPECT_EQ(port.Calls[0].text, "Открытие схемы"_a);
    // Open also takes recovery copies.
    port.Clear();
    WriteScheme(dir.File("copy.tvt"), {"E1"});
    port.AnswerFile(dir.File("copy.tvt"));
    frame->FileOpen1Execute(frame->FileOpen1);
    Application->ProcessMessages();
    EXPECT_EQ(Children().size(), 3u);
    EXPECT_TRUE(port.Messages().empty());
    // Cancelled: nothing.
    port.AnswerFile("");
    frame->FileOpen1Execute(frame->FileOpen1);
    EXPECT_EQ(Children().size(), 3u);
}

TEST_F(Files, OpeningASchemeOffersItToTheOpenProjectOnce) {
    OpenProjectOf({"a.tvs"});
    OpenScheme(dir.File("a.tvs"));            // in the project: no question
    OpenScheme(dir.File("sym.tvy"));          // a symbol: no question
    port.Answer(mrNo);
    OpenScheme(dir.File("b.tvs"));
    port.Answer(mrYes);
    OpenScheme(dir.File("c.tvs"));
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Добавить файл в проект?"_a, "Добавить файл в проект?"_a}));
    EXPECT_EQ(port.Calls[0].type, mtInformation);
    EXPECT_EQ(port.Calls[0].buttons, mbYesNo);
    EXPECT_EQ(frame->CurrentProject->GetFileCount(), 2);
    EXPECT_EQ(frame->CurrentProject->GetFile(1), dir.File("c.tvs"));
    EXPECT_EQ(frame->FileListBox->Items()->Count(), 2);
}

TEST_F(Files, SavingAnUntitledSchemeAsksForANameAndUsesTheFilter) {
    TTestSchemeChild* child = OpenByCommand(dir.File("x.tvt"));
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->SchemeDocument()->GetFileName(), AnsiString()) << "recovery copies are untitled";
    AnswerSave(dir.File("plan.txt"), 4);
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(child->SchemeDocument()->GetFileName(), dir.File("plan.tvs"));
    EXPECT_TRUE(FileExists(dir.File("plan.tvs")));
    EXPECT_FALSE(child->SchemeDocument()->IsModified());
    EXPECT_EQ(port.Calls.back().text, "Сохранить схему"_a);
    // Titled: saved without a question.
    port.Calls.clear();
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(Files, AStateMachineWithoutItsExtensionAsksOnEverySave) {
    TTestFsmChild* child = OpenFsm(dir.File("lift"));
    int asked = 0;
    port.OnFileDialog = [&](FileDialogRequest& r) {
        ++asked;
        EXPECT_EQ(r.FilterIndex, 5);
        r.FileName = dir.File("lift.txt");
        return true;
    };
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(child->FsmDocument()->GetFileName(), dir.File("lift.fsm"));
    EXPECT_TRUE(FileExists(dir.File("lift.fsm")));
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(asked, 1) << "named *.fsm now: saved without asking";
    // The next untitled scheme's dialog opens on the scheme's own kind, not
    // on the state machine's filter left set.
    port.OnFileDialog = nullptr;
    TTestSchemeChild* scheme = OpenByCommand(dir.File("y.tvt"));
    ASSERT_NE(scheme, nullptr);
    port.OnFileDialog = [&](FileDialogRequest& r) {
        EXPECT_EQ(r.FilterIndex, 1);
        r.FileName = dir.File("plan");
        return true;
    };
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(scheme->SchemeDocument()->GetFileName(), dir.File("plan.tvs"));
}

TEST_F(Files, SaveAsRenamesTheProjectEntryAndASymbolKeepsTheSchemesName) {
    WriteScheme(dir.File("a.tvs"), {"E1"});
    OpenProjectOf({"a.tvs"});
    TTestSchemeChild* child = OpenScheme(dir.File("a.tvs"));
    port.OnFileDialog = [this](FileDialogRequest& r) {
        EXPECT_EQ(r.FileName, dir.File("a.tvs")) << "preset with the document's name";
        r.FileName = dir.File("sym");
        r.FilterIndex = 3;
        return true;
    };
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_TRUE(FileExists(dir.File("sym.tvy")));
    EXPECT_EQ(child->SchemeDocument()->GetFileName(), dir.File("a.tvs"));
    EXPECT_EQ(frame->CurrentProject->GetFile(0), dir.File("a.tvs"));
    // The next Save As opens on the window's own kind, and the name typed is
    // the file written.
    port.OnFileDialog = [this](FileDialogRequest& r) {
        EXPECT_EQ(r.FilterIndex, 1);
        r.FileName = dir.File("b.tvs");
        return true;
    };
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_EQ(child->SchemeDocument()->GetFileName(), dir.File("b.tvs"));
    EXPECT_TRUE(FileExists(dir.File("b.tvs")));
    EXPECT_FALSE(FileExists(dir.File("b.tvy")));
    EXPECT_EQ(frame->CurrentProject->GetFile(0), dir.File("b.tvs"));
    EXPECT_EQ(frame->FileListBox->Items()->Item(0)->Caption(), AnsiString("b.tvs"));
}

// A recovery copy is saved under a scheme's name; a file that exists there is
// replaced only when the user says so, whether the dialog named it or the
// kind's extension did.
TEST_F(Files, SavingOverAFileThatExistsAsksAndNoWritesNothing) {
    testenv::WriteBytes(dir.Path() / "s3.tvs", "keep");
    WriteScheme(dir.File("x.tvt"), {"E1"});
    TTestSchemeChild* child = OpenByCommand(dir.File("x.tvt"));
    ASSERT_NE(child, nullptr);
    const AnsiString question = "Файл "_a + dir.File("s3.tvs") + " уже существует. Заменить его?"_a;
    port.Clear();
    port.AnswerFile(dir.File("s3.tvs"));
    port.Answer(mrNo);
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    port.AnswerFile(dir.File("s3.txt")); // saved as s3.tvs by the filter
    port.Answer(mrNo);
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{question, question}));
    EXPECT_EQ(port.Calls[1].type, mtWarning);
    EXPECT_EQ(port.Calls[1].buttons, mbYesNo);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "s3.tvs"), "keep");
    EXPECT_EQ(child->SchemeDocument()->GetFileName(), AnsiString());
    EXPECT_TRUE(child->SchemeDocument()->IsModified());
    port.AnswerFile(dir.File("s3.tvs"));
    port.Answer(mrYes);
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_EQ(child->SchemeDocument()->GetFileName(), dir.File("s3.tvs"));
    EXPECT_NE(testenv::ReadBytes(dir.Path() / "s3.tvs"), "keep");
    EXPECT_EQ(port.Unscripted, 0);
}

// A state machine chosen as "m5" is written as m5.fsm: the question is about
// that file, not about m5.tvs beside it, and "Нет" returns to the dialog.
TEST_F(Files, TheReplaceQuestionIsAboutTheFileThatIsWritten) {
    testenv::WriteBytes(dir.Path() / "m5.tvs", "keep");
    TTestFsmChild* first = OpenFsm(dir.File("lift"));
    port.AnswerFile(dir.File("m5"));
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(first->FsmDocument()->GetFileName(), dir.File("m5.fsm"));
    TTestFsmChild* second = OpenFsm(dir.File("pump"));
    port.AnswerFile(dir.File("m5"));
    port.Answer(mrNo);
    port.AnswerFile(dir.File("m6"));
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_EQ(second->FsmDocument()->GetFileName(), dir.File("m6.fsm"));
    EXPECT_EQ(port.Messages(),
              std::vector<AnsiString>{"Файл "_a + dir.File("m5.fsm") + " уже существует. Заменить его?"_a});
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "m5.tvs"), "keep");
    EXPECT_EQ(port.Unscripted, 0);
}

// The window of a recovery copy names the copy until the scheme gets a name.
TEST_F(Files, ARecoveryCopysWindowNamesTheCopyUntilSavedUnderAName) {
    WriteScheme(dir.File("s3.tvt"), {"E1"});
    TTestSchemeChild* child = OpenByCommand(dir.File("s3.tvt"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Caption(), dir.File("s3.tvt") + " (восстановленная копия)*"_a);
    AnswerSave(dir.File("s3.tvs"), 1);
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_EQ(child->Caption(), dir.File("s3.tvs"));
}

// The project file follows its list at once: a program killed after any of
// these changes leaves the project to reopen with the list as it was.
TEST_F(Files, EveryChangeOfTheProjectsListIsWrittenAtOnce) {
    OpenProjectOf({"a.tvs", "b.tvs"});
    auto written = [this] {
        TProject read(nullptr);
        read.SetFileName(dir.File("p.tvp"));
        read.Load();
        std::string names;
        for (int i = 0; i < read.GetFileCount(); ++i) names += ExtractFileName(read.GetFile(i)).c_str() + std::string(" ");
        return names;
    };
    port.AnswerFile(dir.File("c.tvs"));
    frame->InsertFileActionExecute(frame->InsertFileAction);
    EXPECT_EQ(written(), "a.tvs b.tvs c.tvs ");
    TListItems* rows = frame->FileListBox->Items();
    frame->FileListBox->SetSelected(rows->Item(2));
    frame->MoveFileUpExecute(frame->MoveFileUp);
    EXPECT_EQ(written(), "a.tvs c.tvs b.tvs ");
    frame->FileListBox->SetSelected(rows->Item(0));
    frame->MoveFileDownExecute(frame->MoveFileDown);
    EXPECT_EQ(written(), "c.tvs a.tvs b.tvs ");
    frame->DeleteFileActionExecute(frame->DeleteFileAction);
    EXPECT_EQ(written(), "c.tvs b.tvs ");
    port.Answer(mrYes); // "Добавить файл в проект?"
    OpenScheme(dir.File("d.tvs"));
    EXPECT_EQ(written(), "c.tvs b.tvs d.tvs ");
    AnswerSave(dir.File("e.tvs"), 1);
    frame->FileSaveAs1Execute(frame->FileSaveAs1);
    EXPECT_EQ(written(), "c.tvs b.tvs e.tvs ");
}

// A project that cannot be written, its file read-only or its folder gone:
// the changes of its list (moves too) say so once, naming the file, closing
// only asks, and a read-only file stays the very file it was.
TEST_F(Files, AProjectThatCannotBeWrittenSaysSoOnceAndKeepsAReadOnlyFile) {
    namespace fs = std::filesystem;
    const fs::path folder = dir.Path() / "plant";
    const AnsiString file = dir.File("plant/p.tvp");
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    struct Case {
        const char* what;
        std::function<void()> lock;
        std::function<void()> check;
    };
    std::string before;
    const Case cases[] = {
        {"a read-only file", [&] { fs::permissions(folder / "p.tvp", readOnly); },
         [&] {
             EXPECT_EQ(testenv::ReadBytes(folder / "p.tvp"), before);
             EXPECT_EQ(fs::status(folder / "p.tvp").permissions(), readOnly);
             EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
         }},
        {"a folder gone", [&] { fs::rename(folder, dir.Path() / "moved"); },
         [&] { EXPECT_FALSE(fs::exists(folder)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::remove_all(dir.Path() / "moved");
        fs::create_directory(folder);
        WriteProject(file, {"a.tvs", "b.tvs"});
        port.AnswerFile(file);
        frame->OpenProjectActionExecute(frame->OpenProjectAction);
        before = testenv::ReadBytes(folder / "p.tvp");
        c.lock();
        port.Clear();
        port.AnswerFile(dir.File("c.tvs"));
        frame->InsertFileActionExecute(frame->InsertFileAction);
        TListItems* rows = frame->FileListBox->Items();
        frame->FileListBox->SetSelected(rows->Item(2));
        frame->MoveFileUpExecute(frame->MoveFileUp);
        frame->FileListBox->SetSelected(rows->Item(0));
        frame->MoveFileDownExecute(frame->MoveFileDown);
        frame->DeleteFileActionExecute(frame->DeleteFileAction);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" Невозможно записать файл проекта "_a + file});
        EXPECT_EQ(frame->CurrentProject->GetFile(0), dir.File("c.tvs"));
        EXPECT_TRUE(frame->CurrentProject->Modified);
        c.check();
        port.Clear();
        port.Answer(mrYes);
        frame->CloseProjectActionExecute(frame->CloseProjectAction);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Проект не сохранён. Закрыть проект без сохранения?"_a});
        c.check();
    }
}

TEST_F(Files, AWindowThatClosesSavesItselfNotTheActiveOne) {
    TTestSchemeChild* first = OpenScheme(dir.File("first.tvs"));
    TTestSchemeChild* second = OpenScheme(dir.File("second.tvs"));
    first->SchemeDocument()->CreateAndElement();
    ASSERT_EQ(frame->ActiveMDIChild(), second);
    EXPECT_TRUE(frame->SaveWindow(first));
    EXPECT_TRUE(FileExists(dir.File("first.tvs")));
    EXPECT_FALSE(FileExists(dir.File("second.tvs")));
}

TEST_F(Files, ExitWithCancelKeepsTheProgramTheProjectAndTheWindows) {
    OpenProjectOf({"a.tvs"});
    TTestSchemeChild* clean = OpenScheme(dir.File("a.tvs"));
    TTestSchemeChild* modified = OpenScheme(dir.File("b.tvs"));
    TTestFsmChild* fsm = OpenFsm(dir.File("m.fsm"));
    modified->SchemeDocument()->CreateAndElement();
    fsm->FsmDocument()->SetModified(true);
    std::weak_ptr<char> cleanAlive = clean->Alive(), modifiedAlive = modified->Alive(), fsmAlive = fsm->Alive();
    port.Clear();
    port.Answer(mrNo);      // the state machine: do not save
    port.Answer(mrCancel);  // the modified scheme: stay
    frame->FileExit1Execute(frame->FileExit1);
    Application->ProcessMessages();
    EXPECT_EQ(port.Messages().size(), 2u);
    EXPECT_TRUE(frame->Showing());
    EXPECT_NE(frame->CurrentProject, nullptr);
    EXPECT_FALSE(modifiedAlive.expired());
    EXPECT_TRUE(fsmAlive.expired());
    EXPECT_FALSE(Application->Terminated());
    // Now Yes: the scheme saves itself and everything closes.
    port.Answer(mrYes);
    frame->FileExit1Execute(frame->FileExit1);
    Application->ProcessMessages();
    EXPECT_TRUE(modifiedAlive.expired());
    EXPECT_TRUE(cleanAlive.expired());
    EXPECT_TRUE(FileExists(dir.File("b.tvs")));
    EXPECT_EQ(frame->CurrentProject, nullptr);
    EXPECT_FALSE(frame->Showing());
}

// A window out of sight (minimized, one by one or all at once, or hidden)
// still holds its edits: every closing of all the windows asks it, brought
// back in front and active first, since the question names no file.
TEST_F(Files, WindowsOutOfSightAreAskedAboutTheirEditsInFrontOnEveryClosing) {
    struct Case {
        const char* way;
        std::function<void()> close;
        bool minimizeAll;
    };
    const Case cases[] = {
        {"Выход after Минимизировать все", [this] { frame->FileExit1Execute(frame->FileExit1); }, true},
        {"Закрыть проект", [this] { frame->CloseProjectActionExecute(frame->CloseProjectAction); }, false},
        {"the frame closed by the window manager", [this] { frame->Widget()->windowHandle()->close(); }, false},
        {"the minimized frame closed by the window manager",
         [this] {
             frame->SetWindowState(wsMinimized);
             frame->Widget()->windowHandle()->close();
         },
         false},
    };
    // The window in front at each question, and whether it showed.
    std::vector<std::pair<TForm*, bool>> asked;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        OpenProjectOf({"a.tvs"});
        TTestSchemeChild* scheme = OpenScheme(dir.File("a.tvs"));
        TTestFsmChild* fsm = OpenFsm(dir.File("m.fsm"));
        TTestSchemeChild* hidden = OpenScheme(dir.File("h.tvs"));
        scheme->SchemeDocument()->CreateAndElement();
        fsm->FsmDocument()->SetModified(true);
        hidden->SchemeDocument()->CreateAndElement();
        std::weak_ptr<char> schemeAlive = scheme->Alive();
        std::weak_ptr<char> fsmAlive = fsm->Alive();
        std::weak_ptr<char> hiddenAlive = hidden->Alive();
        hidden->Hide();
        if (c.minimizeAll) {
            frame->MinimizeAll();
        } else {
            scheme->SetWindowState(wsMinimized);
            fsm->SetWindowState(wsMinimized);
        }
        Application->ProcessMessages();
        ASSERT_EQ(scheme->WindowState(), wsMinimized);
        ASSERT_EQ(fsm->WindowState(), wsMinimized);
        asked.clear();
        port.OnMessage = [this, &asked](const TestUiPort::Call&) {
            TForm* front = frame->ActiveMDIChild();
            asked.emplace_back(front, front && front->Showing() && front->WindowState() != wsMinimized &&
                                          frame->WindowState() != wsMinimized);
            return 0;
        };
        port.Clear();
        // Cancel to the first window asked keeps everything open.
        port.Answer(mrCancel);
        c.close();
        Application->ProcessMessages();
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Схема не сохранена! Сохранить?"_a});
        EXPECT_FALSE(schemeAlive.expired());
        EXPECT_FALSE(fsmAlive.expired());
        EXPECT_FALSE(hiddenAlive.expired());
        EXPECT_NE(frame->CurrentProject, nullptr);
        EXPECT_TRUE(frame->Showing());
        // Yes to each: every one writes its file and closes.
        port.Clear();
        port.Answer(mrYes);
        port.Answer(mrYes);
        port.Answer(mrYes);
        c.close();
        Application->ProcessMessages();
        EXPECT_EQ(port.Messages().size(), 3u);
        ASSERT_EQ(asked.size(), 4u);
        const std::set<TForm*> askedWindows{asked[1].first, asked[2].first, asked[3].first};
        EXPECT_EQ(askedWindows, (std::set<TForm*>{scheme, fsm, hidden}));
        for (const auto& [window, shown] : asked) EXPECT_TRUE(shown);
        EXPECT_TRUE(schemeAlive.expired());
        EXPECT_TRUE(fsmAlive.expired());
        EXPECT_TRUE(hiddenAlive.expired());
        EXPECT_TRUE(FileExists(dir.File("a.tvs")));
        EXPECT_TRUE(FileExists(dir.File("m.fsm")));
        EXPECT_TRUE(FileExists(dir.File("h.tvs")));
        EXPECT_EQ(frame->CurrentProject, nullptr);
        TearDown();
        SetUp();
    }
}

// "Закрыть" of the active window while it is minimized: it comes back
// before the question, which names no file.
TEST_F(Files, ClosingAMinimizedActiveWindowShowsItBeforeItsQuestion) {
    TTestSchemeChild* scheme = OpenScheme(dir.File("a.tvs"));
    scheme->SchemeDocument()->CreateAndElement();
    scheme->SetWindowState(wsMinimized);
    Application->ProcessMessages();
    ASSERT_EQ(frame->ActiveMDIChild(), scheme);
    bool shown = false;
    port.OnMessage = [&](const TestUiPort::Call&) {
        shown = scheme->Showing() && scheme->WindowState() != wsMinimized;
        return 0;
    };
    port.Answer(mrCancel);
    frame->FileClose1Execute(frame->FileClose1);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Схема не сохранена! Сохранить?"_a});
    EXPECT_TRUE(shown);
}

TEST_F(Files, ClosingTheProjectSavesItAndClosesEveryWindow) {
    OpenProjectOf({"a.tvs"});
    const std::string before = testenv::ReadBytes(dir.Path() / "p.tvp");
    // A window that takes another with it when it closes.
    TTestSchemeChild* a = OpenScheme(dir.File("a.tvs"));
    TTestSchemeChild* b = OpenScheme(dir.File("b2.tvs"));
    std::weak_ptr<char> aAlive = a->Alive();
    b->OnDestroy = [a, aAlive](TObject*) {
        if (!aAlive.expired()) a->Release();
    };
    std::filesystem::remove(dir.Path() / "p.tvp");
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    Application->ProcessMessages();
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(frame->CurrentProject, nullptr);
    EXPECT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_FALSE(frame->N26->Checked());
    EXPECT_EQ(frame->FileListBox->Items()->Count(), 0);
    // Written even though nothing changed.
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "p.tvp"), before);
}

TEST_F(Files, AFileThatDidNotLoadAsAProjectIsNeverWrittenOverOnClose) {
    const std::string damaged = "[Project]\r\nVersion=1\r\nName=P\r\nIterations=zz\r\n";
    testenv::WriteBytes(dir.Path() / "bad.tvp", damaged);
    // A damaged project opens with its sound part; left unchanged, closing
    // does not write that part over the file.
    port.AnswerFile(dir.File("bad.tvp"));
    frame->OpenProjectActionExecute(frame->OpenProjectAction);
    ASSERT_NE(frame->CurrentProject, nullptr);
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "bad.tvp"), damaged);
    // A missing file: the project is created there on close.
    port.AnswerFile(dir.File("new.tvp"));
    frame->OpenProjectActionExecute(frame->OpenProjectAction);
    EXPECT_EQ(port.Messages().back(), "Не найден файл проекта"_a);
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    EXPECT_TRUE(FileExists(dir.File("new.tvp")));
}

TEST_F(Files, TheProjectListMovesInPlaceAndOpensFiles) {
    WriteScheme(dir.File("a.tvs"), {"E1"});
    OpenProjectOf({"a.tvs", "b.tvs", "c.tvs"});
    TListItems* rows = frame->FileListBox->Items();
    frame->FileListBox->SetSelected(rows->Item(2));
    frame->MoveFileUpExecute(frame->MoveFileUp);
    EXPECT_EQ(rows->Item(1)->Caption(), AnsiString("c.tvs"));
    EXPECT_EQ(rows->Item(2)->Caption(), AnsiString("b.tvs"));
    EXPECT_EQ(frame->FileListBox->Selected(), rows->Item(1));
    EXPECT_EQ(frame->CurrentProject->GetFile(1), dir.File("c.tvs"));
    EXPECT_FALSE(frame->CurrentProject->Modified) << "a move does not mark the project";
    frame->FileListBox->SetSelected(rows->Item(0));
    frame->MoveFileDownExecute(frame->MoveFileDown);
    EXPECT_EQ(rows->Item(1)->Caption(), AnsiString("a.tvs"));
    EXPECT_EQ(rows->Item(1)->SubItems()->Get(0), dir.File(""));
    EXPECT_EQ(frame->CurrentProject->GetFile(0), dir.File("c.tvs"));
    // Open the selected file, then bring it to the front instead of again.
    frame->FileListBoxDblClick(frame->FileListBox);
    frame->FileListBoxDblClick(frame->FileListBox);
    Application->ProcessMessages();
    ASSERT_EQ(Children().size(), 1u);
    EXPECT_EQ(dynamic_cast<ISchemeChild*>(Children()[0])->SchemeDocument()->CountDevices(), 1);
    // Deleting the entry closes its window.
    frame->DeleteFileActionExecute(frame->DeleteFileAction);
    Application->ProcessMessages();
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(frame->CurrentProject->GetFileCount(), 2);
    EXPECT_EQ(rows->Count(), 2);
}

TEST_F(Files, RecentProjectsReopenAndAMissingOneIsReported) {
    OpenProjectOf({"a.tvs"});
    EXPECT_EQ(frame->MRUMan->Strings()->Count(), 1);
    EXPECT_TRUE(frame->ReopenProject->Enabled());
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    frame->MRUManClick(frame->MRUMan, dir.File("p.tvp"), "", 0);
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileCount(), 1);
    EXPECT_TRUE(frame->ManagerWindow->Visible());
    // A project that is gone is reported and leaves the frame as it was:
    // the open project and the pane, or no project and no pane.
    frame->MRUManClick(frame->MRUMan, dir.File("gone.tvp"), "", 0);
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("p.tvp"));
    EXPECT_TRUE(frame->ManagerWindow->Visible());
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    frame->MRUManClick(frame->MRUMan, dir.File("gone.tvp"), "", 0);
    EXPECT_EQ(frame->CurrentProject, nullptr);
    EXPECT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"Не найден файл проекта"_a, "Не найден файл проекта"_a}));
}

TEST_F(Files, PrintingGivesAJobPerSchemeAndAPagePerCopyEachFromAWhiteSheet) {
    TestPrinterBackend* pages = Pages();
    OpenScheme(dir.File("a.tvs"));
    OpenFsm(dir.File("m.fsm"));
    OpenScheme(dir.File("b.tvs"));
    OpenScheme(dir.File("c.tvs"));
    port.OnPrintDialog = [](PrintDialogRequest& r) {
        EXPECT_EQ(r.MinPage, 1);
        EXPECT_EQ(r.MaxPage, 4);
        r.Copies = 2;
        return true;
    };
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 4u) << "the state-machine window prints like a scheme";
    EXPECT_EQ(std::count(ChildCalls().begin(), ChildCalls().end(), "fsm:PrintScheme"), 2);
    for (const auto& doc : pages->Documents) {
        EXPECT_EQ(doc.title, "Печать схемы"_a);
        ASSERT_EQ(doc.pages.size(), 2u);
        EXPECT_TRUE(doc.pages[0] == doc.pages[1]) << "the second copy is the same picture";
        // The box drawn by inverting comes out black on white.
        const QImage& page = doc.pages[0];
        const int w = page.width();
        const QColor inside = page.pixelColor(w * 200 / 800, w * 150 / 800);
        const QColor outside = page.pixelColor(w * 50 / 800, w * 50 / 800);
        EXPECT_EQ(inside, QColor(Qt::black));
        EXPECT_EQ(outside, QColor(Qt::white));
    }
    // Pages 2 to 3 only: one of them is a scheme; elements are a scheme's only.
    pages->Documents.clear();
    port.OnPrintDialog = [](PrintDialogRequest& r) {
        r.Copies = 1;
        r.PrintRange = prPageNums;
        r.FromPage = 2;
        r.ToPage = 3;
        return true;
    };
    frame->PrintElementActionExecute(frame->PrintElementAction);
    ASSERT_EQ(pages->Documents.size(), 1u);
    EXPECT_EQ(pages->Documents[0].title, "Печать элементов схемы"_a);
    EXPECT_EQ(pages->Documents[0].pages.size(), 1u);
    // Cancelled: nothing printed.
    pages->Documents.clear();
    port.OnPrintDialog = [](PrintDialogRequest&) { return false; };
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    EXPECT_TRUE(pages->Documents.empty());
}

// Into a file every job would replace the file the job before wrote: there
// the windows asked for print as one job, each window from a new page, so the
// file holds them all.
TEST_F(Files, PrintingIntoAFileGivesOneJobHoldingEveryWindowAskedFor) {
    TestPrinterBackend* pages = Pages();
    OpenScheme(dir.File("a.tvs"));
    OpenFsm(dir.File("m.fsm"));
    OpenScheme(dir.File("b.tvs"));
    OpenScheme(dir.File("c.tvs"));
    // The dialog answered "into all.pdf", with the copies and the windows
    // (all when from is 0).
    auto intoFile = [this](int copies, int from, int to) {
        port.OnPrintDialog = [this, copies, from, to](PrintDialogRequest& r) {
            r.PdfFileName = dir.File("all.pdf");
            r.Copies = copies;
            r.PrintRange = from ? prPageNums : prAllPages;
            r.FromPage = from;
            r.ToPage = to;
            return true;
        };
    };
    intoFile(2, 0, 0);
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 1u);
    const auto& all = pages->Documents[0];
    EXPECT_EQ(all.title, "Печать схемы"_a);
    EXPECT_TRUE(all.finished);
    // Children topmost first: c, b, m, a; two copies each. The state
    // machine draws a disc, the schemes a box.
    ASSERT_EQ(all.pages.size(), 8u);
    for (std::size_t i = 0; i < 8; i += 2) EXPECT_TRUE(all.pages[i] == all.pages[i + 1]) << i;
    EXPECT_TRUE(all.pages[0] == all.pages[2]);
    EXPECT_FALSE(all.pages[4] == all.pages[0]) << "the state machine's own page";
    EXPECT_TRUE(all.pages[6] == all.pages[0]);
    // A range prints the windows in it, still into one job.
    pages->Documents.clear();
    intoFile(1, 2, 3);
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 1u);
    ASSERT_EQ(pages->Documents[0].pages.size(), 2u);
    EXPECT_FALSE(pages->Documents[0].pages[0] == pages->Documents[0].pages[1]) << "b, then m";
    // Element lists: one job, a page for each scheme window in its order.
    pages->Documents.clear();
    intoFile(1, 0, 0);
    frame->PrintElementActionExecute(frame->PrintElementAction);
    ASSERT_EQ(pages->Documents.size(), 1u);
    const auto& lists = pages->Documents[0];
    EXPECT_EQ(lists.title, "Печать элементов схемы"_a);
    EXPECT_EQ(lists.pages.size(), 3u);
    std::vector<std::pair<int, AnsiString>> names;
    for (const auto& t : lists.texts) names.emplace_back(t.page, t.text);
    const std::vector<std::pair<int, AnsiString>> expected{{0, "c.tvs"}, {1, "b.tvs"}, {2, "a.tvs"}};
    EXPECT_EQ(names, expected);
    // To a device each window is still a job of its own.
    pages->Documents.clear();
    port.OnPrintDialog = [](PrintDialogRequest&) { return true; };
    frame->PrintElementActionExecute(frame->PrintElementAction);
    EXPECT_EQ(pages->Documents.size(), 3u);
}

// A window whose drawing fails gives the open job up: nothing half printed
// counts as a document, and the next print starts a job of its own.
TEST_F(Files, AFaultWhilePrintingGivesTheJobUpAndTheNextPrintWorks) {
    TestPrinterBackend* pages = Pages();
    OpenScheme(dir.File("a.tvs"));
    TTestSchemeChild* b = OpenScheme(dir.File("b.tvs"));
    port.OnPrintDialog = [&](PrintDialogRequest& r) {
        r.PdfFileName = dir.File("all.pdf");
        return true;
    };
    b->printFails = true;
    EXPECT_THROW(frame->PrintSchemActionExecute(frame->PrintSchemAction), Exception);
    ASSERT_EQ(pages->Documents.size(), 1u);
    EXPECT_TRUE(pages->Documents[0].aborted);
    EXPECT_FALSE(Printer()->Printing());
    b->printFails = false;
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 2u);
    EXPECT_TRUE(pages->Documents[1].finished);
    EXPECT_EQ(pages->Documents[1].pages.size(), 2u);
}

// The file itself, as the program's printer writes it: both windows' pages.
TEST_F(Files, APdfOfTwoWindowsHoldsThePagesOfBoth) {
    // A printer of the program's own kind for this test, put back after it.
    struct QtPrinterScope {
        QtPrinterScope() : previous(Printer()->SetBackend(std::make_unique<QtPrinterBackend>())) {}
        ~QtPrinterScope() { Printer()->SetBackend(std::move(previous)); }
        std::unique_ptr<IPrinterBackend> previous;
    } scope;
    OpenScheme(dir.File("a.tvs"));
    OpenFsm(dir.File("m.fsm"));
    const AnsiString pdf = dir.File("both.pdf");
    port.OnPrintDialog = [&](PrintDialogRequest& r) {
        r.PdfFileName = pdf;
        return true;
    };
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    EXPECT_TRUE(port.Messages().empty());
    const std::string bytes = testenv::ReadBytes(ToFsPath(pdf));
    ASSERT_EQ(bytes.rfind("%PDF", 0), 0u);
    // Each page object of the file is a dictionary of type Page.
    int count = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        count += bytes.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(count, 2);
}

TEST_F(Files, ThePaneTogglesAndKeepsItsColumnWidths) {
    frame->N26Click(frame->N26);
    EXPECT_TRUE(frame->ManagerWindow->Visible());
    EXPECT_EQ(frame->FileListBox->Columns()->Items(0)->Width(), 80);
    frame->FileListBox->Columns()->Items(0)->SetWidth(123);
    frame->N26Click(frame->N26);
    EXPECT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_EQ(frame->FormS->GetStoredValue("MWCol1Width", Variant(0)).AsInteger(), 123);
    frame->FileListBox->Columns()->Items(0)->SetWidth(40);
    frame->N26Click(frame->N26);
    EXPECT_EQ(frame->FileListBox->Columns()->Items(0)->Width(), 123);
    frame->ManagerWindowClose(frame->ManagerWindow);
    EXPECT_FALSE(frame->N26->Checked());
}

} // namespace
