// The scheme window: components, modes, zoom, grid, painting, the frame's
// edit actions and the window's life cycle.
#include "editor/ChildWin.h"

#include <algorithm>

#include "document/InitModule.h"
#include "document/Scheme.h"
#include "editor/EditorHooks.h"
#include "platform/Canvas.h"
#include "platform/UiPort.h"

namespace {

// The settings the window reads (the settings file's defaults without a
// settings module).
struct Settings {
    static TColor Background() { return InitModule ? InitModule->BackColor : TColor(0); }
    static TColor Grid() { return InitModule ? InitModule->GridColor : TColor(clGray); }
    static TColor Dash() { return InitModule ? InitModule->DashColor : TColor(8421504); }
    static bool GridVisible() { return InitModule ? InitModule->GridVisible : true; }
    static int GridStep() { return InitModule ? int(InitModule->GridStep) : 10; }
    static int SheetWidth() { return InitModule ? int(InitModule->MaxWidth) : 800; }
    static int SheetHeight() { return InitModule ? int(InitModule->MaxHeight) : 600; }
    static int AutosavePeriod() { return InitModule ? int(InitModule->AutoSavePeriod) : 0; }
};

} // namespace

TForm* MakeSchemeWindow(TComponent* owner) { return NewForm<TMDIChild>(owner); }

TMDIChild::TMDIChild(TComponent* owner) : TForm(owner) {
    SetName("MDIChild");
    SetCaption("MDI Child");
    SetFormStyle(fsMDIChild);
    SetPosition(poDefault);
    SetBounds(Left(), Top(), 800, 572);
    KeyPreview = true;
    CreateComponents();
    CreateActions();
    CreateMenus();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyUp(s, key, shift); };
}

TMDIChild::~TMDIChild() = default;

void TMDIChild::CreateComponents() {
    StatusBar = NewControl<TStatusBar>(this, this, "StatusBar");
    StatusBar->SetAlign(alBottom);
    for (int width : {50, 120, 350, 100, 180, 50}) StatusBar->Panels()->Add()->SetWidth(width);

    ScrollBox1 = NewControl<TScrollBox>(this, this, "ScrollBox1");
    ScrollBox1->SetAlign(alClient);
    ScrollBox1->HorzScrollBar()->SetIncrement(16);
    ScrollBox1->VertScrollBar()->SetIncrement(16);
    ScrollBox1->OnClick = [this](TObject* s) { ScrollBox1Click(s); };

    PaintBox1 = NewControl<TPaintBox>(this, ScrollBox1, "PaintBox1");
    PaintBox1->SetBounds(0, 0, 800, 600);
    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };
    PaintBox1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseDown(s, b, sh, x, y);
    };
    PaintBox1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { PaintBox1MouseMove(s, sh, x, y); };
    PaintBox1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseUp(s, b, sh, x, y);
    };
    PaintBox1->OnDblClick = [this](TObject* s) { PaintBox1DblClick(s); };

    SavePictureDialog = NewComponent<TSavePictureDialog>(this, "SavePictureDialog");
    SavePictureDialog->Filter = "Bitmaps (*.bmp)|*.bmp";
    AutosaveTimer = NewComponent<TTimer>(this, "AutosaveTimer");
    AutosaveTimer->SetInterval(0);
    AutosaveTimer->OnTimer = [this](TObject* s) { AutosaveTimerTimer(s); };
}

TAction* TMDIChild::NewAction(const char* name, const AnsiString& caption, TShortCut key) {
    return ::NewAction(ChildActionList, name, caption, key);
}

