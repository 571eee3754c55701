#include "win_helpers.h"

#include "ui/window.h"

namespace zelvaran::testing {

std::wstring TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(read > 0 ? read : 0));
    return text;
}

bool IsEnabled(HWND hwnd) {
    return IsWindowEnabled(hwnd) != FALSE;
}

void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
}

void ClickNotification(HWND button) {
    SendMessageW(GetAncestor(button, GA_ROOT), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void TypeChar(HWND hwnd, wchar_t c) {
    SendMessageW(hwnd, WM_CHAR, c, 1);
    Pump();
}

bool SetClipboardText(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (memory != nullptr) {
        if (void* p = GlobalLock(memory)) {
            memcpy(p, text.c_str(), bytes);
            GlobalUnlock(memory);
            ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!ok) {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    return ok;
}

std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool ClipboardHasFormat(const wchar_t* registeredName) {
    return IsClipboardFormatAvailable(RegisterClipboardFormatW(registeredName)) != FALSE;
}

std::optional<DWORD> ClipboardDword(const wchar_t* registeredName) {
    if (!OpenClipboard(nullptr)) {
        return std::nullopt;
    }
    std::optional<DWORD> value;
    if (HANDLE data = GetClipboardData(RegisterClipboardFormatW(registeredName))) {
        if (GlobalSize(data) >= sizeof(DWORD)) {
            if (const auto* p = static_cast<const DWORD*>(GlobalLock(data))) {
                value = *p;
                GlobalUnlock(data);
            }
        }
    }
    CloseClipboard();
    return value;
}

int ClipboardFormatCount() {
    return CountClipboardFormats();
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool PressKey(HWND focus, WPARAM key) {
    MSG msg{};
    msg.hwnd = focus;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    if (!ui::PreTranslateForForms(msg)) {
        return false;
    }
    Pump();
    return true;
}

HWND PressTab(HWND focus) {
    return PressKey(focus, VK_TAB) ? GetFocus() : nullptr;
}

void SendDpiChanged(HWND hwnd, UINT dpi, RECT suggested) {
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

} // namespace zelvaran::testing
