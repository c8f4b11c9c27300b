#pragma once
// TMDIChild: the scheme window. A multi-document child of the frame that
// shows one scheme document on a drawing sheet (PaintBox1 inside ScrollBox1)
// and lets the engineer edit it with the mouse in editing modes. It owns the
// document, keeps the editing mode, the last mouse point and the rubber-band
// state, draws the sheet with its grid, carries its own action list whose
// handlers the frame calls by name for the active window, and autosaves the
// document periodically. The CASE-forming window derives from it.
//
// Scheme coordinates do not depend on the zoom: a sheet pixel is a scheme
// value times the zoom percentage divided by 100, and mouse points snap to
// the grid. The sheet is drawn by inverting (exclusive or): objects show and
// hide themselves on it, and the rubber band and the rubber line of a wire are
// drawn on it the same way, so a repaint at any moment gives the same picture.
//
// The mode word and its modes are in SchemeMode.h.
//
// Esc while an object follows the mouse ends the placement with the object
// dropped where it is and joined to what its pins touch, as a release would
// drop it. Leaving it there unjoined would break the rule the sheet keeps
// everywhere else, that a pin tip lying on a wire is connected to it: the
// picture would show an element wired that the nets, and so the
// translation, leave open.
//
// Files: ChildWin.cpp (state, modes, zoom, painting, life cycle),
// ChildWinMouse.cpp (mouse and keys), ChildWinCommands.cpp (commands),
// ChildWinPrint.cpp (printing and picture export).

#include <memory>

#include "document/EditorChild.h"
#include "editor/SchemeMode.h"
#include "model/ModelHooks.h"
#include "platform/gui/Actions.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"

class TDriver;
class TElement;
class TEntity;
class TInOut;
class TPrinter;

class TMDIChild : public TForm, public ISchemeChild, public IEntityOwner {
public:
    explicit TMDIChild(TComponent* owner);
    ~TMDIChild() override;

    // The program's cursors that the frame registers (select, move, insert).
    static constexpr int crSelectCursor = 3;
    static constexpr int crMoveCursor = 4;
    static constexpr int crInsertCursor = 5;
    // The largest sheet image, in pixels: a zoom that would pass it is
    // refused, and a window whose sheet passes it at 100 % opens smaller.
    static inline long long MaxSheetPixels = 64'000'000;

    // ---- components ----------------------------------------------------------------------
    TScrollBox* ScrollBox1;
    TPaintBox* PaintBox1;
    TStatusBar* StatusBar;
    TProgressBar* ProgressBar = nullptr;
    // The actions and menu items are made from the tables in CreateActions
    // and CreateMenus; those without a field are found by name.
    TActionList* ChildActionList;
    TAction *CutAction, *CopyAction, *PasteAction, *DeleteAction, *DeleteSelectedAction, *EditPropertyAction;
    TAction *FlipHorAction, *CheckSchemeAction, *AddSignalsToDebugAction;
    TPopupMenu* PopupMenu1;
    TMenuItem *N12, *N6, *N7, *N8, *N1, *N19, *N4;
    TPopupMenu* PopupMenu3;
    TSavePictureDialog* SavePictureDialog;
    TTimer* AutosaveTimer;

    // ---- state ------------------------------------------------------------------------------
    std::unique_ptr<TScheme> Scheme; // the window's document
    int Mode = 0; // the mode word (SchemeMode.h)
    int GridStep = 0;
    TPoint LastPoint;  // scheme units: the last snapped press, move or release
    TPoint DownPoint;  // scheme units: the last press
    TPoint WireStart;  // scheme units: start of the segment being drawn
    TRect BandRect;    // sheet pixels
    bool BandActive = false;
    bool BandMoved = false;
    TEntity* PlacedObject = nullptr; // not owned
    AnsiString FsmFileName;
    int NextOrderNumber = 0;

    // ---- modes, zoom, frame ---------------------------------------------------------------
    void SetMode(int mode) override;
    TSchemeMode GetMode() const { return SchemeModeOf(Mode); }
    void ShowZoom(int percent) override;
    // The window's cut, copy, flip and delete rules run; the frame's cut, copy
    // and delete take their states and this window's paste the frame's.
    void SyncFrameEditActions();
    // The scheme point of a sheet pixel: scaled, snapped to the grid and kept
    // on the sheet.
    TPoint SchemePoint(int x, int y) const;
    // The sheet pixel of a scheme value.
    int ScreenValue(int value) const;

    // ---- form events ------------------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void ScrollBox1Click(TObject* Sender);
    void PaintBox1Paint(TObject* Sender);
    void PaintBox1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBox1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void PaintBox1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PaintBox1DblClick(TObject* Sender);
    void AutosaveTimerTimer(TObject* Sender);

