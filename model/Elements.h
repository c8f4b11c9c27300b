#pragma once
// The logic element kinds. Each constructor takes only the owner (and, where
// stated, a count) and builds the element with the default name, type
// keyword and pins of its kind's row in model/ElementKinds.h.

#include "model/Element.h"

class TAndElement : public TElement {
public:
    explicit TAndElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::And; }
    AnsiString Symbol() const override { return "&"; }

protected:
    bool ClosesWithEmptyLine() const override { return false; }
};

class TOrElement : public TElement {
public:
    explicit TOrElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Or; }
    AnsiString Symbol() const override { return "1"; }

protected:
    bool ClosesWithEmptyLine() const override { return false; }
};

class TXorElement : public TElement {
public:
    explicit TXorElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Xor; }
    AnsiString Symbol() const override { return "=1"; }

protected:
    // The keyword is followed by one blank: "name xor ".
    AnsiString HeaderLine() const override;
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementNoPins; }
};

class TTriggerElement : public TElement {
public:
    explicit TTriggerElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Trigger; }
    AnsiString Symbol() const override { return "RS"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::Trigger; }
};

// A timer: the header carries the delay divided by the setting
// "Кратность таймера" (a setting of 0 or less counts as 1).
class TTimerElement : public TElement {
public:
    explicit TTimerElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Timer; }
    AnsiString Symbol() const override { return "T"; }
    int Delay() const { return delay_; }
    // Delay in milliseconds, redrawn.
    void SetDelay(int ms);

protected:
    TTimerElement(IEntityOwner* owner, TEntityKind kind);
    AnsiString HeaderLine() const override;
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    TPropertyDialog Dialog() const override { return TPropertyDialog::Timer; }
    void Paint(TPainter& painter) const override;

    int delay_ = 1000;
};

// A timer whose preset is multiplied by the value of its numbered inputs.
class TPredTimerElement : public TTimerElement {
public:
    // count: the numbered inputs after "In", "Reset" and "Out" (1 to 8).
    TPredTimerElement(IEntityOwner* owner, int count);
    TEntityKind Kind() const override { return TEntityKind::PredTimer; }
    AnsiString Symbol() const override { return "PT"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::PredTimer; }
};

class TDTriggerElement : public TElement {
public:
    explicit TDTriggerElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::DTrigger; }
    AnsiString Symbol() const override { return "DT"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::Trigger; }
};

class TCounterElement : public TElement {
public:
    explicit TCounterElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Counter; }
    AnsiString Symbol() const override { return "CT"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementOutputs; }
};

class TDecoderElement : public TElement {
public:
    explicit TDecoderElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Decoder; }
    AnsiString Symbol() const override { return "DC"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementOutputs; }
};

class TDRSTriggerElement : public TElement {
public:
    explicit TDRSTriggerElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::DRSTrigger; }
    AnsiString Symbol() const override { return "DRS"; }
};

class TD8TriggerElement : public TElement {
public:
    explicit TD8TriggerElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::D8Trigger; }
    AnsiString Symbol() const override { return "RG"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementNoPins; }
};

class TD8RSCounterElement : public TElement {
public:
    explicit TD8RSCounterElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::D8RSCounter; }
    AnsiString Symbol() const override { return "CT8"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementOutputs; }
};

class TByteCompareElement : public TElement {
public:
    explicit TByteCompareElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::ByteCompare; }
    AnsiString Symbol() const override { return "CMP"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementNoPins; }
};

class TReverCounterElement : public TElement {
public:
    explicit TReverCounterElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::ReverCounter; }
    AnsiString Symbol() const override { return "RCT"; }

protected:
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementOutputs; }
};

// A commutator: data groups A and B of m inputs each, the select input and m
// outputs (outputs := A when select is 1, B when it is 0).
class TCommutatorElement : public TElement {
public:
    explicit TCommutatorElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Commutator; }
    AnsiString Symbol() const override { return "MS"; }
    // Rebuilds the pins for m = (n - 1) / 2 data pairs (at least 1).
    void SetPinCount(int n);
    int Pairs() const { return OutputCount(); }

protected:
    bool ClosesWithEmptyLine() const override { return false; }
    TPropertyDialog Dialog() const override { return TPropertyDialog::ElementOutputs; }
};

// The modulo-4001 value filter: value bits, the hold input, outputs.
class TFilterElement : public TElement {
public:
    explicit TFilterElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Filter; }
    AnsiString Symbol() const override { return "F"; }
    static constexpr int kBits = 12;
};

// The conditional jump: when its input is 1 the controller skips to an
// element of another scheme.
class TGotoElement : public TElement {
public:
    explicit TGotoElement(IEntityOwner* owner);
    TEntityKind Kind() const override { return TEntityKind::Goto; }
    AnsiString Symbol() const override { return "->"; }
    // The bare file name of the target scheme of the project.
    AnsiString TargetScheme;
    // Whether the jump names an element of the target scheme.
    bool GotoElement = false;
    AnsiString TargetElement;
    // Empties the target element when the flag is off, lets the frame
    // resolve an unnamed target, then writes the block.
    void Translate(TStrings* lines) override;

protected:
    // name + " ifgoto " + target scheme + " " + target element.
    AnsiString HeaderLine() const override;
    void SaveExtra(ByteWriter& w) const override;
    void LoadExtra(ByteReader& r) override;
    TPropertyDialog Dialog() const override { return TPropertyDialog::Goto; }
};
