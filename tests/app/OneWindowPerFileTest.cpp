// One window per file: every way of opening a scheme finds the window that
// shows the file already, however the file's path is written, and brings it
// to the front with its unsaved edits; a second window would let one
// window's save undo the other's edits.
#include "app/AppTest.h"

#include <filesystem>
#include <functional>

#include "editor/Case.h"
#include "editor/ChildWin.h"
#include "editor/FindSign.h"
#include "editor/SymbolDlg.h"
#include "editor/Unit10.h"
#include "model/Symbol.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "translator/SchemeBuild.h"

namespace {

class OneWindowPerFile : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        WriteScheme(dir.File("b.tvs"), {"E2"});
        WriteScheme(dir.File("part.tvy"), {"P1"});
        // a.tvs uses the signal X1, so that the search lists it.
        TScheme a;
        trtest::Place(a, a.CreateAndElement(), "E1", 100, 100, 1);
        trtest::LooseDriver(a, "X1", 300, 300);
        a.SetFileName(dir.File("a.tvs"));
        ASSERT_TRUE(a.SaveToFile());
    }
    TMDIChild* Active() { return dynamic_cast<TMDIChild*>(frame->ActiveMDIChild()); }
    TMDIChild* OpenByCommand(const AnsiString& file) {
        port.AnswerFile(file);
        frame->FileOpen1Execute(frame->FileOpen1);
        Application->ProcessMessages();
        return Active();
    }
    void Front(TForm* w) {
        w->BringToFront();
        Application->ProcessMessages();
    }
    // An unsaved edit through the frame's commands: the window's first
    // device deleted; the device is returned.
    TElement* DeleteFirstDevice(TMDIChild* w) {
        Front(w);
        TElement* device = w->Scheme->FirstDevice();
        w->Scheme->AddToSelection(device, true);
        frame->DeleteAction->Execute();
        EXPECT_TRUE(w->Scheme->IsModified());
        return device;
    }
    // The path of the file relative to the current folder.
    AnsiString Relative(const char* name) const {
        const auto rel = std::filesystem::relative(dir.Path() / name, std::filesystem::current_path());
        return FromFsPath(rel);
    }
};

