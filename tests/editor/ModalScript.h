#pragma once
// Acting on modal forms that open inside one another (a dialog that opens
// an entry form): each form gets a queue of steps, and every time it is shown
// modally its next step runs once the form's loop waits and the form is
// active. A step usually fills
// fields and ends the form (ModalResult); a watchdog ends loops that a
// failing step left open.

#include <QTimer>
#include <deque>
#include <functional>
#include <map>

#include "common/Wait.h"
#include "platform/gui/Forms.h"

class ModalScript {
public:
    ModalScript() {
        Application->OnModalStart = [this](TForm* f) {
            auto it = steps_.find(f);
            if (it == steps_.end() || it->second.empty()) {
                ++unscripted;
                QTimer::singleShot(0, [f] { f->ModalResult = mrCancel; });
                return;
            }
            auto step = it->second.front();
            it->second.pop_front();
            ++shown[f];
            // The step acts once the desktop has made the form active.
            testenv::WhenActive(f, [step] { step(); });
        };
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            stuck = true;
            for (auto& [form, queue] : steps_) form->ModalResult = mrCancel;
        });
        watchdog_.start(2 * testenv::kWaitLimitMs);
    }
    ~ModalScript() { Application->OnModalStart = nullptr; }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // The next showing of form runs step.
    void On(TForm* form, std::function<void()> step) { steps_[form].push_back(std::move(step)); }
    // Steps not run yet for the form.
    std::size_t Pending(TForm* form) const {
        auto it = steps_.find(form);
        return it == steps_.end() ? 0 : it->second.size();
    }

    std::map<TForm*, int> shown;
    int unscripted = 0;
    bool stuck = false;

private:
    std::map<TForm*, std::deque<std::function<void()>>> steps_;
    QTimer watchdog_;
};
