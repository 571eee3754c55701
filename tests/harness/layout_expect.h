// The check every window's layout test makes: each control of its table is a child of its
// container, at the table's rectangle for a DPI.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <ostream>
#include <span>
#include <string>

#include "ui/layout.h"
#include "ui/window.h"
#include "win_helpers.h"

namespace zelvaran::ui {

// How a rectangle reads in a failed comparison.
inline void PrintTo(const PixelRect& r, std::ostream* out) {
    *out << "{" << r.Left << ", " << r.Top << ", " << r.Width << " x " << r.Height << "}";
}

} // namespace zelvaran::ui

namespace zelvaran::testing {

// A control's left, top, width and height in its parent's client area, in pixels.
[[nodiscard]] inline ui::PixelRect PixelsInParent(HWND hwnd) {
    const RECT r = RectInParent(hwnd);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The width a row's control should have, where the form may let it differ from the table's.
using WidthRule = std::function<int(const ui::ControlSpec& row, HWND control,
                                    const ui::PixelRect& want, int dpi)>;

inline void ExpectPlacedAsInTable(const ui::Form& form, std::span<const ui::ControlSpec> table,
                                  int dpi, const WidthRule& width = {}) {
    for (const ui::ControlSpec& row : table) {
        SCOPED_TRACE(std::string(row.Name.begin(), row.Name.end()));
        HWND control = form.Control(row.Id);
        ASSERT_NE(control, nullptr);
        HWND container = row.Container == ui::kWindow ? form.Handle() : form.Control(row.Container);
        EXPECT_EQ(GetParent(control), container);
        ui::PixelRect want = ui::ToPixels(row.Rect, dpi);
        if (width) {
            want.Width = width(row, control, want, dpi);
        }
        EXPECT_EQ(PixelsInParent(control), want);
    }
}

} // namespace zelvaran::testing
