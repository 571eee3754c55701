#include "generator/phrase_rules.h"

#include "generator/generator.h"

#include <algorithm>
#include <iterator>

namespace zelvaran {
namespace {

struct Range {
    char32_t First;
    char32_t Last;
};

// Category Cf of Unicode 15.1, as ranges in order.
constexpr Range kFormat[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

PhraseRefusal CheckCharacters(std::u16string_view text) {
    for (const char32_t c : ToCodePoints(text)) {
        if (IsControlCharacter(c)) {
            return PhraseRefusal::ControlCharacter;
        }
        if (IsInvisibleCharacter(c)) {
            return PhraseRefusal::InvisibleCharacter;
        }
    }
    return PhraseRefusal::None;
}

// The letters GeneratePassphrase makes a capital of, and the capitals themselves (ASCII and
// Latin-1, as it does).
bool IsLower(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}
bool IsUpper(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool MarksItsStart(std::u16string_view word) {
    const std::u32string c = ToCodePoints(word);
    return !c.empty() && (IsLower(c[0]) || IsUpper(c[0])) &&
           std::none_of(c.begin() + 1, c.end(), IsUpper);
}

} // namespace

bool IsControlCharacter(char32_t c) noexcept {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

bool IsInvisibleCharacter(char32_t c) noexcept {
    const auto* after = std::upper_bound(std::begin(kFormat), std::end(kFormat), c,
                                         [](char32_t v, const Range& r) { return v < r.First; });
    return after != std::begin(kFormat) && c <= std::prev(after)->Last;
}

PhraseRefusal CheckSeparator(std::u16string_view separator, bool capitalize) {
    if (separator.empty() && !capitalize) {
        return PhraseRefusal::EmptySeparator;
    }
    return CheckCharacters(separator);
}

PhraseRefusal CheckListWord(std::u16string_view word, bool addDigit, bool joined) {
    const PhraseRefusal found = CheckCharacters(word);
    if (found != PhraseRefusal::None || word.empty()) {
        return found;
    }
    if (addDigit && word.back() >= u'0' && word.back() <= u'9') {
        return PhraseRefusal::EndsInDigit;
    }
    return joined && !MarksItsStart(word) ? PhraseRefusal::NoCapital : PhraseRefusal::None;
}

} // namespace zelvaran
