#include "editor/gotoparam.h"

#include "editor/ElementDlg.h"
#include "model/Elements.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(TComponent* owner) : TForm(owner) {
    SetName("Form12");
    SetCaption("Параметры перехода"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(312);
    SetClientHeight(230);
    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetBounds(4, 4, 304, 186);
    TabSheet1 = NewControl<TTabSheet>(this, nullptr, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("Параметры"_a);
    TabSheet2 = NewControl<TTabSheet>(this, nullptr, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("Выводы"_a);
    BuildParameterGroups(this, TabSheet1, 296, Edit2, ComboBox2, Order);

    Label1 = NewControl<TLabel>(this, TabSheet2, "Label1");
    Label1->SetCaption("Вход (инверсия)"_a);
    Label1->SetBounds(8, 8, 110, 16);
    cbIn = NewControl<TCheckBox>(this, TabSheet2, "cbIn");
    cbIn->SetBounds(124, 7, 160, 17);
    GroupBox4 = NewControl<TGroupBox>(this, TabSheet2, "GroupBox4");
    GroupBox4->SetCaption("Переход"_a);
    GroupBox4->SetBounds(6, 30, 284, 120);
    Label2 = NewControl<TLabel>(this, GroupBox4, "Label2");
    Label2->SetCaption("на схему"_a);
    Label2->SetBounds(8, 20, 80, 16);
    cbSch = NewControl<TComboBox>(this, GroupBox4, "cbSch");
    cbSch->SetStyle(csDropDownList);
    cbSch->SetBounds(8, 38, 268, 21);
    cbSch->OnChange = [this](TObject* s) { cbSchChange(s); };
    ckbElem = NewControl<TCheckBox>(this, GroupBox4, "ckbElem");
    ckbElem->SetCaption("На элемент"_a);
    ckbElem->SetBounds(8, 66, 160, 17);
    ckbElem->OnClick = [this](TObject* s) { ckbElemClick(s); };
    cbElem = NewControl<TComboBox>(this, GroupBox4, "cbElem");
    cbElem->SetStyle(csDropDownList);
    cbElem->SetDropDownCount(14);
    cbElem->SetBounds(8, 88, 268, 21);

    MakeApplyCancel(this, "Button1", "Button2", 198, 100, Button1, Button2);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    PageControl1->SetActivePage(TabSheet2);
}

TForm12::~TForm12() {
    if (Form12 == this) Form12 = nullptr;
}

void TForm12::ListElements(const AnsiString& scheme, TStrings* list) {
    if (IFrameServices* frame = ModelHooks().Frame) frame->ListSchemeElements(scheme, list);
}

bool TForm12::IsOwnScheme(const AnsiString& scheme) const {
    ISchemeContext* own = Element ? Element->Scheme() : nullptr;
    return own && !scheme.IsEmpty() && ExtractFileName(own->GetFileName()) == scheme;
}

void TForm12::FillGoto(TGotoElement* element) {
    cbSch->Clear();
    cbElem->Clear();
    Element = element;
    if (!element) return;
    Edit2->SetText(element->Name());
    ComboBox2->SetText(element->Label());
    Order->SetText(IntToStr(element->Number()));
    orderbox::Offer(Order, element, true);

    if (IFrameServices* frame = ModelHooks().Frame) frame->ListProjectFiles(AnsiString(), cbSch->Items());
    if (!element->TargetScheme.IsEmpty()) {
        const int index = cbSch->Items()->IndexOf(element->TargetScheme);
        if (index >= 0) cbSch->SetItemIndex(index);
        else ShowMessage("Нет такой схемы в проекте "_a + element->TargetScheme);
    }
    if (cbSch->ItemIndex() >= 0) ListElements(cbSch->Text(), cbElem->Items());

    ckbElem->SetChecked(element->GotoElement);
    cbElem->SetEnabled(element->GotoElement);
    if (element->GotoElement && !element->TargetElement.IsEmpty()) {
        const int index = cbElem->Items()->IndexOf(element->TargetElement);
        if (index >= 0) cbElem->SetItemIndex(index);
        else ShowMessage("Нет такого элемента в схеме "_a + element->TargetElement);
    }

    // A jump whose record lost its input has nothing to invert.
    TInOut* input = element->FirstPin();
    cbIn->SetCaption(input ? input->Name() : AnsiString());
    cbIn->SetChecked(input && input->Inverse());
    cbIn->SetEnabled(input != nullptr);
    PageControl1->SetActivePage(TabSheet2);
}

void TForm12::cbSchChange(TObject*) {
    cbElem->Clear();
    TStringList names;
    ListElements(cbSch->Text(), &names);
    // In its own scheme a jump goes forward: the elements up to it go.
    if (Element && IsOwnScheme(cbSch->Text())) {
        int k = -1;
        for (int i = 0; i < names.Count(); ++i)
            if (names[i] == Element->Name()) {
                k = i;
                break;
            }
        for (int i = 0; i <= k; ++i) names.Delete(0);
    }
    cbElem->Items()->Assign(&names);
    const int index = Element ? cbElem->Items()->IndexOf(Element->TargetElement) : -1;
    if (Element && !Element->TargetElement.IsEmpty() && index >= 0) {
        ckbElem->SetChecked(true);
        cbElem->SetItemIndex(index);
    } else {
        ckbElem->SetChecked(false);
    }
    ckbElemClick(ckbElem);
}

void TForm12::ckbElemClick(TObject*) { cbElem->SetEnabled(ckbElem->Checked()); }

void TForm12::Button1Click(TObject*) {
    if (!orderbox::Accept(Order)) ModalResult = mrNone;
}

void TForm12::ApplyGoto(TGotoElement* element) {
    if (!element) return;
    orderbox::StoreChecked(Order, element);
    if (!Edit2->Text().IsEmpty()) element->SetName(Edit2->Text());
    if (TInOut* input = element->FirstPin()) input->SetInverse(cbIn->Checked());
    // What the lists could not show stays as it was stored.
    if (cbSch->ItemIndex() >= 0) element->TargetScheme = cbSch->Text();
    element->GotoElement = ckbElem->Checked();
    if (!element->GotoElement) element->TargetElement = AnsiString();
    else if (cbElem->ItemIndex() >= 0) element->TargetElement = cbElem->Text();
}
