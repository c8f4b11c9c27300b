#pragma once
// The mouse gestures of tool windows without a nested event loop. A tracker
// holds the mouse (and the keyboard) while a gesture lasts and takes every
// mouse and key event of the program through an application event filter:
// moves go to its handler with the screen point, a release of the left button
// accepts, Escape cancels (when the gesture allows it), Ctrl is reported as it
// goes down and up, a new press of the left button ends, everything else of
// the mouse and the keyboard is swallowed. The gesture ends in its Finished
// handler.
//
// The outline of a drag or a resize is an overlay window shaped to the ring
// between the outline rectangle and its inside.

#include <functional>
#include <memory>

#include "platform/Region.h"
#include "platform/Types.h"
#include "platform/gui/Messages.h"

class QWidget;

class TMouseTracker {
public:
    struct Handlers {
        std::function<void(TPoint screen)> Moved;
        std::function<void(bool ctrlDown)> CtrlChanged;
        std::function<void(bool accepted)> Finished;
        bool EscapeEnds = true;
    };

    // grabber: the widget that holds the mouse while the gesture lasts.
    TMouseTracker(QWidget* grabber, Handlers handlers);
    ~TMouseTracker();
    TMouseTracker(const TMouseTracker&) = delete;
    TMouseTracker& operator=(const TMouseTracker&) = delete;

    // Grabs the mouse and keyboard and installs the event filter.
    void Start();
    bool Active() const { return active_; }
    bool Accepted() const { return accepted_; }
    TPoint LastPoint() const { return last_; }

    // The input of the gesture (the event filter calls these; so may tests).
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
    class Filter;
    void End(bool accepted);
    QWidget* grabber_;
    Handlers handlers_;
    std::unique_ptr<Filter> filter_;
    bool active_ = false;
    bool accepted_ = false;
    bool ending_ = false;
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
    TDragOutline() = default;
    class Window;
    Window* window_ = nullptr;
    bool visible_ = false;
    TRect rect_;
    int thickness_ = 0;
};

// The ring of rect: the rectangle minus its inside shrunk by thickness.
TRegion OutlineRing(const TRect& rect, int thickness);
