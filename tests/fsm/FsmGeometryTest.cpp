// Hit tests, transition geometry, condition boxes, zoom and signal edits.

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "FsmTestSupport.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

// An object that keeps the base class's hit tests.
class PlainEntity : public TfsmEntity {
public:
    using TfsmEntity::TfsmEntity;
    void LoadFromStream(ByteReader&) override {}
    void SaveToStream(ByteWriter&) override {}
};

TEST(FsmHitTest, TheDefaultSquareIsEightByEight) {
    PlainEntity e(nullptr);
    e.SetCoords(100, 50, 7, 7);
    struct Case {
        int x, y;
        bool hit;
    } cases[] = {{96, 46, true}, {103, 53, true}, {104, 50, false}, {100, 54, false}, {95, 50, false}, {100, 45, false}};
    for (const Case& c : cases) EXPECT_EQ(e.HitTest(c.x, c.y, false), c.hit) << c.x << "," << c.y;
    EXPECT_TRUE(e.HitTestRect(TRect(100, 50, 101, 51), false));
    EXPECT_FALSE(e.HitTestRect(TRect(90, 40, 100, 60), false));
    e.SetDeleted(true);
    EXPECT_FALSE(e.HitTest(100, 50, false));
    EXPECT_FALSE(e.HitTestRect(TRect(0, 0, 1000, 1000), false));
}

TEST(FsmHitTest, AStateIsHitInsideItsCircleAndTakenByItsBox) {
    TFSMScheme doc;
    TfsmElement* s = doc.CreateState();
    s->SetX(100);
    s->SetY(100);
    EXPECT_EQ(s->GetRadius(), 30);
    EXPECT_TRUE(s->HitTest(100, 129, false));
    EXPECT_FALSE(s->HitTest(100, 130, false)); // on the circle: a miss
    EXPECT_FALSE(s->HitTest(130, 100, false));
    EXPECT_TRUE(s->HitTest(121, 121, false));
    EXPECT_FALSE(s->HitTest(122, 122, false));
    // The box runs from the centre to (X + 2r, Y + 2r).
    EXPECT_TRUE(s->HitTestRect(TRect(100, 100, 161, 161), false));
    EXPECT_FALSE(s->HitTestRect(TRect(100, 100, 160, 161), false));
    EXPECT_FALSE(s->HitTestRect(TRect(70, 70, 131, 131), false)); // the drawn circle is not enough
    // Selecting through a hit test; a miss deselects a state.
    EXPECT_TRUE(s->HitTest(100, 100, true));
    EXPECT_TRUE(s->IsSelected());
    EXPECT_FALSE(s->HitTest(300, 300, true));
    EXPECT_FALSE(s->IsSelected());
    s->SetDeleted(true);
    EXPECT_FALSE(s->HitTest(100, 100, false));
    s->SetDeleted(false);
}

TEST(FsmHitTest, TheEdgePointLiesOnTheInnerCircle) {
    TFSMScheme doc;
    TfsmElement* s = doc.CreateState();
    s->SetX(100);
    s->SetY(100);
    double x, y;
    s->EdgePoint(300, 100, &x, &y);
    EXPECT_DOUBLE_EQ(x, 128);
    EXPECT_NEAR(y, 100, 1e-9);
    s->EdgePoint(0, 100, &x, &y);
    EXPECT_DOUBLE_EQ(x, 72);
    s->EdgePoint(100, 300, &x, &y);
    EXPECT_NEAR(x, 100, 1e-3);
    EXPECT_NEAR(y, 128, 1e-3);
    s->EdgePoint(100, 100, &x, &y); // the centre itself: straight down
    EXPECT_NEAR(y, 128, 1e-3);
}

TEST(FsmTransition, StraightTransitionsKeepTheirControlPointsOnTheLine) {
    TFSMScheme doc;
    TfsmLink* t = doc.CreateTransition2(0, 0, 300, 0);
    EXPECT_TRUE(t->IsStraight());
    EXPECT_EQ(t->GetPointX(1), 100);
    EXPECT_EQ(t->GetPointX(2), 200);
    // Dragging point 3 alone re-places the control points.
    t->SetDragMask(8);
    t->Move(0, 90);
    EXPECT_EQ(t->GetPointY(3), 90);
    EXPECT_EQ(t->GetPointY(1), 30);
    EXPECT_EQ(t->GetPointY(2), 60);
    EXPECT_TRUE(t->IsStraight());

    TfsmLink* u = doc.CreateTransition2(0, 0, 300, 0);
    u->SetDragMask(2);
    u->Move(0, 3); // within reach of the line: snaps back
    EXPECT_TRUE(u->IsStraight());
    EXPECT_EQ(u->GetPointY(1), 0);
    u->Move(0, 10); // pulled off: a curve
    EXPECT_FALSE(u->IsStraight());
    EXPECT_EQ(u->GetPointY(1), 10);
    u->Move(0, -9); // a curve stays a curve
    EXPECT_FALSE(u->IsStraight());
    EXPECT_EQ(u->GetPointY(1), 1);
}

