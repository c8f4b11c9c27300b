// The text list box's horizontal extent, which follows its items and font.
#include "platform/gui/GuiTest.h"

#include <QListWidget>
#include <QScrollBar>

#include "common/Printers.h"

#include "controls/gui/TextListBox.h"
#include "platform/Bitmap.h"

namespace {

struct TextListBox : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 300);
        box = NewControl<TTextListBox>(form, form, "List1");
        box->SetBounds(10, 10, 120, 100);
        form->Show();
    }
    int Width(const AnsiString& text) {
        TBitmap b;
        b.Canvas()->SetFont(box->Font());
        return b.Canvas()->TextWidth(text);
    }
    QScrollBar* Bar() const { return box->List()->horizontalScrollBar(); }
    TForm* form = nullptr;
    TTextListBox* box = nullptr;
};

TEST_F(TextListBox, TheExtentFollowsTheWidestItem) {
    EXPECT_EQ(box->HorizontalExtent(), 0);
    const AnsiString wide = "a line much wider than the box itself";
    const AnsiString middle = "a line wider than the box";
    for (const AnsiString& s : {AnsiString("short"), wide, middle}) box->Items()->Add(s);
    EXPECT_EQ(box->HorizontalExtent(), Width(wide + "x"));
    EXPECT_EQ(box->Perform(LB_GETHORIZONTALEXTENT), Width(wide + "x"));
    Application->ProcessMessages();
    EXPECT_EQ(Bar()->maximum(), Width(wide + "x") - box->List()->viewport()->width());

    // A narrower item leaves the extent and the position alone.
    Bar()->setValue(20);
    box->Items()->Delete(0);
    EXPECT_EQ(box->HorizontalExtent(), Width(wide + "x"));
    EXPECT_EQ(Bar()->value(), 20);
    // Without the widest the box goes back to the left end and narrows.
    box->Items()->Delete(0);
    EXPECT_EQ(Bar()->value(), 0);
    EXPECT_EQ(box->HorizontalExtent(), Width(middle + "x"));
    // A new text is measured as a new item.
    box->Items()->Put(0, wide + wide);
    EXPECT_EQ(box->HorizontalExtent(), Width(wide + wide + "x"));
    box->Items()->Insert(0, "z");
    EXPECT_EQ(box->Items()->Get(0), AnsiString("z"));
    EXPECT_EQ(box->HorizontalExtent(), Width(wide + wide + "x"));

    Bar()->setValue(30);
    box->Items()->Clear();
    EXPECT_EQ(box->HorizontalExtent(), 0);
    EXPECT_EQ(Bar()->value(), 0);
    Application->ProcessMessages();
    EXPECT_EQ(Bar()->maximum(), 0);
}

TEST_F(TextListBox, TabsAndTheFontChangeTheWidth) {
    box->TabWidth = 8;
    box->Items()->Add("ab\tc");
    const int stop = int(std::nearbyint(Width("0") * 8 / 4.0));
    const int expected = (Width("ab") / stop + 1) * stop + Width("cx");
    EXPECT_EQ(box->HorizontalExtent(), expected);
    TFont big;
    big.Assign(box->Font());
    big.SetHeight(-30);
    box->SetFont(&big);
    EXPECT_EQ(box->HorizontalExtent(), (Width("ab") / int(std::nearbyint(Width("0") * 2.0)) + 1) *
                                               int(std::nearbyint(Width("0") * 2.0)) +
                                           Width("cx"));
    EXPECT_GT(box->HorizontalExtent(), expected);
}

} // namespace
