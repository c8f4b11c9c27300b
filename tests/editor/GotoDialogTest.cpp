// The jump dialog: the project's schemes and elements from the frame, those
// after the jump in its own scheme, targets gone, what "Применить" stores.
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

using GotoDialog = PropertyDialogTest;

TEST_F(GotoDialog, TargetsOfferedStoredAndGone) {
    ProjectFrame project;
    Doc()->SetFileName(dir.File("a.tvs"));
    TGotoElement* jump = Place(Doc()->CreateGotoElement());
    jump->SetName("J");
    jump->TargetScheme = "a.tvs";
    jump->GotoElement = true;
    jump->TargetElement = "E1";
    auto offered = [](TComboBox* box) { return box->Items()->CommaText(); };
    auto pick = [](int scheme) { Form12->cbSch->SetItemIndex(scheme), Form12->cbSchChange(nullptr); };
    // "+" when the jump goes to an element, then the scheme and element.
    auto target = [&] { return AnsiString(jump->GotoElement ? "+" : "-") + jump->TargetScheme + "/" + jump->TargetElement; };
    // All elements first; its own scheme chosen again: only those after the
    // jump; another scheme with an element of that name: nothing cut.
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        EXPECT_EQ(Form12->PageControl1->ActivePage(), Form12->TabSheet2);
        EXPECT_EQ(offered(Form12->cbSch), AnsiString("a.tvs,b.tvs"));
        EXPECT_EQ(Form12->cbSch->Text() + "/" + Form12->cbElem->Text(), AnsiString("a.tvs/E1"));
        EXPECT_EQ(offered(Form12->cbElem), AnsiString("E1,J,E2,E3"));
        EXPECT_TRUE(Form12->ckbElem->Checked() && Form12->cbElem->Enabled());
        EXPECT_EQ(Form12->cbIn->Caption(), AnsiString("In"));
        pick(0);
        EXPECT_EQ(offered(Form12->cbElem), AnsiString("E2,E3"));
        EXPECT_FALSE(Form12->ckbElem->Checked() || Form12->cbElem->Enabled());
        pick(1);
        EXPECT_EQ(offered(Form12->cbElem), AnsiString("J,X"));
        Form12->ckbElem->SetChecked(true);
        EXPECT_TRUE(Form12->cbElem->Enabled());
        Form12->cbElem->SetItemIndex(1);
        Form12->cbIn->SetChecked(true);
        Form12->Edit2->SetText("J2");
    }));
    EXPECT_EQ(target() + " " + jump->Name(), AnsiString("+b.tvs/X J2"));
    EXPECT_TRUE(jump->Pin(0)->Inverse());
    EXPECT_TRUE(SheetIsClean());
    // The stored target found again among the elements after the jump.
    jump->SetName("J");
    jump->TargetScheme = "a.tvs";
    jump->TargetElement = "E3";
    Edit(jump, Form12, [&] {
        pick(1), pick(0);
        EXPECT_TRUE(Form12->ckbElem->Checked());
        EXPECT_EQ(Form12->cbElem->Text(), AnsiString("E3"));
    });
    // Targets that are gone are said and kept.
    jump->TargetScheme = "gone.tvs";
    jump->TargetElement = "E1";
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        EXPECT_EQ(Form12->cbSch->ItemIndex(), -1);
        EXPECT_EQ(offered(Form12->cbElem), AnsiString());
    }));
    EXPECT_EQ(Said(), (Texts{"Нет такой схемы в проекте gone.tvs"_a, "Нет такого элемента в схеме E1"_a}));
    EXPECT_EQ(target(), AnsiString("+gone.tvs/E1"));
    jump->TargetScheme = "b.tvs";
    EXPECT_TRUE(Apply(jump, Form12));
    EXPECT_EQ(Said(), Texts{"Нет такого элемента в схеме E1"_a});
    EXPECT_EQ(target(), AnsiString("+b.tvs/E1"));
    // Unticking "На элемент" clears the element.
    EXPECT_TRUE(Apply(jump, Form12, [&] {
        Form12->ckbElem->SetChecked(false);
        EXPECT_FALSE(Form12->cbElem->Enabled());
    }));
    EXPECT_EQ(target(), AnsiString("-b.tvs/"));
    // Without a project nothing is listed and nothing is lost.
    project.schemes.clear();
    jump->GotoElement = true;
    jump->TargetElement = "X";
    EXPECT_TRUE(Apply(jump, Form12, [&] { EXPECT_EQ(offered(Form12->cbSch), AnsiString()); }));
    EXPECT_EQ(target(), AnsiString("+b.tvs/X"));
    // A damaged record without the input pin: the box has nothing to invert.
    TScheme loose;
    auto* bare = new TGotoElement(&loose);
    loose.AddObject(bare);
    bare->DeletePin(0);
    EXPECT_TRUE(Apply(bare, Form12, [&] { EXPECT_FALSE(Form12->cbIn->Enabled()); Form12->cbIn->SetChecked(true); }));
    EXPECT_EQ(bare->PinCount(), 0);
}

} // namespace
