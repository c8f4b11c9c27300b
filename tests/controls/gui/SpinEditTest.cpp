#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "common/TestEnv.h"
#include "controls/gui/EXSpin.h"

namespace {

struct Spin : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 300, 200);
        edit = NewControl<TExSpinEdit>(form, form, "Spin1");
        edit->SetBounds(10, 10, 121, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
        edit->OnTopClick = [this](TObject*) { ++tops; };
        edit->OnBottomClick = [this](TObject*) { ++bottoms; };
    }
    void Type(char c) {
        char k = c;
        edit->KeyPress(k);
        typed = k;
    }
    TForm* form = nullptr;
    TExSpinEdit* edit = nullptr;
    int changes = 0, tops = 0, bottoms = 0;
    char typed = 0;
};

TEST_F(Spin, NewEditShowsZeroAndAcceptsAnyValueWithoutARange) {
    EXPECT_EQ(edit->Text(), AnsiString("0"));
    EXPECT_EQ(edit->Value(), 0);
    edit->SetValue(-123456);
    EXPECT_EQ(edit->Text(), AnsiString("-123456"));
    for (int i = 0; i < 5; ++i) edit->DownClick(edit);
    EXPECT_EQ(edit->Value(), -123461); // stepping never stops without a range
}

TEST_F(Spin, ValuesAreClampedToTheRange) {
    edit->MinValue = 1;
    edit->MaxValue = 10;
    struct Case {
        double in;
        const char* text;
    } cases[] = {{20, "10"}, {-3, "1"}, {7, "7"}, {2.5, "2"}, {3.5, "4"}, {9.5, "10"}, {1.4999, "1"}};
    for (const Case& c : cases) {
        edit->SetValue(c.in);
        EXPECT_EQ(edit->Text(), AnsiString(c.text)) << c.in;
    }
    EXPECT_EQ(edit->CheckValue(11), 10);
    EXPECT_EQ(edit->CheckValue(0.5), 1);
}

