// A form's actions and menu items made from tables of rows.
#include <string>
#include <vector>

#include "GuiTest.h"
#include "platform/gui/ActionTable.h"
#include "platform/gui/StdActns.h"

namespace {

// A form that logs which of its handlers ran, with the sender.
class TTableForm : public TForm {
public:
    explicit TTableForm(TComponent* owner) : TForm(owner) {}
    void OpenExecute(TObject* sender) { Log("open", sender); }
    void OpenUpdate(TObject* sender) { static_cast<TAction*>(sender)->SetEnabled(openAllowed); }
    void ItemClick(TObject* sender) { Log("item", sender); }
    TAction* Open = nullptr;
    TMenuItem* Recent = nullptr;
    bool openAllowed = false;
    std::vector<std::string> calls;

    void Log(const char* what, TObject* sender) {
        auto* c = dynamic_cast<TComponent*>(sender);
        calls.push_back(std::string(what) + ":" + (c ? c->Name().c_str() : "?"));
    }
};

void Close(TTableForm& form, TObject* sender) { form.Log("close", sender); }

TAction* Cascade(TTableForm& form) { return new TWindowCascade(&form); }

using Row = TActionRow<TTableForm>;
using Item = TMenuRow<TTableForm>;
using F = TTableForm;

class ActionTable : public GuiTest {
protected:
    TTableForm* form = MakeForm<TTableForm>();
    TActionList* list = NewComponent<TActionList>(form, "List");

    TAction* Action(const char* name) { return static_cast<TAction*>(form->FindComponent(name)); }
};

TEST_F(ActionTable, RowsMakeTheActionsInOrderWithWhatTheyDeclare) {
    static const Row rows[] = {
        {"OpenAction", "&Открыть", "Ctrl+Shift+F11", "Открыть файл", 3, &F::OpenExecute, &F::OpenUpdate, &F::Open},
        {"CloseAction", "Закрыть", "Del", "", -1, Close, {}, nullptr, cfHidden},
        {"KeptAction", "Kept", "Alt+0"},
        {"CascadeAction", "Каскадом", "", "", 8, {}, {}, nullptr, 0, Cascade},
    };
    NewActions(list, form, rows);

    ASSERT_EQ(list->ActionCount(), 4);
    std::vector<AnsiString> names;
    for (int i = 0; i < list->ActionCount(); ++i) names.push_back(list->Actions(i)->Name());
    EXPECT_EQ(names, (std::vector<AnsiString>{"OpenAction", "CloseAction", "KeptAction", "CascadeAction"}));
    TAction* open = form->Open;
    ASSERT_EQ(open, Action("OpenAction"));
    EXPECT_EQ(open->Caption(), "&Открыть"_a);
    EXPECT_EQ(open->ShortCut(), ShortCut(VK_F11, ssCtrl | ssShift));
    EXPECT_EQ(open->Hint(), "Открыть файл"_a);
    EXPECT_EQ(open->ImageIndex(), 3);
    EXPECT_TRUE(open->Visible());
    EXPECT_FALSE(Action("CloseAction")->Visible());
    EXPECT_EQ(Action("CloseAction")->ShortCut(), ShortCut(VK_DELETE, 0));
    // The window arrangement is of its own class and keeps its own enabling.
    EXPECT_NE(dynamic_cast<TWindowCascade*>(Action("CascadeAction")), nullptr);
    EXPECT_EQ(Action("CascadeAction")->ImageIndex(), 8);
    EXPECT_FALSE(Action("CascadeAction")->OnExecute);

    // Members and functions run on the form, given the action; the update
    // rule decides first.
    open->Execute();
    Action("CloseAction")->Execute();
    EXPECT_FALSE(open->Enabled());
    form->openAllowed = true;
    open->Execute();
    EXPECT_TRUE(open->Enabled());
    EXPECT_EQ(form->calls, (std::vector<std::string>{"close:CloseAction", "open:OpenAction"}));
}

TEST_F(ActionTable, AnActionWithNothingToRunStartsDisabledAndLeavesItsKeyToOthers) {
    static const Row rows[] = {
        {"KeptAction", "Kept", "F5"},
        {"RunAction", "Run", "", "", -1, Close, {}, nullptr, cfDisabled},
        {"FreeAction", "Free", "", "", -1, Close},
    };
    NewActions(list, form, rows);
    EXPECT_FALSE(Action("KeptAction")->Enabled());
    EXPECT_FALSE(Action("RunAction")->Enabled());
    EXPECT_TRUE(Action("FreeAction")->Enabled());
    EXPECT_FALSE(list->IsShortCut(ShortCut(VK_F5, 0)));
}

TEST_F(ActionTable, AKeyOrAnActionThatDoesNotExistIsRefusedByName) {
    static const Row badKey[] = {{"OpenAction", "Open", "Ctrl+Nope"}};
    try {
        NewActions(list, form, badKey);
        ADD_FAILURE() << "a key that does not exist was taken";
    } catch (const EMenuError& e) {
        EXPECT_EQ(e.Message, AnsiString("No key is called Ctrl+Nope"));
    }
    static const Item badAction[] = {{0, "", "MissingAction"}};
    auto* menu = NewComponent<TPopupMenu>(form, "Menu");
    TMenuNumbering numbering;
    try {
        NewMenuItems(menu->Items(), form, badAction, numbering);
        ADD_FAILURE() << "an action that does not exist was shown";
    } catch (const EMenuError& e) {
        EXPECT_EQ(e.Message, AnsiString("No action is called MissingAction"));
    }
}

// The tree of a menu as text: one line an item, indented by depth.
void Describe(TMenuItem* parent, int depth, std::vector<std::string>& out) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* m = parent->Items(i);
        std::string line = std::string(std::size_t(depth) * 2, ' ') + m->Name().c_str() + " " + m->Caption().c_str();
        if (!m->Visible()) line += " hidden";
        if (!m->Enabled()) line += " disabled";
        if (m->Checked()) line += " checked";
        if (m->ShortCut()) line += std::string(" ") + ShortCutToText(m->ShortCut()).c_str();
        if (!m->Hint().IsEmpty()) line += std::string(" hint=") + m->Hint().c_str();
        out.push_back(line);
        Describe(m, depth + 1, out);
    }
}

