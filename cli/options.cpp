#include "cli/options.h"

#include "cli/text.h"
#include "generator/generator.h"
#include "generator/phrase_rules.h"

#include <array>
#include <cstdio>

#ifndef ZELVARAN_VERSION_STRING
#error "the build defines ZELVARAN_VERSION_STRING"
#endif

namespace zelvaran::cli {
namespace {

enum class Id {
    Length,
    Count,
    Classes,
    Symbols,
    Format,
    Phrase,
    Separator,
    Capitals,
    Digit,
    List,
    Entropy,
    EachKind,
    NoLookAlikes,
    Exclude,
    Help,
    Version
};

struct OptionDef {
    Id Option;
    char16_t Short;
    std::u16string_view Long; // written without accents; typed with or without them
    bool TakesValue;
    std::u16string_view Alias = {}; // the English name people type from habit
};

constexpr std::array kOptionDefs{
    OptionDef{Id::Length, u'l', u"longitud", true},
    OptionDef{Id::Count, u'n', u"cantidad", true},
    OptionDef{Id::Classes, u'c', u"clases", true},
    OptionDef{Id::Symbols, u's', u"simbolos", true},
    OptionDef{Id::Format, u'f', u"formato", true},
    OptionDef{Id::Phrase, u'p', u"frase", true},
    OptionDef{Id::Separator, u'S', u"separador", true},
    OptionDef{Id::Capitals, u'M', u"mayusculas", false},
    OptionDef{Id::Digit, u'd', u"cifra", false},
    OptionDef{Id::List, u'w', u"lista", true},
    OptionDef{Id::Entropy, u'e', u"entropia", false},
    OptionDef{Id::EachKind, u't', u"todas", false},
    OptionDef{Id::NoLookAlikes, u'a', u"sin-parecidos", false},
    OptionDef{Id::Exclude, u'x', u"excluir", true},
    OptionDef{Id::Help, u'h', u"ayuda", false, u"help"},
    OptionDef{Id::Version, u'V', u"version", false},
};

// Built by appending: GCC 12 reports a false -Wrestrict for "-" + std::string.
std::string Names(const OptionDef& def) {
    std::string names = "-";
    names.push_back(static_cast<char>(def.Short));
    names += "/--";
    names += ToUtf8(def.Long);
    return names;
}

UsageError Usage(const std::string& what) {
    return UsageError{std::string(kProgramName) + ": " + what +
                      ". M\u00E1s informaci\u00F3n: zelvaran-cli --ayuda"};
}

// Control characters, and the two Unicode line and paragraph separators: a line break above all
// would split one result, or one message, over two lines, and an escape plays tricks on a
// terminal.
bool IsControl(char16_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

// An argument echoed in a message, control characters shown as '?'.
std::string Quoted(std::u16string_view text) {
    std::u16string shown(text);
    for (char16_t& c : shown) {
        if (IsControl(c)) {
            c = u'?';
        }
    }
    return "\u00AB" + ToUtf8(shown) + "\u00BB";
}

// For every option whose text reaches the output as written: each result stays on one line.
std::optional<UsageError> RefuseControls(const OptionDef& def, std::u16string_view value) {
    for (const char16_t c : value) {
        if (IsControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return Usage(Names(def) +
                         " no admite caracteres de control ni saltos de l\u00EDnea (aqu\u00ED " +
                         code + "): cada resultado va en una sola l\u00EDnea");
        }
    }
    return std::nullopt;
}

// For the separator, which is seen in every phrase: a zero-width space or a direction mark would
// make the phrase typed differ from the phrase shown.
std::optional<UsageError> RefuseInvisible(const OptionDef& def, std::u16string_view value) {
    for (const char32_t c : ToCodePoints(value)) {
        if (IsInvisibleCharacter(c)) {
            char code[12];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return Usage(Names(def) + " no admite caracteres invisibles ni de formato (aqu\u00ED " +
                         code + "): la frase que se ve ser\u00EDa distinta de la que se escribe");
        }
    }
    return std::nullopt;
}

// Spanish speakers type the accents of a long name (--entropía, --símbolos); they are dropped,
// whether composed or written as a combining mark, before names are compared.
std::u16string WithoutAccents(std::u16string_view name) {
    constexpr std::u16string_view kAccented = u"\u00E1\u00E9\u00ED\u00F3\u00FA\u00FC";
    constexpr std::u16string_view kPlain = u"aeiouu";
    std::u16string plain;
    for (const char16_t c : name) {
        if (const std::size_t at = kAccented.find(c); at != std::u16string_view::npos) {
            plain += kPlain[at];
        } else if (c != u'\u0301' && c != u'\u0308') { // combining acute and diaeresis
            plain += c;
        }
    }
    return plain;
}

// Digits only, first..last; a longer run of digits is simply out of range.
std::optional<int> Number(std::u16string_view text, int first, int last) {
    if (text.empty()) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = std::min<long long>(value * 10 + (c - u'0'), last + 1LL);
    }
    if (value < first || value > last) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

class Parser {
public:
    explicit Parser(CliOptions& options) : options_(options) {}

    // Applies one option and its value; a usage error when the value does not fit.
    std::optional<UsageError> Apply(const OptionDef& def, std::u16string_view value) {
        switch (def.Option) {
        case Id::Length:
            return SetNumber(def, value, 0, kMaxLength, options_.Length, lengthGiven_);
        case Id::Count:
            return SetNumber(def, value, 1, kMaxCount, options_.Count, countGiven_);
        case Id::Phrase:
            return SetNumber(def, value, 1, kMaxWords, options_.Words, phraseGiven_);
        case Id::Classes:
            for (const char16_t c : value) {
                if (std::u16string_view(u"cgneCGNE").find(c) == std::u16string_view::npos) {
                    return Usage("la letra " + Quoted(std::u16string(1, c)) + " de " + Names(def) +
                                 " no es un tipo de caracteres (c min\u00FAsculas, "
                                 "g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)");
                }
            }
            options_.Classes = value;
            classesGiven_ = true;
            return std::nullopt;
        case Id::Symbols:
            options_.Symbols = value;
            symbolsGiven_ = true;
            return RefuseControls(def, value);
        case Id::Format:
            options_.Format = std::u16string(value);
            return RefuseControls(def, value);
        case Id::Separator:
            // A Windows command line may carry half a surrogate pair; like the symbols and the
            // template, the separator gets the replacement character in its place.
            options_.Separator.clear();
            for (const char32_t c : ToCodePoints(value)) {
                AppendUtf16(options_.Separator, c);
            }
            separatorGiven_ = true;
            if (auto error = RefuseControls(def, value)) {
                return error;
            }
            return RefuseInvisible(def, value);
        case Id::Capitals:
        case Id::Digit:
        case Id::Entropy:
        case Id::EachKind:
        case Id::NoLookAlikes:
            return SwitchOn(def);
        case Id::List:
            if (value.empty()) {
                return Usage("falta el nombre del archivo de " + Names(def) +
                             " (- para la entrada est\u00E1ndar)");
            }
            options_.WordList = std::u16string(value);
            phraseOnly_ = &def;
            return std::nullopt;
        case Id::Exclude:
            options_.Excluded = value;
            return RefuseControls(def, value);
        case Id::Help:
            options_.Do = Action::Help;
            return std::nullopt;
        case Id::Version:
            options_.Do = Action::Version;
            return std::nullopt;
        }
        return std::nullopt;
    }

    // The options that take no value and only switch something on; -M and -d belong to phrases.
    std::optional<UsageError> SwitchOn(const OptionDef& def) {
        static constexpr struct {
            Id Option;
            bool CliOptions::*Flag;
            bool PhraseOnly;
        } kSwitches[] = {{Id::Capitals, &CliOptions::Capitalize, true},
                         {Id::Digit, &CliOptions::AddDigit, true},
                         {Id::Entropy, &CliOptions::Entropy, false},
                         {Id::EachKind, &CliOptions::OneOfEachKind, false},
                         {Id::NoLookAlikes, &CliOptions::NoLookAlikes, false}};
        for (const auto& row : kSwitches) {
            if (row.Option == def.Option) {
                options_.*row.Flag = true;
                if (row.PhraseOnly) {
                    phraseOnly_ = &def;
                }
            }
        }
        return std::nullopt;
    }

    // What only the whole command line shows: options that do not go together or would be
    // ignored, and the length a template gives when -l is not there.
    [[nodiscard]] std::optional<UsageError> Finish() {
        if (phraseGiven_) {
            const char* other = options_.Format              ? "-f/--formato"
                                : lengthGiven_               ? "-l/--longitud"
                                : classesGiven_              ? "-c/--clases"
                                : symbolsGiven_              ? "-s/--simbolos"
                                : options_.OneOfEachKind     ? "-t/--todas"
                                : options_.NoLookAlikes      ? "-a/--sin-parecidos"
                                : !options_.Excluded.empty() ? "-x/--excluir"
                                                             : nullptr;
            if (other == nullptr) {
                return RefuseEmptySeparator();
            }
            return Usage(std::string("-p/--frase no se combina con ") + other +
                         ": una frase de contrase\u00F1a no tiene longitud, tipos de caracteres, "
                         "s\u00EDmbolos ni formato");
        }
        if (options_.Format && options_.OneOfEachKind) {
            return Usage("-t/--todas no se combina con -f/--formato: la plantilla ya fija el tipo "
                         "de cada posici\u00F3n");
        }
        if (separatorGiven_) {
            return Usage("-S/--separador solo sirve para las frases de contrase\u00F1a: "
                         "a\u00F1ada -p N o quite -S");
        }
        if (phraseOnly_ != nullptr) {
            std::string names = Names(*phraseOnly_);
            names += " solo sirve para las frases de contrase\u00F1a: a\u00F1ada -p N o quite -";
            names.push_back(static_cast<char>(phraseOnly_->Short));
            return Usage(names);
        }
        if (symbolsGiven_ && options_.Classes.find_first_of(u"eE") == std::u16string::npos) {
            return Usage("-s/--simbolos da los s\u00EDmbolos del tipo e, que -c/--clases no "
                         "incluye: a\u00F1ada e a -c o quite -s");
        }
        if (options_.Format && !lengthGiven_) {
            const std::size_t length = ToCodePoints(*options_.Format).size();
            if (length > static_cast<std::size_t>(kMaxLength)) {
                return Usage("la plantilla de -f/--formato tiene m\u00E1s de " +
                             std::to_string(kMaxLength) +
                             " caracteres: ac\u00F3rtela o indique la longitud con -l");
            }
            options_.Length = static_cast<int>(length);
        }
        return std::nullopt;
    }

private:
    // Joined words are read one way only when a capital starts each of them.
    [[nodiscard]] std::optional<UsageError> RefuseEmptySeparator() const {
        if (CheckSeparator(options_.Separator, options_.Capitalize) !=
            PhraseRefusal::EmptySeparator) {
            return std::nullopt;
        }
        return Usage("-S/--separador vac\u00EDo solo se admite con -M/--mayusculas: sin "
                     "separador, solo las may\u00FAsculas marcan d\u00F3nde empieza cada "
                     "palabra; a\u00F1ada -M o escriba un separador");
    }

    std::optional<UsageError> SetNumber(const OptionDef& def, std::u16string_view value, int first,
                                        int last, int& target, bool& given) {
        const std::optional<int> number = Number(value, first, last);
        if (!number) {
            return Usage(Names(def) + " debe ser un n\u00FAmero de " + std::to_string(first) +
                         " a " + std::to_string(last) + ", no " + Quoted(value));
        }
        target = *number;
        given = true;
        return std::nullopt;
    }

    CliOptions& options_;
    bool lengthGiven_ = false;
    bool countGiven_ = false;
    bool classesGiven_ = false;
    bool phraseGiven_ = false;
    bool symbolsGiven_ = false;
    bool separatorGiven_ = false;
    const OptionDef* phraseOnly_ = nullptr; // the last option given that only a phrase takes
};

const OptionDef* FindShort(char16_t c) {
    for (const OptionDef& def : kOptionDefs) {
        if (def.Short == c) {
            return &def;
        }
    }
    return nullptr;
}

const OptionDef* FindLong(std::u16string_view name) {
    const std::u16string plain = WithoutAccents(name);
    for (const OptionDef& def : kOptionDefs) {
        if (WithoutAccents(def.Long) == plain || (!def.Alias.empty() && def.Alias == plain)) {
            return &def;
        }
    }
    return nullptr;
}

} // namespace

std::variant<CliOptions, UsageError> ParseArguments(const std::vector<std::u16string>& args) {
    CliOptions options;
    options.Symbols = kInitialSymbols;
    Parser parser(options);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::u16string_view arg = args[i];
        if (arg == u"--") {
            if (i + 1 < args.size()) {
                return Usage("argumento inesperado " + Quoted(args[i + 1]));
            }
            break;
        }
        std::optional<UsageError> error;
        if (arg.starts_with(u"--")) {
            const std::size_t equals = arg.find(u'=');
            const std::u16string_view name = arg.substr(2, equals - 2);
            const OptionDef* def = FindLong(name);
            if (def == nullptr) {
                return Usage("opci\u00F3n desconocida " + Quoted(arg.substr(0, equals)));
            }
            if (equals != std::u16string_view::npos) {
                if (!def->TakesValue) {
                    return Usage("la opci\u00F3n " + Names(*def) + " no lleva valor");
                }
                error = parser.Apply(*def, arg.substr(equals + 1));
            } else if (def->TakesValue) {
                if (i + 1 == args.size()) {
                    return Usage("falta el valor de " + Names(*def));
                }
                error = parser.Apply(*def, args[++i]);
            } else {
                error = parser.Apply(*def, {});
            }
        } else if (arg.size() > 1 && arg[0] == u'-') {
            // A bundle of short options; one that takes a value takes the rest of the bundle
            // or, when nothing is left, the next argument.
            for (std::size_t k = 1; k < arg.size() && !error; ++k) {
                const OptionDef* def = FindShort(arg[k]);
                if (def == nullptr) {
                    return Usage("opci\u00F3n desconocida " +
                                 Quoted(u"-" + std::u16string(1, arg[k])));
                }
                if (!def->TakesValue) {
                    error = parser.Apply(*def, {});
                } else if (k + 1 < arg.size()) {
                    error = parser.Apply(*def, arg.substr(k + 1));
                    break;
                } else if (i + 1 == args.size()) {
                    return Usage("falta el valor de " + Names(*def));
                } else {
                    error = parser.Apply(*def, args[++i]);
                }
            }
        } else {
            return Usage("argumento inesperado " + Quoted(arg));
        }
        if (error) {
            return *error;
        }
        // Help and version answer at once, whatever follows them.
        if (options.Do != Action::Generate) {
            return options;
        }
    }
    if (auto error = parser.Finish()) {
        return *error;
    }
    return options;
}

std::variant<std::vector<std::u16string>, UsageError> DecodeArguments(int argc,
                                                                      const char* const* argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        std::optional<std::u16string> arg = FromUtf8(argv[i]);
        if (!arg) {
            return Usage("el argumento n\u00FAmero " + std::to_string(i) +
                         " no es texto UTF-8 v\u00E1lido");
        }
        args.push_back(std::move(*arg));
    }
    return args;
}

std::string VersionText() {
    return std::string(kProgramName) + " " ZELVARAN_VERSION_STRING "\n";
}

} // namespace zelvaran::cli
