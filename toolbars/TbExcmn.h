#pragma once
// What the docking toolbars share: a small set type, the registry of hook
// procedures through which tool windows and toolbar buttons learn of
// application activation, window showing and hiding and mouse moves anywhere
// in the program, the test whether the application is active, a quicksort
// with caller data, and the clip of a frame paint to its update region.
//
// The hook procedures are fed by the platform's window hooks (Hooks.h): one
// of each kind is installed while any registered procedure needs it and
// removed when the last one goes; they never swallow a message.

#include <functional>
#include <initializer_list>

#include "platform/List.h"
#include "platform/gui/Messages.h"

class TCanvas;
class TControl;
class TRegion;

// A set of up to 32 enumeration values.
template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E v : values) bits_ |= 1u << unsigned(v);
    }
    constexpr bool Contains(E v) const { return bits_ & (1u << unsigned(v)); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TEnumSet& operator<<(E v) { bits_ |= 1u << unsigned(v); return *this; }
    constexpr TEnumSet& operator>>(E v) { bits_ &= ~(1u << unsigned(v)); return *this; }
    constexpr unsigned Bits() const { return bits_; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

private:
    unsigned bits_ = 0;
};

enum THookProcCode { hpSendActivateApp, hpSendWindowPosChanged, hpPreDestroy, hpPostMouseMove };
using THookProcCodes = TEnumSet<THookProcCode>;

// What a hook procedure receives:
// - hpSendActivateApp: Wnd null, WParam 1 when the application became
//   active, 0 when it became inactive.
// - hpSendWindowPosChanged: Wnd the form (or the control that is a window of
//   its own) whose window was shown, hidden, minimised or restored; WParam
//   the SWP_ flags of Messages.h.
// - hpPreDestroy: never reported (see TbExcmn.cpp).
// - hpPostMouseMove: Wnd the control under the mouse (null over a window
//   that is no control's), LParam the screen point (MakeLParam).
using THookProc = void (*)(THookProcCode Code, TControl* Wnd, WPARAM WParam, LPARAM LParam);

// The three kinds of hook the codes need: window-procedure calls (activation
// and window position), window creation and destruction, posted messages
// (mouse moves).
enum THookKind { hkCallWndProc, hkCBT, hkGetMessage };

// Registers proc for codes; a registered proc only gets its reference count
// raised (its codes stay). Unless onlyIncRefCount (a component in design
// mode), the kinds the codes need are counted and the filter installed.
void InstallHookProc(THookProc proc, THookProcCodes codes, bool onlyIncRefCount);
// Drops one reference of proc and its kinds' counts (never below zero); a
// proc that was never registered changes nothing.
void UninstallHookProc(THookProc proc);
// For tests: the reference count of proc (0 when not registered), the count
// of a kind, and whether a window hook is installed.
int HookProcRefCount(THookProc proc);
int HookKindCount(THookKind kind);
bool HookFilterInstalled();

// Whether a window of the program is active.
bool ApplicationIsActive();

// Sorts list with compare(item1, item2, extraData) by the classic quicksort
// (not stable: equal items end up in the order this procedure gives them).
using TListSortCompareEx = std::function<int(void* Item1, void* Item2, void* ExtraData)>;
void ListSortEx(TList* list, const TListSortCompareEx& compare, void* extraData);

// Limits a frame paint to its update region (window coordinates); a null or
// empty region leaves the clip as it is.
void SelectNCUpdateRgn(TCanvas* canvas, const TRegion* rgn);