TEST_F(ActionTable, MenuRowsBuildTheTreeByLevelAndNumberTheItemsWithoutAName) {
    static const Row actions[] = {
        {"OpenAction", "Open", "Ctrl+O", "", -1, &F::OpenExecute, {}, &F::Open},
        {"CloseAction", "Close", "", "", -1, Close},
    };
    NewActions(list, form, actions);
    static const Item rows[] = {
        {0, "File", nullptr, 0, nullptr, nullptr, {}, "Files"},
        {1, "", "OpenAction"},
        {1, "-", nullptr, cfHidden},
        {1, "Recent", nullptr, cfDisabled, "RecentItem", &F::Recent},
        {2, "a"},
        {1, "Shut", "CloseAction"},
        {0, "Tools", nullptr, cfHidden},
        {1, "Run", nullptr, cfChecked, "RunItem", nullptr, &F::ItemClick, "", "Ctrl+F6"},
    };
    auto* menu = NewComponent<TMainMenu>(form, "Main");
    auto* popup = NewComponent<TPopupMenu>(form, "Popup");
    static const Item popupRows[] = {{0, "-"}, {0, "", "CloseAction"}};
    TMenuNumbering numbering{.Line = "Line"};
    NewMenuItems(menu->Items(), form, rows, numbering);
    NewMenuItems(popup->Items(), form, popupRows, numbering);

    std::vector<std::string> tree;
    Describe(menu->Items(), 0, tree);
    Describe(popup->Items(), 0, tree);
    const std::vector<std::string> expected = {
        "Menu1 File hint=Files",
        "  Item2 Open Ctrl+O",
        "  Line3 - hidden",
        "  RecentItem Recent disabled",
        "    Menu4 a",
        "  Item5 Shut",
        "Menu6 Tools hidden",
        "  RunItem Run checked Ctrl+F6",
        "Line7 -",
        "Item8 Close",
    };
    EXPECT_EQ(tree, expected);
    EXPECT_EQ(form->Recent, menu->Items()->Items(0)->Items(2));
    menu->Items()->Items(1)->Items(0)->Click();
    menu->Items()->Items(0)->Items(0)->Click();
    EXPECT_EQ(form->calls, (std::vector<std::string>{"item:RunItem", "open:OpenAction"}));
}

TEST_F(ActionTable, AnItemKeepsItsOwnCaptionAndFollowsItsActionInTheRest) {
    static const Row actions[] = {{"OpenAction", "Open", "", "", -1, &F::OpenExecute, {}, &F::Open}};
    NewActions(list, form, actions);
    static const Item rows[] = {
        {0, "", "OpenAction"},
        {0, "Открыть файл", "OpenAction"},
        {0, "Run it", "OpenAction", cfRunsAction},
    };
    auto* menu = NewComponent<TPopupMenu>(form, "Menu");
    TMenuNumbering numbering;
    NewMenuItems(menu->Items(), form, rows, numbering);
    TMenuItem* shows = menu->Items()->Items(0);
    TMenuItem* own = menu->Items()->Items(1);
    TMenuItem* runs = menu->Items()->Items(2);

    form->Open->SetCaption("Opened");
    form->Open->SetEnabled(false);
    EXPECT_EQ(shows->Caption(), AnsiString("Opened"));
    EXPECT_EQ(own->Caption(), "Открыть файл"_a);
    EXPECT_FALSE(own->Enabled());
    // The item that runs its action has its caption and state to itself.
    EXPECT_EQ(runs->Caption(), AnsiString("Run it"));
    EXPECT_TRUE(runs->Enabled());
    EXPECT_EQ(runs->Action(), nullptr);
    form->Open->SetEnabled(true);
    runs->Click();
    EXPECT_EQ(form->calls, (std::vector<std::string>{"open:OpenAction"}));
}

} // namespace
