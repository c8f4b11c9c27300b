#include "fsm/fsmScheme.h"

#include <algorithm>

#include "fsm/FsmRecords.h"
#include "fsm/FsmSettings.h"
#include "platform/FileNames.h"

namespace {

template <class T>
bool Contains(const std::vector<T*>& list, const T* e) {
    return std::find(list.begin(), list.end(), e) != list.end();
}

template <class T>
void Erase(std::vector<T*>& list, const T* e) {
    list.erase(std::remove(list.begin(), list.end(), e), list.end());
}

} // namespace

TFSMScheme::TFSMScheme(IFsmView* owner)
    : undo_(std::make_unique<TfsmUndoList>(this)), view_(owner), window_(dynamic_cast<IFsmWindow*>(owner)) {
    undo_->BeginGroup();
}

TFSMScheme::~TFSMScheme() {
    Clear();
    DeleteAutoSaveFile();
}

TCanvas* TFSMScheme::GetCanvas() const { return view_ ? view_->FsmCanvas() : nullptr; }

// ---- kinds and iteration ---------------------------------------------------------

bool TFSMScheme::IsState(const TfsmEntity* e) {
    return dynamic_cast<const TfsmElement*>(e) && !dynamic_cast<const TfsmLink*>(e);
}

bool TFSMScheme::IsTransition(const TfsmEntity* e) { return dynamic_cast<const TfsmLink*>(e) != nullptr; }

bool TFSMScheme::IsCondition(const TfsmEntity* e) { return dynamic_cast<const TfsmCond*>(e) != nullptr; }

bool TFSMScheme::OfKind(const TfsmEntity* e, Kind k) {
    switch (k) {
    case Kind::State: return IsState(e);
    case Kind::Transition: return IsTransition(e);
    case Kind::Condition: return IsCondition(e);
    default: return true;
    }
}

bool TFSMScheme::IsLive(const TfsmEntity* e) const { return e && Contains(entities_, e); }

// Each call scans afresh and skips as many matches as the cursor says, so a
// walk survives changes of the list between calls.
TfsmEntity* TFSMScheme::IterFirst(Kind k, int& cursor) {
    cursor = 0;
    return IterNext(k, cursor);
}

TfsmEntity* TFSMScheme::IterNext(Kind k, int& cursor) {
    int skip = cursor;
    for (TfsmEntity* e : entities_) {
        if (e->IsDeleted() || !OfKind(e, k)) continue;
        if (skip-- > 0) continue;
        ++cursor;
        return e;
    }
    return nullptr;
}

TfsmEntity* TFSMScheme::FirstEntity() { return IterFirst(Kind::Any, entityCursor_); }
TfsmEntity* TFSMScheme::NextEntity() { return IterNext(Kind::Any, entityCursor_); }
TfsmElement* TFSMScheme::FirstState() { return static_cast<TfsmElement*>(IterFirst(Kind::State, stateCursor_)); }
TfsmElement* TFSMScheme::NextState() { return static_cast<TfsmElement*>(IterNext(Kind::State, stateCursor_)); }
TfsmLink* TFSMScheme::FirstTransition() {
    return static_cast<TfsmLink*>(IterFirst(Kind::Transition, transitionCursor_));
}
TfsmLink* TFSMScheme::NextTransition() { return static_cast<TfsmLink*>(IterNext(Kind::Transition, transitionCursor_)); }
TfsmCond* TFSMScheme::FirstCondition() { return static_cast<TfsmCond*>(IterFirst(Kind::Condition, conditionCursor_)); }
TfsmCond* TFSMScheme::NextCondition() { return static_cast<TfsmCond*>(IterNext(Kind::Condition, conditionCursor_)); }

std::vector<TfsmElement*> TFSMScheme::States() const {
    std::vector<TfsmElement*> r;
    for (TfsmEntity* e : entities_)
        if (!e->IsDeleted() && IsState(e)) r.push_back(static_cast<TfsmElement*>(e));
    return r;
}

std::vector<TfsmLink*> TFSMScheme::Transitions() const {
    std::vector<TfsmLink*> r;
    for (TfsmEntity* e : entities_)
        if (!e->IsDeleted() && IsTransition(e)) r.push_back(static_cast<TfsmLink*>(e));
    return r;
}

std::vector<TfsmCond*> TFSMScheme::Conditions() const {
    std::vector<TfsmCond*> r;
    for (TfsmEntity* e : entities_)
        if (!e->IsDeleted() && IsCondition(e)) r.push_back(static_cast<TfsmCond*>(e));
    return r;
}

