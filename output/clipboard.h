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
[[nodiscard]] ClipboardStatus PlaceSecretText(HWND owner, std::wstring_view text) noexcept;

// The names of the registered formats that carry the exclusion marks.
inline constexpr const wchar_t* kExcludeFromMonitoring =
    L"ExcludeClipboardContentFromMonitorProcessing";
inline constexpr const wchar_t* kCanIncludeInHistory = L"CanIncludeInClipboardHistory";
inline constexpr const wchar_t* kCanUploadToCloud = L"CanUploadToCloudClipboard";
inline constexpr const wchar_t* kViewerIgnore = L"Clipboard Viewer Ignore";

} // namespace zelvaran::output
