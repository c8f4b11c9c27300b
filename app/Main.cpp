// The frame: its construction (actions, menus, panes), start-up and
// shut-down handlers, command routing and enabling rules, and the child
// window services.
#include "app/Main.h"

#include "app/About.h"
#include "app/Cursors.h"
#include "app/SplashSource.h"
#include "document/DriversInfo.h"
#include "document/FileHeader.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "document/UndoList.h"
#include "controls/gui/Placemnt.h"
#include "editor/Case.h"
#include "editor/ChildWin.h"
#include "editor/EditorHooks.h"
#include "editor/ListElement.h"
#include "editor/PinDriver.h"
#include "editor/PropertyDialogs.h"
#include "editor/ShowExport.h"
#include "fsm/FsmServices.h"
#include "fsm/fsmScheme.h"
#include "fsm/gui/FSMChild.h"
#include "fsm/gui/FsmFrame.h"
#include "model/ModelHooks.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/gui/StdActns.h"
#include "translator/Logfile.h"
#include "toolbars/TBExTlwn.h"
#include "translator/TranslatorHost.h"

TMainForm* MainForm = nullptr;

TFrameWindowFactories& FrameWindowFactories() {
    static TFrameWindowFactories factories;
    return factories;
}

// ---- what the scheme model and the translator reach of the frame ------------------------

class TMainForm::ModelServices : public IFrameServices {
public:
    explicit ModelServices(TMainForm* frame) : frame_(frame) {}
    void OpenSchemeWindow(const AnsiString& fileName) override { frame_->CreateMDIChild(fileName); }
    AnsiString AskFileName(const AnsiString& proposed) override { return frame_->AskFileName(proposed); }
    void OpenFSMWindow(const AnsiString& fileName) override { frame_->OpenFSMWindow(fileName); }
    void CheckFSMPins(const AnsiString& unused, TStrings* inputs, TStrings* outputs) override {
        frame_->CheckFSMPins(unused, inputs, outputs);
    }
    bool ResolveGotoTarget(const AnsiString& sourceFile, const AnsiString& targetScheme, int unused,
                           const AnsiString& jumpName, AnsiString& targetElement) override {
        return frame_->ResolveGotoTarget(sourceFile, targetScheme, unused, jumpName, targetElement);
    }
    AnsiString MakeProjectPath(const AnsiString& name) override { return frame_->MakeProjectPath(name); }
    // The chain-join and signal-direction questions belong to dialogs that
    // register themselves; without them the headless answers hold.
    bool AskJoinChains(const AnsiString& first, const AnsiString& second, AnsiString& joined) override {
        auto& ask = FrameWindowFactories().JoinChains;
        return ask ? ask(first, second, joined) : false;
    }
    int AskSignalDirection(const AnsiString& name) override {
        auto& ask = FrameWindowFactories().SignalDirection;
        return ask ? ask(name) : -1;
    }
    bool ListProjectFiles(const AnsiString& unused, TStrings* list) override {
        return frame_->ListProjectFiles(unused, list);
    }
    bool ListSchemeElements(const AnsiString& schemeName, TStrings* list) override {
        return frame_->ListSchemeElements(schemeName, list);
    }
    bool OpenCaseWindow(TStrings* list, const AnsiString& baseName, TElement* element) override {
        return frame_->OpenCaseWindow(list, baseName, element);
    }

private:
    TMainForm* frame_;
};

class TMainForm::TranslatorFrame : public ITranslatorFrame {
public:
    explicit TranslatorFrame(TMainForm* frame) : frame_(frame) {}
    void SetFrameEnabled(bool enabled) override { frame_->SetEnabled(enabled); }
    void LetWindowsRepaint() override { Application->ProcessPaintMessages(); }
    void SaveSchemeWindows() override {
        for (int i = 0; i < frame_->MDIChildCount(); ++i)
            if (auto* s = dynamic_cast<ISchemeChild*>(frame_->MDIChildren(i))) s->SchemeDocument()->SaveToFile();
    }

private:
    TMainForm* frame_;
};

// What the state-machine windows reach of the frame.
class TMainForm::FsmFrameServices : public IFsmFrame {
public:
    explicit FsmFrameServices(TMainForm* frame) : frame_(frame) {}
    bool SaveWindow(TForm* window) override { return frame_->SaveWindow(window); }
    void SetPasteAvailable(bool available) override { frame_->SetPasteAvailable(available); }
    bool PasteEnabled() override {
        frame_->PasteActionUpdate(frame_->PasteAction);
        return frame_->PasteAction->Enabled();
    }
    void AllZoomUpdate() override { frame_->AllZoomUpdate(nullptr); }
    bool DebuChecked() override { return frame_->DebuCheck->Checked(); }

private:
    TMainForm* frame_;
};

