#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "controls/gui/EXCtrls.h"

namespace {

struct Label : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 300, 200);
        label = NewControl<TExLabel>(form, form, "Label1");
        label->SetLeft(10);
        label->SetTop(10);
    }
    TForm* form = nullptr;
    TExLabel* label = nullptr;
};

TEST_F(Label, ShadowTextMeasuresTextAndShadowTogether) {
    TBitmap b;
    b.SetSize(200, 50);
    TCanvas* c = b.Canvas();
    c->Font()->SetColor(clBlack);
    TRect plain = Rect(10, 10, 10, 10);
    c->DrawText("Text", plain, DT_CALCRECT);
    for (auto [pos, dx, dy] : {std::tuple{spLeftTop, -2, -2}, std::tuple{spRightBottom, 2, 2},
                               std::tuple{spLeftBottom, -2, 2}, std::tuple{spRightTop, 2, -2}}) {
        TRect r = Rect(10, 10, 10, 10);
        int h = DrawShadowText(c, "Text", r, DT_CALCRECT, 2, clWhite, pos);
        EXPECT_EQ(h, plain.Height() + 2);
        EXPECT_EQ(r.Left, std::min(10, 10 + dx));
        EXPECT_EQ(r.Top, std::min(10, 10 + dy));
        EXPECT_EQ(r.Right, std::max(plain.Right, plain.Right + dx));
        EXPECT_EQ(r.Bottom, std::max(plain.Bottom, plain.Bottom + dy));
    }
    EXPECT_EQ(c->Font()->Color(), clBlack); // the text colour is put back
}

TEST_F(Label, AutoSizeFollowsTextShadowAndMargins) {
    label->SetShadowPos(spRightBottom);
    label->SetShadowSize(0);
    label->SetCaption("Название"_a);
    int w0 = label->Width(), h0 = label->Height();
    label->SetShadowSize(2);
    EXPECT_EQ(label->Width(), w0 + 2);
    EXPECT_EQ(label->Height(), h0 + 2);
    label->SetLeftMargin(-5);
    EXPECT_EQ(label->LeftMargin(), 0);
    label->SetLeftMargin(4);
    label->SetRightMargin(6);
    EXPECT_EQ(label->Width(), w0 + 2 + 10);
    label->SetCaption("");
    EXPECT_EQ(label->Height(), h0 + 2); // an empty caption keeps one line
    EXPECT_GT(label->Width(), 10);
    // Right alignment keeps the right edge.
    label->SetCaption("x");
    label->SetAlignment(taRightJustify);
    int right = label->Left() + label->Width();
    label->SetCaption("a longer caption");
    EXPECT_EQ(label->Left() + label->Width(), right);
}

// The text and its shadow stay a pixel inside the label on every side, so a
// shadow towards the top or the left is not cut off.
TEST_F(Label, TextAndShadowStayInsideTheLabel) {
    form->Show();
    label->SetCaption("Abc");
    for (TShadowPosition pos : {spLeftTop, spLeftBottom, spRightBottom, spRightTop}) {
        label->SetShadowPos(pos);
        // The size is measured again when the shadow's size changes.
        label->SetShadowSize(0);
        label->SetShadowSize(1);
        std::vector<TRect> drawn;
        label->Canvas()->OnText = [&](const TCanvasText& t) { drawn.push_back(t.Box); };
        label->Repaint();
        ASSERT_EQ(drawn.size(), 2u) << pos;
        const int dx = pos == spLeftTop || pos == spLeftBottom ? -1 : 1;
        const int dy = pos == spLeftTop || pos == spRightTop ? -1 : 1;
        // The shadow first, then the text a pixel in from the top-left corner.
        EXPECT_EQ(drawn[1].Left, 1) << pos;
        EXPECT_EQ(drawn[1].Top, 1) << pos;
        EXPECT_EQ(drawn[0].Left, 1 + dx) << pos;
        EXPECT_EQ(drawn[0].Top, 1 + dy) << pos;
        // Auto size leaves the pixel free at the right and the bottom too.
        EXPECT_EQ(label->Width(), drawn[1].Width() + 2 + std::max(dx, 0)) << pos;
        EXPECT_EQ(label->Height(), drawn[1].Height() + 2 + std::max(dy, 0)) << pos;
    }
    label->Canvas()->OnText = nullptr;
}

TEST_F(Label, DisabledTextIsEtchedEvenWithoutAShadow) {
    form->Show();
    label->SetCaption("Abc");
    label->SetShadowSize(0);
    std::vector<std::pair<TRect, TColor>> drawn;
    label->Canvas()->OnText = [&](const TCanvasText& t) { drawn.emplace_back(t.Box, t.FontColor); };
    label->Repaint();
    ASSERT_EQ(drawn.size(), 2u); // size 0: the shadow lies under the text
    EXPECT_EQ(drawn[0].first, drawn[1].first);
    drawn.clear();
    label->SetEnabled(false);
    label->Repaint();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].second, ColorToRGB(clBtnHighlight));
    EXPECT_EQ(drawn[1].second, clGrayText);
    EXPECT_EQ(drawn[0].first.Left, drawn[1].first.Left + 1);
    EXPECT_EQ(drawn[0].first.Top, drawn[1].first.Top + 1);
    label->Canvas()->OnText = nullptr;
}

TEST_F(Label, LeaveWaitsWhileTheButtonIsHeld) {
    ASSERT_TRUE(ShowActive(form));
    std::vector<std::string> log;
    label->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
    label->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
    label->Perform(CM_MOUSEENTER);
    ASSERT_EQ(log, std::vector<std::string>{"enter"});
    label->MouseDown(mbLeft, 0, 1, 1);
    label->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(log, std::vector<std::string>{"enter"}); // held back while dragging
    QCursor::setPos(label->ClientToScreen(TPoint(-50, -50)).x, label->ClientToScreen(TPoint(-50, -50)).y);
    label->MouseUp(mbLeft, 0, 1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_FALSE(label->MouseInside());
}

TEST_F(Label, FocusControlIsForgottenWhenRemovedAndTransparencyIsAStyle) {
    auto* edit = NewControl<TEdit>(form, form, "Edit1");
    label->SetFocusControl(edit);
    EXPECT_EQ(label->FocusControl(), edit);
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_FALSE(label->Transparent());
    label->SetTransparent(true);
    EXPECT_FALSE(label->ControlStyle & csOpaque);
    TExLabel fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 65);
    EXPECT_EQ(fresh.Height(), 17);
}

TEST_F(Label, AcceleratorFocusesTheFocusControl) {
    form->Show();
    auto* edit = NewControl<TEdit>(form, form, "Edit1");
    label->SetCaption("&Имя"_a);
    label->SetFocusControl(edit);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>("и"_a[1]))), 1);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x'), 0);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, WPARAM(static_cast<unsigned char>("и"_a[1]))), 0);
}

} // namespace
