#include "editor/Unit10.h"

#include <algorithm>
#include <cstdlib>

#include "model/CaseElements.h"
#include "model/ModelHooks.h"
#include "platform/Canvas.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"

TForm10* Form10 = nullptr;

namespace {
const char* const kFillStart = "счетчик с шагом";
const char* const kFillRun = "заполнить";
constexpr int kPlain = 65535;
} // namespace

TForm10::TForm10(TComponent* owner) : TElementPages(owner, "Свойства элемента"_a, 560, 400) {
    SetName("Form10");
    TabSheet3 = NewControl<TTabSheet>(this, nullptr, "TabSheet3");
    TabSheet3->SetPageControl(PageControl1);
    TabSheet3->SetCaption("Таблица соответствия"_a);

    Tabl = NewControl<TDrawGrid>(this, TabSheet3, "Tabl");
    Tabl->SetBounds(6, 6, 172, 262);
    Tabl->SetColCount(2);
    Tabl->SetRowCount(1);
    Tabl->SetFixedCols(0);
    Tabl->SetFixedRows(0);
    Tabl->SetDefaultRowHeight(18);
    Tabl->SetColWidths(0, 72);
    Tabl->SetColWidths(1, 72);
    Tabl->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect);
    Tabl->OnDrawCell = [this](TObject*, int col, int row, TRect rect, TGridDrawState) {
        Tabl->Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, CellText(col, row));
    };
    Tabl->OnClick = [this](TObject* s) { TablClick(s); };
    Tabl->OnKeyUp = [this](TObject*, WORD&, TShiftState) { ShowBits(1); };
    Tabl->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { ShowBits(1); };
    Button6 = NewControl<TButton>(this, TabSheet3, "Button6");
    Button6->SetCaption("Добавить"_a);
    Button6->SetBounds(6, 274, 84, 25);
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7 = NewControl<TButton>(this, TabSheet3, "Button7");
    Button7->SetCaption("Удалить"_a);
    Button7->SetBounds(94, 274, 84, 25);
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };

    auto label = [&](const char* name, const char* caption, int left) {
        TLabel* l = NewControl<TLabel>(this, TabSheet3, name);
        l->SetCaption(Utf8ToAnsi(caption));
        l->SetBounds(left, 6, 112, 16);
        return l;
    };
    auto spin = [&](const char* name, int left, double min, double max, int length) {
        TExSpinEdit* e = NewControl<TExSpinEdit>(this, TabSheet3, name);
        e->SetButtonKind(bkStandard);
        e->SetBounds(left, 24, 112, 21);
        e->MinValue = min;
        e->MaxValue = max;
        e->SetMaxLength(length);
        e->SetValue(0);
        return e;
    };
    auto bits = [&](const char* name, int left) {
        TExCheckListBox* b = NewControl<TExCheckListBox>(this, TabSheet3, name);
        b->SetColumns(2);
        b->SetBorderStyle(bsNone);
        // Eight bits a column, 0 .. 7 and 8 .. 15; without a border both
        // columns fit the width, and no scroll bar shows.
        b->SetBounds(left, 52, 112, 8 * b->GetItemHeight() + 4);
        for (int i = 0; i < 16; ++i) b->Items()->Add(IntToStr(i));
        return b;
    };
    auto invert = [&](const char* name, int left) {
        TButton* b = NewControl<TButton>(this, TabSheet3, name);
        b->SetCaption("инвертировать"_a);
        b->SetBounds(left, 222, 112, 25);
        return b;
    };
    const int x1 = 188, x2 = 306, x3 = 424;
    exlb2 = label("exlb2", "Вход", x1);
    exlb3 = label("exlb3", "Выход", x2);
    exlb1 = label("exlb1", "По умолчанию", x3);
    exlb4 = label("exlb4", "Диапазон     от", x1);
    exlb5 = label("exlb5", "до", x2);
    exlb7 = label("exlb7", "с шагом", x3);
    ExIn = spin("ExIn", x1, 0, 65535, 5);
    ExOut = spin("ExOut", x2, 0, 65535, 5);
    ExOutDef = spin("ExOutDef", x3, 0, 65535, 5);
    exStep = spin("exStep", x3, -10000, 65535, 7);
    ExIn->OnChange = [this](TObject* s) { ExInChange(s); };
    ExOut->OnChange = [this](TObject* s) { ExOutChange(s); };
    ExOutDef->OnChange = [this](TObject* s) { ExOutDefChange(s); };
    exStep->OnChange = [this](TObject* s) { ExOutDefChange(s); };
    ExCheckListBox1 = bits("ExCheckListBox1", x1);
    ExCheckListBox2 = bits("ExCheckListBox2", x2);
    ExCheckListBox3 = bits("ExCheckListBox3", x3);
    ExCheckListBox1->OnClickCheck = [this](TObject* s) { ExCheckListBox1ClickCheck(s); };
    ExCheckListBox2->OnClickCheck = [this](TObject* s) { ExCheckListBox2ClickCheck(s); };
    ExCheckListBox3->OnClickCheck = [this](TObject* s) { ExCheckListBox3ClickCheck(s); };
    btInv1 = invert("btInv1", x1);
    btInv2 = invert("btInv2", x2);
    btInv3 = invert("btInv3", x3);
    btInv1->OnClick = [this](TObject* s) { btInv1Click(s); };
    btInv2->OnClick = [this](TObject* s) { btInv2Click(s); };
    btInv3->OnClick = [this](TObject* s) { btInv3Click(s); };
    sbCou = NewControl<TSpeedButton>(this, TabSheet3, "sbCou");
    sbCou->SetCaption(Utf8ToAnsi(kFillStart));
    sbCou->SetBounds(x1, 256, 230, 25);
    sbCou->OnClick = [this](TObject* s) { sbCouClick(s); };
    auto hidden = [&](const char* name, const char* caption, int top) {
        TCheckBox* c = NewControl<TCheckBox>(this, TabSheet3, name);
        c->SetCaption(Utf8ToAnsi(caption));
        c->SetBounds(x1, top, 200, 17);
        c->SetVisible(false);
        return c;
    };
    CheckBox1 = hidden("CheckBox1", "Проверять входы", 286);
    CheckBox2 = hidden("CheckBox2", "Проверять на совпадение", 286);
    CheckBox3 = hidden("CheckBox3", "Проверять выходы", 286);

    Button5 = NewControl<TButton>(this, this, "Button5");
    Button5->SetCaption("Нарисовать логику"_a);
    Button5->SetBounds(200, 364, 160, 27);
    Button5->SetVisible(false);
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    ShowFillSetup(false);
    OnShow = [this](TObject* s) { FormActivate(s); };
}

