#include "config/permissions.h"

#include <algorithm>

namespace zelvaran::config {
namespace {

constexpr std::wstring_view kEveryone = L"S-1-1-0";
constexpr std::wstring_view kCreatorOwner = L"S-1-3-0";
constexpr std::wstring_view kCreatorGroup = L"S-1-3-1";
constexpr std::wstring_view kOwnerRights = L"S-1-3-4";

[[nodiscard]] bool IsDeny(std::uint8_t type) noexcept {
    return type == ace::kDeny || type == ace::kDenyObject || type == ace::kDenyCallback ||
           type == ace::kDenyCallbackObject;
}

// A deny entry that surely applies: not for an object type, not under a condition (either may
// leave it out of the check), not for what is created inside only.
[[nodiscard]] bool TakesBack(const AccessEntry& entry, const std::wstring& sid) noexcept {
    return entry.Type == ace::kDeny && (entry.Flags & ace::kInheritOnly) == 0 &&
           (entry.Sid == sid || entry.Sid == kEveryone);
}

[[nodiscard]] bool HoldsAfterDenies(const std::vector<AccessEntry>& dacl, std::size_t index,
                                    std::uint32_t bits, const std::wstring& sid) {
    for (std::size_t i = 0; i < index && bits != 0; ++i) {
        if (TakesBack(dacl[i], sid)) {
            bits &= ~(dacl[i].Mask & rights::kNamed);
        }
    }
    return bits != 0;
}

} // namespace

std::uint32_t FileRights(std::uint32_t mask) noexcept {
    constexpr std::uint32_t kGenericAll = 0x10000000;
    constexpr std::uint32_t kGenericExecute = 0x20000000;
    constexpr std::uint32_t kGenericWrite = 0x40000000;
    constexpr std::uint32_t kGenericRead = 0x80000000;
    std::uint32_t mapped = mask & 0x0FFFFFFF;
    mapped |= (mask & kGenericAll) != 0 ? 0x1F01FFu : 0;
    mapped |= (mask & kGenericExecute) != 0 ? 0x1200A0u : 0;
    mapped |= (mask & kGenericWrite) != 0 ? 0x120116u : 0;
    mapped |= (mask & kGenericRead) != 0 ? 0x120089u : 0;
    return mapped;
}

std::vector<std::wstring> Holders(const SecurityInfo& object, std::uint32_t wanted) {
    std::vector<std::wstring> holders{object.Owner};
    if (object.NullDacl) {
        holders.emplace_back(kEveryone);
    }
    for (std::size_t i = 0; i < object.Dacl.size(); ++i) {
        const AccessEntry& entry = object.Dacl[i];
        if (IsDeny(entry.Type) || (entry.Flags & ace::kInheritOnly) != 0 ||
            entry.Sid == kCreatorOwner || entry.Sid == kCreatorGroup) {
            continue;
        }
        // OWNER RIGHTS stands for whoever owns the object.
        const std::wstring& sid = entry.Sid == kOwnerRights ? object.Owner : entry.Sid;
        if (HoldsAfterDenies(object.Dacl, i, FileRights(entry.Mask) & wanted, sid) &&
            std::find(holders.begin(), holders.end(), sid) == holders.end()) {
            holders.push_back(sid);
        }
    }
    return holders;
}

std::vector<std::wstring> MachineOwners(const SecurityInfo& systemFolder) {
    return Holders(systemFolder, rights::kSystemChange);
}

bool OnlyOwnersHold(const SecurityInfo& object, std::uint32_t door,
                    std::span<const std::wstring> owners) {
    const std::vector<std::wstring> holders = Holders(object, door);
    return std::all_of(holders.begin(), holders.end(), [&](const std::wstring& sid) {
        return std::find(owners.begin(), owners.end(), sid) != owners.end();
    });
}

bool AdminOnly(const SecurityInfo& file, std::span<const SecurityInfo> folders,
               std::span<const std::wstring> owners) {
    if (folders.empty() || !OnlyOwnersHold(file, rights::kFileDoor, owners) ||
        !OnlyOwnersHold(folders.front(), rights::kProgramFolderDoor, owners)) {
        return false;
    }
    return std::all_of(folders.begin() + 1, folders.end(), [&](const SecurityInfo& folder) {
        return OnlyOwnersHold(folder, rights::kFolderDoor, owners);
    });
}

SecurityInfo ForNewFile(const SecurityInfo& folder, std::wstring_view owner) {
    SecurityInfo file{std::wstring(owner), folder.NullDacl, {}};
    for (const AccessEntry& entry : folder.Dacl) {
        if ((entry.Flags & ace::kObjectInherit) == 0) {
            continue;
        }
        AccessEntry passed = entry;
        passed.Flags = ace::kInherited;
        if (passed.Sid == kCreatorOwner) {
            passed.Sid = owner;
        }
        file.Dacl.push_back(std::move(passed));
    }
    file.NullDacl = file.NullDacl || file.Dacl.empty();
    return file;
}

bool AdminOnlyWay(std::span<const std::optional<PathEntry>> way, PathKind kind,
                  std::span<const std::wstring> owners) {
    std::vector<SecurityInfo> chain;
    for (const std::optional<PathEntry>& step : way) {
        if (!step || step->ReparsePoint) {
            return false;
        }
        chain.push_back(step->Security);
    }
    // A drive's root has nothing above it; a file always has its folder.
    if (chain.empty() || (kind == PathKind::File && chain.size() < 2)) {
        return false;
    }
    if (kind == PathKind::File) {
        return AdminOnly(chain.front(), std::span(chain).subspan(1), owners);
    }
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const bool holdsProgram = i == 0 && kind == PathKind::ProgramFolder;
        if (!OnlyOwnersHold(chain[i],
                            holdsProgram ? rights::kProgramFolderDoor : rights::kFolderDoor,
                            owners)) {
            return false;
        }
    }
    return true;
}

} // namespace zelvaran::config
