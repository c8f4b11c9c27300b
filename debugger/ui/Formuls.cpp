#include "debugger/ui/Formuls.h"

#include "debugger/ui/DebugGlyphs.h"
#include "platform/Bitmap.h"

TfmFormuls* fmFormuls = nullptr;

namespace {

// The dialog's width without and with the list of formulas.
constexpr int kNarrow = 300;
constexpr int kWide = 600;

AnsiString ShowListCaption() { return "Просмотр  >>"_a; }
AnsiString HideListCaption() { return "Просмотр  <<"_a; }

} // namespace

TfmFormuls::TfmFormuls(TComponent* owner) : TForm(owner), names_(std::make_unique<TStringList>()) {
    Build();
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TfmFormuls::~TfmFormuls() {
    if (fmFormuls == this) fmFormuls = nullptr;
}

AnsiString TfmFormuls::PickToDeleteText() { return "Для удаления \n выберите формулу в списке справа  >> "_a; }

void TfmFormuls::Build() {
    SetName("fmFormuls");
    SetCaption("Выберите сигнал и введите формулу"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetWidth(kNarrow);
    SetClientHeight(176);

    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetCaption("Сигнал"_a);
    Label1->SetBounds(8, 8, 60, 13);
    ComboBox = NewControl<TComboBox>(this, this, "ComboBox");
    ComboBox->SetBounds(8, 24, 200, 21);
    Label2 = NewControl<TLabel>(this, this, "Label2");
    Label2->SetCaption("Формула"_a);
    Label2->SetBounds(8, 54, 60, 13);
    Edit = NewControl<TComboBox>(this, this, "Edit");
    Edit->SetBounds(8, 70, 200, 21);

    auto glyphButton = [&](const char* name, TDebugGlyph glyph, const AnsiString& hint, int x, int y) {
        TBitBtn* b = NewControl<TBitBtn>(this, this, name);
        b->SetBounds(x, y, 30, 25);
        b->SetGlyph(MakeDebugGlyph(glyph).get());
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    BitBtn3 = glyphButton("BitBtn3", dgAdd, "Добавить формулу|Добавить формулу к выбранному сигналу"_a, 216, 68);
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    btDeleteFormula = glyphButton("btDeleteFormula", dgDelete, "Удалить формулу|Удалить выбранную формулу "_a, 252, 68);
    btDeleteFormula->OnClick = [this](TObject* s) { btDeleteFormulaClick(s); };

    // Typing aids kept from the first version of the dialog, not shown.
    auto letter = [&](const char* name, const char* caption, int x) {
        TSpeedButton* b = NewControl<TSpeedButton>(this, this, name);
        b->SetCaption(caption);
        b->SetBounds(x, 22, 25, 25);
        b->SetVisible(false);
        return b;
    };
    SpeedButton1 = letter("SpeedButton1", "H", 216);
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2 = letter("SpeedButton2", "L", 244);
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };

    Button3 = NewControl<TButton>(this, this, "Button3");
    Button3->SetCaption(ShowListCaption());
    Button3->SetBounds(176, 104, 106, 25);
    Button3->SetHint("Просмотр элемента"_a);
    Button3->SetShowHint(true);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };

    ListBox = NewControl<TListBox>(this, this, "ListBox");
    ListBox->SetBounds(296, 8, 290, 160);
    ListBox->SetVisible(false);
    ListBox->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ListBoxMouseUp(s, b, sh, x, y); };

    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    HelpAction = NewComponent<TAction>(this, "HelpAction");
    HelpAction->SetCaption("Помощь"_a);
    HelpAction->SetShortCut(ShortCut(VK_F1, 0));
    HelpAction->SetActionList(ActionList1);
    HelpAction->OnExecute = [this](TObject* s) { HelpActionExecute(s); };

    auto bottom = [&](const char* name, int x) {
        TBitBtn* b = NewControl<TBitBtn>(this, this, name);
        b->SetBounds(x, 142, 88, 27);
        return b;
    };
    BitBtn1 = bottom("BitBtn1", 8);
    BitBtn1->SetCaption("OK");
    BitBtn1->ModalResult = mrOk;
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2 = bottom("BitBtn2", 101);
    BitBtn2->SetCaption("Выход"_a);
    BitBtn2->SetCancel(true);
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn4 = bottom("BitBtn4", 194);
    BitBtn4->SetAction(HelpAction);
}

// ---- showing -------------------------------------------------------------------------