TEST_F(Spin, StepsChangeTheTextAndReportEveryClick) {
    edit->MinValue = 1;
    edit->MaxValue = 10;
    edit->SetValue(9);
    changes = 0;
    edit->UpClick(edit);
    EXPECT_EQ(edit->Text(), AnsiString("10"));
    EXPECT_EQ(changes, 1); // one notification, not one for the rewrite and one for the step
    EXPECT_TRUE(edit->Modified);
    EXPECT_EQ(tops, 1);
    edit->UpClick(edit); // at the top: the text stays, no change, the click is still reported
    EXPECT_EQ(edit->Text(), AnsiString("10"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tops, 2);
    edit->Increment = 4;
    edit->DownClick(edit);
    edit->DownClick(edit);
    edit->DownClick(edit);
    EXPECT_EQ(edit->Text(), AnsiString("1"));
    EXPECT_EQ(bottoms, 3);
    edit->SetReadOnly(true);
    edit->UpClick(edit); // read-only: a beep and nothing else
    EXPECT_EQ(edit->Text(), AnsiString("1"));
    EXPECT_EQ(tops, 2);
}

TEST_F(Spin, HexadecimalTexts) {
    edit->SetValueType(vtHex);
    edit->SetValue(255);
    EXPECT_EQ(edit->Text(), AnsiString("FF"));
    edit->SetText("ff");
    EXPECT_EQ(edit->Value(), 255);
    edit->SetValue(0);
    EXPECT_EQ(edit->Text(), AnsiString("0"));
    edit->SetValue(-1); // a negative number as its 32-bit pattern
    EXPECT_EQ(edit->Text(), AnsiString("FFFFFFFF"));
    EXPECT_EQ(edit->Value(), -1);
    edit->SetValue(-256);
    EXPECT_EQ(edit->Text(), AnsiString("FFFFFF00"));
    EXPECT_EQ(edit->Value(), -256);
    edit->SetText("xyz");
    EXPECT_EQ(edit->Value(), 0);
}

TEST_F(Spin, SwitchingTheValueTypeRereadsTheText) {
    edit->SetValue(10);
    edit->SetValueType(vtHex);
    EXPECT_EQ(edit->Value(), 16);
    EXPECT_EQ(edit->Text(), AnsiString("10"));
    edit->SetValueType(vtFloat);
    edit->Increment = 0.4;
    edit->SetValue(2.5);
    EXPECT_EQ(edit->Text(), AnsiString("2.50"));
    edit->UpClick(edit);
    EXPECT_EQ(edit->Text(), AnsiString("2.90"));
    edit->SetValueType(vtInt); // "2.90" is no integer: the minimum
    EXPECT_EQ(edit->Text(), AnsiString("0"));
    EXPECT_EQ(edit->Increment, 1); // 0.4 rounds to 0, which becomes 1
    edit->SetValueType(vtFloat);
    edit->Increment = 2.5;
    edit->SetValueType(vtInt);
    EXPECT_EQ(edit->Increment, 2); // halves to the even neighbour
}

TEST_F(Spin, FloatsDecimalsAndTruncation) {
    edit->SetValueType(vtFloat);
    edit->SetValue(1);
    EXPECT_EQ(edit->Text(), AnsiString("1.00"));
    edit->SetDecimal(0);
    EXPECT_EQ(edit->Text(), AnsiString("1"));
    edit->SetDecimal(3);
    edit->SetValue(-2.7);
    EXPECT_EQ(edit->Text(), AnsiString("-2.700"));
    EXPECT_EQ(edit->AsInteger(), -2); // truncated toward zero
    edit->SetText("2,75"); // either separator reads
    EXPECT_DOUBLE_EQ(edit->Value(), 2.75);
    EXPECT_EQ(edit->AsInteger(), 2);
    edit->SetAsInteger(7);
    EXPECT_EQ(edit->Text(), AnsiString("7.000"));
    edit->MinValue = 0.5;
    edit->MaxValue = 5;
    edit->SetText("");
    EXPECT_DOUBLE_EQ(edit->Value(), 0.5); // an empty text reads as the minimum
    edit->SetValueType(vtInt);
    edit->SetText("");
    EXPECT_EQ(edit->Value(), 0); // truncated for the integer types
}

TEST_F(Spin, FloatStepsReadTheSameUnderACommaLocale) {
    testenv::CommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << testenv::kCommaLocaleName << " is not installed";
    edit->SetValueType(vtFloat);
    edit->SetDecimal(2);
    edit->Increment = 2.1;
    edit->SetValue(2.5);
    std::vector<AnsiString> texts;
    std::vector<double> values;
    for (bool up : {false, true, true}) {
        if (up) edit->UpClick(edit);
        else edit->DownClick(edit);
        texts.push_back(edit->Text());
        values.push_back(edit->Value());
    }
    EXPECT_EQ(texts, (std::vector<AnsiString>{"0.40", "2.50", "4.60"}));
    EXPECT_EQ(values, (std::vector<double>{0.4, 2.5, 4.6}));
}

TEST_F(Spin, TypingKeepsToTheValidCharacters) {
    struct Case {
        TValueType type;
        const char* text;
        char key;
        bool valid;
    } cases[] = {
        {vtInt, "1", '5', true},      {vtInt, "1", 'x', false},   {vtInt, "1", '-', true},
        {vtInt, "1", '.', false},     {vtInt, "1", 'a', false},   {vtInt, "1", char(8), true},
        {vtHex, "1", 'a', true},      {vtHex, "1", 'F', true},    {vtHex, "1", 'g', false},
        {vtFloat, "1", '.', true},    {vtFloat, "1.5", '.', false}, {vtFloat, "1", 'e', true},
        {vtFloat, "1E5", 'e', false}, {vtFloat, "1", 'a', false},
    };
    for (const Case& c : cases) {
        edit->SetValueType(c.type);
        edit->SetText(c.text);
        EXPECT_EQ(edit->IsValidChar(c.key), c.valid) << c.text << " + " << c.key;
    }
    edit->SetValueType(vtInt);
    Type('x');
    EXPECT_EQ(typed, 0); // dropped (with a beep)
    Type('7');
    EXPECT_EQ(typed, '7');
    Type('\r');
    EXPECT_EQ(typed, 0); // Enter is used up after the form had it
    edit->SetEditorEnabled(false);
    EXPECT_FALSE(edit->IsValidChar('5'));
    EXPECT_FALSE(edit->IsValidChar(char(8)));
    EXPECT_TRUE(edit->IsValidChar('\t'));
    WORD paste = 'V';
    edit->KeyDown(paste, ssCtrl);
    EXPECT_EQ(paste, 0);
    WORD insert = VK_INSERT;
    edit->KeyDown(insert, ssShift);
    EXPECT_EQ(insert, 0);
}

TEST_F(Spin, ArrowKeysStep) {
    WORD up = VK_UP;
    edit->KeyDown(up, 0);
    EXPECT_EQ(up, 0);
    EXPECT_EQ(edit->Value(), 1);
    WORD down = VK_DOWN;
    edit->KeyDown(down, 0);
    edit->KeyDown(down = VK_DOWN, 0);
    EXPECT_EQ(edit->Value(), -1);
    edit->ArrowKeys = false;
    WORD again = VK_UP;
    edit->KeyDown(again, 0);
    EXPECT_EQ(again, VK_UP);
    EXPECT_EQ(edit->Value(), -1);
}

TEST_F(Spin, LeavingTheFieldClampsAndRewritesAText) {
    edit->MinValue = 1;
    edit->MaxValue = 10;
    edit->SetText("25");
    edit->DoExit();
    EXPECT_EQ(edit->Text(), AnsiString("10"));
    edit->SetText("12x"); // pasted: not a number
    EXPECT_EQ(edit->Value(), 1);
    edit->DoExit();
    EXPECT_EQ(edit->Text(), AnsiString("1")); // the value it was read as
    edit->SetText("5");
    changes = 0;
    edit->DoExit();
    EXPECT_EQ(changes, 0); // a valid text in range stays as typed
}

TEST_F(Spin, HeightNeverGoesBelowTheFontsLine) {
    edit->SetHeight(3);
    EXPECT_EQ(edit->Height(), edit->MinHeight());
    EXPECT_GT(edit->MinHeight(), 5);
}

TEST_F(Spin, StandardButtonsStepAndStayAtZero) {
    edit->SetButtonKind(bkStandard);
    ASSERT_NE(edit->UpDown(), nullptr);
    EXPECT_EQ(edit->SpinButton(), nullptr);
    EXPECT_EQ(edit->ButtonWidth(), 15);
    edit->UpDown()->Click(btNext);
    edit->UpDown()->Click(btNext);
    edit->UpDown()->Click(btPrev);
    EXPECT_EQ(edit->Value(), 1);
    EXPECT_EQ(edit->UpDown()->Position(), 0);
    EXPECT_EQ(tops, 2);
    EXPECT_EQ(bottoms, 1);
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->UpDown()->Enabled());
    edit->SetButtonKind(bkDiagonal);
    EXPECT_EQ(edit->UpDown(), nullptr);
    ASSERT_NE(edit->SpinButton(), nullptr);
    EXPECT_FALSE(edit->SpinButton()->Enabled());
}

