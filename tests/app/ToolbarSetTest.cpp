// The program's toolbars as a whole: the frame's docks and bars, the bars of
// the state-machine window, the CASE-forming window and the timing window.
#include "app/AppTest.h"

#include "debugger/ui/TimerUn.h"
#include "editor/Case.h"
#include "fsm/gui/FSMChild.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTlbr.h"
#include "toolbars/TBExTlwn.h"

namespace {

class ToolbarSet : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The frame registers the real state-machine window when nothing else is.
        FrameWindowFactories().FsmWindow = nullptr;
        StartFrame();
    }
};

int Separators(const TToolbarEx* bar) {
    int n = 0;
    for (int i = 0; i < bar->ControlCount(); ++i)
        if (dynamic_cast<TToolbarSepEx*>(bar->Controls(i))) ++n;
    return n;
}

TEST_F(ToolbarSet, EightBarsWithEighteenSeparatorsAndTheirKinds) {
    auto* fsm = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
    ASSERT_NE(fsm, nullptr);
    auto* caseWindow = static_cast<TfmCase*>(MakeCaseWindow(frame, dir.File("M1.tvc"), nullptr));
    ASSERT_NE(caseWindow, nullptr);
    struct Bar {
        const char* name;
        TToolbarEx* bar;
        int separators;
    };
    const Bar bars[] = {
        {"ToolBar2", frame->ToolBar2, 3},       {"ToolBar3", frame->ToolBar3, 2},
        {"ToolBar5", frame->ToolBar5, 1},       {"ToolB", frame->ToolB, 1},
        {"ToolbarEx1", frame->ToolbarEx1, 0},   {"state machine", fsm->ToolbarEx1, 5},
        {"CASE", caseWindow->ToolbarEx1, 2},    {"timing", TimersForm->ToolbarEx1, 4},
    };
    int separators = 0, hidden = 0, fixed = 0, noHandle = 0, fullWithoutClose = 0;
    for (const Bar& b : bars) {
        ASSERT_NE(b.bar, nullptr) << b.name;
        EXPECT_EQ(Separators(b.bar), b.separators) << b.name;
        separators += Separators(b.bar);
        hidden += b.bar->Visible() ? 0 : 1;
        fixed += b.bar->DockMode == dmCannotFloatOrChangeDocks ? 1 : 0;
        noHandle += b.bar->DragHandleStyle() == dhNone ? 1 : 0;
        fullWithoutClose += b.bar->FullSize() && !b.bar->CloseButton() ? 1 : 0;
    }
    EXPECT_EQ(separators, 18);
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(frame->ToolbarEx1->Visible());
    EXPECT_EQ(fixed, 1);
    EXPECT_EQ(caseWindow->ToolbarEx1->DockMode, dmCannotFloatOrChangeDocks);
    EXPECT_EQ(noHandle, 1);
    EXPECT_EQ(TimersForm->ToolbarEx1->DragHandleStyle(), dhNone);
    EXPECT_EQ(fullWithoutClose, 2);
    // Full size, the timing bar spans its dock.
    Application->ProcessMessages();
    EXPECT_EQ(TimersForm->ToolbarEx1->Width(), TimersForm->DockEx1->ClientWidth());
    Free(caseWindow);
}

// The left dock draws its right bound line and never collapses below one
// pixel, so that the line between it and the windows keeps its place.
TEST_F(ToolbarSet, TheLeftDockKeepsItsLineAndOnePixelWhenEmpty) {
    TDockEx* left = frame->DockBarLeft;
    EXPECT_EQ(left->Position(), dpLeft);
    EXPECT_TRUE(left->BoundLines() == TDockBoundLines{blRight});
    EXPECT_TRUE(left->FixAlign());
    Application->ProcessMessages();
    ASSERT_TRUE(frame->ToolB->Visible());
    ASSERT_FALSE(frame->ManagerWindow->Visible());
    EXPECT_EQ(left->Width(), frame->ToolB->GetDockRowSize() + 4 + 1) << "the row, its margin and the line";
    EXPECT_EQ(left->ClientWidth(), left->Width() - 1);

    frame->N14Click(frame->N14); // "Режимов": the mode bar goes
    Application->ProcessMessages();
    EXPECT_EQ(left->Width(), 1);
    frame->N26Click(frame->N26); // the project pane comes
    Application->ProcessMessages();
    ASSERT_TRUE(frame->ManagerWindow->Visible());
    EXPECT_EQ(left->Width(), frame->ManagerWindow->ClientAreaWidth() + 4 + 1);
    frame->N14Click(frame->N14);
}

// After the mode buttons the bar holds one more of their group, hidden and
// bound to nothing; pressing it releases them all.
TEST_F(ToolbarSet, TheModeBarEndsWithAHiddenButtonOfTheGroup) {
    TToolbarEx* bar = frame->ToolB;
    ASSERT_EQ(bar->ControlCount(), 9);
    auto* hidden = dynamic_cast<TToolbarButtonEx*>(bar->Controls(8));
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(hidden->Visible());
    EXPECT_EQ(hidden->GroupIndex(), 1);
    EXPECT_EQ(hidden->Action(), nullptr);
    EXPECT_FALSE(hidden->OnClick);
    int shown = 0;
    for (int i = 0; i < 8; ++i) shown += bar->Controls(i)->Visible() ? 1 : 0;
    EXPECT_EQ(shown, 8) << "seven mode buttons and a separator";
    ASSERT_TRUE(frame->ToolbarButtonEx1->Down());
    hidden->SetDown(true);
    for (int i = 0; i < 8; ++i) {
        auto* b = dynamic_cast<TToolbarButtonEx*>(bar->Controls(i));
        EXPECT_TRUE(!b || !b->Down()) << i;
    }
    frame->ToolbarButtonEx1->SetDown(true);
    EXPECT_FALSE(hidden->Down());
}

} // namespace
