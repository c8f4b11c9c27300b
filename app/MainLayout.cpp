// The frame's dock areas, toolbars, project pane, form storage and recent
// projects.
#include <array>

#include "app/ActionImages.h"
#include "app/Main.h"
#include "controls/gui/MRUList.h"
#include "controls/gui/Placemnt.h"
#include "document/DriversInfo.h"
#include "platform/ImageList.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExTable.h"
#include "toolbars/TBExTlbr.h"
#include "toolbars/TBExTlwn.h"
#include "translator/TranslatorHost.h"

namespace {

// The stored values of the frame with their defaults and the keys they are
// scrambled with.
struct StoredDefault {
    const char* name;
    Variant value;
    const char* key;
};

const std::array<StoredDefault, 7>& StoredDefaults() {
    static const std::array<StoredDefault, 7> values{{
        {"MWCol1Width", Variant(80), "ge.mw1"},
        {"MWCol2Width", Variant(70), "ge.mw2"},
        {"DoTextLogicFile", Variant(false), "ge.dtl"},
        {"CheckSchemes", Variant(false), "ge.chs"},
        {"SortBits", Variant(false), "ge.srb"},
        {"SortDr", Variant(0), "ge.srd"},
        {"CheckBit", Variant(false), "ge.chb"},
    }};
    return values;
}

} // namespace

namespace {

// The check box among the buttons of "Дополнительно".
void MakeDebuCheck(TMainForm& frame, TWinControl* bar) {
    frame.DebuCheck = NewControl<TCheckBox>(&frame, bar, "DebuCheck");
    frame.DebuCheck->SetBounds(0, 0, 18, 22);
    frame.DebuCheck->SetHint("Работать с активной схемой "_a);
    frame.DebuCheck->SetShowHint(true);
}

} // namespace

