// Drawing: inverting Show and Hide restore the canvas exactly, a gesture
// leaves the same picture as a repaint, printing is black on white.
#include <gtest/gtest.h>

#include <QImage>

#include "document/UndoList.h"
#include "model/ModelTestSupport.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace modeltest;

namespace {

// A scheme window as the document sees it: a canvas over an image.
class CanvasWindow : public IEntityOwner {
public:
    CanvasWindow(int w, int h) : image(w, h, QImage::Format_RGB32), canvas(&image) {}
    TCanvas* GetCanvas() override { return &canvas; }
    // A sheet that is not plain black, so that inverting shows everywhere.
    void Background() {
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0x7F);
        }
    }
    QImage image;
    TCanvas canvas;
};

// One of every kind, wires with a junction, a selected and a coloured object.
std::vector<TEntity*> Populate(TScheme& s) {
    std::vector<TEntity*> all;
    auto place = [&](TElement* e, int x, int y) {
        e->SetX(x);
        e->SetY(y);
        all.push_back(e);
        return e;
    };
    TElement* a = place(s.CreateAndElement(), 40, 30);
    a->GetInput(1)->SetInverse(true);
    place(s.CreateOrElement(), 120, 30);
    place(s.CreateXorElement(), 200, 30);
    place(s.CreateTriggerElement(), 280, 30);
    place(s.CreateTimerElement(), 360, 30);
    place(s.CreatePredTimerElement(2), 40, 120);
    place(s.CreateDTriggerElement(), 120, 120);
    place(s.CreateCounterElement(), 200, 120);
    place(s.CreateDecoderElement(), 280, 120);
    place(s.CreateDRSTriggerElement(), 360, 120);
    place(s.CreateD8TriggerElement(), 440, 30);
    place(s.CreateD8RSCounterElement(), 520, 30);
    place(s.CreateByteCompareElement(), 600, 30);
    place(s.CreateReverCounterElement(), 440, 200);
    place(s.CreateCaseElement(3), 520, 200);
    place(s.CreateCase16Element(2), 600, 230);
    place(s.CreateCaseMaskElement(2), 680, 30);
    place(s.CreateCaseDiapElement(6), 680, 230);
    place(s.CreateCommutatorElement(), 40, 240);
    place(s.CreateFilterElement(), 120, 240);
    place(s.CreateGotoElement(), 200, 240);
    place(s.CreateFSM(), 280, 240);
    place(s.CreateSymbol(), 360, 240);
    TDriver* d = static_cast<TDriver*>(place(s.CreateDriver(), 760, 30));
    d->SetName("X1");
    TDriver* m = static_cast<TDriver*>(place(s.CreateVarDriver(), 760, 80));
    m->SetName("V1");
    m->SetMirrored(true);
    TInOut* out = a->GetOutput(0);
    all.push_back(s.CreateWire(out->TipX(), out->TipY(), out->TipX() + 20, out->TipY()));
    all.push_back(s.CreateWire(out->TipX() + 20, out->TipY(), out->TipX() + 20, out->TipY() + 60));
    all.push_back(s.CreateWire(out->TipX() + 20, out->TipY() + 30, out->TipX() + 40, out->TipY() + 30));
    all.push_back(s.CreateWire(10, 330, 90, 370));
    s.AddToSelection(all[2], true);
    all[3]->SetCustomColor(clFuchsia);
    all.back()->SetCustomColor(clLime);
    // The wiring showed its junction dots; the tests start from a bare sheet.
    for (TEPoint* j : s.Junctions())
        j->Hide();
    return all;
}

