// Toolbar buttons: groups, lighting, repeat, glyph images, layout, actions, menus.
#include <QCursor>

#include "ToolbarTestUtil.h"

namespace {

TToolbarButtonEx* Button(TForm* f, const char* name) { return static_cast<TToolbarButtonEx*>(f->FindComponent(name)); }

TPoint Centre(TControl* c) { return c->ClientToScreen(TPoint(c->Width() / 2, c->Height() / 2)); }


// A strip of n 16 x 16 cells on a fuchsia ground, each with a 10 x 10
// square of its own colour at (3, 3).
void PaintStrip(TBitmap& b, const std::vector<TColor>& colours) {
    b.SetSize(16 * int(colours.size()), 16);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, b.Width(), 16));
    for (std::size_t i = 0; i < colours.size(); ++i) {
        b.Canvas()->Brush()->SetColor(colours[i]);
        b.Canvas()->FillRect(Bounds(int(i) * 16 + 3, 3, 10, 10));
    }
}

// An image list of two 16 x 16 pictures: a red and a blue square.
TImageList& RedBlueImages(TForm* f) {
    TImageList& images = *NewComponent<TImageList>(f, "Images");
    images.SetSize(16, 16);
    TBitmap two;
    PaintStrip(two, {clRed, clBlue});
    images.AddMasked(&two, clFuchsia);
    return images;
}

TCanvas* Painted(TToolbarButtonEx* b) {
    b->Repaint();
    return b->Canvas();
}

class CountingButton : public TToolbarButtonEx {
public:
    using TToolbarButtonEx::TToolbarButtonEx;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TToolbarButtonEx::Paint();
    }
};

class RecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override {
        at = TPoint(x, y);
        alignment = Alignment;
        ++shown;
    }
    TPoint at;
    TPopupAlignment alignment = paCenter;
    int shown = 0;
};

} // namespace

TEST_F(ToolbarsTest, ButtonGroupsReleaseEachOther) {
    TForm* f = FormWithToolbar(3);
    AddToolbar(f, static_cast<TDockEx*>(f->FindComponent("Dock")), "U", 1, 1);
    auto* b0 = Button(f, "TB0");
    auto* b1 = Button(f, "TB1");
    auto* b2 = Button(f, "TB2");
    auto* other = Button(f, "UB0");
    for (auto* b : {b0, b1, b2, other}) b->SetGroupIndex(1);

    b0->SetDown(true);
    EXPECT_TRUE(b0->Down());
    EXPECT_EQ(b0->State(), bsExclusive);
    other->SetDown(true);
    EXPECT_TRUE(b0->Down()) << "a button of another toolbar is not in the same group";
    b1->SetDown(true);
    EXPECT_FALSE(b0->Down());
    EXPECT_EQ(b0->State(), bsUp);
    EXPECT_TRUE(b1->Down());

    b1->SetDown(false);
    EXPECT_TRUE(b1->Down()) << "without AllowAllUp the down button stays down";
    b1->Click();
    EXPECT_TRUE(b1->Down()) << "clicking it does not raise it either";
    b2->Click();
    EXPECT_TRUE(b2->Down()) << "a click presses a grouped button";
    EXPECT_FALSE(b1->Down());

    b0->SetAllowAllUp(true);
    EXPECT_TRUE(b2->AllowAllUp()) << "AllowAllUp is copied to the whole group";
    b2->SetDown(false);
    EXPECT_FALSE(b2->Down());
    EXPECT_EQ(b2->State(), bsUp);

    auto* loose = NewControl<TToolbarButtonEx>(f, f, "Loose");
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down()) << "a button without a group is never down";
}

