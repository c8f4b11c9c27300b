#include "editor/InsertElement.h"

#include <array>
#include <memory>

#include "editor/DelayDlg.h"
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

// The kinds the table of element kinds offers, in list order, with their rows.
struct TOffered {
    std::array<TInsertElementForm::Kind, TInsertElementForm::KindCount> Kinds;
    std::array<const TElementKind*, TInsertElementForm::KindCount> Rows;
};

const TOffered& Offered() {
    static const TOffered offered = [] {
        TOffered o{};
        for (const TElementKind& k : ElementKinds()) {
            const TInsertEntry& e = k.Entry;
            if (e.Position < 0)
                continue;
            const bool outputs = k.Count == TKindCount::Outputs || k.Count == TKindCount::MadeOutputs;
            o.Kinds[std::size_t(e.Position)] = {e.Text, e.DefaultName, e.MaxCount, outputs,
                                                k.Extra == TKindExtra::Delay, k.Kind};
            o.Rows[std::size_t(e.Position)] = &k;
        }
        return o;
    }();
    return offered;
}

} // namespace

const TInsertElementForm::Kind& TInsertElementForm::KindAt(int index) { return Offered().Kinds[std::size_t(index)]; }

TElement* TInsertElementForm::MakeElement(int index, int count, int delay, IEntityOwner* owner) {
    if (index < 0 || index >= KindCount)
        return nullptr;
    return NewElement(*Offered().Rows[std::size_t(index)], owner, count, delay);
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
    ComboBox1->SetDropDownCount(KindCount);
    for (const Kind& k : Offered().Kinds) ComboBox1->Items()->Add("\"" + Utf8ToAnsi(k.Entry) + "\"");
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
    CSpinEdit2->SetButtonKind(bkStandard);
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
    TimerValue->SetButtonKind(bkStandard);
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
        const Kind& k = KindAt(index);
        Edit1->SetText(k.DefaultName);
        if (k.MaxCount > 0) {
            CSpinEdit2->SetVisible(true);
            (k.CountsOutputs ? Label6 : Label4)->SetVisible(true);
            // Only the maximum changes: the count itself stays as it is.
            CSpinEdit2->MaxValue = k.MaxCount;
            if (k.EntityKind == TEntityKind::PredTimer) CSpinEdit2->MinValue = 1;
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
    const int index = ComboBox1->ItemIndex();
    if (index >= 0 && index < KindCount && KindAt(index).EntityKind == TEntityKind::PredTimer)
        e = std::make_unique<TPredTimerElement>(&owner, GetPinCount());
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