TEST(SchemeDraw, ShowThenHideRestoresTheCanvasAtEveryZoom) {
    for (int zoom : {25, 100, 150, 400}) {
        CanvasWindow window(800 * zoom / 100 + 20, 400 * zoom / 100 + 20);
        TScheme s(&window);
        s.SetScale(zoom);
        std::vector<TEntity*> all = Populate(s);
        window.Background();
        const QImage clean = window.image.copy();
        for (TEntity* e : all) {
            e->Show();
            EXPECT_NE(window.image, clean) << zoom << " " << e->Label().c_str();
            e->Hide();
            ASSERT_EQ(window.image, clean) << zoom << " " << e->Label().c_str();
        }
        for (TEntity* e : all)
            e->Show();
        // Junctions appear with the nets once shown objects change them.
        s.RebuildNets();
        const QImage shown = window.image.copy();
        // A repaint draws the same picture.
        window.Background();
        s.Draw();
        EXPECT_EQ(window.image, shown) << zoom;
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            (*it)->Hide();
        for (TEPoint* j : s.Junctions())
            j->Hide();
        EXPECT_EQ(window.image, clean) << zoom;
    }
}

// After editing gestures the canvas must equal a full repaint: no residue.
TEST(SchemeDraw, GesturesLeaveNoResidue) {
    CanvasWindow window(900, 450);
    TScheme s(&window);
    std::vector<TEntity*> all = Populate(s);
    window.Background();
    for (TEntity* e : all)
        e->Show();
    s.RebuildNets();
    auto matchesRepaint = [&](const char* step) {
        const QImage now = window.image.copy();
        window.Background();
        s.Draw();
        EXPECT_EQ(now, window.image) << step;
    };
    matchesRepaint("shown");
    // Drag the AND element with its wires.
    s.SelectAt(all[0]->GetX() + 5, all[0]->GetY() + 5, true);
    s.UndoList()->BeginGroup();
    s.CommitSelection();
    s.MoveSelection(30, 0);
    s.MoveSelection(0, 20);
    matchesRepaint("dragging");
    s.ConnectSelection();
    s.MergeOverlappingWires();
    matchesRepaint("dropped");
    s.UndoList()->Undo();
    matchesRepaint("undone");
    // A wire that splits another and makes a junction; inversion, names, colours.
    TInOut* in = static_cast<TElement*>(all[1])->GetInput(0);
    TLink* w = s.CreateWire(in->TipX() - 30, in->TipY(), in->TipX(), in->TipY());
    w->Show();
    matchesRepaint("wire");
    static_cast<TElement*>(all[1])->GetInput(1)->SetInverse(true);
    all[4]->SetName("Таймер"_a);
    static_cast<TTimerElement*>(all[4])->SetDelay(250);
    s.HighlightChain(w->ChainName(), false);
    matchesRepaint("edited");
    s.ClearSelection();
    s.SelectInRect(Rect(0, 0, 300, 200), true);
    s.DeleteSelected();
    matchesRepaint("deleted");
    s.UndoList()->Undo();
    matchesRepaint("restored");
    s.SetScale(150);
    window.Background();
    s.Draw();
    all[5]->Move(10, 10);
    matchesRepaint("zoomed move");
}

TEST(SchemeDraw, PrintingIsBlackOnWhiteAndNeedsNoWindow) {
    TScheme s;
    Populate(s);
    for (TEntity* e : s.LiveObjects())
        e->Show(); // without a canvas nothing is drawn and nothing fails
    s.Draw();
    TBitmap bitmap;
    bitmap.SetSize(900, 450);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 900, 450));
    s.DrawTo(bitmap.Canvas(), true);
    int black = 0;
    const QImage& img = bitmap.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            QRgb p = img.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
            black += p == 0;
        }
    EXPECT_GT(black, 1000);
    // Normal colours keep the settings' colours.
    TBitmap colour;
    colour.SetSize(900, 450);
    colour.Canvas()->Brush()->SetColor(clBlack);
    colour.Canvas()->FillRect(Rect(0, 0, 900, 450));
    s.DrawTo(colour.Canvas(), false);
    bool red = false;
    for (int y = 0; y < 450 && !red; ++y)
        for (int x = 0; x < 900 && !red; ++x)
            red = (colour.Image().pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_TRUE(red);
}

} // namespace
