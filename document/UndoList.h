#pragma once
// TUndoList: the undo history of one scheme document, as steps of small
// records: an object inserted, an object deleted, an object's geometry before
// a move, a wire's chain name before a union of chains, an object mirrored. BeginGroup makes the
// next record start a new step; Undo reverses the last step, record by record
// from its end, and rebuilds the nets.

#include <vector>

#include "model/ModelHooks.h"
#include "platform/AnsiString.h"

class TEntity;
class TLink;
class TScheme;

class TUndoList : public IUndoRecorder {
public:
    explicit TUndoList(TScheme* scheme) : scheme_(scheme) {}

    void BeginGroup() { newGroup_ = true; }
    void AddInsert(TEntity* object);
    void AddDelete(TEntity* object);
    // Records the object's present geometry.
    void AddMove(TEntity* object) override;
    void AddChainName(TLink* link);
    // The object's mirror flag is about to be inverted.
    void AddMirror(TEntity* object);
    // Reverses the last step; false when there is none.
    bool Undo();
    void Clear();
    bool IsEmpty() const { return groups_.empty(); }
    int GroupCount() const { return int(groups_.size()); }

private:
    enum class Kind { Insert, Delete, Move, Chain, Mirror };
    struct Record {
        Record(Kind k, TEntity* o) : kind(k), object(o) {}
        Kind kind;
        TEntity* object;
        int a = 0, b = 0, c = 0, d = 0; // geometry: x, y or the wire's ends
        AnsiString text;                 // chain name
        int number = 0;                  // chain number
    };
    void Add(Record r);

    TScheme* scheme_;
    std::vector<std::vector<Record>> groups_;
    bool newGroup_ = true;
};
