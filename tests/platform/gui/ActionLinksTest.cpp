// What menu items and controls take from their actions, separators drawn as
// lines only, and the window actions of an MDI frame.
#include <QAction>
#include <QMenu>

#include "GuiTest.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdActns.h"
#include "platform/gui/StdCtrls.h"

namespace {

class ActionLinks : public GuiTest {};

// Each property follows the action until the client is given a value of its
// own, which it then keeps; a control's hint is the action's, or its caption
// without "&"; an action hidden before its item exists hides the item.
TEST_F(ActionLinks, ClientsFollowTheirActionExceptWhereGivenAValueOfTheirOwn) {
    TForm* form = MakeForm();
    auto* action = NewComponent<TAction>(form, "Action1");
    action->SetCaption("В&ставить"_a);
    auto* menu = NewComponent<TMainMenu>(form, "MainMenu1");
    TMenuItem* top = NewItem(menu->Items(), "Top", "&Правка"_a);
    auto item = [&](const char* name) {
        TMenuItem* m = NewItem(top, name, AnsiString());
        m->SetAction(action);
        return m;
    };
    TMenuItem *plain = item("Plain"), *own = item("Own"), *hidden = item("Hidden");
    own->SetCaption("Вставить фрагмент"_a);
    hidden->SetVisible(false);
    auto* button = NewControl<TButton>(form, form, "Button1");
    button->SetAction(action);
    EXPECT_EQ(button->Hint(), "Вставить"_a);
    button->SetCaption("Вставка"_a);

    action->SetCaption("Вставить"_a);
    action->SetHint("Из буфера"_a);
    action->SetVisible(false);
    action->SetVisible(true);
    action->SetEnabled(false);
    const std::tuple<TMenuItem*, const char*, bool> items[] = {
        {plain, "Вставить", true}, {own, "Вставить фрагмент", true}, {hidden, "Вставить", false}};
    for (const auto& [m, caption, visible] : items) {
        EXPECT_EQ(m->Caption(), Utf8ToAnsi(caption));
        EXPECT_EQ(m->Hint(), "Из буфера"_a);
        EXPECT_FALSE(m->Enabled());
        EXPECT_EQ(m->Visible(), visible) << caption;
    }
    EXPECT_EQ(button->Caption(), "Вставка"_a);
    EXPECT_EQ(button->Hint(), "Из буфера"_a);
    own->SetAction(action); // bound anew: everything from the action again
    EXPECT_EQ(own->Caption(), "Вставить"_a);
    EXPECT_EQ(StripHotkey("&&&Файл&"_a), "&Файл"_a);

    // A separator shows no caption beside its line.
    auto* redo = NewComponent<TAction>(form, "Redo");
    redo->SetVisible(false);
    TMenuItem* hiddenItem = NewItem(top, "Redo", AnsiString());
    hiddenItem->SetAction(redo);
    NewItem(top, "Sep", "-");
    QMenu* qmenu = top->QtMenu();
    EXPECT_FALSE(qmenu->actions()[3]->isVisible());
    EXPECT_TRUE(qmenu->actions()[4]->isSeparator());
    EXPECT_TRUE(qmenu->actions()[4]->text().isEmpty());
}

class Child : public TForm {
public:
    explicit Child(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

// With no child there is nothing to arrange: the window actions are
// disabled then, enabled while a child is open, and arrange when run.
TEST_F(ActionLinks, WindowActionsAreEnabledOnlyWhileTheFrameHasAChild) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 640, 480);
    Application->SetMainForm(frame);
    frame->Show();
    std::vector<TWindowAction*> actions{
        NewComponent<TWindowCascade>(frame, "Cascade"), NewComponent<TWindowTileHorizontal>(frame, "TileH"),
        NewComponent<TWindowTileVertical>(frame, "TileV"), NewComponent<TWindowMinimizeAll>(frame, "Minimize"),
        NewComponent<TWindowArrange>(frame, "Arrange")};
    for (TWindowAction* a : actions) EXPECT_FALSE(a->Execute()) << a->Name().c_str();
    Child* first = MakeForm<Child>();
    Child* second = MakeForm<Child>();
    for (TWindowAction* a : actions) {
        a->Update();
        EXPECT_TRUE(a->Enabled()) << a->Name().c_str();
    }
    ASSERT_TRUE(actions[2]->Execute()); // side by side
    EXPECT_EQ(first->Top(), second->Top());
    EXPECT_NE(first->Left(), second->Left());
    ASSERT_TRUE(actions[3]->Execute());
    EXPECT_EQ(second->WindowState(), wsMinimized);
}

} // namespace
