// Toolbars: horizontal, vertical and wrapped layouts, separators, order.
#include "ToolbarTestUtil.h"

namespace {

// A toolbar whose children are given by a pattern: 'B' a 23 x 22 button,
// '|' a separator.
TToolbarEx* Pattern(TForm* f, const AnsiString& name, const char* pattern) {
    auto* t = NewControl<TToolbarEx>(f, nullptr, name);
    int n = 0;
    for (const char* p = pattern; *p; ++p, ++n) {
        AnsiString child = name + IntToStr(n);
        if (*p == '|') NewControl<TToolbarSepEx>(f, t, child);
        else NewControl<TToolbarButtonEx>(f, t, child);
    }
    return t;
}

TControl* Child(TForm* f, const char* name) { return static_cast<TControl*>(f->FindComponent(name)); }

std::vector<TRect> ChildBounds(TToolbarEx* t) {
    std::vector<TRect> r;
    for (int i = 0; i < t->OrderCount(); ++i) r.push_back(t->OrderItems(i)->BoundsRect());
    return r;
}

} // namespace

TEST_F(ToolbarsTest, HorizontalAndVerticalLayoutsWithSeparators) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* left = AddDock(f, "Left", dpLeft);
    TToolbarEx* t = Pattern(f, "T", "BB|B");
    Child(f, "T3")->SetWidth(17);
    t->SetParent(top);
    Pump();
    EXPECT_EQ(ChildBounds(t), (std::vector<TRect>{Bounds(0, 0, 23, 22), Bounds(23, 0, 23, 22), Bounds(46, 0, 6, 22), Bounds(52, 0, 17, 22)}));
    EXPECT_EQ(t->ClientWidth(), 69);
    auto* sep = static_cast<TToolbarSepEx*>(Child(f, "T2"));
    sep->Repaint();
    EXPECT_EQ(PixelAt(sep->Canvas(), 2, 10), ColorToRGB(clBtnShadow)) << "a vertical etched line";
    EXPECT_EQ(PixelAt(sep->Canvas(), 3, 10), ColorToRGB(clBtnHighlight));

    t->SetParent(left);
    Pump();
    // A column of 23: separators lie across, narrower buttons are centred.
    EXPECT_EQ(ChildBounds(t), (std::vector<TRect>{Bounds(0, 0, 23, 22), Bounds(0, 22, 23, 22), Bounds(0, 44, 23, 6), Bounds(3, 50, 17, 22)}));
    EXPECT_EQ(t->ClientHeight(), 72);
    EXPECT_EQ(t->Height(), 72 + 9 + 4);
    sep->Repaint();
    EXPECT_EQ(PixelAt(sep->Canvas(), 10, 2), ColorToRGB(clBtnShadow)) << "a horizontal etched line";
    EXPECT_EQ(PixelAt(sep->Canvas(), 10, 3), ColorToRGB(clBtnHighlight));

    sep->SetSizeVert(10);
    EXPECT_EQ(Child(f, "T3")->Top(), 54) << "the separator's size re-arranges the toolbar";
}

TEST_F(ToolbarsTest, FloatingLayoutWrapsAtSeparators) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TToolbarEx* t = Pattern(f, "T", "BB|BB|B");
    t->SetParent(top);
    t->HideWhenInactive = false;
    t->SetDockedTo(nullptr);
    ASSERT_TRUE(t->Floating());
    EXPECT_EQ(t->ClientWidth(), 4 + 5 * 23 + 2 * 6 + 4) << "one row while FloatingWidth is 0";
    EXPECT_EQ(t->ClientHeight(), 2 + 22 + 1);

    t->SetFloatingWidth(60);
    EXPECT_EQ(ChildBounds(t), (std::vector<TRect>{Bounds(4, 2, 23, 22), Bounds(27, 2, 23, 22), Bounds(50, 2, 0, 22), Bounds(4, 30, 23, 22),
                                                   Bounds(27, 30, 23, 22), Bounds(50, 30, 0, 22), Bounds(4, 58, 23, 22)}));
    EXPECT_EQ(t->ClientWidth(), 54);
    EXPECT_EQ(t->ClientHeight(), 58 + 22 + 1);
    ASSERT_EQ(t->LineSeps().size(), 2u);
    EXPECT_EQ(t->LineSeps()[0].Y, 30);
    EXPECT_EQ(t->LineSeps()[1].Y, 58);
    t->Repaint();
    EXPECT_EQ(PixelAt(t->Canvas(), 10, 26), ColorToRGB(clBtnShadow)) << "the line where the row breaks";
    EXPECT_EQ(PixelAt(t->Canvas(), 10, 27), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(t->Canvas(), 0, 26), ColorToRGB(clBtnFace)) << "the line starts at x = 1";

    static_cast<TToolbarSepEx*>(Child(f, "T2"))->SetBlank(true);
    t->ArrangeControls();
    t->Repaint();
    EXPECT_TRUE(t->LineSeps()[0].Blank);
    EXPECT_EQ(PixelAt(t->Canvas(), 10, 26), ColorToRGB(clBtnFace)) << "a blank separator draws no line";
}

