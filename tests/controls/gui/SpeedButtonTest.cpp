#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "controls/CtlUtils.h"
#include "controls/gui/EXCtrls.h"

namespace {

std::unique_ptr<TBitmap> Glyph(int w, int h, TColor color) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(2, 2, w - 2, h - 2));
    return b;
}

// An image list of 16 x 16 pictures: picture 0 a red square from (2, 2) to
// (13, 13) on a left-out background.
std::unique_ptr<TImageList> Images() {
    auto list = std::make_unique<TImageList>();
    list->SetSize(16, 16);
    auto picture = Glyph(16, 16, clRed);
    list->AddMasked(picture.get(), clFuchsia);
    return list;
}

// A drop-down menu that counts its openings; while it is open the user
// clicks the button that opened it, which closes it.
class ClosedByClickMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int, int) override {
        ++shown;
        if (!clickOn) return;
        QWidget* w = clickOn->Widget();
        QPoint p(5, 5);
        QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, QPointF(p), QPointF(w->mapToGlobal(p)),
                                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(p),
                                                       QPointF(w->mapToGlobal(p)), Qt::LeftButton, Qt::NoButton,
                                                       Qt::NoModifier));
    }
    TControl* clickOn = nullptr;
    int shown = 0;
};

struct Speed : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 300, 200);
    }
    TExSpeedButton* Button(const char* name) {
        auto* b = NewControl<TExSpeedButton>(form, form, name);
        b->OnClick = [this, name](TObject*) { clicks.push_back(name); };
        return b;
    }
    static void Press(TExSpeedButton* b) {
        b->MouseDown(mbLeft, 0, 5, 5);
        b->MouseUp(mbLeft, 0, 5, 5);
    }
    TForm* form = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(Speed, NumberOfGlyphsFollowsTheShape) {
    auto* b = Button("B1");
    auto four = Glyph(64, 16, clRed);
    b->SetGlyph(four.get());
    EXPECT_EQ(b->NumGlyphs(), 4);
    auto six = Glyph(96, 16, clRed);
    b->SetGlyph(six.get());
    EXPECT_EQ(b->NumGlyphs(), 1); // 6 cells exceed 5
    b->SetNumGlyphs(3);
    auto odd = Glyph(50, 16, clRed);
    b->SetGlyph(odd.get());
    EXPECT_EQ(b->NumGlyphs(), 3); // not a multiple of the height: unchanged
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->NumGlyphs(), 3);
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 5);
}

TEST_F(Speed, GroupsKeepOneButtonDownUnlessAllMayBeUp) {
    TExSpeedButton* b[3] = {Button("a"), Button("b"), Button("c")};
    for (auto* x : b) x->SetGroupIndex(1);
    Press(b[0]);
    EXPECT_TRUE(b[0]->Down());
    Press(b[1]);
    EXPECT_TRUE(b[1]->Down());
    EXPECT_FALSE(b[0]->Down());
    Press(b[1]); // the down one stays down
    EXPECT_TRUE(b[1]->Down());
    EXPECT_EQ(clicks, (std::vector<std::string>{"a", "b", "b"}));
    b[2]->SetAllowAllUp(true); // the whole group takes it
    EXPECT_TRUE(b[1]->AllowAllUp());
    Press(b[1]);
    EXPECT_FALSE(b[1]->Down());
    auto* loose = Button("d");
    loose->SetDown(true); // no group: never down
    EXPECT_FALSE(loose->Down());
}

TEST_F(Speed, HeldButtonRepeatsAfterThePause) {
    auto* b = Button("r");
    b->SetAllowTimer(true);
    b->MouseDown(mbLeft, 0, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 500u);
    EXPECT_TRUE(clicks.empty());
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(clicks.size(), 2u);
    b->MouseMove(0, 100, 100); // outside: shown up, no repeats
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(clicks.size(), 2u);
    b->MouseUp(mbLeft, 0, 100, 100); // released outside: no click
    EXPECT_FALSE(b->RepeatTimer()->Enabled());
    EXPECT_EQ(clicks.size(), 2u);
    b->SetAllowTimer(false);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
}

