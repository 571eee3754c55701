// How a check box's state is written to and read back from the settings store. Pure: no window
// or registry code, so the rules are tested on their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvaran::config {

// Check-box states as the dialog's boxes hold them.
inline constexpr std::int16_t kUnchecked = 0;
inline constexpr std::int16_t kChecked = 1;
inline constexpr std::int16_t kGrayed = 2; // never produced by the program, but a valid state

// The decimal text of a state, as the store keeps it: no sign for non-negative values, no
// blanks, no leading zeros. A fixed buffer, so formatting can never fail.
class StateText {
public:
    constexpr explicit StateText(std::int16_t state) noexcept {
        int value = state;
        const bool negative = value < 0;
        std::array<wchar_t, 8> reversed{};
        std::size_t n = 0;
        do {
            const int digit = negative ? -(value % 10) : value % 10;
            reversed[n++] = static_cast<wchar_t>(L'0' + digit);
            value /= 10;
        } while (value != 0);
        if (negative) {
            chars_[size_++] = L'-';
        }
        while (n > 0) {
            chars_[size_++] = reversed[--n];
        }
        chars_[size_] = L'\0';
    }
    [[nodiscard]] constexpr std::wstring_view View() const noexcept {
        return {chars_.data(), size_};
    }
    [[nodiscard]] constexpr const wchar_t* CStr() const noexcept { return chars_.data(); }

private:
    std::array<wchar_t, 8> chars_{}; // "-32768" and its terminator fit
    std::size_t size_ = 0;
};

// A stored text gives a state only when it is exactly "0", "1" or "2"; anything else (a blank,
// a sign, a leading zero, another number, letters, nothing) was not written by this program and
// counts as `fallback`, the box's current state, so that reading it changes nothing.
[[nodiscard]] constexpr std::int16_t ParseStoredState(std::wstring_view text,
                                                      std::int16_t fallback) noexcept {
    if (text.size() == 1 && text[0] >= L'0' && text[0] <= L'2') {
        return static_cast<std::int16_t>(text[0] - L'0');
    }
    return fallback;
}

} // namespace zelvaran::config
