#include "generator/generator.h"

#include "generator/entropy.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

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

// Writes a password into room reserved beforehand, through a pointer the compiler can keep in a
// register: the sources wipe every byte they hand out with a byte store, which might alias a
// string's own fields and would make each append read them again.
class Writer {
public:
    Writer(std::u16string& out, int count)
        : out_(out), start_(out.size()),
          at_((out.resize(start_ + 2 * static_cast<std::size_t>(count)), out.data() + start_)) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer() { out_.resize(static_cast<std::size_t>(at_ - out_.data())); }

    // As AppendUtf16, without a string in between that would keep a copy of the character.
    void Put(char32_t c) {
        if (c < 0xD800) {
            *at_++ = static_cast<char16_t>(c);
        } else if (c < 0xE000 || c > 0x10FFFF) {
            *at_++ = u'\uFFFD';
        } else if (c < 0x10000) {
            *at_++ = static_cast<char16_t>(c);
        } else {
            *at_++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *at_++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }

private:
    std::u16string& out_;
    std::size_t start_;
    char16_t* at_;
};

// One step of the template: a class to draw from, or the character to copy when there is none.
struct Step {
    Step(const std::u32string* cls, char32_t literal)
        : Class(cls), Literal(literal),
          Draw(static_cast<std::uint32_t>(cls != nullptr ? cls->size() : 0)) {}
    const std::u32string* Class;
    char32_t Literal;
    UniformBelow Draw; // worked out once per step, not once per character
};

// The drawing loop of both generators, a template over the source so that with the final
// SystemRandomSource each value is read inline rather than through a virtual call.
template <class Source>
void Fill(std::u16string& out, const std::vector<Step>& steps, int count, Source& random,
          const YieldHook& yield) {
    Writer writer(out, count);
    if (steps.size() == 1 && steps[0].Class != nullptr) {
        // The free mode: everything the loop needs in locals.
        const std::u32string_view pool = *steps[0].Class;
        const UniformBelow draw = steps[0].Draw;
        const YieldHook hook = yield;
        for (int i = 0; i < count; ++i) {
            writer.Put(pool[draw(random)]);
            hook();
        }
        return;
    }
    std::size_t at = 0;
    for (int i = 0; i < count; ++i, ++at) {
        if (at == steps.size()) {
            at = 0;
        }
        const Step& step = steps[at];
        writer.Put(step.Class != nullptr ? (*step.Class)[step.Draw(random)] : step.Literal);
        yield();
    }
}

// The free mode with one of each kind: the whole password is drawn, and drawn again until every
// required kind has turned up. Patching single positions instead would favour some passwords.
// The pool holds the classes in order, so a draw's kind follows from its index alone.
template <class Source>
void FillEachKind(SecretText& text, const CharacterClasses& classes, int count, Source& random,
                  const YieldHook& yield) {
    const std::u32string_view pool = classes.Pool;
    const UniformBelow draw(static_cast<std::uint32_t>(pool.size()));
    const YieldHook hook = yield;
    const std::size_t upperAt = classes.Lower.size();
    const std::size_t digitsAt = upperAt + classes.Upper.size();
    const std::size_t symbolsAt = digitsAt + classes.Digits.size();
    const unsigned required =
        (classes.Lower.empty() ? 0u : 1u) | (classes.Upper.empty() ? 0u : 2u) |
        (classes.Digits.empty() ? 0u : 4u) | (classes.Symbols.empty() ? 0u : 8u);
    for (;;) {
        unsigned seen = 0;
        {
            Writer writer(text.Buffer(), count);
            for (int i = 0; i < count; ++i) {
                const std::uint32_t at = draw(random);
                seen |= 1u << ((at >= upperAt) + (at >= digitsAt) + (at >= symbolsAt));
                writer.Put(pool[at]);
                hook();
            }
        }
        if (seen == required || random.Failed()) {
            return;
        }
        text.Clear(); // wiped; the reserved buffer stays where it is
    }
}

// Runs the loop and hands out the text, or nothing at all if the source could not back it with
// real randomness. Without steps, the free mode with one of each kind of `eachKind`.
Expected<SecretText> Produce(const std::vector<Step>& steps, int count, RandomSource& random,
                             const YieldHook& yield, const CharacterClasses* eachKind = nullptr) {
    SecretText text;
    // Room for every character as a surrogate pair: the buffer never moves while it grows, so
    // no copy of a partial password is left behind in freed memory.
    text.Buffer().reserve(2 * static_cast<std::size_t>(count));
    auto* system = dynamic_cast<SystemRandomSource*>(&random);
    if (system != nullptr) {
        // What the draws will read on average, with a margin for the luck of the rejections.
        double bytes = 0;
        const auto n = static_cast<std::size_t>(count);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::size_t uses = n / steps.size() + (i < n % steps.size() ? 1 : 0);
            bytes += static_cast<double>(uses) * steps[i].Draw.ExpectedBytes();
        }
        if (eachKind != nullptr) {
            bytes = static_cast<double>(n) *
                    UniformBelow(static_cast<std::uint32_t>(eachKind->Pool.size())).ExpectedBytes();
        }
        system->WillRead(static_cast<std::size_t>(bytes * 1.0625) + 16);
    }
    if (eachKind != nullptr) {
        if (system != nullptr) {
            FillEachKind(text, *eachKind, count, *system, yield);
        } else {
            FillEachKind(text, *eachKind, count, random, yield);
        }
    } else if (system != nullptr) {
        Fill(text.Buffer(), steps, count, *system, yield);
    } else {
        Fill(text.Buffer(), steps, count, random, yield);
    }
    if (random.Failed()) {
        text.Clear();
        return GenerationError{GenerationErrorKind::RandomUnavailable};
    }
    return text;
}

} // namespace

