#include "config/descriptor_read.h"

#include <aclapi.h>
#include <sddl.h>

#include <cstring>

#include "ui/handles.h"

namespace zelvaran::config {
namespace {

std::optional<std::wstring> SidText(PSID sid) {
    LPWSTR text = nullptr;
    if (sid == nullptr || !IsValidSid(sid) || !ConvertSidToStringSidW(sid, &text)) {
        return std::nullopt;
    }
    const ui::UniqueLocalMemory memory(text);
    return std::wstring(text);
}

bool IsObjectType(BYTE type) noexcept {
    return type == ace::kAllowObject || type == ace::kDenyObject ||
           type == ace::kAllowCallbackObject || type == ace::kDenyCallbackObject;
}

// One entry: header, mask, then (for an object type) its flags and up to two GUIDs, then the SID,
// then, for a conditional one, the condition, which says nothing here.
std::optional<AccessEntry> ReadEntry(const ACE_HEADER* header) {
    const BYTE type = header->AceType;
    const bool plain = type == ace::kAllow || type == ace::kDeny || type == ace::kAllowCallback ||
                       type == ace::kDenyCallback;
    if (!plain && !IsObjectType(type)) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(header);
    const std::size_t size = header->AceSize;
    std::size_t at = sizeof(ACE_HEADER);
    AccessEntry entry;
    entry.Type = type;
    entry.Flags = header->AceFlags;
    if (size < at + sizeof(DWORD)) {
        return std::nullopt;
    }
    std::memcpy(&entry.Mask, bytes + at, sizeof(DWORD));
    at += sizeof(DWORD);
    if (IsObjectType(type)) {
        DWORD flags = 0;
        if (size < at + sizeof(DWORD)) {
            return std::nullopt;
        }
        std::memcpy(&flags, bytes + at, sizeof(DWORD));
        at += sizeof(DWORD);
        at += (flags & ACE_OBJECT_TYPE_PRESENT) != 0 ? sizeof(GUID) : 0;
        at += (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) != 0 ? sizeof(GUID) : 0;
    }
    // The SID's length is in its own second byte; it must end inside the entry.
    if (size < at + 8 || size < at + GetSidLengthRequired(bytes[at + 1])) {
        return std::nullopt;
    }
    auto sid = SidText(const_cast<BYTE*>(bytes + at));
    if (!sid) {
        return std::nullopt;
    }
    entry.Sid = std::move(*sid);
    return entry;
}

} // namespace

std::optional<SecurityInfo> ReadDescriptor(PSECURITY_DESCRIPTOR descriptor) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (descriptor == nullptr || !GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) {
        return std::nullopt;
    }
    auto ownerText = SidText(owner);
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!ownerText || !GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) {
        return std::nullopt;
    }
    SecurityInfo info;
    info.Owner = std::move(*ownerText);
    info.NullDacl = !present || dacl == nullptr;
    for (DWORD i = 0; !info.NullDacl && i < dacl->AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(dacl, i, &raw)) {
            return std::nullopt;
        }
        auto entry = ReadEntry(static_cast<const ACE_HEADER*>(raw));
        if (!entry) {
            return std::nullopt;
        }
        info.Dacl.push_back(std::move(*entry));
    }
    return info;
}

std::optional<PathEntry> ReadPathEntry(const std::wstring& path, DWORD& error) {
    // Folders need backup semantics to be opened at all.
    const HANDLE raw =
        CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return std::nullopt;
    }
    const ui::UniqueKernelHandle file(raw);
    BY_HANDLE_FILE_INFORMATION about{};
    if (!GetFileInformationByHandle(file.get(), &about)) {
        error = GetLastError();
        return std::nullopt;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    error = GetSecurityInfo(file.get(), SE_FILE_OBJECT,
                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const ui::UniqueLocalMemory memory(descriptor);
    auto security = ReadDescriptor(descriptor);
    if (!security) {
        error = ERROR_INVALID_SECURITY_DESCR;
        return std::nullopt;
    }
    return PathEntry{std::move(*security),
                     (about.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}

} // namespace zelvaran::config
