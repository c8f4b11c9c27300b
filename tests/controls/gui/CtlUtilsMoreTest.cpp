#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <functional>

#include <QImage>
#include <QMdiArea>

#include "controls/Exconst.h"
#include "controls/gui/CtlUtils.h"
#include "platform/ExpectMessage.h"
#include "platform/gui/ExtCtrls.h"

namespace {

struct CtlWindows : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 300, 200);
        box = NewControl<TPaintBox>(form, form, "Box");
        box->SetBounds(0, 0, 200, 60);
        Clear(clWhite);
    }
    void Clear(TColor color) {
        box->Canvas()->Brush()->SetColor(color);
        box->Canvas()->FillRect(Rect(0, 0, 200, 60));
    }
    // The columns and rows holding pixels of the font colour (black).
    TRect Ink() const {
        TRect r(1000, 1000, -1, -1);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (box->Canvas()->Pixels(x, y) == clBlack) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x);
                    r.Bottom = std::max(r.Bottom, y);
                }
        return r;
    }
    TForm* form = nullptr;
    TPaintBox* box = nullptr;
};

TEST_F(CtlWindows, CenterControlInItsParentOrOnTheScreen) {
    auto* panel = NewControl<TPanel>(form, form, "Panel");
    panel->SetBounds(0, 0, 201, 101);
    auto* inner = NewControl<TPanel>(form, panel, "Inner");
    struct Case {
        int w, h;
        TPoint at;
    } cases[] = {
        {50, 20, {75, 40}}, {51, 21, {75, 40}}, {300, 20, {0, 40}}, {50, 400, {75, 0}},
    };
    for (const Case& c : cases) {
        inner->SetBounds(7, 7, c.w, c.h);
        CenterControl(inner);
        EXPECT_EQ(TPoint(inner->Left(), inner->Top()), c.at) << c.w << "x" << c.h;
    }
    CenterControl(form);
    EXPECT_EQ(form->Left(), (Screen->Width() - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (Screen->Height() - form->Height()) / 2);
}

TEST_F(CtlWindows, MergeFormMakesABorderlessChild) {
    auto* host = NewControl<TPanel>(form, form, "Host");
    host->SetBounds(10, 70, 200, 100);
    host->SetBevelOuter(bvNone);
    form->Show();
    struct Case {
        TAlign align;
        bool show;
    } cases[] = {{alClient, true}, {alNone, false}};
    for (const Case& c : cases) {
        TForm* guest = MakeForm();
        guest->AutoScroll = true;
        guest->SetBounds(0, 0, 80, 40);
        MergeForm(host, guest, c.align, c.show);
        EXPECT_EQ(guest->Parent(), host);
        EXPECT_EQ(guest->BorderStyle(), bsNone);
        EXPECT_EQ(guest->BorderIcons(), 0u);
        EXPECT_TRUE(guest->AutoScroll);
        EXPECT_EQ(guest->Visible(), c.show);
        EXPECT_EQ(guest->Align(), c.align);
        if (c.align == alClient) {
            EXPECT_EQ(guest->BoundsRect(), host->ClientRect());
        } else {
            // Its screen position taken into the host's client area.
            TPoint o = host->ClientOrigin();
            EXPECT_EQ(TPoint(guest->Left(), guest->Top()), TPoint(-o.x, -o.y));
        }
        Forget(guest);
        delete guest;
    }
}

TEST_F(CtlWindows, ShowAndActivateWindows) {
    ASSERT_TRUE(ShowActive(form));
    TForm* other = MakeForm();
    other->SetBounds(40, 40, 200, 120);
    ActivateWindow(other);
    EXPECT_TRUE(other->Visible());
    EXPECT_TRUE(ProcessUntil([&] { return GetActiveWindow() == other; }));
    struct Case {
        unsigned cmd;
        TWindowState state;
    } cases[] = {{SW_SHOWMAXIMIZED, wsMaximized}, {SW_RESTORE, wsNormal}, {SW_MINIMIZE, wsMinimized},
                 {SW_SHOWNORMAL, wsNormal}};
    for (const Case& c : cases) {
        ShowWinNoAnimate(other, c.cmd);
        EXPECT_TRUE(ProcessUntil([&] { return other->WindowState() == c.state; })) << c.cmd;
    }
    ShowWinNoAnimate(other, SW_HIDE);
    EXPECT_FALSE(other->Widget()->isVisible());
}

TEST_F(CtlWindows, TheFramesClientEdgeComesAndGoes) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 400, 300);
    frame->Show();
    QMdiArea* area = frame->MDIArea();
    const QRect bare = area->viewport()->geometry();
    const QColor background = area->grab().toImage().pixelColor(0, 0);
    EXPECT_FALSE(frame->MDIClientEdge());
    // A sunken two-pixel edge: the children's area shrinks inside it, and
    // the frame shows it at once.
    ShowMDIClientEdge(frame, true);
    EXPECT_TRUE(frame->MDIClientEdge());
    EXPECT_TRUE(ProcessUntil([&] { return area->viewport()->geometry() == bare.adjusted(2, 2, -2, -2); }));
    const QImage edged = area->grab().toImage();
    EXPECT_NE(edged.pixelColor(0, 0), background);
    EXPECT_NE(edged.pixelColor(area->width() - 1, area->height() - 1), background);
    EXPECT_EQ(edged.pixelColor(area->width() / 2, area->height() / 2), background);
    ShowMDIClientEdge(frame, false);
    EXPECT_FALSE(frame->MDIClientEdge());
    EXPECT_TRUE(ProcessUntil([&] { return area->viewport()->geometry() == bare; }));
    EXPECT_EQ(area->grab().toImage().pixelColor(0, 0), background);
    // A form that is no frame has no such edge.
    ShowMDIClientEdge(form, true);
    EXPECT_FALSE(form->MDIClientEdge());
    ShowMDIClientEdge(nullptr, true);
}

