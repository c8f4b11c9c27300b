#include "debugger/ui/MT.h"

#include <algorithm>
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
    SetClientHeight(76);

    Label = NewControl<TLabel>(this, this, "Label");
    Label->SetCaption("Минимальное значение :"_a);
    Label->SetLeft(8);
    Label->SetTop(14);
    Val = NewControl<TExSpinEdit>(this, this, "Val");
    Val->SetButtonKind(bkStandard);
    // The edit after the label, however wide its font makes it.
    Val->SetBounds(Label->Left() + Label->Width() + 8, 10, 74, 21);
    Val->MinValue = kMinInterval;
    Val->MaxValue = kMaxInterval;
    Val->Increment = 50;
    Val->SetValue(100);
    SetClientWidth(Val->Left() + Val->Width() + 8);

    btOk = NewControl<TButton>(this, this, "btOk");
    btOk->SetCaption("Да"_a);
    btOk->SetBounds((ClientWidth() - 85) / 2, 42, 85, 25);
    btOk->SetDefault(true);
    btOk->ModalResult = mrOk;
    btOk->OnClick = [this](TObject* s) { btOkClick(s); };
    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("Выход"_a);
    Button1->SetBounds(ClientWidth() - 93, 42, 85, 25);
    Button1->SetCancel(true);
    Button1->ModalResult = mrCancel;
    Button1->SetVisible(false);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
}

TfmMTValue::~TfmMTValue() {
    if (fmMTValue == this) fmMTValue = nullptr;
}

int TfmMTValue::Offered(int ms) { return std::clamp(ms, kMinInterval, kMaxInterval); }

int TfmMTValue::Interval() const { return int(std::lround(Val->CheckValue(Val->Value()))); }

void TfmMTValue::btOkClick(TObject*) {
    const int v = Interval();
    if (fmDebug) fmDebug->ChooseInterval(v);
    if (ITimingView* timing = DebuggerHooks().Timing) timing->ShowMinInterval(v);
}

void TfmMTValue::Button1Click(TObject*) { Close(); }