void TMDIChild::CreateActions() {
    ChildActionList = NewComponent<TActionList>(this, "ChildActionList");
    using Handler = void (TMDIChild::*)(TObject*);
    auto bind = [this](TAction* a, Handler h) { a->OnExecute = [this, h](TObject* s) { (this->*h)(s); }; };
    auto selection = [this](TObject* s) {
        static_cast<TAction*>(s)->SetEnabled(Scheme && Scheme->HasSelection());
    };

    Undo = NewAction("Undo", "Отмена"_a, ShortCut('Z', ssCtrl));
    bind(Undo, &TMDIChild::UndoExecute);
    PrintSchemAction = NewAction("PrintSchemAction", "PrintSchemAction");
    bind(PrintSchemAction, &TMDIChild::PrintSchemActionExecute);
    PrintInfoAction = NewAction("PrintInfoAction", "PrintInfoAction");
    bind(PrintInfoAction, &TMDIChild::PrintInfoActionExecute);
    DeleteSelectedAction = NewAction("DeleteSelectedAction", "Удалить помеченные"_a);
    bind(DeleteSelectedAction, &TMDIChild::DeleteActionExecute);
    DeleteSelectedAction->OnUpdate = selection;
    EditPropertyAction = NewAction("EditPropertyAction", "Свойства"_a, ShortCut(VK_RETURN, ssAlt));
    bind(EditPropertyAction, &TMDIChild::EditPropertyActionExecute);
    EditPropertyAction->OnUpdate = [this](TObject*) {
        EditPropertyAction->SetEnabled(Scheme && Scheme->HasSelection() && Scheme->SelectionHasEditable());
    };
    InsertDeviceAction = NewAction("InsertDeviceAction", "InsertDeviceAction");
    bind(InsertDeviceAction, &TMDIChild::InsertDeviceActionExecute);
    InsertPinAction = NewAction("InsertPinAction", "InsertPinAction");
    bind(InsertPinAction, &TMDIChild::InsertPinActionExecute);
    EscAction = NewAction("EscAction", "Отмена"_a);
    bind(EscAction, &TMDIChild::EscActionExecute);
    SetModeSelectAction = NewAction("SetModeSelectAction", "Выбор"_a, ShortCut(VK_F1, ssCtrl));
    bind(SetModeSelectAction, &TMDIChild::SetModeSelectActionExecute);
    SetModeDeviceAction = NewAction("SetModeDeviceAction", "Устройство"_a, ShortCut(VK_F2, ssCtrl));
    bind(SetModeDeviceAction, &TMDIChild::SetModeDeviceActionExecute);
    SetModePinAction = NewAction("SetModePinAction", "Вывод драйвера"_a, ShortCut(VK_F3, ssCtrl));
    bind(SetModePinAction, &TMDIChild::SetModePinActionExecute);
    SetModeWireAction = NewAction("SetModeWireAction", "Связь"_a, ShortCut(VK_F4, ssCtrl));
    bind(SetModeWireAction, &TMDIChild::SetModeWireActionExecute);
    SetModeConnectAction = NewAction("SetModeConnectAction", "Соединение"_a, ShortCut(VK_F5, ssCtrl));
    bind(SetModeConnectAction, &TMDIChild::SetModeConnectActionExecute);
    SetModeSymbolAction = NewAction("SetModeSymbolAction", "Символ"_a);
    bind(SetModeSymbolAction, &TMDIChild::SetModeSymbolActionExecute);
    SetModeFSMAction = NewAction("SetModeFSMAction", "SetModeFSMAction");
    bind(SetModeFSMAction, &TMDIChild::SetModeFSMActionExecute);
    RedrawAction = NewAction("RedrawAction", "Обновить"_a, ShortCut(VK_F5, 0));
    bind(RedrawAction, &TMDIChild::RedrawActionExecute);
    DeleteAction = NewAction("DeleteAction", "Удалить"_a, ShortCut(VK_DELETE, 0));
    bind(DeleteAction, &TMDIChild::DeleteActionExecute);
    DeleteAction->OnUpdate = selection;
    TestActionSaveList = NewAction("TestActionSaveList", "TestActionSaveList", ShortCut(VK_F12, ssCtrl));
    bind(TestActionSaveList, &TMDIChild::TestActionSaveListExecute);
    InsertConnectAction = NewAction("InsertConnectAction", "InsertConnectAction");
    bind(InsertConnectAction, &TMDIChild::InsertConnectActionExecute);
    CopyAction = NewAction("CopyAction", "Копировать"_a, ShortCut('C', ssCtrl));
    bind(CopyAction, &TMDIChild::CopyActionExecute);
    CopyAction->OnUpdate = selection;
    CutAction = NewAction("CutAction", "Вырезать"_a, ShortCut('X', ssCtrl));
    bind(CutAction, &TMDIChild::CutActionExecute);
    CutAction->OnUpdate = selection;
    PasteAction = NewAction("PasteAction", "Вставить"_a, ShortCut('V', ssCtrl));
    bind(PasteAction, &TMDIChild::PasteActionExecute);
    PasteAction->SetEnabled(false);
    ZoomInAction = NewAction("ZoomInAction", "Масштаб +"_a);
    bind(ZoomInAction, &TMDIChild::ZoomInActionExecute);
    ZoomOutAction = NewAction("ZoomOutAction", "Масштаб -"_a);
    bind(ZoomOutAction, &TMDIChild::ZoomOutActionExecute);
    ZoomNormalAction = NewAction("ZoomNormalAction", "Нормальный размер"_a);
    bind(ZoomNormalAction, &TMDIChild::ZoomNormalActionExecute);
    ZoomMaxAction = NewAction("ZoomMaxAction", "Максимальный размер"_a);
    bind(ZoomMaxAction, &TMDIChild::ZoomMaxActionExecute);
    FlipHorAction = NewAction("FlipHorAction", "Отобразить гор."_a, ShortCut('F', 0));
    bind(FlipHorAction, &TMDIChild::FlipHorActionExecute);
    FlipHorAction->OnUpdate = [this](TObject*) {
        const bool any = Scheme && Scheme->HasSelection();
        FlipHorAction->SetVisible(any);
        FlipHorAction->SetEnabled(any && Scheme->SelectionHasDriver());
        if (N4) N4->SetVisible(any);
    };
    UpdateAction = NewAction("UpdateAction", "UpdateAction");
    bind(UpdateAction, &TMDIChild::UpdateActionExecute);
    CheckSchemeAction = NewAction("CheckSchemeAction", "Проверить схему"_a);
    CheckSchemeAction->SetHint("Запустить сигнатурный анализатор для схемы"_a);
    bind(CheckSchemeAction, &TMDIChild::CheckSchemeActionExecute);
    // The check ends in the signature analyser: without a debugger there is
    // nothing to run it.
    CheckSchemeAction->OnUpdate = [this](TObject*) {
        CheckSchemeAction->SetEnabled(SchemeFrame().DebuCheck() && SchemeFrame().DebuggerPresent());
    };
    CenterSelectedAction = NewAction("CenterSelectedAction", "CenterSelectedAction", ShortCut('C', 0));
    bind(CenterSelectedAction, &TMDIChild::CenterSelectedActionExecute);
    AddSignalsToDebugAction = NewAction("AddSignalsToDebugAction", "Добавить в отладчик"_a, ShortCut('D', 0));
    AddSignalsToDebugAction->SetHint("Добавить выделенные сигналы в отладчик"_a);
    bind(AddSignalsToDebugAction, &TMDIChild::AddSignalsToDebugActionExecute);
    AddSignalsToDebugAction->OnUpdate = [this](TObject*) {
        const bool present = SchemeFrame().DebuggerPresent();
        AddSignalsToDebugAction->SetVisible(present);
        AddSignalsToDebugAction->SetEnabled(present && Scheme && Scheme->HasSelection());
    };
    PrintToFileAction = NewAction("PrintToFileAction", "Сохранить картинку"_a);
    PrintToFileAction->SetHint("Сохранить картинку схемы|Сохранить картинку схемы в файл .BMP"_a);
    bind(PrintToFileAction, &TMDIChild::PrintToFileActionExecute);
    OrderAction = NewAction("OrderAction", "Порядок элементов"_a);
    OrderAction->SetHint("Установить порядок элементов|Утановить порядок элементов во всей схеме"_a);
    bind(OrderAction, &TMDIChild::OrderActionExecute);
    InsertSymbolAction = NewAction("InsertSymbolAction", "InsertSymbolAction");
    bind(InsertSymbolAction, &TMDIChild::InsertSymbolActionExecute);
    InsertFSMAction = NewAction("InsertFSMAction", "InsertFSMAction");
    bind(InsertFSMAction, &TMDIChild::InsertFSMActionExecute);
    // Kept for the test files of the old program; they do nothing.
    TestLoadAction = NewAction("TestLoadAction", "Загрузить тестовый файл"_a, ShortCut(VK_F12, 0));
    TestLoadAction->OnExecute = [](TObject*) {};
    TestSaveAction = NewAction("TestSaveAction", "Сохранить тестовый файл"_a, ShortCut(VK_F11, 0));
    TestSaveAction->OnExecute = [](TObject*) {};
}

