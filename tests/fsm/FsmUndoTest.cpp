// Deleting and undoing: groups, what goes with a state, what comes back.

#include <filesystem>

#include <gtest/gtest.h>

#include "FsmTestSupport.h"
#include "common/TestEnv.h"
#include "fsm/FsmRecords.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

void DeleteOnly(TFSMScheme& doc, const std::vector<TfsmEntity*>& what) {
    doc.ClearSelection();
    for (TfsmEntity* e : what) doc.AddToSelection(e, true);
    doc.DeleteSelected();
}

TEST(FsmUndo, UndoOnAnEmptyHistoryDoesNothing) {
    TFSMScheme doc;
    doc.GetUndoList()->Undo();
    EXPECT_TRUE(doc.Entities().empty());
}

TEST(FsmUndo, StatesCreatedInARowFormOneGroup) {
    TFSMScheme doc;
    doc.CreateState();
    doc.CreateState();
    doc.CreateState();
    ASSERT_EQ(doc.States().size(), 3u);
    doc.GetUndoList()->Undo();
    EXPECT_TRUE(doc.States().empty());
    EXPECT_TRUE(doc.Entities().empty());
}

TEST(FsmUndo, AnAddedEntityIsNeitherDuplicatedNorRenumbered) {
    TFSMScheme doc;
    TfsmElement* s = doc.CreateState();
    const int id = s->GetId();
    doc.Add(s, false);
    EXPECT_EQ(doc.Entities().size(), 1u);
    EXPECT_EQ(s->GetId(), id);
    EXPECT_EQ(doc.GetUndoList()->Count(), 1);
}

// Sound behaviour 3: a state goes with its transitions and their boxes.
TEST(FsmUndo, DeletingAStateTakesItsTransitionsAndBoxesInOneGroup) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    const std::size_t before = doc.Entities().size();
    const TfsmCond* initialBox = e.Initial->GetCondition();
    DeleteOnly(doc, {e.S1});
    // S1, its box, four transitions that touch it (initial, reset, S1S2, S2S1) and their boxes.
    EXPECT_EQ(doc.Entities().size(), before - 10);
    EXPECT_EQ(doc.States(), std::vector<TfsmElement*>{e.S2});
    EXPECT_TRUE(doc.Transitions().empty());
    EXPECT_EQ(doc.Conditions().size(), 1u); // S2's own output value
    EXPECT_EQ(doc.GetResetLink(), nullptr);
    // The survivor's lists no longer hold the deleted transitions.
    EXPECT_TRUE(e.S2->Incoming().empty());
    EXPECT_TRUE(e.S2->Outgoing().empty());
    EXPECT_TRUE(doc.IsModified());

    // One undo brings all of it back, connected as before.
    doc.GetUndoList()->Undo();
    EXPECT_EQ(doc.Entities().size(), before);
    EXPECT_EQ(doc.GetResetLink(), e.Reset);
    EXPECT_EQ(e.S1->Outgoing(), std::vector<TfsmLink*>{e.S1S2});
    EXPECT_EQ(e.S2->Incoming(), std::vector<TfsmLink*>{e.S1S2});
    EXPECT_EQ(e.S2->Outgoing(), std::vector<TfsmLink*>{e.S2S1});
    EXPECT_EQ(e.S1->Incoming().size(), 3u);
    EXPECT_EQ(e.Initial->GetCondition(), initialBox);
    EXPECT_EQ(e.S1->GetCondition()->GetOwner(), e.S1);
    for (TfsmEntity* x : doc.Entities()) {
        EXPECT_FALSE(x->IsDeleted());
        EXPECT_FALSE(x->IsSelected());
    }
    TestUiPort ui;
    EXPECT_TRUE(doc.Check());
    EXPECT_EQ(doc.GetInitialTransition(), e.Initial);
}