TEST_F(ToolbarsTest, FloatingLayoutWrapsInsideAGroup) {
    TForm* f = MakeForm();
    TToolbarEx* t = Pattern(f, "T", "BBBB");
    t->HideWhenInactive = false;
    t->SetParent(f);
    t->SetFloatingWidth(60);
    EXPECT_EQ(ChildBounds(t), (std::vector<TRect>{Bounds(4, 2, 23, 22), Bounds(27, 2, 23, 22), Bounds(4, 24, 23, 22), Bounds(27, 24, 23, 22)}));
    EXPECT_TRUE(t->LineSeps().empty()) << "no line inside a group";
    EXPECT_EQ(t->ClientHeight(), 24 + 22 + 1);
    t->SetFloatingWidth(10);
    EXPECT_EQ(t->ClientWidth(), 4 + 23 + 4) << "the wrap width never goes below a control + 8";
}

TEST_F(ToolbarsTest, EmptyToolbarAndHiddenControls) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TToolbarEx* empty = Pattern(f, "E", "");
    empty->SetParent(top);
    EXPECT_EQ(empty->ClientWidth(), 8);
    EXPECT_EQ(empty->ClientHeight(), 8);
    EXPECT_EQ(top->Height(), 12);

    TToolbarEx* t = AddToolbar(f, top, "T", 3, 1);
    int before = t->Width();
    static_cast<TControl*>(f->FindComponent("TB1"))->SetVisible(false);
    EXPECT_EQ(t->Width(), before - 23) << "a hidden control takes no room";
    EXPECT_EQ(static_cast<TControl*>(f->FindComponent("TB2"))->Left(), 23);
}

TEST_F(ToolbarsTest, OrderIndexAndMisuse) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TToolbarEx* t = AddToolbar(f, top, "T", 5);
    TControl* first = Child(f, "TB0");
    t->SetOrderIndex(first, 99);
    EXPECT_EQ(t->GetOrderIndex(first), 4);
    EXPECT_EQ(first->Left(), 4 * 23) << "moved to the end of the row";
    t->SetOrderIndex(first, -5);
    EXPECT_EQ(t->GetOrderIndex(first), 0);

    auto* stranger = NewControl<TToolbarButtonEx>(f, f, "Stranger");
    try {
        t->GetOrderIndex(stranger);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Control 'Stranger' is not a child of the toolbar");
    }
    auto* panel = NewControl<TPanel>(f, f, "Panel");
    auto* sep = NewControl<TToolbarSepEx>(f, nullptr, "Sep");
    try {
        sep->SetParent(panel);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "TToolbarSepEx can only be placed on a TToolbarEx");
    }
    EXPECT_EQ(sep->Parent(), nullptr);
    try {
        t->SetParent(panel);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "A tool window can only be placed on a TDockEx or directly on the form");
    }
    EXPECT_EQ(t->Parent(), top);
}

TEST_F(ToolbarsTest, SlaveControlsFollowTheOrientation) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* left = AddDock(f, "Left", dpLeft);
    TToolbarEx* t = Pattern(f, "T", "BB");
    TControl* wide = Child(f, "T0");
    TControl* narrow = Child(f, "T1");
    t->SetSlaveControl(wide, narrow);
    t->SetParent(top);
    EXPECT_TRUE(wide->Visible());
    EXPECT_FALSE(narrow->Visible());
    t->SetParent(left);
    EXPECT_FALSE(wide->Visible());
    EXPECT_TRUE(narrow->Visible());
    EXPECT_TRUE(t->ShouldControlBeVisible(narrow, true));
    EXPECT_FALSE(t->ShouldControlBeVisible(narrow, false));
}