TForm10::~TForm10() {
    if (Form10 == this) Form10 = nullptr;
}

AnsiString TForm10::CellText(int col, int row) const {
    if (row < 0 || row >= int(Rows.size()) || col < 0 || col > 1) return AnsiString();
    return IntToStr(col == 0 ? Rows[std::size_t(row)].Input : Rows[std::size_t(row)].Output);
}

TForm10::TRow* TForm10::Selected() {
    const int row = Tabl->Row();
    return row >= 0 && row < int(Rows.size()) ? &Rows[std::size_t(row)] : nullptr;
}

void TForm10::ShowRowCount() {
    // The grid keeps one row; without table rows it stands for none.
    Tabl->SetRowCount(std::max<int>(int(Rows.size()), 1));
    Tabl->Invalidate();
}

bool TForm10::FillPending() const { return sbCou->Caption() == Utf8ToAnsi(kFillRun); }

void TForm10::ShowFillSetup(bool setup) {
    filling_ = setup;
    sbCou->SetCaption(Utf8ToAnsi(setup ? kFillRun : kFillStart));
    exStep->SetVisible(setup);
    exlb7->SetVisible(setup);
    const bool ranges = CaseKind == 3;
    exlb4->SetVisible(setup || ranges);
    exlb5->SetVisible(setup || ranges);
    exlb2->SetVisible(!setup && !ranges);
    exlb3->SetVisible(!setup && !ranges);
    exlb1->SetVisible(!setup && !ranges);
    ExOutDef->SetVisible(!ranges);
}

// ---- fill and store ------------------------------------------------------------------------