void TMainForm::CreateToolbars() {
    ActionImageList = NewComponent<TImageList>(this, "ActionImageList");
    FillActionImages(ActionImageList);
    ActionList1->Images = ActionImageList;

    DockBarTop = NewControl<TDockEx>(this, this, "DockBarTop");
    DockBarTop->SetPosition(dpTop);
    // The left dock draws a line between itself and the windows, and keeps a
    // pixel of its width when it holds nothing, so that the line's place
    // stays.
    DockBarLeft = NewControl<TDockEx>(this, this, "DockBarLeft");
    DockBarLeft->SetPosition(dpLeft);
    DockBarLeft->SetBoundLines(TDockBoundLines{blRight});
    DockBarLeft->SetFixAlign(true);

    using M = TMainForm;
    // The buttons show their action's image and hint (its caption when it has
    // no hint); the mode buttons are one radio group, the hidden zoom button
    // of "Дополнительно" too.
    // action, name, field, group, flags, hint, image, click, make
    static const TButtonRow<TMainForm> kFiles[] = {
        {"FileNew1"}, {"FileOpen1"}, {"FileSave1"}, {"-"}, {"PreviewAction"}, {"-"}, {"CutAction"},
        {"CopyAction"}, {"PasteAction"}, {"UndoAction"}, {"-"}, {"WindowCascade1"}, {"WindowTileHorizontal1"},
        {"WindowTileVertical1"},
    };
    static const TButtonRow<TMainForm> kMore[] = {
        {"RedrawAction"},
        {"ZoomAction", "ToolbarButtonEx2", nullptr, 1, bfHidden},
        {"FindAction"},
        {"-"},
        {nullptr, nullptr, nullptr, 0, 0, "", -1, {}, MakeDebuCheck},
        {"ExportSchemeAction", "tbtCheckSheme"},
        {"ListElementAction"},
        {"CheckConnectivityAction"},
        {"-"},
        {"ExportAction"},
    };
    static const TButtonRow<TMainForm> kDrivers[] = {
        {"TypeAction"},
        {"-"},
        {nullptr, "ToolbarButtonEx27", &M::ToolbarButtonEx27, 0, 0, "Временные диаграммы", aiTimingDiagram,
         &M::ToolbarButtonEx27Click},
        {nullptr, "ToolbarButtonEx26", &M::ToolbarButtonEx26, 0, 0, "Отладчик", aiDebugger, &M::ToolbarButtonEx26Click},
    };
    static const TButtonRow<TMainForm> kModes[] = {
        {"SelectAction", "ToolbarButtonEx1", &M::ToolbarButtonEx1, 1, bfDown},
        {"-"},
        {"DeviceAction", "ToolbarButtonEx3", &M::ToolbarButtonEx3, 1},
        {"PinAction", "ToolbarButtonEx4", &M::ToolbarButtonEx4, 1},
        {"WireAction", "ToolbarButtonEx5", &M::ToolbarButtonEx5, 1},
        {"ConnectAction", "ToolbarButtonEx19", &M::ToolbarButtonEx19, 1},
        {"SymbolAction", "ToolbarButtonEx29", &M::ToolbarButtonEx29, 1, 0, "Вставка символа"},
        {"FSMAction", "ToolbarButtonEx32", &M::ToolbarButtonEx32, 1, 0, "Машина состояний"},
        // A button of the group, hidden and bound to nothing.
        {nullptr, nullptr, nullptr, 1, bfHidden},
    };
    auto bar = [&](TDockEx* dock, const char* name, const AnsiString& caption, int row, int pos) {
        TToolbarEx* t = NewControl<TToolbarEx>(this, dock, name);
        t->SetCaption(caption);
        t->SetDockRow(row);
        t->SetDockPos(pos);
        return t;
    };
    TButtonSet style{ActionImageList, true};
    ToolBar2 = bar(DockBarTop, "ToolBar2", "Работа с файлами"_a, 0, 0);
    AddToolbarButtons(ToolBar2, this, kFiles, style);
    ToolBar3 = bar(DockBarTop, "ToolBar3", "Дополнительно"_a, 0, 300);
    AddToolbarButtons(ToolBar3, this, kMore, style);
    ToolBar5 = bar(DockBarTop, "ToolBar5", "Драйвера"_a, 0, 500);
    AddToolbarButtons(ToolBar5, this, kDrivers, style);
    ToolB = bar(DockBarLeft, "ToolB", "Работа со схемой"_a, 0, 0);
    AddToolbarButtons(ToolB, this, kModes, style);

    // Hidden before it joins the dock, so it never takes a place there.
    ToolbarEx1 = NewControl<TToolbarEx>(this, nullptr, "ToolbarEx1");
    ToolbarEx1->SetCaption("Примитивы"_a);
    ToolbarEx1->SetVisible(false);
    for (int i = 0; i < 4; ++i) NewControl<TToolbarButtonEx>(this, ToolbarEx1, "Button" + IntToStr(++style.Count));
    ToolbarEx1->SetDockRow(1);
    ToolbarEx1->SetDockedTo(DockBarTop);
    // The bars take their places once they hold their buttons.
    for (auto [bar, pos] : {std::pair{ToolBar2, 0}, std::pair{ToolBar3, 300}, std::pair{ToolBar5, 500}, std::pair{ToolB, 0}})
        bar->SetDockPos(pos);

    // A floating bar closed by its close button loses its check mark, so
    // that its item brings it back.
    for (auto [bar, item] : {std::pair{ToolBar2, N13}, std::pair{ToolB, N14}, std::pair{ToolBar3, N16}, std::pair{ToolBar5, N19}})
        bar->OnClose = [item](TObject*) { item->SetChecked(false); };
}

