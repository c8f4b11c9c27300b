// The timing diagram: its rows built from the debugger's, the rate of
// emulated time, traces checked pixel by pixel and the view that follows
// them, the name clicks, the height buttons, activation, a run taken over
// from the debugger, its dialogs, deleting and the formulas that drive
// inputs, shown or hidden; and the formula editor.
#include <QListWidget>
#include <map>

#include "DebuggerUiTest.h"
#include "common/Printers.h"
#include "common/Wait.h"
#include "editor/ModalScript.h"
#include "debugger/ui/Formuls.h"
#include "debugger/ui/InGraph.h"
#include "debugger/ui/MT.h"
#include "debugger/ui/OutGraph.h"
#include "debugger/ui/TimerUn.h"
#include "platform/Bitmap.h"
#include "toolbars/TBExCtls.h"

namespace dbgui {
namespace {

class TimingWindow : public DebuggerTest {
protected:
    void SetUp() override {
        DebuggerTest::SetUp();
        fmFormuls = MakeForm<TfmFormuls>();
        fmMTValue = MakeForm<TfmMTValue>();
        TimersForm = MakeForm<TTimersForm>();
    }
    // The debugger's rows, then the diagram opened as its button opens it.
    void Open(std::initializer_list<const char*> inputs, std::initializer_list<const char*> outputs,
              const Builder& b = Program()) {
        Load(b);
        for (const char* name : inputs) AddSignalToDebug(name, 0);
        for (const char* name : outputs) AddSignalToDebug(name, 1);
        ShowTimingDebugWindow(nullptr);
        // Its rows are built when it becomes active.
        ASSERT_TRUE(testenv::WaitActive(TimersForm));
    }
    TInGr* In(int i) const { return TimersForm->InRows[std::size_t(i)]; }
    TOutGr* Out(int i) const { return TimersForm->OutRows[std::size_t(i)]; }
    static TColor Pixel(TTraceRow* row, int x, int y) { return row->ProgresTimer->Picture()->Bitmap()->Canvas()->Pixels(x, y); }
    // The column of a trace across both levels' lines (the pen is two
    // pixels wide, up and to the left of its path): pen or paper.
    static std::string Column(TTraceRow* row, int x) {
        std::string s;
        for (int y = TTraceRow::kHighY - 1; y <= TTraceRow::kLowY; ++y) s += Pixel(row, x, y) == row->PenColor() ? '#' : '.';
        return s;
    }
    void Events(int n) {
        for (int i = 0; i < n; ++i) TimersForm->Timer1Timer(TimersForm->Timer1);
    }
    bool DebuggerTicked(const char* input) { return fmDebug->in_signal->GetChecked(RowOf(fmDebug->in_signal, input)); }
    void AddFormula(const char* name, const char* text) {
        TFormulaSet& set = TimersForm->Formulas();
        const int row = RowOf(fmDebug->in_signal, name);
        ASSERT_GE(row, 0);
        set.Set(set.Append(), name, row, text, TimersForm->FormulaSink());
    }
};

const std::string kEdge(16, '#');
const std::string kHigh = "##" + std::string(14, '.');
const std::string kLow = std::string(14, '.') + "##";
const std::string kPaper(16, '.');

TEST_F(TimingWindow, RowsFollowTheDebuggersRowsInTheWantedOrderWithTheirLevels) {
    Load();
    AddSignalToDebug("Y", 1);
    AddSignalToDebug("X", 0);
    AddSignalToDebug("A", 0);
    RestoreDebugSelection();
    Tick("A");
    ShowTimingDebugWindow(nullptr);
    ASSERT_TRUE(testenv::WaitActive(TimersForm));
    EXPECT_EQ(TimersForm->MinInterval->Caption(), "150 мс"_a); // the program's timer: 3 ticks
    EXPECT_EQ(fmMTValue->Interval(), 150);
    EXPECT_EQ(TimersForm->Rate, 3);
    ASSERT_EQ(TimersForm->OutCount, 1);
    EXPECT_EQ(TimersForm->InputNames(), (std::vector<AnsiString>{"X", "A"}));
    // Lines in the order of adding, whatever the kind; traces level with names.
    EXPECT_EQ(Out(0)->Top(), 0);
    EXPECT_EQ(In(1)->ProgresTimer->Top(), In(1)->Top() + 2);
    EXPECT_EQ(In(1)->Top(), 2 * TTraceRow::kRowPitch);
    EXPECT_EQ(In(0)->PenColor(), TColor(65280)); // X belongs to no driver
    EXPECT_EQ(In(1)->PenColor(), TColor(32768)); // A is a driver's input
    EXPECT_EQ(Out(0)->PenColor(), TColor(16711680));
    EXPECT_EQ(Column(In(1), 1), kEdge); // A is ticked: up at once
}

TEST_F(TimingWindow, TheRateSetsTicksPerEvent) {
    Open({"A"}, {});
    const struct {
        int ms, rate, events, ticks;
    } cases[] = {{0, 1, 50, 2}, {100, 2, 24, 2}, {1000, 20, 5, 5}, {5000, 100, 5, 20},
                 {20000, 200, 2, 16}}; // beyond the dialog's range: its 10000
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        fmDebug->MinInterval = c.ms; // the diagram takes it when it shows
        TimersForm->FormShow(TimersForm);
        EXPECT_EQ(TimersForm->Rate, c.rate);
        TimersForm->EventCounter = 1;
        const int ticks = Emulator()->TickCount, runs = Emulator()->RunCount;
        Events(c.events - 1);
        EXPECT_EQ(Emulator()->TickCount - ticks, c.ticks - (c.rate < 25 ? 1 : c.rate / 25));
        Events(1);
        EXPECT_EQ(Emulator()->TickCount - ticks, c.ticks);
        EXPECT_EQ(Emulator()->RunCount - runs, c.events);
        EXPECT_EQ(In(0)->X, 1 + Emulator()->RunCount);
    }
}

TEST_F(TimingWindow, TheThirtyFirstInputGetsNoRowAndChangesNoOtherRow) {
    Builder b;
    b.Or({Op(3072)}, {Op(3100)});
    for (int k = 0; k < 31; ++k) b.AddName(Op(3072 + k / 8, k % 8), ("I" + std::to_string(k)).c_str());
    Load(b);
    for (int k = 0; k < 31; ++k) AddSignalToDebug(("I" + std::to_string(k)).c_str(), 0);
    RestoreDebugSelection();
    Tick("I30");
    ShowTimingDebugWindow(nullptr);
    ASSERT_TRUE(testenv::WaitActive(TimersForm));
    ASSERT_EQ(TimersForm->InCount, 30);
    EXPECT_EQ(In(29)->Name(), "I29");
    // Nor does "Обновить", which unticks I30, flip a trace.
    for (bool refreshed : {false, true}) {
        if (refreshed) fmDebug->Button1Click(fmDebug->Button1);
        for (int i = 0; i < 30; ++i) EXPECT_EQ(In(i)->Level, 0) << i;
    }
    EXPECT_FALSE(DebuggerTicked("I30"));
}

TEST_F(TimingWindow, ClickingANameTwiceDrawsAPulseTheDebuggersMarkFollowsZeroingReturnsLow) {
    Open({"A", "X"}, {});
    Events(3);
    ClickAt(In(0)->InSignName->Widget(), QPoint(5, 5));
    EXPECT_EQ(In(0)->Level, 1);
    EXPECT_TRUE(DebuggerTicked("A"));
    EXPECT_EQ(Emulator()->GetBit(0, 0), 1);
    Events(3);
    ClickAt(In(0)->In->Widget(), QPoint(140, 30));
    EXPECT_FALSE(DebuggerTicked("A"));
    Events(1);
    // Low to x = 4, up at 4, high to 7, down at 7, low again.
    const std::vector<std::string> want{kLow, kLow, kEdge, kEdge, kHigh, kEdge, kEdge, kLow};
    for (int x = 1; x <= 8; ++x) EXPECT_EQ(Column(In(0), x), want[std::size_t(x - 1)]) << x;
    EXPECT_EQ(Pixel(In(0), 9, TTraceRow::kLowY), clWhite);
    EXPECT_EQ(Pixel(In(0), 26, TTraceRow::kLowY), clSilver); // the line of the first interval
    // The internal signal's pen.
    In(1)->InSignClick();
    EXPECT_EQ(Pixel(In(1), 8, TTraceRow::kHighY), TColor(65280));
    EXPECT_TRUE(DebuggerTicked("X"));
    // "Обнулить" returns ticked inputs' traces low.
    Events(2);
    TimersForm->ToolbarButtonEx6->Click();
    EXPECT_EQ(In(0)->Level + In(1)->Level, 0);
    EXPECT_FALSE(DebuggerTicked("X"));
    EXPECT_EQ(In(1)->X, 11);
    EXPECT_EQ(Column(In(1), 10), kEdge);
    EXPECT_EQ(Column(In(1), 11), kLow);
}

TEST_F(TimingWindow, ATraceAtTheEndStartsAgainAndTheAreaKeepsEveryStepInView) {
    Open({"A"}, {"Y"});
    TControlScrollBar* bar = TimersForm->ScrollPapa->HorzScrollBar();
    const int width = TimersForm->ScrollPapa->Width();
    // At its right edge the area scrolls on by a third.
    In(0)->X = width - 29;
    In(0)->DrawStep();
    EXPECT_EQ(bar->Position(), width / 3);
    ASSERT_EQ(Pixel(In(0), width - 28, TTraceRow::kLowY), In(0)->PenColor());
    In(0)->InSignClick();
    // Beyond the end: a fresh picture, high from the left, and the area back
    // at the left with it, an input's trace as well as an output's.
    bar->SetPosition(TTraceRow::kTraceWidth);
    const int last = bar->Position();
    ASSERT_GT(last, width);
    In(0)->X = TTraceRow::kLastX + 1;
    In(0)->DrawStep();
    EXPECT_EQ(In(0)->X, 2);
    EXPECT_EQ(Column(In(0), 2), kHigh);
    EXPECT_EQ(Column(In(0), 3), kPaper);
    EXPECT_EQ(Pixel(In(0), width - 28, TTraceRow::kLowY), clWhite);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetPosition(last);
    Out(0)->X = TTraceRow::kLastX + 1;
    Out(0)->DrawStep();
    EXPECT_EQ(Out(0)->X, 2);
    EXPECT_EQ(bar->Position(), 0);
    // Scrolled by hand past the pen, to either side: the next step is in view.
    for (int position : {0, last}) {
        SCOPED_TRACE(position);
        In(0)->X = 1000;
        Out(0)->X = 1000;
        bar->SetPosition(position);
        Events(1);
        EXPECT_LE(bar->Position(), 1001);
        EXPECT_GT(bar->Position() + width, 1001);
    }
    // "Очистить": every trace from the left on a fresh picture.
    Events(5);
    bar->SetPosition(100);
    TimersForm->DelActionUpdate(TimersForm->DelAction); // as the idle time after the rows came
    TimersForm->ClearAction->Execute();
    EXPECT_EQ(std::tuple(In(0)->X, Out(0)->X, bar->Position()), std::tuple(1, 1, 0));
    EXPECT_EQ(Column(In(0), 3), kPaper);
}

TEST_F(TimingWindow, AnotherWindowClearsAndHidesReopeningRebuilds) {
    Open({"A"}, {"Y"});
    TForm* other = MakeForm();
    other->Show();
    ASSERT_TRUE(testenv::WaitActive(other));
    EXPECT_EQ(TimersForm->InCount + TimersForm->OutCount, 0);
    TimersForm->DelActionUpdate(TimersForm->DelAction);
    EXPECT_FALSE(TimersForm->Visible() || In(0)->InUse || TimersForm->DelAction->Enabled() ||
                 TimersForm->ClearAction->Enabled());
    ShowTimingDebugWindow(nullptr);
    ASSERT_TRUE(testenv::WaitActive(TimersForm));
    EXPECT_EQ(TimersForm->InCount + TimersForm->OutCount, 2);
    TimersForm->DelActionUpdate(TimersForm->DelAction);
    EXPECT_TRUE(TimersForm->DelAction->Enabled());
    // To the debugger: the diagram gives way to it.
    TimersForm->ToolbarButtonEx2->Click();
    ASSERT_TRUE(testenv::WaitActive(fmDebug));
    EXPECT_TRUE(!TimersForm->Visible() && fmDebug->ButTimers->Visible());
    fmDebug->ButTimersClick(fmDebug->ButTimers);
    ASSERT_TRUE(testenv::WaitActive(TimersForm));
    EXPECT_FALSE(fmDebug->Visible());
    EXPECT_EQ(TimersForm->InCount, 1);
}

// The debugger's messages wait while the diagram runs the program, and are
// those of the signals as they are when the debugger shows again.
TEST_F(TimingWindow, BackFromTheDiagramTheDebuggerShowsTheMessagesOfNow) {
    Open({"A"}, {"Y"});
    const struct {
        bool on;
        Strings memo;
    } rounds[] = {{true, {"Кнопка A"}}, {false, {}}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.on);
        ASSERT_TRUE(fmDebug->SetInput(0, 0, r.on));
        Events(1);
        TimersForm->ToolbarButtonEx2->Click();
        ASSERT_TRUE(testenv::WaitActive(fmDebug));
        EXPECT_EQ(Memo(), r.memo);
        fmDebug->ButTimersClick(fmDebug->ButTimers);
        ASSERT_TRUE(testenv::WaitActive(TimersForm));
    }
}

