// The passphrase word list: the committed file and the list built into the core agree, and
// the file keeps the properties promised beside it.
#include "generator/words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <fstream>
#include <string>
#include <vector>

namespace zelvaran::testing {
namespace {

std::vector<std::string> CommittedWords() {
    std::string path = ZELVARAN_WORDLIST_PATH;
#ifdef _WIN32
    // Under Wine the build's Unix path is reached through drive Z:.
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
#endif
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    std::vector<std::string> words;
    for (std::string line; std::getline(file, line);) {
        words.push_back(line);
    }
    return words;
}

TEST(WordList, BuiltInListIsTheCommittedFile) {
    const std::vector<std::string> committed = CommittedWords();
    const auto built = SpanishWords();
    ASSERT_EQ(committed.size(), built.size());
    EXPECT_TRUE(std::equal(committed.begin(), committed.end(), built.begin()));
}

bool Listed(std::span<const std::string_view> words, std::string_view word) {
    return std::binary_search(words.begin(), words.end(), word);
}

std::vector<std::string_view> Split(std::string_view text) {
    std::vector<std::string_view> parts;
    for (const auto part : std::views::split(text, ' ')) {
        parts.emplace_back(part.begin(), part.end());
    }
    return parts;
}

TEST(WordList, PlainUniqueWordsOfThreeToNineLetters) {
    const auto words = SpanishWords();
    // 2^12: 12 bits a word, so a draw from the list never rejects a value.
    EXPECT_EQ(words.size(), 4096u);
    for (const std::string_view word : words) {
        EXPECT_TRUE(word.size() >= 3 && word.size() <= 9) << word;
        // a-z only: lowercase, no accents (so no two words differ by one), no n-tilde.
        EXPECT_TRUE(std::all_of(word.begin(), word.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << word;
    }
    // Sorted strictly, so every word is there once.
    EXPECT_TRUE(std::adjacent_find(words.begin(), words.end(), std::greater_equal<>()) ==
                words.end());
}

// Diminutives in form only: a cart, a meteorite, granite, an expert.
const auto kOwnMeaning = Split("bonito favorito delito meteorito granito perito mosquito cabrito "
                               "carrito palito bolita");

TEST(WordList, OneEntryAWord) {
    const auto words = SpanishWords();
    // end:other, no word ending in `end` beside the word with `other` in its place: o/a twins
    // (gender pairs, participles), feminines of -e (clienta, jefa, duquesa), diminutives (hijito).
    for (const std::string_view rule : Split("a:o enta:ente efa:efe esa:e ito:o ito:a ito:e ita:o "
                                             "ita:a ita:e")) {
        const std::string_view end = rule.substr(0, rule.find(':'));
        const std::string other(rule.substr(rule.find(':') + 1));
        for (const std::string_view word : words) {
            const std::string twin = std::string(word.substr(0, word.size() - end.size())) + other;
            EXPECT_FALSE(word.ends_with(end) &&
                         std::ranges::find(kOwnMeaning, word) == kOwnMeaning.end() &&
                         Listed(words, twin))
                << word << " " << twin;
        }
    }
    // Shortened forms beside the full word, and the spellings the RAE does not prefer.
    for (const std::string_view pair : Split("buen:bueno gran:grande primer:primero tercer:tercero "
                                             "mal:malo obscuro:oscuro postgrado:posgrado")) {
        const std::size_t colon = pair.find(':');
        EXPECT_FALSE(Listed(words, pair.substr(0, colon)) && Listed(words, pair.substr(colon + 1)))
            << pair;
    }
}

TEST(WordList, WordsLeftOutStayOut) {
    const auto words = SpanishWords();
    // Names, English, misspellings and words with an accented twin, conjugations and plurals,
    // Wikipedia-only words nobody says, demonyms, eponyms, unadapted foreign words, and coarse,
    // violent, grim, hateful or religious words in any region, with their families.
    for (const std::string_view absent :
         Split("maria jose angela japon martini okay yeah ranger aqui accion recibio papa esta "
               "como solo sonar anos dejame cogelo matenlo gracias puta mierda joder culo coger "
               "pinche paja pico bicho concha pendejo idiota matar morir disparar golpear "
               "asesinar masacre autopsia tele wifi forro abacial acadio actina aceptor acusativo "
               "estroncio hitita curato salido semental orto chorrada ovario longo colla gago "
               "anormal machete navaja antibalas atroz secuaz forense anemia cojera senil odioso "
               "repulsivo pesadilla blasfemia diablo marxismo peronista poquito hijito zinc "
               "alcoyano conquense tucumano quijote cupido show hobby punk friki nueva gata")) {
        EXPECT_FALSE(Listed(words, absent)) << absent;
    }
    for (const std::string_view present :
         Split("tiempo verdad mundo amigo agua persona vida bueno grande nuevo gato oscuro")) {
        EXPECT_TRUE(Listed(words, present)) << present;
    }
}

} // namespace
} // namespace zelvaran::testing
