#pragma once
// TfmAutoNames: the one-line prompt for the prefix of automatic element
// names. The scheme window's numbering mode puts a proposal into Edit1,
// shows the form modally and reads Edit1 back after "Да".

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmAutoNames : public TForm {
public:
    explicit TfmAutoNames(TComponent* owner);
    ~TfmAutoNames() override;
    TEdit* Edit1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
};

extern TfmAutoNames* fmAutoNames;
