#include "editor/PinDriver.h"

#include <vector>

#include "controls/QKMsgDlg.h"
#include "controls/QKStrList.h"
#include "controls/gui/Placemnt.h"
#include "document/DriversInfo.h"
#include "editor/AddDriver.h"
#include "editor/AddPin.h"
#include "editor/AddTypeDrv.h"

TPinDriverDlg* PinDriverDlg = nullptr;

namespace {

using Row = std::vector<AnsiString>;

void FillGrid(TStringGrid* grid, const Row& header, const std::vector<Row>& rows) {
    const int keep = grid->Row();
    grid->ClearCells();
    grid->SetColCount(int(header.size()));
    // A grid keeps one empty row below its header when the table is empty.
    grid->SetRowCount(std::max<int>(2, int(rows.size()) + 1));
    for (int c = 0; c < int(header.size()); ++c) grid->SetCells(c, 0, header[std::size_t(c)]);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < int(rows[std::size_t(r)].size()); ++c)
            grid->SetCells(c, r + 1, rows[std::size_t(r)][std::size_t(c)]);
    grid->SetRow(std::min(std::max(keep, 1), grid->RowCount() - 1));
}

// The lines of the dialog's string list.
enum CaptionLine { clName, clNumber, clDirection, clDriverType, clAddress, clBits, clInterrupt, clDriver, clBit, clComment,
                   clInput, clOutput };
const char* const kCaptions[] = {"Имя", "Номер", "Тип", "Тип драйвера", "Адрес", "Битов", "Прерывание", "Драйвер", "Бит",
                                 "Комментарий", "Вход", "Выход"};

} // namespace

TPinDriverDlg::TPinDriverDlg(TComponent* owner) : TPinDriverDlg(owner, TDriversInfo::DefaultFileName) {}

TPinDriverDlg::TPinDriverDlg(TComponent* owner, const AnsiString& fileName)
    : TForm(owner), inUse_(std::make_unique<TDriversInfo>()) {
    Build();
    inUse_->LoadFromFile(fileName);
    inUse_->Modified = false;
    SetDriversInUse(inUse_.get());
    ShowTable(inUse_.get());
}

TPinDriverDlg::~TPinDriverDlg() {
    // Signals added by other dialogs (connectors) reach the file at the end.
    if (inUse_->Modified) inUse_->SaveToFile(inUse_->FileName);
    if (&DriversInUse() == inUse_.get()) SetDriversInUse(nullptr);
    if (PinDriverDlg == this) PinDriverDlg = nullptr;
}

void TPinDriverDlg::Build() {
    SetName("PinDriverDlg");
    SetCaption("Сигналы от станка"_a);
    SetPosition(poScreenCenter);
    SetClientWidth(600);
    SetClientHeight(400);

    TPanel* buttons = NewControl<TPanel>(this, this, "ButtonPanel");
    buttons->SetHeight(41);
    buttons->SetAlign(alBottom);
    buttons->SetBevelOuter(bvNone);
    auto button = [&](const char* name, const AnsiString& caption, int x) {
        TButton* b = NewControl<TButton>(this, buttons, name);
        b->SetCaption(caption);
        b->SetBounds(x, 8, 80, 25);
        return b;
    };
    AddBtn = button("AddBtn", "Добавить"_a, 8);
    AddBtn->OnClick = [this](TObject* s) { AddBtnClick(s); };
    EditBtn = button("EditBtn", "Изменить"_a, 94);
    EditBtn->OnClick = [this](TObject* s) { EditBtnClick(s); };
    DeleteBtn = button("DeleteBtn", "Удалить"_a, 180);
    DeleteBtn->OnClick = [this](TObject* s) { DeleteBtnClick(s); };
    OKBtn = button("OKBtn", "Да"_a, 426);
    OKBtn->SetAnchors(akRight | akTop);
    OKBtn->SetDefault(true);
    OKBtn->ModalResult = mrOk;
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn = button("CancelBtn", "Отмена"_a, 512);
    CancelBtn->SetAnchors(akRight | akTop);
    CancelBtn->SetCancel(true);
    CancelBtn->ModalResult = mrCancel;
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alClient);
    auto page = [&](const char* name, const AnsiString& caption, TStringGrid*& grid, const char* gridName) {
        TTabSheet* sheet = NewControl<TTabSheet>(this, nullptr, name);
        sheet->SetPageControl(PageControl1);
        sheet->SetCaption(caption);
        grid = NewControl<TStringGrid>(this, sheet, gridName);
        grid->SetAlign(alClient);
        grid->SetFixedCols(0);
        grid->SetOptions(DefaultGridOptions | goRowSelect | goColSizing);
        grid->SetDefaultColWidth(110);
        grid->SetDefaultRowHeight(20);
        grid->OnDblClick = [this](TObject* s) { EditBtnClick(s); };
        return sheet;
    };
    TypesSheet = page("TypesSheet", "Типы драйверов"_a, TypesGrid, "TypesGrid");
    DriversSheet = page("DriversSheet", "Драйвера"_a, DriversGrid, "DriversGrid");
    PinsSheet = page("PinsSheet", "Сигналы"_a, PinGrid, "PinGrid");
    VarSheet = page("VarSheet", "Внутренние сигналы"_a, VarGrid, "VarGrid");
    PinGrid->SetColWidths(3, 220);
    VarGrid->SetColWidths(1, 330);
    // The six columns of the drivers fit the page, each header whole.
    const int driverWidths[] = {110, 70, 110, 90, 70, 110};
    DriversGrid->SetColCount(6);
    for (int c = 0; c < 6; ++c) DriversGrid->SetColWidths(c, driverWidths[c]);

    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject*, TCloseAction&) {
        // However the dialog closes without "Да", the copy is dropped.
        working_.reset();
        ShowTable(inUse_.get());
    };
    StrList = NewComponent<TQKStrList>(this, "StrList");
    for (const char* caption : kCaptions) StrList->GetList()->Add(Utf8ToAnsi(caption));
    ErrorDlg = NewComponent<TQKMsgDlg>(this, "ErrorDlg");
    ErrorDlg->MsgType = mtError;
    ErrorDlg->MsgButtons = mbOKOnly;
    DeleteDlg = NewComponent<TQKMsgDlg>(this, "DeleteDlg");
    DeleteDlg->MsgText = "Удалить выбранную строку?"_a;
    DeleteDlg->MsgType = mtConfirmation;
    DeleteDlg->MsgButtons = mbYesNo;
    Placement = NewComponent<TFormPlacement>(this, "Placement");
    Placement->UseRegistry = true;
    Placement->Version = 13;
    Placement->BeginLoading();
    Placement->EndLoading();
}