// What the scheme windows reach of the frame.
class TMainForm::SchemeServices : public ISchemeFrame {
public:
    explicit SchemeServices(TMainForm* frame) : frame_(frame) {}
    void UpdateModeButtons(TSchemeMode mode) override { frame_->UpdateModeButtons(mode); }
    void ZoomChanged() override { frame_->AllZoomUpdate(frame_->ZoomAction); }
    bool SaveWindow(TForm* window) override { return frame_->SaveWindow(window); }
    bool PasteEnabled() override {
        frame_->PasteActionUpdate(frame_->PasteAction);
        return frame_->PasteAction->Enabled();
    }
    void SetPasteAvailable(bool available) override { frame_->SetPasteAvailable(available); }
    void MirrorEditActions(bool cut, bool copy, bool del) override {
        frame_->CutAction->SetEnabled(cut);
        frame_->CopyAction->SetEnabled(copy);
        frame_->DeleteAction->SetEnabled(del);
    }
    bool DebuCheck() override { return frame_->DebuCheck->Checked(); }
    int SortDr() override { return frame_->FormS->GetStoredValue("SortDr").AsInteger(); }
    void CheckScheme(TScheme* scheme) override { frame_->CheckScheme(scheme); }
    bool DebuggerPresent() override { return Debugger() != nullptr; }
    bool DebugWindowActive() override { return Debugger() && !Debugger()->IsDebugWindowInactive(); }
    void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) override {
        if (IFrameDebugger* d = Debugger()) d->AddSignalsToDebug(inputs, outputs);
    }
    void AddSignalToDebug(const AnsiString& name, int kind) override {
        if (IFrameDebugger* d = Debugger()) d->AddSignalToDebug(name, kind);
    }
    bool SignalSearchPresent() override { return bool(FrameWindowFactories().FindSignal); }
    void FindSignal(const AnsiString& name) override {
        if (auto& find = FrameWindowFactories().FindSignal) find(name);
    }
    TPrintDialog* PrintDialog() override { return frame_->PrintDialog1; }
    bool ExportCase(TForm* window, std::vector<int32_t>* outputs) override {
        return frame_->ExportCase(window, outputs);
    }

private:
    static IFrameDebugger* Debugger() { return FrameWindowFactories().Debugger; }
    TMainForm* frame_;
};

struct TMainForm::ClipCache {
    FileStamp stamp;
    int writer = -1;
};

// ---- construction ---------------------------------------------------------------------

TMainForm::TMainForm(TComponent* owner)
    : TForm(owner), modelServices_(std::make_unique<ModelServices>(this)),
      translatorFrame_(std::make_unique<TranslatorFrame>(this)), fsmFrame_(std::make_unique<FsmFrameServices>(this)),
      schemeServices_(std::make_unique<SchemeServices>(this)),
      propertyDialogs_(std::make_unique<TPropertyDialogs>()),
      clip_(std::make_unique<ClipCache>()) {
    SetName("MainForm");
    UpdateCaption();
    SetFormStyle(fsMDIForm);
    SetPosition(poDefault);
    SetBounds(0, 0, 722, 529);

    CreateActions();
    CreateMenus();

    StatusBar = NewControl<TStatusBar>(this, this, "StatusBar");
    StatusBar->SetAlign(alBottom);
    StatusBar->Panels()->Add()->SetWidth(100);

    CreateToolbars();
    CreatePane();
    FindSignalListView->OnDblClick = [this](TObject* s) { FindSignalListViewDblClick(s); };

    OpenDialog = NewComponent<TOpenDialog>(this, "OpenDialog");
    OpenDialog->Title = "Открытие схемы"_a;
    OpenDialog->DefaultExt = "tvs";
    OpenDialog->Filter = "Файлы схем|*.tvs;*.sch|Файлы символов|*.tvy|Автосохранённые копии|*.tvt|"
                         "Все файлы (*.*)|*.*|Файлы машины состояний (*.fsm)|*.fsm"_a;
    SaveDialog1 = NewComponent<TSaveDialog>(this, "SaveDialog1");
    SaveDialog1->Title = "Сохранить схему"_a;
    SaveDialog1->DefaultExt = "tvs";
    SaveDialog1->Filter = "Файл схемы (новый формат *.tvs)|*.tvs|Файл схемы (старый формат *.sch)|*.sch|"
                          "Файл символа (*.tvy)|*.tvy|Все файлы (*.*)|*.*|Файл конечного автомата(*.fsm)|*.fsm"_a;
    OpenDialogPrj = NewComponent<TOpenDialog>(this, "OpenDialogPrj");
    OpenDialogPrj->Title = "Загрузить проект"_a;
    OpenDialogPrj->DefaultExt = "prj";
    OpenDialogPrj->Filter = "Файлы проектов|*.prj;*.tvp|Все файлы|*.*"_a;
    PrintDialog1 = NewComponent<TPrintDialog>(this, "PrintDialog1");
    PrintDialog1->Options = PrintOption(poPrintToFile) | PrintOption(poPageNums);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };

    CreateStorage();

    Application->OnHint = [this](TObject* s) { OnAppHint(s); };
    Application->OnException = [this](TObject* s, Exception* e) { OnAppException(s, e); };
    pasteAvailable_ = false;
    if (!MainForm) MainForm = this;
}

TMainForm::~TMainForm() {
    TranslatorOptions().Query = nullptr;
    TranslatorHooks().Progress = nullptr;
    TDriversInfo::CheckBitOption = nullptr;
    if (ModelHooks().Frame == modelServices_.get()) ModelHooks().Frame = nullptr;
    if (ModelHooks().Dialogs == propertyDialogs_.get()) ModelHooks().Dialogs = nullptr;
    if (TranslatorHooks().Frame == translatorFrame_.get()) TranslatorHooks().Frame = nullptr;
    if (FsmFrame() == fsmFrame_.get()) SetFsmFrame(nullptr);
    if (&SchemeFrame() == schemeServices_.get()) SetSchemeFrame(nullptr);
    if (ChainServices() == this) SetChainServices(nullptr);
    if (MainForm == this) MainForm = nullptr;
}

TAction* TMainForm::NewAction(const char* name, const AnsiString& caption, TShortCut shortCut) {
    return ::NewAction(ActionList1, name, caption, shortCut);
}

