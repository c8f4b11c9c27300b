#include "editor/CheckConnect.h"

#include "controls/gui/Placemnt.h"
#include "platform/StringList.h"

TCheckConnectivityDialog* CheckConnectivityDialog = nullptr;

namespace {

IChainServices* installed = nullptr;

// The stored place of Splitter1 (its Left).
const char* const kSplitterKey = "Splitter1_Left";

// Splits an entry "name=type label" at its last '='.
void SplitEntry(const AnsiString& entry, AnsiString& name, AnsiString& type) {
    const int eq = entry.LastDelimiter("=");
    name = eq > 0 ? entry.SubString(1, eq - 1) : entry;
    type = eq > 0 ? entry.SubString(eq + 1, entry.Length() - eq) : AnsiString();
}

// A grid just reset holds one empty data row, which the first entry takes.
int NextRow(TStringGrid* grid) {
    if (grid->RowCount() == 2 && grid->Cells(0, 1).IsEmpty() && grid->Cells(1, 1).IsEmpty()) return 1;
    grid->SetRowCount(grid->RowCount() + 1);
    return grid->RowCount() - 1;
}

void AddRow(TStringGrid* grid, const AnsiString& first, const AnsiString& second) {
    const int row = NextRow(grid);
    grid->SetCells(0, row, first);
    grid->SetCells(1, row, second);
}

bool HasName(TStringGrid* grid, const AnsiString& name) {
    for (int r = 1; r < grid->RowCount(); ++r)
        if (grid->Cells(0, r) == name) return true;
    return false;
}

// The grid's row under the cursor when it is a data row of a filled grid.
bool DataRow(TStringGrid* grid, int& row) {
    row = grid->Row();
    return row >= 1 && row < grid->RowCount() && !grid->Cells(0, 1).IsEmpty();
}

} // namespace

IChainServices* ChainServices() { return installed; }

void SetChainServices(IChainServices* services) { installed = services; }

