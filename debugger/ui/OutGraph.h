#pragma once
// TOutGr: an output row of the timing diagram. Before every step it takes
// the level the debugger shows for the output.

#include "debugger/ui/TraceRow.h"

class TOutGr : public TTraceRow {
public:
    // Aqua for a flagged row, else blue.
    static constexpr TColor kFlaggedColor = TColor(16776960);
    static constexpr TColor kColor = TColor(16711680);

    TOutGr(TComponent* owner, TScrollBox* area, TBitmap* background) : TTraceRow(owner, area, background) {}

    void DrawStep() override;
    // Flips the level when the debugger's mark of the output differs.
    void Follow();
    TColor PenColor() const override { return Flag ? kFlaggedColor : kColor; }
};
