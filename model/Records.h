#pragma once
// Records of scheme objects: a one-byte tag (the object's TEntityKind), a
// 32-bit body length and the body. The loader reads the body through a reader
// limited to that length, so a damaged record can never reach into the next
// one. Layouts are in docs/file-formats.md.

#include <memory>

#include "model/Entity.h"

// A new object of the kind a record tag names, owned by owner; null for a
// tag that names no stored kind.
std::unique_ptr<TEntity> CreateEntityForTag(uint8_t tag, IEntityOwner* owner);

// Writes tag, length and body of one object.
void WriteEntityRecord(ByteWriter& w, const TEntity& entity);
// Reads one record; throws EReadError on a damaged record or an unknown tag.
std::unique_ptr<TEntity> ReadEntityRecord(ByteReader& r, IEntityOwner* owner);

// An exact copy of an object made through its record (same owner unless
// another is given); used for clipboard-free copies and transient expansions.
std::unique_ptr<TEntity> CloneEntity(const TEntity& entity, IEntityOwner* owner);

// Whether an object moved by (dx, dy) still lies within the scheme's limits
// (kMaxCoord); a paste checks every object before it moves any.
bool MovedWithinLimits(const TEntity& entity, long long dx, long long dy);
