// Modal results, default and cancel buttons, activation, MDI, placement,
// the cursor override.
#include <algorithm>

#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QWindow>

#include "GuiTest.h"
#include "common/Desktop.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Forms : public GuiTest {
protected:
    // The main form and another one shown, the main one active, and a dialog
    // to run modally over them in the middle of the screen.
    void ShowTwoFormsAndMakeADialog(TForm*& main, TForm*& other, TForm*& dialog) {
        main = MakeForm();
        main->SetBounds(0, 0, 900, 700);
        Application->SetMainForm(main);
        other = MakeForm();
        other->SetBounds(300, 200, 300, 200);
        ASSERT_TRUE(ShowActive(other));
        ASSERT_TRUE(ShowActive(main));
        dialog = MakeForm();
        dialog->SetPosition(poScreenCenter);
    }
    // Back from minimized as the desktop has it: on the screen, where there is one.
    static bool Restored(TForm* f) {
        return f->WindowState() == wsNormal &&
               (QGuiApplication::platformName() == "offscreen" || f->Widget()->windowHandle()->isExposed());
    }
};

TEST_F(Forms, ModalResultFromAButtonClearedByItsHandlerKeepsTheDialogOpen) {
    TForm* f = MakeForm();
    auto* ok = NewControl<TButton>(f, f, "OKBtn");
    ok->ModalResult = mrOk;
    std::vector<int> seenByHandler;
    bool refuse = true;
    ok->OnClick = [&](TObject*) {
        seenByHandler.push_back(f->ModalResult); // copied before the handler runs
        if (refuse) f->ModalResult = mrNone;     // "a handler that refuses"
    };
    bool openAfterRefusal = false;
    int r = RunModal(f, {
        [&] { QTest::mouseClick(ok->Widget(), Qt::LeftButton); },
        [&] {
            openAfterRefusal = f->Widget()->isVisible();
            refuse = false;
            QTest::mouseClick(ok->Widget(), Qt::LeftButton);
        },
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(r, mrOk);
    EXPECT_EQ(seenByHandler, (std::vector<int>{mrOk, mrOk}));
    EXPECT_FALSE(f->Widget()->isVisible());
}

TEST_F(Forms, AFormWithAFixedBorderTakesTheSizeTheProgramGivesIt) {
    // The insertion dialogs widen to show a preview and narrow again.
    for (TBorderStyle style : {bsDialog, bsSingle, bsSizeable}) {
        TForm* f = MakeForm();
        f->SetBorderStyle(style);
        f->SetClientWidth(316);
        f->SetClientHeight(193);
        f->Show();
        Application->ProcessMessages();
        for (int width : {506, 316}) {
            f->SetClientWidth(width);
            // A window manager confirms each size a little later, the
            // earlier one first.
            EXPECT_TRUE(ProcessUntil([&] { return f->ClientWidth() == width && f->Widget()->width() == width; })) << style;
            EXPECT_EQ(f->ClientWidth(), width) << style;
            EXPECT_EQ(f->ClientHeight(), 193) << style;
        }
    }
}

// The title bar's buttons as the border asks for them: a dialog's border
// offers no minimize or maximize whatever its icons, nor does a border with
// the system menu's icon alone; the close button stays.
TEST_F(Forms, OnlyABorderWithTheIconsToMinimizeOrMaximizeOffersThem) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "the buttons are the window manager's";
    struct Case {
        TBorderStyle style;
        TBorderIcons icons;
        bool sized;
    };
    const Case cases[] = {
        {bsDialog, biSystemMenu | biMinimize | biMaximize, false},
        {bsDialog, biSystemMenu, false},
        {bsSingle, biSystemMenu, false},
        {bsSizeable, biSystemMenu | biMinimize | biMaximize, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " icons " << c.icons);
        TForm* f = MakeForm();
        f->SetBorderStyle(c.style);
        f->SetBorderIcons(c.icons);
        f->SetBounds(100, 100, 300, 200);
        f->Show();
        std::vector<std::string> actions;
        // Listed once the manager has taken the window on.
        EXPECT_TRUE(ProcessUntil([&] {
            actions = testenv::AllowedActions(f->Widget());
            return std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_MOVE") != actions.end();
        }));
        auto offered = [&](const char* action) { return std::find(actions.begin(), actions.end(), action) != actions.end(); };
        EXPECT_TRUE(offered("_NET_WM_ACTION_CLOSE"));
        EXPECT_EQ(offered("_NET_WM_ACTION_MINIMIZE"), c.sized);
        EXPECT_EQ(offered("_NET_WM_ACTION_MAXIMIZE_HORZ"), c.sized);
        f->Hide();
    }
}

// Enter presses the default button, Esc the cancel button; Enter on a
// focused button presses that button instead.
TEST_F(Forms, EnterAndEscPressTheDefaultAndCancelButtons) {
    struct Case {
        const char* focused;
        int key;
        int expected;
    } cases[] = {{"Edit1", Qt::Key_Return, mrOk}, {"Edit1", Qt::Key_Escape, mrCancel}, {"NoBtn", Qt::Key_Return, mrNo}};
    for (const Case& c : cases) {
        TForm* f = MakeForm();
        auto* edit = NewControl<TEdit>(f, f, "Edit1");
        auto* ok = NewControl<TButton>(f, f, "OKBtn");
        ok->SetDefault(true);
        ok->ModalResult = mrOk;
        auto* cancel = NewControl<TButton>(f, f, "CancelBtn");
        cancel->SetCancel(true);
        cancel->ModalResult = mrCancel;
        NewControl<TButton>(f, f, "NoBtn")->ModalResult = mrNo;
        f->SetActiveControl(edit);
        auto* focused = static_cast<TWinControl*>(f->FindComponent(c.focused));
        int r = RunModal(f, {[&] {
            focused->SetFocus();
            QTest::keyClick(focused->Widget(), Qt::Key(c.key));
        }});
        EXPECT_EQ(r, c.expected) << c.focused << " " << c.key;
    }
}

TEST_F(Forms, CloseQueryAndOnCloseDecideAndAModalCloseGivesCancel) {
    TForm* f = MakeForm();
    bool allow = false;
    std::vector<std::string> log;
    f->OnCloseQuery = [&](TObject*, bool& can) {
        log.push_back("query");
        can = allow;
    };
    f->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        EXPECT_EQ(a, caHide);
    };
    int r = RunModal(f, {[&] { f->Close(); }, [&] {
                             allow = true;
                             f->Close();
                         }});
    EXPECT_EQ(r, mrCancel);
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close"}));
}

