// The condition, pin and state-name dialogs, run for real as the window runs
// them, acted on through a script once they show.
#include <QLineEdit>
#include <QTest>

#include "FsmGuiTest.h"
#include "PaintBoxMouse.h"
#include "editor/ModalScript.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/gui/FSMCond.h"
#include "fsm/gui/fsmPins.h"
#include "fsm/gui/stProp.h"
#include "platform/testing/TestUiPort.h"

using namespace fsmtest;

namespace {

std::vector<AnsiString> Names(const TStrings* s) {
    std::vector<AnsiString> v;
    for (int i = 0; i < s->Count(); ++i) v.push_back(s->Get(i));
    return v;
}

// Names written here in UTF-8, as the program holds them.
std::vector<AnsiString> Ansi(const std::vector<const char*>& names) {
    std::vector<AnsiString> v;
    for (const char* n : names) v.push_back(Utf8ToAnsi(n));
    return v;
}

std::vector<TCheckBoxState> States(TExCheckListBox* box) {
    std::vector<TCheckBoxState> v;
    for (int i = 0; i < box->Items()->Count(); ++i) v.push_back(box->GetState(i));
    return v;
}

class FsmDialogs : public FsmGuiTest {
protected:
    void SetUp() override {
        FsmGuiTest::SetUp();
        if (!fmFSMCond) Application->CreateForm(fmFSMCond);
        if (!fmPins) Application->CreateForm(fmPins);
        if (!fmStProp) Application->CreateForm(fmStProp);
    }
    // A window on a machine with these signals: state S (output value
    // "out") and a transition T into it (condition "in").
    TFSMChild* OpenWith(std::vector<AnsiString> inputs, std::vector<AnsiString> outputs, const char* in,
                        const char* out) {
        TFSMScheme doc;
        SetSignals(doc, std::move(inputs), std::move(outputs));
        AddState(doc, 300, 200, "S", out);
        AddTransition(doc, 100, 200, 300, 200, in);
        return w = Open(Saved(doc, "d" + IntToStr(++files_) + ".fsm"));
    }
    TfsmCond* StateBox() { return w->FsmDocument()->States()[0]->GetCondition(); }
    TfsmCond* TransitionBox() { return w->FsmDocument()->Transitions()[0]->GetCondition(); }

    TFSMChild* w = nullptr;
    int files_ = 0;
};

TEST_F(FsmDialogs, TheConditionShowsAsTextAndChecksTheLastSignalFirst) {
    // A transition's or a state's box over count signals: the text stored,
    // the text and the checks the dialog shows.
    struct Case { const char* what; bool transition; int count; const char *stored, *shown; std::vector<TCheckBoxState> checks; };
    const Case cases[] = {
        {"1X0 over three inputs", true, 3, "1X0", "1X0", {cbUnchecked, cbGrayed, cbChecked}},
        {"1 for three outputs", false, 3, "1", "100", {cbUnchecked, cbUnchecked, cbChecked}},
        {"longer than the list keeps its start", true, 2, "1001", "10", {cbUnchecked, cbChecked}},
        {"no signals", false, 0, "0", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<AnsiString> names, none;
        for (int i = 0; i < c.count; ++i) names.push_back("s" + IntToStr(i));
        OpenWith(c.transition ? names : none, c.transition ? none : names, c.transition ? c.stored : "",
                 c.transition ? "" : c.stored);
        TfsmCond* box = c.transition ? TransitionBox() : StateBox();
        ModalScript script;
        script.On(fmFSMCond, [&] {
            EXPECT_EQ(fmFSMCond->CondEd->Text(), AnsiString(c.shown));
            EXPECT_EQ(fmFSMCond->Caption(), c.transition ? "Условие перехода"_a : "Выходы состояния"_a);
            EXPECT_EQ(States(fmFSMCond->ioBox), c.checks);
            EXPECT_EQ(fmFSMCond->ioBox->AllowGrayed(), c.transition);
            EXPECT_EQ(fmFSMCond->ioBox->CheckKind(), ckCheckMarks);
            EXPECT_TRUE(fmFSMCond->ioBox->GraySelection()) << "the selection grays while the text has the focus";
            EXPECT_EQ(Names(fmFSMCond->ioBox->Items()), names);
            fmFSMCond->BitBtn1->Click();
        });
        EXPECT_FALSE(box->Properties());
        EXPECT_EQ(script.shown[fmFSMCond], 1);
        EXPECT_EQ(box->GetText(), AnsiString(c.stored)) << "Cancel stores nothing";
    }
}

TEST_F(FsmDialogs, ChecksAndTypingRewriteTheTextWhichIsCutToTheListAndStoredUpperCased) {
    OpenWith({"a"_a, "b"_a, "c"_a}, {"y"_a}, "1X0", "1");
    TfsmCond* box = TransitionBox();
    ModalScript script;
    script.On(fmFSMCond, [&] {
        TExCheckListBox* checks = fmFSMCond->ioBox;
        checks->ToggleClickCheck(0); // unchecked -> grayed
        EXPECT_EQ(fmFSMCond->CondEd->Text(), "1XX"_a);
        // A click on a text shorter than the list first fills it.
        fmFSMCond->CondEd->SetText("1");
        EXPECT_EQ(checks->GetState(0), cbChecked);
        checks->ToggleClickCheck(2); // checked -> unchecked
        EXPECT_EQ(fmFSMCond->CondEd->Text(), "0X1"_a);
        QLineEdit* edit = fmFSMCond->CondEd->LineEdit();
        fmFSMCond->CondEd->SetFocus();
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, "1");
        EXPECT_EQ(fmFSMCond->CondEd->Text(), "0X1"_a) << "a fourth character is cut";
        edit->selectAll();
        QTest::keyClicks(edit, "0x1");
        EXPECT_EQ(fmFSMCond->CondEd->Text(), "0x1"_a);
        // Each keystroke sets the checks from the text so far; "x" sets none,
        // so item 1 keeps what "0" (then its last character) gave it.
        EXPECT_EQ(States(checks), (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbUnchecked}));
        fmFSMCond->BitBtn2->Click();
    });
    EXPECT_TRUE(box->Properties());
    EXPECT_EQ(script.shown[fmFSMCond], 1);
    EXPECT_EQ(box->GetText(), "0X1"_a);
    EXPECT_TRUE(port.Messages().empty());
}

