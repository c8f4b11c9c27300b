// The debugger window: loading through the glue, rows and their sides, the
// scan modes, forced internal signals, the comments, hiding and its messages,
// and the question asked when an internal signal is put into the debugger.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

#include "DebuggerUiTest.h"
#include "common/Desktop.h"
#include "debugger/ui/MT.h"

namespace dbgui {
namespace {

class DebuggerWindow : public DebuggerTest {};

TEST_F(DebuggerWindow, TheSameFileUnforcedKeepsTheRunAMissingOneChangesNothingForceStartsAgain) {
    Write(Program());
    Open(false); // the emulator exists but holds nothing: the first open loads it
    ASSERT_TRUE(fmDebug->Loaded());
    AddSignalToDebug("A", 0);
    RestoreDebugSelection();
    TVAC* first = Emulator();
    first->Run();
    first->Run();
    Open(false);
    for (bool force : {false, true}) OpenDebugData(dir.File("nothing.dat"), dir.File("Debunothing.dat"), force);
    EXPECT_EQ(std::tuple(Emulator(), Emulator()->FileName, Emulator()->RunCount), std::tuple(first, CopyFile(), 2));
    EXPECT_EQ(Rows(fmDebug->in_signal->Items()), Strings{"A"});
    EXPECT_TRUE(port.Calls.empty());
    // Both lists tick their rows with check marks and select several rows.
    for (TExCheckListBox* list : {fmDebug->in_signal, fmDebug->out_signal})
        EXPECT_EQ(std::pair(list->CheckKind(), list->MultiSelect()), std::pair(ckCheckMarks, true)) << list->Name().c_str();
    Open(true);
    EXPECT_NE(Emulator(), first); // a new emulator: counters, images and states start over
    EXPECT_TRUE(Emulator()->Loaded());
    EXPECT_EQ(std::pair(Emulator()->RunCount, fmDebug->CountRun->Text()), std::pair(0, "0"_a));
}

// Rows go to their signals' sides and survive reloads; a signal in no
// program waits for one; a deleted row's signal is not wanted any more.
TEST_F(DebuggerWindow, RowsSurviveAReloadOnTheirSidesAndWaitForTheirProgram) {
    AddSignalToDebug("A", 1);
    RestoreDebugSelection();
    EXPECT_EQ(fmDebug->in_signal->Items()->Count() + fmDebug->out_signal->Items()->Count(), 0); // no program yet
    Load();
    // A and Y go by their drivers whatever was asked; the internal X by its line.
    AddSignalToDebug("Y", 0);
    AddSignalToDebug("X", 1);
    AddSignalToDebug("W", 1);
    RestoreDebugSelection();
    for (bool reload : {false, true}) {
        if (reload) Open(true);
        EXPECT_EQ(Rows(fmDebug->in_signal->Items()), Strings{"A"});
        EXPECT_EQ(Rows(fmDebug->out_signal->Items()), (Strings{"Y", "X"}));
    }
    // The rows became the wanted signals; the unknown one waits after them.
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "A=0\r\nY=1\r\nX=1\r\nW=1\r\n");
    // Every row names its signal by index.
    EXPECT_EQ(fmDebug->InputSignal(0)->Name, "A");
    EXPECT_EQ(fmDebug->OutputSignal(1)->Name, "X");
    Builder b = Program();
    b.AddName(Op(3072, 6), "W");
    Write(b);
    Open(true);
    EXPECT_EQ(Rows(fmDebug->out_signal->Items()), (Strings{"Y", "X", "W"}));
    fmDebug->out_signal->SetSelected(2, true);
    fmDebug->DeleteActionExecute(fmDebug->DeleteAction);
    Open(true);
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "A=0\r\nY=1\r\nX=1\r\n");
}

TEST_F(DebuggerWindow, AddingASignalKeepsItsFirstLineAndOneRow) {
    Load();
    AddSignalToDebug("X", 0);
    AddSignalToDebug("x", 1);
    TStringList in, out;
    in.Add("X");
    out.Add("X");
    AddSignalsToDebug(&in, &out);
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "X=0\r\n");
    EXPECT_EQ(Rows(fmDebug->in_signal->Items()), Strings{"X"});
    EXPECT_TRUE(Rows(fmDebug->out_signal->Items()).empty());
    // An internal input is forced by its row.
    ASSERT_EQ(Emulator()->ForcedInputCount(), 1);
    EXPECT_EQ(std::pair(Emulator()->ForcedInput(0).ByteAddress, Emulator()->ForcedInput(0).Bit), std::pair(3072, 2));
    ClearDebugSignals();
    EXPECT_EQ(Emulator()->ForcedInputCount() + fmRun->Wanted.Count() + fmDebug->in_signal->Items()->Count(), 0);
}

