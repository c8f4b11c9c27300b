#include "debugger/ui/InGraph.h"

#include "debugger/ui/For.h"

TInGr::TInGr(TComponent* owner, TScrollBox* area, TBitmap* background) : TTraceRow(owner, area, background) {
    In->SetCursor(crHandPoint);
    InSignName->SetCursor(crHandPoint);
    In->OnClick = [this](TObject*) { InSignClick(); };
    InSignName->OnClick = [this](TObject*) { InSignClick(); };
}

void TInGr::InSignClick() {
    Flip();
    if (fmDebug) fmDebug->SetInput(ByteAddress, Bit, Level != 0);
    X -= StepWidth;
    DrawStep();
}

void TInGr::SetLevel(int level) {
    if (level != Level) InSignClick();
}
