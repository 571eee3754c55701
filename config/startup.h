// Starting with Windows: the Run entry that starts this copy at log-on, and the stored "Inicio"
// choice that follows it. An installed copy (inside Program Files) has the machine-wide entry,
// any other copy a per-user one (see run_location.h). The registry is written directly, never
// through a scripting object, so every failure comes back as a status code.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "config/permissions.h"
#include "config/run_location.h"

namespace zelvaran::config {

inline constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"Zelvaran";
// Where Task Manager's Startup tab (and Settings' list of start-up apps) keeps its own switch for
// each Run entry: a binary value of the entry's name in the same root, an odd first byte meaning
// disabled. The Run entry stays while it is disabled, so writing that entry alone would never
// start the program again.
inline constexpr const wchar_t* kStartupApprovedPath =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// This copy of the program: its real location (links resolved, no "\\?\" prefix) and the root
// its Run entry belongs under.
struct ThisCopy {
    std::wstring Path;
    RunRoot Root = RunRoot::User;
};

// Finds where the running exe really lives; it is installed (its Run entry the machine's) when
// it lies inside the machine's Program Files folders and only the machine's owners can change
// it (AdminOnlyAllTheWay). ERROR_SUCCESS, or the reason the location could not be had.
[[nodiscard]] DWORD LocateThisCopy(ThisCopy& copy) noexcept;

// The final path of a file or folder (links resolved) in its plain form; empty, with the error,
// when the system cannot tell.
[[nodiscard]] std::wstring FinalPath(const std::wstring& path, DWORD& error);

// Whether nobody but those who can change the system folder can change what lies at `finalPath`
// or swap a folder above it (see permissions.h), read from each one's own descriptor. False when
// any of them cannot be read or is a junction, symbolic link or mount point.
[[nodiscard]] bool AdminOnlyAllTheWay(const std::wstring& finalPath, PathKind kind) noexcept;

// Whether the files made in `folder` get from it only what lets the machine's owners change them
// (permissions.h, ForNewFile). Their creator, for CREATOR OWNER, is taken to be the folder's
// owner: the setup runs as an administrator, and gives them Administrators as owner after.
[[nodiscard]] bool NewFilesAdminOnly(const std::wstring& folder) noexcept;

// Whether a change may show the system's consent prompt: a click on the box may; the dialog's
// opening never does.
enum class Consent { MayAsk, Never };

enum class StartupStep {
    None,     // everything done
    Declined, // the user declined the permission the machine-wide entry needs; nothing changed
    NotAsked, // the machine-wide entry needs an administrator's consent, not asked for; nothing
              // changed
    Registry, // the Run entry could not be written or deleted; nothing was stored
    Setting,  // the Run entry was changed but "Inicio" could not be stored; the entry was put back
};

struct [[nodiscard]] StartupOutcome {
    StartupStep FailedStep = StartupStep::None;
    LSTATUS Code = ERROR_SUCCESS;
    // Only after a failed store: putting the Run entry back failed too.
    bool RunEntryLeftChanged = false;
    // Done, except that a machine-wide entry starting this copy stays: deleting it needs an
    // administrator's consent, which was not to be asked for.
    bool MachineEntryLeft = false;
    [[nodiscard]] bool Ok() const noexcept { return FailedStep == StartupStep::None; }
};

// Applies a new state of the "Iniciar con Windows" box for `copy`. State 1 writes the copy's Run
// entry in its root unless it already holds exactly the copy's command (case aside) and is not
// switched off in Task Manager, and deletes one that starts the copy in the other root; any other
// state deletes the entries in either root that start this copy. Entries of other copies are left
// alone; an absent entry is already deleted. Where this process may not change the machine-wide
// entry and `consent` allows the prompt (owned by `owner`), an installed copy has one elevated
// instance of itself do it; a portable copy never runs elevated, and has the system's reg.exe
// delete its old machine-wide entry (found to start it just before). Whenever the program writes
// or deletes its Run entry it also removes the Startup tab's switch of that name in that root, so
// a checked box starts the program again; the reg.exe step above leaves that switch, which nothing
// then reads. Only then is the state stored under "Inicio"; when that fails, the Run entries (and
// their switches) are put back as they were, so that the two never disagree.
[[nodiscard]] StartupOutcome ApplyStartupChoice(std::int16_t state, const ThisCopy& copy,
                                                HWND owner,
                                                Consent consent = Consent::MayAsk) noexcept;

// What reg.exe is given to delete the machine-wide entry, exactly.
inline constexpr const wchar_t* kRegDeleteParameters =
    L"delete \"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\" /v Zelvaran /f";

// What the elevated instance does: one step on the machine-wide entry, for its own location only.
// Writing is refused to a copy that is not installed (LocateThisCopy, checked here again);
// deleting touches the value only when it starts this copy. Either removes the Startup tab's
// switch for the entry. The status becomes the instance's exit
// code.
[[nodiscard]] LSTATUS RunMachineStep(MachineStep step) noexcept;

} // namespace zelvaran::config
