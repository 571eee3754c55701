// Starting with Windows: the Run entry that starts this copy at log-on, and the stored "Inicio"
// choice that follows it. An installed copy (inside Program Files) has the machine-wide entry,
// any other copy a per-user one (see run_location.h). The registry is written directly, never
// through a scripting object, so every failure comes back as a status code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "config/run_location.h"

namespace zelvaran::config {

inline constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"Zelvaran";

// This copy of the program: its real location (links resolved, no "\\?\" prefix) and the root
// its Run entry belongs under.
struct ThisCopy {
    std::wstring Path;
    RunRoot Root = RunRoot::User;
};

// Finds where the running exe really lives and compares it with the machine's Program Files
// folders. ERROR_SUCCESS, or the reason the location could not be had.
[[nodiscard]] DWORD LocateThisCopy(ThisCopy& copy) noexcept;

enum class StartupStep {
    None,     // everything done
    Declined, // the user declined the permission the machine-wide entry needs; nothing changed
    Registry, // the Run entry could not be written or deleted; nothing was stored
    Setting,  // the Run entry was changed but "Inicio" could not be stored; the entry was put back
};

struct [[nodiscard]] StartupOutcome {
    StartupStep FailedStep = StartupStep::None;
    LSTATUS Code = ERROR_SUCCESS;
    // Only after a failed store: putting the Run entry back failed too.
    bool RunEntryLeftChanged = false;
    [[nodiscard]] bool Ok() const noexcept { return FailedStep == StartupStep::None; }
};

// Applies a new state of the "Iniciar con Windows" box for `copy`. State 1 writes the copy's Run
// entry in its root unless it already holds exactly the copy's command (case aside), and deletes
// one that starts the copy in the other root; any other state deletes the entries in either root
// that start this copy. Entries of other copies are left alone; an absent entry is already
// deleted. Where this process may not change the machine-wide
// entry, one elevated instance of the copy does it, its consent prompt owned by `owner`. Only
// then is the state stored under "Inicio"; when that fails, the Run entries are put back as they
// were, so that the two never disagree.
[[nodiscard]] StartupOutcome ApplyStartupChoice(std::int16_t state, const ThisCopy& copy,
                                                HWND owner) noexcept;

// What the elevated instance does: one step on the machine-wide entry, for its own location only.
// Writing is refused to a copy outside Program Files; deleting touches the value only when it
// starts this copy. The status becomes the instance's exit code.
[[nodiscard]] LSTATUS RunMachineStep(MachineStep step) noexcept;

} // namespace zelvaran::config
