#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/clock.h"
#include "platform/thread.h"

using namespace plat;

namespace {

class SimulatedClock : public ::testing::Test {
protected:
    void SetUp() override { set_clock_mode(ClockMode::simulated, 0); }
    void TearDown() override { set_clock_mode(ClockMode::real); }
};

TEST_F(SimulatedClock, SleeperWakesOnlyWhenHostHasAdvancedItsDeadline) {
    std::atomic<int> wakes{0};
    Thread t = Thread::start([&] {
        while (sleep_ms(200)) ++wakes;
    });
    for (int i = 0; i < 3; ++i) advance_clock_ms(55);  // 165 ms
    EXPECT_EQ(wakes, 0);
    advance_clock_ms(55);  // 220 ms
    EXPECT_EQ(wakes, 1);
    advance_clock_ms(1000);  // 1220 ms: deadlines 400..1200 pass, each at its own time
    EXPECT_EQ(wakes, 6);
    EXPECT_EQ(now_ms(), 1220u);
    EXPECT_EQ(now_seconds(), 1u);
    t.stop_and_join();
    EXPECT_FALSE(t.running());
}

TEST_F(SimulatedClock, SleepersSeeTheirOwnWakeTimeAndInterleaveInOrder) {
    std::vector<std::pair<char, std::uint64_t>> order;
    std::mutex m;
    auto body = [&](char name, std::uint32_t period) {
        return [&, name, period] {
            while (sleep_ms(period)) {
                std::lock_guard lock(m);
                order.emplace_back(name, now_ms());
            }
        };
    };
    Thread heading = Thread::start(body('h', 200));
    Thread vertical = Thread::start(body('v', 100));
    advance_clock_ms(450);
    heading.stop_and_join();
    vertical.stop_and_join();
    std::vector<std::pair<char, std::uint64_t>> h, v;
    for (auto& e : order) (e.first == 'h' ? h : v).push_back(e);
    ASSERT_EQ(h.size(), 2u);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(h[1].second, 400u);
    EXPECT_EQ(v[2].second, 300u);
}

TEST_F(SimulatedClock, StopRequestWakesASleeperEarly) {
    std::atomic<bool> returned_false{false};
    Thread t = Thread::start([&] { returned_false = !sleep_ms(100000); }, ThreadPriority::lowest, "sleeper");
    advance_clock_ms(10);
    EXPECT_TRUE(t.running());
    t.stop_and_join();
    EXPECT_TRUE(returned_false);
    EXPECT_FALSE(t.running());
}

TEST_F(SimulatedClock, ThreadsThatLoopOnStopRequestedFinish) {
    std::atomic<int> loops{0};
    {
        Thread t = Thread::start([&] {
            while (!stop_requested()) {
                ++loops;
                sleep_ms(10);
            }
        });
        advance_clock_ms(100);
    }  // the destructor stops and waits
    EXPECT_EQ(loops, 11);
    EXPECT_FALSE(stop_requested()) << "the test thread is not a platform thread";
}

TEST(RealClock, SleepPassesRealTimeAndLocksAreRecursive) {
    set_clock_mode(ClockMode::real);
    auto before = now_ms();
    EXPECT_TRUE(sleep_ms(20));
    EXPECT_GE(now_ms() - before, 20u);
    Lock lock;
    LockGuard outer(lock);
    EXPECT_TRUE(lock.try_lock());
    lock.unlock();
}

}  // namespace