// ---- hit tests and lookups --------------------------------------------------------

TfsmElement* TFSMScheme::StateAt(int x, int y) {
    for (TfsmElement* s : States())
        if (s->HitTest(x, y, false)) return s;
    return nullptr;
}

TfsmLink* TFSMScheme::TransitionAt(int x, int y) {
    for (TfsmLink* t : Transitions())
        if (t->HitTest(x, y, false)) return t;
    return nullptr;
}

int TFSMScheme::HitTestAny(int x, int y) {
    bool any = false;
    for (TfsmEntity* e : std::vector<TfsmEntity*>(entities_)) {
        if (e->IsDeleted() || !e->HitTest(x, y, false)) continue;
        if (e->IsSelected()) return 1;
        any = true;
    }
    return any ? 2 : 0;
}

TfsmEntity* TFSMScheme::FindById(int id, bool searchRemoved) const {
    for (TfsmEntity* e : entities_)
        if (e->GetId() == id) return e;
    if (searchRemoved)
        for (TfsmEntity* e : removed_)
            if (e->GetId() == id) return e;
    return nullptr;
}

TfsmEntity* TFSMScheme::FindByNumber(int number) const {
    for (TfsmEntity* e : entities_)
        if (!e->IsDeleted() && e->GetNumber() == number) return e;
    return nullptr;
}

// ---- creation ------------------------------------------------------------------------

TfsmElement* TFSMScheme::CreateState() {
    auto* s = new TfsmElement(this);
    Add(s, false);
    SetModified(true);
    return s;
}

TfsmLink* TFSMScheme::CreateTransition() {
    auto* t = new TfsmLink(this);
    Add(t, false);
    SetModified(true);
    return t;
}

TfsmLink* TFSMScheme::CreateTransition4(int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3) {
    if (x0 == x3 && y0 == y3) return nullptr;
    TfsmLink* t = CreateTransition();
    const int xs[4] = {x0, x1, x2, x3}, ys[4] = {y0, y1, y2, y3};
    for (int i = 0; i < 4; ++i) {
        t->SetPointX(i, xs[i]);
        t->SetPointY(i, ys[i]);
    }
    return t;
}

TfsmLink* TFSMScheme::CreateTransition2(int x0, int y0, int x3, int y3) {
    if (x0 == x3 && y0 == y3) return nullptr;
    TfsmLink* t = CreateTransition();
    t->SetPointX(0, x0);
    t->SetPointY(0, y0);
    t->SetPointX(3, x3);
    t->SetPointY(3, y3);
    t->SetStraight(true);
    return t;
}

TfsmCond* TFSMScheme::CreateTransitionCondition(TfsmElement* owner) {
    auto* c = new TfsmCond(this);
    Add(c, false);
    c->SetOwner(owner);
    SetModified(true);
    return c;
}

TfsmCond* TFSMScheme::CreateStateCondition(TfsmElement* owner) { return CreateTransitionCondition(owner); }

TfsmResetLink* TFSMScheme::AddResetLink() {
    if (reset_) return nullptr;
    auto* r = new TfsmResetLink(this);
    Add(r, false);
    SetModified(true);
    return r;
}

// ---- editing --------------------------------------------------------------------------

void TFSMScheme::Add(TfsmEntity* e, bool restoring) {
    if (!e || Contains(entities_, e)) return;
    auto place = restoring ? removedPlace_.find(e) : removedPlace_.end();
    if (place != removedPlace_.end() && place->second.entity <= entities_.size())
        entities_.insert(entities_.begin() + std::ptrdiff_t(place->second.entity), e);
    else
        entities_.push_back(e);
    if (!restoring) {
        e->SetId(idCounter_++);
        undo_->Push(TfsmUndoList::kInserted, e);
    } else {
        TakeOffRemoved(e);
        e->SetDeleted(false);
    }
    if (auto* r = dynamic_cast<TfsmResetLink*>(e)) reset_ = r;
}

void TFSMScheme::TakeOffRemoved(TfsmEntity* e) { Erase(removed_, e); }

void TFSMScheme::Remove(TfsmEntity* e) {
    if (e && e == reset_) reset_ = nullptr;
    Erase(entities_, e);
    Erase(selection_, e);
}

