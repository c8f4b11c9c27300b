// The scheme window's commands: enabling and the frame's mirrored actions, delete, cut, numbering, closing, autosave,
// the check, signals for the debugger, centring, keys and the pin test.
#include "editor/SchemeWindowTest.h"

#include <filesystem>

#include "editor/ModalScript.h"
#include "platform/FileUtils.h"

namespace {

class Commands : public SchemeWindowTest {
protected:
    std::string Enabled(std::initializer_list<TAction*> actions) {
        std::string s;
        for (TAction* a : actions) a->Update(), s += a->Enabled() ? '1' : '0';
        return s;
    }
    void ClickOn(TEntity* o) { Click(o->GetX() + 10, o->GetY() + 10); }
};

TEST_F(Commands, EnablingRulesAndTheFramesMirroredActions) {
    TMDIChild* w = window;
    auto all = {w->CutAction,          w->CopyAction,   w->DeleteAction,      w->DeleteSelectedAction,
                w->EditPropertyAction, w->FlipHorAction, w->CheckSchemeAction, w->AddSignalsToDebugAction};
    EXPECT_EQ(Enabled(all), "00000000");
    w->SyncFrameEditActions();
    EXPECT_EQ(fake.mirrored, "000");
    EXPECT_FALSE(w->FlipHorAction->Visible() || w->N4->Visible() || w->AddSignalsToDebugAction->Visible());
    Doc()->AddToSelection(Doc()->CreateWire(10, 10, 50, 10), true);
    EXPECT_EQ(Enabled(all), "11110000") << "a wire has no properties";
    EXPECT_TRUE(w->FlipHorAction->Visible() && w->N4->Visible());
    TElement* e = Device(100, 100);
    Doc()->AddToSelection(e, true);
    EXPECT_EQ(Enabled(all), "11111000");
    Doc()->AddToSelection(Pin("X1", 300, 300), true);
    EXPECT_EQ(Enabled(all), "11111100") << "flipping needs a driver pin";
    w->SyncFrameEditActions();
    EXPECT_EQ(std::pair(fake.mirrored, w->PasteAction->Enabled()), std::pair(std::string("111"), false));
    fake.pasteEnabled = true, w->SyncFrameEditActions();
    EXPECT_TRUE(w->PasteAction->Enabled()) << "the window's paste follows the frame's";
    // The check and the signals for the debugger act only with a debugger.
    fake.debuCheck = true;
    EXPECT_EQ(Enabled({w->CheckSchemeAction, w->AddSignalsToDebugAction}), "00");
    fake.debugger = true;
    EXPECT_EQ(Enabled({w->CheckSchemeAction, w->AddSignalsToDebugAction}), "11");
    EXPECT_TRUE(w->AddSignalsToDebugAction->Visible());
    w->CheckSchemeActionExecute(nullptr);
    EXPECT_EQ(fake.checked, std::vector<TScheme*>{Doc()});
    // A click mirrors the new selection at once.
    Click(700, 500);
    const std::string cleared = fake.mirrored;
    ClickOn(e);
    EXPECT_EQ(std::pair(cleared, fake.mirrored), std::pair(std::string("000"), std::string("111")));
}

TEST_F(Commands, DeleteCutAndTheClipboard) {
    // Delete is blocked only by the debugger's window being active.
    const bool cases[][3] = {{false, false, true}, {false, true, true}, {true, false, true}, {true, true, false}};
    for (auto [debugger, active, deleted] : cases) {
        TElement* e = Device(100, 100);
        Doc()->ClearSelection(), Doc()->AddToSelection(e, true);
        fake.debugger = debugger, fake.debugActive = active, window->DeleteActionExecute(nullptr);
        EXPECT_EQ(e->Deleted(), deleted) << debugger << active;
    }
    // Cut deletes only what reached the clipboard, and only then offers paste.
    TElement* e = Doc()->FirstDevice();
    Doc()->AddToSelection(e, true);
    std::filesystem::create_directory("clip.brd"), window->CutActionExecute(nullptr); // the file cannot be written
    EXPECT_EQ(std::tuple(e->Deleted(), fake.pasteAvailable.size()), std::tuple(false, 0u));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>{"Не могу создать файл!\nclip.brd"_a});
    std::filesystem::remove("clip.brd"), window->CutActionExecute(nullptr);
    EXPECT_EQ(std::pair(e->Deleted(), fake.pasteAvailable), std::pair(true, std::vector<bool>{true}));
    EXPECT_TRUE(SheetIsClean());
    window->UndoExecute(nullptr);
    EXPECT_FALSE(e->Deleted());
    EXPECT_TRUE(SheetIsClean());
    std::filesystem::remove("clip.brd");
}

