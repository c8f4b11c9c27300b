#pragma once
// TScheme: the scheme document. It owns its objects (elements, driver pins,
// wires) in document order, the nets built from them, the selection, the
// undo list, the file name, the modified flag and the zoom. Deleted objects
// stay in the document, flagged, so that undo can bring them back.
//
// Nets follow the drawing: wire ends and pin tips that lie on one point are
// joined. After every edit the nets are rebuilt; the operations that join
// wires or pins (CreateWire, AttachElement, ConnectSelection,
// MergeOverlappingWires, MergeChainsOfPins) also unite chain names, asking
// through the frame's chain-join question when two names given by the user
// meet. Two such chains become one only on "Да": any other answer withdraws
// the whole editing step that brought them together (the wire drawn, the
// object placed, the drag), so the document is left as it was before it.
//
// A scheme with a window draws on the window's canvas; without one it is its
// own owner (nothing is drawn) and its expand-symbols mode is on: FirstDriver
// and NextByNumber then reach into the inner schemes of symbols, through
// transient copies that are freed by ReloadSymbols, a restart or the
// destructor; the document itself never gains objects from an expansion.

#include <deque>
#include <memory>
#include <vector>

#include "document/FileHeader.h"
#include "document/UnreadFile.h"
#include "model/CaseElements.h"
#include "model/Driver.h"
#include "model/Elements.h"
#include "model/FSM.h"
#include "model/Link.h"
#include "model/Symbol.h"
#include "platform/StringList.h"

class TUndoList;

// Scheme files: version of the record layout written and read.
constexpr int32_t kSchemeFileVersion = 1;

class TScheme : public TObject, public ISchemeContext {
public:
    // A document shown in a window (the window's interface gives the canvas,
    // caption, zoom display and progress).
    explicit TScheme(IEntityOwner* window);
    // A document without a window: its own owner, expand-symbols mode on.
    TScheme();
    // Frees every object and deletes the autosave copy this document wrote.
    ~TScheme() override;

    // ---- owner interface for the objects ------------------------------------------
    TCanvas* GetCanvas() override;
    int GetZoom() override { return zoom_; }
    TScheme* GetScheme() override { return this; }
    IEntityOwner* Window() const { return window_; }
    bool HasWindow() const override { return window_ != nullptr; }

    // ---- file ------------------------------------------------------------------------
    // Sets the name (".tvy" in it marks a symbol) and the window's caption.
    void SetFileName(const AnsiString& name);
    const AnsiString& GetFileName() const override { return fileName_; }
    // The name without its folder.
    AnsiString GetName() const;
    bool IsSymbol() const { return isSymbol_; }
    bool IsModified() const { return modified_; }
    // Sets the flag and the caption (name, "*" when modified).
    void SetModified(bool modified) override;
    // An untitled document read from a recovery copy names the copy in its
    // caption ("<copy> (восстановленная копия)"), so that the user knows
    // which scheme the window holds; a file name of its own replaces it.
    void SetRecoveredFrom(const AnsiString& copy);
    const AnsiString& RecoveredFrom() const { return recoveredFrom_; }
    // The window's caption: the file name, or the copy of an untitled
    // recovered document, with "*" when modified.
    AnsiString Caption() const;
    // Grows with every edit (each one sets the modified flag), load and new
    // name: a picture drawn at an older count may be out of date.
    unsigned long long ChangeCount() const { return changes_; }
    // Clears the document and reads its file when it exists. A damaged or
    // foreign file is reported ("Файл разрушен!!", "Старая версия файла") and
    // leaves the document empty. False when the file was refused (or could
    // not be read at all): that file is then not written over unasked.
    bool LoadFromFile();
    // Writes the document through a temporary name; nothing for an empty
    // name; "Не могу создать файл!" and the name when it cannot (the document
    // stays modified, the old file as it was). Over a file the last load
    // refused, only when the user agrees; false (nothing written, nothing
    // said) when not.
    bool SaveToFile();
    // Writes the scheme as a symbol file; the document keeps its name and flag.
    bool SaveAsSymbol(const AnsiString& name);
    // Writes a recovery copy beside the file, named with its last three
    // characters replaced by "tvt". Name, modified flag and undo list stay;
    // untitled documents and recovery copies themselves are skipped. A copy
    // that cannot be written is reported, once until a write succeeds.
    bool AutoSave();
    static AnsiString AutoSaveName(const AnsiString& fileName);
    // The whole file as it would be written, and a load from such bytes
    // (reports as LoadFromFile; name is only used in messages).
    std::string SaveToBytes() const;
    bool LoadFromBytes(const std::string& bytes);

