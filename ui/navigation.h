// Dialog-style keyboard navigation for the forms, driven by their layout tables: Tab and
// Shift+Tab follow the tab indices across frames, Enter clicks the focused push button or else
// the form's default button.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace zelvaran::ui {

// Returns true when the message was a navigation key and has been handled. defaultButton is a
// control id, or 0 for a form without one.
[[nodiscard]] bool HandleNavigationKey(const MSG& msg, HWND form, const ControlSet& controls,
                                       int defaultButton) noexcept;

} // namespace zelvaran::ui
