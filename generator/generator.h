// The password generator: plain values in, plain values out. No window code lives here, so the
// same logic is unit-tested natively and as a Windows exe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "random_source.h"
#include "secret_text.h"
#include "yield_hook.h"

namespace zelvaran {

// A snapshot of the main window's generation choices, taken before anything is drawn.
struct GenerationOptions {
    std::u16string LengthText;
    bool UseUpper = false;
    bool UseLower = false;
    bool UseDigits = false;
    bool UseSymbols = false;
    std::u16string SymbolText;
    bool UseFormat = false;
    std::u16string FormatText;
    // Rules beyond the option boxes; with all three off the generator is exactly the classic one.
    // Free mode only (a template already fixes the kind of each position): every chosen kind at
    // least once.
    bool OneOfEachKind = false;
    // The look-alikes (kLookAlikes) left out of every class.
    bool NoLookAlikes = false;
    // Characters left out of every class, read like the symbol set.
    std::u16string Excluded;
};

// Characters easily taken for one another in many fonts: zero and the letter O, one, the letters
// l and I, the vertical and the broken bar.
inline constexpr std::u32string_view kLookAlikes = U"0Oo1lI|\u00A6";

// The texts the option boxes open with, spelled once for the core's UTF-16 and the window's
// wide characters alike: the twelve symbols (the broken bar is U+00A6), the format, the length.
template <class Char>
inline constexpr Char kInitialSymbolsIn[] = {u'"', u'*', u'?', u'-', u'+', u'!', u'\u00A6',
                                             u'/', u'(', u'&', u'=', u'#', u'\0'};
template <class Char>
inline constexpr Char kInitialFormatIn[] = {u'A', u'C', u'G', u'N', u'E', u'\0'};
template <class Char> inline constexpr Char kInitialLengthIn[] = {u'5', u'\0'};

inline constexpr std::u16string_view kInitialSymbols = kInitialSymbolsIn<char16_t>;
inline constexpr std::u16string_view kInitialFormat = kInitialFormatIn<char16_t>;
inline constexpr std::u16string_view kInitialLength = kInitialLengthIn<char16_t>;

// The options the main window opens with.
[[nodiscard]] GenerationOptions InitialOptions();

// Character classes are ordered sequences of Unicode code points: a repeated character is drawn
// more often, and a character outside the BMP is one element, never two halves.
struct CharacterClasses {
    std::u32string Lower;
    std::u32string Upper;
    std::u32string Digits;
    std::u32string Symbols;
    std::u32string Pool;
};

// The class a template letter draws from (A, C, G, N, E in either case), or nullptr for a
// character that is copied as written.
[[nodiscard]] const std::u32string* TemplateClassOf(const CharacterClasses& classes,
                                                    char32_t c) noexcept;

enum class GenerationErrorKind {
    SymbolsEmpty,
    NoClassChosen,
    FormatEmpty,
    FormatMismatch,
    // The operating system's random generator failed; no password is made from anything weaker.
    RandomUnavailable,
    // One of each kind asked for, but the length is below the number of chosen kinds.
    TooShortForEachKind,
    // A chosen kind has no character left once the look-alikes or excluded ones are gone.
    KindEmptied,
    // One of each kind asked for, but so few passwords of the length hold every kind that
    // drawing until one does would take far too long (a few characters against a huge class).
    EachKindTooRare,
};

struct GenerationError {
    GenerationErrorKind Kind;
    // The fixed message shown to the user (CR LF line breaks, no trailing break).
    [[nodiscard]] std::u16string_view Message() const noexcept;
    friend bool operator==(const GenerationError&, const GenerationError&) = default;
};

template <class T> using Expected = std::variant<T, GenerationError>;

// The count asked for by the length box. Real is the number as read (used to extend templates),
// Count the whole number the generators produce. Both stay within 0..kMaxCount for any text.
inline constexpr int16_t kMaxCount = 9999;
struct LengthValue {
    double Real = 0;
    int16_t Count = 0;
};
[[nodiscard]] LengthValue ReadLength(std::u16string_view lengthText) noexcept;

// UTF-16 <-> code points. A lone surrogate decodes to U+FFFD, so no result can carry one.
[[nodiscard]] std::u32string ToCodePoints(std::u16string_view text);
void AppendUtf16(std::u16string& out, char32_t codePoint);

// Characters first..last in ascending order, empty when first > last; the hook runs after each.
[[nodiscard]] std::u32string CharRange(int16_t first, int16_t last, const YieldHook& yield);

[[nodiscard]] Expected<CharacterClasses> BuildClasses(const GenerationOptions& options,
                                                      const YieldHook& yield);

// One character of a non-empty class, each position equally likely: random.Below(L).
[[nodiscard]] char32_t DrawOne(std::u32string_view cls, RandomSource& random);

// How many of Lower, Upper, Digits and Symbols have characters.
[[nodiscard]] int KindCount(const CharacterClasses& classes) noexcept;

// count characters drawn from Pool (none for count <= 0). With oneOfEachKind the whole password is
// drawn again until every non-empty class has turned up, which keeps every qualifying password
// equally likely; a count below KindCount is then refused. Generate and EntropyBits also refuse
// settings that hardly any password satisfies (EachKindTooRare), which this does not check.
[[nodiscard]] Expected<SecretText> GenerateFree(const CharacterClasses& classes, int count,
                                                RandomSource& random, const YieldHook& yield,
                                                bool oneOfEachKind = false);

[[nodiscard]] Expected<SecretText>
GenerateFromTemplate(const CharacterClasses& classes, std::u16string_view formatText,
                     std::u16string_view lengthText, RandomSource& random, const YieldHook& yield);

// BuildClasses, then the template or the free generator: everything the Generate command does
// between reseeding and writing the result.
[[nodiscard]] Expected<SecretText> Generate(const GenerationOptions& options, RandomSource& random,
                                            const YieldHook& yield);

} // namespace zelvaran
