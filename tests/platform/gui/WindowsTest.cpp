// Forms at run time: the menu bar and the client size, the MDI frame's
// window arrangements, a disabled frame during long work, and the placement
// of children that are minimised or maximised.
#include <functional>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "GuiTest.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Windows : public GuiTest {
protected:
    TForm* Frame() {
        TForm* frame = MakeForm();
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 640, 480);
        Application->SetMainForm(frame);
        frame->Show();
        QApplication::setActiveWindow(frame->Widget());
        return frame;
    }
    static QRect Area(TForm* frame) { return frame->MDIArea()->viewport()->rect(); }
};

class Child : public TForm {
public:
    explicit Child(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

// A dialog built the usual way: the menu and the client size are set in the
// constructor, before the window is ever shown.
class MenuDialog : public TForm {
public:
    explicit MenuDialog(TComponent* owner) : TForm(owner) {
        auto* menu = NewComponent<TMainMenu>(this, "MainMenu1");
        NewItem(menu->Items(), "N1", "&Файл"_a);
        SetMenu(menu);
        SetClientWidth(279);
        SetClientHeight(178);
        Panel = NewControl<TPanel>(this, this, "Panel1");
        Panel->SetAlign(alClient);
    }
    TPanel* Panel;
};

TEST_F(Windows, AMenuSetBeforeShowingTakesItsRoomAndClientSizesHoldAtRunTime) {
    auto* f = MakeForm<MenuDialog>();
    f->Show();
    auto* bar = f->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->height(), 0);
    EXPECT_EQ(f->ClientWidget()->y(), bar->height()); // the client starts below the menu
    EXPECT_EQ(f->ClientWidth(), 279);
    EXPECT_EQ(f->ClientHeight(), 178);
    EXPECT_EQ(f->Panel->BoundsRect(), Rect(0, 0, 279, 178));
    struct Size {
        int w, h;
    };
    for (Size s : {Size{300, 200}, Size{250, 150}, Size{279, 178}}) {
        f->SetClientWidth(s.w);
        EXPECT_EQ(f->ClientWidth(), s.w);
        f->SetClientHeight(s.h);
        EXPECT_EQ(f->ClientWidth(), s.w);
        EXPECT_EQ(f->ClientHeight(), s.h);
        EXPECT_EQ(f->Panel->BoundsRect(), Rect(0, 0, s.w, s.h));
    }
    // An MDI child sized by its client area at run time.
    TForm* frame = Frame();
    Child* c = MakeForm<Child>();
    (void)frame;
    c->SetClientWidth(200);
    c->SetClientHeight(120);
    EXPECT_EQ(c->ClientWidth(), 200);
    EXPECT_EQ(c->ClientHeight(), 120);
}

TEST_F(Windows, TheFrameTilesCascadesMinimisesAndArrangesItsChildren) {
    TForm* frame = Frame();
    std::vector<Child*> kids;
    for (int i = 0; i < 3; ++i) {
        kids.push_back(MakeForm<Child>());
        kids.back()->SetBounds(10 * i, 10 * i, 200, 150);
    }
    TForm* active = frame->ActiveMDIChild();
    ASSERT_EQ(active, kids[2]);
    const QRect a = Area(frame);

    // Tile: the children share the area without overlapping, horizontal
    // strips one above the other or vertical ones side by side.
    for (TTileMode mode : {tbHorizontal, tbVertical}) {
        frame->TileMode = mode;
        frame->Tile();
        int covered = 0;
        for (std::size_t i = 0; i < kids.size(); ++i) {
            TRect r = kids[i]->BoundsRect();
            covered += r.Width() * r.Height();
            EXPECT_EQ(mode == tbHorizontal ? r.Width() : r.Height(), mode == tbHorizontal ? a.width() : a.height()) << i;
            for (std::size_t j = 0; j < i; ++j) {
                TRect common;
                EXPECT_FALSE(IntersectRect(common, r, kids[j]->BoundsRect())) << i << " " << j;
            }
        }
        EXPECT_EQ(covered, a.width() * a.height()) << mode;
    }

    // Cascade: one size for all, large enough to work in, each title bar
    // below and right of the one under it; the active child stays on top.
    frame->Cascade();
    for (std::size_t i = 0; i < kids.size(); ++i) {
        EXPECT_EQ(kids[i]->WindowState(), wsNormal);
        EXPECT_EQ(kids[i]->Width(), kids[0]->Width());
        EXPECT_EQ(kids[i]->Height(), kids[0]->Height());
        EXPECT_GE(kids[i]->Width(), a.width() / 2);
        EXPECT_GE(kids[i]->Height(), a.height() / 2);
        EXPECT_LE(kids[i]->Left() + kids[i]->Width(), a.width());
        EXPECT_LE(kids[i]->Top() + kids[i]->Height(), a.height());
        if (i) {
            EXPECT_GT(kids[i]->Left(), kids[i - 1]->Left());
            EXPECT_GT(kids[i]->Top(), kids[i - 1]->Top());
        }
    }
    EXPECT_EQ(frame->ActiveMDIChild(), active);
    EXPECT_EQ(frame->MDIChildren(0), active);

    // Minimise all, move one icon away, arrange: icons in a row at the bottom.
    frame->MinimizeAll();
    for (Child* k : kids) EXPECT_EQ(k->WindowState(), wsMinimized);
    EXPECT_EQ(frame->MDIChildCount(), 3);
    kids[0]->SetBounds(300, 40, kids[0]->Width(), kids[0]->Height());
    frame->ArrangeIcons();
    std::vector<TRect> icons;
    for (Child* k : kids) icons.push_back(k->BoundsRect());
    std::sort(icons.begin(), icons.end(), [](const TRect& x, const TRect& y) { return x.Left < y.Left; });
    EXPECT_EQ(icons[0].Left, 0);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        EXPECT_EQ(icons[i].Bottom, a.height()) << i;
        if (i) {
            EXPECT_EQ(icons[i].Left, icons[i - 1].Right) << i;
        }
    }
    // Tile leaves icons alone and gives the area to the restored child.
    kids[1]->SetWindowState(wsNormal);
    frame->Tile();
    EXPECT_EQ(kids[1]->BoundsRect(), Rect(0, 0, a.width(), a.height()));
    EXPECT_EQ(kids[0]->WindowState(), wsMinimized);
}

