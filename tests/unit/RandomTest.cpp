#include "base/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Pcg32, BelowCoversZeroToNMinusOneAndNothingElse) {
    for (uint32_t n : {1u, 2u, 7u, 256u}) {
        SCOPED_TRACE(n);
        Pcg32 random(n);
        std::vector<int> seen(n, 0);
        for (int i = 0; i < 5000; ++i) {
            const uint32_t value = random.below(n);
            ASSERT_LT(value, n);
            ++seen[value];
        }
        for (uint32_t value = 0; value < n; ++value) {
            EXPECT_GT(seen[value], 0) << value << " never came";
        }
    }
}

TEST(Pcg32, UniformStaysInsideItsRangeAndChanceFollowsItsOdds) {
    Pcg32 random(20240611u);
    int heads = 0;
    for (int i = 0; i < 4000; ++i) {
        const double u = random.uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        const double r = random.range(0.05, 0.6);
        ASSERT_GE(r, 0.05);
        ASSERT_LT(r, 0.6);
        EXPECT_FALSE(random.chance(0.0));
        EXPECT_TRUE(random.chance(1.0));
        heads += random.chance(0.25) ? 1 : 0;
    }
    EXPECT_NEAR(heads, 1000, 150);
}

TEST(Pcg32, ASeedAlwaysGivesTheSameNumbers) {
    Pcg32 first(7);
    Pcg32 again(7);
    Pcg32 other(8);
    int differ = 0;
    for (int i = 0; i < 100; ++i) {
        const uint32_t value = first.next();
        EXPECT_EQ(again.next(), value);
        differ += other.next() != value ? 1 : 0;
    }
    EXPECT_GT(differ, 90);
}

}  // namespace
