// The program's pictures: PNG files stored as RCDATA resources of the exe.
#pragma once

#include <windows.h>

#include "ui/handles.h"

namespace zelvaran::ui {

// The named picture as a bitmap for the screen, pixel for pixel; empty if it is missing, damaged
// or memory runs out.
[[nodiscard]] UniqueBitmap LoadPicture(const wchar_t* name) noexcept;

} // namespace zelvaran::ui