TCheckConnectivityDialog::TCheckConnectivityDialog(TComponent* owner) : TForm(owner) {
    SetName("CheckConnectivityDialog");
    SetCaption("Список цепей по всем схемам"_a);
    SetPosition(poScreenCenter);
    SetBounds(Left(), Top(), 615, 455);

    ButtonPanel = NewControl<TPanel>(this, this, "ButtonPanel");
    ButtonPanel->SetAlign(alBottom);
    ButtonPanel->SetHeight(41);
    ButtonPanel->SetBevelOuter(bvNone);
    auto button = [this](const char* name, const char* caption, int left, int width) {
        TButton* b = NewControl<TButton>(this, ButtonPanel, name);
        b->SetCaption(Utf8ToAnsi(caption));
        b->SetBounds(left, 8, width, 25);
        return b;
    };
    Button1 = button("Button1", "Выделить цепь", 8, 105);
    Button1->SetHint("Выделить цепь"_a);
    Button4 = button("Button4", "Отменить выделение", 118, 130);
    Button2 = button("Button2", "Выделить цепи", 253, 105);
    Button2->SetHint("Выделить цепи на соседних схемах, соединяющиеся с данной цепью"_a);
    Button3 = button("Button3", "Искать соседние", 363, 110);
    Button3->SetHint("Искать элементы на соседних схемах, соединяющиеся с данной цепью"_a);
    HelpBtn = button("HelpBtn", "Справка", 478, 60);
    HelpBtn->SetVisible(false);
    OKBtn = button("OKBtn", "OK", 527, 75);
    OKBtn->SetAnchors(TAnchors(akRight) | TAnchors(akBottom));
    OKBtn->ModalResult = mrOk;
    OKBtn->SetDefault(true);
    for (TButton* b : {Button1, Button2, Button3}) b->SetShowHint(true);

    LeftPanel = NewControl<TPanel>(this, this, "LeftPanel");
    LeftPanel->SetAlign(alLeft);
    // Two columns of 100 fit in each grid.
    LeftPanel->SetWidth(195);
    LeftPanel->SetBevelOuter(bvNone);
    Label1 = NewControl<TLabel>(this, LeftPanel, "Label1");
    Label1->SetCaption("Цепи на всех схемах"_a);
    Label1->SetAlign(alTop);
    grChains = MakeGrid(LeftPanel, "grChains", alClient);
    Splitter1 = NewControl<TSplitter>(this, this, "Splitter1");
    Splitter1->SetAlign(alLeft);
    Splitter1->SetWidth(3);

    AnotherPanel = NewControl<TPanel>(this, this, "AnotherPanel");
    AnotherPanel->SetAlign(alRight);
    AnotherPanel->SetWidth(206);
    AnotherPanel->SetBevelOuter(bvNone);
    Splitter2 = NewControl<TSplitter>(this, this, "Splitter2");
    Splitter2->SetAlign(alRight);
    Splitter2->SetWidth(3);
    ThisPanel = NewControl<TPanel>(this, this, "ThisPanel");
    ThisPanel->SetAlign(alClient);
    ThisPanel->SetBevelOuter(bvNone);

    // Each column: the upper grid and its label, a splitter, the lower grid
    // and its label.
    auto column = [this](TPanel* panel, TLabel*& upperLabel, const char* upperCaption, TStringGrid*& upper,
                         const char* upperName, TSplitter*& splitter, const char* splitterName, TLabel*& lowerLabel,
                         const char* lowerCaption, TStringGrid*& lower, const char* lowerName, int labelNumber) {
        TPanel* top = NewControl<TPanel>(this, panel, (AnsiString(upperName) + "Panel").c_str());
        top->SetAlign(alTop);
        top->SetHeight(190);
        top->SetBevelOuter(bvNone);
        upperLabel = NewControl<TLabel>(this, top, ("Label" + IntToStr(labelNumber)).c_str());
        upperLabel->SetCaption(Utf8ToAnsi(upperCaption));
        upperLabel->SetAlign(alTop);
        upper = MakeGrid(top, upperName, alClient);
        splitter = NewControl<TSplitter>(this, panel, splitterName);
        splitter->SetAlign(alTop);
        splitter->SetHeight(3);
        splitter->SetTop(top->Height());
        lowerLabel = NewControl<TLabel>(this, panel, ("Label" + IntToStr(labelNumber + 1)).c_str());
        lowerLabel->SetCaption(Utf8ToAnsi(lowerCaption));
        lowerLabel->SetAlign(alTop);
        lowerLabel->SetTop(top->Height() + 3);
        lower = MakeGrid(panel, lowerName, alClient);
    };
    column(ThisPanel, Label2, "Элементы выделенной цепи", grthisElems, "grthisElems", Splitter3, "Splitter3", Label3,
           "Выходы выделенной цепи", grthisDrivers, "grthisDrivers", 2);
    column(AnotherPanel, Label4, "Элементы на остальных схемах", granotherElems, "granotherElems", Splitter4,
           "Splitter4", Label5, "Выходы на остальных схемах", granotherDrivers, "granotherDrivers", 4);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    grChains->OnClick = [this](TObject* s) { grChainsClick(s); };
    // A click on the header row chooses no chain (the cursor stays below it).
    grChains->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        const TGridCoord cell = grChains->MouseCoord(x, y);
        headerPressed_ = cell.Y >= 0 && cell.Y < grChains->FixedRows();
    };
    granotherElems->OnDblClick = [this](TObject* s) { granotherElemsDblClick(s); };
    granotherDrivers->OnDblClick = [this](TObject* s) { granotherDriversDblClick(s); };
    grthisElems->OnClick = [this](TObject* s) { grthisElemsClick(s); };
    grthisDrivers->OnClick = [this](TObject* s) { grthisDriversClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };

    // The width of the chain list survives restarts: the splitter's place is
    // kept in the ini file named after the program.
    // The splitter follows the list's width when the form is laid out, so
    // the list takes its width from the stored place of the splitter.
    FormStorage1 = NewComponent<TFormStorage>(this, "FormStorage1");
    FormStorage1->OnSavePlacement = [this](TObject*) { FormStorage1->WriteInteger(kSplitterKey, Splitter1->Left()); };
    FormStorage1->OnRestorePlacement = [this](TObject*) {
        const int width = FormStorage1->ReadInteger(kSplitterKey, -1) - LeftPanel->Left();
        if (width >= Splitter1->MinSize && width < ClientWidth() - Splitter1->MinSize) LeftPanel->SetWidth(width);
    };
    FormStorage1->BeginLoading();
    FormStorage1->EndLoading();
    ResetGrids(0);
}

TCheckConnectivityDialog::~TCheckConnectivityDialog() {
    if (CheckConnectivityDialog == this) CheckConnectivityDialog = nullptr;
}

TStringGrid* TCheckConnectivityDialog::MakeGrid(TWinControl* parent, const char* name, TAlign align) {
    TStringGrid* g = NewControl<TStringGrid>(this, parent, name);
    g->SetAlign(align);
    g->SetColCount(2);
    g->SetFixedCols(0);
    g->SetDefaultColWidth(100);
    g->SetDefaultRowHeight(18);
    g->SetOptions(DefaultGridOptions | goColSizing);
    return g;
}

void TCheckConnectivityDialog::ResetGrids(int level) {
    struct Grid {
        TStringGrid* grid;
        const char* first;
        const char* second;
        int level; // reset at this level and below
    };
    const Grid grids[] = {
        {grChains, "Цепь", "Схема", 0},          {grthisElems, "Элемент", "Тип", 1},
        {grthisDrivers, "Выход", "Тип", 1},      {granotherElems, "Элемент", "Цепь", 2},
        {granotherDrivers, "Выход", "Цепь", 2},
    };
    for (const Grid& g : grids) {
        if (level > g.level) continue;
        g.grid->SetRowCount(2);
        g.grid->SetFixedRows(1);
        g.grid->ClearCells();
        g.grid->SetCells(0, 0, Utf8ToAnsi(g.first));
        g.grid->SetCells(1, 0, Utf8ToAnsi(g.second));
        g.grid->SetRow(1);
    }
}

