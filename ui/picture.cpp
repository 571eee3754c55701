#include "ui/picture.h"

#include <new>

#include "ui/gdi.h"
#include "ui/png_decode.h"

namespace zelvaran::ui {

UniqueBitmap LoadPicture(const wchar_t* name) noexcept {
    HMODULE exe = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(exe, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    // A resource lives as long as its module; there is nothing to free.
    const void* data = found != nullptr ? LockResource(LoadResource(exe, found)) : nullptr;
    const DWORD size = found != nullptr ? SizeofResource(exe, found) : 0;
    if (data == nullptr || size == 0) {
        return {};
    }
    try {
        const auto picture = DecodePng({static_cast<const std::uint8_t*>(data), size});
        if (!picture) {
            return {};
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = picture->Width;
        info.bmiHeader.biHeight = -picture->Height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const WindowDc screen(nullptr);
        if (screen.get() == nullptr) {
            return {};
        }
        // A bitmap of the screen's own format, as LoadImage makes of a bitmap resource.
        UniqueBitmap bitmap(CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT,
                                           picture->Bgrx.data(), &info, DIB_RGB_COLORS));
        return bitmap;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace zelvaran::ui
