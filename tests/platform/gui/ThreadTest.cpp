#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "common/Watchdog.h"
#include "platform/gui/Thread.h"

namespace {

// A thread that runs a given body.
class BodyThread : public TThread {
public:
    explicit BodyThread(std::function<void(BodyThread*)> body) : body_(std::move(body)) {}
    ~BodyThread() override {
        Terminate();
        WaitFor();
    }

protected:
    void Execute() override { body_(this); }

private:
    std::function<void(BodyThread*)> body_;
};

struct Log {
    std::mutex mutex;
    std::vector<std::string> lines;
    void Add(std::string s) {
        std::lock_guard lock(mutex);
        lines.push_back(std::move(s));
    }
    std::vector<std::string> Get() {
        std::lock_guard lock(mutex);
        return lines;
    }
};

using Threads = GuiTest;

// The calls run on the user-interface thread while the thread waits, whether
// the UI thread runs its loop or waits for the thread to end.
TEST_F(Threads, SynchronizeRunsOnTheUiThreadWhileTheThreadWaits) {
    // From the UI thread the call is direct.
    bool direct = false;
    EXPECT_TRUE(TThread::Synchronize(nullptr, [&] { direct = IsMainThread(); }));
    EXPECT_TRUE(direct);

    for (bool waitFor : {false, true}) {
        Log log;
        std::atomic<bool> result{true};
        BodyThread t([&](BodyThread* self) {
            log.Add(std::string("worker on UI: ") + (IsMainThread() ? "yes" : "no"));
            for (int i = 0; i < 2; ++i)
                result = result && self->Synchronize([&] { log.Add(std::string("call on UI: ") + (IsMainThread() ? "yes" : "no")); });
            log.Add("after");
        });
        t.Start();
        if (waitFor) {
            Watchdog dog("WaitFor with synchronised calls");
            t.WaitFor();
        } else {
            ASSERT_TRUE(ProcessUntil([&] { return t.Finished(); }));
        }
        EXPECT_TRUE(t.Finished());
        EXPECT_TRUE(result);
        EXPECT_EQ(log.Get(), (std::vector<std::string>{"worker on UI: no", "call on UI: yes", "call on UI: yes", "after"})) << waitFor;
    }
}

TEST_F(Threads, ACallGivenUpAtTerminationNeverRuns) {
    std::atomic<int> ran{0};
    std::atomic<int> answer{-1};
    std::atomic<bool> posted{false};
    auto t = std::make_unique<BodyThread>([&](BodyThread* self) {
        posted = true;
        answer = self->Synchronize([&] { ++ran; }) ? 1 : 0;
    });
    t->Start();
    // The UI thread does not let the call through before the thread is terminated.
    while (!posted) std::this_thread::yield();
    {
        Watchdog dog("terminating a thread that waits in Synchronize");
        t->Terminate();
        t->WaitFor();
    }
    EXPECT_EQ(answer, 0);
    Application->ProcessMessages();
    EXPECT_EQ(ran, 0);
    // Once terminated, Synchronize refuses at once.
    BodyThread late([&](BodyThread* self) { answer = self->Synchronize([&] { ++ran; }) ? 1 : 0; });
    late.Terminate();
    late.Start();
    ASSERT_TRUE(ProcessUntil([&] { return late.Finished(); }));
    Application->ProcessMessages();
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(ran, 0);
}

TEST_F(Threads, ExceptionsReachTheApplicationOnTheUiThread) {
    Log log;
    Application->OnException = [&](TObject*, Exception* e) {
        log.Add(AnsiToUtf8(e->Message) + (IsMainThread() ? " on UI" : " elsewhere"));
    };
    std::atomic<bool> synced{false};
    BodyThread t([&](BodyThread* self) {
        synced = self->Synchronize([] { throw Exception("в вызове"_a); });
        throw EConvertError("в потоке"_a);
    });
    t.Start();
    ASSERT_TRUE(ProcessUntil([&] { return log.Get().size() == 2; }));
    EXPECT_TRUE(synced); // it ran, though it raised
    EXPECT_EQ(log.Get(), (std::vector<std::string>{"в вызове on UI", "в потоке on UI"}));
}

TEST_F(Threads, PriorityIsAppliedToTheRunningThread) {
    std::atomic<int> nice{-100};
    std::atomic<bool> go{false};
    BodyThread t([&](BodyThread* self) {
        while (!go && !self->Terminated()) std::this_thread::yield();
        nice = ::getpriority(PRIO_PROCESS, 0);
    });
    t.SetPriority(tpLower); // before the start: applied when it starts
    t.Start();
    t.SetPriority(tpLowest);
    EXPECT_EQ(t.Priority(), tpLowest);
    go = true;
    t.WaitFor();
    // PRIO_PROCESS 0 from the thread itself reads its own value on Linux.
    EXPECT_EQ(nice, 10);
    // Raising may be refused by the system; that is never an error.
    t.SetPriority(tpTimeCritical);
    EXPECT_EQ(t.Priority(), tpTimeCritical);
}

} // namespace
