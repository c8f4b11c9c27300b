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
