// The command's random source: values on the 24-bit grid in [0, 1), evenly spread, fresh after
// every reseed, also when a result draws more or fewer values than it announced.
#include "cli/result_random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace zelvaran::cli::testing {
namespace {

TEST(ExactSystemSource, FreshValuesOnTheGridWhateverWasAnnounced) {
    ExactSystemSource source(64);
    std::set<float> seen;
    double sum = 0;
    int draws = 0;
    // Announced / drawn: exact, fewer, more than announced, more than the buffer, none announced.
    const int plan[][2] = {{20, 20}, {20, 5}, {8, 30}, {64, 200}, {0, 10}};
    for (int round = 0; round < 200; ++round) {
        for (const auto& [announced, drawn] : plan) {
            source.Expect(static_cast<std::size_t>(announced));
            source.Reseed();
            for (int i = 0; i < drawn; ++i, ++draws) {
                const float r = source.Next();
                ASSERT_GE(r, 0.0f);
                ASSERT_LT(r, 1.0f);
                ASSERT_EQ(r * 16777216.0f, std::floor(r * 16777216.0f));
                seen.insert(r);
                sum += r;
            }
        }
    }
    EXPECT_FALSE(source.Failed());
    // 53000 draws from 2^24 values: a handful of repeats at most, and a mean near one half.
    EXPECT_GT(seen.size(), static_cast<std::size_t>(draws) - 200);
    EXPECT_NEAR(sum / draws, 0.5, 0.01);
}

} // namespace
} // namespace zelvaran::cli::testing
