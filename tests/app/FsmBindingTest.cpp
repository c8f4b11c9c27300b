// The real state-machine window in the frame: made by the frame's factory,
// saved and reopened through the frame's commands, reached by the frame's
// commands and shortcuts, asking about its document when the frame closes,
// printed by the frame.
#include "app/AppTest.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>

#include "controls/gui/ExCheckListBox.h"
#include "document/Scheme.h"
#include "editor/ModalScript.h"
#include "editor/SymbolDlg.h"
#include "editor/qrprint.h"
#include "model/FSM.h"
#include "fsm/gui/FSMChild.h"
#include "fsm/gui/FsmFrame.h"
#include "fsm/gui/PaintBoxMouse.h"
#include "platform/Canvas.h"
#include "platform/FileUtils.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

namespace {

class FsmBinding : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The frame registers the real window when nothing else is.
        FrameWindowFactories().FsmWindow = nullptr;
        StartFrame();
    }
    TFSMChild* Active() { return dynamic_cast<TFSMChild*>(frame->ActiveMDIChild()); }
    // A machine of two states and a transition, drawn with the mouse.
    void Draw(TFSMChild* w) {
        w->SetModeDeviceAction->Execute();
        paintmouse::Click(w->PaintBox1, 100, 100);
        paintmouse::Click(w->PaintBox1, 300, 100);
        w->EscAction->Execute();
        w->SetModeWireAction->Execute();
        paintmouse::Click(w->PaintBox1, 100, 100);
        paintmouse::Click(w->PaintBox1, 300, 100);
        w->SetModeSelectAction->Execute();
    }
    void Focus(TFSMChild* w) {
        w->BringToFront();
        w->SetFocus();
        Application->ProcessMessages();
    }
    static void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(key), mods);
        Application->ProcessMessages();
    }
};

TEST_F(FsmBinding, AMachineDrawnSavedAndReopenedThroughTheFrameIsTheSame) {
    ASSERT_TRUE(FrameWindowFactories().FsmWindow);
    EXPECT_EQ(FsmFrame() != nullptr, true);
    const AnsiString file = dir.File("lift.fsm");
    port.AnswerFile(file);
    frame->FileNew1Execute(frame->FileNew1);
    TFSMChild* w = Active();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), file);
    Draw(w);
    TFSMScheme* doc = w->FsmDocument();
    ASSERT_EQ(doc->States().size(), 2u);
    ASSERT_EQ(doc->Transitions().size(), 1u);
    EXPECT_EQ(doc->Transitions()[0]->GetSource(), doc->States()[0]);
    EXPECT_EQ(w->Caption(), file + "*");
    frame->FileSave1Execute(frame->FileSave1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(FileExists(file));
    const std::string saved = doc->SaveToBytes();
    port.Clear();
    frame->FileClose1Execute(frame->FileClose1);
    Application->ProcessMessages();
    EXPECT_TRUE(port.Calls.empty()) << "a saved window closes without a question";
    EXPECT_TRUE(Children().empty());

    port.AnswerFile(file);
    frame->FileOpen1Execute(frame->FileOpen1);
    TFSMChild* again = Active();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->FsmDocument()->SaveToBytes() == saved);
    // Two states came from the file: the next one is State2.
    again->InsertDeviceActionExecute(nullptr);
    EXPECT_EQ(again->FsmDocument()->States().back()->GetName(), "State2"_a);
}

