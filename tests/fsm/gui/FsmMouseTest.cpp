// Mouse editing with real mouse events on the paint box, at zoom 100 and
// 400; after every gesture the paint box must equal a fresh full repaint.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "FsmGuiTest.h"
#include "PaintBoxMouse.h"
#include "fsm/FsmTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

using XY = std::pair<int, int>;
XY At(const TfsmEntity* e) { return {e->GetX(), e->GetY()}; }
XY Point(const TfsmLink* t, int i) { return {t->GetPointX(i), t->GetPointY(i)}; }

class FsmMouse : public FsmGuiTest {
protected:
    // The body on a fresh window at zoom 100 and at 400, on the machine:
    // states A and B joined by T (condition "01"), state C without an
    // output box, no reset transition. Gestures take diagram points.
    void AtBothZooms(const std::function<void()>& body) {
        for (int zoom : {100, 400}) {
            SCOPED_TRACE("at zoom " + std::to_string(zoom));
            TFSMScheme doc;
            SetSignals(doc, {"x0"_a, "x1"_a}, {"y0"_a});
            TfsmElement* a = AddState(doc, 200, 200, "A", "0");
            Connect(doc, a, AddState(doc, 500, 200, "B", "1"), "01");
            AddState(doc, 200, 450, "C", AnsiString());
            w = Open(Saved(doc, "m" + IntToStr(++files_) + ".fsm"));
            w->ChangeZoom(zoom);
            zoom_ = zoom;
            d = w->FsmDocument();
            A = d->States()[0], B = d->States()[1], C = d->States()[2];
            T = d->Transitions()[0];
            body();
        }
    }
    int Px(int v) const { return v * zoom_ / 100; }
    // A press comes after the mouse has hovered there.
    void Press(int x, int y) {
        paintmouse::MoveTo(w->PaintBox1, Px(x), Px(y), Qt::NoButton);
        paintmouse::Press(w->PaintBox1, Px(x), Px(y));
    }
    void Move(int x, int y) { paintmouse::MoveTo(w->PaintBox1, Px(x), Px(y)); }
    void Release(int x, int y) { paintmouse::Release(w->PaintBox1, Px(x), Px(y)); }
    void Click(int x, int y) { paintmouse::Click(w->PaintBox1, Px(x), Px(y)); }
    // Press, move in four steps and release.
    void Drag(int x0, int y0, int x1, int y1) {
        Press(x0, y0);
        for (int i = 1; i <= 4; ++i) Move(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4);
        Release(x1, y1);
    }
    // No inverted trace is left: the image is the diagram's full repaint.
    void ExpectClean(const std::string& what) {
        EXPECT_FALSE(w->RubberBandShown()) << what;
        EXPECT_FALSE(w->RubberLineShown()) << what;
        EXPECT_TRUE(ShowsRepaint(w)) << what << ": the paint box differs from a repaint";
    }

    TFSMChild* w = nullptr;
    TFSMScheme* d = nullptr;
    TfsmElement *A = nullptr, *B = nullptr, *C = nullptr;
    TfsmLink* T = nullptr;
    int zoom_ = 100;
    int files_ = 0;
};

