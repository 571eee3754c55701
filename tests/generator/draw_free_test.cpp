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

TEST(GenerateFree, DrawsInOrderFromThePool) {
    ScriptedSource source({0, 15, 31, 61});
    const auto result = GenerateFree(ClassesOf(InitialOptions()), 4, source, YieldHook{});
    EXPECT_EQ(TextOf(result), u"apF9");
    EXPECT_EQ(source.Calls(), 4);
}

TEST(GenerateFree, ZeroOrNegativeCountGivesTheEmptyTextWithoutDrawing) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    for (const int count : {0, -1, -32768}) {
        ScriptedSource source = Constant(31);
        CountingHook counter;
        EXPECT_EQ(TextOf(GenerateFree(classes, count, source, YieldHook(counter))), u"");
        EXPECT_EQ(source.Calls(), 0);
        EXPECT_EQ(counter.calls, 0);
    }
}

TEST(GenerateFree, HookRunsAfterEachCharacter) {
    ScriptedSource source = Constant(77);
    CountingHook counter;
    const auto result = GenerateFree(ClassesOf(InitialOptions()), 37, source, YieldHook(counter));
    EXPECT_EQ(TextOf(result).size(), 37u);
    EXPECT_EQ(counter.calls, 37);
    EXPECT_EQ(source.Calls(), 37);
}

TEST(GenerateFree, OneAndTheLargestCount) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    ScriptedSource source({6, 180, 230, 102});
    const std::u16string one = TextOf(GenerateFree(classes, 1, source, YieldHook{}));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_NE(classes.Pool.find(one[0]), std::u32string::npos);
    const std::u16string most = TextOf(GenerateFree(classes, kMaxCount, source, YieldHook{}));
    EXPECT_EQ(most.size(), 9999u);
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

TEST(RandomUnavailable, AFailingSourceGivesTheErrorAndNoText) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    ScriptedSource failing = FailingSource();
    EXPECT_TRUE(IsError(GenerateFree(classes, 5, failing, YieldHook{}),
                        GenerationErrorKind::RandomUnavailable));
    // A failure part-way through discards the characters already made.
    ScriptedSource midway({31}, 3);
    EXPECT_TRUE(IsError(GenerateFree(classes, 9999, midway, YieldHook{}),
                        GenerationErrorKind::RandomUnavailable));
    ScriptedSource lastOne({31}, 4);
    EXPECT_TRUE(IsError(GenerateFree(classes, 5, lastOne, YieldHook{}),
                        GenerationErrorKind::RandomUnavailable));
    ScriptedSource justEnough({31}, 5);
    EXPECT_EQ(TextOf(GenerateFree(classes, 5, justEnough, YieldHook{})), u"FFFFF");
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

TEST(Generate, FreeModeCountsFromTheLengthText) {
    GenerationOptions options = InitialOptions();
    ScriptedSource source = Constant(31);
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"FFFFF");
    options.LengthText = u"";
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"");
    options.LengthText = u"0";
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"");
    options.LengthText = u"2.5";
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"FF");
    EXPECT_EQ(source.Calls(), 7);
    EXPECT_EQ(source.Reseeds(), 0); // reseeding is the command's job, not the generator's
}

TEST(Generate, HookCoversClassesAndCharacters) {
    GenerationOptions options = InitialOptions();
    options.LengthText = u"20";
    ScriptedSource source = Constant(31);
    CountingHook counter;
    EXPECT_EQ(TextOf(Generate(options, source, YieldHook(counter))).size(), 20u);
    EXPECT_EQ(counter.calls, 62 + 20);
}

} // namespace
} // namespace zelvaran::testing
