// The real scheme window inside the frame: the frame's commands reach it,
// its mode drives the mode buttons, the paste state passes both ways, a
// window closes only when saved, and "Проверить схему" translates the scheme
// and reaches the debugger.
#include "app/AppTest.h"

#include <cstring>
#include <filesystem>

#include "common/Printers.h"
#include "controls/gui/Placemnt.h"
#include "document/Project.h"
#include "editor/ChildWin.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"
#include "toolbars/TBExCtls.h"

namespace {

class FakeDebugger : public IFrameDebugger {
public:
    void OpenDebugData(const AnsiString& data, const AnsiString& emulator, bool force) override {
        calls.push_back("open " + data + " " + emulator + (force ? " force" : ""));
    }
    void RunSignatureAnalysis(const AnsiString& data, const AnsiString& signalList) override {
        calls.push_back("analyse " + data + " " + signalList);
    }
    void AddSignalsToDebug(TStrings* inputs, TStrings* outputs) override {
        calls.push_back("signals " + inputs->CommaText() + "/" + outputs->CommaText());
    }
    void AddSignalToDebug(const AnsiString& name, int kind) override { calls.push_back(name + IntToStr(kind)); }
    bool IsDebugWindowInactive() override { return !active; }
    std::vector<AnsiString> calls;
    bool active = false;
};

class SchemeInFrame : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        FrameWindowFactories().SchemeWindow = MakeSchemeWindow;
        StartFrame();
    }
    TMDIChild* Open(const AnsiString& file) {
        auto* w = dynamic_cast<TMDIChild*>(frame->CreateMDIChild(file));
        Application->ProcessMessages();
        return w;
    }
};

TEST_F(SchemeInFrame, TheFramesCommandsReachTheWindow) {
    WriteScheme(dir.File("a.tvs"), {"E1", "E2"});
    TMDIChild* w = Open(dir.File("a.tvs"));
    ASSERT_EQ(frame->ActiveMDIChild(), w);
    EXPECT_EQ(w->Caption(), dir.File("a.tvs"));
    EXPECT_TRUE(w->Scheme->FirstDevice()->Visible()) << "loaded objects are on the sheet";
    // Each mode presses its own button of the group and no other; a mode
    // without a button of its own leaves the pressed one as it is.
    EXPECT_TRUE(frame->ToolbarButtonEx1->Down()) << "select is pressed at start";
    const std::tuple<TAction*, TSchemeMode, TToolbarButtonEx*> modes[] = {
        {frame->DeviceAction, mdDevice, frame->ToolbarButtonEx3},
        {frame->PinAction, mdPin, frame->ToolbarButtonEx4},
        {frame->WireAction, mdWire, frame->ToolbarButtonEx5},
        {frame->ConnectAction, mdConnect, frame->ToolbarButtonEx19},
        {frame->SymbolAction, mdSymbol, frame->ToolbarButtonEx29},
        {nullptr, mdFSM, frame->ToolbarButtonEx29},
        {frame->WireAction, mdWire, frame->ToolbarButtonEx5},
        {nullptr, mdMove, frame->ToolbarButtonEx5},
        {frame->FSMAction, mdFSM, frame->ToolbarButtonEx5},
        {frame->MoveLinkAction, mdMove, frame->ToolbarButtonEx5},
        {frame->SelectAction, mdSelect, frame->ToolbarButtonEx1}};
    for (auto [action, mode, pressed] : modes) {
        if (action) {
            action->Execute();
            EXPECT_EQ(w->GetMode(), mode);
        } else {
            frame->UpdateModeButtons(mode);
        }
        for (TToolbarButtonEx* b : {frame->ToolbarButtonEx1, frame->ToolbarButtonEx3, frame->ToolbarButtonEx4,
                                    frame->ToolbarButtonEx5, frame->ToolbarButtonEx19, frame->ToolbarButtonEx29,
                                    frame->ToolbarButtonEx32})
            EXPECT_EQ(b->Down(), b == pressed) << mode << " " << b->Name().c_str();
    }
    // The zoom commands, and the frame's rule run at once: in, out, normal, max.
    const std::tuple<TAction*, int, const char*> zooms[] = {{frame->ZoomInAction, 150, "1111"},
                                                            {frame->ZoomMaxAction, 400, "0110"},
                                                            {frame->ZoomNormalAction, 100, "1101"}};
    for (auto [action, zoom, enabled] : zooms) {
        action->Execute();
        EXPECT_EQ(w->Scheme->Zoom(), zoom);
        std::string s;
        for (TAction* a : {frame->ZoomInAction, frame->ZoomOutAction, frame->ZoomNormalAction, frame->ZoomMaxAction})
            s += a->Enabled() ? '1' : '0';
        EXPECT_EQ(s, enabled) << zoom;
    }
    // Copy, paste, delete, undo, cut and flip; the paste state both ways.
    TElement* e1 = w->Scheme->FirstDevice();
    w->Scheme->AddToSelection(e1, true);
    w->SyncFrameEditActions();
    EXPECT_TRUE(frame->CopyAction->Enabled() && frame->DeleteAction->Enabled());
    EXPECT_FALSE(frame->PasteAction->Enabled());
    frame->CopyAction->Execute();
    EXPECT_TRUE(frame->PasteAvailable() && frame->PasteAction->Enabled());
    w->SyncFrameEditActions();
    EXPECT_TRUE(w->PasteAction->Enabled());
    frame->PasteAction->Execute();
    EXPECT_EQ(w->GetMode(), mdPaste);
    w->Scheme->AddToSelection(e1, true);
    frame->DeleteAction->Execute();
    EXPECT_TRUE(e1->Deleted());
    frame->UndoAction->Execute();
    EXPECT_FALSE(e1->Deleted());
    w->Scheme->AddToSelection(e1, true);
    frame->CutAction->Execute();
    EXPECT_TRUE(e1->Deleted());
    TDriver* pin = w->Scheme->CreateDriver();
    w->Scheme->AddToSelection(pin, true);
    Idle();
    ASSERT_TRUE(frame->FlipHorAction->Enabled());
    frame->FlipHorAction->Execute();
    EXPECT_TRUE(pin->Mirrored());
}

