#include "core/in_order_worker.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace fulgor {
namespace {

// The jobs run one after another in the order given, on a thread other than
// the giver's, and finish() can be waited on again after more are given.
TEST(InOrderWorker, RunsTheJobsInTheirOrderOnAThreadOfItsOwn) {
    std::vector<int> ran;
    std::atomic<bool> onGiversThread = false;
    const std::thread::id giver = std::this_thread::get_id();
    InOrderWorker worker(2);
    for (int i = 0; i < 500; ++i) {
        ASSERT_TRUE(worker.add([&, i] {
            if (std::this_thread::get_id() == giver) onGiversThread = true;
            ran.push_back(i);
            return Status{};
        }));
    }
    ASSERT_TRUE(worker.finish());
    ASSERT_EQ(ran.size(), 500u);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(ran[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(onGiversThread);

    ASSERT_TRUE(worker.add([&] {
        ran.push_back(500);
        return Status{};
    }));
    ASSERT_TRUE(worker.finish());
    EXPECT_EQ(ran.back(), 500);
}

// The first failure drops every job after it, and both add() and finish()
// give it, the same message each time.
TEST(InOrderWorker, AFailedJobDropsTheRestAndIsTheAnswerFromThenOn) {
    std::vector<int> ran;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    InOrderWorker worker(4);
    ASSERT_TRUE(worker.add([&] {
        released.wait();
        ran.push_back(1);
        return Status{Error{"Cannot save \"out.kvn\": No space left on device"}};
    }));
    // Waiting while the first runs, then dropped when it fails.
    ASSERT_TRUE(worker.add([&] {
        ran.push_back(2);
        return Status{};
    }));
    release.set_value();
    Status finished = worker.finish();
    ASSERT_FALSE(finished);
    EXPECT_EQ(finished.error(), "Cannot save \"out.kvn\": No space left on device");
    Status later = worker.add([&] {
        ran.push_back(3);
        return Status{};
    });
    ASSERT_FALSE(later);
    EXPECT_EQ(later.error(), finished.error());
    EXPECT_EQ(worker.finish().error(), finished.error());
    EXPECT_EQ(ran, std::vector<int>{1});
}

// A giver faster than the jobs waits once `waiting` jobs wait, so that what
// the jobs hold (a part of a script each) stays bounded.
TEST(InOrderWorker, AGiverWaitsWhileTheQueueIsFull) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> given = 0;
    InOrderWorker worker(2);
    auto blocked = [released] {
        released.wait();
        return Status{};
    };
    std::thread giver([&] {
        // One running and two waiting fit; the fourth must wait for a place.
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(worker.add(blocked));
            ++given;
        }
    });
    // No sleep can prove a wait, but a queue without a bound lets all four in
    // well within this time.
    for (int i = 0; i < 200 && given < 4; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(given, 3);
    release.set_value();
    giver.join();
    EXPECT_EQ(given, 4);
    EXPECT_TRUE(worker.finish());
}

// Memory running out inside a job reaches the giver as the same exception,
// from then on.
TEST(InOrderWorker, AThrownExceptionReachesTheGiver) {
    InOrderWorker worker(1);
    ASSERT_TRUE(worker.add([]() -> Status { throw std::bad_alloc(); }));
    EXPECT_THROW((void)worker.finish(), std::bad_alloc);
    EXPECT_THROW((void)worker.add([] { return Status{}; }), std::bad_alloc);
}

// A job given alongside work in the giver's thread: the answer is the job's,
// and when that work throws, the exception leaves only once the job is done,
// since the job may read what the exception takes away.
TEST(InOrderWorker, AlongsideWaitsForTheJobHoweverTheGiversWorkEnds) {
    InOrderWorker worker(1);
    bool here = false;
    EXPECT_EQ(worker.alongside([]() -> Status { return Error{"disk full"}; }, [&] { here = true; })
                  .error(),
              "disk full");
    EXPECT_TRUE(here);

    InOrderWorker other(1);
    std::atomic<bool> jobDone = false;
    bool doneWhenThrown = false;
    try {
        static_cast<void>(other.alongside(
            [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                jobDone = true;
                return Status{};
            },
            [] { throw std::bad_alloc(); }));
    } catch (const std::bad_alloc&) {
        doneWhenThrown = jobDone;
    }
    EXPECT_TRUE(doneWhenThrown);
}

#if !defined(__SANITIZE_ADDRESS__)
// The number of bytes of address space the process holds now.
std::size_t addressSpaceBytes() {
    std::ifstream status("/proc/self/statm");
    std::size_t pages = 0;
    status >> pages;
    return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
#endif

// Where no thread can be made (here: no address space left for its stack),
// the jobs still run, in order, at once in the giver's thread, and a failure
// still drops the jobs after it. The test runs again in a fresh process,
// whose threads' stacks no earlier test has left for reuse.
TEST(InOrderWorker, WithoutAThreadTheJobsRunInTheGiversThread) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#else
    constexpr const char* kFresh = "FULGOR_TEST_FRESH_PROCESS";
    if (std::getenv(kFresh)) {
        std::vector<int> ran;
        ran.reserve(8);
        const rlimit limit{addressSpaceBytes() + (1u << 20), RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
        bool same = true;
        const std::thread::id giver = std::this_thread::get_id();
        InOrderWorker worker(1);
        for (int i = 0; i < 4; ++i) {
            static_cast<void>(worker.add([&, i] {
                same = same && std::this_thread::get_id() == giver;
                ran.push_back(i);
                return i == 2 ? Status{Error{"stop"}} : Status{};
            }));
        }
        const bool stopped = worker.finish().error() == "stop";
        _exit(same && stopped && ran == std::vector<int>{0, 1, 2} ? 0 : 1);
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv(kFresh, "1", 1);
        const std::string filter =
            "--gtest_filter=InOrderWorker.WithoutAThreadTheJobsRunInTheGiversThread";
        execl("/proc/self/exe", "core_tests", filter.c_str(), static_cast<char*>(nullptr));
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
}  // namespace fulgor
