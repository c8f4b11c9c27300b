// The progress window: its layout and two numbers, the stop button, and a
// translation run driving it through the translator's progress interface.
#include "../TranslatorTestSupport.h"
#include "app/Progress.h"
#include "platform/gui/GuiTest.h"

using namespace trtest;

namespace {

class ProgressWindow : public GuiTest {
protected:
    TProgressForm* Make() {
        form = MakeForm<TProgressForm>();
        return form;
    }
    TProgressForm* form = nullptr;
};

TEST_F(ProgressWindow, StartsWithMaximumHundredAndAHiddenStopButton) {
    Make();
    EXPECT_EQ(form->Caption(), "Трансляция"_a);
    EXPECT_EQ(form->ClientWidth(), 408);
    EXPECT_EQ(form->ClientHeight(), 66);
    EXPECT_EQ(form->BorderIcons(), biSystemMenu);
    EXPECT_EQ(form->MaxValue(), 100);
    EXPECT_EQ(form->ProgressPosition(), 0);
    EXPECT_EQ(form->CGauge1->MaxValue(), 100);
    EXPECT_EQ(form->CGauge1->Width(), 393);
    EXPECT_EQ(form->CGauge1->Height(), 25);
    EXPECT_TRUE(form->Label1->Caption().IsEmpty());
    EXPECT_EQ(form->btHalt->Caption(), " Остановить"_a);
    EXPECT_FALSE(form->btHalt->Visible());
    EXPECT_EQ(form->FindComponent("CGauge1"), form->CGauge1);
}

TEST_F(ProgressWindow, SetMaxAndSetProgressMoveTheGauge) {
    Make();
    form->SetMax(9);
    form->SetProgress(0);
    for (int i = 0; i < 3; ++i)
        form->SetProgress(form->ProgressPosition() + 1);
    EXPECT_EQ(form->MaxValue(), 9);
    EXPECT_EQ(form->ProgressPosition(), 3);
    EXPECT_EQ(form->CGauge1->MaxValue(), 9);
    EXPECT_EQ(form->CGauge1->Progress(), 3);
    EXPECT_EQ(form->CGauge1->PercentDone(), 33);
}

TEST_F(ProgressWindow, TheStopButtonHidesItselfOnceOrTwice) {
    Make();
    form->Show();
    form->btHalt->SetVisible(true);
    form->btHalt->Click();
    EXPECT_FALSE(form->btHalt->Visible());
    form->btHalt->Click();
    EXPECT_FALSE(form->btHalt->Visible());
    EXPECT_TRUE(form->Visible());
}

// A project run shows the window, counts 3 x files + 3 steps, writes its
// lines, never shows the stop button, and hides the window at the end.
TEST_F(ProgressWindow, AProjectRunDrivesTheWindow) {
    Make();
    testenv::TempDir dir;
    Table table;
    FakeLibrary library;
    ASSERT_TRUE(library.Loaded());
    library.Configure(0, 0, 0);
    TranslatorHooks().Progress = form;
    struct Frame : ITranslatorFrame {
        TProgressForm* form;
        std::vector<AnsiString> texts;
        bool stopShown = false;
        bool hiddenWhileRunning = false;
        void SetFrameEnabled(bool) override {}
        void LetWindowsRepaint() override {
            Application->ProcessPaintMessages();
            texts.push_back(form->Label1->Caption());
            stopShown = stopShown || form->btHalt->Visible();
            hiddenWhileRunning = hiddenWhileRunning || !form->Visible();
        }
        bool SaveSchemeWindows(const TProject&) override { return true; }
    } frame;
    frame.form = form;
    TranslatorHooks().Frame = &frame;

    TScheme s;
    Place(s, s.CreateAndElement(), "E1", 100, 100, 1);
    SaveAs(s, dir.File("s1.tvs"));
    TProject project(nullptr);
    project.SetFileName(dir.File("p.tvp"));
    project.AddFile(dir.File("s1.tvs"));
    TLogFile log;
    log.LibraryName = "gefaketranslate.dll";
    log.TranslateProject(&project);
    TranslatorHooks().Frame = nullptr;
    TranslatorHooks().Progress = nullptr;

    EXPECT_EQ(log.ErrorCount, 0);
    EXPECT_EQ(form->MaxValue(), 6);
    EXPECT_EQ(form->ProgressPosition(), 6);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(frame.stopShown);
    EXPECT_FALSE(frame.hiddenWhileRunning);
    EXPECT_EQ(frame.texts, std::vector<AnsiString>({"Обработка файла "_a + dir.File("s1.tvs"),
                                                    "Запись временных файлов"_a, "Трансляция..."_a,
                                                    "Трансляция..."_a}));
}

} // namespace