// Undo puts everything back where it stood: the file, the transition table
// and every state's lists are those of before the deletion.
TEST(FsmUndo, UndoingADeletionRestoresTheExactDocument) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    TfsmElement* s3 = AddState(doc, 400, 400, "S3", "1");
    TfsmLink* s2s3 = Connect(doc, e.S2, s3, "01");
    TfsmLink* s3s1 = Connect(doc, s3, e.S1, "00");
    TestUiPort ui;
    auto table = [&] {
        TStringList lines;
        EXPECT_TRUE(doc.Check());
        doc.Translate(&lines);
        return Lines(lines);
    };
    const std::string bytes = doc.SaveToBytes();
    const std::vector<std::string> lines = table();
    const std::vector<TfsmEntity*> order = doc.Entities();
    const std::vector<TfsmLink*> out2 = e.S2->Outgoing(), in1 = e.S1->Incoming();
    ASSERT_EQ(out2, (std::vector<TfsmLink*>{e.S2S1, s2s3}));
    // The first state, a middle one, two at once, and a transition alone.
    const std::vector<std::vector<TfsmEntity*>> deletions = {{e.S1}, {e.S2}, {e.S2, s3}, {e.S2S1}, {s3s1, e.S1S2}};
    for (const auto& what : deletions) {
        SCOPED_TRACE(what.size());
        DeleteOnly(doc, what);
        ASSERT_LT(doc.Entities().size(), order.size());
        doc.GetUndoList()->Undo();
        EXPECT_EQ(doc.Entities(), order);
        EXPECT_EQ(e.S2->Outgoing(), out2);
        EXPECT_EQ(e.S1->Incoming(), in1);
        EXPECT_TRUE(doc.SaveToBytes() == bytes);
        EXPECT_EQ(table(), lines);
    }
}

TEST(FsmUndo, ADeletedTransitionLeavesItsStatesListsAndComesBack) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    TfsmCond* box = e.S1S2->GetCondition();
    DeleteOnly(doc, {e.S1S2});
    EXPECT_TRUE(e.S1->Outgoing().empty());
    EXPECT_EQ(e.S2->Incoming().size(), 0u);
    EXPECT_FALSE(doc.IsLive(box)); // its box went with it
    EXPECT_TRUE(doc.IsLive(e.S1));
    doc.GetUndoList()->Undo();
    EXPECT_EQ(e.S1->Outgoing(), std::vector<TfsmLink*>{e.S1S2});
    EXPECT_EQ(e.S2->Incoming(), std::vector<TfsmLink*>{e.S1S2});
    EXPECT_EQ(e.S1S2->GetCondition(), box);
    EXPECT_TRUE(doc.IsLive(box));
}

TEST(FsmUndo, DeletingTwoStatesAndUndoingRestoresIdsAndPositions) {
    TFSMScheme doc;
    SetSignals(doc, {"a"}, {"y"});
    TfsmElement* a = AddState(doc, 100, 100, "A", "0");
    TfsmElement* b = AddState(doc, 300, 120, "B", "1");
    TfsmElement* c = AddState(doc, 500, 140, "C", "1");
    TfsmLink* ab = Connect(doc, a, b, "1");
    const int ida = a->GetId(), idb = b->GetId();
    DeleteOnly(doc, {a, b});
    EXPECT_EQ(doc.States(), std::vector<TfsmElement*>{c});
    doc.GetUndoList()->Undo();
    EXPECT_EQ(doc.States().size(), 3u);
    EXPECT_EQ(a->GetId(), ida);
    EXPECT_EQ(b->GetId(), idb);
    EXPECT_EQ(a->GetX(), 100);
    EXPECT_EQ(b->GetY(), 120);
    EXPECT_EQ(ab->GetSource(), a);
    EXPECT_EQ(ab->GetTarget(), b);
    EXPECT_EQ(doc.FindById(ida, false), a);
}

// Sound behaviour 4.
TEST(FsmUndo, UndoingAnInsertionLeavesNoDanglingReferences) {
    TFSMScheme doc;
    SetSignals(doc, {"a"}, {"y"});
    TfsmElement* a = AddState(doc, 100, 100, "A", "0");
    TfsmElement* b = AddState(doc, 300, 100, "B", "1");
    doc.GetUndoList()->BeginGroup();
    TfsmLink* t = doc.CreateTransition2(100, 100, 300, 100);
    t->EndDrag();
    ASSERT_EQ(a->Outgoing(), std::vector<TfsmLink*>{t});
    doc.GetUndoList()->BeginGroup();
    TfsmCond* box = doc.CreateTransitionCondition(t);
    ASSERT_EQ(t->GetCondition(), box);

    doc.GetUndoList()->Undo(); // the box goes: its owner forgets it
    EXPECT_EQ(t->GetCondition(), nullptr);
    EXPECT_FALSE(doc.IsLive(box));
    doc.GetUndoList()->Undo(); // the transition goes: its states forget it
    EXPECT_TRUE(a->Outgoing().empty());
    EXPECT_TRUE(b->Incoming().empty());
    EXPECT_TRUE(doc.Transitions().empty());

    // A transition drawn first and joined to a state made later: undoing the
    // state leaves the transition unconnected, not pointing at it.
    doc.GetUndoList()->BeginGroup();
    TfsmLink* free = doc.CreateTransition2(500, 300, 700, 300);
    doc.GetUndoList()->BeginGroup();
    TfsmElement* late = doc.CreateState();
    late->SetX(700);
    late->SetY(300);
    free->EndDrag();
    ASSERT_EQ(free->GetTarget(), late);
    doc.GetUndoList()->Undo();
    EXPECT_EQ(free->GetTarget(), nullptr);
    EXPECT_FALSE(doc.IsLive(late));
}