void TMainForm::CreateActions() {
    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    auto bind = [this](TAction* a, void (TMainForm::*handler)(TObject*)) {
        a->OnExecute = [this, handler](TObject* s) { (this->*handler)(s); };
    };
    auto update = [this](TAction* a, void (TMainForm::*rule)(TObject*)) {
        a->OnUpdate = [this, rule](TObject* s) { (this->*rule)(s); };
    };
    // The frame's actions that carry no command of their own stay disabled:
    // an action without a handler does nothing, and its key must reach the
    // windows.
    auto inert = [](TAction* a) { a->SetEnabled(false); };

    FileNew1 = NewAction("FileNew1", "&Новый"_a, ShortCut('N', ssCtrl));
    bind(FileNew1, &TMainForm::FileNew1Execute);
    FileOpen1 = NewAction("FileOpen1", "Открыть"_a, ShortCut('O', ssCtrl));
    bind(FileOpen1, &TMainForm::FileOpen1Execute);
    FileClose1 = NewAction("FileClose1", "Закрыть"_a);
    bind(FileClose1, &TMainForm::FileClose1Execute);
    update(FileClose1, &TMainForm::ChildActiveUpdate);
    FileSave1 = NewAction("FileSave1", "Сохранить"_a, ShortCut('S', ssCtrl));
    bind(FileSave1, &TMainForm::FileSave1Execute);
    update(FileSave1, &TMainForm::ChildActiveUpdate);
    FileSaveAs1 = NewAction("FileSaveAs1", "Сохранить как"_a);
    bind(FileSaveAs1, &TMainForm::FileSaveAs1Execute);
    update(FileSaveAs1, &TMainForm::ChildActiveUpdate);
    FileExit1 = NewAction("FileExit1", "&Выход"_a, ShortCut(VK_F4, ssAlt));
    bind(FileExit1, &TMainForm::FileExit1Execute);

    CutAction = NewAction("CutAction", "&Вырезать"_a, ShortCut('X', ssCtrl));
    CutAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::CutActionExecute, s);
    };
    update(CutAction, &TMainForm::CutActionUpdate);
    CopyAction = NewAction("CopyAction", "&Копировать"_a, ShortCut('C', ssCtrl));
    CopyAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::CopyActionExecute, s);
    };
    update(CopyAction, &TMainForm::CopyActionUpdate);
    PasteAction = NewAction("PasteAction", "В&ставить"_a, ShortCut('V', ssCtrl));
    PasteAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::PasteActionExecute, s);
    };
    update(PasteAction, &TMainForm::PasteActionUpdate);
    PasteAction->SetEnabled(false);
    DeleteAction = NewAction("DeleteAction", "Удалить"_a, ShortCut(VK_DELETE, 0));
    DeleteAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::DeleteActionExecute, s);
    };
    update(DeleteAction, &TMainForm::DeleteActionUpdate);
    DeleteAction->SetEnabled(false);
    UndoAction = NewAction("UndoAction", "&Отменить"_a, ShortCut('Z', ssCtrl));
    UndoAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::UndoExecute, s); };
    update(UndoAction, &TMainForm::UndoActionUpdate);
    UndoAction->SetEnabled(false);
    RedoAction = NewAction("RedoAction", "Вернуть"_a, ShortCut('Z', ssCtrl | ssShift));
    RedoAction->SetVisible(false);
    inert(RedoAction);

    // The window arrangement: enabled only while a child window is open.
    auto window = [this](TWindowAction* a, const AnsiString& caption) {
        a->SetCaption(caption);
        a->SetActionList(ActionList1);
        a->Form = this;
        return a;
    };
    WindowCascade1 = window(NewComponent<TWindowCascade>(this, "WindowCascade1"), "Каскадом"_a);
    WindowTileHorizontal1 = window(NewComponent<TWindowTileHorizontal>(this, "WindowTileHorizontal1"), "Горизонтально"_a);
    WindowTileVertical1 = window(NewComponent<TWindowTileVertical>(this, "WindowTileVertical1"), "Вертикально"_a);
    WindowMinimizeAll1 = window(NewComponent<TWindowMinimizeAll>(this, "WindowMinimizeAll1"), "Минимизировать все"_a);
    WindowArrangeAll1 = window(NewComponent<TWindowArrange>(this, "WindowArrangeAll1"), "Расположить все"_a);
    WindowListAction = NewAction("WindowListAction", "Список окон"_a, ShortCut('0', ssAlt));
    WindowListAction->SetVisible(false);
    inert(WindowListAction);
    HelpAbout1 = NewAction("HelpAbout1", "О программе..."_a);
    bind(HelpAbout1, &TMainForm::HelpAbout1Execute);
    HelpContenstAction = NewAction("HelpContenstAction", "Контелст"_a, ShortCut(VK_F1, ssCtrl));
    bind(HelpContenstAction, &TMainForm::HelpContenstActionExecute);

    SelectAction = NewAction("SelectAction", "Выбор"_a);
    SelectAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeSelectActionExecute, s); };
    DeviceAction = NewAction("DeviceAction", "Устройство"_a, ShortCut('E', 0));
    DeviceAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeDeviceActionExecute, s); };
    PinAction = NewAction("PinAction", "Вывод драйвера"_a, ShortCut('I', 0));
    PinAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModePinActionExecute, s); };
    WireAction = NewAction("WireAction", "Связь"_a, ShortCut('W', 0));
    WireAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeWireActionExecute, s); };
    ConnectAction = NewAction("ConnectAction", "Соединитель"_a);
    ConnectAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeConnectActionExecute, s); };
    MoveLinkAction = NewAction("MoveLinkAction", "Переместить связь"_a, ShortCut('M', 0));
    MoveLinkAction->OnExecute = [this](TObject*) {
        if (ISchemeChild* s = ActiveScheme()) s->SetMode(mdMove);
    };
    SymbolAction = NewAction("SymbolAction", "SymbolAction");
    SymbolAction->SetHint("Вставка символа"_a);
    SymbolAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeSymbolActionExecute, s); };
    FSMAction = NewAction("FSMAction", AnsiString());
    FSMAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::SetModeFSMActionExecute, s); };
    RedrawAction = NewAction("RedrawAction", "Перерисовать"_a, ShortCut(VK_F5, 0));
    RedrawAction->OnExecute = [this](TObject*) {
        if (IEditorChild* e = ActiveEditor()) e->RepaintSheet();
    };

    EscAction = NewAction("EscAction", "Отмена"_a, ShortCut(VK_ESCAPE, 0));
    DragAction = NewAction("DragAction", "Растянуть"_a, ShortCut('D', 0));
    PropertyAction = NewAction("PropertyAction", "Свойства"_a, ShortCut(VK_RETURN, ssAlt));
    StandartDeviceAction = NewAction("StandartDeviceAction", "StandartDeviceAction");
    InOutDeviceAction = NewAction("InOutDeviceAction", "Вывод драйвера"_a);
    ChangeZoomAction = NewAction("ChangeZoomAction", "Масштаб"_a);
    LineAction = NewAction("LineAction", "LineAction");
    CircleAction = NewAction("CircleAction", "CircleAction");
    RectangleAction = NewAction("RectangleAction", "RectangleAction");
    TextAction = NewAction("TextAction", "TextAction");
    for (TAction* a : {EscAction, DragAction, PropertyAction, StandartDeviceAction, InOutDeviceAction,
                       ChangeZoomAction, LineAction, CircleAction, RectangleAction, TextAction})
        inert(a);

    ZoomAction = NewAction("ZoomAction", "ZoomAction");
    inert(ZoomAction);
    ZoomInAction = NewAction("ZoomInAction", "Масштаб +"_a);
    ZoomInAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::ZoomInActionExecute, s);
    };
    ZoomOutAction = NewAction("ZoomOutAction", "Масштаб -"_a);
    ZoomOutAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::ZoomOutActionExecute, s);
    };
    ZoomNormalAction = NewAction("ZoomNormalAction", "Нормальный размер"_a);
    ZoomNormalAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::ZoomNormalActionExecute, s);
    };
    ZoomMaxAction = NewAction("ZoomMaxAction", "Максимальный размер"_a);
    ZoomMaxAction->OnExecute = [this](TObject* s) {
        RouteBoth(&IEditorChild::ZoomMaxActionExecute, s);
    };
    for (TAction* a : {ZoomAction, ZoomInAction, ZoomOutAction, ZoomNormalAction, ZoomMaxAction})
        update(a, &TMainForm::AllZoomUpdate);

    FlipHorAction = NewAction("FlipHorAction", "Отобразить гор."_a);
    FlipHorAction->OnExecute = [this](TObject* s) { RouteScheme(&ISchemeChild::FlipHorActionExecute, s); };
    update(FlipHorAction, &TMainForm::FlipHorActionUpdate);
    FlipVerAction = NewAction("FlipVerAction", "Отобразить верт."_a, ShortCut('F', 0));
    FlipVerAction->SetVisible(false);
    inert(FlipVerAction);
    TypeAction = NewAction("TypeAction", "Типы драйверов"_a);
    bind(TypeAction, &TMainForm::TypeActionExecute);

    NewProjectAction = NewAction("NewProjectAction", "Новый проект"_a);
    bind(NewProjectAction, &TMainForm::NewProjectActionExecute);
    OpenProjectAction = NewAction("OpenProjectAction", "Открыть проект"_a);
    bind(OpenProjectAction, &TMainForm::OpenProjectActionExecute);
    CloseProjectAction = NewAction("CloseProjectAction", "Закрыть проект"_a);
    bind(CloseProjectAction, &TMainForm::CloseProjectActionExecute);
    SaveProjectAction = NewAction("SaveProjectAction", "Сохранить проект"_a);
    bind(SaveProjectAction, &TMainForm::SaveProjectActionExecute);
    InsertFileAction = NewAction("InsertFileAction", "Вставить файл"_a, ShortCut(VK_F11, ssShift));
    bind(InsertFileAction, &TMainForm::InsertFileActionExecute);
    DeleteFileAction = NewAction("DeleteFileAction", "Удалить файл"_a);
    bind(DeleteFileAction, &TMainForm::DeleteFileActionExecute);
    ActivateFileProjectAction = NewAction("ActivateFileProjectAction", "Открыть файл"_a);
    bind(ActivateFileProjectAction, &TMainForm::ActivateFileProjectActionExecute);
    update(ActivateFileProjectAction, &TMainForm::ActivateFileProjectActionUpdate);
    OptionProjectAction = NewAction("OptionProjectAction", "Свойства"_a, ShortCut(VK_F11, ssCtrl | ssShift));
    bind(OptionProjectAction, &TMainForm::OptionProjectActionExecute);
    ManagerWindowChange = NewAction("ManagerWindowChange", "Менеджер проекта"_a);
    bind(ManagerWindowChange, &TMainForm::ManagerWindowVisibleChanged);
    MoveFileUp = NewAction("MoveFileUp", "MoveFileUp");
    MoveFileUp->SetHint("Переместить схему вверх"_a);
    bind(MoveFileUp, &TMainForm::MoveFileUpExecute);
    update(MoveFileUp, &TMainForm::MoveFileUpUpdate);
    MoveFileDown = NewAction("MoveFileDown", "MoveFileDown");
    MoveFileDown->SetHint("Переместить файл схемы вниз"_a);
    bind(MoveFileDown, &TMainForm::MoveFileDownExecute);
    update(MoveFileDown, &TMainForm::MoveFileDownUpdate);

    ExportAction = NewAction("ExportAction", "Создать файлы"_a, ShortCut(VK_F9, ssCtrl));
    ExportAction->SetHint("Трансляция проекта в файл контроллера автоматики"_a);
    bind(ExportAction, &TMainForm::ExportActionExecute);
    ExportSchemeAction = NewAction("ExportSchemeAction", "ExportSchemeAction", ShortCut(VK_F8, 0));
    ExportSchemeAction->SetHint("Транслировать активную схему для отладки"_a);
    bind(ExportSchemeAction, &TMainForm::ExportSchemeActionExecute);
    ExportCaseAction = NewAction("ExportCaseAction", "ExportCase");
    inert(ExportCaseAction);
    ShowErrorAction = NewAction("ShowErrorAction", "Ошибки"_a);
    bind(ShowErrorAction, &TMainForm::ShowErrorActionExecute);
    ShowFileExportAction = NewAction("ShowFileExportAction", "Показать временные файлы"_a, ShortCut('E', ssCtrl));
    bind(ShowFileExportAction, &TMainForm::ShowFileExportActionExecute);
    for (TAction* a : {CloseProjectAction, SaveProjectAction, InsertFileAction, DeleteFileAction,
                       OptionProjectAction, ExportAction, ExportSchemeAction, ShowErrorAction})
        update(a, &TMainForm::ProjectOpenUpdate);
    CloseProjectAction->SetEnabled(false);
    InsertFileAction->SetEnabled(false);

    PrintSchemAction = NewAction("PrintSchemAction", "Печать"_a);
    bind(PrintSchemAction, &TMainForm::PrintSchemActionExecute);
    PrintElementAction = NewAction("PrintElementAction", "Печать элементов"_a);
    bind(PrintElementAction, &TMainForm::PrintElementActionExecute);
    for (TAction* a : {PrintSchemAction, PrintElementAction}) update(a, &TMainForm::ChildActiveUpdate);
    // The print preview and the options are windows of their own (Report1, OptionDlg); their commands do
    // nothing in a frame made without them.
    PreviewAction = NewAction("PreviewAction", "Просмотр"_a);
    bind(PreviewAction, &TMainForm::PreviewActionExecute);
    update(PreviewAction, &TMainForm::ChildActiveUpdate);
    ListElementAction = NewAction("ListElementAction", "Элементы схемы"_a, ShortCut(VK_F2, 0));
    ListElementAction->OnExecute = [](TObject*) {
        if (!ListElementDlg) return;
        // Shown again, it lists the scheme now in front.
        ListElementDlg->Show();
        ListElementDlg->BringToFront();
    };
    update(ListElementAction, &TMainForm::ChildActiveUpdate);
    CheckConnectivityAction = NewAction("CheckConnectivityAction", "Соединения"_a);
    bind(CheckConnectivityAction, &TMainForm::CheckConnectivityActionExecute);
    FindAction = NewAction("FindAction", "Найти сигнал"_a, ShortCut(VK_F3, 0));
    FindAction->SetHint("Найти сигнал по имени"_a);
    bind(FindAction, &TMainForm::FindActionExecute);
    ConfigAction = NewAction("ConfigAction", "Настройка"_a);
    bind(ConfigAction, &TMainForm::ConfigActionExecute);
}

