#pragma once
// TAddTypeDrvForm: the entry form of one driver type of the signal table:
// its name and the number the controller knows it by.

#include "controls/gui/EXSpin.h"
#include "editor/EntryForm.h"

class TAddTypeDrvForm : public TEntryForm {
public:
    explicit TAddTypeDrvForm(TComponent* owner);
    ~TAddTypeDrvForm() override;

    TEdit* NameTypeDrv;
    TExSpinEdit* NumberTypeDrv;

    void FormShow(TObject* Sender);
};

extern TAddTypeDrvForm* AddTypeDrvForm;
