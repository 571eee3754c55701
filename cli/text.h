// UTF-8 at the edges of zelvaran-cli: arguments come in as UTF-8 on Linux, results and messages
// go out as UTF-8 wherever they do not go to a Windows console.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvaran::cli {

// Strict: an overlong form, a surrogate or a stray byte makes the whole text invalid.
[[nodiscard]] std::optional<std::u16string> FromUtf8(std::string_view text);

// Appends without reallocating when the caller has reserved 3 bytes per code unit. A lone
// surrogate (which the generator never produces) is written as U+FFFD.
void AppendUtf8(std::string& out, std::u16string_view text);
[[nodiscard]] std::string ToUtf8(std::u16string_view text);

} // namespace zelvaran::cli
