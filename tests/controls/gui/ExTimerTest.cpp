#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "common/Watchdog.h"
#include "controls/gui/ExTimer.h"

namespace {

// Counts every tick the timer starts, whatever the handler.
class CountingTimer : public TExTimer {
public:
    explicit CountingTimer(TComponent* owner) : TExTimer(owner) {}
    std::atomic<int> ticks{0};

protected:
    void Timer() override {
        ++ticks;
        TExTimer::Timer();
    }
};

// Where the handler ran.
struct Ticks {
    std::atomic<int> onUi{0}, elsewhere{0};
    int Total() const { return onUi + elsewhere; }
    TNotifyEvent Handler() {
        return [this](TObject*) { ++(IsMainThread() ? onUi : elsewhere); };
    }
};

using ExTimers = GuiTest;

TEST_F(ExTimers, AnIdleTimerNeverFiresInEitherMode) {
    struct Case { bool threaded; unsigned interval; bool handler; bool enabled; } cases[] = {
        {true, 0, true, true},   {false, 0, true, true},  {true, 5, false, true},
        {false, 5, false, true}, {true, 5, true, false},  {false, 5, true, false},
    };
    for (const Case& c : cases) {
        Ticks ticks;
        CountingTimer t(nullptr);
        t.SetThreaded(c.threaded);
        t.SetSyncEvent(false);
        t.SetInterval(c.interval);
        t.SetEnabled(c.enabled);
        if (c.handler) t.SetOnTimer(ticks.Handler());
        ProcessFor(60);
        EXPECT_EQ(t.ticks, 0) << c.threaded << c.interval << c.handler << c.enabled;
        EXPECT_EQ(ticks.Total(), 0);
        EXPECT_FALSE(t.HasWorker()); // an idle timer starts no thread
    }
}

TEST_F(ExTimers, TicksRunWhereTheModeSays) {
    struct Case { bool threaded, sync; bool onUi; } cases[] = {
        {true, true, true}, {true, false, false}, {false, true, true}, {false, false, true},
    };
    for (const Case& c : cases) {
        Ticks ticks;
        TExTimer t(nullptr);
        t.SetThreaded(c.threaded);
        t.SetSyncEvent(c.sync);
        t.SetInterval(5);
        t.SetOnTimer(ticks.Handler());
        ASSERT_TRUE(ProcessUntil([&] { return ticks.Total() >= 3; }));
        t.SetEnabled(false);
        EXPECT_EQ(ticks.onUi > 0, c.onUi) << c.threaded << c.sync;
        EXPECT_EQ(ticks.elsewhere > 0, !c.onUi) << c.threaded << c.sync;
        EXPECT_EQ(t.HasWorker(), c.threaded);
    }
}

TEST_F(ExTimers, AChangeWakesTheWorkerForANewInterval) {
    Ticks ticks;
    TExTimer t(nullptr);
    t.SetInterval(60000);
    t.SetOnTimer(ticks.Handler());
    ProcessFor(30);
    EXPECT_EQ(ticks.Total(), 0);
    // Without the wake-up the worker would sleep out its minute.
    t.SetInterval(5);
    EXPECT_TRUE(ProcessUntil([&] { return ticks.Total() >= 1; }));
}

TEST_F(ExTimers, SwitchingThreadedNeverLetsBothSourcesFire) {
    // Ticks never overlap, and the sources take turns: one run of worker
    // ticks, then one of window ticks, and so on, one run per switch (a
    // worker tick already on its way when the switch is made ends first).
    std::mutex m;
    std::string sources;
    std::atomic<int> inside{0}, overlaps{0}, worker{0}, window{0};
    TExTimer t(nullptr);
    t.SetSyncEvent(false);
    t.SetInterval(2);
    t.SetOnTimer([&](TObject*) {
        if (++inside > 1) ++overlaps;
        bool onWorker = !IsMainThread();
        {
            std::lock_guard lock(m);
            sources += onWorker ? 'W' : 'U';
        }
        ++(onWorker ? worker : window);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        --inside;
    });
    const int switches = 6;
    for (int round = 0; round <= switches; ++round) {
        std::atomic<int>& now = round % 2 == 0 ? worker : window;
        int before = now;
        ASSERT_TRUE(ProcessUntil([&] { return now >= before + 3; }));
        if (round < switches) t.SetThreaded(round % 2 == 1);
    }
    t.SetEnabled(false);
    EXPECT_EQ(overlaps, 0);
    std::lock_guard lock(m);
    int runs = 1;
    for (std::size_t i = 1; i < sources.size(); ++i) runs += sources[i] != sources[i - 1];
    EXPECT_EQ(runs, switches + 1) << sources;
    EXPECT_EQ(sources[0], 'W');
}

TEST_F(ExTimers, DestroyedWhileTheWorkerSleeps) {
    Ticks ticks;
    auto* t = new TExTimer(nullptr);
    t->SetInterval(60000);
    t->SetOnTimer(ticks.Handler());
    ASSERT_TRUE(t->HasWorker());
    ProcessFor(20);
    {
        Watchdog dog("destroying a timer whose worker sleeps", std::chrono::seconds(5));
        delete t;
    }
    ProcessFor(20);
    EXPECT_EQ(ticks.Total(), 0);
}

TEST_F(ExTimers, DestroyedWhileAnUnsynchronisedTickWaitsForTheUiThread) {
    std::atomic<bool> entered{false};
    std::atomic<int> ticks{0}, synchronised{0};
    auto* t = new TExTimer(nullptr);
    t->SetSyncEvent(false);
    t->SetInterval(5);
    t->SetOnTimer([&](TObject* sender) {
        ++ticks;
        entered = true;
        static_cast<TExTimer*>(sender)->Synchronize([&] { ++synchronised; });
    });
    // The UI thread lets nothing through until the tick is inside its handler.
    while (!entered) std::this_thread::yield();
    {
        Watchdog dog("destroying a timer inside an unsynchronised tick", std::chrono::seconds(5));
        delete t;
    }
    int after = ticks;
    ProcessFor(40);
    EXPECT_EQ(synchronised, 0); // given up, and never run later
    EXPECT_EQ(ticks, after);
}

TEST_F(ExTimers, FreedInsideItsOwnSynchronisedTick) {
    for (bool threaded : {true, false}) {
        std::atomic<int> ticks{0};
        bool gone = false;
        auto* t = new TExTimer(nullptr);
        t->SetThreaded(threaded);
        t->SetInterval(5);
        t->SetOnTimer([&](TObject* sender) {
            ++ticks;
            delete static_cast<TExTimer*>(sender);
            gone = true;
        });
        {
            Watchdog dog("a timer freed in its own tick", std::chrono::seconds(5));
            ASSERT_TRUE(ProcessUntil([&] { return gone; }));
            ProcessFor(40);
        }
        EXPECT_EQ(ticks, 1) << threaded;
    }
}

TEST_F(ExTimers, AnExceptionInAnUnsynchronisedTickReachesTheApplicationOnTheUiThread) {
    std::mutex m;
    std::vector<std::string> reports;
    Application->OnException = [&](TObject*, Exception* e) {
        std::lock_guard lock(m);
        reports.push_back(AnsiToUtf8(e->Message) + (IsMainThread() ? " UI" : " worker"));
    };
    std::atomic<int> ticks{0};
    TExTimer t(nullptr);
    t.SetSyncEvent(false);
    t.SetInterval(5);
    t.SetOnTimer([&](TObject*) {
        int n = ++ticks;
        if (n == 1) throw Exception("Сбой таймера"_a);
        if (n == 2) Abort(); // silent
    });
    // The loop goes on after both.
    ASSERT_TRUE(ProcessUntil([&] { return ticks >= 4; }));
    t.SetEnabled(false);
    ProcessFor(20);
    std::lock_guard lock(m);
    EXPECT_EQ(reports, (std::vector<std::string>{"Сбой таймера UI"}));
}

TEST_F(ExTimers, ThePriorityReachesTheWorker) {
    std::atomic<int> nice{-100};
    TExTimer t(nullptr);
    t.SetSyncEvent(false);
    t.SetInterval(5);
    t.SetThreadPriority(tpLowest);
    t.SetOnTimer([&](TObject*) { nice = ::getpriority(PRIO_PROCESS, 0); });
    ASSERT_TRUE(ProcessUntil([&] { return nice != -100; }));
    t.SetEnabled(false);
    EXPECT_EQ(nice, 10);
}

} // namespace