void TMainForm::CreateMenus() {
    MainMenu1 = NewComponent<TMainMenu>(this, "MainMenu1");
    TMenuItem* root = MainMenu1->Items();
    int counter = 0;
    auto sub = [&](TMenuItem* parent, const AnsiString& caption, const AnsiString& hint = AnsiString()) {
        TMenuItem* m = NewItem(parent, "Menu" + IntToStr(++counter), caption);
        if (!hint.IsEmpty()) m->SetHint(hint);
        return m;
    };
    // An item shows its action; a caption of its own, or an item hidden
    // where its action is not, keeps that and follows the rest.
    auto act = [&](TMenuItem* parent, TAction* a, const AnsiString& caption = AnsiString(), bool hidden = false) {
        TMenuItem* m = NewItem(parent, "Item" + IntToStr(++counter), AnsiString());
        m->SetAction(a);
        if (!caption.IsEmpty()) m->SetCaption(caption);
        if (hidden) m->SetVisible(false);
        return m;
    };
    auto sep = [&](TMenuItem* parent, bool visible = true) {
        TMenuItem* m = NewItem(parent, "Sep" + IntToStr(++counter), "-");
        m->SetVisible(visible);
        return m;
    };

    TMenuItem* file = sub(root, "&Файл"_a, "Файловые команды"_a);
    act(file, FileNew1);
    act(file, FileOpen1);
    TMenuItem* old = sub(file, "Открыть старый"_a);
    old->SetVisible(false);
    old->SetEnabled(false);
    sep(file);
    act(file, FileSave1);
    act(file, FileSaveAs1);
    act(file, FileClose1);
    sep(file);
    act(file, PrintSchemAction);
    act(file, PreviewAction, "Просмотр/Печать схемы"_a);
    act(file, PrintElementAction);
    sub(file, "Установки печати"_a)->SetVisible(false);
    sep(file);
    act(file, FileExit1);

    TMenuItem* project = sub(root, "&Проект"_a);
    act(project, NewProjectAction);
    act(project, OpenProjectAction);
    ReopenProject = NewItem(project, "ReopenProject", "Открыть последний"_a);
    ReopenProject->SetEnabled(false);
    sep(project);
    act(project, SaveProjectAction);
    act(project, CloseProjectAction);
    sep(project);
    act(project, InsertFileAction);
    sep(project);
    TMenuItem* translation = sub(project, "Трансляция"_a);
    act(translation, ExportAction);
    act(translation, ExportSchemeAction, "Транслировать активную схему"_a);
    sep(translation);
    act(translation, ShowErrorAction, "Сообщения"_a);
    act(translation, ShowFileExportAction, AnsiString(), true);
    sep(project);
    act(project, OptionProjectAction);
    N72 = NewItem(project, "N72", "Статистика"_a, [this](TObject* s) { N72Click(s); });

    TMenuItem* edit = sub(root, "&Редактировать"_a, "Edit commands"_a);
    act(edit, UndoAction, AnsiString(), true);
    act(edit, RedoAction);
    sep(edit, false);
    act(edit, CutAction);
    act(edit, CopyAction);
    act(edit, PasteAction);
    act(edit, DeleteAction);
    sep(edit);
    act(edit, FlipHorAction);
    act(edit, FlipVerAction);
    sep(edit, false);
    TMenuItem* rotate = sub(edit, "Вращать"_a);
    rotate->SetVisible(false);
    for (const char* angle : {"90", "180", "270"}) sub(rotate, angle);

    TMenuItem* view = sub(root, "&Вид"_a);
    act(view, RedrawAction);
    sep(view);
    act(view, ZoomInAction);
    act(view, ZoomOutAction);
    act(view, ZoomNormalAction);
    act(view, ZoomMaxAction);
    sep(view);
    act(view, ListElementAction);
    N26 = NewItem(view, "N26", "Менеджер проекта"_a, [this](TObject* s) { N26Click(s); });
    sep(view);
    TMenuItem* panels = sub(view, "Панели"_a);
    N13 = NewItem(panels, "N13", "Файловая"_a);
    N14 = NewItem(panels, "N14", "Режимов"_a);
    N15 = NewItem(panels, "N15", "Примитивов"_a);
    N15->SetVisible(false);
    N16 = NewItem(panels, "N16", "Дополнительная"_a);
    N19 = NewItem(panels, "N19", "Драйверов"_a);
    for (TMenuItem* m : {N13, N14, N16, N19}) m->SetChecked(true);

    PopupMenu1 = NewComponent<TPopupMenu>(this, "PopupMenu1");
    act(PopupMenu1->Items(), InsertFileAction);
    act(PopupMenu1->Items(), ActivateFileProjectAction);
    sep(PopupMenu1->Items());
    act(PopupMenu1->Items(), DeleteFileAction);
    // The copy has the main menu's ticks and hidden item, none of its clicks.
    PopupMenu2 = NewComponent<TPopupMenu>(this, "PopupMenu2");
    TMenuItem* panelsCopy = sub(PopupMenu2->Items(), "Панели"_a);
    for (int i = 0; i < panels->Count(); ++i) {
        TMenuItem* copy = sub(panelsCopy, panels->Items(i)->Caption());
        copy->SetChecked(panels->Items(i)->Checked());
        copy->SetVisible(panels->Items(i)->Visible());
    }
    sub(PopupMenu2->Items(), "Настроить"_a);

    TMenuItem* elements = sub(root, "Э&лементы"_a);
    act(elements, TypeAction, "Сигналы от станка"_a)->SetHint("Сигналы от станка"_a);

    TMenuItem* utilities = sub(root, "&Утилиты"_a);
    utilities->SetVisible(false);
    sub(utilities, "Временной анализатор"_a);

    TMenuItem* config = sub(root, "&Конфигурация"_a);
    act(config, ConfigAction);

    TMenuItem* windows = sub(root, "&Окна"_a, "Window related commands"_a);
    act(windows, WindowCascade1);
    act(windows, WindowTileHorizontal1);
    act(windows, WindowTileVertical1);
    act(windows, WindowMinimizeAll1);
    act(windows, WindowArrangeAll1);
    sep(windows, false);
    act(windows, WindowListAction);

    TMenuItem* help = sub(root, "&Помощь"_a, "Help topics"_a);
    act(help, HelpContenstAction);
    sep(help);
    act(help, HelpAbout1);

    SetMenu(MainMenu1);
}