TEST_F(Forms, OnActivateFiresOnlyWhenTheActiveFormOfTheProgramChanges) {
    TForm* a = MakeForm();
    TForm* b = MakeForm();
    std::vector<std::string> log;
    a->OnActivate = [&](TObject*) { log.push_back("A+"); };
    a->OnDeactivate = [&](TObject*) { log.push_back("A-"); };
    b->OnActivate = [&](TObject*) { log.push_back("B+"); };
    b->OnDeactivate = [&](TObject*) { log.push_back("B-"); };
    a->Show();
    QApplication::setActiveWindow(a->Widget());
    ASSERT_EQ(Screen->ActiveForm(), a);
    log.clear();
    // Another program takes the focus and gives it back.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(a->Widget());
    EXPECT_TRUE(log.empty());
    b->Show();
    QApplication::setActiveWindow(b->Widget());
    EXPECT_EQ(log, (std::vector<std::string>{"A-", "B+"}));
    EXPECT_EQ(Screen->Forms(0), b);
    EXPECT_EQ(Screen->Forms(1), a);
}

TEST_F(Forms, HidingTheActiveWindowActivatesTheOneActiveBeforeItUnlessAnotherTakesOver) {
    TForm* a = MakeForm();
    TForm* b = MakeForm();
    TForm* c = MakeForm();
    std::vector<std::string> log;
    a->OnActivate = [&](TObject*) { log.push_back("A+"); };
    b->OnActivate = [&](TObject*) { log.push_back("B+"); };
    for (TForm* f : {a, b, c}) ASSERT_TRUE(ShowActive(f));
    log.clear();
    c->Hide(); // b was active before c; a hidden one is passed over
    b->Hide();
    EXPECT_TRUE(testenv::WaitActive(a));
    EXPECT_EQ(log, std::vector<std::string>{"A+"});
    // A window shown right after the hiding keeps the activation.
    log.clear();
    a->Hide();
    b->Show();
    EXPECT_TRUE(testenv::WaitActive(b));
    EXPECT_EQ(log, std::vector<std::string>{"B+"});
    // A window that is not active goes without changing anything; the last
    // one leaves none active.
    ASSERT_TRUE(ShowActive(a));
    b->SetFocus();
    ASSERT_TRUE(testenv::WaitActive(b));
    log.clear();
    a->Hide();
    Application->ProcessMessages();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(testenv::FormIsActive(b));
    b->Hide();
    Application->ProcessMessages();
    EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

// A dialog opened while a window of the program stays on top of the others
// (the element list, the work-file viewer) shows above that window and takes
// the keyboard: one of the program's forms, and a message box of the toolkit.
TEST_F(Forms, AModalDialogShowsAboveAWindowThatStaysOnTopAndHasTheKeyboard) {
    TForm* main = MakeForm();
    main->SetBounds(0, 0, 900, 700);
    Application->SetMainForm(main);
    main->Show();
    TForm* list = MakeForm();
    list->SetFormStyle(fsStayOnTop);
    list->SetBorderStyle(bsDialog);
    list->SetPosition(poScreenCenter);
    list->SetClientWidth(355);
    list->SetClientHeight(396);
    list->Show();
    const QPoint middle = list->Widget()->geometry().center();
    EXPECT_TRUE(ProcessUntil([&] { return QGuiApplication::topLevelAt(middle) == list->Widget()->windowHandle(); }));
    // A dialog's border, and a sizeable window shown modally.
    for (TBorderStyle style : {bsDialog, bsSizeable}) {
        TForm* dialog = MakeForm();
        dialog->SetBorderStyle(style);
        dialog->SetPosition(poScreenCenter);
        dialog->SetClientWidth(300);
        dialog->SetClientHeight(200);
        auto* edit = NewControl<TEdit>(dialog, dialog, "Edit1");
        dialog->SetActiveControl(edit);
        for (int showing = 0; showing < 2; ++showing) {
            bool dialogOnTop = false;
            RunModal(dialog, {[&] {
                dialogOnTop = ProcessUntil(
                    [&] { return testenv::Above(dialog->Widget(), list->Widget()) && QApplication::focusWidget() == edit->Widget(); });
                dialog->ModalResult = mrOk;
            }});
            EXPECT_TRUE(dialogOnTop) << style << " " << showing;
        }
    }
    // The toolkit's message box through the program's own port.
    IUserInterfacePort* scripted = SetUiPort(QtUiPortInstance());
    bool boxOnTop = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        boxOnTop = ProcessUntil([&] { return testenv::Above(box, list->Widget()) && QApplication::activeWindow() == box; });
        box->reject();
    });
    MessageDlg("Схема не упорядочена"_a, mtInformation, mbOKOnly);
    SetUiPort(scripted);
    EXPECT_TRUE(boxOnTop);
}

