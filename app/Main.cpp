// The frame: its construction (actions, menus, panes), start-up and
// shut-down handlers, command routing and enabling rules, and the child
// window services.
#include "app/Main.h"

#include "app/About.h"
#include "app/ActionImages.h"
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
#include "platform/gui/ActionTable.h"
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
    bool SaveSchemeWindows(const TProject& project) override {
        bool saved = true;
        for (int i = 0; i < frame_->MDIChildCount(); ++i) {
            auto* s = dynamic_cast<ISchemeChild*>(frame_->MDIChildren(i));
            TScheme* doc = s ? s->SchemeDocument() : nullptr;
            if (!doc || doc->GetFileName().IsEmpty() || doc->SaveToFile()) continue;
            for (int k = 0; k < project.GetFileCount(); ++k)
                if (SameFile(project.GetFile(k), doc->GetFileName())) saved = false;
        }
        return saved;
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
    void ZoomChanged() override { frame_->AllZoomUpdate(nullptr); }
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
    SaveDialog1->Options |= OpenOption(ofOverwritePrompt);
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

namespace {

// The frame's commands that the active child window carries out: a command
// of both editors goes to the scheme window, else to the state-machine
// window; a scheme command only to a scheme window.
template <void (IEditorChild::*Handler)(TObject*)>
void Both(TMainForm& frame, TObject* sender) {
    if (IEditorChild* e = frame.ActiveEditor()) (e->*Handler)(sender);
}

template <void (ISchemeChild::*Handler)(TObject*)>
void Scheme(TMainForm& frame, TObject* sender) {
    if (ISchemeChild* s = frame.ActiveScheme()) (s->*Handler)(sender);
}

void MoveLink(TMainForm& frame, TObject*) {
    if (ISchemeChild* s = frame.ActiveScheme()) s->SetMode(mdMove);
}

void RepaintActive(TMainForm& frame, TObject*) {
    if (IEditorChild* e = frame.ActiveEditor()) e->RepaintSheet();
}

void ShowElementList(TMainForm&, TObject*) {
    if (!ListElementDlg) return;
    // Shown again, it lists the scheme now in front.
    ListElementDlg->Show();
    ListElementDlg->BringToFront();
}

// The enabling rules that look only at what the frame shows; each is given
// its action.
void ChildActive(TMainForm& frame, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(frame.ActiveMDIChild() != nullptr);
}

void ProjectOpen(TMainForm& frame, TObject* action) {
    static_cast<TAction*>(action)->SetEnabled(frame.CurrentProject != nullptr);
}

// The frame's cut, copy and delete follow the active editor's own.
template <bool (IEditorChild::*Enabled)()>
void EditorRule(TMainForm& frame, TObject* action) {
    IEditorChild* e = frame.ActiveEditor();
    static_cast<TAction*>(action)->SetEnabled(e && (e->*Enabled)());
}

void FlipRule(TMainForm& frame, TObject* action) {
    ISchemeChild* s = frame.ActiveScheme();
    IFsmChild* f = s ? nullptr : frame.ActiveFsm();
    static_cast<TAction*>(action)->SetEnabled(s ? s->FlipHorActionEnabled() : f && f->FlipHorActionEnabled());
}

void OneFileSelected(TMainForm& frame, TObject* action) {
    TListView* files = frame.FileListBox;
    static_cast<TAction*>(action)->SetEnabled(files->Items()->Count() > 0 && files->SelCount() == 1);
}

// The window arrangement: enabled only while a child window is open.
template <class Arrangement>
TAction* Arrange(TMainForm& frame) {
    auto* a = new Arrangement(&frame);
    a->Form = &frame;
    return a;
}

} // namespace

void TMainForm::CreateActions() {
    ActionList1 = NewComponent<TActionList>(this, "ActionList1");
    using M = TMainForm;
    using E = IEditorChild;
    using S = ISchemeChild;
    constexpr unsigned off = cfDisabled;
    // name, caption, key, hint, image, execute, update, field, flags, make
    static const TActionRow<TMainForm> kActions[] = {
        {"FileNew1", "&Новый", "Ctrl+N", "", aiNew, &M::FileNew1Execute, {}, &M::FileNew1},
        {"FileOpen1", "Открыть", "Ctrl+O", "", aiOpen, &M::FileOpen1Execute, {}, &M::FileOpen1},
        {"FileClose1", "Закрыть", "", "", -1, &M::FileClose1Execute, ChildActive, &M::FileClose1},
        {"FileSave1", "Сохранить", "Ctrl+S", "", aiSave, &M::FileSave1Execute, ChildActive, &M::FileSave1},
        {"FileSaveAs1", "Сохранить как", "", "", -1, &M::FileSaveAs1Execute, ChildActive, &M::FileSaveAs1},
        {"FileExit1", "&Выход", "Alt+F4", "", aiExit, &M::FileExit1Execute, {}, &M::FileExit1},
        {"CutAction", "&Вырезать", "Ctrl+X", "", aiCut, Both<&E::CutActionExecute>, EditorRule<&E::CutActionEnabled>,
         &M::CutAction},
        {"CopyAction", "&Копировать", "Ctrl+C", "", aiCopy, Both<&E::CopyActionExecute>,
         EditorRule<&E::CopyActionEnabled>, &M::CopyAction},
        {"PasteAction", "В&ставить", "Ctrl+V", "", aiPaste, Both<&E::PasteActionExecute>, &M::PasteActionUpdate,
         &M::PasteAction, off},
        {"DeleteAction", "Удалить", "Del", "", -1, Both<&E::DeleteActionExecute>, EditorRule<&E::DeleteActionEnabled>,
         &M::DeleteAction, off},
        {"UndoAction", "&Отменить", "Ctrl+Z", "", aiUndo, Scheme<&S::UndoExecute>, &M::UndoActionUpdate,
         &M::UndoAction, off},
        {"RedoAction", "Вернуть", "Ctrl+Shift+Z", "", -1, {}, {}, nullptr, cfHidden},
        {"WindowCascade1", "Каскадом", "", "", aiCascade, {}, {}, &M::WindowCascade1, 0, Arrange<TWindowCascade>},
        {"WindowTileHorizontal1", "Горизонтально", "", "", aiTileHorizontal, {}, {}, &M::WindowTileHorizontal1, 0,
         Arrange<TWindowTileHorizontal>},
        {"WindowTileVertical1", "Вертикально", "", "", aiTileVertical, {}, {}, &M::WindowTileVertical1, 0,
         Arrange<TWindowTileVertical>},
        {"WindowMinimizeAll1", "Минимизировать все", "", "", -1, {}, {}, nullptr, 0, Arrange<TWindowMinimizeAll>},
        {"WindowArrangeAll1", "Расположить все", "", "", -1, {}, {}, nullptr, 0, Arrange<TWindowArrange>},
        {"WindowListAction", "Список окон", "Alt+0", "", -1, {}, {}, nullptr, cfHidden},
        {"HelpAbout1", "О программе...", "", "", -1, &M::HelpAbout1Execute, {}, &M::HelpAbout1},
        {"HelpContenstAction", "Контелст", "Ctrl+F1", "", -1, &M::HelpContenstActionExecute, {},
         &M::HelpContenstAction},
        {"SelectAction", "Выбор", "", "", aiSelect, Scheme<&S::SetModeSelectActionExecute>, {}, &M::SelectAction},
        {"DeviceAction", "Устройство", "E", "", aiDevice, Scheme<&S::SetModeDeviceActionExecute>, {}, &M::DeviceAction},
        {"PinAction", "Вывод драйвера", "I", "", aiPin, Scheme<&S::SetModePinActionExecute>, {}, &M::PinAction},
        {"WireAction", "Связь", "W", "", aiWire, Scheme<&S::SetModeWireActionExecute>, {}, &M::WireAction},
        {"ConnectAction", "Соединитель", "", "", aiConnector, Scheme<&S::SetModeConnectActionExecute>, {},
         &M::ConnectAction},
        {"MoveLinkAction", "Переместить связь", "M", "", -1, MoveLink, {}, &M::MoveLinkAction},
        {"SymbolAction", "SymbolAction", "", "Вставка символа", aiSymbol, Scheme<&S::SetModeSymbolActionExecute>, {},
         &M::SymbolAction},
        {"FSMAction", "", "", "", aiFsm, Scheme<&S::SetModeFSMActionExecute>, {}, &M::FSMAction},
        {"RedrawAction", "Перерисовать", "F5", "", aiRedraw, RepaintActive, {}, &M::RedrawAction},
        // Commands of the old program that nothing serves.
        {"EscAction", "Отмена", "Esc"}, {"DragAction", "Растянуть", "D"}, {"PropertyAction", "Свойства", "Alt+Enter"},
        {"StandartDeviceAction", "StandartDeviceAction"}, {"InOutDeviceAction", "Вывод драйвера"},
        {"ChangeZoomAction", "Масштаб"}, {"LineAction", "LineAction"}, {"CircleAction", "CircleAction"},
        {"RectangleAction", "RectangleAction"}, {"TextAction", "TextAction"},
        {"ZoomAction", "ZoomAction", "", "", aiZoom, {}, &M::AllZoomUpdate},
        {"ZoomInAction", "Масштаб +", "", "", -1, Both<&E::ZoomInActionExecute>, &M::AllZoomUpdate, &M::ZoomInAction},
        {"ZoomOutAction", "Масштаб -", "", "", -1, Both<&E::ZoomOutActionExecute>, &M::AllZoomUpdate,
         &M::ZoomOutAction},
        {"ZoomNormalAction", "Нормальный размер", "", "", -1, Both<&E::ZoomNormalActionExecute>, &M::AllZoomUpdate,
         &M::ZoomNormalAction},
        {"ZoomMaxAction", "Максимальный размер", "", "", -1, Both<&E::ZoomMaxActionExecute>, &M::AllZoomUpdate,
         &M::ZoomMaxAction},
        {"FlipHorAction", "Отобразить гор.", "", "", -1, Scheme<&S::FlipHorActionExecute>, FlipRule,
         &M::FlipHorAction},
        {"FlipVerAction", "Отобразить верт.", "F", "", -1, {}, {}, nullptr, cfHidden},
        {"TypeAction", "Типы драйверов", "", "", aiSignals, &M::TypeActionExecute, {}, &M::TypeAction},
        {"NewProjectAction", "Новый проект", "", "", -1, &M::NewProjectActionExecute, {}, &M::NewProjectAction},
        {"OpenProjectAction", "Открыть проект", "", "", -1, &M::OpenProjectActionExecute, {}, &M::OpenProjectAction},
        {"CloseProjectAction", "Закрыть проект", "", "", -1, &M::CloseProjectActionExecute, ProjectOpen,
         &M::CloseProjectAction, off},
        {"SaveProjectAction", "Сохранить проект", "", "", -1, &M::SaveProjectActionExecute, ProjectOpen,
         &M::SaveProjectAction},
        {"InsertFileAction", "Вставить файл", "Shift+F11", "", -1, &M::InsertFileActionExecute, ProjectOpen,
         &M::InsertFileAction, off},
        {"DeleteFileAction", "Удалить файл", "", "", -1, &M::DeleteFileActionExecute, ProjectOpen,
         &M::DeleteFileAction},
        {"ActivateFileProjectAction", "Открыть файл", "", "", -1, &M::ActivateFileProjectActionExecute,
         OneFileSelected, &M::ActivateFileProjectAction},
        {"OptionProjectAction", "Свойства", "Ctrl+Shift+F11", "", -1, &M::OptionProjectActionExecute,
         ProjectOpen, &M::OptionProjectAction},
        {"ManagerWindowChange", "Менеджер проекта", "", "", -1, &M::ManagerWindowVisibleChanged},
        {"MoveFileUp", "MoveFileUp", "", "Переместить схему вверх", -1, &M::MoveFileUpExecute, &M::MoveFileUpUpdate,
         &M::MoveFileUp},
        {"MoveFileDown", "MoveFileDown", "", "Переместить файл схемы вниз", -1, &M::MoveFileDownExecute,
         &M::MoveFileDownUpdate, &M::MoveFileDown},
        {"ExportAction", "Создать файлы", "Ctrl+F9", "Трансляция проекта в файл контроллера автоматики", aiExport,
         &M::ExportActionExecute, ProjectOpen, &M::ExportAction},
        {"ExportSchemeAction", "ExportSchemeAction", "F8", "Транслировать активную схему для отладки", aiCheckScheme,
         &M::ExportSchemeActionExecute, ProjectOpen, &M::ExportSchemeAction},
        {"ExportCaseAction", "ExportCase"},
        {"ShowErrorAction", "Ошибки", "", "", -1, &M::ShowErrorActionExecute, ProjectOpen,
         &M::ShowErrorAction},
        {"ShowFileExportAction", "Показать временные файлы", "Ctrl+E", "", -1, &M::ShowFileExportActionExecute, {},
         &M::ShowFileExportAction},
        {"PrintSchemAction", "Печать", "", "", -1, &M::PrintSchemActionExecute, ChildActive,
         &M::PrintSchemAction},
        {"PrintElementAction", "Печать элементов", "", "", -1, &M::PrintElementActionExecute, ChildActive,
         &M::PrintElementAction},
        {"PreviewAction", "Просмотр", "", "", aiPreview, &M::PreviewActionExecute, ChildActive,
         &M::PreviewAction},
        {"ListElementAction", "Элементы схемы", "F2", "", aiListElements, ShowElementList, ChildActive,
         &M::ListElementAction},
        {"CheckConnectivityAction", "Соединения", "", "", aiConnections, &M::CheckConnectivityActionExecute, {},
         &M::CheckConnectivityAction},
        {"FindAction", "Найти сигнал", "F3", "Найти сигнал по имени", aiFind, &M::FindActionExecute, {},
         &M::FindAction},
        {"ConfigAction", "Настройка", "", "", -1, &M::ConfigActionExecute, {}, &M::ConfigAction},
    };
    NewActions(ActionList1, this, kActions);
}

void TMainForm::CreateMenus() {
    using M = TMainForm;
    constexpr unsigned hidden = cfHidden;
    // level, caption, action, flags, name, field, click, hint
    static const TMenuRow<TMainForm> kMainMenu[] = {
        {0, "&Файл", nullptr, 0, nullptr, nullptr, {}, "Файловые команды"},
        {1, "", "FileNew1"}, {1, "", "FileOpen1"}, {1, "Открыть старый", nullptr, cfHidden | cfDisabled},
        {1, "-"},
        {1, "", "FileSave1"}, {1, "", "FileSaveAs1"}, {1, "", "FileClose1"},
        {1, "-"},
        {1, "", "PrintSchemAction"}, {1, "Просмотр/Печать схемы", "PreviewAction"}, {1, "", "PrintElementAction"},
        {1, "Установки печати", nullptr, hidden},
        {1, "-"},
        {1, "", "FileExit1"},
        {0, "&Проект"},
        {1, "", "NewProjectAction"}, {1, "", "OpenProjectAction"},
        {1, "Открыть последний", nullptr, cfDisabled, "ReopenProject", &M::ReopenProject},
        {1, "-"},
        {1, "", "SaveProjectAction"}, {1, "", "CloseProjectAction"},
        {1, "-"},
        {1, "", "InsertFileAction"},
        {1, "-"},
        {1, "Трансляция"},
        {2, "", "ExportAction"}, {2, "Транслировать активную схему", "ExportSchemeAction"},
        {2, "-"},
        {2, "Сообщения", "ShowErrorAction"}, {2, "", "ShowFileExportAction", hidden},
        {1, "-"},
        {1, "", "OptionProjectAction"}, {1, "Статистика", nullptr, 0, "N72", &M::N72, &M::N72Click},
        {0, "&Редактировать", nullptr, 0, nullptr, nullptr, {}, "Edit commands"},
        {1, "", "UndoAction", hidden}, {1, "", "RedoAction"},
        {1, "-", nullptr, hidden},
        {1, "", "CutAction"}, {1, "", "CopyAction"}, {1, "", "PasteAction"}, {1, "", "DeleteAction"},
        {1, "-"},
        {1, "", "FlipHorAction"}, {1, "", "FlipVerAction"},
        {1, "-", nullptr, hidden},
        {1, "Вращать", nullptr, hidden},
        {2, "90"}, {2, "180"}, {2, "270"},
        {0, "&Вид"},
        {1, "", "RedrawAction"},
        {1, "-"},
        {1, "", "ZoomInAction"}, {1, "", "ZoomOutAction"}, {1, "", "ZoomNormalAction"}, {1, "", "ZoomMaxAction"},
        {1, "-"},
        {1, "", "ListElementAction"}, {1, "Менеджер проекта", nullptr, 0, "N26", &M::N26, &M::N26Click},
        {1, "-"},
        // The toolbars shown: ToolBar2, ToolB, none, ToolBar3, ToolBar5.
        {1, "Панели"},
        {2, "Файловая", nullptr, cfChecked, "N13", &M::N13, &M::N13Click},
        {2, "Режимов", nullptr, cfChecked, "N14", &M::N14, &M::N14Click},
        {2, "Примитивов", nullptr, hidden, "N15", &M::N15, &M::N15Click},
        {2, "Дополнительная", nullptr, cfChecked, "N16", &M::N16, &M::N16Click},
        {2, "Драйверов", nullptr, cfChecked, "N19", &M::N19, &M::N19Click},
        {0, "Э&лементы"},
        {1, "Сигналы от станка", "TypeAction", 0, nullptr, nullptr, {}, "Сигналы от станка"},
        {0, "&Утилиты", nullptr, hidden},
        {1, "Временной анализатор"},
        {0, "&Конфигурация"},
        {1, "", "ConfigAction"},
        {0, "&Окна", nullptr, 0, nullptr, nullptr, {}, "Window related commands"},
        {1, "", "WindowCascade1"}, {1, "", "WindowTileHorizontal1"}, {1, "", "WindowTileVertical1"},
        {1, "", "WindowMinimizeAll1"}, {1, "", "WindowArrangeAll1"},
        {1, "-", nullptr, hidden},
        {1, "", "WindowListAction"},
        {0, "&Помощь", nullptr, 0, nullptr, nullptr, {}, "Help topics"},
        {1, "", "HelpContenstAction"},
        {1, "-"},
        {1, "", "HelpAbout1"},
    };
    // The project files' commands.
    static const TMenuRow<TMainForm> kFilesMenu[] = {
        {0, "", "InsertFileAction"}, {0, "", "ActivateFileProjectAction"},
        {0, "-"},
        {0, "", "DeleteFileAction"},
    };
    TMenuNumbering numbering;
    MainMenu1 = NewComponent<TMainMenu>(this, "MainMenu1");
    NewMenuItems(MainMenu1->Items(), this, kMainMenu, numbering);
    PopupMenu1 = NewComponent<TPopupMenu>(this, "PopupMenu1");
    NewMenuItems(PopupMenu1->Items(), this, kFilesMenu, numbering);
    // The copy of "Панели" has the main menu's ticks and hidden item, none of
    // its clicks.
    PopupMenu2 = NewComponent<TPopupMenu>(this, "PopupMenu2");
    TMenuItem* panels = N19->Parent();
    TMenuItem* panelsCopy = NewItem(PopupMenu2->Items(), "Menu" + IntToStr(++numbering.Count), panels->Caption());
    for (int i = 0; i < panels->Count(); ++i) {
        TMenuItem* copy = NewItem(panelsCopy, "Menu" + IntToStr(++numbering.Count), panels->Items(i)->Caption());
        copy->SetChecked(panels->Items(i)->Checked());
        copy->SetVisible(panels->Items(i)->Visible());
    }
    NewItem(PopupMenu2->Items(), "Menu" + IntToStr(++numbering.Count), "Настроить"_a);
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
    switch (FileKindOf(arg)) {
    case TFileKind::Project:
        if (LoadProject(arg)) OpenDebugFiles(ProjectDebugFiles(), false);
        break;
    case TFileKind::Scheme:
    case TFileKind::Recovery:
    case TFileKind::Fsm:
        // The window opens once the frame is on the screen: a child placed
        // before it would be fitted into a client area not laid out yet.
        PostCall([this, alive, arg] {
            if (!alive.expired()) OpenFileByKind(arg, true);
        });
        break;
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

// ---- enabling rules -----------------------------------------------------------------------

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
        doc->SetRecoveredFrom(fileName);
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

bool TMainForm::CloseChildWindows() {
    // A window that closes may free itself or others: work on a snapshot.
    // Every child is asked, also one that is minimized or hidden: it may
    // hold unsaved edits as well as one that shows.
    std::vector<std::pair<TForm*, std::weak_ptr<char>>> children;
    for (int i = 0; i < MDIChildCount(); ++i) children.emplace_back(MDIChildren(i), MDIChildren(i)->Alive());
    for (auto& [window, alive] : children) {
        if (alive.expired() || window->Releasing()) continue;
        // One out of sight (minimized, hidden, or in the minimized frame)
        // comes back first: a question about its edits names no file, the
        // window in front shows which one is meant.
        if (!window->Visible() || window->WindowState() == wsMinimized || WindowState() == wsMinimized)
            BringBack(window);
        window->Close();
        if (alive.expired() || window->Releasing()) continue;
        // A window that closes to an icon has closed; one that kept itself
        // (Cancel, a failed save) stops the closing.
        if (window->WindowState() != wsMinimized) return false;
    }
    return true;
}