TEST_F(Speed, FlatInactiveGlyphIsGrayedOnlyWithGrayedInactive) {
    EXPECT_EQ(GrayedColor(RGB(255, 0, 0), clFuchsia), RGB(76, 76, 76));
    EXPECT_EQ(GrayedColor(clFuchsia, clFuchsia), clFuchsia);
    EXPECT_EQ(GrayedColor(clBtnFace, clFuchsia), ColorToRGB(clBtnFace));
    ASSERT_TRUE(ShowActive(form));
    // The pointer away from the form: on a desktop it is wherever it was left.
    const TPoint away = form->ClientToScreen(TPoint(form->ClientWidth() + 200, form->ClientHeight() + 200));
    QCursor::setPos(away.x, away.y);
    auto* b = Button("f");
    b->SetBounds(10, 10, 40, 40);
    auto g = Glyph(16, 16, clRed);
    b->SetGlyph(g.get());
    b->SetFlat(true);
    EXPECT_EQ(b->PaintState(), rbsInactive);
    b->Repaint();
    TColor centre = b->Canvas()->Pixels(20, 20);
    EXPECT_EQ(centre, RGB(76, 76, 76));
    b->SetGrayedInactive(false);
    b->Repaint();
    EXPECT_EQ(b->Canvas()->Pixels(20, 20), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), ColorToRGB(clBtnFace)); // no frame without the mouse
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->PaintState(), rbsUp);
}

TEST_F(Speed, DisabledGlyphKeepsTheShapeOfItsFigure) {
    form->Show();
    auto* b = Button("d");
    b->SetBounds(10, 10, 40, 40);
    auto g = Glyph(16, 16, clRed); // a 12 x 12 figure on a transparent border of 2
    b->SetGlyph(g.get());
    b->SetEnabled(false);
    b->Repaint();
    const TColor shadow = ColorToRGB(clBtnShadow);
    const TColor highlight = ColorToRGB(clBtnHighlight);
    const TColor face = ColorToRGB(clBtnFace);
    TCanvas* c = b->Canvas();
    // Inside the button's edges, the glyph sits where its figure's first shadow pixel says.
    const int inner = 4;
    int gx = -1, gy = -1;
    for (int y = inner; y < b->Height() - inner && gx < 0; ++y)
        for (int x = inner; x < b->Width() - inner && gx < 0; ++x)
            if (c->Pixels(x, y) == shadow) {
                gx = x - 2;
                gy = y - 2;
            }
    ASSERT_GE(gx, 0);
    auto inFigure = [](int x, int y) { return x >= 2 && x < 14 && y >= 2 && y < 14; };
    std::string seen, expected;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            TColor p = c->Pixels(gx + x, gy + y);
            seen += p == shadow ? '#' : p == highlight ? '+' : p == face ? '.' : '?';
            expected += inFigure(x, y) ? '#' : inFigure(x - 1, y - 1) ? '+' : '.';
        }
        seen += '\n';
        expected += '\n';
    }
    EXPECT_EQ(seen, expected);
    int shadows = 0;
    for (int y = inner; y < b->Height() - inner; ++y)
        for (int x = inner; x < b->Width() - inner; ++x) shadows += c->Pixels(x, y) == shadow;
    EXPECT_EQ(shadows, 12 * 12) << "nothing but the figure inside the edges";
    Press(b);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(Speed, GlyphImagesShareOneListPerSize) {
    int before = GlyphCacheListCount();
    auto g = Glyph(16, 16, clRed);
    {
        TExButtonGlyph a, b;
        a.SetGlyph(g.get());
        b.SetGlyph(g.get());
        EXPECT_GE(a.CreateButtonGlyph(rbsUp), 0);
        EXPECT_GE(b.CreateButtonGlyph(rbsUp), 0);
        EXPECT_EQ(a.List(), b.List());
        EXPECT_NE(a.ImageIndex(rbsUp), b.ImageIndex(rbsUp));
        EXPECT_EQ(a.CreateButtonGlyph(rbsDown), a.ImageIndex(rbsUp)); // down is up with fewer than 3 cells
        EXPECT_EQ(GlyphCacheListCount(), before + 1);
        TExButtonGlyph empty;
        EXPECT_EQ(empty.CreateButtonGlyph(rbsUp), -1);
    }
    EXPECT_EQ(GlyphCacheListCount(), before);
}

