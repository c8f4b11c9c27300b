// The screen and the application object: the program's own cursors, the
// forms in activation order, and the message processing that long work does
// between its steps.
#include <QElapsedTimer>

#include "GuiTest.h"
#include "common/TestEnv.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

class ScreenApp : public GuiTest {};

// A 16 x 16 cursor picture: a black cross on the transparent colour.
void DrawCross(TBitmap& b, TColor transparent) {
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(transparent);
    b.Canvas()->FillRect(Rect(0, 0, 16, 16));
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(Rect(7, 0, 9, 16));
    b.Canvas()->FillRect(Rect(0, 7, 16, 9));
}

TEST_F(ScreenApp, TheProgramsCursorsCarryTheirPictureAndHotSpotToControlsAndTheScreen) {
    const int CR_SELECT = 3, CR_INSERT = 5;
    TBitmap select, insert;
    DrawCross(select, clFuchsia);
    DrawCross(insert, clFuchsia);
    Screen->SetCursors(CR_SELECT, select, 8, 8);
    Screen->SetCursors(CR_INSERT, insert, 0, 15);
    EXPECT_TRUE(Screen->HasCursor(CR_INSERT));
    EXPECT_FALSE(Screen->HasCursor(4));

    TForm* f = MakeForm();
    auto* box = NewControl<TScrollBox>(f, f, "ScrollBox1");
    box->SetAlign(alClient);
    auto* sheet = NewControl<TPaintBox>(f, box, "PaintBox1");
    f->Show();
    struct Use {
        TCursor cursor;
        QPoint hotSpot;
    };
    // The scheme window sets the box's cursor by mode; the sheet inside shows it.
    for (Use u : {Use{CR_INSERT, QPoint(0, 15)}, Use{CR_SELECT, QPoint(8, 8)}}) {
        box->SetCursor(u.cursor);
        QCursor shown = sheet->Widget()->cursor();
        EXPECT_EQ(shown.hotSpot(), u.hotSpot) << u.cursor;
        QImage img = shown.pixmap().toImage();
        ASSERT_EQ(img.size(), QSize(16, 16));
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);   // the transparent colour is left out
        EXPECT_EQ(img.pixel(8, 2) & 0xFFFFFF, 0u); // the cross stays black
        EXPECT_EQ(qAlpha(img.pixel(8, 2)), 255);
    }
    box->SetCursor(crDefault);
    EXPECT_EQ(sheet->Widget()->cursor().shape(), Qt::ArrowCursor);
    // The screen cursor is the one application-wide override.
    Screen->SetCursor(CR_SELECT);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->hotSpot(), QPoint(8, 8));
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A cursor picture file: a missing one is refused, a real one is taken.
    // (Cursors stay registered for the program's life: each run of this test
    // takes a number not used before.)
    static int fresh = 14000;
    const int hand = fresh++;
    testenv::TempDir dir;
    EXPECT_FALSE(Screen->LoadCursorFile(hand, dir.File("none.bmp"), 1, 1));
    EXPECT_FALSE(Screen->HasCursor(hand));
    select.SaveToFile(dir.File("hand.bmp"));
    EXPECT_TRUE(Screen->LoadCursorFile(hand, dir.File("hand.bmp"), 4, 2));
    box->SetCursor(hand);
    EXPECT_EQ(sheet->Widget()->cursor().hotSpot(), QPoint(4, 2));
}

TEST_F(ScreenApp, FormsComeInActivationOrderAndAModalDialogIsTheActiveFormWhileItRuns) {
    TForm* main = MakeForm();
    main->SetCaption("main");
    Application->SetMainForm(main);
    ASSERT_TRUE(ShowActive(main));
    TForm* dlg = MakeForm();
    TForm* other = MakeForm();
    ASSERT_TRUE(ShowActive(other));
    main->SetFocus();
    ASSERT_TRUE(testenv::WaitActive(main));
    EXPECT_EQ(Screen->Forms(0), main);
    EXPECT_EQ(Screen->Forms(1), other);
    std::vector<TForm*> during;
    RunModal(dlg, {[&] {
        during = {Screen->ActiveForm(), Screen->Forms(0), Screen->Forms(1), Screen->Forms(2)};
        dlg->ModalResult = mrOk;
    }});
    EXPECT_EQ(during, (std::vector<TForm*>{dlg, dlg, main, other}));
    // The form active before the dialog is active again.
    EXPECT_TRUE(testenv::WaitActive(main));
    EXPECT_EQ(Screen->Forms(0), main);
    int count = Screen->FormCount();
    Forget(other);
    Free(other);
    EXPECT_EQ(Screen->FormCount(), count - 1);
    for (int i = 0; i < Screen->FormCount(); ++i) EXPECT_NE(Screen->Forms(i), other);
    EXPECT_THROW(Screen->Forms(count), EListError);
}

TEST_F(ScreenApp, LongWorkLetsWindowsRepaintTimersTickAndQueuedCallsRunBetweenItsSteps) {
    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    pb->SetBounds(0, 0, 60, 40);
    auto* edit = NewControl<TEdit>(f, f, "Edit1");
    edit->SetTop(50);
    // Painting and input reach a window once the desktop shows it.
    ASSERT_TRUE(ShowActive(f));
    pb->Widget()->grab();
    Application->ProcessMessages();
    int paints = 0, ticks = 0;
    bool posted = false;
    pb->OnPaint = [&](TObject*) { ++paints; };
    TTimer timer(nullptr);
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(1);

    // One step of the work: the view needs a repaint, a timer comes due and
    // a call is queued; the paint-only processing lets all three through.
    pb->Invalidate();
    PostCall([&] { posted = true; });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20) {
    }
    Application->ProcessPaintMessages();
    EXPECT_EQ(paints, 1);
    EXPECT_GE(ticks, 1);
    EXPECT_TRUE(posted);
    timer.SetEnabled(false);

    // The full processing also hands queued input to the controls.
    edit->SetFocus();
    QCoreApplication::postEvent(edit->Widget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), AnsiString("a"));
}

} // namespace
