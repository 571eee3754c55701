// The rules beyond the option boxes: one of each kind (uniform over the passwords that qualify,
// and its entropy), no look-alikes and excluded characters.
#include "test_support.h"

#include "generator/entropy.h"

#include <algorithm>
#include <array>
#include <map>

namespace zelvaran::testing {
namespace {

CharacterClasses Kinds(std::u32string lower, std::u32string upper, std::u32string digits,
                       std::u32string symbols) {
    CharacterClasses classes{
        std::move(lower), std::move(upper), std::move(digits), std::move(symbols), {}};
    classes.Pool = classes.Lower + classes.Upper + classes.Digits + classes.Symbols;
    return classes;
}

// Calls visit with every index sequence of `length` draws from the pool that holds every
// non-empty class, and returns how many there were.
template <class Visit>
double EachQualifying(const CharacterClasses& classes, int length, Visit visit) {
    const std::size_t ends[] = {classes.Lower.size(), classes.Lower.size() + classes.Upper.size(),
                                classes.Pool.size() - classes.Symbols.size(), classes.Pool.size()};
    std::vector<std::size_t> at(static_cast<std::size_t>(length), 0);
    double qualifying = 0;
    for (;;) {
        bool every = true;
        for (std::size_t k = 0, start = 0; k < 4; start = ends[k++]) {
            every = every && (start == ends[k] || std::any_of(at.begin(), at.end(), [&](auto i) {
                                  return i >= start && i < ends[k];
                              }));
        }
        if (every) {
            visit(at);
            qualifying += 1;
        }
        std::size_t i = 0;
        while (i < at.size() && ++at[i] == classes.Pool.size()) {
            at[i++] = 0;
        }
        if (i == at.size()) {
            return qualifying;
        }
    }
}

// Shannon entropy of the texts the rule gives, counted one by one.
double BruteForceBits(const CharacterClasses& classes, int length) {
    std::map<std::u32string, double> texts;
    const double qualifying = EachQualifying(classes, length, [&](const auto& at) {
        std::u32string text;
        for (const std::size_t i : at) {
            text += classes.Pool[i];
        }
        texts[text] += 1;
    });
    double bits = 0;
    for (const auto& [text, count] : texts) {
        bits -= count / qualifying * std::log2(count / qualifying);
    }
    return bits;
}

// Every chosen kind at least once, against 5000 symbols and with `excluded` taken out.
GenerationOptions AgainstManySymbols(GenerationOptions options, std::u16string excluded) {
    options.OneOfEachKind = true;
    options.Excluded = std::move(excluded);
    options.SymbolText.clear();
    for (char16_t c = 0x4E00; c < 0x4E00 + 5000; ++c) {
        options.SymbolText.push_back(c);
    }
    return options;
}

TEST(EveryKindEntropy, MatchesBruteForceCountsOnSmallPools) {
    const struct {
        CharacterClasses Classes;
        int Length;
    } table[] = {
        {Kinds(U"ab", U"C", U"12", U""), 3}, {Kinds(U"ab", U"C", U"12", U""), 6},
        {Kinds(U"abc", U"", U"", U"%&"), 2}, {Kinds(U"a", U"B", U"1", U"%"), 4},
        {Kinds(U"a", U"B", U"1", U"%"), 7},  {Kinds(U"aab", U"C", U"", U"%%&"), 5},
        {Kinds(U"xyz", U"", U"", U""), 4},   {Kinds(U"", U"", U"0", U"\u00F1\u00F1!"), 6},
    };
    for (std::size_t row = 0; row < std::size(table); ++row) {
        EXPECT_NEAR(EveryKindEntropyBits(table[row].Classes, table[row].Length),
                    BruteForceBits(table[row].Classes, table[row].Length), 1e-9)
            << "row " << row;
    }
}

TEST(EveryKindEntropy, RightToATenthOfABitUpToTheLongestLength) {
    GenerationOptions all = Switches(true, true, true, true);
    all.OneOfEachKind = true;
    GenerationOptions plain = all;
    plain.NoLookAlikes = true;
    // One digit left: even at 9999 characters a sixth of the passwords lack it, 0.21 bits off.
    const GenerationOptions lopsided =
        AgainstManySymbols(Switches(false, false, true, true), u"012345678");
    // log2 of the count of qualifying passwords, by exact inclusion and exclusion in Python.
    const struct {
        GenerationOptions Options;
        std::u16string Length;
        double Bits;
    } table[] = {
        {all, u"4", 20.892733},         {all, u"20", 124.063497},
        {all, u"9999", 62088.324203},   {plain, u"6", 34.389947},
        {plain, u"9999", 60654.825815}, {lopsided, u"9999", 122867.511019},
    };
    for (std::size_t row = 0; row < std::size(table); ++row) {
        GenerationOptions options = table[row].Options;
        options.LengthText = table[row].Length;
        const auto bits = EntropyBits(options);
        ASSERT_TRUE(Succeeded(bits)) << "row " << row;
        EXPECT_NEAR(std::get<double>(bits), table[row].Bits, 0.05) << "row " << row;
    }
}

TEST(OneOfEachKind, AShortPasswordIsRefusedAndATemplateIgnoresTheRule) {
    GenerationOptions options = InitialOptions(); // three kinds
    options.OneOfEachKind = true;
    for (const std::u16string_view length : {u"2", u"0", u""}) {
        options.LengthText = length;
        ScriptedSource source = Constant(0);
        EXPECT_TRUE(
            IsError(Generate(options, source, {}), GenerationErrorKind::TooShortForEachKind));
        EXPECT_TRUE(IsError(EntropyBits(options), GenerationErrorKind::TooShortForEachKind));
        EXPECT_EQ(source.Calls(), 0);
    }
    // One character left of each letter kind and the digits against 5000 symbols: about one
    // password of four in five billion qualifies.
    GenerationOptions rare =
        AgainstManySymbols(Switches(true, true, true, true),
                           u"bcdefghijklmnopqrstuvwxyzBCDEFGHIJKLMNOPQRSTUVWXYZ013456789");
    rare.LengthText = u"4";
    ScriptedSource untouched = Constant(0);
    EXPECT_TRUE(IsError(Generate(rare, untouched, {}), GenerationErrorKind::EachKindTooRare));
    EXPECT_TRUE(IsError(EntropyBits(rare), GenerationErrorKind::EachKindTooRare));
    EXPECT_EQ(untouched.Calls(), 0);
    options.LengthText = u"3";
    options.UseFormat = true;
    options.FormatText = u"CC";
    ScriptedSource source = Constant(0);
    EXPECT_EQ(TextOf(Generate(options, source, {})), u"aaa");
}

TEST(OneOfEachKind, RedrawsTheWholePassword) {
    // "AB" has no digit, so both characters are drawn again.
    ScriptedSource source({0, 1, 0, 26});
    EXPECT_EQ(
        TextOf(GenerateFree(ClassesOf(Switches(true, false, true, false)), 2, source, {}, true)),
        u"A0");
    EXPECT_EQ(source.Calls(), 4);
}

TEST(OneOfEachKind, ChiSquareOverPositionsAgainstTheQualifyingPasswords) {
    const CharacterClasses classes = Kinds(U"abcdef", U"GH", U"1", U"");
    constexpr int kLength = 4;
    // How often each character stands at each position among the qualifying passwords.
    std::array<std::array<double, 9>, kLength> expected{};
    const double qualifying = EachQualifying(classes, kLength, [&](const auto& at) {
        for (std::size_t p = 0; p < at.size(); ++p) {
            expected[p][at[p]] += 1;
        }
    });
    const auto statistic = [&](bool rule) {
        SystemRandomSource source;
        constexpr int kPasswords = 100'000;
        std::array<std::array<double, 9>, kLength> seen{};
        for (int i = 0; i < kPasswords; ++i) {
            source.Reseed();
            const std::u32string text =
                U32(TextOf(GenerateFree(classes, kLength, source, {}, rule)));
            for (std::size_t p = 0; p < text.size(); ++p) {
                seen[p][classes.Pool.find(text[p])] += 1;
            }
        }
        double worst = 0; // the largest of the positions' statistics, 8 degrees of freedom each
        for (std::size_t p = 0; p < kLength; ++p) {
            double sum = 0;
            for (std::size_t c = 0; c < 9; ++c) {
                const double e = expected[p][c] / qualifying * kPasswords;
                sum += (seen[p][c] - e) * (seen[p][c] - e) / e;
            }
            worst = std::max(worst, sum);
        }
        return worst;
    };
    constexpr double kCritical8 = 42.70; // p = 1e-6 for 8 degrees of freedom
    const double withRule = statistic(true);
    EXPECT_LT(withRule, kCritical8);
    EXPECT_GT(statistic(false), kCritical8); // the check tells the rule's spread from another
    std::cout << "one of each kind, worst position: chi-square " << withRule << "\n";
}

TEST(RemovedCharacters, LookAlikesAndExcludedGoFromEveryClass) {
    GenerationOptions options = Switches(true, true, true, true);
    options.NoLookAlikes = true;
    CharacterClasses classes = ClassesOf(options);
    EXPECT_EQ(classes.Lower.size(), 24u);
    EXPECT_EQ(classes.Upper.size(), 24u);
    EXPECT_EQ(classes.Digits, U"23456789");
    EXPECT_EQ(classes.Symbols, U"\"*?-+!/(&=#");
    EXPECT_EQ(classes.Pool.find_first_of(kLookAlikes), std::u32string::npos);

    options.NoLookAlikes = false;
    options.SymbolText = u"\u00E9\U0001F600%";
    options.Excluded = u"\U0001F600zZ9\u00E9";
    classes = ClassesOf(options);
    EXPECT_EQ(classes.Symbols, U"%");
    EXPECT_EQ(classes.Pool.size(), 25u + 25u + 9u + 1u);
}

TEST(RemovedCharacters, AChosenClassLeftEmptyIsRefused) {
    GenerationOptions options = Switches(false, false, true, true);
    options.SymbolText = u"|\u00A6O";
    options.NoLookAlikes = true;
    EXPECT_TRUE(IsError(BuildClasses(options, {}), GenerationErrorKind::KindEmptied));
    EXPECT_TRUE(IsError(EntropyBits(options), GenerationErrorKind::KindEmptied));
    options.NoLookAlikes = false;
    options.Excluded = u"0123456789";
    EXPECT_TRUE(IsError(BuildClasses(options, {}), GenerationErrorKind::KindEmptied));
    // The older checks come first: empty symbols, then no class at all.
    options.SymbolText.clear();
    EXPECT_TRUE(IsError(BuildClasses(options, {}), GenerationErrorKind::SymbolsEmpty));
    options.UseSymbols = options.UseDigits = false;
    EXPECT_TRUE(IsError(BuildClasses(options, {}), GenerationErrorKind::NoClassChosen));
}

} // namespace
} // namespace zelvaran::testing
