#include "fsm/FSMCondBox.h"

#include <cstdlib>

#include "fsm/FSMElement.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmRecords.h"
#include "fsm/FsmSettings.h"
#include "fsm/FsmTable.h"
#include "fsm/fsmScheme.h"

TfsmCond::TfsmCond(TFSMScheme* owner) : TfsmEntity(owner) {
    const FsmSettings s = CurrentFsmSettings();
    color_ = s.ConditionColor;
    selectedColor_ = s.SelectedConditionColor;
    textColor_ = s.ConditionTextColor;
    SetText("0");
}

TfsmCond::~TfsmCond() { Hide(); }

void TfsmCond::SetText(const AnsiString& text) {
    const AnsiString t = text.UpperCase();
    if (t == text_) return;
    Redrawn([&] {
        text_ = t;
        MeasureText();
    });
}

void TfsmCond::SetOwner(TfsmElement* owner) {
    if (owner == boxOwner_) return;
    Redrawn([&] {
        if (boxOwner_ && boxOwner_->GetCondition() == this) boxOwner_->SetCondition(nullptr);
        if (owner) {
            // One box per owner: a box the new owner had is left without one.
            TfsmCond* old = owner->GetCondition();
            if (old && old != this) old->DropOwner();
            owner->SetCondition(this);
        }
        boxOwner_ = owner;
    });
}

void TfsmCond::DropOwner() {
    Redrawn([&] { boxOwner_ = nullptr; });
}

void TfsmCond::SetAnchor(int x, int y) {
    Redrawn([&] {
        anchorX_ = x;
        anchorY_ = y;
    });
}

void TfsmCond::SetCoords(int a, int b, int, int) {
    Redrawn([&] {
        anchorX_ += a;
        anchorY_ += b;
    });
}

AnsiString TfsmCond::GetValueBits() const { return fsmtable::ValueBits(text_); }
AnsiString TfsmCond::GetMaskBits() const { return fsmtable::MaskBits(text_); }

void TfsmCond::Move(int dx, int dy) {
    Redrawn([&] {
        if (anchorGrabbed_) {
            anchorX_ += dx;
            anchorY_ += dy;
        } else {
            x_ += dx;
            y_ += dy;
            changed_ = true;
        }
    });
}

bool TfsmCond::Properties() {
    IFsmWindow* w = owner_ ? owner_->GetWindow() : nullptr;
    if (!w) return false;
    AnsiString text = text_;
    if (!w->EditCondition(this, text)) return false;
    SetText(text);
    return true;
}

bool TfsmCond::HitTest(int x, int y, bool select) {
    if (deleted_) return false;
    if (x_ != anchorX_ && y_ != anchorY_) {
        anchorGrabbed_ = std::abs(anchorX_ - x) < 5 && std::abs(anchorY_ - y) < 5;
        if (anchorGrabbed_) return true;
    } else {
        // Level with its anchor the box has no leader line to grab.
        anchorGrabbed_ = false;
    }
    const bool hit = PtInRect(TRect(x_, y_, x_ + width_, y_ + height_), TPoint(x, y));
    if (select) SetSelected(hit);
    return hit;
}

void TfsmCond::EndDrag() {
    Redrawn([&] { Guarded(__FILE__, __LINE__, [&] { TfsmEntity::EndDrag(); }); });
}

void TfsmCond::LoadFromStream(ByteReader& r) {
    const fsmfile::ConditionRecord rec = fsmfile::ConditionRecord::Read(r);
    TfsmEntity::SetX(rec.X);
    TfsmEntity::SetY(rec.Y);
    SetAnchorX(rec.AnchorX);
    SetAnchorY(rec.AnchorY);
    SetText(rec.Text);
    TfsmElement* owner = nullptr;
    if (rec.Owner != 0 && owner_) owner = dynamic_cast<TfsmElement*>(owner_->FindByNumber(rec.Owner));
    SetOwner(owner);
}

void TfsmCond::SaveToStream(ByteWriter& w) {
    w.U8(fsmfile::kTagCondition);
    fsmfile::ConditionRecord rec;
    rec.Id = FileId();
    rec.X = x_;
    rec.Y = y_;
    rec.AnchorX = anchorX_;
    rec.AnchorY = anchorY_;
    rec.Text = text_;
    // A box whose owner has left the document belongs to nobody in the file.
    const bool live = boxOwner_ && owner_ && owner_->IsLive(boxOwner_);
    rec.Owner = live ? boxOwner_->GetNumber() : 0;
    rec.OwnerIsTransition = live && TFSMScheme::IsTransition(boxOwner_) ? 1 : 0;
    rec.Write(w);
}
