// The passphrase word list: the committed file and the list built into the core agree, and
// the file keeps the properties promised beside it.
#include "generator/words.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(WordList, PlainUniqueWordsOfThreeToNineLetters) {
    const auto words = SpanishWords();
    // 6^5: the 12.9 bits a word is said to carry.
    EXPECT_EQ(words.size(), 7776u);
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
    // A sample of what the derivation leaves out: names, English, misspellings and words with an
    // accented twin, conjugations and plurals, and coarse, violent or grim words in any region.
    for (const char* absent :
         {"maria",  "jose",   "angela",  "japon",    "martini", "okay",     "yeah",    "ranger",
          "aqui",   "accion", "recibio", "papa",     "esta",    "como",     "solo",    "sonar",
          "anos",   "dejame", "cogelo",  "matenlo",  "gracias", "puta",     "mierda",  "joder",
          "culo",   "coger",  "pinche",  "paja",     "pico",    "bicho",    "concha",  "pendejo",
          "idiota", "matar",  "morir",   "disparar", "golpear", "asesinar", "masacre", "autopsia",
          "tele",   "wifi",   "forro"}) {
        EXPECT_FALSE(std::binary_search(words.begin(), words.end(), std::string_view(absent)))
            << absent;
    }
    for (const char* present : {"tiempo", "verdad", "mundo", "amigo", "agua", "persona", "vida"}) {
        EXPECT_TRUE(std::binary_search(words.begin(), words.end(), std::string_view(present)))
            << present;
    }
}

} // namespace
} // namespace zelvaran::testing
