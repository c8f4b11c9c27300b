// The first dialog of a session, opened by the user's gesture on a window of
// the program (a double-click, a shortcut, a toolbar button), opens once and
// closes for good with its button. Only the first modal window a process
// shows is the session's first, so each row runs in a program of its own:
// this binary once more, told the row, whose test answers the dialog and
// counts every opening.
#include "app/AppTest.h"

#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/Spawn.h"
#include "editor/ChildWin.h"
#include "editor/ElementDlg.h"
#include "editor/PinDriver.h"
#include "editor/Unit5.h"
#include "editor/Unit9.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/gui/FSMChild.h"
#include "fsm/gui/FSMCond.h"
#include "fsm/gui/PaintBoxMouse.h"
#include "fsm/gui/stProp.h"
#include "model/Driver.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"

namespace {

// The row the program run for it is told, by its index.
constexpr const char* kRowVariable = "GE_FIRST_DIALOG_ROW";

class FirstDialogInThisProgram : public AppTest {
public:
    void SetUp() override {
        AppTest::SetUp();
        // The real windows of both editors, as the program makes them.
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        FrameWindowFactories().FsmWindow = nullptr;
        StartFrame();
    }

    TMainForm* Frame() const { return frame; }
    // A scheme with an element, a driver pin and a connector, in its window.
    TMDIChild* OpenScheme() {
        TScheme doc;
        TElement* e = doc.CreateAndElement();
        e->SetName("E1");
        e->SetNumber(1);
        e->SetX(200), e->SetY(100);
        TDriver* pin = doc.CreateDriver();
        pin->SetName("X1");
        pin->SetX(100), pin->SetY(300);
        TVarDriver* connector = doc.CreateVarDriver();
        connector->SetName("C1");
        connector->SetX(400), connector->SetY(300);
        doc.SetFileName(dir.File("s.tvs"));
        EXPECT_TRUE(doc.SaveToFile());
        auto* w = dynamic_cast<TMDIChild*>(frame->CreateMDIChild(dir.File("s.tvs")));
        Application->ProcessMessages();
        return w;
    }
    // A machine with a state and a transition into it, in its window.
    TFSMChild* OpenMachine() {
        TFSMScheme doc;
        fsmtest::SetSignals(doc, {"a"_a}, {"y"_a});
        fsmtest::AddState(doc, 300, 200, "S", "1");
        fsmtest::AddTransition(doc, 100, 200, 300, 200, "1");
        doc.SetFileName(dir.File("m.fsm"));
        EXPECT_TRUE(doc.SaveToFile());
        auto* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
        Application->ProcessMessages();
        return w;
    }
    // A click, a double-click and its release at a point of a sheet, as
    // the user's hand gives them.
    static void DoubleClick(TControl* sheet, TPoint p) {
        paintmouse::Click(sheet, p.x, p.y);
        paintmouse::Send(sheet, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, p.x, p.y);
        paintmouse::Release(sheet, p.x, p.y);
    }
    // The middle of an object of the scheme, in the sheet's pixels.
    static TPoint Middle(TMDIChild* w, TEntity* o) {
        const TRect r = o->Bounds();
        const int zoom = w->Scheme->Zoom();
        return TPoint((r.Left + r.Right) / 2 * zoom / 100, (r.Top + r.Bottom) / 2 * zoom / 100);
    }
    // Alt+Enter ("Свойства") on the window, once the desktop gave it the keys.
    static void AltEnter(TForm* w) {
        w->BringToFront();
        w->SetFocus();
        ASSERT_TRUE(testenv::WaitFor([w] {
            QWidget* focus = QApplication::focusWidget();
            return focus && testenv::HasDesktopFocus(focus->window()) && w->Widget()->isAncestorOf(focus);
        }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    }
};

struct Opening {
    const char* what;
    TForm* (*dialog)();
    // The button the user clicks to accept.
    TControl* (*accept)();
    // Opens the window and makes the gesture.
    void (*gesture)(FirstDialogInThisProgram& test);
};

const std::vector<Opening>& Openings() {
    static const std::vector<Opening> rows = {
        {"the element's properties, by a double-click", []() -> TForm* { return Form4; },
         []() -> TControl* { return Form4->Button1; },
         [](FirstDialogInThisProgram& test) {
             TMDIChild* w = test.OpenScheme();
             test.DoubleClick(w->PaintBox1, test.Middle(w, w->Scheme->FirstDevice()));
         }},
        {"the element's properties, by Alt+Enter", []() -> TForm* { return Form4; },
         []() -> TControl* { return Form4->Button1; },
         [](FirstDialogInThisProgram& test) {
             TMDIChild* w = test.OpenScheme();
             const TPoint p = test.Middle(w, w->Scheme->FirstDevice());
             paintmouse::Click(w->PaintBox1, p.x, p.y);
             test.AltEnter(w);
         }},
        {"a driver pin's properties, by a double-click", []() -> TForm* { return Form5; },
         []() -> TControl* { return Form5->Button1; },
         [](FirstDialogInThisProgram& test) {
             TMDIChild* w = test.OpenScheme();
             for (TEntity* o : w->Scheme->LiveObjects())
                 if (o->Kind() == TEntityKind::Driver) test.DoubleClick(w->PaintBox1, test.Middle(w, o));
         }},
        {"a connector's properties, by a double-click", []() -> TForm* { return Form9; },
         []() -> TControl* { return Form9->Button3; },
         [](FirstDialogInThisProgram& test) {
             TMDIChild* w = test.OpenScheme();
             for (TEntity* o : w->Scheme->LiveObjects())
                 if (o->Kind() == TEntityKind::VarDriver) test.DoubleClick(w->PaintBox1, test.Middle(w, o));
         }},
        {"a state's name, by a double-click", []() -> TForm* { return fmStProp; },
         []() -> TControl* { return fmStProp->BitBtn1; },
         [](FirstDialogInThisProgram& test) {
             TFSMChild* w = test.OpenMachine();
             test.DoubleClick(w->PaintBox1, TPoint(290, 190));
         }},
        {"a state's name, by Alt+Enter", []() -> TForm* { return fmStProp; },
         []() -> TControl* { return fmStProp->BitBtn1; },
         [](FirstDialogInThisProgram& test) {
             TFSMChild* w = test.OpenMachine();
             paintmouse::Click(w->PaintBox1, 290, 190);
             test.AltEnter(w);
         }},
        {"a transition's condition, by a double-click", []() -> TForm* { return fmFSMCond; },
         []() -> TControl* { return fmFSMCond->BitBtn2; },
         [](FirstDialogInThisProgram& test) {
             TFSMChild* w = test.OpenMachine();
             TfsmCond* c = w->FsmDocument()->Transitions()[0]->GetCondition();
             test.DoubleClick(w->PaintBox1, TPoint(c->GetX() + 4, c->GetY() + 4));
         }},
        {"the signal table, by its toolbar button", []() -> TForm* { return PinDriverDlg; },
         []() -> TControl* { return PinDriverDlg->OKBtn; },
         [](FirstDialogInThisProgram& test) {
             TToolbarButtonEx* button = nullptr;
             TToolbarEx* bar = test.Frame()->ToolBar5;
             for (int i = 0; i < bar->ControlCount(); ++i)
                 if (auto* b = dynamic_cast<TToolbarButtonEx*>(bar->Controls(i)); b && b->Action() == test.Frame()->TypeAction)
                     button = b;
             ASSERT_NE(button, nullptr);
             ASSERT_TRUE(testenv::WaitExposed(button->Widget()));
             paintmouse::Click(button, button->Width() / 2, button->Height() / 2);
         }},
    };
    return rows;
}

// Run by the test below in a program of its own, told the row.
TEST_F(FirstDialogInThisProgram, DISABLED_TheDialogOpensOnce) {
    const char* row = std::getenv(kRowVariable);
    if (!row) GTEST_SKIP() << "run by FirstDialog.OpensOnceInAFreshProgram";
    const Opening& o = Openings().at(std::size_t(std::atoi(row)));
    SCOPED_TRACE(o.what);
    TForm* dialog = o.dialog();
    ASSERT_NE(dialog, nullptr);
    ModalScript script;
    script.On(dialog, [&] {
        QTest::mouseClick(o.accept()->Widget(), Qt::LeftButton);
        // A refusal keeps it open: the count is what this test is about.
        if (dialog->IsModal() && dialog->ModalResult == mrNone) dialog->ModalResult = mrCancel;
    });
    o.gesture(*this);
    Application->ProcessMessages();
    EXPECT_EQ(script.shown[dialog], 1);
    EXPECT_EQ(script.unscripted, 0) << "a dialog opened that nobody asked for";
    EXPECT_FALSE(script.stuck);
}

TEST(FirstDialog, OpensOnceInAFreshProgram) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    for (std::size_t i = 0; i < Openings().size(); ++i) {
        SCOPED_TRACE(Openings()[i].what);
        testenv::TempDir dir;
        ::setenv(kRowVariable, std::to_string(i).c_str(), 1);
        // The report of this binary's own run is not the program's to write.
        const char* report = std::getenv("GTEST_OUTPUT");
        const bool reported = report != nullptr;
        const std::string kept = reported ? report : "";
        ::unsetenv("GTEST_OUTPUT");
        const testenv::ProcessResult r = testenv::RunProgram(
            self, {"--gtest_filter=FirstDialogInThisProgram.DISABLED_TheDialogOpensOnce", "--gtest_also_run_disabled_tests"},
            "", dir);
        ::unsetenv(kRowVariable);
        if (reported) ::setenv("GTEST_OUTPUT", kept.c_str(), 1);
        EXPECT_EQ(r.exit, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("[  PASSED  ] 1 test."), std::string::npos) << r.out;
    }
}

} // namespace
