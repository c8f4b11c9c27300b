#include "editor/AddDriver.h"

#include "document/DriversInfo.h"
#include "document/InitModule.h"

TAddDriverForm* AddDriverForm = nullptr;

TAddDriverForm::TAddDriverForm(TComponent* owner) : TEntryForm(owner, "Редактировать драйвер"_a, 262) {
    SetName("AddDriverForm");
    FieldLabel("Label1", "Имя"_a, 6);
    NameEdit = NewControl<TEdit>(this, Panel1, "NameEdit");
    NameEdit->SetBounds(8, 22, 210, 21);
    FieldLabel("Label2", "Тип"_a, 48);
    TypeInOutComboBox = NewControl<TComboBox>(this, Panel1, "TypeInOutComboBox");
    TypeInOutComboBox->SetStyle(csDropDownList);
    TypeInOutComboBox->SetBounds(8, 64, 210, 21);
    TypeInOutComboBox->Items()->Add("Вход"_a);
    TypeInOutComboBox->Items()->Add("Выход"_a);
    TypeInOutComboBox->SetItemIndex(0);
    FieldLabel("Label3", "Адрес"_a, 90);
    AdresEdit = NewControl<TExSpinEdit>(this, Panel1, "AdresEdit");
    AdresEdit->SetButtonKind(bkStandard);
    AdresEdit->SetValueType(vtHex);
    AdresEdit->MinValue = 0;
    AdresEdit->MaxValue = 4294967295.0;
    AdresEdit->SetBounds(8, 106, 210, 21);
    FieldLabel("Label4", "Битов"_a, 132);
    bitEdit = NewControl<TExSpinEdit>(this, Panel1, "bitEdit");
    bitEdit->SetButtonKind(bkStandard);
    bitEdit->MinValue = 0;
    bitEdit->MaxValue = TDriversInfo::MaxBitCount;
    bitEdit->SetBounds(8, 148, 210, 21);
    FieldLabel("Label5", "Прерывание"_a, 174);
    InterruptEdit = NewControl<TComboBox>(this, Panel1, "InterruptEdit");
    InterruptEdit->SetBounds(8, 190, 210, 21);
    FieldLabel("Label6", "Тип драйвера"_a, 216);
    DrvTypeComboBox = NewControl<TComboBox>(this, Panel1, "DrvTypeComboBox");
    DrvTypeComboBox->SetStyle(csDropDownList);
    DrvTypeComboBox->SetBounds(8, 232, 210, 21);
    SetActiveControl(NameEdit);
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TAddDriverForm::~TAddDriverForm() {
    if (AddDriverForm == this) AddDriverForm = nullptr;
}

void TAddDriverForm::FormCreate(TObject*) {
    // The interrupts offered are the settings' list, "0" to "15".
    if (InitModule) InterruptEdit->Items()->Assign(InitModule->IrqList->GetList());
    InterruptEdit->SetItemIndex(0);
}
