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

// Whether every character of text takes one UTF-16 unit once written (a lone surrogate or a
// value beyond Unicode is written as U+FFFD).
[[nodiscard]] inline bool OneUnitEach(std::u32string_view text) noexcept {
    for (const char32_t c : text) {
        if (c >= 0x10000 && c <= 0x10FFFF) {
            return false;
        }
    }
    return true;
}

class ByteTable {
public:
    // An entry: the character's UTF-16 unit, the bit of its kind above it, and kKept on top
    // when the byte is not drawn again (so that entry >> 31 counts it).
    static constexpr std::uint32_t kKept = 1u << 31;
    static constexpr unsigned kKindShift = 16;

    // 2 to 256 characters of one unit each: a class of one reads nothing, a wider one more
    // than a byte, and an entry holds one unit.
    [[nodiscard]] static bool Fits(std::u32string_view cls) noexcept {
        return cls.size() >= 2 && cls.size() <= 256 && OneUnitEach(cls);
    }

    // kindStarts: where the upper, digit and symbol kinds start in cls (the pool's order); the
    // kind bit of character i is 1 << (how many of them are at or below i).
    explicit ByteTable(std::u32string_view cls,
                       std::array<std::size_t, 3> kindStarts = {256, 256, 256}) noexcept {
        // One round of the class, then the same again up to the limit; the bytes above it
        // keep the zero entry that draws again.
        const auto limit =
            static_cast<std::size_t>(UniformBelow(static_cast<std::uint32_t>(cls.size())).Limit());
        for (std::size_t i = 0; i < cls.size(); ++i) {
            const char32_t c = cls[i];
            const bool single = c < 0xD800 || (c >= 0xE000 && c <= 0xFFFF);
            const unsigned kind =
                (i >= kindStarts[0]) + (i >= kindStarts[1]) + (i >= kindStarts[2]);
            entries_[i] = (single ? c : 0xFFFDu) | (1u << (kind + kKindShift)) | kKept;
        }
        for (std::size_t b = cls.size(); b < limit; ++b) {
            entries_[b] = entries_[b - cls.size()];
        }
    }

    [[nodiscard]] std::uint32_t operator[](std::byte b) const noexcept {
        return entries_[std::to_integer<std::uint8_t>(b)];
    }

private:
    std::array<std::uint32_t, 256> entries_{};
};

} // namespace zelvaran
