// The routing of editing commands to the active child and the enabling
// rules, with no child, a scheme window and a state-machine window.
#include "app/AppTest.h"

#include "document/FileHeader.h"
#include "document/Project.h"
#include "platform/Bytes.h"
#include "platform/FileIO.h"
#include "toolbars/TBExCtls.h"

namespace {

class Routing : public FrameTest {
protected:
    // The enabled state of the named actions, as a string of 0 and 1.
    std::string States(const std::vector<TAction*>& actions) {
        Idle();
        std::string s;
        for (TAction* a : actions) s += a->Enabled() ? '1' : '0';
        return s;
    }
    void WriteClipboard(ClipWriter writer) {
        ByteWriter w;
        FileHeader header;
        header.Name = "clipboard";
        header.Write(w);
        FileSignature sig;
        sig.Writer = writer;
        sig.Write(w);
        ASSERT_TRUE(WriteFileAtomic("clip.brd", w.Data()));
    }
};

TEST_F(Routing, EnablingMatrixOfTheChildCommands) {
    const std::vector<TAction*> actions = {
        frame->FileClose1,      frame->FileSave1,        frame->FileSaveAs1,   frame->PrintSchemAction,
        frame->PrintElementAction, frame->CutAction,     frame->CopyAction,    frame->DeleteAction,
        frame->PasteAction,     frame->FlipHorAction,    frame->ZoomInAction,  frame->ZoomOutAction,
        frame->ZoomNormalAction, frame->ZoomMaxAction,   frame->SelectAction,  frame->RedrawAction,
        frame->FileNew1,        frame->FileOpen1,        frame->TypeAction,    frame->ExportAction,
        frame->UndoAction};
    // No child: everything that needs one is disabled.
    EXPECT_EQ(States(actions), "000000000000001111100");

    TTestSchemeChild* scheme = OpenScheme(dir.File("a.tvs"));
    ASSERT_NE(scheme, nullptr);
    ASSERT_EQ(frame->ActiveMDIChild(), scheme);
    // Zoom 100: Normal disabled; no copy yet: no paste; nothing to undo.
    EXPECT_EQ(States(actions), "111111110111011111100");
    scheme->editEnabled = false;
    EXPECT_EQ(States(actions), "111110000011011111100");
    scheme->SchemeDocument()->SetScale(400);
    EXPECT_EQ(States(actions).substr(10, 4), "0110");
    scheme->SchemeDocument()->SetScale(25);
    EXPECT_EQ(States(actions).substr(10, 4), "1011");

    TTestFsmChild* fsm = OpenFsm(dir.File("m.fsm"));
    ASSERT_EQ(frame->ActiveMDIChild(), fsm);
    // The state-machine window: cut, copy, delete, flip and zoom follow it;
    // it undoes with its own command.
    EXPECT_EQ(States(actions), "111111110111011111100");
    fsm->editEnabled = false;
    EXPECT_EQ(States(actions), "111110000011011111100");
    fsm->FsmDocument()->SetZoom(400);
    EXPECT_EQ(States(actions).substr(10, 4), "0110");
}

TEST_F(Routing, BothCommandsReachEitherEditorSchemeCommandsOnlyTheSchemeWindow) {
    const std::vector<std::pair<TAction*, const char*>> commands = {
        {frame->CutAction, "Cut"},           {frame->CopyAction, "Copy"},
        {frame->PasteAction, "Paste"},       {frame->DeleteAction, "Delete"},
        {frame->ZoomInAction, "ZoomIn"},     {frame->ZoomOutAction, "ZoomOut"},
        {frame->ZoomNormalAction, "ZoomNormal"}, {frame->ZoomMaxAction, "ZoomMax"},
        {frame->RedrawAction, "Repaint"},    {frame->SelectAction, "Select"},
        {frame->DeviceAction, "Device"},     {frame->PinAction, "Pin"},
        {frame->WireAction, "Wire"},         {frame->ConnectAction, "Connect"},
        {frame->MoveLinkAction, "Mode2"},    {frame->SymbolAction, "Symbol"},
        {frame->FSMAction, "FSM"},           {frame->FlipHorAction, "FlipHor"},
        {frame->UndoAction, "Undo"}};
    // No child: nothing happens.
    for (auto& [action, name] : commands) action->OnExecute(action);
    EXPECT_TRUE(ChildCalls().empty());

    OpenScheme(dir.File("a.tvs"));
    std::vector<std::string> expected;
    for (auto& [action, name] : commands) {
        action->OnExecute(action);
        expected.push_back(std::string("scheme:") + name);
    }
    EXPECT_EQ(ChildCalls(), expected);

    ChildCalls().clear();
    OpenFsm(dir.File("m.fsm"));
    for (auto& [action, name] : commands) action->OnExecute(action);
    EXPECT_EQ(ChildCalls(), (std::vector<std::string>{"fsm:Cut", "fsm:Copy", "fsm:Paste", "fsm:Delete", "fsm:ZoomIn",
                                                     "fsm:ZoomOut", "fsm:ZoomNormal", "fsm:ZoomMax", "fsm:Repaint"}));
}

TEST_F(Routing, PasteOnlyIntoTheEditorThatWroteTheClipboard) {
    TTestSchemeChild* scheme = OpenScheme(dir.File("a.tvs"));
    WriteClipboard(ClipWriter::Scheme);
    // A clipboard file from an earlier run does not count before a copy.
    EXPECT_EQ(States({frame->PasteAction}), "0");
    frame->SetPasteAvailable(true);
    EXPECT_TRUE(frame->PasteAction->Enabled()) << "the rule runs at once, before the idle update";
    EXPECT_TRUE(frame->PasteAvailable());
    TTestFsmChild* fsm = OpenFsm(dir.File("m.fsm"));
    EXPECT_EQ(States({frame->PasteAction}), "0");
    WriteClipboard(ClipWriter::StateMachine);
    EXPECT_EQ(States({frame->PasteAction}), "1");
    scheme->BringToFront();
    Application->ProcessMessages();
    EXPECT_EQ(States({frame->PasteAction}), "0");
    // A damaged clipboard file pastes nowhere.
    testenv::WriteBytes("clip.brd", "short");
    EXPECT_EQ(States({frame->PasteAction}), "0");
    fsm->BringToFront();
    Application->ProcessMessages();
    EXPECT_EQ(States({frame->PasteAction}), "0");
}

TEST_F(Routing, ProjectCommandsFollowTheOpenProject) {
    const std::vector<TAction*> actions = {frame->CloseProjectAction, frame->SaveProjectAction,
                                           frame->InsertFileAction,   frame->DeleteFileAction,
                                           frame->OptionProjectAction, frame->ExportAction,
                                           frame->ExportSchemeAction, frame->ShowErrorAction,
                                           frame->ActivateFileProjectAction, frame->MoveFileUp,
                                           frame->MoveFileDown};
    EXPECT_EQ(States(actions), "00000000000");
    OpenProjectOf({"a.tvs", "b.tvs", "c.tvs"});
    EXPECT_EQ(States(actions), "11111111000");
    frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(0));
    EXPECT_EQ(States(actions), "11111111101");
    frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(1));
    EXPECT_EQ(States(actions), "11111111111");
    frame->FileListBox->SetSelected(frame->FileListBox->Items()->Item(2));
    EXPECT_EQ(States(actions), "11111111110");
}

} // namespace
