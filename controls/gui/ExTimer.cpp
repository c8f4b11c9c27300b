#include "controls/gui/ExTimer.h"

#include <chrono>

#include "platform/ScopeGuard.h"

// ---- TTimerThread ---------------------------------------------------------------------------

TTimerThread::TTimerThread(TExTimer* owner) : owner_(owner) {}

TTimerThread::~TTimerThread() {
    Terminate();
    WaitFor();
}

void TTimerThread::Terminating() {
    // Under the lock, so that a worker between its test of the flag and its
    // wait cannot miss the wake-up.
    std::lock_guard lock(owner_->mutex_);
    owner_->changed_.notify_all();
}

void TTimerThread::Execute() {
    TExTimer* t = owner_;
    std::unique_lock lock(t->mutex_);
    while (!Terminated()) {
        if (!t->threaded_ || !t->ActiveLocked()) {
            t->changed_.wait(lock);
            continue;
        }
        unsigned generation = t->generation_;
        auto period = std::chrono::milliseconds(t->interval_);
        if (t->changed_.wait_for(lock, period, [&] { return Terminated() || t->generation_ != generation; }))
            continue;
        if (t->ticking_) continue;
        bool sync = t->syncEvent_;
        t->ticking_ = true;
        lock.unlock();
        if (sync) {
            // A change made on the UI thread after the tick was posted (a
            // switch to the window timer, say) leaves the tick out.
            Synchronize([t, generation] {
                if (t->generation_ == generation) t->Timer();
            });
        } else {
            try {
                t->Timer();
            } catch (...) {
                PostException(std::current_exception());
            }
        }
        lock.lock();
        t->ticking_ = false;
    }
}

// ---- TExTimer ---------------------------------------------------------------------------------

TExTimer::TExTimer(TComponent* owner) : TComponent(owner) {}

TExTimer::~TExTimer() {
    Destroying();
    {
        std::lock_guard lock(mutex_);
        destroying_ = true;
        enabled_ = false;
        onTimer_ = nullptr;
        ++generation_;
    }
    changed_.notify_all();
    if (thread_) {
        thread_->Terminate();
        thread_->WaitFor();
        thread_.reset();
    }
    if (windowTimer_) {
        windowTimer_->SetEnabled(false);
        // Freed inside its own window tick: the window timer is still on
        // its way out of the call that got here.
        if (inWindowTick_) {
            TTimer* t = windowTimer_;
            PostCall([t] { Free(t); });
        } else {
            Free(windowTimer_);
        }
        windowTimer_ = nullptr;
    }
    alive_.reset();
}

bool TExTimer::Enabled() const {
    std::lock_guard lock(mutex_);
    return enabled_;
}

void TExTimer::SetEnabled(bool v) {
    {
        std::lock_guard lock(mutex_);
        if (v == enabled_) return;
        enabled_ = v;
    }
    UpdateTimer();
}

unsigned TExTimer::Interval() const {
    std::lock_guard lock(mutex_);
    return interval_;
}

void TExTimer::SetInterval(unsigned ms) {
    {
        std::lock_guard lock(mutex_);
        if (ms == interval_) return;
        interval_ = ms;
    }
    UpdateTimer();
}

bool TExTimer::SyncEvent() const {
    std::lock_guard lock(mutex_);
    return syncEvent_;
}

void TExTimer::SetSyncEvent(bool v) {
    std::lock_guard lock(mutex_);
    syncEvent_ = v;
}

void TExTimer::SetThreaded(bool v) {
    {
        std::lock_guard lock(mutex_);
        if (v == threaded_) return;
        threaded_ = v;
    }
    UpdateTimer();
}

void TExTimer::SetThreadPriority(TThreadPriority p) {
    if (p == priority_) return;
    priority_ = p;
    if (threaded_) UpdateTimer();
}

TNotifyEvent TExTimer::OnTimer() const {
    std::lock_guard lock(mutex_);
    return onTimer_;
}

void TExTimer::SetOnTimer(TNotifyEvent handler) {
    bool changed;
    {
        std::lock_guard lock(mutex_);
        changed = bool(onTimer_) != bool(handler);
        onTimer_ = std::move(handler);
    }
    if (changed) UpdateTimer();
}

bool TExTimer::ActiveLocked() const { return enabled_ && interval_ != 0 && onTimer_ && !destroying_; }

void TExTimer::UpdateTimer() {
    // The window timer stops before the worker may tick again, and the
    // worker goes idle (the generation changes) before the window timer starts.
    if (windowTimer_) windowTimer_->SetEnabled(false);
    bool active;
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        active = ActiveLocked();
    }
    changed_.notify_all();
    if (!active) return;
    if (threaded_) {
        if (!thread_) thread_ = std::make_unique<TTimerThread>(this);
        thread_->SetPriority(priority_);
        thread_->Start();
        return;
    }
    if (!windowTimer_) {
        windowTimer_ = new TTimer(nullptr);
        windowTimer_->SetEnabled(false);
        windowTimer_->OnTimer = [this](TObject*) { WindowTick(); };
    }
    windowTimer_->SetInterval(interval_);
    windowTimer_->SetEnabled(true);
}

void TExTimer::Synchronize(const std::function<void()>& method) {
    if (IsMainThread()) method();
    else TThread::Synchronize(thread_.get(), method);
}

void TExTimer::Timer() {
    TNotifyEvent handler;
    {
        std::lock_guard lock(mutex_);
        if (!enabled_ || destroying_ || !onTimer_) return;
        handler = onTimer_;
    }
    // A copy: the handler may replace itself or free the timer.
    handler(this);
}

bool TExTimer::BeginTick() {
    std::lock_guard lock(mutex_);
    if (ticking_) return false;
    ticking_ = true;
    return true;
}

void TExTimer::EndTick() {
    std::lock_guard lock(mutex_);
    ticking_ = false;
}

void TExTimer::WindowTick() {
    if (!BeginTick()) return;
    std::weak_ptr<char> alive = alive_;
    ++inWindowTick_;
    // A timer that its own handler freed is left alone.
    TScopeGuard endTick([&] {
        if (alive.expired()) return;
        --inWindowTick_;
        EndTick();
    });
    Timer();
}
