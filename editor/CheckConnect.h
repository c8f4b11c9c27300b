#pragma once
// TCheckConnectivityDialog: the list of the chains of every open scheme
// ("Список цепей по всем схемам"). For the chosen chain it lists what the
// chain joins, colours it in the open windows, follows it through the
// connectors into the other schemes of the project (colouring or listing
// what it finds there) and jumps to any element listed. The walks over the
// schemes are the frame's: the dialog reaches them through IChainServices,
// which the frame installs.

#include <functional>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class TFormStorage;
class TStrings;

// Receives the members that the chains joined to a chain hold on one scheme:
// entries "name=type label" of elements and of outputs, and that scheme's
// bare file name.
using TNeighboursFound = std::function<void(TStrings* elements, TStrings* outputs, const AnsiString& scheme)>;

// The frame's walks over the schemes. Schemes are named by their bare file
// names; a name resolves to an open window of that name, else to the
// project's file of that name.
class IChainServices {
public:
    virtual ~IChainServices() = default;
    // Recolours every chain of that name in the open windows of the scheme:
    // the highlight colour, or (normal) the colour of links.
    virtual void HighlightChainInOpenSchemes(const AnsiString& chain, const AnsiString& scheme, bool normal) = 0;
    // Colours, in windows it brings forward or opens, every chain of the
    // project joined to the chain through connectors.
    virtual void FindChainInProject(const AnsiString& chain, const AnsiString& scheme) = 0;
    // What the chains of that name join in the scheme: "name=type label".
    virtual void ListChainMembersInScheme(TStrings* elements, TStrings* outputs, const AnsiString& scheme,
                                          const AnsiString& chain) = 0;
    // Reports, scheme by scheme, what the chains joined to the chain through
    // connectors join on the other schemes of the project.
    virtual void SearchSignalInProject(const AnsiString& scheme, const AnsiString& chain,
                                       const TNeighboursFound& found) = 0;
    // Brings forward or opens the scheme, selects the first device (device)
    // or driver pin of that name and centres the view on it.
    virtual void SelectElementInScheme(const AnsiString& scheme, const AnsiString& name, bool device) = 0;
};

// The installed services (null: the walks do nothing).
IChainServices* ChainServices();
void SetChainServices(IChainServices* services);

class TCheckConnectivityDialog : public TForm {
public:
    explicit TCheckConnectivityDialog(TComponent* owner);
    ~TCheckConnectivityDialog() override;

    TPanel *LeftPanel, *ThisPanel, *AnotherPanel, *ButtonPanel;
    TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    TStringGrid *grChains, *grthisElems, *grthisDrivers, *granotherElems, *granotherDrivers;
    TSplitter *Splitter1, *Splitter2, *Splitter3, *Splitter4;
    TButton *Button1, *Button4, *Button2, *Button3, *HelpBtn, *OKBtn;
    TFormStorage* FormStorage1;

    // 0: every grid; 1: all but the chains; 2: the two grids of the other schemes.
    void ResetGrids(int level);
    void AddSchemeChains(TStrings* chains, const AnsiString& scheme);
    void AddNeighbours(TStrings* elements, TStrings* outputs, const AnsiString& scheme);
    void EnableButtons(bool enabled);
    // The chain of the row that holds the cursor; false on the header row.
    bool SelectedChain(AnsiString& chain, AnsiString& scheme) const;

    void Button1Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void grChainsClick(TObject* Sender);
    void granotherElemsDblClick(TObject* Sender);
    void granotherDriversDblClick(TObject* Sender);
    void grthisElemsClick(TObject* Sender);
    void grthisDriversClick(TObject* Sender);
    void FormShow(TObject* Sender);

private:
    // The press that led to the click on the chains was on their header row.
    bool headerPressed_ = false;
    TStringGrid* MakeGrid(TWinControl* parent, const char* name, TAlign align);
    void Jump(TStringGrid* grid, const AnsiString& scheme, bool device);
};

extern TCheckConnectivityDialog* CheckConnectivityDialog;
