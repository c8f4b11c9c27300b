#include "editor/Option.h"

#include <algorithm>

#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/Placemnt.h"
#include "document/InitModule.h"
#include "document/Scheme.h"
#include "editor/ChildWin.h"
#include "fsm/fsmScheme.h"
#include "platform/Canvas.h"

TOptionDlg* OptionDlg = nullptr;

namespace {

// A colour button: its number, caption, hint, setting, whether "Отмена"
// restores it, and whether it sits on the page of the state machines.
struct TColourButton {
    int number;
    const char* caption;
    const char* hint;
    TColor TInitModule::*setting;
    bool restored;
    bool fsm;
};

const TColourButton kColours[] = {
    {1, "Фон", "Выбор цвета фона", &TInitModule::BackColor, true, false},
    {2, "Связь", "Выбор цвета связи между элементами", &TInitModule::LinkColor, true, false},
    {3, "Сетка", "Выбор цвета сетки (если она видна)", &TInitModule::GridColor, true, false},
    {4, "Назв. элем", "Выбор цвета названия элемента", &TInitModule::ElementNameColor, true, false},
    {5, "Пин", "Выбор цвета пустого вывода", &TInitModule::EmptyPinColor, true, false},
    {6, "Назв. драйв", "Выбор цвета названия драйвера", &TInitModule::DriverNameColor, true, false},
    {7, "Прерывистая", "", &TInitModule::DashColor, true, false},
    {8, "Название связи", "Выбор цвета названия связи между схемами", &TInitModule::ChainNameColor, true, false},
    {9, "Задержка тайм", "Выбор цвета длительности задержки таймера", &TInitModule::TimerAttrColor, false, false},
    {11, "Входной драйвер", "Выбор цвета входного драйвера", &TInitModule::InDriverColor, true, false},
    {12, "Выходной драйвер", "Выбор цвета выходного драйвера", &TInitModule::OutDriverColor, true, false},
    {13, "Драйвер", "Выбор цвета  драйвера", &TInitModule::DriverColor, true, false},
    {14, "Пересечения", "", &TInitModule::JunctionColor, true, false},
    {15, "Выделен. связь", "Выбор цвета связи между элементами", &TInitModule::SelectedLinkColor, true, false},
    {16, "Состояние", "Выбор цвета фона", &TInitModule::StateColor, false, true},
    {17, "Активн. состояние", "Выбор цвета связи между элементами", &TInitModule::ActiveStateColor, false, true},
    {18, "Переход", "Выбор цвета связи между элементами", &TInitModule::TransitionColor, false, true},
    {19, "Условие", "Выбор цвета сетки (если она видна)", &TInitModule::CondColor, false, true},
    {20, "Выделенное условие", "Выбор цвета пустого вывода", &TInitModule::SelectedCondColor, false, true},
    {21, "Текст условия", "", &TInitModule::CondTextColor, false, true},
    {22, "Цвет фона", "Выбор цвета названия элемента", &TInitModule::FsmBackColor, false, true},
};

// The stored values the dialog edits, in the order they are saved.
const char* const kStored[] = {"DoTextLogicFile", "SortBits", "CheckBit", "CheckSchemes", "SortDr"};

// The work-file settings, their edits (by number) and whether the name may
// hold a folder (the log only).
struct TFileSetting {
    const char* label;
    AnsiString TInitModule::*setting;
    bool path;
};

const TFileSetting kFiles[] = {
    {"Типы драйверов", &TInitModule::DriverTypesFile, false}, {"Драйвера", &TInitModule::DriversFile, false},
    {"Сигналы", &TInitModule::SignalsFile, false},            {"Комментарии", &TInitModule::CommentsFile, false},
    {"Элементы", &TInitModule::ElementsFile, false},          {"TVCA файл", &TInitModule::DataFile, false},
    {"Log файл", &TInitModule::LogFile, true},                {"Логика схемы", &TInitModule::LogicFile, false},
};

int Clamped(const TExSpinEdit* edit, int low, int high) { return std::clamp(int(edit->Value()), low, high); }

} // namespace

