#include "about/backdrop.h"

namespace zelvaran::about {
namespace {

// Where the picture is missing: the deep blue its gradient ends in.
constexpr COLORREF kFallbackFill = RGB(12, 32, 84);

// A window's device context, released when done.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

struct MemoryDcTraits {
    using Handle = HDC;
    static void Close(Handle h) noexcept { DeleteDC(h); }
};

// A memory device context holding one selected object; the original is put back before the
// context goes, so the object can be freed or made into a brush afterwards.
class MemoryDc {
public:
    MemoryDc(HDC compatibleWith, HGDIOBJ selected) noexcept
        : dc_(CreateCompatibleDC(compatibleWith)) {
        if (dc_) {
            old_ = SelectObject(dc_.get(), selected);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (ok()) {
            SelectObject(dc_.get(), old_);
        }
    }
    // False when the context could not be made or the object not selected into it.
    [[nodiscard]] bool ok() const noexcept { return dc_ && old_ != nullptr && old_ != HGDI_ERROR; }
    [[nodiscard]] HDC get() const noexcept { return dc_.get(); }

private:
    ui::UniqueHandle<MemoryDcTraits> dc_;
    HGDIOBJ old_ = nullptr;
};

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
    WindowDc screen(window);
    if (screen.get() == nullptr) {
        return {};
    }
    ui::UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!canvas) {
        return {};
    }
    {
        MemoryDc target(screen.get(), canvas.get());
        if (!target.ok()) {
            return {};
        }
        BITMAP bitmap{};
        if (picture == nullptr || GetObjectW(picture, sizeof(bitmap), &bitmap) == 0) {
            Fill(target.get(), {0, 0, size.cx, size.cy}, kFallbackFill);
        } else {
            MemoryDc source(screen.get(), picture);
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
        MemoryDc source(dc, backdrop);
        if (source.ok() &&
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   source.get(), area.left, area.top, SRCCOPY)) {
            return;
        }
    }
    Fill(dc, area, kFallbackFill);
}

} // namespace zelvaran::about
