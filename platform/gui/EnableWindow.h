#pragma once
// The old system calls on a control's window: whether the window takes
// input, apart from the control's own Enabled. A window enabled while its
// control is disabled hears the mouse but never takes the keyboard focus (the
// calendar of a date popup works that way, so the edit keeps the focus).
// Setting the control's Enabled later sets its window again.

#include "platform/gui/Controls.h"

void EnableWindow(TWinControl* control, bool enable);
bool IsWindowEnabled(const TWinControl* control);
