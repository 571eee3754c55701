#include "generator/entropy.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <variant>
#include <vector>

#include "generator/strength.h"

namespace zelvaran {
namespace {

// The non-empty kinds, kept in place: the check runs at every Generate, where an allocation
// would cost about what drawing a short password does.
class KindList {
public:
    explicit KindList(const CharacterClasses& classes) noexcept {
        for (const std::u32string* cls :
             {&classes.Lower, &classes.Upper, &classes.Digits, &classes.Symbols}) {
            if (!cls->empty()) {
                items_[count_++] = cls;
            }
        }
    }
    [[nodiscard]] std::size_t size() const noexcept { return count_; }
    [[nodiscard]] const std::u32string* operator[](std::size_t i) const noexcept {
        return items_[i];
    }

private:
    std::array<const std::u32string*, 4> items_{};
    std::size_t count_ = 0;
};

// base^m by squaring: a few multiplications, each rounding once, where pow() costs more than the
// rest of a short password.
double Power(double base, int m) {
    double result = 1;
    for (; m > 0; m >>= 1, base *= base) {
        if ((m & 1) != 0) {
            result *= base;
        }
    }
    return result;
}

// The share of the pool^m draws in which no kind outside `missing` is wholly absent, by
// inclusion and exclusion: sum over the subsets S of the kinds not in `missing` of
// (-1)^|S| (1 - |S| / pool)^m. Each term is a power of a share, never a count, so nothing
// overflows at any length and a term too small for a double is rightly 0.
double ShareCovering(const KindList& kinds, double pool, unsigned missing, int m) {
    double share = 0;
    for (unsigned subset = 0; subset < (1u << kinds.size()); ++subset) {
        if ((subset & missing) != 0) {
            continue;
        }
        double size = 0;
        int members = 0;
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            if ((subset >> k) & 1u) {
                size += static_cast<double>(kinds[k]->size());
                ++members;
            }
        }
        const double term = Power(1.0 - size / pool, m);
        share += (members % 2 == 0) ? term : -term;
    }
    return share;
}

} // namespace

double ShareWithEveryKind(const CharacterClasses& classes, int length) {
    if (length <= 0) {
        return 1.0; // nothing is drawn, so nothing is drawn again
    }
    const KindList kinds(classes);
    return ShareCovering(kinds, static_cast<double>(classes.Pool.size()), 0, length);
}

bool EachKindTooRare(const CharacterClasses& classes, int length) {
    constexpr double kMostDraws = 1e8;
    if (length <= 0) {
        return false;
    }
    // The share is at least one less the chances of each kind missing on its own (Boole's
    // inequality): at every Generate that settles it with a power a kind, short of the sum over
    // every subset of kinds.
    const KindList kinds(classes);
    const auto pool = static_cast<double>(classes.Pool.size());
    double atLeast = 1;
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        atLeast -= Power(1.0 - static_cast<double>(kinds[k]->size()) / pool, length);
    }
    if (static_cast<double>(length) <= kMostDraws * atLeast) {
        return false;
    }
    return static_cast<double>(length) > kMostDraws * ShareWithEveryKind(classes, length);
}

double EveryKindEntropyBits(const CharacterClasses& classes, int length) {
    const KindList kinds(classes);
    if (length <= 0 || static_cast<std::size_t>(length) < kinds.size()) {
        return 0;
    }
    // With Q the number of qualifying index sequences, log2 Q = L log2 N + log2(share). Every
    // one is equally likely; a class with repeated characters takes back, for each position
    // expected to fall in it, the gap between log2 of its size and its draw's entropy. Position
    // 1 falls in class c with probability (n_c / N) share(L - 1, c already present) / share(L).
    const auto pool = static_cast<double>(classes.Pool.size());
    const double share = ShareCovering(kinds, pool, 0, length);
    double bits = length * std::log2(pool) + std::log2(share);
    for (std::size_t c = 0; c < kinds.size(); ++c) {
        const auto size = static_cast<double>(kinds[c]->size());
        const double lost = std::log2(size) - DrawEntropyBits(*kinds[c]);
        if (lost > 0) {
            const double inClass =
                size / pool * ShareCovering(kinds, pool, 1u << c, length - 1) / share;
            bits -= length * inClass * lost;
        }
    }
    return bits;
}

