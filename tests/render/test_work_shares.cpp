// Sharing the slices of a frame between threads: equal shares first, then stealing, every slice drawn
// exactly once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "qor/render/work_shares_p.h"

namespace {

using QOR::render::WorkShares;

/// Claims stretch s to its end.
void drawOut(WorkShares& shares, int s) {
    for (int first = 0, last = 0; shares.claim(s, first, last);) {
    }
}

TEST(WorkShares, StartsInSharesOfEqualCostCountingTheLayers) {
    // 100 slices of cost 1, three stretches, a layer costing 10: shares of 40, 30 + 10, 30 + 10.
    WorkShares shares(std::vector<std::int64_t>(100, 1), 3, 10, 4);
    ASSERT_EQ(shares.stretches().size(), 3u);
    EXPECT_EQ(shares.stretches()[0].end, 40);
    EXPECT_EQ(shares.stretches()[1].first, 40);
    EXPECT_EQ(shares.stretches()[1].end, 70);
    EXPECT_EQ(shares.stretches()[2].end, 100);

    // A costly slice weighs as much as many cheap ones.
    std::vector<std::int64_t> costs(100, 1);
    costs[0] = 100;
    WorkShares skewed(costs, 2, 0, 4);
    EXPECT_EQ(skewed.stretches()[0].end, 1);
}

TEST(WorkShares, EachStretchIsTakenOnceThenTheIdleStealTheBackHalfOfTheLargestRemainder) {
    WorkShares shares(std::vector<std::int64_t>(100, 10), 2, 10, 4);
    EXPECT_EQ(shares.takeUntaken(), 0);
    EXPECT_EQ(shares.takeUntaken(), 1);
    EXPECT_EQ(shares.takeUntaken(), -1);

    int first = 0, last = 0;
    ASSERT_TRUE(shares.claim(0, first, last)); // stretch 0 claims its first slices
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, WorkShares::kClaim);
    drawOut(shares, 1); // stretch 1 is done: its thread steals half of what stretch 0 has left
    ASSERT_TRUE(shares.worthStealing());
    const int stolen = shares.steal();
    ASSERT_EQ(stolen, 2);
    const WorkShares::Stretch& victim = shares.stretches()[0];
    const WorkShares::Stretch& thief = shares.stretches()[2];
    EXPECT_EQ(victim.end, thief.first);
    EXPECT_EQ(thief.end, shares.stretches()[1].first);
    EXPECT_NEAR(victim.end - victim.next, thief.end - thief.first, 1); // halves to the slice
    ASSERT_TRUE(shares.claim(stolen, first, last));
    EXPECT_EQ(first, thief.first);
}

TEST(WorkShares, StealingStopsWhereHalfTheRemainderWouldNotPayForALayer) {
    // 10 slices of cost 10 left: a half of 50 pays for a layer of 50, not for one of 51.
    for (const std::int64_t layer : {50, 51}) {
        WorkShares shares(std::vector<std::int64_t>(10, 10), 1, layer, 4);
        shares.takeUntaken();
        EXPECT_EQ(shares.worthStealing(), layer == 50);
        EXPECT_EQ(shares.steal() >= 0, layer == 50);
    }
    // Nor beyond the most stolen stretches asked for, nor from a single slice.
    WorkShares once(std::vector<std::int64_t>(1000, 10), 1, 1, 1);
    once.takeUntaken();
    EXPECT_GE(once.steal(), 0);
    EXPECT_EQ(once.steal(), -1);
    WorkShares single(std::vector<std::int64_t>{1000}, 1, 0, 4);
    single.takeUntaken();
    EXPECT_EQ(single.steal(), -1);
}

TEST(WorkShares, ThreadsDrawEverySliceExactlyOnce) {
    constexpr int kSlices = 20000;
    std::vector<std::int64_t> costs(kSlices, 1);
    for (int i = 0; i < kSlices; i += 7)
        costs[std::size_t(i)] = 50; // uneven, so that the estimate and the work differ
    WorkShares shares(costs, 4, 100, 64);
    std::vector<std::atomic<int>> drawn(kSlices);
    auto work = [&] {
        for (int s = shares.takeUntaken(); s >= 0 || (s = shares.steal()) >= 0; s = shares.takeUntaken())
            for (int first = 0, last = 0; shares.claim(s, first, last);)
                for (int i = first; i < last; ++i) {
                    drawn[std::size_t(i)].fetch_add(1);
                    if (costs[std::size_t(i)] > 1) std::this_thread::yield();
                }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    int wrong = 0;
    for (const std::atomic<int>& count : drawn)
        wrong += count.load() != 1;
    EXPECT_EQ(wrong, 0);
    int covered = 0;
    for (const WorkShares::Stretch& s : shares.stretches())
        covered += s.end - s.first;
    EXPECT_EQ(covered, kSlices);
}

} // namespace
