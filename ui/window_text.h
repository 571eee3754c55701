#pragma once

#include <windows.h>

#include <string>

namespace zelvaran::ui {

// The whole text of a window or control into `text`, read straight into its buffer: the only
// copy, which the caller can wipe when the text is a secret.
void ReadWindowText(HWND hwnd, std::u16string& text);

[[nodiscard]] inline std::u16string ReadWindowText(HWND hwnd) {
    std::u16string text;
    ReadWindowText(hwnd, text);
    return text;
}

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
