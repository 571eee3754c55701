// Starting with Windows: the machine-wide Run entry that starts the program at log-on, and the
// stored "Inicio" choice that follows it. The registry is written directly, never through a
// scripting object, so every failure comes back as a status code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zelvaran::config {

inline constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"Zelvaran";

// The command the Run entry holds: the full path of the running program in double quotes, so a
// path with blanks starts this program and nothing else. Empty when the path cannot be had.
[[nodiscard]] std::wstring RunCommandForThisProgram();

enum class StartupStep {
    None,     // everything done
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

// Applies a new state of the "Iniciar con Windows" box: state 1 writes the Run entry (unless it
// already holds exactly this program's command as REG_SZ), any other state deletes it (an absent
// entry is already deleted). Only then is the state stored under "Inicio"; when that fails, the
// Run entry is put back as it was, so that the two never disagree.
[[nodiscard]] StartupOutcome ApplyStartupChoice(std::int16_t state) noexcept;

} // namespace zelvaran::config