void TMDIChild::CreateMenus() {
    PopupMenu1 = NewComponent<TPopupMenu>(this, "PopupMenu1");
    TMenuItem* root = PopupMenu1->Items();
    int counter = 0;
    auto item = [&](TMenuItem* parent, TAction* a, const char* name = nullptr) {
        TMenuItem* m = NewItem(parent, name ? AnsiString(name) : "Item" + IntToStr(++counter), a->Caption());
        m->SetAction(a);
        return m;
    };
    auto line = [&](TMenuItem* parent, const char* name = nullptr) {
        return NewItem(parent, name ? AnsiString(name) : "Line" + IntToStr(++counter), "-");
    };
    item(root, OrderAction);
    item(root, PrintToFileAction);
    itmCheckScheme = item(root, CheckSchemeAction, "itmCheckScheme");
    line(root);
    N12 = item(root, SetModeSelectAction, "N12");
    line(root);
    N5 = NewItem(root, "N5", "Добавить"_a);
    N6 = item(N5, SetModeDeviceAction, "N6");
    N7 = item(N5, SetModePinAction, "N7");
    N8 = item(N5, SetModeWireAction, "N8");
    N1 = item(N5, SetModeConnectAction, "N1");
    // Bound to no action in the old program; here it selects the symbol mode.
    N19 = NewItem(N5, "N19", "Символ"_a, [this](TObject* s) { SetModeSymbolActionExecute(s); },
                  ShortCut(VK_F6, ssCtrl));
    line(root);
    item(root, CutAction);
    item(root, CopyAction);
    item(root, PasteAction);
    item(root, DeleteAction);
    N4 = line(root, "N4");
    item(root, FlipHorAction);
    line(root);
    item(root, EditPropertyAction);
    item(root, AddSignalsToDebugAction);

    PopupMenu3 = NewComponent<TPopupMenu>(this, "PopupMenu3");
    item(PopupMenu3->Items(), EscAction);
    PaintBox1->SetPopupMenu(PopupMenu1);
}