TEST_F(CtlWindows, MessageBoxesCarryTheirTexts) {
    port.Answer(mrYes);
    EXPECT_EQ(MsgBox("Сведения"_a, "Удалить строку?"_a, MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Last().kind, TestUiPort::kMessageBox);
    EXPECT_EQ(port.Last().text, "Удалить строку?"_a);
    EXPECT_EQ(port.Last().caption, "Сведения"_a);
    EXPECT_EQ(port.Last().flags, unsigned(MB_YESNO | MB_ICONQUESTION));
    port.Answer(mrNo);
    EXPECT_EQ(MsgDlg(ExLoadStr(SNotImplemented), mtWarning, mbYesNo, 17), mrNo);
    EXPECT_EQ(port.Last().kind, TestUiPort::kMessageDlg);
    EXPECT_EQ(port.Last().text, "Функция не реализована"_a);
    EXPECT_EQ(port.Last().type, mtWarning);
    EXPECT_EQ(port.Last().buttons, mbYesNo);
    EXPECT_EQ(port.Last().context, 17);
}

TEST_F(CtlWindows, KillMessageTakesOneQueuedMessageOut) {
    std::vector<std::pair<unsigned, WPARAM>> seen;
    TWndMethod inner = box->WindowProc;
    box->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg >= WM_USER || m.Msg == WM_QUIT) seen.emplace_back(m.Msg, m.WParam);
        inner(m);
    };
    const unsigned A = WM_USER + 1, B = WM_USER + 2;
    PostMessage(box, A, 1);
    PostMessage(box, B, 2);
    PostMessage(box, A, 3);
    PostMessage(box, WM_QUIT, 7);
    PostMessage(box, B, 4);
    KillMessage(box, A);        // the oldest A
    KillMessage(box, WM_QUIT);  // queued again, now last
    KillMessage(form, B);       // another control's: none
    Application->ProcessMessages();
    Application->ProcessMessages();
    const std::vector<std::pair<unsigned, WPARAM>> expected = {{B, 2}, {A, 3}, {B, 4}, {WM_QUIT, 7}};
    EXPECT_EQ(seen, expected);
    KillMessage(box, A); // nothing queued: nothing happens
}

TEST_F(CtlWindows, DefineCursorTakesTheFirstFreeNumber) {
    RegisterExResources();
    int first = DefineCursor(HInstance(), "EX_DRAGCUR");
    ASSERT_GE(first, 100);
    for (int n = 100; n <= first; ++n) EXPECT_TRUE(Screen->HasCursor(n)) << n;
    int second = DefineCursor(HInstance(), "ex_handcur");
    EXPECT_GT(second, first);
    ExpectMessage<EResNotFound>([] { DefineCursor(HInstance(), "NO_CURSOR"); }, "Resource NO_CURSOR not found");
}

