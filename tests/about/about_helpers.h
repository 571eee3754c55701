// What the About tests look at from outside the dialog: its top-level windows, its tooltip and
// its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/gdi.h"
#include "ui/handles.h"

namespace zelvaran::testing {

void InitCommonControlsForTests();

// Top-level windows of the About dialog's class that belong to this process, hidden ones too.
[[nodiscard]] std::vector<HWND> AboutWindowsOfThisProcess();
[[nodiscard]] inline int CountAboutWindows() {
    return static_cast<int>(AboutWindowsOfThisProcess().size());
}

// The tooltip window owned by `owner`, or null.
[[nodiscard]] HWND ToolTipOwnedBy(HWND owner);

// A 32-bit top-down bitmap selected into a memory context, to paint into and read back.
class Canvas {
public:
    Canvas(int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    [[nodiscard]] bool Ok() const { return dc_.ok() && bits_ != nullptr; }
    [[nodiscard]] HDC Dc() const { return dc_.get(); }
    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    // 0x00RRGGBB.
    [[nodiscard]] std::uint32_t Pixel(int x, int y) const;

private:
    int width_;
    int height_;
    void* bits_ = nullptr;
    ui::UniqueBitmap bitmap_; // declared first: freed after the context that holds it
    ui::MemoryDc dc_;
};

// The program's ABOUTBG picture as it reads back from a canvas of its own size.
[[nodiscard]] bool LoadAboutPicture(Canvas& canvas);

[[nodiscard]] std::uint32_t ToPixel(COLORREF colour);
[[nodiscard]] int Brightness(std::uint32_t pixel); // 0 to 255, the mean of the three channels

} // namespace zelvaran::testing
