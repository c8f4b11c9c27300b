// Shortcuts, actions and menus.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "GuiTest.h"
#include "platform/gui/ExtCtrls.h"
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

namespace {

class MenuItems : public GuiTest {};

// The scheme window's mode items: radio items of one group under "Режим",
// another group beside them, a plain check item and a toggled one.
TEST_F(MenuItems, RadioItemsKeepOneCheckPerGroupAndTheMenuShowsWhatTheItemsHold) {
    TForm* f = MakeForm();
    auto* menu = NewComponent<TMainMenu>(f, "MainMenu1");
    TMenuItem* mode = NewItem(menu->Items(), "N10", "Режим"_a);
    std::vector<TMenuItem*> modes;
    for (const char* caption : {"Выбор", "Перемещение", "Связь"}) {
        modes.push_back(NewItem(mode, "N1" + IntToStr(int(modes.size()) + 2), Utf8ToAnsi(caption)));
        modes.back()->SetRadioItem(true);
        modes.back()->SetGroupIndex(1);
    }
    TMenuItem* symbol = NewItem(mode, "N19", "Символ"_a);
    symbol->SetRadioItem(true);
    symbol->SetGroupIndex(2);
    TMenuItem* grid = NewItem(mode, "N30", "Сетка"_a);
    f->SetMenu(menu);
    f->Show();
    grid->SetChecked(true);
    symbol->SetChecked(true);
    modes[0]->SetChecked(true);
    modes[2]->SetChecked(true);
    auto checks = [&] {
        std::vector<bool> v;
        for (TMenuItem* i : {modes[0], modes[1], modes[2], symbol, grid}) {
            EXPECT_EQ(i->QtAction()->isChecked(), i->Checked()) << AnsiToUtf8(i->Caption());
            v.push_back(i->Checked());
        }
        return v;
    };
    EXPECT_EQ(checks(), (std::vector<bool>{false, false, true, true, true}));
    modes[2]->SetChecked(false); // a group may be left with none
    EXPECT_EQ(checks(), (std::vector<bool>{false, false, false, true, true}));

    // The user picks items: a click changes no check mark by itself (the
    // handler decides), unless the item checks itself automatically.
    modes[1]->OnClick = [&](TObject*) { modes[1]->SetChecked(true); };
    int gridClicks = 0;
    grid->OnClick = [&](TObject*) { ++gridClicks; };
    modes[1]->QtAction()->trigger();
    grid->QtAction()->trigger();
    symbol->QtAction()->trigger();
    EXPECT_EQ(gridClicks, 1);
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false, true, true}));
    std::vector<bool> seen;
    TMenuItem* manager = NewItem(mode, "N26", "Менеджер проекта"_a);
    manager->AutoCheck = true;
    manager->OnClick = [&](TObject*) { seen.push_back(manager->Checked()); };
    manager->QtAction()->trigger();
    manager->QtAction()->trigger();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(manager->QtAction()->isChecked());
}

TEST_F(MenuItems, GroupedActionsCheckOneAndTheirItemsFollow) {
    TForm* f = MakeForm();
    auto* list = NewComponent<TActionList>(f, "ActionList1");
    auto* menu = NewComponent<TPopupMenu>(f, "PopupMenu1");
    std::vector<TAction*> actions;
    std::vector<TMenuItem*> items;
    for (int i = 0; i < 3; ++i) {
        actions.push_back(NewComponent<TAction>(f, "SetModeAction" + IntToStr(i)));
        actions.back()->SetActionList(list);
        actions.back()->SetGroupIndex(i < 2 ? 3 : 0);
        items.push_back(NewItem(menu->Items(), "N" + IntToStr(i), ""));
        items.back()->SetAction(actions.back());
    }
    actions[2]->SetChecked(true);
    actions[0]->SetChecked(true);
    actions[1]->SetChecked(true);
    std::vector<bool> v;
    for (TMenuItem* i : items) v.push_back(i->Checked() && i->QtAction()->isChecked());
    EXPECT_EQ(v, (std::vector<bool>{false, true, true}));
    EXPECT_FALSE(actions[0]->Checked());
    actions[1]->SetVisible(false);
    EXPECT_FALSE(items[1]->Visible());
    EXPECT_FALSE(items[1]->QtAction()->isVisible());
    actions[1]->SetCaption("Связь"_a);
    EXPECT_EQ(items[1]->Caption(), "Связь"_a);
}

