// Lists, memos, buttons of the several kinds, pages, scroll boxes, up-down
// buttons, splitters and grid editing.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

#include "GuiTest.h"
#include "common/TestEnv.h"
#include "platform/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

namespace {

class MoreControls : public GuiTest {};

TEST_F(MoreControls, MemoLinesAndTextUseCrLfAndSurviveAFileRoundTrip) {
    TForm* f = MakeForm();
    auto* m = NewControl<TMemo>(f, f, "Memo1");
    int changes = 0;
    m->OnChange = [&](TObject*) { ++changes; };
    m->Lines()->Add("Версия 1.2"_a);
    m->Lines()->Add("");
    m->Lines()->Add("конец"_a);
    EXPECT_EQ(m->Lines()->Count(), 3);
    EXPECT_EQ(m->Text(), "Версия 1.2\r\n\r\nконец\r\n"_a);
    EXPECT_GT(changes, 0);
    m->Lines()->Delete(1);
    EXPECT_EQ(m->Lines()->Get(1), "конец"_a);
    testenv::TempDir dir;
    AnsiString file = dir.File("readme.txt");
    m->Lines()->SaveToFile(file);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "readme.txt"), AnsiToUtf8("") + std::string("\xC2\xE5\xF0\xF1\xE8\xFF 1.2\r\n\xEA\xEE\xED\xE5\xF6\r\n"));
    m->Clear();
    EXPECT_EQ(m->Lines()->Count(), 0);
    m->Lines()->LoadFromFile(file);
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Get(0), "Версия 1.2"_a);
    EXPECT_FALSE(m->Modified);
    EXPECT_TRUE(m->WantsKey(VK_RETURN));
    m->WantReturns = false;
    EXPECT_FALSE(m->WantsKey(VK_RETURN));
}

TEST_F(MoreControls, ListBoxKeepsObjectsSelectsManyAndDrawsItsItemsThroughTheHook) {
    TForm* f = MakeForm();
    auto* lb = NewControl<TListBox>(f, f, "ListElementBox");
    lb->SetBounds(0, 0, 150, 120);
    TObject a, b;
    lb->Items()->AddObject("AND1 - 1", &a);
    lb->Items()->AddObject("OR2 - 2", &b);
    lb->Items()->Add("X1");
    EXPECT_EQ(lb->Items()->Objects(1), &b);
    EXPECT_EQ(lb->ItemIndex(), -1);
    EXPECT_THROW(lb->Selected(3), EStringListError);
    lb->SetMultiSelect(true);
    lb->SetSelected(0, true);
    lb->SetSelected(2, true);
    EXPECT_TRUE(lb->Selected(2));
    EXPECT_FALSE(lb->Selected(1));
    EXPECT_EQ(lb->SelCount(), 2);
    lb->Items()->Delete(0);
    EXPECT_EQ(lb->Items()->Objects(0), &b);

    std::vector<int> drawn;
    lb->SetStyle(lbOwnerDrawFixed);
    lb->SetItemHeight(18);
    lb->OnDrawItem = [&](TWinControl*, int index, TRect r, TOwnerDrawState) {
        drawn.push_back(index);
        lb->Canvas()->Brush()->SetColor(clLime);
        lb->Canvas()->FillRect(r);
    };
    f->Show();
    QImage shot = lb->List()->viewport()->grab().toImage();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0), drawn.end());
    EXPECT_EQ(shot.pixel(20, 5) & 0xFFFFFF, 0x00FF00u);
    TRect r1 = lb->ItemRect(1);
    EXPECT_EQ(r1.Height(), 18);
    EXPECT_EQ(lb->ItemAtPos(TPoint(r1.Left + 3, r1.Top + 3), true), 1);
    EXPECT_EQ(lb->ItemAtPos(TPoint(10, 110), true), -1);
    EXPECT_EQ(lb->ItemAtPos(TPoint(10, 110), false), 2);
}

TEST_F(MoreControls, CheckListBoxStatesFromCodeDoNotClickCheck) {
    TForm* f = MakeForm();
    auto* cl = NewControl<TCheckListBox>(f, f, "inBox");
    cl->AllowGrayed = true;
    cl->Items()->Add("x1");
    cl->Items()->Add("x2");
    int clicks = 0;
    cl->OnClickCheck = [&](TObject*) { ++clicks; };
    cl->SetState(1, cbGrayed);
    cl->SetChecked(0, true);
    EXPECT_EQ(cl->State(1), cbGrayed);
    EXPECT_TRUE(cl->Checked(0));
    EXPECT_EQ(clicks, 0);
    cl->List()->item(0)->setCheckState(Qt::Unchecked); // as the user's click does
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(cl->Checked(0));
}

TEST_F(MoreControls, BitBtnKindsGiveTheirResultsAndRoles) {
    struct Case {
        TBitBtnKind kind;
        int result;
        bool isDefault, isCancel;
    };
    const Case cases[] = {{bkOK, mrOk, true, false}, {bkCancel, mrCancel, false, true}, {bkYes, mrYes, true, false},
                          {bkNo, mrNo, false, true}, {bkAbort, mrAbort, false, true}, {bkCustom, mrNone, false, false}};
    TForm* f = MakeForm();
    for (const Case& c : cases) {
        auto* b = new TBitBtn(f);
        b->SetKind(c.kind);
        EXPECT_EQ(b->ModalResult, c.result) << c.kind;
        EXPECT_EQ(b->Default(), c.isDefault) << c.kind;
        EXPECT_EQ(b->Cancel(), c.isCancel) << c.kind;
    }
    auto* yes = new TBitBtn(f);
    yes->SetKind(bkYes);
    yes->SetCaption("Да"_a);
    EXPECT_EQ(yes->Caption(), "Да"_a);
    EXPECT_EQ(yes->ModalResult, mrYes);
}