// "Показать сигналы" in the debugger and "Перейти в отладчик с
// комментариями" in the diagram, pressed as the user presses them, hand the
// activation from one window to the other and back: the window asked for is
// shown and active, for the desktop too, the other one hidden. The frame
// that was active before them gets the focus from a window manager for a
// moment each time the active window hides; that moment is no activation.
TEST_F(TimingWindow, TheButtonsOfTheDebuggerAndTheDiagramHandTheActivationBackAndForth) {
    Load();
    AddSignalToDebug("A", 0);
    AddSignalToDebug("Y", 1);
    TForm* frame = MakeForm();
    frame->SetBounds(0, 0, 700, 500);
    frame->Show();
    ASSERT_TRUE(testenv::WaitActive(frame));
    ShowDebugWindow(nullptr);
    ASSERT_TRUE(testenv::WaitActive(fmDebug));
    TToolbarButtonEx* toDebugger = TimersForm->ToolbarButtonEx2;
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        QTest::mouseClick(fmDebug->ButTimers->Widget(), Qt::LeftButton);
        ASSERT_TRUE(testenv::WaitActive(TimersForm));
        EXPECT_FALSE(fmDebug->Visible());
        EXPECT_EQ(TimersForm->InputNames(), std::vector<AnsiString>{"A"});
        EXPECT_EQ(TimersForm->OutCount, 1);
        ClickAt(toDebugger->Widget(), QPoint(toDebugger->Width() / 2, toDebugger->Height() / 2));
        ASSERT_TRUE(testenv::WaitActive(fmDebug));
        EXPECT_FALSE(TimersForm->Visible());
        EXPECT_EQ(Rows(fmDebug->in_signal->Items()), Strings{"A"});
    }
    EXPECT_TRUE(frame->Visible());
}

