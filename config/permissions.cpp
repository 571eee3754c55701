#include "config/permissions.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelvaran::config {
namespace {

constexpr std::wstring_view kEveryone = L"S-1-1-0";
constexpr std::wstring_view kCreatorOwner = L"S-1-3-0";
constexpr std::wstring_view kCreatorGroup = L"S-1-3-1";
constexpr std::wstring_view kOwnerRights = L"S-1-3-4";

// The two-letter names SDDL gives well-known principals, as SIDs, so that either spelling of one
// principal compares equal. A name not listed stays as written: a principal of its own.
constexpr std::array<std::pair<std::wstring_view, std::wstring_view>, 24> kSidNames{{
    {L"WD", kEveryone},       {L"CO", kCreatorOwner},   {L"CG", kCreatorGroup},
    {L"OW", kOwnerRights},    {L"AN", L"S-1-5-7"},      {L"AU", L"S-1-5-11"},
    {L"BA", L"S-1-5-32-544"}, {L"BU", L"S-1-5-32-545"}, {L"BG", L"S-1-5-32-546"},
    {L"PU", L"S-1-5-32-547"}, {L"BO", L"S-1-5-32-551"}, {L"SO", L"S-1-5-32-549"},
    {L"IU", L"S-1-5-4"},      {L"SU", L"S-1-5-6"},      {L"NU", L"S-1-5-2"},
    {L"SY", L"S-1-5-18"},     {L"LS", L"S-1-5-19"},     {L"NS", L"S-1-5-20"},
    {L"RD", L"S-1-5-32-555"}, {L"AC", L"S-1-15-2-1"},   {L"PS", L"S-1-5-10"},
    {L"RC", L"S-1-5-12"},     {L"WR", L"S-1-5-33"},     {L"ED", L"S-1-5-9"},
}};

// The rights' two-letter names (file, registry, directory-service and generic ones).
constexpr std::array<std::pair<std::wstring_view, std::uint32_t>, 29> kRightNames{{
    {L"GA", 0x10000000}, {L"GX", 0x20000000}, {L"GW", 0x40000000}, {L"GR", 0x80000000},
    {L"FA", 0x1F01FF},   {L"FR", 0x120089},   {L"FW", 0x120116},   {L"FX", 0x1200A0},
    {L"KA", 0xF003F},    {L"KR", 0x20019},    {L"KW", 0x20006},    {L"KX", 0x20019},
    {L"RC", 0x20000},    {L"SD", 0x10000},    {L"WD", 0x40000},    {L"WO", 0x80000},
    {L"CC", 0x1},        {L"DC", 0x2},        {L"LC", 0x4},        {L"SW", 0x8},
    {L"RP", 0x10},       {L"WP", 0x20},       {L"DT", 0x40},       {L"LO", 0x80},
    {L"CR", 0x100},      {L"NR", 0},          {L"NW", 0},          {L"NX", 0},
    {L"AS", 0x1000000},
}};

[[nodiscard]] std::optional<std::wstring> ParseSid(std::wstring_view text) {
    if (text.size() == 2) {
        for (const auto& [name, sid] : kSidNames) {
            if (name == text) {
                return std::wstring(sid);
            }
        }
        return std::wstring(text);
    }
    if (text.size() < 4 || !text.starts_with(L"S-")) {
        return std::nullopt;
    }
    for (const wchar_t c : text.substr(2)) {
        if (!((c >= L'0' && c <= L'9') || c == L'-' || c == L'x' || c == L'X' ||
              (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f'))) {
            return std::nullopt;
        }
    }
    return std::wstring(text);
}

[[nodiscard]] std::optional<std::uint32_t> ParseRights(std::wstring_view text) {
    if (text.starts_with(L"0x") || text.starts_with(L"0X")) {
        if (text.size() < 3 || text.size() > 10) {
            return std::nullopt;
        }
        std::uint32_t mask = 0;
        for (const wchar_t c : text.substr(2)) {
            const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                              : c >= L'a' && c <= L'f' ? c - L'a' + 10
                              : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                       : -1;
            if (digit < 0) {
                return std::nullopt;
            }
            mask = mask << 4 | static_cast<std::uint32_t>(digit);
        }
        return mask;
    }
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const auto name = text.substr(i, 2);
        const auto* found = std::find_if(kRightNames.begin(), kRightNames.end(),
                                         [&](const auto& right) { return right.first == name; });
        if (found == kRightNames.end()) {
            return std::nullopt;
        }
        mask |= found->second;
    }
    return mask;
}

// One "(type;flags;rights;object;inherited object;sid[;condition])".
[[nodiscard]] std::optional<AccessEntry> ParseEntry(std::wstring_view body) {
    std::array<std::wstring_view, 6> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t end = body.find(L';');
        if (i + 1 < fields.size() && end == std::wstring_view::npos) {
            return std::nullopt;
        }
        fields[i] = body.substr(0, end);
        body = end == std::wstring_view::npos ? std::wstring_view() : body.substr(end + 1);
    }
    const std::wstring_view type = fields[0];
    AccessEntry entry;
    // Allow and deny, plain, for object types, or with a condition. Anything else in a DACL is
    // taken as an allow entry: reading more rights than there are only refuses more.
    entry.Deny = type == L"D" || type == L"OD" || type == L"XD";
    entry.Conditional = type.starts_with(L"X") || type.starts_with(L"Z") || !body.empty() ||
                        type == L"OD" || !fields[3].empty() || !fields[4].empty();
    for (std::size_t i = 0; i + 1 < fields[1].size(); i += 2) {
        entry.InheritOnly |= fields[1].substr(i, 2) == L"IO";
    }
    const auto mask = ParseRights(fields[2]);
    auto sid = ParseSid(fields[5]);
    if (!mask || !sid) {
        return std::nullopt;
    }
    entry.Mask = *mask;
    entry.Sid = std::move(*sid);
    return entry;
}

// The text of one part ("O:", "G:", "D:", "S:") up to the next part's tag; nothing when absent.
[[nodiscard]] std::optional<std::wstring_view> Part(std::wstring_view sddl, wchar_t tag) {
    std::size_t depth = 0;
    std::size_t start = std::wstring_view::npos;
    for (std::size_t i = 0; i < sddl.size(); ++i) {
        const wchar_t c = sddl[i];
        depth += c == L'(' ? 1 : 0;
        depth -= c == L')' && depth > 0 ? 1 : 0;
        const bool isTag = depth == 0 && i + 1 < sddl.size() && sddl[i + 1] == L':' &&
                           (c == L'O' || c == L'G' || c == L'D' || c == L'S');
        if (!isTag) {
            continue;
        }
        if (start != std::wstring_view::npos) {
            return sddl.substr(start, i - start);
        }
        if (c == tag) {
            start = i + 2;
        }
        ++i;
    }
    if (start == std::wstring_view::npos) {
        return std::nullopt;
    }
    return sddl.substr(start);
}

[[nodiscard]] bool HoldsAfterDenies(const std::vector<AccessEntry>& dacl, std::size_t index,
                                    std::uint32_t bits, const std::wstring& sid) {
    for (std::size_t i = 0; i < index && bits != 0; ++i) {
        const AccessEntry& deny = dacl[i];
        if (deny.Deny && !deny.InheritOnly && !deny.Conditional &&
            (deny.Sid == sid || deny.Sid == kEveryone)) {
            bits &= ~FileRights(deny.Mask);
        }
    }
    return bits != 0;
}

} // namespace

