#include "generator/strength.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace zelvaran {
namespace {

// A unit of time: its length in seconds, the words for one of it and for several.
struct TimeUnit {
    double Seconds;
    std::u16string_view One;  // "alrededor de un minuto"
    std::u16string_view Some; // "unos", before the figure
    std::u16string_view Name; // "minutos", after it
};

constexpr double kYear = 365.25 * 86400;

// From the largest down; the first the time fills at least once is the one used.
constexpr TimeUnit kUnits[] = {
    {1e6 * kYear, u"alrededor de un mill\u00F3n de a\u00F1os", u"unos", u"millones de a\u00F1os"},
    {kYear, u"alrededor de un a\u00F1o", u"unos", u"a\u00F1os"},
    {kYear / 12, u"alrededor de un mes", u"unos", u"meses"},
    {86400, u"alrededor de un d\u00EDa", u"unos", u"d\u00EDas"},
    {3600, u"alrededor de una hora", u"unas", u"horas"},
    {60, u"alrededor de un minuto", u"unos", u"minutos"},
    {1, u"alrededor de un segundo", u"unos", u"segundos"},
};

constexpr double kUniverseSeconds = 1e18;

// A value from 1 up as Mantissa x 10^(Exponent - 1), Mantissa in 10..99.
struct Figures {
    std::int64_t Mantissa;
    int Exponent;
    [[nodiscard]] double Value() const {
        return static_cast<double>(Mantissa) * std::pow(10.0, Exponent - 1);
    }
};

Figures RoundToTwoFigures(double value) {
    int e = static_cast<int>(std::floor(std::log10(value)));
    const double scaled = e >= 1 ? value / std::pow(10.0, e - 1) : value * std::pow(10.0, 1 - e);
    auto m = static_cast<std::int64_t>(std::llround(scaled));
    if (m >= 100) { // 9,96 is 10
        m /= 10;
        ++e;
    }
    return {m, e};
}

} // namespace

std::int64_t EntropyTenths(double bits) {
    // The same rounding as the printed figure: snprintf's, from the exact binary value.
    char digits[64];
    const int written = std::snprintf(digits, sizeof digits, "%.1f", bits);
    std::int64_t tenths = 0;
    for (int i = 0; i < written && i < static_cast<int>(sizeof digits); ++i) {
        if (digits[i] >= '0' && digits[i] <= '9') {
            tenths = tenths * 10 + (digits[i] - '0');
        }
    }
    return digits[0] == '-' ? -tenths : tenths;
}

Strength StrengthOf(double bits) {
    const std::int64_t tenths = EntropyTenths(bits);
    if (tenths < 400) {
        return Strength::VeryWeak;
    }
    if (tenths < 600) {
        return Strength::Weak;
    }
    if (tenths < 800) {
        return Strength::Good;
    }
    return tenths < 1000 ? Strength::Strong : Strength::VeryStrong;
}

std::u16string_view StrengthWord(Strength strength) noexcept {
    switch (strength) {
    case Strength::VeryWeak:
        return u"muy d\u00E9bil";
    case Strength::Weak:
        return u"d\u00E9bil";
    case Strength::Good:
        return u"buena";
    case Strength::Strong:
        return u"fuerte";
    case Strength::VeryStrong:
        break;
    }
    return u"muy fuerte";
}

std::u16string TwoFigures(double value) {
    const Figures figures = RoundToTwoFigures(value);
    const std::int64_t m = figures.Mantissa;
    if (figures.Exponent == 0) {
        std::u16string text(1, static_cast<char16_t>(u'0' + m / 10));
        if (m % 10 != 0) {
            text += u',';
            text.push_back(static_cast<char16_t>(u'0' + m % 10));
        }
        return text;
    }
    std::u16string digits;
    for (std::int64_t n = m; n > 0; n /= 10) {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    }
    digits.append(static_cast<std::size_t>(figures.Exponent - 1), u'0');
    // Four digits stand together ("1200"); from five up they go in groups of three.
    if (digits.size() < 5) {
        return digits;
    }
    std::u16string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += u'\u00A0';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::u16string AverageCrackTimeText(double bits) {
    // In powers of two first: a long password's 2^bits has no double.
    const double log2Seconds = bits - 1 - std::log2(kGuessesPerSecond);
    if (log2Seconds > std::log2(kUniverseSeconds)) {
        return u"m\u00E1s que la edad del universo";
    }
    const double seconds = std::exp2(log2Seconds);
    for (std::size_t i = 0; i < std::size(kUnits); ++i) {
        const TimeUnit& unit = kUnits[i];
        const double count = seconds / unit.Seconds;
        if (count < 1) {
            continue;
        }
        // 59,7 seconds are a minute, not "unos 60 segundos".
        if (i > 0 && RoundToTwoFigures(count).Value() >= kUnits[i - 1].Seconds / unit.Seconds) {
            return std::u16string(kUnits[i - 1].One);
        }
        const std::u16string figure = TwoFigures(count);
        if (figure == u"1") {
            return std::u16string(unit.One);
        }
        std::u16string text(unit.Some);
        text += u' ';
        text += figure;
        text += u' ';
        text += unit.Name;
        return text;
    }
    return u"menos de un segundo";
}

} // namespace zelvaran
