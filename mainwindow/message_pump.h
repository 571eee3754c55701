// Keeps the window responsive while a long password is made: the generators call this after
// every character, and it hands pending messages to their windows.
#pragma once

#include <windows.h>

namespace zelvaran::mainwindow {

// Dispatches every message waiting in this thread's queue. A WM_QUIT is put back for the main
// loop, so a quit requested mid-run is not lost.
void PumpPendingMessages() noexcept;

// Pumps only when some time has passed since the last pump: a check of the clock costs a few
// nanoseconds, while a round trip to the queue costs microseconds per character. A message posted
// during a run waits at most one interval plus the pump itself.
class ResponsiveYield {
public:
    static constexpr LONGLONG kIntervalMicroseconds = 10'000;

    ResponsiveYield() noexcept;
    void operator()() noexcept;
    [[nodiscard]] int Pumps() const noexcept { return pumps_; }

private:
    LONGLONG interval_ = 0; // in performance-counter ticks
    LONGLONG last_ = 0;
    int pumps_ = 0;
};

} // namespace zelvaran::mainwindow
