// Inverting drawing: every picture drawn twice leaves the canvas as it was,
// and the canvas after any sequence of edits equals a fresh repaint.

#include <optional>

#include <QImage>

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "document/InitModule.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

// The smallest rectangle that holds every pixel that differs.
TRect ChangedBox(const std::string& a, const std::string& b, int width) {
    TRect r(1 << 30, 1 << 30, -1, -1);
    for (std::size_t i = 0; i < a.size(); i += 4) {
        if (a.compare(i, 4, b, i, 4) == 0) continue;
        const int p = int(i / 4), x = p % width, y = p / width;
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
    }
    return r;
}

// The canvas must equal a full repaint: the background, then every shown
// entity drawn once.
void ExpectNoResidue(TFSMScheme& doc, BitmapView& view, int zoom, const char* step) {
    const std::string now = view.Pixels();
    view.FillPattern();
    doc.Paint();
    EXPECT_TRUE(view.Pixels() == now) << "zoom " << zoom << ", " << step;
}

TEST(FsmPicture, ShowThenHideRestoresTheCanvasAtEveryZoom) {
    TestUiPort ui;
    for (int zoom : {25, 50, 100, 150, 400}) {
        RecordingWindow w(true);
        BitmapView& view = *w.View();
        const std::string blank = view.Pixels();
        TFSMScheme doc(&w);
        doc.SetZoom(zoom);
        Example e = BuildExample(doc);
        // Every kind of picture: selected state and transition (handles,
        // frames, boxes shown), the highlighted state, a long name, a dragged
        // state, a box with its leader line.
        doc.AddToSelection(e.S1, true);
        doc.AddToSelection(e.S1S2, true);
        doc.AddToSelection(e.Reset, true);
        e.S2->SetName("Очень длинное имя состояния"_a);
        doc.SetCurrentState(e.S2);
        TfsmElement* dragged = AddState(doc, 600, 400, "D", "1");
        dragged->Move(5, 5);
        ASSERT_TRUE(dragged->IsChanged());
        const std::string shown = view.Pixels();
        EXPECT_TRUE(shown != blank) << zoom;
        ExpectNoResidue(doc, view, zoom, "built");

        // Each entity alone: hide changes the canvas (if it draws anything
        // there), show puts back exactly what was there.
        for (TfsmEntity* x : doc.Entities()) {
            const std::string before = view.Pixels();
            x->Hide();
            EXPECT_FALSE(x->IsShown());
            x->Show();
            EXPECT_TRUE(view.Pixels() == before) << zoom << " " << x->GetName().c_str();
        }
        for (TfsmEntity* x : doc.Entities()) x->Hide();
        EXPECT_TRUE(view.Pixels() == blank) << zoom;
        for (TfsmEntity* x : doc.Entities()) x->Show();
        EXPECT_TRUE(view.Pixels() == shown) << zoom;
    }
}

TEST(FsmPicture, AGestureLeavesNoResidue) {
    TestUiPort ui;
    for (int zoom : {100, 150}) {
        RecordingWindow w(true);
        BitmapView& view = *w.View();
        TFSMScheme doc(&w);
        doc.SetZoom(zoom);
        Example e = BuildExample(doc);
        // Press on S1, drag it in grid steps, release, click empty space.
        doc.ClearSelection();
        doc.SelectAt(150, 150, true);
        ASSERT_EQ(doc.HitTestAny(150, 150), 1);
        doc.GetUndoList()->BeginGroup();
        doc.CommitSelection();
        for (int i = 0; i < 5; ++i) doc.MoveSelection(10, 10);
        ExpectNoResidue(doc, view, zoom, "dragging");
        doc.EndDragSelection();
        ExpectNoResidue(doc, view, zoom, "dropped");
        doc.ClearSelection();
        ExpectNoResidue(doc, view, zoom, "selection cleared");
        // Rubber band, delete, undo, paste.
        doc.SelectInRect(true, TRect(0, 0, 900, 700));
        doc.MoveSelection(-20, 0);
        doc.EndDragSelection();
        ExpectNoResidue(doc, view, zoom, "band moved");
        doc.ClearSelection();
        doc.SelectAt(380, 150, true);
        ASSERT_FALSE(doc.Selection().empty());
        doc.DeleteSelected();
        ExpectNoResidue(doc, view, zoom, "deleted");
        doc.GetUndoList()->Undo();
        ExpectNoResidue(doc, view, zoom, "undone");
        ASSERT_TRUE(doc.Check());
        doc.SetCurrentState(e.S2);
        e.S2->GetCondition()->SetText("0");
        doc.AddOutputSignal();
        ExpectNoResidue(doc, view, zoom, "simulated and signal added");
        doc.AddToSelection(e.S1, true);
        doc.CopyToClipboard();
        doc.ClearSelection();
        doc.PasteFromClipboard(500, 500);
        doc.EndDragSelection();
        doc.ClearSelection();
        ExpectNoResidue(doc, view, zoom, "pasted");
    }
}

