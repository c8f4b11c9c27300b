// Standard controls, paint boxes, timers and gauges.
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLineEdit>

#include "GuiTest.h"
#include "platform/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Controls : public GuiTest {};

TEST_F(Controls, DisabledControlsLookDisabledWhateverTheirFontColour) {
    TForm* f = MakeForm();
    TButton* b = NewControl<TButton>(f, f, "b");
    TLabel* l = NewControl<TLabel>(f, f, "l");
    TCheckBox* c = NewControl<TCheckBox>(f, f, "c");
    for (TColor colour : {clWindowText, clRed}) {
        SCOPED_TRACE(colour);
        for (TControl* x : {static_cast<TControl*>(b), static_cast<TControl*>(l), static_cast<TControl*>(c)}) {
            x->Font()->SetColor(colour);
            x->SetEnabled(false);
            const QPalette& p = x->Widget()->palette();
            for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
                EXPECT_EQ(p.color(QPalette::Active, r), QColor(Qt::GlobalColor(colour == clRed ? Qt::red : Qt::black)));
                EXPECT_NE(p.color(QPalette::Disabled, r), p.color(QPalette::Active, r)) << x->Name().c_str();
            }
            x->SetEnabled(true);
        }
    }
}

TEST_F(Controls, EditChangesOnEveryTextChangeComboOnlyOnTheUsersTypingOrPicking) {
    TForm* f = MakeForm();
    auto* edit = NewControl<TEdit>(f, f, "Edit1");
    auto* combo = NewControl<TComboBox>(f, f, "ComboBox1");
    combo->SetTop(40);
    f->Show();
    int editChanges = 0, comboChanges = 0;
    edit->OnChange = [&](TObject*) { ++editChanges; };
    combo->OnChange = [&](TObject*) { ++comboChanges; };

    edit->SetText("Имя"_a);
    EXPECT_EQ(editChanges, 1);
    EXPECT_FALSE(edit->Modified);
    QTest::keyClicks(edit->Widget(), "ab");
    EXPECT_EQ(editChanges, 3);
    EXPECT_TRUE(edit->Modified);
    EXPECT_EQ(edit->Text(), "Имяab"_a);
    edit->SetText("x");
    EXPECT_FALSE(edit->Modified);

    combo->Items()->Add("Вход"_a);
    combo->Items()->Add("Выход"_a);
    EXPECT_EQ(combo->ItemIndex(), -1); // adding items chooses nothing
    EXPECT_EQ(combo->Text(), AnsiString(""));
    combo->SetItemIndex(1);
    combo->SetText("Вход"_a);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Items()->IndexOf("вХОД"_a), 0);
    EXPECT_EQ(comboChanges, 0);
    QTest::keyClicks(combo->Combo()->lineEdit(), "z");
    EXPECT_EQ(comboChanges, 1);
    EXPECT_EQ(combo->ItemIndex(), -1);

    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(0);
    EXPECT_EQ(comboChanges, 1);
    combo->SetFocus();
    QTest::keyClick(combo->Combo(), Qt::Key_Down);
    EXPECT_EQ(comboChanges, 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(Controls, PaintBoxKeepsItsImageAndRepaintsOnlyWhenAsked) {
    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    pb->SetBounds(0, 0, 40, 30);
    int paints = 0;
    pb->OnPaint = [&](TObject*) {
        ++paints;
        pb->Canvas()->Brush()->SetColor(clWhite);
        pb->Canvas()->FillRect(pb->ClientRect());
    };
    f->Show();
    // What the screen shows is the widget's painting of its image (grab
    // paints the widget as the window system would).
    auto shot = [&] { return pb->Widget()->grab().toImage(); };
    shot(); // first show
    EXPECT_EQ(paints, 1);
    // Drawing outside OnPaint stays, and uncovering does not run OnPaint.
    pb->Canvas()->SetPixels(5, 5, clRed);
    EXPECT_EQ(shot().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(paints, 1);
    pb->Invalidate();
    shot();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(pb->Canvas()->Pixels(5, 5), clWhite);
    pb->SetBounds(0, 0, 60, 30);
    shot();
    EXPECT_EQ(paints, 3);
    pb->Repaint();
    EXPECT_EQ(paints, 4);
}

TEST_F(Controls, APaintBoxBeyondTheImageLimitKeepsItsTopLeftPartWithinIt) {
    struct Case {
        long long w, h;
        bool holds;
    };
    const Case cases[] = {
        {kMaxSurfaceSide, 1000, true},       {kMaxSurfaceSide + 1, 10, false}, {10, kMaxSurfaceSide + 1, false},
        {8192, 8192, true},                  {8192, 8193, false},              {120000, 90000, false},
    };
    for (const Case& c : cases) EXPECT_EQ(SurfaceCanHold(c.w, c.h), c.holds) << c.w << " x " << c.h;

    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    f->Show();
    const std::pair<int, int> sizes[] = {{40000, 20}, {20000, 9000}, {300, 200}};
    for (auto [w, h] : sizes) {
        pb->SetBounds(0, 0, w, h);
        const QImage* img = pb->Canvas()->Image();
        ASSERT_NE(img, nullptr);
        EXPECT_FALSE(img->isNull());
        EXPECT_TRUE(SurfaceCanHold(img->width(), img->height())) << w << " x " << h;
        EXPECT_EQ(img->width(), std::min(w, kMaxSurfaceSide));
        EXPECT_EQ(img->height(), std::min<long long>(h, kMaxSurfacePixels / img->width()));
        // Drawing beyond the image is cut off, never outside memory.
        pb->Canvas()->Brush()->SetColor(clRed);
        pb->Canvas()->FillRect(Rect(w - 10, h - 10, w + 10, h + 10));
    }
}

TEST_F(Controls, TimerIntervalZeroStopsAndTheSameIntervalDoesNotRestart) {
    TTimer t(nullptr);
    std::vector<std::string> order;
    int ticks = 0;
    t.OnTimer = [&](TObject*) {
        ++ticks;
        order.push_back("tick");
    };
    t.SetInterval(300);
    // Due after the first tick and before the one a restarted period would
    // bring: the order holds however late a loaded machine runs them.
    QTimer later;
    later.setSingleShot(true);
    later.setTimerType(Qt::PreciseTimer);
    QObject::connect(&later, &QTimer::timeout, [&] { order.push_back("later"); });
    later.start(400);
    QTest::qWait(200);
    t.SetInterval(300); // unchanged: the period runs on
    ASSERT_TRUE(testenv::WaitFor([&] { return order.size() >= 2; }));
    EXPECT_EQ(order[0], "tick");
    t.SetInterval(0);
    int before = ticks;
    QTest::qWait(350);
    EXPECT_EQ(ticks, before);
    EXPECT_TRUE(t.Enabled());
}

TEST_F(Controls, ACheckBoxClicksOnChangesOnlyAndAGaugeWithoutRangeShowsNoProgress) {
    TForm* f = MakeForm();
    auto* cb = NewControl<TCheckBox>(f, f, "CheckBox1");
    int cbClicks = 0;
    cb->OnClick = [&](TObject*) { ++cbClicks; };
    cb->SetChecked(true);
    cb->SetChecked(true);
    EXPECT_EQ(cbClicks, 1);
    auto* g = NewControl<TGauge>(f, f, "CGauge1");
    g->SetMaxValue(0);
    g->SetProgress(5);
    EXPECT_EQ(g->PercentDone(), 0);
    g->Repaint(); // no division by zero
}

// A check box or radio button is never narrower than its caption needs; a
// list's filling column takes what the other columns leave.
TEST_F(Controls, CaptionsAreNeverCutAndAFillingColumnTakesTheRestOfTheList) {
    TForm* f = MakeForm();
    f->SetBounds(0, 0, 600, 300);
    auto* cb = NewControl<TCheckBox>(f, f, "ConvertCheck");
    auto* rb = NewControl<TRadioButton>(f, f, "Radio");
    for (TWinControl* c : std::initializer_list<TWinControl*>{cb, rb}) {
        c->SetBounds(10, 10, 60, 17);
        c->SetCaption("Конвертировать файл контроллера"_a);
        const int needed = c->Widget()->sizeHint().width();
        EXPECT_GT(needed, 60);
        EXPECT_EQ(c->Width(), needed);
        c->SetWidth(97);
        EXPECT_EQ(c->Width(), needed);
        c->SetWidth(needed + 40); // wider stays wider
        EXPECT_EQ(c->Width(), needed + 40);
    }
    auto* lv = NewControl<TListView>(f, f, "FindSignalListView");
    lv->SetBounds(0, 100, 300, 120);
    for (const char* caption : {"Схема", "Элемент", "Вх / Вых"}) lv->Columns()->Add()->SetCaption(Utf8ToAnsi(caption));
    lv->Columns()->Items(2)->SetAutoSize(true);
    f->Show();
    for (int width : {300, 400}) {
        lv->SetWidth(width);
        Application->ProcessMessages();
        const int inner = static_cast<QAbstractScrollArea*>(lv->Widget())->viewport()->width();
        EXPECT_EQ(lv->Columns()->Items(2)->Width(), inner - 100) << width;
    }
}

} // namespace
