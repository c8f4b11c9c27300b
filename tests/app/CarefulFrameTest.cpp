// The frame as a careful desktop program: a project that cannot be written is
// never lost without asking, a file refused as a project changes nothing, a
// command that cannot do its work says so, and what the frame shows (caption,
// menus, hints, pane, dialogs, help) tells the user what can be done.
#include "app/AppTest.h"

#include <QAbstractScrollArea>
#include <QListWidget>

#include "app/ProjectDlg.h"
#include "common/Wait.h"
#include "controls/gui/MRUList.h"
#include "document/Project.h"
#include "editor/InsertElement.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/gui/Help.h"

namespace {

class Careful : public FrameTest {
protected:
    // A new start of the program; windowless: with no window factories.
    void Restart(const AnsiString& commandLine = AnsiString(), bool windowless = false) {
        TearDown();
        AppTest::SetUp();
        if (windowless) FrameWindowFactories() = TFrameWindowFactories();
        port.Clear();
        StartFrame(commandLine);
    }
    void OpenProject(const AnsiString& fileName) {
        port.AnswerFile(fileName);
        frame->OpenProjectActionExecute(frame->OpenProjectAction);
    }
};

// Exit, or closing the project, when the project cannot be written: Cancel
// keeps the program and the project with its unsaved insertion (to be saved
// under another name); Yes goes on and writes nothing.
TEST_F(Careful, AProjectThatCannotBeWrittenIsLostOnlyWhenTheUserSaysSo) {
    for (const auto& [exiting, answer] : {std::pair{true, mrCancel}, std::pair{true, mrYes},
                                          std::pair{false, mrCancel}, std::pair{false, mrYes}}) {
        SCOPED_TRACE(std::to_string(exiting) + " " + std::to_string(answer));
        if (!frame->Showing()) Restart();
        OpenProjectOf({"a.tvs"});
        port.AnswerFile(dir.File("b.tvs"));
        frame->InsertFileActionExecute(frame->InsertFileAction);
        // A folder in the project file's place: it cannot be replaced.
        std::filesystem::remove(dir.Path() / "p.tvp");
        std::filesystem::create_directories(dir.Path() / "p.tvp" / "keep");
        port.Clear();
        port.Answer(answer);
        if (exiting) frame->FileExit1Execute(frame->FileExit1);
        else frame->CloseProjectActionExecute(frame->CloseProjectAction);
        Application->ProcessMessages();
        EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{
                                       " Невозможно записать файл проекта "_a + dir.File("p.tvp"),
                                       exiting ? "Проект не сохранён. Выйти из программы без сохранения проекта?"_a
                                               : "Проект не сохранён. Закрыть проект без сохранения?"_a}));
        EXPECT_EQ(port.Last().buttons, MsgButtons({mbYes, mbCancel}));
        EXPECT_EQ(frame->Showing(), answer == mrCancel || !exiting);
        EXPECT_EQ(frame->CurrentProject != nullptr, answer == mrCancel);
        if (answer == mrCancel) {
            EXPECT_EQ(frame->FileListBox->Items()->Count(), 2);
            frame->CurrentProject->SetFileName(dir.File("elsewhere.tvp"));
            frame->CloseProjectActionExecute(frame->CloseProjectAction);
            TProject saved(nullptr);
            saved.SetFileName(dir.File("elsewhere.tvp"));
            ASSERT_TRUE(saved.Load());
            EXPECT_EQ(saved.GetFileCount(), 2);
        }
        std::filesystem::remove_all(dir.Path() / "p.tvp");
    }
}

// A file that is not a project, from the open dialog or the recent list,
// changes neither the open project nor the recent list; from the command
// line it opens no project and no pane.
TEST_F(Careful, AFileRefusedAsAProjectChangesNothing) {
    testenv::WriteBytes(dir.Path() / "notes.tvp", "just some notes\r\n");
    const AnsiString refused = "Файл "_a + dir.File("notes.tvp") + " не является файлом проекта"_a;
    OpenProjectOf({"a.tvs", "b.tvs"});
    TProject* open = frame->CurrentProject.get();
    const AnsiString caption = frame->Caption();
    port.Clear();
    OpenProject(dir.File("notes.tvp"));
    frame->MRUManClick(frame->MRUMan, dir.File("notes.tvp"), "", 0);
    Idle();
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{refused, refused}));
    EXPECT_EQ(frame->CurrentProject.get(), open);
    EXPECT_EQ(frame->MRUMan->Strings()->Count(), 1);
    EXPECT_EQ(frame->FileListBox->Items()->Count(), 2);
    EXPECT_EQ(frame->Caption(), caption);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "notes.tvp"), "just some notes\r\n");
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    Restart(dir.File("notes.tvp"));
    Idle();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{refused});
    EXPECT_EQ(frame->CurrentProject, nullptr);
    EXPECT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_FALSE(frame->DeleteFileAction->Enabled());
}