    // ---- clipboard ("clip.brd" in the current folder) -----------------------------------
    // Writes the selection; false with a message when it cannot.
    bool Copy();
    // Adds the clipboard's objects with their top-left corner at (x, y) and
    // makes them the selection (one undo group with the caller's). A fragment
    // of the state-machine editor is refused with a message.
    bool Paste(int x, int y);
    static const char* const kClipboardFile; // "clip.brd"

    // ---- factories: create, add with a new id and an undo record, mark modified ----
    // One for every kind of the table of element kinds (model/ElementKinds.h):
    // CreateAndElement(), CreatePredTimerElement(count), CreateCaseElement(outputs)
    // ... CreateFSM(); the arguments are those of the kind's constructor after
    // the owner.
#define GE_SCHEME_FACTORY(kind, tag, cls, factory, ...) \
    template <class... Args>                            \
    cls* factory(Args... args) {                        \
        auto* object = new cls(this, args...);          \
        InsertNew(object);                              \
        return object;                                  \
    }
    GE_ELEMENT_KINDS(GE_SCHEME_FACTORY)
#undef GE_SCHEME_FACTORY
    // Adds an object made elsewhere (owned from now on) with an undo record.
    void AddObject(TEntity* object);

    // ---- wiring and nets -------------------------------------------------------------------
    // Adds a wire as a step of its own and joins it into the nets it touches
    // (a wire end on the middle of another wire splits that wire); null when
    // the points coincide or when the user refused to join two named chains.
    TLink* CreateWire(int x1, int y1, int x2, int y2);
    TLink* AddWireSegment(int x1, int y1, int x2, int y2);
    // Joins the object's pins to what lies at their tips and splits wires
    // running through them. The operations below that answer false met a
    // refused union of chains and withdrew the open undo step.
    bool AttachElement(TEntity* object);
    // Unites the chain names of the nets that the object's pins touch.
    bool MergeChainsOfPins(TEntity* object);
    // Replaces wires that overlap on one line by single wires; with objects
    // given, only the overlaps that one of them takes part in.
    bool MergeOverlappingWires(const std::vector<TEntity*>& among = {});
    // Deletes every wire of length 0 (with undo records).
    void RemoveZeroLengthLinks();
    // Rebuilds the nets from the drawing (no chain names are united).
    void RebuildNets() override;
    std::vector<AnsiString> FollowPins(TElement* element, const std::vector<TPinTip>& before) override;
    const std::deque<TNet>& Nets() const { return nets_; }
    const std::deque<TChain>& Chains() const { return chains_; }
    int ChainCounter() const { return chainCounter_; }
    // Junctions: points where three or more wire ends and pins meet.
    std::vector<TEPoint*> Junctions() const;

    // ---- editing ---------------------------------------------------------------------------
    // Deletes the selection (objects stay flagged for undo) and rebuilds the nets.
    void DeleteSelected();
    // Every selected object records its position; wires joined to the
    // selection are recorded too, since their ends follow it while it moves.
    void CommitSelection();
    void MoveSelection(int dx, int dy);
    // Redraws each selected object and connects it at its place.
    bool ConnectSelection();
    void FlipSelection();
    void EditSelectionProperties();

