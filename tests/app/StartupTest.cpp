// Start-up: the forms in their order, the command line, the splash, the
// cursors, and an exception that escapes start-up.
#include "app/AppTest.h"

#include <QMenuBar>

#include "app/Cursors.h"
#include "app/Progress.h"
#include "app/ProjectDlg.h"
#include "app/SplashSource.h"
#include "app/Stat.h"
#include "app/Version.h"
#include "app/WinMain.h"
#include "controls/gui/EXSpin.h"
#include "controls/gui/MRUList.h"
#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "editor/SymbolDlg.h"
#include "editor/TriggerDlg.h"
#include "editor/Unit10.h"
#include "editor/Unit5.h"
#include "editor/gotoparam.h"
#include "controls/gui/Placemnt.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Formuls.h"
#include "debugger/ui/InpOutp.h"
#include "debugger/ui/MT.h"
#include "debugger/ui/TimerUn.h"
#include "document/DriversInfo.h"
#include "document/Project.h"
#include "editor/AddDriver.h"
#include "editor/AddPin.h"
#include "editor/AddTypeDrv.h"
#include "editor/AutoName.h"
#include "editor/CheckConnect.h"
#include "editor/connectChains.h"
#include "editor/FindSign.h"
#include "editor/InsertElement.h"
#include "editor/InsertPin.h"
#include "editor/ListElement.h"
#include "editor/OpenSym.h"
#include "editor/Option.h"
#include "editor/PinDriver.h"
#include "editor/ShowExport.h"
#include "editor/Unit9.h"
#include "editor/qrprint.h"
#include "fsm/gui/FSMCond.h"
#include "fsm/gui/fsmPins.h"
#include "fsm/gui/stProp.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "toolbars/TBExTlwn.h"
#include "translator/TranslatorHost.h"

namespace {

// Each entry of the start-up table: its global's name and the global itself.
#define FORM(g) std::pair<const char*, std::function<TComponent*()>>(#g, [] { return static_cast<TComponent*>(g); })

TEST_F(AppTest, TheFormsAreMadeInTableOrderIntoTheirGlobalsAndFreedOutOfThem) {
    const std::pair<const char*, std::function<TComponent*()>> forms[] = {
        FORM(MainForm), FORM(InitModule), FORM(fmRun), FORM(AddDriverForm), FORM(AddPinForm), FORM(AddTypeDrvForm),
        FORM(FindSignalDlg), FORM(fmDebug), FORM(fmFormuls), FORM(fmIO), FORM(InsertPinForm), FORM(ListElementDlg),
        FORM(fmMTValue), FORM(OptionDlg), FORM(ProgressForm), FORM(ProjectDlg), FORM(Report1), FORM(ShowExportDlg),
        FORM(TimersForm), FORM(Form8), FORM(Form1), FORM(Form4), FORM(fmPrewIm), FORM(Form2), FORM(Form3),
        FORM(Form5), FORM(Form9), FORM(Form7), FORM(InsertElementForm), FORM(PinDriverDlg), FORM(fmOpenSymbolFile),
        FORM(Form10), FORM(Form6), FORM(CheckConnectivityDialog), FORM(fmConnect), FORM(fmFSMCond), FORM(fmPins),
        FORM(fmStProp), FORM(Form12), FORM(fmAutoNames), FORM(fmStat)};
    const auto& table = AutoForms();
    ASSERT_EQ(std::size(forms), table.size());
    std::vector<int> order;
    const int before = Application->ComponentCount();
    CreateAutoForms([&](int i) { order.push_back(i); });
    std::vector<TComponent*> made;
    for (int i = before; i < Application->ComponentCount(); ++i) made.push_back(Application->Components(i));
    frame = MainForm;
    ASSERT_EQ(made.size(), table.size());
    ASSERT_EQ(order.size(), table.size());
    // The frame first (the main window), the settings module second.
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(order[i], int(i));
        EXPECT_STREQ(table[i].GlobalName, forms[i].first) << i;
        EXPECT_EQ(made[i], forms[i].second()) << forms[i].first;
        // Each class is named T + its global, with an upper-case first letter
        // (the "fm" forms keep theirs).
        std::string cls = table[i].GlobalName;
        if (cls.rfind("fm", 0) != 0) cls[0] = char(std::toupper(cls[0]));
        EXPECT_EQ(std::string(table[i].ClassName), "T" + cls) << i;
    }
    EXPECT_EQ(&TranslatorHooks().ProgressWindow(), static_cast<ITranslationProgress*>(ProgressForm));
    EXPECT_EQ(Application->MainForm(), MainForm);
    // The interrupt list reached the driver form: the settings were there first.
    EXPECT_EQ(AddDriverForm->InterruptEdit->Items()->Count(), 16);
    for (auto it = made.rbegin(); it != made.rend(); ++it) Free(*it);
    frame = nullptr;
    for (TComponent* g : std::vector<TComponent*>{MainForm, AddDriverForm, ProjectDlg, PinDriverDlg, fmFSMCond, fmPins,
                                                  fmStProp, fmStat, fmRun, fmDebug, fmIO})
        EXPECT_EQ(g, nullptr) << "a freed form leaves its global empty";
}
#undef FORM

