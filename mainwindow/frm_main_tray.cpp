// frmMain's notification-area icon: its reports, hiding on minimise, the adds tried again while
// Explorer is not ready, and the one balloon that says where the window went.
#include "mainwindow/frm_main.h"

#include <windowsx.h>

#include <string>

#include "config/settings_store.h"
#include "mainwindow/tray_logic.h"
#include "resources/resource_ids.h"

namespace zelvaran::mainwindow {

bool frmMain::PointerOverClient(LPARAM lParam) const noexcept {
    // A move the system posted keeps the pointer's position of its own moment, which its
    // coordinates repeat; the pointer may have gone on since (or, under Wine, not arrived yet).
    const DWORD posted = GetMessagePos();
    POINT then{GET_X_LPARAM(posted), GET_Y_LPARAM(posted)};
    if (ScreenToClient(hwnd_, &then) && then.x == GET_X_LPARAM(lParam) &&
        then.y == GET_Y_LPARAM(lParam)) {
        return true;
    }
    POINT at{};
    if (!GetCursorPos(&at)) {
        return false; // no pointer to be seen (another desktop): nothing moved over the window
    }
    HWND under = WindowFromPoint(at);
    RECT client{};
    return under != nullptr && GetAncestor(under, GA_ROOT) == hwnd_ && ScreenToClient(hwnd_, &at) &&
           GetClientRect(hwnd_, &client) && PtInRect(&client, at);
}

void frmMain::OnMouseMove(WPARAM wParam, LPARAM lParam) noexcept {
    const auto action =
        ActionForMouseMove(wParam, static_cast<std::uint64_t>(lParam), PointerOverClient(lParam));
    switch (action) {
    case TrayAction::Restore:
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        // The system may refuse to change the foreground window; the window is shown anyway.
        static_cast<void>(SetForegroundWindow(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        break;
    case TrayAction::Foreground:
        static_cast<void>(SetForegroundWindow(hwnd_));
        break;
    case TrayAction::None:
        break;
    }
}

void frmMain::OnSize(UINT type) noexcept {
    // Without an icon a hidden window could never come back, so it stays on the task bar.
    if (type == SIZE_MINIMIZED && tray_.IsShown()) {
        ShowWindow(hwnd_, SW_HIDE);
        ShowTrayNoticeOnce();
    }
}

void frmMain::AddTrayIcon() noexcept {
    // At log-on the notification area may not exist yet, or may not answer in time.
    if (!tray_.Add()) {
        StartTrayRetry();
    }
}

void frmMain::StartTrayRetry() noexcept {
    trayRetriesLeft_ = kTrayRetries;
    if (SetTimer(hwnd_, kTrayRetryTimer, kTrayRetryMilliseconds, nullptr) == 0) {
        trayRetriesLeft_ = 0; // no timer: the next TaskbarCreated is the icon's only chance
    }
}

void frmMain::StopTrayRetry() noexcept {
    trayRetriesLeft_ = 0;
    static_cast<void>(KillTimer(hwnd_, kTrayRetryTimer)); // fails only when none is running
}

void frmMain::OnTimer(UINT_PTR id) noexcept {
    if (id == output::ClipboardClearer::kTimerId) {
        clearer_.OnTimer();
        return;
    }
    if (id != kTrayRetryTimer) {
        return;
    }
    // After a way out the icon must stay gone: the process only waits to empty the clipboard.
    if (trayRetriesLeft_ <= 0 || tray_.IsShown() || clearer_.Exiting()) {
        StopTrayRetry();
        return;
    }
    --trayRetriesLeft_;
    // An add that timed out may still have put the icon there: AddAgain ends with exactly one.
    if (tray_.AddAgain() || trayRetriesLeft_ == 0) {
        StopTrayRetry();
    }
}

void frmMain::OnTaskbarCreated() noexcept {
    if (clearer_.Exiting()) {
        return; // the icon went with the windows; the process only waits to empty the clipboard
    }
    // The old task bar took our icon with it; the same record adds it again. A failure leaves
    // the window unable to hide, which IsShown() tells the resize handler; a window hidden
    // already would have no way back, so it comes back to the task bar, minimised as it was,
    // and the add is tried again as at start.
    if (tray_.AddAgain()) {
        StopTrayRetry();
        return;
    }
    if (!IsWindowVisible(hwnd_)) {
        ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    }
    StartTrayRetry();
}

void frmMain::ShowTrayNoticeOnce() noexcept {
    try {
        const std::wstring stored =
            config::GetSetting(config::kAppName, config::kSection, config::kKeyAvisoBandeja, L"");
        if (stored == kTrayNoticeShown) {
            return;
        }
    } catch (...) {
        return; // out of memory: no balloon this time
    }
    if (!noticeIcon_) {
        // The program's own icon at the balloon's large size; without it the balloon carries the
        // system's information icon.
        const int size = GetSystemMetrics(SM_CXICON);
        noticeIcon_.reset(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZELVARAN),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    }
    if (tray_.ShowBalloon(kTrayNoticeTitle, kTrayNoticeText, noticeIcon_.get())) {
        // Should it not be stored, the balloon merely shows again at the next minimise.
        static_cast<void>(config::SaveSetting(config::kAppName, config::kSection,
                                              config::kKeyAvisoBandeja, kTrayNoticeShown));
    }
}

} // namespace zelvaran::mainwindow
