#include "mainwindow/tray_icon.h"

#include <cstring>

#include "mainwindow/tray_logic.h"

namespace zelvaran::mainwindow {

static_assert(kTrayCallbackMessage == WM_MOUSEMOVE);
static_assert(kTrayFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(kTrayLeftButtonUp == WM_LBUTTONUP);
static_assert(kTrayLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(kTrayRightButtonUp == WM_RBUTTONUP);

void TrayIcon::Fill(HWND owner, HICON icon) noexcept {
    // The version-1 record: every shell takes it, and the program needs nothing newer. It is 88
    // bytes in a 32-bit build and 104 here, where handles are 64-bit.
    record_ = {};
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.hWnd = owner;
    record_.uID = kTrayIconId;
    record_.uFlags = kTrayFlags;
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.hIcon = icon;
    const auto tip = TrayTip(kTrayTipText);
    static_assert(sizeof(record_.szTip) >= kTrayTipBytes);
    std::memcpy(record_.szTip, tip.data(), tip.size());
}

bool TrayIcon::Add() noexcept {
    shown_ = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
    return shown_;
}

bool TrayIcon::AddAgain() noexcept {
    static_cast<void>(Shell_NotifyIconA(NIM_DELETE, &record_)); // usually already gone
    return Add();
}

bool TrayIcon::ChangeIcon(HICON icon) noexcept {
    NOTIFYICONDATAA changed = record_;
    changed.hIcon = icon;
    if (shown_ && Shell_NotifyIconA(NIM_MODIFY, &changed) == FALSE) {
        return false;
    }
    record_.hIcon = icon;
    return true;
}

bool TrayIcon::Delete() noexcept {
    const bool deleted = Shell_NotifyIconA(NIM_DELETE, &record_) != FALSE;
    shown_ = false;
    return deleted;
}

} // namespace zelvaran::mainwindow
