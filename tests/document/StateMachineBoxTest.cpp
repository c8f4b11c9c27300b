// The state-machine element's box is sized from its pins' names: as printed
// at any zoom, no name meets the name across its row, nor the title the names
// of the first row.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "document/Scheme.h"
#include "model/FSM.h"
#include "model/ModelHooks.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/StringList.h"

namespace {

// The state machine "m.fsm" with the given pin names.
class Machine : public IFsmServices {
public:
    Machine(std::initializer_list<const char*> inputs, std::initializer_list<const char*> outputs)
        : inputs_(inputs), outputs_(outputs), previous_(ModelHooks().Fsm) {
        ModelHooks().Fsm = this;
    }
    ~Machine() override { ModelHooks().Fsm = previous_; }
    bool ReadPins(const AnsiString& file, TStrings* inputs, TStrings* outputs) override {
        if (file != "m.fsm")
            return false;
        for (const char* n : inputs_)
            inputs->Add(Utf8ToAnsi(n));
        for (const char* n : outputs_)
            outputs->Add(Utf8ToAnsi(n));
        return true;
    }
    bool WritePins(const AnsiString&, TStrings*, TStrings*) override { return false; }
    bool AppendTransitionTable(const AnsiString&, TStrings*) override { return false; }

private:
    std::vector<const char*> inputs_, outputs_;
    IFsmServices* previous_;
};

constexpr int kX = 40;
constexpr int kY = 30;

// The element printed alone (black on white) at a zoom.
QImage Printed(TFSM& f, int zoom) {
    TBitmap b;
    b.SetSize((kX + f.GetWidth() + 40) * zoom / 100, (kY + f.GetHeight() + 20) * zoom / 100);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, b.Width(), b.Height()));
    f.DrawTo(b.Canvas(), true, zoom);
    return b.Image().convertToFormat(QImage::Format_RGB32);
}

bool Ink(const QImage& i, int x, int y) { return (i.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; }

// The bounding box of the pixels inked in with but not in without, within a
// band of rows and columns; empty when there are none.
TRect InkAdded(const QImage& with, const QImage& without, TRect band) {
    TRect box(band.Right, band.Bottom, band.Left, band.Top);
    for (int y = std::max(band.Top, 0); y < std::min(band.Bottom, with.height()); ++y)
        for (int x = std::max(band.Left, 0); x < std::min(band.Right, with.width()); ++x)
            if (Ink(with, x, y) && !Ink(without, x, y)) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.Left < box.Right ? box : TRect();
}

bool Meet(const TRect& a, const TRect& b) {
    return !IsRectEmpty(a) && !IsRectEmpty(b) && a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom &&
           b.Top < a.Bottom;
}

// Prints the element with the names of one side only (the other side's
// renamed to the names the box does not show), and with none, and checks
// every row and the title at each zoom.
void ExpectNamesApart(TFSM& f) {
    TStringList inputs, outputs;
    f.PinNames(&inputs, &outputs);
    auto rename = [&](bool showInputs, bool showOutputs) {
        int in = 0;
        int out = 0;
        for (int i = 0; i < f.PinCount(); ++i) {
            TInOut* p = f.Pin(i);
            if (p->Direction() == 0)
                p->SetName(showInputs ? inputs[in++] : AnsiString("In"));
            else
                p->SetName(showOutputs ? outputs[out++] : AnsiString("Out"));
        }
    };
    const int rows = std::max(inputs.Count(), outputs.Count());
    for (int zoom : {75, 100, 150, 200, 250, 400}) {
        SCOPED_TRACE(zoom);
        auto px = [zoom](int units) { return units * zoom / 100; };
        rename(true, false);
        const QImage left = Printed(f, zoom);
        rename(false, true);
        const QImage right = Printed(f, zoom);
        rename(false, false);
        const QImage bare = Printed(f, zoom);
        rename(true, true);
        QImage white(bare.size(), QImage::Format_RGB32);
        white.fill(Qt::white);
        // Inside the box the bare picture holds only the title. On paper the
        // box's lines are as thick as the scale makes them.
        const int line = std::max(1, zoom / 100);
        const TRect inside = Rect(px(kX) + line, px(kY) + line, px(kX + f.GetWidth()) - line + 1, px(kY + f.GetHeight()) - line + 1);
        const TRect title = InkAdded(bare, white, inside);
        ASSERT_FALSE(IsRectEmpty(title));
        for (int row = 1; row <= rows; ++row) {
            SCOPED_TRACE(row);
            const TRect band = Rect(px(kX), px(kY + 10 * row - 5), px(kX + f.GetWidth()) + 1, px(kY + 10 * row + 5));
            const TRect l = InkAdded(left, bare, band);
            const TRect r = InkAdded(right, bare, band);
            EXPECT_FALSE(Meet(l, r));
            EXPECT_FALSE(Meet(title, l));
            EXPECT_FALSE(Meet(title, r));
        }
    }
}

// Four inputs and two outputs of short names: the names of a row kept apart
// and the title clear of "BTN"; the box still holds every row.
TEST(StateMachineBox, FourInputsAndTwoOutputsKeepTheirNamesApart) {
    Machine lift({"BTN", "TOP", "STOP", "RESET"}, {"UP", "DOWN"});
    TScheme s;
    TFSM* f = s.CreateFSM();
    f->SetX(kX);
    f->SetY(kY);
    f->LoadPinsFromFile("m.fsm");
    ASSERT_EQ(f->PinCount(), 6);
    EXPECT_EQ(f->GetHeight(), 50);
    EXPECT_EQ(f->GetWidth() % 10, 0);
    EXPECT_EQ(f->GetOutput(1)->OffsetX(), f->GetWidth() + 10) << "the outputs stand at the box's edge";
    ExpectNamesApart(*f);
}

// The longest names a machine's file holds widen the box as far as needed;
// short ones leave the width of the other kinds.
TEST(StateMachineBox, TheBoxWidensForLongNamesOnly) {
    TScheme s;
    TFSM* narrow = s.CreateFSM();
    {
        Machine m({"A", "B"}, {"Q"});
        narrow->LoadPinsFromFile("m.fsm");
    }
    EXPECT_EQ(narrow->GetWidth(), 40);
    EXPECT_EQ(narrow->GetHeight(), 30);

    Machine m({"ДАТЧИК_ВЕРХНЕГО_ЭТАЖ", "Кнопка вызова"}, {"ДВИГАТЕЛЬ_ВВЕРХ_БЫСТ", "ТОРМОЗ"});
    TFSM* wide = s.CreateFSM();
    wide->SetX(kX);
    wide->SetY(kY);
    wide->LoadPinsFromFile("m.fsm");
    EXPECT_GT(wide->GetWidth(), 100);
    ExpectNamesApart(*wide);

    // A copy (the pins counted and named after the source) takes the same box.
    TFSM* copy = s.CreateFSM();
    copy->SetInputCount(wide->InputCount());
    copy->SetOutputCount(wide->OutputCount());
    for (int i = 0; i < copy->PinCount(); ++i)
        copy->Pin(i)->SetName(wide->Pin(i)->Name());
    EXPECT_EQ(copy->GetWidth(), 40);
    copy->FitToPins();
    EXPECT_EQ(copy->GetWidth(), wide->GetWidth());
    EXPECT_EQ(copy->GetOutput(0)->OffsetX(), copy->GetWidth() + 10);
    EXPECT_EQ(copy->GetInput(1)->OffsetX(), -10);
}

} // namespace
