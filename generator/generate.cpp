#include "generator/generator.h"

#include "generator/byte_table.h"
#include "generator/entropy.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>
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

// Writes a password into the room reserved beforehand (never more), through a pointer the
// compiler can keep in a register rather than a string whose size each append would read and
// write back.
class Writer {
public:
    Writer(std::u16string& out, int /*count*/)
        : out_(out), start_(out.size()), at_((out.resize(out.capacity()), out.data() + start_)) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer() { out_.resize(static_cast<std::size_t>(at_ - out_.data())); }

    // Where the next character goes, for writing several at once, and how many were.
    [[nodiscard]] char16_t* At() const noexcept { return at_; }
    void Advance(std::size_t units) noexcept { at_ += units; }

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

// Passwords at least this long read through byte tables: below it, working out a table costs
// more than it saves.
constexpr int kTableFrom = 64;

// What a run of table draws made: how many characters, and the kinds seen as bits (1 lower,
// 2 upper, 4 digits, 8 symbols).
struct Run {
    std::size_t Made = 0;
    unsigned Kinds = 0;
};

// count characters of one table straight from the system source's block, `stride` units apart:
// each byte is written where the next character goes and counts only if kept, with no branch on
// the byte. Fewer characters only if the source failed.
Run DrawRun(const ByteTable& table, char16_t* out, std::size_t stride, std::size_t count,
            SystemRandomSource& random, const YieldHook& hook) {
    std::size_t left = count;
    std::uint32_t seen = 0;
    while (left > 0) {
        const std::span<const std::byte> bytes = random.Unread();
        if (bytes.empty()) {
            break;
        }
        std::size_t used = 0;
        while (used < bytes.size() && left > 0) {
            // A byte makes at most one character, so this many can never make too many.
            const std::size_t run = std::min(bytes.size() - used, left);
            const std::byte* in = bytes.data() + used;
            std::size_t made = 0;
            for (std::size_t i = 0; i < run; ++i) {
                const std::uint32_t entry = table[in[i]];
                out[made * stride] = static_cast<char16_t>(entry);
                made += entry >> 31;
                seen |= entry;
            }
            used += run;
            left -= made;
            out += made * stride;
            for (std::size_t k = 0; hook && k < made; ++k) {
                hook();
            }
        }
        random.Take(used);
    }
    return {count - left, (seen >> ByteTable::kKindShift) & 0xFu};
}

// Whether the steps' classes can all be drawn through tables, and every copied character is
// one UTF-16 unit, so that position i of the password is unit i.
bool TablesFit(const std::vector<Step>& steps, int count) {
    return count >= kTableFrom && std::all_of(steps.begin(), steps.end(), [](const Step& step) {
               return step.Class != nullptr ? ByteTable::Fits(*step.Class)
                                            : OneUnitEach(std::u32string_view(&step.Literal, 1));
           });
}

// A template through tables, one per class rather than per step, a step at a time: the
// characters of each step are independent draws like any others, so they may come from the
// block one step after another rather than in the order of the positions.
void DrawTemplate(const std::vector<Step>& steps, Writer& writer, int count,
                  SystemRandomSource& random, const YieldHook& yield) {
    std::vector<const std::u32string*> classes;
    std::vector<ByteTable> tables;
    tables.reserve(steps.size()); // never moves while a table of it is in use
    char16_t* const out = writer.At();
    const std::size_t period = steps.size();
    const auto total = static_cast<std::size_t>(count);
    for (std::size_t s = 0; s < period && s < total; ++s) {
        const std::size_t positions = (total - s + period - 1) / period;
        const Step& step = steps[s];
        if (step.Class == nullptr) {
            const char32_t c = step.Literal;
            const char16_t unit =
                c < 0xD800 || (c >= 0xE000 && c <= 0xFFFF) ? static_cast<char16_t>(c) : u'\uFFFD';
            for (std::size_t k = 0; k < positions; ++k) {
                out[s + k * period] = unit;
                yield();
            }
            continue;
        }
        auto known = std::find(classes.begin(), classes.end(), step.Class);
        if (known == classes.end()) {
            classes.push_back(step.Class);
            tables.emplace_back(*step.Class);
            known = classes.end() - 1;
        }
        const ByteTable& table = tables[static_cast<std::size_t>(known - classes.begin())];
        if (DrawRun(table, out + s, period, positions, random, yield).Made < positions) {
            return; // the source failed: the text is thrown away
        }
    }
    writer.Advance(total);
}

// The drawing loop of both generators, a template over the source so that with the final
// SystemRandomSource each value is read inline rather than through a virtual call.
template <class Source>
void Fill(std::u16string& out, const std::vector<Step>& steps, int count, Source& random,
          const YieldHook& yield) {
    Writer writer(out, count);
    if constexpr (std::is_same_v<Source, SystemRandomSource>) {
        if (TablesFit(steps, count)) {
            if (steps.size() == 1 && steps[0].Class != nullptr) {
                const Run run = DrawRun(ByteTable(*steps[0].Class), writer.At(), 1,
                                        static_cast<std::size_t>(count), random, yield);
                writer.Advance(run.Made);
            } else {
                DrawTemplate(steps, writer, count, random, yield);
            }
            return;
        }
    }
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
    if constexpr (std::is_same_v<Source, SystemRandomSource>) {
        if (count >= kTableFrom && ByteTable::Fits(pool)) {
            const ByteTable table(pool, {upperAt, digitsAt, symbolsAt});
            for (;;) {
                unsigned seen = 0;
                {
                    Writer writer(text.Buffer(), count);
                    const Run run = DrawRun(table, writer.At(), 1, static_cast<std::size_t>(count),
                                            random, yield);
                    writer.Advance(run.Made);
                    seen = run.Kinds;
                }
                if (seen == required || random.Failed()) {
                    return;
                }
                text.Clear();
            }
        }
    }
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
    // Room for every character, as a surrogate pair where one can come up: the buffer never
    // moves while it grows, so no copy of a partial password is left behind in freed memory.
    const bool oneUnitEach =
        eachKind != nullptr ? OneUnitEach(eachKind->Pool)
                            : std::all_of(steps.begin(), steps.end(), [](const Step& step) {
                                  return step.Class != nullptr
                                             ? OneUnitEach(*step.Class)
                                             : OneUnitEach(std::u32string_view(&step.Literal, 1));
                              });
    text.Buffer().reserve((oneUnitEach ? 1 : 2) * static_cast<std::size_t>(count));
    // Whatever way this ends, the bytes the password came from are gone before it is handed on.
    const HandedOutWipe wipe(random);
    // What the draws will read on average, with a margin of four standard deviations of the
    // luck of the rejections, so a long password seldom needs a second read.
    double bytes = 0;
    double variance = 0;
    const auto n = static_cast<std::size_t>(count);
    const auto add = [&](double uses, const UniformBelow& draw) {
        // A draw of w-byte values reads e = w / p bytes on average, with variance e (e - w),
        // p being the share of values kept.
        const double e = draw.ExpectedBytes();
        bytes += uses * e;
        variance += uses * e * (e - draw.Width());
    };
    if (eachKind != nullptr) {
        add(static_cast<double>(n),
            UniformBelow(static_cast<std::uint32_t>(eachKind->Pool.size())));
    }
    for (std::size_t i = 0; eachKind == nullptr && i < steps.size(); ++i) {
        add(static_cast<double>(n / steps.size() + (i < n % steps.size() ? 1 : 0)), steps[i].Draw);
    }
    random.WillRead(static_cast<std::size_t>(bytes + 4 * std::sqrt(variance)) + 16);
    auto* system = dynamic_cast<SystemRandomSource*>(&random);
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

    // The template is extended by doubling until it covers the length. The extension only
    // repeats the typed characters, so the whole extended template, positions beyond the length
    // included, holds the same letters as the typed one: it is never built, and the hook still
    // runs once for each doubling.
    const std::u32string pattern = ToCodePoints(formatText);
    const std::size_t typed = pattern.size();
    for (double size = static_cast<double>(typed); length.Real > size; size *= 2) {
        yield();
    }
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
