// How the main window reads the notification-area icon's reports: pure decisions over plain
// values, apart from any window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvaran::mainwindow {

// The icon reports through the mouse-move message: its horizontal position carries the mouse
// message that happened over the icon. The numbers are the platform's, named here so this file
// stays free of window headers; tray_icon.cpp ties each to its constant.
inline constexpr unsigned kTrayCallbackMessage = 0x0200; // WM_MOUSEMOVE
inline constexpr unsigned kTrayIconId = 1;
inline constexpr unsigned kTrayFlags = 0x1 | 0x2 | 0x4;      // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::int32_t kTrayLeftButtonUp = 0x0202;    // WM_LBUTTONUP
inline constexpr std::int32_t kTrayLeftDoubleClick = 0x0203; // WM_LBUTTONDBLCLK
inline constexpr std::int32_t kTrayRightButtonUp = 0x0205;   // WM_RBUTTONUP
inline constexpr std::string_view kTrayTipText = "Security Zelvaran";
inline constexpr std::size_t kTrayTipBytes = 64;

enum class TrayAction { None, Restore, Foreground };

// Left button up and double-click restore the window; right button up only brings it to the
// foreground; nothing else does anything.
[[nodiscard]] constexpr TrayAction ActionForCode(std::int32_t code) noexcept {
    switch (code) {
    case kTrayLeftButtonUp:
    case kTrayLeftDoubleClick:
        return TrayAction::Restore;
    case kTrayRightButtonUp:
        return TrayAction::Foreground;
    default:
        return TrayAction::None;
    }
}

// What the main window does with a mouse-move message. A version-1 icon reports with wParam =
// the icon's id and lParam = the mouse message alone; a real move over the client area carries
// the button flags and both coordinates, and can look just the same (left button held, top row,
// x = 514). The pointer tells them apart: it lies over the client area for a real move, while a
// click meant for the icon cannot happen over the window, which would have taken it.
[[nodiscard]] constexpr TrayAction ActionForMouseMove(std::uint64_t wParam, std::uint64_t lParam,
                                                      bool pointerOverClient) noexcept {
    if (wParam != kTrayIconId || lParam > 0xFFFF || pointerOverClient) {
        return TrayAction::None;
    }
    return ActionForCode(static_cast<std::int32_t>(lParam));
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