TEST_F(FsmMouse, TransitionDrawingMakesWhatTheClickedPointsSay) {
    // The points clicked; whether a transition is made, its ends' state names
    // ("" for a free end) and its points 1 and 2 when they were clicked.
    struct Case { const char* what; std::vector<XY> clicks; bool made; const char *source, *target; std::vector<XY> inner; };
    const Case cases[] = {
        {"press on A, click on B", {{200, 200}, {500, 200}}, true, "A", "B", {}},
        {"A, two points, B", {{200, 200}, {300, 400}, {400, 400}, {500, 200}}, true, "A", "B", {{300, 400}, {400, 400}}},
        {"A, one point, C", {{200, 200}, {350, 350}, {200, 450}}, true, "A", "C", {{350, 350}, {350, 350}}},
        {"press on A, click on A", {{200, 200}, {200, 200}}, false, "", "", {}},
        {"free start, click on B", {{300, 400}, {500, 200}}, true, "", "B", {}},
        {"four free points", {{300, 400}, {400, 400}, {400, 500}, {300, 500}}, true, "", "", {{400, 400}, {400, 500}}},
        {"four free points ending at the first", {{300, 400}, {400, 400}, {400, 500}, {300, 400}}, false, "", "", {}},
    };
    auto name = [](const TfsmElement* s) { return s ? s->GetName() : AnsiString(); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AtBothZooms([&] {
            const std::size_t before = d->Transitions().size();
            w->SetModeWireAction->Execute();
            for (std::size_t i = 0; i < c.clicks.size(); ++i) {
                Click(c.clicks[i].first, c.clicks[i].second);
                if (i + 1 == c.clicks.size()) break;
                EXPECT_TRUE(w->ModeWord() & TFSMChild::kPlacing) << "after click " << i;
                // The rubber line follows the mouse between clicks, across a repaint too.
                Move(c.clicks[i].first + 20, c.clicks[i].second + 30);
                EXPECT_TRUE(w->RubberLineShown());
                EXPECT_TRUE(ShowsRepaint(w)) << "a repaint keeps the rubber line";
            }
            EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdTransition)) << "placing ended";
            EXPECT_EQ(w->PointCount(), 0);
            const auto& all = d->Transitions();
            TfsmLink* t = all.size() == before + 1 ? all.back() : nullptr;
            EXPECT_EQ(t != nullptr, c.made);
            if (t) {
                EXPECT_EQ(name(t->GetSource()), AnsiString(c.source));
                EXPECT_EQ(name(t->GetTarget()), AnsiString(c.target));
                EXPECT_EQ(t->IsStraight(), c.inner.empty());
                for (std::size_t k = 0; k < c.inner.size(); ++k) EXPECT_EQ(Point(t, int(k) + 1), c.inner[k]);
                if (!t->GetTarget()) {
                    EXPECT_EQ(Point(t, 3), c.clicks.back());
                }
                EXPECT_TRUE(t->IsShown());
                EXPECT_TRUE(d->IsModified());
            }
            ExpectClean("drawn");
        });
    }
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(FsmMouse, EscEndsPlacingAndErasesTheRubberLine) {
    AtBothZooms([&] {
        w->SetModeWireAction->Execute();
        Click(300, 400);
        Move(360, 470);
        ASSERT_TRUE(w->RubberLineShown());
        // A zoom change in the middle redraws the line with the diagram.
        w->ZoomInActionExecute(nullptr);
        zoom_ = d->GetZoom();
        EXPECT_TRUE(ShowsRepaint(w));
        Key(Qt::Key_Escape);
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdTransition));
        ExpectClean("Esc");
        // The next press starts a new transition from its own point.
        Click(300, 500);
        Click(500, 200);
        EXPECT_EQ(d->Transitions().back()->GetPointX(0), 300);
        EXPECT_EQ(d->Transitions().back()->GetTarget(), B);
        ExpectClean("after Esc");
    });
}

TEST_F(FsmMouse, StateModeInsertsOneStatePerPressThatFollowsTheMouseUntilRelease) {
    AtBothZooms([&] {
        w->SetModeDeviceAction->Execute();
        Press(600, 400);
        ASSERT_EQ(d->States().size(), 4u);
        TfsmElement* s = d->States().back();
        EXPECT_EQ(s->GetName(), "State3"_a) << "three states came from the file";
        // Moves of odd pixels still land on the grid.
        Move(633, 447);
        Move(651, 452);
        EXPECT_EQ(At(s), XY(650, 450));
        EXPECT_TRUE(s->IsChanged());
        EXPECT_TRUE(ShowsRepaint(w));
        Release(651, 452);
        EXPECT_FALSE(s->IsChanged()) << "the dropped state shows its name";
        EXPECT_EQ(d->States().size(), 4u) << "one state per press";
        ExpectClean("first state");
        Click(300, 550);
        ASSERT_EQ(d->States().size(), 5u);
        EXPECT_EQ(d->States().back()->GetName(), "State4"_a);
        EXPECT_EQ(d->States().back()->GetX(), 300) << "placed where it was clicked";
        // Esc ends the placing: a press inserts nothing more.
        Key(Qt::Key_Escape);
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdState));
        Click(700, 100);
        EXPECT_EQ(d->States().size(), 5u);
        ExpectClean("after Esc");
    });
}

