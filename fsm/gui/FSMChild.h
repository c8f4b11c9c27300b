#pragma once
// TFSMChild: the MDI child window in which one state machine is drawn,
// edited with the mouse, simulated against the input check list, exported as
// a picture and printed. It owns its document and shows it through
// IFsmWindow; the frame reaches it through IFsmChild and it reaches the frame
// through IFsmFrame.
//
// Everything the mouse does depends on one mode word: the low 12 bits are
// the mode, kPlacing says that an object is being placed and kInserted that
// the state of the current placement has been inserted already.
//
// Feedback drawn by inversion (the rubber band of a selection, the rubber
// line of a transition being drawn) is tracked, so that every erase matches
// one drawing and a repaint in the middle of a gesture draws it again.

#include <memory>

#include "fsm/FsmView.h"
#include "fsm/fsmScheme.h"
#include "platform/gui/Actions.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"

class TDockEx;
class TToolbarEx;
class TToolbarButtonEx;
class TExCheckListBox;
class TImageList;

class TFSMChild : public TForm, public IFsmChild, public IFsmWindow {
public:
    static constexpr int kPlacing = 0x8000;
    static constexpr int kInserted = 0x4000;
    static constexpr int kModeMask = 0x0FFF;
    enum : int {
        mdSelect = 1, mdTransition = 4, mdPin = 5, mdDrag = 10, mdState = 11, mdReset = 12, mdPaste = 13,
        mdCondition = 15,
    };
    // The screen cursors the frame registers: select, move, insert.
    static constexpr TCursor kSelectCursor = 3;
    static constexpr TCursor kMoveCursor = 4;
    static constexpr TCursor kInsertCursor = 5;

    explicit TFSMChild(TComponent* owner);
    ~TFSMChild() override;

    // ---- components ---------------------------------------------------------------
    TScrollBox* ScrollBox1;
    TPaintBox* PaintBox1;
    TStatusBar* StatusBar;
    TProgressBar* ProgressBar;
    TDockEx* DockEx1;
    TToolbarEx* ToolbarEx1;
    TToolbarButtonEx* tbSimul;
    TPanel* Panel1;
    TExCheckListBox* inBox;
    TExCheckListBox* outBox;
    TSplitter *Splitter1, *Splitter2;
    // The actions, menu items and buttons are made from the tables in
    // CreateActions, CreateMenus and CreateToolbar; those without a field are
    // found by name.
    TActionList* ChildActionList;
    TAction *SetModeSelectAction, *SetModeDeviceAction, *SetModePinAction, *SetModeWireAction;
    TAction *SetModeSymbolAction, *SetModeConnectAction, *InsertDeviceAction, *EscAction;
    TAction *CutAction, *CopyAction, *PasteAction, *DeleteAction, *DeleteSelectedAction, *EditPropertyAction;
    TAction *ZoomInAction, *ZoomOutAction, *FlipHorAction, *CheckSchemeAction, *PrintToFileAction, *SimulateAction;
    TPopupMenu* PopupMenu1;
    TPopupMenu* PopupMenu3;
    TMenuItem* SelectItem; // "Выбор", checked in mode 1
    TMenuItem* N4;         // the flip command, shown with a selection
    TSavePictureDialog* SavePictureDialog;
    TTimer* AutosaveTimer;
    TTimer* Timer1;
    TImageList* ImageList1;

