#include "fsm/FsmRecords.h"

namespace fsmfile {

int32_t ClampCoord(int32_t v) { return v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v; }

int32_t ClampStateCoord(int32_t v) { return v < -kStateLimit ? -kStateLimit : v > kStateLimit ? kStateLimit : v; }

int BodySize(uint8_t tag) {
    switch (tag) {
    case kTagTransition:
    case kTagReset: return kTransitionBodySize;
    case kTagState: return kStateBodySize;
    case kTagCondition: return kConditionBodySize;
    default: return 0;
    }
}

void PinHeader::Write(ByteWriter& w) const {
    w.SmallString(AnsiString(), 40);
    w.SmallString(AnsiString(), 40);
    w.Zeros(2);
    w.I32(Inputs);
    w.I32(Outputs);
    w.Zeros(8);
}

PinHeader PinHeader::Read(ByteReader& r) {
    ByteReader b(r.Bytes(kPinHeaderSize));
    b.Skip(kInputsOffset);
    PinHeader h;
    h.Inputs = b.I32();
    h.Outputs = b.I32();
    return h;
}

void StateRecord::Write(ByteWriter& w) const {
    w.I32(Number);
    w.I32(X);
    w.I32(Y);
    w.SmallString(Name, kTextCapacity); // 12..92
    w.Zeros(43);
}

// Each body is taken whole before any field is used, so a body cut short
// leaves the reader where it was.
StateRecord StateRecord::Read(ByteReader& r) {
    ByteReader b(r.Bytes(kStateBodySize));
    StateRecord s;
    s.Number = b.I32();
    s.X = ClampStateCoord(b.I32());
    s.Y = ClampStateCoord(b.I32());
    s.Name = b.SmallString(kTextCapacity);
    return s;
}

void TransitionRecord::Write(ByteWriter& w) const {
    w.I32(Number);
    for (int i = 0; i < 4; ++i) {
        w.I32(X[i]);
        w.I32(Y[i]);
    }
    w.I32(Source);
    w.I32(Target);
    w.U8(Straight);
    w.Zeros(43);
}

TransitionRecord TransitionRecord::Read(ByteReader& r) {
    ByteReader b(r.Bytes(kTransitionBodySize));
    TransitionRecord t;
    t.Number = b.I32();
    for (int i = 0; i < 4; ++i) {
        t.X[i] = ClampCoord(b.I32());
        t.Y[i] = ClampCoord(b.I32());
    }
    t.Source = b.I32();
    t.Target = b.I32();
    t.Straight = b.U8();
    return t;
}

void ConditionRecord::Write(ByteWriter& w) const {
    w.I32(Id);
    w.I32(X);
    w.I32(Y);
    w.I32(AnchorX);
    w.I32(AnchorY);
    w.SmallString(Text, kTextCapacity); // 20..100
    w.Zeros(3);
    w.I32(Owner); // 104
    w.U8(OwnerIsTransition); // 108
    w.Zeros(43);
}

ConditionRecord ConditionRecord::Read(ByteReader& r) {
    ByteReader b(r.Bytes(kConditionBodySize));
    ConditionRecord c;
    c.Id = b.I32();
    c.X = ClampCoord(b.I32());
    c.Y = ClampCoord(b.I32());
    c.AnchorX = ClampCoord(b.I32());
    c.AnchorY = ClampCoord(b.I32());
    c.Text = b.SmallString(kTextCapacity);
    b.Skip(3);
    c.Owner = b.I32();
    c.OwnerIsTransition = b.U8();
    return c;
}

HeaderStatus ReadHeaders(ByteReader& r, FileHeader* header, PinHeader* pins) {
    try {
        *header = FileHeader::Read(r);
        if (header->Version == kRefusedOldVersion) return HeaderStatus::PreviousVersion;
        if (!IsReadableVersion(header->Version)) return HeaderStatus::OldVersion;
        if (!FileSignature::Read(r).IsValid()) return HeaderStatus::Damaged;
        *pins = PinHeader::Read(r);
    } catch (const EReadError&) {
        return HeaderStatus::Damaged;
    }
    if (pins->Inputs < 0 || pins->Outputs < 0 || pins->Inputs > kMaxSignals || pins->Outputs > kMaxSignals)
        return HeaderStatus::Damaged;
    if (r.Remaining() < std::size_t(pins->Inputs + pins->Outputs) * kNameSize) return HeaderStatus::Damaged;
    return HeaderStatus::Ok;
}

AnsiString RefusalMessage(HeaderStatus status) {
    switch (status) {
    case HeaderStatus::PreviousVersion: return "Предыдущие версии файлов не поддерживаются"_a;
    case HeaderStatus::OldVersion: return "Старая версия файла"_a;
    case HeaderStatus::Damaged: return "Файл разрушен!!"_a;
    default: return AnsiString();
    }
}

} // namespace fsmfile