// A condition longer than the list (written before signals were removed)
// is cut by one rule whether it was stored or typed: what the dialog shows
// for it is the same either way.
TEST_F(FsmDialogs, AStoredAndATypedConditionTooLongAreCutAlike) {
    OpenWith({"a"_a, "b"_a, "c"_a}, {"y"_a}, "10X1", "1");
    AnsiString stored;
    std::vector<TCheckBoxState> storedChecks;
    AnsiString typed;
    std::vector<TCheckBoxState> typedChecks;
    ModalScript script;
    script.On(fmFSMCond, [&] {
        stored = fmFSMCond->CondEd->Text();
        storedChecks = States(fmFSMCond->ioBox);
        QLineEdit* edit = fmFSMCond->CondEd->LineEdit();
        fmFSMCond->CondEd->SetFocus();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "10X1");
        typed = fmFSMCond->CondEd->Text();
        typedChecks = States(fmFSMCond->ioBox);
        fmFSMCond->BitBtn1->Click();
    });
    EXPECT_FALSE(TransitionBox()->Properties());
    EXPECT_EQ(script.shown[fmFSMCond], 1);
    EXPECT_EQ(typed, "10X"_a);
    EXPECT_EQ(stored, typed);
    EXPECT_EQ(storedChecks, typedChecks);
    EXPECT_EQ(TransitionBox()->GetText(), "10X1"_a) << "Cancel stores nothing";
}