TEST(FsmUndo, AnUndoneBoxDeletionRestoresTheBox) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    TfsmCond* out = e.S2->GetCondition();
    DeleteOnly(doc, {out});
    EXPECT_EQ(e.S2->GetCondition(), nullptr);
    EXPECT_FALSE(doc.IsLive(out));
    doc.GetUndoList()->Undo();
    EXPECT_TRUE(doc.IsLive(out));
    EXPECT_EQ(e.S2->GetCondition(), out);
    EXPECT_EQ(out->GetOwner(), e.S2);
}

TEST(FsmUndo, ABoxWhoseOwnerIsGoneIsSavedWithOwnerZero) {
    TFSMScheme doc;
    Example e = BuildExample(doc);
    TfsmCond* box = e.S1S2->GetCondition();
    // The box stays while its owner goes (the owner removed without its box).
    doc.Remove(e.S1S2);
    ASSERT_TRUE(doc.IsLive(box));
    const std::string bytes = doc.SaveToBytes();
    ByteWriter w;
    box->SaveToStream(w);
    EXPECT_EQ(w.Data()[1 + 104], 0);
    EXPECT_EQ(w.Data()[1 + 108], 0);
    doc.Add(e.S1S2, true); // back, so the document frees it
    (void)bytes;
}

TEST(FsmUndo, AfterASaveUndoDoesNothing) {
    testenv::TempDir dir;
    TFSMScheme doc;
    doc.SetFileName(dir.File("u.fsm"));
    BuildExample(doc);
    ASSERT_TRUE(doc.SaveToFile());
    const std::size_t n = doc.Entities().size();
    doc.GetUndoList()->Undo();
    EXPECT_EQ(doc.Entities().size(), n);
}

// Sound behaviour 10.
TEST(FsmUndo, AResetTransitionNeverTakesASource) {
    TFSMScheme doc;
    SetSignals(doc, {"a"}, {"y"});
    TfsmElement* a = AddState(doc, 100, 100, "A", "0");
    TfsmElement* b = AddState(doc, 300, 100, "B", "1");
    TfsmResetLink* r = doc.AddResetLink();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(doc.AddResetLink(), nullptr); // one per machine
    r->SetPointX(0, 100);
    r->SetPointY(0, 100); // starts inside A
    r->SetPointX(3, 300);
    r->SetPointY(3, 100);
    r->SetStraight(true);
    r->EndDrag();
    EXPECT_EQ(r->GetSource(), nullptr);
    EXPECT_EQ(r->GetTarget(), b);
    EXPECT_TRUE(a->Outgoing().empty());
    r->SetSource(a);
    EXPECT_EQ(r->GetSource(), nullptr);
    // Also after loading.
    TFSMScheme back;
    ASSERT_TRUE(back.LoadFromBytes(doc.SaveToBytes()));
    EXPECT_EQ(back.GetResetLink()->GetSource(), nullptr);
    EXPECT_TRUE(back.States()[0]->Outgoing().empty());
}

// Sound behaviour 5: Clear resets everything the document refers to.
TEST(FsmUndo, ClearHidesFreesAndResetsEverything) {
    RecordingWindow w(true);
    TFSMScheme doc(&w);
    const std::string blank = w.View()->Pixels();
    Example e = BuildExample(doc);
    TestUiPort ui;
    ASSERT_TRUE(doc.Check());
    doc.SetCurrentState(e.S2);
    EXPECT_TRUE(w.View()->Pixels() != blank);
    doc.Clear();
    EXPECT_TRUE(w.View()->Pixels() == blank); // every picture was erased
    EXPECT_EQ(doc.GetResetLink(), nullptr);
    EXPECT_EQ(doc.GetInitialTransition(), nullptr);
    EXPECT_EQ(doc.GetCurrentState(), nullptr);
    EXPECT_EQ(doc.GetInputCount(), 0);
    EXPECT_EQ(doc.InputNames().Count(), 0);
    EXPECT_TRUE(w.InputItems.empty());
    EXPECT_TRUE(doc.GetUndoList()->IsEmpty());
}

} // namespace
