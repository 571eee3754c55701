#include "about/backdrop.h"

#include "ui/gdi.h"

namespace zelvaran::about {
namespace {

// Where the picture is missing: the deep blue its gradient ends in.
constexpr COLORREF kFallbackFill = RGB(12, 32, 84);

void Fill(HDC dc, const RECT& area, COLORREF colour) noexcept {
    UniqueBrush brush(CreateSolidBrush(colour));
    if (brush) {
        FillRect(dc, &area, brush.get());
    }
}

} // namespace

ui::UniqueBitmap ComposeBackdrop(HWND window, HBITMAP picture, SIZE size) noexcept {
    if (size.cx <= 0 || size.cy <= 0) {
        return {};
    }
    ui::WindowDc screen(window);
    if (screen.get() == nullptr) {
        return {};
    }
    ui::UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!canvas) {
        return {};
    }
    {
        ui::MemoryDc target(screen.get(), canvas.get());
        if (!target.ok()) {
            return {};
        }
        BITMAP bitmap{};
        if (picture == nullptr || GetObjectW(picture, sizeof(bitmap), &bitmap) == 0) {
            Fill(target.get(), {0, 0, size.cx, size.cy}, kFallbackFill);
        } else {
            ui::MemoryDc source(screen.get(), picture);
            if (!source.ok()) {
                return {};
            }
            // At its own pixel size from the top-left corner, whatever the DPI.
            const int w = bitmap.bmWidth;
            const int h = bitmap.bmHeight;
            BitBlt(target.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
            // Where a larger DPI leaves client area uncovered, the picture's edges carry on, so
            // the gradient ends without a seam: its last column to the right, its last row
            // below, and its corner pixel in the corner.
            if (size.cx > w) {
                StretchBlt(target.get(), w, 0, size.cx - w, h, source.get(), w - 1, 0, 1, h,
                           SRCCOPY);
            }
            if (size.cy > h) {
                StretchBlt(target.get(), 0, h, w, size.cy - h, source.get(), 0, h - 1, w, 1,
                           SRCCOPY);
            }
            if (size.cx > w && size.cy > h) {
                const COLORREF corner = GetPixel(source.get(), w - 1, h - 1);
                Fill(target.get(), {w, h, size.cx, size.cy},
                     corner != CLR_INVALID ? corner : kFallbackFill);
            }
        }
    }
    return canvas;
}

void PaintBackdrop(HDC dc, HBITMAP backdrop, const RECT& area) noexcept {
    if (backdrop != nullptr) {
        ui::MemoryDc source(dc, backdrop);
        if (source.ok() &&
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   source.get(), area.left, area.top, SRCCOPY)) {
            return;
        }
    }
    Fill(dc, area, kFallbackFill);
}

} // namespace zelvaran::about
