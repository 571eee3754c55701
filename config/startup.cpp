#include "config/startup.h"

#include <optional>
#include <vector>

#include "config/registry_value.h"
#include "config/settings_parse.h"
#include "config/settings_store.h"
#include "ui/platform.h"

namespace zelvaran::config {
namespace {

// ERROR_ELEVATION_REQUIRED, which MinGW's headers lack: only a consent prompt could do it.
constexpr LSTATUS kNeedsConsent = 740;

[[nodiscard]] HKEY RootKey(RunRoot root) noexcept {
    return root == RunRoot::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The value of the program's name under `path`, as it is now; nothing when the value or the key
// itself is absent.
[[nodiscard]] LSTATUS ReadEntry(HKEY root, const wchar_t* path,
                                std::optional<RegistryValue>& entry) noexcept {
    entry.reset();
    ui::UniqueRegKey key;
    LSTATUS status = OpenRegistryKey(root, path, KEY_QUERY_VALUE, key);
    if (status == ERROR_FILE_NOT_FOUND) {
        return ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegistryValue value;
    status = ReadRegistryValue(key.get(), kRunValueName, value);
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

[[nodiscard]] LSTATUS ReadRunEntry(HKEY root, std::optional<RegistryValue>& entry) noexcept {
    return ReadEntry(root, kRunKeyPath, entry);
}

// Write access is asked for only when something must change, so an entry that is already right
// needs no administrator rights.
[[nodiscard]] LSTATUS WriteEntry(HKEY root, const wchar_t* path, const RegistryValue* value,
                                 const std::wstring* text) noexcept {
    ui::UniqueRegKey key;
    const LSTATUS status = CreateRegistryKey(root, path, KEY_SET_VALUE, key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    return value != nullptr ? WriteRegistryValue(key.get(), kRunValueName, *value)
                            : WriteRegistryText(key.get(), kRunValueName, *text);
}

[[nodiscard]] LSTATUS DeleteEntry(HKEY root, const wchar_t* path) noexcept {
    ui::UniqueRegKey key;
    LSTATUS status = OpenRegistryKey(root, path, KEY_SET_VALUE, key);
    if (status == ERROR_SUCCESS) {
        status = RegDeleteValueW(key.get(), kRunValueName);
    }
    // Gone already (or never there): that is what was asked for.
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// Writes this copy's command into the Run entry (Write) or deletes the entry (Delete), and takes
// out the Startup tab's switch for it, which would otherwise keep a new entry from ever starting
// the program. The switch goes first and comes back if the entry cannot be changed, so a failure
// changes nothing.
[[nodiscard]] LSTATUS ChangeRunEntry(HKEY root, MachineStep step,
                                     const std::wstring& command) noexcept {
    std::optional<RegistryValue> switchBefore;
    LSTATUS status = ReadEntry(root, kStartupApprovedPath, switchBefore);
    if (status == ERROR_SUCCESS && switchBefore) {
        status = DeleteEntry(root, kStartupApprovedPath);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = step == MachineStep::Write ? WriteEntry(root, kRunKeyPath, nullptr, &command)
                                        : DeleteEntry(root, kRunKeyPath);
    if (status != ERROR_SUCCESS && switchBefore) {
        // Just deleted with the same rights; should it fail, the entry merely counts as enabled.
        static_cast<void>(WriteEntry(root, kStartupApprovedPath, &*switchBefore, nullptr));
    }
    return status;
}

// The entry holds exactly this command, as text; case aside, since the file system ignores it.
[[nodiscard]] bool HoldsCommand(const std::optional<RegistryValue>& entry,
                                const std::wstring& command) {
    if (!entry) {
        return false;
    }
    const std::optional<std::wstring> text = RegistryText(*entry);
    return text && SameText(*text, command);
}

[[nodiscard]] bool StartsCopy(const std::optional<RegistryValue>& entry, const ThisCopy& copy) {
    if (!entry || (entry->Type != REG_SZ && entry->Type != REG_EXPAND_SZ)) {
        return false;
    }
    RegistryValue asText = *entry;
    asText.Type = REG_SZ; // a REG_EXPAND_SZ is compared as written, unexpanded
    const std::optional<std::wstring> text = RegistryText(asText);
    return text && CommandStarts(*text, copy.Path);
}

// One change of one root's entry, carried out by this process or, for the machine-wide entry
// when this process may not write there, by an elevated instance of the copy.
class RunEntryStep {
public:
    RunEntryStep(const ThisCopy& copy, HWND owner, Consent consent)
        : copy_(copy), owner_(owner), consent_(consent) {}

    // Puts this copy's command in `root` (step Write) or takes the entry out (step Delete).
    // kNeedsConsent when only a consent prompt could do it and none may be shown.
    [[nodiscard]] LSTATUS Do(RunRoot root, MachineStep step, const std::wstring& command) {
        const HKEY key = RootKey(root);
        const LSTATUS status = ChangeRunEntry(key, step, command);
        if (status != ERROR_ACCESS_DENIED || root != RunRoot::Machine) {
            return status;
        }
        if (consent_ == Consent::Never) {
            return kNeedsConsent;
        }
        if (copy_.Root == RunRoot::Machine) {
            return Elevated(step);
        }
        // A copy others could replace must not run as administrator: the system's own reg.exe
        // deletes the entry, which the caller found to start this copy, and which only
        // administrators can have changed since.
        return step == MachineStep::Delete ? RegDelete() : status;
    }

    // Brings `root`'s entry and its Startup tab switch back to `before` and `switchBefore`. The
    // elevated instance can only write this copy's own command or delete it, so any other old
    // entry, and the switch, can be put back only directly.
    [[nodiscard]] LSTATUS Restore(RunRoot root, const std::optional<RegistryValue>& before,
                                  const std::optional<RegistryValue>& switchBefore,
                                  const std::wstring& command) {
        const HKEY key = RootKey(root);
        LSTATUS status = before ? WriteEntry(key, kRunKeyPath, &*before, nullptr)
                                : DeleteEntry(key, kRunKeyPath);
        if (status == ERROR_SUCCESS && switchBefore) {
            return WriteEntry(key, kStartupApprovedPath, &*switchBefore, nullptr);
        }
        if (status != ERROR_ACCESS_DENIED || root != RunRoot::Machine ||
            consent_ == Consent::Never || copy_.Root != RunRoot::Machine) {
            return status;
        }
        if (!before) {
            status = Elevated(MachineStep::Delete);
        } else if (StartsCopy(before, copy_) && copy_.Root == RunRoot::Machine) {
            status = Do(root, MachineStep::Write, command);
        }
        // The switch the elevated step took out stays out: the entry counts as changed.
        return status == ERROR_SUCCESS && switchBefore ? ERROR_ACCESS_DENIED : status;
    }

    [[nodiscard]] bool Declined() const noexcept { return declined_; }

private:
    [[nodiscard]] LSTATUS Elevated(MachineStep step) {
        const std::wstring parameters(step == MachineStep::Write ? kWriteSwitch : kDeleteSwitch);
        DWORD exitCode = ERROR_SUCCESS;
        const DWORD error = ui::CurrentPlatform().RunElevated(owner_, copy_.Path.c_str(),
                                                              parameters.c_str(), exitCode);
        if (error == ERROR_CANCELLED) {
            declined_ = true;
        }
        return static_cast<LSTATUS>(error != ERROR_SUCCESS ? error : exitCode);
    }

    [[nodiscard]] LSTATUS RegDelete() {
        std::wstring reg(MAX_PATH, L'\0');
        const UINT n = GetSystemDirectoryW(reg.data(), static_cast<UINT>(reg.size()));
        if (n == 0 || n >= reg.size()) {
            return static_cast<LSTATUS>(GetLastError());
        }
        reg.resize(n);
        reg += L"\\reg.exe";
        DWORD exitCode = ERROR_SUCCESS;
        const DWORD error =
            ui::CurrentPlatform().RunElevated(owner_, reg.c_str(), kRegDeleteParameters, exitCode);
        declined_ = error == ERROR_CANCELLED;
        if (error != ERROR_SUCCESS) {
            return static_cast<LSTATUS>(error);
        }
        // reg.exe tells only that it failed, not why.
        return exitCode == 0 ? ERROR_SUCCESS : ERROR_CANTWRITE;
    }

    const ThisCopy& copy_;
    HWND owner_;
    Consent consent_;
    bool declined_ = false;
};

// What one root looked like before a change, so that the change can be undone.
struct Before {
    RunRoot Root;
    std::optional<RegistryValue> Entry;
    std::optional<RegistryValue> Switch; // the Startup tab's
};

[[nodiscard]] LSTATUS ReadBefore(Before& before) noexcept {
    const HKEY key = RootKey(before.Root);
    const LSTATUS status = ReadRunEntry(key, before.Entry);
    return status != ERROR_SUCCESS ? status : ReadEntry(key, kStartupApprovedPath, before.Switch);
}

[[nodiscard]] StartupOutcome RegistryFailure(const RunEntryStep& step, LSTATUS status) {
    return {step.Declined() ? StartupStep::Declined : StartupStep::Registry, status};
}

} // namespace

StartupOutcome ApplyStartupChoice(std::int16_t state, const ThisCopy& copy, HWND owner,
                                  Consent consent) noexcept {
    try {
        const std::wstring command = RunCommandFor(copy.Path);
        RunEntryStep step(copy, owner, consent);
        bool machineEntryLeft = false;
        std::vector<Before> changed;
        const auto undo = [&] {
            bool leftChanged = false;
            for (auto it = changed.rbegin(); it != changed.rend(); ++it) {
                leftChanged |=
                    step.Restore(it->Root, it->Entry, it->Switch, command) != ERROR_SUCCESS;
            }
            return leftChanged;
        };

        if (state == kChecked) {
            Before before{copy.Root, std::nullopt, std::nullopt};
            if (const LSTATUS status = ReadBefore(before); status != ERROR_SUCCESS) {
                return {StartupStep::Registry, status};
            }
            // An entry switched off in Task Manager is written again, which switches it on.
            if (!HoldsCommand(before.Entry, command) || before.Switch) {
                if (const LSTATUS status = step.Do(copy.Root, MachineStep::Write, command);
                    status == kNeedsConsent) {
                    return {StartupStep::NotAsked, status};
                } else if (status != ERROR_SUCCESS) {
                    return RegistryFailure(step, status);
                }
                changed.push_back(std::move(before));
            }
        }
        // Unchecked, every entry that starts this copy goes. Checked, so does one in the other
        // root: a per-user entry of an installed copy would start it twice, and a machine-wide
        // one of a copy others can replace (as earlier releases wrote it) must not stay. The
        // per-user root comes first when deleting: it needs no permission, and is put back if
        // the machine-wide entry then cannot be deleted.
        for (const RunRoot root : {RunRoot::User, RunRoot::Machine}) {
            if (state == kChecked && root == copy.Root) {
                continue;
            }
            Before before{root, std::nullopt, std::nullopt};
            LSTATUS status = ReadBefore(before);
            if (status == ERROR_SUCCESS && StartsCopy(before.Entry, copy)) {
                status = step.Do(root, MachineStep::Delete, command);
                if (status == ERROR_SUCCESS) {
                    changed.push_back(std::move(before));
                } else if (status == kNeedsConsent) {
                    machineEntryLeft = true; // the user is told which value it is
                    status = ERROR_SUCCESS;
                }
            }
            if (status != ERROR_SUCCESS) {
                const StartupOutcome failure = RegistryFailure(step, status);
                return {failure.FailedStep, failure.Code, undo()};
            }
        }

        if (const LSTATUS status =
                SaveSetting(kAppName, kSection, kKeyInicio, StoredStateText(state));
            status != ERROR_SUCCESS) {
            return {StartupStep::Setting, status, undo()};
        }
        return {StartupStep::None, ERROR_SUCCESS, false, machineEntryLeft};
    } catch (...) {
        return {StartupStep::Registry, ERROR_NOT_ENOUGH_MEMORY};
    }
}

LSTATUS RunMachineStep(MachineStep step) noexcept {
    try {
        ThisCopy copy;
        if (const DWORD error = LocateThisCopy(copy); error != ERROR_SUCCESS) {
            return static_cast<LSTATUS>(error);
        }
        std::optional<RegistryValue> entry;
        if (const LSTATUS status = ReadRunEntry(HKEY_LOCAL_MACHINE, entry);
            status != ERROR_SUCCESS) {
            return status;
        }
        const std::wstring command = RunCommandFor(copy.Path);
        if (step == MachineStep::Delete) {
            // Another copy's entry, or none: nothing of ours to delete.
            return StartsCopy(entry, copy) ? ChangeRunEntry(HKEY_LOCAL_MACHINE, step, command)
                                           : ERROR_SUCCESS;
        }
        // Every user's log-on would start a file that others can replace.
        if (copy.Root != RunRoot::Machine) {
            return ERROR_ACCESS_DENIED;
        }
        std::optional<RegistryValue> switchNow;
        if (const LSTATUS status = ReadEntry(HKEY_LOCAL_MACHINE, kStartupApprovedPath, switchNow);
            status != ERROR_SUCCESS) {
            return status;
        }
        return HoldsCommand(entry, command) && !switchNow
                   ? ERROR_SUCCESS
                   : ChangeRunEntry(HKEY_LOCAL_MACHINE, step, command);
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

} // namespace zelvaran::config
