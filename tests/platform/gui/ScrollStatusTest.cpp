// The scheme window's sheet area and status line: a scroll box holding the
// drawing sheet (zoom resizes the sheet, the window's keys scroll it) and a
// status bar of six panels with a progress bar laid over panel 4.
#include <QScrollArea>
#include <QScrollBar>

#include "GuiTest.h"
#include "platform/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"

namespace {

class ScrollStatus : public GuiTest {
protected:
    struct Sheet {
        TForm* form;
        TScrollBox* box;
        TPaintBox* sheet;
    };
    Sheet SchemeArea() {
        TForm* f = MakeForm();
        f->SetBounds(0, 0, 300, 220);
        auto* box = NewControl<TScrollBox>(f, f, "ScrollBox1");
        box->SetAlign(alClient);
        box->HorzScrollBar()->SetIncrement(16);
        box->VertScrollBar()->SetIncrement(16);
        auto* pb = NewControl<TPaintBox>(f, box, "PaintBox1");
        pb->SetBounds(0, 0, 800, 600);
        EXPECT_TRUE(ShowActive(f));
        return {f, box, pb};
    }
};

TEST_F(ScrollStatus, TheScrollRangeFollowsTheSheetAndPositionsSetRightAfterAZoomHold) {
    Sheet s = SchemeArea();
    TControlScrollBar* h = s.box->HorzScrollBar();
    TControlScrollBar* v = s.box->VertScrollBar();
    EXPECT_EQ(h->Range(), 800);
    EXPECT_EQ(v->Range(), 600);
    EXPECT_EQ(h->Increment(), 16);
    // Zoom to 200 with the last point (100, 50): the sheet doubles, then the
    // positions are set at once.
    s.sheet->SetBounds(0, 0, 1600, 1200);
    h->SetPosition(100 * 200 / 100 - 100);
    v->SetPosition(50 * 200 / 100 - 50);
    EXPECT_EQ(h->Range(), 1600);
    EXPECT_EQ(h->Position(), 100);
    EXPECT_EQ(v->Position(), 50);
    // The sheet moves under the box: its screen origin follows the position.
    EXPECT_EQ(s.sheet->ClientOrigin().x, s.box->ClientOrigin().x - 100);
    EXPECT_EQ(s.sheet->ClientOrigin().y, s.box->ClientOrigin().y - 50);

    struct Clamp {
        int asked, got;
    };
    const int maxV = 1200 - s.box->ClientHeight();
    const Clamp clamps[] = {{-16, 0}, {maxV + 500, maxV}, {maxV - 1, maxV - 1}};
    for (const Clamp& c : clamps) {
        v->SetPosition(c.asked);
        EXPECT_EQ(v->Position(), c.got) << c.asked;
    }
    // Back to 100: a sheet no larger than the box leaves nothing to scroll.
    s.sheet->SetBounds(0, 0, 200, 100);
    h->SetPosition(0);
    v->SetPosition(40);
    EXPECT_EQ(h->Position(), 0);
    EXPECT_EQ(v->Position(), 0);
    EXPECT_EQ(v->Range(), 100);
    // A range set by the program holds whatever the children are.
    v->SetRange(1000);
    s.sheet->SetBounds(0, 0, 200, 2000);
    EXPECT_EQ(v->Range(), 1000);
    EXPECT_FALSE(v->AutoRange);
}

TEST_F(ScrollStatus, OnlyTheWindowsKeyHandlerScrollsTheBoxAndAClickBesideTheSheetIsTheBoxs) {
    Sheet s = SchemeArea();
    // The scheme window moves the view on key release, 32 pixels an arrow.
    s.form->KeyPreview = true;
    s.form->OnKeyUp = [&](TObject*, WORD& key, TShiftState) {
        TControlScrollBar* v = s.box->VertScrollBar();
        if (key == VK_DOWN) v->SetPosition(v->Position() + 32);
        if (key == VK_NEXT) v->SetPosition(v->Position() + s.box->Height() / 2);
    };
    int boxClicks = 0, sheetClicks = 0;
    s.box->OnClick = [&](TObject*) { ++boxClicks; };
    s.sheet->OnClick = [&](TObject*) { ++sheetClicks; };
    QTest::mouseClick(s.sheet->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(sheetClicks, 1);
    EXPECT_EQ(boxClicks, 0);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(GetParentForm(Screen->ActiveControl()), s.form);
    Key(Qt::Key_Down);
    EXPECT_EQ(s.box->VertScrollBar()->Position(), 32);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(s.box->VertScrollBar()->Position(), 32 + s.box->Height() / 2);
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    EXPECT_EQ(s.box->VertScrollBar()->Position(), 32 + s.box->Height() / 2);
    EXPECT_EQ(s.box->HorzScrollBar()->Position(), 0);

    // A sheet smaller than the box: a click beside it belongs to the box.
    s.box->VertScrollBar()->SetPosition(0);
    s.sheet->SetBounds(0, 0, 100, 60);
    ClickAt(s.box->ClientWidget(), QPoint(200, 150));
    EXPECT_EQ(boxClicks, 1);
    EXPECT_EQ(sheetClicks, 1);
}

TEST_F(ScrollStatus, ABoxThatShrinksShowsNoBarWhileItsChildrenStillFit) {
    Sheet s = SchemeArea();
    s.sheet->SetBounds(0, 0, 100, 100);
    auto* area = static_cast<QScrollArea*>(s.box->Widget());
    Application->ProcessMessages();
    ASSERT_FALSE(area->verticalScrollBar()->isVisible());
    for (int height : {217, 200, 160}) {
        s.form->SetHeight(height);
        Application->ProcessMessages();
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << height;
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << height;
    }
    s.sheet->SetBounds(0, 0, 100, 400); // now it does not fit
    Application->ProcessMessages();
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
}

TEST_F(ScrollStatus, StatusPanelsLieSideBySideAndABarLaidOverPanelFourStaysThere) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 800, 572);
    auto* sb = NewControl<TStatusBar>(f, f, "StatusBar");
    for (int w : {50, 120, 350, 100, 180, 50}) sb->Panels()->Add()->SetWidth(w);
    auto* bar = NewControl<TProgressBar>(f, sb, "ProgressBar");
    TRect r4 = sb->PanelRect(4);
    bar->SetBounds(r4.Left, r4.Top, sb->Panels()->Items(4)->Width(), r4.Height());
    bar->Hide();
    f->Show();
    EXPECT_EQ(sb->Align(), alBottom);
    EXPECT_EQ(sb->Top() + sb->Height(), f->ClientHeight());
    EXPECT_EQ(sb->Width(), f->ClientWidth());
    struct Panel {
        int left, right;
    };
    const int cw = sb->ClientWidth();
    const Panel panels[] = {{0, 50}, {52, 172}, {174, 524}, {526, 626}, {628, 808}, {810, std::max(cw, 811)}};
    for (int i = 0; i < 6; ++i) {
        TRect r = sb->PanelRect(i);
        EXPECT_EQ(r.Left, panels[i].left) << i;
        EXPECT_EQ(r.Right, panels[i].right) << i;
        EXPECT_EQ(r.Top, 2) << i;
        EXPECT_EQ(r.Bottom, sb->ClientHeight()) << i;
    }
    EXPECT_TRUE(IsRectEmpty(sb->PanelRect(6)));
    EXPECT_TRUE(IsRectEmpty(sb->PanelRect(-1)));

