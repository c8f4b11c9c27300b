#pragma once
// TFSMScheme: one state machine in memory: its states, transitions, the reset
// transition and condition boxes, the names of its input and output signals,
// file name, zoom, modified flag, selection, undo history and the simulator's
// state. A window owns one and shows it through IFsmWindow; without a view it
// still loads, checks, simulates, saves and writes its transition table (the
// scheme translator's state-machine element uses it that way).

#include <memory>
#include <unordered_map>
#include <vector>

#include "document/UnreadFile.h"
#include "fsm/FSMCondBox.h"
#include "fsm/FSMElement.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmView.h"
#include "fsm/Fsmundo.h"
#include "platform/StringList.h"

class TFSMScheme : public TObject {
public:
    static constexpr int kMinZoom = 25;
    static constexpr int kMaxZoom = 400;
    // Transition-table rows are wrapped before they reach this many characters.
    static constexpr int kRowLimit = 120;
    // A state's number in the table is one byte.
    static constexpr int kMaxStates = 255;

    explicit TFSMScheme(IFsmView* owner = nullptr);
    ~TFSMScheme() override;

    IFsmView* GetOwner() const { return view_; }
    // The window when the view is one, else null.
    IFsmWindow* GetWindow() const { return window_; }
    TCanvas* GetCanvas() const;
    int GetVersion() const { return version_; }
    TfsmUndoList* GetUndoList() const { return undo_.get(); }

    // ---- file (".fsm", its autosave copy, "clip.brd") ------------------------
    // Loads the file named by the document; a missing file leaves it empty.
    // False when the file was refused (the message has been shown).
    bool LoadFromFile();
    // Writes the file through a temporary name; false (message shown, nothing
    // changed) when it cannot be written. Nothing happens for an empty name.
    // Over a file that loaded cut short it writes only when the user agrees.
    bool SaveToFile();
    // Writes a recovery copy ("lift.fsm" -> "lift.fsmt") and changes nothing
    // else; only documents named *.fsm are copied. A copy that cannot be
    // written is reported, once until a write succeeds.
    bool AutoSave();
    // Deletes the copy this document wrote, if it wrote one.
    void DeleteAutoSaveFile();
    static AnsiString AutoSaveName(const AnsiString& fileName);
    bool CopyToClipboard();
    bool PasteFromClipboard(int x, int y);
    void ReadPins(ByteReader& r, int inputs, int outputs);
    void WritePins(ByteWriter& w) const;
    TfsmEntity* FindByNumber(int number) const;
    // The whole file as it would be saved (record numbers are given).
    std::string SaveToBytes();
    // Loads from bytes named as the document's file; false when refused.
    bool LoadFromBytes(const std::string& bytes);

    // ---- check, simulation, table text -------------------------------------------
    bool Check();
    bool IsValid() { return Check(); }
    static bool Covers(const AnsiString& pattern, const AnsiString& vector);
    bool HasAmbiguity(TfsmElement* state);
    void StartSimulation();
    void SimulationStep();
    void StopSimulation();
    void SetCurrentState(TfsmElement* state);
    TfsmElement* GetCurrentState() const { return currentState_; }
    bool IsSimulating() const { return simulating_; }
    void SetInputVector(const AnsiString& v) { inputVector_ = v; }
    const AnsiString& GetInputVector() const { return inputVector_; }
    void SetOutputVector(const AnsiString& v);
    const AnsiString& GetOutputVector() const { return outputVector_; }
    TfsmLink* GetInitialTransition() const { return initial_; }
    TfsmResetLink* GetResetLink() const { return reset_; }
    // Appends the transition table; requires a check that has just succeeded.
    void Translate(TStrings* lines);