// ---- life cycle --------------------------------------------------------------------------------

void TMDIChild::FormCreate(TObject*) {
    GridStep = Settings::GridStep();
    ScrollBox1->SetColor(Settings::Background());
    PaintBox1->SetBounds(0, 0, Settings::SheetWidth(), Settings::SheetHeight());
    PaintBox1->Canvas()->CopyMode = cmSrcInvert;
    SetMode(mdSelect);
    Scheme = std::make_unique<TScheme>(static_cast<IEntityOwner*>(this));
    Scheme->SetFileName(AnsiString());
    // A sheet too large for one image opens at the first smaller zoom that fits.
    if (!ZoomFits(100))
        for (int z : {75, 50, 25})
            if (ZoomFits(z)) {
                Scheme->SetScale(z);
                break;
            }
    SizeSheet();
    ProgressBar = NewControl<TProgressBar>(this, StatusBar, "ProgressBar");
    ProgressBar->SetPosition(0);
    ProgressBar->SetVisible(false);
    const TRect panel = StatusBar->PanelRect(4);
    ProgressBar->SetBounds(panel.Left, panel.Top, StatusBar->Panels()->Items(4)->Width(), panel.Height());
    AutosaveTimer->SetInterval(unsigned(std::max(0, Settings::AutosavePeriod())) * 60000u);
}

