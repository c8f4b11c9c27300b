// The frame's commands that show the element list, the print preview, the
// options and the CASE-forming window: enabled as they should be, reaching
// the window in front.
#include "app/AppTest.h"

#include "controls/gui/Placemnt.h"
#include "editor/Case.h"
#include "editor/ListElement.h"
#include "editor/Option.h"
#include "editor/Unit10.h"
#include "editor/qrprint.h"

namespace {

using FrameBinding = FrameTest;

TEST_F(FrameBinding, TheElementListAndThePreviewNeedAChildWindow) {
    Idle();
    EXPECT_FALSE(frame->ListElementAction->Enabled() || frame->PreviewAction->Enabled());
    WriteScheme(dir.File("s.tvs"), {"Пуск"_a, "Стоп"_a});
    OpenScheme(dir.File("s.tvs"));
    Idle();
    EXPECT_TRUE(frame->ListElementAction->Enabled() && frame->PreviewAction->Enabled());
    frame->ListElementAction->Execute();
    ListElementDlg->FormActivate(ListElementDlg);
    EXPECT_EQ(ListElementDlg->ListElementBox->Items()->CommaText(), "\"Пуск - 1\",\"Стоп - 2\""_a);
    // A state machine in front: the list closes when activated, the preview takes it.
    OpenFsm(dir.File("m.fsm"));
    ListElementDlg->FormActivate(ListElementDlg);
    EXPECT_FALSE(ListElementDlg->Visible());
    frame->PreviewAction->Execute();
    EXPECT_TRUE(Report1->Visible() && Report1->Previewing());
    EXPECT_EQ(ChildCalls().back(), "fsm:PrintScheme");
}

TEST_F(FrameBinding, TheOptionsWriteTheFramesStoredValuesAndRepaintTheSchemeInFront) {
    ModalScript script;
    script.On(OptionDlg, [] { OptionDlg->cbTextFile->SetChecked(true), OptionDlg->OKBtn->Click(); });
    frame->ConfigAction->Execute();
    EXPECT_TRUE(frame->FormS->GetStoredValue("DoTextLogicFile").AsBoolean());
    OpenScheme(dir.File("s.tvs"));
    OpenFsm(dir.File("m.fsm"));
    for (bool scheme : {false, true}) {
        if (scheme) frame->ActivateSchemeWindow("s.tvs"), Application->ProcessMessages();
        ChildCalls().clear();
        script.On(OptionDlg, [] { OptionDlg->CancelBtn->Click(); });
        frame->ConfigAction->Execute();
        EXPECT_EQ(ChildCalls(), scheme ? std::vector<std::string>{"scheme:Repaint"} : std::vector<std::string>{});
    }
}

TEST_F(FrameBinding, TheCaseEditorOpensTheCaseWindowWhichTranslatesThroughTheFrame) {
    TScheme holder;
    TCaseMaskElement* element = holder.CreateCaseMaskElement(2);
    element->SetName("M1");
    Form10->LoadEntity(element);
    Form10->Button5Click(Form10->Button5); // "Нарисовать логику"
    Application->ProcessMessages();
    auto* window = dynamic_cast<TfmCase*>(frame->ActiveMDIChild());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::pair(window->Scheme->GetFileName(), window->GetElement()), std::pair(AnsiString("M1.tvc"), static_cast<TObject*>(element)));
    EXPECT_EQ(frame->ActiveScheme(), static_cast<ISchemeChild*>(window)) << "the frame's commands reach it";
    // The element lies in no window: "Применить" writes nothing and asks nothing.
    window->ToolbarButtonEx2Click(window);
    EXPECT_TRUE(port.Messages().empty());
    std::vector<int32_t> outputs{7};
    EXPECT_FALSE(frame->ExportCase(window, &outputs));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Нет открытого проекта"_a});
    EXPECT_EQ(outputs, std::vector<int32_t>{7});
}

} // namespace
