// Mouse editing with real mouse events on the paint box, at zoom 100 and
// 400; after every gesture the paint box must equal a fresh full repaint.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "FsmGuiTest.h"
#include "fsm/FsmTestSupport.h"
#include "platform/FileUtils.h"
#include "platform/TestUiPort.h"

using namespace fsmtest;

namespace {

// The machine the gestures work on: states A and B joined by T (condition
// "01"), state C without an output box, no reset transition.
struct Machine {
    TfsmElement *A, *B, *C;
    TfsmLink* T;
};

Machine Find(TFSMScheme* doc) {
    Machine m{};
    for (TfsmElement* s : doc->States()) {
        if (s->GetName() == "A") m.A = s;
        if (s->GetName() == "B") m.B = s;
        if (s->GetName() == "C") m.C = s;
    }
    m.T = doc->Transitions().empty() ? nullptr : doc->Transitions()[0];
    return m;
}

class FsmMouse : public FsmGuiTest {
protected:
    // A window on the machine at a zoom; gestures take diagram points.
    TFSMChild* OpenMachine(int zoom) {
        const AnsiString file = dir.File("m" + IntToStr(++files_) + ".fsm");
        TFSMScheme doc;
        SetSignals(doc, {"x0"_a, "x1"_a}, {"y0"_a});
        TfsmElement* a = AddState(doc, 200, 200, "A", "0");
        TfsmElement* b = AddState(doc, 500, 200, "B", "1");
        AddState(doc, 200, 450, "C", AnsiString());
        Connect(doc, a, b, "01");
        doc.SetFileName(file);
        EXPECT_TRUE(doc.SaveToFile());
        TFSMChild* w = Open(file);
        w->ChangeZoom(zoom);
        zoom_ = zoom;
        w_ = w;
        return w;
    }
    int Px(int v) const { return v * zoom_ / 100; }
    void ClickAt(int x, int y) { Click(w_, Px(x), Px(y)); }
    void PressAt(int x, int y) { Press(w_, Px(x), Px(y)); }
    void MoveWith(int x, int y) { MoveTo(w_, Px(x), Px(y)); }
    void ReleaseAt(int x, int y) { Release(w_, Px(x), Px(y)); }
    void DragFrom(int x0, int y0, int x1, int y1) { Drag(w_, Px(x0), Px(y0), Px(x1), Px(y1)); }
    // No inverted trace is left: the image is the diagram's full repaint.
    void ExpectClean(const std::string& what) {
        EXPECT_FALSE(w_->RubberBandShown()) << what;
        EXPECT_FALSE(w_->RubberLineShown()) << what;
        EXPECT_TRUE(Bytes(Shown(w_)) == Bytes(Repainted(w_))) << what << ": the paint box differs from a repaint";
    }
    // The body on a fresh window at zoom 100 and at 400.
    void AtBothZooms(const std::function<void(TFSMChild*, TFSMScheme*, const Machine&, const std::string&)>& body) {
        for (int zoom : {100, 400}) {
            TFSMChild* w = OpenMachine(zoom);
            body(w, w->FsmDocument(), Find(w->FsmDocument()), " at " + std::to_string(zoom));
        }
    }
    TfsmLink* NewTransition(std::size_t before) {
        const auto t = w_->FsmDocument()->Transitions();
        return t.size() == before + 1 ? t.back() : nullptr;
    }