    // ---- iteration (deleted-flagged entities are skipped) ---------------------------
    TfsmEntity* FirstEntity();
    TfsmEntity* NextEntity();
    TfsmElement* FirstState();
    TfsmElement* NextState();
    TfsmLink* FirstTransition();
    TfsmLink* NextTransition();
    TfsmCond* FirstCondition();
    TfsmCond* NextCondition();
    // Snapshots of the live entities of each kind, in list order.
    const std::vector<TfsmEntity*>& Entities() const { return entities_; }
    std::vector<TfsmElement*> States() const;
    std::vector<TfsmLink*> Transitions() const;
    std::vector<TfsmCond*> Conditions() const;
    const std::vector<TfsmEntity*>& Selection() const { return selection_; }
    const std::vector<TfsmEntity*>& Removed() const { return removed_; }
    bool IsLive(const TfsmEntity* e) const;

    static bool IsState(const TfsmEntity* e);
    static bool IsTransition(const TfsmEntity* e);
    static bool IsCondition(const TfsmEntity* e);

    // ---- hit tests and lookups -----------------------------------------------------
    TfsmElement* StateAt(int x, int y);
    TfsmLink* TransitionAt(int x, int y);
    // 0 nothing hit, 1 a selected entity hit, 2 only unselected ones.
    int HitTestAny(int x, int y);
    TfsmEntity* FindById(int id, bool searchRemoved) const;

    // ---- creation (each adds with an undo record and marks modified) -------------------
    TfsmElement* CreateState();
    TfsmLink* CreateTransition();
    TfsmLink* CreateTransition4(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3);
    TfsmLink* CreateTransition2(int x0, int y0, int x3, int y3);
    TfsmCond* CreateTransitionCondition(TfsmElement* owner);
    TfsmCond* CreateStateCondition(TfsmElement* owner);
    // The reset transition; null when the document already has one.
    TfsmResetLink* AddResetLink();

    // ---- editing -------------------------------------------------------------------
    void Add(TfsmEntity* e, bool restoring);
    void Remove(TfsmEntity* e);
    // Deletes the selection with every transition attached to a deleted state
    // and the condition boxes of everything deleted, as one undo group. A
    // transition is never left behind leading to or from a state that is
    // gone: the file names a transition's states by their records, and the
    // transition table by their numbers, so such a transition would be saved
    // and translated joined to nothing, or to whichever state the drawing
    // puts under its end. Undo puts every entity back in its place in the
    // document and in its states' lists, so the file and the table are
    // those of before.
    void DeleteSelected();
    void Clear();
    void MoveSelection(int dx, int dy);
    void CommitSelection();
    void EndDragSelection();
    void EditSelectedProperties();
    void FlipHorizontal() {}

    // ---- selection -----------------------------------------------------------------
    void ClearSelection();
    void SelectAt(int x, int y, bool select);
    void SelectInRect(bool select, const TRect& r);
    bool AddToSelection(TfsmEntity* e, bool select);
    bool HasSelection() const { return !selection_.empty(); }
    bool SelectionHasNonTransition() const;
    void GetSelectionRect(TRect* r) const;

    // ---- view ----------------------------------------------------------------------
    void SetZoom(int percent);
    int GetZoom() const { return zoom_; }
    int Scale(int v) const { return v * zoom_ / 100; }
    // Draws every shown entity (after the window has filled its background).
    void Paint();
    // While a scope lives the objects draw at 100 %, whatever the zoom:
    // printing and picture export give the same picture at every zoom.
    class TUnzoomedScope {
    public:
        explicit TUnzoomedScope(TFSMScheme* doc) : doc_(doc) { ++doc_->unzoomed_; }
        ~TUnzoomedScope() { --doc_->unzoomed_; }
        TUnzoomedScope(const TUnzoomedScope&) = delete;
        TUnzoomedScope& operator=(const TUnzoomedScope&) = delete;

    private:
        TFSMScheme* doc_;
    };
    bool DrawsUnzoomed() const { return unzoomed_ > 0; }
    void GetExtent(int* maxX, int* maxY) const;

