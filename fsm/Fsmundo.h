#pragma once
// TfsmUndoList: the history of insertions and deletions of one state-machine
// document, undone group by group. A group is the records from one group
// start up to the next; the document opens a group for each deletion, paste
// and drag start, and every creation joins the group that is open. Moves and
// property changes are not recorded.

#include <vector>

#include "platform/Classes.h"

class TFSMScheme;
class TfsmEntity;

struct TfsmUndoElement {
    int Id = 0;
    unsigned char Kind = 0;       // 0 inserted, 1 deleted
    unsigned char GroupStart = 0; // 1 when the record opens a group
};

class TfsmUndoList : public TObject {
public:
    enum Kind : unsigned char { kInserted = 0, kDeleted = 1 };

    explicit TfsmUndoList(TFSMScheme* document);
    ~TfsmUndoList() override;

    void BeginGroup() { groupPending_ = true; }
    void Push(int kind, TfsmEntity* entity);
    // Reverses the last group.
    void Undo();
    // Forgets every record; the group-pending flag keeps its value.
    void Clear();

    int Count() const { return int(stack_.size()); }
    bool IsEmpty() const { return stack_.empty(); }
    bool IsRecording() const { return recording_; }
    const std::vector<TfsmUndoElement>& Records() const { return stack_; }

private:
    TFSMScheme* document_;
    bool groupPending_ = true;
    bool recording_ = true;
    std::vector<TfsmUndoElement> stack_;
};
