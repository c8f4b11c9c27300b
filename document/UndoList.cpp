#include "document/UndoList.h"

#include <algorithm>

#include "document/Scheme.h"

void TUndoList::Add(Record r) {
    if (newGroup_ || groups_.empty()) {
        groups_.emplace_back();
        newGroup_ = false;
    }
    groups_.back().push_back(std::move(r));
}

void TUndoList::AddInsert(TEntity* object) { Add(Record(Kind::Insert, object)); }

void TUndoList::AddDelete(TEntity* object) { Add(Record(Kind::Delete, object)); }

void TUndoList::AddMove(TEntity* object) {
    Record r(Kind::Move, object);
    if (object->IsLink()) {
        auto* l = static_cast<TLink*>(object);
        r.a = l->X1();
        r.b = l->Y1();
        r.c = l->X2();
        r.d = l->Y2();
    } else {
        r.a = object->GetX();
        r.b = object->GetY();
    }
    Add(std::move(r));
}

void TUndoList::AddChainName(TLink* link) {
    Record r(Kind::Chain, link);
    r.text = link->ChainName();
    r.number = link->ChainNumber();
    Add(std::move(r));
}

void TUndoList::AddMirror(TEntity* object) { Add(Record(Kind::Mirror, object)); }

void TUndoList::BeginGroup() {
    newGroup_ = true;
    MarkStepStart();
}

void TUndoList::MarkStepStart() {
    stepSelection_.clear();
    for (TEntity* o : scheme_->selection_)
        stepSelection_.push_back({o, o->Selected()});
    stepModified_ = scheme_->IsModified();
}

void TUndoList::Reverse(const std::vector<Record>& group) {
    std::vector<TEntity*> restored;
    for (auto it = group.rbegin(); it != group.rend(); ++it) {
        TEntity* o = it->object;
        switch (it->kind) {
        case Kind::Insert:
            o->Hide();
            o->SetDeleted(true);
            break;
        case Kind::Delete:
            o->SetDeleted(false);
            restored.push_back(o);
            break;
        case Kind::Move:
            if (o->IsLink())
                static_cast<TLink*>(o)->SetEnds(it->a, it->b, it->c, it->d);
            else {
                o->SetX(it->a);
                o->SetY(it->b);
            }
            break;
        case Kind::Chain:
            static_cast<TLink*>(o)->SetChain(it->text, it->number);
            break;
        case Kind::Mirror:
            o->SetMirrored(!o->Mirrored());
            break;
        }
    }
    scheme_->RebuildNets();
    for (TEntity* o : restored)
        if (!o->Deleted())
            o->Show();
}

bool TUndoList::Undo() {
    if (groups_.empty())
        return false;
    std::vector<Record> group = std::move(groups_.back());
    groups_.pop_back();
    newGroup_ = true;
    scheme_->ClearSelection();
    scheme_->followers_.clear();
    Reverse(group);
    scheme_->SetModified(true);
    MarkStepStart();
    return true;
}

bool TUndoList::Withdraw() {
    if (newGroup_ || groups_.empty())
        return false;
    std::vector<Record> group = std::move(groups_.back());
    groups_.pop_back();
    newGroup_ = true;
    scheme_->followers_.clear();
    // What the step took out of the selection comes back once it is back
    // on the sheet; what the step added to it leaves.
    for (TEntity* o : scheme_->selection_)
        if (std::none_of(stepSelection_.begin(), stepSelection_.end(), [o](const auto& s) { return s.first == o; }))
            o->SetSelected(false);
    scheme_->selection_.clear();
    Reverse(group);
    for (auto [o, selected] : stepSelection_) {
        scheme_->selection_.push_back(o);
        o->SetSelected(selected);
    }
    scheme_->SetModified(stepModified_);
    return true;
}

bool TUndoList::DropUnchangedStep() {
    if (newGroup_ || groups_.empty())
        return false;
    for (const Record& r : groups_.back()) {
        if (r.kind != Kind::Move)
            return false;
        if (r.object->IsLink()) {
            auto* l = static_cast<TLink*>(r.object);
            if (l->X1() != r.a || l->Y1() != r.b || l->X2() != r.c || l->Y2() != r.d)
                return false;
        } else if (r.object->GetX() != r.a || r.object->GetY() != r.b) {
            return false;
        }
    }
    groups_.pop_back();
    newGroup_ = true;
    scheme_->SetModified(stepModified_);
    return true;
}

void TUndoList::Clear() {
    groups_.clear();
    newGroup_ = true;
    stepSelection_.clear();
    stepModified_ = false;
}
