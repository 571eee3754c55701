// Who can change what runs from a path, decided from the security descriptors of the file and of
// every folder above it, never from where the path lies. Pure: the descriptors come in as plain
// lists of entries, read from the binary ACL as the system stores it (descriptor_read.h), so the
// rules are tested on their own, natively too.
//
// "Admin-only" means that nobody but those who already own the machine can change what runs:
// nobody else may write, append to or delete the file, take its ownership or change its
// permissions, nor delete, rename, re-own or re-permission any folder on the way, nor delete
// entries from one, nor add files or folders beside the program. Who owns the machine is read
// from the same kind of data: whoever can change the system folder (%SystemRoot%\System32), since
// they could change what every program loads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelvaran::config {

// The kinds of entry a DACL holds, and their flags, as the system numbers them.
namespace ace {
inline constexpr std::uint8_t kAllow = 0x0;
inline constexpr std::uint8_t kDeny = 0x1;
inline constexpr std::uint8_t kAllowObject = 0x5;
inline constexpr std::uint8_t kDenyObject = 0x6;
inline constexpr std::uint8_t kAllowCallback = 0x9; // conditional
inline constexpr std::uint8_t kDenyCallback = 0xA;
inline constexpr std::uint8_t kAllowCallbackObject = 0xB;
inline constexpr std::uint8_t kDenyCallbackObject = 0xC;

inline constexpr std::uint8_t kObjectInherit = 0x1;    // passed to files created inside
inline constexpr std::uint8_t kContainerInherit = 0x2; // passed to folders created inside
inline constexpr std::uint8_t kNoPropagate = 0x4;
inline constexpr std::uint8_t kInheritOnly = 0x8; // for what is created inside only
inline constexpr std::uint8_t kInherited = 0x10;
} // namespace ace

// One entry of a DACL as stored: its kind, flags and rights (generic rights not mapped), and its
// principal as a SID text ("S-1-5-32-544").
struct AccessEntry {
    std::uint8_t Type = ace::kAllow;
    std::uint8_t Flags = 0;
    std::uint32_t Mask = 0;
    std::wstring Sid;
    friend bool operator==(const AccessEntry&, const AccessEntry&) = default;
};

struct SecurityInfo {
    std::wstring Owner;
    bool NullDacl = false; // no DACL at all: everyone may do anything
    std::vector<AccessEntry> Dacl;
};

// Rights on a file or folder, as the system numbers them.
namespace rights {
inline constexpr std::uint32_t kWriteData = 0x2;  // FILE_WRITE_DATA, FILE_ADD_FILE in a folder
inline constexpr std::uint32_t kAppendData = 0x4; // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
inline constexpr std::uint32_t kDeleteChild = 0x40;
inline constexpr std::uint32_t kDelete = 0x10000;
inline constexpr std::uint32_t kWriteDac = 0x40000;
inline constexpr std::uint32_t kWriteOwner = 0x80000;
// The specific and standard rights: what a deny entry can take back.
inline constexpr std::uint32_t kNamed = 0x1FFFFF;
// What lets someone change a program file: its content, its existence, its permissions.
inline constexpr std::uint32_t kFileDoor =
    kWriteData | kAppendData | kDelete | kWriteDac | kWriteOwner;
// What lets someone swap a folder on the way, or an entry inside it. Adding entries further up is
// no door: nothing takes a new file or folder there for the program (a drive's root lets users
// create folders).
inline constexpr std::uint32_t kFolderDoor = kDelete | kWriteDac | kWriteOwner | kDeleteChild;
// The program's own folder: a file added beside it is a DLL the system may load into it, at every
// user's log-on and in its elevated step.
inline constexpr std::uint32_t kProgramFolderDoor = kFolderDoor | kWriteData | kAppendData;
// What counts as changing the system folder: adding to it too.
inline constexpr std::uint32_t kSystemChange = kProgramFolderDoor;
} // namespace rights

// The generic rights of a mask mapped to the file rights they stand for.
[[nodiscard]] std::uint32_t FileRights(std::uint32_t mask) noexcept;

// The principals that hold any of `wanted` on the object, its owner always among them (an owner
// may always change the permissions). An allow entry of any kind counts, conditional or for an
// object type, with its generic rights mapped; entries for the creator of new objects only, and
// those meant for what is created inside, give nothing. Only a plain deny entry earlier in the
// list, for the same principal or for Everyone, takes rights back, and only the specific and
// standard ones it names: the system's access check does not map generic rights stored in an
// entry. Each doubt falls on the side of more holders.
[[nodiscard]] std::vector<std::wstring> Holders(const SecurityInfo& object, std::uint32_t wanted);

// Those who own the machine: whoever can change the system folder.
[[nodiscard]] std::vector<std::wstring> MachineOwners(const SecurityInfo& systemFolder);

// Whether every principal holding any of `door` on the object is one of `owners`.
[[nodiscard]] bool OnlyOwnersHold(const SecurityInfo& object, std::uint32_t door,
                                  std::span<const std::wstring> owners);

// Whether only the machine's owners can change what runs from the file: `file` is its
// descriptor, `folders` those of every folder above it, the file's own folder first (judged with
// kProgramFolderDoor) and the drive's root last.
[[nodiscard]] bool AdminOnly(const SecurityInfo& file, std::span<const SecurityInfo> folders,
                             std::span<const std::wstring> owners);

// What a file created in `folder` by `owner` gets from it: the entries passed to files, for the
// file itself (CREATOR OWNER becoming the owner). With none to pass, the system gives the
// creator's default, which this cannot know: nothing is vouched for (a null DACL).
[[nodiscard]] SecurityInfo ForNewFile(const SecurityInfo& folder, std::wstring_view owner);

// What lies at a path itself: a link or mount point is read, not followed.
struct PathEntry {
    SecurityInfo Security;
    bool ReparsePoint = false; // a junction, symbolic link or mount point
};

// A program file; the folder that holds (or will hold) one; a folder on the way to one.
enum class PathKind { File, ProgramFolder, Folder };

// Whether only `owners` can change what lies at the start of `way` or swap a folder above it:
// `way` is the object itself, then every folder above it up to the drive's root, each as read
// (nothing where it could not be read). A step that could not be read, or that is a link or a
// mount point anywhere on the way, vouches for nothing: it could be pointed elsewhere once judged.
[[nodiscard]] bool AdminOnlyWay(std::span<const std::optional<PathEntry>> way, PathKind kind,
                                std::span<const std::wstring> owners);

} // namespace zelvaran::config