TEST_F(AppTest, StartUpShowsTheSplashNamesTheProgramAndHandsTheArgumentToTheFrame) {
    WriteProject(dir.File("plant.tvp"), {});
    const std::string path = dir.Path().string() + "/./plant.tvp"; // taken full and clean
    char arg0[] = "ge";
    std::vector<char> arg1(path.begin(), path.end());
    arg1.push_back(0);
    char* argv[] = {arg0, arg1.data(), nullptr};
    const int before = Application->ComponentCount();
    StartProgram(2, argv);
    Adopt(before);
    frame = MainForm;
    ASSERT_NE(SplashForm, nullptr);
    EXPECT_EQ(SplashForm->ProgressBar->Position(), 40);
    EXPECT_TRUE(SplashForm->Showing());
    EXPECT_EQ(Application->Title(), "Графический редактор электроавтоматики"_a);
    EXPECT_EQ(frame->CommandLineFile, dir.File("plant.tvp"));
    frame->Show();
    EXPECT_EQ(SplashForm, nullptr) << "the frame's first show removes the splash";
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), dir.File("plant.tvp"));
}

TEST_F(AppTest, WithoutAnArgumentNothingOpensAndTheSplashGoes) {
    SplashForm = NewForm<TSplashForm>(nullptr);
    StartFrame();
    EXPECT_EQ(SplashForm, nullptr);
    EXPECT_EQ(frame->CurrentProject, nullptr);
    EXPECT_TRUE(Children().empty());
    EXPECT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(AppTest, AProjectArgumentOpensTheProjectAndShowsThePane) {
    const AnsiString project = dir.File("plant.tvp");
    WriteScheme(dir.File("a.tvs"), {"E1"});
    WriteScheme(dir.File("b.tvs"), {"E2"});
    WriteProject(project, {"a.tvs", "b.tvs"});
    StartFrame(project);
    ASSERT_NE(frame->CurrentProject, nullptr);
    EXPECT_EQ(frame->CurrentProject->GetFileName(), project);
    EXPECT_TRUE(frame->N26->Checked());
    EXPECT_TRUE(frame->ManagerWindow->Visible());
    ASSERT_EQ(frame->FileListBox->Items()->Count(), 2);
    EXPECT_EQ(frame->FileListBox->Items()->Item(1)->Caption(), AnsiString("b.tvs"));
    EXPECT_EQ(frame->FileListBox->Items()->Item(1)->SubItems()->Get(0), dir.File(""));
    EXPECT_TRUE(Children().empty());
    EXPECT_TRUE(port.Messages().empty());
}

// The argument's kind (its final extension, case sensitive) chooses the
// window; a name of no kind opens nothing and says nothing.
TEST_F(AppTest, TheArgumentsKindChoosesTheWindow) {
    struct Case {
        const char* name;
        int schemes, fsms;
    };
    const Case cases[] = {{"a.fsm.d/s.tvs", 1, 0}, {"m.tvs.d/m.fsm", 0, 1}, {"S.TVS", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFrame(dir.File(c.name));
        int schemes = 0, fsms = 0;
        for (TForm* f : Children()) {
            schemes += dynamic_cast<ISchemeChild*>(f) != nullptr;
            fsms += dynamic_cast<IFsmChild*>(f) != nullptr;
        }
        EXPECT_EQ(schemes, c.schemes);
        EXPECT_EQ(fsms, c.fsms);
        EXPECT_EQ(frame->CurrentProject, nullptr);
        EXPECT_TRUE(port.Messages().empty());
        TearDown();
        SetUp();
    }
}

TEST_F(AppTest, ARecoveryCopyOpensAsAnUntitledModifiedScheme) {
    WriteScheme(dir.File("pump.tvt"), {"E1", "E2"});
    StartFrame(dir.File("pump.tvt"));
    ASSERT_EQ(Children().size(), 1u);
    TScheme* doc = dynamic_cast<ISchemeChild*>(Children()[0])->SchemeDocument();
    EXPECT_EQ(doc->GetFileName(), AnsiString());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->CountDevices(), 2);
}

TEST_F(FrameTest, FrameCreationInstallsTheCursorsAndTheTranslator) {
    ASSERT_NE(frame->LogFile, nullptr);
    const char* names[] = {"CR_ZOOMIN", "CR_ZOOMOUT", "CR_SELECT", "CR_MOVE", "CR_INSERT"};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(Screen->HasCursor(i)) << i;
        EXPECT_EQ(CursorResourceName(i), AnsiString(names[i - 1]));
        TBitmap picture;
        picture.LoadFromResourceName(names[i - 1]);
        EXPECT_EQ(picture.Width(), 32);
        // Some of the picture shows, some is left out.
        int shown = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) shown += picture.Canvas()->Pixels(x, y) != picture.TransparentColor();
        EXPECT_GT(shown, 20) << names[i - 1];
        EXPECT_LT(shown, 32 * 32 / 2) << names[i - 1];
    }
    EXPECT_EQ(CursorResourceName(6), AnsiString());
    EXPECT_EQ(ModelHooks().Frame != nullptr, true);
}

