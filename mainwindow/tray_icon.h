// The main window's notification-area icon: one record, filled once (only its image follows the
// window's DPI), added at load (and again until the notification area takes it), deleted at
// unload, added again when the task bar is re-created. Every call goes through the platform seam.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace zelvaran::mainwindow {

class TrayIcon {
public:
    // Fills the record once; afterwards only ChangeIcon modifies it.
    void Fill(HWND owner, HICON icon) noexcept;
    // Returns whether the notification area took the icon. Once it has, the icon is asked to
    // report as version 4 does, so that a keyboard user's Enter or Space arrives as a selection
    // rather than as a right click.
    [[nodiscard]] bool Add() noexcept;
    [[nodiscard]] bool Delete() noexcept;
    // After the task bar was re-created, or an add that failed or timed out. A stale broadcast or
    // a timed-out add may have left the icon there, where a plain add would fail; removing it
    // first makes every case end with exactly one icon.
    [[nodiscard]] bool AddAgain() noexcept;
    // A balloon from the icon with the program's own (large) icon; whether the area took it.
    [[nodiscard]] bool ShowBalloon(std::wstring_view title, std::wstring_view text,
                                   HICON largeIcon) noexcept;
    [[nodiscard]] bool IsShown() const noexcept { return shown_; }
    [[nodiscard]] bool IsFilled() const noexcept { return record_.hWnd != nullptr; }
    // Shows another image (the same icon at a new DPI) from now on, in the notification area too
    // when the icon is there. False when the shell refused it; the record keeps the old image.
    [[nodiscard]] bool ChangeIcon(HICON icon) noexcept;
    [[nodiscard]] const NOTIFYICONDATAW& Record() const noexcept { return record_; }

private:
    NOTIFYICONDATAW record_{};
    bool shown_ = false;
};

} // namespace zelvaran::mainwindow
