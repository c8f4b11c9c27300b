#include "platform/gui/GuiTest.h"

#include "common/Printers.h"
#include "common/Wait.h"

#include "controls/Strutils.h"
#include "controls/gui/Apputils.h"
#include "controls/gui/Placemnt.h"
#include "platform/gui/ExtCtrls.h"

namespace {

class TPlacedForm : public TForm {
public:
    explicit TPlacedForm(TComponent* owner) : TForm(owner) {
        SetBounds(100, 120, 300, 200);
        OnShow = [this](TObject*) { shows.push_back("own show"); };
        OnDestroy = [this](TObject*) { destroyed = true; };
        Storage = NewComponent<TFormStorage>(this, "FormS");
    }
    TFormStorage* Storage;
    std::vector<std::string> shows;
    bool destroyed = false;
    // The form is set up: the storage takes over its events.
    void Load() {
        Storage->BeginLoading();
        Storage->EndLoading();
    }
};

// The registry store as the form storage writes it.
AnsiString RegValue(const AnsiString& section, const AnsiString& ident) {
    TRegIniFile reg(GetDefaultIniRegKey(), KEY_READ);
    return reg.ReadString(section, ident, "<none>");
}

void EraseKey() {
    TRegistry reg;
    reg.DeleteKey("\\" + GetDefaultIniRegKey());
}

struct Placement : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        EraseKey();
    }
    void TearDown() override {
        GuiTest::TearDown();
        EraseKey();
    }
    TPlacedForm* MakeStoredForm(int version) {
        auto* f = MakeForm<TPlacedForm>();
        f->Storage->UseRegistry = true;
        f->Storage->Version = version;
        f->Storage->SetStoredValue("MWCol1Width", Variant());
        f->Storage->SetStoredValue("CheckBit", Variant());
        f->Storage->StoredValues()->GetValue("CheckBit")->KeyString = "ключ"_a;
        f->Load();
        return f;
    }
};

TEST_F(Placement, DefaultsFollowTheFormAndTheExecutable) {
    auto* f = MakeForm<TPlacedForm>();
    EXPECT_EQ(f->Storage->GetIniSection(), AnsiString("TPlacedForm"));
    EXPECT_EQ(f->Storage->GetIniFileName(), AnsiString("test_controls_gui.INI"));
    f->Storage->UseRegistry = true;
    EXPECT_EQ(f->Storage->GetIniFileName(), AnsiString("Software\\test_controls_gui"));
    EXPECT_EQ(f->Storage->Options, PlacementOptions({fpState, fpPosition}));
    TFormPlacement loose(nullptr);
    EXPECT_EQ(loose.Options, 0u);
    EXPECT_EQ(GetDefaultSection(f->Storage), AnsiString("TPlacedForm.FormS"));
    auto* button = NewControl<TPanel>(f, f, "Panel1");
    EXPECT_EQ(GetDefaultSection(button), AnsiString("TPlacedFormPanel1"));
    EXPECT_EQ(GetDefaultSection(f), AnsiString("TPlacedForm"));
    EXPECT_EQ(GetDefaultSection(nullptr), AnsiString());
}

TEST_F(Placement, FirstRunOfANewVersionRestoresNothingAndTheCloseWritesEverything) {
    auto* f = MakeStoredForm(13);
    f->Show();
    EXPECT_EQ(f->shows, std::vector<std::string>{"own show"}); // the form's handler still runs
    EXPECT_EQ(f->Storage->GetStoredValue("MWCol1Width", 80).AsInteger(), 80);
    f->Storage->SetStoredValue("MWCol1Width", 95);
    f->Storage->SetStoredValue("CheckBit", true);
    f->Close();
    EXPECT_EQ(RegValue("TPlacedForm", "FormVersion"), AnsiString("13"));
    EXPECT_EQ(RegValue("TPlacedForm", "MWCol1Width"), AnsiString("95"));
    EXPECT_EQ(RegValue("TPlacedForm", "CheckBit"), XorEncode("ключ"_a, "True"));
    EXPECT_EQ(RegValue("TPlacedForm", "Visible"), AnsiString("0")); // saved from closing
    EXPECT_NE(RegValue("TPlacedForm", "NormPos"), AnsiString("<none>"));

    auto* again = MakeStoredForm(13);
    again->Show();
    EXPECT_EQ(again->Storage->GetStoredValue("MWCol1Width").AsString(), AnsiString("95"));
    EXPECT_TRUE(again->Storage->GetStoredValue("CheckBit", false).AsBoolean());
}

