// What each byte draws from a class of at most 256 characters, worked out once, so that a long
// password read straight from the system source's block costs a table look-up a byte. The bytes
// read, the values drawn again and the characters are those of UniformBelow, value by value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "generator/random_source.h"

namespace zelvaran {

class ByteTable {
public:
    // An entry: the character's UTF-16 unit, the bit of its kind above it, and kKept on top
    // when the byte is not drawn again (so that entry >> 31 counts it).
    static constexpr std::uint32_t kKept = 1u << 31;
    static constexpr unsigned kKindShift = 16;

    // 2 to 256 characters, each one UTF-16 unit once written (a lone surrogate or a value
    // beyond Unicode is written as U+FFFD): a class of one reads nothing, a wider one more than
    // a byte, and a pair would need two units.
    [[nodiscard]] static bool Fits(std::u32string_view cls) noexcept {
        if (cls.size() < 2 || cls.size() > 256) {
            return false;
        }
        for (const char32_t c : cls) {
            if (c >= 0x10000 && c <= 0x10FFFF) {
                return false;
            }
        }
        return true;
    }

    // kindStarts: where the upper, digit and symbol kinds start in cls (the pool's order); the
    // kind bit of character i is 1 << (how many of them are at or below i).
    explicit ByteTable(std::u32string_view cls,
                       std::array<std::size_t, 3> kindStarts = {256, 256, 256}) noexcept {
        const UniformBelow draw(static_cast<std::uint32_t>(cls.size()));
        std::size_t i = 0;
        for (std::size_t b = 0; b < entries_.size(); ++b, ++i) {
            if (i == cls.size()) {
                i = 0;
            }
            const char32_t c = cls[i];
            const bool single = c < 0xD800 || (c >= 0xE000 && c <= 0xFFFF);
            const unsigned kind =
                (i >= kindStarts[0]) + (i >= kindStarts[1]) + (i >= kindStarts[2]);
            entries_[b] =
                b < draw.Limit() ? (single ? c : 0xFFFDu) | kKept | (1u << (kind + kKindShift)) : 0;
        }
    }

    [[nodiscard]] std::uint32_t operator[](std::byte b) const noexcept {
        return entries_[std::to_integer<std::uint8_t>(b)];
    }

private:
    std::array<std::uint32_t, 256> entries_{};
};

} // namespace zelvaran
