// The jump dialog: the project's schemes and their elements from the frame,
// the elements after the jump in its own scheme, targets that are gone, and
// what "Применить" stores.
#include "editor/PropertyDialogTest.h"

#include <map>

#include "editor/EditorFakes.h"

namespace {

// A project of two schemes as the frame lists it.
class ProjectFrame : public FakeFrameServices {
public:
    bool ListProjectFiles(const AnsiString&, TStrings* list) override {
        for (const auto& [name, devices] : schemes) list->Add(name);
        return true;
    }
    bool ListSchemeElements(const AnsiString& scheme, TStrings* list) override {
        if (schemes.count(scheme)) list->SetCommaText(schemes[scheme]);
        return true;
    }
    std::map<AnsiString, AnsiString> schemes = {{"a.tvs", "E1,J,E2,E3"}, {"b.tvs", "J,X"}};
};

class GotoDialog : public PropertyDialogTest {
protected:
    void SetUp() override {
        PropertyDialogTest::SetUp();
        Doc()->SetFileName(dir.File("a.tvs"));
        jump = Place(Doc()->CreateGotoElement());
        jump->SetName("J");
        jump->TargetScheme = "a.tvs";
        jump->GotoElement = true;
        jump->TargetElement = "E1";
    }
    static AnsiString Offered(TComboBox* box) { return box->Items()->CommaText(); }
    // Chooses a scheme of the list as the user does.
    void Pick(int scheme) {
        Form12->cbSch->SetItemIndex(scheme);
        Form12->cbSchChange(nullptr);
    }
    ProjectFrame project;
    TGotoElement* jump = nullptr;
};

TEST_F(GotoDialog, AllElementsFirstLaterOnesAfterChoosingItsOwnScheme) {
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        EXPECT_EQ(Form12->PageControl1->ActivePage(), Form12->TabSheet2);
        EXPECT_EQ(Offered(Form12->cbSch), AnsiString("a.tvs,b.tvs"));
        EXPECT_EQ(Form12->cbSch->Text(), AnsiString("a.tvs"));
        EXPECT_EQ(Offered(Form12->cbElem), AnsiString("E1,J,E2,E3"));
        EXPECT_EQ(Form12->cbElem->Text(), AnsiString("E1"));
        EXPECT_TRUE(Form12->ckbElem->Checked() && Form12->cbElem->Enabled());
        EXPECT_EQ(Form12->cbIn->Caption(), AnsiString("In"));
        // Chosen again: only what comes after the jump; the old target is not
        // among them.
        Pick(0);
        EXPECT_EQ(Offered(Form12->cbElem), AnsiString("E2,E3"));
        EXPECT_FALSE(Form12->ckbElem->Checked() || Form12->cbElem->Enabled());
        // Another scheme with an element of the same name: nothing is cut.
        Pick(1);
        EXPECT_EQ(Offered(Form12->cbElem), AnsiString("J,X"));
        Form12->ckbElem->SetChecked(true);
        EXPECT_TRUE(Form12->cbElem->Enabled());
        Form12->cbElem->SetItemIndex(1);
        Form12->cbIn->SetChecked(true);
        Form12->Edit2->SetText("J2");
    }));
    EXPECT_EQ(jump->TargetScheme + "/" + jump->TargetElement, AnsiString("b.tvs/X"));
    EXPECT_TRUE(jump->GotoElement && jump->Pin(0)->Inverse());
    EXPECT_EQ(jump->Name(), AnsiString("J2"));
    EXPECT_TRUE(SheetIsClean());
    // The stored target found again: ticked and chosen.
    jump->SetName("J");
    jump->TargetScheme = "a.tvs";
    jump->TargetElement = "E3";
    Edit(jump, Form12, [&] {
        Pick(1);
        Pick(0);
        EXPECT_TRUE(Form12->ckbElem->Checked());
        EXPECT_EQ(Form12->cbElem->Text(), AnsiString("E3"));
    });
}

TEST_F(GotoDialog, TargetsThatAreGoneAndJumpsWithoutAnInput) {
    jump->TargetScheme = "gone.tvs";
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        EXPECT_EQ(Form12->cbSch->ItemIndex(), -1);
        EXPECT_EQ(Offered(Form12->cbElem), AnsiString());
    }));
    EXPECT_EQ(Said(), (Texts{"Нет такой схемы в проекте gone.tvs"_a, "Нет такого элемента в схеме E1"_a}));
    EXPECT_EQ(jump->TargetScheme + "/" + jump->TargetElement, AnsiString("gone.tvs/E1"));
    jump->TargetScheme = "b.tvs";
    EXPECT_TRUE(Apply(jump, Form12));
    EXPECT_EQ(Said(), Texts{"Нет такого элемента в схеме E1"_a});
    EXPECT_EQ(jump->TargetScheme + "/" + jump->TargetElement, AnsiString("b.tvs/E1"));
    // Unticking "На элемент" clears the element.
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        Form12->ckbElem->SetChecked(false);
        EXPECT_FALSE(Form12->cbElem->Enabled());
    }));
    Said();
    EXPECT_FALSE(jump->GotoElement);
    EXPECT_EQ(jump->TargetScheme + "/" + jump->TargetElement, AnsiString("b.tvs/"));
    // Without a project nothing is listed and nothing is lost.
    project.schemes.clear();
    jump->GotoElement = true;
    jump->TargetElement = "X";
    EXPECT_TRUE(Apply(jump, Form12, [&] { EXPECT_EQ(Offered(Form12->cbSch), AnsiString()); }));
    EXPECT_EQ(jump->TargetScheme + "/" + jump->TargetElement, AnsiString("b.tvs/X"));
    // A damaged record without the input pin: the box has nothing to invert.
    TScheme loose;
    auto* bare = new TGotoElement(&loose);
    loose.AddObject(bare);
    bare->DeletePin(0);
    EXPECT_TRUE(Apply(bare, Form12, [&] { EXPECT_FALSE(Form12->cbIn->Enabled()); Form12->cbIn->SetChecked(true); }));
    EXPECT_EQ(bare->PinCount(), 0);
}

} // namespace
