// Passphrases: words drawn independently and uniformly from a list, joined by a separator, with
// the two touches sites that demand capitals or digits ask for. Shared by both front ends.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "generator/random_source.h"
#include "generator/secret_text.h"

namespace zelvaran {

inline constexpr int kMinPhraseWords = 1;
inline constexpr int kMaxPhraseWords = 64;

struct PassphraseOptions {
    int Words = 7; // 84 bits with the built-in list: above 80 without any touch
    std::u16string Separator = u"-";
    // The first letter of every word as a capital: every phrase gets it, so it adds nothing.
    bool Capitalize = false;
    // One digit 0-9 after one word, both drawn: 10 x Words equally likely outcomes.
    bool AddDigit = false;
};

// A list as the generator uses it: its words (UTF-8; the built-in list is plain a-z) and the
// size of the longest, measured once.
struct WordList {
    std::span<const std::string_view> Words;
    std::size_t Longest = 0;
};
[[nodiscard]] WordList MeasureWords(std::span<const std::string_view> words) noexcept;

// A word as a phrase shows it (UTF-8 in, UTF-16 out), with its capital when `capitalize`: two
// words of a list that print the same are one word.
[[nodiscard]] std::u16string PrintedWord(std::string_view word, bool capitalize);

// The most code units one phrase of these options takes with this list.
[[nodiscard]] std::size_t PassphraseCapacity(const PassphraseOptions& options,
                                             const WordList& list) noexcept;

// The random bytes one phrase reads on average, values drawn again included.
[[nodiscard]] double PassphraseExpectedBytes(const PassphraseOptions& options,
                                             std::size_t listSize) noexcept;

// Replaces `phrase` with a new phrase. Its buffer is first made as large as the longest phrase
// can be, so it never moves while the phrase grows (a move would leave an unwiped copy). A
// capital is made for ASCII and Latin-1 letters; a word starting with anything else keeps it.
// False, with `phrase` wiped, when the source failed or the options or the list cannot make a
// phrase (Words outside 1-64, an empty list).
[[nodiscard]] bool GeneratePassphrase(const PassphraseOptions& options, const WordList& list,
                                      RandomSource& random, SecretText& phrase);

} // namespace zelvaran