// The debugger gives way to another window of the program that becomes
// active, as the window manager settles it: not to the frame that the manager
// hands the focus to for a moment while the debugger takes over from the
// diagram, but to the frame once the user works in it (a click on its scheme,
// to pick signals there) and it stays active; the run halts then.
TEST_F(TimingWindow, TheDebuggerGivesWayOnlyToAWindowThatStaysActive) {
    Load();
    AddSignalToDebug("A", 0);
    AddSignalToDebug("Y", 1);
    TForm* frame = MakeForm();
    frame->SetBounds(0, 0, 700, 500);
    ASSERT_TRUE(ShowActive(frame));
    ShowTimingDebugWindow(nullptr); // the frame's "Временные диаграммы"
    ASSERT_TRUE(testenv::WaitActive(TimersForm));
    TToolbarButtonEx* toDebugger = TimersForm->ToolbarButtonEx2;
    ClickAt(toDebugger->Widget(), QPoint(toDebugger->Width() / 2, toDebugger->Height() / 2));
    ASSERT_TRUE(testenv::WaitActive(fmDebug));
    QTest::mouseClick(fmDebug->btRetry->Widget(), Qt::LeftButton);
    EXPECT_EQ(RunState(), "shown timer running halt");
    frame->SetFocus();
    ASSERT_TRUE(testenv::WaitActive(frame));
    EXPECT_EQ(RunState(), "hidden retry");
    EXPECT_FALSE(TimersForm->Visible());
}

