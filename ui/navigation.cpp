#include "ui/navigation.h"

#include <algorithm>

namespace zelvaran::ui {
namespace {

bool KeyDown(int key) noexcept {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool TabFrom(HWND form, const ControlSet& controls, HWND focus, bool forward) noexcept {
    const int current = IsOwnControl(form, focus) ? GetDlgCtrlID(focus) : 0;
    const auto next = NextTabStop(controls.Table(), current, forward, [&controls](int id) {
        HWND hwnd = controls.Get(id);
        return hwnd != nullptr && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd);
    });
    if (!next) {
        return false;
    }
    HWND target = controls.Get(*next);
    SetFocus(target);
    if ((SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        SendMessageW(target, EM_SETSEL, 0, -1); // as dialogs do when tabbing into a text box
    }
    return true;
}

bool EnterFrom(HWND form, const ControlSet& controls, HWND focus, int defaultButton) noexcept {
    if (!IsOwnControl(form, focus)) {
        return false;
    }
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    HWND button = defaultButton != 0 ? controls.Get(defaultButton) : nullptr;
    if (button == nullptr) {
        return false;
    }
    // The form's own click handling decides whether a disabled default button may act.
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(defaultButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return true;
}

// Windows hides focus rectangles (and access-key underlines) from a user whose last input was the
// mouse, and the dialog manager shows them again once a key moves the focus. The forms move the
// focus themselves, so they say so themselves; the form passes the change on to its controls.
void ShowKeyboardCues(HWND form, WORD cues) noexcept {
    SendMessageW(form, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
}

bool HasAccessKeys(std::span<const ControlSpec> table) noexcept {
    return std::ranges::any_of(table,
                               [](const ControlSpec& row) { return AccessKeyOf(row.Caption); });
}

bool CanFocus(HWND hwnd) noexcept {
    return hwnd != nullptr && IsWindow(hwnd) && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd);
}

// Alt+letter, acted on; see HandleAccessKey.
bool ActOnAccessKey(const MSG& msg, const ControlSet& controls) noexcept {
    // Alt held (bit 29) with a letter or digit, whose virtual-key code is its upper-case form.
    if (msg.message != WM_SYSKEYDOWN || (msg.lParam & (1 << 29)) == 0 ||
        !((msg.wParam >= 'A' && msg.wParam <= 'Z') || (msg.wParam >= '0' && msg.wParam <= '9'))) {
        return false;
    }
    const auto key = static_cast<wchar_t>(msg.wParam);
    const std::span<const ControlSpec> table = controls.Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        HWND hwnd = controls.Get(table[i].Id);
        if (AccessKeyOf(table[i].Caption) != key || !CanFocus(hwnd)) {
            continue;
        }
        switch (table[i].Kind) {
        case ControlKind::Label:
            for (std::size_t j = i + 1; j < table.size(); ++j) {
                HWND next = controls.Get(table[j].Id);
                if (TakesFocus(table[j].Kind) && CanFocus(next)) {
                    SetFocus(next);
                    if ((SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
                        SendMessageW(next, EM_SETSEL, 0, -1);
                    }
                    return true;
                }
            }
            return false;
        case ControlKind::CheckBox:
            SetFocus(hwnd);
            SendMessageW(hwnd, BM_CLICK, 0, 0);
            return true;
        case ControlKind::Button:
            SendMessageW(hwnd, BM_CLICK, 0, 0);
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace

bool IsOwnControl(HWND form, HWND hwnd) noexcept {
    return hwnd != nullptr && hwnd != form && GetAncestor(hwnd, GA_ROOT) == form;
}

void FocusKeeper::OnActivate(HWND form, const ControlSet& controls, bool active) noexcept {
    if (!active) {
        HWND focus = GetFocus();
        if (IsOwnControl(form, focus)) {
            last_ = focus;
        }
        return;
    }
    HWND target = CanFocus(last_) && IsOwnControl(form, last_) ? last_ : nullptr;
    if (target == nullptr) {
        const auto first = NextTabStop(controls.Table(), 0, true,
                                       [&controls](int id) { return CanFocus(controls.Get(id)); });
        target = first ? controls.Get(*first) : nullptr;
    }
    if (target != nullptr) {
        SetFocus(target);
    }
}

bool HandleNavigationKey(const MSG& msg, HWND form, const ControlSet& controls,
                         int defaultButton) noexcept {
    if (msg.message != WM_KEYDOWN || KeyDown(VK_MENU) || KeyDown(VK_CONTROL)) {
        return false;
    }
    const bool handled =
        (msg.wParam == VK_TAB && TabFrom(form, controls, GetFocus(), !KeyDown(VK_SHIFT))) ||
        (msg.wParam == VK_RETURN && EnterFrom(form, controls, GetFocus(), defaultButton));
    if (handled && IsWindow(form)) { // Enter may have closed the form
        ShowKeyboardCues(form, UISF_HIDEFOCUS);
    }
    return handled;
}

bool HandleAccessKey(const MSG& msg, const ControlSet& controls) noexcept {
    HWND form = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU && form != nullptr &&
        HasAccessKeys(controls.Table())) {
        ShowKeyboardCues(form, UISF_HIDEACCEL); // Alt alone: the underlines show, nothing else
        return false;
    }
    if (!ActOnAccessKey(msg, controls)) {
        return false;
    }
    if (IsWindow(form)) {
        ShowKeyboardCues(form, UISF_HIDEFOCUS | UISF_HIDEACCEL);
    }
    return true;
}

} // namespace zelvaran::ui
