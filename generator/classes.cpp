#include "generator/generator.h"

namespace zelvaran {

GenerationOptions InitialOptions() {
    // Built by construction rather than assignment: GCC 12 at -O3 reports a false -Wrestrict
    // inside std::u16string::assign.
    return GenerationOptions{
        .LengthText = std::u16string(kInitialLength),
        .UseUpper = true,
        .UseLower = true,
        .UseDigits = true,
        .UseSymbols = false,
        .SymbolText = std::u16string(kInitialSymbols),
        .UseFormat = false,
        .FormatText = std::u16string(kInitialFormat),
        .OneOfEachKind = false,
        .NoLookAlikes = false,
        .Excluded = {},
    };
}

std::u16string_view GenerationError::Message() const noexcept {
    switch (Kind) {
    case GenerationErrorKind::SymbolsEmpty:
        return u"La Casilla -Usar Simbolos- esta habilitada y sin caracteres escritos";
    case GenerationErrorKind::NoClassChosen:
        return u"Debe haber almemnos un tipo de caracteres seleccionado:\r\n"
               u"\r\n"
               u"- Usar Mayusculas\r\n"
               u"- Usar Minusculas\r\n"
               u"- Usar Numeros";
    case GenerationErrorKind::FormatEmpty:
        return u"La Casilla -Formato Especial- esta habilitada y sin Formato especificado\r\n"
               u"\r\n"
               u"En el menu -Informacion- elija Temas de Ayuda para informacion del Formato";
    case GenerationErrorKind::FormatMismatch:
        return u"El Formato Especial contiene instrucciones que no coinciden con el tipo de "
               u"caracteres elegidos";
    case GenerationErrorKind::RandomUnavailable:
        return u"No se pudieron obtener n\u00FAmeros aleatorios del sistema\r\n"
               u"\r\n"
               u"No se gener\u00F3 ninguna contrase\u00F1a";
    case GenerationErrorKind::TooShortForEachKind:
        return u"La longitud es menor que el n\u00FAmero de tipos de caracteres elegidos\r\n"
               u"\r\n"
               u"Con -Al menos uno de cada tipo- la contrase\u00F1a lleva un car\u00E1cter de "
               u"cada tipo: aumente la longitud o elija menos tipos";
    case GenerationErrorKind::EachKindTooRare:
        return u"Con -Al menos uno de cada tipo- casi ninguna contrase\u00F1a de esta longitud "
               u"lleva un car\u00E1cter de cada tipo, y buscarla llevar\u00EDa demasiado "
               u"tiempo\r\n"
               u"\r\n"
               u"Aumente la longitud o acorte la lista de s\u00EDmbolos";
    case GenerationErrorKind::KindEmptied:
        return u"Un tipo de caracteres elegido se queda sin caracteres al quitar los "
               u"parecidos (0 O o 1 l I | \u00A6)\r\n"
               u"\r\n"
               u"Escriba otros s\u00EDmbolos o desmarque -Sin caracteres parecidos- en el "
               u"men\u00FA de la ventana";
    }
    return {};
}

std::u32string CharRange(int16_t first, int16_t last, const YieldHook& yield) {
    std::u32string out;
    if (first <= last) {
        out.reserve(static_cast<std::size_t>(last - first) + 1);
    }
    for (int code = first; code <= last; ++code) {
        // Codes are 16-bit units: a negative code is the unit with the same bits, and a lone
        // surrogate unit becomes the replacement character like everywhere else.
        const auto unit = static_cast<char16_t>(static_cast<uint16_t>(code));
        const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
        out.push_back(surrogate ? char32_t{0xFFFD} : char32_t{unit});
        yield();
    }
    return out;
}

Expected<CharacterClasses> BuildClasses(const GenerationOptions& options, const YieldHook& yield) {
    CharacterClasses classes;
    if (options.UseLower) {
        classes.Lower = CharRange(97, 122, yield);
    }
    if (options.UseUpper) {
        classes.Upper = CharRange(65, 90, yield);
    }
    if (options.UseDigits) {
        classes.Digits = CharRange(48, 57, yield);
    }
    // Checked before the pool, so an empty symbol box is named even when nothing else is on.
    if (options.UseSymbols) {
        if (options.SymbolText.empty()) {
            return GenerationError{GenerationErrorKind::SymbolsEmpty};
        }
        classes.Symbols = ToCodePoints(options.SymbolText);
    }
    const bool anyChosen = !classes.Lower.empty() || !classes.Upper.empty() ||
                           !classes.Digits.empty() || !classes.Symbols.empty();
    // A class the rules empty is refused rather than dropped: its kind was asked for.
    bool emptied = false;
    if (anyChosen && (options.NoLookAlikes || !options.Excluded.empty())) {
        const std::u32string excluded = ToCodePoints(options.Excluded);
        const auto leftOut = [&](char32_t c) {
            return (options.NoLookAlikes && kLookAlikes.find(c) != std::u32string_view::npos) ||
                   excluded.find(c) != std::u32string::npos;
        };
        for (std::u32string* cls :
             {&classes.Lower, &classes.Upper, &classes.Digits, &classes.Symbols}) {
            if (!cls->empty()) {
                std::erase_if(*cls, leftOut);
                emptied = emptied || cls->empty();
            }
        }
    }
    classes.Pool.reserve(classes.Lower.size() + classes.Upper.size() + classes.Digits.size() +
                         classes.Symbols.size());
    classes.Pool.append(classes.Lower)
        .append(classes.Upper)
        .append(classes.Digits)
        .append(classes.Symbols);
    if (!anyChosen) {
        return GenerationError{GenerationErrorKind::NoClassChosen};
    }
    if (emptied) {
        return GenerationError{GenerationErrorKind::KindEmptied};
    }
    return classes;
}

} // namespace zelvaran
