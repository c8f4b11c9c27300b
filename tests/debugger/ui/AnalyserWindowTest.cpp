// The signature analyser window: the analysis shown modally in slices, its
// question, cancelling, what it lists and hides, the CASE check through the
// glue, and the search buttons.
#include <QTimer>

#include "DebuggerUiTest.h"
#include "debugger/ui/TimerUn.h"
#include "toolbars/TBExCtls.h"

namespace dbgui {
namespace {

using dbgfile::Ors;
class AnalyserWindow : public DebuggerTest {
protected:
    void SetUp() override {
        DebuggerTest::SetUp();
        // A run that a failing test leaves open ends after ten seconds.
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (fmRun && fmRun->IsModal()) fmRun->ModalResult = mrCancel;
        });
        watchdog_.setSingleShot(true);
        watchdog_.start(10000);
    }
    void Analyse() { RunSignatureAnalysis(DataFile(), CopyFile()); }

private:
    QTimer watchdog_;
};

TEST_F(AnalyserWindow, TheAnalysisListsSignalsAndConstantsButNeverTheOpenPins) {
    Builder b = Program();
    b.And({A, Op(3072, 0)}, {Op(3072, 6)}); // K = A and an open input: always 0
    b.AddName(Op(3072, 6), "K", "Всегда ноль"_a);
    Write(b);
    TimersForm = MakeForm<TTimersForm>();
    Open(true);
    ShowTimingDebugWindow(nullptr);
    TimersForm->btRetry->Click();
    fmDebug->btRetryClick(fmDebug->btRetry);
    ASSERT_TRUE(fmDebug->Timer->Enabled() && TimersForm->Timer1->Enabled());
    int modal = 0;
    Application->OnModalStart = [&](TForm* f) { modal += f == fmRun; };
    Analyse();
    EXPECT_EQ(modal, 1);
    // The analysis halted both windows' timers first.
    EXPECT_FALSE(fmDebug->Timer->Enabled() || TimersForm->Timer1->Enabled());
    EXPECT_EQ(fmRun->Caption(), " Обработка сигналов закончена."_a);
    EXPECT_TRUE(fmRun->Visible() && !fmRun->IsModal());
    EXPECT_EQ(Rows(fmRun->ListBox1->Items()), (Strings{"A", "B", "X"}));
    EXPECT_EQ(Rows(fmRun->ListBox2->Items()), (Strings{"Y", "X", "Z", "T", "K"}));
    EXPECT_EQ(Rows(fmRun->ListBox3->Items()), Strings{"K=0"});
    // The open pins were analysed all the same.
    EXPECT_GE(fmRun->Lists.Outputs.IndexOfName("_null_in_"), 0);
    EXPECT_GE(fmRun->Lists.Outputs.IndexOfName("_null_out_"), 0);
    // Inputs A, B, X and timer value 3: 2 + 6 * 7 * 4 scans.
    EXPECT_EQ(Emulator()->RunCount, 2 + 6 * 7 * 4);
    EXPECT_FALSE(Emulator()->SuppressDisplay || fmDebug->Running);
    EXPECT_TRUE(port.Calls.empty()) << AnsiToUtf8(port.Calls.empty() ? AnsiString() : port.Calls[0].text);
}

TEST_F(AnalyserWindow, ExitCancelsARunningAnalysis) {
    Load(Ors(16, 40));
    Application->OnModalStart = [](TForm* f) {
        QTimer::singleShot(0, [f] { static_cast<TfmRun*>(f)->btClose->Click(); });
    };
    Analyse();
    EXPECT_EQ(fmRun->Caption(), " Обработка сигналов прервана."_a);
    EXPECT_TRUE(fmRun->Visible());
    EXPECT_EQ(fmRun->ListBox1->Items()->Count(), 16);
    EXPECT_EQ(fmRun->ListBox3->Items()->Count(), 0);
    EXPECT_GT(Emulator()->RunCount, 0);
    EXPECT_LT(Emulator()->RunCount, 1000000);
    EXPECT_FALSE(fmRun->AnalysisRunning() || Emulator()->SuppressDisplay || fmDebug->Running);
    // "Выход" now only hides the window.
    fmRun->btClose->Click();
    EXPECT_FALSE(fmRun->Visible());
}

TEST_F(AnalyserWindow, ALongAnalysisAsksFirstAndNoLeavesItUndone) {
    Load(Ors(24, 2));
    port.Answer(mrNo);
    Analyse();
    // 2 + 6 (2^24 - 1) 3 scans of 25 records at 2e8 records a second.
    const double work = (2.0 + 6.0 * double((1 << 24) - 1) * 3.0) * 25.0;
    const AnsiString expected = " Анализ займёт около "_a + IntToStr((long long)(work / 2e8 + 0.5)) + " с.\n Продолжить?"_a;
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].text, expected);
    EXPECT_EQ(port.Calls[0].buttons, mbYesNo);
    EXPECT_EQ(fmRun->Caption(), " Обработка сигналов прервана."_a);
    EXPECT_EQ(Emulator()->RunCount, 0);
    EXPECT_FALSE(Emulator()->SuppressDisplay);
}

TEST_F(AnalyserWindow, NoAnalysisOrCheckWithoutTheDataFileOrAProgram) {
    Analyse(); // nothing written
    EXPECT_FALSE(fmRun->Visible());
    Write(Program());
    testenv::WriteBytes(ToFsPath(CopyFile()), "damaged");
    Analyse();
    EXPECT_FALSE(fmRun->Visible());
    EXPECT_FALSE(Emulator()->Loaded());
    std::vector<int32_t> words{7};
    EXPECT_FALSE(VerifyCaseTable(DataFile(), CopyFile(), true, &words));
    EXPECT_EQ(words, std::vector<int32_t>{7});
    // Loaded, but nowhere to put the words.
    Write(Program());
    EXPECT_FALSE(VerifyCaseTable(DataFile(), CopyFile(), true, nullptr));
}

// Two analyses leave each comment once; the search buttons wait for the frame's search.
TEST_F(AnalyserWindow, TwoAnalysesLeaveEachCommentOnceTheSearchButtonsWaitForTheFrame) {
    Load();
    Analyse();
    Analyse();
    EXPECT_EQ(Rows(fmDebug->CommentList()), (Strings{"Кнопка A", "Лампа Y", "Лампа Z", "Связь"}));
    EXPECT_EQ(fmDebug->CommentMap().size(), 4u);
    EXPECT_FALSE(fmRun->BitBtn1->Enabled() || fmRun->BitBtn2->Enabled());
    std::vector<AnsiString> searched;
    DebuggerHooks().FindSignal = [&](const AnsiString& name) { searched.push_back(name); };
    // The frame lends a search that it cannot run at the moment: still off.
    bool present = false;
    DebuggerHooks().CanFindSignal = [&] { return present; };
    for (bool now : {false, true}) {
        present = now;
        fmRun->Hide();
        fmRun->Show();
        EXPECT_EQ(fmRun->BitBtn1->Enabled(), now);
    }
    fmRun->ListBox1->SetItemIndex(-1);
    fmRun->BitBtn1Click(fmRun->BitBtn1); // nothing selected
    fmRun->ListBox1->SetItemIndex(1);
    fmRun->ListBox2->SetItemIndex(0);
    fmRun->BitBtn1Click(fmRun->BitBtn1);
    fmRun->BitBtn2Click(fmRun->BitBtn2);
    EXPECT_EQ(searched, (std::vector<AnsiString>{"B", "Y"}));
}

} // namespace
} // namespace dbgui