TEST_F(Commands, NumberingEndsInTheAutomaticNamesPrompt) {
    TElement *a = Device(100, 100), *b = Device(200, 100), *c = Device(300, 100);
    Pin("X1", 400, 400), window->OrderActionExecute(nullptr);
    EXPECT_EQ(std::tuple(Panel(1), Doc()->IsModified(), a->CustomColor()), std::tuple("Элемент № 1"_a, true, InitModule->DashColor))
        << "every device waits for its number";
    ClickOn(b);
    EXPECT_EQ(std::pair(b->Number(), b->CustomColor()), std::pair(1, TColor(clNone)));
    Click(600, 500); // nothing there
    EXPECT_EQ(Panel(1), "Элемент № 2"_a);
    ClickOn(c);
    EXPECT_TRUE(SheetIsClean());
    ModalScript script;
    AnsiString offered = "?";
    script.On(fmAutoNames, [&] {
        offered = fmAutoNames->Edit1->Text(), fmAutoNames->Edit1->SetText("K"), fmAutoNames->ModalResult = mrOk;
    });
    ClickOn(a);
    EXPECT_EQ(offered, AnsiString()) << "the prompt opens empty";
    EXPECT_EQ(b->Name() + c->Name() + a->Name(), AnsiString("K1K2K3"));
    EXPECT_EQ(std::pair(window->GetMode(), window->ScrollBox1->Cursor()), std::pair(mdSelect, TCursor(crDefault)));
    EXPECT_TRUE(SheetIsClean());
    // Cancelled, the names stay.
    window->OrderActionExecute(nullptr), script.On(fmAutoNames, [&] { fmAutoNames->ModalResult = mrCancel; });
    for (TElement* d : {a, b, c}) ClickOn(d);
    EXPECT_EQ(std::pair(a->Number(), a->Name()), std::pair(1, AnsiString("K3")));
}

TEST_F(Commands, TheCloseQuestion) {
    // Modified, the answer, whether the save succeeds, whether the window closes: Yes with a save that fails keeps
    // the window, as Cancel does.
    const std::tuple<bool, int, bool, bool> cases[] = {{true, mrYes, true, true},     {true, mrYes, false, false},
                                                       {true, mrCancel, true, false}, {true, mrNo, true, true},
                                                       {false, 0, true, true}};
    for (auto [modified, answer, saves, closes] : cases) {
        TMDIChild* w = OpenWindow();
        Forget(w), w->Scheme->SetModified(modified), fake.saves = 0, fake.saveResult = saves;
        port.Clear(), port.Answer(answer);
        std::weak_ptr<char> alive = w->Alive();
        w->Close(), Application->ProcessMessages();
        ASSERT_EQ(port.Calls.size(), modified ? 1u : 0u);
        if (modified) {
            EXPECT_EQ(std::tuple(port.Calls[0].text, port.Calls[0].type, port.Calls[0].buttons),
                      std::tuple("Схема не сохранена! Сохранить?"_a, mtWarning, mbYesNoCancel));
        }
        EXPECT_EQ(fake.saves, answer == mrYes ? 1 : 0);
        EXPECT_EQ(alive.expired(), closes) << answer << saves;
        if (!alive.expired()) forms_.push_back(w);
    }
}

