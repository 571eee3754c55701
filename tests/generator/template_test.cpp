// The special-format template: instruction letters, literals, extension and its checks.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

const GenerationOptions kAllFour = Switches(true, true, true, true);

Expected<SecretText> FromTemplate(const GenerationOptions& options, std::u16string_view format,
                                  std::u16string_view length, RandomSource& source,
                                  const YieldHook& hook = {}) {
    return GenerateFromTemplate(ClassesOf(options), format, length, source, hook);
}

TEST(Template, EachInstructionDrawsFromItsClass) {
    // Byte 55 picks a different character in every class: 3 from the 74 pool (its 56th), d, D,
    // 5, and the slash, the eighth of the twelve symbols.
    ScriptedSource source = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"5", source)), u"3dD5/");
    EXPECT_EQ(source.Calls(), 5);
}

TEST(Template, OneValuePerInstructionInPositionOrder) {
    ScriptedSource source({0, 6, 13, 7, 11});
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"5", source)), u"agN7#");
}

TEST(Template, RepeatsToCoverTheLength) {
    ScriptedSource source = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"12", source)), u"3dD5/3dD5/3d");
    EXPECT_EQ(source.Calls(), 12);
}

TEST(Template, LowercaseInstructionsBehaveLikeUppercase) {
    const std::vector<std::uint8_t> values{7, 200, 77, 153, 12, 197, 107};
    ScriptedSource upper(values);
    ScriptedSource lower(values);
    const std::u16string fromUpper = TextOf(FromTemplate(kAllFour, u"ACGNE", u"12", upper));
    const std::u16string fromLower = TextOf(FromTemplate(kAllFour, u"acgne", u"12", lower));
    EXPECT_EQ(fromLower, fromUpper);
    EXPECT_EQ(lower.Calls(), 12);
    EXPECT_EQ(upper.Calls(), 12);
    // Positions 2, 3, 4 of each round: a lowercase letter, an uppercase letter, a digit.
    for (std::size_t i = 0; i < fromLower.size(); ++i) {
        const char16_t c = fromLower[i];
        switch (i % 5) {
        case 1:
            EXPECT_TRUE(c >= u'a' && c <= u'z') << i;
            break;
        case 2:
            EXPECT_TRUE(c >= u'A' && c <= u'Z') << i;
            break;
        case 3:
            EXPECT_TRUE(c >= u'0' && c <= u'9') << i;
            break;
        case 4:
            EXPECT_NE(kInitialSymbols.find(c), std::u16string_view::npos) << i;
            break;
        default:
            break;
        }
    }
}

TEST(Template, OtherCharactersAreCopiedAsWritten) {
    GenerationOptions digits = Switches(false, false, true, false);
    ScriptedSource source = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(digits, u"Xn-9", u"4", source)), u"X5-9");
    EXPECT_EQ(source.Calls(), 1);

    ScriptedSource untouched = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(digits, u"x", u"5", untouched)), u"xxxxx");
    EXPECT_EQ(untouched.Calls(), 0);

    ScriptedSource other = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"bdfz BDFZ 1 \u00F1", u"13", other)),
              u"bdfz BDFZ 1 \u00F1");
    EXPECT_EQ(other.Calls(), 0);
}

TEST(Template, LiteralLettersAlternateWithDraws) {
    ScriptedSource source({0, 25});
    const std::u16string text =
        TextOf(FromTemplate(Switches(true, false, false, false), u"Ab", u"4", source));
    EXPECT_EQ(text, u"AbZb");
    EXPECT_EQ(source.Calls(), 2);
}

TEST(Template, LongerTemplateIsCutToTheLength) {
    ScriptedSource source = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"3", source)), u"3dD");
    EXPECT_EQ(source.Calls(), 3);
    ScriptedSource none = Constant(55);
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"0", none)), u"");
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"", none)), u"");
    EXPECT_EQ(none.Calls(), 0);
}