TEST(FsmTransition, HitsNearTheCurveAndAtItsHandles) {
    TFSMScheme doc;
    TfsmLink* t = doc.CreateTransition2(0, 0, 300, 0);
    EXPECT_TRUE(t->HitTest(160, 5, false));
    EXPECT_FALSE(t->HitTest(160, 7, false));
    EXPECT_TRUE(t->HitTest(160, -5, false));
    EXPECT_FALSE(t->HitTest(400, 0, false));
    // A hit with selection moves the whole transition; a miss keeps the selection.
    EXPECT_TRUE(t->HitTest(150, 0, true));
    EXPECT_TRUE(t->IsSelected());
    EXPECT_EQ(t->GetDragMask(), 0);
    EXPECT_FALSE(t->HitTest(150, 50, true));
    EXPECT_TRUE(t->IsSelected());
    // Selected: a point near an end grabs that point only.
    EXPECT_TRUE(t->HitTest(295, 3, true));
    EXPECT_EQ(t->GetDragMask(), 8);
    EXPECT_TRUE(t->HitTest(109, -9, true));
    EXPECT_EQ(t->GetDragMask(), 2);
    // A vertical curve.
    TfsmLink* v = doc.CreateTransition2(50, 0, 50, 300);
    EXPECT_TRUE(v->HitTest(51, 150, false));
    EXPECT_FALSE(v->HitTest(56, 150, false));
    // The bounds of a transition are its points'.
    TfsmLink* c = doc.CreateTransition4(10, 20, 5, 90, 200, -30, 100, 40);
    EXPECT_EQ(c->GetX(), 5);
    EXPECT_EQ(c->GetY(), -30);
    EXPECT_EQ(c->GetRight(), 200);
    EXPECT_EQ(c->GetBottom(), 90);
    EXPECT_TRUE(c->HitTestRect(TRect(5, -30, 201, 91), false));
    EXPECT_FALSE(c->HitTestRect(TRect(5, -30, 200, 91), false));
    EXPECT_EQ(doc.CreateTransition2(5, 5, 5, 5), nullptr); // first and last point coincide
    EXPECT_EQ(doc.CreateTransition4(5, 5, 9, 9, 9, 9, 5, 5), nullptr);
}

TEST(FsmTransition, EndsFollowTheStatesUnderThem) {
    TFSMScheme doc;
    TfsmElement* a = doc.CreateState();
    a->SetX(100);
    a->SetY(100);
    TfsmElement* b = doc.CreateState();
    b->SetX(400);
    b->SetY(100);
    TfsmLink* t = doc.CreateTransition2(100, 100, 400, 100);
    t->EndDrag();
    EXPECT_EQ(t->GetSource(), a);
    EXPECT_EQ(t->GetTarget(), b);
    EXPECT_EQ(t->GetPointX(0), 128);
    EXPECT_EQ(t->GetPointX(3), 372);
    // Moving the target state re-snaps the end.
    b->Move(0, 100);
    b->EndDrag();
    EXPECT_EQ(t->GetTarget(), b);
    EXPECT_NEAR(t->GetPointY(3), 200 - 28 * 0.7, 8);
    // Dragging the end off the state disconnects it.
    t->SetDragMask(8);
    t->Move(200, 0);
    t->EndDrag();
    EXPECT_EQ(t->GetTarget(), nullptr);
    EXPECT_TRUE(b->Incoming().empty());
}

