#include "output/output_actions.h"

#include <string>

#include "generator/secret_text.h"
#include "output/clipboard.h"
#include "resources/product.h"
#include "ui/platform.h"
#include "ui/window_text.h"

namespace zelvaran::output {
namespace {

// The text of txtPassword, read into a buffer that is wiped when it goes.
class WindowTextCopy {
public:
    explicit WindowTextCopy(HWND hwnd) { ui::ReadWindowText(hwnd, text_.Buffer()); }
    [[nodiscard]] std::wstring_view View() const noexcept {
        return {ui::AsWide(text_.CStr()), text_.Size()};
    }

private:
    SecretText text_;
};

} // namespace

bool RunOutputAction(OutputAction action, const OutputControls& controls) noexcept {
    ClipboardStatus status = ClipboardStatus::Failed;
    DWORD sequence = 0;
    try {
        const WindowTextCopy text(controls.Password);
        status = PlaceSecretText(controls.Owner, text.View(), &sequence);
    } catch (...) {
        status = ClipboardStatus::Failed; // out of memory reading the box: nothing was placed
    }
    if (status != ClipboardStatus::Placed) {
        static_cast<void>(ui::ShowProgramMessage(
            controls.Owner,
            status == ClipboardStatus::Busy ? kClipboardBusyText : kClipboardFailedText,
            kErrorTitle, MB_OK | MB_ICONSTOP));
        return false;
    }
    // The countdown runs from the write, not from the confirmation's dismissal.
    if (controls.Clearer != nullptr) {
        controls.Clearer->Copied(sequence);
    }
    if (action != OutputAction::Copy) {
        ui::WipeWindowText(controls.Password);
    }
    EnableWindow(controls.Copy, FALSE);
    EnableWindow(controls.Cut, FALSE);
    EnableWindow(controls.CutAndExit, FALSE);
    // The box only confirms; which button closed it does not matter.
    static_cast<void>(ui::ShowProgramMessage(
        controls.Owner, action == OutputAction::Copy ? kCopiedText : kCutText, kConfirmTitle,
        MB_OK | MB_ICONINFORMATION | MB_APPLMODAL));
    return true;
}

} // namespace zelvaran::output