TEST_F(Placement, AnOlderStoredVersionRestoresNothingAndIsOverwritten) {
    {
        TRegIniFile reg(GetDefaultIniRegKey());
        reg.WriteInteger("TPlacedForm", "FormVersion", 12);
        reg.WriteString("TPlacedForm", "MWCol1Width", "33");
        reg.WriteString("TPlacedForm", "NormPos", "10,20,410,320");
    }
    auto* f = MakeStoredForm(13);
    int restored = 0;
    f->Storage->OnRestorePlacement = [&](TObject*) { ++restored; };
    f->Show();
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(f->Storage->GetStoredValue("MWCol1Width", 80).AsInteger(), 80); // not even the values
    EXPECT_NE(f->Left(), 10);
    EXPECT_TRUE(f->Storage->Restored()); // so the coming save writes the current layout
    f->Close();
    EXPECT_EQ(RegValue("TPlacedForm", "FormVersion"), AnsiString("13"));
    EXPECT_EQ(RegValue("TPlacedForm", "MWCol1Width"), AnsiString());
    // Version 0 restores whatever is there.
    {
        TRegIniFile reg(GetDefaultIniRegKey());
        reg.WriteString("TPlacedForm", "MWCol1Width", "44");
    }
    auto* zero = MakeStoredForm(0);
    zero->Show();
    EXPECT_EQ(zero->Storage->GetStoredValue("MWCol1Width", 80).AsInteger(), 44);
}

TEST_F(Placement, AValueSetAfterTheCloseSaveIsSavedWhenTheFormGoes) {
    auto* f = MakeStoredForm(13);
    f->Show();
    f->Close();
    EXPECT_TRUE(f->Storage->Saved());
    // The frame stores its column widths after the close-time save ...
    f->Storage->SetStoredValue("MWCol1Width", 123);
    EXPECT_FALSE(f->Storage->Saved());
    Forget(f);
    Free(f); // ... and the destruction saves them again.
    EXPECT_EQ(RegValue("TPlacedForm", "MWCol1Width"), AnsiString("123"));
    EXPECT_EQ(RegValue("TPlacedForm", "Visible"), AnsiString("1")); // saved from the destruction
}

TEST_F(Placement, AFormSavedAtCloseIsNotSavedAgainAndANeverShownFormSavesNothing) {
    auto* f = MakeStoredForm(13);
    int saves = 0;
    f->Storage->OnSavePlacement = [&](TObject*) { ++saves; };
    f->Show();
    f->Close();
    EXPECT_EQ(saves, 1);
    Forget(f);
    Free(f);
    EXPECT_EQ(saves, 1);

    EraseKey();
    auto* hidden = MakeStoredForm(13);
    Forget(hidden);
    Free(hidden);
    EXPECT_EQ(RegValue("TPlacedForm", "FormVersion"), AnsiString("<none>"));
}

// Where the desktop shows a form: its frame and the window inside it.
std::string ShownGeometry(TForm* f) {
    QWidget* w = f->Widget();
    QRect outer = gebridge::FrameGeometry(w);
    QRect inner = w->geometry();
    return Format("frame %d,%d %dx%d window %d,%d %dx%d", outer.x(), outer.y(), outer.width(), outer.height(),
                  inner.x(), inner.y(), inner.width(), inner.height())
        .c_str();
}

// The rectangle of the form's frame on the desktop.
TRect FramedRect(TForm* f) {
    QRect outer = gebridge::FrameGeometry(f->Widget());
    return Bounds(outer.x(), outer.y(), outer.width(), outer.height());
}

// Shows the form and lets the desktop frame and place it.
bool ShowFramed(TForm* f) {
    f->Show();
    if (!testenv::WaitExposed(f->Widget())) return false;
    if (QGuiApplication::platformName() == "offscreen") return true;
    // A window manager frames the window a little after it is mapped, and
    // Left, Top, Width and Height follow once it has.
    return testenv::WaitFor([f] {
        QRect outer = gebridge::FrameGeometry(f->Widget());
        return outer != f->Widget()->geometry() && f->BoundsRect() == Bounds(outer.x(), outer.y(), outer.width(), outer.height());
    });
}