// Opening the project that is open, from the open dialog or the recent list,
// closes it first (saving what was changed since it was opened) and then reads
// it: the scheme added and the properties set are there, in the project and
// in its file.
TEST_F(Careful, ReopeningTheOpenProjectKeepsWhatWasChangedInIt) {
    for (bool recent : {false, true}) {
        SCOPED_TRACE(recent);
        OpenProjectOf({"a.tvs"});
        port.AnswerFile(dir.File("b.tvs"));
        frame->InsertFileActionExecute(frame->InsertFileAction);
        const AnsiString name = recent ? "Насос"_a : "Ворота"_a;
        frame->CurrentProject->ProjectName = name;
        frame->CurrentProject->Iterations = 7;
        frame->CurrentProject->Convert = 1;
        if (recent) frame->MRUManClick(frame->MRUMan, dir.File("p.tvp"), "", 0);
        else OpenProject(dir.File("p.tvp"));
        EXPECT_TRUE(port.Messages().empty());
        ASSERT_NE(frame->CurrentProject, nullptr);
        EXPECT_EQ(frame->CurrentProject->GetFileCount(), 2);
        EXPECT_EQ(frame->CurrentProject->ProjectName, name);
        EXPECT_EQ(frame->CurrentProject->Iterations, 7);
        EXPECT_EQ(frame->CurrentProject->Convert, 1);
        EXPECT_EQ(frame->FileListBox->Items()->Count(), 2);
        frame->CloseProjectActionExecute(frame->CloseProjectAction);
        TProject saved(nullptr);
        saved.SetFileName(dir.File("p.tvp"));
        ASSERT_TRUE(saved.Load());
        EXPECT_EQ(saved.GetFileCount(), 2);
        EXPECT_EQ(saved.ProjectName, name);
        EXPECT_EQ(saved.Iterations, 7);
    }
}

// A damaged project is reported once when it is opened, whether it replaces
// another project or itself.
TEST_F(Careful, ADamagedProjectIsReportedOnceWhenOpened) {
    WriteProject(dir.File("d.tvp"), {"a.tvs", "b.tvs"});
    const std::string sound = testenv::ReadBytes(dir.Path() / "d.tvp");
    const std::size_t at = sound.find("Iterations=");
    ASSERT_NE(at, std::string::npos);
    testenv::WriteBytes(dir.Path() / "d.tvp", sound.substr(0, at) + "Iterations=many" +
                                                  sound.substr(sound.find('\r', at)));
    const AnsiString damaged = "Файл проекта "_a + dir.File("d.tvp") + " повреждён: загружена только его исправная часть"_a;
    OpenProjectOf({"a.tvs"});
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        port.Clear();
        OpenProject(dir.File("d.tvp"));
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{damaged});
        ASSERT_NE(frame->CurrentProject, nullptr);
        EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("d.tvp"));
        EXPECT_EQ(frame->CurrentProject->GetFileCount(), 2);
    }
}

// A frame with no window of a kind registered says, on every way of opening
// such a file, that it was not opened, and why.
TEST_F(Careful, ACommandThatCannotOpenItsWindowSaysSo) {
    FrameWindowFactories() = TFrameWindowFactories();
    const AnsiString scheme = "Файл "_a + dir.File("a.tvs") + " не открыт: окна схем в этой версии программы нет."_a;
    OpenProjectOf({"a.tvs"});
    port.AnswerFile(dir.File("a.tvs"));
    frame->FileNew1Execute(frame->FileNew1);
    port.AnswerFile(dir.File("m.fsm"));
    frame->FileOpen1Execute(frame->FileOpen1);
    frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(0));
    frame->FileListBoxDblClick(frame->FileListBox);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{scheme, "Файл "_a + dir.File("m.fsm") +
                                                                   " не открыт: окна конечных автоматов в этой версии программы нет."_a,
                                                        scheme}));
    EXPECT_EQ(port.Last().buttons, mbOKOnly);
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    // A new frame registers the scheme window: the command line opens it.
    Restart(dir.File("a.tvs"), true);
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_NE(dynamic_cast<ISchemeChild*>(frame->ActiveMDIChild()), nullptr);
}

