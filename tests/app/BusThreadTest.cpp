#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include "app/bus/BusThread.h"

namespace kelvane {
namespace {

TEST(BusThreadTest, RunsOneJobAtATimeAndRefusesTheRest) {
    std::atomic<int> ended{0};
    std::atomic<bool> release{false};
    BusThread<int> thread([&ended] { ++ended; });
    const auto callerThread = std::this_thread::get_id();
    std::thread::id jobThread;
    ASSERT_TRUE(thread.Post([&] {
        jobThread = std::this_thread::get_id();
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 7;
    }));
    EXPECT_FALSE(thread.Post([] { return 8; }));  // refused, never run later
    EXPECT_EQ(thread.TakeResult(), std::nullopt);
    release = true;
    while (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(thread.TakeResult(), 7);
    EXPECT_EQ(thread.TakeResult(), std::nullopt);
    EXPECT_NE(jobThread, callerThread);

    // The same thread runs the next job.
    std::thread::id secondThread;
    ASSERT_TRUE(thread.Post([&] {
        secondThread = std::this_thread::get_id();
        return 9;
    }));
    while (ended == 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(thread.TakeResult(), 9);
    EXPECT_EQ(secondThread, jobThread);
    EXPECT_EQ(ended, 2);
}

TEST(BusThreadTest, StoppingWaitsForTheRunningJob) {
    std::atomic<bool> started{false};
    bool finished = false;
    {
        BusThread<int> thread(nullptr);
        ASSERT_TRUE(thread.Post([&] {
            started = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
            return 0;
        }));
        while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace kelvane