void TfmFormuls::FormShow(TObject*) {
    names_->Clear();
    ListBox->Items()->Clear();
    ComboBox->Items()->Clear();
    Edit->Items()->Clear();
    if (!Owner) return;
    TFormulaSet& set = Owner->Formulas();
    for (int i = 0; i < set.Count(); ++i) {
        ListBox->Items()->Add(set[i].Name + " - " + set[i].Text);
        names_->Add(set[i].Name + "=" + set[i].Text);
    }
    for (const AnsiString& name : Owner->InputNames()) ComboBox->Items()->Add(name);
    Edit->Items()->AddStrings(&set.History());
}

void TfmFormuls::FormClose(TObject*, TCloseAction&) {
    names_->Clear();
    ListBox->Items()->Clear();
    ComboBox->Items()->Clear();
    Edit->Items()->Clear();
}

// ---- the formula text -----------------------------------------------------------------

int TfmFormuls::ParseFormula(int32_t durations[kMaxFormulaSteps + 1], uint8_t levels[kMaxFormulaSteps]) {
    return ::ParseFormula(Edit->Text(), durations, levels);
}

bool TfmFormuls::CheckFormula() {
    AnsiString text = Edit->Text();
    const bool ok = ::CheckFormula(text);
    if (text != Edit->Text()) Edit->SetText(text);
    return ok;
}

int TfmFormuls::FindFormula() { return Owner ? Owner->Formulas().Find(ComboBox->Text()) : -1; }

// ---- adding and deleting ------------------------------------------------------------------

void TfmFormuls::BitBtn3Click(TObject*) {
    if (!Owner || ComboBox->Text().IsEmpty() || Edit->Text().IsEmpty() || !CheckFormula()) return;
    const int row = ComboBox->Items()->IndexOf(ComboBox->Text());
    if (row < 0) return;
    // The row's own spelling, so that a signal has one formula however it was typed.
    const AnsiString name = ComboBox->Items()->Get(row);
    TFormulaSet& set = Owner->Formulas();
    int i = FindFormula();
    int k = -1;
    if (i >= 0) {
        k = names_->IndexOfName(set[i].Name);
    } else {
        i = set.Append();
        if (i < 0) return;
        k = ListBox->Items()->Add(AnsiString());
        names_->Add(name + "=" + Edit->Text());
    }
    set.Set(i, name, row, Edit->Text(), Owner->FormulaSink());
    if (k < 0 || k >= names_->Count() || k >= ListBox->Items()->Count()) return;
    names_->Put(k, name + "=" + set[i].Text);
    ListBox->Items()->Put(k, name + " - " + set[i].Text);
}

void TfmFormuls::BitBtn1Click(TObject* Sender) {
    BitBtn3Click(Sender);
    ModalResult = mrOk;
}

void TfmFormuls::BitBtn2Click(TObject*) { Close(); }

void TfmFormuls::btDeleteFormulaClick(TObject*) {
    const int k = ListBox->ItemIndex();
    if (k < 0) {
        ShowMessage(PickToDeleteText());
        return;
    }
    if (Owner) Owner->Formulas().Delete(k);
    if (k < names_->Count()) names_->Delete(k);
    ListBox->Items()->Delete(k);
}

void TfmFormuls::ListBoxMouseUp(TObject*, TMouseButton, TShiftState Shift, int, int) {
    const int k = ListBox->ItemIndex();
    if (k < 0 || k >= names_->Count()) return;
    const AnsiString line = names_->Get(k);
    const AnsiString name = names_->Names(k);
    if (Shift & ssShift) Edit->SetText(line.SubString(name.Length() + 2, line.Length()));
    ComboBox->SetText(name);
}

// ---- the rest -------------------------------------------------------------------------------

void TfmFormuls::Button3Click(TObject*) {
    // Only the width changes: the place and the height are the window's as
    // it stands, with the frame the desktop gave it after it was built.
    const TRect shown = ShownNormalRect();
    const int height = OuterSize().cy;
    if (Button3->Caption() == ShowListCaption()) {
        SetBounds(shown.Left, shown.Top, kWide, height);
        ListBox->Show();
        Button3->SetCaption(HideListCaption());
    } else {
        ListBox->Hide();
        SetBounds(shown.Left, shown.Top, kNarrow, height);
        Button3->SetCaption(ShowListCaption());
    }
}

void TfmFormuls::SpeedButton1Click(TObject*) { Edit->SetText(Edit->Text() + "H"); }

void TfmFormuls::SpeedButton2Click(TObject*) { Edit->SetText(Edit->Text() + "L"); }

void TfmFormuls::HelpActionExecute(TObject*) { Application->HelpJump("Формулы"_a); }
