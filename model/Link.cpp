#include "model/Link.h"

#include <algorithm>
#include <cstdlib>

#include "model/Painter.h"
#include "model/SchemeSettings.h"

TLink::TLink(IEntityOwner* owner, int x1, int y1, int x2, int y2)
    : TEntity(owner), x1_(x1), y1_(y1), x2_(x2), y2_(y2) {}

void TLink::SetEnds(int x1, int y1, int x2, int y2) {
    if (x1 == x1_ && y1 == y1_ && x2 == x2_ && y2 == y2_)
        return;
    Redrawn([&] {
        x1_ = x1;
        y1_ = y1;
        x2_ = x2;
        y2_ = y2;
        Changed = true;
    });
}

bool TLink::PassesThrough(int x, int y) const {
    if (HasEnd(x, y))
        return false;
    long long cross = (long long)(x2_ - x1_) * (y - y1_) - (long long)(y2_ - y1_) * (x - x1_);
    if (cross != 0)
        return false;
    return x >= std::min(x1_, x2_) && x <= std::max(x1_, x2_) && y >= std::min(y1_, y2_) && y <= std::max(y1_, y2_);
}

int TLink::GetX() const { return std::min(x1_, x2_); }
int TLink::GetY() const { return std::min(y1_, y2_); }
int TLink::GetWidth() const { return std::abs(x2_ - x1_); }
int TLink::GetHeight() const { return std::abs(y2_ - y1_); }

void TLink::SetX(int x) {
    int dx = x - GetX();
    SetEnds(x1_ + dx, y1_, x2_ + dx, y2_);
}

void TLink::SetY(int y) {
    int dy = y - GetY();
    SetEnds(x1_, y1_ + dy, x2_, y2_ + dy);
}

void TLink::Move(int dx, int dy) { SetEnds(x1_ + dx, y1_ + dy, x2_ + dx, y2_ + dy); }

TRect TLink::Bounds() const { return Rect(GetX(), GetY(), GetX() + GetWidth(), GetY() + GetHeight()); }

bool TLink::HitTest(int x, int y) const {
    // Within 2 units of the segment.
    long long dx = x2_ - x1_, dy = y2_ - y1_;
    long long px = x - x1_, py = y - y1_;
    long long len2 = dx * dx + dy * dy;
    double t = len2 == 0 ? 0.0 : std::clamp(double(px * dx + py * dy) / double(len2), 0.0, 1.0);
    double ex = double(px) - t * double(dx), ey = double(py) - t * double(dy);
    return ex * ex + ey * ey <= 4.0;
}

bool TLink::InRect(const TRect& r) const {
    TRect n = r.Normalized();
    auto inside = [&](int x, int y) { return x >= n.Left && x <= n.Right && y >= n.Top && y <= n.Bottom; };
    return inside(x1_, y1_) && inside(x2_, y2_);
}

void TLink::Save(ByteWriter& w) const {
    SaveBase(w);
    w.I32(x1_);
    w.I32(y1_);
    w.I32(x2_);
    w.I32(y2_);
    WriteRecordString(w, chainName_);
    w.I32(chainNumber_);
}

void TLink::Load(ByteReader& r) {
    LoadBase(r);
    x1_ = ReadRecordCoord(r);
    y1_ = ReadRecordCoord(r);
    x2_ = ReadRecordCoord(r);
    y2_ = ReadRecordCoord(r);
    chainName_ = ReadRecordString(r);
    chainNumber_ = r.I32();
    if (chainNumber_ < 0)
        throw EReadError("chain number out of range");
}

bool TLink::Properties() { return RunDialog(TPropertyDialog::Link); }

TColor TLink::CurrentColor() const { return TEntity::CurrentColor(); }

void TLink::Paint(TPainter& painter) const {
    TColor color = painter.Mode() == TPaintMode::Invert ? drawnColor_ : CurrentColor();
    painter.Line(x1_, y1_, x2_, y2_, color);
}

// ---- connection points -----------------------------------------------------------

TRect TEPoint::Bounds() const { return Rect(x_ - 2, y_ - 2, x_ + 2, y_ + 2); }

TColor TEPoint::CurrentColor() const { return schemesettings::JunctionColor(); }

void TEPoint::Paint(TPainter& painter) const {
    painter.Disc(x_, y_, 2, painter.Mode() == TPaintMode::Invert ? drawnColor_ : CurrentColor());
}

// ---- chains ---------------------------------------------------------------------------

void TChain::SetName(const AnsiString& name) {
    for (TLink* link : Links)
        link->SetChain(name, 0);
    name_ = name;
    number_ = 0;
    if (scheme_)
        scheme_->SetModified(true);
}

AnsiString TChain::GeneratedName(int number) { return Format("_chain%6.6d", number); }