TEST_F(OneWindowPerFile, EveryWayOfOpeningAnOpenSchemeBringsItsWindowToTheFront) {
    StartFrame();
    ASSERT_TRUE(CreateDir(dir.File("sub")));
    ASSERT_TRUE(CreateDir(dir.File("elsewhere")));
    WriteScheme(dir.File("elsewhere/a.tvs"), {"E9"});
    std::filesystem::create_symlink(dir.Path() / "a.tvs", dir.Path() / "link.tvs");
    OpenProjectOf({dir.File("a.tvs"), dir.File("b.tvs")});
    TMDIChild* a = OpenByCommand(dir.File("a.tvs"));
    TMDIChild* part = OpenByCommand(dir.File("part.tvy"));
    // Not the project's a.tvs, though of the same bare name.
    port.Answer(mrNo); // not into the project
    TMDIChild* stranger = OpenByCommand(dir.File("elsewhere/a.tvs"));
    TMDIChild* b = OpenByCommand(dir.File("b.tvs"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(part, nullptr);
    ASSERT_NE(stranger, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(Children().size(), 4u);
    TElement* e1 = DeleteFirstDevice(a);
    DeleteFirstDevice(part);
    // b.tvs holds the symbol made of part.tvy, named as stored: bare.
    TSymbol* symbol = b->Scheme->CreateSymbol();
    symbol->LoadSymbolFile("part.tvy");
    struct Case {
        const char* way;
        std::function<void()> open;
        TMDIChild* shown;
    };
    const Case cases[] = {
        {"Открыть, through ..", [&] { OpenByCommand(dir.File("sub/../a.tvs")); }, a},
        {"Открыть, relative", [&] { OpenByCommand(Relative("a.tvs")); }, a},
        {"Открыть, through a link", [&] { OpenByCommand(dir.File("link.tvs")); }, a},
        {"Создать on the file",
         [&] {
             port.AnswerFile(dir.File("./a.tvs"));
             frame->FileNew1Execute(frame->FileNew1);
         },
         a},
        {"the symbol's Открыть схему символа",
         [&] {
             ModalScript script;
             script.On(Form3, [] {
                 Form3->Check->SetItemIndex(1);
                 Form3->Button1->Click();
             });
             EXPECT_FALSE(symbol->Properties());
             EXPECT_EQ(script.shown[Form3], 1);
         },
         part},
        {"the project pane's double click",
         [&] {
             frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(0));
             frame->FileListBoxDblClick(frame->FileListBox);
         },
         a},
        {"the search result's double click",
         [&] {
             ModalScript script;
             script.On(FindSignalDlg, [] {
                 FindSignalDlg->ComboBox->SetText("X1");
                 FindSignalDlg->RadioGroup->SetItemIndex(0);
                 FindSignalDlg->OKBtn->Click();
             });
             frame->FindActionExecute(frame->FindAction);
             ASSERT_EQ(frame->FindSignalListView->Items()->Count(), 1);
             ASSERT_EQ(frame->FindSignalListView->Items()->Item(0)->Caption(), AnsiString("a.tvs"));
             frame->FindSignalListView->SetSelected(frame->FindSignalListView->Items()->Item(0));
             frame->FindSignalListViewDblClick(frame->FindSignalListView);
         },
         a},
    };
    for (const Case& c : cases) {
        // The stranger of the same bare name lies between b in front and
        // the window sought.
        Front(stranger);
        Front(b);
        ASSERT_EQ(Active(), b) << c.way;
        port.Clear();
        c.open();
        Application->ProcessMessages();
        EXPECT_EQ(Children().size(), 4u) << c.way;
        EXPECT_EQ(Active(), c.shown) << c.way;
        EXPECT_TRUE(port.Messages().empty()) << c.way;
    }
    EXPECT_TRUE(a->Scheme->IsModified());
    EXPECT_TRUE(e1->Deleted()) << "the unsaved edit is still there";
    EXPECT_TRUE(part->Scheme->IsModified());
    // A file that no window shows still gets a window of its own, and so
    // does a recovery copy of an open scheme (it opens untitled).
    WriteScheme(dir.File("c.tvs"), {"E3"});
    port.Answer(mrNo); // not into the project
    EXPECT_NE(OpenByCommand(dir.File("c.tvs")), a);
    EXPECT_EQ(Children().size(), 5u);
    std::filesystem::copy_file(dir.Path() / "a.tvs", dir.Path() / "a.tvt");
    OpenByCommand(dir.File("a.tvt"));
    EXPECT_EQ(Children().size(), 6u);
    EXPECT_TRUE(Active()->Scheme->GetFileName().IsEmpty());
}

TEST_F(OneWindowPerFile, ASchemeNamedOnTheCommandLineIsTheOneOpenedByItsFullName) {
    StartFrame(Relative("a.tvs"));
    TMDIChild* a = Active();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Scheme->GetFileName(), Relative("a.tvs"));
    DeleteFirstDevice(a);
    TMDIChild* b = OpenByCommand(dir.File("b.tvs"));
    ASSERT_NE(b, a);
    EXPECT_EQ(OpenByCommand(dir.File("a.tvs")), a);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_TRUE(a->Scheme->IsModified());
}

// A window out of sight holds its file as much as one in front: opening the
// file again brings it back, minimized or hidden, with its edits.
TEST_F(OneWindowPerFile, AMinimizedOrHiddenWindowComesBackWhenItsFileIsOpenedAgain) {
    StartFrame();
    TMDIChild* a = OpenByCommand(dir.File("a.tvs"));
    ASSERT_NE(a, nullptr);
    DeleteFirstDevice(a);
    TMDIChild* b = OpenByCommand(dir.File("b.tvs"));
    ASSERT_NE(b, a);
    const std::function<void()> ways[] = {[a] { a->SetWindowState(wsMinimized); }, [this] { frame->MinimizeAll(); },
                                          [a] { a->Hide(); }};
    for (const auto& putAway : ways) {
        Front(b);
        putAway();
        Application->ProcessMessages();
        EXPECT_EQ(OpenByCommand(dir.File("a.tvs")), a);
        EXPECT_EQ(Children().size(), 2u);
        EXPECT_TRUE(a->Showing());
        EXPECT_NE(a->WindowState(), wsMinimized);
        EXPECT_TRUE(a->Scheme->IsModified());
    }
}

// Named on the command line, a scheme opens in the place and at the size
// that "Открыть" gives it.
TEST_F(OneWindowPerFile, ASchemeNamedOnTheCommandLineOpensAsOpenGivesIt) {
    StartFrame();
    TMDIChild* opened = OpenByCommand(dir.File("a.tvs"));
    ASSERT_NE(opened, nullptr);
    const TRect byCommand = opened->BoundsRect();
    TearDown();
    SetUp();
    StartFrame(dir.File("a.tvs"));
    TMDIChild* started = Active();
    ASSERT_NE(started, nullptr);
    EXPECT_TRUE(started->Showing());
    EXPECT_EQ(started->BoundsRect(), byCommand);
    EXPECT_GT(started->ClientHeight(), 100);
}

// The CASE-forming window of a table's file is one too: asked again, for the
// same element or for another of the same name, it comes to the front and
// forms the table of the element it was last asked for.
TEST_F(OneWindowPerFile, TheCaseTableOfAnElementIsFormedInOneWindow) {
    StartFrame();
    TScheme holder;
    TCaseMaskElement* first = holder.CreateCaseMaskElement(2);
    first->SetName("M1");
    TCaseMaskElement* second = holder.CreateCaseMaskElement(2);
    second->SetName("M1");
    auto form = [](TCaseMaskElement* e) {
        Form10->LoadEntity(e);
        Form10->Button5Click(Form10->Button5); // "Нарисовать логику"
        Application->ProcessMessages();
    };
    form(first);
    auto* window = dynamic_cast<TfmCase*>(frame->ActiveMDIChild());
    ASSERT_NE(window, nullptr);
    window->Scheme->CreateAndElement();
    window->Scheme->SetModified(true);
    TMDIChild* b = OpenByCommand(dir.File("b.tvs"));
    ASSERT_NE(b, window);
    form(first);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(frame->ActiveMDIChild(), window);
    EXPECT_EQ(window->GetElement(), static_cast<TObject*>(first));
    EXPECT_TRUE(window->Scheme->IsModified());
    Front(b);
    form(second);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(frame->ActiveMDIChild(), window);
    EXPECT_EQ(window->GetElement(), static_cast<TObject*>(second));
}

} // namespace
