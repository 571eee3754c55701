// Exact draws and the free-mode generator, with a source that returns chosen bytes.
#include "test_support.h"

#include <cstdint>

namespace zelvaran::testing {
namespace {

// Every value the given bytes can make, once each, followed by an accepted one: each remainder
// must be drawn equally often, and exactly the values at or above the cut-off rejected.
struct Exactness {
    std::uint32_t N;
    std::uint32_t Rejected; // 256^width mod n
};

TEST(UniformBelow, EveryRemainderEquallyOftenAndTheTopValuesRejected) {
    for (const Exactness row : {Exactness{62, 8}, Exactness{74, 34}, Exactness{7776, 3328},
                                Exactness{256, 0}, Exactness{257, 1}, Exactness{3, 1}}) {
        const UniformBelow draw(row.N);
        const std::uint32_t values = 1u << (8 * draw.Width());
        std::vector<int> hits(row.N, 0);
        std::uint32_t rejected = 0;
        for (std::uint32_t v = 0; v < values; ++v) {
            // v, then 1 to end the draw if v is rejected.
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

TEST(UniformBelow, AsFewBytesAsNNeeds) {
    const struct {
        std::uint32_t N;
        unsigned Width;
    } table[] = {{2, 1},    {62, 1},    {256, 1},   {257, 2},
                 {7776, 2}, {65536, 2}, {65537, 4}, {4'000'000'000u, 4}};
    for (const auto& row : table) {
        EXPECT_EQ(UniformBelow(row.N).Width(), row.Width) << row.N;
    }
    // Four bytes: 2^32 mod 3e9 = 1294967296 values at the top are rejected.
    ScriptedSource high({0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0});
    EXPECT_EQ(high.Below(3'000'000'000u), 7u);
    EXPECT_EQ(high.Calls(), 2);
    // A class of one takes no randomness at all.
    ScriptedSource none({9});
    EXPECT_EQ(none.Below(1), 0u);
    EXPECT_EQ(DrawOne(U"x", none), U'x');
    EXPECT_EQ(none.Calls(), 0);
}

TEST(DrawOne, RejectedBytesAreSkippedForThe62And74Pools) {
    const std::u32string pool62 = ClassesOf(InitialOptions()).Pool;
    const std::u32string pool74 = ClassesOf(Switches(true, true, true, true)).Pool;
    ScriptedSource source({0, 61, 62, 247, 248, 255, 5});
    std::u32string drawn;
    for (int i = 0; i < 5; ++i) {
        drawn += DrawOne(pool62, source);
    }
    EXPECT_EQ(drawn, U"a9a9f"); // 248 and 255 rejected
    EXPECT_EQ(source.Calls(), 7);
    ScriptedSource wider({221, 222, 255, 73});
    EXPECT_EQ(DrawOne(pool74, wider), U'#');
    EXPECT_EQ(DrawOne(pool74, wider), U'#'); // 222 and 255 rejected
    EXPECT_EQ(wider.Calls(), 4);
}

TEST(DrawOne, RepeatedCharactersWeighTwice) {
    // Every accepted byte once: exact counts, nothing left to chance. Pool a, a, 1 gives the a
    // 170 of the 255 bytes below the cut-off and the 1 the other 85.
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = u"aa1";
    const std::u32string pool = ClassesOf(options).Pool;
    int a = 0;
    int one = 0;
    for (std::uint32_t b = 0; b < 255; ++b) {
        ScriptedSource source({static_cast<std::uint8_t>(b)});
        const char32_t drawn = DrawOne(pool, source);
        a += drawn == U'a' ? 1 : 0;
        one += drawn == U'1' ? 1 : 0;
    }
    EXPECT_EQ(a, 170);
    EXPECT_EQ(one, 85);
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