void TMDIChild::FormActivate(TObject*) {
    SchemeFrame().UpdateModeButtons(GetMode());
    SyncFrameEditActions();
    AutosaveTimer->SetInterval(unsigned(std::max(0, Settings::AutosavePeriod())) * 60000u);
}

void TMDIChild::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
    if (!Scheme || !Scheme->IsModified()) return;
    switch (MessageDlg("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNoCancel)) {
    case mrCancel: Action = caNone; break;
    case mrYes:
        // A window whose document could not be written stays open.
        if (!SchemeFrame().SaveWindow(this)) Action = caNone;
        break;
    default: break;
    }
}

void TMDIChild::FormDestroy(TObject*) {
    AutosaveTimer->SetEnabled(false);
    if (ProgressBar) {
        Free(ProgressBar);
        ProgressBar = nullptr;
    }
    // The document deletes the recovery copy it wrote.
    PlacedObject = nullptr;
    Scheme.reset();
}

void TMDIChild::AutosaveTimerTimer(TObject*) {
    if (Scheme) Scheme->AutoSave();
}

void TMDIChild::ReportFailure(int line) const {
    ShowMessage(Format("Ошибка в файле %s стр. %d"_a, AnsiString("ChildWin"), line));
}

// ---- modes ---------------------------------------------------------------------------------------

void TMDIChild::SetMode(int mode) {
    for (TMenuItem* m : {N12, N6, N7, N8, N1, N19}) m->SetChecked(false);
    Mode = mode;
    AnsiString text;
    switch (mode & ModeMask) {
    case mdSelect: text = "Выбор"_a; N12->SetChecked(true); break;
    case mdMove: text = "Перемещение"_a; break;
    case mdWire: text = "Связь"_a; N8->SetChecked(true); break;
    case mdPin: text = "Вывод"_a; N7->SetChecked(true); break;
    case mdDrag: text = "Перемещаем"_a; break;
    case mdDevice: text = "Элемент"_a; N6->SetChecked(true); break;
    case mdConnect: text = "Соединитель"_a; N1->SetChecked(true); break;
    case mdPaste: text = "Вставка из буфера"_a; break;
    case mdOrder: text = "Элемент № 1"_a; break;
    case mdSymbol: text = "Символ"_a; N19->SetChecked(true); break;
    case mdFSM: text = "машина состояний"_a; break;
    default: text = "Не знаю"_a; break;
    }
    StatusBar->Panels()->Items(1)->SetText(text);
    if (mode & PlacingFlag) {
        ScrollBox1->SetCursor(crInsertCursor);
        PaintBox1->SetPopupMenu(PopupMenu3);
    } else {
        PaintBox1->SetPopupMenu(PopupMenu1);
        switch (mode & ModeMask) {
        case mdSelect:
            ScrollBox1->SetCursor(crDefault);
            Screen->SetCursor(crDefault);
            break;
        case mdWire:
        case mdPaste: ScrollBox1->SetCursor(crInsertCursor); break;
        case mdDrag: Screen->SetCursor(crMoveCursor); break;
        case mdOrder: ScrollBox1->SetCursor(crHandPoint); break;
        default: ScrollBox1->SetCursor(crDefault); break;
        }
    }
    SchemeFrame().UpdateModeButtons(SchemeModeOf(mode));
}

void TMDIChild::SetModeSelectActionExecute(TObject*) {
    EndGesture();
    SetMode(mdSelect);
}