// The children stay maximized while one goes: the child that becomes active
// in place of a maximized one that closes or hides takes the whole area; a
// child of normal size that goes changes no other.
TEST_F(Windows, AChildThatTakesOverFromAMaximizedOneThatGoesIsMaximized) {
    TForm* frame = Frame();
    std::vector<Child*> kids;
    for (int i = 0; i < 4; ++i) {
        kids.push_back(MakeForm<Child>());
        kids.back()->SetBounds(10 * i, 10 * i, 200, 150);
        kids.back()->OnClose = [this](TObject* sender, TCloseAction& action) {
            action = caFree;
            Forget(static_cast<TForm*>(sender));
        };
    }
    kids[3]->SetWindowState(wsMaximized);
    ASSERT_EQ(frame->ActiveMDIChild(), kids[3]);
    const std::function<void(TForm*)> ways[] = {[](TForm* f) { f->Close(); }, [](TForm* f) { f->Hide(); }};
    for (const auto& go : ways) {
        TForm* going = frame->ActiveMDIChild();
        ASSERT_NE(going, nullptr);
        ASSERT_EQ(going->WindowState(), wsMaximized);
        go(going);
        Application->ProcessMessages();
        TForm* next = frame->ActiveMDIChild();
        ASSERT_NE(next, nullptr);
        EXPECT_NE(next, going);
        EXPECT_EQ(next->WindowState(), wsMaximized);
    }
    TForm* going = frame->ActiveMDIChild();
    going->SetWindowState(wsNormal);
    Application->ProcessMessages();
    going->Close();
    Application->ProcessMessages();
    EXPECT_TRUE(kids[0]->Showing());
    EXPECT_EQ(kids[0]->WindowState(), wsNormal);
}

