// Exact draws and the free-mode generator, with a source that returns chosen bytes.
#include "test_support.h"

#include <cstdint>
#include <map>

namespace zelvaran::testing {
namespace {

// Every value of the width n needs, once each, then an accepted one: each remainder must come
// equally often, and exactly the values from the cut-off up (256^width mod n of them) go.
TEST(UniformBelow, AsFewBytesAsNeededEveryRemainderEquallyOftenAndTheTopValuesRejected) {
    const struct {
        std::uint32_t N;
        unsigned Width;
        std::uint32_t Rejected;
    } table[] = {{2, 1, 0},   {3, 1, 1},    {62, 1, 8},      {74, 1, 34},  {256, 1, 0},
                 {257, 2, 1}, {4096, 2, 0}, {7776, 2, 3328}, {65536, 2, 0}}; // 4096: the words
    for (const auto& row : table) {
        const UniformBelow draw(row.N);
        ASSERT_EQ(draw.Width(), row.Width) << row.N;
        const std::uint32_t values = 1u << (8 * draw.Width());
        std::vector<int> hits(row.N, 0);
        std::uint32_t rejected = 0;
        for (std::uint32_t v = 0; v < values; ++v) {
            std::vector<std::uint8_t> bytes(2 * draw.Width(), 0);
            bytes[0] = static_cast<std::uint8_t>(v);
            bytes[1 % draw.Width()] |= static_cast<std::uint8_t>(v >> 8);
            bytes[draw.Width()] = 1;
            ScriptedSource source(bytes);
            const std::uint32_t got = draw(source);
            if (source.Calls() == 1) {
                ASSERT_EQ(got, v % row.N) << row.N << " " << v;
                ++hits[got];
            } else {
                ASSERT_EQ(got, 1u);
                ASSERT_EQ(source.Calls(), 2);
                ASSERT_GE(v, values - row.Rejected) << row.N << ": only the top values go";
                ++rejected;
            }
        }
        EXPECT_EQ(rejected, row.Rejected) << row.N;
        for (const int h : hits) {
            ASSERT_EQ(h, static_cast<int>((values - row.Rejected) / row.N)) << row.N;
        }
    }
}

TEST(UniformBelow, FourBytesAboveTwoAndNoneForOne) {
    EXPECT_EQ(UniformBelow(65537).Width(), 4u);
    EXPECT_EQ(UniformBelow(4'000'000'000u).Width(), 4u);
    // 2^32 mod 3e9 = 1294967296 values at the top are rejected.
    ScriptedSource high({0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0});
    EXPECT_EQ(high.Below(3'000'000'000u), 7u);
    EXPECT_EQ(high.Calls(), 2);
    ScriptedSource none({9});
    EXPECT_EQ(none.Below(1), 0u);
    EXPECT_EQ(DrawOne(U"x", none), U'x');
    EXPECT_EQ(none.Calls(), 0);
}

TEST(DrawOne, RejectedBytesAreSkippedForThe62And74Pools) {
    const struct {
        std::u32string Pool;
        std::vector<std::uint8_t> Bytes;
        std::u32string Drawn;
    } table[] = {{ClassesOf(InitialOptions()).Pool, {0, 61, 62, 247, 248, 255, 5}, U"a9a9f"},
                 {ClassesOf(Switches(true, true, true, true)).Pool, {221, 222, 255, 73}, U"##"}};
    for (const auto& row : table) {
        ScriptedSource source(row.Bytes);
        std::u32string drawn;
        while (drawn.size() < row.Drawn.size()) {
            drawn += DrawOne(row.Pool, source);
        }
        EXPECT_EQ(drawn, row.Drawn); // 248, 255 and 222, 255 rejected
        EXPECT_EQ(source.Calls(), static_cast<int>(row.Bytes.size()));
    }
}

TEST(DrawOne, RepeatedCharactersWeighTwice) {
    // Every accepted byte once: exact counts, nothing left to chance. Pool a, a, 1 gives the a
    // 170 of the 255 bytes below the cut-off and the 1 the other 85.
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = u"aa1";
    const std::u32string pool = ClassesOf(options).Pool;
    std::map<char32_t, int> counts;
    for (std::uint8_t b = 0; b < 255; ++b) {
        ScriptedSource source({b});
        ++counts[DrawOne(pool, source)];
    }
    EXPECT_EQ(counts, (std::map<char32_t, int>{{U'a', 170}, {U'1', 85}}));
}

// Each byte below draws one character of the 62 pool in order (0 a, 15 p, 31 F, 61 9, 77 p, 180 4,
// 230 S, 102 O, 6 g), so the text is `Cycle` repeated to the count; the hook runs after each
// character. A zero or negative count gives the empty text without drawing. A source failing
// from its first value or part-way through (an empty `Cycle`) gives the error and no text.
TEST(GenerateFree, DrawsInOrderFromThePoolAndRunsTheHookAfterEachCharacter) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    const struct {
        int Count;
        std::vector<std::uint8_t> Bytes;
        std::u16string_view Cycle;
        int FailAfter = -1;
    } table[] = {
        {4, {0, 15, 31, 61}, u"apF9"},
        {37, {77}, u"p"},
        {1, {6}, u"g"},
        {kMaxCount, {180, 230, 102, 6}, u"4SOg"},
        {0, {31}, u"F"},
        {-1, {31}, u"F"},
        {-32768, {31}, u"F"},
        {5, {31}, u"", 0},
        {9999, {31}, u"", 3},
        {5, {31}, u"", 4},
        {5, {31}, u"F", 5},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.Count << " " << row.FailAfter);
        ScriptedSource source(row.Bytes, row.FailAfter);
        CountingHook counter;
        const auto result = GenerateFree(classes, row.Count, source, YieldHook(counter));
        if (row.Cycle.empty()) {
            EXPECT_TRUE(IsError(result, GenerationErrorKind::RandomUnavailable));
            continue;
        }
        std::u16string expected;
        for (int i = 0; i < row.Count; ++i) {
            expected += row.Cycle[i % row.Cycle.size()];
        }
        EXPECT_EQ(TextOf(result), expected);
        EXPECT_EQ(source.Calls(), static_cast<int>(expected.size()));
        EXPECT_EQ(counter.calls, static_cast<int>(expected.size()));
    }
}

TEST(GenerateFree, OnlyDigitsGiveOnlyDigits) {
    SystemRandomSource source;
    source.Reseed();
    const std::u16string text =
        TextOf(GenerateFree(ClassesOf(Switches(false, false, true, false)), 500, source, {}));
    ASSERT_EQ(text.size(), 500u);
    for (const char16_t c : text) {
        ASSERT_TRUE(c >= u'0' && c <= u'9') << static_cast<int>(c);
    }
}

TEST(RandomUnavailable, ReachesTheGenerateCommandInBothModes) {
    GenerationOptions options = InitialOptions();
    ScriptedSource failing = FailingSource();
    EXPECT_TRUE(IsError(Generate(options, failing, {}), GenerationErrorKind::RandomUnavailable));
    options.UseFormat = true;
    options.FormatText = u"CGN";
    ScriptedSource failingToo = FailingSource();
    EXPECT_TRUE(IsError(Generate(options, failingToo, {}), GenerationErrorKind::RandomUnavailable));
}

// The hook covers the classes (62 characters) and the characters; reseeding is the command's
// job, not the generator's.
TEST(Generate, FreeModeCountsFromTheLengthText) {
    GenerationOptions options = InitialOptions();
    for (const auto& [length, text] : {std::pair{u"5", u"FFFFF"},
                                       {u"", u""},
                                       {u"0", u""},
                                       {u"2.5", u"FF"},
                                       {u"20", u"FFFFFFFFFFFFFFFFFFFF"}}) {
        options.LengthText = length;
        ScriptedSource source = Constant(31);
        CountingHook counter;
        const int size = static_cast<int>(std::u16string_view(text).size());
        EXPECT_EQ(TextOf(Generate(options, source, YieldHook(counter))), text);
        EXPECT_EQ(source.Calls(), size);
        EXPECT_EQ(counter.calls, 62 + size);
        EXPECT_EQ(source.Reseeds(), 0);
    }
}

} // namespace
} // namespace zelvaran::testing
