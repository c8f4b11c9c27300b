#include "model/Entity.h"

#include "model/Painter.h"
#include "model/SchemeSettings.h"
#include "platform/UiPort.h"

TEntity::TEntity(IEntityOwner* owner) {
    scheme_ = owner ? owner->GetScheme() : nullptr;
    owner_ = scheme_ ? static_cast<IEntityOwner*>(scheme_) : owner;
}

TEntity::~TEntity() = default;

void TEntity::Draw() {
    if (!shown_)
        return;
    RememberDrawnState();
    PaintOnOwner();
}

void TEntity::DrawWith(TPainter& painter) {
    if (!shown_)
        return;
    RememberDrawnState();
    Paint(painter);
    painter.Flush();
}

void TEntity::HideWith(TPainter& painter) {
    if (!shown_)
        return;
    Paint(painter);
    shown_ = false;
}

void TEntity::ShowWith(TPainter& painter) {
    if (shown_)
        return;
    RememberDrawnState();
    Paint(painter);
    shown_ = true;
}

void TEntity::DrawNormal(TPainter& painter) const {
    Paint(painter);
    painter.Flush();
}

void TEntity::DrawTo(TCanvas* canvas, bool print, int zoom) {
    if (!canvas)
        return;
    TPainter painter(canvas, zoom, print ? TPaintMode::Print : TPaintMode::Normal);
    Paint(painter);
}

void TEntity::Move(int dx, int dy) {
    if (dx == 0 && dy == 0)
        return;
    Redrawn([&] {
        SetX(GetX() + dx);
        SetY(GetY() + dy);
    });
}

bool TEntity::Properties() { return false; }

void TEntity::Load(ByteReader& r) { LoadBase(r); }

void TEntity::Save(ByteWriter& w) const { SaveBase(w); }

bool TEntity::HitTest(int x, int y) const {
    TRect b = Bounds();
    return x >= b.Left && x <= b.Right && y >= b.Top && y <= b.Bottom;
}

bool TEntity::InRect(const TRect& r) const {
    TRect b = Bounds();
    TRect n = r.Normalized();
    return b.Left >= n.Left && b.Right <= n.Right && b.Top >= n.Top && b.Bottom <= n.Bottom;
}

void TEntity::Show() {
    if (shown_)
        return;
    RememberDrawnState();
    PaintOnOwner();
    shown_ = true;
}

void TEntity::Hide() {
    if (!shown_)
        return;
    PaintOnOwner();
    shown_ = false;
}

void TEntity::CommitPosition(IUndoRecorder* undo) {
    if (undo)
        undo->AddMove(this);
}

void TEntity::Translate(TStrings* lines) { (void)lines; }

void TEntity::SetX(int x) {
    if (x != GetX())
        Redrawn([&] {
            x_ = x;
            Changed = true;
        });
}

void TEntity::SetY(int y) {
    if (y != GetY())
        Redrawn([&] {
            y_ = y;
            Changed = true;
        });
}

void TEntity::SetName(const AnsiString& name) {
    if (name != name_)
        Redrawn([&] { name_ = name; });
}

void TEntity::SetVisible(bool visible) {
    if (visible)
        Show();
    else
        Hide();
}

void TEntity::SetSelected(bool selected) {
    if (selected != selected_)
        Redrawn([&] { selected_ = selected; });
}

void TEntity::SetMirrored(bool mirrored) {
    if (mirrored != Mirrored())
        Redrawn([&] {
            mirrored_ = mirrored ? 1 : 0;
            Changed = true;
        });
}

void TEntity::SetCustomColor(TColor color) {
    if (color != customColor_)
        Redrawn([&] { customColor_ = color; });
}

bool TEntity::IsDevice() const {
    switch (Kind()) {
    case TEntityKind::Link:
    case TEntityKind::Driver:
    case TEntityKind::VarDriver:
    case TEntityKind::Point:
    case TEntityKind::Pin:
        return false;
    default:
        return true;
    }
}

TRect TEntity::Bounds() const { return Rect(GetX(), GetY(), GetX() + GetWidth(), GetY() + GetHeight()); }

TColor TEntity::MarkedColor() const {
    if (selected_)
        return schemesettings::SelectedColor();
    return customColor_;
}

TColor TEntity::CurrentColor() const {
    TColor marked = MarkedColor();
    return marked != clNone ? marked : schemesettings::LinkColor();
}

void TEntity::RememberDrawnState() { drawnColor_ = CurrentColor(); }

void TEntity::PaintOnOwner() {
    TCanvas* canvas = owner_ ? owner_->GetCanvas() : nullptr;
    if (!canvas)
        return;
    TPainter painter(canvas, owner_->GetZoom(), TPaintMode::Invert);
    Paint(painter);
}

void TEntity::SaveBase(ByteWriter& w) const {
    WriteRecordString(w, name_);
    w.U8(mirrored_);
    w.I32(x_);
    w.I32(y_);
}

void TEntity::LoadBase(ByteReader& r) {
    name_ = ReadRecordString(r);
    mirrored_ = r.U8() ? 1 : 0;
    x_ = ReadRecordCoord(r);
    y_ = ReadRecordCoord(r);
}

bool TEntity::RunDialog(TPropertyDialog dialog) {
    IPropertyDialogs* dialogs = ModelHooks().Dialogs;
    if (!dialogs)
        return false;
    if (dialogs->Run(dialog, this) != mrOk)
        return false;
    StoreDialog(dialog);
    return true;
}

void TEntity::StoreDialog(TPropertyDialog dialog) {
    Redrawn([&] {
        ModelHooks().Dialogs->Store(dialog, this);
        Changed = false;
    });
    Touch();
}

void TEntity::Touch() {
    if (scheme_)
        scheme_->SetModified(true);
}

void WriteRecordString(ByteWriter& w, const AnsiString& s) {
    int n = s.Length() > kMaxRecordString ? kMaxRecordString : s.Length();
    w.U16(uint16_t(n));
    w.Bytes(s.data(), std::size_t(n));
}

AnsiString ReadRecordString(ByteReader& r) {
    int n = r.U16();
    if (n > kMaxRecordString)
        throw EReadError("record string too long");
    std::string_view bytes = r.Bytes(std::size_t(n));
    return AnsiString(bytes);
}

int ReadRecordCoord(ByteReader& r) {
    int v = r.I32();
    if (!CoordInRange(v))
        throw EReadError("position out of range");
    return v;
}