TEST_F(FsmMouse, ConditionModeMovesAnExistingBoxOrMakesOne) {
    AtBothZooms([&] {
        TfsmCond* box = T->GetCondition();
        ASSERT_NE(box, nullptr);
        w->SetModeSymbolAction->Execute();
        Click(350, 200);
        EXPECT_EQ(At(box), XY(350, 200));
        EXPECT_EQ(d->Conditions().size(), 2u + 1u);
        ExpectClean("box moved");
        // C has no box: the click makes one, on the selection list.
        Click(210, 460);
        ASSERT_NE(C->GetCondition(), nullptr);
        EXPECT_EQ(C->GetCondition()->GetX(), 210);
        EXPECT_EQ(C->GetCondition()->GetAnchorX(), 210);
        EXPECT_EQ(d->Selection(), std::vector<TfsmEntity*>{C->GetCondition()});
        // Nothing under the point: nothing happens; the mode stays.
        const std::string bytes = d->SaveToBytes();
        Click(700, 500);
        EXPECT_EQ(d->SaveToBytes(), bytes);
        EXPECT_EQ(w->ModeWord(), TFSMChild::mdCondition | TFSMChild::kPlacing);
        ExpectClean("new box");
    });
}

TEST_F(FsmMouse, APressInModeFiveChangesNothing) {
    AtBothZooms([&] {
        const std::string bytes = d->SaveToBytes();
        const QImage before = Shown(w);
        w->SetModePinAction->Execute();
        Click(200, 200);
        Drag(100, 100, 600, 500);
        EXPECT_EQ(d->SaveToBytes(), bytes);
        EXPECT_FALSE(d->HasSelection());
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(before));
        ExpectClean("mode 5");
    });
}

TEST_F(FsmMouse, ABandDraggedEitherWaySelectsTheSameEntities) {
    auto selected = [&] {
        std::set<TfsmEntity*> s(d->Selection().begin(), d->Selection().end());
        for (TfsmEntity* e : s) EXPECT_TRUE(e->IsSelected() && e->IsMarked());
        return s;
    };
    AtBothZooms([&] {
        // The band shows while it is dragged, also across a repaint. A
        // state's rectangle runs from its centre to centre + diameter.
        Press(150, 140);
        Move(400, 250);
        EXPECT_TRUE(w->RubberBandShown());
        EXPECT_TRUE(ShowsRepaint(w));
        Move(580, 280);
        Release(580, 280);
        const std::set<TfsmEntity*> forward = selected();
        EXPECT_TRUE(forward.count(A) && forward.count(B) && forward.count(T));
        EXPECT_FALSE(forward.count(C));
        EXPECT_TRUE(w->CopyAction->Enabled()) << "the edit commands follow the band";
        ExpectClean("band forward");
        // A click on empty space clears it; the opposite drag selects the same.
        Click(700, 550);
        EXPECT_FALSE(d->HasSelection());
        Drag(580, 280, 150, 140);
        EXPECT_EQ(selected(), forward);
        ExpectClean("band backward");
    });
}