void TMainForm::CreatePane() {
    // The pane takes its row before it joins the dock, so it never pushes
    // the mode buttons aside.
    ManagerWindow = NewControl<TToolWindowEx>(this, nullptr, "ManagerWindow");
    ManagerWindow->SetCaption("Проект"_a);
    ManagerWindow->SetDockRow(1);
    ManagerWindow->SetDockPos(0);
    ManagerWindow->DockableTo = TDockableTo{dpLeft, dpRight};
    ManagerWindow->SetCloseButton(true);
    ManagerWindow->SetCloseButtonWhenDocked(true);
    ManagerWindow->SetClientAreaSize(185, 420);
    // Docked, the pane spans its dock and so grows with the frame.
    ManagerWindow->SetFullSize(true);
    ManagerWindow->SetVisible(false);
    ManagerWindow->OnClose = [this](TObject* s) { ManagerWindowClose(s); };
    ManagerWindow->OnVisibleChanged = [this](TObject* s) { ManagerWindowVisibleChanged(s); };

    ManagerToolbar = NewControl<TPanel>(this, ManagerWindow, "ManagerToolbar");
    ManagerToolbar->SetHeight(26);
    ManagerToolbar->SetAlign(alTop);
    ManagerToolbar->SetBevelOuter(bvNone);
    // The buttons show their action (a caption of their own where given),
    // each as wide as its text, with a gap between them.
    int x = 2;
    auto tool = [&](TAction* a, const char* name, const AnsiString& caption) {
        auto* b = NewControl<TToolbarButtonEx>(this, ManagerToolbar, name);
        b->SetImages(ActionImageList);
        b->SetAction(a);
        b->SetShowHint(true);
        int width = 23;
        if (!caption.IsEmpty()) {
            b->SetCaption(caption);
            b->SetDisplayMode(dmTextOnly);
            b->Canvas()->Font()->Assign(b->Font());
            width = b->Canvas()->TextWidth(caption) + 12;
        } else {
            b->SetDisplayMode(dmGlyphOnly);
        }
        b->SetBounds(x, 2, width, 22);
        x += width + 4;
    };
    tool(FileNew1, "PaneNew", AnsiString());
    tool(DeleteFileAction, "PaneDelete", "Удалить"_a);
    tool(ActivateFileProjectAction, "PaneOpen", "Открыть"_a);
    tool(MoveFileUp, "PaneUp", "Вверх"_a);
    tool(MoveFileDown, "PaneDown", "Вниз"_a);
    // The pane is never narrower than its buttons: not at the start, and
    // not when the user narrows it floating (docked, it keeps that width).
    if (ManagerWindow->ClientAreaWidth() < x) ManagerWindow->SetClientAreaSize(x, ManagerWindow->ClientAreaHeight());
    ManagerWindow->MinClientWidth = x;

    FindPanel = NewControl<TPanel>(this, ManagerWindow, "FindPanel");
    FindPanel->SetHeight(140);
    FindPanel->SetAlign(alBottom);
    FindPanel->SetBevelOuter(bvNone);
    FindSignalName = NewControl<TLabel>(this, FindPanel, "FindSignalName");
    FindSignalName->SetCaption("Сигнал"_a);
    FindSignalName->SetHint("Поиск сигнала по имени"_a);
    FindSignalName->SetShowHint(true);
    FindSignalName->SetAlign(alTop);
    FindSignalListView = NewControl<TListView>(this, FindPanel, "FindSignalListView");
    FindSignalListView->SetAlign(alClient);
    // Wide enough for the headers; the last column takes what is left.
    for (auto [caption, width] : {std::pair{"Схема", 70}, std::pair{"Элемент", 80}, std::pair{"Вх / Вых", 70}}) {
        TListColumn* column = FindSignalListView->Columns()->Add();
        column->SetCaption(Utf8ToAnsi(caption));
        column->SetWidth(width);
    }
    FindSignalListView->Columns()->Items(2)->SetAutoSize(true);

    ManagerSplitter = NewControl<TSplitter>(this, ManagerWindow, "ManagerSplitter");
    ManagerSplitter->SetAlign(alBottom);
    ManagerSplitter->SetHeight(3);
    ManagerSplitter->SetCursor(crVSplit);

    FileListBox = NewControl<TListView>(this, ManagerWindow, "FileListBox");
    FileListBox->SetAlign(alClient);
    FileListBox->ReadOnly = true;
    TListColumn* name = FileListBox->Columns()->Add();
    name->SetCaption("Имя"_a);
    name->SetWidth(80);
    TListColumn* path = FileListBox->Columns()->Add();
    path->SetCaption("Путь"_a);
    path->SetWidth(70);
    // The paths take the width the names leave.
    path->SetAutoSize(true);
    FileListBox->OnDblClick = [this](TObject* s) { FileListBoxDblClick(s); };
    ManagerWindow->SetDockedTo(DockBarLeft);
}