// A modal window minimized takes the program's other windows along (left
// on the screen, they would answer nothing); the program restored brings it
// back with them, active. Also without a desktop that minimizes a dialog's
// windows together.
TEST_F(Forms, AMinimizedModalWindowTakesTheProgramAlongAndComesBackActive) {
    TForm *main = nullptr, *other = nullptr, *dialog = nullptr;
    ShowTwoFormsAndMakeADialog(main, other, dialog);
    if (HasFatalFailure()) return;
    // Minimized as the desktop has it: off the screen, where there is one.
    const bool offscreen = QGuiApplication::platformName() == "offscreen";
    auto gone = [offscreen](TForm* f) {
        return f->WindowState() == wsMinimized && (offscreen || !f->Widget()->windowHandle()->isExposed());
    };
    bool together = false;
    bool back = false;
    RunModal(dialog, {[&] {
        dialog->SetWindowState(wsMinimized);
        together = ProcessUntil([&] { return gone(dialog) && gone(main) && gone(other); });
        main->SetWindowState(wsNormal);
        back = ProcessUntil([&] {
            return dialog->WindowState() == wsNormal && other->WindowState() == wsNormal && testenv::FormIsActive(dialog);
        });
        dialog->ModalResult = mrOk;
    }});
    EXPECT_TRUE(together);
    EXPECT_TRUE(back);
}

