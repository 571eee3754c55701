// The options the window opens with, the character classes built from them, the first two
// checks and the fixed messages.
#include "test_support.h"

namespace zelvaran::testing {
namespace {

TEST(InitialOptions, MatchTheWindowAtStart) {
    const GenerationOptions options = InitialOptions();
    EXPECT_EQ(options.LengthText, u"5");
    EXPECT_TRUE(options.UseUpper);
    EXPECT_TRUE(options.UseLower);
    EXPECT_TRUE(options.UseDigits);
    EXPECT_FALSE(options.UseSymbols);
    EXPECT_EQ(options.SymbolText, u"\"*?-+!\u00A6/(&=#");
    EXPECT_EQ(options.SymbolText.size(), 12u);
    EXPECT_FALSE(options.UseFormat);
    EXPECT_EQ(options.FormatText, u"ACGNE");
}

TEST(CharRange, AscendingInclusiveAndEmptyWhenReversed) {
    EXPECT_EQ(CharRange(97, 122, YieldHook{}), U"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(CharRange(48, 57, YieldHook{}), U"0123456789");
    EXPECT_EQ(CharRange(65, 65, YieldHook{}), U"A");
    EXPECT_EQ(CharRange(66, 65, YieldHook{}), U"");
}

TEST(CharRange, RunsTheHookAfterEachCharacter) {
    CountingHook counter;
    const YieldHook hook(counter);
    EXPECT_EQ(CharRange(65, 90, hook).size(), 26u);
    EXPECT_EQ(counter.calls, 26);
    EXPECT_TRUE(CharRange(10, 9, hook).empty());
    EXPECT_EQ(counter.calls, 26);
}

TEST(BuildClasses, InitialOptionsGiveThe62Pool) {
    const CharacterClasses classes = ClassesOf(InitialOptions());
    EXPECT_EQ(classes.Lower, U"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(classes.Upper, U"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(classes.Digits, U"0123456789");
    // The symbol text is there but the switch is off, so it plays no part.
    EXPECT_TRUE(classes.Symbols.empty());
    ASSERT_EQ(classes.Pool.size(), 62u);
    EXPECT_EQ(classes.Pool.front(), U'a');
    EXPECT_EQ(classes.Pool.back(), U'9');
    EXPECT_EQ(classes.Pool, classes.Lower + classes.Upper + classes.Digits);
}

TEST(BuildClasses, SymbolsComeLastInThe74Pool) {
    const CharacterClasses classes = ClassesOf(Switches(true, true, true, true));
    EXPECT_EQ(classes.Symbols, U"\"*?-+!\u00A6/(&=#");
    ASSERT_EQ(classes.Pool.size(), 74u);
    EXPECT_EQ(classes.Pool.front(), U'a');
    EXPECT_EQ(classes.Pool.substr(0, 62), ClassesOf(InitialOptions()).Pool);
    EXPECT_EQ(classes.Pool.substr(62), classes.Symbols);
    EXPECT_EQ(classes.Pool.back(), U'#');
}

GenerationOptions WithSymbols(GenerationOptions options, std::u16string_view symbols) {
    options.SymbolText = symbols;
    return options;
}

// Lower, upper, digits, symbols; the symbol text is used as typed, repeats included (a digit
// typed among the symbols occurs twice), and plays no part while its switch is off.
TEST(BuildClasses, PoolOrderIsLowerUpperDigitsSymbols) {
    const std::pair<GenerationOptions, std::u32string_view> table[] = {
        {WithSymbols(Switches(true, false, true, true), u"%$"),
         U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789%$"},
        {Switches(false, true, false, false), U"abcdefghijklmnopqrstuvwxyz"},
        {WithSymbols(Switches(false, false, false, true), u"aa1"), U"aa1"},
        {WithSymbols(Switches(false, false, false, true), u" "), U" "},
        {WithSymbols(Switches(false, false, true, true), u"7"), U"01234567897"},
        {WithSymbols(Switches(false, false, true, false), u""), U"0123456789"},
    };
    for (const auto& [options, pool] : table) {
        EXPECT_EQ(ClassesOf(options).Pool, pool);
    }
}

// The symbol text is taken whole, not built from a range.
TEST(BuildClasses, HookRunsOncePerRangeCharacterOnly) {
    for (const auto& [options, calls] : {std::pair{InitialOptions(), 62},
                                         {Switches(true, true, true, true), 62},
                                         {Switches(false, false, true, false), 10}}) {
        CountingHook counter;
        ASSERT_TRUE(Succeeded(BuildClasses(options, YieldHook(counter))));
        EXPECT_EQ(counter.calls, calls);
    }
}

// An empty symbol text is reported before an empty pool; with every switch off, whatever the
// symbol text, no class is chosen.
TEST(BuildClassesChecks, EmptySymbolTextIsReportedBeforeAnEmptyPool) {
    const std::pair<GenerationOptions, GenerationErrorKind> table[] = {
        {WithSymbols(Switches(false, false, false, true), u""), GenerationErrorKind::SymbolsEmpty},
        {WithSymbols(Switches(true, true, true, true), u""), GenerationErrorKind::SymbolsEmpty},
        {Switches(false, false, false, false), GenerationErrorKind::NoClassChosen},
        {WithSymbols(Switches(false, false, false, false), u""),
         GenerationErrorKind::NoClassChosen},
    };
    for (const auto& [options, kind] : table) {
        EXPECT_TRUE(IsError(BuildClasses(options, YieldHook{}), kind)) << static_cast<int>(kind);
    }
}

TEST(GenerationErrorMessages, AreTheFixedTexts) {
    EXPECT_EQ(GenerationError{GenerationErrorKind::SymbolsEmpty}.Message(),
              u"La Casilla -Usar Simbolos- esta habilitada y sin caracteres escritos");
    EXPECT_EQ(GenerationError{GenerationErrorKind::NoClassChosen}.Message(),
              u"Debe haber almemnos un tipo de caracteres seleccionado:\r\n\r\n- Usar "
              u"Mayusculas\r\n- Usar Minusculas\r\n- Usar Numeros");
    EXPECT_EQ(GenerationError{GenerationErrorKind::FormatEmpty}.Message(),
              u"La Casilla -Formato Especial- esta habilitada y sin Formato especificado\r\n\r\nEn "
              u"el menu -Informacion- elija Temas de Ayuda para informacion del Formato");
    EXPECT_EQ(GenerationError{GenerationErrorKind::FormatMismatch}.Message(),
              u"El Formato Especial contiene instrucciones que no coinciden con el tipo de "
              u"caracteres elegidos");
}

TEST(GenerationErrorMessages, RandomUnavailableIsSpanishWithCrLfBreaks) {
    const std::u16string_view text =
        GenerationError{GenerationErrorKind::RandomUnavailable}.Message();
    EXPECT_NE(text.find(u"aleatorios"), std::u16string_view::npos);
    EXPECT_NE(text.find(u"contrase\u00F1a"), std::u16string_view::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == u'\r') << "bare line feed at " << i;
        }
    }
    EXPECT_NE(text.back(), u'\n');
}

} // namespace
} // namespace zelvaran::testing
