#include "fsm/FSMLink.h"

#include <algorithm>
#include <cmath>

#include "fsm/FSMCondBox.h"
#include "fsm/FsmRecords.h"
#include "fsm/FsmSettings.h"
#include "fsm/fsmScheme.h"

namespace {
constexpr double kPi = 3.141592653;
// A press takes a transition within four screen pixels of its drawn curve,
// and two document units more: the press comes to whole units and the curve
// is drawn from a picture of whole units stretched to the zoom, each rounding
// worth up to a unit.
constexpr double kPressReachPixels = 4;
constexpr double kRoundingUnits = 2;

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}
} // namespace

TfsmLink::TfsmLink(TFSMScheme* owner) : TfsmElement(owner) {
    name_ = "Transition";
    color_ = CurrentFsmSettings().TransitionColor;
}

TfsmLink::~TfsmLink() { Hide(); }

int TfsmLink::GetX() const {
    int v = 650000;
    for (int x : px_) v = std::min(v, x);
    return v;
}

int TfsmLink::GetY() const {
    int v = 650000;
    for (int y : py_) v = std::min(v, y);
    return v;
}

int TfsmLink::GetRight() const {
    int v = 0;
    for (int x : px_) v = std::max(v, x);
    return v;
}

int TfsmLink::GetBottom() const {
    int v = 0;
    for (int y : py_) v = std::max(v, y);
    return v;
}

void TfsmLink::SetPointX(int i, int x) {
    if (i >= 0 && i < 4) px_[i] = x;
}

int TfsmLink::GetPointX(int i) const { return i >= 0 && i < 4 ? px_[i] : 0; }

void TfsmLink::SetPointY(int i, int y) {
    if (i >= 0 && i < 4) py_[i] = y;
}

int TfsmLink::GetPointY(int i) const { return i >= 0 && i < 4 ? py_[i] : 0; }

void TfsmLink::SetStraight(bool s) {
    straight_ = s;
    if (!s) return;
    const long long dx = (long long)px_[3] - px_[0], dy = (long long)py_[3] - py_[0];
    px_[1] = int(px_[0] + dx / 3);
    py_[1] = int(py_[0] + dy / 3);
    px_[2] = int(px_[0] + 2 * dx / 3);
    py_[2] = int(py_[0] + 2 * dy / 3);
}

void TfsmLink::Move(int dx, int dy) {
    const bool s = straight_;
    const bool whole = dragMask_ == 0 || marked_;
    Redrawn([&] {
        for (int i = 0; i < 4; ++i) {
            if (whole || (dragMask_ & (1 << i))) {
                px_[i] += dx;
                py_[i] += dy;
            }
        }
        if (!whole) {
            switch (dragMask_) {
            case 1:
            case 8: SetStraight(s); break;
            case 2: SetStraight(NearSegment(px_[1], py_[1], px_[0], py_[0], px_[3], py_[3]) ? s : false); break;
            case 4: SetStraight(NearSegment(px_[2], py_[2], px_[0], py_[0], px_[3], py_[3]) ? s : false); break;
            default: SetStraight(false); break;
            }
        }
    });
    if (whole && condition_) condition_->SetCoords(dx, dy, 0, 0);
}

void TfsmLink::BezierPoint(double t, double* x, double* y, bool inPicture) const {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    *x = a * px_[0] + b * px_[1] + c * px_[2] + d * px_[3];
    *y = a * py_[0] + b * py_[1] + c * py_[2] + d * py_[3];
    if (inPicture) {
        *x += 10 - GetX();
        *y += 10 - GetY();
    }
}

bool TfsmLink::HitCurve(double x, double y) const {
    const double T = GetY(), B = GetBottom();
    auto near2 = [](double a, double b) { return std::fabs(a - b) < 2; };
    if (near2(px_[0], px_[3]) && near2(px_[0], px_[1]) && near2(px_[0], px_[2]) && T < py_[1] && py_[1] < B &&
        T < py_[2] && py_[2] < B && T < y && y < B && near2(px_[0], x))
        return true;
    double t = 0, Px, Py;
    BezierPoint(0, &Px, &Py, false);
    do {
        t += 0.1;
        double Qx, Qy;
        BezierPoint(t, &Qx, &Qy, false);
        const double dx = Qx - Px, dy = Qy - Py;
        if (std::fabs(dx) < 0.01) {
            if (std::fabs(x - Px) < 5 && std::min(Py, Qy) < y && y < std::max(Py, Qy)) return true;
        } else {
            const double k = dy / dx;
            const bool nearLine = std::fabs(y - (k * (x - Px) + Py)) < 6 || (k != 0 && std::fabs(x - ((y - Py) / k + Px)) < 4);
            if (nearLine && std::min(Px, Qx) < x && x < std::max(Px, Qx)) return true;
        }
        Px = Qx;
        Py = Qy;
    } while (t <= 0.9);
    return false;
}

