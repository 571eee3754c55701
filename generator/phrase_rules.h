// What a phrase may be made of so that its entropy is what it shows: a separator and the words of
// one's own list are refused when the phrase could be read in more than one way, or when what is
// shown would differ from what is typed. Shared by both front ends.
#pragma once

#include <string_view>

namespace zelvaran {

enum class PhraseRefusal {
    None,
    ControlCharacter,   // would break a phrase over lines or play tricks on a terminal
    InvisibleCharacter, // not seen, or changes how what follows it is shown
    EmptySeparator,     // words joined with no mark of where each one starts
    EndsInDigit,        // with the added digit, "casa1" + "2" reads as "casa" + "12"
    NoCapital,          // joined words: its start gets no capital, or a capital inside it looks
                        // like the start of another word
};

// C0 and C1 controls, DEL, and the line and paragraph separators U+2028 and U+2029.
[[nodiscard]] bool IsControlCharacter(char32_t c) noexcept;
// Unicode's format characters (category Cf): the soft hyphen, zero-width spaces and joiners,
// direction marks, embeddings, overrides and isolates, the byte-order mark, tags.
[[nodiscard]] bool IsInvisibleCharacter(char32_t c) noexcept;

// A separator is refused for a control or invisible character, and when empty unless every word
// gets its capital: the capitals then show where each word starts.
[[nodiscard]] PhraseRefusal CheckSeparator(std::u16string_view separator, bool capitalize);
// A word of one's own list (already trimmed): a control or invisible character; when a digit is
// added after a word, a last character that is an ASCII digit; when the words are joined with no
// separator, a first letter the phrase cannot make a capital (it capitalizes ASCII and Latin-1),
// or a capital after it.
[[nodiscard]] PhraseRefusal CheckListWord(std::u16string_view word, bool addDigit,
                                          bool joined = false);

} // namespace zelvaran