TOptionDlg::TOptionDlg(TComponent* owner) : TForm(owner) {
    SetName("OptionDlg");
    SetCaption("Изменение конфигурации"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(450);
    SetClientHeight(485);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alBottom);
    Panel1->SetHeight(41);
    Panel1->SetBevelOuter(bvNone);
    auto bottom = [this](auto* b, const char* caption, int left) {
        b->SetCaption(Utf8ToAnsi(caption));
        b->SetBounds(left, 8, 100, 25);
        return b;
    };
    OKBtn = bottom(NewControl<TButton>(this, Panel1, "OKBtn"), "OK", 8);
    OKBtn->SetDefault(true);
    OKBtn->ModalResult = mrOk;
    CancelBtn = bottom(NewControl<TButton>(this, Panel1, "CancelBtn"), "Отмена", 118);
    CancelBtn->SetCancel(true);
    CancelBtn->ModalResult = mrCancel;
    BitBtn10 = bottom(NewControl<TBitBtn>(this, Panel1, "BitBtn10"), "Открыть", 228);
    BitBtn10->SetHint("Загрузить схему для просмотра"_a);
    Button1 = bottom(NewControl<TButton>(this, Panel1, "Button1"), "Сброс", 338);
    Button1->SetHint("Установить цвета, стандартные для редактора электроавтоматики"_a);
    for (TControl* c : std::initializer_list<TControl*>{BitBtn10, Button1}) c->SetShowHint(true);

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alClient);
    PageControl1->MultiLine = true;
    int n = 0;
    for (TTabSheet** sheet : {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4}) {
        *sheet = NewControl<TTabSheet>(this, nullptr, ("TabSheet" + IntToStr(++n)).c_str());
        (*sheet)->SetPageControl(PageControl1);
    }
    TabSheet1->SetCaption("Цвета"_a);
    TabSheet2->SetCaption("Другие параметры"_a);
    TabSheet3->SetCaption("Файлы"_a);
    TabSheet4->SetCaption("Цвета FSM"_a);

    ColorDialog1 = NewComponent<TColorDialog>(this, "ColorDialog1");
    OpenDialog1 = NewComponent<TOpenDialog>(this, "OpenDialog1");
    OpenDialog1->Title = "Открытие схемы"_a;
    OpenDialog1->Filter = "Файлы схем|*.tvs;*.sch|Файлы FSM|*.fsm"_a;
    OpenDialog1->DefaultExt = "tvs";

    MakeColourPages();
    MakeOtherPage();
    MakeFilesPage();
    // The first showing opens on the state machines' colours, later ones on
    // the page last seen.
    PageControl1->SetActivePage(TabSheet4);

    PreviewScheme = std::make_unique<TScheme>(static_cast<IEntityOwner*>(&previewOwner_));
    // The state-machine preview's document is made with the dialog, so that
    // "Открыть" always has one to load into.
    PreviewFSM = std::make_unique<TFSMScheme>(static_cast<IFsmView*>(&previewOwner_));

    OnShow = [this](TObject* s) { FormShow(s); };
    OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    BitBtn10->OnClick = [this](TObject* s) { BitBtn10Click(s); };
    SortDr->OnClickCheck = [this](TObject* s) { SortDrClickCheck(s); };
    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };
    PaintBox2->OnPaint = [this](TObject* s) { PaintBox2Paint(s); };
    for (TPaintBox* box : {PaintBox1, PaintBox2}) {
        box->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            PaintBoxMouseDown(s, b, sh, x, y);
        };
        box->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { PaintBoxMouseMove(s, sh, x, y); };
        box->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            PaintBoxMouseUp(s, b, sh, x, y);
        };
    }
}

TOptionDlg::~TOptionDlg() {
    // The previews' documents take their pictures off the paint boxes as
    // they go: they go first, while the boxes and what draws on them are whole.
    PreviewScheme.reset();
    PreviewFSM.reset();
    if (OptionDlg == this) OptionDlg = nullptr;
}