TEST_F(Speed, ALongCaptionIsCutWithDots) {
    TExButtonGlyph glyph;
    TBitmap b;
    b.SetSize(10, 10);
    AnsiString caption = "A caption far wider than the button";
    TPoint glyphPos;
    TRect text;
    glyph.CalcButtonLayout(b.Canvas(), Rect(0, 0, 60, 20), TPoint(), caption, blGlyphTop, -1, 1, false, glyphPos,
                           text, 0);
    EXPECT_EQ(caption.SubString(caption.Length() - 2, 3), AnsiString("..."));
    EXPECT_LE(text.Width(), 60);
    glyph.WordWrap = true;
    AnsiString wrapped = "A caption far wider than the button";
    glyph.CalcButtonLayout(b.Canvas(), Rect(0, 0, 60, 200), TPoint(), wrapped, blGlyphTop, -1, 1, false, glyphPos,
                           text, 0);
    EXPECT_EQ(wrapped, AnsiString("A caption far wider than the button"));
}

TEST_F(Speed, ModalResultReachesTheForm) {
    auto* b = Button("ok");
    b->ModalResult = mrOk;
    b->Click();
    EXPECT_EQ(form->ModalResult, mrOk);
    b->ButtonClick();
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "ok"}));
    EXPECT_EQ(b->FState(), rbsUp);
}