TEST_F(AppTest, AnExceptionEscapingStartUpIsReportedAndEndsWithFailure) {
    const int rc = RunProtected([]() -> int { throw EFOpenError("Cannot open file \"graphic.ini\""); });
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Ошибка в программе!\nCannot open file \"graphic.ini\""_a});
    EXPECT_EQ(RunProtected([] { return 0; }), 0);
    EXPECT_EQ(RunProtected([]() -> int { throw std::runtime_error("bad"); }), 1);
    EXPECT_EQ(port.Messages().back(), "Ошибка в программе!\nbad"_a);
}

TEST_F(FrameTest, TheFramesExceptionHandlerReportsAndTheProgramGoesOn) {
    Dispatch([] { throw Exception("сбой"_a); });
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Ошибка в программе!\nсбой"_a});
    EXPECT_TRUE(frame->Showing());
}

TEST_F(FrameTest, HintsGoToTheFirstPanelOfTheStatusBar) {
    Application->SetHint("Файловые команды"_a);
    EXPECT_EQ(frame->StatusBar->Panels()->Items(0)->Text(), "Файловые команды"_a);
}

TEST_F(FrameTest, TheMenuBarStandsAboveTheClientAndThePaneSpansTheLeftDockAtItsOwnWidth) {
    auto* bar = frame->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_GT(bar->height(), 0);
    EXPECT_GE(frame->ClientOrigin().y - frame->Widget()->mapToGlobal(QPoint(0, 0)).y(), bar->height())
        << "the client area lies below the menu bar";
    frame->N26Click(frame->N26);
    Application->ProcessMessages();
    TToolWindowEx* pane = frame->ManagerWindow;
    ASSERT_TRUE(pane->Docked());
    ASSERT_EQ(pane->DockedTo(), frame->DockBarLeft);
    EXPECT_GT(frame->FileListBox->Height(), 100);
    EXPECT_EQ(frame->ManagerSplitter->Height(), 3);
    EXPECT_EQ(frame->FindPanel->Top(), frame->ManagerSplitter->Top() + 3);
    // 185 x 420 as the frame describes it, wider only where its buttons need it.
    auto* last = dynamic_cast<TControl*>(frame->FindComponent("PaneDown"));
    ASSERT_NE(last, nullptr);
    const int width = std::max(185, last->Left() + last->Width() + 4);
    EXPECT_EQ(pane->ClientWidth(), width);
    EXPECT_EQ(pane->BarHeight(), 420);
    EXPECT_EQ(pane->Height(), frame->DockBarLeft->ClientHeight()) << "it spans its dock";
    EXPECT_EQ(frame->FindPanel->Top() + frame->FindPanel->Height(), pane->ClientHeight()) << "its parts fill it";
    EXPECT_EQ(frame->ManagerToolbar->Width(), pane->ClientWidth());
    // The pane's buttons keep their own captions while their actions change.
    auto* up = dynamic_cast<TControl*>(frame->FindComponent("PaneUp"));
    ASSERT_NE(up, nullptr);
    frame->MoveFileUp->SetEnabled(true);
    EXPECT_EQ(up->Caption(), "Вверх"_a);
    EXPECT_TRUE(up->Enabled());
    frame->MoveFileUp->SetEnabled(false);
    EXPECT_FALSE(up->Enabled());
    // Floating, it has its own client size.
    pane->HideWhenInactive = false;
    pane->SetDockedTo(nullptr);
    EXPECT_EQ(pane->ClientWidth(), width);
    EXPECT_EQ(pane->ClientHeight(), 420);
    EXPECT_EQ(frame->FindPanel->Top() + frame->FindPanel->Height(), 420);
    pane->SetDockedTo(frame->DockBarLeft);
}

