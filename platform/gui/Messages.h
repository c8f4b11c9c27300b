#pragma once
// Window messages of the windowing layer. Controls exchange TMessage records
// through their WindowProc chain; the numbers are the classic desktop's, so
// code that hooks a control's window procedure reads as it always did.
// Mouse coordinates travel in LParam as two signed 16-bit halves.

#include <cstdint>

using WPARAM = intptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WORD = uint16_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr LPARAM MakeLParam(int lo, int hi) { return LPARAM(uint32_t(uint16_t(int16_t(lo))) | (uint32_t(uint16_t(int16_t(hi))) << 16)); }
constexpr int LParamX(LPARAM l) { return int16_t(uint16_t(uint32_t(l) & 0xFFFF)); }
constexpr int LParamY(LPARAM l) { return int16_t(uint16_t(uint32_t(l) >> 16)); }

constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
// WParam of WM_ACTIVATE.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_ENABLE = 0x000A;
constexpr unsigned WM_SETTEXT = 0x000C;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
// The desktop's settings changed; the main window's hooks hear it when the
// desktop reports a new locale (WParam and LParam 0).
constexpr unsigned WM_SETTINGCHANGE = 0x001A;
constexpr unsigned WM_ACTIVATEAPP = 0x001C;
constexpr unsigned WM_CANCELMODE = 0x001F;
constexpr unsigned WM_SETCURSOR = 0x0020;
constexpr unsigned WM_CONTEXTMENU = 0x007B;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
constexpr unsigned WM_NCCALCSIZE = 0x0083;
constexpr unsigned WM_NCHITTEST = 0x0084;
constexpr unsigned WM_NCPAINT = 0x0085;
constexpr unsigned WM_NCACTIVATE = 0x0086;
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_HSCROLL = 0x0114;
constexpr unsigned WM_VSCROLL = 0x0115;
constexpr unsigned WM_INITMENUPOPUP = 0x0117;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_CAPTURECHANGED = 0x0215;
constexpr unsigned WM_MDIACTIVATE = 0x0222;
constexpr unsigned WM_DROPFILES = 0x0233;
constexpr unsigned WM_MOUSELEAVE = 0x02A3;
constexpr unsigned WM_USER = 0x0400;
// Edit controls: the text's margins inside the box (WParam: EC_LEFTMARGIN
// and/or EC_RIGHTMARGIN; LParam: left in the low word, right in the high one).
constexpr unsigned EM_SETMARGINS = 0x00D3;
// Answers the margins the same way: left in the low word, right in the high one.
constexpr unsigned EM_GETMARGINS = 0x00D4;
enum : WPARAM { EC_LEFTMARGIN = 0x1, EC_RIGHTMARGIN = 0x2 };
// List boxes: the item operations, which a box's window procedure sees
// (LB_INSERTSTRING: WParam the index, the item in LParam; Result the index
// or -1), and the width over which the box scrolls sideways (WParam, pixels).
constexpr unsigned LB_ADDSTRING = 0x0180;
constexpr unsigned LB_INSERTSTRING = 0x0181;
constexpr unsigned LB_DELETESTRING = 0x0182;
constexpr unsigned LB_RESETCONTENT = 0x0184;
constexpr unsigned LB_GETHORIZONTALEXTENT = 0x0193;
constexpr unsigned LB_SETHORIZONTALEXTENT = 0x0194;
constexpr unsigned WM_APP = 0x8000;

// Notifications of the component layer (CM_BASE = 0xB000).
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 17;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 18;
constexpr unsigned CM_HITTEST = CM_BASE + 19;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 20;
constexpr unsigned CM_ENTER = CM_BASE + 21;
constexpr unsigned CM_EXIT = CM_BASE + 22;
constexpr unsigned CM_MENUCHANGED = CM_BASE + 23;
constexpr unsigned CM_APPSYSCOMMAND = CM_BASE + 24;
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 25;
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 26;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 27;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 28;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 30;
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 35;
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 41;
constexpr unsigned CM_CANCELMODE = CM_BASE + 40;
constexpr unsigned CM_CONTROLCHANGE = CM_BASE + 44;

// Non-client hit-test codes (answers to WM_NCHITTEST).
enum : int {
    HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
    HTGROWBOX = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTMINBUTTON = 8, HTMAXBUTTON = 9,
    HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15,
    HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20, HTHELP = 21,
};

// Mouse-key flags carried in WParam of mouse messages.
enum : unsigned { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };

// Flags of WM_WINDOWPOSCHANGED (WParam of the window hook's message).
constexpr WPARAM SWP_FRAMECHANGED = 0x20;
constexpr WPARAM SWP_SHOWWINDOW = 0x40;
constexpr WPARAM SWP_HIDEWINDOW = 0x80;

// Window scroll bars: which bar, what a scroll message reports (low word of
// WParam), and which fields of TScrollInfo count.
enum : int { SB_HORZ = 0, SB_VERT = 1 };
enum : unsigned {
    SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
    SB_TOP = 6, SB_BOTTOM = 7, SB_ENDSCROLL = 8,
};
enum : unsigned { SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_TRACKPOS = 0x10, SIF_ALL = 0x17 };
struct TScrollInfo {
    unsigned cbSize = sizeof(TScrollInfo);
    unsigned fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// System commands (WM_SYSCOMMAND WParam).
enum : unsigned { SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060, SC_RESTORE = 0xF120 };

// Virtual key codes.
enum : WORD {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29, VK_PRINT = 0x2A,
    VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10, VK_F11, VK_F12,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
};
