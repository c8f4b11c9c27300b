#pragma once
// TInGr: an input row of the timing diagram. Clicking its name flips the
// input: the debugger's input row and the program's bit take the new level,
// and the trace draws the edge.

#include "debugger/ui/TraceRow.h"

class TInGr : public TTraceRow {
public:
    // Lime for a signal of no driver (its row forces it), else green.
    static constexpr TColor kInternalColor = TColor(65280);
    static constexpr TColor kDriverColor = TColor(32768);

    TInGr(TComponent* owner, TScrollBox* area, TBitmap* background);

    void InSignClick() override;
    // Flips the input when it is not at that level.
    void SetLevel(int level);
    TColor PenColor() const override { return Flag ? kInternalColor : kDriverColor; }
};
