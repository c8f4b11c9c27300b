#pragma once
// Private to the windowing layer: the Qt side of controls. Each control's
// widgets are registered with the router, an event filter that turns Qt
// events into TMessage records for the control's WindowProc. Controls that
// paint themselves keep a Surface: a persistent RGB32 image with a canvas;
// their widget only copies the image to the screen.

#include <QHash>
#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/QtText.h"
#include "platform/gui/Controls.h"

class QKeyEvent;
class QMouseEvent;

namespace gebridge {

// Registers widget w (the control's window, its client area or the viewport
// of a scroll area) as a source of the control's events.
void Register(QWidget* w, TControl* c, bool outerOfNonClient = false);
void Unregister(QWidget* w);
TControl* ControlOfWidget(const QObject* w);
// The control that owns w or the nearest registered ancestor of w within
// w's window (or the window of the control a drop-down w belongs to).
TControl* ControlAround(const QWidget* w);

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b);
// The virtual key of a Qt key event (0 when there is none).
WORD VirtualKeyOf(const QKeyEvent* e);
// The Windows-1251 character a key event types (0 when none).
char CharOf(const QKeyEvent* e);
// The Qt cursor of a cursor number (the program's own ones included).
QCursor QtCursorOf(int c);
// The rectangle of window w with the desktop's frame around it (for a widget
// that is not a window, its geometry).
QRect FrameGeometry(const QWidget* w);

// Hooks set by the forms and menus code.
extern bool (*g_shortCutHook)(TControl* focus, WORD key, TShiftState shift);
extern void (*g_hintHook)(TControl* c);
extern void (*g_idleHook)();
void ScheduleIdle();
// The window that a modal dialog about to run (other than dialog) must be
// kept above: the active window when it stays on top of the others or is
// kept above one that does, else a shown window that stays on top; null
// when no such window is shown. Drop-down lists and tool tips do not count.
QWidget* StayOnTopOwner(const QWidget* dialog);
// The window a modal dialog about to run (other than dialog) belongs to:
// the window it must be kept above, else the active window, else the modal
// window in front (a question asked as a file dialog closes), else the main
// window; one of the program's windows that the desktop lists, on the screen
// (not hidden, not minimized); null when there is none. A modal dialog that
// belongs to a window stays above that window's floating panes and goes and
// comes back with it. The program's modal windows are watched from the first
// call on: they stay within the user's reach (see Forms.cpp).
QWidget* ModalOwner(const QWidget* dialog);
// The parent of a dialog of the toolkit about to run: its ModalOwner.
QWidget* DialogParent();
// Whether a window of the program is active, as last reported by
// WM_ACTIVATEAPP (the desktop reports the change before Qt has moved its
// active window).
bool AppActive();
// Puts the application's event filter in place, as the first control does:
// a hook on the main window hears the desktop's messages before any control
// exists.
void WatchApplicationEvents();
// Asks the desktop to make window the active one. Which window of the
// program is active, as the forms hear it (Screen->ActiveForm, OnActivate,
// OnDeactivate), is decided once the desktop's answer has come: see
// Forms.cpp.
void AskActivation(QWidget* window);
// The window an activation of window goes to: the modal window in front
// when that keeps window from the user (window is not it nor one of its
// own), window itself otherwise.
QWidget* ActivationTarget(QWidget* window);
// Whether a window the program asked to activate still waits for the
// desktop's answer.
bool ActivationPending();
// Lets the forms hear of the window active now, unless a window the program
// asked to activate still waits for the desktop's answer.
void SettleActivation();

// The persistent image of a self-painting control.
class Surface {
public:
    explicit Surface(TControl* owner);
    ~Surface();
    TCanvas* Canvas();
    QImage& Image() { return image_; }
    // Follows the control's size: content kept, the rest filled, marked dirty.
    void Fit(int width, int height);
    void MarkDirty() { dirty_ = true; }
    bool Dirty() const { return dirty_; }
    // Runs the control's painting when the image is out of date.
    void PaintIfDirty();
    // Copies the image onto the widget being painted.
    void Blit(QWidget* w, const QRect& area);
    // The function that paints (Paint() of the control, or OnPaint).
    std::function<void()> painter;
    TColor background = clBtnFace;
    // The image content changed since it was last shown.
    bool ChangedSinceShown() const { return image_.cacheKey() != shownKey_; }

private:
    void BindCanvas();
    TControl* owner_;
    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
    bool dirty_ = true;
    bool painting_ = false;
    // The widget has been asked to show the image and has not yet done it.
    bool updateAsked_ = false;
    qint64 shownKey_ = 0;
};

// The widget of self-painting controls and forms.
class ControlWidget : public QWidget {
public:
    explicit ControlWidget(QWidget* parent = nullptr) : QWidget(parent) {}
    Surface* surface = nullptr;
    // Painted behind the children when there is no surface (a colour fill).
    bool fillBackground = false;
    QColor fill;
    std::function<void(QPainter&)> customPaint;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

// Every surface that may have been drawn on outside a paint: shown again at idle.
void TrackSurface(Surface* s, QWidget* w);
void UntrackSurface(Surface* s);
void FlushSurfaces();

} // namespace gebridge