void TPinDriverDlg::Refuse(const AnsiString& text) {
    if (text.IsEmpty()) return;
    ErrorDlg->MsgText = text;
    ErrorDlg->Execute();
}

void TPinDriverDlg::ShowTable(const TDriversInfo* t) {
    const TStringList* c = StrList->GetList();
    auto caption = [c](CaptionLine line) { return c->Strings(line); };
    std::vector<Row> rows;
    for (int i = 0; i < t->GetDriverTypeCount(); ++i) {
        const _drvtype d = t->GetDriverType(i);
        rows.push_back({d.Name, IntToStr(d.UserType)});
    }
    FillGrid(TypesGrid, {caption(clName), caption(clNumber)}, rows);
    rows.clear();
    for (int i = 0; i < t->GetDriverCount(); ++i) {
        const _drv d = t->GetDriver(i);
        rows.push_back({d.Name, caption(d.Direction ? clOutput : clInput), t->GetDriverType(d.Type).Name,
                        IntToHex((long long)d.Address, 8), IntToStr(d.BitCount), IntToStr(d.Interrupt)});
    }
    FillGrid(DriversGrid,
             {caption(clName), caption(clDirection), caption(clDriverType), caption(clAddress), caption(clBits),
              caption(clInterrupt)},
             rows);
    rows.clear();
    for (int i = 0; i < t->GetBitCount(); ++i) {
        const _bit b = t->GetBit(i);
        rows.push_back({b.Name, t->GetDriver(b.Driver).Name, IntToStr(b.Bit), b.Comment});
    }
    FillGrid(PinGrid, {caption(clName), caption(clDriver), caption(clBit), caption(clComment)}, rows);
    rows.clear();
    for (int i = 0; i < t->GetVarBitCount(); ++i) {
        const _varbit v = t->GetVarBit(i);
        rows.push_back({v.Name, v.Comment});
    }
    FillGrid(VarGrid, {caption(clName), caption(clComment)}, rows);
}

void TPinDriverDlg::FormShow(TObject*) {
    working_ = std::make_unique<TDriversInfo>();
    working_->FileName = inUse_->FileName;
    TDriversInfo::Assign(working_.get(), inUse_.get());
    // As they stand: a stored table's twins are the translation's to refuse.
    working_->CopyVarBits(*inUse_);
    working_->Modified = false;
    ShowTable(working_.get());
}

TDriversInfo* TPinDriverDlg::Edited() const { return working_ ? working_.get() : inUse_.get(); }

TPinDriverDlg::Page TPinDriverDlg::CurrentPage() const {
    const int i = PageControl1->ActivePageIndex();
    return i >= PageTypes && i <= PageVars ? Page(i) : PageTypes;
}