void TFSMScheme::DetachForRemoval(TfsmEntity* e) {
    Erase(selection_, e);
    if (e == currentState_) SetCurrentState(nullptr);
    if (e == initial_) initial_ = nullptr;
    if (e == reset_) reset_ = nullptr;
    if (auto* t = dynamic_cast<TfsmLink*>(e)) {
        // The transition keeps its ends, so an undo can put it back.
        TPlace& place = removedPlace_[t];
        place.outgoing = t->GetSource() ? t->GetSource()->RemoveOutgoing(t) : -1;
        place.incoming = t->GetTarget() ? t->GetTarget()->RemoveIncoming(t) : -1;
    } else if (auto* c = dynamic_cast<TfsmCond*>(e)) {
        if (c->GetOwner() && c->GetOwner()->GetCondition() == c) c->GetOwner()->SetCondition(nullptr);
    }
}

void TFSMScheme::DeleteSelected() {
    undo_->BeginGroup();
    // What goes: the selection, every transition attached to a state that
    // goes, and the box of everything that goes.
    std::vector<TfsmEntity*> doomed;
    auto take = [&](TfsmEntity* e) {
        if (e && IsLive(e) && !Contains(doomed, e)) doomed.push_back(e);
    };
    for (TfsmEntity* e : selection_) take(e);
    for (std::size_t i = 0; i < doomed.size(); ++i) {
        if (IsState(doomed[i])) {
            auto* s = static_cast<TfsmElement*>(doomed[i]);
            for (TfsmLink* l : s->Incoming()) take(l);
            for (TfsmLink* l : s->Outgoing()) take(l);
        }
    }
    for (std::size_t i = 0, n = doomed.size(); i < n; ++i)
        if (auto* el = dynamic_cast<TfsmElement*>(doomed[i])) take(el->GetCondition());
    for (TfsmEntity* e : doomed) {
        try {
            e->Hide();
        } catch (const Exception&) {
            ReportFsmInternalError("fsmScheme", __LINE__);
        }
    }
    // Transitions leave their states' lists before the states go, so that
    // the states keep nothing and the transitions keep their ends.
    for (TfsmEntity* e : doomed)
        if (IsTransition(e)) DetachForRemoval(e);
    for (TfsmEntity* e : doomed)
        if (!IsTransition(e)) DetachForRemoval(e);
    for (TfsmEntity* e : doomed) {
        undo_->Push(TfsmUndoList::kDeleted, e);
        removedPlace_[e].entity = std::size_t(std::find(entities_.begin(), entities_.end(), e) - entities_.begin());
        Erase(entities_, e);
        e->SetDeleted(true);
        removed_.push_back(e);
    }
    selection_.clear();
    SetModified(true);
}

void TFSMScheme::ForgetEverywhere(TfsmEntity* gone) {
    auto forget = [&](TfsmEntity* e) {
        if (e == gone) return;
        if (auto* l = dynamic_cast<TfsmLink*>(e)) l->ForgetState(dynamic_cast<TfsmElement*>(gone));
        if (auto* el = dynamic_cast<TfsmElement*>(e)) {
            if (el->GetCondition() == gone) el->SetCondition(nullptr);
            if (auto* l = dynamic_cast<TfsmLink*>(gone)) {
                el->RemoveIncoming(l);
                el->RemoveOutgoing(l);
            }
        }
        if (auto* c = dynamic_cast<TfsmCond*>(e))
            if (c->GetOwner() == gone) c->DropOwner();
    };
    for (TfsmEntity* e : entities_) forget(e);
    for (TfsmEntity* e : removed_) forget(e);
}

void TFSMScheme::UndoInsertion(TfsmEntity* e) {
    e->Hide();
    DetachForRemoval(e);
    Remove(e);
    TakeOffRemoved(e);
    removedPlace_.erase(e);
    ForgetEverywhere(e);
    if (IsTransition(e)) {
        delete e;
    } else {
        // Kept until the document is cleared: the window may still hold it.
        e->SetDeleted(true);
        removed_.push_back(e);
    }
}

