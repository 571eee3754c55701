#include "cli/run.h"

#include "cli/rules.h"
#include "cli/text.h"
#include "cli/word_list_file.h"
#include "generator/entropy.h"
#include "generator/passphrase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <variant>

namespace zelvaran::cli {
namespace {

bool WriteLine(Sink& sink, std::u16string_view text) {
    return sink.Write(text) && sink.Write(u"\n");
}

int Fail(Sink& err, std::u16string_view message) {
    // Nothing more can be said when standard error itself cannot be written.
    (void)(WriteLine(err, message) && err.Flush());
    return kExitRefused;
}

constexpr std::u16string_view kWriteFailed =
    u"zelvaran-cli: no se pudo escribir en la salida est\u00E1ndar";

bool Has(std::u16string_view classes, char16_t lower) {
    return classes.find(lower) != std::u16string_view::npos ||
           classes.find(static_cast<char16_t>(lower - u'a' + u'A')) != std::u16string_view::npos;
}

GenerationOptions ToGenerationOptions(const CliOptions& options) {
    GenerationOptions g;
    const std::string length = std::to_string(options.Length);
    g.LengthText.assign(length.begin(), length.end());
    g.UseLower = Has(options.Classes, u'c');
    g.UseUpper = Has(options.Classes, u'g');
    g.UseDigits = Has(options.Classes, u'n');
    g.UseSymbols = Has(options.Classes, u'e');
    g.SymbolText = options.Symbols;
    g.UseFormat = options.Format.has_value();
    g.FormatText = options.Format.value_or(std::u16string());
    g.OneOfEachKind = options.OneOfEachKind;
    g.NoLookAlikes = options.NoLookAlikes;
    g.Excluded = options.Excluded;
    return g;
}

// Writes the results, and after the last one, when asked, the entropy of each (the same for all:
// it comes from the settings). It goes out only once the results have left the buffer, so a
// terminal shows them in order.
class Emitter {
public:
    Emitter(Sink& out, Sink& err, bool entropy, double bits)
        : out_(out), err_(err), entropy_(entropy), line_(FormatEntropy(bits)) {}

    [[nodiscard]] bool Emit(std::u16string_view result) { return WriteLine(out_, result); }

