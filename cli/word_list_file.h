// -w/--lista: a word list of the user's own for the passphrases, from a file or standard input.
// UTF-8, one word a line; blanks around a word and blank lines are dropped, words that a phrase
// prints alike count once, and anything else that could not be shown as a word is refused.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::cli {

inline constexpr std::size_t kMaxWordListBytes = std::size_t{16} << 20; // 16 MiB

enum class WordListProblem {
    Unreadable,
    TooLarge,
    NotUtf8,
    ControlCharacter,
    InvisibleCharacter,
    EndsInDigit, // with -d only
    NoCapital,   // with -S '' only
    TooFewWords
};

// How the phrases will print the words: -M makes "casa" and "Casa" one word, -d refuses a word
// that ends in a digit, and an empty -S one whose capital would not mark where it starts.
struct WordListUse {
    bool Capitalize = false;
    bool AddDigit = false;
    bool Joined = false;
};

struct WordListError {
    WordListProblem Problem;
    std::size_t Line = 0; // 1-based, for the problems found on a line
};

// The list read and checked; the words are views into the bytes, so it stays where it was made.
class UserWordList {
public:
    UserWordList() = default;
    UserWordList(const UserWordList&) = delete;
    UserWordList& operator=(const UserWordList&) = delete;

    // Reads the file `name` ("-": standard input), then Parse.
    [[nodiscard]] std::optional<WordListError> Read(std::u16string_view name, WordListUse use = {});
    // Checks `bytes` and keeps, in their first order, the words that print differently.
    [[nodiscard]] std::optional<WordListError> Parse(std::string bytes, WordListUse use = {});

    [[nodiscard]] const std::vector<std::string_view>& Words() const noexcept { return words_; }

private:
    std::string bytes_;
    std::vector<std::string_view> words_;
};

// "zelvaran-cli: ..." naming the option and the file.
[[nodiscard]] std::u16string WordListMessage(const WordListError& error, std::u16string_view name);

} // namespace zelvaran::cli
