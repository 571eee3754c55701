// How a check box's state is written to and read back from the settings store. Pure: no window
// or registry code, so the rules are tested on their own.
#pragma once

#include <cstdint>
#include <string_view>

#include "generator/check_state.h"

namespace zelvaran::config {

// The text the store keeps for a box's state: "0", "1" or "2", its decimal digit. A box holds
// no other state; anything else would be stored as unchecked.
[[nodiscard]] constexpr std::wstring_view StoredStateText(std::int16_t state) noexcept {
    switch (state) {
    case kChecked:
        return L"1";
    case kGrayed:
        return L"2";
    default:
        return L"0";
    }
}

// A stored text gives a state only when it is exactly "0" or "1", the two the program writes;
// anything else ("2", a blank, a sign, a leading zero, letters, nothing) counts as `fallback`,
// the default, so that reading it changes nothing and writes nothing.
[[nodiscard]] constexpr std::int16_t ParseStoredState(std::wstring_view text,
                                                      std::int16_t fallback) noexcept {
    if (text.size() == 1 && (text[0] == L'0' || text[0] == L'1')) {
        return static_cast<std::int16_t>(text[0] - L'0');
    }
    return fallback;
}

} // namespace zelvaran::config
