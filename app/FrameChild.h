#pragma once
// What the frame keeps of its child windows and of the debugger: the child
// windows' interfaces (document/EditorChild.h, fsm/FsmView.h), the debugger's
// services it hands on, and the makers of the child windows.
//
// The frame makes new windows through the factories in FrameWindowFactories,
// which it fills at start-up with the makers that the scheme editor and the
// state-machine editor provide, where nothing else has registered one.

#include <functional>

#include "document/EditorChild.h"
#include "fsm/FsmView.h"
#include "platform/Classes.h"

class TForm;
class TStrings;

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
