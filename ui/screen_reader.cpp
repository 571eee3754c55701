#include "ui/screen_reader.h"

#include <commctrl.h>

#include <string>

namespace zelvaran::ui {

bool AddHiddenLabels(const ControlSet& controls, std::span<const HiddenLabel> labels) noexcept {
    for (const HiddenLabel& label : labels) {
        HWND box = controls.Get(label.For);
        if (box == nullptr) {
            return false;
        }
        HWND hwnd = nullptr;
        try {
            const std::wstring text(label.Text);
            // No WS_VISIBLE, no WS_TABSTOP and no size: nothing a sighted user could meet.
            hwnd = CreateWindowExW(0, WC_STATICW, text.c_str(), WS_CHILD | SS_LEFT, 0, 0, 0, 0,
                                   GetParent(box), nullptr, GetModuleHandleW(nullptr), nullptr);
        } catch (...) {
            return false; // out of memory for a short text
        }
        if (hwnd == nullptr) {
            return false;
        }
        // A new child goes last; the label must come right before its box. With nothing before
        // the box, the label goes first.
        HWND before = GetWindow(box, GW_HWNDPREV);
        if (!SetWindowPos(hwnd, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE)) {
            return false;
        }
    }
    return true;
}

void AnnounceValueChange(HWND box) noexcept {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, box, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace zelvaran::ui
