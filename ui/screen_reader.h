// What screen readers need beyond what the windows show: names for the boxes that have no visible
// label, and word that a box's value has changed.
#pragma once

#include <windows.h>

#include <span>

#include "ui/controls.h"
#include "ui/layout.h"

namespace zelvaran::ui {

// Gives each box its hidden label: a static control that is never shown and takes no focus,
// created inside the box's own container and placed immediately before the box in the z-order,
// the technique Windows documents for controls without a visible label. Nothing on screen, no
// position and no tab stop changes. False when a box is missing or a label could not be made.
[[nodiscard]] bool AddHiddenLabels(const ControlSet& controls,
                                   std::span<const HiddenLabel> labels) noexcept;

// Tells screen readers that follow the box that its value changed, so they read it again if
// they wish. Nothing is spoken by the program itself.
void AnnounceValueChange(HWND box) noexcept;

} // namespace zelvaran::ui
