#pragma once
// TProgressForm: the one modeless progress window of the program. The
// translations (through ITranslationProgress) and the project-wide signal
// search show it while they work, move its gauge step by step and write a
// line of text into it; the search also offers the stop button, whose click
// only hides it (the hidden button is the stop request).

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "translator/TranslatorHost.h"

class TProgressForm : public TForm, public ITranslationProgress {
public:
    explicit TProgressForm(TComponent* owner);

    TLabel* Label1;
    TBitBtn* btHalt;
    TGauge* CGauge1;

    // The gauge's maximum (100 after creation) and position.
    void SetMax(int max) override;
    void SetProgress(int position) override;
    int MaxValue() const { return max_; }
    int ProgressPosition() const override { return position_; }

    // The translator's view of the window: its text line, shown or hidden.
    void SetProgressText(const AnsiString& text) override { Label1->SetCaption(text); }
    void ShowProgress() override { Show(); }
    void HideProgress() override { Hide(); }

    void FormCreate(TObject* sender);
    void btHaltClick(TObject* sender);

private:
    int max_ = 100;
    int position_ = 0;
};

extern TProgressForm* ProgressForm;
