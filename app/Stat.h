#pragma once
// TfmStat: the statistics of the open project as the last project
// translation counted them: input, output, transition and temporary signals,
// elements and timers. The caller sets Project and shows the form modally.

#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

class TProject;

class TfmStat : public TForm {
public:
    explicit TfmStat(TComponent* owner);
    ~TfmStat() override;

    TStringGrid* StringGrid1;
    TBitBtn* BitBtn1;
    // The project shown (not owned); set before ShowModal.
    TProject* Project = nullptr;

    void FormShow(TObject* Sender);
};

extern TfmStat* fmStat;