void TOptionDlg::MakeColourPages() {
    int row[2] = {0, 0};
    for (const TColourButton& c : kColours) {
        TTabSheet* page = c.fsm ? TabSheet4 : TabSheet1;
        TBitBtn* b = NewControl<TBitBtn>(this, page, ("BitBtn" + IntToStr(c.number)).c_str());
        b->SetCaption(Utf8ToAnsi(c.caption));
        if (*c.hint) {
            b->SetHint(Utf8ToAnsi(c.hint));
            b->SetShowHint(true);
        }
        b->SetBounds(6, 6 + 27 * row[c.fsm]++, 130, 25);
        const int number = c.number;
        b->OnClick = [this, number](TObject*) { ColourClick(number); };
        BitBtn[c.number] = b;
    }
    auto preview = [this](TTabSheet* page, const char* scroll, const char* box) {
        TScrollBox* s = NewControl<TScrollBox>(this, page, scroll);
        s->SetBounds(142, 6, 290, 386);
        TPaintBox* p = NewControl<TPaintBox>(this, s, box);
        // Until a file is opened the box fills the visible area.
        p->SetBounds(0, 0, 284, 380);
        return std::pair{s, p};
    };
    std::tie(ScrollBox1, PaintBox1) = preview(TabSheet1, "ScrollBox1", "PaintBox1");
    std::tie(ScrollBox2, PaintBox2) = preview(TabSheet4, "ScrollBox2", "PaintBox2");
}

void TOptionDlg::MakeOtherPage() {
    auto group = [this](const char* name, const char* caption, int left, int top, int width, int height) {
        TGroupBox* g = NewControl<TGroupBox>(this, TabSheet2, name);
        g->SetCaption(Utf8ToAnsi(caption));
        g->SetBounds(left, top, width, height);
        return g;
    };
    auto label = [this](TWinControl* parent, const char* caption, int left, int top) {
        TLabel* l = NewControl<TLabel>(this, parent, nullptr);
        l->SetLeft(left);
        l->SetTop(top);
        // The label takes the width of its text.
        l->SetAutoSize(true);
        l->SetCaption(Utf8ToAnsi(caption));
        return l;
    };
    auto spin = [this](TWinControl* parent, const char* name, int left, int top, double low, double high) {
        TExSpinEdit* e = NewControl<TExSpinEdit>(this, parent, name);
        e->SetButtonKind(bkStandard);
        e->SetBounds(left, top, 70, 21);
        e->MinValue = low;
        e->MaxValue = high;
        return e;
    };
    auto check = [this](TWinControl* parent, const char* name, const char* caption, int left, int top, int height) {
        TCheckBox* c = NewControl<TCheckBox>(this, parent, name);
        c->SetCaption(Utf8ToAnsi(caption));
        c->SetBounds(left, top, 190, height);
        return c;
    };

    TGroupBox* grid = group("GroupBox1", "Параметры сетки, автосохр.", 6, 6, 210, 130);
    CheckBox1 = check(grid, "CheckBox1", "Сетка видна", 10, 20, 17);
    label(grid, "Шаг сетки", 10, 48);
    ExSpinEdit1 = spin(grid, "ExSpinEdit1", 90, 44, 1, TInitModule::MaxGridStep);
    label(grid, "pixels", 166, 48);
    label(grid, "Автосохр. ", 10, 84);
    label(grid, "каждые", 10, 98);
    AutoInterval = spin(grid, "AutoInterval", 90, 88, 1, TInitModule::MaxAutoSavePeriod);
    label(grid, "мин", 166, 92);

    TGroupBox* sheet = group("GroupBox2", "Параметры схемы", 6, 142, 210, 80);
    label(sheet, "Ширина схемы", 10, 24);
    ExSpinEdit2 = spin(sheet, "ExSpinEdit2", 110, 20, 1, TInitModule::MaxSheetSize);
    label(sheet, "Высота схемы", 10, 52);
    ExSpinEdit3 = spin(sheet, "ExSpinEdit3", 110, 48, 1, TInitModule::MaxSheetSize);

    TGroupBox* checks = group("GroupBox3", "Проверки", 6, 228, 210, 90);
    cbCheckBit = check(checks, "cbCheckBit", "биты в драйвере", 10, 20, 17);
    CheckBox2 = check(checks, "CheckBox2", "порядок  элементов", 10, 42, 17);
    cbCheckSchemes = check(checks, "cbCheckSchemes", "схемы при трансляции", 10, 64, 17);

    TGroupBox* sorts = group("GroupBox4", "Сортировки", 222, 6, 212, 180);
    label(sorts, "Сортировать выходы", 10, 18);
    label(sorts, "при добавлении в отладчик", 10, 32);
    SortDr = NewControl<TExCheckListBox>(this, sorts, "SortDr");
    SortDr->SetBounds(10, 50, 190, 40);
    SortDr->Items()->Add("по расположению"_a);
    SortDr->Items()->Add("по именам"_a);
    cbSortBits = check(sorts, "cbSortBits", "Сортировать биты\n по драйверам", 10, 104, 34);

    TGroupBox* other = group("GroupBox5", "Разное", 222, 192, 212, 80);
    cbTextFile = check(other, "cbTextFile", "Создавать текстовый \nфайл логики \nпри трансляции", 10, 20, 50);
}

