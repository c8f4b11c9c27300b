#pragma once
// TfmRun: the signature analyser window. It keeps the signals the engineer
// wants to watch in the debugger (they survive every reload of the data),
// moves them between that list and the debugger's rows, maps the signals'
// comments for the debugger, and runs the signature analysis and the check
// of a CASE table on the emulator.
//
// The analysis runs in slices of at most 50 ms while the window is shown
// modally: no other window takes input meanwhile, and "Выход" cancels it.
// Afterwards the window stays open with the analysed inputs and outputs and
// the outputs that never changed.
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

    // ---- controls ----
    TLabel *Label1, *Label2, *Label3;
    TListBox* ListBox1; // analysed inputs
    TListBox* ListBox2; // analysed outputs
    TListBox* ListBox3; // outputs that never changed, with their values
    TBitBtn* BitBtn1;   // search the selected input
    TBitBtn* BitBtn2;   // search the selected output
    TButton* btClose;
    TActionList* ActionList1;
    TAction* SignatureAction;

    // ---- data ----
    TWantedSignalList Wanted;
    TSignalLists Lists;

    // ---- handlers ----
    void SignatureActionExecute(TObject* Sender);
    void btCloseClick(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void FormShow(TObject* Sender);

    // ---- operations ----
    // The debugger's comment list is rebuilt from the loaded program; with
    // classify the analysed signal lists are rebuilt too.
    void MapSignals(bool classify);
    void SaveSelection();
    void RestoreSelection();
    // The CASE check into 65,536 words; false when no program is loaded.
    bool CompareOutputs(std::vector<int32_t>& table);
    // The signature analysis with its question, its slices and its result.
    void RunAnalysis();
    bool AnalysisRunning() const { return analysis_ && analysis_->Active(); }
    // One slice of the running analysis, at most about sliceMs of work.
    void RunSlice(int sliceMs = 40);

    // Texts of the window at the three moments of an analysis.
    static AnsiString WaitCaption();
    static AnsiString DoneCaption();
    static AnsiString CancelledCaption();

private:
    void Build();
    void FillResult();
    void PostSlice();
    void Search(TListBox* list);

    std::unique_ptr<TSignatureAnalysis> analysis_;
};

extern TfmRun* fmRun;
