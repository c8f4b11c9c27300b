#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/ScopeGuard.h"

namespace {

// The clean-up runs once on every way out of its scope, after the work and
// before what follows the scope; an exception passes through unchanged.
TEST(ScopeGuard, RunsOnceOnEveryWayOut) {
    std::string log;
    auto work = [&](int way) {
        TScopeGuard guard([&] { log += "clean;"; });
        log += "work;";
        if (way == 1) return 1;
        if (way == 2) throw std::runtime_error("work failed");
        log += "end;";
        return 0;
    };
    EXPECT_EQ(work(0), 0);
    EXPECT_EQ(log, "work;end;clean;");
    log.clear();
    EXPECT_EQ(work(1), 1);
    EXPECT_EQ(log, "work;clean;");
    log.clear();
    try {
        work(2);
        ADD_FAILURE() << "the exception was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "work failed");
    }
    EXPECT_EQ(log, "work;clean;");
}

// A dismissed guard does nothing: the clean-up that only a failure needs.
TEST(ScopeGuard, DismissedItDoesNothing) {
    int undone = 0;
    auto work = [&](bool fail) {
        TScopeGuard undo([&] { ++undone; });
        if (fail) throw std::runtime_error("failed");
        undo.Dismiss();
    };
    work(false);
    EXPECT_EQ(undone, 0);
    EXPECT_THROW(work(true), std::runtime_error);
    EXPECT_EQ(undone, 1);
}

// A clean-up that fails after the work succeeded is heard by the caller; one
// that fails while the work's exception leaves the scope leaves that
// exception as it was.
TEST(ScopeGuard, AFailingCleanUpNeverHidesTheWorksException) {
    auto work = [](bool fail) {
        TScopeGuard guard([] { throw std::logic_error("clean-up failed"); });
        if (fail) throw std::runtime_error("work failed");
    };
    try {
        work(false);
        ADD_FAILURE() << "the clean-up's exception was lost";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "clean-up failed");
    }
    try {
        work(true);
        ADD_FAILURE() << "the work's exception was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "work failed");
    }
}

// A guard made while another exception leaves an outer scope (in a
// destructor that runs on the way) judges only its own scope: its failing
// clean-up is heard where it stands.
TEST(ScopeGuard, MadeDuringAnotherUnwindingItJudgesOnlyItsOwnScope) {
    std::string log;
    struct OnTheWayOut {
        std::string* log;
        ~OnTheWayOut() {
            try {
                TScopeGuard guard([] { throw std::logic_error("clean-up failed"); });
                *log += "work;";
            } catch (const std::logic_error&) {
                *log += "clean-up heard;";
            }
        }
    };
    try {
        OnTheWayOut inner{&log};
        throw std::runtime_error("outer");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "outer");
    }
    EXPECT_EQ(log, "work;clean-up heard;");
}

} // namespace