void TOptionDlg::MakeFilesPage() {
    int i = 0;
    for (TEdit** edit : {&Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9}) {
        TLabel* l = NewControl<TLabel>(this, TabSheet3, nullptr);
        l->SetCaption(Utf8ToAnsi(kFiles[i].label));
        l->SetBounds(10, 14 + 30 * i, 110, 13);
        *edit = NewControl<TEdit>(this, TabSheet3, ("Edit" + IntToStr(i + 2)).c_str());
        (*edit)->SetBounds(130, 10 + 30 * i, 200, 21);
        ++i;
    }
}

TCanvas* TOptionDlg::TPreviewOwner::GetCanvas() { return dialog_->PaintBox1->Canvas(); }

TCanvas* TOptionDlg::TPreviewOwner::FsmCanvas() { return dialog_->PaintBox2->Canvas(); }

Variant TOptionDlg::Stored(const char* name, const Variant& def) const {
    return FormS ? FormS->GetStoredValue(name, def) : def;
}

void TOptionDlg::Store(const char* name, const Variant& value) {
    if (FormS) FormS->SetStoredValue(name, value);
}

void TOptionDlg::FormShow(TObject*) {
    TInitModule& m = *InitModule;
    savedColours_.clear();
    for (const TColourButton& c : kColours)
        if (c.restored) savedColours_.push_back(m.*c.setting);
    savedGrid_ = m.GridStep;
    savedWidth_ = m.MaxWidth;
    savedHeight_ = m.MaxHeight;
    savedGridVisible_ = m.GridVisible;
    savedCheckOrder_ = m.CheckOrder;
    ExSpinEdit1->SetValue(m.GridStep);
    ExSpinEdit2->SetValue(m.MaxWidth);
    ExSpinEdit3->SetValue(m.MaxHeight);
    CheckBox1->SetChecked(m.GridVisible);
    CheckBox2->SetChecked(m.CheckOrder);
    PaintBox1->Repaint();
    savedStored_.clear();
    for (const char* name : kStored)
        savedStored_.push_back(Stored(name, std::string(name) == "SortDr" ? Variant(0) : Variant(false)));
    LoadStored();
    int i = 0;
    for (TEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) e->SetText(m.*kFiles[i++].setting);
    AutoInterval->SetValue(m.AutoSavePeriod);
}

void TOptionDlg::LoadStored() {
    cbTextFile->SetChecked(Stored("DoTextLogicFile", false).AsBoolean());
    cbSortBits->SetChecked(Stored("SortBits", false).AsBoolean());
    cbCheckBit->SetChecked(Stored("CheckBit", false).AsBoolean());
    cbCheckSchemes->SetChecked(Stored("CheckSchemes", false).AsBoolean());
    // Only 0 (by place) and 1 (by names) choose an order; any other value none.
    const int v = Stored("SortDr", 0).AsInteger();
    SortDr->SetChecked(0, v == 0);
    SortDr->SetChecked(1, v == 1);
}