// Narrowed while floating, the pane stops at its buttons' width, so docked
// again it shows them whole, every time.
TEST_F(FrameTest, ThePaneNarrowedWhileFloatingStillShowsItsButtonsWhenDocked) {
    frame->N26Click(frame->N26);
    Application->ProcessMessages();
    TToolWindowEx* pane = frame->ManagerWindow;
    auto* last = dynamic_cast<TControl*>(frame->FindComponent("PaneDown"));
    ASSERT_NE(last, nullptr);
    const int least = last->Left() + last->Width() + 4;
    pane->HideWhenInactive = false;
    for (int round = 1; round <= 2; ++round) {
        pane->SetDockedTo(nullptr);
        ASSERT_TRUE(pane->Floating()) << round;
        const TRect s = pane->ScreenRect();
        pane->BeginSizing(HTRIGHT, TPoint(s.Right - 1, s.Top + 40));
        pane->Tracker()->MouseMove(TPoint(s.Left - 300, s.Top + 40));
        pane->Tracker()->LeftButtonUp(TPoint(s.Left - 300, s.Top + 40));
        EXPECT_EQ(pane->ClientWidth(), least) << round;
        pane->SetDockedTo(frame->DockBarLeft);
        Application->ProcessMessages();
        ASSERT_TRUE(pane->Docked()) << round;
        EXPECT_EQ(pane->ClientWidth(), least) << round;
        EXPECT_EQ(frame->ManagerToolbar->Width(), least) << round;
        EXPECT_LE(last->Left() + last->Width(), frame->ManagerToolbar->Width()) << "\"Вниз\" whole, round " << round;
    }
}

