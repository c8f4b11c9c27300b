#include "editor/DelayDlg.h"

#include "document/InitModule.h"
#include "model/Elements.h"

TForm1* Form1 = nullptr;

void SetTimerLimits(TExSpinEdit* edit) {
    // The limits are read once: a later change of the settings reaches the
    // dialog at the next start of the program.
    edit->Increment = InitModule ? InitModule->TimerIncrement : 50;
    edit->MaxValue = InitModule ? InitModule->TimerMax : 50000000;
    edit->MinValue = InitModule ? InitModule->TimerMin : 50;
    edit->SetValue(edit->MinValue);
}

int ClampedDelay(const TExSpinEdit* edit) { return int(edit->CheckValue(edit->Value())); }

TForm1::TForm1(TComponent* owner) : TElementPages(owner, "Свойства элемента"_a, 400, 300) {
    SetName("Form1");
    Label3 = NewControl<TLabel>(this, TabSheet1, "Label3");
    Label3->SetCaption("Задержка"_a);
    Label3->SetBounds(16, 164, 70, 16);
    TimerValue = NewControl<TExSpinEdit>(this, TabSheet1, "TimerValue");
    TimerValue->SetButtonKind(bkStandard);
    TimerValue->SetBounds(92, 160, 120, 21);
    Label4 = NewControl<TLabel>(this, TabSheet1, "Label4");
    Label4->SetCaption("мсек"_a);
    Label4->SetBounds(220, 164, 40, 16);
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(TObject*) { SetTimerLimits(TimerValue); }

void TForm1::LoadEntity(TElement* element) {
    if (!element) return;
    LoadParameters(element, false);
    if (auto* timer = dynamic_cast<TTimerElement*>(element)) TimerValue->SetValue(timer->Delay());
}

void TForm1::StoreEntity(TElement* element) {
    if (!element) return;
    orderbox::StorePlain(Order, element);
    if (auto* timer = dynamic_cast<TTimerElement*>(element)) timer->SetDelay(ClampedDelay(TimerValue));
    StoreName(element);
    StorePins(element);
}

void TForm1::Button3Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->InputCount() >= 10) return Refuse("Больше нельзя добавить");
    TInOut* pin = nullptr;
    ChangeAtOnce(e, [&] {
        pin = e->AddPin();
        pin->SetName(IntToStr(e->InputCount() - 3));
        e->SetHeight(e->GetHeight() + 10);
    });
    AppendPinRow(pin);
}

void TForm1::Button4Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->InputCount() <= 3) return Refuse("Больше нельзя удалять");
    const int index = e->PinIndex(e->GetInput(e->InputCount() - 1));
    // The box keeps one free row below the pre-set inputs that are left.
    ChangeAtOnce(e, [&] {
        e->DeletePin(index);
        e->SetHeight(10 * e->InputCount() + 20);
    });
    RemovePinRow(index);
}
