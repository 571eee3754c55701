// The command's random source: fresh bytes, evenly spread, after every reseed, also when a
// result reads more or fewer bytes than it announced.
#include "cli/result_random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

namespace zelvaran::cli::testing {
namespace {

TEST(ExactSystemSource, FreshBytesWhateverWasAnnounced) {
    ExactSystemSource source(256);
    std::array<int, 256> counts{};
    int bytes = 0;
    // Announced / read: exact, fewer, more than announced, more than the buffer, none announced;
    // values of one, two and four bytes, so a read also ends part-way through a value.
    const int plan[][2] = {{20, 20}, {20, 5}, {8, 30}, {256, 700}, {0, 10}};
    for (int round = 0; round < 100; ++round) {
        for (const auto& [announced, read] : plan) {
            source.Expect(static_cast<std::size_t>(announced));
            source.Reseed();
            for (int i = 0; i < read;) {
                const unsigned width = 1u << (i % 3);
                const std::uint32_t value = source.NextBytes(width);
                for (unsigned b = 0; b < width; ++b, ++i, ++bytes) {
                    ++counts[(value >> (8 * b)) & 0xFF];
                }
            }
        }
    }
    EXPECT_FALSE(source.Failed());
    // About 77000 bytes, 300 of each value: all within a wide band (5 standard deviations).
    const double expected = bytes / 256.0;
    for (const int count : counts) {
        EXPECT_NEAR(count, expected, 5 * std::sqrt(expected));
    }
}

} // namespace
} // namespace zelvaran::cli::testing
