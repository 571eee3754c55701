// Check boxes whose caption would be cut short grow to the right, into free space only.
#pragma once

#include <windows.h>

#include <span>

#include "ui/controls.h"
#include "ui/layout.h"

namespace zelvaran::config {

// Free space kept between a grown control and its neighbour or its container's edge.
inline constexpr int kFitMarginTwips = 60;

// The right edge, in twips of its container, that a control may grow to: short of the nearest
// control to its right at the same height in the same container, or of the container's edge.
[[nodiscard]] int RightLimitTwips(std::span<const ui::ControlSpec> table,
                                  const ui::ControlSpec& row, int windowWidthTwips) noexcept;

// The table's widths fit the captions in the fonts Windows ships. A wider font standing in for
// them (Wine's Tahoma, a user's font substitution, rounding at another DPI) would cut "Siempre al
// Frente" short, so a check box whose caption does not fit is widened as far as the free space
// allows; its position and height stay as in the table.
void WidenCheckBoxesToFitCaptions(const ui::ControlSet& controls, int windowWidthTwips,
                                  int dpi) noexcept;

// The width a check box needs to show its caption whole, in pixels.
[[nodiscard]] int CheckBoxCaptionWidth(HWND box, int dpi) noexcept;

} // namespace zelvaran::config
