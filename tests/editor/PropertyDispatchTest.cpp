// Every kind of scheme object reaches its dialog through the dispatcher;
// Отменить leaves the document as it was, and a dialog that was never made
// answers Cancel.
#include "editor/PropertyDialogTest.h"

#include "editor/EditorFakes.h"

namespace {

using PropertyDispatch = PropertyDialogTest;

TEST_F(PropertyDispatch, EveryStoredKindOpensItsForm) {
    FakeFrameServices services;
    struct Row {
        std::function<TEntity*()> make;
        TForm* form;
    };
    const Row rows[] = {
        {[&] { return Doc()->CreateTimerElement(); }, Form7},
        {[&] { return Doc()->CreatePredTimerElement(1); }, Form1},
        {[&] { return Doc()->CreateTriggerElement(); }, Form8},
        {[&] { return Doc()->CreateDTriggerElement(); }, Form8},
        {[&] { return Doc()->CreateCaseElement(2); }, Form10},
        {[&] { return Doc()->CreateCase16Element(2); }, Form10},
        {[&] { return Doc()->CreateCaseMaskElement(2); }, Form10},
        {[&] { return Doc()->CreateCaseDiapElement(6); }, Form10},
        {[&] { return Doc()->CreateGotoElement(); }, Form12},
        {[&] { return Doc()->CreateDriver(); }, Form5},
        {[&] { return Doc()->CreateVarDriver(); }, Form9},
        {[&] { return Doc()->CreateWire(10, 300, 200, 300); }, Form6},
        {[&] { return Doc()->CreateSymbol(); }, Form3},
        {[&] { return Doc()->CreateFSM(); }, Form3},
        {[&] {
             auto* e = new TElement(Doc(), "plain");
             Doc()->AddObject(e);
             return e;
         },
         Form4},
    };
    for (const Row& r : rows) {
        TEntity* e = r.make();
        e->SetX(100);
        e->SetY(100);
        e->Show();
        const auto before = State();
        ModelHooks().Dialogs = nullptr;
        EXPECT_FALSE(e->Properties());
        ModelHooks().Dialogs = &dialogs;
        EXPECT_FALSE(Edit(e, r.form, [&] { r.form->ModalResult = mrCancel; })) << r.form->Name().c_str();
        EXPECT_EQ(State(), before) << r.form->Name().c_str();
        EXPECT_TRUE(SheetIsClean());
        e->Hide();
        Doc()->AddToSelection(e, true);
        Doc()->DeleteSelected();
        Doc()->ClearSelection();
    }
    // A dialog that was never made: Cancel, and nothing stored.
    TTimerElement* t = Doc()->CreateTimerElement();
    TForm7* made = Form7;
    Form7 = nullptr;
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Timer, t), mrCancel);
    dialogs.Store(TPropertyDialog::Timer, t);
    EXPECT_FALSE(t->Properties());
    Form7 = made;
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Driver, t), mrCancel) << "an object of another kind";
}

} // namespace
