// The frame's commands that show the element list and the print preview:
// enabled with a child window, reaching the window in front.
#include "app/AppTest.h"

#include "controls/gui/Placemnt.h"
#include "editor/Case.h"
#include "editor/ListElement.h"
#include "editor/Unit10.h"
#include "editor/Option.h"
#include "editor/qrprint.h"

namespace {

class FrameBinding : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartFrame();
    }
};

TEST_F(FrameBinding, TheElementListAndThePreviewNeedAChildWindow) {
    Idle();
    EXPECT_FALSE(frame->ListElementAction->Enabled());
    EXPECT_FALSE(frame->PreviewAction->Enabled());
    WriteScheme(dir.File("s.tvs"), {"Пуск"_a, "Стоп"_a});
    OpenScheme(dir.File("s.tvs"));
    Idle();
    EXPECT_TRUE(frame->ListElementAction->Enabled());
    EXPECT_TRUE(frame->PreviewAction->Enabled());
    frame->ListElementAction->Execute();
    Application->ProcessMessages();
    ASSERT_TRUE(ListElementDlg->Visible());
    ListElementDlg->FormActivate(ListElementDlg);
    EXPECT_EQ(ListElementDlg->ListElementBox->Items()->CommaText(), "\"Пуск - 1\",\"Стоп - 2\""_a);
    EXPECT_EQ(ListElementDlg->Caption(), "Список элементов в схеме   s.tvs"_a);
    ListElementDlg->OKBtn->Click();
    EXPECT_FALSE(ListElementDlg->Visible());
    // A state-machine window in front: the list closes when it is activated.
    OpenFsm(dir.File("m.fsm"));
    ListElementDlg->Show();
    ListElementDlg->FormActivate(ListElementDlg);
    EXPECT_FALSE(ListElementDlg->Visible());
    // The preview takes the window in front, of either kind.
    frame->PreviewAction->Execute();
    EXPECT_TRUE(Report1->Visible());
    EXPECT_TRUE(Report1->Previewing());
    EXPECT_EQ(ChildCalls().back(), "fsm:PrintScheme");
    Report1->Button1->Click();
    EXPECT_FALSE(Report1->Visible());
}

TEST_F(FrameBinding, TheOptionsWriteTheFramesStoredValuesAndRepaintTheSchemeInFront) {
    Idle();
    EXPECT_TRUE(frame->ConfigAction->Enabled());
    ModalScript script;
    script.On(OptionDlg, [] {
        OptionDlg->cbTextFile->SetChecked(true);
        OptionDlg->OKBtn->Click();
    });
    frame->ConfigAction->Execute();
    EXPECT_TRUE(frame->FormS->GetStoredValue("DoTextLogicFile").AsBoolean());
    EXPECT_TRUE(ChildCalls().empty()) << "no scheme to repaint";
    OpenScheme(dir.File("s.tvs"));
    OpenFsm(dir.File("m.fsm"));
    script.On(OptionDlg, [] { OptionDlg->CancelBtn->Click(); });
    frame->ConfigAction->Execute();
    EXPECT_TRUE(ChildCalls().empty()) << "a state machine in front is not repainted";
    frame->ActivateSchemeWindow("s.tvs");
    Application->ProcessMessages();
    script.On(OptionDlg, [] { OptionDlg->CancelBtn->Click(); });
    frame->ConfigAction->Execute();
    EXPECT_EQ(ChildCalls(), std::vector<std::string>{"scheme:Repaint"});
}

TEST_F(FrameBinding, TheCaseWindowIsASchemeWindowOfTheFrameThatTranslatesThroughIt) {
    TScheme holder;
    TCaseMaskElement* element = holder.CreateCaseMaskElement(2);
    element->SetName("M1");
    // "Нарисовать логику" of the CASE table editor opens it.
    Form10->LoadEntity(element);
    Form10->Button5Click(Form10->Button5);
    Application->ProcessMessages();
    auto* window = dynamic_cast<TfmCase*>(frame->ActiveMDIChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Scheme->GetFileName(), AnsiString("M1.tvc"));
    EXPECT_EQ(window->GetElement(), element);
    EXPECT_EQ(frame->ActiveScheme(), static_cast<ISchemeChild*>(window)) << "the frame's commands reach it";
    // "Применить" with the element in no window writes nothing and asks nothing.
    window->ToolbarButtonEx2Click(window);
    EXPECT_TRUE(port.Messages().empty());
    // The frame's CASE translation refuses without a project.
    std::vector<int32_t> outputs{7};
    EXPECT_FALSE(frame->ExportCase(window, &outputs));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Нет открытого проекта"_a});
    EXPECT_EQ(outputs, std::vector<int32_t>{7});
}

} // namespace
