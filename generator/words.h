// The Spanish passphrase words, built in from wordlist/palabras.txt (see wordlist/SOURCE.md).
#pragma once

#include <span>
#include <string_view>

namespace zelvaran {

[[nodiscard]] std::span<const std::string_view> SpanishWords() noexcept;

} // namespace zelvaran