    // ---- form events and handlers ---------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void PaintBox1Paint(TObject* Sender);
    void PaintBox1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBox1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PaintBox1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBox1DblClick(TObject* Sender);
    void ScrollBox1Click(TObject* Sender);
    void inBoxClickCheck(TObject* Sender);
    void outBoxClickCheck(TObject* Sender);
    void AutosaveTimerTimer(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void ToolbarButtonEx5Click(TObject* Sender);
    void ToolbarButtonEx3Click(TObject* Sender);

    void UndoExecute(TObject* Sender);
    void PrintSchemActionExecute(TObject* Sender);
    void DeleteSelectedActionExecute(TObject* Sender);
    void EditPropertyActionExecute(TObject* Sender);
    void InsertDeviceActionExecute(TObject* Sender);
    void EscActionExecute(TObject* Sender);
    void SetModeSelectActionExecute(TObject* Sender);
    void SetModeDeviceActionExecute(TObject* Sender);
    void SetModePinActionExecute(TObject* Sender);
    void SetModeWireActionExecute(TObject* Sender);
    void SetModeSymbolActionExecute(TObject* Sender);
    void SetModeConnectActionExecute(TObject* Sender);
    void RedrawActionExecute(TObject* Sender);
    void FlipHorActionExecute(TObject* Sender);
    void UpdateActionExecute(TObject* Sender);
    void CenterSelectedActionExecute(TObject* Sender);
    void PrintToFileActionExecute(TObject* Sender);
    void SimulateActionExecute(TObject* Sender);

    // ---- what the frame calls (IEditorChild, IFsmChild) ---------------------------------
    void CutActionExecute(TObject* Sender) override;
    void CopyActionExecute(TObject* Sender) override;
    void PasteActionExecute(TObject* Sender) override;
    void DeleteActionExecute(TObject* Sender) override;
    void ZoomInActionExecute(TObject* Sender) override;
    void ZoomOutActionExecute(TObject* Sender) override;
    void ZoomNormalActionExecute(TObject* Sender) override;
    void ZoomMaxActionExecute(TObject* Sender) override;
    void RepaintSheet() override;
    bool CutActionEnabled() override;
    bool CopyActionEnabled() override;
    bool DeleteActionEnabled() override;
    bool FlipHorActionEnabled() override;
    TFSMScheme* FsmDocument() override { return fsm_.get(); }
    // Every entity drawn on the canvas at 100 %, then the file name at (10, 10).
    void PrintSchemeTo(TCanvas* canvas) override;

    // ---- what the document calls (IFsmWindow) -----------------------------------------
    TCanvas* FsmCanvas() override;
    void ShowCaption(const AnsiString& caption) override;
    void ShowZoom(int percent) override;
    void BeginProgress(int max) override;
    void StepProgress(int position) override;
    void EndProgress() override;
    void ShowSignals(const TStrings& inputs, const TStrings& outputs) override;
    AnsiString InputVectorFromChecks() override;
    void ShowOutputs(const AnsiString& outputs) override;
    void StateLoaded() override { ++stateCounter_; }
    bool EditStateName(AnsiString& name) override;
    bool EditCondition(TfsmCond* box, AnsiString& text) override;

    // ---- other operations ------------------------------------------------------------
    void SetMode(int word);
    // The mode without the flag bits.
    int GetMode() const { return mode_ & kModeMask; }
    int ModeWord() const { return mode_; }
    // The pin dialog's additions and deletions: the document's conditions
    // gain a leading "0" or lose the signal's character; false when refused.
    bool AddSignal(bool outputs);
    bool RemoveSignal(int index, bool outputs);
    // The enabled state of the edit commands, here and (through their own
    // update rules) on the frame.
    void UpdateEditActions();
    bool Simulating() const { return running_; }
    // Changes the zoom as the zoom commands do: ignored outside 25..400 and
    // when the scaled sheet would not fit the paint box's image.
    void ChangeZoom(int percent);
    // The bitmap file the picture export writes for a chosen name.
    static AnsiString PictureFileName(const AnsiString& chosen);
    // The inverted feedback now on the paint box.
    bool RubberBandShown() const { return bandActive_; }
    bool RubberLineShown() const { return rubberShown_; }
    int PointCount() const { return pointCount_; }

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    // Enabling rules (OnUpdate).
    void SelectionUpdate(TObject* Sender);
    void ModeUpdate(TObject* Sender);

    // Pixel point to diagram coordinates on the grid.
    void ToDiagram(int px, int py, int& x, int& y) const;
    // Pixel point to diagram coordinates as pressed, off the grid: what the
    // hit tests take, so that whatever is drawn under the pointer is found.
    TPoint PressedAt(int px, int py) const;
    int Pixel(int v) const { return fsm_->Scale(v); }
    // Placing ends: flag bits off, no start state, no points.
    void FinishPlacing();
    void AddPoint(int x, int y);
    TfsmResetLink* CreateResetTransition(TfsmElement* target);
    void PressPlacing(int px, int py, int x, int y);
    void PressTransitionPoint(int x, int y);
    void PressResetPoint(int x, int y);
    void PlaceCondition(TPoint pressed, int x, int y);
    void PressFree(int px, int py, int x, int y);
    // The rubber line from the anchor to (x, y), and the rubber band.
    void DrawRubberLine();
    void ShowRubberLine(int x, int y);
    void EraseRubberLine();
    void DrawBand();
    void ScrollBy(int dx, int dy);
    // The pin dialog for the input or the output signals.
    void EditSignals(bool outputs);
    void StartSimulation();
    void StopSimulation();

    std::unique_ptr<TFSMScheme> fsm_;
    int mode_ = mdSelect;
    int grid_ = 10;
    int lastX_ = 0, lastY_ = 0;
    int dragX_ = 0, dragY_ = 0;
    // Rubber band: pixel rectangle between the press and the mouse.
    TRect band_;
    TPoint bandOrigin_;
    bool bandActive_ = false, bandMoved_ = false;
    // Rubber line: from the anchor to its end, diagram coordinates.
    TPoint anchor_, rubberEnd_;
    bool rubberShown_ = false;
    TPoint points_[4];
    int pointCount_ = 0;
    TfsmElement* startState_ = nullptr;
    TfsmElement* placing_ = nullptr;
    int stateCounter_ = 0;
    bool running_ = false;
    bool closing_ = false;
};

// Makes a state-machine window (an MDI child of the main form).
TFSMChild* NewFSMChild(TComponent* owner);
