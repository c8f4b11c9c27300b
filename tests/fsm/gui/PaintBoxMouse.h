#pragma once
// Real mouse events on a control's widget at client pixel points: what a
// user's press, move and release deliver.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/Controls.h"

namespace paintmouse {

inline void Send(TControl* c, QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held, int x, int y) {
    QWidget* w = c->Widget();
    QMouseEvent e(type, QPointF(x, y), QPointF(w->mapToGlobal(QPoint(x, y))), b, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void Press(TControl* c, int x, int y) { Send(c, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, x, y); }
inline void Release(TControl* c, int x, int y) { Send(c, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x, y); }
inline void MoveTo(TControl* c, int x, int y, Qt::MouseButtons held = Qt::LeftButton) {
    Send(c, QEvent::MouseMove, Qt::NoButton, held, x, y);
}
// A move to the point with no button held, then a click there.
inline void Click(TControl* c, int x, int y) {
    MoveTo(c, x, y, Qt::NoButton);
    Press(c, x, y);
    Release(c, x, y);
}

} // namespace paintmouse
