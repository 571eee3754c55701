#include "about_helpers.h"

#include <commctrl.h>

#include <cwchar>

#include "about/form5.h"
#include "resources/resource_ids.h"

namespace zelvaran::testing {

void InitCommonControlsForTests() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    static_cast<void>(InitCommonControlsEx(&icc));
}

std::vector<HWND> AboutWindowsOfThisProcess() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            wchar_t name[64] = {};
            if (process == GetCurrentProcessId() && GetClassNameW(hwnd, name, 64) > 0 &&
                std::wcscmp(name, about::Form5::kClassName) == 0) {
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ToolTipOwnedBy(HWND owner) {
    struct Search {
        HWND Owner;
        HWND Found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            if (GetWindow(hwnd, GW_OWNER) == s->Owner && GetClassNameW(hwnd, name, 64) > 0 &&
                _wcsicmp(name, TOOLTIPS_CLASSW) == 0) {
                s->Found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_) {
        return;
    }
    old_ = SelectObject(dc_.get(), bitmap_.get());
    bits_ = static_cast<const std::uint32_t*>(bits);
}

Canvas::~Canvas() {
    if (dc_ && old_ != nullptr) {
        SelectObject(dc_.get(), old_);
    }
}

std::uint32_t Canvas::Pixel(int x, int y) const {
    GdiFlush();
    return bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)] &
           0xFFFFFFu;
}

bool LoadAboutPicture(Canvas& canvas) {
    ui::UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), BMP_ABOUT, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!picture || !canvas.Ok()) {
        return false;
    }
    HDC source = CreateCompatibleDC(canvas.Dc());
    if (source == nullptr) {
        return false;
    }
    HGDIOBJ old = SelectObject(source, picture.get());
    const bool copied =
        BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), source, 0, 0, SRCCOPY) != FALSE;
    SelectObject(source, old);
    DeleteDC(source);
    return copied;
}

std::uint32_t ToPixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

int Brightness(std::uint32_t pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
}

} // namespace zelvaran::testing
