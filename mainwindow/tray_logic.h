// How the main window reads the notification-area icon's reports: pure decisions over plain
// values, apart from any window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelvaran::mainwindow {

// The icon reports through the mouse-move message. The numbers are the platform's, named here so
// this file stays free of window headers; tray_icon.cpp ties each to its constant.
inline constexpr unsigned kTrayCallbackMessage = 0x0200; // WM_MOUSEMOVE
inline constexpr unsigned kTrayIconId = 1;
// NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP: a version-4 icon shows no tip without the last.
inline constexpr unsigned kTrayFlags = 0x1 | 0x2 | 0x4 | 0x80;
inline constexpr unsigned kTrayVersion = 4;                   // NOTIFYICON_VERSION_4
inline constexpr std::int32_t kTrayContextMenu = 0x007B;      // WM_CONTEXTMENU
inline constexpr std::int32_t kTrayLeftButtonUp = 0x0202;     // WM_LBUTTONUP
inline constexpr std::int32_t kTrayLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr std::int32_t kTrayRightButtonUp = 0x0205;    // WM_RBUTTONUP
inline constexpr std::int32_t kTraySelect = 0x0400;           // NIN_SELECT
inline constexpr std::int32_t kTrayKeySelect = 0x0401;        // NIN_KEYSELECT
inline constexpr std::int32_t kTrayBalloonUserClick = 0x0405; // NIN_BALLOONUSERCLICK
inline constexpr std::wstring_view kTrayTipText = L"Security Zelvaran";

// While the notification area refuses the icon (Explorer not ready at log-on), the add is tried
// again every two seconds for two minutes.
inline constexpr unsigned kTrayRetryMilliseconds = 2000;
inline constexpr int kTrayRetries = 60;

enum class TrayAction { None, Restore, Foreground };

// Left button up, double-click, a selection by mouse or keyboard (Enter, Space) and a click on
// the icon's balloon restore the window; a right click and the shortcut-menu key only bring it
// to the foreground; nothing else does anything.
[[nodiscard]] constexpr TrayAction ActionForCode(std::int32_t code) noexcept {
    switch (code) {
    case kTrayLeftButtonUp:
    case kTrayLeftDoubleClick:
    case kTraySelect:
    case kTrayKeySelect:
    case kTrayBalloonUserClick:
        return TrayAction::Restore;
    case kTrayRightButtonUp:
    case kTrayContextMenu:
        return TrayAction::Foreground;
    default:
        return TrayAction::None;
    }
}

// The event an icon report carries, or -1 when the message cannot be one. A version-4 icon puts
// the event in the low word of lParam and its id in the high word (wParam holds where it was
// anchored on the screen); a shell that refused the version reports as version 1 does: wParam =
// the id, lParam = the event alone.
[[nodiscard]] constexpr std::int32_t TrayEvent(std::uint64_t wParam,
                                               std::uint64_t lParam) noexcept {
    if (lParam <= 0xFFFF) {
        return wParam == kTrayIconId ? static_cast<std::int32_t>(lParam) : -1;
    }
    if (lParam <= 0xFFFFFFFF && (lParam >> 16) == kTrayIconId) {
        return static_cast<std::int32_t>(lParam & 0xFFFF);
    }
    return -1;
}

// What the main window does with a mouse-move message. A real move over the client area carries
// the button flags and both coordinates, and can look just like a report (left button held, top
// row, x = 514; or y = 1, where a version-4 report keeps the icon's id). The pointer tells them
// apart: it lies over the client area for a real move, while a click meant for the icon cannot
// happen over the window, which would have taken it.
[[nodiscard]] constexpr TrayAction ActionForMouseMove(std::uint64_t wParam, std::uint64_t lParam,
                                                      bool pointerOverClient) noexcept {
    const std::int32_t event = TrayEvent(wParam, lParam);
    return event < 0 || pointerOverClient ? TrayAction::None : ActionForCode(event);
}

// The balloon shown the first time the window goes to the notification area, where Windows 11
// may keep a new icon out of sight; it is remembered per user as kTrayNoticeShown.
inline constexpr std::wstring_view kTrayNoticeTitle = L"Security Zelvaran";
inline constexpr std::wstring_view kTrayNoticeText =
    L"Security Zelvaran sigue abierto en el \u00E1rea de notificaci\u00F3n. Haga clic en su icono "
    L"para volver a la ventana.";
inline constexpr std::wstring_view kTrayNoticeShown = L"1";

// A text as a field of N characters of the icon record carries it: cut to leave room for one
// NUL, then NULs to the end of the field.
template <std::size_t N>
[[nodiscard]] constexpr std::array<wchar_t, N> RecordField(std::wstring_view text) noexcept {
    std::array<wchar_t, N> field{};
    for (std::size_t i = 0; i < text.size() && i + 1 < N; ++i) {
        field[i] = text[i];
    }
    return field;
}

} // namespace zelvaran::mainwindow