TEST_F(ToolbarsTest, HoverLightsOneButtonAndTheTimerUnlights) {
    TForm* f = FormWithToolbar(2);
    auto* b0 = Button(f, "TB0");
    auto* b1 = Button(f, "TB1");
    TTimer* timer = TToolbarButtonEx::ButtonMouseTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 125u);
    EXPECT_FALSE(timer->Enabled());
    int enters = 0, exits = 0;
    b0->OnMouseEnter = [&](TObject*) { ++enters; };
    b0->OnMouseExit = [&](TObject*) { ++exits; };

    MoveCursor(Centre(b0));
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b0);
    EXPECT_TRUE(b0->MouseInControl());
    EXPECT_EQ(b0->State(), bsMouseIn);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(enters, 1);
    TCanvas* c = Painted(b0);
    EXPECT_EQ(PixelAt(c, 0, 0), ColorToRGB(clBtnHighlight)) << "a lit flat button shows its border";

    MoveCursor(Centre(b1));
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b1);
    EXPECT_FALSE(b0->MouseInControl());
    EXPECT_EQ(b0->State(), bsUp);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(PixelAt(Painted(b0), 0, 0), ColorToRGB(clBtnFace)) << "no border once unlit";

    // Off every window: no event arrives, the timer's next tick unlights.
    QCursor::setPos(790, 590);
    ASSERT_TRUE(timer->OnTimer);
    timer->OnTimer(timer);
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr);
    EXPECT_FALSE(b1->MouseInControl());
    EXPECT_FALSE(timer->Enabled());

    // Deactivating the application unlights, unless ShowBorderWhenInactive.
    MoveCursor(Centre(b0));
    ASSERT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b0);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr);
    MoveCursor(Centre(b1));
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr) << "no lighting while inactive";
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QApplication::sendEvent(qApp, &active);
    MoveCursor(Centre(b1));
    ASSERT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b1);
    b1->ShowBorderWhenInactive = true;
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b1);
    QApplication::sendEvent(qApp, &active);
    CloseForms();
}

TEST_F(ToolbarsTest, DestroyingTheLitButtonStopsTheSharedTimer) {
    TForm* f = FormWithToolbar(2);
    auto* b0 = Button(f, "TB0");
    MoveCursor(Centre(b0));
    ASSERT_EQ(TToolbarButtonEx::ButtonMouseInControl(), b0);
    delete b0;
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr);
    EXPECT_FALSE(TToolbarButtonEx::ButtonMouseTimer()->Enabled());
    TToolbarButtonEx::ButtonMouseTimer()->OnTimer(nullptr); // must not touch the freed button
    EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr);
}

TEST_F(ToolbarsTest, RepeatingButtonFiresAtOnceThenAfterDelayThenEveryInterval) {
    TForm* f = FormWithToolbar(2);
    auto* b = Button(f, "TB0");
    b->Repeating = true;
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    MoveCursor(Centre(b));
    SendMouse(b->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(clicks, 1) << "the first click comes at once";
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_TRUE(b->RepeatTimer()->Enabled());
    EXPECT_EQ(b->RepeatTimer()->Interval(), 400u);
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(clicks, 3);

    MoveCursor(Centre(Button(f, "TB1")));
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(clicks, 3) << "no click while the cursor is outside";
    EXPECT_FALSE(b->RepeatTimer()->Enabled());
    SendMouse(b->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(b->RepeatTimer(), nullptr) << "released with the button";
    EXPECT_EQ(clicks, 3) << "the release of a repeating button does not click";
    CloseForms();
}

TEST_F(ToolbarsTest, GlyphCellsPerState) {
    TForm* f = FormWithToolbar(1);
    auto* b = Button(f, "TB0");
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    b->SetDisplayMode(dmGlyphOnly);
    const std::vector<TColor> cells = {clRed, clGreen, clBlue, clYellow};
    TBitmap strip;
    PaintStrip(strip, cells);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 4) << "counted from the strip's shape";
    EXPECT_EQ(b->GlyphObject()->GlyphSize(), TSize(16, 16));
    EXPECT_EQ(b->GlyphObject()->TransparentColor(), clFuchsia);

    // Up: cell 0 at (4, 3), the fuchsia ground left out.
    TCanvas* c = Painted(b);
    EXPECT_EQ(PixelAt(c, 4 + 5, 3 + 5), clRed);
    EXPECT_EQ(PixelAt(c, 4, 3), ColorToRGB(clBtnFace));
    // Disabled: the strip's own cell 1.
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), bsDisabled);
    EXPECT_EQ(PixelAt(Painted(b), 4 + 5, 3 + 5), clGreen);
    b->SetEnabled(true);
    // Down in a group: cell 3, one pixel right and down, on the dither.
    b->SetDown(true);
    c = Painted(b);
    EXPECT_EQ(PixelAt(c, 5 + 5, 4 + 5), clYellow);
    EXPECT_EQ(PixelAt(c, 2, 2), ColorToRGB(clBtnHighlight)) << "dither: equal parity";
    EXPECT_EQ(PixelAt(c, 3, 2), ColorToRGB(clBtnFace)) << "dither: unequal parity";
    b->SetDown(false);
    // Pressed: cell 2.
    SendMouse(b->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(b->State(), bsDown);
    EXPECT_EQ(PixelAt(Painted(b), 5 + 5, 4 + 5), clBlue);
    SendMouse(b->Widget(), QEvent::MouseButtonRelease, QPoint(50, 50), Qt::LeftButton, Qt::NoButton);
    // Mouse-in without a fifth cell: cell 0.
    MoveCursor(Centre(b));
    EXPECT_EQ(b->State(), bsMouseIn);
    EXPECT_EQ(PixelAt(Painted(b), 4 + 5, 3 + 5), clRed);
}