TStringGrid* TPinDriverDlg::GridOf(Page page) const {
    switch (page) {
    case PageTypes: return TypesGrid;
    case PageDrivers: return DriversGrid;
    case PagePins: return PinGrid;
    default: return VarGrid;
    }
}

int TPinDriverDlg::SelectedRow(Page page) const {
    const TDriversInfo* t = Edited();
    const int count = page == PageTypes     ? t->GetDriverTypeCount()
                      : page == PageDrivers ? t->GetDriverCount()
                      : page == PagePins    ? t->GetBitCount()
                                            : t->GetVarBitCount();
    const int row = GridOf(page)->Row() - 1;
    return row >= 0 && row < count ? row : -1;
}

bool TPinDriverDlg::EditType(int index) {
    TDriversInfo* t = Edited();
    TAddTypeDrvForm* f = AddTypeDrvForm;
    const _drvtype old = t->GetDriverType(index);
    f->NameTypeDrv->SetEnabled(true);
    f->NumberTypeDrv->SetEnabled(true);
    f->NameTypeDrv->SetText(index < 0 ? AnsiString() : old.Name);
    f->NumberTypeDrv->SetValue(index < 0 ? 1 : old.UserType);
    for (;;) {
        if (f->ShowModal() != mrOk) return false;
        const AnsiString name = f->NameTypeDrv->Text().Trim();
        const int number = f->NumberTypeDrv->AsInteger();
        const int r = index < 0 ? t->AddDriverType(name, number) : t->EditDriverType(index, name, number);
        if (r == TDriversInfo::Ok) return true;
        Refuse(t->LastError());
    }
}

bool TPinDriverDlg::EditDriver(int index) {
    TDriversInfo* t = Edited();
    TAddDriverForm* f = AddDriverForm;
    TStrings* types = f->DrvTypeComboBox->Items();
    types->Clear();
    for (int i = 0; i < t->GetDriverTypeCount(); ++i) types->Add(t->GetDriverType(i).Name);
    const _drv old = t->GetDriver(index);
    if (index < 0) {
        f->NameEdit->SetText(AnsiString());
        f->TypeInOutComboBox->SetItemIndex(0);
        f->AdresEdit->SetValue(0);
        f->bitEdit->SetValue(0);
        f->InterruptEdit->SetItemIndex(0);
        f->DrvTypeComboBox->SetItemIndex(types->Count() > 0 ? 0 : -1);
    } else {
        f->NameEdit->SetText(old.Name);
        f->TypeInOutComboBox->SetItemIndex(old.Direction ? 1 : 0);
        f->AdresEdit->SetValue(double(old.Address));
        f->bitEdit->SetValue(old.BitCount);
        f->InterruptEdit->SetText(IntToStr(old.Interrupt));
        f->DrvTypeComboBox->SetItemIndex(old.Type);
    }
    for (;;) {
        if (f->ShowModal() != mrOk) return false;
        _drv d;
        d.Name = f->NameEdit->Text().Trim();
        d.Type = f->DrvTypeComboBox->ItemIndex();
        d.Direction = f->TypeInOutComboBox->ItemIndex() == 1 ? 1 : 0;
        d.Address = uint32_t(int64_t(f->AdresEdit->Value()));
        d.BitCount = f->bitEdit->AsInteger();
        // An interrupt that is not a number is refused by the table.
        if (!TryStrToInt(f->InterruptEdit->Text().Trim(), d.Interrupt)) d.Interrupt = -1;
        const int r = index < 0 ? t->AddDriver(d) : t->EditDriver(index, d);
        if (r == TDriversInfo::Ok) return true;
        Refuse(t->LastError());
    }
}

bool TPinDriverDlg::EditPin(int index) {
    TDriversInfo* t = Edited();
    TAddPinForm* f = AddPinForm;
    t->GetDriverNames(f->DrvComboBox->Items());
    const _bit old = t->GetBit(index);
    f->NameEdit->SetText(index < 0 ? AnsiString() : old.Name);
    f->DrvComboBox->SetItemIndex(index < 0 ? (f->DrvComboBox->Items()->Count() > 0 ? 0 : -1) : old.Driver);
    f->BitEdit->SetValue(index < 0 ? 0 : old.Bit);
    f->ComentEdit->SetText(index < 0 ? AnsiString() : old.Comment);
    for (;;) {
        if (f->ShowModal() != mrOk) return false;
        const AnsiString name = f->NameEdit->Text().Trim();
        const AnsiString driver = f->DrvComboBox->Text();
        const int bit = f->BitEdit->AsInteger();
        const AnsiString comment = f->ComentEdit->Text();
        if (index < 0) {
            if (t->AddBit(name, driver, bit, comment) == TDriversInfo::Ok) return true;
            Refuse(t->LastError());
        } else if (t->EditBit(old.Name, name, driver, bit, comment) == TDriversInfo::Ok) {
            // EditBit shows its own refusals.
            return true;
        }
    }
}