// Each bar's menu item hides and shows it; a floating bar, or the floating
// pane, closed by its close button comes back through its menu item; the
// other floating bars stay meanwhile.
TEST_F(FrameTest, TheMenuItemsHideAndShowTheirBarsAndBringBackAFloatingBarClosedByItsButton) {
    frame->N26Click(frame->N26);
    Application->ProcessMessages();
    struct Case {
        TCustomToolWindowEx* bar;
        TMenuItem* item;
    };
    const Case cases[] = {{frame->ToolBar2, frame->N13},
                          {frame->ToolBar3, frame->N16},
                          {frame->ToolBar5, frame->N19},
                          {frame->ManagerWindow, frame->N26},
                          {frame->ToolB, frame->N14}};
    // The mode buttons float beside the others (closed last).
    TCustomToolWindowEx* modes = frame->ToolB;
    modes->SetFloatingTopLeft(TPoint(20, 300));
    modes->SetDockedTo(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->Name().c_str());
        EXPECT_TRUE(c.item->Checked());
        c.item->Click();
        EXPECT_FALSE(c.item->Checked());
        EXPECT_FALSE(c.bar->Visible());
        c.item->Click();
        EXPECT_TRUE(c.bar->Visible());
        TDockEx* dock = c.bar->DockedTo();
        c.bar->SetFloatingTopLeft(TPoint(300, 200));
        c.bar->SetDockedTo(nullptr);
        SetActiveWindow(frame);
        // A bar that hides while the program is inactive shows once the
        // desktop has given the program its focus back (late on a loaded one).
        ASSERT_TRUE(testenv::WaitFor([&] { return c.bar->Widget()->isVisible(); }));
        EXPECT_TRUE(c.bar->CloseButton());
        // The desktop makes a window that is clicked the active one.
        SetActiveWindow(c.bar);
        Application->ProcessMessages();
        const TRect r = c.bar->FloatingCloseButtonRect();
        ClickAt(c.bar->Widget(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        Application->ProcessMessages();
        EXPECT_FALSE(c.bar->Visible());
        EXPECT_FALSE(c.item->Checked());
        EXPECT_TRUE(c.bar == modes || modes->Widget()->isVisible()) << "the mode buttons stay";
        c.item->Click();
        Application->ProcessMessages();
        EXPECT_TRUE(c.item->Checked());
        EXPECT_TRUE(c.bar->Visible());
        EXPECT_TRUE(testenv::WaitFor([&] { return c.bar->Widget()->isVisible(); }));
        if (c.bar != modes) c.bar->SetDockedTo(dock);
    }
    modes->SetDockedTo(frame->DockBarLeft);
}

// The two pop-up menus and the primitives bar exist, hold what they should,
// and stay out of sight: no control shows the menus, the bar takes no place.
TEST_F(FrameTest, ThePopupMenusAndThePrimitivesBarAreKeptButNotShown) {
    auto captions = [](TMenuItem* parent) {
        std::vector<AnsiString> texts;
        for (int i = 0; i < parent->Count(); ++i) texts.push_back(parent->Items(i)->Caption());
        return texts;
    };
    ASSERT_EQ(frame->FindComponent("PopupMenu1"), frame->PopupMenu1);
    TMenuItem* files = frame->PopupMenu1->Items();
    ASSERT_EQ(files->Count(), 4);
    EXPECT_EQ(files->Items(0)->Action(), frame->InsertFileAction);
    EXPECT_EQ(files->Items(1)->Action(), frame->ActivateFileProjectAction);
    EXPECT_TRUE(files->Items(2)->IsLine());
    EXPECT_EQ(files->Items(3)->Action(), frame->DeleteFileAction);
    EXPECT_EQ(captions(files), (std::vector<AnsiString>{"Вставить файл"_a, "Открыть файл"_a, "-", "Удалить файл"_a}));

    ASSERT_EQ(frame->FindComponent("PopupMenu2"), frame->PopupMenu2);
    TMenuItem* top = frame->PopupMenu2->Items();
    EXPECT_EQ(captions(top), (std::vector<AnsiString>{"Панели"_a, "Настроить"_a}));
    TMenuItem* copy = top->Items(0);
    TMenuItem* panels = frame->N13->Parent();
    EXPECT_EQ(captions(copy), captions(panels));
    for (int i = 0; i < copy->Count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(copy->Items(i)->Checked(), panels->Items(i)->Checked());
        EXPECT_EQ(copy->Items(i)->Visible(), panels->Items(i)->Visible());
    }
    // Its items are copies: a click there leaves the bars and the main menu's ticks.
    copy->Items(0)->Click();
    EXPECT_TRUE(frame->N13->Checked());
    EXPECT_TRUE(frame->ToolBar2->Visible());

    ASSERT_EQ(frame->FindComponent("ToolbarEx1"), frame->ToolbarEx1);
    TToolbarEx* primitives = frame->ToolbarEx1;
    EXPECT_EQ(primitives->Caption(), "Примитивы"_a);
    EXPECT_FALSE(primitives->Visible());
    EXPECT_EQ(primitives->DockedTo(), frame->DockBarTop);
    ASSERT_EQ(primitives->ControlCount(), 4);
    for (int i = 0; i < 4; ++i) {
        auto* b = dynamic_cast<TToolbarButtonEx*>(primitives->Controls(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Action(), nullptr);
        EXPECT_FALSE(b->OnClick);
    }
    for (int i = 0; i < frame->DockBarTop->ToolbarCount(); ++i)
        EXPECT_NE(frame->DockBarTop->Toolbars(i), primitives) << "the hidden bar takes no place on the dock";
}

TEST_F(FrameTest, TheStoredOptionsReachTheTranslatorAndTheSignalTable) {
    for (bool on : {true, false}) {
        frame->FormS->SetStoredValue("CheckBit", on);
        frame->FormS->SetStoredValue("DoTextLogicFile", on);
        frame->FormS->SetStoredValue("SortBits", !on);
        EXPECT_EQ(TDriversInfo::CheckBitOption(), on);
        EXPECT_EQ(TranslatorOptions().Get("DoTextLogicFile"), on);
        EXPECT_EQ(TranslatorOptions().Get("SortBits"), !on);
        EXPECT_FALSE(TranslatorOptions().Get("CheckSchemes"));
    }
}

TEST_F(FrameTest, ACaseWindowGetsItsTableFileAndTheElement) {
    AnsiString named;
    TObject* handed = nullptr;
    FrameWindowFactories().CaseWindow = [&](TComponent*, const AnsiString& file, TObject* element) -> TForm* {
        named = file;
        handed = element;
        return nullptr;
    };
    TStringList list;
    TObject element;
    // The table file lies in the current folder: an element's name that
    // looks like a path names no other folder.
    EXPECT_TRUE(frame->OpenCaseWindow(&list, "K1/2:3\\4", &element));
    EXPECT_EQ(named, AnsiString("K1_2_3_4.tvc"));
    EXPECT_EQ(handed, &element);
    EXPECT_EQ(list.Text(), AnsiString("1234\r\n1234\r\n"));
}

// Every spin edit of the program's forms steps with the up-down buttons.
TEST_F(FrameTest, EverySpinEditOfTheFormsHasUpDownButtons) {
    std::vector<AnsiString> spins;
    std::function<void(TComponent*)> walk = [&](TComponent* c) {
        for (int i = 0; i < c->ComponentCount(); ++i) {
            TComponent* child = c->Components(i);
            if (auto* spin = dynamic_cast<TExSpinEdit*>(child)) {
                spins.push_back(spin->Owner()->Name() + "." + spin->Name());
                EXPECT_EQ(spin->ButtonKind(), bkStandard) << spins.back().c_str();
            }
            walk(child);
        }
    };
    walk(Application);
    EXPECT_EQ(spins.size(), 20u);
}

TEST_F(AppTest, SplashShowsTheVersionAndReadsTheNotes) {
    testenv::WriteBytes(std::filesystem::current_path() / "readme.txt", "строка"_a.c_str() + std::string("\r\n"));
    auto* splash = MakeForm<TSplashForm>();
    std::filesystem::remove(std::filesystem::current_path() / "readme.txt");
    EXPECT_EQ(splash->Version->Caption(), VersionText()); // as the about box shows it
    EXPECT_EQ(splash->ScrollText->Lines()->Text(), "строка\r\n"_a);
    auto* bare = MakeForm<TSplashForm>();
    EXPECT_EQ(bare->ScrollText->Lines()->Count(), 0);
}

} // namespace
