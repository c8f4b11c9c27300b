#pragma once
// TOverlay: drawing above a window, or above the whole desktop, without
// touching the window's own picture: rubber frames, drag outlines, the
// old platform's drawing on a window's or the desktop's device context in an
// exclusive-or mode.
//
// The overlay's canvas draws on a layer of its own that starts out black.
// The layer is combined with what lies under it by exclusive or: a black
// pixel leaves the window as it is, so drawing a figure twice in an
// exclusive-or mode (pen mode pmXor or pmNot, copy mode cmPatInvert or
// cmSrcInvert, DrawFocusRect) restores the window exactly.
//
// Over a control the layer covers the control's client area (as large as it
// was when the overlay was made) and takes client coordinates; it lies above
// the control's children and lets the mouse through. Over the desktop (no
// control) it covers every screen and takes screen coordinates; the
// desktop's pixels cannot be read, so there the layer's pixels show as they
// are: black is transparent, and a pixel drawing inverted shows its layer
// colour (white for an inversion) instead of the inverse.

#include <memory>

#include "platform/Types.h"

class TCanvas;
class TWinControl;

class TOverlay {
public:
    explicit TOverlay(TWinControl* over = nullptr);
    ~TOverlay();
    TOverlay(const TOverlay&) = delete;
    TOverlay& operator=(const TOverlay&) = delete;

    TCanvas* Canvas();
    // Makes the whole layer black again (nothing drawn).
    void Clear();
    // The smallest rectangle holding every drawn (non-black) pixel, in the
    // overlay's coordinates; empty when nothing is drawn.
    TRect DrawnRect() const;
    bool Empty() const { return IsRectEmpty(DrawnRect()); }
    // Whether the layer shows on the screen now (something is drawn and the
    // control, for an overlay over one, is showing).
    bool Showing() const;

private:
    class Layer;
    std::unique_ptr<Layer> layer_;
};