TEST(Template, HookRunsAfterEachDoublingAndEachPosition) {
    ScriptedSource source = Constant(55);
    CountingHook counter;
    // 2 -> 4 -> 8 -> 16 covers 9: three doublings, then nine positions.
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"AC", u"9", source, YieldHook(counter))).size(), 9u);
    EXPECT_EQ(counter.calls, 3 + 9);

    // The extension follows the number as read, 4.5, though 4 characters are made.
    counter.calls = 0;
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"AC", u"4.5", source, YieldHook(counter))).size(), 4u);
    EXPECT_EQ(counter.calls, 2 + 4);

    counter.calls = 0;
    EXPECT_EQ(TextOf(FromTemplate(kAllFour, u"ACGNE", u"5", source, YieldHook(counter))).size(),
              5u);
    EXPECT_EQ(counter.calls, 5);
}

TEST(TemplateChecks, EmptyTemplateWhateverTheLength) {
    for (const std::u16string_view length : {u"", u"0", u"5", u"9999", u"abc"}) {
        ScriptedSource source = Constant(55);
        EXPECT_TRUE(
            IsError(FromTemplate(kAllFour, u"", length, source), GenerationErrorKind::FormatEmpty));
        EXPECT_EQ(source.Calls(), 0);
    }
}

TEST(TemplateChecks, EachInstructionNeedsItsClassInEitherCase) {
    struct Case {
        std::u16string_view format;
        GenerationOptions options;
    };
    const Case cases[] = {
        {u"C", Switches(true, false, true, true)}, {u"c", Switches(true, false, true, true)},
        {u"G", Switches(false, true, true, true)}, {u"g", Switches(false, true, true, true)},
        {u"N", Switches(true, true, false, true)}, {u"n", Switches(true, true, false, true)},
        {u"E", Switches(true, true, true, false)}, {u"e", Switches(true, true, true, false)},
    };
    for (const Case& c : cases) {
        ScriptedSource source = Constant(55);
        CountingHook counter;
        const auto result = FromTemplate(c.options, c.format, u"5", source, YieldHook(counter));
        EXPECT_TRUE(IsError(result, GenerationErrorKind::FormatMismatch))
            << std::string(c.format.begin(), c.format.end());
        EXPECT_EQ(source.Calls(), 0);
        EXPECT_EQ(counter.calls, 3); // 1 -> 2 -> 4 -> 8, and no position
    }
}

TEST(TemplateChecks, CoverTheWholeTemplateAndComeBeforeTheCount) {
    // The initial options leave the symbols off, so E names an empty class, also where its
    // position is never reached and when nothing at all is asked for.
    for (const std::u16string_view length : {u"5", u"3", u"0", u""}) {
        ScriptedSource source = Constant(55);
        EXPECT_TRUE(IsError(FromTemplate(InitialOptions(), u"ACGNE", length, source),
                            GenerationErrorKind::FormatMismatch));
        EXPECT_EQ(source.Calls(), 0);
    }
    ScriptedSource source = Constant(55);
    const GenerationOptions digits = Switches(false, false, true, false);
    EXPECT_TRUE(
        IsError(FromTemplate(digits, u"NNNNC", u"2", source), GenerationErrorKind::FormatMismatch));
    EXPECT_TRUE(
        IsError(FromTemplate(digits, u"CNNN", u"4", source), GenerationErrorKind::FormatMismatch));
    EXPECT_EQ(TextOf(FromTemplate(digits, u"NNNN", u"4", source)), u"5555");
}

TEST(TemplateChecks, FollowTheClassChecksInTheGenerateCommand) {
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText.clear();
    options.UseFormat = true;
    options.FormatText.clear();
    ScriptedSource source = Constant(55);
    EXPECT_TRUE(IsError(Generate(options, source, {}), GenerationErrorKind::SymbolsEmpty));

    options.UseSymbols = false;
    EXPECT_TRUE(IsError(Generate(options, source, {}), GenerationErrorKind::NoClassChosen));

    options.UseDigits = true;
    EXPECT_TRUE(IsError(Generate(options, source, {}), GenerationErrorKind::FormatEmpty));
    options.LengthText = u"0";
    EXPECT_TRUE(IsError(Generate(options, source, {}), GenerationErrorKind::FormatEmpty));

    options.FormatText = u"NE";
    EXPECT_TRUE(IsError(Generate(options, source, {}), GenerationErrorKind::FormatMismatch));
    EXPECT_EQ(source.Calls(), 0);

    options.FormatText = u"x";
    options.LengthText = u"5";
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"xxxxx");
}

} // namespace
} // namespace zelvaran::testing
