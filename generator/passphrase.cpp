#include "generator/passphrase.h"

#include <algorithm>
#include <cstdint>

namespace zelvaran {
namespace {

// Upper case for the letters a Spanish (or any Western) list uses: ASCII and Latin-1.
constexpr char32_t Capital(char32_t c) noexcept {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    return c;
}

// Appends a word of valid UTF-8 (checked where the list was read) as UTF-16.
void AppendWord(std::u16string& out, std::string_view word, bool capitalize) {
    bool first = true;
    for (std::size_t i = 0; i < word.size();) {
        const auto lead = static_cast<unsigned char>(word[i]);
        const std::size_t extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra && i + k < word.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(word[i + k]) & 0x3F);
        }
        i += extra + 1;
        if (first && capitalize) {
            c = Capital(c);
        }
        first = false;
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
}

} // namespace

std::u16string PrintedWord(std::string_view word, bool capitalize) {
    std::u16string printed;
    AppendWord(printed, word, capitalize);
    return printed;
}

WordList MeasureWords(std::span<const std::string_view> words) noexcept {
    WordList list{words, 0};
    for (const std::string_view word : words) {
        // UTF-8 never takes fewer bytes than UTF-16 takes code units.
        list.Longest = std::max(list.Longest, word.size());
    }
    return list;
}

std::size_t PassphraseCapacity(const PassphraseOptions& options, const WordList& list) noexcept {
    const auto count = static_cast<std::size_t>(std::max(options.Words, 0));
    return count * (list.Longest + options.Separator.size()) + (options.AddDigit ? 1 : 0);
}

double PassphraseExpectedBytes(const PassphraseOptions& options, std::size_t listSize) noexcept {
    const auto count = static_cast<std::uint32_t>(std::max(options.Words, 0));
    double bytes = count * UniformBelow(static_cast<std::uint32_t>(listSize)).ExpectedBytes();
    if (options.AddDigit) {
        bytes += UniformBelow(count).ExpectedBytes() + UniformBelow(10).ExpectedBytes();
    }
    return bytes;
}

bool GeneratePassphrase(const PassphraseOptions& options, const WordList& list,
                        RandomSource& random, SecretText& phrase) {
    phrase.Clear();
    const std::span<const std::string_view> words = list.Words;
    if (options.Words < kMinPhraseWords || options.Words > kMaxPhraseWords || words.empty()) {
        return false;
    }
    // However this ends, the bytes the phrase came from are gone before it is handed on.
    const HandedOutWipe wipe(random);
    random.WillRead(static_cast<std::size_t>(PassphraseExpectedBytes(options, words.size())) + 16);
    std::u16string& text = phrase.Buffer();
    text.reserve(PassphraseCapacity(options, list)); // the cleared text is empty: nothing moves
    const auto count = static_cast<std::size_t>(options.Words);
    // Drawn before the words, so the digit's place never depends on what the words drew.
    const std::size_t digitAfter =
        options.AddDigit ? random.Below(static_cast<std::uint32_t>(count)) : count;
    const std::uint32_t digit = options.AddDigit ? random.Below(10) : 0;
    const UniformBelow draw(static_cast<std::uint32_t>(words.size()));
    for (std::size_t w = 0; w < count; ++w) {
        if (w > 0) {
            text += options.Separator;
        }
        AppendWord(text, words[draw(random)], options.Capitalize);
        if (w == digitAfter) {
            text.push_back(static_cast<char16_t>(u'0' + digit));
        }
    }
    if (random.Failed()) {
        phrase.Clear();
        return false;
    }
    return true;
}

} // namespace zelvaran
