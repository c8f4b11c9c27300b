// The project dialog, the about box, the statistics, the signal table
// command, help, and the commands' refusals with their exact texts.
#include "app/AppTest.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <QFileDialog>
#include <QLineEdit>

#include "app/About.h"
#include "app/ProjectDlg.h"
#include "app/Stat.h"
#include "app/Version.h"
#include "controls/gui/MRUList.h"
#include "document/Project.h"
#include "editor/PinDriver.h"
#include "editor/ShowExport.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "translator/TranslatorHost.h"

namespace {

class Dialogs : public FrameTest {
protected:
    // Runs the new-project command with the dialog filled by fill, then
    // "Да"; a refused "Да" leaves by Cancel.
    void NewProject(std::function<void()> fill) {
        ModalScript script;
        script.On(ProjectDlg, [fill] {
            fill();
            ProjectDlg->ModalResult = ProjectDlg->OKBtn->ModalResult;
            ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
            if (ProjectDlg->ModalResult == mrNone) ProjectDlg->ModalResult = mrCancel;
        });
        frame->NewProjectActionExecute(frame->NewProjectAction);
        EXPECT_FALSE(script.stuck);
    }
};

TEST_F(Dialogs, NewProjectTakesTheDialogsFieldsAndShowsThePane) {
    NewProject([this] {
        EXPECT_EQ(ProjectDlg->Caption(), "Новый проект"_a);
        EXPECT_EQ(ProjectDlg->NameEdit->Text(), AnsiString("Project1"));
        EXPECT_EQ(ProjectDlg->IterEdit->AsInteger(), 1);
        ProjectDlg->FileEdit->SetText(dir.File("line.tvp"));
        ProjectDlg->NameEdit->SetText("Линия"_a);
        ProjectDlg->IterEdit->SetValue(4);
        ProjectDlg->ConvertCheck->SetChecked(true);
    });
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("line.tvp"));
    EXPECT_EQ(frame->CurrentProject->ProjectName, "Линия"_a);
    EXPECT_EQ(frame->CurrentProject->Iterations, 4);
    EXPECT_NE(frame->CurrentProject->Convert, 0);
    EXPECT_TRUE(frame->ManagerWindow->Visible());
    // On disk at once, and among the recent projects, stored at once too: a
    // program killed now leaves the project to reopen.
    TProject written(nullptr);
    written.SetFileName(dir.File("line.tvp"));
    ASSERT_TRUE(written.Load());
    EXPECT_EQ(written.ProjectName, "Линия"_a);
    EXPECT_EQ(written.Iterations, 4);
    EXPECT_EQ(frame->MRUMan->Strings()->Count(), 1);
    EXPECT_EQ((*frame->MRUMan->Strings())[0], dir.File("line.tvp"));
    EXPECT_TRUE(frame->ReopenProject->Enabled());
    const std::string stored = testenv::ReadBytes(ToFsPath(SettingsFilePath("registry.ini")));
    EXPECT_NE(stored.find(dir.File("line.tvp").c_str()), std::string::npos);
}

// A project made from a bare name is one file, named in full: among the
// recent projects once, also after it is opened through the dialog, and
// reopened from there by a program that runs in another folder.
TEST_F(Dialogs, ANewProjectFromABareNameIsKeptUnderItsFullPath) {
    const AnsiString full = GetCurrentDir() + "/pk.tvp";
    NewProject([] { ProjectDlg->FileEdit->SetText("pk"); });
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), full);
    port.AnswerFile("./pk.tvp");
    frame->OpenProjectActionExecute(frame->OpenProjectAction);
    ASSERT_EQ(frame->MRUMan->Strings()->Count(), 1);
    EXPECT_EQ((*frame->MRUMan->Strings())[0], full);
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    ASSERT_TRUE(SetCurrentDir(FromFsPath(dir.Path())));
    frame->MRUMan->ItemClicked(0, AnsiString());
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), full);
    EXPECT_TRUE(port.Messages().empty());
}

