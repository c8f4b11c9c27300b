#pragma once
// TUndoList: the undo history of one scheme document, as steps of small
// records: an object inserted, an object deleted, an object's geometry before
// a move, a wire's chain name before a union of chains, an object mirrored. BeginGroup makes the
// next record start a new step; Undo reverses the last step, record by record
// from its end, and rebuilds the nets. Withdraw takes back the step still
// being made, as if it had never begun: an edit the user refused midway
// leaves the document, its selection and its modified flag as they were.

#include <vector>

#include "model/ModelHooks.h"
#include "platform/AnsiString.h"

class TEntity;
class TLink;
class TScheme;

class TUndoList : public IUndoRecorder {
public:
    explicit TUndoList(TScheme* scheme) : scheme_(scheme) {}

    // The next record starts a new step; the document's selection and
    // modified flag as they are now are what a withdrawal brings back.
    void BeginGroup();
    void AddInsert(TEntity* object);
    void AddDelete(TEntity* object);
    // Records the object's present geometry.
    void AddMove(TEntity* object) override;
    void AddChainName(TLink* link);
    // The object's mirror flag is about to be inverted.
    void AddMirror(TEntity* object);
    // Reverses the last step; false when there is none.
    bool Undo();
    // Reverses the records made since the last BeginGroup and gives back the
    // selection and modified flag of that moment; the history keeps no trace
    // of the step. False when no record was made since.
    bool Withdraw();
    // Drops the step still being made when it changed nothing (a click on an
    // object records its place, and the object stayed there), so that every
    // step of the history undoes something; the modified flag goes back to
    // that of the step's beginning. False when the step is kept.
    bool DropUnchangedStep();
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
    // Reverses the records of a step, the last first; rebuilds the nets and
    // shows again what came back.
    void Reverse(const std::vector<Record>& group);
    // The document as it is now is where the next step begins.
    void MarkStepStart();

    TScheme* scheme_;
    std::vector<std::vector<Record>> groups_;
    bool newGroup_ = true;
    // Where the open step began: the selection (with each object's selected
    // flag) and the modified flag.
    std::vector<std::pair<TEntity*, bool>> stepSelection_;
    bool stepModified_ = false;
};