TEST_F(TimingWindow, ItsDialogsKeepTheTracesAndOnlyYesChangesTheInterval) {
    Open({"A", "B"}, {});
    Events(4);
    In(0)->InSignClick();
    ModalScript script;
    script.On(fmFormuls, [] {
        fmFormuls->ComboBox->SetText("B");
        fmFormuls->Edit->SetText("10H10L");
        fmFormuls->BitBtn1->Click();
    });
    // Each time the dialog shows the interval in use: 150 ms from the
    // program's timer, then what "Да" took, never what a cancel left.
    std::vector<int> offered;
    script.On(fmMTValue, [&] {
        offered.push_back(fmMTValue->Interval());
        fmMTValue->Val->SetValue(100);
        fmMTValue->btOk->Click();
    });
    script.On(fmMTValue, [&] {
        offered.push_back(fmMTValue->Interval());
        fmMTValue->Val->SetValue(5000);
        fmMTValue->Button1->Click();
    });
    script.On(fmMTValue, [&] {
        offered.push_back(fmMTValue->Interval());
        fmMTValue->Val->SetText("300");
        fmMTValue->Widget()->close(); // the window manager's close

    });
    // A number typed beyond the range and taken at once is the maximum.
    script.On(fmMTValue, [&] {
        offered.push_back(fmMTValue->Interval());
        fmMTValue->Val->SetText("20000");
        fmMTValue->btOk->Click();
    });
    TimersForm->BitBtn1->Click();
    EXPECT_EQ(TimersForm->Formulas().Count(), 1);
    EXPECT_EQ(In(1)->Level, 1); // the formula's first step
    for (int rate : {2, 2, 2, 200}) {
        TimersForm->EditIntervalAction->Execute();
        EXPECT_EQ(TimersForm->Rate, rate);
        EXPECT_EQ(TimersForm->MinInterval->Caption(), IntToStr(rate * 50) + " мс"_a);
        EXPECT_EQ(fmDebug->MinInterval, rate * 50);
    }
    EXPECT_EQ(offered, (std::vector<int>{150, 100, 100, 100}));
    EXPECT_EQ(script.Pending(fmFormuls) + script.Pending(fmMTValue), 0u);
    EXPECT_EQ(script.unscripted, 0);
    EXPECT_FALSE(script.stuck);
    EXPECT_TRUE(TimersForm->Visible());
    EXPECT_EQ(std::pair(In(0)->X, TimersForm->InCount), std::pair(5, 2));
    EXPECT_EQ(Column(In(0), 5), kEdge);
}

