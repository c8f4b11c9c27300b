#include "model/Element.h"

#include <algorithm>

#include "model/Link.h"
#include "model/Painter.h"
#include "model/SchemeSettings.h"
#include "platform/StringList.h"
#include "platform/UiPort.h"

TElement::TElement(IEntityOwner* owner, const AnsiString& label) : TEntity(owner) { SetLabel(label); }

TElement::TElement(IEntityOwner* owner, TEntityKind kind) : TEntity(owner) {
    const TElementKind& k = *FindElementKind(kind);
    SetLabel(k.Keyword);
    TEntity::SetName(k.Name);
    for (const TPinSpec& p : DefaultPins(kind)) {
        TInOut* pin = NewPin(p.Name, p.Direction);
        if (p.Inverse)
            pin->SetInverse(true);
    }
}

TElement::~TElement() = default;

// ---- pins ---------------------------------------------------------------------------

TInOut* TElement::FirstPin() {
    cursor_ = 0;
    return Pin(0);
}

TInOut* TElement::NextPin() {
    if (cursor_ < PinCount())
        ++cursor_;
    return Pin(cursor_);
}

TInOut* TElement::Pin(int index) const {
    return index >= 0 && index < PinCount() ? pins_[std::size_t(index)].get() : nullptr;
}

int TElement::PinIndex(const TInOut* pin) const {
    for (int i = 0; i < PinCount(); ++i)
        if (pins_[std::size_t(i)].get() == pin)
            return i;
    return -1;
}

TInOut* TElement::NewPin(const AnsiString& name, int direction) {
    auto pin = std::make_unique<TInOut>(this, direction);
    pin->TEntity::SetName(name);
    pins_.push_back(std::move(pin));
    return pins_.back().get();
}

void TElement::RebuildSchemeNets() {
    if (scheme_)
        scheme_->RebuildNets();
}

std::vector<TPinTip> TElement::PinTips() const {
    std::vector<TPinTip> tips;
    for (const auto& p : pins_)
        tips.push_back({p->Name(), p->Direction(), p->TipX(), p->TipY()});
    return tips;
}

void TElement::FollowPinsByName(const std::vector<TPinTip>& before, const AnsiString& fileName) {
    if (!scheme_)
        return;
    const std::vector<AnsiString> lost = scheme_->FollowPins(this, before);
    if (lost.empty())
        return;
    AnsiString names;
    for (const AnsiString& n : lost)
        names += (names.IsEmpty() ? AnsiString() : AnsiString(", ")) + n;
    ShowMessage("В файле "_a + fileName + " больше нет сигналов "_a + names + " элемента "_a + Name() +
                ": их провода оставлены неподключёнными."_a);
}

TInOut* TElement::AddPin() {
    TInOut* pin = nullptr;
    ChangePins([&] {
        pin = NewPin("In", 0);
        pin->SetOffsetX(-10);
        pin->SetOffsetY(GetHeight());
    });
    return pin;
}

void TElement::DeletePin(int index) {
    if (index < 0 || index >= PinCount())
        return;
    ChangePins([&] {
        pins_.erase(pins_.begin() + index);
        FitHeight();
    });
    Touch();
}

int TElement::InputCount() const {
    return int(std::count_if(pins_.begin(), pins_.end(), [](const auto& p) { return p->Direction() == 0; }));
}

int TElement::OutputCount() const { return PinCount() - InputCount(); }

namespace {
TInOut* NthOf(const std::vector<std::unique_ptr<TInOut>>& pins, int direction, int i) {
    if (i < 0)
        return nullptr;
    for (const auto& p : pins)
        if (p->Direction() == direction && i-- == 0)
            return p.get();
    return nullptr;
}
} // namespace

TInOut* TElement::GetInput(int i) const { return NthOf(pins_, 0, i); }

TInOut* TElement::GetOutput(int i) const { return NthOf(pins_, 1, i); }

void TElement::RemovePins(int direction) {
    std::erase_if(pins_, [direction](const auto& p) { return p->Direction() == direction; });
}

void TElement::AddNumberedPins(int count, int direction, int first) {
    for (int i = 0; i < count; ++i)
        NewPin(AnsiString(first + i), direction);
}

void TElement::AddNamedPins(std::initializer_list<const char*> names, int direction) {
    for (const char* n : names)
        NewPin(n, direction);
}

