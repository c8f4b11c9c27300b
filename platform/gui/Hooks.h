#pragma once
// Window hooks: procedures that see messages of every window of the program,
// not only of one control (a control's own messages are hooked through its
// WindowProc). The two kinds the program uses:
//
// WH_GETMESSAGE: input before any control gets it, wherever it goes:
//   WM_MOUSEMOVE, WM_LBUTTONDOWN ... WM_MBUTTONDBLCLK and WM_MOUSEWHEEL
//   (Control: the control under the mouse, or null over a window that is no
//   control's; LParam: the point in its client coordinates; Pt: the screen
//   point; WParam: the MK_ flags, for the wheel the delta in the high word),
//   WM_KEYDOWN and WM_KEYUP (Control: the control that has the focus, or
//   null; WParam: the virtual key; bit 30 of LParam set for a repeat of a
//   held key) and WM_CONTEXTMENU (Pt: the screen point). A procedure that
//   sets Msg to WM_NULL swallows the message: no control and no later hook
//   sees it.
// WH_CALLWNDPROC: notifications the program reacts to, after the fact:
//   WM_ACTIVATEAPP (Control null; WParam 1 when a window of the program
//   became the active window, 0 when the program lost the activation),
//   WM_WINDOWPOSCHANGED (Control: a form, or a control that is a window of
//   its own, whose window was shown, hidden, minimised, maximised or
//   restored; WParam: SWP_SHOWWINDOW, SWP_HIDEWINDOW or SWP_FRAMECHANGED)
//   and WM_CAPTURECHANGED (Control: the control that lost the mouse capture;
//   LParam: the new capture control or null).
//
// Hooks installed later are called first. Every call runs inside Dispatch.

#include <functional>

#include "platform/Types.h"
#include "platform/gui/Messages.h"

class TControl;

constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;

struct THookMessage {
    TControl* Control = nullptr;
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    TPoint Pt;
};

using THookProcedure = std::function<void(THookMessage& message)>;
using HHOOK = unsigned; // 0: no hook

// Installs a procedure of that kind; 0 for an unknown kind or no procedure.
HHOOK SetWindowsHookEx(int idHook, THookProcedure procedure);
// Removes it (also from inside a hook procedure); false when it is not installed.
bool UnhookWindowsHookEx(HHOOK hook);
