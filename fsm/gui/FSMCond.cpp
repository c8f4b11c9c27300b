#include "fsm/gui/FSMCond.h"

#include <cstring>

#include "fsm/FSMCondBox.h"
#include "fsm/gui/FSMChild.h"
#include "platform/UiPort.h"

TfmFSMCond* fmFSMCond = nullptr;

TfmFSMCond::TfmFSMCond(TComponent* owner) : TForm(owner) {
    SetName("fmFSMCond");
    SetCaption("Условие перехода"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetPosition(poScreenCenter);
    SetClientWidth(232);
    SetClientHeight(286);

    CondEd = NewControl<TComboEdit>(this, this, "CondEd");
    CondEd->SetBounds(8, 8, 216, 21);
    CondEd->OnChange = [this](TObject* s) { CondEdChange(s); };
    ioBox = NewControl<TExCheckListBox>(this, this, "ioBox");
    ioBox->SetCheckKind(ckCheckMarks);
    ioBox->SetGraySelection(true);
    ioBox->SetBounds(8, 36, 216, 204);
    ioBox->OnClickCheck = [this](TObject* s) { ioBoxClickCheck(s); };
    BitBtn2 = NewControl<TBitBtn>(this, this, "BitBtn2");
    BitBtn2->SetKind(bkOK);
    BitBtn2->SetBounds(24, 250, 88, 27);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkCancel);
    BitBtn1->SetBounds(120, 250, 88, 27);
    // The dialog is made once and shown for every box: each showing gives
    // the string the focus, whatever had it when the dialog last closed.
    SetActiveControl(CondEd);

    FormPlacement1 = NewComponent<TFormPlacement>(this, "FormPlacement1");
    FormPlacement1->UseRegistry = true;
    FormPlacement1->BeginLoading();
    FormPlacement1->EndLoading();
}

TfmFSMCond::~TfmFSMCond() {
    if (fmFSMCond == this) fmFSMCond = nullptr;
}

bool TfmFSMCond::Setup(TfsmCond* condition) {
    ioBox->Items()->Clear();
    TFSMScheme* doc = condition ? condition->GetDocument() : nullptr;
    auto* window = doc ? dynamic_cast<TFSMChild*>(doc->GetWindow()) : nullptr;
    if (!window) {
        ModalResult = mrNo;
        ShowMessage(" Ошибка в программе !"_a);
        Close();
        return false;
    }
    transitionMode_ = TFSMScheme::IsTransition(condition->GetOwner());
    SetCaption(transitionMode_ ? "Условие перехода"_a : "Выходы состояния"_a);
    ioBox->SetAllowGrayed(transitionMode_);
    TStrings* names = (transitionMode_ ? window->inBox : window->outBox)->Items();
    for (int i = 0; i < names->Count(); ++i) ioBox->Items()->Add(names->Get(i));
    // A text longer than the list is cut to it by the rule typed text
    // follows (CutToList); a short one is filled with "0".
    const int n = ioBox->Items()->Count();
    AnsiString text = CutToList(condition->GetText());
    while (text.Length() < n) text += "0";
    updating_ = true;
    CondEd->SetText(text);
    ChecksFromText();
    updating_ = false;
    // What is typed replaces the string, also when the dialog is activated
    // while the button of the double-click that opened it is still down (a
    // focus that arrives with the button down leaves the text unselected).
    CondEd->SelectAll();
    return true;
}

void TfmFSMCond::Store(TfsmCond* condition) { condition->SetText(CondEd->Text()); }

void TfmFSMCond::ChecksFromText() {
    const AnsiString text = CondEd->Text();
    const int len = text.Length();
    for (int i = 0; i < len && i < ioBox->Items()->Count(); ++i) {
        switch (text[len - i]) {
        case '0': ioBox->SetState(i, cbUnchecked); break;
        case '1': ioBox->SetState(i, cbChecked); break;
        case 'X': ioBox->SetState(i, cbGrayed); break;
        default: break;
        }
    }
}

void TfmFSMCond::ioBoxClickCheck(TObject*) {
    const int n = ioBox->Items()->Count();
    AnsiString text = CondEd->Text();
    // A text shorter than the list is filled as Setup fills it, so every item
    // has its character.
    while (text.Length() < n) text += "0";
    const int len = text.Length();
    for (int i = 0; i < n; ++i) {
        const TCheckBoxState st = ioBox->GetState(i);
        const char c = st == cbChecked ? '1' : st == cbGrayed ? 'X' : '0';
        if (text[len - i] != c) text[len - i] = c;
    }
    updating_ = true;
    CondEd->SetText(text);
    updating_ = false;
}

AnsiString TfmFSMCond::CutToList(const AnsiString& text) const {
    const int n = ioBox->Items()->Count();
    return text.Length() > n ? text.SubString(1, n) : text;
}

void TfmFSMCond::CondEdChange(TObject*) {
    if (updating_) return;
    updating_ = true;
    const AnsiString text = CondEd->Text();
    const AnsiString cut = CutToList(text);
    if (cut != text) CondEd->SetText(cut);
    ChecksFromText();
    updating_ = false;
}

void TfmFSMCond::BitBtn2Click(TObject*) {
    const AnsiString text = CondEd->Text().UpperCase();
    const char* allowed = transitionMode_ ? "01X" : "01";
    for (int i = 1; i <= text.Length(); ++i) {
        if (text[i] == '\0' || !std::strchr(allowed, text[i])) {
            ShowMessage(" неправильно введены условия !"_a);
            ModalResult = mrNone;
            return;
        }
    }
}
