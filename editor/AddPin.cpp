#include "editor/AddPin.h"

TAddPinForm* AddPinForm = nullptr;

namespace {

TGroupBox* Group(TAddPinForm* form, const char* name, const AnsiString& caption, const AnsiString& hint, int top) {
    TGroupBox* g = NewControl<TGroupBox>(form, form->Panel1, name);
    g->SetCaption(caption);
    g->SetHint(hint);
    g->SetShowHint(true);
    g->SetBounds(6, top, 214, 46);
    return g;
}

} // namespace

TAddPinForm::TAddPinForm(TComponent* owner) : TEntryForm(owner, "Редактирование вывода"_a, 204) {
    SetName("AddPinForm");
    GroupBox1 = Group(this, "GroupBox1", "Имя"_a, "Имя сигнала драйвера"_a, 4);
    NameEdit = NewControl<TEdit>(this, GroupBox1, "NameEdit");
    NameEdit->SetBounds(8, 18, 198, 21);
    GroupBox2 = Group(this, "GroupBox2", "Драйвер"_a, "Имя драйвера"_a, 54);
    DrvComboBox = NewControl<TComboBox>(this, GroupBox2, "DrvComboBox");
    DrvComboBox->SetStyle(csDropDownList);
    DrvComboBox->SetBounds(8, 18, 198, 21);
    GroupBox3 = Group(this, "GroupBox3", "Бит"_a, "Бит драйвера"_a, 104);
    BitEdit = NewControl<TExSpinEdit>(this, GroupBox3, "BitEdit");
    BitEdit->SetButtonKind(bkStandard);
    BitEdit->SetBounds(8, 18, 198, 21);
    GroupBox4 = Group(this, "GroupBox4", "Комментарии"_a, "Комментарии"_a, 154);
    ComentEdit = NewControl<TEdit>(this, GroupBox4, "ComentEdit");
    ComentEdit->SetBounds(8, 18, 198, 21);
    SetActiveControl(NameEdit);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TAddPinForm::~TAddPinForm() {
    if (AddPinForm == this) AddPinForm = nullptr;
}

void TAddPinForm::FormShow(TObject*) {
    // Typing replaces the old name.
    NameEdit->SelectAll();
    if (NameEdit->Enabled()) SetActiveControl(NameEdit);
}
