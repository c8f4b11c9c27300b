#include "fsm/gui/fsmPins.h"

#include <algorithm>

#include "fsm/FsmRecords.h"
#include "fsm/gui/FSMChild.h"
#include "platform/Bitmap.h"

TfmPins* fmPins = nullptr;

namespace {

// A plus or a minus sign for the add and delete buttons.
void SignGlyph(TSpeedButton* b, bool plus) {
    TBitmap g;
    g.SetSize(16, 16);
    TCanvas* c = g.Canvas();
    c->Brush()->SetColor(clOlive);
    c->FillRect(Rect(0, 0, 16, 16));
    c->Brush()->SetColor(plus ? TColor(0x00008000) : TColor(0x000000C0));
    c->FillRect(Rect(3, 7, 13, 10));
    if (plus) c->FillRect(Rect(7, 3, 10, 13));
    b->SetGlyph(&g);
}

} // namespace

TfmPins::TfmPins(TComponent* owner) : TForm(owner) {
    SetName("fmPins");
    SetCaption("Входные сигналы"_a);
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetPosition(poScreenCenter);
    SetClientWidth(264);
    SetClientHeight(300);

    sgPin = NewControl<TStringGrid>(this, this, "sgPin");
    sgPin->SetBounds(8, 8, 232, 246);
    sgPin->SetColCount(1);
    sgPin->SetFixedCols(0);
    sgPin->SetFixedRows(0);
    sgPin->SetRowCount(1);
    sgPin->SetColWidths(0, 209);
    sgPin->SetOptions(sgPin->Options() | goEditing | goRangeSelect);
    SpeedButton1 = NewControl<TSpeedButton>(this, this, "SpeedButton1");
    SpeedButton1->SetBounds(242, 8, 20, 20);
    SignGlyph(SpeedButton1, true);
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    SpeedButton2 = NewControl<TSpeedButton>(this, this, "SpeedButton2");
    SpeedButton2->SetBounds(242, 32, 20, 20);
    SignGlyph(SpeedButton2, false);
    SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetBounds(40, 264, 88, 27);
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2 = NewControl<TBitBtn>(this, this, "BitBtn2");
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption("Выход"_a);
    BitBtn2->SetBounds(136, 264, 88, 27);
}

TfmPins::~TfmPins() {
    if (fmPins == this) fmPins = nullptr;
}

void TfmPins::Setup(TStrings* signalList, TForm* owner) {
    list_ = signalList;
    owner_ = owner;
    SetCaption(Outputs ? "Выходные сигналы"_a : "Входные сигналы"_a);
    changes_.clear();
    count_ = signalList ? signalList->Count() : 0;
    sgPin->ClearCells();
    sgPin->SetRowCount(std::max(count_, 1));
    for (int i = 0; i < count_; ++i) sgPin->SetCells(0, i, signalList->Get(i));
    sgPin->SetRow(0);
}

void TfmPins::SpeedButton1Click(TObject*) {
    if (!dynamic_cast<TFSMChild*>(owner_) || count_ >= fsmfile::kMaxSignals) return;
    sgPin->SetEditorMode(false);
    ++count_;
    sgPin->SetRowCount(count_);
    sgPin->SetCells(0, count_ - 1, "new");
    changes_.push_back({true, 0});
}

void TfmPins::SpeedButton2Click(TObject*) {
    const int row = sgPin->Row();
    if (!dynamic_cast<TFSMChild*>(owner_) || row < 0 || row >= count_) return;
    sgPin->SetEditorMode(false);
    for (int i = row; i + 1 < count_; ++i) sgPin->SetCells(0, i, sgPin->Cells(0, i + 1));
    --count_;
    sgPin->SetCells(0, count_, AnsiString());
    sgPin->SetRowCount(std::max(count_, 1));
    changes_.push_back({false, row});
}

void TfmPins::BitBtn1Click(TObject*) {
    sgPin->SetEditorMode(false);
    if (auto* window = dynamic_cast<TFSMChild*>(owner_)) {
        for (const Change& c : changes_) {
            if (c.added) window->AddSignal(Outputs);
            else window->RemoveSignal(c.index, Outputs);
        }
    }
    changes_.clear();
    if (!list_) return;
    list_->Clear();
    for (int i = 0; i < count_; ++i) list_->Add(sgPin->Cells(0, i));
}
