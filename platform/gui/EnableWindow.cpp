#include "platform/gui/EnableWindow.h"

#include <QWidget>

void EnableWindow(TWinControl* control, bool enable) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w) return;
    w->setEnabled(enable);
    if (enable && !control->Enabled()) {
        w->setFocusPolicy(Qt::NoFocus);
        if (w->hasFocus()) w->clearFocus();
    }
}

bool IsWindowEnabled(const TWinControl* control) {
    QWidget* w = control ? control->Widget() : nullptr;
    return w && w->isEnabled();
}
