#include "generator/entropy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <variant>

namespace zelvaran {
namespace {} // namespace

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
    text += u" bits";
    return text;
}

} // namespace zelvaran