bool TfsmLink::NearCurve(double x, double y, double reach) const {
    // Pieces of about four units follow the curve to well under a unit.
    double length = 0;
    for (int i = 0; i < 3; ++i) length += std::hypot(double(px_[i + 1]) - px_[i], double(py_[i + 1]) - py_[i]);
    const int pieces = int(std::clamp(length / 4, 16.0, 16384.0));
    double Px, Py;
    BezierPoint(0, &Px, &Py, false);
    for (int i = 1; i <= pieces; ++i) {
        double Qx, Qy;
        BezierPoint(double(i) / pieces, &Qx, &Qy, false);
        if (SegmentDistance(x, y, Px, Py, Qx, Qy) < reach) return true;
        Px = Qx;
        Py = Qy;
    }
    return false;
}

bool TfsmLink::NearSegment(double x, double y, double ax, double ay, double bx, double by) {
    const double k = bx != ax ? (by - ay) / (bx - ax) : 1000000;
    return std::min(ax, bx) - 4 < x && x < std::max(ax, bx) + 4 && std::fabs(y - (k * x + ay - k * ax)) < 4;
}

bool TfsmLink::HitHandles(int x, int y) {
    dragMask_ = 0;
    for (int i = 0; i < 4; ++i)
        if (std::abs(x - px_[i]) < 10 && std::abs(y - py_[i]) < 10) dragMask_ |= 1 << i;
    if (dragMask_ == 0 && selected_) {
        if (NearSegment(x, y, px_[0], py_[0], px_[1], py_[1])) dragMask_ = 3;
        else if (NearSegment(x, y, px_[3], py_[3], px_[2], py_[2])) dragMask_ = 12;
    }
    return dragMask_ != 0;
}

bool TfsmLink::HitTest(int x, int y, bool select) {
    if (deleted_) return false;
    if (selected_ && HitHandles(x, y)) return true;
    // The chord tests alone miss a steep transition almost everywhere (their
    // band is cut to the chord's x-span) and give a curve at a small zoom no
    // more than a pixel or two: a press near the curve as drawn counts too.
    const int zoom = owner_ ? owner_->GetZoom() : 100;
    if (HitCurve(x, y) || (straight_ && NearSegment(x, y, px_[0], py_[0], px_[3], py_[3])) ||
        NearCurve(x, y, kPressReachPixels * 100 / std::max(zoom, 1) + kRoundingUnits)) {
        if (select) {
            SetSelected(true);
            dragMask_ = 0;
        }
        return true;
    }
    return false;
}

void TfsmLink::SetSource(TfsmElement* s) {
    if (IsReset()) s = nullptr; // the reset transition leads from everywhere
    ConnectEnd(0, s);
}

void TfsmLink::SetTarget(TfsmElement* s) { ConnectEnd(3, s); }

// End 0 (the source, aimed along point 1) or end 3 (the target, aimed along
// point 2): the old state forgets the transition, the new one learns of it
// and the end snaps onto its circle.
void TfsmLink::ConnectEnd(int end, TfsmElement* s) {
    TfsmElement*& current = end == 0 ? source_ : target_;
    const int aim = end == 0 ? 1 : 2;
    auto forget = [&](TfsmElement* st) { end == 0 ? st->RemoveOutgoing(this) : st->RemoveIncoming(this); };
    auto learn = [&](TfsmElement* st) { end == 0 ? st->AddOutgoing(this) : st->AddIncoming(this); };
    Redrawn([&] {
        if (current && current != s) forget(current);
        if (s) {
            double ox, oy;
            s->EdgePoint(px_[aim], py_[aim], &ox, &oy);
            px_[end] = int(ox);
            py_[end] = int(oy);
            if (s != current) learn(s);
        }
        current = s;
        if (straight_) SetStraight(true);
    });
}

