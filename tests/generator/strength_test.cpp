// The strength in words: the band at each of its edges, as the figure beside it shows them, and
// the average time to find a result across its units.
#include "generator/entropy.h"
#include "generator/strength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zelvaran {
namespace {

struct Case {
    double Input;
    std::u16string Expected;
};

TEST(Strength, BandsChangeAtTheFigureShown) {
    const Case bits[] = {
        {0.0, u"Entrop\u00EDa: 0,0 bits (muy d\u00E9bil)"},
        {39.9, u"Entrop\u00EDa: 39,9 bits (muy d\u00E9bil)"},
        {39.96, u"Entrop\u00EDa: 40,0 bits (d\u00E9bil)"},
        {40.0, u"Entrop\u00EDa: 40,0 bits (d\u00E9bil)"},
        {59.9, u"Entrop\u00EDa: 59,9 bits (d\u00E9bil)"},
        {60.0, u"Entrop\u00EDa: 60,0 bits (buena)"},
        {79.94, u"Entrop\u00EDa: 79,9 bits (buena)"},
        {80.0, u"Entrop\u00EDa: 80,0 bits (fuerte)"},
        {99.9, u"Entrop\u00EDa: 99,9 bits (fuerte)"},
        {100.0, u"Entrop\u00EDa: 100,0 bits (muy fuerte)"},
    };
    for (const Case& row : bits) {
        EXPECT_EQ(FormatEntropy(row.Input), row.Expected) << row.Input;
    }
}

// The bits whose average time is `seconds`: half of 2^bits at a trillion a second.
double BitsFor(double seconds) {
    return std::log2(seconds * kGuessesPerSecond) + 1;
}

TEST(Strength, AverageTimeInWordsAcrossUnits) {
    constexpr double kYear = 365.25 * 86400;
    const Case seconds[] = {
        {0.5, u"menos de un segundo"},
        {1.02, u"alrededor de un segundo"},
        {4.54, u"unos 4,5 segundos"},
        {45, u"unos 45 segundos"},
        {59.7, u"alrededor de un minuto"},
        {181, u"unos 3 minutos"},
        {3600, u"alrededor de una hora"},
        {5.2 * 3600, u"unas 5,2 horas"},
        {18 * 3600, u"unas 18 horas"},
        {23.8 * 3600, u"alrededor de un d\u00EDa"},
        {3 * 86400, u"unos 3 d\u00EDas"},
        {4 * kYear / 12, u"unos 4 meses"},
        {kYear, u"alrededor de un a\u00F1o"},
        {1234 * kYear, u"unos 1200 a\u00F1os"},
        {12345 * kYear, u"unos 12\u00A0000 a\u00F1os"},
        {99'000 * kYear, u"unos 99\u00A0000 a\u00F1os"},
        {999'000 * kYear, u"alrededor de un mill\u00F3n de a\u00F1os"},
        {2e6 * kYear, u"unos 2 millones de a\u00F1os"},
        {2.46e6 * kYear, u"unos 2,5 millones de a\u00F1os"},
        {1.3e9 * kYear, u"unos 1300 millones de a\u00F1os"},
        {0.99e18, u"unos 31\u00A0000 millones de a\u00F1os"},
        {1.01e18, u"m\u00E1s que la edad del universo"},
    };
    for (const Case& row : seconds) {
        EXPECT_EQ(AverageCrackTimeText(BitsFor(row.Input)), row.Expected) << row.Input;
    }
    // Six words of a list of 4096: 2^71 guesses, 74,8 years.
    EXPECT_EQ(AverageCrackTimeText(72), u"unos 75 a\u00F1os");
    EXPECT_EQ(AverageCrackTimeText(65536), u"m\u00E1s que la edad del universo");
}

} // namespace
} // namespace zelvaran
