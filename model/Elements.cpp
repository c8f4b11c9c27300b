#include "model/Elements.h"

#include "model/Painter.h"
#include "model/SchemeSettings.h"

TAndElement::TAndElement(IEntityOwner* owner) : TElement(owner, "and") {
    TEntity::SetName("AND");
    NewPin("Out", 1);
    AddNamedPins({"In", "In"}, 0);
    Finish();
}

TOrElement::TOrElement(IEntityOwner* owner) : TElement(owner, "or") {
    TEntity::SetName("OR");
    NewPin("Out", 1);
    AddNamedPins({"In", "In"}, 0);
    Finish();
}

TXorElement::TXorElement(IEntityOwner* owner) : TElement(owner, "xor") {
    TEntity::SetName("XOR");
    NewPin("Out", 1);
    AddNamedPins({"In", "In"}, 0);
    Finish();
}

AnsiString TXorElement::HeaderLine() const { return Name() + " xor "; }

TTriggerElement::TTriggerElement(IEntityOwner* owner) : TElement(owner, "trigger") {
    TEntity::SetName("RS");
    AddNamedPins({"S", "R"}, 0);
    NewPin("Q", 1);
    NewPin("Q", 1)->SetInverse(true);
    Finish();
}

TTimerElement::TTimerElement(IEntityOwner* owner) : TTimerElement(owner, "timer") {
    TEntity::SetName("TIMER");
    NewPin("In", 0);
    NewPin("Reset", 0);
    NewPin("Out", 1);
    Finish();
}

TTimerElement::TTimerElement(IEntityOwner* owner, const AnsiString& label) : TElement(owner, label) {}

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

TPredTimerElement::TPredTimerElement(IEntityOwner* owner, int count) : TTimerElement(owner, "predtimer") {
    TEntity::SetName("PTIMER");
    NewPin("In", 0);
    NewPin("Reset", 0);
    NewPin("Out", 1);
    AddNumberedPins(count < 0 ? 0 : count > kMaxPins ? kMaxPins : count, 0);
    Finish();
}

TDTriggerElement::TDTriggerElement(IEntityOwner* owner) : TElement(owner, "dtrigger") {
    TEntity::SetName("DT");
    AddNamedPins({"D", "C"}, 0);
    NewPin("Q", 1);
    NewPin("Q", 1)->SetInverse(true);
    Finish();
}

TCounterElement::TCounterElement(IEntityOwner* owner) : TElement(owner, "cnt") {
    TEntity::SetName("CNT");
    AddNamedPins({"C", "R"}, 0);
    AddNamedPins({"Out", "Out", "Out", "Out"}, 1);
    Finish();
}

TDecoderElement::TDecoderElement(IEntityOwner* owner) : TElement(owner, "dcd") {
    TEntity::SetName("DCD");
    AddNumberedPins(4, 0);
    for (int i = 0; i < 10; ++i)
        NewPin("Out", 1);
    Finish();
}

TDRSTriggerElement::TDRSTriggerElement(IEntityOwner* owner) : TElement(owner, "drstrigger") {
    TEntity::SetName("DRS");
    AddNamedPins({"S", "D", "C", "R"}, 0);
    NewPin("Q", 1);
    NewPin("Q", 1)->SetInverse(true);
    Finish();
}

TD8TriggerElement::TD8TriggerElement(IEntityOwner* owner) : TElement(owner, "d8trigger") {
    TEntity::SetName("D8");
    AddNamedPins({"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "C", "R"}, 0);
    AddNumberedPins(8, 1);
    Finish();
}

TD8RSCounterElement::TD8RSCounterElement(IEntityOwner* owner) : TElement(owner, "d8rscnt") {
    TEntity::SetName("CNT8");
    AddNamedPins({"D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "L", "R", "C"}, 0);
    AddNumberedPins(8, 1);
    Finish();
}

TByteCompareElement::TByteCompareElement(IEntityOwner* owner) : TElement(owner, "cbyte") {
    TEntity::SetName("CMP");
    AddNamedPins({"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7"}, 0);
    AddNamedPins({"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7"}, 0);
    AddNamedPins({">", "=", "<"}, 1);
    Finish();
}

TReverCounterElement::TReverCounterElement(IEntityOwner* owner) : TElement(owner, "rcnt") {
    TEntity::SetName("RCNT");
    AddNamedPins({"C", "P", "Dir"}, 0);
    AddNamedPins({"Out", "Out", "Out", "Out"}, 1);
    Finish();
}

TCommutatorElement::TCommutatorElement(IEntityOwner* owner) : TElement(owner, "commut") {
    TEntity::SetName("COMMUT");
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

TFilterElement::TFilterElement(IEntityOwner* owner) : TElement(owner, "filter") {
    TEntity::SetName("FILTER");
    AddNumberedPins(kBits, 0);
    NewPin("Hold", 0);
    AddNumberedPins(kBits, 1);
    Finish();
}

TGotoElement::TGotoElement(IEntityOwner* owner) : TElement(owner, "ifgoto") {
    TEntity::SetName("GOTO");
    NewPin("In", 0);
    Finish();
}

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