// A modal window closed while minimized (by the program, or from a task
// bar): the windows it took along come back, and the one it belongs to,
// which the desktop may have minimized with it; none is left minimized.
// Also when it closes after the program has asked the desktop to minimize
// them but before a late desktop has done it.
TEST_F(Forms, AModalWindowClosedWhileMinimizedGivesBackTheWindowsItTookAlong) {
    const bool offscreen = QGuiApplication::platformName() == "offscreen";
    for (bool lateDesktop : {false, true}) {
        TForm *main = nullptr, *other = nullptr, *dialog = nullptr;
        ShowTwoFormsAndMakeADialog(main, other, dialog);
        if (HasFatalFailure()) return;
        std::unique_ptr<testenv::LateDesktop> late;
        bool taken = false;
        RunModal(dialog, {[&] {
            // Held from the moment the desktop has minimized the dialog.
            if (lateDesktop && !offscreen) late = std::make_unique<testenv::LateDesktop>(dialog->Widget());
            dialog->SetWindowState(wsMinimized);
            // Taken along as the desktop has it (off the screen), or as asked of a late one.
            taken = ProcessUntil([&] {
                return other->WindowState() == wsMinimized && (offscreen || late || !other->Widget()->windowHandle()->isExposed());
            });
            dialog->ModalResult = mrOk;
        }});
        ASSERT_TRUE(taken) << lateDesktop;
        Application->ProcessMessages();
        EXPECT_TRUE(!late || late->Holding());
        late.reset();
        // The desktop has done what was asked before once it shows a window
        // asked for after.
        TForm* after = MakeForm();
        after->Show();
        ASSERT_TRUE(testenv::WaitExposed(after->Widget())) << lateDesktop;
        for (TForm* f : {main, other})
            EXPECT_TRUE(testenv::WaitFor([f] { return Restored(f); })) << (lateDesktop ? "late: " : "") << (f == main ? "main" : "other");
        for (TForm* f : {main, other, after}) f->Hide();
    }
}

class Child : public TForm {
public:
    explicit Child(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

TEST_F(Forms, MdiChildrenComeTopmostFirstAndClosingAChildFirstActivatesIt) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 600, 400);
    Application->SetMainForm(frame);
    frame->Show();
    QApplication::setActiveWindow(frame->Widget());
    Child* c1 = MakeForm<Child>();
    Child* c2 = MakeForm<Child>();
    Child* c3 = MakeForm<Child>();
    ASSERT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(frame->MDIChildren(0), c3);
    EXPECT_EQ(frame->MDIChildren(2), c1);
    EXPECT_EQ(frame->ActiveMDIChild(), c3);
    c1->BringToFront();
    EXPECT_EQ(frame->MDIChildren(0), c1);
    EXPECT_EQ(frame->ActiveMDIChild(), c1);

    TForm* activeDuringQuery = nullptr;
    c2->OnCloseQuery = [&](TObject*, bool& can) {
        activeDuringQuery = frame->ActiveMDIChild();
        can = true;
    };
    c2->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    int activations = 0;
    c2->OnActivate = [&](TObject*) { ++activations; };
    c2->Close();
    EXPECT_EQ(activeDuringQuery, c2);
    EXPECT_EQ(activations, 1);
    Forget(c2);
    Application->ProcessMessages(); // the release frees it
    EXPECT_EQ(frame->MDIChildCount(), 2);
    // The default close of an MDI child (with a minimise icon) minimises it.
    c3->Close();
    EXPECT_EQ(c3->WindowState(), wsMinimized);
}

// A child that asks for the system's place, as the scheme windows do.
class DefaultChild : public TForm {
public:
    explicit DefaultChild(TComponent* owner) : TForm(owner) {
        SetFormStyle(fsMDIChild);
        SetPosition(nextPosition);
        SetBounds(Left(), Top(), nextWidth, nextHeight);
    }
    static inline TPosition nextPosition = poDefault;
    static inline int nextWidth = 0;
    static inline int nextHeight = 0;
};

TEST_F(Forms, MdiChildrenAtTheSystemsPlaceOpenInsideTheFrameEachBelowTheLast) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 600, 400);
    Application->SetMainForm(frame);
    frame->Show();
    auto* area = frame->Widget()->findChild<QMdiArea*>();
    ASSERT_NE(area, nullptr);
    const QRect inside = area->viewport()->rect();
    struct Case {
        TPosition position;
        int width, height;
    } cases[] = {
        {poDefault, 800, 572}, // larger than the frame: made to fit
        {poDefault, 800, 572},
        {poDefaultPosOnly, 200, 150},
        {poDefault, 300, 200},
    };
    std::vector<QPoint> corners;
    for (const Case& c : cases) {
        DefaultChild::nextPosition = c.position;
        DefaultChild::nextWidth = c.width;
        DefaultChild::nextHeight = c.height;
        DefaultChild* child = MakeForm<DefaultChild>(); // shown as it is made
        const TRect r = child->BoundsRect();
        const QRect placed(r.Left, r.Top, r.Width(), r.Height());
        EXPECT_TRUE(inside.contains(placed)) << corners.size() << ": " << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height();
        EXPECT_EQ(r.Width(), std::min(c.width, inside.width() - r.Left)) << corners.size();
        for (const QPoint& p : corners) EXPECT_NE(placed.topLeft(), p) << corners.size(); // never on top of another
        corners.push_back(placed.topLeft());
    }
}

