// frmMain's rules in the system menu (one of each kind, no look-alikes): check items kept per
// user beside the other stored choices and read by every Generate.
#include "mainwindow/frm_main.h"

#include <iterator>
#include <string>
#include <string_view>

#include "config/settings_parse.h"
#include "config/settings_store.h"
#include "resources/product.h"
#include "ui/platform.h"

namespace zelvaran::mainwindow {
namespace {

struct RuleItem {
    UINT Command;
    const wchar_t* Caption;
    std::wstring_view Key;
};

// In menu order, which is also the order of frmMain::rules_.
constexpr RuleItem kRuleItems[] = {
    {frmMain::kSysOneOfEachKind, L"Al menos uno de cada tipo", config::kKeyAlMenosUno},
    {frmMain::kSysNoLookAlikes, L"Sin caracteres parecidos", config::kKeySinParecidos},
};

// Only a stored "1" turns a rule on; anything else is the default and stays as it is.
bool StoredRule(std::wstring_view key) noexcept {
    try {
        const std::wstring text = config::GetSetting(config::kAppName, config::kSection, key, L"0");
        return config::ParseStoredState(text, kUnchecked) == kChecked;
    } catch (...) {
        return false; // out of memory: the rule starts off
    }
}

std::wstring SaveFailureText(const wchar_t* caption, LSTATUS status) {
    std::wstring text = L"No se pudo guardar la opci\u00F3n \u00AB";
    text += caption;
    text += L"\u00BB en la configuraci\u00F3n del usuario. ";
    text += status == ERROR_ACCESS_DENIED
                ? std::wstring(L"No hay permiso para cambiar la configuraci\u00F3n del usuario.")
                : L"Error del sistema " + std::to_wstring(status) + L".";
    text += L" No se ha cambiado nada.";
    return text;
}

} // namespace

static_assert(std::size(kRuleItems) == frmMain::kRuleCount);

bool frmMain::AddRulesToSystemMenu() noexcept {
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    if (system == nullptr || !AppendMenuW(system, MF_SEPARATOR, 0, nullptr)) {
        return false;
    }
    for (std::size_t i = 0; i < kRuleCount; ++i) {
        rules_[i] = StoredRule(kRuleItems[i].Key);
        const UINT check = rules_[i] ? MF_CHECKED : MF_UNCHECKED;
        if (!AppendMenuW(system, MF_STRING | check, kRuleItems[i].Command, kRuleItems[i].Caption)) {
            return false;
        }
    }
    return true;
}

bool frmMain::OnRuleCommand(UINT command) noexcept {
    for (std::size_t i = 0; i < kRuleCount; ++i) {
        if (kRuleItems[i].Command == command) {
            ToggleRule(i);
            return true;
        }
    }
    return false;
}

void frmMain::ReportNotSaved(const wchar_t* caption, LSTATUS status) noexcept {
    try {
        static_cast<void>(ui::ShowProgramMessage(hwnd_, SaveFailureText(caption, status).c_str(),
                                                 kErrorTitle, MB_OK | MB_ICONSTOP));
    } catch (...) {
        static_cast<void>(ui::ShowProgramMessage(hwnd_, L"No se pudo guardar la opci\u00F3n.",
                                                 kErrorTitle, MB_OK | MB_ICONSTOP));
    }
}

void frmMain::ToggleRule(std::size_t index) noexcept {
    const RuleItem& item = kRuleItems[index];
    const bool on = !rules_[index];
    const LSTATUS status =
        config::SaveSetting(config::kAppName, config::kSection, item.Key, on ? L"1" : L"0");
    if (status != ERROR_SUCCESS) {
        ReportNotSaved(item.Caption, status);
        return;
    }
    rules_[index] = on;
    // The mark only shows the state, which is already stored and in use.
    static_cast<void>(CheckMenuItem(GetSystemMenu(hwnd_, FALSE), item.Command,
                                    MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)));
}

} // namespace zelvaran::mainwindow