// ---- start-up and shut-down ---------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
    Application->HintColor = clInfoBk;
    LogFile = std::make_unique<TLogFile>();
    InstallProgramCursors();
    ModelHooks().Frame = modelServices_.get();
    ModelHooks().Dialogs = propertyDialogs_.get();
    // The state-machine element writes its pins into its file.
    InstallFsmServices();
    TranslatorHooks().Frame = translatorFrame_.get();
    SetFsmFrame(fsmFrame_.get());
    SetSchemeFrame(schemeServices_.get());
    SetChainServices(this);
    auto& factories = FrameWindowFactories();
    if (!factories.FsmWindow) factories.FsmWindow = [](TComponent* owner) -> TForm* { return NewFSMChild(owner); };
    if (!factories.SchemeWindow) factories.SchemeWindow = MakeSchemeWindow;
    if (!factories.CaseWindow) factories.CaseWindow = MakeCaseWindow;
}

void TMainForm::FormShow(TObject*) {
    const AnsiString arg = CommandLineFile;
    if (SplashForm) {
        Free(SplashForm);
        SplashForm = nullptr;
    }
    // The menu bar takes its height only once the window is on the screen.
    std::weak_ptr<char> alive = Alive();
    PostCall([this, alive] {
        if (!alive.expired()) SetMenu(MainMenu1);
    });
    if (arg.IsEmpty()) return;
    switch (FileKindOf(arg)) {
    case TFileKind::Project:
        if (LoadProject(arg)) OpenDebugFiles(ProjectDebugFiles(), false);
        break;
    case TFileKind::Scheme: CreateMDIChild(arg); break;
    case TFileKind::Recovery: OpenSchemeWindow(arg, true); break;
    case TFileKind::Fsm: OpenFSMWindow(arg); break;
    default: break;
    }
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
    // Every window asks about its document, then the project is written; a
    // Cancel to either keeps the program (and the project) as it is.
    StoreColumnWidths();
    CanClose = CloseProject(true);
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    // The project was written (or given up by the user) on the way here.
    StoreColumnWidths();
    CloseProject(true);
}

