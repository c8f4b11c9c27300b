#include "editor/FindSign.h"

#include "document/DriversInfo.h"
#include "platform/StringList.h"

TFindSignalDlg* FindSignalDlg = nullptr;

TFindSignalDlg::TFindSignalDlg(TComponent* owner) : TForm(owner) {
    SetName("FindSignalDlg");
    SetCaption("Поиск сигнала"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(250);
    SetClientHeight(205);

    GroupBox1 = NewControl<TGroupBox>(this, this, "GroupBox1");
    GroupBox1->SetCaption("Имя сигнала"_a);
    GroupBox1->SetBounds(8, 8, 234, 56);
    ComboBox = NewControl<TComboBox>(this, GroupBox1, "ComboBox");
    ComboBox->SetBounds(10, 22, 214, 21);
    ComboBox->SetDropDownCount(16);

    RadioGroup = NewControl<TRadioGroup>(this, this, "RadioGroup");
    RadioGroup->SetCaption("Искать:"_a);
    RadioGroup->SetBounds(8, 72, 234, 82);
    RadioGroup->Items()->Add("по всем схемам в проекте"_a);
    RadioGroup->Items()->Add("по всем открытым схемам "_a);
    RadioGroup->SetItemIndex(1);

    OKBtn = NewControl<TButton>(this, this, "OKBtn");
    OKBtn->SetCaption("Поиск"_a);
    OKBtn->SetDefault(true);
    OKBtn->ModalResult = mrOk;
    OKBtn->SetBounds(38, 168, 80, 27);
    CancelBtn = NewControl<TButton>(this, this, "CancelBtn");
    CancelBtn->SetCaption("Выход"_a);
    CancelBtn->SetCancel(true);
    CancelBtn->ModalResult = mrCancel;
    CancelBtn->SetBounds(132, 168, 80, 27);

    SetActiveControl(ComboBox);
    // The dialog is shown only modally: showing it is its activation, and
    // hiding it ends it whichever way it was closed. Filling once per showing
    // keeps the table's names from appearing twice.
    OnShow = [this](TObject* s) { FormActivate(s); };
    OnHide = [this](TObject* s) { FormDeactivate(s); };
}

TFindSignalDlg::~TFindSignalDlg() {
    if (FindSignalDlg == this) FindSignalDlg = nullptr;
}

void TFindSignalDlg::FormActivate(TObject*) {
    const AnsiString remembered = ComboBox->Text();
    // The table's lists empty what they are given: they are appended
    // through a list of their own.
    TStringList names;
    DriversInUse().GetBitNames(&names);
    DriversInUse().GetVarBitNames(&names);
    ComboBox->Items()->AddStrings(&names);
    if (remembered.IsEmpty()) ComboBox->SetText(ComboBox->Items()->Count() > 0 ? ComboBox->Items()->Get(0) : AnsiString());
    else ComboBox->SetText(remembered);
    ComboBox->SelectAll();
    if (ComboBox->CanFocus()) ComboBox->SetFocus();
}

void TFindSignalDlg::FormDeactivate(TObject*) {
    SignalName = ComboBox->Text();
    ComboBox->SetText(AnsiString());
    ComboBox->Items()->Clear();
}
