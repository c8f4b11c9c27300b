#include "model/Elements.h"

#include "model/Painter.h"
#include "model/SchemeSettings.h"

TAndElement::TAndElement(IEntityOwner* owner) : TElement(owner, TEntityKind::And) { Finish(); }

TOrElement::TOrElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Or) { Finish(); }

TXorElement::TXorElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Xor) { Finish(); }

AnsiString TXorElement::HeaderLine() const { return Name() + " xor "; }

TTriggerElement::TTriggerElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Trigger) { Finish(); }

TTimerElement::TTimerElement(IEntityOwner* owner) : TTimerElement(owner, TEntityKind::Timer) { Finish(); }

TTimerElement::TTimerElement(IEntityOwner* owner, TEntityKind kind) : TElement(owner, kind) {}

void TTimerElement::SetDelay(int ms) {
    if (ms == delay_)
        return;
    Redrawn([&] {
        delay_ = ms;
        Changed = true;
    });
    Touch();
}

AnsiString TTimerElement::HeaderLine() const {
    int multiplicity = schemesettings::TimerMultiplicity();
    if (multiplicity <= 0)
        multiplicity = 1;
    return Name() + " " + Label() + " " + IntToStr(delay_ / multiplicity);
}

void TTimerElement::SaveExtra(ByteWriter& w) const { w.I32(delay_); }

void TTimerElement::LoadExtra(ByteReader& r) { delay_ = r.I32(); }

void TTimerElement::Paint(TPainter& painter) const {
    PaintBox(painter);
    painter.TextCentered(GetX() + GetWidth() / 2, GetY() + GetHeight() + 1, IntToStr(delay_),
                         schemesettings::TimerColor(), 8);
}

TPredTimerElement::TPredTimerElement(IEntityOwner* owner, int count) : TTimerElement(owner, TEntityKind::PredTimer) {
    AddNumberedPins(count < 0 ? 0 : count > kMaxPins ? kMaxPins : count, 0);
    Finish();
}

TDTriggerElement::TDTriggerElement(IEntityOwner* owner) : TElement(owner, TEntityKind::DTrigger) { Finish(); }

TCounterElement::TCounterElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Counter) { Finish(); }

TDecoderElement::TDecoderElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Decoder) { Finish(); }

TDRSTriggerElement::TDRSTriggerElement(IEntityOwner* owner) : TElement(owner, TEntityKind::DRSTrigger) { Finish(); }

TD8TriggerElement::TD8TriggerElement(IEntityOwner* owner) : TElement(owner, TEntityKind::D8Trigger) { Finish(); }

TD8RSCounterElement::TD8RSCounterElement(IEntityOwner* owner) : TElement(owner, TEntityKind::D8RSCounter) { Finish(); }

TByteCompareElement::TByteCompareElement(IEntityOwner* owner) : TElement(owner, TEntityKind::ByteCompare) {
    Finish();
}

TReverCounterElement::TReverCounterElement(IEntityOwner* owner) : TElement(owner, TEntityKind::ReverCounter) {
    Finish();
}

TCommutatorElement::TCommutatorElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Commutator) {
    SetPinCount(9);
}

void TCommutatorElement::SetPinCount(int n) {
    int m = (n - 1) / 2;
    if (m < 1)
        m = 1;
    if (2 * m + 1 > kMaxPins)
        m = (kMaxPins - 1) / 2;
    ChangePins([&] {
        pins_.clear();
        for (int i = 0; i < m; ++i)
            NewPin("A" + AnsiString(i), 0);
        for (int i = 0; i < m; ++i)
            NewPin("B" + AnsiString(i), 0);
        NewPin("S", 0);
        AddNumberedPins(m, 1);
        Finish();
    });
}

TFilterElement::TFilterElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Filter) { Finish(); }

TGotoElement::TGotoElement(IEntityOwner* owner) : TElement(owner, TEntityKind::Goto) { Finish(); }

AnsiString TGotoElement::HeaderLine() const { return Name() + " ifgoto " + TargetScheme + " " + TargetElement; }

void TGotoElement::Translate(TStrings* lines) {
    // The resolution is for this translation only: the stored target stays
    // what the user chose.
    AnsiString stored = TargetElement;
    AnsiString target = GotoElement ? TargetElement : AnsiString();
    if (IFrameServices* frame = ModelHooks().Frame)
        frame->ResolveGotoTarget(scheme_ ? scheme_->GetFileName() : AnsiString(), TargetScheme, 0, Name(), target);
    TargetElement = target;
    TElement::Translate(lines);
    TargetElement = stored;
}

void TGotoElement::SaveExtra(ByteWriter& w) const {
    WriteRecordString(w, TargetScheme);
    w.U8(GotoElement ? 1 : 0);
    WriteRecordString(w, TargetElement);
}

void TGotoElement::LoadExtra(ByteReader& r) {
    TargetScheme = ReadRecordString(r);
    GotoElement = r.U8() != 0;
    TargetElement = ReadRecordString(r);
}
