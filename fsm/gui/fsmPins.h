#pragma once
// TfmPins: the dialog that edits the names of a state machine's input or
// output signals in a one-column grid and adds or deletes signals.
//
// It is one transaction: additions, deletions and names reach the document
// together when it ends with OK (every condition then gains or loses the
// signal's character); Cancel leaves names, counts and conditions alone.

#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class TfmPins : public TForm {
public:
    explicit TfmPins(TComponent* owner);
    // The global forgets a dialog that is freed.
    ~TfmPins() override;

    TStringGrid* sgPin;
    TSpeedButton* SpeedButton1; // add
    TSpeedButton* SpeedButton2; // delete
    TBitBtn* BitBtn1;           // OK
    TBitBtn* BitBtn2;           // "Выход"

    // Output signals (true) or input signals (false); set by the caller.
    bool Outputs = false;

    // The list whose items are edited (one grid row each) and the window
    // that opened the dialog.
    void Setup(TStrings* signalList, TForm* owner);
    // The signals the grid holds now (an empty list shows one empty row).
    int SignalCount() const { return count_; }

    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);

private:
    struct Change {
        bool added;
        int index; // the deleted row
    };
    TStrings* list_ = nullptr;
    TForm* owner_ = nullptr;
    int count_ = 0;
    std::vector<Change> changes_;
};

extern TfmPins* fmPins;