TEST_F(FsmMouse, ADragMovesTheSelectionInGridStepsAndReconnectsTransitions) {
    // T's start lies on the circle of its source around this centre.
    auto startOnCircle = [&](int cx, int cy) {
        const double dx = T->GetPointX(0) - cx, dy = T->GetPointY(0) - cy;
        return std::abs(std::sqrt(dx * dx + dy * dy) - 28) < 1.5;
    };
    AtBothZooms([&] {
        // Off the centre, where the output box has its anchor.
        Click(190, 190);
        ASSERT_EQ(d->Selection(), std::vector<TfsmEntity*>{A});
        // Grabbing the selected state drags it; odd pixels snap to the grid.
        Press(190, 190);
        EXPECT_EQ(w->GetMode(), TFSMChild::mdDrag);
        paintmouse::MoveTo(w->PaintBox1, Px(196) + 1, Px(199) + 1);
        paintmouse::MoveTo(w->PaintBox1, Px(202) + 1, Px(203) + 1);
        EXPECT_EQ(At(A), XY(210, 210));
        EXPECT_TRUE(A->IsChanged());
        EXPECT_TRUE(ShowsRepaint(w));
        paintmouse::Release(w->PaintBox1, Px(202) + 1, Px(203) + 1);
        EXPECT_FALSE(A->IsChanged());
        EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
        // The dropped state takes T's start along, snapped onto its circle.
        EXPECT_EQ(T->GetSource(), A);
        EXPECT_TRUE(startOnCircle(210, 210));
        EXPECT_TRUE(d->IsModified());
        ExpectClean("small drag");
        Drag(200, 200, 200, 320);
        EXPECT_EQ(A->GetY(), 330);
        EXPECT_EQ(T->GetSource(), A);
        EXPECT_TRUE(startOnCircle(210, 330));
        EXPECT_EQ(T->GetTarget(), B);
        ExpectClean("far drag");
    });
}

TEST_F(FsmMouse, PasteLandsAtTheClickAndFollowsTheMouseUntilRelease) {
    AtBothZooms([&] {
        Click(190, 190);
        ASSERT_EQ(d->Selection(), std::vector<TfsmEntity*>{A});
        w->CopyActionExecute(nullptr);
        w->PasteActionExecute(nullptr);
        EXPECT_EQ(w->GetMode(), TFSMChild::mdPaste);
        Press(600, 450);
        ASSERT_EQ(d->States().size(), 4u);
        TfsmElement* copy = d->States().back();
        EXPECT_EQ(copy->GetName(), "A"_a);
        EXPECT_EQ(copy->GetX(), 600);
        EXPECT_EQ(w->GetMode(), TFSMChild::mdDrag);
        Move(620, 480);
        Release(620, 480);
        EXPECT_EQ(At(copy), XY(620, 480));
        EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
        EXPECT_TRUE(d->IsModified());
        ExpectClean("paste");
        // The whole paste is one undo step.
        w->UndoExecute(nullptr);
        EXPECT_EQ(d->States().size(), 3u);
        ExpectClean("undone paste");
    });
}

TEST_F(FsmMouse, ResetTransitionIsDrawnOnceAndASecondIsRefused) {
    AtBothZooms([&] {
        ASSERT_TRUE(w->SetModeConnectAction->Execute());
        EXPECT_EQ(w->StatusBar->Panels()->Items(1)->Text(), "Reset Переход"_a);
        Click(80, 80);
        EXPECT_TRUE(w->ModeWord() & TFSMChild::kPlacing);
        Click(210, 190);
        TfsmResetLink* r = d->GetResetLink();
        ASSERT_NE(r, nullptr);
        EXPECT_TRUE(r->GetTarget() == A && r->GetSource() == nullptr);
        EXPECT_EQ(r->GetPointX(0), 80);
        EXPECT_TRUE(r->IsStraight());
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdReset)) << "placing ends with it";
        ExpectClean("reset");
        // The command is off now; the mode set anyway makes no second one.
        EXPECT_FALSE(w->SetModeConnectAction->Execute());
        w->SetMode(TFSMChild::mdReset);
        Click(80, 400);
        Click(500, 200);
        EXPECT_EQ(d->GetResetLink(), r);
        const auto& all = d->Transitions();
        EXPECT_EQ(std::count_if(all.begin(), all.end(), [](TfsmLink* t) { return t->IsReset(); }), 1);
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdReset));
        ExpectClean("second reset");
    });
}

