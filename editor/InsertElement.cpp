#include "editor/InsertElement.h"

#include <memory>

#include "editor/DelayDlg.h"
#include "model/CaseElements.h"
#include "model/Elements.h"
#include "platform/Canvas.h"
#include "platform/UiPort.h"

TInsertElementForm* InsertElementForm = nullptr;

namespace {

// Client widths: the preview lies beyond the collapsed width.
constexpr int kCollapsedWidth = 316;
constexpr int kExpandedWidth = 506;

const char* const kShowPreview = "Просмотр >>";
const char* const kHidePreview = "Просмотр <<";

// The line reported when rebuilding the dialog for a kind fails.
constexpr int kRebuildLine = 376;

const TInsertElementForm::Kind kKinds[TInsertElementForm::KindCount] = {
    {"И", "AND", 8, false, false},
    {"ИЛИ", "OR", 8, false, false},
    {"Искл. ИЛИ", "XOR", 0, false, false},
    {"Триггер", "Trigger", 0, false, false},
    {"Таймер", "Timer", 0, false, true},
    {"Таймер с предустановом", "PredTimer", 8, false, true},
    {"D Триггер", "DTrigger", 0, false, false},
    {"Счетчик", "Counter", 8, true, false},
    {"Дешифратор", "Decoder", 10, true, false},
    {"D RS Триггер", "DRSTrigger", 0, false, false},
    {"Регистр", "Register", 0, false, false},
    {"D 8 RS Счетчик", "RSCounter", 0, false, false},
    {"Компаратор", "Comparing", 0, false, false},
    {"Матрица8", "CASEDec", 16, true, false},
    {"Реверсивный счетчик", "RCounter", 8, true, false},
    {"Матрица16", "CASE", 16, true, false},
    {"Маскированная матрица", "CASEMask", 16, true, false},
    {"Матрица диапазонов", "CASEDiap", 0, false, false},
    {"Коммутатор", "Commutator", 8, false, false},
    {"Фильтр", "Filter", 0, false, false},
    {"Переход", "Goto", 0, false, false},
};

} // namespace

const TInsertElementForm::Kind& TInsertElementForm::KindAt(int index) { return kKinds[index]; }

TElement* TInsertElementForm::MakeElement(int index, int count, int delay, IEntityOwner* owner) {
    switch (index) {
    case 0: {
        auto* e = new TAndElement(owner);
        e->SetInputCount(count);
        return e;
    }
    case 1: {
        auto* e = new TOrElement(owner);
        e->SetInputCount(count);
        return e;
    }
    case 2: return new TXorElement(owner);
    case 3: return new TTriggerElement(owner);
    case 4: {
        auto* e = new TTimerElement(owner);
        e->SetDelay(delay);
        return e;
    }
    case 5: {
        auto* e = new TPredTimerElement(owner, count);
        e->SetDelay(delay);
        return e;
    }
    case 6: return new TDTriggerElement(owner);
    case 7:
    case 8:
    case 14: {
        TElement* e = index == 7   ? static_cast<TElement*>(new TCounterElement(owner))
                      : index == 8 ? static_cast<TElement*>(new TDecoderElement(owner))
                                   : static_cast<TElement*>(new TReverCounterElement(owner));
        e->SetOutputCount(count);
        return e;
    }
    case 9: return new TDRSTriggerElement(owner);
    case 10: return new TD8TriggerElement(owner);
    case 11: return new TD8RSCounterElement(owner);
    case 12: return new TByteCompareElement(owner);
    case 13: return new TCaseElement(owner, count);
    case 15: return new TCase16Element(owner, count);
    case 16: return new TCaseMaskElement(owner, count);
    // The ranges kind always has six outputs, whatever the count says.
    case 17: return new TCaseDiapElement(owner, 6);
    case 18: {
        auto* e = new TCommutatorElement(owner);
        e->SetPinCount(2 * count + 1);
        return e;
    }
    case 19: return new TFilterElement(owner);
    case 20: return new TGotoElement(owner);
    default: return nullptr;
    }
}