const std::u32string* TemplateClassOf(const CharacterClasses& classes, char32_t c) noexcept {
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

char32_t DrawOne(std::u32string_view cls, RandomSource& random) {
    return cls[random.Below(static_cast<std::uint32_t>(cls.size()))];
}

int KindCount(const CharacterClasses& classes) noexcept {
    return static_cast<int>(!classes.Lower.empty()) + static_cast<int>(!classes.Upper.empty()) +
           static_cast<int>(!classes.Digits.empty()) + static_cast<int>(!classes.Symbols.empty());
}

Expected<SecretText> GenerateFree(const CharacterClasses& classes, int count, RandomSource& random,
                                  const YieldHook& yield, bool oneOfEachKind) {
    if (oneOfEachKind && count < KindCount(classes)) {
        return GenerationError{GenerationErrorKind::TooShortForEachKind};
    }
    if (count <= 0) {
        return SecretText{};
    }
    if (oneOfEachKind) {
        return Produce({}, count, random, yield, &classes);
    }
    return Produce({Step{&classes.Pool, 0}}, count, random, yield);
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
    const std::size_t typed = pattern.size();
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

    // The extension only repeats the template as typed, so position i follows its character
    // i mod (typed length); the steps are worked out once per typed character.
    std::vector<Step> steps;
    steps.reserve(typed);
    for (std::size_t i = 0; i < typed; ++i) {
        steps.push_back(Step{TemplateClassOf(classes, pattern[i]), pattern[i]});
    }
    return Produce(steps, length.Count, random, yield);
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
    const int count = ReadLength(options.LengthText).Count;
    // Worked out once per command rather than per password: the command line checks it once
    // for all its results through the entropy.
    if (options.OneOfEachKind && count >= KindCount(built) && EachKindTooRare(built, count)) {
        return GenerationError{GenerationErrorKind::EachKindTooRare};
    }
    return GenerateFree(built, count, random, yield, options.OneOfEachKind);
}

} // namespace zelvaran
