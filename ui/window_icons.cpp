#include "ui/window_icons.h"

namespace zelvaran::ui {

UniqueIcon LoadIconForDpi(int id, int metric, int dpi) noexcept {
    const int size = GetSystemMetricsForDpi(metric, static_cast<UINT>(dpi));
    return UniqueIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void WindowIcons::Set(HWND window, int id, int dpi) noexcept {
    if (id != id_ || dpi != dpi_ || !big_ || !small_) {
        UniqueIcon big = LoadIconForDpi(id, SM_CXICON, dpi);
        UniqueIcon small = LoadIconForDpi(id, SM_CXSMICON, dpi);
        if (!big || !small) {
            return; // keep the icons the window has rather than show none
        }
        // The window drops the old pair with these messages, so it may be freed then.
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
        big_ = std::move(big);
        small_ = std::move(small);
        id_ = id;
        dpi_ = dpi;
        return;
    }
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
}

} // namespace zelvaran::ui