TEST_F(Spin, DiagonalHalves) {
    TExSpinButton* b = edit->SpinButton();
    ASSERT_NE(b, nullptr);
    b->SetBounds(0, 0, 20, 20);
    EXPECT_TRUE(b->InTopHalf(0, 0));
    EXPECT_TRUE(b->InTopHalf(0, 19));
    EXPECT_TRUE(b->InTopHalf(10, 10)); // on the diagonal
    EXPECT_FALSE(b->InTopHalf(10, 11));
    EXPECT_FALSE(b->InTopHalf(19, 19));
    EXPECT_TRUE(b->InTopHalf(19, 1));
    b->SetBounds(0, 0, 30, 10);
    EXPECT_TRUE(b->InTopHalf(15, 5));
    EXPECT_FALSE(b->InTopHalf(15, 6));
}

TEST_F(Spin, HoldingAHalfRepeatsAfter400ThenEvery100Ms) {
    ASSERT_TRUE(ShowActive(form));
    TExSpinButton* b = edit->SpinButton();
    b->SetBounds(b->Left(), b->Top(), 20, 20);
    Send(b->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(2, 2));
    EXPECT_EQ(b->State(), sbTopDown);
    EXPECT_EQ(tops, 1);
    EXPECT_EQ(edit->Value(), 1);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_TRUE(b->RepeatTimer()->Enabled());
    EXPECT_EQ(b->RepeatTimer()->Interval(), 400u);
    b->RepeatTimer()->OnTimer(b->RepeatTimer()); // the first repeat
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(tops, 2);
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(tops, 3);
    // Dragged onto the other half: shown released, and no repeats.
    Send(b->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(18, 18));
    EXPECT_EQ(b->State(), sbNotDown);
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(tops, 3);
    Send(b->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(3, 3));
    EXPECT_EQ(b->State(), sbTopDown);
    Send(b->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(3, 3));
    EXPECT_EQ(b->State(), sbNotDown);
    EXPECT_FALSE(b->RepeatTimer()->Enabled());
    b->RepeatTimer()->OnTimer(b->RepeatTimer());
    EXPECT_EQ(tops, 3);
    EXPECT_EQ(edit->Value(), 3);
    Send(b->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(17, 17));
    Send(b->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(17, 17));
    EXPECT_EQ(bottoms, 1);
    EXPECT_EQ(edit->Value(), 2);
    EXPECT_TRUE(edit->Focused() || !edit->CanFocus());
}

