#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "common/Watchdog.h"
#include "controls/gui/SecretPanel.h"
#include "platform/Canvas.h"
#include "platform/gui/StdCtrls.h"

namespace {

struct SecretPanels : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 300);
        panel = NewControl<TSecretPanel>(form, form, "Secret1");
        panel->SetBounds(10, 10, 240, 120);
        panel->SetColor(clWhite);
        panel->Font()->SetColor(clBlack);
        panel->OnStopPlay = [this](TObject*) { ++stops; };
        panel->OnStartPlay = [this](TObject*) { ++starts; };
    }
    void SetLines(std::initializer_list<const char*> lines) {
        TStringList list;
        for (const char* l : lines) list.Add(Utf8ToAnsi(l));
        panel->SetLines(&list);
    }
    // Plays the lines with ticks given by hand only.
    void Start(std::initializer_list<const char*> lines) {
        SetLines(lines);
        panel->SetInterval(0);
        panel->Play();
    }
    // Pixels of a colour inside the text rectangle of the panel's picture.
    int CountIn(TColor color) {
        TRect r = panel->TextRect();
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += panel->Canvas()->Pixels(x, y) == color;
        return n;
    }
    void Tick(int n) {
        for (int i = 0; i < n; ++i) panel->TimerExpired(nullptr);
    }
    TForm* form = nullptr;
    TSecretPanel* panel = nullptr;
    int stops = 0, starts = 0;
};

TEST_F(SecretPanels, OnlyBlankLinesDrawNothing) {
    form->Show();
    Start({"", "   ", "\t"});
    EXPECT_EQ(panel->ScrollLength(), panel->TextRect().Height());
    Tick(40);
    EXPECT_EQ(CountIn(clBlack), 0);
    EXPECT_GT(CountIn(clWhite), 0);
    // The same with a line of text shows it.
    SetLines({"", "Текст"});
    Tick(40);
    EXPECT_GT(CountIn(clBlack), 0);
}

TEST_F(SecretPanels, StopsByItselfAfterTheTextHasPassed) {
    form->Show();
    Start({"Первая строка", "Вторая строка", "Третья строка"});
    EXPECT_EQ(starts, 1);
    int length = panel->TextRect().Height() + 3 * panel->LineHeight();
    EXPECT_EQ(panel->ScrollLength(), length);
    // Three frames a quarter of the way apart.
    for (int frame = 0; frame < 3; ++frame) {
        Tick(length / 4);
        KeepPicture(panel->Widget(), "playing-panel-" + std::to_string(frame + 1));
    }
    Tick(length - 3 * (length / 4));
    EXPECT_EQ(panel->ScrollPos(), length);
    EXPECT_TRUE(panel->Active());
    EXPECT_EQ(stops, 0);
    Tick(1);
    EXPECT_FALSE(panel->Active());
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(panel->MemoryImage(), nullptr);
    Tick(5);
    EXPECT_EQ(stops, 1);
    // Cycled: it starts again instead.
    panel->SetCycled(true);
    panel->Play();
    Tick(length + 1);
    EXPECT_TRUE(panel->Active());
    EXPECT_EQ(panel->ScrollPos(), 0);
    // A change of the lines starts from the beginning.
    Tick(7);
    SetLines({"Другая"});
    EXPECT_EQ(panel->ScrollPos(), 0);
    EXPECT_EQ(panel->ScrollLength(), panel->TextRect().Height() + panel->LineHeight());
}