void TForm10::LoadEntity(TCaseElement* element) {
    if (!element) return;
    CurrentElement = element;
    const TEntityKind kind = element->Kind();
    CaseKind = kind == TEntityKind::Case16 ? 1 : kind == TEntityKind::CaseMask ? 2 : kind == TEntityKind::CaseDiap ? 3 : 0;
    InputBitCount = CaseKind == 0 ? 8 : 16;
    // A counter fill begun for another element ends here.
    ShowFillSetup(false);
    const bool ranges = CaseKind == 3;
    ExCheckListBox3->SetVisible(!ranges);
    btInv3->SetVisible(!ranges);
    sbCou->SetVisible(CaseKind <= 1);
    // The range CASE shows no default but stores back the one it has.
    ExOutDef->SetValue(element->Options.Default);
    ExCheckListBox1->SetAllowGrayed(CaseKind == 2);
    for (int b = 0; b < 16; ++b) {
        const bool reacts = b < InputBitCount;
        ExCheckListBox1->SetItemEnabled(b, reacts);
        if (!reacts) ExCheckListBox1->SetState(b, cbUnchecked);
    }

    Rows.clear();
    Rows.reserve(std::size_t(element->Options.Count()));
    for (const TOptionRow& r : element->Options.Rows()) Rows.push_back({r.Input, r.Output, kPlain});
    if (auto* masked = dynamic_cast<TCaseMaskElement*>(element))
        for (const TOptionMaskRow& r : masked->Masks.Rows()) Rows.push_back({r.Input, r.Output, r.Mask});
    ShowRowCount();
    SetPinsEditable(true);
    Entity = element;
    Edit2->SetText(element->Name());
    ComboBox2->SetText(element->Label());
    Order->SetText(IntToStr(element->Number()));
    if (orderbox::OfferedCount(element) > 0) orderbox::Offer(Order, element, true);
    FillPins(element);
}

void TForm10::StoreEntity(TCaseElement* element) {
    if (!element) return;
    orderbox::StoreChecked(Order, element);
    StoreName(element);
    StorePins(element);
    auto* masked = dynamic_cast<TCaseMaskElement*>(element);
    auto isMasked = [&](const TRow& r) { return masked && r.Mask != kPlain; };
    if (masked) {
        auto& out = masked->Masks.Rows();
        out.clear();
        for (const TRow& r : Rows)
            if (isMasked(r)) out.push_back({r.Input, r.Mask, r.Output});
    }
    auto& options = element->Options.Rows();
    options.clear();
    for (const TRow& r : Rows)
        if (!isMasked(r)) options.push_back({r.Input, r.Output});
    const int32_t def = int32_t(ExOutDef->CheckValue(ExOutDef->Value()));
    element->Options.Default = def;
    element->DefaultOutput = def;
}

void TForm10::FormActivate(TObject* Sender) {
    TElementPages::FormActivate(Sender);
    Tabl->SetRow(0);
    const TRow* r = Selected();
    ExIn->SetValue(r ? r->Input : 0);
    ExOut->SetValue(r ? r->Output : 0);
    ShowBits(1);
    ShowBits(2);
    ShowBits(3);
}

// ---- outputs ---------------------------------------------------------------------------------

void TForm10::Button3Click(TObject*) {
    TCaseElement* e = CurrentElement;
    if (!e) return;
    if (e->OutputCount() >= 16) return Refuse("Больше нельзя добавить");
    TInOut* pin = nullptr;
    ChangeAtOnce(e, [&] {
        const int outputs = e->OutputCount();
        pin = e->AddPin();
        pin->SetDirection(1);
        pin->SetName(IntToStr(outputs));
        pin->SetOffsetX(e->GetWidth() + 10);
        pin->SetOffsetY(10 * (outputs + 1));
        e->SetHeight(10 + 10 * std::max(e->InputCount(), e->OutputCount()));
    });
    AppendPinRow(pin);
    PageControl1->SetActivePage(TabSheet2);
}

void TForm10::Button4Click(TObject*) {
    TCaseElement* e = CurrentElement;
    if (!e) return;
    if (e->OutputCount() <= 1) return Refuse("Больше нельзя удалять");
    // Only the last output goes: the others keep their names and inversion.
    const int index = e->PinIndex(e->GetOutput(e->OutputCount() - 1));
    ChangeAtOnce(e, [&] { e->DeletePin(index); });
    RemovePinRow(index);
    PageControl1->SetActivePage(TabSheet2);
}

// ---- the table -------------------------------------------------------------------------------

void TForm10::TablClick(TObject*) {
    if (const TRow* r = Selected()) {
        const TRow row = *r;
        ExIn->SetValue(row.Input);
        ExOut->SetValue(row.Output);
    }
    ShowBits(1);
}

void TForm10::Button6Click(TObject*) {
    if (int(Rows.size()) >= MaxRows) return Refuse("Больше нельзя добавить");
    Rows.push_back({ExIn->AsInteger(), ExOut->AsInteger(), kPlain});
    ShowRowCount();
}

void TForm10::Button7Click(TObject*) {
    // The last row is never deleted.
    if (Rows.size() <= 1) return;
    const int row = Tabl->Row();
    if (row < 0 || row >= int(Rows.size())) return;
    Rows.erase(Rows.begin() + row);
    ShowRowCount();
    TablClick(Tabl);
}

void TForm10::ExInChange(TObject*) {
    TRow* r = Selected();
    // While the fill is set up the edits hold its first and last input.
    if (r && !filling_) r->Input = ExIn->AsInteger();
    Tabl->Invalidate();
    ShowBits(1);
}

