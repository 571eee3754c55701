// The operating system's generator, the source built on it, and the wipe of secrets.
#include "test_support.h"

#include "generator/passphrase.h"
#include "generator/words.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <numeric>
#include <set>

namespace zelvaran::testing {
namespace {

// Reads values of one, two and four bytes in turn until `bytes` bytes are read, so reads end
// part-way through a value and a block, and hands `take` each byte with its place in its value.
template <class Take> void ReadMixed(SystemRandomSource& source, int bytes, Take take) {
    for (int read = 0, n = 0; read < bytes; ++n) {
        const unsigned width = 1u << (n % 3);
        const std::uint32_t value = source.NextBytes(width);
        ASSERT_LT(std::uint64_t{value}, std::uint64_t{1} << (8 * width));
        for (unsigned place = 0; place < width; ++place, ++read) {
            take(place, (value >> (8 * place)) & 0xFF);
        }
    }
}

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

TEST(SystemRandomSource, EveryByteValueInEveryPlaceOfAValue) {
    SystemRandomSource source;
    source.Reseed();
    // Well over one block, so refills are crossed with values of every width; each byte of a
    // value must take all 256 values.
    std::array<std::array<bool, 256>, 4> seen{};
    ReadMixed(source, 140'000, [&](unsigned place, unsigned byte) { seen[place][byte] = true; });
    EXPECT_FALSE(source.Failed());
    for (const auto& place : seen) {
        EXPECT_EQ(std::count(place.begin(), place.end(), true), 256);
    }
}

TEST(SystemRandomSource, ReseedStartsAFreshRunAndValuesDiffer) {
    SystemRandomSource source;
    const auto eightValues = [&] {
        source.Reseed();
        std::array<std::uint32_t, 8> values{};
        for (std::uint32_t& r : values) {
            r = source.NextBytes(4);
        }
        return values;
    };
    EXPECT_NE(eightValues(), eightValues()); // equal only with probability 2^-256
    // Reseed in the middle of a block, many times: every value is still fresh.
    std::set<std::uint32_t> values;
    for (int run = 0; run < 100; ++run) {
        source.Reseed();
        values.insert(source.NextBytes(4));
    }
    EXPECT_GT(values.size(), 95u);
    EXPECT_FALSE(source.Failed());
}

TEST(SystemRandomSource, FreshBytesWhateverWasAnnounced) {
    SystemRandomSource source;
    std::array<int, 256> counts{};
    int bytes = 0;
    // Announced / read: exact, fewer, more than announced, more than the block, none announced.
    const int plan[][2] = {{20, 20}, {20, 5}, {8, 30}, {256, 700}, {0, 10}};
    for (int round = 0; round < 100; ++round) {
        for (const auto& [announced, read] : plan) {
            source.Reseed();
            source.WillRead(static_cast<std::size_t>(announced));
            ReadMixed(source, read, [&](unsigned, unsigned byte) { ++counts[byte], ++bytes; });
        }
    }
    EXPECT_FALSE(source.Failed());
    // About 77000 bytes, 300 of each value: all within a wide band (5 standard deviations).
    const double expected = bytes / 256.0;
    for (const int count : counts) {
        EXPECT_NEAR(count, expected, 5 * std::sqrt(expected));
    }
}

// Blocks of First, First + 1, ... First + Span - 1, First, ... (by default 1 to 200: every
// value kept by the pools and the word list below, so each character takes one byte and each
// word two), remembered so the test can look at them after the call; with Fail set the fill
// writes them and still reports a failure.
struct ScriptedSupply {
    std::byte* Block = nullptr;
    std::size_t Size = 0;
    bool Fail = false;
    unsigned First = 1;
    unsigned Span = 200;
    static bool Fill(void* context, std::byte* data, std::size_t size) noexcept {
        auto& self = *static_cast<ScriptedSupply*>(context);
        for (std::size_t i = 0; i < size; ++i) {
            data[i] = static_cast<std::byte>(self.First + i % self.Span);
        }
        self.Block = data;
        self.Size = size;
        return !self.Fail;
    }
};

enum class Way { Free, EachKind, Template, Phrase };

// One result made `way` with every kind of character, `count` long (characters, the template's
// length or words); false when the random bytes were missing, as they are on a failing system.
bool Made(Way way, int count, RandomSource& random) {
    const CharacterClasses classes = ClassesOf(Switches(true, true, true, true));
    if (way == Way::Phrase) {
        SecretText text;
        return GeneratePassphrase({.Words = count, .AddDigit = true}, MeasureWords(SpanishWords()),
                                  random, text);
    }
    const std::string digits = std::to_string(count);
    const auto result =
        way == Way::Template
            ? GenerateFromTemplate(classes, u"ACG-NE", std::u16string(digits.begin(), digits.end()),
                                   random, YieldHook{})
            : GenerateFree(classes, count, random, YieldHook{}, way == Way::EachKind);
    EXPECT_TRUE(Succeeded(result) || IsError(result, GenerationErrorKind::RandomUnavailable));
    return Succeeded(result);
}

TEST(SystemRandomSource, NoByteHandedOutSurvivesTheCallThatMadeAResult) {
    const struct {
        Way How;
        int Count;
        std::size_t HandedOut; // bytes read; every other byte of the fill keeps its value
        bool Fail = false;
    } table[] = {
        {Way::Free, 40, 40},     {Way::Free, 150, 150},     // through a table
        {Way::Template, 12, 10}, {Way::Template, 120, 100}, // through tables
        {Way::EachKind, 80, 80}, {Way::Phrase, 6, 2 + 6 * 2}, {Way::Free, 40, 0, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << int(row.How) << " " << row.Count);
        ScriptedSupply supply{.Fail = row.Fail};
        SystemRandomSource source(ByteSupply{&ScriptedSupply::Fill, &supply});
        source.Reseed();
        EXPECT_EQ(Made(row.How, row.Count, source), !row.Fail);
        ASSERT_NE(supply.Block, nullptr);
        // A failed fill leaves nothing at all; otherwise the bytes read are zero, the rest intact.
        const std::size_t zeros = row.Fail ? supply.Size : row.HandedOut;
        for (std::size_t i = 0; i < supply.Size; ++i) {
            ASSERT_EQ(std::to_integer<int>(supply.Block[i]), i < zeros ? 0 : int(1 + i % 200))
                << "byte " << i;
        }
    }
}

TEST(SystemRandomSource, LongPasswordsDrawAsValueByValue) {
    // Every byte value in turn, those the pool draws again included: the block's byte tables
    // must make what UniformBelow makes of the same bytes one value at a time.
    std::vector<std::uint8_t> everyByte(256);
    std::iota(everyByte.begin(), everyByte.end(), std::uint8_t{0});
    const CharacterClasses classes = ClassesOf(Switches(true, true, true, true));
    for (const bool eachKind : {false, true}) {
        ScriptedSupply supply{.First = 0, .Span = 256};
        SystemRandomSource source(ByteSupply{&ScriptedSupply::Fill, &supply});
        source.Reseed();
        ScriptedSource byValue(everyByte);
        EXPECT_EQ(TextOf(GenerateFree(classes, 500, source, YieldHook{}, eachKind)),
                  TextOf(GenerateFree(classes, 500, byValue, YieldHook{}, eachKind)))
            << eachKind;
    }
}

// Pearson's chi-square statistic of `draws` draws below n against a uniform spread.
template <class Draw> double ChiSquare(std::uint32_t n, int draws, Draw draw) {
    std::vector<int> counts(n, 0);
    for (int i = 0; i < draws; ++i) {
        ++counts[draw()];
    }
    const double expected = static_cast<double>(draws) / n;
    double statistic = 0;
    for (const int count : counts) {
        statistic += (count - expected) * (count - expected) / expected;
    }
    return statistic;
}

// Critical values of the chi-square distribution for p = 1e-6 (upper tail): 128.52 for 61
// degrees of freedom (62 characters) and 145.41 for 73 (74 characters) from the regularised
// incomplete gamma function, 8382 for 7775 (the word list) by Wilson and Hilferty's cube-root
// approximation. A uniform generator exceeds them once in a million runs.
constexpr double kCritical61 = 128.52;

TEST(SystemRandomSourceUniformity, ChiSquareOverThe62And74PoolsAndTheWordList) {
    SystemRandomSource source;
    source.Reseed();
    const struct {
        const char* Name;
        std::u32string Pool; // empty: a plain draw below N
        std::uint32_t N;
        double Critical;
    } table[] = {{"62 pool", ClassesOf(InitialOptions()).Pool, 62, kCritical61},
                 {"74 pool", ClassesOf(Switches(true, true, true, true)).Pool, 74, 145.41},
                 {"7776 words", U"", 7776, 8382}};
    for (const auto& row : table) {
        const double statistic = ChiSquare(row.N, 1'000'000, [&] {
            return row.Pool.empty() ? source.Below(row.N)
                                    : row.Pool.find(DrawOne(row.Pool, source));
        });
        EXPECT_LT(statistic, row.Critical) << row.Name;
        std::cout << "chi-square, " << row.Name << ": " << statistic << " (limit " << row.Critical
                  << ")\n";
    }
    EXPECT_FALSE(source.Failed());
}

TEST(SystemRandomSourceUniformity, TheCheckRejectsAByteTakenModuloWithoutRejection) {
    // 256 values over 62 characters: eight get 5 values, the rest 4, a gap far beyond noise.
    SystemRandomSource source;
    source.Reseed();
    EXPECT_GT(ChiSquare(62, 200'000, [&] { return source.NextBytes(1) % 62; }), kCritical61);
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
