// The special-format template: instruction letters, literals, extension and its checks.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

const GenerationOptions kAllFour = Switches(true, true, true, true);

std::string Narrow(std::u16string_view text) {
    return {text.begin(), text.end()}; // for messages: the formats and lengths here are ASCII
}

Expected<SecretText> FromTemplate(const GenerationOptions& options, std::u16string_view format,
                                  std::u16string_view length, RandomSource& source,
                                  const YieldHook& hook = {}) {
    return GenerateFromTemplate(ClassesOf(options), format, length, source, hook);
}

// Byte 55 picks a different character in every class: 3 from the 74 pool (its 56th), d, D, 5,
// and the slash, the eighth of the twelve symbols. The hook runs after each doubling of the
// template and after each position; the doublings follow the length as read (4.5), though only
// whole characters are made.
TEST(Template, DrawsCopiesRepeatsAndCutsToTheLength) {
    const GenerationOptions digits = Switches(false, false, true, false);
    const struct {
        GenerationOptions Options;
        std::u16string_view Format;
        std::u16string_view Length;
        std::vector<std::uint8_t> Bytes;
        std::u16string_view Text;
        int Draws;
        int Hooks;
    } table[] = {
        {kAllFour, u"ACGNE", u"5", {55}, u"3dD5/", 5, 5},
        {kAllFour, u"ACGNE", u"5", {0, 6, 13, 7, 11}, u"agN7#", 5, 5}, // one value a position
        {kAllFour, u"ACGNE", u"12", {55}, u"3dD5/3dD5/3d", 12, 2 + 12},
        {kAllFour, u"ACGNE", u"3", {55}, u"3dD", 3, 3},
        {kAllFour, u"ACGNE", u"0", {55}, u"", 0, 0},
        {kAllFour, u"ACGNE", u"", {55}, u"", 0, 0},
        {kAllFour, u"AC", u"9", {55}, u"3d3d3d3d3", 9, 3 + 9}, // 2 -> 4 -> 8 -> 16
        {kAllFour, u"AC", u"4.5", {55}, u"3d3d", 4, 2 + 4},
        {digits, u"Xn-9", u"4", {55}, u"X5-9", 1, 4},
        {digits, u"x", u"5", {55}, u"xxxxx", 0, 3 + 5},
        {digits, u"NNNN", u"4", {55}, u"5555", 4, 4},
        {kAllFour, u"bdfz BDFZ 1 \u00F1", u"13", {55}, u"bdfz BDFZ 1 \u00F1", 0, 13},
        {Switches(true, false, false, false), u"Ab", u"4", {0, 25}, u"AbZb", 2, 1 + 4},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(Narrow(row.Format) + " " + Narrow(row.Length));
        ScriptedSource source(row.Bytes);
        CountingHook counter;
        EXPECT_EQ(
            TextOf(FromTemplate(row.Options, row.Format, row.Length, source, YieldHook(counter))),
            row.Text);
        EXPECT_EQ(source.Calls(), row.Draws);
        EXPECT_EQ(counter.calls, row.Hooks);
    }
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
    // Positions 2 to 5 of each round: a lowercase letter, an uppercase letter, a digit, a symbol.
    const std::u16string_view kinds[] = {u"abcdefghijklmnopqrstuvwxyz",
                                         u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"0123456789",
                                         kInitialSymbols};
    for (std::size_t i = 0; i < fromLower.size(); ++i) {
        if (i % 5 != 0) {
            EXPECT_NE(kinds[i % 5 - 1].find(fromLower[i]), std::u16string_view::npos) << i;
        }
    }
}

// Every instruction needs its class, in either case; the checks cover the whole template, also
// where a position is never reached and when nothing at all is asked for, and come before the
// count. The initial options leave the symbols off, so E names an empty class there.
TEST(TemplateChecks, RefusedBeforeAnyDraw) {
    const GenerationOptions digits = Switches(false, false, true, false);
    const auto mismatch = GenerationErrorKind::FormatMismatch;
    const struct {
        GenerationOptions Options;
        std::u16string_view Format;
        std::vector<std::u16string_view> Lengths;
        GenerationErrorKind Kind;
    } table[] = {
        {kAllFour, u"", {u"", u"0", u"5", u"9999", u"abc"}, GenerationErrorKind::FormatEmpty},
        {InitialOptions(), u"ACGNE", {u"5", u"3", u"0", u""}, mismatch},
        {digits, u"NNNNC", {u"2"}, mismatch},
        {digits, u"CNNN", {u"4"}, mismatch},
    };
    for (const auto& row : table) {
        for (const std::u16string_view length : row.Lengths) {
            ScriptedSource source = Constant(55);
            EXPECT_TRUE(IsError(FromTemplate(row.Options, row.Format, length, source), row.Kind))
                << Narrow(row.Format) << " " << Narrow(length);
            EXPECT_EQ(source.Calls(), 0);
        }
    }
    const std::pair<std::u16string_view, GenerationOptions> needs[] = {
        {u"C", Switches(true, false, true, true)}, {u"c", Switches(true, false, true, true)},
        {u"G", Switches(false, true, true, true)}, {u"g", Switches(false, true, true, true)},
        {u"N", Switches(true, true, false, true)}, {u"n", Switches(true, true, false, true)},
        {u"E", Switches(true, true, true, false)}, {u"e", Switches(true, true, true, false)},
    };
    for (const auto& [format, options] : needs) {
        ScriptedSource source = Constant(55);
        CountingHook counter;
        const auto result = FromTemplate(options, format, u"5", source, YieldHook(counter));
        EXPECT_TRUE(IsError(result, mismatch)) << static_cast<char>(format[0]);
        EXPECT_EQ(source.Calls(), 0);
        EXPECT_EQ(counter.calls, 3); // 1 -> 2 -> 4 -> 8, and no position
    }
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
