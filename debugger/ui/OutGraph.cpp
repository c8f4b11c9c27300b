#include "debugger/ui/OutGraph.h"

#include "debugger/ui/For.h"

void TOutGr::DrawStep() {
    Follow();
    Step();
}

void TOutGr::Follow() {
    const int shown = fmDebug && fmDebug->IsOutputChecked(ByteAddress, Bit) ? 1 : 0;
    if (shown != Level) InSignClick();
}