TEST_F(Windows, ADisabledFrameLetsNoInputReachItsChildrenUntilEnabledAgain) {
    TForm* frame = Frame();
    auto* frameList = NewComponent<TActionList>(frame, "ActionList1");
    auto* translate = NewComponent<TAction>(frame, "ExportSchemeAction");
    translate->SetActionList(frameList);
    translate->SetShortCut(ShortCut(VK_F8, 0));
    int translations = 0;
    translate->OnExecute = [&](TObject*) { ++translations; };
    Child* c = MakeForm<Child>();
    c->KeyPreview = true;
    auto* sheet = NewControl<TPaintBox>(c, c, "PaintBox1");
    sheet->SetBounds(0, 0, 100, 80);
    auto* edit = NewControl<TEdit>(c, c, "Edit1");
    edit->SetTop(90);
    std::vector<std::string> log;
    sheet->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("sheet down"); };
    sheet->OnClick = [&](TObject*) { log.push_back("sheet click"); };
    c->OnKeyUp = [&](TObject*, WORD&, TShiftState) { log.push_back("child key"); };
    edit->SetFocus();
    // Keys go where Qt sends them: the focus widget, or the active window
    // when no widget has the focus (a disabled one cannot keep it).
    auto key = [](QWidget* w, int k, const QString& text) {
        for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, k, Qt::NoModifier, text);
            QApplication::sendEvent(w, &e);
        }
    };
    auto input = [&] {
        ClickAt(sheet->Widget(), QPoint(5, 5));
        key(edit->Widget(), Qt::Key_A, "a");
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        key(target, Qt::Key_F8, "");
        Application->ProcessMessages();
    };

    frame->SetEnabled(false); // a translation runs
    input();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(edit->Text(), AnsiString(""));
    EXPECT_EQ(translations, 0);
    EXPECT_FALSE(frame->Enabled());
    EXPECT_TRUE(c->Enabled()); // the child's own state is untouched
    EXPECT_FALSE(sheet->Widget()->isEnabled());

    frame->SetEnabled(true);
    edit->SetFocus();
    input();
    // Key releases of "A" and of F8 (whose press ran the frame's shortcut).
    EXPECT_EQ(log, (std::vector<std::string>{"sheet down", "sheet click", "child key", "child key"}));
    EXPECT_EQ(edit->Text(), AnsiString("a"));
    EXPECT_EQ(translations, 1);
}

TEST_F(Windows, AChildKeepsItsNormalRectangleWhileMinimisedOrMaximisedAndComesBackToIt) {
    TForm* frame = Frame();
    Child* c = MakeForm<Child>();
    c->SetBounds(20, 30, 220, 160);
    const TRect normal = Rect(20, 30, 240, 190);
    struct Step {
        TWindowState state;
        unsigned showCmd;
    };
    for (Step s : {Step{wsMinimized, SW_SHOWMINIMIZED}, Step{wsMaximized, SW_SHOWMAXIMIZED}, Step{wsNormal, SW_SHOWNORMAL}}) {
        c->SetWindowState(s.state);
        TWindowPlacement wp;
        ASSERT_TRUE(c->GetWindowPlacement(wp));
        EXPECT_EQ(wp.showCmd, s.showCmd) << s.state;
        EXPECT_EQ(wp.rcNormalPosition, normal) << s.state;
    }
    EXPECT_EQ(c->BoundsRect(), normal);

    // Applying a stored placement: the state and the rectangle come back; a
    // rectangle wholly outside the frame's client area is pulled into it.
    const QRect a = Area(frame);
    struct Restore {
        unsigned showCmd;
        TRect in, out;
        TWindowState state;
    };
    const Restore restores[] = {
        {SW_SHOWMAXIMIZED, Rect(40, 50, 300, 250), Rect(40, 50, 300, 250), wsMaximized},
        {SW_SHOWNORMAL, Rect(a.width() + 100, 10, a.width() + 300, 110), Rect(a.width() - 200, 10, a.width(), 110), wsNormal},
        {SW_SHOWMINIMIZED, Rect(-500, -400, -300, -300), Rect(0, 0, 200, 100), wsMinimized},
    };
    for (const Restore& r : restores) {
        TWindowPlacement wp;
        wp.showCmd = r.showCmd;
        wp.rcNormalPosition = r.in;
        ASSERT_TRUE(c->SetWindowPlacement(wp));
        EXPECT_EQ(c->WindowState(), r.state) << r.showCmd;
        TWindowPlacement back;
        c->GetWindowPlacement(back);
        EXPECT_EQ(back.rcNormalPosition, r.out) << r.showCmd;
    }
    c->SetWindowState(wsNormal);
    EXPECT_EQ(c->BoundsRect(), Rect(0, 0, 200, 100));
    // An empty rectangle is refused and changes nothing.
    TWindowPlacement bad;
    bad.rcNormalPosition = Rect(50, 50, 50, 80);
    EXPECT_FALSE(c->SetWindowPlacement(bad));
    EXPECT_EQ(c->BoundsRect(), Rect(0, 0, 200, 100));
}

} // namespace