void TMDIChild::SetModeDeviceActionExecute(TObject*) {
    EndGesture();
    SetMode(mdDevice);
}

void TMDIChild::SetModePinActionExecute(TObject*) {
    EndGesture();
    SetMode(mdPin);
}

void TMDIChild::SetModeWireActionExecute(TObject*) {
    EndGesture();
    SetMode(mdWire);
}

void TMDIChild::SetModeConnectActionExecute(TObject*) {
    EndGesture();
    SetMode(mdConnect);
}

void TMDIChild::SetModeSymbolActionExecute(TObject*) {
    EndGesture();
    SetMode(mdSymbol);
}

void TMDIChild::SetModeFSMActionExecute(TObject*) {
    EndGesture();
    SetMode(mdFSM);
}

// ---- zoom and the sheet ------------------------------------------------------------------------

int TMDIChild::GetZoom() { return Scheme ? Scheme->Zoom() : 100; }

TCanvas* TMDIChild::GetCanvas() { return PaintBox1->Canvas(); }

int TMDIChild::ScreenValue(int value) const { return value * (Scheme ? Scheme->Zoom() : 100) / 100; }

bool TMDIChild::ZoomFits(int percent) const {
    const long long w = (long long)Settings::SheetWidth() * percent / 100;
    const long long h = (long long)Settings::SheetHeight() * percent / 100;
    return w * h <= MaxSheetPixels;
}

void TMDIChild::SizeSheet() {
    if (!Scheme) return;
    const int w = Scheme->Scale(Settings::SheetWidth()), h = Scheme->Scale(Settings::SheetHeight());
    if (PaintBox1->Width() != w || PaintBox1->Height() != h) PaintBox1->SetBounds(0, 0, w, h);
}

void TMDIChild::ShowZoom(int percent) {
    StatusBar->Panels()->Items(3)->SetText("Zoom:" + IntToStr(percent));
    if (!Scheme) return;
    // The sheet takes its new size before it is painted at the new zoom.
    SizeSheet();
    PaintBox1->Repaint();
}

void TMDIChild::ApplyZoom(int percent) {
    if (ZoomFits(percent)) {
        // A band being drawn keeps its press point and the mouse's on the
        // scheme: its pixels follow the zoom before the sheet is painted anew.
        if (BandActive) {
            const int was = Scheme->Zoom();
            auto scaled = [&](int v) { return v * percent / was; };
            BandOrigin = TPoint(scaled(BandOrigin.x), scaled(BandOrigin.y));
            BandRect = Rect(scaled(BandRect.Left), scaled(BandRect.Top), scaled(BandRect.Right), scaled(BandRect.Bottom));
        }
        Scheme->SetScale(percent);
    }
    SizeSheet();
    const int z = Scheme->Zoom();
    ScrollBox1->HorzScrollBar()->SetPosition(LastPoint.x * z / 100 - LastPoint.x);
    ScrollBox1->VertScrollBar()->SetPosition(LastPoint.y * z / 100 - LastPoint.y);
    SchemeFrame().ZoomChanged();
}

void TMDIChild::ZoomInActionExecute(TObject*) { ApplyZoom(Scheme->Zoom() + 50); }
void TMDIChild::ZoomOutActionExecute(TObject*) { ApplyZoom(Scheme->Zoom() - 50); }
void TMDIChild::ZoomNormalActionExecute(TObject*) { ApplyZoom(100); }
void TMDIChild::ZoomMaxActionExecute(TObject*) { ApplyZoom(400); }

TPoint TMDIChild::SchemePoint(int x, int y) const {
    const int z = Scheme ? Scheme->Zoom() : 100;
    const int s = GridStep;
    auto axis = [&](int pixel, int sheet) {
        int v = SnapToGrid(pixel * 100 / z + s / 2, s);
        // Points stay on the sheet: the last grid point inside it is the limit.
        return std::clamp(v, 0, std::max(0, SnapToGrid(sheet, s)));
    };
    return TPoint(axis(x, Settings::SheetWidth()), axis(y, Settings::SheetHeight()));
}

