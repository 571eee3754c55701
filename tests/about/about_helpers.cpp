#include "about_helpers.h"

#include <commctrl.h>

#include <cwchar>

#include "about/form5.h"
#include "resources/resource_ids.h"
#include "ui/picture.h"

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

namespace {

// A 32-bit top-down section of `width` x `height`; `bits` receives its pixels.
HBITMAP CreateSection(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), bitmap_(CreateSection(width, height, &bits_)),
      dc_(nullptr, bitmap_.get()) {}

std::uint32_t Canvas::Pixel(int x, int y) const {
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits_);
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)] &
           0xFFFFFFu;
}

bool LoadAboutPicture(Canvas& canvas) {
    ui::UniqueBitmap picture = ui::LoadPicture(BMP_ABOUT);
    if (!picture || !canvas.Ok()) {
        return false;
    }
    const ui::MemoryDc source(canvas.Dc(), picture.get());
    return source.ok() && BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), source.get(),
                                 0, 0, SRCCOPY) != FALSE;
}

std::uint32_t ToPixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

int Brightness(std::uint32_t pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
}

} // namespace zelvaran::testing
