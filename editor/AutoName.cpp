#include "editor/AutoName.h"

TfmAutoNames* fmAutoNames = nullptr;

TfmAutoNames::~TfmAutoNames() {
    if (fmAutoNames == this) fmAutoNames = nullptr;
}

TfmAutoNames::TfmAutoNames(TComponent* owner) : TForm(owner) {
    SetName("fmAutoNames");
    SetCaption("Автоматическое присвоение имен"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    // The form is as large as its contents: the edit above the two buttons.
    SetClientWidth(289);
    SetClientHeight(80);
    Edit1 = NewControl<TEdit>(this, this, "Edit1");
    Edit1->SetBounds(8, 8, 273, 21);
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetCaption("Да"_a);
    BitBtn1->SetBounds(40, 44, 97, 27);
    BitBtn2 = NewControl<TBitBtn>(this, this, "BitBtn2");
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption("Отмена"_a);
    BitBtn2->SetBounds(152, 44, 97, 27);
    SetActiveControl(Edit1);
}
