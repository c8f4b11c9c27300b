#pragma once
// IEmulatorHost: the debugger window's side of the emulator. The emulator
// calls it at the start and the end of every scan, for the values of forced
// inputs, for the run and tick counters and for its messages. The emulator
// works without a host: then nothing is exchanged, no input is forced and
// messages go to the user-interface port.
//
// The calls come from inside TVAC::Load, TVAC::Run and TVAC::Tick: a host
// must not load the emulator or change its forced inputs from them.

#include "platform/AnsiString.h"

class TVAC;

class IEmulatorHost {
public:
    virtual ~IEmulatorHost() = default;

    // Start of a scan, unless the display is suppressed: copy the check mark
    // of every input row into the image (TVAC::SetBit).
    virtual void ReadInputs(TVAC& vac) = 0;
    // End of a complete scan, unless the display is suppressed: show the image
    // bit of every output row as its check mark (TVAC::GetBit).
    virtual void ShowOutputs(TVAC& vac) = 0;
    // The check mark of a row of the input list. Asked once per scan for each
    // enabled forced input, and only when there are such inputs; the answers
    // hold for the whole scan.
    virtual bool InputChecked(int row) = 0;
    // True while a window that shows the run and tick counters is visible;
    // the counters are passed on during scans and ticks only then.
    virtual bool IsDebuggerVisible() = 0;
    // The counters' texts ("CountRun", "TimerTicks"). A load sets both to 0
    // whether or not a window is visible.
    virtual void ShowRunCount(int runs) = 0;
    virtual void ShowTickCount(int ticks) = 0;
    // A message of the emulator, with its exact text.
    virtual void Message(const AnsiString& text) = 0;
};
