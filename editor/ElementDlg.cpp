#include "editor/ElementDlg.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "document/Scheme.h"
#include "model/SchemeSettings.h"
#include "platform/UiPort.h"

TForm4* Form4 = nullptr;
TForm2* Form2 = nullptr;

// ---- order numbers ----------------------------------------------------------------------------

namespace orderbox {

namespace {
// The element's scheme when it is shown in a window.
TScheme* WindowScheme(TElement* element) {
    ISchemeContext* context = element ? element->Scheme() : nullptr;
    return context && context->HasWindow() ? dynamic_cast<TScheme*>(context) : nullptr;
}
} // namespace

int OfferedCount(TElement* element) {
    TScheme* scheme = WindowScheme(element);
    return scheme ? scheme->CountDevices() : 0;
}

void Offer(TComboBox* order, TElement* element, bool emptyFirst) {
    TStrings* items = order->Items();
    const AnsiString text = order->Text();
    if (emptyFirst) items->Clear();
    const int n = OfferedCount(element);
    // Numbers offered earlier stay where they are; a scheme of thousands of
    // devices is not searched once per number.
    std::unordered_set<std::string> offered;
    for (int i = 0; i < items->Count(); ++i) offered.insert(items->Strings(i).str());
    items->BeginUpdate();
    for (int i = 1; i <= n; ++i) {
        const AnsiString number = IntToStr(i);
        if (offered.insert(number.str()).second) items->Add(number);
    }
    items->EndUpdate();
    order->SetText(text);
}

bool Accept(TComboBox* order) {
    int n = 0;
    if (TryStrToInt(order->Text(), n)) return true;
    ShowMessage(" Неправильно введены параметры! "_a);
    // The box may lie on a page that is not shown.
    for (TWinControl* p = order->Parent(); p; p = p->Parent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(p)) {
            if (sheet->PageControl()) sheet->PageControl()->SetActivePage(sheet);
            break;
        }
    if (order->CanFocus()) order->SetFocus();
    return false;
}

void StoreChecked(TComboBox* order, TElement* element) {
    int n = 0;
    if (!element || !TryStrToInt(order->Text(), n)) return;
    TScheme* scheme = WindowScheme(element);
    if (scheme && schemesettings::CheckOrder()) {
        TElement* other = scheme->FindDeviceByNumber(n);
        if (other && other != element) {
            ShowMessage("В схеме уже существует элемент с номером "_a + order->Text());
            return;
        }
    }
    element->SetNumber(n);
}

void StorePlain(TComboBox* order, TElement* element) {
    int n = 0;
    if (element && TryStrToInt(order->Text(), n)) element->SetNumber(n);
}

} // namespace orderbox

void BuildParameterGroups(TComponent* owner, TWinControl* page, int pageWidth, TEdit*& edit2, TComboBox*& comboBox2,
                          TComboBox*& order) {
    const int width = pageWidth - 16;
    auto group = [&](const char* name, const char* caption, int top) {
        TGroupBox* g = NewControl<TGroupBox>(owner, page, name);
        g->SetCaption(Utf8ToAnsi(caption));
        g->SetBounds(8, top, width, 46);
        return g;
    };
    TGroupBox* nameGroup = group("GroupBox1", "Имя элемента", 4);
    edit2 = NewControl<TEdit>(owner, nameGroup, "Edit2");
    edit2->SetBounds(8, 18, width - 16, 21);
    TGroupBox* typeGroup = group("GroupBox2", "Тип элемента", 54);
    comboBox2 = NewControl<TComboBox>(owner, typeGroup, "ComboBox2");
    comboBox2->SetBounds(8, 18, width - 16, 21);
    typeGroup->SetEnabled(false);
    TGroupBox* orderGroup = group("GroupBox3", "Порядок элемента", 104);
    order = NewControl<TComboBox>(owner, orderGroup, "Order");
    order->SetBounds(8, 18, 110, 21);
    order->SetDropDownCount(16);
}