TEST(FsmConditionBox, AnchorGrabAndHits) {
    RecordingWindow w(true);
    TFSMScheme doc(&w);
    TfsmElement* s = doc.CreateState();
    TfsmCond* c = doc.CreateStateCondition(s);
    EXPECT_EQ(c->GetText(), "0"_a);
    EXPECT_GT(c->GetWidth(), 15);
    EXPECT_GT(c->GetHeight(), 10);
    TfsmCond* fresh = doc.CreateStateCondition(nullptr);
    EXPECT_EQ(fresh->GetAnchorX(), -1);
    EXPECT_EQ(fresh->GetAnchorY(), -1);

    c->SetX(100);
    c->SetY(100);
    c->SetAnchor(50, 60);
    // A box whose owner and itself are not selected is still hit.
    EXPECT_TRUE(c->HitTest(100, 100, false));
    EXPECT_FALSE(c->HitTest(100 + c->GetWidth(), 100, false));
    EXPECT_FALSE(c->IsAnchorGrabbed());
    EXPECT_TRUE(c->HitTest(53, 57, true));
    EXPECT_TRUE(c->IsAnchorGrabbed());
    EXPECT_FALSE(c->IsSelected());
    c->Move(10, 5);
    EXPECT_EQ(c->GetAnchorX(), 60);
    EXPECT_EQ(c->GetAnchorY(), 65);
    EXPECT_EQ(c->GetX(), 100);
    // Level with the anchor there is no leader line to grab.
    c->SetAnchor(100, 60);
    EXPECT_FALSE(c->HitTest(100, 60, false));
    EXPECT_FALSE(c->IsAnchorGrabbed());
    c->Move(5, 5);
    EXPECT_EQ(c->GetX(), 105);
    // Moving the owner carries the anchor, not the box.
    s->Move(7, 8);
    EXPECT_EQ(c->GetAnchorX(), 107);
    EXPECT_EQ(c->GetAnchorY(), 68);
    EXPECT_EQ(c->GetX(), 105);
    // A second box for the same owner leaves the first without one.
    TfsmCond* second = doc.CreateStateCondition(s);
    EXPECT_EQ(s->GetCondition(), second);
    EXPECT_EQ(c->GetOwner(), nullptr);
}

TEST(FsmDocument, ZoomSelectionExtentAndSignals) {
    RecordingWindow w;
    TFSMScheme doc(&w);
    EXPECT_EQ(doc.GetZoom(), 100);
    for (int z : {24, 401, 0, -100}) {
        doc.SetZoom(z);
        EXPECT_EQ(doc.GetZoom(), 100) << z;
    }
    EXPECT_TRUE(w.Zooms.empty());
    doc.SetZoom(25);
    EXPECT_EQ(doc.GetZoom(), 25);
    doc.SetZoom(400);
    EXPECT_EQ(doc.GetZoom(), 400);
    EXPECT_EQ(w.Zooms, (std::vector<int>{25, 400}));
    EXPECT_EQ(doc.Scale(7), 28);

    SetSignals(doc, {"a", "b", "c"}, {"y"});
    TfsmElement* s = AddState(doc, 100, 100, "S", "0");
    TfsmElement* t = AddState(doc, 110, 110, "T", "1");
    TfsmLink* l = AddTransition(doc, 100, 300, 100, 100, "10X");
    // A point covered by two entities selects both.
    doc.SelectAt(105, 105, true);
    EXPECT_EQ(doc.Selection().size(), 2u);
    EXPECT_TRUE(s->IsSelected() && t->IsSelected());
    EXPECT_EQ(doc.HitTestAny(105, 105), 1);
    doc.ClearSelection();
    EXPECT_FALSE(s->IsSelected());
    EXPECT_EQ(doc.HitTestAny(105, 105), 2);
    EXPECT_EQ(doc.HitTestAny(700, 700), 0);
    doc.SelectInRect(true, TRect(90, 90, 200, 200));
    EXPECT_EQ(doc.Selection().size(), 2u);
    EXPECT_TRUE(s->IsMarked());
    TRect r;
    doc.GetSelectionRect(&r);
    EXPECT_EQ(r, TRect(100, 100, 130, 130));
    EXPECT_TRUE(doc.SelectionHasNonTransition());

    int maxX = 0, maxY = 0;
    doc.GetExtent(&maxX, &maxY);
    EXPECT_EQ(maxX, 170);
    EXPECT_EQ(maxY, 300);

    // Signals inserted and removed keep every condition in step.
    doc.RemoveInputSignal(0);
    EXPECT_EQ(l->GetCondition()->GetText(), "10"_a);
    doc.AddInputSignal();
    EXPECT_EQ(l->GetCondition()->GetText(), "010"_a);
    doc.AddOutputSignal();
    EXPECT_EQ(s->GetCondition()->GetText(), "00"_a);
    doc.RemoveOutputSignal(1);
    EXPECT_EQ(s->GetCondition()->GetText(), "0"_a);
    doc.RemoveOutputSignal(5); // out of range: nothing
    EXPECT_EQ(s->GetCondition()->GetText(), "0"_a);

    // At most 120 signals a side.
    TStringList many;
    for (int i = 0; i < 130; ++i) many.Add(IntToStr(i));
    doc.SetInputs(&many);
    EXPECT_EQ(doc.GetInputCount(), 120);
    EXPECT_FALSE(doc.AddInput("x"));
}

