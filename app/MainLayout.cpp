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

void TMainForm::CreateToolbars() {
    ActionImageList = NewComponent<TImageList>(this, "ActionImageList");
    FillActionImages(ActionImageList);
    ActionList1->Images = ActionImageList;
    const std::pair<TAction*, TActionImage> images[] = {
        {FileNew1, aiNew}, {FileOpen1, aiOpen}, {FileSave1, aiSave}, {PreviewAction, aiPreview},
        {CutAction, aiCut}, {CopyAction, aiCopy}, {PasteAction, aiPaste}, {UndoAction, aiUndo},
        {WindowCascade1, aiCascade}, {WindowTileHorizontal1, aiTileHorizontal},
        {WindowTileVertical1, aiTileVertical}, {RedrawAction, aiRedraw}, {FindAction, aiFind},
        {ExportSchemeAction, aiCheckScheme}, {ListElementAction, aiListElements},
        {CheckConnectivityAction, aiConnections}, {ExportAction, aiExport}, {TypeAction, aiSignals},
        {SelectAction, aiSelect}, {DeviceAction, aiDevice}, {PinAction, aiPin}, {WireAction, aiWire},
        {ConnectAction, aiConnector}, {SymbolAction, aiSymbol}, {FSMAction, aiFsm}, {ZoomAction, aiZoom},
        {FileExit1, aiExit},
    };
    for (const auto& [action, image] : images) action->SetImageIndex(image);

    DockBarTop = NewControl<TDockEx>(this, this, "DockBarTop");
    DockBarTop->SetPosition(dpTop);
    DockBarLeft = NewControl<TDockEx>(this, this, "DockBarLeft");
    DockBarLeft->SetPosition(dpLeft);

    int counter = 0;
    auto bar = [&](TDockEx* dock, const char* name, const AnsiString& caption, int row, int pos) {
        TToolbarEx* t = NewControl<TToolbarEx>(this, dock, name);
        t->SetCaption(caption);
        t->SetDockRow(row);
        t->SetDockPos(pos);
        return t;
    };
    auto button = [&](TToolbarEx* t, TAction* a, const char* name = nullptr) {
        auto* b = NewControl<TToolbarButtonEx>(this, t, name ? AnsiString(name) : "Button" + IntToStr(++counter));
        b->SetImages(ActionImageList);
        b->SetDisplayMode(dmGlyphOnly);
        // The hint comes from the action (its caption when it has no hint).
        b->SetAction(a);
        b->SetShowHint(true);
        return b;
    };
    auto separator = [&](TToolbarEx* t) { NewControl<TToolbarSepEx>(this, t, "Sep" + IntToStr(++counter)); };

    ToolBar2 = bar(DockBarTop, "ToolBar2", "Работа с файлами"_a, 0, 0);
    button(ToolBar2, FileNew1);
    button(ToolBar2, FileOpen1);
    button(ToolBar2, FileSave1);
    separator(ToolBar2);
    button(ToolBar2, PreviewAction);
    separator(ToolBar2);
    button(ToolBar2, CutAction);
    button(ToolBar2, CopyAction);
    button(ToolBar2, PasteAction);
    button(ToolBar2, UndoAction);
    separator(ToolBar2);
    button(ToolBar2, WindowCascade1);
    button(ToolBar2, WindowTileHorizontal1);
    button(ToolBar2, WindowTileVertical1);

    ToolBar3 = bar(DockBarTop, "ToolBar3", "Дополнительно"_a, 0, 300);
    button(ToolBar3, RedrawAction);
    ToolbarButtonEx2 = button(ToolBar3, ZoomAction, "ToolbarButtonEx2");
    ToolbarButtonEx2->SetGroupIndex(1);
    ToolbarButtonEx2->SetVisible(false);
    button(ToolBar3, FindAction);
    separator(ToolBar3);
    DebuCheck = NewControl<TCheckBox>(this, ToolBar3, "DebuCheck");
    DebuCheck->SetBounds(0, 0, 18, 22);
    DebuCheck->SetHint("Работать с активной схемой "_a);
    DebuCheck->SetShowHint(true);
    tbtCheckSheme = button(ToolBar3, ExportSchemeAction, "tbtCheckSheme");
    button(ToolBar3, ListElementAction);
    button(ToolBar3, CheckConnectivityAction);
    separator(ToolBar3);
    button(ToolBar3, ExportAction);

    ToolBar5 = bar(DockBarTop, "ToolBar5", "Драйвера"_a, 0, 500);
    button(ToolBar5, TypeAction);
    separator(ToolBar5);
    auto debugButton = [&](const char* name, TActionImage image, const AnsiString& hint) {
        auto* b = NewControl<TToolbarButtonEx>(this, ToolBar5, name);
        b->SetImages(ActionImageList);
        b->SetImageIndex(image);
        b->SetDisplayMode(dmGlyphOnly);
        b->SetHint(hint);
        b->SetShowHint(true);
        return b;
    };
    ToolbarButtonEx27 = debugButton("ToolbarButtonEx27", aiTimingDiagram, "Временные диаграммы"_a);
    ToolbarButtonEx27->OnClick = [this](TObject* s) { ToolbarButtonEx27Click(s); };
    ToolbarButtonEx26 = debugButton("ToolbarButtonEx26", aiDebugger, "Отладчик"_a);
    ToolbarButtonEx26->OnClick = [this](TObject* s) { ToolbarButtonEx26Click(s); };

    ToolB = bar(DockBarLeft, "ToolB", "Работа со схемой"_a, 0, 0);
    auto mode = [&](TAction* a, const char* name) {
        TToolbarButtonEx* b = button(ToolB, a, name);
        b->SetGroupIndex(1);
        return b;
    };
    ToolbarButtonEx1 = mode(SelectAction, "ToolbarButtonEx1");
    separator(ToolB);
    ToolbarButtonEx3 = mode(DeviceAction, "ToolbarButtonEx3");
    ToolbarButtonEx4 = mode(PinAction, "ToolbarButtonEx4");
    ToolbarButtonEx5 = mode(WireAction, "ToolbarButtonEx5");
    ToolbarButtonEx19 = mode(ConnectAction, "ToolbarButtonEx19");
    ToolbarButtonEx29 = mode(SymbolAction, "ToolbarButtonEx29");
    ToolbarButtonEx29->SetHint("Вставка символа"_a);
    ToolbarButtonEx32 = mode(FSMAction, "ToolbarButtonEx32");
    ToolbarButtonEx32->SetHint("Машина состояний"_a);
    ToolbarButtonEx1->SetDown(true);

    // Hidden before it joins the dock, so it never takes a place there.
    ToolbarEx1 = NewControl<TToolbarEx>(this, nullptr, "ToolbarEx1");
    ToolbarEx1->SetCaption("Примитивы"_a);
    ToolbarEx1->SetVisible(false);
    for (int i = 0; i < 4; ++i) NewControl<TToolbarButtonEx>(this, ToolbarEx1, "Button" + IntToStr(++counter));
    ToolbarEx1->SetDockRow(1);
    ToolbarEx1->SetDockedTo(DockBarTop);
    // The bars take their places once they hold their buttons.
    for (auto [bar, pos] : {std::pair{ToolBar2, 0}, std::pair{ToolBar3, 300}, std::pair{ToolBar5, 500}, std::pair{ToolB, 0}})
        bar->SetDockPos(pos);

    N13->OnClick = [this](TObject* s) { N13Click(s); };
    N14->OnClick = [this](TObject* s) { N14Click(s); };
    N15->OnClick = [this](TObject* s) { N15Click(s); };
    N16->OnClick = [this](TObject* s) { N16Click(s); };
    N19->OnClick = [this](TObject* s) { N19Click(s); };
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
    // The pane is never narrower than its buttons.
    if (ManagerWindow->ClientAreaWidth() < x) ManagerWindow->SetClientAreaSize(x, ManagerWindow->ClientAreaHeight());

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

void TMainForm::AddRecentProject(const AnsiString& fileName) { MRUMan->Add(fileName, 0); }

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
