#pragma once
// TScopeGuard: a clean-up that runs when its scope is left, by the end of the
// scope, a return or an exception: the flag that is put back, the EndUpdate
// that matches a BeginUpdate, the wait cursor taken away. The clean-up is
// written once, beside what it undoes, and cannot be forgotten on one of the
// ways out.
//
//     list->BeginUpdate();
//     TScopeGuard endUpdate([&] { list->EndUpdate(); });
//
// A clean-up that fails on the way out of a scope left normally throws from
// there, as it would written after the scope. One that fails while an
// exception is already leaving the scope is dropped: the exception that
// left the scope is the one the caller hears of (two at once cannot be
// thrown).
//
// Dismiss() gives the clean-up up, for the work that needs undoing only when
// it fails.

#include <exception>
#include <utility>

template <class F>
class TScopeGuard {
public:
    explicit TScopeGuard(F cleanUp) : cleanUp_(std::move(cleanUp)) {}
    TScopeGuard(const TScopeGuard&) = delete;
    TScopeGuard& operator=(const TScopeGuard&) = delete;

    ~TScopeGuard() noexcept(false) {
        if (!active_) return;
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                cleanUp_();
            } catch (...) {
            }
            return;
        }
        cleanUp_();
    }

    void Dismiss() { active_ = false; }

private:
    F cleanUp_;
    int exceptions_ = std::uncaught_exceptions();
    bool active_ = true;
};
