#include "debugger/ui/MT.h"

#include <cmath>

#include "controls/gui/EXSpin.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Sharefun.h"

TfmMTValue* fmMTValue = nullptr;

TfmMTValue::TfmMTValue(TComponent* owner) : TForm(owner) {
    SetName("fmMTValue");
    SetCaption("?");
    SetBorderIcons(0);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(236);
    SetClientHeight(76);

    Label = NewControl<TLabel>(this, this, "Label");
    Label->SetCaption("Минимальное значение :"_a);
    Label->SetBounds(8, 14, 140, 13);
    Val = NewControl<TExSpinEdit>(this, this, "Val");
    Val->SetButtonKind(bkStandard);
    Val->SetBounds(154, 10, 74, 21);
    Val->MinValue = 50;
    Val->MaxValue = 10000;
    Val->Increment = 50;
    Val->SetValue(100);

    btOk = NewControl<TButton>(this, this, "btOk");
    btOk->SetCaption("Да"_a);
    btOk->SetBounds(76, 42, 85, 25);
    btOk->SetDefault(true);
    btOk->ModalResult = mrOk;
    btOk->OnClick = [this](TObject* s) { btOkClick(s); };
    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("Выход"_a);
    Button1->SetBounds(143, 42, 85, 25);
    Button1->SetCancel(true);
    Button1->ModalResult = mrCancel;
    Button1->SetVisible(false);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

TfmMTValue::~TfmMTValue() {
    if (fmMTValue == this) fmMTValue = nullptr;
}

int TfmMTValue::Interval() const { return int(std::lround(Val->Value())); }

void TfmMTValue::btOkClick(TObject*) {
    const int v = Interval();
    if (fmDebug) fmDebug->MinInterval = v;
    if (ITimingView* timing = DebuggerHooks().Timing) timing->ShowMinInterval(v);
}

void TfmMTValue::Button1Click(TObject*) { Close(); }
