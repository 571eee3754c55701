#include "ui/window_text.h"

namespace zelvaran::ui {

void ReadWindowText(HWND hwnd, std::u16string& text) {
    text.clear();
    const int length = GetWindowTextLengthW(hwnd);
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        const int read = GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), length + 1);
        text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    }
}

namespace {

// The edit control rewrites its buffer in place when the new text fits.
void OverwriteWithBlanks(HWND hwnd) noexcept {
    try {
        const int length = GetWindowTextLengthW(hwnd);
        if (length > 0) {
            const std::wstring blanks(static_cast<std::size_t>(length), L' ');
            SetWindowTextW(hwnd, blanks.c_str());
        }
    } catch (...) {
        // No memory for the blanks: the caller's next set still replaces the text.
    }
}

} // namespace

void WipeWindowText(HWND hwnd) noexcept {
    OverwriteWithBlanks(hwnd);
    SetWindowTextW(hwnd, L"");
}

void ReplaceSecretWindowText(HWND hwnd, const char16_t* text) noexcept {
    // Blanks over the old text, then the new text: each set measures the whole line again, so
    // the emptying step of WipeWindowText is left out here.
    OverwriteWithBlanks(hwnd);
    SetWindowTextW(hwnd, AsWide(text));
}

} // namespace zelvaran::ui
