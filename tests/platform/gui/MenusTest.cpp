// Shortcuts, actions and menus.
#include "GuiTest.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Menus : public GuiTest {};

TEST_F(Menus, ShortCutTextRoundTrips) {
    struct Case {
        TShortCut s;
        const char* text;
    };
    const Case cases[] = {
        {ShortCut('N', ssCtrl), "Ctrl+N"},      {ShortCut(VK_F9, ssCtrl), "Ctrl+F9"},
        {ShortCut(VK_F11, ssCtrl | ssShift), "Shift+Ctrl+F11"}, {ShortCut(VK_DELETE, 0), "Del"},
        {ShortCut(VK_RETURN, ssAlt), "Alt+Enter"}, {ShortCut('0', ssAlt), "Alt+0"}, {ShortCut('E', 0), "E"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.s), AnsiString(c.text));
        EXPECT_EQ(TextToShortCut(c.text), c.s) << c.text;
    }
    EXPECT_TRUE(IsLetterShortCut(ShortCut('E', 0)));
    EXPECT_FALSE(IsLetterShortCut(ShortCut('E', ssCtrl)));
    EXPECT_FALSE(IsLetterShortCut(ShortCut(VK_F8, 0)));
}

class Child : public TForm {
public:
    explicit Child(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

TEST_F(Menus, AShortcutHeldByTheFrameAndTheChildFiresExactlyOnce) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    Application->SetMainForm(frame);
    auto* frameList = NewComponent<TActionList>(frame, "ActionList1");
    auto* frameCopy = NewComponent<TAction>(frame, "CopyAction");
    frameCopy->SetActionList(frameList);
    frameCopy->SetShortCut(ShortCut('C', ssCtrl));
    int frameRuns = 0;
    frameCopy->OnExecute = [&](TObject*) { ++frameRuns; };
    auto* frameF5 = NewComponent<TAction>(frame, "RedrawAction");
    frameF5->SetActionList(frameList);
    frameF5->SetShortCut(ShortCut(VK_F5, 0));
    int redraws = 0;
    frameF5->OnExecute = [&](TObject*) { ++redraws; };
    frame->Show();
    QApplication::setActiveWindow(frame->Widget());

    Child* child = MakeForm<Child>();
    auto* childList = NewComponent<TActionList>(child, "ChildActionList");
    auto* childCopy = NewComponent<TAction>(child, "CopyAction");
    childCopy->SetActionList(childList);
    childCopy->SetShortCut(ShortCut('C', ssCtrl));
    int childRuns = 0;
    childCopy->OnExecute = [&](TObject*) { ++childRuns; };
    auto* pb = NewControl<TEdit>(child, child, "Edit");
    pb->SetFocus();
    ASSERT_EQ(GetParentForm(Screen->ActiveControl()), child);

    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(childRuns, 1);
    EXPECT_EQ(frameRuns, 0);
    // A key only the frame holds reaches it from the child.
    Key(Qt::Key_F5);
    EXPECT_EQ(redraws, 1);
    // A disabled child action gives the key to no one else in the child.
    childCopy->OnUpdate = [&](TObject*) { childCopy->SetEnabled(false); };
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(childRuns, 1);
    EXPECT_EQ(frameRuns, 1);
}

TEST_F(Menus, ALetterShortcutActsOnlyInTheWindowThatOwnsItAndNotWhileTyping) {
    TForm* main = MakeForm();
    Application->SetMainForm(main);
    auto* list = NewComponent<TActionList>(main, "ActionList1");
    auto* device = NewComponent<TAction>(main, "DeviceAction");
    device->SetActionList(list);
    device->SetCaption("Устройство"_a);
    device->SetShortCut(ShortCut('E', 0));
    int runs = 0;
    device->OnExecute = [&](TObject*) { ++runs; };
    auto* button = NewControl<TButton>(main, main, "Button");
    auto* edit = NewControl<TEdit>(main, main, "Edit");
    edit->SetTop(40);
    main->Show();

    TForm* other = MakeForm();
    auto* otherButton = NewControl<TButton>(other, other, "Button");
    other->Show();
    QApplication::setActiveWindow(other->Widget());
    otherButton->SetFocus();
    Key(Qt::Key_E);
    EXPECT_EQ(runs, 0);

    QApplication::setActiveWindow(main->Widget());
    button->SetFocus();
    Key(Qt::Key_E);
    EXPECT_EQ(runs, 1);
    edit->SetFocus();
    Key(Qt::Key_E);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(edit->Text(), AnsiString("e"));
}

TEST_F(Menus, LinkedMenuItemsAndButtonsMirrorTheActionAndUpdateRunsAtIdle) {
    TForm* f = MakeForm();
    auto* list = NewComponent<TActionList>(f, "ActionList1");
    auto* paste = NewComponent<TAction>(f, "PasteAction");
    paste->SetActionList(list);
    paste->SetCaption("В&ставить"_a);
    paste->SetShortCut(ShortCut('V', ssCtrl));
    bool available = false;
    paste->OnUpdate = [&](TObject*) { paste->SetEnabled(available); };
    int runs = 0;
    paste->OnExecute = [&](TObject*) { ++runs; };
    auto* menu = NewComponent<TMainMenu>(f, "MainMenu1");
    TMenuItem* edit = NewItem(menu->Items(), "N1", "&Редактировать"_a);
    TMenuItem* item = NewItem(edit, "N2", "");
    item->SetAction(paste);
    f->SetMenu(menu);
    auto* button = NewControl<TButton>(f, f, "PasteButton");
    button->SetAction(paste);
    f->Show();

    EXPECT_EQ(item->Caption(), "В&ставить"_a);
    EXPECT_EQ(item->ShortCut(), ShortCut('V', ssCtrl));
    EXPECT_EQ(button->Caption(), "В&ставить"_a);
    Application->Idle();
    EXPECT_FALSE(paste->Enabled());
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(button->Enabled());
    available = true;
    paste->Update();
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(button->Enabled());
    item->Click();
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(runs, 2);
    paste->SetChecked(true);
    EXPECT_TRUE(item->Checked());

    // Items are inserted and removed in place.
    TMenuItem* first = new TMenuItem(f);
    first->SetCaption("Вырезать"_a);
    edit->Insert(0, first);
    EXPECT_EQ(edit->IndexOf(item), 1);
    edit->Remove(first);
    EXPECT_EQ(edit->Count(), 1);
    EXPECT_EQ(item->MenuIndex(), 0);
}

} // namespace
