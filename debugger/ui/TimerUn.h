#pragma once
// TTimersForm: the timing diagram. It shows the signals of the debugger's
// rows as traces, up to 30 inputs and 30 outputs, one step to the right per
// 50 ms event of its own timer, each event one scan. Emulated time runs at
// the rate of the minimal interval: the shortest timer of the program spans
// about 25 steps. Clicking an input's name flips the input; stimulus
// formulas flip inputs by themselves.
//
// The diagram and the debugger window replace each other on screen and share
// the emulator and the rows. The rows are built from the debugger's rows
// whenever the diagram becomes the active window, and are put away when
// another window of the program takes over; the formula editor and the
// interval dialog opened from here leave them as they are.

#include <array>
#include <memory>
#include <vector>

#include "debugger/StimulusFormula.h"
#include "debugger/ui/Formuls.h"
#include "debugger/ui/Sharefun.h"
#include "platform/gui/Actions.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TDockEx;
class TFormPlacement;
class TInGr;
class TOutGr;
class TToolbarButtonEx;
class TToolbarEx;

class TTimersForm : public TForm, public ITimingView, public IFormulaOwner, private IFormulaSink {
public:
    static constexpr int kMaxRows = 30;
    // The background every trace starts from and the scale above the traces.
    static constexpr int kScaleHeight = 22;
    static constexpr int kScaleWidth = 600;
    // Trace steps per minimal interval.
    static constexpr int kStepsPerInterval = 25;

    explicit TTimersForm(TComponent* owner);
    ~TTimersForm() override;

    // ---- controls ----
    TDockEx* DockEx1;
    TToolbarEx* ToolbarEx1;
    TToolbarButtonEx* ToolbarButtonEx6; // "Обнулить"
    TToolbarButtonEx* ToolbarButtonEx3; // ClearAction
    TToolbarButtonEx* ToolbarButtonEx4; // EditIntervalAction
    TToolbarButtonEx* ToolbarButtonEx5; // DelAction
    TToolbarButtonEx* ToolbarButtonEx2; // to the debugger
    TToolbarButtonEx* ToolbarButtonEx1; // to the scheme
    TLabel *Label1, *Label2;            // "Запусков", "Тиков"
    TEdit* CountRun;
    TEdit* TimerTicks;
    TPanel* Panel1;
    TSpeedButton* btRetry;
    TSpeedButton* btHalt;
    TBitBtn* BitBtn1;            // the formula editor
    TSpeedButton* SpeedButton1;  // "Показать все сигналы"
    TSpeedButton* SpeedButton2;  // "Первоначальный размер"
    TLabel* MinInterval;
    TImage* TimerConst;
    TImage* TIm;
    TScrollBox* ScrollMammy;     // the name column
    TScrollBox* ScrollPapa;      // the trace area
    TTimer* Timer1;
    TActionList* ActionList1;
    TAction* ClearAction;
    TAction* EditIntervalAction;
    TAction* DelAction;
    TAction* mvCenter;
    TFormPlacement* FormPlacement1;

    // ---- state ----
    int RememberedHeight = 220;
    int MinIntervalMs = 1000;
    int EventCounter = 1;
    int Rate = 1;
    int InCount = 0;
    int OutCount = 0;
    std::array<TInGr*, kMaxRows> InRows{};
    std::array<TOutGr*, kMaxRows> OutRows{};

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormDeactivate(TObject* Sender);
    void FormHide(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Timer1Timer(TObject* Sender);
    void btRetryClick(TObject* Sender);
    void btHaltClick(TObject* Sender);
    void ToolbarButtonEx1Click(TObject* Sender);
    void ToolbarButtonEx2Click(TObject* Sender);
    void ToolbarButtonEx6Click(TObject* Sender);
    void ClearActionExecute(TObject* Sender);
    void DelActionExecute(TObject* Sender);
    void DelActionUpdate(TObject* Sender);
    void DelClearActionExecute(TObject* Sender);
    void EditIntervalActionExecute(TObject* Sender);
    void mvCenterUpdate(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);

    // ---- operations ----
    // The next free row of the kind takes the signal; nothing when 30 are in use.
    void AddTrace(int byteAddress, int bit, bool flag, bool isOutput, const AnsiString& name, int signalIndex = -1);
    // The rows again from the debugger's rows, in the order of the wanted
    // signals; formulas follow their signals' rows.
    void RebuildRows();
    // Interval and rate: rate = interval / timer period, at least 1.
    void SetMinInterval(int ms);
    // Formulas by one tick.
    void FormulaStep(int increment);
    void NextStep(int index, bool advance);
    void DeleteFormula(int index);

    // ---- ITimingView ----
    bool IsVisible() override { return Visible(); }
    void ShowRunCount(int runs) override;
    void ShowTickCount(int ticks) override;
    void ShowRunning(bool running) override;
    void StopTimer() override;
    void ToggleTrace(int row, int signalIndex) override;
    void Open(int minInterval) override;
    void ShowMinInterval(int minInterval) override;

    // ---- IFormulaOwner ----
    TFormulaSet& Formulas() override { return formulas_; }
    std::vector<AnsiString> InputNames() override;
    IFormulaSink& FormulaSink() override { return *this; }

    // The pictures drawn for the background of a trace and for the scale.
    static void DrawBackground(TBitmap* b);
    static void DrawScale(TBitmap* b);

private:
    void Build();
    void BuildToolbar();
    // Runs a dialog of this window: the diagram stays as it is meanwhile.
    int ShowOwnDialog(TForm* dialog);
    // The row of the input trace that a formula drives, when it shows.
    TInGr* FormulaRow(const FormulStr& f) const;
    // Formulas follow their signals' rows after a rebuild.
    void ResolveFormulas();

    // IFormulaSink
    void Scan() override;
    void OutputsFollow() override;
    int InputLevel(const FormulStr& f) override;
    void ToggleInput(const FormulStr& f) override;

    TFormulaSet formulas_;
    // Set while a dialog opened here is up, and until this window is active
    // again after it: neither the loss nor the return of activation then
    // touches the rows.
    bool ownDialog_ = false;
    bool returning_ = false;
};

extern TTimersForm* TimersForm;
