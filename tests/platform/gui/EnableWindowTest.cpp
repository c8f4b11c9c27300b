#include "platform/gui/GuiTest.h"

#include "platform/gui/EnableWindow.h"
#include "platform/gui/StdCtrls.h"

namespace {

// A control that takes the focus on a click while it is enabled.
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* owner) : TCustomControl(owner) {}
};

using EnableWindows = GuiTest;

TEST_F(EnableWindows, ADisabledControlWithAnEnabledWindowHearsTheMouseButNeverTakesTheFocus) {
    TForm* form = MakeForm();
    form->SetBounds(0, 0, 300, 200);
    TEdit* edit = NewControl<TEdit>(form, form, "Edit1");
    TBox* panel = NewControl<TBox>(form, form, "Box1");
    panel->SetBounds(10, 40, 100, 60);
    int downs = 0;
    panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    form->Show();
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    // Enabled, a click takes the focus (QTest gives the focus by the policy).
    QTest::mouseClick(panel->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(panel->Focused());
    edit->SetFocus();
    downs = 0;

    // Disabled with its window: deaf.
    panel->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(panel));
    ClickAt(panel->Widget(), QPoint(20, 20));
    EXPECT_EQ(downs, 0);

    // The window enabled again: the press arrives, the focus stays.
    EnableWindow(panel, true);
    EXPECT_FALSE(panel->Enabled());
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_FALSE(panel->CanFocus());
    QTest::mouseClick(panel->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(edit->Focused());

    EnableWindow(panel, false);
    ClickAt(panel->Widget(), QPoint(20, 20));
    EXPECT_EQ(downs, 1);
    EXPECT_FALSE(IsWindowEnabled(nullptr));
}

} // namespace
