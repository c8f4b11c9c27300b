// Saving and restoring tool window positions in an ini file and the registry.
#include <fstream>
#include <sstream>

#include "ToolbarTestUtil.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

namespace {

std::string FileText(const AnsiString& iniName) {
    TIniFile ini(iniName);
    std::ifstream in(ini.FileName().c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The lines of one section of an ini text.
std::vector<std::string> Section(const std::string& text, const std::string& name) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + name + "]";
            continue;
        }
        if (inside && !line.empty()) lines.push_back(line);
    }
    return lines;
}

struct Layout {
    TForm* form;
    TDockEx* top;
    TDockEx* bottom;
    TDockEx* left;
    TToolbarEx* a;
    TToolbarEx* c;
    TToolbarEx* d;
    TToolWindowEx* pane;
};

} // namespace

class PositionsTest : public ToolbarsTest {
protected:
    Layout Build() {
        Layout l;
        l.form = MakeForm();
        l.top = AddDock(l.form, "Top");
        l.bottom = AddDock(l.form, "Bottom", dpBottom);
        l.left = AddDock(l.form, "Left", dpLeft);
        l.a = AddToolbar(l.form, l.top, "A", 3, 0, 0);
        l.c = AddToolbar(l.form, l.top, "C", 4, 0, 120);
        l.c->HideWhenInactive = false;
        l.d = AddToolbar(l.form, l.bottom, "D", 1, 0, 30);
        l.pane = NewControl<TToolWindowEx>(l.form, nullptr, "Pane");
        l.pane->DockableTo = TDockableTo{dpLeft, dpRight};
        l.pane->SetClientAreaSize(120, 150);
        l.pane->SetParent(l.left);
        return l;
    }
};

TEST_F(PositionsTest, IniRoundTripKeepsFloatingAndDockedPlaces) {
    Layout l = Build();
    l.c->SetFloatingTopLeft(TPoint(300, 250));
    l.c->SetDockedTo(nullptr);
    l.c->SetFloatingWidth(60);
    l.d->SetVisible(false);
    IniSaveToolbarPositions(l.form, "bars.ini");

    std::string text = FileText("bars.ini");
    EXPECT_EQ(Section(text, "C"), (std::vector<std::string>{"Rev=3", "Visible=1", "DockedTo=+", "LastDock=Top", "DockRow=0", "DockPos=120",
                                                             "FloatLeft=300", "FloatTop=250", "FloatRightX=60"}));
    EXPECT_EQ(Section(text, "A"), (std::vector<std::string>{"Rev=3", "Visible=1", "DockedTo=Top", "LastDock=Top", "DockRow=0", "DockPos=0",
                                                             "FloatLeft=0", "FloatTop=0", "FloatRightX=0"}));
    EXPECT_EQ(Section(text, "D")[1], "Visible=0");
    EXPECT_EQ(Section(text, "Pane"), (std::vector<std::string>{"Rev=3", "Visible=1", "DockedTo=Left", "LastDock=Left", "DockRow=0", "DockPos=0",
                                                                "FloatLeft=0", "FloatTop=0", "ClientWidth=120", "ClientHeight=150"}));

    // Everything moves; loading puts it back.
    l.c->SetDockedTo(l.bottom);
    l.c->SetFloatingWidth(0);
    l.a->SetDockedTo(l.bottom);
    l.d->SetVisible(true);
    l.pane->SetClientAreaSize(60, 60);
    IniLoadToolbarPositions(l.form, "bars.ini");
    ASSERT_TRUE(l.c->Floating()) << "\"+\" loads back floating";
    EXPECT_EQ(l.c->ScreenRect().TopLeft(), TPoint(300, 250));
    EXPECT_EQ(l.c->FloatingWidth(), 60);
    EXPECT_EQ(l.c->ClientWidth(), 4 + 2 * 23 + 4) << "wrapped as saved";
    EXPECT_EQ(l.c->LastDock(), l.top);
    EXPECT_EQ(l.a->DockedTo(), l.top);
    EXPECT_EQ(l.a->Left(), 0);
    EXPECT_FALSE(l.d->Visible());
    EXPECT_EQ(l.pane->BarWidth(), 120);
    EXPECT_EQ(l.pane->BarHeight(), 150);
    EXPECT_EQ(l.left->Width(), 120 + 4);
    CloseForms();
}