TEST_F(Spin, AClickFromCodeLeavesTheButtonReleased) {
    TExSpinButton* b = edit->SpinButton();
    b->TopClick();
    EXPECT_EQ(b->State(), sbNotDown);
    EXPECT_EQ(edit->Value(), 1);
    b->BottomClick();
    EXPECT_EQ(edit->Value(), 0);
}

TEST_F(Spin, ThePressedHalfIsDrawnSunken) {
    TExSpinButton b(nullptr);
    b.SetBounds(0, 0, 20, 20);
    TBitmap* up = b.StateBitmap(sbNotDown);
    TBitmap* top = b.StateBitmap(sbTopDown);
    TBitmap* bottom = b.StateBitmap(sbBottomDown);
    EXPECT_EQ(up->Canvas()->Pixels(1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(top->Canvas()->Pixels(1, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(up->Canvas()->Pixels(18, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(bottom->Canvas()->Pixels(18, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(up->Canvas()->Pixels(0, 0), ColorToRGB(clWindowFrame));
    // The arrows are drawn: black pixels in each quarter.
    auto dark = [](TBitmap* bm, const TRect& r) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += bm->Canvas()->Pixels(x, y) == clBlack;
        return n;
    };
    EXPECT_EQ(dark(up, Rect(2, 2, 10, 10)), 16);
    EXPECT_EQ(dark(up, Rect(11, 12, 18, 16)), 16);
    // The up arrow's tip; pressing the top moves it one pixel right and down.
    EXPECT_EQ(up->Canvas()->Pixels(6, 4), clBlack);
    EXPECT_NE(top->Canvas()->Pixels(6, 4), clBlack);
    EXPECT_EQ(top->Canvas()->Pixels(7, 5), clBlack);
}

} // namespace
