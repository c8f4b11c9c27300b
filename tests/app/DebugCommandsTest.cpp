// The frame's debugging commands: the debug button's refusals, the files
// every command hands the debugger and whether it forces a reload, the CASE
// check after a CASE translation, and the whole way from a translated
// project to a ticked output in the debugger window.
#include "app/AppTest.h"

#include <QGuiApplication>
#include <QWindow>
#include <map>

#include "SampleProject.h"
#include "common/Desktop.h"
#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/MRUList.h"
#include "debugger/DebugFileBuilder.h"
#include "debugger/Vac.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Sharefun.h"
#include "debugger/ui/TimerUn.h"
#include "document/DriversInfo.h"
#include "document/Project.h"
#include "editor/ChildWin.h"
#include "app/ProjectDlg.h"
#include "platform/FileUtils.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "translator/Logfile.h"

namespace {

using dbgfile::Op;

// A program with the signals of the wanted lists below: Y = A and B.
std::string SmallProgram() {
    dbgfile::Builder b;
    b.Inputs.push_back({1, 0, 1});
    b.Outputs.push_back({2, 1, 1});
    b.And({Op(0, 0), Op(0, 1)}, {Op(1, 0)});
    b.AddName(Op(0, 0), "A");
    b.AddName(Op(0, 1), "B");
    b.AddName(Op(1, 0), "Y");
    return b.Build();
}

class DebugCommands : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteScheme(dir.File("pump.tvs"), {"E1"});
        WriteProject(dir.File("p.tvp"), {"pump.tvs"});
    }
    void OpenProject() {
        port.AnswerFile(dir.File("p.tvp"));
        frame->OpenProjectActionExecute(frame->OpenProjectAction);
    }
    void WriteFiles(const char* data, const char* copy) {
        if (data) testenv::WriteBytes(dir.Path() / data, "controller");
        testenv::WriteBytes(dir.Path() / copy, SmallProgram());
    }
    void Button() { frame->ToolbarButtonEx26Click(frame->ToolbarButtonEx26); }
    // The emulator before a command, with one scan on it: a reload without
    // force keeps both, a forced one makes a new emulator.
    TVAC* Mark() {
        Emulator()->Run();
        return Emulator();
    }
    bool Kept(TVAC* before) const { return Emulator() == before && Emulator()->RunCount == 1; }
};

TEST_F(DebugCommands, TheDebugButtonsRefuseWithTheirMessages) {
    StartFrame();
    const char* const noProject = "Нет открытого проекта\nОтладка только проекта!";
    const char* const noScheme = " Нет активной схемы! \n Для отладки проекта снимите флажок \"Работа со схемой\" (F7) ";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* debugger; // ToolbarButtonEx26
        const char* timing;   // ToolbarButtonEx27
    };
    const Case cases[] = {
        {"no project", [] {}, noProject, noProject},
        {"the scheme box ticked, no window", [&] {
             OpenProject();
             frame->DebuCheck->SetChecked(true);
         }, noScheme, noScheme},
        {"a state-machine window is no scheme", [&] { OpenFsm(dir.File("m.fsm")); }, noScheme, noScheme},
        {"the scheme's copy missing", [&] {
             OpenScheme(dir.File("pump.tvs"));
             WriteFiles("tvca.dat", "Debutvca.dat"); // the project's files do not count
         }, " Не найден файл данных \n Нажмите F8 для трансляции схемы ",
         " Не найден файл данных \nНажмите F8 для трансляции схемы "},
        {"the box clear, the project's data file missing", [&] {
             frame->DebuCheck->SetChecked(false);
             std::filesystem::remove(dir.Path() / "tvca.dat");
         }, " Не найден файл данных \nНажмите Ctrl+F9 для трансляции проекта.",
         " Не найден файл данных \nНажмите Ctrl+F9 для трансляции "},
        {"the box clear, the project's copy missing", [&] {
             WriteFiles("tvca.dat", "Debutvca.dat");
             std::filesystem::remove(dir.Path() / "Debutvca.dat");
         }, " Не найден файл данных \nНажмите Ctrl+F9 для трансляции проекта.",
         " Не найден файл данных \nНажмите Ctrl+F9 для трансляции "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        port.Clear();
        Button();
        frame->ToolbarButtonEx27->Click();
        EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{Utf8ToAnsi(c.debugger), Utf8ToAnsi(c.timing)}));
        ASSERT_EQ(port.Calls.size(), 2u);
        for (const auto& call : port.Calls) {
            EXPECT_EQ(call.type, mtWarning);
            EXPECT_EQ(call.buttons, mbYesOnly);
        }
        EXPECT_FALSE(fmDebug->Visible());
        EXPECT_FALSE(TimersForm->Visible());
        EXPECT_FALSE(Emulator()->Loaded());
    }
}

