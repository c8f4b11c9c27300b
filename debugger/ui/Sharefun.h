#pragma once
// The debugger's entry points for the rest of the program. The frame, the
// scheme window and the pin and connection dialogs reach the debugger only
// through these functions: after each translation and from their debug
// commands they (re)load the debugging data, keep the list of signals the
// engineer wants to watch, and start the debugger window, the signature
// analysis and the check of a CASE table.
//
// Data files come in pairs: the file whose existence says that a
// translation produced something (the controller data file) and the file the
// emulator loads (its debugging copy). A single-scheme run writes only the
// copy and passes it as both.
//
// The debugger's own windows (the debugger window, the signature analyser,
// the question for internal signals) are made at start-up into their
// globals; every function here does nothing while they do not exist.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/AnsiString.h"

class TObject;
class TStrings;
class TVAC;

// The timing-diagram window as the debugger window drives it.
class ITimingView {
public:
    virtual ~ITimingView() = default;
    virtual bool IsVisible() = 0;
    // Its "CountRun" and "TimerTicks" texts.
    virtual void ShowRunCount(int runs) = 0;
    virtual void ShowTickCount(int ticks) = 0;
    // Its run buttons: the halt button in place of the run button while running.
    virtual void ShowRunning(bool running) = 0;
    // Stops its own scan timer.
    virtual void StopTimer() = 0;
    // "Обновить" unticked input row `row`, which shows signal `signalIndex`:
    // its trace row toggles its level when it shows that signal.
    virtual void ToggleTrace(int row, int signalIndex) = 0;
    // Shows the window with its minimal interval in milliseconds.
    virtual void Open(int minInterval) = 0;
    // Its "MinInterval" text: the minimal interval confirmed in its dialog.
    virtual void ShowMinInterval(int minInterval) = 0;
};

// What other windows lend the debugger. Unset members leave their commands
// disabled (the signal search) or absent (the timing diagram).
struct TDebuggerHooks {
    // Searches the project for a signal (the find-signal command with this
    // name), and whether the program can (unset: whenever FindSignal is set).
    std::function<void(const AnsiString& name)> FindSignal;
    std::function<bool()> CanFindSignal;
    ITimingView* Timing = nullptr;
};
TDebuggerHooks& DebuggerHooks();

// The one emulator. A reload makes a new one: ask again every time, never
// keep the pointer. Null before the debugger window exists.
TVAC* Emulator();
// Installed by the debugger window, which owns the emulator.
void SetEmulator(TVAC* vac);

// Whether the debugger windows exist.
bool DebuggerPresent();
// Puts the wanted signals into the debugger window and shows it.
void ShowDebugWindow(TObject* frame);
// Puts the wanted signals into the debugger window and opens the timing
// diagram (loading the data first when needed).
void ShowTimingDebugWindow(TObject* frame);
// Appends "name=kind" (0 input, 1 output) to the wanted signals unless the
// name is there already.
void AddSignalToDebug(const AnsiString& name, int kind);
// Every input with kind 0, then every output with kind 1; then puts the
// wanted signals into the debugger window.
void AddSignalsToDebug(TStrings* inputs, TStrings* outputs);
// Nothing unless dataFile exists. When the emulator holds emulatorFile
// already and force is false, it is loaded only if it is not yet; otherwise
// the rows are kept aside, a new emulator loads emulatorFile and the rows
// come back.
void OpenDebugData(const AnsiString& dataFile, const AnsiString& emulatorFile, bool force);
// OpenDebugData with force, then, when dataFile exists and the emulator
// holds a program, the signature analysis.
void RunSignatureAnalysis(const AnsiString& dataFile, const AnsiString& emulatorFile);
// The check of a CASE table on the loaded program: 65,536 output words into
// outputs. False (outputs untouched) when it did not run.
bool VerifyCaseTable(const AnsiString& dataFile, const AnsiString& signalsFile, bool unused,
                     std::vector<int32_t>* outputs);
// The debugger's rows become the wanted signals (inputs, then outputs, then
// the wanted signals the loaded program does not know) and both lists are
// emptied.
void SaveDebugSelection();
// Every wanted signal the loaded program knows becomes a row on the side of
// its driver (a signal without driver on the side its line gives).
void RestoreDebugSelection();
// True unless the debugger window is the active form: the scheme editor's
// Delete key deletes elements only then.
bool IsDebugWindowInactive();
// Empties both row lists, the forced inputs and the wanted signals.
void ClearDebugSignals();
