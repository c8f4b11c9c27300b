#pragma once
// TfmStProp: the dialog that renames a state ("Название состояния").

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmStProp : public TForm {
public:
    explicit TfmStProp(TComponent* owner);
    // The global forgets a dialog that is freed.
    ~TfmStProp() override;

    TEdit* Edit1;
    TBitBtn* BitBtn1; // OK
    TBitBtn* BitBtn2; // "Отмена"

    void Setup(const AnsiString& stateName);
    void Store(AnsiString& stateName) const;
};

extern TfmStProp* fmStProp;