TEST_F(DebugCommands, TheTimingButtonOpensTheDiagramWithTheProgramsShortestTimer) {
    StartFrame();
    OpenProject();
    WriteFiles("tvca.dat", "Debutvca.dat");
    ASSERT_EQ(frame->ToolBar5->GetOrderIndex(frame->ToolbarButtonEx27) + 1,
              frame->ToolBar5->GetOrderIndex(frame->ToolbarButtonEx26));
    frame->ToolbarButtonEx27->Click();
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_TRUE(Emulator()->Loaded());
    ASSERT_TRUE(TimersForm->Visible());
    EXPECT_FALSE(fmDebug->Visible());
    // No timer in the program: the preset of none, 101 ticks.
    EXPECT_EQ(TimersForm->MinInterval->Caption(), "5050 мс"_a);
    EXPECT_EQ(TimersForm->Rate, 101);
}

TEST_F(DebugCommands, TheDebugButtonLoadsTheProjectsOrTheSchemesCopyAndShowsTheDebugger) {
    StartFrame();
    OpenProject();
    WriteFiles("tvca.dat", "Debutvca.dat");
    WriteFiles(nullptr, "Debupumptvca.dat");
    Button();
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_TRUE(fmDebug->Visible());
    EXPECT_EQ(Emulator()->FileName, dir.File("Debutvca.dat"));
    EXPECT_TRUE(Emulator()->Loaded());
    TVAC* before = Mark();
    Button(); // the same copy: no reload
    EXPECT_TRUE(Kept(before));
    fmDebug->Hide();
    OpenScheme(dir.File("pump.tvs"));
    frame->DebuCheck->SetChecked(true);
    Button();
    EXPECT_EQ(Emulator()->FileName, dir.File("Debupumptvca.dat"));
    EXPECT_TRUE(Emulator()->Loaded());
    EXPECT_TRUE(fmDebug->Visible());
}

// The debugger the user minimized comes back with the debug button: restored
// and in front, as a closed one shows.
TEST_F(DebugCommands, TheDebugButtonBringsBackAMinimizedDebugger) {
    StartFrame();
    OpenProject();
    WriteFiles("tvca.dat", "Debutvca.dat");
    Button();
    ASSERT_TRUE(testenv::WaitActive(fmDebug));
    const bool desktop = QGuiApplication::platformName() == "xcb";
    if (desktop) testenv::MinimizeAsTheUserDoes(fmDebug->Widget());
    else fmDebug->SetWindowState(wsMinimized);
    ASSERT_TRUE(testenv::WaitFor([] { return fmDebug->WindowState() == wsMinimized; }));
    // Minimized for the desktop too (its animation over): off the screen.
    if (desktop) {
        ASSERT_TRUE(testenv::WaitFor([] { return !fmDebug->Widget()->windowHandle()->isExposed(); }));
        // A desktop that minimizes a program's windows together (openbox
        // takes the frame along) leaves the button out of reach: the user
        // brings the frame back by its task entry first.
        QWidget* main = frame->Widget();
        if (main->isMinimized() || !main->windowHandle()->isExposed()) {
            testenv::ActivateAsTheUserDoes(main);
            ASSERT_TRUE(testenv::WaitExposed(main));
        }
    }
    Button();
    EXPECT_TRUE(testenv::WaitFor([] { return fmDebug->WindowState() == wsNormal; }));
    EXPECT_TRUE(testenv::WaitActive(fmDebug));
    EXPECT_TRUE(fmDebug->Visible());
    if (desktop) {
        EXPECT_TRUE(testenv::WaitExposed(fmDebug->Widget()));
    }
}