TEST_F(FsmBinding, TheFramesCommandsReachTheWindow) {
    TFSMChild* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
    ASSERT_NE(w, nullptr);
    Application->ProcessMessages();
    Draw(w);
    TFSMScheme* doc = w->FsmDocument();
    struct Zoom {
        TAction* TMainForm::*action;
        int zoom;
    };
    const Zoom zooms[] = {{&TMainForm::ZoomInAction, 150}, {&TMainForm::ZoomOutAction, 100},
                          {&TMainForm::ZoomMaxAction, 400}, {&TMainForm::ZoomNormalAction, 100}};
    for (const Zoom& z : zooms) {
        Idle();
        EXPECT_TRUE((frame->*z.action)->Execute()) << z.zoom;
        EXPECT_EQ(doc->GetZoom(), z.zoom);
    }
    Idle();
    EXPECT_FALSE(frame->ZoomNormalAction->Enabled());
    EXPECT_TRUE(frame->ZoomMaxAction->Enabled());

    // Copy enables the frame's paste, for state-machine windows only.
    doc->ClearSelection();
    doc->AddToSelection(doc->States()[0], true);
    Idle();
    EXPECT_TRUE(frame->CopyAction->Enabled());
    EXPECT_TRUE(frame->FlipHorAction->Enabled());
    EXPECT_FALSE(frame->UndoAction->Enabled()) << "the window undoes with its own command";
    ASSERT_TRUE(frame->CopyAction->Execute());
    EXPECT_TRUE(frame->PasteAvailable());
    Idle();
    EXPECT_TRUE(frame->PasteAction->Enabled());
    w->UpdateEditActions();
    EXPECT_TRUE(w->PasteAction->Enabled());
    TTestSchemeChild* scheme = OpenScheme(dir.File("a.tvs"));
    ASSERT_EQ(frame->ActiveMDIChild(), scheme);
    Idle();
    EXPECT_FALSE(frame->PasteAction->Enabled()) << "a state-machine fragment does not paste into a scheme";
    w->BringToFront();
    Application->ProcessMessages();
    Idle();
    EXPECT_TRUE(frame->PasteAction->Enabled());

    ASSERT_TRUE(frame->DeleteAction->Execute());
    EXPECT_EQ(doc->States().size(), 1u);
    ASSERT_TRUE(frame->PasteAction->Execute());
    EXPECT_EQ(w->GetMode(), TFSMChild::mdPaste);
    // The frame's box switches the window's check command.
    w->CheckSchemeAction->Update();
    EXPECT_FALSE(w->CheckSchemeAction->Enabled());
    frame->DebuCheck->SetChecked(true);
    w->CheckSchemeAction->Update();
    EXPECT_TRUE(w->CheckSchemeAction->Enabled());
    EXPECT_EQ(ChildCalls(), std::vector<std::string>{}) << "nothing reached the scheme window";
}

TEST_F(FsmBinding, TheWindowsShortcutsComeBeforeTheFrames) {
    TFSMChild* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
    ASSERT_NE(w, nullptr);
    Draw(w);
    TFSMScheme* doc = w->FsmDocument();
    Focus(w);
    doc->ClearSelection();
    doc->AddToSelection(doc->States()[1], true);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(frame->PasteAvailable());
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc->States().size(), 1u);
    // The frame's undo is off here: Ctrl+Z is the window's.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc->States().size(), 2u);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w->GetMode(), TFSMChild::mdPaste);
    w->SetModeDeviceAction->Execute();
    Key(Qt::Key_Escape);
    EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdState));
    doc->AddToSelection(doc->States()[0], true);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(doc->States().size(), 1u);
    // With the keys on the frame, a press on the sheet brings them back.
    frame->DebuCheck->SetFocus();
    Application->ProcessMessages();
    ASSERT_NE(GetParentForm(Screen->ActiveControl()), w);
    w->SetModeDeviceAction->Execute();
    paintmouse::Click(w->PaintBox1, 500, 400);
    EXPECT_EQ(doc->States().size(), 2u);
    Key(Qt::Key_Escape);
    EXPECT_EQ(w->ModeWord(), int(TFSMChild::mdState));
    EXPECT_EQ(ChildCalls(), std::vector<std::string>{});
}

TEST_F(FsmBinding, AnUnsavedWindowKeepsTheProgramOpenUnlessItIsSavedOrDropped) {
    TFSMChild* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(AnsiString()));
    ASSERT_NE(w, nullptr);
    Draw(w);
    std::weak_ptr<char> alive = w->Alive();
    // Yes, then the name is cancelled: nothing closes.
    port.Answer(mrYes);
    port.AnswerFile(AnsiString());
    frame->Close();
    Application->ProcessMessages();
    ASSERT_FALSE(alive.expired());
    EXPECT_TRUE(frame->Showing());
    EXPECT_TRUE(w->FsmDocument()->IsModified());
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Схема не сохранена! Сохранить?"_a});
    // Yes and a name: the frame's save writes it, and the window goes.
    const AnsiString file = dir.File("new.fsm");
    port.Clear();
    port.Answer(mrYes);
    port.AnswerFile(dir.File("new"));
    ASSERT_TRUE(frame->CloseChildWindows());
    Application->ProcessMessages();
    EXPECT_TRUE(alive.expired());
    EXPECT_TRUE(FileExists(file));
}