void TElement::LayoutPins() {
    int in = 0, out = 0;
    for (const auto& p : pins_) {
        if (p->Direction() == 0) {
            p->SetOffsetX(-10);
            p->SetOffsetY(10 * ++in);
        } else {
            p->SetOffsetX(width_ + 10);
            p->SetOffsetY(10 * ++out);
        }
    }
}

void TElement::FitHeight() { height_ = 10 + 10 * std::max(InputCount(), OutputCount()); }

namespace {
int ClampCount(int n) { return n < 0 ? 0 : n > kMaxPins ? kMaxPins : n; }
} // namespace

void TElement::ReplacePins(int direction, int n, const AnsiString& name) {
    n = ClampCount(n);
    ChangePins([&] {
        RemovePins(direction);
        for (int i = 0; i < n; ++i) {
            TInOut* p = NewPin(name, direction);
            p->SetOffsetX(direction ? width_ + 10 : -10);
            p->SetOffsetY(10 * (i + 1));
        }
        if (height_ < 10 + 10 * n)
            height_ = 10 + 10 * n;
    });
}

void TElement::SetInputCount(int n) { ReplacePins(0, n, "In"); }

void TElement::SetOutputCount(int n) { ReplacePins(1, n, "Out"); }

// ---- box ----------------------------------------------------------------------------

void TElement::SetHeight(int height) {
    if (height != height_)
        Redrawn([&] {
            height_ = height;
            Changed = true;
        });
}

void TElement::SetWidth(int width) {
    if (width != width_)
        Redrawn([&] {
            width_ = width;
            Changed = true;
        });
}

void TElement::SetMirrored(bool mirrored) { TEntity::SetMirrored(mirrored); }

TRect TElement::Bounds() const {
    int left = 0, right = width_, top = 0, bottom = height_;
    for (const auto& p : pins_) {
        left = std::min(left, p->OffsetX());
        right = std::max(right, p->OffsetX());
        top = std::min(top, p->OffsetY());
        bottom = std::max(bottom, p->OffsetY());
    }
    return Rect(GetX() + left, GetY() + top, GetX() + right, GetY() + bottom);
}

bool TElement::HitTest(int x, int y) const {
    int ex = GetX(), ey = GetY();
    if (x >= ex && x <= ex + width_ && y >= ey && y <= ey + height_)
        return true;
    for (const auto& p : pins_) {
        int tx = p->TipX(), ty = p->TipY();
        int edge = p->OffsetX() < 0 ? ex : p->OffsetX() > width_ ? ex + width_ : tx;
        if (std::abs(y - ty) <= 2 && x >= std::min(tx, edge) && x <= std::max(tx, edge))
            return true;
    }
    return false;
}

bool TElement::InRect(const TRect& r) const { return TEntity::InRect(r); }

// ---- processing order ----------------------------------------------------------

void TElement::SetNumber(int number) {
    if (scheme_ && scheme_->HasWindow() && schemesettings::CheckOrder()) {
        TElement* other = scheme_->FindDeviceByNumber(number);
        if (other && other != this) {
            ShowMessage("Елемент с номером "_a + IntToStr(number) + " уже существует"_a);
            return;
        }
    }
    if (number != number_) {
        number_ = number;
        Touch();
    }
}

// ---- records --------------------------------------------------------------------------

void TElement::Save(ByteWriter& w) const {
    SaveBase(w);
    w.I32(number_);
    w.I32(width_);
    w.I32(height_);
    w.U16(uint16_t(pins_.size()));
    for (const auto& p : pins_) {
        WriteRecordString(w, p->Name());
        w.U8(uint8_t(p->Direction()));
        w.U8(p->Inverse() ? 1 : 0);
        w.I32(p->OffsetX());
        w.I32(p->OffsetY());
    }
    if (Kind() == TEntityKind::Element)
        WriteRecordString(w, Label());
    SaveExtra(w);
}

namespace {
constexpr int kMaxBox = 100000;
constexpr std::size_t kPinRecordMin = 2 + 1 + 1 + 4 + 4;
int CheckedSize(int v) {
    if (v < 0 || v > kMaxBox)
        throw EReadError("element size out of range");
    return v;
}
} // namespace

