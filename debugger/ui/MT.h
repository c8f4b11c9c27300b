#pragma once
// TfmMTValue: the question for the minimal interval of the timing diagram,
// the span of time that about 25 trace steps stand for. "Да" makes it the
// debugger's minimal interval and shows it on the timing diagram, which
// then takes it; ending the dialog otherwise changes nothing.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TExSpinEdit;

class TfmMTValue : public TForm {
public:
    // The intervals the dialog offers, in milliseconds.
    static constexpr int kMinInterval = 50;
    static constexpr int kMaxInterval = 10000;

    explicit TfmMTValue(TComponent* owner);
    ~TfmMTValue() override;

    TLabel* Label;
    TExSpinEdit* Val;
    TButton* btOk;
    TButton* Button1; // "Выход", the cancel button, hidden

    void btOkClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    // The value of Val in whole milliseconds, within the offered range
    // (a typed number is not clamped until the field is left).
    int Interval() const;
    // ms brought into the offered range.
    static int Offered(int ms);
};

extern TfmMTValue* fmMTValue;
