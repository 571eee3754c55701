#include "cli/rules.h"

#include <algorithm>
#include <string_view>

namespace zelvaran::cli {
namespace {

struct Kind {
    char16_t Letter;
    std::u16string_view Name;
    std::u32string_view Characters; // empty for the symbols, which come from -s
};

constexpr Kind kKinds[] = {
    {u'c', u"min\u00FAsculas", U"abcdefghijklmnopqrstuvwxyz"},
    {u'g', u"may\u00FAsculas", U"ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {u'n', u"n\u00FAmeros", U"0123456789"},
    {u'e', u"s\u00EDmbolos", U""},
};

bool Chosen(const CliOptions& options, char16_t letter) {
    return options.Classes.find(letter) != std::u16string::npos ||
           options.Classes.find(static_cast<char16_t>(letter - u'a' + u'A')) !=
               std::u16string::npos;
}

bool IsLookAlike(char32_t c) {
    return kLookAlikes.find(c) != std::u32string_view::npos;
}

} // namespace

std::u16string RuleRefusal(const CliOptions& options, GenerationErrorKind kind) {
    std::u16string message;
    if (kind == GenerationErrorKind::TooShortForEachKind) {
        const auto kinds = std::count_if(std::begin(kKinds), std::end(kKinds),
                                         [&](const Kind& k) { return Chosen(options, k.Letter); });
        const std::string counts = std::to_string(kinds);
        message += u"-t/--todas pide un car\u00E1cter de cada uno de los ";
        message.append(counts.begin(), counts.end());
        message += u" tipos de caracteres de -c/--clases, m\u00E1s de lo que da -l/--longitud: "
                   u"d\u00E9 a -l ";
        message.append(counts.begin(), counts.end());
        message += u" o m\u00E1s, o quite -t";
        return message;
    }
    if (kind == GenerationErrorKind::EachKindTooRare) {
        return u"-t/--todas: casi ninguna contrase\u00F1a de esta longitud lleva un "
               u"car\u00E1cter de cada tipo de -c/--clases, y buscarla llevar\u00EDa demasiado "
               u"tiempo: aumente -l, acorte -s o quite -t";
    }
    // The first chosen class with nothing left, in the order of -c's letters.
    const std::u32string symbols = ToCodePoints(options.Symbols);
    const std::u32string excluded = ToCodePoints(options.Excluded);
    for (const Kind& k : kKinds) {
        const std::u32string_view characters = k.Letter == u'e' ? symbols : k.Characters;
        const bool lookAlikesOnly =
            options.NoLookAlikes && std::all_of(characters.begin(), characters.end(), IsLookAlike);
        const bool gone = std::all_of(characters.begin(), characters.end(), [&](char32_t c) {
            return (options.NoLookAlikes && IsLookAlike(c)) ||
                   excluded.find(c) != std::u32string::npos;
        });
        if (!Chosen(options, k.Letter) || characters.empty() || !gone) {
            continue;
        }
        message += lookAlikesOnly ? u"-a/--sin-parecidos" : u"-x/--excluir";
        message += u" deja sin caracteres el tipo ";
        message += k.Letter;
        message += u" (";
        message += k.Name;
        message += lookAlikesOnly ? u"): son todos parecidos (0 O o 1 l I | \u00A6); escriba otros "
                                    u"en -s, quite -a o quite la "
                                  : u"): excluya menos caracteres con -x o quite la ";
        message += k.Letter;
        message += u" de -c/--clases";
        return message;
    }
    return u"las opciones -a/--sin-parecidos y -x/--excluir dejan un tipo sin caracteres";
}

} // namespace zelvaran::cli
