#pragma once
// TfmFSMCond: the dialog that edits one condition of a state machine: the
// input condition of a transition ("0", "1" and "X" for don't care, one per
// input signal) or the output value of a state ("0" and "1", one per output
// signal). The text and a three-state check list show the same condition; a
// condition holds the last signal first, so item i is text position n - i.

#include "controls/gui/ExCheckListBox.h"
#include "controls/gui/Placemnt.h"
#include "controls/gui/ToolEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfsmCond;

class TfmFSMCond : public TForm {
public:
    explicit TfmFSMCond(TComponent* owner);
    // The global forgets a dialog that is freed.
    ~TfmFSMCond() override;

    TComboEdit* CondEd;
    TExCheckListBox* ioBox;
    TBitBtn* BitBtn2; // OK
    TBitBtn* BitBtn1; // Cancel
    TFormPlacement* FormPlacement1;

    // Fills the dialog from a box whose document belongs to a state-machine
    // window; otherwise shows " Ошибка в программе !", closes with No and
    // answers false.
    bool Setup(TfsmCond* condition);
    // The box's text := the edited text (upper-cased by the box).
    void Store(TfsmCond* condition);
    bool TransitionMode() const { return transitionMode_; }

    void ioBoxClickCheck(TObject* Sender);
    void CondEdChange(TObject* Sender);
    void BitBtn2Click(TObject* Sender);

private:
    void ChecksFromText();
    // A text longer than the list keeps its first characters, one per item:
    // a character typed beyond the last item is dropped, and a stored text
    // written for more signals shows as the same text typed would.
    AnsiString CutToList(const AnsiString& text) const;
    bool transitionMode_ = false;
    // Set while the dialog itself changes the text or the checks.
    bool updating_ = false;
};

extern TfmFSMCond* fmFSMCond;