    TFSMChild* w_ = nullptr;
    int zoom_ = 100;
    int files_ = 0;
};

struct Point {
    int x, y;
};

TEST_F(FsmMouse, TransitionDrawingMakesWhatTheClickedPointsSay) {
    struct Case {
        const char* what;
        std::vector<Point> clicks;
        bool made;
        const char* source; // state names, "" for a free end
        const char* target;
        std::vector<Point> inner; // points 1 and 2 when they were clicked
    };
    const Case cases[] = {
        {"press on A, click on B", {{200, 200}, {500, 200}}, true, "A", "B", {}},
        {"A, two points, B", {{200, 200}, {300, 400}, {400, 400}, {500, 200}}, true, "A", "B", {{300, 400}, {400, 400}}},
        {"A, one point, C", {{200, 200}, {350, 350}, {200, 450}}, true, "A", "C", {{350, 350}, {350, 350}}},
        {"press on A, click on A", {{200, 200}, {200, 200}}, false, "", "", {}},
        {"free start, click on B", {{300, 400}, {500, 200}}, true, "", "B", {}},
        {"four free points", {{300, 400}, {400, 400}, {400, 500}, {300, 500}}, true, "", "", {{400, 400}, {400, 500}}},
        {"four free points ending at the first", {{300, 400}, {400, 400}, {400, 500}, {300, 400}}, false, "", "", {}},
    };
    for (int zoom : {100, 400}) {
        for (const Case& c : cases) {
            const std::string what = std::string(c.what) + " at " + std::to_string(zoom);
            TFSMChild* w = OpenMachine(zoom);
            const std::size_t before = w->FsmDocument()->Transitions().size();
            w->SetModeWireAction->Execute();
            for (std::size_t i = 0; i < c.clicks.size(); ++i) {
                ClickAt(c.clicks[i].x, c.clicks[i].y);
                if (i + 1 < c.clicks.size()) {
                    EXPECT_TRUE(w->ModeWord() & TFSMChild::kPlacing) << what << " after click " << i;
                    // The rubber line follows the mouse between clicks.
                    MoveWith(c.clicks[i].x + 20, c.clicks[i].y + 30);
                    EXPECT_TRUE(w->RubberLineShown()) << what;
                    EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << what << ": a repaint keeps the rubber line";
                }
            }
            EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdTransition)) << what << ": placing ended";
            EXPECT_EQ(w->PointCount(), 0) << what;
            TfsmLink* t = NewTransition(before);
            EXPECT_EQ(t != nullptr, c.made) << what;
            if (t) {
                EXPECT_EQ(t->GetSource() ? t->GetSource()->GetName() : AnsiString(), AnsiString(c.source)) << what;
                EXPECT_EQ(t->GetTarget() ? t->GetTarget()->GetName() : AnsiString(), AnsiString(c.target)) << what;
                EXPECT_EQ(t->IsStraight(), c.inner.empty()) << what;
                for (std::size_t k = 0; k < c.inner.size(); ++k) {
                    EXPECT_EQ(t->GetPointX(int(k) + 1), c.inner[k].x) << what;
                    EXPECT_EQ(t->GetPointY(int(k) + 1), c.inner[k].y) << what;
                }
                if (!t->GetTarget()) {
                    EXPECT_EQ(t->GetPointX(3), c.clicks.back().x) << what;
                    EXPECT_EQ(t->GetPointY(3), c.clicks.back().y) << what;
                }
                EXPECT_TRUE(t->IsShown()) << what;
                EXPECT_TRUE(w->FsmDocument()->IsModified()) << what;
            }
            ExpectClean(what);
        }
    }
    EXPECT_TRUE(port.Calls.empty());
}

TEST_F(FsmMouse, EscEndsPlacingAndErasesTheRubberLine) {
    for (int zoom : {100, 400}) {
        TFSMChild* w = OpenMachine(zoom);
        w->SetModeWireAction->Execute();
        ClickAt(300, 400);
        MoveWith(360, 470);
        ASSERT_TRUE(w->RubberLineShown());
        // A zoom change in the middle redraws the line with the diagram.
        w->ZoomInActionExecute(nullptr);
        zoom_ = w->FsmDocument()->GetZoom();
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << zoom;
        Key(Qt::Key_Escape);
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdTransition)) << zoom;
        ExpectClean("Esc at " + std::to_string(zoom));
        // The next press starts a new transition from its own point.
        ClickAt(300, 500);
        ClickAt(500, 200);
        TfsmLink* t = w->FsmDocument()->Transitions().back();
        EXPECT_EQ(t->GetPointX(0), 300);
        EXPECT_EQ(t->GetTarget(), Find(w->FsmDocument()).B);
        ExpectClean("after Esc at " + std::to_string(zoom));
    }
}

TEST_F(FsmMouse, StateModeInsertsOneStatePerPressThatFollowsTheMouseUntilRelease) {
    for (int zoom : {100, 400}) {
        const std::string at = " at " + std::to_string(zoom);
        TFSMChild* w = OpenMachine(zoom);
        TFSMScheme* doc = w->FsmDocument();
        w->SetModeDeviceAction->Execute();
        MoveTo(w, Px(600), Px(400), Qt::NoButton);
        PressAt(600, 400);
        ASSERT_EQ(doc->States().size(), 4u);
        TfsmElement* s = doc->States().back();
        // Three states came from the file.
        EXPECT_EQ(s->GetName(), "State3"_a);
        // Moves of odd pixels still land on the grid.
        MoveWith(633, 447);
        MoveWith(651, 452);
        EXPECT_EQ(s->GetX(), 650) << at;
        EXPECT_EQ(s->GetY(), 450) << at;
        EXPECT_TRUE(s->IsChanged()) << at;
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << at;
        ReleaseAt(651, 452);
        EXPECT_FALSE(s->IsChanged()) << at << ": the dropped state shows its name";
        EXPECT_EQ(doc->States().size(), 4u) << at << ": one state per press";
        ExpectClean("first state" + at);
        ClickAt(300, 550);
        ASSERT_EQ(doc->States().size(), 5u);
        EXPECT_EQ(doc->States().back()->GetName(), "State4"_a);
        EXPECT_EQ(doc->States().back()->GetX(), 300);
        // Esc ends the placing: a press inserts nothing more.
        Key(Qt::Key_Escape);
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdState));
        ClickAt(700, 100);
        EXPECT_EQ(doc->States().size(), 5u) << at;
        ExpectClean("after Esc" + at);
    }
}