// ---- painting ----------------------------------------------------------------------------------

void TMDIChild::PaintBox1Paint(TObject*) {
    TCanvas* c = PaintBox1->Canvas();
    try {
        c->Brush()->SetColor(Settings::Background());
        c->FillRect(PaintBox1->ClientRect());
        const int z = GetZoom();
        const int p = GridStep * z / 100;
        if (Settings::GridVisible() && GridStep != 0 && p >= 4) {
            const int w = Scheme ? Scheme->Scale(Settings::SheetWidth()) : PaintBox1->Width();
            const int h = Scheme ? Scheme->Scale(Settings::SheetHeight()) : PaintBox1->Height();
            c->Pen()->SetMode(pmCopy);
            const TColor grid = Settings::Grid();
            // One row of dots, copied to every grid row.
            for (int x = 0; x < w; x += p) c->SetPixels(x, 0, grid);
            const TCopyMode mode = c->CopyMode;
            c->CopyMode = cmSrcCopy;
            for (int y = p; y < h; y += p) c->CopyRect(Rect(0, y, w, y + 1), c, Rect(0, 0, w, 1));
            c->CopyMode = mode;
        }
        if (Scheme) Scheme->Draw();
        // What the mouse has drawn on the sheet is drawn again.
        if (BandActive) DrawBand();
        if ((Mode & PlacingFlag) && GetMode() == mdWire) DrawRubberLine(WireStart, LastPoint);
    } catch (const std::exception&) {
        ReportFailure(__LINE__);
    }
}

void TMDIChild::DrawRubberLine(const TPoint& from, const TPoint& to) {
    TCanvas* c = PaintBox1->Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(ScreenValue(from.x), ScreenValue(from.y));
    c->LineTo(ScreenValue(to.x), ScreenValue(to.y));
    c->Pen()->SetMode(pmCopy);
}

void TMDIChild::DrawBand() {
    TCanvas* c = PaintBox1->Canvas();
    const TColor dash = Settings::Dash();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(dash);
    c->Brush()->SetColor(dash);
    c->Font()->SetColor(clBlack);
    c->DrawFocusRect(BandRect);
    c->Pen()->SetMode(pmCopy);
}

void TMDIChild::RepaintSheet() { PaintBox1->Repaint(); }

void TMDIChild::RedrawActionExecute(TObject*) { PaintBox1->Repaint(); }

void TMDIChild::ShowProgress(int position, int max) {
    if (!ProgressBar) return;
    if (max > 0) {
        ProgressBar->SetMax(max);
        ProgressBar->SetPosition(position);
        ProgressBar->SetVisible(true);
    } else {
        ProgressBar->SetVisible(false);
    }
}

// ---- the frame's edit actions ------------------------------------------------------------------

void TMDIChild::SyncFrameEditActions() {
    for (TAction* a : {CopyAction, CutAction, FlipHorAction, DeleteAction}) a->Update();
    SchemeFrame().MirrorEditActions(CutAction->Enabled(), CopyAction->Enabled(), DeleteAction->Enabled());
    PasteAction->SetEnabled(SchemeFrame().PasteEnabled());
}

bool TMDIChild::CutActionEnabled() {
    CutAction->Update();
    return CutAction->Enabled();
}

bool TMDIChild::CopyActionEnabled() {
    CopyAction->Update();
    return CopyAction->Enabled();
}

bool TMDIChild::DeleteActionEnabled() {
    DeleteAction->Update();
    return DeleteAction->Enabled();
}

bool TMDIChild::FlipHorActionEnabled() {
    FlipHorAction->Update();
    return FlipHorAction->Enabled();
}

void TMDIChild::UpdateActionExecute(TObject*) {
    if (Scheme) SetCaption(Scheme->IsModified() ? Scheme->GetFileName() + "*" : Scheme->GetFileName());
}