TEST(FsmPicture, PicturesLandWhereTheZoomPutsThem) {
    // A state at (100, 100) with r = 30 at zoom 150: (105, 105, 195, 195).
    {
        RecordingWindow w(true);
        BitmapView& view = *w.View();
        const std::string blank = view.Pixels();
        TFSMScheme doc(&w);
        doc.SetZoom(150);
        TfsmElement* s = doc.CreateState();
        s->SetX(100);
        s->SetY(100);
        s->SetName("S");
        s->EndDrag();
        s->Show();
        EXPECT_EQ(ChangedBox(blank, view.Pixels(), view.bitmap.Width()), TRect(105, 105, 195, 195));
        // A name wider than the circle widens the picture to the right only.
        s->SetName("Состояние с длинным именем"_a);
        const TRect wide = ChangedBox(blank, view.Pixels(), view.bitmap.Width());
        EXPECT_EQ(wide.Left, 105);
        EXPECT_EQ(wide.Top, 105);
        EXPECT_EQ(wide.Bottom, 195);
        EXPECT_GT(wide.Right, 195);
        // Selecting with the value it has draws nothing.
        const std::string now = view.Pixels();
        s->SetSelected(false);
        EXPECT_TRUE(view.Pixels() == now);
    }
    // A transition spanning (100, 100) to (200, 150) at zoom 200 stays in (180, 180, 420, 320).
    {
        RecordingWindow w(true);
        BitmapView& view = *w.View();
        const std::string blank = view.Pixels();
        TFSMScheme doc(&w);
        doc.SetZoom(200);
        TfsmLink* t = doc.CreateTransition4(100, 100, 130, 150, 170, 100, 200, 150);
        t->SetSelected(true);
        t->Show();
        const TRect box = ChangedBox(blank, view.Pixels(), view.bitmap.Width());
        EXPECT_GE(box.Left, 180);
        EXPECT_GE(box.Top, 180);
        EXPECT_LE(box.Right, 420);
        EXPECT_LE(box.Bottom, 320);
        EXPECT_LT(box.Left, 200);  // the handles around point 0 reach past the curve
        EXPECT_GT(box.Right, 400);
    }
}

bool Lit(const QImage& img, int x, int y) {
    return img.valid(x, y) && (reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] & 0xFFFFFF) != 0;
}

// Each picture of the document drawn alone on black at a zoom.
std::vector<QImage> PicturesAt(TFSMScheme& doc, BitmapView& view, int zoom) {
    doc.SetZoom(zoom);
    std::vector<QImage> pictures;
    for (TfsmEntity* x : doc.Entities()) {
        view.bitmap.Canvas()->Brush()->SetColor(clBlack);
        view.bitmap.Canvas()->FillRect(TRect(0, 0, view.bitmap.Width(), view.bitmap.Height()));
        x->Show();
        pictures.push_back(view.bitmap.Image().copy());
        x->Hide();
    }
    return pictures;
}

std::vector<TPoint> LitPixels(const QImage& img) {
    std::vector<TPoint> lit;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Lit(img, x, y)) lit.push_back(TPoint(x, y));
    return lit;
}

// The pixels lit at 100 % without a lit pixel within one pixel of where the
// zoom puts them (those the view cannot show are not counted).
int LostPixels(const std::vector<TPoint>& normal, const QImage& zoomed, int zoom) {
    int lost = 0;
    for (const TPoint& p : normal) {
        const int zx = p.x * zoom / 100;
        const int zy = p.y * zoom / 100;
        if (zx + 1 >= zoomed.width() || zy + 1 >= zoomed.height()) continue;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
            for (int dx = -1; dx <= 1 && !near; ++dx) near = Lit(zoomed, zx + dx, zy + dy);
        lost += !near;
    }
    return lost;
}

