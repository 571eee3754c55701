#include "config/startup.h"

#include <optional>

#include "config/registry_value.h"
#include "config/settings_parse.h"
#include "config/settings_store.h"
#include "ui/program_path.h"

namespace zelvaran::config {
namespace {

// Longest path the system hands out, terminator included.

// The Run entry as it is now; nothing when the entry or the Run key itself is absent.
[[nodiscard]] LSTATUS ReadRunEntry(std::optional<RegistryValue>& entry) noexcept {
    entry.reset();
    ui::UniqueRegKey run;
    LSTATUS status = OpenRegistryKey(HKEY_LOCAL_MACHINE, kRunKeyPath, KEY_QUERY_VALUE, run);
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryValue value;
    status = ReadRegistryValue(run.get(), kRunValueName, value);
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (status == ERROR_SUCCESS) {
        try {
            entry = std::move(value);
        } catch (...) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
    }
    return status;
}

// Write access is asked for only when something must change, so an entry that is already right
// needs no administrator rights.
[[nodiscard]] LSTATUS WriteRunEntry(const RegistryValue* value, const std::wstring* text) noexcept {
    ui::UniqueRegKey run;
    const LSTATUS status = CreateRegistryKey(HKEY_LOCAL_MACHINE, kRunKeyPath, KEY_SET_VALUE, run);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return value != nullptr ? WriteRegistryValue(run.get(), kRunValueName, *value)
                            : WriteRegistryText(run.get(), kRunValueName, *text);
}

[[nodiscard]] LSTATUS DeleteRunEntry() noexcept {
    ui::UniqueRegKey run;
    LSTATUS status = OpenRegistryKey(HKEY_LOCAL_MACHINE, kRunKeyPath, KEY_SET_VALUE, run);
    if (status == ERROR_SUCCESS) {
        status = RegDeleteValueW(run.get(), kRunValueName);
    }
    // Gone already (or never there): that is what was asked for.
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

[[nodiscard]] LSTATUS RestoreRunEntry(const std::optional<RegistryValue>& before) noexcept {
    return before ? WriteRunEntry(&*before, nullptr) : DeleteRunEntry();
}

} // namespace

std::wstring RunCommandForThisProgram() {
    const std::wstring path = ui::ProgramPath();
    if (path.empty()) {
        return {};
    }
    return L"\"" + path + L"\"";
}

StartupOutcome ApplyStartupChoice(std::int16_t state) noexcept {
    const bool enable = state == kChecked;
    std::wstring command;
    std::optional<RegistryValue> before;
    bool alreadyRight = false;
    try {
        if (enable) {
            command = RunCommandForThisProgram();
            if (command.empty()) {
                const DWORD error = GetLastError();
                return {StartupStep::Registry, error != ERROR_SUCCESS
                                                   ? static_cast<LSTATUS>(error)
                                                   : static_cast<LSTATUS>(ERROR_BAD_PATHNAME)};
            }
        }
        if (const LSTATUS status = ReadRunEntry(before); status != ERROR_SUCCESS) {
            return {StartupStep::Registry, status};
        }
        alreadyRight = enable ? (before && RegistryText(*before) == command) : !before;
    } catch (...) {
        return {StartupStep::Registry, ERROR_NOT_ENOUGH_MEMORY};
    }

    if (!alreadyRight) {
        const LSTATUS status = enable ? WriteRunEntry(nullptr, &command) : DeleteRunEntry();
        if (status != ERROR_SUCCESS) {
            return {StartupStep::Registry, status};
        }
    }

    if (const LSTATUS status = SaveSetting(kAppName, kSection, kKeyInicio, StoredStateText(state));
        status != ERROR_SUCCESS) {
        const bool leftChanged = !alreadyRight && RestoreRunEntry(before) != ERROR_SUCCESS;
        return {StartupStep::Setting, status, leftChanged};
    }
    return {};
}

} // namespace zelvaran::config