TEST_F(TimingWindow, AShortestTimerOfNoTimeGivesTheShortestIntervalTheDialogOffers) {
    const struct {
        uint32_t preset; // ticks of 50 ms; a program gives at most 101
        int interval, rate;
    } cases[] = {{0, 50, 1}, {101, 5050, 101}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        Builder b;
        b.Timers = 1;
        b.Timer(A, Op(3072, 0), c.preset, 0, {T});
        b.AddName(A, "A");
        b.AddName(T, "T");
        Open({"A"}, {"T"}, b);
        const AnsiString caption = IntToStr(c.interval) + " мс"_a;
        EXPECT_EQ(TimersForm->MinInterval->Caption(), caption);
        EXPECT_EQ(TimersForm->MinIntervalMs, c.interval);
        EXPECT_EQ(TimersForm->Rate, c.rate);
        EXPECT_EQ(fmMTValue->Interval(), c.interval);
        // The dialog cancelled: the interval stays.
        ModalScript script;
        script.On(fmMTValue, [] { fmMTValue->Button1->Click(); });
        TimersForm->EditIntervalAction->Execute();
        EXPECT_EQ(script.Pending(fmMTValue), 0u);
        EXPECT_EQ(TimersForm->MinInterval->Caption(), caption);
        EXPECT_EQ(TimersForm->Rate, c.rate);
        TimersForm->ToolbarButtonEx1->Click();
    }
}

// The program's shortest timer, 20 ticks (1000 ms), spans 20 steps however the
// diagram opens: from the frame, from the debugger window shown or by the
// frame's button while that window is shown. An interval chosen in the dialog
// stays until another program is loaded.
TEST_F(TimingWindow, TheIntervalIsTheProgramsShortestTimerHoweverTheDiagramOpens) {
    auto program = [](uint32_t preset) {
        Builder b;
        b.Timers = 1;
        b.Timer(A, Op(3072, 0), preset, 0, {T});
        b.AddName(A, "A");
        b.AddName(T, "T");
        return b;
    };
    Load(program(20));
    Watch({"A"}, {"T"});
    ASSERT_TRUE(fmDebug->Visible());
    auto opened = [&](const AnsiString& caption, int rate) {
        ASSERT_TRUE(TimersForm->Visible());
        EXPECT_FALSE(fmDebug->Visible());
        EXPECT_EQ(TimersForm->MinInterval->Caption(), caption);
        EXPECT_EQ(TimersForm->Rate, rate);
        EXPECT_EQ(fmMTValue->Interval(), rate * 50);
    };
    auto toDebugger = [] {
        TimersForm->ToolbarButtonEx2Click(TimersForm->ToolbarButtonEx2);
        ASSERT_TRUE(fmDebug->Visible());
    };
    fmDebug->ButTimers->Click();
    opened("1000 мс"_a, 20);
    TimersForm->EventCounter = 1;
    const int ticks = Emulator()->TickCount;
    Events(20);
    EXPECT_EQ(Emulator()->TickCount - ticks, 20);

    toDebugger();
    ShowTimingDebugWindow(nullptr);
    opened("1000 мс"_a, 20);
    TimersForm->ToolbarButtonEx1Click(TimersForm->ToolbarButtonEx1);
    ShowTimingDebugWindow(nullptr);
    opened("1000 мс"_a, 20);

    ModalScript script;
    script.On(fmMTValue, [] {
        fmMTValue->Val->SetValue(5000);
        fmMTValue->btOk->Click();
    });
    TimersForm->EditIntervalAction->Execute();
    EXPECT_EQ(script.Pending(fmMTValue), 0u);
    toDebugger();
    fmDebug->ButTimers->Click();
    opened("5000 мс"_a, 100);

    // Another program: its own timer again, 4 ticks.
    toDebugger();
    Load(program(4));
    fmDebug->ButTimers->Click();
    opened("200 мс"_a, 4);
}

TEST_F(TimingWindow, AReopenedDiagramDrawsInViewFromTheLeft) {
    Open({"A"}, {"Y"});
    TControlScrollBar* bar = TimersForm->ScrollPapa->HorzScrollBar();
    const int width = TimersForm->ScrollPapa->Width();
    Events(width);
    ASSERT_GT(bar->Position(), 0);
    // To the scheme and back: the traces start again at the left, in view.
    TimersForm->ToolbarButtonEx1->Click();
    ShowTimingDebugWindow(nullptr);
    ASSERT_TRUE(ProcessUntil([] { return TimersForm->InCount + TimersForm->OutCount == 2; }));
    EXPECT_EQ(In(0)->X, 1);
    EXPECT_EQ(bar->Position(), 0);
    Events(3);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Column(In(0), 4), kLow);
}

