#include "debugger/ui/TraceRow.h"

#include <algorithm>

#include "platform/Bitmap.h"

TTraceRow::TTraceRow(TComponent* owner, TScrollBox* area, TBitmap* background)
    : TPanel(owner), area_(area), background_(background) {
    SetBevelOuter(bvNone);
    SetVisible(false);
    SetBounds(0, 0, 150, 34);
    In = NewControl<TPanel>(this, this, "In");
    In->SetBounds(0, 0, 150, 34);
    In->SetAlignment(taLeftJustify);
    InSignName = NewControl<TLabel>(this, In, "InSignName");
    InSignName->SetAutoSize(false);
    InSignName->SetBounds(3, 6, 145, 13);
    // The trace lives in the trace area, not on the row.
    ProgresTimer = NewControl<TImage>(this, area, "ProgresTimer");
    ProgresTimer->SetVisible(false);
    ProgresTimer->SetBounds(1, 2, kTraceWidth, 34);
}

void TTraceRow::Setup(const AnsiString& name, int byteAddress, bool flag, int position, int bit, int signalIndex) {
    ByteAddress = byteAddress;
    Bit = bit;
    Flag = flag;
    Position = position;
    SignalIndex = signalIndex;
    SetBounds(0, position * kRowPitch, 150, 34);
    ProgresTimer->SetBounds(1, position * kRowPitch + 2, kTraceWidth, 34);
    InSignName->SetCaption(name);
    X = 1;
    Y = kLowY;
    Level = 0;
    InUse = true;
    Restart();
}

void TTraceRow::Restart() {
    ProgresTimer->Picture()->SetBitmap(background_);
    X = 1;
    TCanvas* c = ProgresTimer->Canvas();
    c->Pen()->SetWidth(kPenWidth);
    c->Pen()->SetColor(PenColor());
    c->MoveTo(X, Y);
}

void TTraceRow::ResetTrace() { Restart(); }

void TTraceRow::Step() {
    TControlScrollBar* bar = area_->HorzScrollBar();
    if (X > kLastX) Restart();
    // Back to a pen left of the view, two thirds into it (at the very left
    // after a restart); on by a third at the right edge.
    if (X < bar->Position()) bar->SetPosition(std::max(0, X - area_->Width() * 2 / 3));
    if (X > bar->Position() + area_->Width() - 30) bar->SetPosition(bar->Position() + area_->Width() / 3);
    X += StepWidth;
    ProgresTimer->Canvas()->LineTo(X, Y);
}

void TTraceRow::DrawStep() { Step(); }

void TTraceRow::Flip() {
    if (Level) {
        Level = 0;
        Y += 14;
    } else {
        Y -= 14;
        Level = 1;
    }
}

void TTraceRow::InSignClick() {
    Flip();
    X -= StepWidth;
    DrawStep();
}

void TTraceRow::HideTrace() { ProgresTimer->SetVisible(false); }

void TTraceRow::Remove() {
    HideTrace();
    SetVisible(false);
    InUse = false;
}
