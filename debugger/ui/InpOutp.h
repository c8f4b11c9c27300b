#pragma once
// TfmIO: the question asked when an internal signal (one that belongs to no
// driver) is put into the debugger: watch it as an input or as an output.
// Its caption is the signal's name; the choice stays for the next signal.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmIO : public TForm {
public:
    explicit TfmIO(TComponent* owner);
    ~TfmIO() override;

    TRadioGroup* rgIO;
    TBitBtn* BitBtn1;

    // Asks about the signal: 0 input, 1 output, -1 when the dialog was
    // closed without OK.
    int Ask(const AnsiString& name);
};

extern TfmIO* fmIO;
