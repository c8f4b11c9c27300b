// A toolbar's buttons made from a table of rows.
#include "ToolbarTestUtil.h"

#include "platform/ImageList.h"
#include "platform/gui/StdCtrls.h"
#include "toolbars/TBExTable.h"

namespace {

// A form with the fields and handlers that the rows name.
class TButtonForm : public TForm {
public:
    explicit TButtonForm(TComponent* owner) : TForm(owner) {}
    void RunClick(TObject*) { ++runs; }
    TToolbarButtonEx* Select = nullptr;
    TToolbarButtonEx* Run = nullptr;
    TCheckBox* Check = nullptr;
    int runs = 0;
};

void MakeCheck(TButtonForm& form, TWinControl* bar) {
    form.Check = NewControl<TCheckBox>(&form, bar, "Check");
    form.Check->SetBounds(0, 0, 18, 22);
}

using F = TButtonForm;

class ButtonTable : public ToolbarsTest {};

TEST_F(ButtonTable, RowsMakeTheButtonsInTheBarsOrder) {
    auto* form = NewForm<TButtonForm>(nullptr);
    forms_.push_back(form);
    auto* images = NewComponent<TImageList>(form, "Images");
    auto* list = NewComponent<TActionList>(form, "List");
    static const TActionRow<TButtonForm> actions[] = {
        {"SelectAction", "Выбор", "", "Выбрать", 4, &F::RunClick},
        {"WireAction", "Связь", "", "", 5, &F::RunClick},
    };
    NewActions(list, form, actions);
    static const TButtonRow<TButtonForm> rows[] = {
        {"SelectAction", "SelectButton", &F::Select, 1, bfDown},
        {"-"},
        {"WireAction", nullptr, nullptr, 1, 0, "Провести связь"},
        {"WireAction", "Hidden", nullptr, 0, bfHidden},
        {nullptr, nullptr, nullptr, 0, 0, "", -1, {}, MakeCheck},
        {nullptr, "RunButton", &F::Run, 0, 0, "Пуск", 7, &F::RunClick},
    };
    TDockEx* dock = AddDock(form, "Dock");
    auto* bar = NewControl<TToolbarEx>(form, dock, "Bar");
    TButtonSet set{images, true, 10};
    AddToolbarButtons(bar, form, rows, set);

    std::vector<AnsiString> order;
    for (int i = 0; i < bar->OrderCount(); ++i) order.push_back(bar->OrderItems(i)->Name());
    EXPECT_EQ(order, (std::vector<AnsiString>{"SelectButton", "Sep11", "Button12", "Hidden", "Check", "RunButton"}));
    EXPECT_EQ(set.Count, 12);

    ASSERT_EQ(form->Select, form->FindComponent("SelectButton"));
    EXPECT_EQ(form->Select->Action(), form->FindComponent("SelectAction"));
    EXPECT_EQ(form->Select->Images(), images);
    EXPECT_EQ(form->Select->DisplayMode(), dmGlyphOnly);
    EXPECT_TRUE(form->Select->ShowHint());
    EXPECT_EQ(form->Select->Hint(), "Выбрать"_a);
    EXPECT_EQ(form->Select->ImageIndex(), 4);
    EXPECT_TRUE(form->Select->Down());
    // A hint of its own stays when the action's changes.
    auto* wire = static_cast<TToolbarButtonEx*>(form->FindComponent("Button12"));
    static_cast<TAction*>(form->FindComponent("WireAction"))->SetHint("Связь"_a);
    EXPECT_EQ(wire->Hint(), "Провести связь"_a);
    EXPECT_EQ(wire->GroupIndex(), 1);
    EXPECT_FALSE(wire->Down());
    EXPECT_FALSE(static_cast<TControl*>(form->FindComponent("Hidden"))->Visible());
    ASSERT_NE(form->Check, nullptr);
    EXPECT_EQ(form->Check->Parent(), bar);

    // A button of its own: its image, hint and click.
    EXPECT_EQ(form->Run->Action(), nullptr);
    EXPECT_EQ(form->Run->ImageIndex(), 7);
    EXPECT_EQ(form->Run->Hint(), "Пуск"_a);
    form->Run->Click();
    EXPECT_EQ(form->runs, 1);
}

} // namespace
