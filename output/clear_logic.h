// When the program empties the clipboard it wrote: pure decisions over plain values, apart from
// any window, so that every case is tested by table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvaran::output {

// The choices of "Vaciar el portapapeles", in menu order: seconds from the copy, 0 for "Nunca".
inline constexpr std::array<std::uint32_t, 5> kClearDelays{0, 10, 30, 60, 300};

// The stored text of a choice is its seconds in plain decimal; any other text is no choice, which
// the caller treats as "Nunca" and leaves as it is.
[[nodiscard]] constexpr std::optional<std::uint32_t>
ParseClearDelay(std::wstring_view text) noexcept {
    for (const std::uint32_t delay : kClearDelays) {
        // The digits of delay, from the last.
        std::wstring_view rest = text;
        std::uint32_t n = delay;
        do {
            if (rest.empty() || rest.back() != static_cast<wchar_t>(L'0' + n % 10)) {
                break;
            }
            rest.remove_suffix(1);
            n /= 10;
        } while (n != 0);
        if (n == 0 && rest.empty() && !text.empty()) {
            return delay;
        }
    }
    return std::nullopt;
}

// What a pending countdown knows.
struct Countdown {
    bool Pending = false;
    std::uint32_t Sequence = 0; // the clipboard's sequence number right after the program's write
    bool Exiting = false;       // every way out has run; the process stays only for the clearing
    int Retries = 0;            // times the clipboard was found held open by another program
};

enum class ClearEvent {
    Copied,           // the program's text is on the clipboard: Sequence and Delay given
    Due,              // the countdown (or a retry) ran out: the clipboard's number now given
    Cleared,          // the clipboard was emptied, or found to hold a later write
    Busy,             // another program held the clipboard open through every try
    ClipboardChanged, // the clipboard changed: its number now given
    EndSession,       // log-off or shutdown: the clipboard's number now given
    Exit,             // a way out of the program: the windows and the icon are gone
};

struct ClearInput {
    ClearEvent Event;
    std::uint32_t Sequence = 0;
    std::uint32_t DelaySeconds = 0;
};

struct ClearActions {
    Countdown Next;
    std::uint32_t StartTimerMs = 0; // 0: none; a start replaces a timer that runs
    bool StopTimer = false;
    bool Empty = false;      // empty the clipboard, provided it still has Next.Sequence; the
                             // shell then reports Cleared or Busy
    bool EndProcess = false; // the process may end now
};

inline constexpr std::uint32_t kBusyRetryMs = 1000;
inline constexpr int kBusyRetries = 10;

// One step of the countdown.
[[nodiscard]] constexpr ClearActions DecideClear(const Countdown& now,
                                                 const ClearInput& in) noexcept {
    ClearActions out{now};
    // The countdown is over, whichever way: the process waited only for that.
    const auto finish = [&out, &now] {
        out.Next = Countdown{false, 0, now.Exiting, 0};
        out.StopTimer = true;
        out.EndProcess = now.Exiting;
    };
    switch (in.Event) {
    case ClearEvent::Copied:
        if (in.DelaySeconds == 0) { // "Nunca": a countdown from an earlier copy has lost its text
            out.Next = Countdown{false, 0, now.Exiting, 0};
            out.StopTimer = now.Pending;
        } else {
            out.Next = Countdown{true, in.Sequence, now.Exiting, 0};
            out.StartTimerMs = in.DelaySeconds * 1000;
        }
        break;
    case ClearEvent::Due:
        if (now.Pending && in.Sequence == now.Sequence) {
            out.Empty = true; // the shell reports Cleared or Busy
        } else {
            finish(); // nothing pending, or the text was replaced: left alone
        }
        break;
    case ClearEvent::Cleared:
        finish();
        break;
    case ClearEvent::Busy:
        if (now.Pending && now.Retries + 1 < kBusyRetries) {
            out.Next.Retries = now.Retries + 1;
            out.StartTimerMs = kBusyRetryMs;
        } else {
            finish(); // held open for good: the process must not wait for ever
        }
        break;
    case ClearEvent::ClipboardChanged:
        if (now.Pending && in.Sequence != now.Sequence) {
            finish();
        }
        break;
    case ClearEvent::EndSession:
        // Once, at once: the session will not wait for a timer.
        out.Empty = now.Pending && in.Sequence == now.Sequence;
        out.Next = Countdown{false, now.Sequence, now.Exiting, 0};
        out.StopTimer = now.Pending;
        break;
    case ClearEvent::Exit:
        out.Next.Exiting = now.Pending;
        out.EndProcess = !now.Pending;
        break;
    }
    return out;
}

} // namespace zelvaran::output