// The dialog is made once and shown again for every box. Whatever held its
// focus when it last closed, each opening, by a double-click whose button is
// still down as the dialog shows, gives the string field the focus with the
// whole string selected: what is typed is what OK stores.
TEST_F(FsmDialogs, EveryOpeningOfTheConditionDialogTypesIntoItsString) {
    // How the first opening ends.
    struct Case { const char* what; std::function<void()> close; };
    const Case cases[] = {
        {"OK clicked", [] { QTest::mouseClick(fmFSMCond->BitBtn2->Widget(), Qt::LeftButton); }},
        {"the check list focused, Esc", [] {
             fmFSMCond->ioBox->SetFocus();
             Key(Qt::Key_Escape);
         }},
        {"Enter in the string", [] { Key(Qt::Key_Return); }},
    };
    // One window for every case (a window opened after a dialog closed waits
    // on the desktop, which a loaded X server may keep waiting): each case
    // starts from both conditions "000".
    TFSMScheme doc;
    SetSignals(doc, {"a"_a, "b"_a, "c"_a}, {"y"_a});
    AddState(doc, 300, 200, "S", "1");
    AddTransition(doc, 100, 200, 300, 200, "000");
    AddTransition(doc, 300, 200, 300, 400, "000");
    w = Open(Saved(doc, "d" + IntToStr(++files_) + ".fsm"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (TfsmLink* t : w->FsmDocument()->Transitions())
            t->GetCondition()->SetText("000");
        std::vector<AnsiString> typedInto;
        ModalScript script;
        for (const char* typed : {"1X0", "01X"}) {
            script.On(fmFSMCond, [&, typed] {
                QLineEdit* edit = fmFSMCond->CondEd->LineEdit();
                EXPECT_EQ(QApplication::focusWidget(), edit);
                EXPECT_EQ(edit->selectedText(), "000");
                QTest::keyClicks(QApplication::focusWidget(), typed);
                typedInto.push_back(fmFSMCond->CondEd->Text());
                if (typedInto.size() == 1) c.close();
                else Key(Qt::Key_Return);
            });
        }
        for (TfsmLink* t : w->FsmDocument()->Transitions()) {
            paintmouse::Click(w->PaintBox1, 600, 500);
            const int x = t->GetCondition()->GetX() + 4, y = t->GetCondition()->GetY() + 4;
            paintmouse::Click(w->PaintBox1, x, y);
            QTest::mouseDClick(w->PaintBox1->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
            QTest::mouseRelease(w->PaintBox1->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        }
        EXPECT_EQ(script.shown[fmFSMCond], 2);
        EXPECT_EQ(script.unscripted, 0) << "a dialog opened that nobody asked for";
        EXPECT_EQ(typedInto, (std::vector<AnsiString>{"1X0"_a, "01X"_a}));
        EXPECT_EQ(w->FsmDocument()->Transitions()[1]->GetCondition()->GetText(), "01X"_a);
        EXPECT_FALSE(script.stuck);
    }
}

TEST_F(FsmDialogs, AnXInAStatesValueIsRefusedAndTheDialogStaysOpen) {
    OpenWith({"a"_a}, {"y0"_a, "y1"_a}, "1", "01");
    TfsmCond* box = StateBox();
    ModalScript script;
    script.On(fmFSMCond, [&] {
        fmFSMCond->CondEd->SetText("X1");
        fmFSMCond->BitBtn2->Click();
        EXPECT_EQ(fmFSMCond->ModalResult, mrNone);
        EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" неправильно введены условия !"_a});
        fmFSMCond->CondEd->SetText("10");
        fmFSMCond->BitBtn2->Click();
    });
    // Through the window's properties command, as a double-click does.
    w->FsmDocument()->AddToSelection(box, true);
    w->EditPropertyAction->Execute();
    EXPECT_EQ(box->GetText(), "10"_a);
    EXPECT_TRUE(w->FsmDocument()->IsModified());
    EXPECT_FALSE(script.stuck);
}

TEST_F(FsmDialogs, ABoxOfADocumentWithoutAWindowIsAnError) {
    TFSMScheme doc;
    TfsmElement* s = AddState(doc, 100, 100, "S", "1");
    EXPECT_FALSE(fmFSMCond->Setup(s->GetCondition()));
    EXPECT_EQ(fmFSMCond->ModalResult, mrNo);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{" Ошибка в программе !"_a});
}