void TMainForm::CreateStorage() {
    FormS = NewComponent<TFormStorage>(this, "FormS");
    FormS->UseRegistry = true;
    FormS->Version = 13;
    for (const StoredDefault& v : StoredDefaults()) {
        FormS->SetStoredValue(v.name, v.value);
        FormS->StoredValues()->GetValue(v.name)->KeyString = v.key;
    }
    MRUMan = NewComponent<TMRUManager>(this, "MRUMan");
    MRUMan->SetCapacity(5);
    MRUMan->SetRecentMenu(ReopenProject);
    MRUMan->SetIniStorage(FormS);
    MRUMan->OnClick = [this](TObject* s, const AnsiString& name, const AnsiString& caption, int data) {
        MRUManClick(s, name, caption, data);
    };
    // The storage takes over the frame's show, close-query and destroy events.
    FormS->BeginLoading();
    FormS->EndLoading();

    TranslatorOptions().Query = [this](const AnsiString& name) {
        return FormS->GetStoredValue(name, Variant(false)).AsBoolean();
    };
    TDriversInfo::CheckBitOption = [this] { return FormS->GetStoredValue("CheckBit", Variant(false)).AsBoolean(); };
}

void TMainForm::AddRecentProject(const AnsiString& fileName) {
    MRUMan->Add(fileName, 0);
    // The recent list is stored at once: a program that does not end by
    // closing (killed, a crash) still offers the project next time.
    FormS->SaveFormPlacement();
}

void TMainForm::StoreColumnWidths() {
    FormS->SetStoredValue("MWCol1Width", FileListBox->Columns()->Items(0)->Width());
    FormS->SetStoredValue("MWCol2Width", FileListBox->Columns()->Items(1)->Width());
}

void TMainForm::ManagerWindowClose(TObject*) {
    N26->SetChecked(false);
    StoreColumnWidths();
}

void TMainForm::ManagerWindowVisibleChanged(TObject*) {
    if (ManagerWindow->Visible()) {
        FileListBox->Columns()->Items(0)->SetWidth(FormS->GetStoredValue("MWCol1Width", Variant(80)).AsInteger());
        FileListBox->Columns()->Items(1)->SetWidth(FormS->GetStoredValue("MWCol2Width", Variant(70)).AsInteger());
    } else {
        StoreColumnWidths();
    }
}

void TMainForm::UpdateModeButtons(TSchemeMode mode) {
    // The modes without a button of their own leave the buttons as they are.
    TToolbarButtonEx* b = nullptr;
    switch (mode) {
    case mdSelect: b = ToolbarButtonEx1; break;
    case mdWire: b = ToolbarButtonEx5; break;
    case mdPin: b = ToolbarButtonEx4; break;
    case mdDevice: b = ToolbarButtonEx3; break;
    case mdConnect: b = ToolbarButtonEx19; break;
    case mdSymbol: b = ToolbarButtonEx29; break;
    default: return;
    }
    b->SetDown(true);
}

namespace {

void ToggleBar(TMenuItem* item, TControl* bar) {
    item->SetChecked(!item->Checked());
    if (bar) bar->SetVisible(item->Checked());
}

} // namespace

void TMainForm::N13Click(TObject*) { ToggleBar(N13, ToolBar2); }
void TMainForm::N14Click(TObject*) { ToggleBar(N14, ToolB); }
void TMainForm::N15Click(TObject*) { ToggleBar(N15, nullptr); }
void TMainForm::N16Click(TObject*) { ToggleBar(N16, ToolBar3); }
void TMainForm::N19Click(TObject*) { ToggleBar(N19, ToolBar5); }
