#pragma once
// TExTimer: a timer component that fires OnTimer either from a worker thread
// of its own (Threaded, the default) or from an ordinary window timer; with
// SyncEvent (the default) the worker's ticks run on the UI thread while the
// worker waits, without it they run on the worker.
//
// The timer is idle while Interval is 0, it is disabled or it has no
// handler; an idle worker waits on a condition. Any change of Interval,
// Enabled, Threaded or of whether a handler is assigned wakes the worker,
// which then starts a new full interval; ticks never catch up, so the period
// is the interval plus the time the handler takes. Ticks never overlap, also
// not across a switch of Threaded: a tick that comes while another one runs
// is left out.
//
// The properties are set on the UI thread. Destroying the timer joins the
// worker before its memory goes: a tick on its way is not waited for, a
// Synchronize that waits for the UI thread gives up and its call never runs,
// and a timer freed inside its own synchronised OnTimer returns cleanly.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Thread.h"

class TExTimer;

// The worker: sleeps for the owner's interval and ticks, until terminated.
// An exception that escapes an unsynchronised tick is handed to the
// application's exception handling on the UI thread (EAbort is dropped).
class TTimerThread : public TThread {
public:
    explicit TTimerThread(TExTimer* owner);
    ~TTimerThread() override;

protected:
    void Execute() override;
    void Terminating() override;

private:
    TExTimer* owner_;
};

class TExTimer : public TComponent {
public:
    explicit TExTimer(TComponent* owner);
    ~TExTimer() override;

    bool Enabled() const;
    void SetEnabled(bool v);
    unsigned Interval() const;
    void SetInterval(unsigned ms);
    bool SyncEvent() const;
    void SetSyncEvent(bool v);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool v);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority p);
    TNotifyEvent OnTimer() const;
    void SetOnTimer(TNotifyEvent handler);

    // Runs method on the UI thread: at once on the UI thread, else through
    // the worker's Synchronize (given up once the timer is being destroyed).
    void Synchronize(const std::function<void()>& method);
    // Whether the worker thread has been started (it is, the first time the
    // timer runs threaded).
    bool HasWorker() const { return thread_ && thread_->Started(); }

protected:
    // Fires OnTimer when enabled, not being destroyed and a handler is set.
    virtual void Timer();

private:
    friend class TTimerThread;
    // Rebuilds the mode: idle, worker running or window timer running.
    void UpdateTimer();
    bool ActiveLocked() const;
    void WindowTick();
    // Starts a tick unless one runs; false when one does.
    bool BeginTick();
    void EndTick();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    unsigned generation_ = 0; // counts changes; a tick of an older one is left out
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool syncEvent_ = true;
    bool threaded_ = true;
    bool destroying_ = false;
    bool ticking_ = false;
    TThreadPriority priority_ = tpNormal;
    TNotifyEvent onTimer_;
    std::unique_ptr<TTimerThread> thread_;
    TTimer* windowTimer_ = nullptr;
    int inWindowTick_ = 0;
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};