TEST_F(FsmDialogs, ThePinDialogChangesTheDocumentOnlyWhenConfirmed) {
    struct Step { enum Kind { Add, Delete, Rename } kind; int row; const char* name; };
    // The inputs and the transition's condition (or the outputs and the
    // state's value); the steps and OK or Cancel; the grid shown before the
    // dialog ends, the signals and the condition after.
    struct Case {
        const char* what;
        bool outputs;
        std::vector<const char*> names;
        const char* condition;
        std::vector<Step> steps;
        bool ok;
        std::vector<const char*> rowsShown, after;
        const char* conditionAfter;
    };
    const Case cases[] = {
        {"add to an empty list", false, {}, "", {{Step::Add, 0, ""}}, true, {"new"}, {"new"}, "0"},
        {"add to a, b", false, {"a", "b"}, "10", {{Step::Add, 0, ""}}, true, {"a", "b", "new"}, {"a", "b", "new"}, "010"},
        {"add to outputs y0, y1", true, {"y0", "y1"}, "10", {{Step::Add, 0, ""}}, true, {"y0", "y1", "new"},
         {"y0", "y1", "new"}, "010"},
        {"delete row 0 of a, b, c", false, {"a", "b", "c"}, "1X0", {{Step::Delete, 0, ""}}, true, {"b", "c"}, {"b", "c"}, "1X"},
        {"delete row 2 of a, b, c", false, {"a", "b", "c"}, "1X0", {{Step::Delete, 2, ""}}, true, {"a", "b"}, {"a", "b"}, "X0"},
        {"cancel after adding", false, {"a", "b"}, "10", {{Step::Add, 0, ""}}, false, {"a", "b", "new"}, {"a", "b"}, "10"},
        {"OK on the empty row of an empty list", false, {}, "", {}, true, {""}, {}, ""},
        {"delete the only row", false, {"a"}, "1", {{Step::Delete, 0, ""}}, true, {""}, {}, ""},
        {"add, rename, delete", false, {"a", "b"}, "10",
         {{Step::Add, 0, ""}, {Step::Rename, 2, "Пуск"}, {Step::Delete, 0, ""}}, true, {"b", "Пуск"}, {"b", "Пуск"}, "01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.outputs) OpenWith({"y"_a}, Ansi(c.names), "1", c.condition);
        else OpenWith(Ansi(c.names), {"y"_a}, c.condition, "1");
        TFSMScheme* doc = w->FsmDocument();
        const std::string bytes = doc->SaveToBytes();
        ModalScript script;
        script.On(fmPins, [&] {
            EXPECT_EQ(fmPins->Outputs, c.outputs);
            EXPECT_EQ(fmPins->Caption(), c.outputs ? "Выходные сигналы"_a : "Входные сигналы"_a);
            for (const Step& s : c.steps) {
                if (s.kind == Step::Add) {
                    fmPins->SpeedButton1->Click();
                } else if (s.kind == Step::Delete) {
                    fmPins->sgPin->SetRow(s.row);
                    fmPins->SpeedButton2->Click();
                } else {
                    fmPins->sgPin->SetCells(0, s.row, Utf8ToAnsi(s.name));
                }
            }
            std::vector<AnsiString> grid;
            for (int r = 0; r < fmPins->sgPin->RowCount(); ++r) grid.push_back(fmPins->sgPin->Cells(0, r));
            EXPECT_EQ(grid, Ansi(c.rowsShown));
            // Nothing reaches the document before the dialog ends.
            EXPECT_EQ(doc->SaveToBytes(), bytes);
            (c.ok ? fmPins->BitBtn1 : fmPins->BitBtn2)->Click();
        });
        if (c.outputs) w->ToolbarButtonEx3Click(nullptr);
        else w->ToolbarButtonEx5Click(nullptr);
        EXPECT_EQ(script.shown[fmPins], 1);
        EXPECT_EQ(Names((c.outputs ? w->outBox : w->inBox)->Items()), Ansi(c.after));
        EXPECT_EQ(Names(c.outputs ? &doc->OutputNames() : &doc->InputNames()), Ansi(c.after));
        EXPECT_EQ(c.outputs ? doc->GetOutputCount() : doc->GetInputCount(), int(c.after.size()));
        TfsmCond *changed = c.outputs ? StateBox() : TransitionBox(), *other = c.outputs ? TransitionBox() : StateBox();
        EXPECT_EQ(changed->GetText(), AnsiString(c.conditionAfter));
        EXPECT_EQ(other->GetText(), "1"_a) << "the other signals' conditions are not touched";
        if (!c.ok) {
            EXPECT_EQ(doc->SaveToBytes(), bytes);
        }
        EXPECT_EQ(doc->IsModified(), c.ok && !c.steps.empty());
    }
}

TEST_F(FsmDialogs, ADoubleClickOnAStateRenamesItThroughItsDialog) {
    OpenWith({"a"_a}, {"y"_a}, "1", "1");
    TfsmElement* s = w->FsmDocument()->States()[0];
    for (bool ok : {false, true}) {
        ModalScript script;
        script.On(fmStProp, [&] {
            EXPECT_EQ(fmStProp->Edit1->Text(), s->GetName());
            fmStProp->Edit1->SetText("Насос"_a);
            (ok ? fmStProp->BitBtn1 : fmStProp->BitBtn2)->Click();
        });
        paintmouse::Click(w->PaintBox1, 290, 190);
        paintmouse::Send(w->PaintBox1, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, 290, 190);
        paintmouse::Release(w->PaintBox1, 290, 190);
        EXPECT_EQ(script.shown[fmStProp], 1);
        EXPECT_EQ(s->GetName(), ok ? "Насос"_a : "S"_a);
        EXPECT_EQ(w->FsmDocument()->IsModified(), ok);
        EXPECT_TRUE(ShowsRepaint(w));
    }
}

} // namespace
