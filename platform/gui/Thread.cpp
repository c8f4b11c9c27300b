#include "platform/gui/Thread.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/gui/Controls.h"

namespace {

// One synchronised call. It runs at most once: the UI thread takes it from
// pending to running, the waiting thread from pending to abandoned.
struct Call {
    enum State { kPending, kRunning, kDone, kAbandoned };
    State state = kPending;
    std::function<void()> method;
};

// The nice value of a priority (Linux threads: -20 highest .. 19 lowest).
int NiceOf(TThreadPriority p) {
    switch (p) {
    case tpIdle: return 19;
    case tpLowest: return 10;
    case tpLower: return 5;
    case tpNormal: return 0;
    case tpHigher: return -5;
    case tpHighest: return -10;
    case tpTimeCritical: return -20;
    }
    return 0;
}

// Calls queued for the UI thread. A thread appends under the mutex and
// writes to an event descriptor; a notifier on the UI thread reads it and
// runs what is queued. Made on the UI thread (by the first TThread).
class CallQueue {
public:
    static CallQueue& Instance() {
        static CallQueue* queue = new CallQueue; // lives as long as the process
        return *queue;
    }
    void Add(std::function<void()> call) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(std::move(call));
        }
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
    }

private:
    CallQueue() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        // The notifier goes with the application object.
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier_.data(), &QSocketNotifier::activated, [this] { RunQueued(); });
    }
    void RunQueued() {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(fd_, &count, sizeof count);
        for (;;) {
            std::function<void()> call;
            {
                std::lock_guard lock(mutex_);
                if (calls_.empty()) return;
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            Dispatch(call);
        }
    }

    int fd_;
    QPointer<QSocketNotifier> notifier_;
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};

} // namespace

// What the thread object shares with the calls it posts, which may run after
// the object is gone.
struct TThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool terminated = false;
    bool finished = false;
    // The call the thread waits for, so that WaitFor on the UI thread can run it.
    std::shared_ptr<Call> pending;

    void RunCall(const std::shared_ptr<Call>& call) {
        {
            std::lock_guard lock(mutex);
            if (call->state != Call::kPending) return;
            call->state = Call::kRunning;
            if (pending == call) pending.reset();
        }
        struct Done {
            Shared* shared;
            Call* call;
            ~Done() {
                std::lock_guard lock(shared->mutex);
                call->state = Call::kDone;
                shared->changed.notify_all();
            }
        } done{this, call.get()};
        call->method();
    }
};

bool IsMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void PostException(std::exception_ptr error) {
    TThread::Queue([error] { std::rethrow_exception(error); });
}

TThread::TThread() : shared_(std::make_shared<Shared>()) { CallQueue::Instance(); }

void TThread::Queue(std::function<void()> method) { CallQueue::Instance().Add(std::move(method)); }

TThread::~TThread() {
    Terminate();
    WaitFor();
}

void TThread::Start() {
    if (started_) return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Run() {
    {
        std::lock_guard lock(priorityLock_);
        systemId_ = int(::syscall(SYS_gettid));
        ApplyPriority();
    }
    try {
        Execute();
    } catch (...) {
        // Nothing on this thread may show it: the UI thread reports it.
        PostException(std::current_exception());
    }
    finished_ = true;
    std::lock_guard lock(shared_->mutex);
    shared_->finished = true;
    shared_->changed.notify_all();
}

void TThread::Terminate() {
    terminated_ = true;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->terminated = true;
    }
    shared_->changed.notify_all();
    Terminating();
}

void TThread::WaitFor() {
    if (!started_) return;
    if (IsMainThread()) {
        std::shared_ptr<Shared> shared = shared_;
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->changed.wait(lock, [&] {
                return shared->finished || (!shared->terminated && shared->pending &&
                                            shared->pending->state == Call::kPending);
            });
            if (shared->finished) break;
            std::shared_ptr<Call> call = shared->pending;
            lock.unlock();
            Dispatch([&] { shared->RunCall(call); });
            lock.lock();
        }
    }
    if (thread_.joinable()) thread_.join();
}

void TThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(priorityLock_);
    priority_ = priority;
    ApplyPriority();
}

void TThread::ApplyPriority() {
    if (int id = systemId_.load()) ::setpriority(PRIO_PROCESS, id_t(id), NiceOf(priority_.load()));
}

bool TThread::Synchronize(TThread* thread, const std::function<void()>& method) {
    if (IsMainThread()) {
        method();
        return true;
    }
    std::shared_ptr<Shared> shared = thread ? thread->shared_ : std::make_shared<Shared>();
    auto call = std::make_shared<Call>();
    call->method = method;
    {
        std::lock_guard lock(shared->mutex);
        if (shared->terminated) return false;
        shared->pending = call;
    }
    shared->changed.notify_all();
    Queue([shared, call] { shared->RunCall(call); });
    std::unique_lock lock(shared->mutex);
    // Once the thread is terminated the wait ends even while the call runs:
    // the UI thread may be inside that call, stopping this very thread.
    shared->changed.wait(lock, [&] { return call->state == Call::kDone || shared->terminated; });
    if (shared->pending == call) shared->pending.reset();
    if (call->state == Call::kDone) return true;
    if (call->state == Call::kPending) call->state = Call::kAbandoned;
    return false;
}
