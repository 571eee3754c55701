// Dialog-style keyboard navigation for the forms, driven by their layout tables: Tab and
// Shift+Tab follow the tab indices across frames, Enter clicks the focused push button or else
// the form's default button.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace zelvaran::ui {

// Returns true when the message was a navigation key and has been handled. defaultButton is a
// control id, or 0 for a form without one. A handled key clears the form's "hide focus" state
// (WM_CHANGEUISTATE), as the dialog manager does, so the focus rectangle shows.
[[nodiscard]] bool HandleNavigationKey(const MSG& msg, HWND form, const ControlSet& controls,
                                       int defaultButton) noexcept;

// Alt+letter: the control whose caption marks that access key acts as in a dialog. A label
// gives the focus to the next control after it in the table that can take it (the box it names),
// a check box is focused and clicked, a push button clicked. True when one did; the form's focus
// rectangle and access-key underlines then show. Alt alone, in a form with access keys, shows the
// underlines and is left to the system.
[[nodiscard]] bool HandleAccessKey(const MSG& msg, const ControlSet& controls) noexcept;

// Whether hwnd is a control somewhere inside the form (frames included), not the form itself.
[[nodiscard]] bool IsOwnControl(HWND form, HWND hwnd) noexcept;

// Keeps a form's focus across deactivation, as dialogs do: the focused control is remembered when
// the form goes inactive and gets the focus back when it returns; failing that, the first control
// in tab order that can take it does.
class FocusKeeper {
public:
    void OnActivate(HWND form, const ControlSet& controls, bool active) noexcept;
    void Remember(HWND control) noexcept { last_ = control; }
    [[nodiscard]] HWND Last() const noexcept { return last_; }

private:
    HWND last_ = nullptr;
};

} // namespace zelvaran::ui
