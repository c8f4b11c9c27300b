#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <QLineEdit>

#include "platform/DateFormat.h"
#include "platform/gui/StdCtrls.h"

namespace {

struct EditMasks : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 300, 100);
        edit = NewControl<TEdit>(form, form, "Edit1");
    }
    void TearDown() override {
        ResetFormatSettings();
        GuiTest::TearDown();
    }
    void Type(const char* keys) {
        form->Show();
        edit->SetFocus();
        edit->LineEdit()->home(false);
        QTest::keyClicks(edit->LineEdit(), QString::fromUtf8(keys));
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(EditMasks, TextKeepsEveryPositionOfTheMask) {
    struct Case { char separator; const char* mask; const char* set; const char* text; const char* shown; } cases[] = {
        {'.', "!99/99/9999;1;_", "05.06.2007", "05.06.2007", "05.06.2007"},
        {'.', "!99/99/9999;1;_", "", "  .  .    ", "__.__.____"},
        {'.', "!99/99/9999;1;_", " 5. 6.2007", " 5. 6.2007", "_5._6.2007"},
        {'.', "!99/99/9999;1;_", "05.  .20  ", "05.  .20  ", "05.__.20__"},
        {'/', "!99/99/9999;1;_", "05/06/2007", "05/06/2007", "05/06/2007"},
        {'/', "!9999/99/99;1; ", "", "    /  /  ", "    /  /  "},
        {'.', "00:00;0;*", "12:30", "1230", "12:30"},
        {'.', "00:00;0;*", "", "    ", "**:**"},
        {'.', "\\A-999;1;_", "A-5", "A-5  ", "A-5__"},
        {'.', "99_99", "12 34", "12 34", "12 34"},
        {'.', "", " a b ", " a b ", " a b "}, // no mask: the text as it stands
    };
    for (const Case& c : cases) {
        DateSeparator = c.separator;
        edit->SetEditMask("");
        edit->SetEditMask(c.mask);
        edit->SetText(c.set);
        EXPECT_EQ(edit->Text(), AnsiString(c.text)) << c.mask << " " << c.set;
        EXPECT_EQ(edit->EditText(), AnsiString(c.shown)) << c.mask << " " << c.set;
    }
    // The same mask set again after the separator changed takes the new one.
    DateSeparator = '.';
    edit->SetEditMask("!99/99/99;1;_");
    DateSeparator = '-';
    edit->SetEditMask("!99/99/99;1;_");
    edit->SetText("01-02-03");
    EXPECT_EQ(edit->EditText(), AnsiString("01-02-03"));
}

TEST_F(EditMasks, TypingFillsTheOpenPlaces) {
    edit->SetEditMask("!99/99/9999;1;_");
    Type("05");
    EXPECT_EQ(edit->EditText(), AnsiString("05.__.____"));
    EXPECT_EQ(edit->Text(), AnsiString("05.  .    "));
    EXPECT_TRUE(edit->Modified);
    edit->SetEditMask(">LL<ll;1;_");
    edit->SetText("");
    Type("abCD");
    EXPECT_EQ(edit->Text(), AnsiString("ABcd"));
    // Only letters go where letters belong.
    edit->SetText("");
    Type("1a2b");
    EXPECT_EQ(edit->Text(), AnsiString("AB  "));
}

TEST_F(EditMasks, RequiredAndOptionalDigitsKeepTheirMeaning) {
    struct Case { const char* mask; const char* set; bool acceptable; } cases[] = {
        {"00;1;_", "1", false}, {"00;1;_", "12", true}, {"99;1;_", "1", true}, {"99;1;_", "", true},
        {"LL;1;_", "a", false}, {"ll;1;_", "a", true},  {"CC;1;_", "#", false}, {"cc;1;_", "#", true},
    };
    for (const Case& c : cases) {
        edit->SetEditMask(c.mask);
        edit->SetText(c.set);
        EXPECT_EQ(edit->LineEdit()->hasAcceptableInput(), c.acceptable) << c.mask << " " << c.set;
    }
}

} // namespace
