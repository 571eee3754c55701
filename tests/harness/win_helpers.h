// Small helpers the window tests share: reading controls, the clipboard and pumping messages.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelvaran::testing {

[[nodiscard]] std::wstring TextOf(HWND hwnd);
[[nodiscard]] bool IsEnabled(HWND hwnd);
void Pump();
void Click(HWND button);
// The notification a click sends to the button's form, delivered whether or not the form is
// visible (a hidden window's button cannot be clicked).
void ClickNotification(HWND button);
void TypeChar(HWND hwnd, wchar_t c);

// Clipboard access from the test's side.
[[nodiscard]] bool SetClipboardText(const std::wstring& text);
[[nodiscard]] std::optional<std::wstring> ClipboardText();
[[nodiscard]] bool ClipboardHasFormat(const wchar_t* registeredName);
[[nodiscard]] std::optional<DWORD> ClipboardDword(const wchar_t* registeredName);
[[nodiscard]] int ClipboardFormatCount();

// A rectangle relative to the client area of the window's parent, in pixels.
[[nodiscard]] RECT RectInParent(HWND hwnd);

// A key-down for the focused control as the message loop sees it, offered to the forms first:
// whether they took it (their handling then done).
[[nodiscard]] bool PressKey(HWND focus, WPARAM key);
// Tab so: where the focus went, or nothing when the forms let the key through.
[[nodiscard]] HWND PressTab(HWND focus);

// The window moved to a monitor of `dpi`, with the rectangle Windows suggests for it.
void SendDpiChanged(HWND hwnd, UINT dpi, RECT suggested);

} // namespace zelvaran::testing