void TFSMScheme::ReattachRestored(const std::vector<TfsmEntity*>& restored) {
    // In the order the undo brought them back, the reverse of their
    // deletion: each transition takes its old place in its states' lists.
    for (TfsmEntity* e : restored) {
        if (auto* t = dynamic_cast<TfsmLink*>(e)) {
            const auto place = removedPlace_.find(t);
            const int out = place != removedPlace_.end() ? place->second.outgoing : -1;
            const int in = place != removedPlace_.end() ? place->second.incoming : -1;
            if (TfsmElement* s = t->GetSource()) {
                if (IsLive(s)) s->AddOutgoing(t, out);
                else t->ForgetState(s);
            }
            if (TfsmElement* s = t->GetTarget()) {
                if (IsLive(s)) s->AddIncoming(t, in);
                else t->ForgetState(s);
            }
        }
    }
    for (TfsmEntity* e : restored) removedPlace_.erase(e);
    for (TfsmEntity* e : restored) {
        if (auto* c = dynamic_cast<TfsmCond*>(e)) {
            TfsmElement* owner = c->GetOwner();
            if (owner && IsLive(owner) && (!owner->GetCondition() || owner->GetCondition() == c))
                owner->SetCondition(c);
            else if (owner)
                c->DropOwner();
        }
    }
    for (TfsmEntity* e : restored) {
        e->SetDeleted(false);
        e->Show();
    }
}

void TFSMScheme::Clear() {
    for (TfsmEntity* e : entities_) e->Hide();
    for (TfsmEntity* e : entities_) {
        e->SetDeleted(true);
        delete e;
    }
    for (TfsmEntity* e : removed_) delete e;
    entities_.clear();
    removed_.clear();
    removedPlace_.clear();
    selection_.clear();
    reset_ = nullptr;
    initial_ = nullptr;
    currentState_ = nullptr;
    // Records about freed entities could name new ones once ids start again.
    undo_->Clear();
    inputs_.Clear();
    outputs_.Clear();
    inputCount_ = outputCount_ = 0;
    ShowSignalsInWindow();
}

void TFSMScheme::MoveSelection(int dx, int dy) {
    for (TfsmEntity* e : std::vector<TfsmEntity*>(selection_)) e->Move(dx, dy);
}

void TFSMScheme::CommitSelection() {
    for (TfsmEntity* e : std::vector<TfsmEntity*>(selection_)) e->CommitPosition();
}

void TFSMScheme::EndDragSelection() {
    for (TfsmEntity* e : std::vector<TfsmEntity*>(selection_)) {
        try {
            e->EndDrag();
        } catch (const Exception&) {
            ReportFsmInternalError("fsmScheme", __LINE__);
        }
    }
    for (TfsmLink* t : Transitions()) {
        try {
            t->EndDrag();
        } catch (const Exception&) {
            ReportFsmInternalError("fsmScheme", __LINE__);
        }
    }
}

void TFSMScheme::EditSelectedProperties() {
    for (TfsmEntity* e : std::vector<TfsmEntity*>(selection_)) {
        try {
            if (e->Properties()) SetModified(true);
        } catch (const Exception&) {
            ReportFsmInternalError("fsmScheme", __LINE__);
        }
    }
}

// ---- selection ---------------------------------------------------------------------

void TFSMScheme::ClearSelection() {
    // Every flag that changes a picture changes while the picture is off the
    // canvas: first hide what will look different, then change, then show.
    std::vector<TfsmEntity*> changing;
    for (TfsmEntity* e : entities_)
        if (e->IsSelected() || e->IsMarked() || e->IsChanged()) changing.push_back(e);
    for (TfsmEntity* e : entities_)
        if (auto* c = dynamic_cast<TfsmCond*>(e))
            if (c->GetOwner() && Contains(changing, static_cast<TfsmEntity*>(c->GetOwner())) && !Contains(changing, e))
                changing.push_back(e);
    for (TfsmEntity* e : changing) e->Hide();
    for (TfsmEntity* e : changing) {
        e->SetMarked(false);
        e->SetChanged(false);
    }
    for (TfsmEntity* e : changing) e->SetSelected(false);
    for (TfsmEntity* e : entities_)
        if (!e->IsDeleted()) e->Show();
    selection_.clear();
}

void TFSMScheme::SelectAt(int x, int y, bool select) {
    selection_.clear();
    for (TfsmEntity* e : std::vector<TfsmEntity*>(entities_))
        if (!e->IsDeleted() && e->HitTest(x, y, false)) AddToSelection(e, select);
}

void TFSMScheme::SelectInRect(bool select, const TRect& r) {
    selection_.clear();
    for (TfsmEntity* e : std::vector<TfsmEntity*>(entities_)) {
        if (!e->IsDeleted() && e->HitTestRect(r, false)) {
            AddToSelection(e, select);
            e->SetMarked(true);
        }
    }
}

bool TFSMScheme::AddToSelection(TfsmEntity* e, bool select) {
    if (!e) return false;
    if (!Contains(selection_, e)) selection_.push_back(e);
    e->SetSelected(select);
    return true;
}