    // The loader shows the bar while it works; the bar stays over panel 4
    // when the window is resized.
    bar->Show();
    bar->SetPosition(40);
    f->SetBounds(0, 0, 900, 500);
    EXPECT_EQ(sb->Top() + sb->Height(), f->ClientHeight());
    EXPECT_EQ(bar->BoundsRect(), Rect(628, 2, 808, sb->ClientHeight()));
    EXPECT_TRUE(bar->Showing());
    EXPECT_EQ(bar->Position(), 40);

    // Each text is drawn in its own panel.
    sb->Panels()->Items(0)->SetText("125:40");
    sb->Panels()->Items(1)->SetText("Выбор"_a);
    sb->Panels()->Items(3)->SetText("Zoom:100");
    std::vector<TCanvasText> texts;
    sb->Canvas()->OnText = [&](const TCanvasText& t) {
        if (!t.Text.IsEmpty()) texts.push_back(t);
    };
    sb->Repaint();
    ASSERT_EQ(texts.size(), 3u);
    const int panelOf[] = {0, 1, 3};
    for (int i = 0; i < 3; ++i) {
        TRect r = sb->PanelRect(panelOf[i]);
        EXPECT_GE(texts[i].Box.Left, r.Left) << texts[i].Text.c_str();
        EXPECT_LT(texts[i].Box.Left, r.Right) << texts[i].Text.c_str();
    }
    EXPECT_EQ(texts[2].Text, AnsiString("Zoom:100"));

    // A simple panel shows its one text instead of the panels.
    sb->SetSimplePanel(true);
    sb->SetSimpleText("Трансляция"_a);
    texts.clear();
    sb->Repaint();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, "Трансляция"_a);
    sb->SetSimplePanel(false);
    sb->Panels()->Delete(0);
    EXPECT_EQ(sb->PanelRect(0).Right, 120);
    EXPECT_THROW(sb->Panels()->Items(5), EListError);
}

} // namespace