TEST_F(CtlWindows, WriteTextPlacesTextInsideTheCell) {
    // One line in the cell (10, 0)-(90, 20) at dx 4: ink from left + 4, up
    // to 3 pixels before the right edge, or around the middle.
    struct Case {
        TAlignment align;
        const char* text;
        int minLeft, maxRight;
    } cases[] = {
        {taLeftJustify, "WW", 14, 40}, {taRightJustify, "WW", 60, 86}, {taCenter, "WW", 40, 60},
        {taLeftJustify, "WWWWWWWWWWWWWWWWWWWWWWWWWWWW", 14, 89}, // cut at the cell's edge
    };
    for (const Case& c : cases) {
        Clear(clWhite);
        box->Canvas()->Font()->SetColor(clBlack);
        WriteText(box->Canvas(), Rect(10, 0, 90, 20), 4, 2, c.text, c.align, false);
        TRect ink = Ink();
        EXPECT_GE(ink.Left, c.minLeft) << c.align;
        EXPECT_LE(ink.Right, c.maxRight) << c.align;
        EXPECT_GE(ink.Top, 2) << c.align;
    }
    // Wrapped: two lines, the whole cell on the brush, nothing outside it.
    Clear(clWhite);
    box->Canvas()->Brush()->SetColor(clYellow);
    const int word = box->Canvas()->TextWidth("WWW");
    const TRect cell = Rect(20, 5, 20 + word + 10, 55);
    WriteText(box->Canvas(), cell, 2, 2, "WWW WWW", taLeftJustify, true);
    TRect ink = Ink();
    EXPECT_GT(ink.Bottom - ink.Top, box->Canvas()->TextHeight("W"));
    EXPECT_LT(ink.Right, cell.Right);
    EXPECT_EQ(box->Canvas()->Pixels(cell.Right - 1, cell.Bottom - 1), clYellow);
    EXPECT_EQ(box->Canvas()->Pixels(cell.Right, cell.Bottom - 1), clWhite);
}

TEST_F(CtlWindows, CellTextSitsByVerticalAlignment) {
    const int line = box->Canvas()->TextHeight("W");
    const TRect cell = Rect(0, 0, 100, 40);
    int top[3];
    const TVertAlignment aligns[] = {vaTopJustify, vaCenter, vaBottomJustify};
    for (int i = 0; i < 3; ++i) {
        Clear(clWhite);
        box->Canvas()->Font()->SetColor(clBlack);
        DrawCellTextEx(box, 1, 1, "W", cell, taLeftJustify, aligns[i], false, false);
        top[i] = Ink().Top;
    }
    EXPECT_EQ(top[1] - top[0], std::max(1, (40 - line) / 2) - 2);
    EXPECT_EQ(top[2] - top[0], std::max(2, 40 - line) - 2);

    // Centred text wraps, left-aligned text does not.
    const int word = box->Canvas()->TextWidth("WWW");
    const TRect narrow = Rect(0, 0, word + 12, 50);
    struct Case {
        TAlignment align;
        bool twoLines;
    } cases[] = {{taCenter, true}, {taLeftJustify, false}};
    for (const Case& c : cases) {
        Clear(clWhite);
        DrawCellText(box, 0, 0, "WWW WWW", narrow, c.align, vaTopJustify);
        TRect ink = Ink();
        EXPECT_EQ(ink.Bottom - ink.Top + 1 > line, c.twoLines) << c.align;
    }
}

TEST_F(CtlWindows, CellBitmapIsCentred) {
    Clear(clWhite);
    TBitmap red;
    red.SetSize(4, 4);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 4, 4));
    DrawCellBitmap(box, 0, 0, &red, Rect(10, 10, 30, 20));
    for (int y = 9; y <= 17; ++y)
        for (int x = 17; x <= 22; ++x) {
            bool inside = x >= 18 && x <= 21 && y >= 13 && y <= 16;
            EXPECT_EQ(box->Canvas()->Pixels(x, y), inside ? clRed : clWhite) << x << "," << y;
        }
}

} // namespace
