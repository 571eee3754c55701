// The single draw and the free-mode generator, with a source that returns chosen values.
#include "test_support.h"

#include <cstdint>

namespace zelvaran::testing {
namespace {

char32_t DrawWith(std::u32string_view cls, float r) {
    ScriptedSource source = Constant(r);
    const char32_t drawn = DrawOne(cls, source);
    EXPECT_EQ(source.Calls(), 1);
    return drawn;
}

TEST(DrawOne, ChosenValuesInThe62Pool) {
    const std::u32string pool = ClassesOf(InitialOptions()).Pool;
    EXPECT_EQ(DrawWith(pool, 0.0f), U'a');             // k = 1
    EXPECT_EQ(DrawWith(pool, 0.25f), U'p');            // k = 16
    EXPECT_EQ(DrawWith(pool, 0.5f), U'F');             // k = 32
    EXPECT_EQ(DrawWith(pool, kLargestBelowOne), U'9'); // k = 62
}

TEST(DrawOne, ChosenValuesInThe74Pool) {
    const std::u32string pool = ClassesOf(Switches(true, true, true, true)).Pool;
    EXPECT_EQ(DrawWith(pool, 0.0f), U'a');
    EXPECT_EQ(DrawWith(pool, 0.5f), U'L');             // k = 38
    EXPECT_EQ(DrawWith(pool, kLargestBelowOne), U'#'); // k = 74
}

TEST(DrawOne, IsATrueFloorOverAFineGrid) {
    // floor(j / 2^16 * 7) worked out in integers, against the draw for every grid value:
    // rounding to nearest, or a 0-based slip, would disagree near every boundary.
    const std::u32string cls = U"0123456";
    for (std::uint32_t j = 0; j < (1u << 16); ++j) {
        const float r = static_cast<float>(j) / 65536.0f;
        const std::size_t expected = (j * 7u) >> 16;
        ASSERT_EQ(DrawWith(cls, r), cls[expected]) << "j = " << j;
    }
    EXPECT_EQ(DrawWith(U"xy", kLargestBelowOne), U'y');
    EXPECT_EQ(DrawWith(U"xy", 0.49999997f), U'x');
    EXPECT_EQ(DrawWith(U"xy", 0.5f), U'y');
}

TEST(DrawOne, RepeatedCharactersWeighTwice) {
    // The whole grid j / 2^16 once: exact counts, nothing left to chance. Pool a, a, 1 gives
    // the a 43691 of 65536 values and the 1 the other 21845, twice as many give or take one.
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = u"aa1";
    const std::u32string pool = ClassesOf(options).Pool;
    int a = 0;
    int one = 0;
    for (std::uint32_t j = 0; j < (1u << 16); ++j) {
        const char32_t drawn = DrawWith(pool, static_cast<float>(j) / 65536.0f);
        a += drawn == U'a' ? 1 : 0;
        one += drawn == U'1' ? 1 : 0;
    }
    EXPECT_EQ(a + one, 1 << 16);
    EXPECT_LE(std::abs(a - 2 * one), 1) << "a " << a << ", 1 " << one;
}

TEST(GenerateFree, DrawsInOrderFromThePool) {
    ScriptedSource source({0.0f, 0.25f, 0.5f, kLargestBelowOne});
    const auto result = GenerateFree(ClassesOf(InitialOptions()), 4, source, YieldHook{});
    EXPECT_EQ(TextOf(result), u"apF9");
    EXPECT_EQ(source.Calls(), 4);
}

TEST(GenerateFree, ZeroOrNegativeCountGivesTheEmptyTextWithoutDrawing) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    for (const int count : {0, -1, -32768}) {
        ScriptedSource source = Constant(0.5f);
        CountingHook counter;
        EXPECT_EQ(TextOf(GenerateFree(classes, count, source, YieldHook(counter))), u"");
        EXPECT_EQ(source.Calls(), 0);
        EXPECT_EQ(counter.calls, 0);
    }
}

TEST(GenerateFree, HookRunsAfterEachCharacter) {
    ScriptedSource source = Constant(0.3f);
    CountingHook counter;
    const auto result = GenerateFree(ClassesOf(InitialOptions()), 37, source, YieldHook(counter));
    EXPECT_EQ(TextOf(result).size(), 37u);
    EXPECT_EQ(counter.calls, 37);
    EXPECT_EQ(source.Calls(), 37);
}

TEST(GenerateFree, OneAndTheLargestCount) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    ScriptedSource source({0.1f, 0.7f, 0.9f, 0.4f});
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
    ScriptedSource midway({0.5f}, 3);
    EXPECT_TRUE(IsError(GenerateFree(classes, 9999, midway, YieldHook{}),
                        GenerationErrorKind::RandomUnavailable));
    ScriptedSource lastOne({0.5f}, 4);
    EXPECT_TRUE(IsError(GenerateFree(classes, 5, lastOne, YieldHook{}),
                        GenerationErrorKind::RandomUnavailable));
    ScriptedSource justEnough({0.5f}, 5);
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
    ScriptedSource source = Constant(0.5f);
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
    ScriptedSource source = Constant(0.5f);
    CountingHook counter;
    EXPECT_EQ(TextOf(Generate(options, source, YieldHook(counter))).size(), 20u);
    EXPECT_EQ(counter.calls, 62 + 20);
}

} // namespace
} // namespace zelvaran::testing