// The frame minimized while the debugger or the timing diagram is in front,
// and restored: the window is still open and in front. The desktop hands the
// restored frame the activation on the way, which is no turning away from the
// window (that would hide it).
TEST_F(DebugCommands, TheDebuggerAndTheTimingDiagramStayOpenWhileTheFrameIsMinimizedAndRestored) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    StartFrame();
    OpenProject();
    WriteFiles("tvca.dat", "Debutvca.dat");
    const struct {
        const char* window;
        TToolbarButtonEx* button;
        TForm* form;
    } cases[] = {
        {"the debugger", frame->ToolbarButtonEx26, fmDebug},
        {"the timing diagram", frame->ToolbarButtonEx27, TimersForm},
    };
    QWindow* frameWindow = frame->Widget()->windowHandle();
    bool frameFocused = false;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, frame->Widget(),
                     [&](QWindow* w) { frameFocused = frameFocused || w == frameWindow; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        c.button->Click();
        ASSERT_TRUE(testenv::WaitActive(c.form));
        frame->SetWindowState(wsMinimized);
        // Minimized for the desktop too: its window is off the screen.
        ASSERT_TRUE(testenv::WaitFor([&] { return !frameWindow->isExposed(); }));
        EXPECT_TRUE(c.form->Visible());
        frameFocused = false;
        testenv::ActivateAsTheUserDoes(frame->Widget());
        // Once the desktop has given the restored frame its focus: the window
        // either went or has the activation back.
        EXPECT_TRUE(testenv::WaitFor([&] { return frameFocused && (!c.form->Visible() || testenv::FormIsActive(c.form)); }));
        EXPECT_NE(frame->WindowState(), wsMinimized);
        EXPECT_TRUE(c.form->Visible());
        EXPECT_TRUE(testenv::FormIsActive(c.form));
        c.form->Hide();
    }
}

TEST_F(DebugCommands, OpeningAProjectHandsTheDebuggerItsCopyWithoutForce) {
    WriteFiles("tvca.dat", "Debutvca.dat");
    // From the command line.
    StartFrame(dir.File("p.tvp"));
    EXPECT_EQ(Emulator()->FileName, dir.File("Debutvca.dat"));
    EXPECT_TRUE(Emulator()->Loaded());
    TVAC* before = Mark();
    // The project's properties, the open command and a recent project: the
    // same copy is kept as it is.
    ModalScript script;
    script.On(ProjectDlg, [] { ProjectDlg->ModalResult = mrCancel; });
    frame->OptionProjectActionExecute(frame->OptionProjectAction);
    EXPECT_TRUE(Kept(before));
    OpenProject();
    EXPECT_TRUE(Kept(before));
    frame->MRUManClick(frame->MRUMan, dir.File("p.tvp"), AnsiString(), 0);
    EXPECT_TRUE(Kept(before));
    // Without the data file nothing is handed over, whatever the copy.
    std::filesystem::remove(dir.Path() / "tvca.dat");
    testenv::WriteBytes(dir.Path() / "Debutvca.dat", "damaged");
    OpenProject();
    EXPECT_TRUE(Kept(before));
    EXPECT_TRUE(port.Messages().empty());
}

