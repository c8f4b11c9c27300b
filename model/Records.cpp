#include "model/Records.h"

#include "model/Element.h"
#include "model/Link.h"

std::unique_ptr<TEntity> CreateEntityForTag(uint8_t tag, IEntityOwner* owner) {
    if (tag == uint8_t(TEntityKind::Link))
        return std::make_unique<TLink>(owner);
    const TElementKind* kind = FindElementKind(TEntityKind(tag));
    return std::unique_ptr<TEntity>(kind ? kind->Make(owner, kind->DefaultCount) : nullptr);
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