TEST_F(FsmMouse, ConditionModeMovesAnExistingBoxOrMakesOne) {
    AtBothZooms([&](TFSMChild* w, TFSMScheme* doc, const Machine& m, const std::string& at) {
        TfsmCond* box = m.T->GetCondition();
        ASSERT_NE(box, nullptr);
        w->SetModeSymbolAction->Execute();
        ClickAt(350, 200);
        EXPECT_EQ(box->GetX(), 350) << at;
        EXPECT_EQ(box->GetY(), 200) << at;
        EXPECT_EQ(doc->Conditions().size(), 2u + 1u) << at;
        ExpectClean("box moved" + at);
        // C has no box: the click makes one, on the selection list.
        ClickAt(210, 460);
        ASSERT_NE(m.C->GetCondition(), nullptr) << at;
        EXPECT_EQ(m.C->GetCondition()->GetX(), 210);
        EXPECT_EQ(m.C->GetCondition()->GetAnchorX(), 210);
        EXPECT_EQ(doc->Selection(), std::vector<TfsmEntity*>{m.C->GetCondition()});
        // Nothing under the point: nothing happens; the mode stays.
        const std::string bytes = doc->SaveToBytes();
        ClickAt(700, 500);
        EXPECT_EQ(doc->SaveToBytes(), bytes) << at;
        EXPECT_EQ(w->ModeWord(), TFSMChild::mdCondition | TFSMChild::kPlacing) << at;
        ExpectClean("new box" + at);
    });
}

TEST_F(FsmMouse, APressInModeFiveChangesNothing) {
    for (int zoom : {100, 400}) {
        TFSMChild* w = OpenMachine(zoom);
        const std::string bytes = w->FsmDocument()->SaveToBytes();
        const QImage before = Shown(w);
        w->SetModePinAction->Execute();
        ClickAt(200, 200);
        DragFrom(100, 100, 600, 500);
        EXPECT_EQ(w->FsmDocument()->SaveToBytes(), bytes) << zoom;
        EXPECT_FALSE(w->FsmDocument()->HasSelection()) << zoom;
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(before)) << zoom;
        ExpectClean("mode 5");
    }
}

TEST_F(FsmMouse, ABandDraggedEitherWaySelectsTheSameEntities) {
    auto selected = [](TFSMScheme* doc) {
        std::set<TfsmEntity*> s(doc->Selection().begin(), doc->Selection().end());
        for (TfsmEntity* e : s) EXPECT_TRUE(e->IsSelected() && e->IsMarked());
        return s;
    };
    AtBothZooms([&](TFSMChild* w, TFSMScheme* doc, const Machine& m, const std::string& at) {
        // The band shows while it is dragged, also across a repaint. A
        // state's rectangle runs from its centre to centre + diameter.
        MoveTo(w, Px(150), Px(140), Qt::NoButton);
        PressAt(150, 140);
        MoveWith(400, 250);
        EXPECT_TRUE(w->RubberBandShown());
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << at;
        MoveWith(580, 280);
        ReleaseAt(580, 280);
        const std::set<TfsmEntity*> forward = selected(doc);
        EXPECT_TRUE(forward.count(m.A) && forward.count(m.B) && forward.count(m.T)) << at;
        EXPECT_FALSE(forward.count(m.C)) << at;
        EXPECT_TRUE(w->CopyAction->Enabled()) << at << ": the edit commands follow the band";
        ExpectClean("band forward" + at);
        // A click on empty space clears it; the opposite drag selects the same.
        ClickAt(700, 550);
        EXPECT_FALSE(doc->HasSelection());
        DragFrom(580, 280, 150, 140);
        EXPECT_EQ(selected(doc), forward) << at;
        ExpectClean("band backward" + at);
    });
}