// The file chooser of the project dialog asks before it names a file that
// exists; agreed there, "Да" of the dialog does not ask again.
TEST_F(Dialogs, AProjectFileChosenOverAnotherIsAskedAboutOnce) {
    testenv::WriteBytes(dir.Path() / "old.tvp", "keep");
    const AnsiString question = "Файл "_a + dir.File("old.tvp") + " уже существует. Заменить его?"_a;
    port.AnswerFile(dir.File("old.tvp"));
    port.Answer(mrNo);
    port.AnswerFile(""); // then Cancel
    port.AnswerFile(dir.File("old.tvp"));
    port.Answer(mrYes);
    NewProject([this] {
        const AnsiString before = ProjectDlg->FileEdit->Text();
        ProjectDlg->BrowseBtnClick(ProjectDlg->BrowseBtn);
        EXPECT_EQ(ProjectDlg->FileEdit->Text(), before) << "Нет: nothing chosen";
        ProjectDlg->BrowseBtnClick(ProjectDlg->BrowseBtn);
    });
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{question, question}));
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_NE(testenv::ReadBytes(dir.Path() / "old.tvp"), "keep");
}

TEST_F(Dialogs, TheProjectDialogRefusesAndStaysOpen) {
    testenv::WriteBytes(dir.Path() / "old.tvp", "keep");
    port.Answer(mrNo);
    NewProject([this] {
        ProjectDlg->FileEdit->SetText("");
        ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
        EXPECT_EQ(ProjectDlg->ModalResult, mrNone);
        ProjectDlg->FileEdit->SetText(dir.File("p.tvp"));
        for (const char* bad : {"0", "33", "x"}) {
            ProjectDlg->IterEdit->SetText(bad);
            ProjectDlg->ModalResult = mrOk;
            ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
            EXPECT_EQ(ProjectDlg->ModalResult, mrNone) << bad;
        }
        ProjectDlg->IterEdit->SetText("32");
        ProjectDlg->FileEdit->SetText(dir.File("old.tvp"));
    });
    EXPECT_EQ(frame->CurrentProject, nullptr) << "No to replacing the file, then cancelled";
    const std::vector<AnsiString> expected = {
        "Не задано имя файла проекта"_a, "Число итераций должно быть от 1 до 32"_a,
        "Число итераций должно быть от 1 до 32"_a, "Число итераций должно быть от 1 до 32"_a,
        "Файл "_a + dir.File("old.tvp") + " уже существует. Заменить его?"_a};
    EXPECT_EQ(port.Messages(), expected);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "old.tvp"), "keep");
}

TEST_F(Dialogs, AProjectFileHasTheProjectExtension) {
    NewProject([this] {
        // Another kind's extension is refused: the file would open as that kind.
        for (const char* other : {"m5.fsm", "m5.tvs", "m5.sch", "m5.tvy", "m5.tvt", "m5.tvc"}) {
            ProjectDlg->FileEdit->SetText(dir.File(other));
            ProjectDlg->ModalResult = mrOk;
            ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
            EXPECT_EQ(ProjectDlg->ModalResult, mrNone) << other;
        }
        // A name without it is given it.
        ProjectDlg->FileEdit->SetText(dir.File("m5"));
    });
    const std::vector<AnsiString> expected = {
        "Файл проекта не может иметь расширение .fsm"_a, "Файл проекта не может иметь расширение .tvs"_a,
        "Файл проекта не может иметь расширение .sch"_a, "Файл проекта не может иметь расширение .tvy"_a,
        "Файл проекта не может иметь расширение .tvt"_a, "Файл проекта не может иметь расширение .tvc"_a};
    EXPECT_EQ(port.Messages(), expected);
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("m5.tvp"));
    frame->SaveProjectActionExecute(frame->SaveProjectAction);
    EXPECT_TRUE(FileExists(dir.File("m5.tvp")));
    EXPECT_FALSE(FileExists(dir.File("m5.fsm")));
    // In the properties a name with a point but no extension of the program's gets it too.
    ModalScript script;
    script.On(ProjectDlg, [this] {
        ProjectDlg->FileEdit->SetText(dir.File("m5.v2"));
        ProjectDlg->ModalResult = mrOk;
        ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
    });
    frame->OptionProjectActionExecute(frame->OptionProjectAction);
    EXPECT_FALSE(script.stuck);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("m5.v2.tvp"));
}