// Ctrl+F9 hands over the project's pair; F8 the project's with the scheme
// box clear, else the copy the run wrote for pump.tvs; each run forces a
// reload, even of the same copy.
TEST_F(DebugCommands, TranslationsForceTheReloadOfTheirPair) {
    StartFrame();
    OpenProject();
    OpenScheme(dir.File("pump.tvs"));
    struct Case {
        TAction* action;
        bool ticked;
        const char* copy;
    };
    const Case cases[] = {{frame->ExportAction, false, "Debutvca.dat"},
                          {frame->ExportSchemeAction, false, "Debutvca.dat"},
                          {frame->ExportSchemeAction, true, "Debupumptvca.dat"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copy + std::string(c.ticked ? " ticked" : ""));
        frame->DebuCheck->SetChecked(c.ticked);
        for (int run = 0; run < 2; ++run) {
            TVAC* before = Emulator()->Loaded() ? Mark() : nullptr;
            port.Answer(mrNo);
            c.action->OnExecute(c.action);
            EXPECT_NE(Emulator(), before);
            EXPECT_EQ(Emulator()->FileName, dir.File(c.copy));
            EXPECT_TRUE(Emulator()->Loaded());
        }
    }
    EXPECT_TRUE(FileExists(dir.File("tvca.dat")));
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = testenv::ReadBytes(entry.path());
    return files;
}

// A window without a file name (a recovery copy opens untitled) has no name
// for its work files: F8 and "Проверить схему" ask to save it first. No, or a
// cancelled save dialog, writes nothing: the project's work files, its
// debugging copy and the debugger's program stay as they were, and the debug
// button with the scheme box ticked does not take the project's copy for the
// window's. Yes and a name translate under that name.
TEST_F(DebugCommands, AnUntitledSchemeIsSavedBeforeItIsTranslatedAndNeverUsesTheProjectsFiles) {
    StartFrame();
    OpenProject();
    frame->ExportActionExecute(frame->ExportAction);
    ASSERT_EQ(frame->LogFile->ErrorCount, 0);
    WriteScheme(dir.File("pump.tvt"), {"E7"});
    TTestSchemeChild* copy = OpenByCommand(dir.File("pump.tvt"));
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->SchemeDocument()->GetFileName().IsEmpty());
    const auto before = FolderContents(dir.Path());
    const AnsiString question = "Схема не сохранена в файл!\nТранслируется только сохранённая схема. Сохранить?"_a;
    struct Case {
        const char* what;
        bool ticked;
        bool check;  // "Проверить схему" rather than F8
        int answer;
    };
    const Case cases[] = {{"F8, No", false, false, mrNo},
                          {"F8 ticked, the dialog cancelled", true, false, mrYes},
                          {"check, No", true, true, mrNo}};
    TVAC* emulator = Mark();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frame->DebuCheck->SetChecked(c.ticked);
        port.Clear();
        port.Answer(c.answer);
        if (c.answer == mrYes) port.AnswerFile(AnsiString());
        if (c.check) frame->CheckScheme(copy->SchemeDocument());
        else frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{question});
        EXPECT_EQ(port.Calls.front().buttons, mbYesNo);
        EXPECT_EQ(FolderContents(dir.Path()), before);
        EXPECT_TRUE(Kept(emulator));
        EXPECT_TRUE(copy->SchemeDocument()->GetFileName().IsEmpty());
    }
    port.Clear();
    frame->DebuCheck->SetChecked(true);
    Button();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" Не найден файл данных \n Нажмите F8 для трансляции схемы "_a});
    EXPECT_FALSE(fmDebug->Visible());
    // Yes and a name: the scheme is saved and translated under its name.
    port.Clear();
    port.Answer(mrYes);
    port.AnswerFile(dir.File("gate.tvs"));
    frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{question, "Трансляция схемы gate прошла успешно."_a}));
    EXPECT_EQ(copy->SchemeDocument()->GetFileName(), dir.File("gate.tvs"));
    EXPECT_EQ(Emulator()->FileName, dir.File("Debugatetvca.dat"));
    auto after = FolderContents(dir.Path());
    for (const char* made : {"gate.tvs", "Debugatetvca.dat", "gate3.$$$", "gate4.$$$", "gate5.$$$"})
        EXPECT_EQ(after.erase(made), 1u) << made;
    EXPECT_EQ(after, before);
    // A file whose name is all extension has no base name either.
    port.Answer(mrNo); // not added to the project
    OpenScheme(dir.File(".tvs"));
    port.Clear();
    frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
    EXPECT_EQ(port.Messages(),
              std::vector<AnsiString>{"У файла схемы "_a + dir.File(".tvs") + " нет имени: трансляция невозможна."_a});
    EXPECT_EQ(Emulator()->FileName, dir.File("Debugatetvca.dat"));
}

