// The scheme window: components, modes, zoom, grid, painting, the frame's
// edit actions and the window's life cycle.
#include "editor/ChildWin.h"

#include <algorithm>

#include "document/InitModule.h"
#include "document/Scheme.h"
#include "editor/EditorHooks.h"
#include "platform/gui/ActionTable.h"
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
    SetCaption("Схема"_a);
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
    SavePictureDialog->DefaultExt = "bmp";
    SavePictureDialog->Options |= OpenOption(ofOverwritePrompt);
    // A name that holds the bitmap extension anywhere is taken as it is;
    // any other gets it added.
    SavePictureDialog->WrittenName = [](const AnsiString& chosen, int) {
        return chosen.Pos(".bmp") == 0 && chosen.Pos(".BMP") == 0 ? chosen + ".bmp" : chosen;
    };
    AutosaveTimer = NewComponent<TTimer>(this, "AutosaveTimer");
    AutosaveTimer->SetInterval(0);
    AutosaveTimer->OnTimer = [this](TObject* s) { AutosaveTimerTimer(s); };
}

namespace {

// The enabling rules of the window's actions (each is given its action).
void SelectionRule(TMDIChild& w, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(w.Scheme && w.Scheme->HasSelection());
}

void PropertyRule(TMDIChild& w, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(w.Scheme && w.Scheme->HasSelection() && w.Scheme->SelectionHasEditable());
}

// The flip command and the line above it show only with a selection.
void FlipRule(TMDIChild& w, TObject* action) {
    auto* a = static_cast<TAction*>(action);
    const bool any = w.Scheme && w.Scheme->HasSelection();
    a->SetVisible(any);
    a->SetEnabled(any && w.Scheme->SelectionHasDriver());
    if (w.N4) w.N4->SetVisible(any);
}

// The check ends in the signature analyser: without a debugger there is
// nothing to run it.
void CheckRule(TMDIChild&, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(SchemeFrame().DebuCheck() && SchemeFrame().DebuggerPresent());
}

void DebugRule(TMDIChild& w, TObject* action) {
    auto* a = static_cast<TAction*>(action);
    const bool present = SchemeFrame().DebuggerPresent();
    a->SetVisible(present);
    a->SetEnabled(present && w.Scheme && w.Scheme->HasSelection());
}

} // namespace