// The toolkit's own file chooser over the project dialog: Enter typed in it
// chooses the file and nothing else; the project dialog stays open.
TEST_F(Dialogs, EnterInTheProjectFileChooserGoesToTheChooserOnly) {
    struct RealPort {
        IUserInterfacePort* scripted = SetUiPort(QtUiPortInstance());
        ~RealPort() { SetUiPort(scripted); }
    } realPort;
    const AnsiString chosen = dir.File("line.tvp");
    bool typed = false;
    bool chooserStayed = false;
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || typed) return;
        chooser.stop();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        // The user types where the focus is, once the chooser has it.
        EXPECT_TRUE(ProcessUntil([&] { return QApplication::focusWidget() == name; }));
        name->setText(QString::fromUtf8(AnsiToUtf8(chosen).c_str()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        typed = true;
        chooserStayed = !ProcessUntil([&] { return !dialog->isVisible(); });
        if (chooserStayed) dialog->reject();
    });
    chooser.start(20);
    int resultAfterChoosing = -1;
    AnsiString fileAfterChoosing;
    ModalScript script;
    script.On(ProjectDlg, [&] {
        // The user clicks "..." in the project dialog once it is the active window.
        EXPECT_TRUE(ProcessUntil([] { return QApplication::activeWindow() == ProjectDlg->Widget(); }));
        ProjectDlg->BrowseBtn->Click();
        resultAfterChoosing = ProjectDlg->ModalResult;
        fileAfterChoosing = ProjectDlg->FileEdit->Text();
        ProjectDlg->ModalResult = mrCancel;
    });
    frame->NewProjectActionExecute(frame->NewProjectAction);
    EXPECT_TRUE(typed);
    EXPECT_FALSE(chooserStayed) << "Enter closed the chooser";
    EXPECT_EQ(resultAfterChoosing, mrNone) << "the project dialog is still open";
    EXPECT_EQ(AnsiToUtf8(fileAfterChoosing), AnsiToUtf8(chosen));
    EXPECT_EQ(frame->CurrentProject, nullptr);
}

TEST_F(Dialogs, ProjectPropertiesApplyToTheOpenProjectAndCancelChangesNothing) {
    OpenProjectOf({"a.tvs", "b.tvs"});
    TProject* p = frame->CurrentProject.get();
    {
        ModalScript script;
        script.On(ProjectDlg, [] {
            EXPECT_EQ(ProjectDlg->Caption(), "Свойства проекта"_a);
            EXPECT_EQ(ProjectDlg->FileCount(), 2);
            ProjectDlg->NameEdit->SetText("changed");
            ProjectDlg->FileList->SetItemIndex(0);
            ProjectDlg->DeleteBtnClick(ProjectDlg->DeleteBtn);
            ProjectDlg->ModalResult = mrCancel;
        });
        frame->OptionProjectActionExecute(frame->OptionProjectAction);
    }
    EXPECT_EQ(p->GetFileCount(), 2);
    EXPECT_NE(p->ProjectName, AnsiString("changed"));
    {
        ModalScript script;
        script.On(ProjectDlg, [this] {
            ProjectDlg->FileList->SetItemIndex(1);
            ProjectDlg->UpBtnClick(ProjectDlg->UpBtn);
            // A file with a bare name the project holds already is refused.
            port.AnswerFile(dir.File("other/a.tvs"));
            ProjectDlg->AddBtnClick(ProjectDlg->AddBtn);
            port.AnswerFile(dir.File("c.tvs"));
            ProjectDlg->AddBtnClick(ProjectDlg->AddBtn);
            ProjectDlg->IterEdit->SetValue(8);
            ProjectDlg->ModalResult = mrOk;
            ProjectDlg->OKBtnClick(ProjectDlg->OKBtn);
        });
        frame->OptionProjectActionExecute(frame->OptionProjectAction);
    }
    EXPECT_EQ(port.Messages().back(), "В проекте уже есть файл a.tvs"_a);
    ASSERT_EQ(p->GetFileCount(), 3);
    EXPECT_EQ(p->GetFile(0), dir.File("b.tvs"));
    EXPECT_EQ(p->GetFile(2), dir.File("c.tvs"));
    EXPECT_EQ(p->Iterations, 8);
    EXPECT_FALSE(p->Modified) << "written at once";
    TProject written(nullptr);
    written.SetFileName(p->GetFileName());
    ASSERT_TRUE(written.Load());
    EXPECT_EQ(written.GetFileCount(), 3);
    EXPECT_EQ(written.Iterations, 8);
    EXPECT_EQ(frame->FileListBox->Items()->Item(0)->Caption(), AnsiString("b.tvs"));
}