TEST_F(Placement, PositionsAreKeptPerScreenSize) {
    auto* f = MakeStoredForm(0);
    ASSERT_TRUE(ShowFramed(f));
    // The stored rectangle holds the window without the desktop's frame (none offscreen).
    const TSize frame = f->FrameSize();
    f->SetBounds(40, 50, 320, 240);
    f->Close();
    AnsiString sizeKey = Format("NormPos(%dx%d)", Screen->Width(), Screen->Height());
    const AnsiString stored = Format("40,50,%d,%d", 360 - frame.cx, 290 - frame.cy);
    EXPECT_EQ(RegValue("TPlacedForm", sizeKey), stored);
    EXPECT_EQ(RegValue("TPlacedForm", "NormPos"), stored);
    EXPECT_NE(RegValue("TPlacedForm", Format("MinMaxPos(%dx%d)", Screen->Width(), Screen->Height())),
              AnsiString("<none>"));
    {
        // Another screen size wrote only its own key and the plain key.
        TRegIniFile reg(GetDefaultIniRegKey());
        reg.WriteString("TPlacedForm", "NormPos(9999x9999)", "1,2,3,4");
        reg.WriteString("TPlacedForm", "NormPos", "70,80,370,280");
    }
    auto* g = MakeStoredForm(0);
    ASSERT_TRUE(ShowFramed(g));
    EXPECT_EQ(FramedRect(g), Rect(40, 50, 360, 290)); // this screen size's own values win
    {
        TRegIniFile reg(GetDefaultIniRegKey());
        reg.DeleteKey("TPlacedForm", sizeKey);
    }
    auto* h = MakeStoredForm(0);
    ASSERT_TRUE(ShowFramed(h));
    EXPECT_EQ(FramedRect(h), Rect(70, 80, 370 + frame.cx, 280 + frame.cy)); // falls back to the plain key
}

TEST_F(Placement, FiveOpeningsWithoutATouchLeaveTheWindowAsItWas) {
    std::vector<std::string> seen;
    for (int i = 0; i < 5; ++i) {
        auto* f = MakeStoredForm(0);
        ASSERT_TRUE(ShowFramed(f)) << i;
        seen.push_back(ShownGeometry(f));
        f->Close();
        Forget(f);
        Free(f);
    }
    EXPECT_EQ(seen, std::vector<std::string>(5, seen[0]));
}

TEST_F(Placement, AWindowMaximizedAtTheEndComesBackMaximized) {
    auto* f = MakeStoredForm(0);
    ASSERT_TRUE(ShowFramed(f));
    const std::string normal = ShownGeometry(f);
    f->Widget()->showMaximized(); // as the desktop does for the user
    ASSERT_TRUE(testenv::WaitFor([f] { return f->WindowState() == wsMaximized; }));
    f->Close();
    EXPECT_EQ(RegValue("TPlacedForm", "ShowCmd"), AnsiString("3"));
    // The frame stores a value after the close-time save: the hidden form is saved
    // once more as it goes.
    f->Storage->SetStoredValue("MWCol1Width", 5);
    Forget(f);
    Free(f);
    EXPECT_EQ(RegValue("TPlacedForm", "Visible"), AnsiString("1"));
    EXPECT_EQ(RegValue("TPlacedForm", "ShowCmd"), AnsiString("3"));
    auto* g = MakeStoredForm(0);
    g->Show();
    ASSERT_TRUE(testenv::WaitExposed(g->Widget()));
    EXPECT_EQ(g->WindowState(), wsMaximized);
    EXPECT_TRUE(g->Widget()->isMaximized());
    // Made normal again, it takes the place it had before it was maximized.
    g->SetWindowState(wsNormal);
    ASSERT_TRUE(testenv::WaitFor([g, &normal] { return ShownGeometry(g) == normal; })) << ShownGeometry(g) << " " << normal;
}

