#include "editor/TriggerDlg.h"

#include <algorithm>

#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "model/Elements.h"

TForm8* Form8 = nullptr;
TForm7* Form7 = nullptr;

namespace {
constexpr int kWidth = 260;
constexpr int kHeight = 236;
} // namespace

TTickForm::TTickForm(TComponent* owner, const AnsiString& caption, const AnsiString& secondPage) : TForm(owner) {
    SetCaption(caption);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetBounds(4, 4, kWidth - 8, kHeight - 44);
    TabSheet1 = NewControl<TTabSheet>(this, nullptr, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("Параметры"_a);
    TabSheet2 = NewControl<TTabSheet>(this, nullptr, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption(secondPage);
    Label1 = NewControl<TLabel>(this, TabSheet1, "Label1");
    Label1->SetCaption("Имя"_a);
    Label1->SetBounds(8, 8, 60, 16);
    Edit1 = NewControl<TEdit>(this, TabSheet1, "Edit1");
    Edit1->SetBounds(8, 26, kWidth - 40, 21);
    Label2 = NewControl<TLabel>(this, TabSheet1, "Label2");
    Label2->SetCaption("Порядок "_a);
    Order = NewControl<TComboBox>(this, TabSheet1, "Order");
    Order->SetDropDownCount(16);
    CheckListBox1 = NewControl<TCheckListBox>(this, TabSheet2, "CheckListBox1");
    CheckListBox1->SetBounds(8, 8, kWidth - 40, kHeight - 90);
    MakeApplyCancel(this, "Button3", "Button4", kHeight - 35, 100, Button3, Button4);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    SetActiveControl(Edit1);
    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

void TTickForm::PlaceOrder(int top) {
    Label2->SetBounds(8, top, 80, 16);
    Order->SetBounds(8, top + 18, 110, 21);
}

void TTickForm::FormActivate(TObject*) {
    PageControl1->SetActivePage(TabSheet1);
    Edit1->SelectAll();
    if (Edit1->CanFocus()) Edit1->SetFocus();
}

void TTickForm::Button3Click(TObject*) {
    if (!orderbox::Accept(Order)) ModalResult = mrNone;
}

void TTickForm::LoadNameAndOrder(TElement* element) {
    Order->SetText(IntToStr(element->Number()));
    orderbox::Offer(Order, element, false);
    Edit1->SetText(element->Name());
}

void TTickForm::StoreNameAndOrder(TElement* element) {
    orderbox::StorePlain(Order, element);
    if (!Edit1->Text().IsEmpty()) element->SetName(Edit1->Text());
}

// ---- triggers ----------------------------------------------------------------------------------

TForm8::TForm8(TComponent* owner) : TTickForm(owner, "Триггер"_a, "Инверсия"_a) {
    SetName("Form8");
    PlaceOrder(56);
}

TForm8::~TForm8() {
    if (Form8 == this) Form8 = nullptr;
}

void TForm8::LoadEntity(TElement* element) {
    if (!element) return;
    LoadNameAndOrder(element);
    CheckListBox1->Clear();
    for (int i = 0; i < element->InputCount(); ++i) {
        TInOut* pin = element->GetInput(i);
        CheckListBox1->Items()->Add(pin->Name());
        CheckListBox1->SetChecked(i, pin->Inverse());
    }
}

void TForm8::StoreEntity(TElement* element) {
    if (!element) return;
    StoreNameAndOrder(element);
    const int n = std::min(element->InputCount(), CheckListBox1->Items()->Count());
    for (int i = 0; i < n; ++i) element->GetInput(i)->SetInverse(CheckListBox1->Checked(i));
}

// ---- the timer ---------------------------------------------------------------------------------

TForm7::TForm7(TComponent* owner) : TTickForm(owner, "Таймер"_a, "Выводы"_a) {
    SetName("Form7");
    Label3 = NewControl<TLabel>(this, TabSheet1, "Label3");
    Label3->SetCaption("Задержка"_a);
    Label3->SetBounds(8, 56, 70, 16);
    TimerValue = NewControl<TExSpinEdit>(this, TabSheet1, "TimerValue");
    TimerValue->SetButtonKind(bkStandard);
    TimerValue->SetBounds(8, 74, 120, 21);
    Label4 = NewControl<TLabel>(this, TabSheet1, "Label4");
    Label4->SetCaption("мсек"_a);
    Label4->SetBounds(136, 78, 40, 16);
    PlaceOrder(104);
    Label5 = NewControl<TLabel>(this, TabSheet2, "Label5");
    Label5->SetCaption("Инверсия"_a);
    Label5->SetBounds(8, 6, 80, 16);
    CheckListBox1->SetBounds(8, 24, kWidth - 40, kHeight - 106);
    for (const char* line : {"Вход", "Отключение", "Выход"}) CheckListBox1->Items()->Add(Utf8ToAnsi(line));
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TForm7::~TForm7() {
    if (Form7 == this) Form7 = nullptr;
}

void TForm7::FormCreate(TObject*) { SetTimerLimits(TimerValue); }

void TForm7::LoadEntity(TElement* element) {
    if (!element) return;
    LoadNameAndOrder(element);
    if (auto* timer = dynamic_cast<TTimerElement*>(element)) TimerValue->SetValue(timer->Delay());
    for (int i = 0; i < CheckListBox1->Items()->Count(); ++i) {
        TInOut* pin = element->Pin(i);
        CheckListBox1->SetChecked(i, pin && pin->Inverse());
    }
}

void TForm7::StoreEntity(TElement* element) {
    if (!element) return;
    StoreNameAndOrder(element);
    if (auto* timer = dynamic_cast<TTimerElement*>(element)) timer->SetDelay(ClampedDelay(TimerValue));
    for (int i = 0; i < CheckListBox1->Items()->Count(); ++i)
        if (TInOut* pin = element->Pin(i)) pin->SetInverse(CheckListBox1->Checked(i));
}
