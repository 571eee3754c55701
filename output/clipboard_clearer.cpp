#include "output/clipboard_clearer.h"

#include "output/clipboard.h"
#include "ui/platform.h"

namespace zelvaran::output {

void ClipboardClearer::Attach(HWND window) noexcept {
    window_ = window;
    // Without it a replaced text is found when the countdown ends, which decides the same, only
    // later.
    listening_ = AddClipboardFormatListener(window) != FALSE;
}

void ClipboardClearer::Detach() noexcept {
    if (listening_) {
        static_cast<void>(RemoveClipboardFormatListener(window_));
        listening_ = false;
    }
    if (window_ != nullptr) {
        static_cast<void>(KillTimer(window_, kTimerId));
    }
    window_ = nullptr;
}

void ClipboardClearer::Copied(DWORD sequence) noexcept {
    // A write the system gave no number cannot be told from a later one: nothing is emptied.
    Step({ClearEvent::Copied, sequence, sequence != 0 ? delay_ : 0});
}

void ClipboardClearer::OnTimer() noexcept {
    Step({ClearEvent::Due, GetClipboardSequenceNumber()});
}

void ClipboardClearer::OnClipboardUpdate() noexcept {
    Step({ClearEvent::ClipboardChanged, GetClipboardSequenceNumber()});
}

void ClipboardClearer::OnEndSession() noexcept {
    Step({ClearEvent::EndSession, GetClipboardSequenceNumber()});
}

bool ClipboardClearer::HoldExit() noexcept {
    const ClearActions actions = DecideClear(state_, {ClearEvent::Exit});
    state_ = actions.Next;
    return !actions.EndProcess;
}

void ClipboardClearer::Step(const ClearInput& input) noexcept {
    ClearActions actions = DecideClear(state_, input);
    for (;;) {
        state_ = actions.Next;
        if (window_ != nullptr && actions.StopTimer) {
            static_cast<void>(KillTimer(window_, kTimerId));
        }
        if (window_ != nullptr && actions.StartTimerMs != 0) {
            // Without a timer the text stays until the program ends or something replaces it.
            static_cast<void>(SetTimer(window_, kTimerId, actions.StartTimerMs, nullptr));
        }
        if (!actions.Empty) {
            break;
        }
        const bool busy = EmptyIfStill(window_, state_.Sequence) == EmptyOutcome::Busy;
        actions = DecideClear(state_, {busy ? ClearEvent::Busy : ClearEvent::Cleared});
    }
    if (actions.EndProcess) {
        ui::CurrentPlatform().EndProcess(0);
    }
}

} // namespace zelvaran::output