// Retry, step or the timing diagram on an emulator that holds nothing load
// no file: the window closes with the emulator's "no data file" message, also
// when the glue's load of a damaged file failed before. The glue's load runs.
TEST_F(DebuggerWindow, RetryWithoutLoadedDataClosesWithTheNoDataMessageAndStepHalts) {
    const AnsiString noData = " Нет файла данных для отладки.\n Запустите трансляцию (Ctrl+F9). "_a;
    fmDebug->Show();
    fmDebug->btRetryClick(fmDebug->btRetry);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{noData});
    EXPECT_EQ(RunState(), "hidden retry");
    // A debugging copy that ends inside its header.
    testenv::WriteBytes(ToFsPath(DataFile()), "data");
    testenv::WriteBytes(ToFsPath(CopyFile()), "short");
    Open(true);
    ASSERT_FALSE(fmDebug->Loaded());
    EXPECT_EQ(port.Messages().size(), 1u) << "the glue's failed load is silent";
    for (TSpeedButton* b : {fmDebug->btRetry, fmDebug->btStep}) {
        port.Clear();
        fmDebug->Show();
        b->Click();
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{noData});
        EXPECT_FALSE(fmDebug->Visible());
        EXPECT_FALSE(fmDebug->Loaded());
    }
    Write(Program());
    Open(true);
    ASSERT_TRUE(fmDebug->Loaded());
    fmDebug->Show();
    fmDebug->btRetryClick(fmDebug->btRetry);
    EXPECT_TRUE(fmDebug->Loaded() && fmDebug->Mapped());
    EXPECT_EQ(RunState(), "shown timer running halt");
    // Step while running: halted after one scan, and no tick.
    fmDebug->TimerTimer(fmDebug->Timer);
    EXPECT_EQ(std::pair(Emulator()->RunCount, Emulator()->TickCount), std::pair(1, 1));
    fmDebug->btStepClick(fmDebug->btStep);
    EXPECT_EQ(RunState(), "shown retry");
    EXPECT_EQ(std::pair(Emulator()->RunCount, Emulator()->TickCount), std::pair(2, 1));
    EXPECT_EQ(fmDebug->CountRun->Text() + "/" + fmDebug->TimerTicks->Text(), "2/1");
}

TEST_F(DebuggerWindow, TimeIncrementsAreRoundedUpToWholeTicks) {
    Load();
    const struct {
        double ms;
        int ticks;
    } cases[] = {{50, 1}, {120, 3}, {150, 3}, {151, 4}, {50000, 1000}};
    int total = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ms);
        fmDebug->TimeIncr->SetValue(c.ms);
        fmDebug->btIncrementTimersClick(fmDebug->btIncrementTimers);
        total += c.ticks;
        EXPECT_EQ(Emulator()->TickCount, total);
        EXPECT_EQ(Emulator()->RunCount, 0);
    }
}

TEST_F(DebuggerWindow, DeletingTheFirstOfThreeInputRowsKeepsTheThirdForced) {
    Load();
    Watch({"A", "B", "X"}, {"Y", "Z"});
    ASSERT_EQ(Rows(fmDebug->in_signal->Items()), (Strings{"A", "B", "X"}));
    fmDebug->in_signal->SetSelected(0, true);
    fmDebug->DeleteActionUpdate(fmDebug->DeleteAction);
    EXPECT_TRUE(fmDebug->DeleteAction->Enabled());
    fmDebug->DeleteActionExecute(fmDebug->DeleteAction);
    EXPECT_EQ(Rows(fmDebug->in_signal->Items()), (Strings{"B", "X"}));
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "B=0\r\nX=0\r\nY=1\r\nZ=1\r\n");
    // X = B, but X's own row holds it: ticked X with B clear gives Z.
    Tick("X");
    fmDebug->btStepClick(fmDebug->btStep);
    EXPECT_EQ(Emulator()->GetBit(3072, 2), 4);
    EXPECT_TRUE(Shows("Z"));
    Tick("X", false);
    Tick("B");
    fmDebug->btStepClick(fmDebug->btStep);
    EXPECT_EQ(Emulator()->GetBit(3072, 2), 0);
    EXPECT_FALSE(Shows("Z"));
    // Nothing selected: nothing to delete.
    fmDebug->in_signal->SetSelected(0, false);
    fmDebug->in_signal->SetSelected(1, false);
    fmDebug->DeleteActionUpdate(fmDebug->DeleteAction);
    EXPECT_FALSE(fmDebug->DeleteAction->Enabled());
    // The Delete key deletes the selected output row only.
    fmDebug->out_signal->SetSelected(1, true);
    WORD key = VK_DELETE;
    fmDebug->out_signal->OnKeyUp(fmDebug->out_signal, key, 0);
    EXPECT_EQ(Rows(fmDebug->out_signal->Items()), Strings{"Y"});
    EXPECT_EQ(AnsiToUtf8(fmRun->Wanted.Lines().Text()), "B=0\r\nX=0\r\nY=1\r\n");
}