// The recent-projects manager puts numbered items under "Открыть проект
// снова" of the frame's menu at run time and takes them away again.
TEST_F(MenuItems, ItemsAddedUnderAnAttachedMenuShowAtOnceAndGoWithTheirDeletion) {
    TForm* f = MakeForm();
    auto* menu = NewComponent<TMainMenu>(f, "MainMenu1");
    TMenuItem* file = NewItem(menu->Items(), "N1", "&Файл"_a);
    NewItem(file, "N2", "&Новый"_a);
    TMenuItem* reopen = NewItem(file, "ReopenProject", "Открыть проект снова"_a);
    f->SetMenu(menu);
    f->Show();
    std::vector<int> chosen;
    std::vector<TMenuItem*> made;
    const char* names[] = {"C:\\w\\pump.prj", "C:\\w\\mill.prj", "D:\\old.prj"};
    for (int i = 0; i < 3; ++i) {
        if (i == 2) reopen->Add(NewItem(nullptr, "", "-"));
        auto* item = new TMenuItem(f);
        item->SetCaption("&" + IntToStr(i + 1) + " " + names[i]);
        item->SetHint(AnsiString(names[i]) + "|" + names[i]);
        item->Tag = i;
        item->OnClick = [&, item](TObject*) { chosen.push_back(item->Tag); };
        reopen->Add(item);
        made.push_back(item);
    }
    auto shown = [&] {
        std::vector<std::string> v;
        QMenu* sub = reopen->QtAction()->menu();
        if (sub)
            for (QAction* a : sub->actions()) v.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        return v;
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{"&1 C:\\w\\pump.prj", "&2 C:\\w\\mill.prj", "-", "&3 D:\\old.prj"}));
    // The frame's menu bar reaches the new items through "Файл".
    auto* bar = f->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->menu()->actions()[1], reopen->QtAction());

    made[1]->QtAction()->trigger();
    EXPECT_EQ(chosen, std::vector<int>{1});
    std::vector<AnsiString> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    made[2]->QtAction()->hover();
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, std::vector<AnsiString>{"D:\\old.prj"});

    made[2]->SetVisible(false);
    EXPECT_FALSE(made[2]->QtAction()->isVisible());
    Free(made[0]); // destroyed while still under the menu
    EXPECT_EQ(reopen->Count(), 3);
    EXPECT_EQ(reopen->IndexOf(made[1]), 0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"&2 C:\\w\\mill.prj", "-", "&3 D:\\old.prj"}));
    reopen->Delete(0); // taken out, not destroyed
    EXPECT_EQ(made[1]->Parent(), nullptr);
    reopen->Add(made[1]);
    EXPECT_EQ(made[1]->MenuIndex(), 2);
    EXPECT_THROW(file->Add(made[1]), EMenuError);
    reopen->Clear();
    EXPECT_EQ(reopen->Count(), 0);
    EXPECT_TRUE(shown().empty());
}

// The sheet's pop-up menu is swapped while an object is being placed; its
// handlers ask which control it opened on.
TEST_F(MenuItems, APopupMenuKnowsTheControlItOpenedOnUpdatesItsActionsAndMayBeSwapped) {
    TForm* f = MakeForm();
    auto* sheet = NewControl<TPaintBox>(f, f, "PaintBox1");
    sheet->SetBounds(0, 0, 100, 100);
    auto* list = NewComponent<TActionList>(f, "ActionList1");
    auto* paste = NewComponent<TAction>(f, "PasteAction");
    paste->SetActionList(list);
    paste->SetCaption("Вставить"_a);
    paste->OnUpdate = [&](TObject*) { paste->SetEnabled(false); };
    auto* normal = NewComponent<TPopupMenu>(f, "PopupMenu1");
    auto* placing = NewComponent<TPopupMenu>(f, "PopupMenu3");
    std::vector<std::string> log;
    auto opener = [](TPopupMenu* m) { return std::string(m->PopupComponent ? m->PopupComponent->Name().c_str() : "-"); };
    TMenuItem* select = NewItem(normal->Items(), "N1", "Выбор"_a, [&](TObject*) { log.push_back("select on " + opener(normal)); });
    TMenuItem* pasteItem = NewItem(normal->Items(), "N2", "");
    pasteItem->SetAction(paste);
    TMenuItem* cancel = NewItem(placing->Items(), "N3", "Отмена"_a, [&](TObject*) { log.push_back("cancel on " + opener(placing)); });
    normal->OnPopup = [&](TObject*) { log.push_back("popup"); };
    sheet->SetPopupMenu(normal);
    f->Show();
    bool pasteEnabledInMenu = true;
    auto rightClick = [&](TMenuItem* pick) {
        QTimer::singleShot(0, [&, pick] {
            QWidget* shown = QApplication::activePopupWidget();
            log.push_back(shown ? "shown" : "not shown");
            pasteEnabledInMenu = pasteItem->QtAction()->isEnabled();
            if (pick) pick->QtAction()->trigger();
            if (shown) shown->close();
        });
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), sheet->Widget()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(sheet->Widget(), &e);
    };
    rightClick(select);
    EXPECT_FALSE(pasteEnabledInMenu); // the action was updated before showing
    sheet->SetPopupMenu(placing);
    rightClick(cancel);
    Application->ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown", "select on PaintBox1", "shown", "cancel on PaintBox1"}));
    Free(placing); // the control forgets a menu that is gone
    EXPECT_EQ(sheet->PopupMenu(), nullptr);
}

} // namespace
