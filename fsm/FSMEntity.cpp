#include "fsm/FSMEntity.h"

#include "fsm/FSMElement.h"
#include "fsm/FSMCondBox.h"
#include "fsm/fsmScheme.h"
#include "platform/FileNames.h"
#include "platform/UiPort.h"

void ReportFsmInternalError(const char* file, int line) {
    MessageBox(Format("Ошибка в файле %s стр. %d"_a, ExtractFileName(AnsiString(file)), line), AnsiString(), MB_OK);
}

TfsmEntity::TfsmEntity(TFSMScheme* owner) : owner_(owner) {}

TfsmEntity::~TfsmEntity() = default;

void TfsmEntity::Draw() {}

void TfsmEntity::Move(int dx, int dy) {
    Redrawn([&] {
        x_ += dx;
        y_ += dy;
        changed_ = true;
    });
}

bool TfsmEntity::Properties() { return false; }

bool TfsmEntity::HitTest(int x, int y, bool select) {
    if (deleted_) return false;
    const bool hit = PtInRect(TRect(x_ - 4, y_ - 4, x_ + 4, y_ + 4), TPoint(x, y));
    if (select) SetSelected(hit);
    return hit;
}

bool TfsmEntity::HitTestRect(const TRect& r, bool select) {
    if (deleted_) return false;
    const bool hit = PtInRect(r, TPoint(GetX(), GetY()));
    if (select) SetSelected(hit);
    return hit;
}

void TfsmEntity::Show() {
    if (shown_ || !GetCanvas()) return;
    Draw();
    shown_ = true;
}

void TfsmEntity::Hide() {
    if (!shown_ || !GetCanvas()) return;
    Draw();
    shown_ = false;
}

void TfsmEntity::CommitPosition() {
    Redrawn([&] { changed_ = false; });
}

void TfsmEntity::EndDrag() {
    Redrawn([&] { changed_ = false; });
}

void TfsmEntity::Translate(TStrings*) {}

void TfsmEntity::DrawTo(TCanvas*) {}

void TfsmEntity::SetCoords(int a, int b, int, int) {
    Redrawn([&] {
        x_ = a;
        y_ = b;
    });
}

void TfsmEntity::DragTo(int, int) {}

void TfsmEntity::SetX(int x) {
    Redrawn([&] { x_ = x; });
}

void TfsmEntity::SetY(int y) {
    Redrawn([&] { y_ = y; });
}

int TfsmEntity::GetX() const { return x_; }
int TfsmEntity::GetY() const { return y_; }

void TfsmEntity::SetSelected(bool v) {
    if (selected_ == v) return;
    const bool was = shown_;
    Hide();
    // A box's picture depends on its owner's selection, so it is redrawn too.
    TfsmCond* box = nullptr;
    bool boxWas = false;
    if (auto* el = dynamic_cast<TfsmElement*>(this)) {
        box = el->GetCondition();
        if (box) {
            boxWas = box->IsShown();
            box->Hide();
        }
    }
    selected_ = v;
    if (was) Show();
    if (box && boxWas) box->Show();
}

void TfsmEntity::SetVisible(bool v) {
    if (v == shown_) return;
    if (v) Show();
    else Hide();
}

void TfsmEntity::SetName(const AnsiString& name) {
    Redrawn([&] { name_ = name; });
}

TCanvas* TfsmEntity::GetCanvas() const { return owner_ ? owner_->GetCanvas() : nullptr; }

int TfsmEntity::GetZoom() const {
    return owner_ && owner_->GetCanvas() && !owner_->DrawsUnzoomed() ? owner_->GetZoom() : 100;
}