TEST_F(Speed, DropDownMarkerAndMenuPosition) {
    auto* b = Button("m");
    b->SetBounds(0, 0, 30, 20);
    auto* menu = new TPopupMenu(form);
    menu->AutoPopup = false;
    b->SetDropDownMenu(menu);
    EXPECT_EQ(b->GetDropDownMenuPos(), TPoint(-1, 20));
    menu->Alignment = paRight;
    EXPECT_EQ(b->GetDropDownMenuPos(), TPoint(31, 20));
    b->MenuPosition = dmpRight;
    EXPECT_EQ(b->GetDropDownMenuPos(), TPoint(-1, -1));
    EXPECT_FALSE(b->CheckBtnMenuDropDown(false)); // auto-popup off: only on request
    delete menu;
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

TEST_F(Speed, ButtonImageDrawsAFramedButton) {
    TButtonImage image;
    auto g = Glyph(16, 16, clRed);
    image.SetGlyph(g.get());
    TBitmap b;
    b.SetSize(40, 40);
    image.Draw(b.Canvas(), 5, 5, -1, 1, blGlyphLeft, nullptr, 0);
    EXPECT_EQ(b.Canvas()->Pixels(5, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b.Canvas()->Pixels(28, 27), ColorToRGB(clWindowFrame));
    EXPECT_EQ(b.Canvas()->Pixels(17, 16), clRed);
}

TEST_F(Speed, ImageListPicturesAreDrawnInEveryState) {
    auto images = Images();
    struct Case {
        TExButtonState state;
        TColor inside;  // a pixel of the figure
        TColor beside;  // the pixel right of the figure's right edge
    };
    const Case cases[] = {
        {rbsUp, clRed, ColorToRGB(clBtnFace)},
        {rbsExclusive, clRed, ColorToRGB(clBtnFace)},
        {rbsInactive, RGB(76, 76, 76), ColorToRGB(clBtnFace)},
        {rbsDisabled, ColorToRGB(clBtnShadow), ColorToRGB(clBtnHighlight)},
    };
    for (const Case& c : cases) {
        TExButtonGlyph glyph;
        TBitmap b;
        b.SetSize(40, 40);
        b.Canvas()->Brush()->SetColor(clBtnFace);
        b.Canvas()->FillRect(Rect(0, 0, 40, 40));
        // A 16 x 16 picture centred in 40 x 40: its top-left corner at (12, 12),
        // the figure from (14, 14) to (25, 25).
        glyph.DrawEx(b.Canvas(), Rect(0, 0, 40, 40), TPoint(), AnsiString(), blGlyphTop, -1, 1, false, images.get(), 0,
                     c.state, 0);
        EXPECT_EQ(b.Canvas()->Pixels(20, 20), c.inside) << c.state;
        EXPECT_EQ(b.Canvas()->Pixels(26, 20), c.beside) << c.state;
        EXPECT_EQ(b.Canvas()->Pixels(13, 20), ColorToRGB(clBtnFace)) << c.state; // the mask leaves the rest out
    }
    // Without a picture of that index the glyph is drawn (here: none).
    TExButtonGlyph glyph;
    TBitmap b;
    b.SetSize(40, 40);
    glyph.DrawEx(b.Canvas(), Rect(0, 0, 40, 40), TPoint(), AnsiString(), blGlyphTop, -1, 1, false, images.get(), 5,
                 rbsUp, 0);
    EXPECT_EQ(b.Canvas()->Pixels(20, 20), clWhite);
}

TEST_F(Speed, DisabledImageListPictureTakesItsColours) {
    auto images = Images();
    for (bool highlight : {true, false}) {
        TBitmap b;
        b.SetSize(20, 20);
        b.Canvas()->Brush()->SetColor(clYellow);
        b.Canvas()->FillRect(Rect(0, 0, 20, 20));
        ImageListDrawDisabled(images.get(), b.Canvas(), 0, 0, 0, clBlue, clGreen, highlight);
        EXPECT_EQ(b.Canvas()->Pixels(13, 13), clGreen);
        EXPECT_EQ(b.Canvas()->Pixels(14, 3), highlight ? clBlue : clYellow);
        EXPECT_EQ(b.Canvas()->Pixels(1, 1), clYellow);
        EXPECT_EQ(b.Canvas()->Brush()->Color(), clYellow);
    }
}

TEST_F(Speed, LayoutHalvesRoundTowardZero) {
    auto g = Glyph(16, 16, clRed);
    auto small = std::make_unique<TImageList>();
    small->SetSize(10, 10);
    struct Case {
        int w, h;
        TButtonLayout layout;
        bool images;
        TPoint glyph;
    };
    const Case cases[] = {
        {41, 41, blGlyphTop, false, TPoint(12, 12)},
        {41, 30, blGlyphLeft, false, TPoint(12, 7)},
        {40, 25, blGlyphBottom, false, TPoint(12, 5)},
        {40, 25, blGlyphRight, false, TPoint(12, 4)},
        {11, 11, blGlyphTop, false, TPoint(-2, -2)},
        {41, 41, blGlyphTop, true, TPoint(15, 15)},
    };
    TBitmap b;
    b.SetSize(10, 10);
    for (const Case& c : cases) {
        TExButtonGlyph glyph;
        glyph.SetGlyph(g.get());
        AnsiString caption;
        TPoint at;
        TRect text;
        glyph.CalcButtonLayout(b.Canvas(), Rect(0, 0, c.w, c.h), TPoint(), caption, c.layout, -1, 1, false, at, text, 0,
                               c.images ? small.get() : nullptr);
        EXPECT_EQ(at, c.glyph) << c.w << "x" << c.h << " layout " << c.layout;
    }
}

TEST_F(Speed, ClosingTheMenuOnTheButtonDoesNotOpenItAgain) {
    form->Show();
    auto* b = Button("menu");
    b->SetBounds(10, 10, 30, 20);
    auto* menu = new ClosedByClickMenu(form);
    menu->clickOn = b;
    b->SetDropDownMenu(menu);
    Send(b->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    Send(b->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    ASSERT_EQ(menu->shown, 1);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(menu->shown, 1); // the closing click was dropped
    EXPECT_EQ(b->FState(), rbsUp);
    menu->clickOn = nullptr;
    Send(b->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5)); // a later press opens it
    Send(b->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, 5));
    EXPECT_EQ(menu->shown, 2);
    EXPECT_TRUE(clicks.empty()); // a button with a menu does not click
}

} // namespace
