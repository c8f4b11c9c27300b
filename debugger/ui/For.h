#pragma once
// TfmDebug: the debugger window with signal comments. It owns the one
// emulator and a private copy of the signal table, shows the signals the
// engineer watches as two check lists (inputs and outputs), lets inputs be
// set by ticking them, runs the emulator from a 50 ms timer (one tick and
// one scan per event), one scan at a time, or advances its timers, and shows
// the comments of the signals whose bit is 1.
//
// The emulator calls back at the start of every scan (ticked inputs into the
// image), after every element record (internal signals in the input list
// are forced to their check marks) and at the end of every scan (output bits
// onto the check marks).
//
// Every row keeps the index of its signal record as its item data; row texts
// are signal names.

#include <memory>
#include <unordered_set>
#include <vector>

#include "debugger/EmulatorHost.h"
#include "document/DriverTableAdapter.h"
#include "platform/gui/Actions.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TDriversInfo;
class TExCheckListBox;
class TExSpinEdit;
class TVAC;
struct SignalsStr;

class TfmDebug : public TForm, public IEmulatorHost {
public:
    explicit TfmDebug(TComponent* owner);
    ~TfmDebug() override;

    // ---- controls ----
    TLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    TExCheckListBox* in_signal;
    TExCheckListBox* out_signal;
    TMemo* CommentOut;
    TSpeedButton* btRetry;
    TSpeedButton* btHalt;
    TSpeedButton* btStep;
    TSpeedButton* ButTimers;
    TSpeedButton* btIncrementTimers;
    TExSpinEdit* TimeIncr;
    TButton* Button1;      // "Обновить"
    TButton* btDelSignals; // "Удалить"
    TBitBtn* BitBtn1;      // "Помощь"
    TButton* btClose;      // "Выход"
    TEdit* CountRun;
    TEdit* TimerTicks;
    TTimer* Timer;
    TActionList* ActionList1;
    TAction* DeleteAction;
    TAction* HelpAction;

    // ---- state ----
    // The timing diagram's minimal interval, ms: the loaded program's
    // shortest timer preset x 50 whenever the diagram opens, unless the user
    // chose it in the interval dialog (IntervalChosen, until the next load).
    int MinInterval = 0;
    bool IntervalChosen = false;
    // Continuous mode; the signature analysis also raises it while it enumerates.
    bool Running = false;
    bool Loaded() const { return loaded_; }
    bool Mapped() const { return mapped_; }
    // Comments of the loaded program's signals, and the signal of each line.
    TStringList* CommentList() const { return commentList_.get(); }
    const std::vector<int>& CommentMap() const { return commentMap_; }
    // Replaces the comment list (the analyser maps the signals).
    void SetComments(TStrings* comments, const std::vector<int>& signalOfLine);
    // The signal record of a row (null when the row names no record).
    const SignalsStr* InputSignal(int row) const;
    const SignalsStr* OutputSignal(int row) const;

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void TimerTimer(TObject* Sender);
    void btRetryClick(TObject* Sender);
    void btHaltClick(TObject* Sender);
    void btStepClick(TObject* Sender);
    void btIncrementTimersClick(TObject* Sender);
    void ButTimersClick(TObject* Sender);
    // The interval dialog's "Да": the interval the user chose.
    void ChooseInterval(int ms);
    void Button1Click(TObject* Sender);
    void DeleteActionExecute(TObject* Sender);
    void DeleteActionUpdate(TObject* Sender);
    void HelpActionExecute(TObject* Sender);
    void btCloseClick(TObject* Sender);
    void in_signalKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);

    // ---- operations ----
    void ScanOnce();
    // The first input row of that bit gets the value as its mark and in the
    // image; false when no input row has the bit.
    bool SetInput(int byteAddress, int bit, bool value);
    bool IsOutputChecked(int byteAddress, int bit) const;
    // Inputs: marks into the image; outputs: image onto the marks. Then the
    // comments, unless the timing diagram is shown.
    void RefreshSignals(bool outputs);
    void RefreshComments();
    void MapSignalsOnce();
    // Run, step or the timing diagram before the glue has loaded data: the
    // window loads no file of its own, so the emulator is told to load none
    // and closes the window with its "no data file" message (also after the
    // glue failed to load a file; a translation loads the new data).
    void InitTVACActionUpdate();
    // Loads unless loaded; with recreate a loaded emulator is replaced by a
    // new one for the same file first.
    void LoadDebugData(bool recreate);
    // Appends a row unless that list has one of the same text; an internal
    // signal put among the inputs is forced by its row.
    void AddSignal(const AnsiString& name, bool isOutput, int signalIndex);
    // Empties both lists and the forced inputs.
    void ClearRows();
    // Stops continuous mode here and on the timing diagram, whichever timer runs.
    void Halt();
    // The halt button in place of the run button (or back), here and on the
    // timing diagram.
    void ShowRunButtons(bool running);

    // ---- the emulator's calls ----
    void ReadInputs(TVAC& vac) override;
    void ShowOutputs(TVAC& vac) override;
    bool InputChecked(int row) override;
    bool IsDebuggerVisible() override;
    void ShowRunCount(int runs) override;
    void ShowTickCount(int ticks) override;
    void Message(const AnsiString& text) override;
    // While the analysis suppresses the display, the run counter is written
    // once per slice: this writes the last count given.
    void FlushCounters();

private:
    void Build();
    void MakeEmulator(const AnsiString& fileName);
    void DeleteRows(TExCheckListBox* list, bool inputs);
    const SignalsStr* SignalOf(const TExCheckListBox* list, int row) const;

    std::unique_ptr<TDriversInfo> drivers_;
    std::unique_ptr<TDriverTableAdapter> driverTable_;
    std::unique_ptr<TVAC> vac_;
    std::unique_ptr<TStringList> commentList_;
    std::vector<int> commentMap_;
    // Letter-case-folded texts of the comment lines; the lines CommentOut
    // shows, in its order, with their folded texts (kept here, so that the
    // memo is written once when lines came or went).
    std::vector<std::string> commentKeys_;
    std::unordered_set<std::string> shown_;
    std::vector<AnsiString> shownLines_;
    std::vector<std::string> shownKeys_;
    bool loaded_ = false;
    bool mapped_ = false;
    int pendingRuns_ = -1;
};

extern TfmDebug* fmDebug;