TEST_F(ToolbarsTest, GeneratedDisabledImageIsEmbossed) {
    TForm* f = FormWithToolbar(1);
    auto* b = Button(f, "TB0");
    b->SetDisplayMode(dmGlyphOnly);
    TBitmap g;
    PaintStrip(g, {clNavy});
    g.Canvas()->Brush()->SetColor(clWhite);
    g.Canvas()->FillRect(Bounds(6, 6, 2, 2));
    b->SetGlyph(&g);
    b->SetEnabled(false);
    TCanvas* c = Painted(b);
    const int gx = 4, gy = 3;
    EXPECT_EQ(PixelAt(c, gx + 3, gy + 3), ColorToRGB(clBtnShadow)) << "the shape in the shadow colour";
    EXPECT_EQ(PixelAt(c, gx + 13, gy + 13), ColorToRGB(clBtnHighlight)) << "its copy one pixel right and down";
    EXPECT_EQ(PixelAt(c, gx + 2, gy + 2), ColorToRGB(clBtnFace)) << "the transparent ground";
    EXPECT_EQ(PixelAt(c, gx + 7, gy + 7), ColorToRGB(clBtnFace)) << "white belongs to the ground in the new style";
    b->SetOldDisabledStyle(true);
    EXPECT_EQ(PixelAt(Painted(b), gx + 7, gy + 7), ColorToRGB(clBtnShadow)) << "the classic look embosses white too";
}

TEST_F(ToolbarsTest, EmptyGlyphIsNoGlyph) {
    TForm* f = FormWithToolbar(1);
    auto* b = Button(f, "TB0");
    const TSize shapes[] = {{0, 0}, {16, 0}, {0, 16}};
    for (TSize s : shapes) {
        TBitmap g;
        g.SetSize(s.cx, s.cy);
        b->SetGlyph(&g);
        EXPECT_EQ(b->NumGlyphs(), 1);
        EXPECT_EQ(b->GlyphObject()->GlyphSize(), TSize(0, 0));
        b->SetEnabled(false);
        EXPECT_EQ(PixelAt(Painted(b), 11, 10), ColorToRGB(clBtnFace));
        b->SetEnabled(true);
    }
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 5);
    TBitmap narrow;
    PaintStrip(narrow, {clRed});
    narrow.SetWidth(3);
    b->SetGlyph(&narrow);
    b->SetNumGlyphs(5);
    EXPECT_EQ(b->GlyphObject()->GlyphSize(), TSize(0, 0)) << "cells narrower than a pixel are no glyph";
    Painted(b);
}

