#include "fsm/FSMElement.h"

#include <algorithm>
#include <cmath>

#include "fsm/FSMCondBox.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmRecords.h"
#include "fsm/FsmSettings.h"
#include "fsm/FsmTable.h"
#include "fsm/fsmScheme.h"
#include "platform/StringList.h"

TfsmElement::TfsmElement(TFSMScheme* owner) : TfsmEntity(owner) {
    const FsmSettings s = CurrentFsmSettings();
    radius_ = s.StateRadius;
    width_ = height_ = 2 * radius_;
    activeColor_ = s.ActiveStateColor;
    name_ = "Element";
    color_ = s.StateColor;
}

TfsmElement::~TfsmElement() { Hide(); }

void TfsmElement::Move(int dx, int dy) {
    Redrawn([&] {
        x_ += dx;
        y_ += dy;
        changed_ = true;
        if (condition_) condition_->SetCoords(dx, dy, 0, 0);
    });
}

bool TfsmElement::Properties() {
    IFsmWindow* w = owner_ ? owner_->GetWindow() : nullptr;
    if (!w) return false;
    AnsiString name = name_;
    if (!w->EditStateName(name)) return false;
    SetName(name);
    return true;
}

void TfsmElement::LoadFromStream(ByteReader& r) {
    const fsmfile::StateRecord rec = fsmfile::StateRecord::Read(r);
    // Placed directly rather than moved: a loaded state is not being dragged.
    Redrawn([&] {
        x_ = rec.X;
        y_ = rec.Y;
        name_ = rec.Name;
    });
    number_ = rec.Number;
}

void TfsmElement::SaveToStream(ByteWriter& w) {
    w.U8(fsmfile::kTagState);
    fsmfile::StateRecord rec;
    rec.Number = number_;
    rec.X = x_;
    rec.Y = y_;
    rec.Name = name_;
    rec.Write(w);
}

bool TfsmElement::HitTest(int x, int y, bool select) {
    if (deleted_) return false;
    const long long dx = x - x_, dy = y - y_, r = radius_;
    const bool hit = dx * dx + dy * dy < r * r;
    if (select) SetSelected(hit);
    return hit;
}

bool TfsmElement::HitTestRect(const TRect& r, bool select) {
    if (deleted_) return false;
    const int l = GetX(), t = GetY(), rt = GetRight(), b = GetBottom();
    const bool hit = PtInRect(r, TPoint(l, t)) && PtInRect(r, TPoint(rt, t)) && PtInRect(r, TPoint(rt, b)) &&
                     PtInRect(r, TPoint(l, b));
    if (select) SetSelected(hit);
    return hit;
}

void TfsmElement::EndDrag() {
    const bool was = shown_;
    Hide();
    changed_ = false;
    // Each transition re-snaps its end to the moved circle.
    const std::vector<TfsmLink*> in = incoming_, out = outgoing_;
    for (TfsmLink* l : in) l->SetTarget(this);
    for (TfsmLink* l : out) l->SetSource(this);
    if (was) Show();
}

void TfsmElement::Translate(TStrings* out) {
    using namespace fsmtable;
    // The output value as it stands: the translation library reads a
    // don't-care output 'X' as 0.
    const AnsiString value = ConditionText(this);
    AnsiString row = "%%" + Pad(value, PadCount(value.Length()), '0') + ";";
    out->Add("%~" + IntToStr(OutgoingCount()) + " ");
    if (outgoing_.empty()) {
        out->Add(row);
        return;
    }
    const int pad = PadCount(ConditionText(outgoing_.front()).Length());
    for (TfsmLink* l : outgoing_) {
        const AnsiString item = ValueMaskItem(ConditionText(l), pad, l->GetTarget());
        if (row.Length() + item.Length() >= TFSMScheme::kRowLimit) {
            out->Add(row);
            row = "%%" + item;
        } else {
            row += item;
        }
    }
    out->Add(row);
}

void TfsmElement::SetX(int x) { Move(x - GetX(), 0); }
void TfsmElement::SetY(int y) { Move(0, y - GetY()); }

void TfsmElement::SetRight(int x) { SetWidth(x - GetX()); }
void TfsmElement::SetBottom(int y) { SetHeight(y - GetY()); }
int TfsmElement::GetRight() const { return GetX() + GetWidth(); }
int TfsmElement::GetBottom() const { return GetY() + GetHeight(); }
int TfsmElement::GetWidth() const { return width_; }
int TfsmElement::GetHeight() const { return height_; }

void TfsmElement::SetWidth(int w) {
    Redrawn([&] { width_ = w; });
}

void TfsmElement::SetHeight(int h) {
    Redrawn([&] { height_ = h; });
}

void TfsmElement::SetActive(bool v) {
    if (v == active_) return;
    Redrawn([&] { active_ = v; });
}

namespace {
void AddOnce(std::vector<TfsmLink*>& list, TfsmLink* l, int at) {
    if (std::find(list.begin(), list.end(), l) != list.end()) return;
    if (at >= 0 && at <= int(list.size())) list.insert(list.begin() + at, l);
    else list.push_back(l);
}

int RemoveFrom(std::vector<TfsmLink*>& list, TfsmLink* l) {
    auto it = std::find(list.begin(), list.end(), l);
    if (it == list.end()) return -1;
    const int at = int(it - list.begin());
    list.erase(it);
    return at;
}
} // namespace

void TfsmElement::AddIncoming(TfsmLink* l, int at) { AddOnce(incoming_, l, at); }

int TfsmElement::RemoveIncoming(TfsmLink* l) { return RemoveFrom(incoming_, l); }

void TfsmElement::AddOutgoing(TfsmLink* l, int at) { AddOnce(outgoing_, l, at); }

int TfsmElement::RemoveOutgoing(TfsmLink* l) { return RemoveFrom(outgoing_, l); }

namespace {
TfsmLink* At(const std::vector<TfsmLink*>& list, int i) {
    return i >= 0 && i < int(list.size()) ? list[std::size_t(i)] : nullptr;
}
} // namespace

TfsmLink* TfsmElement::FirstIncoming() {
    inCursor_ = 0;
    return At(incoming_, 0);
}

TfsmLink* TfsmElement::NextIncoming() { return At(incoming_, ++inCursor_); }

TfsmLink* TfsmElement::FirstOutgoing() {
    outCursor_ = 0;
    return At(outgoing_, 0);
}

TfsmLink* TfsmElement::NextOutgoing() { return At(outgoing_, ++outCursor_); }

void TfsmElement::EdgePoint(double x, double y, double* ox, double* oy) const {
    const double cx = x_, cy = y_;
    if (x == cx && y == cy) y += 1;
    const double slope = x != cx ? (y - cy) / (x - cx) : (y - cy) * 1000000;
    const double a = std::atan(slope);
    double dx = (radius_ - 2) * std::cos(a), dy = (radius_ - 2) * std::sin(a);
    if (x < cx) {
        dx = -dx;
        dy = -dy;
    }
    *ox = cx + dx;
    *oy = cy + dy;
}

bool TfsmElement::AddSignal() {
    if (condition_) condition_->SetText("0" + condition_->GetText());
    return true;
}

bool TfsmElement::RemoveSignal(int i) {
    if (condition_) {
        AnsiString t = condition_->GetText();
        const int pos = t.Length() - i;
        if (pos >= 1 && pos <= t.Length()) {
            t.Delete(pos, 1);
            condition_->SetText(t);
        }
    }
    return true;
}
