// The entropy of the core, from settings with known answers, and refused exactly where Generate
// refuses.
#include "../generator/test_support.h"
#include "generator/entropy.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvaran::testing {
namespace {

struct Case {
    const char* Name;
    GenerationOptions Options;
    double Bits;
};

GenerationOptions With(GenerationOptions options, std::u16string length, std::u16string format = {},
                       std::u16string symbols = {}) {
    options.LengthText = std::move(length);
    if (!format.empty()) {
        options.UseFormat = true;
        options.FormatText = std::move(format);
    }
    if (!symbols.empty()) {
        options.SymbolText = std::move(symbols);
    }
    return options;
}

TEST(Entropy, KnownSettings) {
    const auto defaults = Switches(true, true, true, false);
    const auto all = Switches(true, true, true, true);
    const auto symbolsOnly = Switches(false, false, false, true);
    const double l74 = std::log2(74.0), l26 = std::log2(26.0), l10 = std::log2(10.0),
                 l12 = std::log2(12.0);
    const std::vector<Case> table = {
        {"20 of 62", With(defaults, u"20"), 20 * std::log2(62.0)},
        {"length 0", With(defaults, u"0"), 0},
        // a, a, 1: the a weighs 2/3, so one draw is H(2/3, 1/3) = 0.918 bits, not log2 3.
        {"repeats weigh", With(symbolsOnly, u"3", {}, u"aa1"), 3 * (std::log2(3.0) - 2.0 / 3.0)},
        {"one symbol", With(symbolsOnly, u"9", {}, u" "), 0},
        {"non-BMP symbols", With(symbolsOnly, u"2", {}, u"\U0001F600\U0001F601"), 2},
        {"ACGNE x 12", With(all, u"12", u"ACGNE"), 3 * l74 + 3 * l26 + 2 * l26 + 2 * l10 + 2 * l12},
        {"acgne, 3", With(all, u"3", u"acgne"), l74 + 2 * l26},
        {"literals", With(defaults, u"4", u"Xn-9"), l10},
        {"literal only", With(defaults, u"5", u"x"), 0},
    };
    for (const Case& row : table) {
        const Expected<double> bits = EntropyBits(row.Options);
        ASSERT_TRUE(Succeeded(bits)) << row.Name;
        EXPECT_NEAR(std::get<double>(bits), row.Bits, 1e-9) << row.Name;
    }
    EXPECT_NEAR(PassphraseEntropyBits(8, 7776), 8 * std::log2(7776.0), 1e-9);
    EXPECT_EQ(PassphraseEntropyBits(0, 7776), 0);
}

TEST(Entropy, RefusedExactlyWhereGenerateRefuses) {
    auto noClass = Switches(false, false, false, false);
    auto emptySymbols = Switches(false, false, false, true);
    emptySymbols.SymbolText.clear();
    const std::vector<GenerationOptions> table = {
        noClass,
        emptySymbols,
        With(Switches(true, true, true, true), u"5", u"", u""),
        [] {
            auto o = Switches(true, true, true, true);
            o.UseFormat = true;
            o.FormatText.clear();
            return o;
        }(),
        With(InitialOptions(), u"5", u"ACGNE"),
        With(InitialOptions(), u"0", u"ACGNE"),
        With(Switches(false, false, true, false), u"3", u"NNNc"),
        With(Switches(false, false, true, false), u"4", u"NNNN"),
    };
    for (std::size_t row = 0; row < table.size(); ++row) {
        const GenerationOptions& options = table[row];
        auto random = Constant(31);
        const auto generated = Generate(options, random, YieldHook{});
        const auto bits = EntropyBits(options);
        ASSERT_EQ(Succeeded(generated), Succeeded(bits)) << "row " << row;
        if (!Succeeded(bits)) {
            EXPECT_EQ(std::get<GenerationError>(bits), std::get<GenerationError>(generated))
                << "row " << row;
        }
    }
}

TEST(Entropy, PrintedWithOneDecimalAndADecimalComma) {
    EXPECT_EQ(FormatEntropy(20 * std::log2(62.0)), u"Entrop\u00EDa: 119,1 bits (muy fuerte)");
    EXPECT_EQ(FormatEntropy(0), u"Entrop\u00EDa: 0,0 bits (muy d\u00E9bil)");
    EXPECT_EQ(FormatEntropy(103.44), u"Entrop\u00EDa: 103,4 bits (muy fuerte)");
    EXPECT_EQ(FormatEntropy(9999 * std::log2(74.0)), u"Entrop\u00EDa: 62088,3 bits (muy fuerte)");
}

} // namespace
} // namespace zelvaran::testing