bool TPinDriverDlg::EditVar(int index) {
    TDriversInfo* t = Edited();
    TAddPinForm* f = AddPinForm;
    const _varbit old = t->GetVarBit(index);
    // A variable signal has a name and a comment only; a connector of the
    // schemes carries its name, so an existing one keeps it.
    f->DrvComboBox->Items()->Clear();
    f->DrvComboBox->SetEnabled(false);
    f->BitEdit->SetEnabled(false);
    f->NameEdit->SetReadOnly(index >= 0);
    f->NameEdit->SetText(index < 0 ? AnsiString() : old.Name);
    f->ComentEdit->SetText(index < 0 ? AnsiString() : old.Comment);
    bool changed = false;
    for (;;) {
        if (f->ShowModal() != mrOk) break;
        if (index >= 0) {
            // The table reports a comment it refuses.
            t->SetVarBitComment(old.Name, f->ComentEdit->Text());
            if (t->LastError().IsEmpty()) {
                changed = true;
                break;
            }
        } else if (t->AddVarBit(f->NameEdit->Text().Trim(), f->ComentEdit->Text())) {
            changed = true;
            break;
        }
    }
    f->DrvComboBox->SetEnabled(true);
    f->BitEdit->SetEnabled(true);
    f->NameEdit->SetReadOnly(false);
    return changed;
}

void TPinDriverDlg::AddBtnClick(TObject*) {
    const Page page = CurrentPage();
    bool changed = false;
    switch (page) {
    case PageTypes: changed = EditType(-1); break;
    case PageDrivers: changed = EditDriver(-1); break;
    case PagePins: changed = EditPin(-1); break;
    case PageVars: changed = EditVar(-1); break;
    }
    if (!changed) return;
    ShowTable(Edited());
    GridOf(page)->SetRow(GridOf(page)->RowCount() - 1);
}

void TPinDriverDlg::EditBtnClick(TObject*) {
    const Page page = CurrentPage();
    const int row = SelectedRow(page);
    if (row < 0) return;
    bool changed = false;
    switch (page) {
    case PageTypes: changed = EditType(row); break;
    case PageDrivers: changed = EditDriver(row); break;
    case PagePins: changed = EditPin(row); break;
    case PageVars: changed = EditVar(row); break;
    }
    if (changed) ShowTable(Edited());
}

void TPinDriverDlg::DeleteBtnClick(TObject*) {
    const Page page = CurrentPage();
    const int row = SelectedRow(page);
    if (row < 0 || DeleteDlg->Execute() != mrYes) return;
    TDriversInfo* t = Edited();
    int r = TDriversInfo::Ok;
    switch (page) {
    case PageTypes: r = t->DeleteDriverType(row); break;
    case PageDrivers: r = t->DeleteDriver(row); break;
    case PagePins: r = t->DeleteBit(row); break;
    case PageVars: r = t->DeleteVarBit(row); break;
    }
    if (r != TDriversInfo::Ok) Refuse(t->LastError());
    else ShowTable(t);
}

void TPinDriverDlg::OKBtnClick(TObject*) {
    if (!working_) return;
    inUse_.swap(working_);
    working_.reset();
    SetDriversInUse(inUse_.get());
    inUse_->SaveToFile(inUse_->FileName);
}

void TPinDriverDlg::CancelBtnClick(TObject*) { working_.reset(); }

bool TPinDriverDlg::FindBitDriver(const AnsiString& name, AnsiString& driverName, int& bitNumber) const {
    AnsiString comment;
    return inUse_->FindBit(name, driverName, bitNumber, comment);
}

void TPinDriverDlg::ListDrivers(TStrings* list) const { inUse_->ListDrivers(list); }

void TPinDriverDlg::ListDriverTypes(TStrings* list) const { inUse_->ListDriverTypes(list); }

void TPinDriverDlg::SelectPin(const AnsiString& name) {
    // The table in use may have gained signals since the grids showed it
    // (the pin dialogs add them).
    if (!working_) ShowTable(inUse_.get());
    const TDriversInfo* t = Edited();
    for (int i = 0; i < t->GetBitCount(); ++i) {
        if (SameText(t->GetBit(i).Name, name)) {
            PinGrid->SetRow(i + 1);
            return;
        }
    }
}
