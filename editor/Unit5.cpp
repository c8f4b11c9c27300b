#include "editor/Unit5.h"

#include "document/DriversInfo.h"
#include "editor/EditorHooks.h"
#include "editor/ElementDlg.h"
#include "editor/FindGlyph.h"
#include "editor/PinDriver.h"
#include "model/Driver.h"
#include "platform/UiPort.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* owner) : TForm(owner) {
    SetName("Form5");
    SetCaption("Вывод драйвера"_a);
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(288);
    SetClientHeight(180);

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetBounds(4, 4, 280, 134);
    TabSheet1 = NewControl<TTabSheet>(this, nullptr, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("Параметры"_a);
    TabSheet2 = NewControl<TTabSheet>(this, nullptr, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("Вывод"_a);

    Label1 = NewControl<TLabel>(this, TabSheet1, "Label1");
    Label1->SetCaption("Имя"_a);
    Label1->SetBounds(8, 8, 40, 16);
    NameEdit = NewControl<TComboBox>(this, TabSheet1, "NameEdit");
    NameEdit->SetBounds(8, 26, 170, 21);
    NameEdit->SetDropDownCount(16);
    NameEdit->OnChange = [this](TObject* s) { NameEditChange(s); };
    btFind = NewControl<TBitBtn>(this, TabSheet1, "btFind");
    btFind->SetBounds(222, 20, 33, 33);
    btFind->SetHint("Найти сигнал"_a);
    btFind->SetGlyph(MakeFindSignalGlyph().get());
    btFind->SetShowHint(true);
    btFind->OnClick = [this](TObject* s) { btFindClick(s); };
    Button3 = NewControl<TButton>(this, TabSheet1, "Button3");
    Button3->SetCaption("Настроить"_a);
    Button3->SetBounds(8, 60, 100, 25);
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };

    GroupBox1 = NewControl<TGroupBox>(this, TabSheet2, "GroupBox1");
    GroupBox1->SetCaption("Драйвер"_a);
    GroupBox1->SetBounds(4, 2, 150, 46);
    DrvComboBox = NewControl<TComboBox>(this, GroupBox1, "DrvComboBox");
    DrvComboBox->SetStyle(csDropDownList);
    DrvComboBox->SetBounds(8, 18, 134, 21);
    GroupBox2 = NewControl<TGroupBox>(this, TabSheet2, "GroupBox2");
    GroupBox2->SetCaption("Бит"_a);
    GroupBox2->SetBounds(160, 2, 108, 46);
    BitEdit = NewControl<TExSpinEdit>(this, GroupBox2, "BitEdit");
    BitEdit->SetButtonKind(bkStandard);
    BitEdit->SetBounds(8, 18, 92, 21);
    GroupBox4 = NewControl<TGroupBox>(this, TabSheet2, "GroupBox4");
    GroupBox4->SetCaption("Комментарии"_a);
    GroupBox4->SetBounds(4, 52, 264, 46);
    ComentEdit = NewControl<TEdit>(this, GroupBox4, "ComentEdit");
    ComentEdit->SetBounds(8, 18, 248, 21);
    CheckBox1 = NewControl<TCheckBox>(this, TabSheet2, "CheckBox1");
    CheckBox1->SetCaption("Зеркально"_a);
    CheckBox1->SetBounds(160, 2, 100, 17);
    CheckBox1->SetVisible(false);

    MakeApplyCancel(this, "Button1", "Button2", 146, 88, Button1, Button2);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    btAddToDebug = NewControl<TButton>(this, this, "btAddToDebug");
    btAddToDebug->SetCaption("В отладчик"_a);
    btAddToDebug->SetHint("Добавить вывод в отладчик"_a);
    btAddToDebug->SetShowHint(true);
    btAddToDebug->SetBounds(100, 146, 88, 27);
    btAddToDebug->OnClick = [this](TObject* s) { btAddToDebugClick(s); };
    SetActiveControl(NameEdit);
    // The dialog is only ever shown modally: it becomes the active window
    // exactly when it is shown.
    OnShow = [this](TObject* s) { FormActivate(s); };
}

TForm5::~TForm5() {
    if (Form5 == this) Form5 = nullptr;
}

void TForm5::FillDrivers() {
    DrvComboBox->Clear();
    DriversInUse().GetDriverNames(DrvComboBox->Items());
}

