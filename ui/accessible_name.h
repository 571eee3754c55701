// What a screen reader calls a control, where the rule that names a control after its caption or
// its label would give the wrong word (a button showing "X"), or none at all (a picture).
#pragma once

#include <windows.h>

namespace zelvaran::ui {

// Names the control `name` for screen readers: by Dynamic Annotation (through the platform seam),
// taken off again as the control is destroyed. Where annotation fails (Wine), the control instead
// answers a screen reader's request for its accessible object (WM_GETOBJECT) with the system's
// standard object for it, whose name alone is `name`: role, state, actions and position stay the
// system's. `name` must outlive the control (a literal or a table's text). False when the control
// could not be subclassed.
[[nodiscard]] bool SetAccessibleName(HWND control, const wchar_t* name) noexcept;

} // namespace zelvaran::ui
