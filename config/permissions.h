// Who can change what runs from a path, decided from the security descriptors of the file and of
// every folder above it, never from where the path lies. Pure: the descriptors come in as SDDL
// text (the system's own form, which Windows writes with
// ConvertSecurityDescriptorToStringSecurityDescriptorW), so the rules are tested on their own,
// natively too.
//
// "Admin-only" means that nobody but those who already own the machine can change what runs:
// nobody else may write, append to or delete the file, take its ownership or change its
// permissions, nor delete, rename, re-own or re-permission any folder on the way, nor delete
// entries from one. Who owns the machine is read from the same kind of data: whoever can change
// the system folder (%SystemRoot%\System32), since they could change what every program loads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::config {

// One entry of a DACL: its principal as a SID text ("S-1-5-32-544"), the rights as written
// (generic rights not yet mapped), and how it applies.
struct AccessEntry {
    bool Deny = false;
    bool InheritOnly = false; // for what is created inside only, not for the object itself
    bool Conditional = false; // applies only when a condition holds
    std::wstring Sid;
    std::uint32_t Mask = 0;
};

struct SecurityInfo {
    std::wstring Owner;
    bool NullDacl = false; // no DACL at all: everyone may do anything
    std::vector<AccessEntry> Dacl;
};

// The owner ("O:") and DACL ("D:") parts of an SDDL text. Nothing when either is missing or not
// understood: a descriptor that cannot be read protects nothing.
[[nodiscard]] std::optional<SecurityInfo> ParseSddl(std::wstring_view sddl);

// Rights on a file or folder, as the system numbers them.
namespace rights {
inline constexpr std::uint32_t kWriteData = 0x2;  // FILE_WRITE_DATA, FILE_ADD_FILE in a folder
inline constexpr std::uint32_t kAppendData = 0x4; // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
inline constexpr std::uint32_t kDeleteChild = 0x40;
inline constexpr std::uint32_t kDelete = 0x10000;
inline constexpr std::uint32_t kWriteDac = 0x40000;
inline constexpr std::uint32_t kWriteOwner = 0x80000;
// What lets someone change a program file: its content, its existence, its permissions.
inline constexpr std::uint32_t kFileDoor =
    kWriteData | kAppendData | kDelete | kWriteDac | kWriteOwner;
// What lets someone swap a folder on the way, or an entry inside it. Adding entries is no door:
// nothing takes a new file or folder for the program (a drive's root lets users create folders).
inline constexpr std::uint32_t kFolderDoor = kDelete | kWriteDac | kWriteOwner | kDeleteChild;
// What counts as changing the system folder: adding to it too.
inline constexpr std::uint32_t kSystemChange = kFolderDoor | kWriteData | kAppendData;
} // namespace rights

// The generic rights of a mask mapped to the file rights they stand for.
[[nodiscard]] std::uint32_t FileRights(std::uint32_t mask) noexcept;

// The principals that hold any of `wanted` on the object, its owner always among them (an owner
// may always change the permissions). Entries for the creator of new objects only, and those
// meant for what is created inside, give nothing; a deny entry earlier in the list for the same
// principal or for Everyone takes the right back.
[[nodiscard]] std::vector<std::wstring> Holders(const SecurityInfo& object, std::uint32_t wanted);

// Those who own the machine: whoever can change the system folder.
[[nodiscard]] std::vector<std::wstring> MachineOwners(const SecurityInfo& systemFolder);

// Whether every principal holding any of `door` on the object is one of `owners`.
[[nodiscard]] bool OnlyOwnersHold(const SecurityInfo& object, std::uint32_t door,
                                  std::span<const std::wstring> owners);

// Whether only the machine's owners can change what runs from the file: `file` is its
// descriptor, `folders` those of every folder above it (any order; the drive's root included).
[[nodiscard]] bool AdminOnly(const SecurityInfo& file, std::span<const SecurityInfo> folders,
                             std::span<const std::wstring> owners);

} // namespace zelvaran::config
