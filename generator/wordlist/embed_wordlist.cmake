# Turns palabras.txt into C++ at build time: cmake -DIN=... -DOUT=... -P embed_wordlist.cmake
# Only plain a-z words get in, so nothing in the file can need escaping. The words go in as one
# text, each followed by a line break, and their table of views is made on first use: a table
# written out would put 16 bytes a word into every exe.
file(STRINGS "${IN}" words)
set(body "")
set(count 0)
foreach(word IN LISTS words)
    if(NOT word MATCHES "^[a-z]+$")
        message(FATAL_ERROR "${IN}: not a plain lowercase word: '${word}'")
    endif()
    string(APPEND body "    \"${word}\\n\"\n")
    math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from generator/wordlist/palabras.txt by embed_wordlist.cmake; do not edit.
#include \"generator/words.h\"

#include <array>
#include <new>

namespace zelvaran {
namespace {
constexpr std::string_view kText =
${body};
constexpr std::size_t kCount = ${count};

using Table = std::array<std::string_view, kCount>;

// On the heap: a table with static storage, even a zeroed one, would be written into the exe
// (MinGW's GCC keeps zeroed data out of .bss once every object has a section of its own).
const Table* Split() noexcept {
    auto* table = new (std::nothrow) Table;
    if (table == nullptr) {
        return nullptr;
    }
    std::size_t at = 0;
    for (std::string_view& word : *table) {
        const std::size_t end = kText.find('\\n', at);
        word = kText.substr(at, end - at);
        at = end + 1;
    }
    return table;
}
} // namespace

std::span<const std::string_view> SpanishWords() noexcept {
    // Made once and kept for the life of the process; without memory for it, no words.
    static const Table* const table = Split();
    return table != nullptr ? std::span<const std::string_view>(*table)
                            : std::span<const std::string_view>();
}

} // namespace zelvaran
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