    // ---- action handlers ----------------------------------------------------------------------
    void UndoExecute(TObject* Sender) override;
    void PrintSchemActionExecute(TObject* Sender);
    void PrintInfoActionExecute(TObject* Sender);
    void EditPropertyActionExecute(TObject* Sender);
    void InsertDeviceActionExecute(TObject* Sender);
    void InsertPinActionExecute(TObject* Sender);
    void InsertConnectActionExecute(TObject* Sender);
    void InsertSymbolActionExecute(TObject* Sender);
    void InsertFSMActionExecute(TObject* Sender);
    void EscActionExecute(TObject* Sender);
    void SetModeSelectActionExecute(TObject* Sender) override;
    void SetModeDeviceActionExecute(TObject* Sender) override;
    void SetModePinActionExecute(TObject* Sender) override;
    void SetModeWireActionExecute(TObject* Sender) override;
    void SetModeConnectActionExecute(TObject* Sender) override;
    void SetModeSymbolActionExecute(TObject* Sender) override;
    void SetModeFSMActionExecute(TObject* Sender) override;
    void RedrawActionExecute(TObject* Sender);
    void DeleteActionExecute(TObject* Sender) override;
    void TestActionSaveListExecute(TObject* Sender);
    void CopyActionExecute(TObject* Sender) override;
    void CutActionExecute(TObject* Sender) override;
    void PasteActionExecute(TObject* Sender) override;
    void ZoomInActionExecute(TObject* Sender) override;
    void ZoomOutActionExecute(TObject* Sender) override;
    void ZoomNormalActionExecute(TObject* Sender) override;
    void ZoomMaxActionExecute(TObject* Sender) override;
    void FlipHorActionExecute(TObject* Sender) override;
    void UpdateActionExecute(TObject* Sender);
    void CheckSchemeActionExecute(TObject* Sender);
    void CenterSelectedActionExecute(TObject* Sender) override;
    void AddSignalsToDebugActionExecute(TObject* Sender);
    void PrintToFileActionExecute(TObject* Sender);
    void OrderActionExecute(TObject* Sender);
    // Places a copy of the element 20 units right and down of it; false when
    // its kind cannot be copied (nothing is inserted then).
    bool InsertCopyDevice(TElement* source);
    // The element list's header on the printer, from row y on (y is set).
    static void PrintListHeader(TPrinter* printer, int& y, int columnWidth);
    // A device's rows of the element list below row y (y follows them); a
    // new page with the header when the page is full.
    static void PrintDevice(TPrinter* printer, int& y, int columnWidth, TElement* device);
    // The driver pin that the pin's net reaches (the last one found; null
    // when none) and whether the net joins the pin to any other pin.
    static TDriver* PinNetDriver(TInOut* pin, bool& joined);

    // ---- ISchemeChild ---------------------------------------------------------------------------
    TScheme* SchemeDocument() override { return Scheme.get(); }
    void RepaintSheet() override;
    bool CutActionEnabled() override;
    bool CopyActionEnabled() override;
    bool DeleteActionEnabled() override;
    bool FlipHorActionEnabled() override;
    void PrintSchemeTo(TCanvas* canvas, int zoom = 100) override;
    void PrintElements() override;

    // ---- IEntityOwner (the document's window) -------------------------------------------------
    TCanvas* GetCanvas() override;
    int GetZoom() override;
    void SetCaption(const AnsiString& caption) override { TForm::SetCaption(caption); }
    void ShowProgress(int position, int max) override;

protected:
    // Ends what the mouse is doing before a command changes the document or
    // the mode: an object that follows the mouse is dropped and attached, a
    // rubber line or band is erased, a drag is ended as its release ends it.
    void EndGesture();
    // The common drop of a placed object.
    void DropPlacedObject();
    // Sets the zoom (refused outside 25 to 400 or past MaxSheetPixels), sizes
    // the sheet and scrolls to keep the last point in view.
    void ApplyZoom(int percent);
    bool ZoomFits(int percent) const;
    // The sheet's size in pixels at the document's zoom.
    void SizeSheet();
    // Draws the rubber line of the wire being drawn (exclusive or).
    void DrawRubberLine(const TPoint& from, const TPoint& to);
    // Draws the selection band (exclusive or).
    void DrawBand();
    // The common end of an insert: position, selection, shown, modified.
    void FinishInsert(TEntity* object, int x, int y, bool selected);
    // Reports a failure caught in a handler with the unit's line.
    void ReportFailure(int line) const;
    // The scheme point of a mouse position; false after reporting a failure.
    bool Converted(int x, int y, TPoint& p, int line) const;
    class OneRebuild;

private:
    void CreateComponents();
    void CreateActions();
    void CreateMenus();
    // Mouse handling by mode.
    void PressPlacing(int sx, int sy);
    void PressIdle(int x, int y, int sx, int sy);
    void MovePlacing(int sx, int sy);
    void MoveIdle(int x, int y, int sx, int sy);
    void ReleasePlacing();
    void ReleaseIdle(int sx, int sy);
    void ReleaseOrdering(int sx, int sy);
    // The band's edges follow the mouse from the press point.
    void StretchBand(int x, int y);
    TPoint BandOrigin; // the press pixel of the band
    // The release that ends the current press is ignored: the press came
    // with the double-click flag, or a command ended its gesture.
    bool ignoreRelease_ = false;
    // A press on the sheet waits for its release.
    bool pressed_ = false;
};

// Makes a scheme window as the frame does (shown as an MDI child).
TForm* MakeSchemeWindow(TComponent* owner);
