// The About dialog's background: its picture at its own pixel size from the top-left corner,
// composed once per client size so that painting and the transparent labels copy from one bitmap.
#pragma once

#include <windows.h>

#include "ui/handles.h"

namespace zelvaran::about {

using ui::UniqueBrush;

// A bitmap of `size` pixels, compatible with `window`'s screen, holding `picture` from the
// top-left corner with its edges carried on beyond it. Without a picture it is a plain dark blue.
[[nodiscard]] ui::UniqueBitmap ComposeBackdrop(HWND window, HBITMAP picture, SIZE size) noexcept;

// Copies `area` of `backdrop` to the same place on `dc`; fills it plainly when there is none.
void PaintBackdrop(HDC dc, HBITMAP backdrop, const RECT& area) noexcept;

} // namespace zelvaran::about
