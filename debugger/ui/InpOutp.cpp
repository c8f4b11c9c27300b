#include "debugger/ui/InpOutp.h"

TfmIO* fmIO = nullptr;

TfmIO::TfmIO(TComponent* owner) : TForm(owner) {
    SetName("fmIO");
    SetCaption("?");
    SetBorderIcons(0);
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    SetClientWidth(226);
    SetClientHeight(124);

    rgIO = NewControl<TRadioGroup>(this, this, "rgIO");
    rgIO->SetCaption("Добавить внутренний сигнал как:"_a);
    rgIO->SetBounds(8, 8, 210, 74);
    rgIO->Items()->Add("входной"_a);
    rgIO->Items()->Add("выходной"_a);
    rgIO->SetItemIndex(0);

    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetBounds(71, 90, 85, 27);
}

TfmIO::~TfmIO() {
    if (fmIO == this) fmIO = nullptr;
}

int TfmIO::Ask(const AnsiString& name) {
    SetCaption(name);
    return ShowModal() == mrOk ? rgIO->ItemIndex() : -1;
}
