#include "output/clipboard.h"

#include <cstring>

#include "generator/secret_text.h"
#include "ui/handles.h"

namespace zelvaran::output {
namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kRetryPauseMs = 50;

// Open clipboard for the length of one write; CloseClipboard is the only way to release it.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) noexcept {
        for (int i = 0; i < kOpenTries && !open_; ++i) {
            if (i > 0) {
                Sleep(kRetryPauseMs);
            }
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() {
        if (open_) {
            CloseClipboard();
        }
    }
    [[nodiscard]] bool IsOpen() const noexcept { return open_; }

private:
    bool open_ = false;
};

// Global memory whose content is wiped if it is still ours when it is freed.
class SecretGlobal {
public:
    explicit SecretGlobal(SIZE_T bytes) noexcept
        : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)), bytes_(bytes) {}
    SecretGlobal(const SecretGlobal&) = delete;
    SecretGlobal& operator=(const SecretGlobal&) = delete;
    ~SecretGlobal() {
        if (memory_) {
            if (void* p = GlobalLock(memory_.get())) {
                SecureWipe(p, bytes_);
                GlobalUnlock(memory_.get());
            }
        }
    }
    [[nodiscard]] bool Fill(const void* data, SIZE_T bytes) noexcept {
        void* p = memory_ ? GlobalLock(memory_.get()) : nullptr;
        if (p == nullptr || bytes > bytes_) {
            return false;
        }
        std::memcpy(p, data, bytes);
        // GlobalUnlock reports "no longer locked" as a zero result; nothing to act on.
        static_cast<void>(GlobalUnlock(memory_.get()));
        return true;
    }
    [[nodiscard]] HGLOBAL Get() const noexcept { return memory_.get(); }
    void HandOver() noexcept { static_cast<void>(memory_.release()); }

private:
    ui::UniqueGlobal memory_;
    SIZE_T bytes_;
};

[[nodiscard]] bool PlaceMark(const wchar_t* formatName) noexcept {
    const UINT format = RegisterClipboardFormatW(formatName);
    if (format == 0) {
        return false;
    }
    const DWORD zero =
        0; // "not allowed" for the history and cloud formats; any data for the others
    SecretGlobal data(sizeof(zero));
    if (!data.Fill(&zero, sizeof(zero)) || SetClipboardData(format, data.Get()) == nullptr) {
        return false;
    }
    data.HandOver();
    return true;
}

ClipboardStatus PlaceWhileOpen(HWND owner, std::wstring_view text) noexcept {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    SecretGlobal global(bytes);
    if (global.Get() == nullptr) {
        return ClipboardStatus::Failed;
    }
    {
        void* p = GlobalLock(global.Get());
        if (p == nullptr) {
            return ClipboardStatus::Failed;
        }
        std::memcpy(p, text.data(), text.size() * sizeof(wchar_t));
        static_cast<wchar_t*>(p)[text.size()] = L'\0';
        static_cast<void>(GlobalUnlock(global.Get()));
    }

    ClipboardSession session(owner);
    if (!session.IsOpen()) {
        return ClipboardStatus::Busy;
    }
    if (!EmptyClipboard()) {
        return ClipboardStatus::Failed;
    }
    // Listeners hear of the change only when the session closes, so they never see the text
    // without its marks.
    const bool marked = PlaceMark(kExcludeFromMonitoring) && PlaceMark(kCanIncludeInHistory) &&
                        PlaceMark(kCanUploadToCloud) && PlaceMark(kViewerIgnore);
    if (!marked || SetClipboardData(CF_UNICODETEXT, global.Get()) == nullptr) {
        // Leave nothing half-written behind: an unmarked or partial clipboard is worse than none.
        static_cast<void>(EmptyClipboard());
        return ClipboardStatus::Failed;
    }
    global.HandOver();
    return ClipboardStatus::Placed;
}

} // namespace

ClipboardStatus PlaceSecretText(HWND owner, std::wstring_view text, DWORD* sequence) noexcept {
    const ClipboardStatus status = PlaceWhileOpen(owner, text);
    if (status == ClipboardStatus::Placed && sequence != nullptr) {
        // Read once the session is closed, which may count as a change of its own. A program
        // that took the clipboard in between is its owner now, and its text is not ours to
        // empty.
        const DWORD number = GetClipboardSequenceNumber();
        *sequence = GetClipboardOwner() == owner ? number : 0;
    }
    return status;
}

EmptyOutcome EmptyIfStill(HWND owner, DWORD sequence) noexcept {
    const ClipboardSession session(owner);
    if (!session.IsOpen()) {
        return EmptyOutcome::Busy;
    }
    if (sequence == 0 || GetClipboardSequenceNumber() != sequence) {
        return EmptyOutcome::Replaced;
    }
    // A failure here leaves the text where it was, as a replaced clipboard would.
    return EmptyClipboard() ? EmptyOutcome::Emptied : EmptyOutcome::Replaced;
}

} // namespace zelvaran::output
