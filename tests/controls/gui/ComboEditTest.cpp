// The caret of a combo edit, the painting routines for edits that draw their
// own text, and the two folder dialogs of the directory edit.
#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "common/TestEnv.h"
#include "controls/gui/ComboEditPaint.h"
#include "controls/gui/ToolEdit.h"
#include "platform/Bitmap.h"
#include "platform/FileIO.h"
#include "platform/FileUtils.h"

namespace {

struct ComboEdits : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 200);
        combo = NewControl<TComboEdit>(form, form, "Combo1");
        combo->SetBounds(10, 10, 200, 24);
    }
    TForm* form = nullptr;
    TComboEdit* combo = nullptr;
};

TEST_F(ComboEdits, TheCaretIsTwoPixelsWideForABoldFont) {
    combo->DoEnter();
    EXPECT_EQ(combo->CaretWidth(), 1);
    TFont bold;
    bold.Assign(combo->Font());
    bold.SetStyle(TFontStyles() << fsBold);
    combo->SetFont(&bold);
    EXPECT_EQ(combo->CaretWidth(), 1); // made when the edit takes the focus
    combo->DoEnter();
    EXPECT_EQ(combo->CaretWidth(), 2);
    bold.SetStyle(TFontStyles() << fsItalic);
    combo->SetFont(&bold);
    combo->DoEnter();
    EXPECT_EQ(combo->CaretWidth(), 1);
}

TEST_F(ComboEdits, TextMarginsAddTheBorderToTheEditsOwnMargin) {
    struct Case {
        TBorderStyle border;
        int leftMargin;
        TPoint expected;
    };
    const Case cases[] = {{bsSingle, 0, TPoint(2, 2)}, {bsNone, 0, TPoint(0, 0)}, {bsSingle, 5, TPoint(7, 2)},
                          {bsNone, 3, TPoint(3, 0)}};
    for (const Case& c : cases) {
        combo->SetBorderStyle(c.border);
        combo->Perform(EM_SETMARGINS, EC_LEFTMARGIN, MakeLParam(WORD(c.leftMargin), 0));
        EXPECT_EQ(EditorTextMargins(combo), c.expected) << c.border << " " << c.leftMargin;
    }
}

TEST_F(ComboEdits, PaintingDrawsTheTextLeftOfTheButtonInItsAlignment) {
    TBitmap picture;
    picture.SetSize(300, 40);
    TCanvas* canvas = picture.Canvas();
    std::vector<TCanvasText> drawn;
    canvas->OnText = [&](const TCanvasText& t) { drawn.push_back(t); };
    // An enabled edit with the standard painting shows its text itself.
    EXPECT_FALSE(PaintComboEdit(combo, "abc", taLeftJustify, true, canvas));
    EXPECT_TRUE(drawn.empty());

    const int right = combo->ClientWidth() - combo->ButtonWidth() - 2;
    canvas->SetFont(combo->Font());
    const int width = canvas->TextWidth("abc");
    struct Case {
        TAlignment alignment;
        int x;
    };
    const Case cases[] = {{taLeftJustify, 2}, {taRightJustify, right - 2 - width}, {taCenter, (right - width) / 2}};
    for (const Case& c : cases) {
        drawn.clear();
        EXPECT_TRUE(PaintComboEdit(combo, "abc", c.alignment, false, canvas));
        ASSERT_EQ(drawn.size(), 1u) << c.alignment;
        EXPECT_EQ(drawn[0].Text, AnsiString("abc"));
        EXPECT_EQ(drawn[0].Box.Left, c.x) << c.alignment;
        EXPECT_EQ(drawn[0].Box.Top, 2);
        EXPECT_EQ(drawn[0].FontColor, combo->Font()->Color());
    }

    combo->SetPasswordChar('*');
    combo->SetEnabled(false);
    drawn.clear();
    EXPECT_TRUE(PaintComboEdit(combo, "abc", taLeftJustify, true, canvas));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Text, AnsiString("***"));
    EXPECT_EQ(drawn[0].FontColor, clGrayText);
    // On a gray-text background the text keeps the font's colour.
    combo->SetColor(clGrayText);
    drawn.clear();
    PaintComboEdit(combo, "abc", taLeftJustify, false, canvas);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].FontColor, combo->Font()->Color());
    canvas->OnText = nullptr;
}

// The framework's dialog takes the options and the help context; the
// shell's browse dialog the prompt and the help context.
TEST_F(ComboEdits, TheDirectoryEditOpensTheDialogOfItsKind) {
    testenv::TempDir dir;
    auto* edit = NewControl<TDirectoryEdit>(form, form, "DirEdit1");
    edit->SetText(FromFsPath(dir.Path()));
    edit->HelpContext = 42;
    edit->DialogText = "Папка данных"_a;
    std::vector<FolderDialogRequest> seen;
    AnsiString answer;
    port.OnFolderDialog = [&](FolderDialogRequest& r) {
        seen.push_back(r);
        bool ok = r.OnSelChanged(answer);
        if (ok) r.Folder = answer;
        return ok;
    };
    const AnsiString missing = dir.File("new/deeper");

    // Without sdAllowCreate a missing folder cannot be chosen.
    answer = missing;
    edit->ButtonClick();
    EXPECT_EQ(edit->Text(), FromFsPath(dir.Path()));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Title, AnsiString());
    EXPECT_EQ(seen[0].HelpContext, 42);
    EXPECT_FALSE(seen[0].ScreenCenter);

    // With it the folder is chosen, and made with sdPerformCreate after the question.
    edit->DialogOptions = SelectDirOpt(sdAllowCreate) | SelectDirOpt(sdPerformCreate) | SelectDirOpt(sdPrompt);
    port.Answer(mrNo);
    edit->ButtonClick();
    EXPECT_EQ(edit->Text(), FromFsPath(dir.Path()));
    EXPECT_FALSE(DirectoryExists(missing));
    port.Answer(mrYes);
    edit->ButtonClick();
    EXPECT_EQ(edit->Text(), missing);
    EXPECT_TRUE(DirectoryExists(missing));
    EXPECT_EQ(port.Messages(), std::vector<AnsiString>(2, "Папка "_a + missing + " не существует. Создать её?"_a));

    // The shell's dialog: the prompt, centred, and only existing folders.
    edit->DialogKind = dkWin32;
    answer = dir.File("absent");
    edit->ButtonClick();
    EXPECT_EQ(edit->Text(), missing);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[3].Title, "Папка данных"_a);
    EXPECT_EQ(seen[3].HelpContext, 42);
    EXPECT_TRUE(seen[3].ScreenCenter);
    EXPECT_EQ(seen[3].Folder, missing);
    answer = FromFsPath(dir.Path()) + "/";
    edit->ButtonClick();
    EXPECT_EQ(edit->Text(), FromFsPath(dir.Path())); // without the closing separator
}

} // namespace