    // ---- selection ---------------------------------------------------------------------------
    void AddToSelection(TEntity* object, bool selected);
    void ClearSelection();
    void SelectAt(int x, int y, bool selected);
    void SelectInRect(const TRect& rect, bool selected);
    void SelectDeviceByName(const AnsiString& name);
    void FindAndSelectDevice(const AnsiString& name);
    void FindAndSelectDriver(const AnsiString& name);
    bool HasSelection() const { return !selection_.empty(); }
    bool SelectionHasDriver() const;
    bool SelectionHasEditable() const;
    const std::vector<TEntity*>& Selection() const { return selection_; }
    void GetSelectionBounds(TRect& rect) const;
    // 0 nothing at the point, 1 a selected object there, 2 only unselected ones.
    int HitTest(int x, int y) const;
    TElement* DeviceAt(int x, int y) const;
    AnsiString GetHintAt(int x, int y) const;

    // ---- iteration ---------------------------------------------------------------------------
    TEntity* FirstElement();
    TEntity* NextElement();
    TElement* FirstDevice();
    TElement* NextDevice();
    TDriver* FirstDriver();
    TDriver* NextDriver();
    // Devices in ascending processing number, ties in storage order, each once;
    // restart begins again at the smallest number; null at the end.
    TElement* NextByNumber(bool restart);
    // Connectors with their class: 0 joined only to element inputs, 1 only
    // to outputs, 3 both, 2 none.
    TVarDriver* NextVarDriver(uint8_t& cls, bool restart) override;
    const std::vector<std::unique_ptr<TEntity>>& Objects() const { return objects_; }
    // Every object that is not deleted, in document order.
    std::vector<TEntity*> LiveObjects() const;

    // ---- numbering and names -------------------------------------------------------------
    int CountDevices() const;
    TElement* FindDeviceByNumber(int number) const override;
    // With number 0: 3 when a device has number 0, else 2 when a number of
    // 1..N is used twice, else 1 when one is missing, else 0.
    int CheckNumbers(int number) const;
    // Renumbers the devices 1..N in the order of their names; false with a
    // message when two devices share a name.
    bool CheckNames();
    bool SetElementNumber(int number, TElement* element);
    void StartOrdering();
    void AutoNameDevices(const AnsiString& prefix);
    bool ListDeviceNames(TStrings* list) const;
    bool HasDriverNamed(const AnsiString& name) const;
    void ListSelectedDriverNames(TStrings* list) const;
    void ListSignalUsers(TStrings* list, const AnsiString& name) const;

    // ---- chains -------------------------------------------------------------------------------
    void ListChainNames(TStrings* list) const;
    void ListChainMembers(TStrings* elements, TStrings* outputs, const AnsiString& chainName) const;
    void ChainTouchesConnections(TStrings* list, const AnsiString& chainName) const;
    bool MarkChainsOfConnections(TStrings* list, bool colour, TStrings* chainList);
    void HighlightChain(const AnsiString& name, bool normal);

