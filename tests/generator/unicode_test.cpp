// Characters are code points: a character outside the BMP is drawn, copied and counted whole,
// and no result ever holds half of a surrogate pair.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

const std::u16string kGrin = u"\U0001F600";

std::size_t CodePoints(std::u16string_view text) {
    return ToCodePoints(text).size();
}

TEST(CodePoints, PairsDecodeWholeAndLoneHalvesBecomeReplacements) {
    EXPECT_EQ(ToCodePoints(u"a" + kGrin + u"b"), U"a\U0001F600b");
    EXPECT_EQ(ToCodePoints(u"\xD800"), U"\uFFFD");
    EXPECT_EQ(ToCodePoints(u"\xDC00x"), U"\uFFFDx");
    EXPECT_EQ(ToCodePoints(u"\xD83Dx"), U"\uFFFDx");
    EXPECT_EQ(ToCodePoints(u"\xDE00\xD83D"), U"\uFFFD\uFFFD");
    EXPECT_EQ(ToCodePoints(u"\xD83D\xD83D\xDE00"), U"\uFFFD\U0001F600");
}

TEST(CodePoints, AppendWritesPairsAndReplacesInvalidValues) {
    std::u16string out;
    AppendUtf16(out, U'\U0001F600');
    EXPECT_EQ(out, u"\xD83D\xDE00");
    out.clear();
    AppendUtf16(out, U'\u00A6');
    AppendUtf16(out, char32_t{0xD800});
    AppendUtf16(out, char32_t{0x110000});
    AppendUtf16(out, U'\U0010FFFF');
    EXPECT_EQ(out, u"\u00A6\uFFFD\uFFFD\U0010FFFF");
}

TEST(NonBmpCharacters, ASymbolIsDrawnWhole) {
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = u"a" + kGrin;
    const CharacterClasses classes = ClassesOf(options);
    EXPECT_EQ(classes.Pool.size(), 2u);
    ScriptedSource source({1, 0, 1});
    const std::u16string text = TextOf(GenerateFree(classes, 3, source, YieldHook{}));
    EXPECT_EQ(text, kGrin + u"a" + kGrin);
    EXPECT_EQ(CodePoints(text), 3u);
}

TEST(NonBmpCharacters, ResultLengthCountsCodePoints) {
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = kGrin;
    options.LengthText = std::u16string(u"7"); // GCC 12 -O3 warns falsely on the copy
    ScriptedSource source = Constant(77);
    const std::u16string text = TextOf(Generate(options, source, {}));
    EXPECT_EQ(text.size(), 14u);
    EXPECT_EQ(CodePoints(text), 7u);
    EXPECT_FALSE(HasLoneSurrogate(text));
}

TEST(NonBmpCharacters, ATemplateLiteralIsCopiedWholeAsOnePosition) {
    ScriptedSource source = Constant(55);
    const std::u16string text = TextOf(GenerateFromTemplate(
        ClassesOf(Switches(false, false, true, false)), kGrin + u"N", u"5", source, {}));
    EXPECT_EQ(text, kGrin + u"5" + kGrin + u"5" + kGrin);
    EXPECT_EQ(CodePoints(text), 5u);
    EXPECT_EQ(source.Calls(), 2);
}

TEST(NonBmpCharacters, LoneSurrogatesNeverReachAResult) {
    GenerationOptions options = Switches(false, false, false, true);
    options.SymbolText = std::u16string(u"\xD800");
    ScriptedSource source = Constant(55);
    EXPECT_EQ(TextOf(GenerateFree(ClassesOf(options), 3, source, {})), u"\uFFFD\uFFFD\uFFFD");

    const std::u16string literal = TextOf(GenerateFromTemplate(
        ClassesOf(Switches(false, false, true, false)), u"\xDC00N", u"4", source, {}));
    EXPECT_EQ(literal, u"\uFFFD5\uFFFD5");
}

TEST(NonBmpCharacters, LongMixedRunWithTheSystemSource) {
    GenerationOptions options = Switches(true, true, true, true);
    options.SymbolText = u"#\xD800" + kGrin + u"\u00A6\U00010348\xDFFF";
    options.LengthText = u"9999";
    SystemRandomSource source;
    source.Reseed();
    const std::u16string text = TextOf(Generate(options, source, {}));
    EXPECT_EQ(CodePoints(text), 9999u);
    EXPECT_FALSE(HasLoneSurrogate(text));
    EXPECT_NE(text.find(kGrin), std::u16string::npos); // about 9999 * 1/68 of them expected

    options.UseFormat = true;
    options.FormatText = u"E" + kGrin + u"\xDBFF" + u"A";
    const std::u16string templated = TextOf(Generate(options, source, {}));
    EXPECT_EQ(CodePoints(templated), 9999u);
    EXPECT_FALSE(HasLoneSurrogate(templated));
}

} // namespace
} // namespace zelvaran::testing