bool TFSMScheme::SelectionHasNonTransition() const {
    return std::any_of(selection_.begin(), selection_.end(), [](TfsmEntity* e) { return !IsTransition(e); });
}

void TFSMScheme::GetSelectionRect(TRect* r) const {
    const FsmSettings s = CurrentFsmSettings();
    *r = TRect(s.SheetWidth, s.SheetHeight, 0, 0);
    for (TfsmEntity* e : selection_) {
        r->Left = std::min(r->Left, e->GetX());
        r->Top = std::min(r->Top, e->GetY());
        r->Right = std::max(r->Right, e->GetX() + 20);
        r->Bottom = std::max(r->Bottom, e->GetY() + 20);
    }
}

// ---- view ------------------------------------------------------------------------------

void TFSMScheme::SetZoom(int percent) {
    if (percent < kMinZoom || percent > kMaxZoom) return;
    zoom_ = percent;
    if (window_) window_->ShowZoom(percent);
}

void TFSMScheme::Paint() {
    for (TfsmEntity* e : entities_) {
        if (!e->IsShown()) continue;
        try {
            e->Draw();
        } catch (const Exception&) {
            ReportFsmInternalError("fsmScheme", __LINE__);
        }
    }
}

void TFSMScheme::GetExtent(int* maxX, int* maxY) const {
    for (TfsmEntity* e : entities_) {
        if (e->IsDeleted()) continue;
        if (IsState(e)) {
            auto* s = static_cast<TfsmElement*>(e);
            *maxX = std::max(*maxX, s->GetX() + s->GetWidth());
            *maxY = std::max(*maxY, s->GetY() + s->GetHeight());
        } else if (IsTransition(e)) {
            auto* t = static_cast<TfsmLink*>(e);
            *maxX = std::max(*maxX, t->GetRight());
            *maxY = std::max(*maxY, t->GetBottom());
        }
    }
}

// ---- state of the file ----------------------------------------------------------------

void TFSMScheme::UpdateCaption() {
    if (window_) window_->ShowCaption(modified_ ? fileName_ + "*" : fileName_);
}

void TFSMScheme::SetFileName(const AnsiString& name) {
    ++changes_;
    fileName_ = name;
    UpdateCaption();
}

AnsiString TFSMScheme::GetName() const { return ExtractFileName(fileName_); }

void TFSMScheme::SetModified(bool modified) {
    ++changes_;
    if (modified == modified_) return;
    modified_ = modified;
    UpdateCaption();
}

// ---- signals --------------------------------------------------------------------------------

void TFSMScheme::ShowSignalsInWindow() {
    if (window_) window_->ShowSignals(inputs_, outputs_);
}

bool TFSMScheme::AddInput(const AnsiString& name) {
    if (inputCount_ >= fsmfile::kMaxSignals) return false;
    inputs_.Add(name);
    ++inputCount_;
    return true;
}

bool TFSMScheme::AddOutput(const AnsiString& name) {
    if (outputCount_ >= fsmfile::kMaxSignals) return false;
    outputs_.Add(name);
    ++outputCount_;
    return true;
}

void TFSMScheme::SetInputs(const TStrings* names) {
    inputs_.Clear();
    inputCount_ = 0;
    if (names)
        for (int i = 0; i < names->Count(); ++i) AddInput(names->Get(i));
}

void TFSMScheme::SetOutputs(const TStrings* names) {
    outputs_.Clear();
    outputCount_ = 0;
    if (names)
        for (int i = 0; i < names->Count(); ++i) AddOutput(names->Get(i));
}

void TFSMScheme::SetPins(const TStrings* inputs, const TStrings* outputs) {
    SetInputs(inputs);
    SetOutputs(outputs);
    ShowSignalsInWindow();
}

void TFSMScheme::SetInputCount(int n) { inputCount_ = std::clamp(n, 0, fsmfile::kMaxSignals); }
void TFSMScheme::SetOutputCount(int n) { outputCount_ = std::clamp(n, 0, fsmfile::kMaxSignals); }

void TFSMScheme::AddInputSignal() {
    for (TfsmLink* t : Transitions()) t->AddSignal();
}

void TFSMScheme::RemoveInputSignal(int i) {
    for (TfsmLink* t : Transitions()) t->RemoveSignal(i);
}

void TFSMScheme::AddOutputSignal() {
    for (TfsmElement* s : States()) s->AddSignal();
}

void TFSMScheme::RemoveOutputSignal(int i) {
    for (TfsmElement* s : States()) s->RemoveSignal(i);
}
