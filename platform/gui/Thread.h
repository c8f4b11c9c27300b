#pragma once
// TThread: work on a thread of its own. A derived class puts the work in
// Execute, which runs on a new thread from Start until it returns; a loop in
// Execute ends when it sees Terminated. There is no Suspend or Resume: a
// thread that has nothing to do waits on a condition of its own.
//
// Synchronize runs a call on the user-interface (UI) thread: from the UI
// thread at once, from another thread by queueing it (Queue) and waiting
// until it has run. The wait gives up once the thread is terminated, and a
// call given up never runs later, so a thread that is being stopped is never
// left waiting for a UI thread that is waiting for it.

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Classes.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Whether the caller runs on the UI thread (the thread of the application).
bool IsMainThread();
// Hands an exception caught on another thread to the application's
// exception handling (Application->OnException) on the UI thread (through
// TThread::Queue); EAbort is dropped there, as everywhere.
void PostException(std::exception_ptr error);

class TThread : public TObject {
public:
    TThread();
    // Terminates the thread and waits for it.
    ~TThread() override;

    // Starts Execute on a new thread (once; later calls do nothing).
    void Start();
    bool Started() const { return started_; }
    // Asks Execute to end: Terminated becomes true, a waiting Synchronize
    // gives up, and Terminating runs so that a thread waiting on a condition
    // of its own wakes up.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }
    // Whether Execute has returned.
    bool Finished() const { return finished_.load(); }
    // Waits until Execute has returned (joins the thread). On the UI thread a
    // call that the thread synchronises meanwhile runs here, so a thread
    // that is not terminated can still finish.
    void WaitFor();

    // Stored, and applied to the running thread as far as the system allows
    // (lowering always works; raising may need rights the program lacks).
    TThreadPriority Priority() const { return priority_.load(); }
    void SetPriority(TThreadPriority priority);

    // Runs method on the UI thread and waits for it (see the top). True when
    // it ran, false when it was given up. An exception that escapes the
    // method goes to the application's exception handling on the UI thread.
    // With a null thread the wait never gives up.
    static bool Synchronize(TThread* thread, const std::function<void()>& method);
    bool Synchronize(const std::function<void()>& method) { return Synchronize(this, method); }
    // Queues a call on the UI thread from any thread, without waiting: it
    // runs after the current event, like PostCall, inside the exception
    // guard of event handlers. Unlike PostCall, the hand-over is made through
    // a lock of the program's own, which ThreadSanitizer sees (the locks of
    // the toolkit's event queue are invisible to it).
    static void Queue(std::function<void()> method);

protected:
    virtual void Execute() = 0;
    // Called by Terminate after the flag is set, on the terminating thread.
    virtual void Terminating() {}

private:
    struct Shared;
    void Run();
    void ApplyPriority();

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<TThreadPriority> priority_{tpNormal};
    std::atomic<int> systemId_{0};
    // Orders the thread's first application of its priority with a change
    // made meanwhile, so that the value set last is the one that holds.
    std::mutex priorityLock_;
    bool started_ = false;
};