// The program's main window stored minimized: the program starts
// minimized, and its window comes back normal.
TEST_F(Placement, AMainWindowStoredMinimizedStartsMinimizedAndComesBackNormal) {
    {
        TRegIniFile reg(GetDefaultIniRegKey());
        reg.WriteString("TPlacedForm", "ShowCmd", "2");
        reg.WriteString("TPlacedForm", "NormPos", "10,20,310,220");
    }
    auto* f = MakeStoredForm(0);
    Application->SetMainForm(f);
    f->Show();
    EXPECT_TRUE(testenv::WaitFor([f] { return f->WindowState() == wsMinimized; }));
    // The desktop handles the program's requests in order: once a window
    // shown after the main one is on the screen, the main one's showing is
    // settled, and it stays minimized.
    TForm* later = MakeForm();
    later->SetBounds(400, 300, 100, 80);
    later->Show();
    ASSERT_TRUE(testenv::WaitExposed(later->Widget()));
    EXPECT_EQ(f->WindowState(), wsMinimized);
    Application->Restore();
    EXPECT_TRUE(testenv::WaitFor([f] { return f->WindowState() == wsNormal && f->Widget()->isVisible(); }));
}

// The program closed while minimized: its main window is stored in the
// state it comes back to, so the next start is not minimized.
TEST_F(Placement, AMainWindowClosedMinimizedIsStoredAsItComesBack) {
    const struct {
        TWindowState before;
        const char* stored;
    } rows[] = {{wsNormal, "1"}, {wsMaximized, "3"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        EraseKey();
        auto* f = MakeStoredForm(0);
        Application->SetMainForm(f);
        ASSERT_TRUE(ShowFramed(f));
        f->SetWindowState(row.before);
        ASSERT_TRUE(testenv::WaitFor([f, &row] { return f->WindowState() == row.before; }));
        f->SetWindowState(wsMinimized);
        ASSERT_TRUE(testenv::WaitFor([f] { return f->WindowState() == wsMinimized; }));
        // What the close stores (the main window's close would end the program).
        f->Storage->SaveFormPlacement();
        EXPECT_EQ(RegValue("TPlacedForm", "ShowCmd"), AnsiString(row.stored));
        auto* g = MakeStoredForm(0);
        Application->SetMainForm(g);
        g->Show();
        ASSERT_TRUE(testenv::WaitExposed(g->Widget()));
        EXPECT_EQ(g->WindowState(), row.before);
    }
}

TEST_F(Placement, StoredTextsOfPartsAndDensities) {
    auto* f = MakeForm<TPlacedForm>();
    TRegIniFile reg(GetDefaultIniRegKey());
    reg.WriteString("S", "NormPos", "10,20");
    ReadFormPlacementReg(f, &reg, "S", false, true);
    EXPECT_EQ(f->BoundsRect(), Rect(10, 20, 400, 320)); // the current right and bottom edges kept
    reg.WriteString("S", "NormPos", "30,40,330,240");
    reg.WriteInteger("S", "PixelsPerInch", 120);
    ReadFormPlacementReg(f, &reg, "S", false, true);
    EXPECT_EQ(f->Left(), 10); // another pixel density: nothing applied
    reg.WriteInteger("S", "PixelsPerInch", 96);
    reg.WriteString("S", "NormPos", "50,60,50,260"); // right not beyond left
    ReadFormPlacementReg(f, &reg, "S", false, true);
    EXPECT_EQ(f->Left(), 10);
    // A fixed-border dialog takes the position, never the stored size.
    f->SetBorderStyle(bsDialog);
    f->SetBounds(0, 0, 300, 200);
    reg.WriteString("S", "NormPos", "15,25,515,425");
    ReadFormPlacementReg(f, &reg, "S", false, true);
    EXPECT_EQ(f->BoundsRect(), Rect(15, 25, 315, 225));
}

TEST_F(Placement, APlacementOffEveryScreenIsPulledOntoOne) {
    auto* f = MakeForm<TPlacedForm>();
    TRegIniFile reg(GetDefaultIniRegKey());
    reg.WriteString("S", "NormPos", "-5000,-4000,-4700,-3800");
    ReadFormPlacementReg(f, &reg, "S", false, true);
    TRect area = Screen->WorkAreaRect();
    TRect common;
    EXPECT_TRUE(IntersectRect(common, f->BoundsRect(), area));
    EXPECT_EQ(f->Width(), 300);
    EXPECT_EQ(f->Height(), 200);
    reg.WriteString("S", "NormPos", Format("%d,%d,%d,%d", area.Right + 100, area.Bottom + 100, area.Right + 400,
                                           area.Bottom + 300));
    ReadFormPlacementReg(f, &reg, "S", false, true);
    EXPECT_TRUE(IntersectRect(common, f->BoundsRect(), area));
}

TEST_F(Placement, AnotherRegistryRoot) {
    auto* f = MakeForm<TPlacedForm>();
    f->Storage->UseRegistry = true;
    f->Storage->RegistryRoot = prLocalMachine;
    f->Storage->WriteString("Where", "machine");
    EXPECT_EQ(f->Storage->ReadString("Where", ""), AnsiString("machine"));
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly(GetDefaultIniRegKey() + "\\TPlacedForm"));
    EXPECT_EQ(reg.ReadString("Where"), AnsiString("machine"));
    EXPECT_EQ(RegValue("TPlacedForm", "Where"), AnsiString("<none>")); // not under the current user
    TRegistry cleanup;
    cleanup.SetRootKey(HKEY_LOCAL_MACHINE);
    cleanup.DeleteKey("\\" + GetDefaultIniRegKey());
}