// Made for each showing; as wide as its longest line; the one version of
// the program; no contact lines it could only invent.
TEST_F(Dialogs, TheAboutBoxIsMadeForEachShowingAndCutsNoLine) {
    std::vector<TAboutBox*> seen;
    Application->OnModalStart = [&](TForm* f) {
        auto* about = dynamic_cast<TAboutBox*>(f);
        ASSERT_NE(about, nullptr);
        seen.push_back(about);
        EXPECT_EQ(about->Version->Caption(), VersionText());
        for (int i = 0; i < about->Panel1->ControlCount(); ++i) {
            TControl* c = about->Panel1->Controls(i);
            EXPECT_LE(c->Left() + c->Width(), about->Panel1->ClientWidth()) << c->Name().c_str();
            EXPECT_EQ(c->Caption().Pos("@") + c->Caption().Pos("www."), 0) << c->Name().c_str();
        }
        QTimer::singleShot(0, [about] { about->ModalResult = mrOk; });
    };
    frame->HelpAbout1Execute(frame->HelpAbout1);
    frame->HelpAbout1Execute(frame->HelpAbout1);
    Application->OnModalStart = nullptr;
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(port.Messages().empty()) << "without readme.txt the memo just stays empty";
}

// Notes that are there but cannot be read are reported as a fault of the
// program; the box opens all the same, its memo empty.
TEST_F(Dialogs, TheAboutBoxOpensWithAnEmptyMemoWhenTheNotesCannotBeRead) {
    // A socket: a name that exists and is no folder, and that no one can open.
    const int unreadable = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(unreadable, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "readme.txt");
    ASSERT_EQ(bind(unreadable, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int shown = 0;
    int memoLines = -1;
    Application->OnModalStart = [&](TForm* f) {
        auto* about = dynamic_cast<TAboutBox*>(f);
        ASSERT_NE(about, nullptr);
        ++shown;
        memoLines = about->Memo1->Lines()->Count();
        QTimer::singleShot(0, [about] { about->ModalResult = mrOk; });
    };
    frame->HelpAbout1Execute(frame->HelpAbout1);
    Application->OnModalStart = nullptr;
    close(unreadable);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(memoLines, 0);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Ошибка в программе!\nCannot open file \"readme.txt\""_a});
}

TEST_F(Dialogs, StatisticsShowTheCountersOfTheOpenProject) {
    frame->N72Click(frame->N72);
    EXPECT_TRUE(port.Calls.empty()) << "without a project nothing happens";
    OpenProjectOf({});
    for (int i = 0; i < 9; ++i) frame->CurrentProject->Statistics[i] = 10 + i;
    fmStat->Project = nullptr;
    ModalScript script;
    script.On(fmStat, [] {
        const char* rows[] = {" Количество входных сигналов", " Количество выходных сигналов ",
                              " Количество переходных сигналов ", " Количество временных сигналов  ",
                              " Количество элементов           ", " Количество таймеров  "};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(fmStat->StringGrid1->Cells(0, i), Utf8ToAnsi(rows[i]));
            EXPECT_EQ(fmStat->StringGrid1->Cells(1, i), IntToStr(10 + i));
        }
        EXPECT_EQ(fmStat->Caption(), "Статистика проекта"_a);
        fmStat->BitBtn1->Click();
    });
    frame->N72Click(frame->N72);
    EXPECT_EQ(fmStat->Project, frame->CurrentProject.get());
    EXPECT_EQ(script.shown[fmStat], 1);
}