void TForm5::FillNames() {
    const AnsiString text = NameEdit->Text();
    DriversInUse().GetBitNames(NameEdit->Items());
    NameEdit->SetText(text);
}

void TForm5::ShowBitOf(TDriver* element) {
    DrvComboBox->SetItemIndex(DrvComboBox->Items()->IndexOf(element->GetDriverName()));
    BitEdit->SetValue(element->GetBitNumber());
    ComentEdit->SetText(element->GetComment());
}

void TForm5::LoadEntity(TDriver* element) {
    if (!element) return;
    FillDrivers();
    NameEdit->SetText(element->Name());
    ShowBitOf(element);
    CheckBox1->SetChecked(element->Mirrored());
}

void TForm5::StoreEntity(TDriver* element) {
    if (!element) return;
    element->SetBitNumber(BitEdit->AsInteger());
    element->SetName(NameEdit->Text());
    element->SetComment(ComentEdit->Text());
    element->SetDriverName(DrvComboBox->Text());
    element->SetMirrored(CheckBox1->Checked());
}

void TForm5::FormActivate(TObject*) {
    FillNames();
    PageControl1->SetActivePage(TabSheet1);
    NameEdit->SelectAll();
    if (NameEdit->CanFocus()) NameEdit->SetFocus();
    // The search and debugger buttons show only when the frame offers them.
    btFind->SetVisible(SchemeFrame().SignalSearchPresent());
    btAddToDebug->SetVisible(SchemeFrame().DebuggerPresent());
}

void TForm5::NameEditChange(TObject*) {
    AnsiString driver, comment;
    int bit = 0;
    if (!DriversInUse().FindBitAnyCase(NameEdit->Text(), driver, bit, comment)) return;
    DrvComboBox->SetItemIndex(DrvComboBox->Items()->IndexOf(driver));
    BitEdit->SetValue(bit);
    ComentEdit->SetText(comment);
}

void TForm5::Button1Click(TObject*) {
    TDriversInfo& table = DriversInUse();
    const AnsiString name = NameEdit->Text();
    const AnsiString driver = DrvComboBox->Text();
    const int bit = BitEdit->AsInteger();
    // The table's signal letter case aside, as the translation takes the pin:
    // a pin typed "a" is the table's A.
    if (const int row = table.FindBitIndexAnyCase(name); row >= 0) {
        const _bit known = table.GetBit(row);
        if (table.GetDriver(known.Driver).Name != driver || known.Bit != bit) {
            MessageDlg("Этот бит имеет другие параметры"_a, mtError, mbYesOnly);
            ModalResult = mrNone;
            return;
        }
        // The table says why it refuses a comment.
        if (table.EditBit(known.Name, known.Name, driver, bit, ComentEdit->Text()) != TDriversInfo::Ok)
            ModalResult = mrNone;
        return;
    }
    // Without a driver the pin only takes the name.
    if (driver.IsEmpty()) return;
    if (table.AddBit(name, driver, bit, ComentEdit->Text()) != TDriversInfo::Ok) {
        MessageDlg(table.LastError(), mtError, mbOKOnly);
        ModalResult = mrNone;
    }
}

void TForm5::btAddToDebugClick(TObject* Sender) {
    ModalResult = mrOk;
    Button1Click(Sender);
    if (ModalResult != mrOk) return;
    TDriversInfo& table = DriversInUse();
    AnsiString driver, comment;
    int bit = 0;
    const AnsiString name = NameEdit->Text();
    if (!table.FindBitAnyCase(name, driver, bit, comment)) return;
    const int number = table.FindDriverNumber(driver);
    if (number < 0) return;
    SchemeFrame().AddSignalToDebug(name, table.GetDriver(number).Direction == 0 ? 0 : 1);
}

void TForm5::Button3Click(TObject*) {
    if (!PinDriverDlg) return;
    TDriver probe(nullptr);
    StoreEntity(&probe);
    PinDriverDlg->SelectPin(probe.Name());
    if (PinDriverDlg->ShowModal() != mrOk) return;
    FillDrivers();
    FillNames();
    ShowBitOf(&probe);
}

void TForm5::btFindClick(TObject*) { SchemeFrame().FindSignal(NameEdit->Text()); }
