#include "mainwindow/tray_icon.h"

#include "mainwindow/tray_logic.h"
#include "ui/platform.h"

namespace zelvaran::mainwindow {

static_assert(kTrayCallbackMessage == WM_MOUSEMOVE);
static_assert(kTrayFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));
static_assert(kTrayVersion == NOTIFYICON_VERSION_4);
static_assert(kTrayContextMenu == WM_CONTEXTMENU);
static_assert(kTrayLeftButtonUp == WM_LBUTTONUP);
static_assert(kTrayLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(kTrayRightButtonUp == WM_RBUTTONUP);
static_assert(kTraySelect == NIN_SELECT);
static_assert(kTrayKeySelect == NIN_KEYSELECT);
static_assert(kTrayBalloonUserClick == NIN_BALLOONUSERCLICK);

namespace {

template <std::size_t N> void CopyField(wchar_t (&field)[N], std::wstring_view text) noexcept {
    const auto filled = RecordField<N>(text);
    for (std::size_t i = 0; i < N; ++i) {
        field[i] = filled[i];
    }
}

} // namespace

void TrayIcon::Fill(HWND owner, HICON icon) noexcept {
    // The whole record of Windows Vista and later: the version and the balloon's own icon live
    // past the end of the older ones. Wide texts, so the balloon reads right whatever the
    // system's code page.
    record_ = {};
    record_.cbSize = sizeof(record_);
    record_.hWnd = owner;
    record_.uID = kTrayIconId;
    record_.uFlags = kTrayFlags;
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.hIcon = icon;
    record_.uVersion = kTrayVersion; // read by NIM_SETVERSION only
    CopyField(record_.szTip, kTrayTipText);
}

bool TrayIcon::Add() noexcept {
    NOTIFYICONDATAW record = record_;
    shown_ = ui::CurrentPlatform().NotifyIcon(NIM_ADD, record);
    if (shown_) {
        // The setting is lost with the icon, so every add asks again. A shell that refuses it
        // reports as version 1 does, which the window reads as well.
        record = record_;
        static_cast<void>(ui::CurrentPlatform().NotifyIcon(NIM_SETVERSION, record));
    }
    return shown_;
}

bool TrayIcon::AddAgain() noexcept {
    NOTIFYICONDATAW record = record_;
    static_cast<void>(ui::CurrentPlatform().NotifyIcon(NIM_DELETE, record)); // usually gone
    return Add();
}

bool TrayIcon::ChangeIcon(HICON icon) noexcept {
    NOTIFYICONDATAW changed = record_;
    changed.hIcon = icon;
    if (shown_ && !ui::CurrentPlatform().NotifyIcon(NIM_MODIFY, changed)) {
        return false;
    }
    record_.hIcon = icon;
    return true;
}

bool TrayIcon::Delete() noexcept {
    NOTIFYICONDATAW record = record_;
    const bool deleted = ui::CurrentPlatform().NotifyIcon(NIM_DELETE, record);
    shown_ = false;
    return deleted;
}

bool TrayIcon::ShowBalloon(std::wstring_view title, std::wstring_view text,
                           HICON largeIcon) noexcept {
    if (!shown_) {
        return false;
    }
    // Only the balloon changes: the icon, its tip and its reports stay as they are.
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = record_.hWnd;
    record.uID = record_.uID;
    record.uFlags = NIF_INFO;
    CopyField(record.szInfoTitle, title);
    CopyField(record.szInfo, text);
    record.dwInfoFlags = largeIcon != nullptr ? NIIF_USER | NIIF_LARGE_ICON : NIIF_INFO;
    record.hBalloonIcon = largeIcon;
    return ui::CurrentPlatform().NotifyIcon(NIM_MODIFY, record);
}

} // namespace zelvaran::mainwindow
