// libFuzzer target of the whole generator: options, template and length text come from the
// input, and so does the random source, so every crash replays exactly. The same target feeds
// the pictures' PNG decoder.
//
// Input layout (short inputs leave the rest empty or zero):
//   byte 0      switches: 1 upper, 2 lower, 4 digits, 8 symbols, 16 format, 32 failing source,
//               64 command line: the fields after byte 10 are zelvaran-cli's arguments instead,
//               128 picture: the bytes after byte 10 are a PNG file for the decoder instead
//   bytes 1-2   how many bytes the failing source reads before it fails (little endian)
//   bytes 3-10  seed of the random source
//   the rest    length text, symbol text and template, separated by '\n'. A byte below 0xF0
//               is the code unit of the same value; 0xF0 is followed by a raw little-endian
//               code unit, so surrogates, pairs and '\n' itself can be written.
#include "cli/run.h"
#include "generator/words.h"
#include "generator/generator.h"
#include "ui/png_decode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

namespace {

using namespace zelvaran;

// The blocks of the program's own source, from SplitMix64 (a fixed function of the input, nothing
// to do with the system's generator) instead of the system: every crash replays exactly. With a
// budget, a fill that would pass it fails like a broken OS generator.
struct InputSupply {
    std::uint64_t State;
    long Budget; // bytes the fills may still bring; below 0 for no limit