std::optional<SecurityInfo> ParseSddl(std::wstring_view sddl) {
    const auto owner = Part(sddl, L'O');
    const auto daclPart = Part(sddl, L'D');
    if (!owner || !daclPart) {
        return std::nullopt;
    }
    std::wstring_view dacl = *daclPart;
    SecurityInfo info;
    auto ownerSid = ParseSid(*owner);
    if (!ownerSid) {
        return std::nullopt;
    }
    info.Owner = std::move(*ownerSid);
    if (dacl.starts_with(L"NO_ACCESS_CONTROL")) {
        info.NullDacl = true;
        return info;
    }
    // Flags (P, AI, AR) before the first entry say nothing about who may do what.
    const std::wstring_view flags = dacl.substr(0, dacl.find(L'('));
    if (flags.find_first_not_of(L"PAIR") != std::wstring_view::npos) {
        return std::nullopt;
    }
    dacl.remove_prefix(flags.size());
    while (!dacl.empty()) {
        if (dacl.front() != L'(') {
            return std::nullopt;
        }
        std::size_t depth = 0;
        std::size_t end = 0;
        for (; end < dacl.size(); ++end) {
            depth += dacl[end] == L'(' ? 1 : 0;
            depth -= dacl[end] == L')' ? 1 : 0;
            if (depth == 0) {
                break;
            }
        }
        if (end == dacl.size()) {
            return std::nullopt;
        }
        auto entry = ParseEntry(dacl.substr(1, end - 1));
        if (!entry) {
            return std::nullopt;
        }
        info.Dacl.push_back(std::move(*entry));
        dacl.remove_prefix(end + 1);
    }
    return info;
}

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
        if (entry.Deny || entry.InheritOnly || entry.Sid == kCreatorOwner ||
            entry.Sid == kCreatorGroup) {
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
    return OnlyOwnersHold(file, rights::kFileDoor, owners) &&
           std::all_of(folders.begin(), folders.end(), [&](const SecurityInfo& folder) {
               return OnlyOwnersHold(folder, rights::kFolderDoor, owners);
           });
}

} // namespace zelvaran::config
