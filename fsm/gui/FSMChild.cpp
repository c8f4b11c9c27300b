// The state-machine window: construction, actions, zoom, keys, painting,
// closing and what the document reports to it. Mouse editing is in
// FSMChildMouse.cpp.
#include "fsm/gui/FSMChild.h"

#include <algorithm>

#include "controls/gui/ExCheckListBox.h"
#include "document/InitModule.h"
#include "document/Scheme.h"
#include "fsm/FsmSettings.h"
#include "fsm/gui/FsmFrame.h"
#include "fsm/gui/FSMCond.h"
#include "fsm/gui/FsmImages.h"
#include "fsm/gui/fsmPins.h"
#include "fsm/gui/stProp.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/ImageList.h"
#include "platform/UiPort.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTable.h"
#include "toolbars/TBExTlbr.h"

namespace {

constexpr const char* kUnit = "FSMChild";

int GridSetting() { return InitModule ? InitModule->GridStep : 10; }
TColor SchemeBackSetting() { return InitModule ? InitModule->BackColor : TColor(0); }
int AutoSaveMinutes() { return InitModule ? InitModule->AutoSavePeriod : 10; }

} // namespace

TFSMChild* NewFSMChild(TComponent* owner) { return NewForm<TFSMChild>(owner); }

TFSMChild::TFSMChild(TComponent* owner) : TForm(owner) {
    SetName("FSMChild");
    SetFormStyle(fsMDIChild);
    // Placed as the scheme windows are: below and right of the last one, no
    // larger than the room the frame has left.
    SetPosition(poDefault);
    SetBounds(0, 0, 640, 460);
    KeyPreview = true;

    DockEx1 = NewControl<TDockEx>(this, this, "DockEx1");
    DockEx1->SetPosition(dpTop);

    StatusBar = NewControl<TStatusBar>(this, this, "StatusBar");
    StatusBar->SetAlign(alBottom);
    for (int w : {50, 120, 350, 100, 180, 50}) StatusBar->Panels()->Add()->SetWidth(w);

    Panel1 = NewControl<TPanel>(this, this, "Panel1");
    Panel1->SetAlign(alRight);
    Panel1->SetWidth(150);
    Panel1->SetBevelOuter(bvNone);
    inBox = NewControl<TExCheckListBox>(this, Panel1, "inBox");
    inBox->SetCheckKind(ckCheckMarks);
    inBox->SetAlign(alTop);
    inBox->SetHeight(180);
    Splitter2 = NewControl<TSplitter>(this, Panel1, "Splitter2");
    Splitter2->SetAlign(alTop);
    Splitter2->SetHeight(3);
    outBox = NewControl<TExCheckListBox>(this, Panel1, "outBox");
    outBox->SetCheckKind(ckCheckMarks);
    outBox->SetAllowGrayed(true);
    outBox->SetAlign(alClient);
    Splitter1 = NewControl<TSplitter>(this, this, "Splitter1");
    Splitter1->SetAlign(alRight);
    Splitter1->SetWidth(3);

    ScrollBox1 = NewControl<TScrollBox>(this, this, "ScrollBox1");
    ScrollBox1->SetAlign(alClient);
    ScrollBox1->HorzScrollBar()->SetIncrement(16);
    ScrollBox1->VertScrollBar()->SetIncrement(16);
    PaintBox1 = NewControl<TPaintBox>(this, ScrollBox1, "PaintBox1");

    ImageList1 = NewComponent<TImageList>(this, "ImageList1");
    FillFsmImages(ImageList1);
    CreateActions();
    CreateMenus();
    CreateToolbar();

    SavePictureDialog = NewComponent<TSavePictureDialog>(this, "SavePictureDialog");
    SavePictureDialog->Filter = "Bitmaps (*.bmp)|*.bmp";
    SavePictureDialog->DefaultExt = "bmp";
    SavePictureDialog->Options |= OpenOption(ofOverwritePrompt);
    SavePictureDialog->WrittenName = [](const AnsiString& chosen, int) { return PictureFileName(chosen); };
    AutosaveTimer = NewComponent<TTimer>(this, "AutosaveTimer");
    AutosaveTimer->OnTimer = [this](TObject* s) { AutosaveTimerTimer(s); };
    Timer1 = NewComponent<TTimer>(this, "Timer1");
    Timer1->SetInterval(10);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    PaintBox1->OnPaint = [this](TObject* s) { PaintBox1Paint(s); };
    PaintBox1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseDown(s, b, sh, x, y);
    };
    PaintBox1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { PaintBox1MouseMove(s, sh, x, y); };
    PaintBox1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        PaintBox1MouseUp(s, b, sh, x, y);
    };
    PaintBox1->OnDblClick = [this](TObject* s) { PaintBox1DblClick(s); };
    ScrollBox1->OnClick = [this](TObject* s) { ScrollBox1Click(s); };
    inBox->OnClickCheck = [this](TObject* s) { inBoxClickCheck(s); };
    outBox->OnClickCheck = [this](TObject* s) { outBoxClickCheck(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { FormKeyUp(s, k, sh); };
}

TFSMChild::~TFSMChild() {
    // The document's objects erase themselves from the paint box as they go:
    // it must still be there.
    closing_ = true;
    fsm_.reset();
}

namespace {

void PasteRule(TFSMChild&, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(FsmFrame() && FsmFrame()->PasteEnabled());
}

void CheckRule(TFSMChild&, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(FsmFrame() && FsmFrame()->DebuChecked());
}

} // namespace

void TFSMChild::CreateActions() {
    ChildActionList = NewComponent<TActionList>(this, "ChildActionList");
    ChildActionList->Images = ImageList1;
    using W = TFSMChild;
    constexpr auto nothing = IgnoreCommand<TFSMChild>;
    // name, caption, key, hint, image, execute, update, field, flags
    static const TActionRow<TFSMChild> kActions[] = {
        {"Undo", "Отмена", "Ctrl+Z", "", -1, &W::UndoExecute},
        {"PrintSchemAction", "PrintSchemAction", "", "", -1, &W::PrintSchemActionExecute},
        {"PrintInfoAction", "PrintInfoAction", "", "", -1, nothing},
        {"DeleteSelectedAction", "Удалить помеченные", "", "", -1, &W::DeleteSelectedActionExecute,
         &W::SelectionUpdate, &W::DeleteSelectedAction},
        {"EditPropertyAction", "Свойства", "Alt+Enter", "", -1, &W::EditPropertyActionExecute, &W::SelectionUpdate,
         &W::EditPropertyAction},
        {"InsertDeviceAction", "InsertDeviceAction", "", "", -1, &W::InsertDeviceActionExecute, {},
         &W::InsertDeviceAction},
        // Esc reaches the window before the frame, and its key-up runs it
        // again: ending the placing twice changes nothing.
        {"EscAction", "Отмена", "Esc", "", -1, &W::EscActionExecute, {}, &W::EscAction},
        {"SetModeSelectAction", "", "Ctrl+F1", "", fiSelect, &W::SetModeSelectActionExecute, &W::ModeUpdate,
         &W::SetModeSelectAction},
        {"SetModeDeviceAction", "", "Ctrl+F2", "", fiState, &W::SetModeDeviceActionExecute, &W::ModeUpdate,
         &W::SetModeDeviceAction},
        {"SetModePinAction", "", "Ctrl+F3", "", -1, &W::SetModePinActionExecute, &W::ModeUpdate, &W::SetModePinAction},
        {"SetModeWireAction", "", "Ctrl+F4", "", fiTransition, &W::SetModeWireActionExecute, &W::ModeUpdate,
         &W::SetModeWireAction},
        {"SetModeSymbolAction", "", "", "", fiCondition, &W::SetModeSymbolActionExecute, &W::ModeUpdate,
         &W::SetModeSymbolAction},
        {"SetModeConnectAction", "Соединение", "Ctrl+F5", "", fiReset, &W::SetModeConnectActionExecute,
         &W::ModeUpdate, &W::SetModeConnectAction},
        {"RedrawAction", "Обновить", "F5", "", -1, &W::RedrawActionExecute},
        {"DeleteAction", "Удалить", "Del", "", -1, &W::DeleteActionExecute, &W::SelectionUpdate, &W::DeleteAction},
        {"TestLoadAction", "Загрузить тестовый файл", "F12", "", -1, nothing},
        {"TestSaveAction", "Сохранить тестовый файл", "F11", "", -1, nothing},
        {"CopyAction", "Копировать", "Ctrl+C", "", -1, &W::CopyActionExecute, &W::SelectionUpdate, &W::CopyAction},
        {"CutAction", "Вырезать", "Ctrl+X", "", -1, &W::CutActionExecute, &W::SelectionUpdate, &W::CutAction},
        {"PasteAction", "Вставить", "Ctrl+V", "", -1, &W::PasteActionExecute, PasteRule, &W::PasteAction, cfDisabled},
        {"ZoomInAction", "Масштаб +", "", "", -1, &W::ZoomInActionExecute, {}, &W::ZoomInAction},
        {"ZoomOutAction", "Масштаб -", "", "", -1, &W::ZoomOutActionExecute, {}, &W::ZoomOutAction},
        {"ZoomNormalAction", "Нормальный размер", "", "", -1, &W::ZoomNormalActionExecute},
        {"ZoomMaxAction", "Максимальный размер", "", "", -1, &W::ZoomMaxActionExecute},
        {"FlipHorAction", "Отобразить гор.", "F", "", -1, &W::FlipHorActionExecute, &W::SelectionUpdate,
         &W::FlipHorAction},
        {"UpdateAction", "UpdateAction", "", "", -1, &W::UpdateActionExecute},
        {"CheckSchemeAction", "Проверить схему", "", "Запустить сигнатурный анализатор для схемы", -1, nothing,
         CheckRule, &W::CheckSchemeAction},
        {"CenterSelectedAction", "CenterSelectedAction", "C", "", -1, &W::CenterSelectedActionExecute},
        {"PrintToFileAction", "Сохранить картинку", "", "Сохранить картинку схемы|Сохранить картинку схемы в файл .BMP",
         -1, &W::PrintToFileActionExecute, {}, &W::PrintToFileAction},
        // The button's tooltip is its hint: the caption is only the action's name.
        {"SimulateAction", "SimulateAction", "", "Моделирование", fiSimulationStopped, &W::SimulateActionExecute, {},
         &W::SimulateAction},
        // Commands of the form that no handler serves.
        {"InsertPinAction", "InsertPinAction"}, {"InsertConnectAction", "InsertConnectAction"},
        {"InsertSymbolAction", "InsertSymbolAction"}, {"TestActionSaveList", "TestActionSaveList", "Ctrl+F12"},
        {"AddSignalsToDebugAction", "Добавить в отладчик", "D"}, {"OrderAction", "Порядок элементов"},
    };
    NewActions(ChildActionList, this, kActions);
}

void TFSMChild::CreateMenus() {
    using W = TFSMChild;
    // Items with a caption of their own run their action when clicked; the
    // menu's pop-up gives them their action's state.
    constexpr unsigned runs = cfRunsAction;
    // level, caption, action, flags, name, field
    static const TMenuRow<TFSMChild> kSheetMenu[] = {
        {0, "", "PrintToFileAction"}, {0, "", "CheckSchemeAction"},
        {0, "-"},
        {0, "Выбор", "SetModeSelectAction", runs, nullptr, &W::SelectItem},
        {0, "-"},
        {0, "Добавить", nullptr, 0, "AddItem"},
        {1, "Переход", "SetModeConnectAction", runs}, {1, "Состояние", "SetModeDeviceAction", runs},
        {0, "-"},
        {0, "", "CutAction"}, {0, "", "CopyAction"}, {0, "", "PasteAction"}, {0, "", "DeleteAction"},
        {0, "-"},
        {0, "", "EditPropertyAction"}, {0, "", "FlipHorAction", 0, nullptr, &W::N4},
    };
    static const TMenuRow<TFSMChild> kPlacingMenu[] = {{0, "", "EscAction"}};
    TMenuNumbering numbering;
    PopupMenu1 = NewComponent<TPopupMenu>(this, "PopupMenu1");
    PopupMenu3 = NewComponent<TPopupMenu>(this, "PopupMenu3");
    NewMenuItems(PopupMenu1->Items(), this, kSheetMenu, numbering);
    TMenuItem* add = SelectItem->Parent()->Items(SelectItem->MenuIndex() + 2);
    PopupMenu1->OnPopup = [this, add](TObject*) {
        ChildActionList->UpdateActions();
        SelectItem->SetEnabled(SetModeSelectAction->Enabled());
        add->Items(0)->SetEnabled(SetModeConnectAction->Enabled());
        add->Items(1)->SetEnabled(SetModeDeviceAction->Enabled());
    };
    NewMenuItems(PopupMenu3->Items(), this, kPlacingMenu, numbering);
}

void TFSMChild::CreateToolbar() {
    ToolbarEx1 = NewControl<TToolbarEx>(this, DockEx1, "ToolbarEx1");
    ToolbarEx1->SetCaption("Управление машиной состояний"_a);
    ToolbarEx1->SetCloseButton(false);
    using W = TFSMChild;
    // Separators part selecting, conditions, the signals, the drawing of
    // states and transitions, the reset transition, and the simulation.
    // action, name, field, group, flags, hint, image, click
    static const TButtonRow<TFSMChild> kButtons[] = {
        {"SetModeSelectAction", "SelectButton"},
        {"-"},
        {"SetModeSymbolAction", "ConditionButton"},
        {"-"},
        {nullptr, "ToolbarButtonEx5", nullptr, 0, 0, "", fiInputs, &W::ToolbarButtonEx5Click},
        {nullptr, "ToolbarButtonEx3", nullptr, 0, 0, "", fiOutputs, &W::ToolbarButtonEx3Click},
        {"-"},
        {"SetModeDeviceAction", "StateButton"},
        {"SetModeWireAction", "TransitionButton"},
        {"-"},
        {"SetModeConnectAction", "ResetButton"},
        {"-"},
        {"SimulateAction", "tbSimul", &W::tbSimul},
    };
    TButtonSet style{ImageList1};
    AddToolbarButtons(ToolbarEx1, this, kButtons, style);
    ToolbarEx1->SetDockPos(0);
}

// ---- form events ------------------------------------------------------------------------

void TFSMChild::FormCreate(TObject*) {
    const FsmSettings s = CurrentFsmSettings();
    grid_ = GridSetting();
    ScrollBox1->SetColor(SchemeBackSetting());
    PaintBox1->SetBounds(0, 0, s.SheetWidth, s.SheetHeight);
    PaintBox1->Canvas()->CopyMode = cmSrcInvert;
    SetMode(mdSelect);
    fsm_ = std::make_unique<TFSMScheme>(this);
    fsm_->SetFileName(AnsiString());
    ProgressBar = NewControl<TProgressBar>(this, StatusBar, "ProgressBar");
    ProgressBar->SetBoundsRect(StatusBar->PanelRect(4));
    ProgressBar->SetVisible(false);
    ProgressBar->SetPosition(0);
    StatusBar->Panels()->Items(3)->SetText("Zoom:" + IntToStr(fsm_->GetZoom()));
    stateCounter_ = 0;
    AutosaveTimer->SetInterval(unsigned(AutoSaveMinutes()) * 60000u);
}

void TFSMChild::FormActivate(TObject*) {
    UpdateEditActions();
    AutosaveTimer->SetInterval(unsigned(AutoSaveMinutes()) * 60000u);
}

void TFSMChild::FormClose(TObject*, TCloseAction& Action) {
    Action = caFree;
    if (!fsm_ || !fsm_->IsModified()) return;
    switch (MessageDlg("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNoCancel)) {
    case mrCancel: Action = caNone; break;
    case mrYes:
        // Closed only once the file was written: a cancelled name or a
        // failed save keeps the window, and the frame stops closing too.
        if (!FsmFrame() || !FsmFrame()->SaveWindow(this)) Action = caNone;
        break;
    default: break;
    }
}

void TFSMChild::FormDestroy(TObject*) {
    running_ = false;
    closing_ = true;
    fsm_.reset();
}

void TFSMChild::FormKeyUp(TObject*, WORD& Key, TShiftState) {
    switch (Key) {
    case VK_LEFT: ScrollBy(-32, 0); break;
    case VK_RIGHT: ScrollBy(32, 0); break;
    case VK_UP: ScrollBy(0, -32); break;
    case VK_DOWN: ScrollBy(0, 32); break;
    case VK_PRIOR: ScrollBy(0, -(ScrollBox1->Height() / 2)); break;
    case VK_NEXT: ScrollBy(0, ScrollBox1->Height() / 2); break;
    case VK_ESCAPE: EscActionExecute(EscAction); break;
    case VK_ADD: ZoomInActionExecute(ZoomInAction); break;
    case VK_SUBTRACT: ZoomOutActionExecute(ZoomOutAction); break;
    default: break;
    }
}

void TFSMChild::ScrollBy(int dx, int dy) {
    if (dx) ScrollBox1->HorzScrollBar()->SetPosition(ScrollBox1->HorzScrollBar()->Position() + dx);
    if (dy) ScrollBox1->VertScrollBar()->SetPosition(ScrollBox1->VertScrollBar()->Position() + dy);
}

void TFSMChild::ScrollBox1Click(TObject*) { ShowMessage("Не рабочая область"_a); }

void TFSMChild::AutosaveTimerTimer(TObject*) {
    if (fsm_) fsm_->AutoSave();
}

// ---- painting ----------------------------------------------------------------------------

void TFSMChild::PaintBox1Paint(TObject*) {
    if (!fsm_) return;
    try {
        TCanvas* c = PaintBox1->Canvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(CurrentFsmSettings().BackgroundColor);
        c->FillRect(PaintBox1->ClientRect());
        fsm_->Paint();
        // A gesture in progress keeps its feedback over the fresh picture.
        if (bandActive_) DrawBand();
        if (rubberShown_) DrawRubberLine();
    } catch (...) {
        ReportFsmInternalError(kUnit, __LINE__);
    }
}

void TFSMChild::RepaintSheet() { PaintBox1->Repaint(); }

void TFSMChild::RedrawActionExecute(TObject*) { PaintBox1->Repaint(); }

void TFSMChild::DrawBand() {
    TCanvas* c = PaintBox1->Canvas();
    const TColor dash = InitModule ? InitModule->DashColor : TColor(8421504);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(dash);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(dash);
    c->Font()->SetColor(dash);
    c->DrawFocusRect(band_);
    c->Pen()->SetMode(pmCopy);
}

void TFSMChild::DrawRubberLine() {
    TCanvas* c = PaintBox1->Canvas();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->MoveTo(Pixel(anchor_.x), Pixel(anchor_.y));
    c->LineTo(Pixel(rubberEnd_.x), Pixel(rubberEnd_.y));
    c->Pen()->SetMode(pmCopy);
}

void TFSMChild::ShowRubberLine(int x, int y) {
    EraseRubberLine();
    rubberEnd_ = TPoint(x, y);
    DrawRubberLine();
    rubberShown_ = true;
}

void TFSMChild::EraseRubberLine() {
    if (!rubberShown_) return;
    DrawRubberLine();
    rubberShown_ = false;
}

// ---- modes --------------------------------------------------------------------------------

namespace {

AnsiString ModeText(int mode) {
    switch (mode) {
    case TFSMChild::mdSelect: return "Выбор"_a;
    case TFSMChild::mdDrag: return "Перемещаем"_a;
    case TFSMChild::mdReset: return "Reset Переход"_a;
    case TFSMChild::mdPaste: return "Вставка из буфера"_a;
    case TFSMChild::mdTransition:
    case TFSMChild::mdPin:
    case TFSMChild::mdState:
    case TFSMChild::mdCondition: return "Не знаю"_a;
    default: return AnsiString();
    }
}

} // namespace

void TFSMChild::SetMode(int word) {
    // A rubber line belongs to the drawing of a transition only.
    if (rubberShown_ && word != (mdTransition | kPlacing)) EraseRubberLine();
    mode_ = word;
    const int m = word & kModeMask;
    StatusBar->Panels()->Items(1)->SetText(ModeText(m));
    SelectItem->SetChecked(m == mdSelect);
    if (word & kPlacing) {
        ScrollBox1->SetCursor(kInsertCursor);
        PaintBox1->SetPopupMenu(PopupMenu3);
        return;
    }
    PaintBox1->SetPopupMenu(PopupMenu1);
    ScrollBox1->SetCursor(m == mdPaste ? kInsertCursor : m == mdDrag ? kMoveCursor : crDefault);
    if (m == mdSelect) Screen->SetCursor(crDefault);
}

void TFSMChild::ModeUpdate(TObject* Sender) {
    auto* a = static_cast<TAction*>(Sender);
    bool enabled = !running_;
    if (a == SetModeConnectAction) enabled = enabled && fsm_ && !fsm_->GetResetLink();
    a->SetEnabled(enabled);
}

void TFSMChild::SetModeSelectActionExecute(TObject*) { SetMode(mdSelect); }
void TFSMChild::SetModeDeviceActionExecute(TObject*) { SetMode(mdState | kPlacing); }
void TFSMChild::SetModePinActionExecute(TObject*) { SetMode(mdPin); }

void TFSMChild::SetModeWireActionExecute(TObject*) {
    SetMode(mdTransition);
    pointCount_ = 0;
}

void TFSMChild::SetModeSymbolActionExecute(TObject*) { SetMode(mdCondition | kPlacing); }

void TFSMChild::SetModeConnectActionExecute(TObject*) {
    SetMode(mdReset);
    pointCount_ = 0;
}

void TFSMChild::EscActionExecute(TObject*) {
    if (mode_ & kPlacing) SetMode(mode_ & kModeMask);
    if (GetMode() == mdTransition) EraseRubberLine();
    placing_ = nullptr;
}

void TFSMChild::FinishPlacing() {
    SetMode(mode_ & kModeMask);
    startState_ = nullptr;
    pointCount_ = 0;
}

void TFSMChild::AddPoint(int x, int y) {
    if (pointCount_ >= 4) return;
    points_[pointCount_++] = TPoint(x, y);
}

// ---- editing commands ----------------------------------------------------------------------

void TFSMChild::SelectionUpdate(TObject* Sender) {
    auto* a = static_cast<TAction*>(Sender);
    const bool any = fsm_ && fsm_->HasSelection();
    if (a == EditPropertyAction) a->SetEnabled(any && fsm_->SelectionHasNonTransition());
    else a->SetEnabled(any);
    if (a == FlipHorAction) {
        a->SetVisible(any);
        N4->SetVisible(any);
    }
}

void TFSMChild::UpdateEditActions() {
    for (TAction* a : {CopyAction, CutAction, DeleteAction, DeleteSelectedAction, FlipHorAction, EditPropertyAction})
        a->Update();
    PasteAction->Update();
}

namespace {

// The action's enabled state by its rule now.
bool EnabledNow(TAction* a) {
    a->Update();
    return a->Enabled();
}

} // namespace

bool TFSMChild::CutActionEnabled() { return EnabledNow(CutAction); }
bool TFSMChild::CopyActionEnabled() { return EnabledNow(CopyAction); }
bool TFSMChild::DeleteActionEnabled() { return EnabledNow(DeleteAction); }
bool TFSMChild::FlipHorActionEnabled() { return EnabledNow(FlipHorAction); }

void TFSMChild::UndoExecute(TObject*) {
    TfsmUndoList* undo = fsm_->GetUndoList();
    if (undo->IsEmpty()) return;
    undo->Undo();
    fsm_->SetModified(true);
}

void TFSMChild::DeleteSelectedActionExecute(TObject*) { fsm_->DeleteSelected(); }

void TFSMChild::DeleteActionExecute(TObject*) { fsm_->DeleteSelected(); }

void TFSMChild::EditPropertyActionExecute(TObject*) { fsm_->EditSelectedProperties(); }

void TFSMChild::CopyActionExecute(TObject*) {
    if (fsm_->CopyToClipboard() && FsmFrame()) FsmFrame()->SetPasteAvailable(true);
}

void TFSMChild::CutActionExecute(TObject*) {
    // What could not be copied is not deleted.
    if (!fsm_->CopyToClipboard()) return;
    if (FsmFrame()) FsmFrame()->SetPasteAvailable(true);
    fsm_->DeleteSelected();
}

void TFSMChild::PasteActionExecute(TObject*) {
    fsm_->ClearSelection();
    SetMode(mdPaste);
}

void TFSMChild::FlipHorActionExecute(TObject*) { fsm_->FlipHorizontal(); }

void TFSMChild::UpdateActionExecute(TObject*) {
    SetCaption(fsm_->IsModified() ? fsm_->GetFileName() + "*" : fsm_->GetFileName());
}

void TFSMChild::InsertDeviceActionExecute(TObject*) {
    TfsmElement* s = fsm_->CreateState();
    s->SetX(lastX_);
    s->SetY(lastY_);
    // Clearing the selection also shows the new state, without its drag look.
    fsm_->ClearSelection();
    fsm_->AddToSelection(s, false);
    s->Show();
    s->SetName("State" + IntToStr(stateCounter_++));
    placing_ = s;
    fsm_->SetModified(true);
}

void TFSMChild::CenterSelectedActionExecute(TObject*) {
    if (!fsm_->HasSelection()) return;
    TRect r;
    fsm_->GetSelectionRect(&r);
    // The rectangle is in sheet units, the scroll positions in pixels of the zoomed sheet.
    ScrollBox1->HorzScrollBar()->SetPosition(fsm_->Scale((r.Left + r.Right) / 2) - ScrollBox1->Width() / 2);
    ScrollBox1->VertScrollBar()->SetPosition(fsm_->Scale((r.Top + r.Bottom) / 2) - ScrollBox1->Height() / 2);
}

// ---- zoom -------------------------------------------------------------------------------------

void TFSMChild::ChangeZoom(int percent) {
    if (percent < TFSMScheme::kMinZoom || percent > TFSMScheme::kMaxZoom) return;
    const FsmSettings s = CurrentFsmSettings();
    const long long w = (long long)s.SheetWidth * percent / 100, h = (long long)s.SheetHeight * percent / 100;
    // A sheet that the paint box's image cannot hold is not shown at all.
    if (!SurfaceCanHold(w, h)) return;
    fsm_->SetZoom(percent);
    ScrollBox1->HorzScrollBar()->SetPosition(percent * lastX_ / 100 - lastX_);
    ScrollBox1->VertScrollBar()->SetPosition(percent * lastY_ / 100 - lastY_);
    if (FsmFrame()) FsmFrame()->AllZoomUpdate();
}

void TFSMChild::ZoomInActionExecute(TObject*) { ChangeZoom(fsm_->GetZoom() + 50); }
void TFSMChild::ZoomOutActionExecute(TObject*) { ChangeZoom(fsm_->GetZoom() - 50); }
void TFSMChild::ZoomNormalActionExecute(TObject*) { ChangeZoom(100); }
void TFSMChild::ZoomMaxActionExecute(TObject*) { ChangeZoom(400); }

// ---- what the document reports ------------------------------------------------------------------

TCanvas* TFSMChild::FsmCanvas() { return closing_ ? nullptr : PaintBox1->Canvas(); }

void TFSMChild::ShowCaption(const AnsiString& caption) { SetCaption(caption); }

void TFSMChild::ShowZoom(int percent) {
    StatusBar->Panels()->Items(3)->SetText("Zoom:" + IntToStr(percent));
    const FsmSettings s = CurrentFsmSettings();
    PaintBox1->SetBounds(0, 0, fsm_->Scale(s.SheetWidth), fsm_->Scale(s.SheetHeight));
    ScrollBox1->UpdateRange();
    PaintBox1->Repaint();
}

void TFSMChild::BeginProgress(int max) {
    ProgressBar->SetBoundsRect(StatusBar->PanelRect(4));
    ProgressBar->SetMax(max);
    ProgressBar->SetPosition(0);
    ProgressBar->SetVisible(true);
}

void TFSMChild::StepProgress(int position) { ProgressBar->SetPosition(position); }

void TFSMChild::EndProgress() {
    ProgressBar->SetVisible(false);
    ProgressBar->SetPosition(0);
}

void TFSMChild::ShowSignals(const TStrings& inputs, const TStrings& outputs) {
    inBox->Items()->Clear();
    for (int i = 0; i < inputs.Count(); ++i) inBox->Items()->Add(inputs.Get(i));
    outBox->Items()->Clear();
    for (int i = 0; i < outputs.Count(); ++i) outBox->Items()->Add(outputs.Get(i));
}

// ---- printing and picture export ------------------------------------------------------------------

void TFSMChild::PrintSchemeTo(TCanvas* canvas) {
    if (!canvas || !fsm_) return;
    TFSMScheme::TUnzoomedScope unzoomed(fsm_.get());
    for (TfsmEntity* e : fsm_->Entities())
        if (!e->IsDeleted()) e->DrawTo(canvas);
    canvas->SetBkMode(TRANSPARENT);
    canvas->TextOut(10, 10, fsm_->GetFileName());
}

void TFSMChild::PrintSchemActionExecute(TObject* Sender) { PrintSchemeTo(dynamic_cast<TCanvas*>(Sender)); }

AnsiString TFSMChild::PictureFileName(const AnsiString& chosen) {
    const AnsiString ext = ExtractFileExt(chosen);
    return ext == ".bmp" || ext == ".BMP" ? chosen : chosen + ".bmp";
}

void TFSMChild::PrintToFileActionExecute(TObject*) {
    SavePictureDialog->FileName = ChangeFileExt(ExtractFileName(fsm_->GetFileName()), ".bmp");
    // The dialog gives back the bitmap's name, having asked about that file.
    if (!SavePictureDialog->Execute()) return;
    const AnsiString name = SavePictureDialog->FileName;
    int maxX = 0, maxY = 0;
    fsm_->GetExtent(&maxX, &maxY);
    // Coordinates of a damaged file could ask for any size: the picture is
    // cut to what an image can hold.
    long long w = (long long)maxX + 40, h = (long long)maxY + 20;
    w = std::min<long long>(w, kMaxSurfaceSide);
    h = std::min<long long>(h, std::min<long long>(kMaxSurfaceSide, kMaxSurfacePixels / w));
    TBitmap picture;
    picture.SetSize(int(w), int(h));
    TCanvas* c = picture.Canvas();
    // The objects draw by inverting: on white, black on white.
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, int(w), int(h)));
    c->CopyMode = cmSrcInvert;
    PrintSchemActionExecute(c);
    picture.Mask(clWhite);
    try {
        picture.SaveToFile(name);
    } catch (const EFCreateError&) {
        ShowMessage(CannotCreateFileText(name));
    }
}