void TfsmLink::ForgetState(TfsmElement* s) {
    if (!s || (s != source_ && s != target_)) return;
    Redrawn([&] {
        if (source_ == s) source_ = nullptr;
        if (target_ == s) target_ = nullptr;
    });
}

void TfsmLink::EndDrag() {
    if (!owner_) return;
    const bool was = shown_;
    Hide();
    Guarded(__FILE__, __LINE__, [&] {
        SetSource(owner_->StateAt(px_[0], py_[0]));
        SetTarget(owner_->StateAt(px_[3], py_[3]));
        TfsmEntity::EndDrag();
        if (condition_) {
            int ax, ay;
            ConditionAnchor(&ax, &ay);
            condition_->SetAnchor(ax, ay);
        }
    });
    if (was) Show();
}

void TfsmLink::ConditionAnchor(int* x, int* y) const {
    if (straight_) {
        *x = px_[2];
        *y = py_[2];
        return;
    }
    double ax, ay, ex, ey;
    BezierPoint(0.9, &ax, &ay, false);
    BezierPoint(1, &ex, &ey, false);
    double slope;
    if (ex == ax) slope = ey < ay ? 100000 : -100000;
    else slope = (ay - ey) / (ex - ax);
    double a = std::atan(slope);
    if (ex < ax) a += kPi;
    *x = int(px_[3] - 20 * std::cos(a));
    *y = int(py_[3] + 20 * std::sin(a));
}

void TfsmLink::TakeRecord(const fsmfile::TransitionRecord& rec, bool straightAlways) {
    Redrawn([&] {
        for (int i = 0; i < 4; ++i) {
            px_[i] = rec.X[i];
            py_[i] = rec.Y[i];
        }
        // A reset transition is always straight, whatever its control points were.
        if (straightAlways) SetStraight(true);
        else straight_ = rec.Straight != 0;
    });
    number_ = rec.Number;
    fileSource_ = rec.Source;
    fileTarget_ = rec.Target;
}

bool TfsmLink::EndOnCircle(int end, const TfsmElement* s) const {
    // A snap puts the end radius - 2 from the centre, rounded to whole units.
    const double d = std::hypot(double(px_[end]) - s->GetX(), double(py_[end]) - s->GetY());
    return std::fabs(d - (s->GetRadius() - 2)) <= 2;
}

void TfsmLink::AttachLoaded(TfsmElement* source, TfsmElement* target) {
    if (IsReset()) source = nullptr;
    Redrawn([&] {
        for (int end : {0, 3}) {
            TfsmElement* s = end == 0 ? source : target;
            if (!s) continue;
            if (!EndOnCircle(end, s)) {
                ConnectEnd(end, s);
                continue;
            }
            (end == 0 ? source_ : target_) = s;
            end == 0 ? s->AddOutgoing(this) : s->AddIncoming(this);
        }
    });
}

fsmfile::TransitionRecord TfsmLink::MakeRecord() const {
    fsmfile::TransitionRecord rec;
    rec.Number = number_;
    for (int i = 0; i < 4; ++i) {
        rec.X[i] = px_[i];
        rec.Y[i] = py_[i];
    }
    rec.Source = source_ ? source_->FileId() : 0;
    rec.Target = target_ ? target_->FileId() : 0;
    rec.Straight = straight_ ? 1 : 0;
    return rec;
}

void TfsmLink::LoadFromStream(ByteReader& r) { TakeRecord(fsmfile::TransitionRecord::Read(r), false); }

void TfsmLink::SaveToStream(ByteWriter& w) {
    w.U8(fsmfile::kTagTransition);
    MakeRecord().Write(w);
}

TfsmResetLink::TfsmResetLink(TFSMScheme* owner) : TfsmLink(owner) {}

TfsmResetLink::~TfsmResetLink() { Hide(); }

void TfsmResetLink::LoadFromStream(ByteReader& r) { TakeRecord(fsmfile::TransitionRecord::Read(r), true); }

void TfsmResetLink::SaveToStream(ByteWriter& w) {
    w.U8(fsmfile::kTagReset);
    fsmfile::TransitionRecord rec = MakeRecord();
    rec.Source = 0;
    rec.Straight = 0;
    rec.Write(w);
}