TEST_F(MoreControls, SpeedButtonsOfAGroupKeepOneDown) {
    TForm* f = MakeForm();
    auto* a = NewControl<TSpeedButton>(f, f, "A");
    auto* b = NewControl<TSpeedButton>(f, f, "B");
    a->SetDown(true); // no group: stays up
    EXPECT_FALSE(a->Down());
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    b->SetDown(false); // the last one down cannot be raised
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    b->SetDown(false);
    EXPECT_FALSE(b->Down());
    f->Show();
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    QTest::mouseClick(a->Widget(), Qt::LeftButton);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 1);
}

TEST_F(MoreControls, PageControlSwitchesPagesAndHidesTabs) {
    TForm* f = MakeForm();
    auto* pc = NewControl<TPageControl>(f, f, "PageControl1");
    auto* p1 = NewControl<TTabSheet>(f, nullptr, "TabSheet1");
    p1->SetCaption("Параметры"_a);
    p1->SetPageControl(pc);
    auto* p2 = NewControl<TTabSheet>(f, nullptr, "TabSheet2");
    p2->SetCaption("Выводы"_a);
    p2->SetPageControl(pc);
    auto* edit = NewControl<TEdit>(f, p2, "Edit1");
    EXPECT_EQ(edit->Parent(), p2);
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePage(), p1);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    pc->SetActivePage(p2);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pc->FindNextPage(p2, true, true), p1);
    p1->SetTabVisible(false);
    EXPECT_EQ(pc->FindNextPage(p2, true, true), p2);
    EXPECT_EQ(p2->PageIndex(), 1);
}

TEST_F(MoreControls, ScrollBoxRangeFollowsTheChild) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 300, 200);
    auto* sb = NewControl<TScrollBox>(f, f, "ScrollBox1");
    sb->SetAlign(alClient);
    auto* pb = NewControl<TPaintBox>(f, sb, "PaintBox1");
    pb->SetBounds(0, 0, 800, 600);
    f->Show();
    Application->ProcessMessages();
    EXPECT_GE(sb->ClientWidget()->width(), 800);
    EXPECT_GE(sb->ClientWidget()->height(), 600);
    sb->VertScrollBar()->SetIncrement(16);
    sb->VertScrollBar()->SetPosition(100);
    EXPECT_EQ(sb->VertScrollBar()->Position(), 100);
    sb->HorzScrollBar()->SetPosition(100000); // clamped
    EXPECT_LE(sb->HorzScrollBar()->Position(), 800);
    pb->SetBounds(0, 0, 100, 50);
    Application->ProcessMessages();
    EXPECT_EQ(sb->VertScrollBar()->Position(), 0);
}

TEST_F(MoreControls, UpDownStepsWrapsAndShowsItsPositionInTheAssociate) {
    TForm* f = MakeForm();
    auto* e = NewControl<TEdit>(f, f, "Edit");
    auto* ud = NewControl<TUpDown>(f, f, "UpDown");
    ud->SetMin(0);
    ud->SetMax(2);
    ud->SetAssociate(e);
    std::vector<TUDBtnType> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ud->Click(btNext);
    ud->Click(btNext);
    ud->Click(btNext);
    EXPECT_EQ(ud->Position(), 2);
    ud->Wrap = true;
    ud->Click(btNext);
    EXPECT_EQ(ud->Position(), 0);
    EXPECT_EQ(e->Text(), AnsiString("0"));
    ud->OnChanging = [](TObject*, bool& allow) { allow = false; };
    ud->Click(btPrev);
    EXPECT_EQ(ud->Position(), 0);
    EXPECT_EQ(clicks.size(), 5u);
}

TEST_F(MoreControls, SplitterResizesTheControlAlignedBeforeItNotBelowItsMinimum) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 400, 200);
    auto* left = NewControl<TPanel>(f, f, "Left");
    left->SetWidth(100);
    left->SetAlign(alLeft);
    auto* sp = NewControl<TSplitter>(f, f, "Splitter1");
    sp->SetLeft(150);
    sp->SetAlign(alLeft);
    sp->MinSize = 40;
    f->Show();
    EXPECT_EQ(sp->Left(), 100);
    int moved = 0;
    sp->OnMoved = [&](TObject*) { ++moved; };
    QWidget* w = sp->Widget();
    Send(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(1, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(31, 10), QPointF(w->mapToGlobal(QPoint(31, 10))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    EXPECT_EQ(left->Width(), 130);
    QMouseEvent far(QEvent::MouseMove, QPointF(-500, 10), QPointF(w->mapToGlobal(QPoint(-500, 10))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &far);
    EXPECT_EQ(left->Width(), 40);
    Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(-500, 10));
    EXPECT_EQ(moved, 1);
}

TEST_F(MoreControls, AnEditingGridTakesTypedTextIntoTheCell) {
    TForm* f = MakeForm();
    auto* g = NewControl<TStringGrid>(f, f, "InSG");
    g->SetBounds(0, 0, 300, 150);
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetOptions(g->Options() | goEditing);
    std::vector<AnsiString> set;
    g->OnSetEditText = [&](TObject*, int, int, const AnsiString& v) { set.push_back(v); };
    ASSERT_TRUE(ShowActive(f));
    g->SetFocus();
    QTest::keyClick(g->Widget(), Qt::Key_Q);
    ASSERT_TRUE(g->EditorMode());
    QTest::keyClicks(QApplication::focusWidget(), "in");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Application->ProcessMessages();
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(1, 1), AnsiString("qin"));
    EXPECT_EQ(set, std::vector<AnsiString>{"qin"});
}

} // namespace
