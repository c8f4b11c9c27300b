#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "controls/gui/Apputils.h"
#include "controls/gui/CtlUtils.h"
#include "controls/gui/Exconst.h"
#include "controls/gui/Placemnt.h"
#include "platform/gui/ExtCtrls.h"

namespace {

class TFrameForm : public TForm {
public:
    explicit TFrameForm(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIForm); }
};

int g_made = 0;
std::vector<std::string> g_order;

class TChildA : public TForm {
public:
    explicit TChildA(TComponent* owner) : TForm(owner) {
        ++g_made;
        g_order.push_back("A");
        SetFormStyle(fsMDIChild);
    }
};

class TChildB : public TForm {
public:
    explicit TChildB(TComponent* owner) : TForm(owner) {
        ++g_made;
        g_order.push_back("B");
        SetFormStyle(fsMDIChild);
    }
};

class TPlainDialog : public TForm {
public:
    explicit TPlainDialog(TComponent* owner) : TForm(owner) {}
};

struct AppUtils : GuiTest {
    void TearDown() override {
        // Forms made through the application belong to it.
        for (int i = Application->ComponentCount() - 1; i >= 0; --i)
            if (auto* f = dynamic_cast<TForm*>(Application->Components(i)); f && f != frame) Free(f);
        GuiTest::TearDown();
    }
    TFrameForm* frame = nullptr;
};

TEST_F(AppUtils, MDIChildrenAreSavedAndMadeAgainLastFirst) {
    frame = MakeForm<TFrameForm>();
    Application->SetMainForm(frame);
    frame->Show();
    RegisterFormClass(FormClassOf<TChildA>("TChildA"));
    RegisterFormClass(FormClassOf<TChildB>("TChildB"));
    TIniFile ini("mdi.ini");
    SaveMDIChildren(frame, &ini);
    EXPECT_FALSE(ini.ValueExists("MDI Children", "Count")); // no children, no count
    ini.WriteInteger("MDI Children", "Count", 3);
    ini.WriteString("MDI Children", "Item0", "TChildA");
    ini.WriteString("MDI Children", "Item1", "TUnknownForm");
    ini.WriteString("MDI Children", "Item2", "TChildB");
    g_made = 0;
    g_order.clear();
    RestoreMDIChildren(frame, &ini);
    EXPECT_EQ(g_made, 2); // the unknown class is skipped
    EXPECT_EQ(g_order, (std::vector<std::string>{"B", "A"})); // the last saved child first
    ASSERT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(WaitCount(), 0);
    // A second entry of one class finds the form made for the first.
    ini.WriteInteger("MDI Children", "Count", 2);
    ini.WriteString("MDI Children", "Item1", "TChildA");
    RestoreMDIChildren(frame, &ini);
    EXPECT_EQ(g_made, 2);
    SaveMDIChildren(frame, &ini);
    EXPECT_EQ(ini.ReadInteger("MDI Children", "Count", 0), 2);
    AnsiString first = ini.ReadString("MDI Children", "Item0", "");
    EXPECT_TRUE(first == "TChildA" || first == "TChildB");
    try {
        SaveMDIChildren(nullptr, &ini);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message, AnsiString("Cannot create form. No MDI forms are currently active"));
    }
    auto* plain = MakeForm();
    EXPECT_THROW(RestoreMDIChildren(plain, &ini), EInvalidOperation);
}

TEST_F(AppUtils, FindShowAndInstantiateForms) {
    TFormClass dialog = FormClassOf<TPlainDialog>("TPlainDialog");
    EXPECT_EQ(FindForm(dialog), nullptr);
    TForm* shown = FindShowForm(dialog, "Первый"_a);
    EXPECT_EQ(shown->Caption(), "Первый"_a);
    EXPECT_TRUE(shown->Visible());
    EXPECT_EQ(FindShowForm(dialog, "Первый"_a), shown);
    EXPECT_EQ(FindShowForm(dialog, ""), shown);
    TForm* second = FindShowForm(dialog, "Второй"_a);
    EXPECT_NE(second, shown);
    EXPECT_NE(FindForm(dialog), nullptr);
    TForm* ref = nullptr;
    TForm* made = InstantiateForm(dialog, ref);
    EXPECT_EQ(ref, made);
    EXPECT_EQ(InstantiateForm(dialog, ref), made);
    Application->OnModalStart = [](TForm* f) { f->ModalResult = mrYes; };
    EXPECT_TRUE(ShowDialog(dialog));
    Application->OnModalStart = [](TForm* f) { f->ModalResult = mrCancel; };
    EXPECT_FALSE(ShowDialog(dialog));
    int seen = 0;
    for (int i = 0; i < Screen->FormCount(); ++i)
        Screen->Forms(i)->WindowProc = [&seen, old = Screen->Forms(i)->WindowProc](TMessage& m) {
            if (m.Msg == WM_USER + 1) ++seen;
            old(m);
        };
    AppBroadcast(WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, Screen->FormCount());
}