    // ---- translation ---------------------------------------------------------------------
    // What feeds a chain: the signal of an input driver pin, a symbol's input
    // (inside the symbol, named by its connector) or an element's output.
    struct TSource {
        enum Kind { Signal, SymbolInput, Output } kind = Signal;
        // The signal (an element's name for an output), and what the messages call it.
        AnsiString name;
        AnsiString shown;
        // Of an output, when two outputs of one element feed the chain: its
        // number among the element's outputs, from 0 top down; else -1.
        int output = -1;
    };
    // One source and the scheme it is in.
    struct TOutsideFeed {
        AnsiString scheme;
        TSource source;
    };
    // The names that the other schemes of a run write: a chain without a
    // source of its own reads what writes one of its names there.
    class IOutsideFeeds {
    public:
        virtual ~IOutsideFeeds() = default;
        // The first source that writes the name in a scheme other than this one, or null.
        virtual const TOutsideFeed* FeedOf(const AnsiString& name, const TScheme& scheme) const = 0;
    };
    // Names the nets (in expand mode also those inside symbols): a chain that
    // carries driver pins or connectors is named by its source (below); every
    // other net that joins pins "_var" + counter, counter + 1 ..., each name
    // appended to list. Returns the advanced counter. outside: what the other
    // schemes of the run write, or null (a run of one scheme).
    int BuildNetNames(TStrings* list, int counter, const IOutsideFeeds* outside = nullptr);
    // A chain fed by two sources (two outputs of one element count as two). symbol: the placed symbol whose inner scheme
    // holds the chain ("S1", nested "S1S2"), empty for the scheme's own.
    // chain: the chain's name, or with connector set the name of the
    // connector that joins several chains of the scheme into one.
    struct TSourceConflict {
        AnsiString symbol;
        AnsiString chain;
        bool connector = false;
        TSource first;
        TSource second;
    };
    // After BuildNetNames: every chain of the scheme (in expand mode also
    // those inside symbols) that two sources feed.
    void ListSourceConflicts(std::vector<TSourceConflict>& out) const;
    // A chain without a source of its own whose names two sources write in
    // other schemes (after BuildNetNames).
    struct TOutsideConflict {
        AnsiString chain;
        TOutsideFeed first;
        TOutsideFeed second;
    };
    void ListOutsideConflicts(std::vector<TOutsideConflict>& out) const;
    // The names that the scheme's chains of one source write, that source with
    // them (inside symbols the driver pins' names). connector: the name is a
    // connector's. Needs no net names: a run lists every scheme before it
    // names the nets of the first.
    struct TFeed {
        AnsiString name;
        bool connector = false;
        TSource source;
    };
    void ListFeeds(std::vector<TFeed>& out) const;
    // After BuildNetNames: the copy blocks that no element's block carries, in
    // the order their chains were named. A copy of an input signal may run
    // first in the scan (the signal holds still through it); a copy of a
    // symbol's input whose chain nothing writes runs before the scheme's
    // first element.
    struct TLooseCopy {
        AnsiString source;
        std::vector<AnsiString> targets;
        bool ofInput = false;
        // The name copied is written in another scheme: the run places it.
        bool elsewhere = false;
    };
    void ListLooseCopies(std::vector<TLooseCopy>& out) const;
    bool ExpandSymbols() const { return expandSymbols_; }
    void SetExpandSymbols(bool on);
    // Reloads every symbol from its file; expand mode off; transient copies freed.
    void ReloadSymbols();
    void CollectDebugSignals(TStrings* inputs, TStrings* outputs);
    void CollectDebugSignalsByY(TStrings* inputs, TStrings* outputs);
    void CollectDebugSignalsBySelection(TStrings* inputs, TStrings* outputs);

    // ---- drawing and scale ---------------------------------------------------------------
    // Draws every shown object on the owner's canvas (a repaint).
    void Draw();
    // Draws every object in normal colours on any canvas (print: black on white).
    void DrawTo(TCanvas* canvas, bool print = true, int zoom = 100);
    void GetExtent(int& maxX, int& maxY) const;
    // Accepts 25 to 400 and tells the window; other values change nothing.
    void SetScale(int percent);
    int Scale(int value) const { return value * zoom_ / 100; }
    int Zoom() const { return zoom_; }

    TUndoList* UndoList() const { return undo_.get(); }
    // Depth of symbol nesting while inner schemes load.
    int NestingDepth = 0;
    int GetNestingDepth() const override { return NestingDepth; }
    // Removes everything (no undo).
    void Clear();
    // Many objects added at once (a generated scheme): the nets are rebuilt
    // once at EndUpdate instead of after every addition.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

private:
    friend class TUndoList;
    void InsertNew(TEntity* object);
    void AddNew(TEntity* object, bool withUndo);
    void DeleteObject(TEntity* object);
    // The next object at or after the cursor that is not deleted (and a device).
    TEntity* NextLive(std::size_t& cursor, bool devicesOnly) const;
    // Names the nets inside every symbol of this scheme.
    int NameSymbolNets(TStrings* list, int counter);
    void UpdateCaption();

    // Nets.
    class NetsSuspended;
    class NetBuilder;
    class WireIndex;
    WireIndex* wireIndex_ = nullptr;
    enum class JoinMode { None, Join };
    // Rebuilds the nets; with Join the chain names of the nets that touched
    // objects reach are united. False when the user refused a union.
    bool Rebuild(JoinMode mode, const std::vector<TEntity*>& touched);
    // The one place that acts on the answer to the chain-join question: the
    // nets are rebuilt uniting the chains the touched objects reach, and a
    // refused union withdraws the open undo step. False when it did.
    bool JoinOrWithdraw(const std::vector<TEntity*>& touched);
    bool UniteChains(TNet* net);
    bool SplitWiresAt(int x, int y, TLink* except);
    void SplitWireAtPoints(TLink* wire);
    TLink* NewWire(int x1, int y1, int x2, int y2, const AnsiString& chain, int number);