TEST_F(Commands, AutosaveWritesACopyThatGoesWithTheWindow) {
    InitModule->AutoSavePeriod = 2;
    TMDIChild* w = OpenWindow();
    w->FormActivate(w);
    EXPECT_EQ(w->AutosaveTimer->Interval(), 120000u);
    w->AutosaveTimerTimer(nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "untitled: nothing written";
    w->Scheme->SetFileName(dir.File("pump.tvs")), w->Scheme->CreateAndElement(), w->AutosaveTimerTimer(nullptr);
    EXPECT_EQ(std::pair(FileExists(dir.File("pump.tvt")), w->Scheme->IsModified()), std::pair(true, true))
        << "a copy leaves the document modified";
    InitModule->AutoSavePeriod = 0, w->FormActivate(w);
    EXPECT_EQ(w->AutosaveTimer->Interval(), 0u) << "a period of 0 stops the timer";
    Forget(w), Free(w);
    EXPECT_FALSE(FileExists(dir.File("pump.tvt"))) << "the copy is deleted with the window";
}

TEST_F(Commands, SignalsForTheDebuggerInTheStoredOrder) {
    SeedSignals();
    // Selected in this order; Z9 has no driver and is passed over.
    for (auto [name, y] : {std::pair{"X1", 200}, {"Y1", 150}, {"X2", 100}, {"Z9", 50}})
        Doc()->AddToSelection(Pin(name, 100, y), true);
    // The stored order, whether a debugger is present, what it is given.
    const std::tuple<int, bool, std::vector<AnsiString>> cases[] = {
        {-1, true, {"X1,X2/Y1"}}, {0, true, {"X2,X1/Y1"}}, {1, true, {"X1,X2/Y1"}}, {2, true, {"/"}}, {-1, false, {}}};
    for (const auto& [sortDr, debugger, expected] : cases) {
        fake.sortDr = sortDr, fake.debugger = debugger, fake.debug.clear();
        window->AddSignalsToDebugActionExecute(nullptr);
        EXPECT_EQ(fake.debug, expected) << sortDr << debugger;
    }
}

TEST_F(Commands, CentringKeysAndThePinTest) {
    TControlScrollBar* h = window->ScrollBox1->HorzScrollBar();
    TControlScrollBar* v = window->ScrollBox1->VertScrollBar();
    window->CenterSelectedActionExecute(nullptr); // nothing selected: nothing moves
    EXPECT_EQ(h->Position(), 0);
    TElement* e = Device(500, 400);
    Doc()->AddToSelection(e, true);
    window->ZoomInActionExecute(nullptr), window->ZoomInActionExecute(nullptr), window->CenterSelectedActionExecute(nullptr);
    // The bounds (500, 400)-(520, 420) centre on (510, 410): 1020, 820 at 200 %.
    EXPECT_EQ(std::pair(h->Position(), v->Position()),
              std::pair(1020 - window->ScrollBox1->Width() / 2, 820 - window->ScrollBox1->Height() / 2));
    h->SetPosition(100), v->SetPosition(300);
    const int half = window->ScrollBox1->Height() / 2;
    // The key, then the positions (-1: not checked) and the zoom after it.
    const std::tuple<WORD, int, int, int> keys[] = {
        {VK_LEFT, 68, 300, 200},  {VK_RIGHT, 100, 300, 200}, {VK_UP, 100, 268, 200},
        {VK_DOWN, 100, 300, 200}, {VK_PRIOR, 100, 300 - half, 200}, {VK_NEXT, 100, 300, 200},
        {VK_ADD, -1, -1, 250},    {VK_SUBTRACT, -1, -1, 200},
    };
    for (auto [key, hp, vp, zoom] : keys) {
        WORD k = key;
        window->FormKeyUp(window, k, 0);
        EXPECT_TRUE((hp < 0 || h->Position() == hp) && (vp < 0 || v->Position() == vp)) << key;
        EXPECT_EQ(Zoom(), zoom) << key;
    }
    window->ZoomNormalActionExecute(nullptr), window->SetModeWireActionExecute(nullptr);
    Click(100, 100), Move(200, 100);
    WORD esc = VK_ESCAPE;
    window->FormKeyUp(window, esc, 0);
    EXPECT_EQ(window->Mode, int(mdWire));
    EXPECT_TRUE(SheetIsClean());
    // The pin test: "NO!" for every pin of the first device joined to no other pin; its output touches the input of a
    // second device.
    Doc()->AttachElement(Device(e->Pin(0)->TipX() + 10, e->GetY()));
    port.Clear(), window->TestActionSaveListExecute(nullptr);
    EXPECT_EQ(port.Messages(), (std::vector<AnsiString>{"NO!", "NO!"}));
    window->ScrollBox1Click(nullptr);
    EXPECT_EQ(port.Messages().back(), "Не рабочая область"_a);
}

} // namespace
