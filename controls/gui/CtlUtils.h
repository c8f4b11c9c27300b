#pragma once
// Window helpers of the component library: the nested wait cursor, centring
// and activating windows, whether this program is in the foreground, the
// picture behind a control, and the "not implemented" report.

#include "controls/CtlUtils.h"
#include "platform/gui/Forms.h"

// The first StartWait shows the hour-glass; the matching StopWait puts the
// cursor that was there back. Extra StopWait calls do nothing.
void StartWait();
void StopWait();
// The current nesting of StartWait.
int WaitCount();

// Centres a form on the screen, pushed back onto it where it would stick out.
void CenterWindow(TForm* form);
// Brings an enabled form to the front (restoring it when asked and not maximised).
void SwitchToWindow(TForm* form, bool restore);
// Whether a window of this program is the active window.
bool IsForegroundTask();
// Paints what lies under the control (its parent's picture and the siblings
// before it) into dest, with dest's (0, 0) at the control's top-left corner.
void CopyParentImage(TControl* control, TCanvas* dest);
// The height of a text line in a font (the line height of the sample text).
int FontTextHeight(const TFont* font, const AnsiString& sample);
// The smallest height of a one-line edit in a font: the line, the frame and a pixel.
int EditMinHeight(const TFont* font);
// Whether a typed character is the accelerator ("&x") of a caption,
// letter case ignored.
bool IsAccelerator(WPARAM key, const AnsiString& caption);
// Whether the mouse is over the control and this program is in the foreground.
bool MouseIsOver(TControl* control);
// Shows "Функция не реализована" and ends the current operation silently.
[[noreturn]] void NotImplemented();

// ---- placing, showing and activating windows -------------------------------------------

// Centres a form on the screen (an MDI child in its frame's client area) and
// any other control in its parent; a negative position becomes 0.
void CenterControl(TControl* control);
// Turns a form into a borderless child of control: placed by align (alNone:
// its screen position taken into the control's client area), its auto-scroll
// kept and its visibility set to show. The control does not re-align its
// children until the form is in place.
void MergeForm(TWinControl* control, TForm* form, TAlign align, bool show);
// Shows, hides, minimises, maximises or restores a window by a show command.
// Whether the desktop animates the change is its window manager's choice.
void ShowWinNoAnimate(TControl* control, unsigned cmdShow);
// Shows the window and makes it the active window.
void ActivateWindow(TControl* control);
// Shows or hides the sunken edge around an MDI frame's client area, the
// children's area growing or shrinking by it; nothing for another form.
void ShowMDIClientEdge(TForm* frame, bool showEdge);

// ---- messages --------------------------------------------------------------------------

// The application's message box: its answer (IDOK, IDYES...).
int MsgBox(const AnsiString& caption, const AnsiString& text, unsigned flags);
// The message dialog: its modal result.
int MsgDlg(const AnsiString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// Takes one queued message msg of the control out of the queue; a quit
// message taken out is queued again with its exit code.
void KillMessage(TControl* control, unsigned msg);

// ---- cursors ---------------------------------------------------------------------------

// Registers the named cursor picture of the module (hot spot at its top-left
// corner) as the first free screen cursor from 100 upward and answers its
// number; EResNotFound when there is no such picture, EOutOfResources "Out of
// system resources" when every number is taken.
int DefineCursor(HINSTANCE instance, const AnsiString& name);

// ---- grid-cell text and pictures --------------------------------------------------------

// Writes text into rect at (left + dx, top + dy) by the alignment (right: 3
// pixels from the right edge; centre: on the middle), cut to rect. Word wrap
// or a text of several lines is laid out in one off-screen bitmap that all
// calls share, on the canvas's brush, and copied into rect.
void WriteText(TCanvas* canvas, const TRect& rect, int dx, int dy, const AnsiString& text, TAlignment alignment,
               bool wordWrap, bool rightToLeft = false);
// Text of a grid cell on the control's canvas: 2 pixels from the left, at the
// top (2 pixels down), the middle or the bottom of the cell by vertAlign.
void DrawCellTextEx(TControl* control, int col, int row, const AnsiString& text, const TRect& rect,
                    TAlignment align, TVertAlignment vertAlign, bool wordWrap, bool rightToLeft);
// The same, wrapping centred text only.
void DrawCellText(TControl* control, int col, int row, const AnsiString& text, const TRect& rect, TAlignment align,
                  TVertAlignment vertAlign);
void DrawCellText(TControl* control, int col, int row, const AnsiString& text, const TRect& rect, TAlignment align,
                  TVertAlignment vertAlign, bool rightToLeft);
// A picture centred in a grid cell.
void DrawCellBitmap(TControl* control, int col, int row, TBitmap* graphic, const TRect& rect);