TEST_F(DebuggerWindow, RefreshClearsTheImagesAndUnticksEveryInput) {
    Load();
    Watch({"A", "B"}, {"Y"});
    Tick("A");
    Tick("B");
    fmDebug->btStepClick(fmDebug->btStep);
    ASSERT_TRUE(Shows("Y"));
    // The timing diagram reads outputs and sets inputs through the rows.
    EXPECT_TRUE(fmDebug->IsOutputChecked(1, 0));
    EXPECT_FALSE(fmDebug->IsOutputChecked(3000, 0));
    EXPECT_FALSE(fmDebug->SetInput(1, 0, true)); // no input row
    EXPECT_TRUE(fmDebug->SetInput(0, 1, false));
    EXPECT_FALSE(fmDebug->in_signal->GetChecked(1));
    EXPECT_EQ(Emulator()->GetBit(0, 1), 0);
    fmDebug->Button1Click(fmDebug->Button1);
    EXPECT_FALSE(fmDebug->in_signal->GetChecked(0));
    EXPECT_FALSE(Shows("Y"));
    for (int a = 0; a < 4096; ++a) {
        ASSERT_EQ(Emulator()->ImageBytes()[a], 0) << a;
        ASSERT_EQ(Emulator()->PreviousImageBytes()[a], 0) << a;
    }
}

// Comments of signals at one come and go, each line once: W's comment is
// X's in other letters, shown once while either is at one.
TEST_F(DebuggerWindow, CommentsOfSignalsAtOneComeAndGoEachOnce) {
    struct Step {
        const char* tick;
        bool on;
        Strings memo;
    };
    Builder withW = Program();
    withW.AddName(Op(3072, 5), "W", "СВЯЗЬ"_a);
    withW.Or({A}, {Op(3072, 5)});
    const std::pair<Builder, std::vector<Step>> cases[] = {
        {Program(),
         {{"A", true, {"Кнопка A"}}, {"B", true, {"Кнопка A", "Лампа Y", "Лампа Z", "Связь"}},
          {"A", false, {"Лампа Z", "Связь"}}, {nullptr, false, {"Лампа Z", "Связь"}}}},
        {withW, {{"A", true, {"Кнопка A", "СВЯЗЬ"}}, {"B", true, {"Кнопка A", "СВЯЗЬ", "Лампа Y", "Лампа Z"}}}}};
    for (const auto& [program, steps] : cases) {
        Load(program);
        ClearDebugSignals();
        Watch({"A", "B"}, {});
        for (const Step& s : steps) {
            if (s.tick) Tick(s.tick, s.on);
            fmDebug->btStepClick(fmDebug->btStep);
            EXPECT_EQ(Memo(), s.memo);
        }
    }
}

TEST_F(DebuggerWindow, WhileTheDisplayIsSuppressedTheRunCounterIsWrittenOnFlush) {
    Load();
    fmDebug->Show();
    Emulator()->Run();
    EXPECT_EQ(fmDebug->CountRun->Text(), "1");
    Emulator()->SuppressDisplay = true;
    Emulator()->Run();
    Emulator()->Run();
    Emulator()->Tick();
    EXPECT_EQ(fmDebug->CountRun->Text() + "/" + fmDebug->TimerTicks->Text(), "1/0");
    fmDebug->FlushCounters();
    EXPECT_EQ(fmDebug->CountRun->Text() + "/" + fmDebug->TimerTicks->Text(), "3/0");
    Emulator()->SuppressDisplay = false;
}

