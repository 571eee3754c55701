// "Vaciar el portapapeles": the countdown after each copy the program makes, in both windows,
// and the process that outlives its windows until the clipboard is emptied.
#pragma once

#include <windows.h>

#include <cstdint>

#include "output/clear_logic.h"

namespace zelvaran::output {

class ClipboardClearer {
public:
    // The timer's identifier on the window given to Attach.
    static constexpr UINT_PTR kTimerId = 0x5A1;

    // The window that owns the timer, hears of clipboard changes (WM_CLIPBOARDUPDATE, when the
    // system can tell it) and opens the clipboard to empty it.
    void Attach(HWND window) noexcept;
    void Detach() noexcept;

    // Seconds from a copy to the clearing; 0 is "Nunca". A countdown that runs keeps its time.
    void SetDelay(std::uint32_t seconds) noexcept { delay_ = seconds; }
    [[nodiscard]] std::uint32_t Delay() const noexcept { return delay_; }

    // The program's text is on the clipboard as the write numbered `sequence` (PlaceSecretText).
    void Copied(DWORD sequence) noexcept;
    void OnTimer() noexcept;
    void OnClipboardUpdate() noexcept;
    // Log-off or shutdown: empties at once what is still the program's.
    void OnEndSession() noexcept;
    // A way out of the program: true when the process must stay, with no window, until the
    // countdown ends; the clearer then ends it through the platform.
    [[nodiscard]] bool HoldExit() noexcept;
    [[nodiscard]] bool Exiting() const noexcept { return state_.Exiting; }
    [[nodiscard]] bool Pending() const noexcept { return state_.Pending; }

private:
    void Step(const ClearInput& input) noexcept;

    HWND window_ = nullptr;
    bool listening_ = false;
    std::uint32_t delay_ = 0;
    Countdown state_;
};

} // namespace zelvaran::output