void MakeApplyCancel(TForm* form, const char* applyName, const char* cancelName, int top, int width, TButton*& apply,
                     TButton*& cancel) {
    apply = NewControl<TButton>(form, form, applyName);
    apply->SetCaption("Применить"_a);
    apply->SetDefault(true);
    apply->ModalResult = mrOk;
    apply->SetBounds(8, top, width, 27);
    cancel = NewControl<TButton>(form, form, cancelName);
    cancel->SetCaption("Отменить"_a);
    cancel->SetCancel(true);
    cancel->ModalResult = mrCancel;
    cancel->SetBounds(form->ClientWidth() - 8 - width, top, width, 27);
}

// ---- the common frame ------------------------------------------------------------------------

TElementPages::TElementPages(TComponent* owner, const AnsiString& caption, int clientWidth, int clientHeight)
    : TForm(owner) {
    SetCaption(caption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(clientWidth);
    SetClientHeight(clientHeight);

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetBounds(4, 4, clientWidth - 8, clientHeight - 46);
    TabSheet1 = NewControl<TTabSheet>(this, nullptr, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("Параметры"_a);
    TabSheet2 = NewControl<TTabSheet>(this, nullptr, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("Выводы"_a);
    BuildParameterGroups(this, TabSheet1, clientWidth - 16, Edit2, ComboBox2, Order);

    const int gridWidth = 250;
    InSG = NewControl<TStringGrid>(this, TabSheet2, "InSG");
    InSG->SetBounds(6, 6, gridWidth, clientHeight - 126);
    InSG->SetColCount(3);
    InSG->SetFixedCols(0);
    InSG->SetRowCount(2);
    InSG->SetDefaultRowHeight(18);
    InSG->SetColWidths(0, 96);
    InSG->SetColWidths(1, 56);
    InSG->SetColWidths(2, 72);
    InSG->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect | goEditing);
    InSG->OnClick = [this](TObject* s) { InSGClick(s); };
    const int side = gridWidth + 14;
    Label1 = NewControl<TLabel>(this, TabSheet2, "Label1");
    Label1->SetCaption("Имя вывода"_a);
    Label1->SetBounds(side, 8, 80, 16);
    Edit1 = NewControl<TEdit>(this, TabSheet2, "Edit1");
    Edit1->SetBounds(side, 26, clientWidth - side - 28, 21);
    Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
    Label2 = NewControl<TLabel>(this, TabSheet2, "Label2");
    Label2->SetCaption("Инверсия"_a);
    Label2->SetBounds(side, 56, 80, 16);
    ComboBox1 = NewControl<TComboBox>(this, TabSheet2, "ComboBox1");
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->SetBounds(side, 74, clientWidth - side - 28, 21);
    ComboBox1->Items()->Add("Нет"_a);
    ComboBox1->Items()->Add("Да"_a);
    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
    Button3 = NewControl<TButton>(this, TabSheet2, "Button3");
    Button3->SetCaption("Добавить"_a);
    Button3->SetBounds(6, clientHeight - 114, 90, 25);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4 = NewControl<TButton>(this, TabSheet2, "Button4");
    Button4->SetCaption("Удалить"_a);
    Button4->SetBounds(102, clientHeight - 114, 90, 25);
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };

    MakeApplyCancel(this, "Button1", "Button2", clientHeight - 36, 100, Button1, Button2);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    SetActiveControl(Edit2);

    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

void TElementPages::SetRow(int row, TInOut* pin) {
    InSG->SetCells(0, row, pin ? pin->Name() : AnsiString());
    InSG->SetCells(1, row, pin ? (pin->Direction() == 0 ? "Вход"_a : "Выход"_a) : AnsiString());
    InSG->SetCells(2, row, pin ? (pin->Inverse() ? "Да"_a : "Нет"_a) : AnsiString());
}

void TElementPages::FillPins(TElement* element) {
    InSG->SetCells(0, 0, "Имя"_a);
    InSG->SetCells(1, 0, "Тип"_a);
    InSG->SetCells(2, 0, "Инверсия"_a);
    pinRows_ = element ? element->PinCount() : 0;
    // An element without pins shows one empty row that stands for none.
    InSG->SetRowCount(std::max(pinRows_, 1) + 1);
    if (pinRows_ == 0) SetRow(1, nullptr);
    for (int i = 0; i < pinRows_; ++i) SetRow(i + 1, element->Pin(i));
    SetPinsEditable(pinsEditable_);
}

void TElementPages::AppendPinRow(TInOut* pin) {
    ++pinRows_;
    InSG->SetRowCount(pinRows_ + 1);
    SetRow(pinRows_, pin);
    SetPinsEditable(pinsEditable_);
}

void TElementPages::RemovePinRow(int index) {
    if (index < 0 || index >= pinRows_) return;
    const int row = index + 1;
    for (int r = row; r < pinRows_; ++r)
        for (int c = 0; c < 3; ++c) InSG->SetCells(c, r, InSG->Cells(c, r + 1));
    --pinRows_;
    if (pinRows_ == 0) SetRow(1, nullptr);
    InSG->SetRowCount(std::max(pinRows_, 1) + 1);
    SetPinsEditable(pinsEditable_);
    InSGClick(InSG);
}

void TElementPages::SetPinsEditable(bool editable) {
    pinsEditable_ = editable;
    const bool any = pinRows_ > 0;
    TGridOptions o = InSG->Options();
    InSG->SetOptions(editable && any ? o | goEditing : o & ~goEditing);
    Edit1->SetReadOnly(!editable);
    Edit1->SetEnabled(any);
    ComboBox1->SetEnabled(editable && any);
}

void TElementPages::LoadParameters(TElement* element, bool emptyOrderList) {
    Entity = element;
    Edit2->SetText(element->Name());
    ComboBox2->SetText(element->Label());
    Order->SetText(IntToStr(element->Number()));
    orderbox::Offer(Order, element, emptyOrderList);
    FillPins(element);
}

void TElementPages::StoreName(TElement* element) {
    if (!Edit2->Text().IsEmpty()) element->SetName(Edit2->Text());
}

void TElementPages::StorePins(TElement* element) {
    const int n = std::min(element->PinCount(), pinRows_);
    for (int i = 0; i < n; ++i) {
        TInOut* pin = element->Pin(i);
        pin->SetName(InSG->Cells(0, i + 1));
        pin->SetInverse(InSG->Cells(2, i + 1) == "Да"_a);
    }
}

void TElementPages::ChangeAtOnce(TElement* element, const std::function<void()>& change) {
    const bool shown = element->Visible();
    element->Hide();
    change();
    ISchemeContext* scheme = element->Scheme();
    if (scheme) scheme->RebuildNets();
    element->Changed = false;
    if (shown) element->Show();
    if (scheme) scheme->SetModified(true);
}

void TElementPages::Refuse(const char* text) { MessageDlg(Utf8ToAnsi(text), mtInformation, mbYesOnly); }

void TElementPages::FormActivate(TObject* Sender) {
    PageControl1->SetActivePage(TabSheet1);
    InSG->SetRow(1);
    InSGClick(Sender);
    Edit2->SelectAll();
    if (Edit2->CanFocus()) Edit2->SetFocus();
}

void TElementPages::InSGClick(TObject*) {
    const int row = InSG->Row();
    if (pinRows_ == 0 || row < 1 || row > pinRows_) {
        Edit1->SetText(AnsiString());
        ComboBox1->SetItemIndex(-1);
        return;
    }
    ComboBox1->SetItemIndex(ComboBox1->Items()->IndexOf(InSG->Cells(2, row)));
    Edit1->SetText(InSG->Cells(0, row));
}

void TElementPages::Edit1Change(TObject*) {
    const int row = InSG->Row();
    if (row >= 1 && row <= pinRows_ && !Edit1->ReadOnly()) InSG->SetCells(0, row, Edit1->Text());
}

void TElementPages::ComboBox1Change(TObject*) {
    const int row = InSG->Row();
    if (row >= 1 && row <= pinRows_) InSG->SetCells(2, row, ComboBox1->ItemIndex() == 1 ? "Да"_a : "Нет"_a);
}

void TElementPages::Button1Click(TObject*) {
    if (!orderbox::Accept(Order)) ModalResult = mrNone;
}

// ---- the generic dialog --------------------------------------------------------------------------

TForm4::TForm4(TComponent* owner) : TElementPages(owner, "Свойства элемента"_a, 400, 300) { SetName("Form4"); }

TForm4::~TForm4() {
    if (Form4 == this) Form4 = nullptr;
}

void TForm4::ShowPinButtons(bool shown) {
    Button3->SetVisible(shown);
    Button4->SetVisible(shown);
}

void TForm4::LoadEntity(TElement* element) {
    if (!element) return;
    const TEntityKind kind = element->Kind();
    // A symbol's pins are its inner scheme's connectors: shown, not changed.
    SetPinsEditable(kind != TEntityKind::Symbol);
    LoadParameters(element, true);
    // The translation fixes the pins of these kinds.
    ShowPinButtons(kind != TEntityKind::FSM && kind != TEntityKind::Filter && kind != TEntityKind::Symbol &&
                   kind != TEntityKind::DRSTrigger);
}

void TForm4::StoreEntity(TElement* element) {
    if (!element) return;
    orderbox::StoreChecked(Order, element);
    StoreName(element);
    StorePins(element);
}

void TForm4::Button3Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->InputCount() >= 8) return Refuse("Больше нельзя добавить");
    TInOut* pin = nullptr;
    ChangeAtOnce(e, [&] {
        pin = e->AddPin();
        e->SetHeight(10 + 10 * std::max(e->InputCount(), e->OutputCount()));
    });
    AppendPinRow(pin);
}

