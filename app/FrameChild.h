#pragma once
// What the frame knows of its child windows. The frame routes editing
// commands to the active child: it tests the child for a scheme window first
// (the CASE-forming window is one) and then, for the commands that both
// editors have, for a state-machine window, and calls the child's handler of
// the same name. The scheme window implements ISchemeChild, the
// state-machine window IFsmChild; both are forms (TForm) shown as MDI
// children of the frame.
//
// The commands both editors have are routed through IEditorChild.
//
// A window that closes with a modified document asks about it in its close
// handlers; when the answer is Cancel, or the save fails, it stays open, and
// the frame then stops closing (the program, the project) as well. To save
// itself it calls TMainForm::SaveWindow(this), never the active child's save.
//
// The frame makes new windows through the factories in FrameWindowFactories,
// which the scheme editor and the state-machine editor register at start-up.

#include <functional>

#include "platform/Classes.h"

class TCanvas;
class TForm;
class TStrings;
class TScheme;
class TFSMScheme;

// What both editors' windows have: the commands the frame forwards to
// either kind and the state of their own cut, copy and delete actions.
class IEditorChild {
public:
    virtual ~IEditorChild() = default;
    // Handlers of the window's own actions, called by the frame's actions of
    // the same name with the frame's action as sender.
    virtual void CutActionExecute(TObject* Sender) = 0;
    virtual void CopyActionExecute(TObject* Sender) = 0;
    virtual void PasteActionExecute(TObject* Sender) = 0;
    virtual void DeleteActionExecute(TObject* Sender) = 0;
    virtual void ZoomInActionExecute(TObject* Sender) = 0;
    virtual void ZoomOutActionExecute(TObject* Sender) = 0;
    virtual void ZoomNormalActionExecute(TObject* Sender) = 0;
    virtual void ZoomMaxActionExecute(TObject* Sender) = 0;
    // Repaints the drawing sheet (its paint box).
    virtual void RepaintSheet() = 0;
    // The Enabled state of the window's own cut, copy and delete actions.
    virtual bool CutActionEnabled() = 0;
    virtual bool CopyActionEnabled() = 0;
    virtual bool DeleteActionEnabled() = 0;
};

// The scheme window (and the CASE-forming window, which is one).
class ISchemeChild : public IEditorChild {
public:
    // The window's document.
    virtual TScheme* SchemeDocument() = 0;
    virtual void SetModeSelectActionExecute(TObject* Sender) = 0;
    virtual void SetModeDeviceActionExecute(TObject* Sender) = 0;
    virtual void SetModePinActionExecute(TObject* Sender) = 0;
    virtual void SetModeWireActionExecute(TObject* Sender) = 0;
    virtual void SetModeConnectActionExecute(TObject* Sender) = 0;
    virtual void SetModeSymbolActionExecute(TObject* Sender) = 0;
    virtual void SetModeFSMActionExecute(TObject* Sender) = 0;
    virtual void FlipHorActionExecute(TObject* Sender) = 0;
    virtual void UndoExecute(TObject* Sender) = 0;
    // Scrolls the selection into the middle of the window (after the frame
    // or a dialog selected an element).
    virtual void CenterSelectedActionExecute(TObject* Sender) = 0;
    // Sets the mode word (editor/SchemeMode.h); the frame's "Переместить
    // связь" sets mdMove.
    virtual void SetMode(int mode) = 0;
    virtual bool FlipHorActionEnabled() = 0;
    // Printing: draws the scheme on a canvas of the settings' sheet size
    // (scaled by zoom percent, for a page at the printer's resolution), and
    // prints the element descriptions on the printer (one page).
    virtual void PrintSchemeTo(TCanvas* canvas, int zoom = 100) = 0;
    virtual void PrintElements() = 0;
};

// The state-machine window.
class IFsmChild : public IEditorChild {
public:
    virtual TFSMScheme* FsmDocument() = 0;
    // The enabled state of the window's flip command (the frame's follows it).
    virtual bool FlipHorActionEnabled() = 0;
    // Printing and the print preview: draws the state machine on a canvas
    // (at 100 %, whatever the window's zoom).
    virtual void PrintSchemeTo(TCanvas* canvas) = 0;
};

// The debugger's services that the frame hands on, registered when the
// debugger's window is made at start-up; a frame without it has no debugger.
class IFrameDebugger {
public:
    virtual ~IFrameDebugger() = default;
    // Loads the debugging data (dataFile must exist; emulatorFile is what the
    // emulator reads), reloading it when force is set.
    virtual void OpenDebugData(const AnsiString& dataFile, const AnsiString& emulatorFile, bool force) = 0;
    // Runs the signature analysis of the scheme's debugging data.
    virtual void RunSignatureAnalysis(const AnsiString& dataFile, const AnsiString& signalsFile) = 0;
    virtual void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) = 0;
    // kind 0 input, 1 output.
    virtual void AddSignalToDebug(const AnsiString& name, int kind) = 0;
    // True unless the debugger's window is the active form.
    virtual bool IsDebugWindowInactive() = 0;
};

// What the editors and dialogs register with the frame at start-up: the
// makers of the child windows (each makes a new window owned by owner, the
// application object, shown as an MDI child of the main form, implementing
// the interface of its kind) and the questions the scheme model asks through
// the frame. Unregistered, the frame cannot open that kind of file, and the
// model gets the headless answers (no chains joined, no signal direction).
struct TFrameWindowFactories {
    std::function<TForm*(TComponent* owner)> SchemeWindow;
    std::function<TForm*(TComponent* owner)> FsmWindow;
    // Makes the CASE-forming window, names and loads its scheme from
    // fileName and hands it the CASE element.
    std::function<TForm*(TComponent* owner, const AnsiString& fileName, TObject* element)> CaseWindow;
    // The chain-join question: true, with the joined name, on Yes.
    std::function<bool(const AnsiString& first, const AnsiString& second, AnsiString& joined)> JoinChains;
    // A connector passed to the debugger: 0 input, 1 output, -1 cancelled.
    std::function<int(const AnsiString& name)> SignalDirection;
    // The debugger (not owned), and the project-wide search for a signal.
    IFrameDebugger* Debugger = nullptr;
    std::function<void(const AnsiString& name)> FindSignal;
};

TFrameWindowFactories& FrameWindowFactories();
