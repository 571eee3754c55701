// Where the running exe really lives: the final path of the file (junctions, symbolic links and
// mapped folders resolved), so that a link inside Program Files to a folder users can write does
// not count as installed, and the Run entry names the file that was checked; and who may change
// what lies there, from the descriptors of the file and of every folder above it.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "config/descriptor_read.h"
#include "config/permissions.h"
#include "config/startup.h"
#include "ui/handles.h"
#include "ui/program_path.h"

namespace zelvaran::config {
std::wstring FinalPath(const std::wstring& path, DWORD& error) {
    // No access to the data is needed, only a handle; folders need backup semantics to open.
    HANDLE raw = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return {};
    }
    const ui::UniqueKernelHandle file(raw);
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) {
            error = GetLastError();
            return {};
        }
        if (n < final.size()) {
            final.resize(n);
            return PlainPath(final);
        }
        final.resize(n); // the size needed, terminator included
    }
}

namespace {

// Those who can change the system folder; nothing when its descriptor cannot be read.
std::optional<std::vector<std::wstring>> TheMachineOwners() {
    std::wstring system(MAX_PATH, L'\0');
    const UINT n = GetSystemDirectoryW(system.data(), static_cast<UINT>(system.size()));
    if (n == 0 || n >= system.size()) {
        return std::nullopt;
    }
    system.resize(n);
    DWORD error = ERROR_SUCCESS;
    const auto systemFolder = ReadPathEntry(system, error);
    if (!systemFolder) {
        return std::nullopt;
    }
    return MachineOwners(systemFolder->Security);
}

} // namespace

bool AdminOnlyAllTheWay(const std::wstring& finalPath, PathKind kind) noexcept {
    try {
        const auto owners = TheMachineOwners();
        if (!owners) {
            return false;
        }
        // The object first, then its folder, up to the root; each one itself, never what a link
        // or mount point leads to. The first that cannot be vouched for ends the reading.
        std::vector<std::wstring> steps = FoldersAbove(finalPath);
        steps.insert(steps.begin(), finalPath);
        std::vector<std::optional<PathEntry>> way;
        for (const std::wstring& step : steps) {
            DWORD error = ERROR_SUCCESS;
            way.push_back(ReadPathEntry(step, error));
            if (!way.back() || way.back()->ReparsePoint) {
                break;
            }
        }
        return AdminOnlyWay(way, kind, *owners);
    } catch (...) {
        return false; // out of memory: nothing can be vouched for
    }
}

bool NewFilesAdminOnly(const std::wstring& folder) noexcept {
    try {
        const auto owners = TheMachineOwners();
        DWORD error = ERROR_SUCCESS;
        const auto entry = ReadPathEntry(folder, error);
        return owners && entry &&
               OnlyOwnersHold(ForNewFile(entry->Security, entry->Security.Owner), rights::kFileDoor,
                              *owners);
    } catch (...) {
        return false;
    }
}

namespace {

// The machine's Program Files folders, each as the system names it and as it really is.
std::vector<std::wstring> ProgramFilesFolders() {
    std::vector<std::wstring> folders;
    const std::array<const KNOWNFOLDERID*, 3> ids = {
        &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesX64};
    for (const KNOWNFOLDERID* id : ids) {
        PWSTR raw = nullptr;
        const HRESULT hr = SHGetKnownFolderPath(*id, KF_FLAG_DEFAULT, nullptr, &raw);
        const ui::UniqueCoTaskText text(raw); // freed even when the call failed
        if (FAILED(hr) || raw == nullptr) {
            continue; // not every system has every one of them
        }
        folders.emplace_back(raw);
        DWORD ignored = ERROR_SUCCESS; // a folder that cannot be opened is compared as named
        std::wstring real = FinalPath(folders.back(), ignored);
        if (!real.empty()) {
            folders.push_back(std::move(real));
        }
    }
    return folders;
}

} // namespace

DWORD LocateThisCopy(ThisCopy& copy) noexcept {
    try {
        const std::wstring module = ui::ProgramPath();
        if (module.empty()) {
            const DWORD error = GetLastError();
            return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_BAD_PATHNAME);
        }
        DWORD error = ERROR_SUCCESS;
        std::wstring path = FinalPath(module, error);
        if (path.empty()) {
            return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_BAD_PATHNAME);
        }
        // Installed: inside Program Files, and nobody but the machine's owners can change it.
        const std::vector<std::wstring> folders = ProgramFilesFolders();
        copy.Root = RunRootFor(path, folders) == RunRoot::Machine &&
                            AdminOnlyAllTheWay(path, PathKind::File)
                        ? RunRoot::Machine
                        : RunRoot::User;
        copy.Path = std::move(path);
        return ERROR_SUCCESS;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

} // namespace zelvaran::config