// With a project open, the file dialogs start in its folder.
TEST_F(Careful, FileDialogsStartInTheProjectsFolder) {
    std::filesystem::create_directories(dir.Path() / "plant");
    WriteProject(dir.File("plant/p.tvp"), {});
    frame->OpenDialog->FileName = "/elsewhere/old.tvs";
    OpenProject(dir.File("plant/p.tvp"));
    std::vector<std::pair<AnsiString, AnsiString>> seen; // initial folder, proposed name
    port.OnFileDialog = [&](FileDialogRequest& r) {
        seen.push_back({r.InitialDir, r.FileName});
        return false;
    };
    frame->FileOpen1Execute(frame->FileOpen1);
    frame->InsertFileActionExecute(frame->InsertFileAction);
    frame->OpenProjectActionExecute(frame->OpenProjectAction);
    const AnsiString folder = IncludeTrailingPathDelimiter(dir.File("plant"));
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [initial, name] : seen) EXPECT_EQ(initial, folder);
    EXPECT_EQ(seen[0].second, AnsiString("old.tvs"));
}

// The caption names the open project; hidden items stay hidden; an item with
// its own caption shows its action's hint; buttons take their hints from the
// actions without "&", and keep them; window commands need a child window.
TEST_F(Careful, CaptionMenusHintsAndWindowCommandsShowWhatCanBeDone) {
    const AnsiString title = "Графический редактор контроллера автоматики"_a;
    OpenProjectOf({});
    EXPECT_EQ(frame->Caption(), title + " - Project1");
    frame->CloseProjectActionExecute(frame->CloseProjectAction);
    EXPECT_EQ(frame->Caption(), title);

    auto item = [](TMenuItem* menu, const char* caption) -> TMenuItem* {
        for (int i = 0; i < menu->Count(); ++i)
            if (menu->Items(i)->Caption() == Utf8ToAnsi(caption)) return menu->Items(i);
        return nullptr;
    };
    TMenuItem* edit = item(frame->MainMenu1->Items(), "&Редактировать");
    for (const char* hidden : {"Вернуть", "Отобразить верт."}) EXPECT_FALSE(item(edit, hidden)->Visible()) << hidden;
    TMenuItem* f8 = item(item(item(frame->MainMenu1->Items(), "&Проект"), "Трансляция"), "Транслировать активную схему");
    ASSERT_NE(f8, nullptr);
    EXPECT_EQ(f8->Hint(), "Транслировать активную схему для отладки"_a);

    const std::pair<const char*, const char*> hints[] = {
        {"Button1", "Новый"}, {"Button9", "Вставить"}, {"PaneDelete", "Удалить файл"}, {"PaneUp", "Переместить схему вверх"}};
    for (int round = 0; round < 2; ++round) {
        for (const auto& [name, hint] : hints) EXPECT_EQ(static_cast<TControl*>(frame->FindComponent(name))->Hint(), Utf8ToAnsi(hint));
        frame->FileNew1->SetEnabled(false);
        frame->FileNew1->SetEnabled(true);
    }
    Idle();
    EXPECT_FALSE(frame->WindowCascade1->Enabled());
    OpenScheme(dir.File("a.tvs"));
    Idle();
    EXPECT_TRUE(frame->WindowCascade1->Enabled());
}

// Texts are whole: the project dialog widens for its check box, the pane
// for its buttons; the paths fill the pane, which grows with the frame.
TEST_F(Careful, TextsAreWholeAndThePaneUsesItsSpace) {
    TCheckBox* convert = ProjectDlg->ConvertCheck;
    EXPECT_GE(convert->Width(), convert->Widget()->sizeHint().width());
    EXPECT_LE(convert->Left() + convert->Width(), ProjectDlg->ClientWidth());
    EXPECT_EQ(ProjectDlg->ClientWidth() - ProjectDlg->CancelBtn->Left(), 420 - 337);

    OpenProjectOf({"pump_main_control.tvs", "valve_group_north.tvs"});
    Application->ProcessMessages();
    TControl* last = static_cast<TControl*>(frame->FindComponent("PaneDown"));
    EXPECT_LE(last->Left() + last->Width(), frame->ManagerToolbar->ClientWidth());
    TListView* files = frame->FileListBox;
    const int viewport = static_cast<QAbstractScrollArea*>(files->Widget())->viewport()->width();
    EXPECT_EQ(files->Columns()->Items(0)->Width() + files->Columns()->Items(1)->Width(), viewport);
    const int before = frame->ManagerWindow->Height(), frameBefore = frame->ClientHeight();
    const int list = files->Height(), client = frame->ManagerWindow->ClientHeight();
    frame->SetBounds(frame->Left(), frame->Top(), frame->Width(), frame->Height() + 150);
    ASSERT_TRUE(ProcessUntil([&] { return frame->ClientHeight() > frameBefore; }));
    EXPECT_EQ(frame->ManagerWindow->Height(), before + frame->ClientHeight() - frameBefore);
    EXPECT_EQ(files->Height() - list, frame->ManagerWindow->ClientHeight() - client) << "the file list takes the growth";
}

