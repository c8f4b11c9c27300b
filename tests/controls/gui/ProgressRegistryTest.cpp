#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <utility>

#include "controls/gui/Exprgrss.h"
#include "platform/gui/ComCtrls.h"

namespace {

// A progress bar whose display is driven through other properties: a
// floating-point level, a variant floor and an integer with a long name.
class TLevelBar : public TProgressBar {
public:
    explicit TLevelBar(TComponent* owner) : TProgressBar(owner) {}
    double level = -1;
    Variant floor = Variant(-1);
    int top = -1;
};

// A control that no entry covers.
class TPlainBox : public TCustomControl {
public:
    explicit TPlainBox(TComponent* owner) : TCustomControl(owner) {}
};

const AnsiString kLongName = AnsiString::StringOfChar('N', 63) + "_tail7"; // 69 characters

void PublishLevelBar() {
    static bool done = false;
    if (std::exchange(done, true)) return;
    TPropInfo level, floor;
    level.Name = "Level", level.Kind = tkFloat, level.TypeName = "Double";
    level.GetFloat = [](TObject* o) { return dynamic_cast<TLevelBar&>(*o).level; };
    level.SetFloat = [](TObject* o, double v) { dynamic_cast<TLevelBar&>(*o).level = v; };
    floor.Name = "Floor", floor.Kind = tkVariant, floor.TypeName = "Variant";
    floor.GetVariant = [](TObject* o) { return dynamic_cast<TLevelBar&>(*o).floor; };
    floor.SetVariant = [](TObject* o, const Variant& v) { dynamic_cast<TLevelBar&>(*o).floor = v; };
    PublishProperties<TLevelBar>({
        level,
        floor,
        IntegerProperty<TLevelBar>(kLongName.SubString(1, 63).c_str(), [](TLevelBar& b) { return b.top; },
                                   [](TLevelBar& b, int v) { b.top = v; }),
    });
}

struct ProgressRegistry : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        PublishLevelBar();
        form = MakeForm();
        bar = NewControl<TProgressBar>(form, form, "Bar");
        level = NewControl<TLevelBar>(form, form, "Level");
        box = NewControl<TPlainBox>(form, form, "Box");
    }
    void TearDown() override {
        // Back to the registry the program starts with.
        UnRegisterProgressControl(ClassRefOf<TProgressBar>());
        RegisterProgressControl(ClassRefOf<TProgressBar>(), "Max", "Min", "Position");
        GuiTest::TearDown();
    }
    TForm* form = nullptr;
    TProgressBar* bar = nullptr;
    TLevelBar* level = nullptr;
    TPlainBox* box = nullptr;
};

// The progress bar is registered from the start; nothing else is.
TEST_F(ProgressRegistry, OnlyRegisteredControlsAreDriven) {
    EXPECT_TRUE(SupportsProgressControl(bar));
    EXPECT_TRUE(SupportsProgressControl(level)); // derived from it
    EXPECT_TRUE(SetProgressMax(bar, 500));
    EXPECT_TRUE(SetProgressMin(bar, 20));
    EXPECT_TRUE(SetProgressValue(bar, 321));
    EXPECT_EQ(bar->Max(), 500);
    EXPECT_EQ(bar->Min(), 20);
    EXPECT_EQ(bar->Position(), 321);
    EXPECT_FALSE(SupportsProgressControl(nullptr));
    EXPECT_FALSE(SetProgressValue(nullptr, 5));
    EXPECT_FALSE(SupportsProgressControl(box));
    EXPECT_FALSE(SetProgressValue(box, 5));
    EXPECT_FALSE(SetProgressMax(box, 5));
    // An entry naming a property the control lacks.
    RegisterProgressControl(ClassRefOf<TPlainBox>(), "Max", "Min", "Position");
    EXPECT_TRUE(SupportsProgressControl(box));
    EXPECT_FALSE(SetProgressValue(box, 5));
    UnRegisterProgressControl(ClassRefOf<TPlainBox>());
    EXPECT_FALSE(SupportsProgressControl(box));
}

TEST_F(ProgressRegistry, ALaterMoreSpecificEntryWinsAndKindsDecide) {
    RegisterProgressControl(ClassRefOf<TLevelBar>(), kLongName, "Floor", "Level");
    // The value goes to the floating-point Level, not to Position.
    EXPECT_TRUE(SetProgressValue(level, 7));
    EXPECT_EQ(level->level, 7.0);
    EXPECT_EQ(level->Position(), 0);
    // The 69-character name is kept as its first 63 characters, which the
    // control publishes.
    EXPECT_TRUE(SetProgressMax(level, 90));
    EXPECT_EQ(level->top, 90);
    // A variant is refused and left as it was.
    EXPECT_FALSE(SetProgressMin(level, 3));
    EXPECT_EQ(level->floor.AsInteger(), -1);
    // The plain bar still uses its own entry.
    EXPECT_TRUE(SetProgressValue(bar, 4));
    EXPECT_EQ(bar->Position(), 4);
    // The search takes the latest matching entry, so an entry for the base
    // registered after it covers the derived class again.
    RegisterProgressControl(ClassRefOf<TProgressBar>(), "Max", "Min", "Position");
    EXPECT_TRUE(SetProgressValue(level, 11));
    EXPECT_EQ(level->Position(), 11);
    EXPECT_EQ(level->level, 7.0);
}

TEST_F(ProgressRegistry, UnregisteringABaseRemovesDerivedEntries) {
    RegisterProgressControl(ClassRefOf<TLevelBar>(), "Max", "Min", "Level");
    RegisterProgressControl(ClassRefOf<TLevelBar>(), "Max", "Min", "Level");
    UnRegisterProgressControl(ClassRefOf<TLevelBar>());
    EXPECT_TRUE(SupportsProgressControl(level)); // the base's entry stays
    RegisterProgressControl(ClassRefOf<TLevelBar>(), "Max", "Min", "Level");
    UnRegisterProgressControl(ClassRefOf<TWinControl>());
    EXPECT_FALSE(SupportsProgressControl(level));
    EXPECT_FALSE(SupportsProgressControl(bar));
    EXPECT_FALSE(SetProgressValue(bar, 9));
    EXPECT_EQ(bar->Position(), 0);
}

} // namespace