void TOptionDlg::OKBtnClick(TObject*) {
    // Names the settings module could not keep are refused here, before
    // anything is written: the dialog stays open at the name.
    int i = 0;
    for (TEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) {
        const TFileSetting& f = kFiles[i++];
        const AnsiString name = e->Text();
        if (f.path ? TInitModule::IsPathName(name) : TInitModule::IsBareName(name)) continue;
        ModalResult = mrNone;
        PageControl1->SetActivePage(TabSheet3);
        ShowMessage("Имя файла \""_a + name + "\" ("_a + Utf8ToAnsi(f.label) +
                    (f.path ? ") не годится для рабочего файла"_a : ") не годится: нужно имя файла без папки"_a));
        if (e->CanFocus()) e->SetFocus();
        return;
    }
    TInitModule& m = *InitModule;
    m.GridStep = Clamped(ExSpinEdit1, 1, TInitModule::MaxGridStep);
    m.GridVisible = CheckBox1->Checked();
    m.CheckOrder = CheckBox2->Checked();
    m.MaxWidth = Clamped(ExSpinEdit2, 1, TInitModule::MaxSheetSize);
    m.MaxHeight = Clamped(ExSpinEdit3, 1, TInitModule::MaxSheetSize);
    Store("SortDr", SortDr->GetChecked(0) ? 0 : SortDr->GetChecked(1) ? 1 : -1);
    Store("DoTextLogicFile", cbTextFile->Checked());
    Store("SortBits", cbSortBits->Checked());
    Store("CheckSchemes", cbCheckSchemes->Checked());
    Store("CheckBit", cbCheckBit->Checked());
    i = 0;
    for (TEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) m.*kFiles[i++].setting = e->Text();
    m.AutoSavePeriod = Clamped(AutoInterval, 1, TInitModule::MaxAutoSavePeriod);
}

void TOptionDlg::CancelBtnClick(TObject*) {
    TInitModule& m = *InitModule;
    std::size_t k = 0;
    for (const TColourButton& c : kColours)
        if (c.restored && k < savedColours_.size()) m.*c.setting = savedColours_[k++];
    for (std::size_t i = 0; i < savedStored_.size(); ++i) Store(kStored[i], savedStored_[i]);
    m.GridStep = savedGrid_;
    m.MaxWidth = savedWidth_;
    m.MaxHeight = savedHeight_;
    m.GridVisible = savedGridVisible_;
    m.CheckOrder = savedCheckOrder_;
}

void TOptionDlg::Button1Click(TObject*) {
    InitModule->SetDefaults();
    cbTextFile->SetChecked(false);
    cbCheckSchemes->SetChecked(true);
    cbSortBits->SetChecked(true);
    cbCheckBit->SetChecked(false);
    SortDr->SetChecked(0, true);
    SortDr->SetChecked(1, false);
    int i = 0;
    for (TEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) e->SetText(InitModule->*kFiles[i++].setting);
}

void TOptionDlg::ColourClick(int button) {
    for (const TColourButton& c : kColours) {
        if (c.number != button) continue;
        ColorDialog1->Color = InitModule->*c.setting;
        if (!ColorDialog1->Execute()) return;
        InitModule->*c.setting = ColorDialog1->Color;
        (c.fsm ? PaintBox2 : PaintBox1)->Repaint();
        return;
    }
}

void TOptionDlg::SortDrClickCheck(TObject*) {
    // One order at most: "по расположению" wins.
    if (SortDr->GetChecked(0) && SortDr->GetChecked(1)) SortDr->SetChecked(1, false);
}

void TOptionDlg::BitBtn10Click(TObject*) {
    const bool fsm = PageControl1->ActivePage() == TabSheet4;
    if (!fsm && PageControl1->ActivePage() != TabSheet1) return;
    AnsiString& last = fsm ? fsmFile_ : schemeFile_;
    OpenDialog1->FilterIndex = fsm ? 2 : 1;
    if (OpenDialog1->Execute()) last = OpenDialog1->FileName;
    // Cancelled: the page's own last file is loaded again.
    if (last.IsEmpty()) return;
    TInitModule& m = *InitModule;
    TPaintBox* box = fsm ? PaintBox2 : PaintBox1;
    box->SetBounds(0, 0, m.MaxWidth, m.MaxHeight);
    box->Canvas()->CopyMode = cmSrcInvert;
    if (fsm) {
        PreviewFSM->SetFileName(last);
        PreviewFSM->LoadFromFile();
    } else {
        PreviewGridStep = m.GridStep;
        ScrollBox1->SetColor(m.BackColor);
        PreviewScheme->SetFileName(last);
        PreviewScheme->LoadFromFile();
    }
    box->Repaint();
}