void TForm10::ExOutChange(TObject*) {
    TRow* r = Selected();
    if (r && !filling_) r->Output = ExOut->AsInteger();
    Tabl->Invalidate();
    ShowBits(2);
}

void TForm10::ExOutDefChange(TObject*) { ShowBits(3); }

// ---- bit views ------------------------------------------------------------------------------

void TForm10::ShowValue(TExCheckListBox* box, int value, int count) {
    for (int b = 0; b < count; ++b) box->SetChecked(b, (value >> b) & 1);
}

int TForm10::BitsOf(TExCheckListBox* box, int count) {
    int value = 0;
    for (int b = 0; b < count; ++b)
        if (box->GetState(b) == cbChecked) value |= 1 << b;
    return value;
}

void TForm10::ShowBits(int which) {
    switch (which) {
    case 1: {
        const int value = ExIn->AsInteger();
        const TRow* r = Selected();
        const int mask = CaseKind == 2 && r ? r->Mask : kPlain;
        for (int b = 0; b < InputBitCount; ++b)
            ExCheckListBox1->SetState(b, !((mask >> b) & 1) ? cbGrayed : (value >> b) & 1 ? cbChecked : cbUnchecked);
        break;
    }
    case 2: ShowValue(ExCheckListBox2, ExOut->AsInteger(), 16); break;
    case 3: ShowValue(ExCheckListBox3, ExOutDef->AsInteger(), 16); break;
    default: break;
    }
}

void TForm10::ExCheckListBox1ClickCheck(TObject*) {
    if (CaseKind == 2)
        if (TRow* r = Selected()) {
            int mask = kPlain;
            for (int b = 0; b < InputBitCount; ++b)
                if (ExCheckListBox1->GetState(b) == cbGrayed) mask &= ~(1 << b);
            r->Mask = mask;
        }
    ExIn->SetValue(BitsOf(ExCheckListBox1, InputBitCount));
    ShowBits(1);
}

void TForm10::ExCheckListBox2ClickCheck(TObject*) { ExOut->SetValue(BitsOf(ExCheckListBox2, 16)); }

void TForm10::ExCheckListBox3ClickCheck(TObject*) { ExOutDef->SetValue(BitsOf(ExCheckListBox3, 16)); }

void TForm10::btInv1Click(TObject* Sender) {
    for (int b = 0; b < InputBitCount; ++b) {
        const TCheckBoxState s = ExCheckListBox1->GetState(b);
        if (s != cbGrayed) ExCheckListBox1->SetState(b, s == cbChecked ? cbUnchecked : cbChecked);
    }
    ExCheckListBox1ClickCheck(Sender);
}

void TForm10::btInv2Click(TObject* Sender) {
    for (int b = 0; b < 16; ++b) ExCheckListBox2->SetChecked(b, !ExCheckListBox2->GetChecked(b));
    ExCheckListBox2ClickCheck(Sender);
}

void TForm10::btInv3Click(TObject* Sender) {
    for (int b = 0; b < 16; ++b) ExCheckListBox3->SetChecked(b, !ExCheckListBox3->GetChecked(b));
    ExCheckListBox3ClickCheck(Sender);
}

// ---- the counter fill -----------------------------------------------------------------------

void TForm10::sbCouClick(TObject*) {
    if (!FillPending()) {
        ShowFillSetup(true);
        return;
    }
    const int a = ExIn->AsInteger(), b = ExOut->AsInteger(), s = exStep->AsInteger();
    const bool valid = s != 0 && std::abs(a - b) > s && (b - a) / s > 0;
    if (!valid) {
        ShowMessage(" Неправильно введены параметры! "_a);
        return;
    }
    ShowFillSetup(false);
    const int step = std::abs(s);
    const int count = (std::abs(b - a) + 1) / step * step;
    Rows.assign(std::size_t(count), TRow{});
    int k = 0;
    for (int cur = a; s > 0 ? cur + s - 1 <= b : cur + s + 1 >= b; cur += s, ++k)
        for (int v = cur; v != cur + s; v += s > 0 ? 1 : -1) Rows[std::size_t(std::abs(v - a))] = {v, k, kPlain};
    ShowRowCount();
    Tabl->SetRow(0);
    TablClick(Tabl);
}

void TForm10::Button5Click(TObject*) {
    if (CaseKind != 2 || !CurrentElement) return;
    ModalResult = mrCancel;
    TStringList numbers;
    if (IFrameServices* frame = ModelHooks().Frame) frame->OpenCaseWindow(&numbers, CurrentElement->Name(), CurrentElement);
}