TInsertElementForm::TInsertElementForm(TComponent* owner) : TForm(owner) {
    SetName("InsertElementForm");
    SetCaption("Вставить елемент"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(kCollapsedWidth);
    SetClientHeight(193);

    Label2 = NewControl<TLabel>(this, this, "Label2");
    Label2->SetCaption("Тип элемента:"_a);
    Label2->SetBounds(8, 8, 120, 16);
    ComboBox1 = NewControl<TComboBox>(this, this, "ComboBox1");
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->SetBounds(8, 24, 300, 21);
    ComboBox1->SetHint("Тип элемента"_a);
    ComboBox1->SetShowHint(true);
    ComboBox1->SetDropDownCount(21);
    for (const Kind& k : kKinds) ComboBox1->Items()->Add("\"" + Utf8ToAnsi(k.Entry) + "\"");
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };

    Label1 = NewControl<TLabel>(this, this, "Label1");
    Label1->SetCaption("Имя элемента:"_a);
    Label1->SetBounds(8, 52, 120, 16);
    Edit1 = NewControl<TEdit>(this, this, "Edit1");
    Edit1->SetBounds(8, 68, 145, 21);
    Edit1->SetHint("Имя элемента"_a);
    Edit1->SetShowHint(true);

    Label4 = NewControl<TLabel>(this, this, "Label4");
    Label4->SetCaption("Входов"_a);
    Label4->SetBounds(164, 52, 70, 16);
    Label6 = NewControl<TLabel>(this, this, "Label6");
    Label6->SetCaption("Выходов"_a);
    Label6->SetBounds(164, 52, 70, 16);
    CSpinEdit2 = NewControl<TExSpinEdit>(this, this, "CSpinEdit2");
    CSpinEdit2->SetBounds(164, 68, 70, 21);
    CSpinEdit2->MinValue = 1;
    CSpinEdit2->MaxValue = 8;
    CSpinEdit2->SetValue(2);
    CSpinEdit2->SetHint("Количество выводов"_a);
    CSpinEdit2->SetShowHint(true);
    CSpinEdit2->OnChange = [this](TObject* s) { CSpinEdit2Change(s); };

    Label3 = NewControl<TLabel>(this, this, "Label3");
    Label3->SetCaption("Задержка"_a);
    Label3->SetBounds(8, 100, 60, 16);
    TimerValue = NewControl<TExSpinEdit>(this, this, "TimerValue");
    TimerValue->SetBounds(72, 96, 100, 21);
    TimerValue->SetHint("Задержка таймера"_a);
    TimerValue->SetShowHint(true);
    TimerValue->OnChange = [this](TObject* s) { TimerValueChange(s); };
    Label5 = NewControl<TLabel>(this, this, "Label5");
    Label5->SetCaption("мсек"_a);
    Label5->SetBounds(178, 100, 40, 16);

    InsertIncrement = NewControl<TCheckBox>(this, this, "InsertIncrement");
    InsertIncrement->SetCaption("Вставка с увеличением"_a);
    InsertIncrement->SetBounds(8, 126, 220, 17);

    Button1 = NewControl<TButton>(this, this, "Button1");
    Button1->SetCaption("Вставить"_a);
    Button1->SetHint("Вставить в схему"_a);
    Button1->SetShowHint(true);
    Button1->SetDefault(true);
    Button1->ModalResult = mrOk;
    Button1->SetBounds(8, 156, 92, 27);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2 = NewControl<TButton>(this, this, "Button2");
    Button2->SetCaption("Выход"_a);
    Button2->SetCancel(true);
    Button2->ModalResult = mrCancel;
    Button2->SetBounds(108, 156, 92, 27);
    Button3 = NewControl<TButton>(this, this, "Button3");
    Button3->SetCaption(Utf8ToAnsi(kShowPreview));
    Button3->SetHint("Просмотр элемента"_a);
    Button3->SetShowHint(true);
    Button3->SetBounds(208, 156, 100, 27);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };

    PaintBox1 = NewControl<TPaintBox>(this, this, "PaintBox1");
    PaintBox1->SetColor(clBlack);
    PaintBox1->SetBounds(kCollapsedWidth + 8, 8, 177, 169);
    PaintBox1->SetHint("Изображение на схеме"_a);
    PaintBox1->SetShowHint(true);
    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown. Run then, not when it is active again after a
    // window it opened, the refill cannot undo what its own handler just did.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

TInsertElementForm::~TInsertElementForm() {
    if (InsertElementForm == this) InsertElementForm = nullptr;
}

