#include "toolbars/TbExcmn.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Region.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Hooks.h"

namespace {

struct HookRecord {
    THookProc proc;
    int refCount;
    THookProcCodes codes;
};

std::vector<HookRecord>& Registry() {
    static std::vector<HookRecord> r;
    return r;
}

std::array<int, 3> g_kindCounts{};

// Which hook kinds a set of codes needs.
std::vector<THookKind> KindsOf(THookProcCodes codes) {
    std::vector<THookKind> k;
    if (codes.Contains(hpSendActivateApp) || codes.Contains(hpSendWindowPosChanged)) k.push_back(hkCallWndProc);
    if (codes.Contains(hpPreDestroy)) k.push_back(hkCBT);
    if (codes.Contains(hpPostMouseMove)) k.push_back(hkGetMessage);
    return k;
}

void DispatchHook(THookProcCode code, TControl* wnd, WPARAM wParam, LPARAM lParam) {
    // A procedure may register or unregister others while it runs.
    std::vector<THookProc> procs;
    for (const HookRecord& r : Registry())
        if (r.codes.Contains(code)) procs.push_back(r.proc);
    for (THookProc p : procs) {
        if (HookProcRefCount(p) == 0) continue;
        ::Dispatch([&] { p(code, wnd, wParam, lParam); });
    }
}

// The platform's hooks that stand for the kinds; they report and never
// swallow a message.
HHOOK g_callWndProc = 0;
HHOOK g_getMessage = 0;

void UpdateHooks() {
    if (g_kindCounts[hkCallWndProc] > 0 && !g_callWndProc) {
        g_callWndProc = SetWindowsHookEx(WH_CALLWNDPROC, [](THookMessage& m) {
            if (m.Msg == WM_ACTIVATEAPP) DispatchHook(hpSendActivateApp, nullptr, m.WParam, 0);
            else if (m.Msg == WM_WINDOWPOSCHANGED) DispatchHook(hpSendWindowPosChanged, m.Control, m.WParam, 0);
        });
    } else if (g_kindCounts[hkCallWndProc] == 0 && g_callWndProc) {
        UnhookWindowsHookEx(g_callWndProc);
        g_callWndProc = 0;
    }
    if (g_kindCounts[hkGetMessage] > 0 && !g_getMessage) {
        g_getMessage = SetWindowsHookEx(WH_GETMESSAGE, [](THookMessage& m) {
            if (m.Msg == WM_MOUSEMOVE) DispatchHook(hpPostMouseMove, m.Control, 0, MakeLParam(m.Pt.x, m.Pt.y));
        });
    } else if (g_kindCounts[hkGetMessage] == 0 && g_getMessage) {
        UnhookWindowsHookEx(g_getMessage);
        g_getMessage = 0;
    }
}

HookRecord* Find(THookProc proc) {
    for (HookRecord& r : Registry())
        if (r.proc == proc) return &r;
    return nullptr;
}

} // namespace

// Window destruction (hpPreDestroy) has no counterpart to report: a floating
// tool window is a top-level window of its own that no other window owns, so
// nothing is destroyed along with another window. The code is still counted
// so that registrations keep their meaning.

void InstallHookProc(THookProc proc, THookProcCodes codes, bool onlyIncRefCount) {
    if (!proc) return;
    if (HookRecord* r = Find(proc)) {
        ++r->refCount;
        codes = r->codes;
    } else {
        Registry().push_back(HookRecord{proc, 1, codes});
    }
    if (onlyIncRefCount) return;
    for (THookKind k : KindsOf(codes)) ++g_kindCounts[k];
    UpdateHooks();
}

void UninstallHookProc(THookProc proc) {
    auto& reg = Registry();
    auto it = std::find_if(reg.begin(), reg.end(), [proc](const HookRecord& r) { return r.proc == proc; });
    if (it == reg.end()) return;
    THookProcCodes codes = it->codes;
    if (--it->refCount <= 0) reg.erase(it);
    for (THookKind k : KindsOf(codes))
        if (g_kindCounts[k] > 0) --g_kindCounts[k];
    UpdateHooks();
}

int HookProcRefCount(THookProc proc) {
    HookRecord* r = Find(proc);
    return r ? r->refCount : 0;
}

int HookKindCount(THookKind kind) { return g_kindCounts[kind]; }

bool HookFilterInstalled() { return g_callWndProc != 0 || g_getMessage != 0; }

bool ApplicationIsActive() { return Application->Active(); }

void ListSortEx(TList* list, const TListSortCompareEx& compare, void* extraData) {
    if (!list || list->Count() < 2) return;
    std::function<void(int, int)> sort = [&](int l, int r) {
        int i;
        do {
            i = l;
            int j = r;
            void* pivot = list->Items((l + r) / 2);
            do {
                while (compare(list->Items(i), pivot, extraData) < 0) ++i;
                while (compare(list->Items(j), pivot, extraData) > 0) --j;
                if (i <= j) {
                    list->Exchange(i, j);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (l < j) sort(l, j);
            l = i;
        } while (i < r);
    };
    sort(0, list->Count() - 1);
}

void SelectNCUpdateRgn(TCanvas* canvas, const TRegion* rgn) {
    if (canvas && rgn && !rgn->IsEmpty()) canvas->SelectClipRgn(rgn);
}