TEST_F(TimingWindow, OpenedWhileTheDebuggerRunsItTakesTheRunOverAndDraws) {
    Load();
    Watch({"A"}, {"Y"});
    Tick("A");
    fmDebug->btRetry->Click();
    ASSERT_TRUE(fmDebug->Timer->Enabled());
    fmDebug->ButTimers->Click();
    ASSERT_TRUE(TimersForm->Visible());
    TimersForm->RebuildRows(); // as its activation does
    // One timer runs the emulator, this window's, and both windows offer the halt.
    EXPECT_TRUE(TimersForm->Timer1->Enabled());
    EXPECT_FALSE(fmDebug->Timer->Enabled());
    EXPECT_TRUE(TimersForm->btHalt->Visible());
    EXPECT_TRUE(fmDebug->btHalt->Visible());
    // Its events draw the traces, and the ticks are the diagram's alone, at
    // the rate of the program's timer (3 ticks, 150 ms): a tick every 8 events.
    EXPECT_EQ(TimersForm->MinInterval->Caption(), "150 мс"_a);
    const int ticks = Emulator()->TickCount;
    Events(25);
    EXPECT_EQ(In(0)->X, 26);
    EXPECT_EQ(Column(In(0), 26), kHigh);
    EXPECT_EQ(Emulator()->TickCount - ticks, 3);
    TimersForm->btHalt->Click();
    EXPECT_FALSE(TimersForm->Timer1->Enabled() || fmDebug->Timer->Enabled() || fmDebug->Running);
}

TEST_F(TimingWindow, TheHeightFitsTheRowsFormulasOfDeletedSignalsAndRowsGoToTheHistory) {
    Open({"A", "B"}, {"Y"});
    const int first = TimersForm->Height();
    TimersForm->SpeedButton1->Click();
    EXPECT_EQ(TimersForm->Height(), 217);
    TimersForm->SpeedButton1->Click(); // already fitted: the first height stays remembered
    TimersForm->SpeedButton2->Click();
    EXPECT_EQ(TimersForm->Height(), first);
    AddFormula("B", "1H1L");
    AddFormula("A", "4H");
    // A leaves the debugger: its formula goes at the next rebuild.
    fmDebug->in_signal->SetSelected(0, true);
    fmDebug->DeleteActionExecute(fmDebug->DeleteAction);
    TimersForm->RebuildRows();
    ASSERT_EQ(TimersForm->Formulas().Count(), 1);
    EXPECT_EQ(TimersForm->Formulas()[0].Row, 0); // B's row moved up
    EXPECT_EQ(Rows(&TimersForm->Formulas().History()), Strings{"4H"});
    // "Удалить": every formula to the history, the debugger's rows emptied.
    TimersForm->DelAction->Execute();
    EXPECT_EQ(TimersForm->Formulas().Count() + TimersForm->InCount + fmRun->Wanted.Count(), 0);
    EXPECT_EQ(Rows(&TimersForm->Formulas().History()), (Strings{"4H", "1H1L"}));
    EXPECT_EQ(fmDebug->in_signal->Items()->Count() + fmDebug->out_signal->Items()->Count(), 0);
    TimersForm->Close(); // closing forgets the history too
    EXPECT_EQ(TimersForm->Formulas().History().Count(), 0);
}

TEST_F(TimingWindow, AFormulaDrivesAnInputAndTheOutputFollowsItShownOrHidden) {
    Open({"A", "B"}, {"Y"});
    In(1)->InSignClick(); // B high: Y = A
    fmDebug->MinInterval = 1000; // one tick per event
    TimersForm->FormShow(TimersForm);
    AddFormula("A", "2H1L");
    std::string a, y;
    for (int i = 0; i < 9; ++i) {
        Events(1);
        a += char('0' + In(0)->Level);
        y += char('0' + Out(0)->Level);
    }
    EXPECT_EQ(a, "110110110");
    EXPECT_EQ(y, "111011011"); // one event later: the scan comes before the tick
    // Running, hidden by another window: the run goes on and the formula
    // drives the debugger's row; the debugger shows its halt button.
    TimersForm->btRetry->Click();
    TimersForm->ToolbarButtonEx1->Click();
    EXPECT_TRUE(!TimersForm->Visible() && TimersForm->Timer1->Enabled() && fmDebug->btHalt->Visible());
    std::string hidden;
    for (int i = 0; i < 6; ++i) {
        Events(1);
        hidden += DebuggerTicked("A") ? '1' : '0';
    }
    EXPECT_EQ(hidden, "110110");
    EXPECT_EQ(TimersForm->InCount, 0);
    // The debugger halts both.
    fmDebug->btHaltClick(fmDebug->btHalt);
    EXPECT_TRUE(!TimersForm->Timer1->Enabled() && TimersForm->btRetry->Visible());
}

