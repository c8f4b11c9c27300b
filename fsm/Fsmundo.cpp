#include "fsm/Fsmundo.h"

#include "fsm/fsmScheme.h"

TfsmUndoList::TfsmUndoList(TFSMScheme* document) : document_(document) {}

TfsmUndoList::~TfsmUndoList() { Clear(); }

void TfsmUndoList::Push(int kind, TfsmEntity* entity) {
    if (!recording_ || !entity) return;
    TfsmUndoElement rec;
    rec.Id = entity->GetId();
    rec.Kind = (unsigned char)kind;
    rec.GroupStart = groupPending_ ? 1 : 0;
    groupPending_ = false;
    stack_.push_back(rec);
}

void TfsmUndoList::Undo() {
    recording_ = false;
    std::vector<TfsmEntity*> restored;
    bool groupStart = false;
    while (!stack_.empty() && !groupStart) {
        const TfsmUndoElement rec = stack_.back();
        stack_.pop_back();
        groupStart = rec.GroupStart != 0;
        TfsmEntity* e = document_->FindById(rec.Id, true);
        if (!e) continue;
        if (rec.Kind == kInserted) {
            if (document_->IsLive(e)) document_->UndoInsertion(e);
        } else if (!document_->IsLive(e)) {
            document_->Add(e, true);
            e->SetSelected(false);
            restored.push_back(e);
        }
    }
    document_->ReattachRestored(restored);
    recording_ = true;
}

void TfsmUndoList::Clear() { stack_.clear(); }