TEST_F(SecretPanels, TheGlyphMovesTheText) {
    panel->SetBorderWidth(2);
    panel->SetBevelInner(bvRaised);
    const int inflate = 2 + 1 + 1;
    Start({"Строка"});
    TRect plain = panel->TextRect();
    EXPECT_EQ(plain, Rect(inflate + 3, inflate + 3, 240 - inflate - 3, 120 - inflate - 3));
    EXPECT_EQ(panel->PaintRect(), Rect(inflate, inflate, 240 - inflate, 120 - inflate));
    TBitmap glyph;
    glyph.SetSize(32, 16);
    panel->SetGlyph(&glyph);
    struct Case { TGlyphLayout layout; TRect text; TPoint origin; } cases[] = {
        {glGlyphLeft, Rect(plain.Left + 35 + inflate, plain.Top, plain.Right, plain.Bottom),
         TPoint(plain.Left, (plain.Top + plain.Bottom - 16) / 2)},
        {glGlyphRight, Rect(plain.Left, plain.Top, plain.Right - 35 - inflate, plain.Bottom),
         TPoint(plain.Right - 35, (plain.Top + plain.Bottom - 16) / 2)},
        {glGlyphTop, Rect(plain.Left, plain.Top + 3 + 16 + inflate + 3, plain.Right, plain.Bottom),
         TPoint((plain.Left + plain.Right - 32) / 2, plain.Top + 3)},
        {glGlyphBottom, Rect(plain.Left, plain.Top, plain.Right, plain.Bottom - 19 - inflate - 3),
         TPoint((plain.Left + plain.Right - 32) / 2, plain.Bottom - 19)},
    };
    for (const Case& c : cases) {
        panel->SetGlyphLayout(c.layout);
        EXPECT_EQ(panel->TextRect(), c.text) << c.layout;
        EXPECT_EQ(panel->GlyphOrigin(), c.origin) << c.layout;
        EXPECT_EQ(panel->MemoryImage()->Width(), c.text.Width());
    }
    // A panel too small for the text has no text rectangle.
    panel->SetGlyphLayout(glGlyphLeft);
    panel->SetBounds(10, 10, 45, 120);
    EXPECT_TRUE(IsRectEmpty(panel->TextRect()));
}

TEST_F(SecretPanels, SidewaysTheTextRunsAcrossItsOwnHeight) {
    panel->SetScrollDirection(sdHorizontal);
    Start({"", "Короткая", "Самая длинная строка", "", ""});
    TRect r = panel->TextRect();
    EXPECT_EQ(r.Height(), 2 * panel->LineHeight()); // the first to the last non-blank line
    EXPECT_EQ(r.Top, (7 + 113 - 2 * panel->LineHeight()) / 2);
    TBitmap probe;
    probe.Canvas()->SetFont(panel->Font());
    EXPECT_EQ(panel->ScrollLength(), probe.Canvas()->TextWidth("Самая длинная строка"_a) + r.Width());
}

// Sideways the line comes in at the right edge and runs left; for text read
// from right to left it comes in at the left edge and runs right, as far
// from the left edge after n ticks as it was from the right one.
TEST_F(SecretPanels, SidewaysForRightToLeftReadingTheTextRunsTheOtherWay) {
    form->Show();
    panel->SetScrollDirection(sdHorizontal);
    Start({"Текст"});
    const TRect r = panel->TextRect();
    const int widest = panel->ScrollLength() - r.Width();
    ASSERT_GT(r.Width(), widest + 80);
    // The first and last column of the text rectangle with ink.
    auto inked = [&] {
        int first = r.Right;
        int last = r.Left - 1;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (panel->Canvas()->Pixels(x, y) == clBlack) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::pair(first, last);
    };
    Tick(widest + 20);
    const auto [fromRight, fromRightEnd] = inked();
    const int bearing = fromRight - (r.Left + r.Width() - (widest + 20));
    Tick(40);
    EXPECT_EQ(inked().first, fromRight - 40) << "it runs to the left";
    EXPECT_FALSE(panel->UseRightToLeftReading());

    panel->Widget()->setLayoutDirection(Qt::RightToLeft);
    ASSERT_TRUE(panel->UseRightToLeftReading());
    panel->Stop();
    panel->Play();
    Tick(widest + 20);
    const auto [fromLeft, fromLeftEnd] = inked();
    EXPECT_EQ(fromLeft, r.Left + 20 + bearing);
    EXPECT_EQ(fromLeftEnd - fromLeft, fromRightEnd - fromRight) << "the same line";
    Tick(40);
    EXPECT_EQ(inked().first, fromLeft + 40) << "it runs to the right";
    // It has passed the right edge at the end of its length.
    Tick(panel->ScrollLength() - panel->ScrollPos());
    EXPECT_EQ(inked().first, r.Right) << "nothing left in the rectangle";
}