// A press within 4 pixels of a transition's curve selects it, whatever its
// slope and the zoom: a steep line whose x-span holds no grid line, a
// diagonal, a bent transition along its bend. Presses come at clicks' own
// pixels, not at diagram points.
TEST_F(FsmMouse, APressNearATransitionsCurveSelectsItAtEveryAngleAndZoom) {
    TFSMScheme doc;
    SetSignals(doc, {"x0"_a}, {"y0"_a});
    TfsmElement* top = AddState(doc, 420, 60, "A", AnsiString());
    TfsmElement* below = AddState(doc, 430, 260, "B", AnsiString());
    TfsmElement* left = AddState(doc, 100, 300, "C", AnsiString());
    TfsmElement* right = AddState(doc, 330, 430, "D", AnsiString());
    Connect(doc, top, below, nullptr);   // steep, 421,87 to 428,232
    Connect(doc, left, right, nullptr);  // diagonal
    TfsmLink* bent = doc.CreateTransition4(600, 100, 760, 260, 760, 260, 600, 420);
    bent->EndDrag();
    // Offsets of at most 4 pixels in every direction.
    const std::pair<int, int> offsets[] = {{0, 0}, {4, 0}, {-4, 0}, {0, 4}, {0, -4}, {3, -2}, {-2, 3}};
    for (int zoom : {25, 50, 75, 100, 150, 400}) {
        SCOPED_TRACE("at zoom " + std::to_string(zoom));
        w = Open(Saved(doc, "angles" + IntToStr(zoom) + ".fsm"));
        w->ChangeZoom(zoom);
        d = w->FsmDocument();
        ASSERT_EQ(d->Transitions().size(), 3u);
        for (TfsmLink* t : d->Transitions()) {
            int misses = 0;
            std::string first;
            for (int i = 1; i <= 19; ++i) {
                double cx, cy;
                t->BezierPoint(i / 20.0, &cx, &cy, false);
                for (auto [dx, dy] : offsets) {
                    const int px = int(std::lround(cx * zoom / 100)) + dx, py = int(std::lround(cy * zoom / 100)) + dy;
                    d->ClearSelection();
                    paintmouse::Click(w->PaintBox1, px, py);
                    if (t->IsSelected()) continue;
                    if (misses++ == 0) first = std::to_string(px) + "," + std::to_string(py);
                }
            }
            EXPECT_EQ(misses, 0) << "transition from " << t->GetPointX(0) << "," << t->GetPointY(0)
                                 << " missed first at pixel " << first;
        }
        // Twelve pixels off the diagonal's middle is no longer on it (and
        // ten units off, where the curve's own band of six units ends).
        TfsmLink* diagonal = d->Transitions()[1];
        double cx, cy;
        diagonal->BezierPoint(0.5, &cx, &cy, false);
        const double ux = diagonal->GetPointX(3) - diagonal->GetPointX(0), uy = diagonal->GetPointY(3) - diagonal->GetPointY(0);
        const double len = std::hypot(ux, uy), off = std::max(12.0, 10.0 * zoom / 100);
        d->ClearSelection();
        paintmouse::Click(w->PaintBox1, int(std::lround(cx * zoom / 100 - off * uy / len)),
                          int(std::lround(cy * zoom / 100 + off * ux / len)));
        EXPECT_FALSE(diagonal->IsSelected());
        EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
        d->ClearSelection();
        EXPECT_TRUE(ShowsRepaint(w));
    }
}

} // namespace