    // The exit code once every result is written.
    [[nodiscard]] int Finish() {
        if (!out_.Flush()) {
            return Fail(err_, kWriteFailed);
        }
        if (entropy_ && !(WriteLine(err_, line_) && err_.Flush())) {
            return kExitRefused; // standard error itself failed: nowhere left to say so
        }
        return kExitOk;
    }

private:
    Sink& out_;
    Sink& err_;
    bool entropy_;
    std::u16string line_;
};

// With one of each kind a result draws whole passwords until one qualifies: room, read at once,
// for enough of them that a result needs a second read from the system less than once in a
// hundred. Worked out once for the whole run, not once a result.
std::size_t EachKindBytes(const GenerationOptions& settings, const CharacterClasses& classes,
                          int length) {
    if (settings.UseFormat || !settings.OneOfEachKind || length <= 0) {
        return 0;
    }
    const double share = ShareWithEveryKind(classes, length);
    const double tries =
        share >= 1.0 ? 1.0 : std::max(1.0, std::ceil(std::log(0.01) / std::log1p(-share)));
    const double bytes =
        tries * static_cast<double>(length) *
        UniformBelow(static_cast<std::uint32_t>(classes.Pool.size())).ExpectedBytes();
    return static_cast<std::size_t>(std::ceil(bytes * 1.125)) + 4;
}

int Passwords(const CliOptions& options, Sink& out, Sink& err, RandomSource& random) {
    const GenerationOptions settings = ToGenerationOptions(options);
    // Checked as a whole before the first draw, so a refusal leaves standard output empty.
    const Expected<double> bits = EntropyBits(settings);
    if (const auto* error = std::get_if<GenerationError>(&bits)) {
        return Fail(err, RefusalMessage(options, error->Kind));
    }
    Expected<CharacterClasses> built = BuildClasses(settings, YieldHook{});
    if (const auto* error = std::get_if<GenerationError>(&built)) {
        return Fail(err, RefusalMessage(options, error->Kind));
    }
    const auto& classes = std::get<CharacterClasses>(built);
    Emitter emitter(out, err, options.Entropy, std::get<double>(bits));
    const std::size_t eachKindBytes = EachKindBytes(settings, classes, options.Length);
    for (int i = 0; i < options.Count; ++i) {
        // Every result starts from fresh bytes of the OS, as the window's Generate does.
        random.Reseed();
        random.WillRead(eachKindBytes);
        const Expected<SecretText> result =
            settings.UseFormat ? GenerateFromTemplate(classes, settings.FormatText,
                                                      settings.LengthText, random, YieldHook{})
                               : GenerateFree(classes, options.Length, random, YieldHook{},
                                              settings.OneOfEachKind);
        if (const auto* error = std::get_if<GenerationError>(&result)) {
            (void)out.Flush(); // what was made before the failure is sound and already counted
            return Fail(err, RefusalMessage(options, error->Kind));
        }
        if (!emitter.Emit(std::get<SecretText>(result).View())) {
            return Fail(err, kWriteFailed);
        }
    }
    return emitter.Finish();
}

int Phrases(const CliOptions& options, Sink& out, Sink& err, RandomSource& random,
            std::span<const std::string_view> words) {
    PassphraseOptions settings;
    settings.Words = options.Words;
    settings.Separator = options.Separator;
    settings.Capitalize = options.Capitalize;
    settings.AddDigit = options.AddDigit;
    const WordList list = MeasureWords(words);
    Emitter emitter(out, err, options.Entropy, PassphraseEntropyBits(settings, words.size()));
    SecretText phrase;
    for (int i = 0; i < options.Count; ++i) {
        random.Reseed();
        if (!GeneratePassphrase(settings, list, random, phrase)) {
            (void)out.Flush();
            return Fail(err, RefusalMessage(options, GenerationErrorKind::RandomUnavailable));
        }
        if (!emitter.Emit(phrase.View())) {
            return Fail(err, kWriteFailed);
        }
    }
    return emitter.Finish();
}

} // namespace

std::u16string RefusalMessage(const CliOptions& options, GenerationErrorKind kind) {
    std::u16string message = u"zelvaran-cli: ";
    switch (kind) {
    case GenerationErrorKind::SymbolsEmpty:
        message += u"-c/--clases incluye e (s\u00EDmbolos), pero -s/--simbolos est\u00E1 "
                   u"vac\u00EDo: escriba s\u00EDmbolos en -s o quite la e de -c";
        break;
    case GenerationErrorKind::NoClassChosen:
        message += u"-c/--clases no elige ning\u00FAn tipo de caracteres: indique al menos "
                   u"uno (c min\u00FAsculas, g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)";
        break;
    case GenerationErrorKind::FormatEmpty:
        message += u"la plantilla de -f/--formato est\u00E1 vac\u00EDa: escriba un formato "
                   u"(por ejemplo ACGNE) o quite -f";
        break;
    case GenerationErrorKind::FormatMismatch: {
        // The first letter the window's check stops at, in the same order.
        struct Rule {
            char16_t Letter;
            char16_t Class;
            std::u16string_view Name;
        };
        constexpr Rule kRules[] = {{u'C', u'c', u"min\u00FAsculas"},
                                   {u'G', u'g', u"may\u00FAsculas"},
                                   {u'N', u'n', u"n\u00FAmeros"},
                                   {u'E', u'e', u"s\u00EDmbolos"}};
        const std::u16string format = options.Format.value_or(std::u16string());
        for (const Rule& rule : kRules) {
            if (Has(format, static_cast<char16_t>(rule.Letter - u'A' + u'a')) &&
                !Has(options.Classes, rule.Class)) {
                message += u"la plantilla de -f/--formato pide ";
                message += rule.Letter;
                message += u" (";
                message += rule.Name;
                message += u"), que -c/--clases no incluye: a\u00F1ada ";
                message += rule.Class;
                message += u" a -c o cambie la plantilla";
                return message;
            }
        }
        message += u"la plantilla de -f/--formato no coincide con -c/--clases";
        break;
    }
    case GenerationErrorKind::TooShortForEachKind:
    case GenerationErrorKind::EachKindTooRare:
    case GenerationErrorKind::KindEmptied:
        message += RuleRefusal(options, kind);
        break;
    case GenerationErrorKind::RandomUnavailable:
        message += u"no se pudieron obtener n\u00FAmeros aleatorios del sistema; no se "
                   u"gener\u00F3 ning\u00FAn resultado m\u00E1s";
        break;
    }
    return message;
}

int Main(const std::vector<std::u16string>& args, Sink& out, Sink& err, RandomSource& random,
         WordListSource words) {
    const std::variant<CliOptions, UsageError> parsed = ParseArguments(args);
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        const std::u16string message = FromUtf8(usage->Message).value_or(u"zelvaran-cli");
        (void)Fail(err, message);
        return kExitUsage;
    }
    const auto& options = std::get<CliOptions>(parsed);
    switch (options.Do) {
    case Action::Help:
    case Action::Version: {
        const std::string text = options.Do == Action::Help ? HelpText() : VersionText();
        const std::u16string wide = FromUtf8(text).value_or(std::u16string());
        return out.Write(wide) && out.Flush() ? kExitOk : Fail(err, kWriteFailed);
    }
    case Action::Generate:
        break;
    }
    if (options.Words > 0 && options.WordList) {
        // Read whole and checked before the first phrase, so a refused list writes nothing.
        UserWordList own;
        if (const auto error = own.Read(*options.WordList, {options.Capitalize, options.AddDigit,
                                                            options.Separator.empty()})) {
            (void)Fail(err, WordListMessage(*error, *options.WordList));
            return error->Problem == WordListProblem::Unreadable ? kExitUsage : kExitRefused;
        }
        return Phrases(options, out, err, random, own.Words());
    }
    if (options.Words > 0) {
        return Phrases(options, out, err, random, words());
    }
    return Passwords(options, out, err, random);
}

} // namespace zelvaran::cli
