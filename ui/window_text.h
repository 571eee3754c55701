#pragma once

#include <windows.h>

#include <string>

namespace zelvaran::ui {

// The whole text of a window or control.
[[nodiscard]] std::u16string ReadWindowText(HWND hwnd);

// Empties a text box after overwriting its text in place, so no copy of a secret stays in the
// control's buffer.
void WipeWindowText(HWND hwnd) noexcept;

// Replaces a text box's text, wiping the old text first.
void ReplaceSecretWindowText(HWND hwnd, const char16_t* text) noexcept;

[[nodiscard]] inline const wchar_t* AsWide(const char16_t* text) noexcept {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");
    return reinterpret_cast<const wchar_t*>(text);
}

} // namespace zelvaran::ui