TEST_F(Dialogs, TheSignalTableCommandMarksOnlyAnOpenProject) {
    // Without a project: the dialog, and nothing to mark.
    ModalScript none;
    none.On(PinDriverDlg, [] { PinDriverDlg->ModalResult = mrCancel; });
    frame->TypeActionExecute(frame->TypeAction);
    EXPECT_EQ(none.shown[PinDriverDlg], 1);
    OpenProjectOf({});
    ASSERT_FALSE(frame->CurrentProject->Modified);
    ModalScript script;
    script.On(PinDriverDlg, [] { PinDriverDlg->CancelBtn->Click(); });
    frame->TypeActionExecute(frame->TypeAction);
    EXPECT_TRUE(frame->CurrentProject->Modified) << "even when the dialog is cancelled";
}

TEST_F(Dialogs, RefusalsOfTheTranslationCommandsWithTheirTexts) {
    frame->ExportActionExecute(frame->ExportAction);
    frame->ExportCase(nullptr, nullptr);
    OpenFsm(dir.File("m.fsm"));
    frame->ExportSchemeActionExecute(frame->ExportSchemeAction);
    OpenScheme(dir.File("s.tvs"));
    frame->ExportCase(frame->ActiveMDIChild(), nullptr);
    const std::vector<AnsiString> expected = {
        "Нет открытого проекта\nТрансляция только проекта!!"_a,
        " Нет активной схемы \n F8 - трансляция только активной схемы !\n Трансляция проекта - Ctrl+F9"_a,
        " Нет активной схемы \n F8 - трансляция только активной схемы !\n Трансляция проекта - Ctrl+F9"_a,
        "Нет открытого проекта"_a};
    EXPECT_EQ(port.Messages(), expected);
    for (const auto& c : port.Calls) {
        EXPECT_EQ(c.type, mtWarning);
        EXPECT_EQ(c.buttons, mbYesOnly);
    }
    EXPECT_TRUE(frame->Enabled());
}

TEST_F(Dialogs, HelpTheLogAndTheWorkFileViewer) {
    frame->HelpContenstActionExecute(frame->HelpContenstAction);
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kHelp);
    EXPECT_EQ(port.Calls[0].text, AnsiString("Context"));
    OpenProjectOf({});
    frame->ShowErrorActionExecute(frame->ShowErrorAction);
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kViewTextFile);
    EXPECT_EQ(port.Calls[0].text, dir.File("err.log"));
    // Ctrl+E shows the viewer modeless over the open project's folder.
    testenv::WriteBytes(dir.Path() / "1.$$$", "types\r\n");
    testenv::WriteBytes(std::filesystem::current_path() / "1.$$$", "elsewhere\r\n");
    frame->ShowFileExportActionExecute(frame->ShowFileExportAction);
    EXPECT_TRUE(ShowExportDlg->Showing());
    ShowExportDlg->FormActivate(ShowExportDlg);
    EXPECT_EQ(ShowExportDlg->Memo1->Lines()->Text(), AnsiString("types\r\n"));
    ShowExportDlg->Close();
    // Without a project: the translator's folder (before any run, the one
    // the program started in).
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    ShowExportDlg->FormActivate(ShowExportDlg);
    EXPECT_EQ(ShowExportDlg->Memo1->Lines()->Text(), AnsiString("elsewhere\r\n"));
    std::filesystem::remove(std::filesystem::current_path() / "1.$$$");
}

// Menu items with a caption or a visibility of their own keep it while
// their action changes; the recent-projects item waits for entries.
TEST_F(Dialogs, MenuItemsKeepTheirOwnCaptionAndVisibility) {
    TMenuItem* menu = frame->MainMenu1->Items();
    EXPECT_EQ(menu->Items(4)->Items(0)->Caption(), "Сигналы от станка"_a);
    EXPECT_FALSE(menu->Items(5)->Visible());
    EXPECT_FALSE(frame->ReopenProject->Enabled()) << "until the recent list has entries";
    frame->UndoAction->SetEnabled(true);
    frame->TypeAction->SetEnabled(false);
    frame->TypeAction->SetEnabled(true);
    EXPECT_EQ(menu->Items(4)->Items(0)->Caption(), "Сигналы от станка"_a);
    EXPECT_TRUE(menu->Items(4)->Items(0)->Enabled());
    EXPECT_FALSE(menu->Items(2)->Items(0)->Visible()) << "the undo item stays hidden";
    EXPECT_TRUE(menu->Items(2)->Items(0)->Enabled());
}

} // namespace
