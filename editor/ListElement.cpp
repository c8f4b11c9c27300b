#include "editor/ListElement.h"

#include "document/EditorChild.h"
#include "document/Scheme.h"
#include "editor/ChildWin.h"
#include "editor/EditorHooks.h"
#include "platform/Canvas.h"
#include "platform/gui/Dialogs.h"

TListElementDlg* ListElementDlg = nullptr;

const char* const TListElementDlg::kCaption = "Список элементов в схеме ";

TListElementDlg::TListElementDlg(TComponent* owner) : TForm(owner) {
    SetName("ListElementDlg");
    SetCaption(Utf8ToAnsi(kCaption));
    SetFormStyle(fsStayOnTop);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(355);
    SetClientHeight(396);

    GroupBox1 = NewControl<TGroupBox>(this, this, "GroupBox1");
    GroupBox1->SetCaption("Элементы"_a);
    GroupBox1->SetBounds(8, 4, 205, 212);
    ComboBox1 = NewControl<TComboBox>(this, GroupBox1, "ComboBox1");
    ComboBox1->SetStyle(csDropDownList);
    ComboBox1->Items()->Add("Элементы"_a);
    ComboBox1->Items()->Add("Выводы драйверов"_a);
    ComboBox1->SetBounds(8, 18, 189, 21);
    ListElementBox = NewControl<TListBox>(this, GroupBox1, "ListElementBox");
    ListElementBox->SetMultiSelect(true);
    ListElementBox->SetBounds(8, 46, 189, 158);

    auto button = [this](const char* name, const char* caption, int top) {
        TButton* b = NewControl<TButton>(this, this, name);
        b->SetCaption(Utf8ToAnsi(caption));
        b->SetBounds(222, top, 125, 25);
        return b;
    };
    Button1 = button("Button1", "Выделить", 12);
    Button2 = button("Button2", "Свойства", 42);
    Sortir = button("Sortir", "Сортировать", 72);
    Sortir->SetHint("Сортировка элементов по именам"_a);
    Sortir->SetShowHint(true);
    Button4 = button("Button4", "Печать", 102);
    Button3 = button("Button3", "Удалить", 132);
    Button3->SetVisible(false);
    CheckBox1 = NewControl<TCheckBox>(this, this, "CheckBox1");
    CheckBox1->SetCaption("Весь проект"_a);
    CheckBox1->SetBounds(222, 162, 125, 17);
    CheckBox1->SetVisible(false);
    OKBtn = button("OKBtn", "Закрыть", 188);
    OKBtn->SetDefault(true);

    GroupBox2 = NewControl<TGroupBox>(this, this, "GroupBox2");
    GroupBox2->SetCaption("Список выводов"_a);
    GroupBox2->SetBounds(8, 222, 339, 166);
    SG = NewControl<TStringGrid>(this, GroupBox2, "SG");
    SG->SetBounds(8, 18, 323, 140);
    SG->SetDefaultRowHeight(18);
    SG->SetDefaultColWidth(52);
    SG->SetFixedCols(0);
    SG->SetColCount(6);
    SG->SetRowCount(1);
    SG->SetOptions(DefaultGridOptions | goColSizing | goRowSelect);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormActivate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
    ComboBox1->OnChange = [this](TObject* s) { FormActivate(s); };
    ListElementBox->OnClick = [this](TObject* s) { ListElementBoxClick(s); };
    ListElementBox->OnDblClick = [this](TObject* s) { Button1Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Sortir->OnClick = [this](TObject* s) { SortirClick(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
}

TListElementDlg::~TListElementDlg() {
    if (ListElementDlg == this) ListElementDlg = nullptr;
}

ISchemeChild* TListElementDlg::ActiveScheme() {
    TForm* frame = Application->MainForm();
    return frame ? dynamic_cast<ISchemeChild*>(frame->ActiveMDIChild()) : nullptr;
}

void TListElementDlg::FormCreate(TObject*) { ComboBox1->SetItemIndex(0); }

void TListElementDlg::FormActivate(TObject*) {
    ISchemeChild* window = ActiveScheme();
    if (!window) {
        Close();
        return;
    }
    // Built afresh each time: activations without a deactivation between
    // them (a change of the mode) never add the name twice.
    SetCaption(Utf8ToAnsi(kCaption) + "  " + window->SchemeDocument()->GetName());
    SG->SetRowCount(1);
    const bool elements = ComboBox1->ItemIndex() != 1;
    if (elements) FillElements();
    else FillDrivers();
    Sortir->SetVisible(elements);
}

void TListElementDlg::FormDeactivate(TObject*) { SetCaption(Utf8ToAnsi(kCaption)); }

void TListElementDlg::FillElements() {
    ListElementBox->Clear();
    names_.clear();
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    TScheme* doc = window->SchemeDocument();
    auto add = [this](TElement* e) {
        names_.push_back(e->Name());
        ListElementBox->Items()->Add(e->Name() + " - " + IntToStr(e->Number()));
    };
    // Numbered 1 .. N without gaps: in processing order; else as stored.
    if (doc->CheckNumbers(0) == 0) {
        for (TElement* e = doc->NextByNumber(true); e; e = doc->NextByNumber(false)) add(e);
    } else {
        for (TElement* e = doc->FirstDevice(); e; e = doc->NextDevice()) add(e);
    }
}

void TListElementDlg::FillDrivers() {
    ListElementBox->Clear();
    names_.clear();
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    TScheme* doc = window->SchemeDocument();
    for (TDriver* d = doc->FirstDriver(); d; d = doc->NextDriver()) {
        if (std::find(names_.begin(), names_.end(), d->Name()) != names_.end()) continue;
        names_.push_back(d->Name());
        ListElementBox->Items()->Add(d->Name());
    }
}

AnsiString TListElementDlg::EntryName(int index) const {
    return index >= 0 && index < int(names_.size()) ? names_[std::size_t(index)] : AnsiString();
}

std::vector<AnsiString> TListElementDlg::ChosenNames() const {
    std::vector<AnsiString> chosen;
    for (int i = 0; i < ListElementBox->Items()->Count(); ++i)
        if (ListElementBox->Selected(i)) chosen.push_back(EntryName(i));
    return chosen;
}

void TListElementDlg::ShowElementPins(TElement* e) {
    SG->SetColCount(6);
    SG->SetRowCount(e->PinCount() + 1);
    SG->SetFixedRows(e->PinCount() > 0 ? 1 : 0);
    int col = 0;
    for (const char* head : {"Имя", "Тип", "Инв", "Имя дрв", "Тип дрв", "Бит"}) SG->SetCells(col++, 0, Utf8ToAnsi(head));
    for (int i = 0; i < e->PinCount(); ++i) {
        TInOut* pin = e->Pin(i);
        const int row = i + 1;
        SG->SetCells(0, row, pin->Name());
        SG->SetCells(1, row, pin->Direction() == 0 ? "Вход"_a : "Выход"_a);
        SG->SetCells(2, row, pin->Inverse() ? "Да"_a : "Нет"_a);
        bool joined = false;
        TDriver* driver = TMDIChild::PinNetDriver(pin, joined);
        if (driver) {
            SG->SetCells(3, row, driver->Name());
            SG->SetCells(4, row, driver->GetDriverName());
            SG->SetCells(5, row, IntToStr(driver->GetBitNumber()));
        } else if (joined) {
            SG->SetCells(3, row, AnsiString());
            SG->SetCells(4, row, "var");
            SG->SetCells(5, row, "Нет"_a);
        } else {
            for (int c = 3; c <= 5; ++c) SG->SetCells(c, row, "Нет"_a);
        }
    }
}

void TListElementDlg::ShowDriver(TDriver* d) {
    SG->SetColCount(3);
    SG->SetRowCount(2);
    SG->SetFixedRows(1);
    SG->SetCells(0, 0, "Имя дрв"_a);
    SG->SetCells(1, 0, "Тип дрв"_a);
    SG->SetCells(2, 0, "Бит"_a);
    SG->SetCells(0, 1, d->Name());
    SG->SetCells(1, 1, d->GetDriverName());
    SG->SetCells(2, 1, IntToStr(d->GetBitNumber()));
}

std::vector<TEntity*> TListElementDlg::Matching(TScheme* doc, const AnsiString& name) const {
    std::vector<TEntity*> found;
    if (ComboBox1->ItemIndex() != 1) {
        for (TElement* e = doc->FirstDevice(); e; e = doc->NextDevice())
            if (e->Name() == name) found.push_back(e);
    } else {
        for (TDriver* d = doc->FirstDriver(); d; d = doc->NextDriver())
            if (d->Name() == name) found.push_back(d);
    }
    return found;
}

void TListElementDlg::ListElementBoxClick(TObject*) {
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    // The last match wins.
    TEntity* last = nullptr;
    for (const AnsiString& name : ChosenNames())
        for (TEntity* o : Matching(window->SchemeDocument(), name)) last = o;
    if (auto* driver = dynamic_cast<TDriver*>(last)) ShowDriver(driver);
    else if (auto* element = dynamic_cast<TElement*>(last)) ShowElementPins(element);
}

void TListElementDlg::Button1Click(TObject*) {
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    TScheme* doc = window->SchemeDocument();
    doc->ClearSelection();
    for (const AnsiString& name : ChosenNames()) {
        const std::vector<TEntity*> found = Matching(doc, name);
        for (TEntity* o : found) doc->AddToSelection(o, true);
        if (found.empty()) continue;
        // The scheme window in front, scrolled to the selection.
        if (auto* form = dynamic_cast<TForm*>(window)) form->BringToFront();
        window->CenterSelectedActionExecute(nullptr);
    }
}

void TListElementDlg::Button2Click(TObject*) {
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    TScheme* doc = window->SchemeDocument();
    doc->ClearSelection();
    if (ListElementBox->ItemIndex() < 0) return;
    for (const AnsiString& name : ChosenNames()) {
        // Each one alone in the selection while its dialog is open, so that
        // a change marks the scheme modified as the window's own command does.
        for (TEntity* o : Matching(doc, name)) {
            doc->ClearSelection();
            doc->AddToSelection(o, true);
            if (auto* form = dynamic_cast<TForm*>(window)) form->BringToFront();
            doc->EditSelectionProperties();
        }
    }
    ListElementBoxClick(this);
}

void TListElementDlg::SortirClick(TObject*) {
    ISchemeChild* window = ActiveScheme();
    if (!window) return;
    TScheme* doc = window->SchemeDocument();
    if (!doc->CheckNames()) ShowMessage(" Схема "_a + doc->GetFileName() + " не упорядочена"_a);
    FillElements();
}

void TListElementDlg::Button4Click(TObject*) {
    TPrinter* printer = Printer();
    const int w = printer->PageWidth() / 7;
    TPrintDialog* dialog = SchemeFrame().PrintDialog();
    if (!dialog->Execute()) return;
    const int copies = std::max(1, dialog->Copies);
    const std::vector<AnsiString> chosen = ChosenNames();
    const bool elements = ComboBox1->ItemIndex() != 1;
    TForm* frame = Application->MainForm();
    printer->Title = "Печать элементов схемы"_a;
    printer->BeginDoc();
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0) printer->NewPage();
        int y = 0;
        TMDIChild::PrintListHeader(printer, y, w);
        // Driver pins have no rows of their own: their entries print the
        // header only. Elements of that name in every open scheme window are
        // printed; state-machine windows have none.
        if (!elements || !frame) continue;
        for (int i = 0; i < frame->MDIChildCount(); ++i) {
            auto* window = dynamic_cast<ISchemeChild*>(frame->MDIChildren(i));
            if (!window) continue;
            TScheme* doc = window->SchemeDocument();
            for (const AnsiString& name : chosen)
                for (TElement* e = doc->FirstDevice(); e; e = doc->NextDevice())
                    if (e->Name() == name) TMDIChild::PrintDevice(printer, y, w, e);
        }
    }
    printer->EndDoc();
}

void TListElementDlg::OKBtnClick(TObject*) { Close(); }
