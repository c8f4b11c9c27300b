#pragma once
// What the scheme window needs of the frame. The window never includes the
// frame's header: the frame implements ISchemeFrame and installs it at
// start-up; tests install a fake. With nothing installed the window gets the
// answers of a frame without project, debugger or signal search.

#include <cstdint>
#include <vector>

#include "editor/SchemeMode.h"
#include "platform/AnsiString.h"

class TForm;
class TPrintDialog;
class TScheme;
class TStrings;

class ISchemeFrame {
public:
    virtual ~ISchemeFrame() = default;
    // The mode buttons follow the window's mode.
    virtual void UpdateModeButtons(TSchemeMode mode) = 0;
    // The zoom commands' enabling rule, run after the window's zoom changed.
    virtual void ZoomChanged() = 0;
    // Saves the window's document (asking for a name when it has none);
    // false when it was not written.
    virtual bool SaveWindow(TForm* window) = 0;
    // The frame's paste command: whether it is enabled, and the flag that a
    // fragment has been copied.
    virtual bool PasteEnabled() = 0;
    virtual void SetPasteAvailable(bool available) = 0;
    // The frame's cut, copy and delete commands take the window's states.
    virtual void MirrorEditActions(bool cut, bool copy, bool del) = 0;
    // Whether the frame's "Работать с активной схемой " box is ticked.
    virtual bool DebuCheck() = 0;
    // The stored order of the signals passed to the debugger ("SortDr").
    virtual int SortDr() = 0;
    // Translates the scheme on its own and, when that succeeded, hands its
    // debugging data to the signature analyser.
    virtual void CheckScheme(TScheme* scheme) = 0;

    // Whether a debugger is registered with the frame: the pin dialogs show
    // their "В отладчик" button only then.
    virtual bool DebuggerPresent() = 0;
    // Whether the debugger's window is the active form.
    virtual bool DebugWindowActive() = 0;
    virtual void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) = 0;
    // kind 0 input, 1 output.
    virtual void AddSignalToDebug(const AnsiString& name, int kind) = 0;

    // Translates the scheme of the CASE-forming window and runs it on the
    // emulator for every input value, the outputs into outputs (65,536
    // words); false when the check did not run.
    virtual bool ExportCase(TForm* window, std::vector<int32_t>* outputs) = 0;

    // The frame's print dialog, which the element list's and the preview's
    // printing run too.
    virtual TPrintDialog* PrintDialog() = 0;

    // Whether the frame offers the project-wide signal search (the pin
    // dialogs show their search button only then), and the search itself.
    virtual bool SignalSearchPresent() = 0;
    virtual void FindSignal(const AnsiString& name) = 0;
};

// The installed frame, or the stand-in.
ISchemeFrame& SchemeFrame();
// Installs frame (not owned); null restores the stand-in.
void SetSchemeFrame(ISchemeFrame* frame);
