#include "toolbars/TbExcmn.h"

#include <QApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <array>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Region.h"
#include "platform/gui/Controls.h"

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
// The activation last reported to the procedures.
bool g_lastActive = false;

// Which hook kinds a set of codes needs.
std::vector<THookKind> KindsOf(THookProcCodes codes) {
    std::vector<THookKind> k;
    if (codes.Contains(hpSendActivateApp) || codes.Contains(hpSendWindowPosChanged)) k.push_back(hkCallWndProc);
    if (codes.Contains(hpPreDestroy)) k.push_back(hkCBT);
    if (codes.Contains(hpPostMouseMove)) k.push_back(hkGetMessage);
    return k;
}

void DispatchHook(THookProcCode code, QWidget* wnd, WPARAM wParam, LPARAM lParam) {
    // A procedure may register or unregister others while it runs.
    std::vector<THookProc> procs;
    for (const HookRecord& r : Registry())
        if (r.codes.Contains(code)) procs.push_back(r.proc);
    for (THookProc p : procs) {
        if (HookProcRefCount(p) == 0) continue;
        ::Dispatch([&] { p(code, wnd, wParam, lParam); });
    }
}

// A window whose showing matters to floating tool windows: a top-level
// window or an MDI child's frame.
bool IsFormWindow(QWidget* w) { return w->isWindow() || qobject_cast<QMdiSubWindow*>(w); }

// The one event filter that stands for the three hooks. It reports and never
// consumes.
class HookFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::ApplicationStateChange:
            if (o == qApp && g_kindCounts[hkCallWndProc] > 0) {
                auto* se = static_cast<QApplicationStateChangeEvent*>(e);
                g_lastActive = se->applicationState() == Qt::ApplicationActive;
                DispatchHook(hpSendActivateApp, nullptr, g_lastActive ? 1 : 0, 0);
            }
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            // The program's windows may all lose (or one regain) activation
            // without the desktop reporting a change of the application's state.
            if (g_kindCounts[hkCallWndProc] > 0 && ApplicationIsActive() != g_lastActive) {
                g_lastActive = !g_lastActive;
                DispatchHook(hpSendActivateApp, nullptr, g_lastActive ? 1 : 0, 0);
            }
            break;
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            if (g_kindCounts[hkCallWndProc] > 0 && o->isWidgetType()) {
                auto* w = static_cast<QWidget*>(o);
                if (IsFormWindow(w)) {
                    WPARAM flags = e->type() == QEvent::Show ? SWP_SHOWWINDOW : e->type() == QEvent::Hide ? SWP_HIDEWINDOW : SWP_FRAMECHANGED;
                    DispatchHook(hpSendWindowPosChanged, w, flags, 0);
                }
            }
            break;
        case QEvent::MouseMove:
            if (g_kindCounts[hkGetMessage] > 0 && o->isWidgetType()) {
                QPoint g = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
                DispatchHook(hpPostMouseMove, static_cast<QWidget*>(o), 0, MakeLParam(g.x(), g.y()));
            }
            break;
        default:
            break;
        }
        return false;
    }
};

HookFilter* g_filter = nullptr;

void UpdateFilter() {
    bool needed = std::any_of(g_kindCounts.begin(), g_kindCounts.end(), [](int n) { return n > 0; });
    if (needed && !g_filter && qApp) {
        g_filter = new HookFilter;
        g_lastActive = ApplicationIsActive();
        qApp->installEventFilter(g_filter);
    } else if (!needed && g_filter) {
        if (qApp) qApp->removeEventFilter(g_filter);
        delete g_filter;
        g_filter = nullptr;
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
    UpdateFilter();
}

void UninstallHookProc(THookProc proc) {
    auto& reg = Registry();
    auto it = std::find_if(reg.begin(), reg.end(), [proc](const HookRecord& r) { return r.proc == proc; });
    if (it == reg.end()) return;
    THookProcCodes codes = it->codes;
    if (--it->refCount <= 0) reg.erase(it);
    for (THookKind k : KindsOf(codes))
        if (g_kindCounts[k] > 0) --g_kindCounts[k];
    UpdateFilter();
}

int HookProcRefCount(THookProc proc) {
    HookRecord* r = Find(proc);
    return r ? r->refCount : 0;
}

int HookKindCount(THookKind kind) { return g_kindCounts[kind]; }

bool HookFilterInstalled() { return g_filter != nullptr; }

bool ApplicationIsActive() { return QApplication::activeWindow() != nullptr; }

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