void TMainForm::FormDestroy(TObject*) {
    if (FsmFrame() == fsmFrame_.get()) SetFsmFrame(nullptr);
    if (ModelHooks().Frame == modelServices_.get()) ModelHooks().Frame = nullptr;
    if (ModelHooks().Dialogs == propertyDialogs_.get()) ModelHooks().Dialogs = nullptr;
    if (TranslatorHooks().Frame == translatorFrame_.get()) TranslatorHooks().Frame = nullptr;
    if (&SchemeFrame() == schemeServices_.get()) SetSchemeFrame(nullptr);
    if (ChainServices() == this) SetChainServices(nullptr);
    LogFile.reset();
}

void TMainForm::OnAppHint(TObject*) { StatusBar->Panels()->Items(0)->SetText(Application->Hint()); }

void TMainForm::OnAppException(TObject*, Exception* E) {
    ShowMessage("Ошибка в программе!\n"_a + (E ? E->Message : AnsiString()));
}

// ---- routing --------------------------------------------------------------------------------

ISchemeChild* TMainForm::ActiveScheme() const { return dynamic_cast<ISchemeChild*>(ActiveMDIChild()); }

IFsmChild* TMainForm::ActiveFsm() const { return dynamic_cast<IFsmChild*>(ActiveMDIChild()); }

