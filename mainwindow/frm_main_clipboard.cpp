// frmMain's "Vaciar el portapapeles": the choice in the system menu, kept per user, and the way
// out that leaves the process behind, with no window and no icon, until the clipboard is emptied.
#include "mainwindow/frm_main.h"

#include <iterator>
#include <string>

#include "config/settings_store.h"
#include "output/clear_logic.h"
#include "resources/product.h"
#include "ui/platform.h"

namespace zelvaran::mainwindow {
namespace {

constexpr const wchar_t* kClearMenuCaption = L"Vaciar el portapapeles";

// In menu order, which is that of output::kClearDelays.
constexpr const wchar_t* kClearCaptions[] = {
    L"Nunca", L"A los 10 segundos", L"A los 30 segundos", L"Al minuto", L"A los 5 minutos",
};

static_assert(std::size(kClearCaptions) == output::kClearDelays.size());
static_assert(frmMain::kSysClearItems.size() == output::kClearDelays.size());

// A stored text that names no choice counts as "Nunca" and is left as it is.
std::size_t StoredClearChoice() noexcept {
    try {
        const std::wstring text = config::GetSetting(config::kAppName, config::kSection,
                                                     config::kKeyVaciarPortapapeles, L"0");
        const auto delay = output::ParseClearDelay(text).value_or(0);
        for (std::size_t i = 0; i < output::kClearDelays.size(); ++i) {
            if (output::kClearDelays[i] == delay) {
                return i;
            }
        }
    } catch (...) {
        // Out of memory reading a short text: "Nunca".
    }
    return 0;
}

BOOL CALLBACK HideOne(HWND hwnd, LPARAM) noexcept {
    ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

} // namespace

bool frmMain::AddClearingToSystemMenu() noexcept {
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    ui::UniqueMenu popup(CreatePopupMenu());
    if (system == nullptr || !popup) {
        return false;
    }
    for (std::size_t i = 0; i < kSysClearItems.size(); ++i) {
        if (!AppendMenuW(popup.get(), MF_STRING, kSysClearItems[i], kClearCaptions[i])) {
            return false;
        }
    }
    const std::size_t choice = StoredClearChoice();
    clearer_.SetDelay(output::kClearDelays[choice]);
    static_cast<void>(CheckMenuRadioItem(popup.get(), kSysClearItems.front(), kSysClearItems.back(),
                                         kSysClearItems[choice], MF_BYCOMMAND));
    if (!AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()),
                     kClearMenuCaption)) {
        return false;
    }
    clearMenu_ = popup.release(); // the system menu owns it now
    return true;
}

bool frmMain::OnClearCommand(UINT command) noexcept {
    std::size_t choice = 0;
    while (choice < kSysClearItems.size() && kSysClearItems[choice] != command) {
        ++choice;
    }
    if (choice == kSysClearItems.size()) {
        return false;
    }
    const std::uint32_t delay = output::kClearDelays[choice];
    const LSTATUS status =
        config::SaveSetting(config::kAppName, config::kSection, config::kKeyVaciarPortapapeles,
                            std::to_wstring(delay).c_str());
    if (status != ERROR_SUCCESS) {
        ReportNotSaved(kClearMenuCaption, status);
        return true;
    }
    clearer_.SetDelay(delay);
    // The mark only shows the choice, which is already stored and in use.
    static_cast<void>(CheckMenuRadioItem(clearMenu_, kSysClearItems.front(), kSysClearItems.back(),
                                         command, MF_BYCOMMAND));
    return true;
}

void frmMain::HideProgramWindows() noexcept {
    // What the end of the process would take away: every window of the program, message boxes
    // included. The main window stays, hidden, for the countdown's timer and the session's end.
    static_cast<void>(EnumThreadWindows(GetCurrentThreadId(), &HideOne, 0));
}

} // namespace zelvaran::mainwindow