// A formula is at the level of its first step from its first tick, for that
// step's whole count of ticks, when it is added and after "Обнулить".
TEST_F(TimingWindow, AFormulaIsHighFromItsFirstTickWhenAddedAndAfterZeroing) {
    Open({"A", "B"}, {"Y"});
    fmDebug->MinInterval = 1000; // one tick per event
    TimersForm->FormShow(TimersForm);
    AddFormula("A", "10H10L");
    EXPECT_EQ(In(0)->Level, 1);
    EXPECT_TRUE(DebuggerTicked("A"));
    auto levels = [&](int events) {
        std::string a;
        for (int i = 0; i < events; ++i) {
            Events(1);
            a += char('0' + In(0)->Level);
        }
        return a;
    };
    EXPECT_EQ(levels(25), std::string(10, '1') + std::string(10, '0') + std::string(5, '1'));
    // The trace, one pixel a step: up at x = 1 as the formula is added, high
    // for ten steps, down at x = 11, low for ten, up at 21 (an edge is two
    // pixels wide, on the left of its step).
    std::string trace;
    for (int x = 1; x <= 25; ++x) {
        const std::string column = Column(In(0), x);
        trace += column == kEdge ? '|' : column == kHigh ? 'H' : column == kLow ? 'L' : '?';
    }
    EXPECT_EQ(trace, "|HHHHHHHH||LLLLLLLL||HHHH");
    EXPECT_EQ(levels(7), "11111" "00");
    // "Обнулить" clears every input; the formula starts again at its first step.
    In(1)->InSignClick();
    TimersForm->ToolbarButtonEx6->Click();
    EXPECT_FALSE(DebuggerTicked("B"));
    EXPECT_EQ(In(0)->Level, 1);
    EXPECT_TRUE(DebuggerTicked("A"));
    EXPECT_EQ(levels(12), std::string(10, '1') + "00");
}

// ---- the formula editor on formulas of its own -----------------------------------

// Formulas with inputs of their own: a level per name.
class FakeOwner : public IFormulaOwner, public IFormulaSink {
public:
    TFormulaSet set;
    std::vector<AnsiString> inputs{"A", "B", "X"};
    std::map<std::string, int> level;
    TFormulaSet& Formulas() override { return set; }
    std::vector<AnsiString> InputNames() override { return inputs; }
    IFormulaSink& FormulaSink() override { return *this; }
    void Scan() override {}
    void OutputsFollow() override {}
    int InputLevel(const FormulStr& f) override { return level[f.Name.str()]; }
    void ToggleInput(const FormulStr& f) override { level[f.Name.str()] ^= 1; }
};

class FormulaEditor : public DebuggerTest {
protected:
    void SetUp() override {
        DebuggerTest::SetUp();
        fmFormuls = MakeForm<TfmFormuls>();
        fmFormuls->Owner = &owner;
        owner.set.History().Add("3H3L");
        fmFormuls->Show();
    }
    // Picks the signal, types the text and adds.
    void Add(const char* name, const AnsiString& text) {
        fmFormuls->ComboBox->SetText(name);
        fmFormuls->Edit->SetText(text);
        fmFormuls->BitBtn3Click(fmFormuls->BitBtn3);
    }
    Strings List() const { return Rows(fmFormuls->ListBox->Items()); }
    FakeOwner owner;
};

TEST_F(FormulaEditor, AddsInNormalFormReplacesInPlaceAndShowsTheSetTheInputsAndTheHistory) {
    Add("A", "007H");
    EXPECT_EQ(owner.level["A"], 1); // the first step's level at once
    Add("B", "10H5L");
    Add("a", "2L"); // A again, typed in small letters
    EXPECT_EQ(List(), (Strings{"A - 2L", "B - 10H5L"}));
    EXPECT_EQ(Rows(fmFormuls->NameList()), (Strings{"A=2L", "B=10H5L"}));
    ASSERT_EQ(owner.set.Count(), 2);
    EXPECT_EQ(std::tuple(owner.set[0].Name, owner.set[0].Row, owner.set[1].Row, owner.level["A"]), std::tuple("A", 0, 1, 0));
    // Shown again, it lists what the set holds now.
    fmFormuls->Hide();
    owner.set.Set(owner.set.Append(), "X", 2, "1H", owner);
    fmFormuls->Show();
    EXPECT_EQ(List(), (Strings{"A - 2L", "B - 10H5L", "X - 1H"}));
    EXPECT_EQ(Rows(fmFormuls->NameList()), (Strings{"A=2L", "B=10H5L", "X=1H"}));
    EXPECT_EQ(Rows(fmFormuls->ComboBox->Items()), (Strings{"A", "B", "X"}));
    EXPECT_EQ(Rows(fmFormuls->Edit->Items()), Strings{"3H3L"});
    EXPECT_FALSE(fmFormuls->ListBox->Visible());
}

TEST_F(FormulaEditor, RefusesWithoutAddingAndShowsWhatWasCut) {
    const struct {
        const char *name, *typed, *shown;
    } cases[] = {
        {"A", "1x2H", "1x"}, {"A", "H5", ""}, {"A", "5HH", "5HH"},
        {"Q", "1H", "1H"}, // no such input row
        {"", "1x", "1x"},  // no signal: the text is not even checked
    };
    for (const auto& c : cases) {
        Add(c.name, c.typed);
        EXPECT_EQ(fmFormuls->Edit->Text(), c.shown) << c.typed;
    }
    EXPECT_EQ(owner.set.Count() + int(List().size()) + int(owner.level.size()), 0);
}

