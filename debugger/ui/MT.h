#pragma once
// TfmMTValue: the question for the minimal interval of the timing diagram,
// the span of time that about 25 trace steps stand for. "Да" makes it the
// debugger's minimal interval and shows it on the timing diagram; the
// diagram itself takes the value however the dialog ends.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TExSpinEdit;

class TfmMTValue : public TForm {
public:
    explicit TfmMTValue(TComponent* owner);
    ~TfmMTValue() override;

    TLabel* Label;
    TExSpinEdit* Val;
    TButton* btOk;
    TButton* Button1; // hidden "Выход": Esc ends the dialog

    void btOkClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    // The value of Val in whole milliseconds.
    int Interval() const;
};

extern TfmMTValue* fmMTValue;