// Drawn smaller or larger, no part of a picture is lost: every pixel lit at
// 100 % has a lit pixel within one pixel of where the zoom puts it. Lines
// one pixel wide (transitions straight or curved, circles, frames, names)
// would otherwise lose the rows and columns a reduction leaves out.
TEST(FsmPicture, EveryPictureStaysWholeAtEveryZoom) {
    TestUiPort ui;
    RecordingWindow w(true);
    BitmapView& view = *w.View();
    TFSMScheme doc(&w);
    Example e = BuildExample(doc);
    TfsmElement* s3 = AddState(doc, 150, 400, "Открыта"_a, "1");
    TfsmElement* s4 = AddState(doc, 400, 400, "S4", "0");
    Connect(doc, e.S1, s3, "10");                // straight down
    Connect(doc, s3, s4, "01");                  // straight across
    Connect(doc, s4, e.S1, "11");                // steep diagonal
    AddTransition(doc, 40, 300, 400, 360, "1X"); // shallow diagonal, free ends
    doc.AddToSelection(e.S2S1, true);            // handles and a shown condition box
    for (TfsmEntity* x : doc.Entities()) x->Hide();
    std::vector<std::vector<TPoint>> normal;
    for (const QImage& picture : PicturesAt(doc, view, 100)) normal.push_back(LitPixels(picture));
    // Boxes of unselected owners draw nothing; states and transitions do.
    for (std::size_t i = 0; i < normal.size(); ++i)
        EXPECT_TRUE(TFSMScheme::IsCondition(doc.Entities()[i]) || !normal[i].empty()) << "picture " << i;
    for (int zoom = TFSMScheme::kMinZoom; zoom <= TFSMScheme::kMaxZoom; zoom += 25) {
        if (zoom == 100) continue;
        const std::vector<QImage> zoomed = PicturesAt(doc, view, zoom);
        for (std::size_t i = 0; i < normal.size(); ++i)
            EXPECT_EQ(LostPixels(normal[i], zoomed[i], zoom), 0) << "zoom " << zoom << ", picture " << i;
    }
}

// Whether a pixel within reach of (x, y) differs between two pictures of
// the given width.
bool ChangedNear(const std::string& a, const std::string& b, int width, int x, int y, int reach) {
    const int height = int(a.size() / 4 / std::size_t(width));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= width || py >= height) continue;
            const std::size_t i = (std::size_t(py) * std::size_t(width) + std::size_t(px)) * 4;
            if (a.compare(i, 4, b, i, 4) != 0) return true;
        }
    return false;
}

// Transitions as long as the sheets may be are drawn where the view shows
// them, erased again, and printed: one 16,900 units long, one across the
// largest sheet from corner to corner.
TEST(FsmPicture, TransitionsAsLongAsTheLargestSheetAreDrawnAndPrinted) {
    TestUiPort ui;
    const int far = TInitModule::MaxSheetSize - 100;
    const struct { int x0, y0, x1, y1; } lines[] = {{100, 100, 17000, 300}, {100, 100, far, far}};
    for (const auto& l : lines) {
        for (int zoom : {100, 50}) {
            SCOPED_TRACE("to " + std::to_string(l.x1) + "," + std::to_string(l.y1) + " at zoom " + std::to_string(zoom));
            RecordingWindow w(true);
            BitmapView& view = *w.View();
            const std::string blank = view.Pixels();
            TFSMScheme doc(&w);
            doc.SetZoom(zoom);
            TfsmLink* t = doc.CreateTransition2(l.x0, l.y0, l.x1, l.y1);
            ASSERT_NE(t, nullptr);
            t->Show();
            const std::string shown = view.Pixels();
            BitmapView paper;
            const std::string white = paper.Pixels();
            t->DrawTo(paper.FsmCanvas());
            const std::string printed = paper.Pixels();
            // Along the line, as far as the view reaches.
            for (int x = l.x0 + 50; x * zoom / 100 < view.bitmap.Width() - 10; x += 100) {
                const int y = l.y0 + int((long long)(x - l.x0) * (l.y1 - l.y0) / (l.x1 - l.x0));
                if (y * zoom / 100 >= view.bitmap.Height() - 10) break;
                EXPECT_TRUE(ChangedNear(blank, shown, view.bitmap.Width(), x * zoom / 100, y * zoom / 100, 2)) << x;
                if (x + 5 < paper.bitmap.Width() && y + 5 < paper.bitmap.Height()) {
                    EXPECT_TRUE(ChangedNear(white, printed, paper.bitmap.Width(), x + 5, y + 5, 2)) << "printed at " << x;
                }
            }
            ExpectNoResidue(doc, view, zoom, "long transition");
            t->Hide();
            EXPECT_TRUE(view.Pixels() == blank) << "erased";
        }
    }
}