double DrawEntropyBits(std::u32string_view cls) {
    if (cls.empty()) {
        return 0;
    }
    std::u32string sorted(cls);
    std::sort(sorted.begin(), sorted.end());
    // H = log2 L - (1/L) sum k log2 k over the run lengths k of equal characters.
    double weighted = 0;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) {
            ++j;
        }
        const auto k = static_cast<double>(j - i);
        weighted += k * std::log2(k);
        i = j;
    }
    const auto size = static_cast<double>(sorted.size());
    return std::log2(size) - weighted / size;
}

Expected<double> EntropyBits(const GenerationOptions& options) {
    Expected<CharacterClasses> built = BuildClasses(options, YieldHook{});
    if (const auto* error = std::get_if<GenerationError>(&built)) {
        return *error;
    }
    const auto& classes = std::get<CharacterClasses>(built);
    const int count = ReadLength(options.LengthText).Count;
    if (!options.UseFormat) {
        if (options.OneOfEachKind) {
            if (count < KindCount(classes)) {
                return GenerationError{GenerationErrorKind::TooShortForEachKind};
            }
            if (EachKindTooRare(classes, count)) {
                return GenerationError{GenerationErrorKind::EachKindTooRare};
            }
            return EveryKindEntropyBits(classes, count);
        }
        return count * DrawEntropyBits(classes.Pool);
    }
    if (options.FormatText.empty()) {
        return GenerationError{GenerationErrorKind::FormatEmpty};
    }
    // The generator extends the template by repeating it, so the letters it checks are exactly
    // the typed ones, and position i follows typed character i mod m.
    const std::u32string pattern = ToCodePoints(options.FormatText);
    for (const char32_t c : pattern) {
        const std::u32string* cls = TemplateClassOf(classes, c);
        if (cls != nullptr && cls->empty()) {
            return GenerationError{GenerationErrorKind::FormatMismatch};
        }
    }
    const std::size_t m = pattern.size();
    const auto n = static_cast<std::size_t>(count);
    double bits = 0;
    for (std::size_t i = 0; i < m && i < n; ++i) {
        const std::u32string* cls = TemplateClassOf(classes, pattern[i]);
        if (cls != nullptr) {
            const std::size_t uses = n / m + (i < n % m ? 1 : 0);
            bits += static_cast<double>(uses) * DrawEntropyBits(*cls);
        }
    }
    return bits;
}

double PassphraseEntropyBits(int words, std::size_t listSize) noexcept {
    if (words <= 0 || listSize == 0) {
        return 0;
    }
    return words * std::log2(static_cast<double>(listSize));
}

double PassphraseEntropyBits(const PassphraseOptions& options, std::size_t listSize) noexcept {
    if (options.Words < kMinPhraseWords || options.Words > kMaxPhraseWords || listSize == 0) {
        return 0;
    }
    const double digit = options.AddDigit ? std::log2(10.0 * options.Words) : 0;
    return PassphraseEntropyBits(options.Words, listSize) + digit;
}

std::u16string FormatEntropy(double bits) {
    char digits[64];
    const int written = std::snprintf(digits, sizeof digits, "%.1f", bits);
    std::u16string text = u"Entrop\u00EDa: ";
    for (int i = 0; i < written && i < static_cast<int>(sizeof digits); ++i) {
        // Spanish writes a decimal comma; snprintf writes the C locale's point.
        text.push_back(digits[i] == '.' ? u',' : static_cast<char16_t>(digits[i]));
    }
    text += u" bits (";
    text += StrengthWord(StrengthOf(bits));
    text += u')';
    return text;
}

} // namespace zelvaran
