// Descriptors walked entry by entry as the system stores them: every kind of entry a DACL may
// hold, whatever its condition's text, and the entries' own flags and SIDs.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "config/descriptor_read.h"

namespace zelvaran::testing {
namespace {

using namespace config::ace;
using config::AccessEntry;

// One entry's bytes: header, mask, (object flags and GUIDs), the SID, then extra bytes.
std::vector<BYTE> Entry(BYTE type, BYTE flags, DWORD mask, const wchar_t* sidText,
                        std::vector<BYTE> objectPart, const char* tail) {
    PSID sid = nullptr;
    EXPECT_TRUE(ConvertStringSidToSidW(sidText, &sid));
    std::vector<BYTE> bytes{type, flags, 0, 0};
    for (const auto& [from, size] : {std::pair<const void*, std::size_t>{&mask, sizeof mask},
                                     {objectPart.data(), objectPart.size()},
                                     {sid, GetLengthSid(sid)},
                                     {tail, std::strlen(tail)}}) {
        bytes.insert(bytes.end(), static_cast<const BYTE*>(from),
                     static_cast<const BYTE*>(from) + size);
    }
    LocalFree(sid);
    bytes.resize((bytes.size() + 3) / 4 * 4);
    bytes[2] = static_cast<BYTE>(bytes.size()); // the entries here stay under 256 bytes
    return bytes;
}

// A null DACL when there are no entries.
std::optional<config::SecurityInfo> Read(const std::vector<std::vector<BYTE>>& entries) {
    std::vector<BYTE> acl(1024);
    auto* list = reinterpret_cast<PACL>(acl.data());
    EXPECT_TRUE(InitializeAcl(list, static_cast<DWORD>(acl.size()), ACL_REVISION_DS));
    for (const auto& entry : entries) {
        EXPECT_TRUE(AddAce(list, ACL_REVISION_DS, MAXDWORD, const_cast<BYTE*>(entry.data()),
                           static_cast<DWORD>(entry.size())));
    }
    SECURITY_DESCRIPTOR descriptor{};
    PSID owner = nullptr;
    EXPECT_TRUE(ConvertStringSidToSidW(L"S-1-5-32-544", &owner));
    EXPECT_TRUE(
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorOwner(&descriptor, owner, FALSE) &&
        SetSecurityDescriptorDacl(&descriptor, TRUE, entries.empty() ? nullptr : list, FALSE));
    auto info = config::ReadDescriptor(&descriptor);
    LocalFree(owner);
    return info;
}

TEST(DescriptorRead, EveryKindOfEntryIsReadWhateverItsConditionHolds) {
    const wchar_t* BU = L"S-1-5-32-545";
    // A condition whose literal holds ")(": once the way a text reader lost the entry after it.
    const auto conditional = Entry(kAllowCallback, 0, 0x1, BU, {}, "artx\x10)(A;;FA;;;BU)");
    std::vector<BYTE> bothGuids(4 + 32, 0x5A);
    bothGuids[0] = ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT;
    bothGuids[1] = bothGuids[2] = bothGuids[3] = 0;
    const auto info = Read({conditional, Entry(kAllow, kObjectInherit, 0x1F01FF, BU, {}, ""),
                            Entry(kDenyObject, 0, 0x10000000, L"S-1-1-0", bothGuids, ""),
                            Entry(kDeny, kInheritOnly, 0x40, L"S-1-5-11", {}, "")});
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->Owner, L"S-1-5-32-544");
    EXPECT_FALSE(info->NullDacl);
    EXPECT_EQ(info->Dacl, (std::vector<AccessEntry>{{kAllowCallback, 0, 0x1, BU},
                                                    {kAllow, kObjectInherit, 0x1F01FF, BU},
                                                    {kDenyObject, 0, 0x10000000, L"S-1-1-0"},
                                                    {kDeny, kInheritOnly, 0x40, L"S-1-5-11"}}));
    // An entry of a kind a DACL does not hold, or a SID running past its entry: not understood.
    auto cut = Entry(kAllow, 0, 0x1, BU, {}, "");
    cut[2] = 12;
    EXPECT_FALSE(Read({Entry(0x11, 0, 0x1, BU, {}, "")}).has_value());
    EXPECT_FALSE(Read({cut}).has_value());

    const auto none = Read({});
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->NullDacl);
}

} // namespace
} // namespace zelvaran::testing