TEST_F(Forms, AnMdiChildNeedsAnMdiFrame) {
    EXPECT_THROW(Child(nullptr), EInvalidOperation);
}

TEST_F(Forms, PlacementIsKeptAndARectangleWhollyOffScreenIsPulledOntoIt) {
    TForm* f = MakeForm();
    f->SetBorderStyle(bsSizeable);
    f->Show();
    TRect desk = Screen->DesktopRect();
    struct Case {
        TRect in;
        TRect out;
    };
    Case cases[] = {
        {Rect(10, 20, 210, 170), Rect(10, 20, 210, 170)},
        {Rect(desk.Right + 500, 20, desk.Right + 700, 170), Rect(desk.Right - 200, 20, desk.Right, 170)},
        {Rect(-900, -900, -700, -750), Rect(desk.Left, desk.Top, desk.Left + 200, desk.Top + 150)},
    };
    for (const Case& c : cases) {
        TWindowPlacement wp;
        wp.showCmd = SW_SHOWNORMAL;
        wp.rcNormalPosition = c.in;
        ASSERT_TRUE(f->SetWindowPlacement(wp));
        TWindowPlacement back;
        f->GetWindowPlacement(back);
        EXPECT_EQ(back.rcNormalPosition, c.out);
        EXPECT_EQ(back.showCmd, SW_SHOWNORMAL);
    }
}

class Second : public TForm {
public:
    explicit Second(TComponent* owner) : TForm(owner) {}
};

TEST_F(Forms, CreateFormMakesTheFirstTheMainFormShowsNothingAndRunShowsItOnce) {
    TForm* main = nullptr;
    Second* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    EXPECT_FALSE(main->Widget()->isVisible());
    EXPECT_FALSE(second->Widget()->isVisible());
    int shows = 0;
    bool visibleInLoop = false;
    main->OnShow = [&](TObject*) { ++shows; };
    PostCall([&] {
        visibleInLoop = main->Widget()->isVisible();
        main->Close(); // closing the main form ends the loop
    });
    Application->Run();
    EXPECT_TRUE(visibleInLoop);
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(Application->Terminated());
    Free(second);
    Free(main);
}

TEST_F(Forms, TheApplicationTitleNamesMessageBoxesButIsNotAddedToWindowCaptions) {
    // The desktop appends Qt's display name to every window's caption; the
    // frame's caption already says what it must, so the title is kept apart.
    const QString before = QGuiApplication::applicationDisplayName();
    Application->SetTitle("Программа"_a);
    EXPECT_EQ(Application->Title(), "Программа"_a);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), before);
}

TEST_F(Forms, TheApplicationHintFollowsTheControlUnderTheMouse) {
    TForm* f = MakeForm();
    auto* b = NewControl<TButton>(f, f, "ExportAction");
    b->SetHint("Трансляция|Трансляция проекта в файл контроллера автоматики"_a);
    f->Show();
    std::vector<AnsiString> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    Send(b->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(3, 3));
    Send(b->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(4, 3));
    Send(f->ClientWidget(), QEvent::MouseMove, Qt::NoButton, QPoint(200, 150));
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, (std::vector<AnsiString>{"Трансляция проекта в файл контроллера автоматики"_a, ""}));
}

TEST_F(Forms, TheScreenCursorOverrideNeverStacks) {
    Screen->SetCursor(crHourGlass);
    Screen->SetCursor(crHourGlass);
    Screen->SetCursor(crCross);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Forms, AlignPlacesTopBottomLeftRightThenClient) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 300, 200);
    auto* client = NewControl<TEdit>(f, f, "C");
    client->SetAlign(alClient);
    auto* right = NewControl<TEdit>(f, f, "R");
    right->SetWidth(30);
    right->SetAlign(alRight);
    auto* top = NewControl<TEdit>(f, f, "T");
    top->SetHeight(20);
    top->SetAlign(alTop);
    auto* bottom = NewControl<TEdit>(f, f, "B");
    bottom->SetHeight(25);
    bottom->SetAlign(alBottom);
    int cw = f->ClientWidth(), ch = f->ClientHeight();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, cw, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, ch - 25, cw, ch));
    EXPECT_EQ(right->BoundsRect(), Rect(cw - 30, 20, cw, ch - 25));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 20, cw - 30, ch - 25));
    EXPECT_EQ(f->FindComponent("R"), right);
}

} // namespace
