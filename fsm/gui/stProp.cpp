#include "fsm/gui/stProp.h"

TfmStProp* fmStProp = nullptr;

TfmStProp::TfmStProp(TComponent* owner) : TForm(owner) {
    SetName("fmStProp");
    SetCaption("Название состояния"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(260);
    SetClientHeight(82);
    Edit1 = NewControl<TEdit>(this, this, "Edit1");
    Edit1->SetBounds(8, 10, 244, 21);
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetBounds(40, 44, 88, 27);
    BitBtn2 = NewControl<TBitBtn>(this, this, "BitBtn2");
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption("Отмена"_a);
    BitBtn2->SetBounds(136, 44, 88, 27);
    SetActiveControl(Edit1);
}

TfmStProp::~TfmStProp() {
    if (fmStProp == this) fmStProp = nullptr;
}

void TfmStProp::Setup(const AnsiString& stateName) { Edit1->SetText(stateName); }

void TfmStProp::Store(AnsiString& stateName) const { stateName = Edit1->Text(); }