TEST(FsmDocument, CaptionsFollowTheNameAndTheModifiedFlag) {
    RecordingWindow w;
    TFSMScheme doc(&w);
    doc.SetFileName("/m/lift.fsm");
    EXPECT_EQ(doc.GetName(), "lift.fsm"_a);
    doc.CreateState();
    doc.SetModified(true);
    doc.SetModified(false);
    EXPECT_EQ(w.Captions, (std::vector<AnsiString>{"/m/lift.fsm", "/m/lift.fsm*", "/m/lift.fsm"}));
    // A document without a window is its own owner and has no caption to set.
    TFSMScheme headless;
    EXPECT_EQ(headless.GetOwner(), nullptr);
    EXPECT_EQ(headless.GetWindow(), nullptr);
    headless.SetFileName("x.fsm");
    headless.SetModified(true);
    EXPECT_TRUE(headless.IsModified());
}

TEST(FsmDocument, PropertiesGoThroughTheWindowsDialogs) {
    RecordingWindow w;
    TFSMScheme doc(&w);
    TfsmElement* s = doc.CreateState();
    TfsmCond* c = doc.CreateStateCondition(s);
    doc.SetModified(false);
    doc.AddToSelection(s, true);
    doc.AddToSelection(c, true);
    doc.EditSelectedProperties(); // both dialogs cancelled
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(s->GetName(), "Element"_a);
    w.NameAnswer = "Работа"_a;
    w.ConditionAnswer = "1x";
    doc.EditSelectedProperties();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(s->GetName(), "Работа"_a);
    EXPECT_EQ(c->GetText(), "1X"_a);
    // Without a window there are no dialogs.
    TFSMScheme headless;
    EXPECT_FALSE(headless.CreateState()->Properties());
}

TEST(FsmDocument, IteratorsSkipDeletedAndKeepOneCursorPerKind) {
    TFSMScheme doc;
    TfsmElement* a = doc.CreateState();
    TfsmLink* t = doc.CreateTransition2(0, 0, 10, 10);
    TfsmElement* b = doc.CreateState();
    TfsmCond* c = doc.CreateStateCondition(a);
    EXPECT_EQ(doc.FirstState(), a);
    EXPECT_EQ(doc.FirstTransition(), t);
    EXPECT_EQ(doc.NextState(), b);
    EXPECT_EQ(doc.NextState(), nullptr);
    EXPECT_EQ(doc.NextTransition(), nullptr);
    EXPECT_EQ(doc.FirstCondition(), c);
    EXPECT_EQ(doc.FirstEntity(), a);
    EXPECT_EQ(doc.NextEntity(), t);
    a->SetDeleted(true);
    EXPECT_EQ(doc.FirstState(), b);
    a->SetDeleted(false);
    EXPECT_EQ(doc.FindById(b->GetId(), false), b);
    EXPECT_EQ(doc.FindById(99, true), nullptr);
}

} // namespace

namespace {

// An object whose guarded work throws what it is given.
class ThrowingEntity : public TfsmEntity {
public:
    using TfsmEntity::TfsmEntity;
    void LoadFromStream(ByteReader&) override {}
    void SaveToStream(ByteWriter&) override {}
    template <class F>
    void Run(F&& body) {
        Guarded("fsm/FSMLink.cpp", 198, std::forward<F>(body));
    }
};

} // namespace

// The guard of an end-of-drag stops every exception, the program's own and
// any other, with the internal-error message naming the handler's place.
TEST(FsmGuard, EveryExceptionEndsInTheInternalErrorMessage) {
    TestUiPort port;
    ThrowingEntity e(nullptr);
    const std::vector<std::function<void()>> throwers = {
        [] { throw Exception("own"); },
        [] { throw std::runtime_error("standard"); },
        [] { throw std::bad_alloc(); },
        [] { throw 7; },
    };
    for (const auto& t : throwers) EXPECT_NO_THROW(e.Run(t));
    bool ran = false;
    e.Run([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>(4, "Ошибка в файле FSMLink.cpp стр. 198"_a));
}
