// The hook registry behind one application event filter, and the sort.
#include "ToolbarTestUtil.h"

namespace {

std::vector<std::pair<THookProcCode, WPARAM>> g_calls;
void RecordingProc(THookProcCode code, TControl*, WPARAM wParam, LPARAM) { g_calls.push_back({code, wParam}); }
void OtherProc(THookProcCode, TControl*, WPARAM, LPARAM) {}

} // namespace

TEST(HookRegistry, CountsReferencesAndKinds) {
    ASSERT_EQ(HookFilterInstalled(), false) << "nothing registered between tests";
    InstallHookProc(RecordingProc, THookProcCodes{hpPostMouseMove}, false);
    InstallHookProc(RecordingProc, THookProcCodes{hpPostMouseMove}, false);
    EXPECT_EQ(HookProcRefCount(RecordingProc), 2);
    EXPECT_EQ(HookKindCount(hkGetMessage), 2);
    EXPECT_TRUE(HookFilterInstalled());
    UninstallHookProc(RecordingProc);
    EXPECT_EQ(HookProcRefCount(RecordingProc), 1);
    EXPECT_TRUE(HookFilterInstalled()) << "registered twice, unregistered once: still installed";
    UninstallHookProc(RecordingProc);
    EXPECT_EQ(HookProcRefCount(RecordingProc), 0);
    EXPECT_EQ(HookKindCount(hkGetMessage), 0);
    EXPECT_FALSE(HookFilterInstalled());

    // A component in design mode only counts its reference.
    InstallHookProc(OtherProc, THookProcCodes{hpSendActivateApp, hpPreDestroy}, true);
    EXPECT_EQ(HookProcRefCount(OtherProc), 1);
    EXPECT_EQ(HookKindCount(hkCallWndProc), 0);
    EXPECT_EQ(HookKindCount(hkCBT), 0);
    EXPECT_FALSE(HookFilterInstalled());
    UninstallHookProc(OtherProc);
    EXPECT_EQ(HookKindCount(hkCallWndProc), 0) << "counts never go below zero";
    EXPECT_EQ(HookProcRefCount(OtherProc), 0);
}

TEST(HookRegistry, UnregisteringAnUnknownProcedureDoesNothing) {
    InstallHookProc(RecordingProc, THookProcCodes{hpSendActivateApp}, false);
    UninstallHookProc(OtherProc);
    UninstallHookProc(OtherProc);
    EXPECT_EQ(HookProcRefCount(RecordingProc), 1);
    EXPECT_EQ(HookKindCount(hkCallWndProc), 1);
    EXPECT_TRUE(HookFilterInstalled());
    UninstallHookProc(RecordingProc);
    EXPECT_FALSE(HookFilterInstalled());
}

TEST(HookRegistry, FilterReportsActivationWindowsAndMouseMoves) {
    g_calls.clear();
    InstallHookProc(RecordingProc, THookProcCodes{hpSendActivateApp, hpSendWindowPosChanged, hpPostMouseMove}, false);
    ASSERT_FALSE(ApplicationIsActive());
    auto* f = NewForm<TForm>(nullptr);
    f->Show(); // shown, then activated
    ASSERT_TRUE(testenv::WaitActive(f));
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QApplication::sendEvent(qApp, &active);
    f->Hide(); // no window of the program is active any more, then hidden
    SendMouse(f->ClientWidget(), QEvent::MouseMove, QPoint(3, 3), Qt::NoButton, Qt::NoButton);
    Free(f);
    UninstallHookProc(RecordingProc);
    std::vector<std::pair<THookProcCode, WPARAM>> expected = {{hpSendWindowPosChanged, SWP_SHOWWINDOW},
                                                               {hpSendActivateApp, 1},
                                                               {hpSendActivateApp, 0},
                                                               {hpSendActivateApp, 1},
                                                               {hpSendActivateApp, 0},
                                                               {hpSendWindowPosChanged, SWP_HIDEWINDOW},
                                                               {hpPostMouseMove, 0}};
    EXPECT_EQ(g_calls, expected);
    g_calls.clear();
    QWidget probe;
    SendMouse(&probe, QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(g_calls.empty()) << "nothing reported once unregistered";
}

TEST(ListSortEx, ClassicQuicksortWithExtraData) {
    int keys[] = {5, 1, 4, 1, 3, 9, 2, 6};
    TList list;
    for (int& k : keys) list.Add(&k);
    int calls = 0;
    ListSortEx(
        &list,
        [](void* a, void* b, void* extra) {
            ++*static_cast<int*>(extra);
            return *static_cast<int*>(a) - *static_cast<int*>(b);
        },
        &calls);
    std::vector<int> sorted;
    for (int i = 0; i < list.Count(); ++i) sorted.push_back(*static_cast<int*>(list.Items(i)));
    EXPECT_EQ(sorted, (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 9}));
    EXPECT_GT(calls, 0) << "the extra data reaches every comparison";
    // The two equal keys: the quicksort swaps them (not a stable sort).
    EXPECT_EQ(list.Items(0), &keys[3]);
    EXPECT_EQ(list.Items(1), &keys[1]);

    TList one;
    one.Add(&keys[0]);
    ListSortEx(&one, [](void*, void*, void*) -> int { throw std::logic_error("compared"); }, nullptr);
    EXPECT_EQ(one.Count(), 1);
}