TEST_F(ToolbarsTest, ContentLayout) {
    TForm* f = MakeForm();
    TImageList& images = *NewComponent<TImageList>(f, "Images");
    images.SetSize(16, 16);
    TBitmap picture;
    PaintStrip(picture, {clRed});
    images.AddMasked(&picture, clFuchsia);
    struct Case {
        const char* what;
        int width, height;
        TButtonLayout layout;
        int margin;
        bool dropdown;
        TPoint glyph;
        TPoint arrow;
    };
    const Case cases[] = {
        {"glyph only, centred", 23, 22, blGlyphLeft, -1, false, {4, 3}, {}},
        {"given margin, glyph right", 23, 22, blGlyphRight, 2, false, {4, 3}, {}},
        {"glyph top, centred", 23, 40, blGlyphTop, -1, false, {4, 12}, {}},
        {"with a drop-down arrow", 32, 22, blGlyphLeft, -1, true, {4, 3}, {20, 9}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto* b = NewControl<TToolbarButtonEx>(f, f, "B");
        b->SetBounds(0, 0, k.width, k.height);
        b->SetDisplayMode(dmGlyphOnly);
        b->SetImages(&images);
        b->SetImageIndex(0);
        b->SetLayout(k.layout);
        b->SetMargin(k.margin);
        b->SetDropdownAlways(k.dropdown);
        TButtonContentLayout L = b->ContentLayout();
        EXPECT_EQ(L.ContentArea, Rect(1, 1, k.width - 1, k.height - 1));
        EXPECT_EQ(L.GlyphPos, k.glyph);
        if (k.dropdown) {
            EXPECT_EQ(L.ArrowPos, k.arrow);
        }
        EXPECT_EQ(PixelAt(Painted(b), k.glyph.x + 5, k.glyph.y + 5), clRed);
        delete b;
    }
    // Down, the content moves one pixel right and down.
    auto* b = NewControl<TToolbarButtonEx>(f, f, "Grouped");
    b->SetGroupIndex(3);
    b->SetImages(&images);
    b->SetImageIndex(0);
    b->SetDown(true);
    EXPECT_EQ(b->ContentLayout().GlyphPos, TPoint(5, 4));
}

TEST_F(ToolbarsTest, SetImageIndexRepaintsOnlyOnChange) {
    TForm* f = MakeForm();
    TImageList& images = RedBlueImages(f);
    auto* b = NewControl<CountingButton>(f, f, "B");
    b->SetImages(&images);
    b->SetImageIndex(0);
    Pump();
    EXPECT_EQ(PixelAt(b->Canvas(), 9, 8), clRed);
    int before = b->paints;
    b->SetImageIndex(0);
    Pump();
    EXPECT_EQ(b->paints, before);
    b->SetImageIndex(1);
    Pump();
    EXPECT_GT(b->paints, before);
    EXPECT_EQ(PixelAt(b->Canvas(), 9, 8), clBlue);
}

TEST_F(ToolbarsTest, ActionLinkDrivesDownImageAndClick) {
    TForm* f = MakeForm();
    TImageList& images = RedBlueImages(f);
    auto* list = NewComponent<TActionList>(f, "Actions");
    auto* action = NewComponent<TAction>(f, "Mode");
    action->SetActionList(list);
    action->SetCaption("Режим"_a);
    action->SetImageIndex(1);
    action->SetChecked(true);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* b = NewControl<TToolbarButtonEx>(f, f, "B");
    b->SetImages(&images);
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    b->SetAction(action);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(b->ImageIndex(), 1);
    EXPECT_EQ(b->Caption(), "Режим"_a);
    action->SetChecked(false);
    EXPECT_FALSE(b->Down());
    action->SetImageIndex(0);
    EXPECT_EQ(b->ImageIndex(), 0);
    action->SetEnabled(false);
    EXPECT_EQ(b->State(), bsDisabled);
    action->SetEnabled(true);
    b->Click();
    EXPECT_EQ(executed, 1);

    auto* copy = NewComponent<TAction>(f, "Copy");
    b->SetDown(true);
    b->AssignTo(copy);
    EXPECT_TRUE(copy->Checked());
    CloseForms();
}

TEST_F(ToolbarsTest, DropdownMenuOpensBesideTheButtonByDock) {
    TForm* f = MakeForm();
    auto* menu = NewComponent<RecordingMenu>(f, "Menu");
    struct Case {
        TDockPosition position;
        TPopupAlignment alignment;
        bool right;  // opens at the button's right edge
        bool below;  // opens at the button's bottom edge
    };
    const Case cases[] = {{dpTop, paLeft, false, true}, {dpLeft, paLeft, true, false}, {dpRight, paRight, false, false}};
    int n = 0;
    for (const Case& k : cases) {
        TDockEx* dock = AddDock(f, AnsiString("Dock") + IntToStr(n));
        dock->SetPosition(k.position);
        TToolbarEx* t = AddToolbar(f, dock, AnsiString("T") + IntToStr(n), 1);
        auto* b = static_cast<TToolbarButtonEx*>(t->Controls(0));
        b->SetDropdownMenu(menu);
        int clicks = 0;
        b->OnClick = [&](TObject*) { ++clicks; };
        menu->Alignment = paCenter;
        b->Click();
        EXPECT_EQ(menu->shown, n + 1);
        TPoint origin = b->ClientToScreen(TPoint(0, 0));
        EXPECT_EQ(menu->at, TPoint(origin.x + (k.right ? b->Width() : 0), origin.y + (k.below ? b->Height() : 0))) << n;
        EXPECT_EQ(menu->alignment, k.alignment) << n;
        EXPECT_EQ(menu->Alignment, paCenter) << "the menu's alignment is restored";
        EXPECT_EQ(clicks, 1) << "a drop-down button clicks before its menu opens";
        ++n;
    }
    CloseForms();
}

// A combo button pressed on its arrow part pushes that part only: the main
// part keeps its raised edge and its content stays in place while the menu
// is open; pressed on the main part, the main part is pushed and its content
// moves. The arrow part's edge runs from width - 11 to width - 2.
TEST_F(ToolbarsTest, ComboPressOnTheArrowPartLeavesTheMainPartUp) {
    TForm* f = MakeForm();
    TImageList& images = RedBlueImages(f);
    struct SeenMenu : TPopupMenu {
        using TPopupMenu::TPopupMenu;
        void Popup(int, int) override { seen(); }
        std::function<void()> seen;
    };
    auto* menu = NewComponent<SeenMenu>(f, "Menu");
    auto* b = NewControl<TToolbarButtonEx>(f, f, "Combo");
    b->SetBounds(10, 10, 23, 22);
    b->SetDisplayMode(dmGlyphOnly);
    b->SetImages(&images);
    b->SetImageIndex(0);
    b->SetDropdownMenu(menu);
    b->SetDropdownCombo(true);
    ASSERT_EQ(b->Width(), 34);
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight), face = ColorToRGB(clBtnFace);
    struct Seen {
        TPoint glyph;
        TColor mainCorner, comboCorner, comboRight, lastColumn;
    };
    auto look = [&] {
        TCanvas* c = Painted(b);
        return Seen{b->ContentLayout().GlyphPos, c->Pixels(0, 0), c->Pixels(23, 0), c->Pixels(31, 10), c->Pixels(33, 10)};
    };
    Seen atMenu{};
    int menus = 0;
    menu->seen = [&] {
        ++menus;
        atMenu = look();
    };
    SendMouse(b->Widget(), QEvent::MouseButtonPress, QPoint(30, 10), Qt::LeftButton, Qt::LeftButton);
    SendMouse(b->Widget(), QEvent::MouseButtonRelease, QPoint(30, 10), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(menus, 1);
    EXPECT_EQ(atMenu.glyph, TPoint(4, 3)) << "the main part's content stays";
    EXPECT_EQ(atMenu.mainCorner, light) << "the main part stays raised";
    EXPECT_EQ(atMenu.comboCorner, shadow) << "the arrow part is pushed";
    EXPECT_EQ(atMenu.comboRight, light);
    EXPECT_EQ(atMenu.lastColumn, face) << "the arrow part ends before the last two columns";
    Pump(); // the closing click's events are through

    SendMouse(b->Widget(), QEvent::MouseButtonPress, QPoint(5, 10), Qt::LeftButton, Qt::LeftButton);
    const Seen pressed = look();
    SendMouse(b->Widget(), QEvent::MouseButtonRelease, QPoint(5, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(menus, 1) << "the main part clicks without the menu";
    EXPECT_EQ(pressed.glyph, TPoint(5, 4));
    EXPECT_EQ(pressed.mainCorner, shadow);
    EXPECT_EQ(pressed.comboCorner, light) << "the arrow part stays up";
    CloseForms();
}

TEST_F(ToolbarsTest, DefaultAndCancelAnswerEnterAndEscape) {
    TForm* f = MakeForm();
    auto* ok = NewControl<TToolbarButtonEx>(f, f, "Ok");
    auto* cancel = NewControl<TToolbarButtonEx>(f, f, "Cancel");
    ok->Default = true;
    cancel->Cancel = true;
    ok->ModalResult = mrOk;
    std::vector<std::string> log;
    ok->OnClick = [&](TObject*) { log.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { log.push_back("cancel"); };
    EXPECT_NE(f->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
    EXPECT_EQ(f->ModalResult, mrOk) << "a normal click sets the form's modal result";
    f->ModalResult = mrNone;
    EXPECT_NE(f->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
    EXPECT_EQ(f->Perform(CM_DIALOGKEY, VK_ESCAPE, ssCtrl), 0) << "not with a shift key";
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel"}));
    CloseForms();
}