IEditorChild* TMainForm::ActiveEditor() const {
    if (ISchemeChild* s = ActiveScheme()) return s;
    return ActiveFsm();
}

void TMainForm::RouteBoth(void (IEditorChild::*handler)(TObject*), TObject* sender) {
    if (IEditorChild* e = ActiveEditor()) (e->*handler)(sender);
}

void TMainForm::RouteScheme(void (ISchemeChild::*scheme)(TObject*), TObject* sender) {
    if (ISchemeChild* s = ActiveScheme()) (s->*scheme)(sender);
}

// ---- enabling rules -----------------------------------------------------------------------

void TMainForm::ChildActiveUpdate(TObject* Sender) {
    static_cast<TAction*>(Sender)->SetEnabled(ActiveMDIChild() != nullptr);
}

void TMainForm::ProjectOpenUpdate(TObject* Sender) {
    static_cast<TAction*>(Sender)->SetEnabled(CurrentProject != nullptr);
}

void TMainForm::CutActionUpdate(TObject*) {
    IEditorChild* e = ActiveEditor();
    CutAction->SetEnabled(e && e->CutActionEnabled());
}

void TMainForm::CopyActionUpdate(TObject*) {
    IEditorChild* e = ActiveEditor();
    CopyAction->SetEnabled(e && e->CopyActionEnabled());
}

void TMainForm::DeleteActionUpdate(TObject*) {
    IEditorChild* e = ActiveEditor();
    DeleteAction->SetEnabled(e && e->DeleteActionEnabled());
}

int TMainForm::ClipboardWriter() {
    const FileStamp stamp = StampOf(TScheme::kClipboardFile);
    if (!stamp.exists) return -1;
    if (stamp == clip_->stamp) return clip_->writer;
    clip_->stamp = stamp;
    clip_->writer = -1;
    std::string bytes;
    if (ReadWholeFile(TScheme::kClipboardFile, bytes) &&
        bytes.size() >= std::size_t(kFileHeaderSize + kFileSignatureSize)) {
        try {
            ByteReader r(bytes);
            FileHeader::Read(r);
            const FileSignature sig = FileSignature::Read(r);
            if (sig.IsValid()) clip_->writer = int(sig.Writer);
        } catch (const Exception&) {
            clip_->writer = -1;
        }
    }
    return clip_->writer;
}

void TMainForm::PasteActionUpdate(TObject*) {
    // A fragment pastes only into the kind of editor that copied it.
    bool enabled = false;
    if (pasteAvailable_ && ActiveMDIChild()) {
        const int writer = ClipboardWriter();
        if (ActiveScheme()) enabled = writer >= 0 && writer != int(ClipWriter::StateMachine);
        else if (ActiveFsm()) enabled = writer == int(ClipWriter::StateMachine);
    }
    PasteAction->SetEnabled(enabled);
}

void TMainForm::UndoActionUpdate(TObject*) {
    // A state-machine window undoes with its own command.
    if (ISchemeChild* s = ActiveScheme()) UndoAction->SetEnabled(!s->SchemeDocument()->UndoList()->IsEmpty());
    else UndoAction->SetEnabled(false);
}

void TMainForm::AllZoomUpdate(TObject*) {
    for (TAction* a : {ZoomNormalAction, ZoomMaxAction, ZoomInAction, ZoomOutAction}) a->SetEnabled(false);
    int zoom = 0;
    if (ISchemeChild* s = ActiveScheme()) zoom = s->SchemeDocument()->Zoom();
    else if (IFsmChild* f = ActiveFsm()) zoom = f->FsmDocument()->GetZoom();
    else return;
    ZoomNormalAction->SetEnabled(zoom != 100);
    ZoomMaxAction->SetEnabled(zoom != 400);
    ZoomInAction->SetEnabled(zoom != 400);
    ZoomOutAction->SetEnabled(zoom != 25);
}