void TMDIChild::CreateActions() {
    ChildActionList = NewComponent<TActionList>(this, "ChildActionList");
    using W = TMDIChild;
    // The test-file commands of the old program are kept for their keys and
    // do nothing.
    constexpr auto nothing = IgnoreCommand<TMDIChild>;
    // Ctrl+F1 is the frame's help key too. A window's keys come before the
    // frame's, so while a scheme window is in front Ctrl+F1 chooses "Выбор"
    // (the mode keys Ctrl+F1 to Ctrl+F5 stay in one row) and help opens from
    // the "Помощь" menu; the README says so.
    // name, caption, key, hint, image, execute, update, field, flags
    static const TActionRow<TMDIChild> kActions[] = {
        {"Undo", "Отмена", "Ctrl+Z", "", -1, &W::UndoExecute},
        {"PrintSchemAction", "PrintSchemAction", "", "", -1, &W::PrintSchemActionExecute},
        {"PrintInfoAction", "PrintInfoAction", "", "", -1, &W::PrintInfoActionExecute},
        {"DeleteSelectedAction", "Удалить помеченные", "", "", -1, &W::DeleteActionExecute, SelectionRule,
         &W::DeleteSelectedAction},
        {"EditPropertyAction", "Свойства", "Alt+Enter", "", -1, &W::EditPropertyActionExecute, PropertyRule,
         &W::EditPropertyAction},
        {"InsertDeviceAction", "InsertDeviceAction", "", "", -1, &W::InsertDeviceActionExecute},
        {"InsertPinAction", "InsertPinAction", "", "", -1, &W::InsertPinActionExecute},
        {"EscAction", "Отмена", "", "", -1, &W::EscActionExecute},
        {"SetModeSelectAction", "Выбор", "Ctrl+F1", "", -1, &W::SetModeSelectActionExecute},
        {"SetModeDeviceAction", "Устройство", "Ctrl+F2", "", -1, &W::SetModeDeviceActionExecute},
        {"SetModePinAction", "Вывод драйвера", "Ctrl+F3", "", -1, &W::SetModePinActionExecute},
        {"SetModeWireAction", "Связь", "Ctrl+F4", "", -1, &W::SetModeWireActionExecute},
        {"SetModeConnectAction", "Соединение", "Ctrl+F5", "", -1, &W::SetModeConnectActionExecute},
        {"SetModeSymbolAction", "Символ", "", "", -1, &W::SetModeSymbolActionExecute},
        {"SetModeFSMAction", "SetModeFSMAction", "", "", -1, &W::SetModeFSMActionExecute},
        {"RedrawAction", "Обновить", "F5", "", -1, &W::RedrawActionExecute},
        {"DeleteAction", "Удалить", "Del", "", -1, &W::DeleteActionExecute, SelectionRule, &W::DeleteAction},
        {"TestActionSaveList", "TestActionSaveList", "Ctrl+F12", "", -1, &W::TestActionSaveListExecute},
        {"InsertConnectAction", "InsertConnectAction", "", "", -1, &W::InsertConnectActionExecute},
        {"CopyAction", "Копировать", "Ctrl+C", "", -1, &W::CopyActionExecute, SelectionRule, &W::CopyAction},
        {"CutAction", "Вырезать", "Ctrl+X", "", -1, &W::CutActionExecute, SelectionRule, &W::CutAction},
        {"PasteAction", "Вставить", "Ctrl+V", "", -1, &W::PasteActionExecute, {}, &W::PasteAction, cfDisabled},
        {"ZoomInAction", "Масштаб +", "", "", -1, &W::ZoomInActionExecute},
        {"ZoomOutAction", "Масштаб -", "", "", -1, &W::ZoomOutActionExecute},
        {"ZoomNormalAction", "Нормальный размер", "", "", -1, &W::ZoomNormalActionExecute},
        {"ZoomMaxAction", "Максимальный размер", "", "", -1, &W::ZoomMaxActionExecute},
        {"FlipHorAction", "Отобразить гор.", "F", "", -1, &W::FlipHorActionExecute, FlipRule, &W::FlipHorAction},
        {"UpdateAction", "UpdateAction", "", "", -1, &W::UpdateActionExecute},
        {"CheckSchemeAction", "Проверить схему", "", "Запустить сигнатурный анализатор для схемы", -1,
         &W::CheckSchemeActionExecute, CheckRule, &W::CheckSchemeAction},
        {"CenterSelectedAction", "CenterSelectedAction", "C", "", -1, &W::CenterSelectedActionExecute},
        {"AddSignalsToDebugAction", "Добавить в отладчик", "D", "Добавить выделенные сигналы в отладчик", -1,
         &W::AddSignalsToDebugActionExecute, DebugRule, &W::AddSignalsToDebugAction},
        {"PrintToFileAction", "Сохранить картинку", "", "Сохранить картинку схемы|Сохранить картинку схемы в файл .BMP",
         -1, &W::PrintToFileActionExecute},
        {"OrderAction", "Порядок элементов", "",
         "Установить порядок элементов|Утановить порядок элементов во всей схеме", -1, &W::OrderActionExecute},
        {"InsertSymbolAction", "InsertSymbolAction", "", "", -1, &W::InsertSymbolActionExecute},
        {"InsertFSMAction", "InsertFSMAction", "", "", -1, &W::InsertFSMActionExecute},
        {"TestLoadAction", "Загрузить тестовый файл", "F12", "", -1, nothing},
        {"TestSaveAction", "Сохранить тестовый файл", "F11", "", -1, nothing},
    };
    NewActions(ChildActionList, this, kActions);
}

void TMDIChild::CreateMenus() {
    using W = TMDIChild;
    // level, caption, action, flags, name, field, click, hint, key
    static const TMenuRow<TMDIChild> kSheetMenu[] = {
        {0, "", "OrderAction"}, {0, "", "PrintToFileAction"}, {0, "", "CheckSchemeAction", 0, "itmCheckScheme"},
        {0, "-"},
        {0, "", "SetModeSelectAction", 0, "N12", &W::N12},
        {0, "-"},
        {0, "Добавить", nullptr, 0, "N5"},
        {1, "", "SetModeDeviceAction", 0, "N6", &W::N6}, {1, "", "SetModePinAction", 0, "N7", &W::N7},
        {1, "", "SetModeWireAction", 0, "N8", &W::N8}, {1, "", "SetModeConnectAction", 0, "N1", &W::N1},
        // Bound to no action in the old program; here it selects the symbol mode.
        {1, "Символ", nullptr, 0, "N19", &W::N19, &W::SetModeSymbolActionExecute, "", "Ctrl+F6"},
        {0, "-"},
        {0, "", "CutAction"}, {0, "", "CopyAction"}, {0, "", "PasteAction"}, {0, "", "DeleteAction"},
        {0, "-", nullptr, 0, "N4", &W::N4},
        {0, "", "FlipHorAction"},
        {0, "-"},
        {0, "", "EditPropertyAction"}, {0, "", "AddSignalsToDebugAction"},
    };
    // The sheet's menu while an object follows the mouse.
    static const TMenuRow<TMDIChild> kPlacingMenu[] = {{0, "", "EscAction"}};
    TMenuNumbering numbering{.Line = "Line"};
    PopupMenu1 = NewComponent<TPopupMenu>(this, "PopupMenu1");
    NewMenuItems(PopupMenu1->Items(), this, kSheetMenu, numbering);
    PopupMenu3 = NewComponent<TPopupMenu>(this, "PopupMenu3");
    NewMenuItems(PopupMenu3->Items(), this, kPlacingMenu, numbering);
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
    if (Scheme) SetCaption(Scheme->Caption());
}