    static bool Fill(void* context, std::byte* data, std::size_t size) noexcept {
        auto& self = *static_cast<InputSupply*>(context);
        if (self.Budget >= 0) {
            if (static_cast<std::size_t>(self.Budget) < size) {
                return false;
            }
            self.Budget -= static_cast<long>(size);
        }
        for (std::size_t i = 0; i < size; ++i) {
            std::uint64_t z = (self.State += 0x9E3779B97F4A7C15ull);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            data[i] = static_cast<std::byte>((z ^ (z >> 31)) >> 56);
        }
        return true;
    }
};

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    std::uint64_t Integer(std::size_t bytes) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint64_t>(at < size ? data[at] : 0) << (8 * i);
            ++at;
        }
        return value;
    }

    std::u16string Field() {
        std::u16string text;
        while (at < size && data[at] != '\n') {
            const std::uint8_t byte = data[at++];
            if (byte == 0xF0) {
                text.push_back(static_cast<char16_t>(Integer(2)));
            } else {
                text.push_back(byte);
            }
        }
        ++at; // the separator
        return text;
    }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (text[i] >= 0xD800 && text[i] <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

// Every position holds a character of the class its template letter names, or the literal.
void CheckPositions(const GenerationOptions& options, std::u32string_view result) {
    const auto built = BuildClasses(options, YieldHook{});
    Check(std::holds_alternative<CharacterClasses>(built));
    const auto& classes = std::get<CharacterClasses>(built);
    const std::u32string pattern = options.UseFormat ? ToCodePoints(options.FormatText) : U"A";
    for (std::size_t i = 0; i < result.size(); ++i) {
        const char32_t letter = pattern[i % pattern.size()];
        // The fuzzer's own reading of the letters, apart from the generator's.
        static constexpr struct {
            char32_t Letter;
            std::u32string CharacterClasses::*Class;
        } kLetters[] = {{U'A', &CharacterClasses::Pool},
                        {U'C', &CharacterClasses::Lower},
                        {U'G', &CharacterClasses::Upper},
                        {U'N', &CharacterClasses::Digits},
                        {U'E', &CharacterClasses::Symbols}};
        const std::u32string* cls = nullptr;
        for (const auto& [upper, member] : kLetters) {
            if (letter == upper || letter == upper + (U'a' - U'A')) {
                cls = &(classes.*member);
            }
        }
        Check(cls != nullptr ? cls->find(result[i]) != std::u32string::npos : result[i] == letter);
    }
}

class KeepSink final : public cli::Sink {
public:
    [[nodiscard]] bool Write(std::u16string_view text) override {
        text_ += text;
        return true;
    }
    [[nodiscard]] bool Flush() override { return true; }
    std::u16string text_;
};

std::size_t CountOf(std::u16string_view text, char16_t c) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

// The command line: whatever the arguments, an exit code of 0, 1 or 2 with the streams that
// belong to it, and as many results as asked for.
void FuzzCommandLine(Reader& in, SystemRandomSource& source) {
    std::vector<std::u16string> args;
    while (in.at < in.size) {
        args.push_back(in.Field());
    }
    const auto parsed = cli::ParseArguments(args);
    if (const auto* options = std::get_if<cli::CliOptions>(&parsed)) {
        if (options->WordList) {
            return; // it would read a file or standard input; its checks have their own tests
        }
        // Parsing is checked for every input; running only where the output stays small.
        const std::size_t each = options->Words > 0
                                     ? options->Words * (10 + options->Separator.size())
                                     : static_cast<std::size_t>(options->Length);
        if (options->Count * (each + 1) > 100000) {
            return;
        }
    }
    KeepSink out;
    KeepSink err;
    const int code = cli::Main(args, out, err, source, SpanishWords);
    Check(code >= 0 && code <= 2);
    Check(HasLoneSurrogate(out.text_) == false);
    if (code == cli::kExitUsage) {
        Check(out.text_.empty());
        Check(CountOf(err.text_, u'\n') == 1 && err.text_.ends_with(u"--ayuda\n"));
        return;
    }
    const auto& options = std::get<cli::CliOptions>(parsed);
    if (code == cli::kExitRefused) {
        Check(!err.text_.empty());
        Check(out.text_.empty() || source.Failed());
        return;
    }
    if (options.Do != cli::Action::Generate) {
        Check(!out.text_.empty() && err.text_.empty());
        return;
    }
    Check(!source.Failed());
    Check(CountOf(err.text_, u'\n') == (options.Entropy ? 1u : 0u));
    // No line break can come in through the symbols, the separator or the template.
    Check(CountOf(out.text_, u'\n') == static_cast<std::size_t>(options.Count));
}

// A picture is refused or has exactly one four-byte pixel for each place of its stated size.
void FuzzPicture(const std::uint8_t* data, std::size_t size) {
    const auto picture = ui::DecodePng({data, size});
    if (picture) {
        Check(picture->Width > 0 && picture->Height > 0);
        Check(picture->Bgrx.size() == static_cast<std::size_t>(picture->Width) *
                                          static_cast<std::size_t>(picture->Height) * 4);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    const auto switches = static_cast<unsigned>(in.Integer(1));
    const auto failAfter = static_cast<long>(in.Integer(2));
    const std::uint64_t seed = in.Integer(8);
    InputSupply supply{seed, (switches & 32u) != 0 ? failAfter : -1};
    SystemRandomSource source(ByteSupply{&InputSupply::Fill, &supply});
    source.Reseed();
    if ((switches & 128u) != 0) {
        const std::size_t start = std::min(size, in.at);
        FuzzPicture(data + start, size - start);
        return 0;
    }
    if ((switches & 64u) != 0) {
        FuzzCommandLine(in, source);
        return 0;
    }

    GenerationOptions options;
    options.UseUpper = (switches & 1u) != 0;
    options.UseLower = (switches & 2u) != 0;
    options.UseDigits = (switches & 4u) != 0;
    options.UseSymbols = (switches & 8u) != 0;
    options.UseFormat = (switches & 16u) != 0;
    options.LengthText = in.Field();
    options.SymbolText = in.Field();
    options.FormatText = in.Field();

    const LengthValue length = ReadLength(options.LengthText);
    Check(length.Count >= 0 && length.Count <= kMaxCount);
    Check(length.Real >= 0 && length.Real <= kMaxCount);

    int yields = 0;
    auto countYield = [&yields] {
        ++yields;
    };
    const auto result = Generate(options, source, YieldHook(countYield));
    if (const auto* error = std::get_if<GenerationError>(&result)) {
        Check(!error->Message().empty());
        Check((error->Kind == GenerationErrorKind::RandomUnavailable) == source.Failed());
        return 0;
    }
    Check(!source.Failed());
    const std::u16string_view text = std::get<SecretText>(result).View();
    Check(!HasLoneSurrogate(text));
    const std::u32string codePoints = ToCodePoints(text);
    Check(codePoints.size() == static_cast<std::size_t>(length.Count));
    Check(yields >= length.Count);
    CheckPositions(options, codePoints);
    return 0;
}