TEST_F(FsmBinding, PrintingGivesAJobPerStateMachineWindowWithItsCopies) {
    TestPrinterBackend* pages = Pages();
    std::vector<TFSMChild*> windows;
    for (const char* name : {"a.fsm", "b.fsm"}) {
        auto* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File(name)));
        ASSERT_NE(w, nullptr);
        Draw(w);
        windows.push_back(w);
    }
    port.OnPrintDialog = [](PrintDialogRequest& r) {
        r.Copies = 2;
        return true;
    };
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 2u);
    // The window's zoom does not change the printout.
    const auto atNormalZoom = pages->Documents;
    pages->Documents.clear();
    for (TFSMChild* w : windows) w->ChangeZoom(400);
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& doc = pages->Documents[i];
        EXPECT_EQ(doc.title, "Печать схемы"_a);
        ASSERT_EQ(doc.pages.size(), 2u);
        EXPECT_TRUE(doc.pages[0] == doc.pages[1]);
        EXPECT_TRUE(doc.pages[0] == atNormalZoom[i].pages[0]) << "zoom 400 prints as zoom 100";
        int black = 0;
        const QImage& page = doc.pages[0];
        for (int y = 0; y < page.height(); y += 2)
            for (int x = 0; x < page.width(); x += 2) black += (page.pixel(x, y) & 0xFFFFFF) == 0;
        EXPECT_GT(black, 50);
    }
    // Element lists are a scheme's only.
    pages->Documents.clear();
    frame->PrintElementActionExecute(frame->PrintElementAction);
    EXPECT_TRUE(pages->Documents.empty());
}

// A machine open in a window is shown in that window whoever opens it again:
// the state-machine element's "open" choice, the menu, another spelling of
// its path. A second window on the file would let one window's save undo the
// other's edits.
TEST_F(FsmBinding, AMachineAlreadyOpenIsBroughtToTheFrontNotOpenedTwice) {
    OpenProjectOf({});
    auto* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
    ASSERT_NE(w, nullptr);
    Draw(w);
    auto* other = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("other.fsm")));
    Application->ProcessMessages();
    ASSERT_EQ(Active(), other);
    TScheme scheme;
    TFSM* element = scheme.CreateFSM();
    element->SetFileName("m.fsm");
    ModalScript script;
    script.On(Form3, [] {
        Form3->Check->SetItemIndex(1);
        Form3->Button1->Click();
    });
    EXPECT_FALSE(element->Properties());
    EXPECT_EQ(script.shown[Form3], 1);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(Active(), w);
    EXPECT_TRUE(w->FsmDocument()->IsModified());
    EXPECT_EQ(w->FsmDocument()->States().size(), 2u) << "the unsaved edits are still there";
    Focus(other);
    ASSERT_EQ(Active(), other);
    port.AnswerFile(dir.File("sub/../m.fsm"));
    frame->FileOpen1Execute(frame->FileOpen1);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(Active(), w);
    // A file not open yet still gets a window of its own.
    port.AnswerFile(dir.File("third.fsm"));
    frame->FileOpen1Execute(frame->FileOpen1);
    EXPECT_EQ(Children().size(), 3u);
}

// Opened beside the project's pane, the window lies inside the room the
// frame has left for its windows: no edge of it is cut off.
TEST_F(FsmBinding, TheWindowOpensInsideTheFramesClientArea) {
    frame->SetWindowState(wsNormal);
    frame->SetBounds(0, 0, 720, 540);
    OpenProjectOf({});
    ASSERT_TRUE(frame->ManagerWindow->Visible());
    Application->ProcessMessages();
    const QSize room = frame->MDIArea()->viewport()->size();
    ASSERT_LT(room.width(), 640) << "narrower than the window would be";
    TForm* w = frame->OpenFSMWindow(dir.File("m.fsm"));
    ASSERT_NE(w, nullptr);
    Application->ProcessMessages();
    EXPECT_GE(w->Left(), 0);
    EXPECT_GE(w->Top(), 0);
    EXPECT_LE(w->Left() + w->Width(), room.width());
    EXPECT_LE(w->Top() + w->Height(), room.height());
}

// An edit of the machine previewed shows at the preview's next repaint, even
// when the extent stays as it was.
TEST_F(FsmBinding, ThePreviewShowsAnEditOfTheMachineAtItsNextRepaint) {
    auto* w = dynamic_cast<TFSMChild*>(frame->OpenFSMWindow(dir.File("m.fsm")));
    ASSERT_NE(w, nullptr);
    Draw(w);
    Focus(w);
    frame->PreviewActionExecute(frame->PreviewAction);
    ASSERT_TRUE(Report1->Previewing());
    const QImage drawn = Report1->PaintBox1->Canvas()->Image()->copy();
    // The transition between the two states goes; the states stay.
    paintmouse::Click(w->PaintBox1, 200, 100);
    ASSERT_EQ(w->FsmDocument()->Selection().size(), 1u);
    w->DeleteAction->Execute();
    ASSERT_EQ(w->FsmDocument()->Transitions().size(), 0u);
    Report1->PaintBox1->Repaint();
    const QImage afterEdit = Report1->PaintBox1->Canvas()->Image()->copy();
    EXPECT_NE(afterEdit, drawn);
    Report1->PreviewFSM(w);
    EXPECT_EQ(afterEdit, *Report1->PaintBox1->Canvas()->Image()) << "what a fresh preview shows";
    Report1->Close();
}

} // namespace