void TOptionDlg::PaintBox1Paint(TObject*) {
    TInitModule& m = *InitModule;
    PreviewGridStep = m.GridStep;
    TCanvas* c = PaintBox1->Canvas();
    c->Brush()->SetColor(m.BackColor);
    c->FillRect(PaintBox1->ClientRect());
    const int zoom = PreviewScheme->Zoom();
    const int d = zoom * PreviewGridStep / 100;
    if (m.GridVisible && d > 0) {
        const int w = m.MaxWidth * zoom / 100, h = m.MaxHeight * zoom / 100;
        const int right = std::min(w, PaintBox1->Width()), bottom = std::min(h, PaintBox1->Height());
        for (int y = 0; y < bottom; y += d)
            for (int x = 0; x < right; x += d) c->SetPixels(x, y, m.GridColor);
    }
    PreviewScheme->Draw();
    if (band_ && bandBox_ == PaintBox1) DrawBand();
}

void TOptionDlg::PaintBox2Paint(TObject*) {
    TCanvas* c = PaintBox2->Canvas();
    c->Brush()->SetColor(InitModule->FsmBackColor);
    c->FillRect(PaintBox2->ClientRect());
    PreviewFSM->Paint();
    if (band_ && bandBox_ == PaintBox2) DrawBand();
}

namespace {

// The scheme point of a preview pixel, as the scheme window snaps it.
TPoint Snapped(int x, int y, int zoom, int step) {
    return TPoint(SnapToGrid(x * 100 / zoom + step / 2, step), SnapToGrid(y * 100 / zoom + step / 2, step));
}

} // namespace

void TOptionDlg::DrawBand() {
    TCanvas* c = bandBox_->Canvas();
    const TColor dash = InitModule->DashColor;
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(dash);
    c->Brush()->SetColor(dash);
    c->DrawFocusRect(bandRect_);
    c->Pen()->SetMode(pmCopy);
}

void TOptionDlg::PaintBoxMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbRight || (Shift & ssDouble)) return;
    auto* box = dynamic_cast<TPaintBox*>(Sender);
    if (!box) return;
    TPoint p;
    try {
        p = Snapped(X, Y, PreviewScheme->Zoom(), PreviewGridStep);
    } catch (const std::exception&) {
        ShowMessage(Format("Ошибка в файле %s стр. %d"_a, AnsiString("Option"), 171));
        return;
    }
    // The band is drawn on the box that was pressed.
    if (band_) DrawBand();
    band_ = true;
    bandBox_ = box;
    bandPoint_ = p;
    const int z = PreviewScheme->Zoom();
    bandRect_ = Rect(p.x * z / 100, p.y * z / 100, p.x * z / 100, p.y * z / 100);
    DrawBand();
}

void TOptionDlg::PaintBoxMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    if (!band_ || Sender != bandBox_ || (Shift & ssDouble)) return;
    TPoint p;
    try {
        p = Snapped(X, Y, PreviewScheme->Zoom(), PreviewGridStep);
    } catch (const std::exception&) {
        ShowMessage(Format("Ошибка в файле %s стр. %d"_a, AnsiString("Option"), 198));
        return;
    }
    if (p.x == bandPoint_.x && p.y == bandPoint_.y) return;
    bandPoint_ = p;
    // The band follows the pointer itself, as the scheme window's does; the
    // snapped point only decides when it is redrawn.
    bandBox_->SetCursor(TMDIChild::crSelectCursor);
    DrawBand();
    bandRect_.Right = X;
    bandRect_.Bottom = Y;
    DrawBand();
    PreviewScheme->ClearSelection();
}

void TOptionDlg::PaintBoxMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    if (!band_) return;
    band_ = false;
    bandBox_->SetCursor(crDefault);
    bandBox_->Repaint();
    bandBox_ = nullptr;
}