// The help file beside the program holds the topics the program opens, and
// every link in it leads to a topic.
TEST_F(Careful, TheShippedHelpOpensAtItsTopics) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(HelpFilePath("Ge.hlp"), bytes));
    const std::vector<THelpTopic> topics = ParseHelpTopics(bytes);
    std::vector<AnsiString> names;
    for (const THelpTopic& t : topics) names.push_back(t.Name);
    for (const char* needed : {"Context", "Формулы", "Отладка с комментариями к сигналам"})
        EXPECT_NE(std::find(names.begin(), names.end(), Utf8ToAnsi(needed)), names.end()) << needed;
    for (const THelpTopic& t : topics)
        for (std::size_t at = t.Html.find("href=\"#"); at != std::string::npos; at = t.Html.find("href=\"#", at + 1)) {
            const AnsiString target = Utf8ToAnsi(t.Html.substr(at + 7, t.Html.find('"', at + 7) - at - 7));
            EXPECT_NE(std::find(names.begin(), names.end(), target), names.end()) << target.c_str();
        }
    // A contents entry reads as the heading of the topic it opens.
    const std::string& contents = topics.front().Html;
    for (std::size_t at = contents.find("<a href=\"#"); at != std::string::npos; at = contents.find("<a href=\"#", at + 1)) {
        const std::size_t text = contents.find("\">", at) + 2;
        const AnsiString target = Utf8ToAnsi(contents.substr(at + 10, text - 2 - at - 10));
        const AnsiString entry = Utf8ToAnsi(contents.substr(text, contents.find("</a>", text) - text));
        const auto topic = std::find(names.begin(), names.end(), target);
        ASSERT_NE(topic, names.end()) << target.c_str();
        EXPECT_EQ(entry, topics[std::size_t(topic - names.begin())].Title) << AnsiToUtf8(entry);
    }
    ASSERT_TRUE(THelpWindow::Show("Ge.hlp", "Context"));
    EXPECT_EQ(THelpWindow::Instance()->CurrentTopic(), AnsiString("Context"));
    // The contents list shows every title whole.
    auto* list = THelpWindow::Instance()->Widget()->findChild<QListWidget*>();
    ASSERT_TRUE(testenv::WaitFor([list] { return list->isVisible(); }));
    EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
    THelpWindow::CloseWindow();
}

// The help's list of element kinds is the element dialog's list: every
// kind it offers, by the name it shows and in its order, and nothing else.
TEST_F(Careful, TheHelpListsTheKindsTheElementDialogOffers) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(HelpFilePath("Ge.hlp"), bytes));
    std::string schemes;
    for (const THelpTopic& t : ParseHelpTopics(bytes))
        if (t.Name == AnsiString("Schemes")) schemes = t.Html;
    const std::string lead = "предлагает элементы";
    const std::size_t from = schemes.find(lead);
    ASSERT_NE(from, std::string::npos);
    const std::string list = schemes.substr(from, schemes.find("</p>", from) - from);
    std::vector<std::string> named;
    const std::string open = "«", close = "»";
    for (std::size_t at = list.find(open); at != std::string::npos; at = list.find(open, at + 1)) {
        const std::size_t end = list.find(close, at);
        ASSERT_NE(end, std::string::npos);
        std::string name;
        // The text is wrapped: a line break inside a name reads as a blank.
        for (char c : list.substr(at + open.size(), end - at - open.size()))
            if (c != '\n') name += c;
            else if (name.empty() || name.back() != ' ') name += ' ';
        named.push_back(name);
    }
    std::vector<std::string> offered;
    for (int i = 0; i < TInsertElementForm::KindCount; ++i) offered.push_back(TInsertElementForm::KindAt(i).Entry);
    EXPECT_EQ(named, offered);
}

} // namespace