TEST_F(AppUtils, GridColumnWidths) {
    auto* f = MakeForm();
    auto* grid = NewControl<TStringGrid>(f, f, "Grid1");
    grid->SetColCount(3);
    grid->SetColWidths(0, 40);
    grid->SetColWidths(1, 55);
    grid->SetColWidths(2, 70);
    TIniFile ini("grid.ini");
    SaveGridLayout(grid, &ini);
    EXPECT_EQ(ini.ReadInteger("TFormGrid1", "Item1", 0), 55);
    grid->SetColWidths(1, 10);
    ini.DeleteKey("TFormGrid1", "Item2"); // a missing width keeps the current one
    grid->SetColWidths(2, 33);
    RestoreGridLayout(grid, &ini);
    EXPECT_EQ(grid->ColWidths(1), 55);
    EXPECT_EQ(grid->ColWidths(2), 33);
    TRegIniFile reg("Software\\GridTest");
    SaveGridLayoutReg(grid, &reg);
    grid->SetColWidths(0, 1);
    RestoreGridLayoutReg(grid, &reg);
    EXPECT_EQ(grid->ColWidths(0), 40);
}

TEST_F(AppUtils, DefaultIniDataComesFromTheFormsPlacement) {
    auto* f = MakeForm();
    auto* panel = NewControl<TPanel>(f, f, "Panel1");
    AnsiString file, section;
    GetDefaultIniData(panel, file, section, true);
    EXPECT_EQ(file, AnsiString("Software\\test_controls_gui"));
    EXPECT_EQ(section, AnsiString("TFormPanel1"));
    GetDefaultIniData(panel, file, section, false);
    EXPECT_EQ(file, AnsiString("test_controls_gui.INI"));
    auto* placement = NewComponent<TFormPlacement>(f, "Placement");
    placement->IniFileName = "own.ini";
    GetDefaultIniData(panel, file, section, true);
    EXPECT_EQ(file, AnsiString("own.ini"));
}

TEST_F(AppUtils, SavedAndRestoredPlacementByName) {
    auto* f = MakeForm<TPlainDialog>();
    f->SetBounds(33, 44, 250, 150);
    SaveFormPlacement(f, "byname.ini", false);
    TIniFile ini("byname.ini");
    EXPECT_EQ(ini.ReadString("TPlainDialog", "NormPos", ""), AnsiString("33,44,283,194"));
    f->SetBounds(0, 0, 100, 100);
    RestoreFormPlacement(f, "byname.ini", false);
    EXPECT_EQ(f->BoundsRect(), Rect(33, 44, 283, 194));
}

TEST_F(AppUtils, WaitCursorNests) {
    Screen->SetCursor(crDefault);
    StartWait();
    StartWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crHourGlass); // still one level
    StopWait();
    EXPECT_EQ(Screen->Cursor(), crDefault);
    StopWait(); // an extra one does nothing
    EXPECT_EQ(WaitCount(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(AppUtils, CursorsCentringAndNotImplemented) {
    RegisterExCursors();
    EXPECT_TRUE(Screen->HasCursor(crHand));
    EXPECT_TRUE(Screen->HasCursor(crDragHand));
    auto* f = MakeForm();
    f->SetBounds(0, 0, 200, 100);
    CenterWindow(f);
    TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(f->Left(), area.Left + (area.Width() - 200) / 2);
    f->SetBounds(0, 0, area.Width() + 50, 100); // wider than the screen: pushed to the left edge
    CenterWindow(f);
    EXPECT_EQ(f->Left(), area.Left);
    EXPECT_THROW(NotImplemented(), EAbort);
    ASSERT_FALSE(port.Calls.empty());
    EXPECT_EQ(port.Last().text, "Функция не реализована"_a);
    EXPECT_EQ(port.Last().type, mtInformation);
}

} // namespace