int TInsertElementForm::GetPinCount() const { return int(CSpinEdit2->Value()); }
int TInsertElementForm::GetDelay() const { return int(TimerValue->Value()); }
AnsiString TInsertElementForm::GetElementName() const { return Edit1->Text(); }

bool TInsertElementForm::Expanded() const { return Button3->Caption() != Utf8ToAnsi(kShowPreview); }

void TInsertElementForm::FormCreate(TObject*) { SetTimerLimits(TimerValue); }

void TInsertElementForm::FormActivate(TObject* Sender) {
    ComboBox1->SetItemIndex(0);
    ComboBox1Change(Sender);
}

void TInsertElementForm::FillPreview() {
    TCanvas* c = PaintBox1->Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(PaintBox1->ClientRect());
}

void TInsertElementForm::DrawPreview(TElement* element) {
    element->SetX(PaintBox1->Width() / 2 - element->GetWidth() / 2);
    element->SetY(PaintBox1->Height() / 2 - element->GetHeight() / 2);
    // Drawn as a placed element, once, in its normal colours.
    element->Changed = false;
    element->DrawTo(PaintBox1->Canvas(), false, 100);
}

void TInsertElementForm::ComboBox1Change(TObject*) {
    try {
        for (TControl* c : std::initializer_list<TControl*>{CSpinEdit2, TimerValue, Label3, Label4, Label5, Label6})
            c->SetVisible(false);
        FillPreview();
        const int index = ComboBox1->ItemIndex();
        if (index < 0 || index >= KindCount) return;
        const Kind& k = kKinds[index];
        Edit1->SetText(k.DefaultName);
        if (k.MaxCount > 0) {
            CSpinEdit2->SetVisible(true);
            (k.CountsOutputs ? Label6 : Label4)->SetVisible(true);
            // Only the maximum changes: the count itself stays as it is.
            CSpinEdit2->MaxValue = k.MaxCount;
            if (index == 5) CSpinEdit2->MinValue = 1;
        }
        if (k.HasDelay) {
            TimerValue->SetVisible(true);
            Label3->SetVisible(true);
            Label5->SetVisible(true);
        }
        if (Expanded()) DrawKind();
    } catch (const std::exception&) {
        ReportRebuildFailure();
    }
}

void TInsertElementForm::CSpinEdit2Change(TObject*) { PaintPreview(); }

void TInsertElementForm::PaintPreview() {
    try {
        FillPreview();
        if (Expanded()) DrawKind();
    } catch (const std::exception&) {
        ReportRebuildFailure();
    }
}

void TInsertElementForm::DrawKind() {
    TPaintBoxOwner owner(PaintBox1->Canvas());
    std::unique_ptr<TElement> e(MakeElement(ComboBox1->ItemIndex(), GetPinCount(), GetDelay(), &owner));
    if (e) DrawPreview(e.get());
}

void TInsertElementForm::ReportRebuildFailure() {
    ShowMessage(Format("Ошибка в файле %s стр. %d"_a, AnsiString("InsertElement"), kRebuildLine));
}

void TInsertElementForm::TimerValueChange(TObject*) {
    FillPreview();
    TPaintBoxOwner owner(PaintBox1->Canvas());
    std::unique_ptr<TTimerElement> e;
    if (ComboBox1->ItemIndex() == 5) e = std::make_unique<TPredTimerElement>(&owner, GetPinCount());
    else e = std::make_unique<TTimerElement>(&owner);
    try {
        e->SetDelay(GetDelay());
    } catch (const std::exception&) {
        // The element is drawn with the delay it has.
    }
    DrawPreview(e.get());
}

void TInsertElementForm::Button1Click(TObject*) { InsertCounter = 0; }

void TInsertElementForm::Button3Click(TObject*) {
    if (!Expanded()) {
        SetClientWidth(kExpandedWidth);
        FillPreview();
        Button3->SetCaption(Utf8ToAnsi(kHidePreview));
    } else {
        SetClientWidth(kCollapsedWidth);
        Button3->SetCaption(Utf8ToAnsi(kShowPreview));
    }
    PaintBox1->Invalidate();
}

void TInsertElementForm::PaintBox1Paint(TObject*) { PaintPreview(); }