TEST_F(Placement, IniFileQuotedValuesAndSections) {
    auto* f = MakeForm<TPlacedForm>();
    f->Storage->IniFileName = "placement-test.ini";
    f->Storage->WriteString("Quoted", "\"kept\"");
    EXPECT_EQ(f->Storage->ReadString("Quoted", ""), AnsiString("\"kept\""));
    f->Storage->WriteInteger("Number", 7);
    EXPECT_EQ(f->Storage->ReadInteger("Number", 0), 7);
    TIniFile ini("placement-test.ini");
    ini.WriteString("TPlacedForm.Sub", "A", "1");
    ini.WriteString("TPlacedForm\\Sub", "B", "1");
    ini.WriteString("TPlacedFormOther", "C", "1");
    f->Storage->EraseSections();
    EXPECT_FALSE(ini.SectionExists("TPlacedForm"));
    EXPECT_FALSE(ini.SectionExists("TPlacedForm.Sub"));
    EXPECT_FALSE(ini.SectionExists("TPlacedForm\\Sub"));
    EXPECT_TRUE(ini.SectionExists("TPlacedFormOther"));
}

TEST_F(Placement, StoredPropertiesOfComponents) {
    auto* f = MakeForm<TPlacedForm>();
    auto* splitter = NewControl<TPanel>(f, f, "Splitter1");
    splitter->SetBounds(5, 5, 50, 50);
    f->Storage->IniFileName = "props-test.ini";
    f->Storage->StoredProps()->Add(" Splitter1 . Left ");
    f->Storage->StoredProps()->Add("Gone.Left");
    f->Load();
    EXPECT_EQ(f->Storage->StoredProps()->Count(), 1);
    f->Show();
    splitter->SetLeft(77);
    f->Close();
    TIniFile ini("props-test.ini");
    EXPECT_EQ(ini.ReadString("TPlacedForm", "Splitter1_Left", ""), AnsiString("77"));
    ini.WriteString("TPlacedForm", "Splitter1_Left", "nonsense");
    splitter->SetLeft(12);
    f->Show();
    EXPECT_EQ(splitter->Left(), 12); // damaged stored text: unchanged
    ini.WriteString("TPlacedForm", "Splitter1_Left", "140");
    f->Hide();
    f->Show();
    EXPECT_EQ(splitter->Left(), 140);
    delete splitter; // the line bound to it goes with it
    EXPECT_EQ(f->Storage->StoredProps()->Count(), 0);
}

TEST_F(Placement, LinksRunInAttachOrderWithTheirRootSection) {
    auto* f = MakeForm<TPlacedForm>();
    f->Storage->IniFileName = "links-test.ini";
    f->Load();
    std::vector<std::string> order;
    TIniLink a, b;
    a.OnSave = [&](TObject*) { order.push_back("a save " + std::string(a.IniObject() ? "open" : "closed")); };
    b.OnSave = [&](TObject*) { order.push_back("b save"); };
    a.OnLoad = [&](TObject*) { order.push_back("a load"); };
    a.SetStorage(f->Storage);
    b.SetStorage(f->Storage);
    EXPECT_EQ(a.RootSection(), AnsiString());
    f->Show();
    f->Close();
    EXPECT_EQ(order, (std::vector<std::string>{"a load", "a save open", "b save"}));
    f->Storage->IniSection = "Sec";
    EXPECT_EQ(a.RootSection(), AnsiString("Sec\\"));
    EXPECT_EQ(a.IniObject(), nullptr);
    b.SetStorage(nullptr);
    order.clear();
    f->Show();
    f->Close();
    EXPECT_EQ(order, (std::vector<std::string>{"a load", "a save open"}));
}

