# Turns palabras.txt into a C++ table at build time: cmake -DIN=... -DOUT=... -P embed_wordlist.cmake
# Only plain a-z words get in, so nothing in the file can need escaping.
file(STRINGS "${IN}" words)
set(body "")
foreach(word IN LISTS words)
    if(NOT word MATCHES "^[a-z]+$")
        message(FATAL_ERROR "${IN}: not a plain lowercase word: '${word}'")
    endif()
    string(APPEND body "    \"${word}\",\n")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from generator/wordlist/palabras.txt by embed_wordlist.cmake; do not edit.
#include \"generator/words.h\"

namespace zelvaran {
namespace {
constexpr std::string_view kWords[] = {
${body}};
} // namespace

std::span<const std::string_view> SpanishWords() noexcept {
    return kWords;
}

} // namespace zelvaran
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