TEST_F(DebuggerWindow, TheRealTimerTicksAndScansEveryFiftyMilliseconds) {
    Load();
    Watch({"A", "B"}, {"Y"});
    Tick("A");
    Tick("B");
    QElapsedTimer elapsed;
    elapsed.start();
    fmDebug->btRetryClick(fmDebug->btRetry);
    ASSERT_TRUE(testenv::WaitFor([] { return Emulator()->RunCount >= 3; }));
    fmDebug->btHaltClick(fmDebug->btHalt);
    const int runs = Emulator()->RunCount;
    // Never faster than one scan in 50 ms (the timer may come a little early);
    // a loaded machine may make it slower.
    EXPECT_LE(runs, 1 + elapsed.elapsed() / 45);
    EXPECT_EQ(Emulator()->TickCount, runs);
    EXPECT_TRUE(Shows("Y"));
    EXPECT_EQ(fmDebug->CountRun->Text(), IntToStr(runs));
    QTest::qWait(120);
    EXPECT_EQ(Emulator()->RunCount, runs);
}

// Closing halts even when only the timer runs; so does another window of
// the program taking activation, which also hides it; a message box does not.
TEST_F(DebuggerWindow, ClosingOrAnotherWindowOfTheProgramHaltsAndHidesItAMessageBoxDoesNot) {
    Load();
    fmDebug->Show();
    fmDebug->Timer->SetEnabled(true); // running flag down, timer on
    fmDebug->btCloseClick(fmDebug->btClose);
    EXPECT_EQ(RunState(), "hidden retry");
    fmDebug->Show();
    fmDebug->btRetryClick(fmDebug->btRetry);
    fmDebug->Close(); // by its window frame
    EXPECT_EQ(RunState(), "hidden retry");
    ShowDebugWindow(nullptr);
    EXPECT_FALSE(fmDebug->ButTimers->Visible()); // no timing diagram lent
    QApplication::setActiveWindow(fmDebug->Widget());
    ASSERT_EQ(Screen->ActiveForm(), fmDebug);
    EXPECT_FALSE(IsDebugWindowInactive());
    fmDebug->btRetryClick(fmDebug->btRetry);
    // A message box of the desktop takes the focus: the debugger stays.
    QMessageBox box;
    box.setText("?");
    box.show();
    QApplication::setActiveWindow(&box);
    EXPECT_EQ(RunState(), "shown timer running halt");
    box.hide();
    QApplication::setActiveWindow(fmDebug->Widget());
    // Another window of the program: halted and hidden.
    TForm* other = MakeForm();
    other->Show();
    QApplication::setActiveWindow(other->Widget());
    EXPECT_EQ(RunState(), "hidden retry");
    EXPECT_TRUE(IsDebugWindowInactive());
}

TEST_F(DebuggerWindow, TheInternalSignalQuestionKeepsItsLastChoice) {
    const struct {
        const char* name;
        int choose; // -1: leave as it is
        bool ok;
        int expected, shownFirst;
    } cases[] = {{"Stop", -1, true, 0, 0}, {"Go", 1, true, 1, 0}, {"Next", -1, true, 1, 1}, {"Gone", 0, false, -1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnsiString caption;
        int shown = -2;
        Application->OnModalStart = [&](TForm* f) {
            QTimer::singleShot(0, [&, f] {
                caption = f->Caption();
                shown = fmIO->rgIO->ItemIndex();
                if (c.choose >= 0) fmIO->rgIO->SetItemIndex(c.choose);
                if (c.ok) fmIO->BitBtn1->Click();
                else f->Close();
            });
        };
        EXPECT_EQ(fmIO->Ask(c.name), c.expected);
        EXPECT_EQ(caption, c.name);
        EXPECT_EQ(shown, c.shownFirst);
    }
}

// The interval box and the internal-signal question have no buttons on their
// title bar: the desktop offers neither to minimize nor to maximize them.
TEST_F(DebuggerWindow, TheTwoSmallQuestionsHaveNoTitleBarButtons) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "the buttons are the window manager's";
    if (!fmMTValue) fmMTValue = MakeForm<TfmMTValue>();
    for (TForm* box : {static_cast<TForm*>(fmMTValue), static_cast<TForm*>(fmIO)}) {
        SCOPED_TRACE(box->Name().c_str());
        std::vector<std::string> actions;
        const int result = RunModal(box, {[&] {
            // Listed once the manager has taken the window on.
            EXPECT_TRUE(testenv::WaitFor([&] {
                actions = testenv::AllowedActions(box->Widget());
                return std::find(actions.begin(), actions.end(), "_NET_WM_ACTION_MOVE") != actions.end();
            }));
            box->ModalResult = mrCancel;
        }});
        EXPECT_EQ(result, mrCancel);
        for (const char* offered : {"_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
            EXPECT_EQ(std::find(actions.begin(), actions.end(), offered), actions.end()) << offered;
    }
}

} // namespace
} // namespace dbgui
