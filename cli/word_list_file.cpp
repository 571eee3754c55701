#include "cli/word_list_file.h"

#include "cli/std_stream.h"
#include "cli/text.h"
#include "generator/passphrase.h"
#include "generator/phrase_rules.h"

#include <unordered_set>

namespace zelvaran::cli {
namespace {

// The blanks trimmed around a word: space, tab, and the Unicode spaces a word processor leaves.
constexpr std::string_view kBlanks[] = {" ",
                                        "\t",
                                        "\xC2\xA0",
                                        "\xE2\x80\x80",
                                        "\xE2\x80\x81",
                                        "\xE2\x80\x82",
                                        "\xE2\x80\x83",
                                        "\xE2\x80\x84",
                                        "\xE2\x80\x85",
                                        "\xE2\x80\x86",
                                        "\xE2\x80\x87",
                                        "\xE2\x80\x88",
                                        "\xE2\x80\x89",
                                        "\xE2\x80\x8A",
                                        "\xE2\x80\xAF",
                                        "\xE2\x81\x9F",
                                        "\xE3\x80\x80"};

std::string_view Trim(std::string_view text) {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

bool IsControl(char16_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// Reads at most one byte more than a list may have, so a larger one is known without reading
// all of it.
template <class ReadSome> bool ReadCapped(std::string& bytes, ReadSome&& readSome) {
    constexpr std::size_t kChunk = 1 << 16;
    while (bytes.size() <= kMaxWordListBytes) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kChunk);
        const long long got = readSome(bytes.data() + at, kChunk);
        if (got < 0) {
            return false;
        }
        bytes.resize(at + static_cast<std::size_t>(got));
        if (got == 0) {
            break;
        }
    }
    return true;
}

} // namespace

std::optional<WordListError> UserWordList::Read(std::u16string_view name, WordListUse use) {
    std::string bytes;
    os::Input input(name);
    const bool read = input.IsOpen() && ReadCapped(bytes, [&input](char* data, std::size_t size) {
                          return input.Read(data, size);
                      });
    if (!read) {
        return WordListError{WordListProblem::Unreadable};
    }
    return Parse(std::move(bytes), use);
}

std::optional<WordListError> UserWordList::Parse(std::string bytes, WordListUse use) {
    words_.clear();
    bytes_ = std::move(bytes);
    if (bytes_.size() > kMaxWordListBytes) {
        return WordListError{WordListProblem::TooLarge};
    }
    std::string_view rest = bytes_;
    if (rest.starts_with("\xEF\xBB\xBF")) {
        rest.remove_prefix(3); // the byte-order mark Windows editors put before UTF-8
    }
    // Compared as printed, so the entropy counts only phrases that read differently.
    std::unordered_set<std::u16string> seen;
    for (std::size_t line = 1; !rest.empty(); ++line) {
        const std::size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (text.ends_with('\r')) {
            text.remove_suffix(1); // a Windows line end
        }
        if (!FromUtf8(text)) {
            return WordListError{WordListProblem::NotUtf8, line};
        }
        const std::string_view word = Trim(text); // cut between whole characters: still UTF-8
        switch (
            CheckListWord(FromUtf8(word).value_or(std::u16string()), use.AddDigit, use.Joined)) {
        case PhraseRefusal::None:
            break;
        case PhraseRefusal::InvisibleCharacter:
            return WordListError{WordListProblem::InvisibleCharacter, line};
        case PhraseRefusal::EndsInDigit:
            return WordListError{WordListProblem::EndsInDigit, line};
        case PhraseRefusal::NoCapital:
            return WordListError{WordListProblem::NoCapital, line};
        case PhraseRefusal::ControlCharacter:
        case PhraseRefusal::EmptySeparator: // not a word's
            return WordListError{WordListProblem::ControlCharacter, line};
        }
        if (!word.empty() && seen.insert(PrintedWord(word, use.Capitalize)).second) {
            words_.push_back(word);
        }
    }
    if (words_.size() < 2) {
        return WordListError{WordListProblem::TooFewWords};
    }
    return std::nullopt;
}

std::u16string WordListMessage(const WordListError& error, std::u16string_view name) {
    std::u16string shown = name == u"-" ? u"la entrada est\u00E1ndar" : u"\u00AB";
    if (name != u"-") {
        for (const char16_t c : name) {
            shown.push_back(IsControl(c) ? u'?' : c);
        }
        shown += u"\u00BB";
    }
    std::u16string message = u"zelvaran-cli: -w/--lista: ";
    const auto lineOf = [&error] {
        const std::string number = std::to_string(error.Line);
        return u"la l\u00EDnea " + std::u16string(number.begin(), number.end()) + u" de ";
    };
    switch (error.Problem) {
    case WordListProblem::Unreadable:
        return message + u"no se pudo leer " + shown;
    case WordListProblem::TooLarge:
        return message + shown + u" pasa de 16 MiB; una lista de palabras no ocupa tanto";
    case WordListProblem::NotUtf8:
        return message + lineOf() + shown +
               u" no es texto UTF-8 v\u00E1lido; guarde la lista en UTF-8";
    case WordListProblem::ControlCharacter:
        return message + lineOf() + shown +
               u" tiene un car\u00E1cter de control; escriba una palabra por l\u00EDnea";
    case WordListProblem::InvisibleCharacter:
        return message + lineOf() + shown +
               u" tiene un car\u00E1cter invisible o de formato; escriba cada palabra solo con "
               u"caracteres visibles";
    case WordListProblem::EndsInDigit:
        return message + lineOf() + shown +
               u" termina en una cifra, que con -d/--cifra se confundir\u00EDa con la cifra "
               u"a\u00F1adida; quite esa cifra o no use -d";
    case WordListProblem::NoCapital:
        return message + lineOf() + shown +
               u" no empieza por una letra con may\u00FAscula o tiene otra may\u00FAscula "
               u"dentro; sin separador, solo las may\u00FAsculas de -M marcan d\u00F3nde empieza "
               u"cada palabra: escriba un separador con -S";
    case WordListProblem::TooFewWords:
        return message + shown + u" tiene menos de 2 palabras distintas";
    }
    return message + shown;
}

} // namespace zelvaran::cli
