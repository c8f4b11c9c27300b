#pragma once
// TTraceRow: one signal of the timing diagram. Its panel is the name cell
// in the diagram's name column; its trace is a picture of its own in the
// trace area, on the same line, drawn one step to the right at every event
// of the diagram's timer: level 0 low, level 1 high, 14 pixels apart, with
// a vertical edge where the level changed. A trace that reaches the right
// end starts again at the left on a fresh background. The trace area keeps
// the pen in view: it scrolls on by a third of its width at its right edge,
// and back to the pen when the pen is left of it (a trace that started again).
//
// Rows exist from the diagram's creation on; they are set up for a signal,
// shown, and put away again.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

class TBitmap;

class TTraceRow : public TPanel {
public:
    // Pixels of a row and of its trace picture.
    static constexpr int kRowPitch = 35;
    static constexpr int kTraceWidth = 1624;
    static constexpr int kLastX = 1621; // a step beyond starts the trace again
    static constexpr int kLowY = 17;
    static constexpr int kHighY = 3;
    static constexpr int kPenWidth = 2;

    // The trace lies in area; background is the picture every trace starts from.
    TTraceRow(TComponent* owner, TScrollBox* area, TBitmap* background);

    TImage* ProgresTimer; // the trace
    TPanel* In;           // the name cell
    TLabel* InSignName;

    // ---- state ----
    int X = 1;
    int Y = kLowY;
    int Level = 0;
    int StepWidth = 1;
    bool InUse = false;
    int ByteAddress = 0;
    int Bit = 0;
    // Row number in the window: inputs first, then outputs.
    int Position = 0;
    // Inputs: the signal belongs to no driver; outputs: set by nobody yet.
    bool Flag = false;
    // The signal record the row shows.
    int SignalIndex = -1;

    // Places the row and its trace on line position and starts the trace low.
    void Setup(const AnsiString& name, int byteAddress, bool flag, int position, int bit, int signalIndex);
    // One step of the trace to the right at the current level.
    virtual void DrawStep();
    // Flips the level and draws the edge.
    virtual void InSignClick();
    // The trace starts again at the left on a fresh background.
    void ResetTrace();
    void HideTrace();
    // Trace and row hidden, the row free for another signal.
    void Remove();
    virtual TColor PenColor() const = 0;
    AnsiString Name() const { return InSignName->Caption(); }

protected:
    // A fresh background, the pen at the left on the current level.
    void Restart();
    // The step itself, the area following the pen.
    void Step();
    // The level flip; the edge is drawn at the same x.
    void Flip();

    TScrollBox* area_;
    TBitmap* background_;
};
