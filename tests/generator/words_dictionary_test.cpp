// The passphrase words against Debian's Spanish dictionary (hunspell-es, read by libhunspell):
// each one spelt right as written, in its dictionary form, and with no accented twin a reader
// could take it for.
#include "generator/words.h"

#include <hunspell/hunspell.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zelvaran::testing {
namespace {

// The dictionary's suffix flags that make a word of its own (-aje, -ble, -illo, ...): everything
// but plural and gender (S, G), the -ito diminutive and the conjugations.
const std::string kDerivations = "ABCFHJKLMNOPQT";

// Nouns the dictionary only makes as the feminine of a masculine that is listed too.
const std::set<std::string, std::less<>> kNounsOfTheirOwn = {
    "bebida", "directiva", "emisora", "primaria", "propuesta", "retirada", "vida"};

struct Analysis {
    std::string Stem;
    std::string Flag; // the suffix that makes the word from Stem; empty for an entry
};

std::vector<Analysis> Analyze(Hunspell& dictionary, const std::string& word) {
    std::vector<Analysis> analyses;
    for (const std::string& line : dictionary.analyze(word)) {
        Analysis analysis;
        for (std::size_t at = 0; (at = line.find(':', at)) != std::string::npos; ++at) {
            const std::size_t end = std::min(line.find(' ', at), line.size());
            const std::string field = line.substr(at - 2, 2);
            const std::string value = line.substr(at + 1, end - at - 1);
            if (field == "st") {
                analysis.Stem = value;
            } else if (field == "fl") {
                analysis.Flag = value;
            }
        }
        analyses.push_back(std::move(analysis));
    }
    return analyses;
}

// The word with one letter marked: an accent on a vowel, n-tilde for n, diaeresis on u.
std::vector<std::string> MarkedTwins(const std::string& word) {
    const std::vector<std::pair<char, std::string>> marks = {
        {'a', "á"}, {'e', "é"}, {'i', "í"}, {'o', "ó"}, {'u', "ú"}, {'u', "ü"}, {'n', "ñ"}};
    std::vector<std::string> twins;
    for (std::size_t i = 0; i < word.size(); ++i) {
        for (const auto& [plain, marked] : marks) {
            if (word[i] == plain) {
                twins.push_back(word.substr(0, i) + marked + word.substr(i + 1));
            }
        }
    }
    return twins;
}

TEST(WordListDictionary, SpanishAsWrittenInDictionaryFormWithNoAccentedTwin) {
    Hunspell es(ZELVARAN_HUNSPELL_ES ".aff", ZELVARAN_HUNSPELL_ES ".dic");
    const auto words = SpanishWords();
    const std::set<std::string, std::less<>> listed(words.begin(), words.end());
    for (const std::string_view view : words) {
        const std::string word(view);
        EXPECT_TRUE(es.spell(word)) << word;

        // An entry, a word derived from one, or a feminine noun of a masculine left out.
        const std::vector<Analysis> analyses = Analyze(es, word);
        EXPECT_TRUE(std::any_of(
            analyses.begin(), analyses.end(),
            [&](const Analysis& a) {
                return (a.Flag.empty() && a.Stem == word) ||
                       (a.Flag.size() == 1 && kDerivations.find(a.Flag) != std::string::npos) ||
                       (a.Flag == "G" && !word.ends_with('s') &&
                        (!listed.contains(a.Stem) || kNounsOfTheirOwn.contains(word)));
            }))
            << word << " is no dictionary form";
        for (const Analysis& a : analyses) {
            EXPECT_FALSE((a.Flag == "S" || a.Flag == "G") && word.ends_with('s') &&
                         listed.contains(a.Stem))
                << word << " is the plural of " << a.Stem;
        }
        for (const char* pronoun : {"me", "te", "se", "nos", "os", "lo", "la", "le", "los"}) {
            const std::string base = word.substr(0, word.size() - std::string(pronoun).size());
            EXPECT_FALSE(word.ends_with(pronoun) && listed.contains(base) &&
                         (base.ends_with("ar") || base.ends_with("er") || base.ends_with("ir")))
                << word << " is " << base << " with a pronoun";
        }

        // A twin misleads when it is a headword of its own (papá) or a form of a listed word
        // (calle and callé of callar); a form of a word nobody uses (amigó of amigar) does not.
        for (const std::string& twin : MarkedTwins(word)) {
            if (!es.spell(twin)) {
                continue;
            }
            for (const std::string& stem : es.stem(twin)) {
                EXPECT_FALSE(stem == twin || listed.contains(stem))
                    << word << " has the twin " << twin << " (" << stem << ")";
            }
        }
    }
}

} // namespace
} // namespace zelvaran::testing