TEST_F(DebugCommands, ACaseTranslationChecksItsTableOnTheEmulator) {
    StartFrame();
    OpenProject();
    OpenScheme(dir.File("pump.tvs"));
    std::vector<int32_t> words;
    port.Answer(mrNo);
    EXPECT_TRUE(frame->ExportCase(frame->ActiveMDIChild(), &words));
    EXPECT_EQ(Emulator()->FileName, dir.File("Debupumptvca.dat"));
    EXPECT_EQ(words.size(), 65536u);
    // A run that leaves no copy checks nothing.
    frame->LogFile->LibraryName = "nothing.dll";
    std::filesystem::remove(dir.Path() / "Debupumptvca.dat");
    std::vector<int32_t> untouched{3};
    port.Answer(mrNo);
    EXPECT_FALSE(frame->ExportCase(frame->ActiveMDIChild(), &untouched));
    EXPECT_EQ(untouched, std::vector<int32_t>{3});
}

TEST_F(DebugCommands, FromATranslatedProjectToATickedOutputInTheDebugger) {
    StartFrame();
    AnsiString error;
    ASSERT_TRUE(sample::FillTable(DriversInUse(), error)) << AnsiToUtf8(error);
    ASSERT_TRUE(sample::WriteSchemes(dir.File(""), true));
    OpenProject();
    port.Answer(mrNo);
    frame->ExportActionExecute(frame->ExportAction);
    ASSERT_EQ(frame->LogFile->ErrorCount, 0) << AnsiToUtf8(frame->LogFile->Messages.Text());
    // In s1's window the driver pins A, B and Y are selected and added to
    // the debugger ("Добавить в отладчик", D).
    FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
    auto* s1 = dynamic_cast<TMDIChild*>(frame->CreateMDIChild(dir.File("s1.tvs")));
    ASSERT_NE(s1, nullptr);
    for (TDriver* d = s1->Scheme->FirstDriver(); d; d = s1->Scheme->NextDriver())
        if (d->Name() == "A" || d->Name() == "B" || d->Name() == "Y") s1->Scheme->AddToSelection(d, true);
    s1->AddSignalsToDebugActionExecute(nullptr);
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "A=0\r\nB=0\r\nY=1\r\n");
    port.Clear();
    Button();
    EXPECT_TRUE(port.Calls.empty());
    ASSERT_TRUE(fmDebug->Visible());
    ASSERT_EQ(fmDebug->in_signal->Items()->Count(), 2);
    ASSERT_EQ(fmDebug->out_signal->Items()->Count(), 1);
    fmDebug->in_signal->SetChecked(0, true);
    fmDebug->in_signal->SetChecked(1, true);
    fmDebug->btStepClick(fmDebug->btStep);
    EXPECT_TRUE(fmDebug->out_signal->GetChecked(0));
    EXPECT_GE(fmDebug->CommentOut->Lines()->IndexOf("Лампа Y"_a), 0);
    // The drivers have the signal table's names.
    ASSERT_EQ(Emulator()->Drivers().size(), 3u);
    EXPECT_EQ(Emulator()->Drivers()[1].Name, "DI");
    EXPECT_EQ(Emulator()->Drivers()[2].Name, "DO");
}

} // namespace