// ---- simulation ------------------------------------------------------------------------------

void TFSMChild::SimulateActionExecute(TObject*) {
    if (!running_ && fsm_->Check()) StartSimulation();
    else StopSimulation();
}

void TFSMChild::StartSimulation() {
    running_ = true;
    fsm_->StartSimulation();
    SimulateAction->SetImageIndex(fiSimulationRunning);
}

void TFSMChild::StopSimulation() {
    running_ = false;
    fsm_->StopSimulation();
    SimulateAction->SetImageIndex(fiSimulationStopped);
}

void TFSMChild::Timer1Timer(TObject*) {
    if (running_ && fsm_) fsm_->SimulationStep();
}

void TFSMChild::inBoxClickCheck(TObject*) {
    if (fsm_ && fsm_->IsSimulating()) fsm_->SetInputVector(InputVectorFromChecks());
}

// The outputs are the simulator's to show: a click on them changes nothing.
void TFSMChild::outBoxClickCheck(TObject*) {}

AnsiString TFSMChild::InputVectorFromChecks() {
    AnsiString v;
    for (int i = inBox->Items()->Count() - 1; i >= 0; --i) {
        const TCheckBoxState st = inBox->GetState(i);
        v += st == cbChecked ? '1' : st == cbGrayed ? 'X' : '0';
    }
    return v;
}