void TElement::Load(ByteReader& r) {
    LoadBase(r);
    number_ = r.I32();
    width_ = CheckedSize(r.I32());
    height_ = CheckedSize(r.I32());
    int count = r.U16();
    if (count > kMaxPins || std::size_t(count) * kPinRecordMin > r.Remaining())
        throw EReadError("pin count out of range");
    pins_.clear();
    for (int i = 0; i < count; ++i) {
        AnsiString name = ReadRecordString(r);
        int direction = r.U8();
        bool inverse = r.U8() != 0;
        int ox = r.I32();
        int oy = r.I32();
        if (direction > 1 || std::abs(ox) > kMaxBox || std::abs(oy) > kMaxBox)
            throw EReadError("pin out of range");
        TInOut* p = NewPin(name, direction);
        p->SetInverse(inverse);
        p->SetOffsetX(ox);
        p->SetOffsetY(oy);
    }
    if (Kind() == TEntityKind::Element)
        SetLabel(ReadRecordString(r));
    LoadExtra(r);
}

// ---- netlist --------------------------------------------------------------------------

AnsiString TElement::PinLine(const AnsiString& signal, bool output, bool inverseWord) {
    AnsiString line = "%" + signal;
    if (signal.Length() < 15)
        line += AnsiString::StringOfChar(' ', 15 - signal.Length());
    line += output ? " out " : " in ";
    if (inverseWord)
        line += "inverse";
    return line;
}

AnsiString TElement::HeaderLine() const { return Name() + " " + Label(); }

AnsiString TElement::Symbol() const { return Label(); }

void TElement::Translate(TStrings* lines) {
    TempNames = "";
    if (!lines)
        return;
    if (Label().IsEmpty()) {
        ReportTranslationError("Элемент "_a + Name() + "не имеет типа."_a);
        return;
    }
    lines->Add(HeaderLine());
    TranslateRows(lines);
    // An output whose chain carries several names writes a temporary signal
    // that a copy block right after this block spreads to them all.
    struct Copy {
        AnsiString temp;
        std::vector<AnsiString> targets;
    };
    std::vector<Copy> copies;
    int k = 0;
    for (const auto& p : pins_) {
        bool output = p->Direction() == 1;
        const std::vector<AnsiString>* targets = output ? p->CopyTargets() : nullptr;
        if (targets) {
            AnsiString temp = "_var" + Name() + AnsiString(++k);
            TempNames += temp + ";";
            lines->Add(PinLine(temp, true, p->Inverse()));
            copies.push_back({temp, *targets});
            continue;
        }
        bool null = p->IsNull();
        lines->Add(PinLine(p->SignalName(), output, null ? !p->Inverse() : p->Inverse()));
    }
    TranslateTail(lines);
    if (ClosesWithEmptyLine())
        lines->Add("");
    for (const Copy& c : copies) {
        if (lines->Count() > 0 && !lines->Get(lines->Count() - 1).IsEmpty())
            lines->Add("");
        lines->Add(c.temp + " and");
        for (const AnsiString& t : c.targets)
            lines->Add(PinLine(t, true, false));
        lines->Add(PinLine(c.temp, false, false));
    }
}

bool TElement::Properties() { return RunDialog(Dialog()); }

// ---- drawing --------------------------------------------------------------------------

void TElement::RememberDrawnState() {
    TEntity::RememberDrawnState();
    for (const auto& p : pins_)
        p->drawnConnected = p->Connected();
}

void TElement::Paint(TPainter& painter) const { PaintBox(painter); }

void TElement::PaintBox(TPainter& painter) const {
    bool inverting = painter.Mode() == TPaintMode::Invert;
    TColor color = inverting ? drawnColor_ : CurrentColor();
    int x = GetX(), y = GetY();
    painter.Frame(x, y, x + width_, y + height_, color);
    painter.TextCentered(x + width_ / 2, y - 10, Name(), schemesettings::NameColor(), 9);
    painter.TextCentered(x + width_ / 2, y + 1, Symbol(), color, kSymbolHeight);
    for (const auto& p : pins_) {
        int tx = p->TipX(), ty = p->TipY();
        bool left = p->OffsetX() < width_ / 2;
        int edge = left ? x : x + width_;
        bool connected = inverting ? p->drawnConnected : p->Connected();
        TColor pc = connected ? color : schemesettings::EmptyPinColor();
        painter.Pin(tx, ty, edge, p->Inverse(), pc);
        const AnsiString n = ShownPinName(*p);
        if (!n.IsEmpty()) {
            if (left)
                painter.Text(x + 2, ty - 4, n, color, kPinNameHeight);
            else
                painter.TextRight(x + width_ - 2, ty - 4, n, color, kPinNameHeight);
        }
    }
}

AnsiString TElement::ShownPinName(const TInOut& pin) {
    const AnsiString& n = pin.Name();
    return n == "In" || n == "Out" ? AnsiString() : n;
}
