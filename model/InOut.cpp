#include "model/InOut.h"

#include "model/Element.h"
#include "model/Link.h"
#include "platform/List.h"

const char* const kNullIn = "_null_in_";
const char* const kNullOut = "_null_out_";

TInOut::TInOut(TElement* element, int direction)
    : TEntity(element ? element->Owner() : nullptr), element_(element), direction_(direction ? 1 : 0) {}

namespace {
// Runs a change of a pin between a hide and a show of its element.
template <class F>
void RedrawAround(TElement* element, F change) {
    if (!element) {
        change();
        return;
    }
    element->Redrawn([&] {
        change();
        element->Changed = true;
    });
}
} // namespace

void TInOut::SetInverse(bool inverse) {
    if (inverse == inverse_)
        return;
    RedrawAround(element_, [&] { inverse_ = inverse; });
}

void TInOut::SetOffsetX(int dx) {
    if (dx == offsetX_)
        return;
    RedrawAround(element_, [&] { offsetX_ = dx; });
}

void TInOut::SetOffsetY(int dy) {
    if (dy == offsetY_)
        return;
    RedrawAround(element_, [&] { offsetY_ = dy; });
}

void TInOut::SetName(const AnsiString& name) {
    if (name == Name())
        return;
    RedrawAround(element_, [&] { TEntity::SetName(name); });
}

int TInOut::TipX() const { return (element_ ? element_->GetX() : 0) + offsetX_; }

int TInOut::TipY() const { return (element_ ? element_->GetY() : 0) + offsetY_; }

bool TInOut::Connected() const {
    if (hasFixed_)
        return fixedConnected_;
    return net_ && net_->Pins.size() >= 2;
}

bool TInOut::IsNull() const {
    AnsiString s = SignalName();
    return s == kNullIn || s == kNullOut;
}

AnsiString TInOut::SignalName() const {
    if (hasFixed_ ? fixedConnected_ && !fixed_.IsEmpty() : (Connected() && !net_->Name.IsEmpty()))
        return hasFixed_ ? fixed_ : net_->Name;
    return direction_ ? kNullOut : kNullIn;
}

void TInOut::SetFixedSignal(const AnsiString& signal, bool connected) {
    hasFixed_ = true;
    fixed_ = signal;
    fixedConnected_ = connected;
}

const std::vector<AnsiString>* TInOut::CopyTargets() const {
    if (hasFixed_)
        return fixedCopies_.empty() ? nullptr : &fixedCopies_;
    return net_ && net_->CopyPin == this && !net_->CopyTargets.empty() ? &net_->CopyTargets : nullptr;
}

void TInOut::SetFixedCopyTargets(std::vector<AnsiString> targets) { fixedCopies_ = std::move(targets); }

void TInOut::CollectNetPins(TInOut* pin, TList* out) {
    if (!pin || !out || !pin->net_)
        return;
    for (TInOut* p : pin->net_->Pins)
        if (p != pin)
            out->Add(p);
}