TEST_F(SecretPanels, RaisedOrLoweredTextHasAHighlightCopy) {
    form->Show();
    panel->SetColor(clBtnFace);
    Start({"Текст"});
    Tick(panel->TextRect().Height());
    EXPECT_EQ(CountIn(ColorToRGB(clBtnHighlight)), 0);
    panel->SetTextStyle(bvLowered);
    Tick(1);
    EXPECT_GT(CountIn(ColorToRGB(clBtnHighlight)), 0);
    TBitmap probe;
    probe.Canvas()->SetFont(panel->Font());
    TTextMetric tm = probe.Canvas()->TextMetrics();
    EXPECT_EQ(panel->LineHeight(), tm.tmHeight + tm.tmExternalLeading + 1);
}

TEST_F(SecretPanels, StoppingShowsExactlyTheChildrenItHid) {
    TButton* shown = NewControl<TButton>(form, panel, "Shown");
    TButton* hiddenBefore = NewControl<TButton>(form, panel, "Hidden");
    TButton* freed = NewControl<TButton>(form, panel, "Freed");
    hiddenBefore->SetVisible(false);
    Start({"Строка"});
    EXPECT_FALSE(shown->Visible());
    EXPECT_FALSE(freed->Visible());
    Free(freed);
    panel->Stop();
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hiddenBefore->Visible());
}

TEST_F(SecretPanels, AWorkerTickAsksForOneFrameAtATime) {
    form->Show();
    SetLines({"Раз", "Два", "Три"});
    std::atomic<int> frames{0}, framesElsewhere{0};
    panel->OnPaintClient = [&](TObject*, TCanvas* canvas, TRect rect) {
        if (panel->MemoryImage() && canvas == panel->MemoryImage()->Canvas()) ++(IsMainThread() ? frames : framesElsewhere);
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(rect);
    };
    std::atomic<bool> stoppedOnUi{false};
    panel->OnStopPlay = [&](TObject*) { stoppedOnUi = IsMainThread(); ++stops; };
    panel->SetInterval(2);
    panel->Play();
    // The UI thread is busy while the worker ticks many times.
    ASSERT_TRUE(ProcessUntil([&] { return panel->ScrollPos() > 0; }));
    int before = panel->ScrollPos();
    // Held without events for as long as a loaded machine keeps the worker
    // from its ticks.
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (panel->ScrollPos() <= before + 2 && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(panel->ScrollPos(), before + 2);
    // A long interval holds the worker; the one request made meanwhile is
    // the one frame painted (a tick that was on its way may ask once more).
    panel->SetInterval(60000);
    frames = 0;
    Application->ProcessMessages();
    EXPECT_GE(frames, 1);
    EXPECT_LE(frames, 2);
    panel->SetInterval(2);
    // To the end: the stop is made on the UI thread.
    {
        Watchdog dog("a panel playing to its end", std::chrono::seconds(20));
        ASSERT_TRUE(ProcessUntil([&] { return !panel->Active(); }, 15000));
    }
    EXPECT_TRUE(stoppedOnUi);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(framesElsewhere, 0);
}

TEST_F(SecretPanels, FreedWhilePlaying) {
    for (bool async : {true, false}) {
        auto* p = NewControl<TSecretPanel>(form, form, "Secret2");
        TStringList lines;
        lines.Add("Строка"_a);
        p->SetLines(&lines);
        p->SetAsyncDrawing(async);
        EXPECT_EQ(p->Timer()->SyncEvent(), !async);
        p->SetInterval(1);
        // Played round and round: a UI thread held up past a whole run (the
        // first frame here, a loaded machine anywhere) still finds it playing.
        p->SetCycled(true);
        bool held = false;
        p->OnPaintClient = [&](TObject*, TCanvas*, TRect) {
            if (std::exchange(held, true)) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(4 * p->ScrollLength()));
        };
        int stopped = 0;
        p->OnStopPlay = [&](TObject*) { ++stopped; };
        p->Play();
        ASSERT_TRUE(ProcessUntil([&] { return p->ScrollPos() > 3; }));
        ASSERT_TRUE(p->Active());
        {
            Watchdog dog("freeing a playing panel", std::chrono::seconds(5));
            Free(p);
        }
        EXPECT_EQ(stopped, 1) << async;
        ProcessFor(20); // a frame asked for before is not painted
    }
}

} // namespace
