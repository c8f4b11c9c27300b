#include "editor/InsertPin.h"

#include "document/DriversInfo.h"
#include "editor/PinDriver.h"
#include "model/Driver.h"

TInsertPinForm* InsertPinForm = nullptr;

TInsertPinForm::TInsertPinForm(TComponent* owner) : TForm(owner) {
    SetName("InsertPinForm");
    SetCaption("Вставить вывод драйвера"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(384);
    SetClientHeight(69);
    Bevel1 = NewControl<TBevel>(this, this, "Bevel1");
    Bevel1->SetShape(bsFrame);
    Bevel1->SetBounds(8, 6, 368, 30);
    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetCaption("Имя"_a);
    Label1->SetBounds(16, 13, 30, 16);
    NamePin = NewControl<TComboBox>(this, this, "NamePin");
    NamePin->SetBounds(52, 10, 220, 21);
    NamePin->SetDropDownCount(16);
    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("Настроить"_a);
    Button1->SetBounds(280, 8, 90, 25);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    OKBtn = NewControl<TButton>(this, this, "OKBtn");
    OKBtn->SetCaption("OK");
    OKBtn->SetDefault(true);
    OKBtn->ModalResult = mrOk;
    OKBtn->SetBounds(212, 40, 75, 25);
    CancelBtn = NewControl<TButton>(this, this, "CancelBtn");
    CancelBtn->SetCaption("Отмена"_a);
    CancelBtn->SetCancel(true);
    CancelBtn->ModalResult = mrCancel;
    CancelBtn->SetBounds(296, 40, 75, 25);
    SetActiveControl(NamePin);
    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown. Run then, not when it is active again after a
    // window it opened, the refill cannot undo what its own handler just did.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

TInsertPinForm::~TInsertPinForm() {
    if (InsertPinForm == this) InsertPinForm = nullptr;
}

void TInsertPinForm::ApplyToDriver(TDriver* target) {
    if (target) target->SetName(NamePin->Text());
}

void TInsertPinForm::FormActivate(TObject*) {
    // The name chosen last (not its place: the table may have changed in
    // between); a name typed by hand is not offered again.
    const AnsiString last = NamePin->Text();
    NamePin->Clear();
    DriversInUse().GetBitNames(NamePin->Items());
    const int index = NamePin->Items()->IndexOf(last);
    if (index >= 0) NamePin->SetItemIndex(index);
    // What the user types replaces the name offered.
    NamePin->SelectAll();
    if (NamePin->CanFocus()) NamePin->SetFocus();
}

void TInsertPinForm::Button1Click(TObject* Sender) {
    const AnsiString typed = NamePin->Text();
    if (!PinDriverDlg || PinDriverDlg->ShowModal() != mrOk) return;
    FormActivate(Sender);
    NamePin->SetItemIndex(NamePin->Items()->IndexOf(typed));
    NamePin->SetText(typed);
}