TEST_F(PositionsTest, OnlyRevisionsTwoAndThreeAreRead) {
    Layout l = Build();
    {
        TIniFile ini("old.ini");
        for (const char* bar : {"A", "D"}) {
            ini.WriteString(bar, "DockedTo", "Bottom");
            ini.WriteInteger(bar, "DockPos", 200);
            ini.WriteString(bar, "LastDock", "Left");
        }
        ini.WriteInteger("A", "Rev", 1);
        ini.WriteInteger("A", "Visible", 0);
        ini.WriteInteger("D", "Rev", 2);
        ini.WriteString("C", "DockedTo", "+");
    }
    IniLoadToolbarPositions(l.form, "old.ini");
    EXPECT_EQ(l.a->DockedTo(), l.top) << "Rev 1: untouched";
    EXPECT_TRUE(l.a->Visible());
    EXPECT_EQ(l.d->DockedTo(), l.bottom);
    EXPECT_EQ(l.d->DockPos(), 200) << "Rev 2 is read";
    EXPECT_TRUE(l.c->Docked()) << "no Rev at all: untouched";
    IniLoadToolbarPositions(l.form, "missing.ini");
    EXPECT_EQ(l.c->DockedTo(), l.top);
}

TEST_F(PositionsTest, SaveChecksEveryNameFirstAndWritesNothingOnFailure) {
    Layout l = Build();
    IniSaveToolbarPositions(l.form, "keep.ini");
    std::string before = FileText("keep.ini");
    ASSERT_FALSE(before.empty());

    l.a->SetDockPos(77);
    auto* unnamedDock = NewControl<TDockEx>(l.form, nullptr, "");
    unnamedDock->SetPosition(dpRight);
    unnamedDock->SetParent(l.form);
    l.pane->SetParent(unnamedDock);
    try {
        IniSaveToolbarPositions(l.form, "keep.ini");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot save tool window's position because DockedTo's Name property not set");
    }
    EXPECT_EQ(FileText("keep.ini"), before) << "nothing written, not even the windows before it";

    l.pane->SetParent(l.left);
    auto* unnamed = AddToolbar(l.form, l.bottom, "", 1);
    try {
        IniSaveToolbarPositions(l.form, "keep.ini");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot save tool window's position because Name property is not set");
    }
    EXPECT_EQ(FileText("keep.ini"), before);

    // Loading stops at the unnamed window, and the docks still lay out.
    try {
        IniLoadToolbarPositions(l.form, "keep.ini");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot save tool window's position because Name property is not set");
    }
    delete unnamed;
    l.d->SetDockPos(90);
    EXPECT_EQ(l.d->Left(), 90) << "the docks' updates were ended";
}

TEST_F(PositionsTest, LoadSkipsPlacementsTheWindowForbids) {
    Layout l = Build();
    l.c->SetFloatingTopLeft(TPoint(300, 250));
    l.c->SetDockedTo(nullptr);
    l.a->SetDockedTo(l.bottom);
    l.pane->SetParent(l.form);
    IniSaveToolbarPositions(l.form, "forbid.ini");
    l.c->SetDockedTo(l.top);
    l.a->SetDockedTo(l.top);
    l.pane->SetParent(l.left);

    l.c->DockMode = dmCannotFloat;                       // stored floating
    l.a->DockableTo = TDockableTo{dpTop};                 // stored on the bottom dock
    l.pane->DockMode = dmCannotFloatOrChangeDocks;        // stored floating
    l.d->SetVisible(false);
    IniLoadToolbarPositions(l.form, "forbid.ini");
    EXPECT_EQ(l.c->DockedTo(), l.top);
    EXPECT_EQ(l.a->DockedTo(), l.top);
    EXPECT_EQ(l.pane->DockedTo(), l.left);
    EXPECT_TRUE(l.d->Visible()) << "the visibility is still applied";
}

TEST_F(PositionsTest, RegistryRoundTrip) {
    Layout l = Build();
    l.c->SetFloatingTopLeft(TPoint(320, 260));
    l.c->SetDockedTo(nullptr);
    l.a->SetDockedTo(l.bottom);
    RegSaveToolbarPositions(l.form, "Software\\ge\\Bars");
    l.c->SetDockedTo(l.top);
    l.a->SetDockedTo(l.top);
    RegLoadToolbarPositions(l.form, "Software\\ge\\Bars");
    ASSERT_TRUE(l.c->Floating());
    EXPECT_EQ(l.c->ScreenRect().TopLeft(), TPoint(320, 260));
    EXPECT_EQ(l.a->DockedTo(), l.bottom);
    RegLoadToolbarPositions(l.form, "Software\\ge\\Nothing");
    EXPECT_TRUE(l.c->Floating()) << "a missing key changes nothing";
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\Software\\ge\\Nothing")) << "reading creates no key";
    l.c->SetDockedTo(l.top);
}