void TMainForm::FlipHorActionUpdate(TObject*) {
    ISchemeChild* s = ActiveScheme();
    IFsmChild* f = s ? nullptr : ActiveFsm();
    FlipHorAction->SetEnabled(s ? s->FlipHorActionEnabled() : f && f->FlipHorActionEnabled());
}

void TMainForm::ActivateFileProjectActionUpdate(TObject*) {
    ActivateFileProjectAction->SetEnabled(FileListBox->Items()->Count() > 0 && FileListBox->SelCount() == 1);
}

void TMainForm::MoveFileUpUpdate(TObject*) {
    TListItem* sel = FileListBox->Selected();
    MoveFileUp->SetEnabled(sel && sel->Index() > 0);
}

void TMainForm::MoveFileDownUpdate(TObject*) {
    TListItem* sel = FileListBox->Selected();
    MoveFileDown->SetEnabled(sel && sel->Index() < FileListBox->Items()->Count() - 1);
}

void TMainForm::SetPasteAvailable(bool available) {
    pasteAvailable_ = available;
    PasteActionUpdate(PasteAction);
}

void TMainForm::N26Click(TObject*) {
    N26->SetChecked(!N26->Checked());
    ManagerWindow->SetVisible(N26->Checked());
}

// ---- child windows ----------------------------------------------------------------------------

namespace {

const char* const kFrameCaption = "Графический редактор контроллера автоматики";

} // namespace

void TMainForm::UpdateCaption() {
    AnsiString caption = Utf8ToAnsi(kFrameCaption);
    if (CurrentProject) {
        AnsiString name = CurrentProject->ProjectName;
        if (name.IsEmpty()) name = ExtractFileName(CurrentProject->GetFileName());
        if (!name.IsEmpty()) caption += " - " + name;
    }
    SetCaption(caption);
}

bool TMainForm::CanMakeWindow(bool registered, const AnsiString& kind, const AnsiString& fileName) {
    if (registered) return true;
    // A command that cannot do its work says so rather than nothing.
    MessageDlg("Файл "_a + fileName + " не открыт: "_a + kind + " в этой версии программы нет."_a, mtWarning,
               mbOKOnly);
    return false;
}

TForm* TMainForm::OpenSchemeWindow(const AnsiString& fileName, bool recovery) {
    // A recovery copy is never the file its window saves to: it always gets
    // a window of its own.
    if (!recovery)
        if (TForm* open = ShowFileWindow(fileName)) return open;
    auto& make = FrameWindowFactories().SchemeWindow;
    if (!CanMakeWindow(bool(make), "окна схем"_a, fileName)) return nullptr;
    TForm* window = make(Application);
    ISchemeChild* child = dynamic_cast<ISchemeChild*>(window);
    if (!child) return window;
    TScheme* doc = child->SchemeDocument();
    doc->SetFileName(fileName);
    doc->LoadFromFile();
    if (recovery) {
        // A recovery copy opens as an untitled document: saving asks for a
        // name, so the copy is never mistaken for the scheme itself.
        doc->SetFileName(AnsiString());
        doc->SetModified(true);
        return window;
    }
    const TFileKind kind = FileKindOf(fileName);
    if (!IsSymbolFile(fileName) && kind != TFileKind::CaseTable && CurrentProject &&
        !CurrentProject->ContainsFile(fileName) &&
        MessageDlg("Добавить файл в проект?"_a, mtInformation, mbYesNo) == mrYes)
        CurrentProject->AddFile(fileName);
    return window;
}

TForm* TMainForm::CreateMDIChild(const AnsiString& fileName) { return OpenSchemeWindow(fileName, false); }

TForm* TMainForm::OpenFSMWindow(const AnsiString& fileName) {
    if (TForm* open = ShowFileWindow(fileName)) return open;
    auto& make = FrameWindowFactories().FsmWindow;
    if (!CanMakeWindow(bool(make), "окна конечных автоматов"_a, fileName)) return nullptr;
    TForm* window = make(Application);
    if (IFsmChild* child = dynamic_cast<IFsmChild*>(window)) {
        child->FsmDocument()->SetFileName(fileName);
        child->FsmDocument()->LoadFromFile();
    }
    return window;
}

bool TMainForm::OpenCaseWindow(TStrings* list, const AnsiString& baseName, TObject* element) {
    // The CASE table editor reads two numbers back from the list.
    if (list) {
        list->Add("1234");
        list->Add("1234");
    }
    // The table's file lies in the current folder: separators in the
    // element's name name no folder.
    AnsiString file = baseName + ".tvc";
    for (int i = 1; i <= file.Length(); ++i)
        if (file[i] == '/' || file[i] == '\\' || file[i] == ':') file[i] = '_';
    if (TForm* open = ShowFileWindow(file)) {
        if (auto* forming = dynamic_cast<TfmCase*>(open)) forming->SetElement(element);
        return true;
    }
    auto& make = FrameWindowFactories().CaseWindow;
    if (CanMakeWindow(bool(make), "окна CASE-таблиц"_a, file)) make(Application, file, element);
    return true;
}

namespace {

// Whether a window that was asked to close is still open.
bool StillOpen(TForm* window, const std::weak_ptr<char>& alive) {
    return !alive.expired() && window->Showing();
}

} // namespace

bool TMainForm::CloseChildWindows() {
    // A window that closes may free itself or others: work on a snapshot.
    std::vector<std::pair<TForm*, std::weak_ptr<char>>> children;
    for (int i = 0; i < MDIChildCount(); ++i) children.emplace_back(MDIChildren(i), MDIChildren(i)->Alive());
    for (auto& [window, alive] : children) {
        if (!StillOpen(window, alive)) continue;
        window->Close();
        if (StillOpen(window, alive) && window->WindowState() != wsMinimized) return false;
    }
    return true;
}