void TCheckConnectivityDialog::AddSchemeChains(TStrings* chains, const AnsiString& scheme) {
    for (int i = 0; i < chains->Count(); ++i) AddRow(grChains, chains->Get(i), scheme);
}

void TCheckConnectivityDialog::AddNeighbours(TStrings* elements, TStrings* outputs, const AnsiString& scheme) {
    for (auto [list, grid] : {std::pair{elements, granotherElems}, std::pair{outputs, granotherDrivers}}) {
        for (int i = 0; i < list->Count(); ++i) {
            AnsiString name, type;
            SplitEntry(list->Get(i), name, type);
            if (!HasName(grid, name)) AddRow(grid, name, scheme);
        }
    }
}

void TCheckConnectivityDialog::EnableButtons(bool enabled) {
    for (TButton* b : {Button1, Button2, Button3, Button4, HelpBtn, OKBtn}) b->SetEnabled(enabled);
}

bool TCheckConnectivityDialog::SelectedChain(AnsiString& chain, AnsiString& scheme) const {
    const int row = grChains->Row();
    if (row < 1 || row >= grChains->RowCount()) return false;
    chain = grChains->Cells(0, row);
    scheme = grChains->Cells(1, row);
    return !chain.IsEmpty();
}

void TCheckConnectivityDialog::Button1Click(TObject*) {
    AnsiString chain, scheme;
    if (SelectedChain(chain, scheme) && ChainServices()) ChainServices()->HighlightChainInOpenSchemes(chain, scheme, false);
}

void TCheckConnectivityDialog::Button4Click(TObject*) {
    AnsiString chain, scheme;
    if (SelectedChain(chain, scheme) && ChainServices()) ChainServices()->HighlightChainInOpenSchemes(chain, scheme, true);
}

void TCheckConnectivityDialog::Button2Click(TObject*) {
    AnsiString chain, scheme;
    if (!SelectedChain(chain, scheme) || !ChainServices()) return;
    EnableButtons(false);
    ChainServices()->FindChainInProject(chain, scheme);
    EnableButtons(true);
}

void TCheckConnectivityDialog::Button3Click(TObject*) {
    EnableButtons(false);
    ResetGrids(2);
    AnsiString chain, scheme;
    if (SelectedChain(chain, scheme) && ChainServices())
        ChainServices()->SearchSignalInProject(scheme, chain, [this](TStrings* e, TStrings* o, const AnsiString& s) {
            AddNeighbours(e, o, s);
        });
    EnableButtons(true);
}

void TCheckConnectivityDialog::grChainsClick(TObject*) {
    EnableButtons(false);
    TStringList elements, outputs;
    AnsiString chain, scheme;
    const bool header = headerPressed_;
    headerPressed_ = false;
    if (!header && SelectedChain(chain, scheme) && ChainServices())
        ChainServices()->ListChainMembersInScheme(&elements, &outputs, scheme, chain);
    ResetGrids(1);
    for (auto [list, grid] : {std::pair{&elements, grthisElems}, std::pair{&outputs, grthisDrivers}}) {
        for (int i = 0; i < list->Count(); ++i) {
            AnsiString name, type;
            SplitEntry(list->Get(i), name, type);
            AddRow(grid, name, type);
        }
    }
    EnableButtons(true);
}

void TCheckConnectivityDialog::Jump(TStringGrid* grid, const AnsiString& scheme, bool device) {
    int row = 0;
    if (!DataRow(grid, row) || !ChainServices() || scheme.IsEmpty()) return;
    ChainServices()->SelectElementInScheme(scheme, grid->Cells(0, row), device);
}

void TCheckConnectivityDialog::granotherElemsDblClick(TObject*) {
    int row = 0;
    if (DataRow(granotherElems, row)) Jump(granotherElems, granotherElems->Cells(1, row), true);
}

void TCheckConnectivityDialog::granotherDriversDblClick(TObject*) {
    int row = 0;
    if (DataRow(granotherDrivers, row)) Jump(granotherDrivers, granotherDrivers->Cells(1, row), false);
}

void TCheckConnectivityDialog::grthisElemsClick(TObject*) {
    AnsiString chain, scheme;
    if (SelectedChain(chain, scheme)) Jump(grthisElems, scheme, true);
}

void TCheckConnectivityDialog::grthisDriversClick(TObject*) {
    AnsiString chain, scheme;
    if (SelectedChain(chain, scheme)) Jump(grthisDrivers, scheme, false);
}

void TCheckConnectivityDialog::FormShow(TObject*) {}
