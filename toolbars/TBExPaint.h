#pragma once
// Drawing pieces the docking toolbars share: solid fills, one-pixel 3-D
// edges and the frame insets of the non-client model.

#include "platform/Canvas.h"
#include "platform/gui/Messages.h"

void FillSolid(TCanvas* canvas, const TRect& r, TColor color);
// Top and left lines in one colour, bottom and right ones in the other.
void DrawEdgeLines(TCanvas* canvas, const TRect& r, TColor topLeft, TColor bottomRight);
// The border of a button: flat a thin raised or sunken edge, otherwise a
// two-pixel one.
void DrawButtonEdge(TCanvas* canvas, const TRect& r, bool flat, bool down);
// Answers WM_NCCALCSIZE: the window rectangle in message.LParam loses the
// insets (left, top, right, bottom).
void ApplyNCInsets(TMessage& message, const TRect& insets);
