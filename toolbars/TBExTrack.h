#pragma once
// The mouse gestures of tool windows without a nested event loop. A tracker
// holds the mouse capture while a gesture lasts and takes every mouse and key
// message of the program through a window hook: moves go to its handler with
// the screen point, a release of the left button accepts, Escape cancels
// (when the gesture allows it), Ctrl is reported as it goes down and up, a
// new press of the left button ends, everything else of the mouse and the
// keyboard is swallowed. Losing the capture or the application's activation
// ends it without accepting. The gesture ends in its Finished handler.
// A gesture given ClipCursorTo keeps the cursor inside that rectangle while it
// lasts: its points are taken inside it, and the cursor is freed at the end.
//
// The outline of a drag or a resize is drawn on the desktop's overlay: the
// ring between the outline rectangle and its inside, in a half-tone combined
// by exclusive or, so that drawing it again takes it away.

#include <functional>
#include <memory>
#include <optional>

#include "platform/Region.h"
#include "platform/Types.h"
#include "platform/gui/Hooks.h"

class TBitmap;
class TControl;
class TOverlay;

class TMouseTracker {
public:
    struct Handlers {
        std::function<void(TPoint screen)> Moved;
        std::function<void(bool ctrlDown)> CtrlChanged;
        std::function<void(bool accepted)> Finished;
        bool EscapeEnds = true;
        std::optional<TRect> ClipCursorTo;
    };

    // grabber: the control that holds the mouse while the gesture lasts.
    TMouseTracker(TControl* grabber, Handlers handlers);
    ~TMouseTracker();
    TMouseTracker(const TMouseTracker&) = delete;
    TMouseTracker& operator=(const TMouseTracker&) = delete;

    // Captures the mouse and installs the window hooks.
    void Start();
    bool Active() const { return active_; }
    bool Accepted() const { return accepted_; }
    TPoint LastPoint() const { return last_; }

    // The input of the gesture (the window hook calls these; so may tests).
    void MouseMove(TPoint screen);
    void LeftButtonUp(TPoint screen);
    void LeftButtonDown(TPoint screen);
    void KeyDown(WORD key);
    void KeyUp(WORD key);
    // The grab went elsewhere: ends without accepting.
    void CaptureLost();
    // Ends without accepting.
    void Cancel() { End(false); }

private:
    void Input(THookMessage& m);
    void Notice(const THookMessage& m);
    void End(bool accepted);
    TControl* grabber_;
    std::weak_ptr<char> grabberAlive_;
    Handlers handlers_;
    HHOOK inputHook_ = 0;
    HHOOK noticeHook_ = 0;
    bool active_ = false;
    bool accepted_ = false;
    bool ending_ = false;
    bool clipping_ = false;
    TPoint last_;
};

// The half-tone outline shown while a tool window is dragged or resized.
class TDragOutline {
public:
    static TDragOutline& Instance();
    // Shows the ring of rect with the given thickness, or hides the outline
    // when rect is null or empty.
    void Draw(const TRect* rect, int thickness);
    void Hide() { Draw(nullptr, 0); }
    bool Visible() const { return visible_; }
    TRect Rect() const { return rect_; }
    int Thickness() const { return thickness_; }
    // The pixels the outline covers, in screen coordinates.
    TRegion Ring() const;

private:
    TDragOutline();
    ~TDragOutline();
    // Draws (or, drawn again, takes away) the ring on the overlay.
    void Invert(const TRect& rect, int thickness);
    std::unique_ptr<TOverlay> overlay_;
    std::unique_ptr<TBitmap> halftone_;
    bool visible_ = false;
    TRect rect_;
    int thickness_ = 0;
};

// The ring of rect: the rectangle minus its inside shrunk by thickness.
TRegion OutlineRing(const TRect& rect, int thickness);
