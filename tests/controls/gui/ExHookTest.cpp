#include "platform/gui/GuiTest.h"

#include "controls/gui/ExHook.h"
#include "platform/gui/ExtCtrls.h"

namespace {

constexpr unsigned kProbe = WM_USER + 7;

struct Hooks : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        panel = NewControl<TPanel>(form, form, "Panel1");
        inner = panel->WindowProc;
        panel->WindowProc = [this](TMessage& m) {
            if (m.Msg == kProbe) {
                log.push_back("control");
                m.Result = 5;
                return;
            }
            inner(m);
        };
    }
    TExWindowHook* Hook(const char* name, bool handle = false) {
        auto* h = NewComponent<TExWindowHook>(form, name);
        h->BeforeMessage = [this, name, handle](TObject*, TMessage& m, bool& handled) {
            if (m.Msg != kProbe) return;
            log.push_back(std::string(name) + " before");
            handled = handle;
        };
        h->AfterMessage = [this, name](TObject*, TMessage& m, bool&) {
            if (m.Msg == kProbe) log.push_back(std::string(name) + " after " + std::to_string(m.Result));
        };
        h->SetWinControl(panel);
        return h;
    }
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TWndMethod inner;
    std::vector<std::string> log;
};

TEST_F(Hooks, TheLastAttachedIsAskedFirstAndBothSeeEveryMessage) {
    Hook("a");
    Hook("b");
    EXPECT_EQ(panel->Perform(kProbe), 5);
    EXPECT_EQ(log, (std::vector<std::string>{"b before", "a before", "control", "b after 5", "a after 5"}));
}

TEST_F(Hooks, AHandledMessageNeverReachesTheControl) {
    Hook("a");
    Hook("b", true);
    EXPECT_EQ(panel->Perform(kProbe), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"b before"}));
}

TEST_F(Hooks, DetachingRestoresTheProcedureButNotOverALaterWrapper) {
    int before = HookedControlCount();
    auto* a = Hook("a");
    EXPECT_EQ(HookedControlCount(), before + 1);
    a->SetActive(false);
    EXPECT_EQ(panel->Perform(kProbe), 5);
    EXPECT_EQ(log, (std::vector<std::string>{"control"}));
    Application->ProcessMessages(); // the unused wrapper is released after the message
    EXPECT_EQ(HookedControlCount(), before);
    log.clear();
    a->SetActive(true);
    // Someone wraps the control after the hook ...
    TWndMethod hooked = panel->WindowProc;
    panel->WindowProc = [this, hooked](TMessage& m) {
        if (m.Msg == kProbe) log.push_back("later");
        hooked(m);
    };
    a->SetActive(false);
    panel->Perform(kProbe); // ... and that wrapper stays in place.
    EXPECT_EQ(log, (std::vector<std::string>{"later", "control"}));
}

TEST_F(Hooks, ControlOrHookGoingAwayIsSafe) {
    auto* a = Hook("a");
    EXPECT_EQ(a->WinControl(), panel);
    delete panel;
    panel = nullptr;
    EXPECT_EQ(a->WinControl(), nullptr);
    Application->ProcessMessages();
    auto* other = NewControl<TPanel>(form, form, "Panel2");
    a->SetWinControl(other);
    EXPECT_TRUE(a->Active());
    bool seen = false;
    a->BeforeMessage = [&](TObject*, TMessage& m, bool&) { seen = seen || m.Msg == kProbe; };
    other->Perform(kProbe);
    EXPECT_TRUE(seen);
    delete a;
    seen = false;
    other->Perform(kProbe);
    EXPECT_FALSE(seen);
}

} // namespace
