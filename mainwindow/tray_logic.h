// How the main window reads the notification-area icon's reports: pure decisions over plain
// values, apart from any window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace zelvaran::mainwindow {

// The icon reports through the mouse-move message: its horizontal position carries the mouse
// message that happened over the icon.
inline constexpr unsigned kTrayCallbackMessage = 512;
inline constexpr unsigned kTrayIconId = 1;
inline constexpr unsigned kTrayFlags = 7; // message, icon and tip
inline constexpr std::string_view kTrayTipText = "Security Zelvaran";
inline constexpr std::size_t kTrayTipBytes = 64;

enum class TrayAction { None, Restore, Foreground };

// The event code from a horizontal position: pixels as they are; twips divided by the twips per
// pixel. Either way rounded to the nearest whole number, an exact half to the even neighbour.
[[nodiscard]] inline std::int32_t DecodeTrayCode(double x, bool inTwips,
                                                 double twipsPerPixel) noexcept {
    const double value = inTwips && twipsPerPixel > 0 ? x / twipsPerPixel : x;
    if (!(value > -2147483648.5 && value < 2147483647.5)) {
        return 0; // not a number a report can carry, so no action
    }
    return static_cast<std::int32_t>(std::nearbyint(value)); // default rounding: half to even
}

// 514 left button up and 515 double-click restore the window; 517 right button up only brings
// it to the foreground; nothing else does anything.
[[nodiscard]] constexpr TrayAction ActionForCode(std::int32_t code) noexcept {
    switch (code) {
    case 514:
    case 515:
        return TrayAction::Restore;
    case 517:
        return TrayAction::Foreground;
    default:
        return TrayAction::None;
    }
}

// The tip as the icon record carries it: the text, one NUL, then blanks up to 64 bytes.
[[nodiscard]] constexpr std::array<char, kTrayTipBytes> TrayTip(std::string_view text) noexcept {
    std::array<char, kTrayTipBytes> tip{};
    const std::size_t n = text.size() < kTrayTipBytes - 1 ? text.size() : kTrayTipBytes - 1;
    for (std::size_t i = 0; i < kTrayTipBytes; ++i) {
        tip[i] = i < n ? text[i] : (i == n ? '\0' : ' ');
    }
    return tip;
}

} // namespace zelvaran::mainwindow