TEST_F(SchemeInFrame, TheCheckWithoutAProjectWithErrorsAndWithSuccess) {
    FakeDebugger debugger;
    FrameWindowFactories().Debugger = &debugger;
    WriteScheme(dir.File("pump.tvs"), {"E1"});
    TMDIChild* w = Open(dir.File("pump.tvs"));
    frame->DebuCheck->SetChecked(true);
    w->CheckSchemeAction->Update();
    EXPECT_TRUE(w->CheckSchemeAction->Enabled());
    w->CheckSchemeAction->Execute();
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Нет открытого проекта"_a}) << "as F8 warns";
    EXPECT_TRUE(debugger.calls.empty());
    // Opening a project closes the windows: the scheme is opened again.
    OpenProjectOf({"pump.tvs"});
    w = Open(dir.File("pump.tvs"));
    // An element without a type keyword: the translation counts an error.
    auto* untyped = new TElement(w->Scheme.get());
    w->Scheme->AddObject(untyped);
    untyped->AssignNumber(2);
    untyped->SetX(300);
    port.Clear();
    port.Answer(mrNo);
    w->CheckSchemeAction->Execute();
    EXPECT_EQ(port.Messages().back(), " Сначала надо исправить ошибки,\n а потом запускать проверку схемы."_a);
    EXPECT_TRUE(debugger.calls.empty());
    w->Scheme->AddToSelection(untyped, true);
    w->DeleteActionExecute(nullptr);
    port.Answer(mrNo);
    w->CheckSchemeAction->Execute();
    // The copy the run wrote is the file that must exist and the one loaded.
    const AnsiString data = dir.File("Debupumptvca.dat");
    EXPECT_EQ(debugger.calls, (std::vector<AnsiString>{"open " + data + " " + data + " force",
                                                       "analyse " + data + " " + data}));
    EXPECT_TRUE(FileExists(data));
    // The stored order of signals and Delete go through the same debugger.
    frame->FormS->SetStoredValue("SortDr", Variant(7));
    w->AddSignalsToDebugActionExecute(nullptr);
    EXPECT_EQ(debugger.calls.back(), AnsiString("signals /"));
    debugger.active = true;
    TElement* e = w->Scheme->FirstDevice();
    w->Scheme->AddToSelection(e, true);
    w->DeleteActionExecute(nullptr);
    EXPECT_FALSE(e->Deleted()) << "a Delete meant for the debugger's window";
    FrameWindowFactories().Debugger = nullptr;
    w->DeleteActionExecute(nullptr);
    EXPECT_TRUE(e->Deleted());
}