TEST_F(FsmMouse, ADragMovesTheSelectionInGridStepsAndReconnectsTransitions) {
    AtBothZooms([&](TFSMChild* w, TFSMScheme* doc, const Machine& m, const std::string& at) {
        // Off the centre, where the output box has its anchor.
        ClickAt(190, 190);
        ASSERT_EQ(doc->Selection(), std::vector<TfsmEntity*>{m.A});
        // Grabbing the selected state drags it; odd pixels snap to the grid.
        MoveTo(w, Px(190), Px(190), Qt::NoButton);
        PressAt(190, 190);
        EXPECT_EQ(w->GetMode(), TFSMChild::mdDrag);
        MoveTo(w, Px(196) + 1, Px(199) + 1);
        MoveTo(w, Px(202) + 1, Px(203) + 1);
        EXPECT_EQ(m.A->GetX(), 210) << at;
        EXPECT_EQ(m.A->GetY(), 210) << at;
        EXPECT_TRUE(m.A->IsChanged()) << at;
        EXPECT_TRUE(Bytes(Shown(w)) == Bytes(Repainted(w))) << at;
        Release(w, Px(202) + 1, Px(203) + 1);
        EXPECT_FALSE(m.A->IsChanged()) << at;
        EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
        // The dropped state takes T's start along, snapped onto its circle.
        auto onCircle = [&](int cx, int cy) {
            const double dx = m.T->GetPointX(0) - cx, dy = m.T->GetPointY(0) - cy;
            return std::abs(std::sqrt(dx * dx + dy * dy) - 28) < 1.5;
        };
        EXPECT_EQ(m.T->GetSource(), m.A) << at;
        EXPECT_TRUE(onCircle(210, 210)) << at;
        EXPECT_TRUE(doc->IsModified());
        ExpectClean("small drag" + at);
        DragFrom(200, 200, 200, 320);
        EXPECT_EQ(m.A->GetY(), 330) << at;
        EXPECT_EQ(m.T->GetSource(), m.A) << at;
        EXPECT_TRUE(onCircle(210, 330)) << at;
        EXPECT_EQ(m.T->GetTarget(), m.B) << at;
        ExpectClean("far drag" + at);
    });
}

TEST_F(FsmMouse, PasteLandsAtTheClickAndFollowsTheMouseUntilRelease) {
    AtBothZooms([&](TFSMChild* w, TFSMScheme* doc, const Machine& m, const std::string& at) {
        ClickAt(190, 190);
        ASSERT_EQ(doc->Selection(), std::vector<TfsmEntity*>{m.A});
        w->CopyActionExecute(nullptr);
        w->PasteActionExecute(nullptr);
        EXPECT_EQ(w->GetMode(), TFSMChild::mdPaste);
        MoveTo(w, Px(600), Px(450), Qt::NoButton);
        PressAt(600, 450);
        ASSERT_EQ(doc->States().size(), 4u) << at;
        TfsmElement* copy = doc->States().back();
        EXPECT_EQ(copy->GetName(), "A"_a);
        EXPECT_EQ(copy->GetX(), 600) << at;
        EXPECT_EQ(w->GetMode(), TFSMChild::mdDrag);
        MoveWith(620, 480);
        ReleaseAt(620, 480);
        EXPECT_EQ(copy->GetX(), 620) << at;
        EXPECT_EQ(copy->GetY(), 480) << at;
        EXPECT_EQ(w->GetMode(), TFSMChild::mdSelect);
        EXPECT_NE(copy, m.A);
        EXPECT_TRUE(doc->IsModified());
        ExpectClean("paste" + at);
        // The whole paste is one undo step.
        w->UndoExecute(nullptr);
        EXPECT_EQ(doc->States().size(), 3u) << at;
        ExpectClean("undone paste" + at);
    });
}

TEST_F(FsmMouse, ResetTransitionIsDrawnOnceAndASecondIsRefused) {
    AtBothZooms([&](TFSMChild* w, TFSMScheme* doc, const Machine& m, const std::string& at) {
        ASSERT_TRUE(w->SetModeConnectAction->Execute());
        EXPECT_EQ(w->StatusBar->Panels()->Items(1)->Text(), "Reset Переход"_a);
        ClickAt(80, 80);
        EXPECT_TRUE(w->ModeWord() & TFSMChild::kPlacing);
        ClickAt(210, 190);
        TfsmResetLink* r = doc->GetResetLink();
        ASSERT_NE(r, nullptr) << at;
        EXPECT_EQ(r->GetTarget(), m.A);
        EXPECT_EQ(r->GetSource(), nullptr);
        EXPECT_EQ(r->GetPointX(0), 80);
        EXPECT_TRUE(r->IsStraight());
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdReset)) << at << ": placing ends with it";
        ExpectClean("reset" + at);
        // The command is off now; the mode set anyway makes no second one.
        EXPECT_FALSE(w->SetModeConnectAction->Execute());
        w->SetMode(TFSMChild::mdReset);
        ClickAt(80, 400);
        ClickAt(500, 200);
        EXPECT_EQ(doc->GetResetLink(), r);
        int resets = 0;
        for (TfsmLink* t : doc->Transitions()) resets += t->IsReset();
        EXPECT_EQ(resets, 1) << at;
        EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdReset)) << at;
        ExpectClean("second reset" + at);
    });
}

} // namespace