TEST_F(Placement, ExceptionsInRestoreGoToTheApplicationHandler) {
    auto* f = MakeStoredForm(0);
    f->Storage->OnRestorePlacement = [](TObject*) { throw Exception("broken"); };
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, Exception* e) { reported.push_back(e->Message); };
    f->Show();
    EXPECT_EQ(reported, std::vector<AnsiString>{"broken"});
    EXPECT_EQ(f->shows, std::vector<std::string>{"own show"});

    // Running out of memory is not the program's exception: it ends the
    // event and reaches the application's handler from there.
    f->Hide();
    f->Storage->OnRestorePlacement = [](TObject*) { throw std::bad_alloc(); };
    EXPECT_THROW(f->Show(), std::bad_alloc);
    EXPECT_EQ(f->shows, std::vector<std::string>{"own show"});
    reported.clear();
    f->Hide();
    Dispatch([f] { f->Show(); });
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], AnsiString(std::bad_alloc().what()));
}

TEST_F(Placement, PreventResizeFixesTheSizeAndDropsMaximize) {
    auto* f = MakeForm<TPlacedForm>();
    f->Load();
    f->Show();
    // A frame whose right border is under the mouse.
    f->WindowProc = [old = f->WindowProc](TMessage& msg) {
        old(msg);
        if (msg.Msg == WM_NCHITTEST) msg.Result = HTRIGHT;
    };
    EXPECT_TRUE(f->BorderIcons() & biMaximize);
    f->Storage->SetPreventResize(true);
    EXPECT_FALSE(f->BorderIcons() & biMaximize);
    EXPECT_EQ(f->Widget()->minimumSize(), f->Widget()->maximumSize());
    EXPECT_EQ(f->Perform(WM_NCHITTEST), HTNOWHERE); // the sizing border answers as nowhere
    f->Storage->SetPreventResize(false);
    EXPECT_EQ(f->Perform(WM_NCHITTEST), HTRIGHT);
    EXPECT_TRUE(f->BorderIcons() & biMaximize);
    EXPECT_NE(f->Widget()->minimumSize(), f->Widget()->maximumSize());
    f->Storage->MinMaxInfo()->SetMinTrackWidth(150);
    f->Storage->MinMaxInfo()->SetMaxTrackHeight(400);
    EXPECT_EQ(f->Widget()->minimumWidth(), 150);
    EXPECT_EQ(f->Widget()->maximumHeight(), 400);
    EXPECT_FALSE(f->Storage->MinMaxInfo()->DefaultMinMaxInfo());
}

TEST_F(Placement, ActiveControlIsStoredAndRestoredWhenItCanTakeTheFocus) {
    auto* f = MakeForm<TPlacedForm>();
    auto* p1 = NewControl<TPanel>(f, f, "Panel1");
    auto* p2 = NewControl<TPanel>(f, f, "Panel2");
    p1->TabStop = true;
    p2->TabStop = true;
    f->Storage->IniFileName = "active-test.ini";
    f->Storage->Options |= PlacementOptions({fpActiveControl});
    f->Load();
    f->Show();
    f->SetActiveControl(p2);
    f->Close();
    TIniFile ini("active-test.ini");
    EXPECT_EQ(ini.ReadString("TPlacedForm", "ActiveControl", ""), AnsiString("Panel2"));
    ini.WriteString("TPlacedForm", "ActiveControl", "NoSuchControl");
    f->Show(); // an unknown name leaves the active control as it is
    ini.WriteString("TPlacedForm", "ActiveControl", "Panel1");
    f->Hide();
    f->Show();
    EXPECT_EQ(f->ActiveControl(), p1);
}

} // namespace
