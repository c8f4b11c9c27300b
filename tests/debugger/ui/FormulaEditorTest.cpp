// The formula editor on formulas of its own (the timing diagram's own use
// of it is tried with the diagram).
#include <QListWidget>
#include <map>

#include "DebuggerUiTest.h"
#include "debugger/ui/Formuls.h"

namespace dbgui {
namespace {

using Strings = std::vector<std::string>;

// Formulas with inputs of their own: a level per name.
class FakeOwner : public IFormulaOwner, public IFormulaSink {
public:
    TFormulaSet set;
    std::vector<AnsiString> inputs{"A", "B", "X"};
    std::map<std::string, int> level;
    TFormulaSet& Formulas() override { return set; }
    std::vector<AnsiString> InputNames() override { return inputs; }
    IFormulaSink& FormulaSink() override { return *this; }
    void Scan() override {}
    void OutputsFollow() override {}
    int InputLevel(const FormulStr& f) override { return level[f.Name.str()]; }
    void ToggleInput(const FormulStr& f) override { level[f.Name.str()] ^= 1; }
};

class FormulaEditor : public DebuggerTest {
protected:
    void SetUp() override {
        DebuggerTest::SetUp();
        fmFormuls = MakeForm<TfmFormuls>();
        fmFormuls->Owner = &owner;
        owner.set.History().Add("3H3L");
        fmFormuls->Show();
    }
    // Picks the signal, types the text and adds.
    void Add(const char* name, const AnsiString& text) {
        fmFormuls->ComboBox->SetText(name);
        fmFormuls->Edit->SetText(text);
        fmFormuls->BitBtn3Click(fmFormuls->BitBtn3);
    }
    Strings List() const { return Rows(fmFormuls->ListBox->Items()); }
    FakeOwner owner;
};

TEST_F(FormulaEditor, ShowsTheFormulasTheInputsAndTheHistory) {
    fmFormuls->Hide();
    owner.set.Set(owner.set.Append(), "B", 1, "10H5L", owner);
    fmFormuls->Show();
    EXPECT_EQ(List(), Strings{"B - 10H5L"});
    EXPECT_EQ(Rows(fmFormuls->NameList()), Strings{"B=10H5L"});
    EXPECT_EQ(Rows(fmFormuls->ComboBox->Items()), (Strings{"A", "B", "X"}));
    EXPECT_EQ(Rows(fmFormuls->Edit->Items()), Strings{"3H3L"});
    EXPECT_FALSE(fmFormuls->ListBox->Visible());
}

TEST_F(FormulaEditor, AddsInNormalFormAndReplacesASignalsFormulaInPlace) {
    Add("A", "007H");
    EXPECT_EQ(owner.level["A"], 1); // the first step's level at once
    Add("B", "10H5L");
    Add("a", "2L"); // A again, typed in small letters
    EXPECT_EQ(List(), (Strings{"A - 2L", "B - 10H5L"}));
    EXPECT_EQ(Rows(fmFormuls->NameList()), (Strings{"A=2L", "B=10H5L"}));
    ASSERT_EQ(owner.set.Count(), 2);
    EXPECT_EQ(owner.set[0].Name, "A");
    EXPECT_EQ(owner.set[0].Row, 0);
    EXPECT_EQ(owner.set[1].Row, 1);
    EXPECT_EQ(owner.level["A"], 0);
}

TEST_F(FormulaEditor, RefusesWithoutAddingAndShowsWhatWasCut) {
    const struct {
        const char *name, *typed, *shown;
    } cases[] = {
        {"A", "1x2H", "1x"}, {"A", "H5", ""}, {"A", "5HH", "5HH"},
        {"Q", "1H", "1H"}, // no such input row
        {"", "1x", "1x"},  // no signal: the text is not even checked
    };
    for (const auto& c : cases) {
        Add(c.name, c.typed);
        EXPECT_EQ(fmFormuls->Edit->Text(), c.shown) << c.typed;
    }
    EXPECT_EQ(owner.set.Count() + int(List().size()) + int(owner.level.size()), 0);
}

TEST_F(FormulaEditor, DeletesThePickedLineOnlyAndSaysHowToPickOne) {
    Add("A", "1H1L");
    Add("B", "1H1L1H");
    owner.set.Step(1, owner);
    fmFormuls->btDeleteFormulaClick(fmFormuls->btDeleteFormula);
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Для удаления \n выберите формулу в списке справа  >> "_a});
    EXPECT_EQ(owner.set.Count(), 2);
    fmFormuls->ListBox->SetItemIndex(0);
    fmFormuls->btDeleteFormulaClick(fmFormuls->btDeleteFormula);
    EXPECT_EQ(List(), Strings{"B - 1H1L1H"});
    EXPECT_EQ(Rows(fmFormuls->NameList()), Strings{"B=1H1L1H"});
    ASSERT_EQ(owner.set.Count(), 1);
    EXPECT_EQ(owner.set[0].Count, 3);
    EXPECT_EQ(owner.set[0].Step, 1);
}

TEST_F(FormulaEditor, TheViewButtonWidensToTheListWhereAShiftClickCopiesAFormula) {
    Add("A", "4H");
    Add("B", "10H5L");
    fmFormuls->Button3->Click();
    EXPECT_EQ(fmFormuls->Width(), 600);
    EXPECT_TRUE(fmFormuls->ListBox->Visible());
    EXPECT_EQ(fmFormuls->Button3->Caption(), "Просмотр  <<"_a);
    QWidget* view = fmFormuls->ListBox->List()->viewport();
    const TRect r = fmFormuls->ListBox->ItemRect(1);
    const QPoint at(r.Left + 5, r.Top + 3);
    fmFormuls->Edit->SetText("");
    ClickAt(view, at); // no Shift: only the signal
    EXPECT_EQ(fmFormuls->ComboBox->Text(), "B");
    EXPECT_EQ(fmFormuls->Edit->Text(), "");
    fmFormuls->ComboBox->SetText("");
    Send(view, QEvent::MouseButtonPress, Qt::LeftButton, at, Qt::ShiftModifier);
    Send(view, QEvent::MouseButtonRelease, Qt::LeftButton, at, Qt::ShiftModifier);
    EXPECT_EQ(fmFormuls->Edit->Text(), "10H5L");
    EXPECT_EQ(fmFormuls->ComboBox->Text(), "B");
    fmFormuls->Button3->Click();
    EXPECT_EQ(fmFormuls->Width(), 300);
    EXPECT_FALSE(fmFormuls->ListBox->Visible());
    EXPECT_EQ(fmFormuls->Button3->Caption(), "Просмотр  >>"_a);
}

TEST_F(FormulaEditor, OkAddsAndEndsExitEndsTheLettersAppendAndHelpOpensItsTopic) {
    fmFormuls->Hide();
    const int ok = RunModal(fmFormuls, {[&] {
        fmFormuls->ComboBox->SetText("X");
        fmFormuls->Edit->SetText("5");
        fmFormuls->SpeedButton1->Click();
        fmFormuls->Edit->SetText(fmFormuls->Edit->Text() + "1");
        fmFormuls->SpeedButton2->Click();
        fmFormuls->BitBtn1->Click();
    }});
    EXPECT_EQ(ok, mrOk);
    ASSERT_EQ(owner.set.Count(), 1);
    EXPECT_EQ(owner.set[0].Text, "5H1L");
    EXPECT_EQ(RunModal(fmFormuls, {[&] { fmFormuls->BitBtn2->Click(); }}), mrCancel);
    EXPECT_EQ(List().size() + fmFormuls->ComboBox->Items()->Count() + fmFormuls->Edit->Items()->Count(), 0u);
    port.Clear();
    fmFormuls->HelpAction->Execute();
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kHelp);
    EXPECT_EQ(port.Calls[0].text, "Формулы"_a);
}

} // namespace
} // namespace dbgui