    // ---- state of the file ---------------------------------------------------------
    void SetFileName(const AnsiString& name);
    const AnsiString& GetFileName() const { return fileName_; }
    AnsiString GetName() const;
    void SetModified(bool modified);
    bool IsModified() const { return modified_; }
    // Grows with every edit (each one sets the modified flag), load and new
    // name: a picture drawn at an older count may be out of date.
    unsigned long long ChangeCount() const { return changes_; }

    // ---- signals -------------------------------------------------------------------
    int GetInputCount() const { return inputCount_; }
    int GetOutputCount() const { return outputCount_; }
    // Counts and names are kept within 0..120 signals a side (kMaxSignals).
    void SetInputCount(int n);
    void SetOutputCount(int n);
    const TStringList& InputNames() const { return inputs_; }
    const TStringList& OutputNames() const { return outputs_; }
    // False (nothing added) once 120 signals are there.
    bool AddInput(const AnsiString& name);
    bool AddOutput(const AnsiString& name);
    void SetInputs(const TStrings* names);
    void SetOutputs(const TStrings* names);
    void SetPins(const TStrings* inputs, const TStrings* outputs);
    void AddInputSignal();
    void RemoveInputSignal(int i);
    void AddOutputSignal();
    void RemoveOutputSignal(int i);

private:
    friend class TfsmUndoList;
    enum class Kind { Any, State, Transition, Condition };
    static bool OfKind(const TfsmEntity* e, Kind k);
    TfsmEntity* IterFirst(Kind k, int& cursor);
    TfsmEntity* IterNext(Kind k, int& cursor);
    void UpdateCaption();
    void ShowSignalsInWindow();
    // An entity leaves the live set: nothing live keeps pointing at it in a
    // way that would be read (selection, simulator, reset and initial
    // transitions, state lists, box owners).
    void DetachForRemoval(TfsmEntity* e);
    // Entities of one undo group came back: lists and box owners again.
    void ReattachRestored(const std::vector<TfsmEntity*>& restored);
    // Undo of an insertion: the entity leaves the document for good.
    void UndoInsertion(TfsmEntity* e);
    // Nothing, live or removed, keeps pointing at an entity that is gone for good.
    void ForgetEverywhere(TfsmEntity* gone);
    void TakeOffRemoved(TfsmEntity* e);
    bool ParseFile(ByteReader& r);
    std::string SaveBytesNamed(const AnsiString& headerName);
    bool Refuse(const AnsiString& message);

    std::unique_ptr<TfsmUndoList> undo_;
    int version_ = 7;
    IFsmView* view_;
    IFsmWindow* window_;
    TfsmLink* initial_ = nullptr;
    TfsmResetLink* reset_ = nullptr;
    std::vector<TfsmEntity*> entities_;
    std::vector<TfsmEntity*> removed_;
    // Where a deleted entity stood: its place in the entity list, and a
    // transition's places in its source's and target's lists (-1: none).
    // Undo takes the deletions back in reverse, so each goes back exactly.
    struct TPlace {
        std::size_t entity = 0;
        int outgoing = -1, incoming = -1;
    };
    std::unordered_map<const TfsmEntity*, TPlace> removedPlace_;
    int zoom_ = 100;
    int unzoomed_ = 0;
    int entityCursor_ = 0, stateCursor_ = 0, conditionCursor_ = 0, transitionCursor_ = 0;
    bool modified_ = false;
    unsigned long long changes_ = 0;
    int idCounter_ = 0;
    std::vector<TfsmEntity*> selection_;
    AnsiString fileName_;
    // The file a load found cut short; saving over it asks first.
    TUnreadFile partialFile_;
    AnsiString autoSaveWritten_; // the copy this document wrote, if any
    AnsiString autoSaveRefused_; // the copy whose failed write was reported
    TStringList inputs_, outputs_;
    int inputCount_ = 0, outputCount_ = 0;
    bool simulating_ = false;
    AnsiString inputVector_, outputVector_;
    TfsmElement* currentState_ = nullptr;
};
