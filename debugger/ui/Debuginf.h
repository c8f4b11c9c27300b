#pragma once
// TfmRun: the signature analyser window. It keeps the signals the engineer
// wants to watch in the debugger (they survive every reload of the data),
// moves them between that list and the debugger's rows, maps the signals'
// comments for the debugger, and runs the check of a CASE table on the
// emulator.
//
// The window touches no emulator when it is made (it is made before the
// debugger window); it asks for the current one whenever it needs it.

#include <cstdint>
#include <memory>
#include <vector>

#include "debugger/SignatureAnalysis.h"
#include "debugger/WantedSignals.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TfmRun : public TForm {
public:
    explicit TfmRun(TComponent* owner);
    ~TfmRun() override;

    // ---- data ----
    TWantedSignalList Wanted;
    TSignalLists Lists;

    // ---- operations ----
    // The debugger's comment list is rebuilt from the loaded program; with
    // classify the analysed signal lists are rebuilt too.
    void MapSignals(bool classify);
    void SaveSelection();
    void RestoreSelection();
    // The CASE check into 65,536 words; false when no program is loaded.
    bool CompareOutputs(std::vector<int32_t>& table);
};

extern TfmRun* fmRun;
