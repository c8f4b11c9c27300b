#include "editor/AddTypeDrv.h"

#include "document/DriversInfo.h"

TAddTypeDrvForm* AddTypeDrvForm = nullptr;

TAddTypeDrvForm::TAddTypeDrvForm(TComponent* owner) : TEntryForm(owner, "Редактировать тип драйвера"_a, 96) {
    SetName("AddTypeDrvForm");
    TLabel* name = FieldLabel("Label1", "Название типа драйвера"_a, 6);
    name->SetHint("Имя типа драйвера"_a);
    name->SetShowHint(true);
    NameTypeDrv = NewControl<TEdit>(this, Panel1, "NameTypeDrv");
    NameTypeDrv->SetHint("Имя типа драйвера"_a);
    NameTypeDrv->SetBounds(8, 22, 210, 21);
    FieldLabel("Label2", "Номер драйвера"_a, 48);
    NumberTypeDrv = NewControl<TExSpinEdit>(this, Panel1, "NumberTypeDrv");
    NumberTypeDrv->SetButtonKind(bkStandard);
    NumberTypeDrv->MinValue = 0;
    NumberTypeDrv->MaxValue = TDriversInfo::MaxUserType;
    NumberTypeDrv->SetValue(1);
    NumberTypeDrv->SetBounds(8, 64, 210, 21);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TAddTypeDrvForm::~TAddTypeDrvForm() {
    if (AddTypeDrvForm == this) AddTypeDrvForm = nullptr;
}

void TAddTypeDrvForm::FormShow(TObject*) {
    // The signal-table dialog disables the fields when it only shows a type.
    if (NameTypeDrv->Enabled()) SetActiveControl(NameTypeDrv);
    else SetActiveControl(Button1);
}