void TFSMChild::ShowOutputs(const AnsiString& outputs) {
    // The last item is the first character; an item without a character
    // (a vector shorter than the list) is shown unchecked.
    const int n = outBox->Items()->Count();
    for (int i = 0; i < n; ++i) {
        const int pos = n - i;
        outBox->SetChecked(i, pos <= outputs.Length() && outputs[pos] == '1');
    }
}

// ---- dialogs ---------------------------------------------------------------------------------

namespace {

// The dialogs are made at start-up; a window opened without them (a test,
// a tool) makes them on first use.
template <class T>
T* Dialog(T*& global) {
    if (!global) Application->CreateForm(global);
    return global;
}

} // namespace

bool TFSMChild::EditStateName(AnsiString& name) {
    TfmStProp* dialog = Dialog(fmStProp);
    dialog->Setup(name);
    if (dialog->ShowModal() != mrOk) return false;
    dialog->Store(name);
    return true;
}

bool TFSMChild::EditCondition(TfsmCond* box, AnsiString& text) {
    TfmFSMCond* dialog = Dialog(fmFSMCond);
    if (!dialog->Setup(box) || dialog->ShowModal() != mrOk) return false;
    dialog->Store(box);
    text = box->GetText();
    return true;
}

void TFSMChild::EditSignals(bool outputs) {
    TfmPins* dialog = Dialog(fmPins);
    TStrings* list = (outputs ? outBox : inBox)->Items();
    TStringList before;
    before.Assign(list);
    dialog->Outputs = outputs;
    dialog->Setup(list, this);
    if (dialog->ShowModal() != mrOk) return;
    if (outputs) fsm_->SetOutputs(list);
    else fsm_->SetInputs(list);
    // Renaming alone changes the document too.
    if (before.Text() != list->Text()) fsm_->SetModified(true);
}

void TFSMChild::ToolbarButtonEx5Click(TObject*) { EditSignals(false); }

void TFSMChild::ToolbarButtonEx3Click(TObject*) { EditSignals(true); }

bool TFSMChild::AddSignal(bool outputs) {
    fsm_->SetModified(true);
    if (outputs) fsm_->AddOutputSignal();
    else fsm_->AddInputSignal();
    return true;
}

bool TFSMChild::RemoveSignal(int index, bool outputs) {
    if (index < 0) return false;
    fsm_->SetModified(true);
    if (outputs) fsm_->RemoveOutputSignal(index);
    else fsm_->RemoveInputSignal(index);
    return true;
}
