// The passphrase window's four choices and how they are kept per user, beside the configuration's
// stored choices and by the same rule: a stored value the program would not have written counts
// as the default and is left as it is. The reading rules are pure, so they are tested on their own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "generator/passphrase.h"

namespace zelvaran::passphrase {

// The word-count box: one or two digits giving 1 to 64 ("06" too). Anything else: nothing.
[[nodiscard]] std::optional<int> ParseWordCount(std::wstring_view text) noexcept;
// A stored word count: only what the program writes, 1 to 64 without a leading zero.
[[nodiscard]] std::optional<int> ParseStoredWordCount(std::wstring_view text) noexcept;
// Up to 8 characters (code points), none of them a control character, a line separator or an
// invisible (format) character. Empty passes here: it needs "Mayúscula inicial" beside it.
[[nodiscard]] bool SeparatorAllowed(std::wstring_view text);

// The stored choices, each one that is missing or not well-formed as its default; an empty
// separator stored without capitals counts as the default separator.
[[nodiscard]] PassphraseOptions LoadChoices();
// Writes each choice that differs from `stored` (what was loaded or last saved) and records it
// there once written; a choice the user left alone is never written, so a malformed value stays
// as it was. The first failure's code, or ERROR_SUCCESS.
[[nodiscard]] LSTATUS SaveChoices(const PassphraseOptions& choices, PassphraseOptions& stored);

} // namespace zelvaran::passphrase
