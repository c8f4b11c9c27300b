#include "model/Records.h"

#include "model/CaseElements.h"
#include "model/Driver.h"
#include "model/Elements.h"
#include "model/FSM.h"
#include "model/Link.h"
#include "model/Symbol.h"

std::unique_ptr<TEntity> CreateEntityForTag(uint8_t tag, IEntityOwner* owner) {
    switch (TEntityKind(tag)) {
    case TEntityKind::Element: return std::make_unique<TElement>(owner);
    case TEntityKind::And: return std::make_unique<TAndElement>(owner);
    case TEntityKind::Or: return std::make_unique<TOrElement>(owner);
    case TEntityKind::Xor: return std::make_unique<TXorElement>(owner);
    case TEntityKind::Trigger: return std::make_unique<TTriggerElement>(owner);
    case TEntityKind::Timer: return std::make_unique<TTimerElement>(owner);
    case TEntityKind::PredTimer: return std::make_unique<TPredTimerElement>(owner, 1);
    case TEntityKind::DTrigger: return std::make_unique<TDTriggerElement>(owner);
    case TEntityKind::Counter: return std::make_unique<TCounterElement>(owner);
    case TEntityKind::Decoder: return std::make_unique<TDecoderElement>(owner);
    case TEntityKind::DRSTrigger: return std::make_unique<TDRSTriggerElement>(owner);
    case TEntityKind::D8Trigger: return std::make_unique<TD8TriggerElement>(owner);
    case TEntityKind::D8RSCounter: return std::make_unique<TD8RSCounterElement>(owner);
    case TEntityKind::ByteCompare: return std::make_unique<TByteCompareElement>(owner);
    case TEntityKind::ReverCounter: return std::make_unique<TReverCounterElement>(owner);
    case TEntityKind::Case: return std::make_unique<TCaseElement>(owner, 1);
    case TEntityKind::Case16: return std::make_unique<TCase16Element>(owner, 1);
    case TEntityKind::CaseMask: return std::make_unique<TCaseMaskElement>(owner, 1);
    case TEntityKind::CaseDiap: return std::make_unique<TCaseDiapElement>(owner, 6);
    case TEntityKind::Commutator: return std::make_unique<TCommutatorElement>(owner);
    case TEntityKind::Filter: return std::make_unique<TFilterElement>(owner);
    case TEntityKind::Goto: return std::make_unique<TGotoElement>(owner);
    case TEntityKind::Symbol: return std::make_unique<TSymbol>(owner);
    case TEntityKind::FSM: return std::make_unique<TFSM>(owner);
    case TEntityKind::Driver: return std::make_unique<TDriver>(owner);
    case TEntityKind::VarDriver: return std::make_unique<TVarDriver>(owner);
    case TEntityKind::Link: return std::make_unique<TLink>(owner);
    default: return nullptr;
    }
}

void WriteEntityRecord(ByteWriter& w, const TEntity& entity) {
    w.U8(uint8_t(entity.Kind()));
    std::size_t at = w.Size();
    w.U32(0);
    entity.Save(w);
    w.PatchU32(at, uint32_t(w.Size() - at - 4));
}

std::unique_ptr<TEntity> ReadEntityRecord(ByteReader& r, IEntityOwner* owner) {
    uint8_t tag = r.U8();
    uint32_t length = r.U32();
    if (length > r.Remaining())
        throw EReadError("record longer than the file");
    ByteReader body(r.Bytes(length));
    std::unique_ptr<TEntity> entity = CreateEntityForTag(tag, owner);
    if (!entity)
        throw EReadError("unknown record tag");
    entity->Load(body);
    if (!body.AtEnd())
        throw EReadError("record longer than its fields");
    return entity;
}

std::unique_ptr<TEntity> CloneEntity(const TEntity& entity, IEntityOwner* owner) {
    ByteWriter w;
    WriteEntityRecord(w, entity);
    ByteReader r(w.Data());
    return ReadEntityRecord(r, owner);
}

bool MovedWithinLimits(const TEntity& entity, long long dx, long long dy) {
    if (entity.IsLink()) {
        const auto& l = static_cast<const TLink&>(entity);
        return CoordInRange(l.X1() + dx) && CoordInRange(l.Y1() + dy) && CoordInRange(l.X2() + dx) &&
               CoordInRange(l.Y2() + dy);
    }
    return CoordInRange(entity.GetX() + dx) && CoordInRange(entity.GetY() + dy);
}
