#pragma once
// TAddPinForm: the entry form of one signal of the signal table: its name,
// the driver and bit it is bound to, and its comment.

#include "controls/gui/EXSpin.h"
#include "editor/EntryForm.h"

class TAddPinForm : public TEntryForm {
public:
    explicit TAddPinForm(TComponent* owner);
    ~TAddPinForm() override;

    TGroupBox* GroupBox1;
    TEdit* NameEdit;
    TGroupBox* GroupBox2;
    TComboBox* DrvComboBox;
    TGroupBox* GroupBox3;
    TExSpinEdit* BitEdit;
    TGroupBox* GroupBox4;
    TEdit* ComentEdit;

    void FormShow(TObject* Sender);
};

extern TAddPinForm* AddPinForm;