void TForm4::Button4Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->InputCount() <= 1) return Refuse("Больше нельзя удалять");
    const int index = e->PinIndex(e->GetInput(e->InputCount() - 1));
    ChangeAtOnce(e, [&] { e->DeletePin(index); });
    RemovePinRow(index);
}

// ---- the dialog with output-pin limits ------------------------------------------------------------

TForm2::TForm2(TComponent* owner) : TForm4(owner) {
    SetName("Form2");
    InSG->SetOptions(InSG->Options() | goColSizing);
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::HideControls() { ShowPinButtons(false); }

int TForm2::MaxOutputs(const TElement* element) {
    switch (element->Kind()) {
    case TEntityKind::Commutator: return 16;
    case TEntityKind::Counter:
    case TEntityKind::ReverCounter:
    case TEntityKind::D8RSCounter: return 8;
    default: return 10;
    }
}

void TForm2::Button3Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->OutputCount() >= MaxOutputs(e)) return Refuse("Больше нельзя добавить");
    if (auto* commutator = dynamic_cast<TCommutatorElement*>(e)) {
        // A data pair more: every pin is made again.
        ChangeAtOnce(e, [&] { commutator->SetPinCount(e->InputCount() + 2); });
        FillPins(e);
        return;
    }
    TInOut* pin = nullptr;
    ChangeAtOnce(e, [&] {
        const int outputs = e->OutputCount() + 1;
        pin = e->AddPin();
        pin->SetDirection(1);
        pin->SetName(e->Kind() == TEntityKind::D8RSCounter ? IntToStr(outputs - 1) : AnsiString("Out"));
        pin->SetOffsetX(e->GetWidth() + 10);
        pin->SetOffsetY(10 * outputs);
        e->SetHeight(10 + 10 * std::max(e->InputCount(), e->OutputCount()));
    });
    AppendPinRow(pin);
}

void TForm2::Button4Click(TObject*) {
    TElement* e = Entity;
    if (!e) return;
    if (e->OutputCount() <= 1) return Refuse("Больше нельзя удалять");
    if (auto* commutator = dynamic_cast<TCommutatorElement*>(e)) {
        ChangeAtOnce(e, [&] { commutator->SetPinCount(e->InputCount() - 2); });
        FillPins(e);
        return;
    }
    const int index = e->PinIndex(e->GetOutput(e->OutputCount() - 1));
    ChangeAtOnce(e, [&] { e->DeletePin(index); });
    RemovePinRow(index);
}
