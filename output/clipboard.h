#pragma once

#include <windows.h>

#include <string_view>

namespace zelvaran::output {

enum class ClipboardStatus {
    Placed,
    Busy,   // another program kept the clipboard open through every retry
    Failed, // the clipboard opened but refused the text
};

// Clears the clipboard and places `text` as its only text, marked so that Windows keeps it out
// of clipboard history, cloud sync and clipboard monitors. Retries for about half a second while
// another program holds the clipboard open. The copy handed over is the system's afterwards;
// every copy that stays ours is wiped before it is freed.
// When `sequence` is given and the text was placed, it receives the clipboard's sequence number
// that names the program's write (0 when the clipboard changed hands at once, or the system
// keeps no number).
[[nodiscard]] ClipboardStatus PlaceSecretText(HWND owner, std::wstring_view text,
                                              DWORD* sequence = nullptr) noexcept;

enum class EmptyOutcome {
    Emptied,
    Replaced, // the clipboard no longer holds that write: left alone
    Busy,     // another program kept the clipboard open through every retry
};

// Empties the clipboard only if it still holds the write whose sequence number is `sequence`,
// checked while the clipboard is open, so that nothing can come in between.
[[nodiscard]] EmptyOutcome EmptyIfStill(HWND owner, DWORD sequence) noexcept;

// The names of the registered formats that carry the exclusion marks.
inline constexpr const wchar_t* kExcludeFromMonitoring =
    L"ExcludeClipboardContentFromMonitorProcessing";
inline constexpr const wchar_t* kCanIncludeInHistory = L"CanIncludeInClipboardHistory";
inline constexpr const wchar_t* kCanUploadToCloud = L"CanUploadToCloudClipboard";
inline constexpr const wchar_t* kViewerIgnore = L"Clipboard Viewer Ignore";

} // namespace zelvaran::output
