#include "generator/generator.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <variant>

namespace zelvaran {
namespace {

char32_t UpperAscii(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

bool ContainsLetter(std::u32string_view text, char32_t upper) {
    for (const char32_t c : text) {
        if (UpperAscii(c) == upper) {
            return true;
        }
    }
    return false;
}

// The class an instruction letter draws from, or nullptr for a character copied as written.
const std::u32string* ClassOf(const CharacterClasses& classes, char32_t c) {
    switch (UpperAscii(c)) {
    case U'A':
        return &classes.Pool;
    case U'C':
        return &classes.Lower;
    case U'G':
        return &classes.Upper;
    case U'N':
        return &classes.Digits;
    case U'E':
        return &classes.Symbols;
    default:
        return nullptr;
    }
}

// A result the source could not back with real randomness is never handed out, not even in part.
Expected<SecretText> Finish(SecretText&& text, const RandomSource& random) {
    if (random.Failed()) {
        text.Clear();
        return GenerationError{GenerationErrorKind::RandomUnavailable};
    }
    return std::move(text);
}

SecretText Reserved(int count) {
    SecretText text;
    // Room for every character as a surrogate pair: the buffer never moves while it grows, so
    // no copy of a partial password is left behind in freed memory.
    text.Buffer().reserve(2 * static_cast<std::size_t>(count));
    return text;
}

} // namespace

char32_t DrawOne(std::u32string_view cls, RandomSource& random) {
    const double r = random.Next();
    const double position = std::floor(r * static_cast<double>(cls.size()));
    // For 0 <= r < 1 the position is already within the class; the bounds only keep a source
    // that breaks its contract (negative, NaN, 1 or more) from reading outside it.
    std::size_t index = 0;
    if (position >= static_cast<double>(cls.size())) {
        index = cls.size() - 1;
    } else if (position > 0) {
        index = static_cast<std::size_t>(position);
    }
    return cls[index];
}

Expected<SecretText> GenerateFree(const CharacterClasses& classes, int count, RandomSource& random,
                                  const YieldHook& yield) {
    if (count <= 0) {
        return SecretText{};
    }
    SecretText text = Reserved(count);
    std::u16string& out = text.Buffer();
    for (int i = 0; i < count; ++i) {
        AppendUtf16(out, DrawOne(classes.Pool, random));
        yield();
    }
    return Finish(std::move(text), random);
}

Expected<SecretText> GenerateFromTemplate(const CharacterClasses& classes,
                                          std::u16string_view formatText,
                                          std::u16string_view lengthText, RandomSource& random,
                                          const YieldHook& yield) {
    if (formatText.empty()) {
        return GenerationError{GenerationErrorKind::FormatEmpty};
    }
    const LengthValue length = ReadLength(lengthText);

    std::u32string pattern = ToCodePoints(formatText);
    while (length.Real > static_cast<double>(pattern.size())) {
        const std::size_t half = pattern.size();
        pattern.resize(2 * half);
        std::copy_n(pattern.begin(), half, pattern.begin() + static_cast<std::ptrdiff_t>(half));
        yield();
    }

    // The whole extended template is checked, positions beyond the length included.
    if ((ContainsLetter(pattern, U'C') && classes.Lower.empty()) ||
        (ContainsLetter(pattern, U'G') && classes.Upper.empty()) ||
        (ContainsLetter(pattern, U'N') && classes.Digits.empty()) ||
        (ContainsLetter(pattern, U'E') && classes.Symbols.empty())) {
        return GenerationError{GenerationErrorKind::FormatMismatch};
    }

    const int count = length.Count;
    SecretText text = Reserved(count);
    std::u16string& out = text.Buffer();
    for (int i = 0; i < count; ++i) {
        // The extension covers at least the count; the modulo repeats the template regardless.
        const char32_t c = pattern[static_cast<std::size_t>(i) % pattern.size()];
        const std::u32string* cls = ClassOf(classes, c);
        AppendUtf16(out, cls != nullptr ? DrawOne(*cls, random) : c);
        yield();
    }
    return Finish(std::move(text), random);
}

Expected<SecretText> Generate(const GenerationOptions& options, RandomSource& random,
                              const YieldHook& yield) {
    Expected<CharacterClasses> classes = BuildClasses(options, yield);
    if (const auto* error = std::get_if<GenerationError>(&classes)) {
        return *error;
    }
    const auto& built = std::get<CharacterClasses>(classes);
    if (options.UseFormat) {
        return GenerateFromTemplate(built, options.FormatText, options.LengthText, random, yield);
    }
    return GenerateFree(built, ReadLength(options.LengthText).Count, random, yield);
}

} // namespace zelvaran