TEST_F(SchemeInFrame, AModifiedWindowClosesOnlyWhenSaved) {
    TMDIChild* w = Open(dir.File("new.tvs"));
    w->Scheme->CreateAndElement();
    std::weak_ptr<char> alive = w->Alive();
    // Yes, and the file cannot be written: a folder stands in its place.
    std::filesystem::create_directory(ToFsPath(dir.File("new.tvs")));
    port.Answer(mrYes);
    frame->FileClose1->Execute();
    Application->ProcessMessages();
    EXPECT_FALSE(alive.expired());
    std::filesystem::remove(ToFsPath(dir.File("new.tvs")));
    port.Answer(mrYes);
    frame->FileClose1->Execute();
    Application->ProcessMessages();
    EXPECT_TRUE(alive.expired());
    TScheme reread;
    reread.SetFileName(dir.File("new.tvs"));
    reread.LoadFromFile();
    EXPECT_EQ(reread.CountDevices(), 1);
}

TEST_F(SchemeInFrame, ClosingTheLastWindowGreysItsCommandsAsAtStartUp) {
    // Only the program's own idle pass sets the commands here, as the user
    // sees them: the test never asks the actions to update.
    const std::vector<TAction*> commands = {frame->FileSave1,      frame->PreviewAction,         frame->UndoAction,
                                           frame->WindowCascade1, frame->WindowTileHorizontal1, frame->WindowTileVertical1};
    auto enabled = [&] {
        std::string s;
        for (TAction* a : commands) s += a->Enabled() ? '1' : '0';
        return s;
    };
    WriteScheme(dir.File("a.tvs"), {"E1"});
    TMDIChild* w = Open(dir.File("a.tvs"));
    w->Scheme->AddToSelection(w->Scheme->FirstDevice(), true);
    // The Delete key, as the user removes an element: now there is a step to undo.
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : w->Widget(), Qt::Key_Delete);
    ASSERT_TRUE(w->Scheme->FirstDevice() == nullptr);
    EXPECT_TRUE(ProcessUntil([&] { return enabled() == "111111"; })) << enabled();
    std::weak_ptr<char> alive = w->Alive();
    port.Answer(mrNo);
    frame->FileClose1->Execute();
    EXPECT_TRUE(ProcessUntil([&] { return alive.expired(); }));
    EXPECT_TRUE(ProcessUntil([&] { return enabled() == "000000"; })) << enabled();
}

// A scheme printed on a page of 600 dpi is drawn at the page's scale, not at
// the sheet's size and then enlarged: the outlines of its letters step by
// single dots of the printer, where an enlarged picture would repeat every
// row of the sheet six times or so.
TEST_F(SchemeInFrame, APrintedSchemeIsDrawnAtThePrintersResolution) {
    WriteScheme(dir.File("a.tvs"), {"Насос"_a, "Клапан"_a});
    Open(dir.File("a.tvs"));
    auto own = std::make_unique<TestPrinterBackend>(600, TSize(4960, 7015));
    TestPrinterBackend* pages = own.get();
    struct Restore {
        std::unique_ptr<IPrinterBackend> previous;
        ~Restore() { Printer()->SetBackend(std::move(previous)); }
    } restore{Printer()->SetBackend(std::move(own))};
    port.OnPrintDialog = [](PrintDialogRequest&) { return true; };
    frame->PrintSchemActionExecute(frame->PrintSchemAction);
    ASSERT_EQ(pages->Documents.size(), 1u);
    const QImage& page = pages->Documents[0].pages.at(0);
    ASSERT_EQ(page.width(), 4960);
    // Rows that differ from the row above, right after another such row.
    int steps = 0;
    int inked = 0;
    bool changedBefore = false;
    for (int y = 1; y < page.height(); ++y) {
        const bool changed = std::memcmp(page.constScanLine(y), page.constScanLine(y - 1), std::size_t(page.bytesPerLine())) != 0;
        if (changed && changedBefore) ++steps;
        changedBefore = changed;
        const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) inked += qGray(row[x]) == 0;
    }
    EXPECT_GT(inked, 0);
    EXPECT_GT(steps, 50) << steps;
}

} // namespace