TEST_F(FormulaEditor, DeletesThePickedLineOnlyAndSaysHowToPickOne) {
    Add("A", "1H1L");
    Add("B", "1H1L1H");
    fmFormuls->btDeleteFormulaClick(fmFormuls->btDeleteFormula);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Для удаления \n выберите формулу в списке справа  >> "_a});
    EXPECT_EQ(owner.set.Count(), 2);
    fmFormuls->ListBox->SetItemIndex(0);
    fmFormuls->btDeleteFormulaClick(fmFormuls->btDeleteFormula);
    EXPECT_EQ(List(), Strings{"B - 1H1L1H"});
    EXPECT_EQ(Rows(fmFormuls->NameList()), Strings{"B=1H1L1H"});
    EXPECT_EQ(owner.set.Count(), 1);
}

TEST_F(FormulaEditor, TheViewButtonWidensToTheListWhereAShiftClickCopiesAFormula) {
    Add("A", "4H");
    Add("B", "10H5L");
    // Width, list shown, the button's caption.
    auto view = [] { return std::tuple(fmFormuls->Width(), fmFormuls->ListBox->Visible(), fmFormuls->Button3->Caption()); };
    fmFormuls->Button3->Click();
    EXPECT_EQ(view(), std::tuple(600, true, "Просмотр  <<"_a));
    QWidget* list = fmFormuls->ListBox->List()->viewport();
    const TRect r = fmFormuls->ListBox->ItemRect(1);
    const QPoint at(r.Left + 5, r.Top + 3);
    fmFormuls->Edit->SetText("");
    ClickAt(list, at); // no Shift: only the signal
    EXPECT_EQ(fmFormuls->ComboBox->Text() + "|" + fmFormuls->Edit->Text(), "B|");
    fmFormuls->ComboBox->SetText("");
    Send(list, QEvent::MouseButtonPress, Qt::LeftButton, at, Qt::ShiftModifier);
    Send(list, QEvent::MouseButtonRelease, Qt::LeftButton, at, Qt::ShiftModifier);
    EXPECT_EQ(fmFormuls->ComboBox->Text() + "|" + fmFormuls->Edit->Text(), "B|10H5L");
    fmFormuls->Button3->Click();
    EXPECT_EQ(view(), std::tuple(300, false, "Просмотр  >>"_a));
}

// The view button changes the width only: on a desktop that frames the
// window the buttons along the bottom stay whole, also when it shows again,
// and the window stays where it is. Shown modally the first time, as the
// timing diagram shows it.
TEST_F(FormulaEditor, TheViewButtonKeepsTheHeightAndThePlace) {
    auto* f = MakeForm<TfmFormuls>();
    f->Owner = &owner;
    int height = 0;
    QPoint place;
    auto look = [&] {
        // Where the user sees it: framed by the desktop (on a loaded one a
        // little after it shows), where a desktop frames windows.
        QWidget* w = f->Widget();
        ASSERT_TRUE(testenv::WaitExposed(w));
        if (QGuiApplication::platformName() == "xcb") {
            EXPECT_TRUE(testenv::WaitFor([w] { return w->frameGeometry().topLeft() != w->geometry().topLeft(); }));
        }
        height = f->ClientHeight();
        place = w->pos();
        EXPECT_EQ(height, 176);
    };
    auto press = [&](const char* what) {
        return [&, what] {
            SCOPED_TRACE(what);
            f->Button3->Click();
            EXPECT_TRUE(testenv::WaitFor([&] { return f->ClientHeight() == height; })) << f->ClientHeight();
            EXPECT_LE(f->BitBtn1->Top() + f->BitBtn1->Height(), f->ClientHeight());
            EXPECT_EQ(f->Widget()->pos(), place) << "the window stays where it is";
        };
    };
    RunModal(f, {look, press("wider"), press("narrower"), press("wider"), [&] { f->ModalResult = mrCancel; }});
    RunModal(f, {[&] { EXPECT_EQ(f->ClientHeight(), height); }, [&] { f->ModalResult = mrCancel; }});
}

TEST_F(FormulaEditor, OkAddsAndEndsExitEndsAndTheLettersAppend) {
    fmFormuls->Hide();
    const int ok = RunModal(fmFormuls, {[&] {
        fmFormuls->ComboBox->SetText("X");
        fmFormuls->Edit->SetText("5");
        fmFormuls->SpeedButton1->Click();
        fmFormuls->Edit->SetText(fmFormuls->Edit->Text() + "1");
        fmFormuls->SpeedButton2->Click();
        fmFormuls->BitBtn1->Click();
    }});
    EXPECT_EQ(ok, mrOk);
    ASSERT_EQ(owner.set.Count(), 1);
    EXPECT_EQ(owner.set[0].Text, "5H1L");
    EXPECT_EQ(RunModal(fmFormuls, {[&] { fmFormuls->BitBtn2->Click(); }}), mrCancel);
    EXPECT_EQ(List().size() + fmFormuls->ComboBox->Items()->Count() + fmFormuls->Edit->Items()->Count(), 0u);
}

} // namespace
} // namespace dbgui
