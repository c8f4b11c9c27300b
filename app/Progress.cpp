#include "app/Progress.h"

TProgressForm* ProgressForm = nullptr;

TProgressForm::TProgressForm(TComponent* owner) : TForm(owner) {
    SetName("ProgressForm");
    SetCaption("Трансляция"_a);
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(408);
    SetClientHeight(66);

    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetBounds(8, 8, 280, 13);
    Label1->SetCaption(AnsiString());

    btHalt = NewControl<TBitBtn>(this, this, "btHalt");
    btHalt->SetKind(bkNo);
    btHalt->ModalResult = mrNone;
    btHalt->SetCaption(" Остановить"_a);
    btHalt->SetBounds(304, 2, 97, 25);
    btHalt->SetVisible(false);
    btHalt->OnClick = [this](TObject* s) { btHaltClick(s); };

    CGauge1 = NewControl<TGauge>(this, this, "CGauge1");
    CGauge1->SetBounds(8, 33, 393, 25);
    CGauge1->SetKind(gkHorizontalBar);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TProgressForm::FormCreate(TObject*) { SetMax(100); }

void TProgressForm::SetMax(int max) {
    max_ = max;
    CGauge1->SetMaxValue(max);
}

void TProgressForm::SetProgress(int position) {
    position_ = position;
    CGauge1->SetProgress(position);
}

void TProgressForm::btHaltClick(TObject*) { btHalt->SetVisible(false); }
