// A file copy drives a registered progress control, whatever its class.
#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <utility>

#include "common/TestEnv.h"
#include "controls/gui/Exprgrss.h"
#include "controls/gui/FileUtil.h"
#include "platform/gui/ComCtrls.h"

namespace {

// A display that logs every value it is given.
class TGauge : public TCustomControl {
public:
    explicit TGauge(TComponent* owner) : TCustomControl(owner) {}
    std::vector<std::pair<char, int>> log;
};

void PublishGauge() {
    static bool done = false;
    if (std::exchange(done, true)) return;
    auto prop = [](const char* name, char tag) {
        return IntegerProperty<TGauge>(
            name, [](TGauge&) { return 0; }, [tag](TGauge& g, int v) { g.log.emplace_back(tag, v); });
    };
    PublishProperties<TGauge>({prop("Top", 'M'), prop("Bottom", 'm'), prop("Done", 'v')});
}

struct CopyProgress : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        PublishGauge();
        RegisterProgressControl(ClassRefOf<TGauge>(), "Top", "Bottom", "Done");
        form = MakeForm();
        gauge = NewControl<TGauge>(form, form, "Gauge");
    }
    void TearDown() override {
        UnRegisterProgressControl(ClassRefOf<TGauge>());
        GuiTest::TearDown();
    }
    TForm* form = nullptr;
    TGauge* gauge = nullptr;
    testenv::TempDir dir;
};

TEST_F(CopyProgress, TheControlShowsTheBytesCopiedBlockByBlock) {
    testenv::WriteBytes(dir.Path() / "src.bin", std::string(20000, 'x'));
    CopyFile(dir.File("src.bin"), dir.File("dst.bin"), gauge);
    const std::vector<std::pair<char, int>> expected = {{'M', 20000}, {'m', 0},    {'v', 0}, {'v', 8192},
                                                        {'v', 16384}, {'v', 20000}, {'v', 0}};
    EXPECT_EQ(gauge->log, expected);
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "dst.bin"), std::string(20000, 'x'));

    // The platform's progress bar takes the same values; without a control the copy is the same.
    auto* bar = NewControl<TProgressBar>(form, form, "Bar");
    CopyFileEx(dir.File("src.bin"), dir.File("second.bin"), false, false, bar);
    EXPECT_EQ(bar->Max(), 20000);
    EXPECT_EQ(bar->Position(), 0);
    CopyFile(dir.File("src.bin"), dir.File("third.bin"), static_cast<TControl*>(nullptr));
    EXPECT_EQ(testenv::ReadBytes(dir.Path() / "third.bin"), std::string(20000, 'x'));
    // A source that cannot be opened raises before the control is touched.
    gauge->log.clear();
    EXPECT_THROW(CopyFile(dir.File("none.bin"), dir.File("x.bin"), gauge), EFOpenError);
    EXPECT_TRUE(gauge->log.empty());
}

} // namespace