    // Translation.
    void ClearExpansion();
    void ExpandInto(TSymbol* symbol, const AnsiString& prefix, std::vector<TElement*>& out);
    // The chains of the scheme as a translation sees them: nets that one
    // connector name joins count as one chain.
    struct TChainGroup;
    std::vector<TChainGroup> GroupChains(const TSymbol* symbol) const;
    // The chain of the last naming that holds the pin's net, or null.
    TChainGroup* GroupOf(const TInOut* pin);
    // symbol: the placed symbol whose inner scheme this is, and outer the
    // scheme it is placed in (both null for a scheme's own chains).
    int NameGroups(const TSymbol* symbol, TScheme* outer, TStrings* list, int counter, const IOutsideFeeds* outside);
    // Has the copy of the chain's source write the names too: its own copy
    // block, that of the chain of the scheme it reads, the inner element's
    // behind a symbol's output, or the copy of a name read from another
    // scheme (which the run places). False when nothing writes the chain.
    bool HandCopies(TChainGroup& g, const std::vector<AnsiString>& names);
    void ListInnerConflicts(const AnsiString& prefix, std::vector<TSourceConflict>& out) const;
    void ListInnerFeeds(const AnsiString& prefix, std::vector<TFeed>& out) const;
    void CollectDebug(TStrings* inputs, TStrings* outputs, bool byY);

    // File.
    void WriteObjects(ByteWriter& w, const std::vector<TEntity*>& objects) const;
    bool ReadFile(const std::string& bytes, std::vector<std::unique_ptr<TEntity>>& out, int& chainCounter,
                  FileSignature* signature);

    IEntityOwner* window_ = nullptr;
    std::vector<std::unique_ptr<TEntity>> objects_;
    std::vector<TEntity*> selection_;
    // Rebuilt from the objects after every edit (kept in deques: one
    // allocation per block, not per net).
    std::deque<TNet> nets_;
    std::deque<TChain> chains_;
    std::deque<TEPoint> points_;
    std::unique_ptr<TUndoList> undo_;
    // Wires whose ends follow the selection while it is dragged, with the
    // ends that follow (bit 1: first end, bit 2: second end).
    std::vector<std::pair<TLink*, int>> followers_;
    AnsiString fileName_;
    // The file the last load refused: saving over it asks first.
    TUnreadFile unread_;
    bool isSymbol_ = false;
    bool modified_ = false;
    unsigned long long changes_ = 0;
    int zoom_ = 100;
    int nextId_ = 1;
    int chainCounter_ = 0;
    bool expandSymbols_ = false;
    // The chains as the last naming grouped them (held by pointer: the type is the translation's own).
    std::shared_ptr<std::vector<TChainGroup>> groups_;
    int updating_ = 0;
    bool rebuildPending_ = false;
    AnsiString autosaveWritten_; // the recovery copy this document wrote
    AnsiString recoveredFrom_;   // the recovery copy an untitled document was read from
    AnsiString autosaveRefused_; // the recovery copy whose failed write was reported
    // Iteration cursors.
    std::size_t elementCursor_ = 0;
    std::size_t deviceCursor_ = 0;
    std::size_t driverCursor_ = 0;
    std::size_t varCursor_ = 0;
    std::size_t orderCursor_ = 0;
    std::vector<TElement*> order_;
    bool orderBuilt_ = false;
    std::vector<TDriver*> driverWalk_;
    // Transient copies of inner devices for one translation.
    std::vector<std::unique_ptr<TEntity>> expansion_;
};

// The scheme document a symbol loaded from its file (null when none).
inline TScheme* InnerSchemeOf(const TSymbol* symbol) { return static_cast<TScheme*>(symbol->InnerScheme()); }

// value / step * step, truncating; value unchanged when step is 0.
int SnapToGrid(int value, int step);

