#pragma once
// TAddDriverForm: the entry form of one driver of the signal table: its
// name, direction, address (shown in hexadecimal), bit count, interrupt and
// driver type.

#include "controls/gui/EXSpin.h"
#include "editor/EntryForm.h"

class TAddDriverForm : public TEntryForm {
public:
    explicit TAddDriverForm(TComponent* owner);
    ~TAddDriverForm() override;

    TEdit* NameEdit;
    TComboBox* TypeInOutComboBox; // "Вход", "Выход"
    TExSpinEdit* AdresEdit;
    TExSpinEdit* bitEdit;
    TComboBox* InterruptEdit;
    TComboBox* DrvTypeComboBox;

    void FormCreate(TObject* Sender);
};

extern TAddDriverForm* AddDriverForm;