TEST(FsmPicture, WithoutACanvasNothingIsDrawnAndNothingIsShown) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    for (TfsmEntity* x : doc.Entities()) {
        x->Show();
        EXPECT_FALSE(x->IsShown());
    }
    // A condition box is drawn only while it or its owner is selected.
    RecordingWindow w(true);
    BitmapView& view = *w.View();
    TFSMScheme shown(&w);
    TfsmElement* s = AddState(shown, 300, 300, "S", "101");
    TfsmCond* box = s->GetCondition();
    const std::string without = view.Pixels();
    ASSERT_TRUE(box->IsShown());
    s->SetSelected(true);
    const std::string with = view.Pixels();
    EXPECT_TRUE(with != without);
    s->SetSelected(false);
    EXPECT_TRUE(view.Pixels() == without);
    box->SetSelected(true);
    EXPECT_TRUE(view.Pixels() != without);
    (void)e;
}

TEST(FsmPicture, PrintingDrawsPlainPictures) {
    TFSMScheme doc;
    BitmapView view; // not the document's: DrawTo paints wherever it is told
    const std::string blank = view.Pixels();
    SetSignals(doc, {"a"}, {"y"});
    TfsmElement* s = AddState(doc, 100, 100, "S", "1");
    TfsmResetLink* r = AddReset(doc, 20, 300, s, "1");
    s->DrawTo(view.FsmCanvas());
    const std::string withState = view.Pixels();
    EXPECT_TRUE(withState != blank);
    r->DrawTo(view.FsmCanvas());
    EXPECT_TRUE(view.Pixels() != withState);
    s->GetCondition()->DrawTo(view.FsmCanvas()); // boxes are not printed
    s->DrawTo(nullptr);
}

TEST(FsmPicture, ASelectedTransitionPrintsWithItsHandles) {
    TFSMScheme doc;
    TfsmLink* t = AddTransition(doc, 100, 100, 400, 100, nullptr);
    // On paper a point lies 5 pixels right of and below its place; the
    // handle of control point 1 (200, 100) has its top-left corner at (200, 100).
    auto printed = [&] {
        BitmapView paper(600, 300);
        t->DrawTo(paper.FsmCanvas());
        return std::pair{paper.FsmCanvas()->Pixels(200, 100), paper.FsmCanvas()->Pixels(300, 100)};
    };
    EXPECT_EQ(printed(), std::pair(clBlack, clBlack));
    doc.AddToSelection(t, true);
    ASSERT_TRUE(t->IsSelected());
    EXPECT_EQ(printed(), std::pair(clWhite, clWhite));
    BitmapView paper(600, 300);
    t->DrawTo(paper.FsmCanvas());
    EXPECT_EQ(paper.FsmCanvas()->Pixels(250, 105), clWhite) << "the curve";
    EXPECT_EQ(paper.FsmCanvas()->Pixels(250, 100), clBlack);
}

TEST(FsmPicture, PrintedPicturesAreTheSameAtEveryZoomWithinAnUnzoomedScope) {
    // The printed picture of every object of the example, on a canvas of its
    // own, drawn with the window's zoom at 100 and at another zoom.
    auto printed = [](int zoom, bool scoped) {
        RecordingWindow w(true);
        TFSMScheme doc(&w);
        BuildExample(doc);
        doc.SetZoom(zoom);
        BitmapView paper(600, 400);
        std::optional<TFSMScheme::TUnzoomedScope> scope;
        if (scoped) scope.emplace(&doc);
        EXPECT_EQ(doc.DrawsUnzoomed(), scoped);
        for (TfsmEntity* e : doc.Entities()) e->DrawTo(paper.FsmCanvas());
        return paper.Pixels();
    };
    const std::string normal = printed(100, false);
    for (int zoom : {25, 200, 400}) {
        EXPECT_TRUE(printed(zoom, true) == normal) << zoom;
        // Without the scope a state's printed place follows the zoom.
        EXPECT_TRUE(printed(zoom, false) != normal) << zoom;
    }
    // The scope ends with its object; scopes nest.
    RecordingWindow w(true);
    TFSMScheme doc(&w);
    std::optional<TFSMScheme::TUnzoomedScope> outer(&doc);
    std::optional<TFSMScheme::TUnzoomedScope> inner(&doc);
    inner.reset();
    EXPECT_TRUE(doc.DrawsUnzoomed());
    outer.reset();
    EXPECT_FALSE(doc.DrawsUnzoomed());
}

} // namespace
