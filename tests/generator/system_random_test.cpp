// The operating system's generator, the source built on it, and the wipe of secrets.
#include "test_support.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace zelvaran::testing {
namespace {

TEST(FillFromSystem, EveryByteValueTurnsUp) {
    // 65536 bytes miss a given value with probability (255/256)^65536, about e^-256.
    std::vector<std::byte> bytes(65536);
    ASSERT_TRUE(FillFromSystem(bytes.data(), bytes.size()));
    std::array<int, 256> seen{};
    for (const std::byte b : bytes) {
        ++seen[std::to_integer<std::size_t>(b)];
    }
    for (std::size_t value = 0; value < seen.size(); ++value) {
        EXPECT_GT(seen[value], 0) << "byte value " << value;
    }
    EXPECT_TRUE(FillFromSystem(bytes.data(), 0));
}

TEST(SystemRandomSource, ValuesLieOnThe24BitGridInZeroToOne) {
    SystemRandomSource source;
    source.Reseed();
    bool lowByteUsed = false;
    bool highHalf = false;
    float smallest = 1.0f;
    float largest = 0.0f;
    // Well over one block, so refills are crossed several times.
    for (int i = 0; i < 20000; ++i) {
        const float r = source.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        const float scaled = r * 16777216.0f;
        ASSERT_EQ(scaled, std::floor(scaled)) << r;
        lowByteUsed = lowByteUsed || (static_cast<std::uint32_t>(scaled) & 0xFF) != 0;
        highHalf = highHalf || r >= 0.5f;
        smallest = std::min(smallest, r);
        largest = std::max(largest, r);
    }
    EXPECT_FALSE(source.Failed());
    EXPECT_TRUE(lowByteUsed) << "only the upper bits of each value vary";
    EXPECT_TRUE(highHalf);
    EXPECT_LT(smallest, 0.001f);
    EXPECT_GT(largest, 0.999f);
}

TEST(SystemRandomSource, ReseedStartsAFreshRunAndValuesDiffer) {
    SystemRandomSource source;
    std::array<float, 8> first{};
    std::array<float, 8> second{};
    source.Reseed();
    for (float& r : first) {
        r = source.Next();
    }
    source.Reseed();
    for (float& r : second) {
        r = source.Next();
        EXPECT_LT(r, 1.0f);
    }
    EXPECT_FALSE(source.Failed());
    // Equal only with probability 2^-192.
    EXPECT_NE(first, second);
    // Reseed in the middle of a block, many times: every value is still fresh and in range.
    for (int run = 0; run < 100; ++run) {
        source.Reseed();
        EXPECT_LT(source.Next(), 1.0f);
    }
    EXPECT_FALSE(source.Failed());
}

// Pearson's chi-square statistic of `draws` draws from `pool` against a uniform spread.
double ChiSquare(const std::u32string& pool, RandomSource& source, int draws) {
    std::vector<int> counts(pool.size(), 0);
    for (int i = 0; i < draws; ++i) {
        const char32_t c = DrawOne(pool, source);
        ++counts[pool.find(c)];
    }
    const double expected = static_cast<double>(draws) / static_cast<double>(pool.size());
    double statistic = 0;
    for (const int count : counts) {
        statistic += (count - expected) * (count - expected) / expected;
    }
    return statistic;
}

// Critical values of the chi-square distribution for p = 1e-6 (upper tail), worked out from
// the regularised incomplete gamma function: 128.52 for 61 degrees of freedom (62 characters)
// and 145.41 for 73 (74 characters). A uniform generator exceeds them once in a million runs.
constexpr int kDraws = 1'000'000;
constexpr double kCritical61 = 128.52;
constexpr double kCritical73 = 145.41;

TEST(SystemRandomSourceUniformity, ChiSquareOverThe62And74Pools) {
    SystemRandomSource source;
    source.Reseed();
    const double stat62 = ChiSquare(ClassesOf(InitialOptions()).Pool, source, kDraws);
    EXPECT_LT(stat62, kCritical61);
    const double stat74 =
        ChiSquare(ClassesOf(Switches(true, true, true, true)).Pool, source, kDraws);
    EXPECT_LT(stat74, kCritical73);
    EXPECT_FALSE(source.Failed());
    std::cout << "chi-square: 62 pool " << stat62 << " (limit " << kCritical61 << "), 74 pool "
              << stat74 << " (limit " << kCritical73 << ")\n";
}

// One OS byte per value: the kind of coarse source the check must reject.
class EightBitSource final : public RandomSource {
public:
    void Reseed() noexcept override {}
    [[nodiscard]] float Next() noexcept override {
        std::byte b{};
        failed_ = failed_ || !FillFromSystem(&b, 1);
        return static_cast<float>(std::to_integer<int>(b)) / 256.0f;
    }
    [[nodiscard]] bool Failed() const noexcept override { return failed_; }

private:
    bool failed_ = false;
};

TEST(SystemRandomSourceUniformity, TheCheckRejectsAnEightBitSource) {
    EightBitSource coarse;
    // 256 values over 62 characters: eight get 5 values, the rest 4, a gap far beyond noise.
    EXPECT_GT(ChiSquare(ClassesOf(InitialOptions()).Pool, coarse, 200'000), kCritical61);
}

TEST(SecureWipe, ZeroesTheBytes) {
    std::array<unsigned char, 37> bytes{};
    bytes.fill(0xA5);
    SecureWipe(bytes.data(), bytes.size() - 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        ASSERT_EQ(bytes[i], 0) << i;
    }
    EXPECT_EQ(bytes.back(), 0xA5); // and nothing beyond them
}

TEST(SecretText, WipesTheWholeBufferAndMovesLeaveNothing) {
    std::u16string text(300, u'k');
    const char16_t* buffer = text.data();
    const std::size_t capacity = text.capacity();
    WipeString(text);
    EXPECT_TRUE(text.empty());
    ASSERT_EQ(text.data(), buffer); // wiped in place, not swapped for a new buffer
    for (std::size_t i = 0; i < capacity; ++i) {
        ASSERT_EQ(buffer[i], u'\0') << i;
    }

    SecretText secret(std::u16string(u"hunter2"));
    SecretText moved(std::move(secret));
    EXPECT_EQ(moved.View(), u"hunter2");
    EXPECT_EQ(secret.Size(), 0u); // NOLINT(bugprone-use-after-move): the point of the check
    SecretText assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.View(), u"hunter2");
    EXPECT_EQ(moved.Size(), 0u); // NOLINT(bugprone-use-after-move)
    assigned.Clear();
    EXPECT_TRUE(assigned.View().empty());
}

} // namespace
} // namespace zelvaran::testing
