// The main window's notification-area icon: one record, filled once (only its image follows the
// window's DPI), added at load, deleted at unload, added again when the task bar is re-created.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace zelvaran::mainwindow {

class TrayIcon {
public:
    // Fills the record once; afterwards only ChangeIcon modifies it.
    void Fill(HWND owner, HICON icon) noexcept;
    // Returns whether the notification area took the icon.
    [[nodiscard]] bool Add() noexcept;
    [[nodiscard]] bool Delete() noexcept;
    // After the task bar was re-created. A stale broadcast finds the icon still there, where a
    // plain add would fail; removing it first makes both cases end with exactly one icon.
    [[nodiscard]] bool AddAgain() noexcept;
    [[nodiscard]] bool IsShown() const noexcept { return shown_; }
    [[nodiscard]] bool IsFilled() const noexcept { return record_.hWnd != nullptr; }
    // Shows another image (the same icon at a new DPI) from now on, in the notification area too
    // when the icon is there. False when the shell refused it; the record keeps the old image.
    [[nodiscard]] bool ChangeIcon(HICON icon) noexcept;
    [[nodiscard]] const NOTIFYICONDATAA& Record() const noexcept { return record_; }

private:
    NOTIFYICONDATAA record_{};
    bool shown_ = false;
};

} // namespace zelvaran::mainwindow
