// Who may change what runs, from descriptors written as Windows writes them: a program file and
// the folders above it, judged against those who can change the system folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/permissions.h"

namespace zelvaran::config {
namespace {

#define TI L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
#define ANA L"S-1-5-21-1004336348-1177238915-682003330-1001"

// System32 and Program Files as Windows 10 sets them up.
const wchar_t* const kSystem =
    L"O:" TI L"G:" TI L"D:PAI(A;;FA;;;" TI L")(A;CIIO;GA;;;" TI L")(A;;0x1301bf;;;SY)"
    L"(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
    L"(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)";
const wchar_t* const kInstalledFolder =
    L"O:BAG:SYD:AI(A;ID;FA;;;" TI L")(A;CIIOID;GA;;;" TI L")(A;ID;0x1301bf;;;SY)"
    L"(A;OICIIOID;GA;;;SY)(A;ID;0x1301bf;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;0x1200a9;;;BU)"
    L"(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)";
const wchar_t* const kInstalledExe =
    L"O:BAG:SYD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)(A;ID;0x1200a9;;;AC)";
// C:\ and a folder an administrator made in it, inheriting "Authenticated Users: Modify".
const wchar_t* const kDriveRoot =
    L"O:SYG:SYD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)"
    L"(A;CI;LC;;;AU)(A;CIIO;SDGXGWGR;;;AU)";
const wchar_t* const kInheritsFromRoot =
    L"O:BAG:SYD:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;OICIIOID;GA;;;CO)(A;OICIID;0x1200a9;;;BU)"
    L"(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)";

std::vector<std::wstring> Owners(const wchar_t* system) {
    const auto info = ParseSddl(system);
    return info ? MachineOwners(*info) : std::vector<std::wstring>{};
}

std::string Narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end()); // SDDL is plain ASCII
}

// Admin-only with one explicit entry added before the inherited ones (or another owner).
std::wstring With(const std::wstring& base, const std::wstring& entries,
                  const wchar_t* owner = L"BA") {
    const std::size_t dacl = base.find(L"D:AI") + 4;
    return L"O:" + std::wstring(owner) + base.substr(base.find(L"G:"), dacl - base.find(L"G:")) +
           entries + base.substr(dacl);
}

TEST(Permissions, OnlyThoseWhoCanChangeTheSystemFolderOwnTheMachine) {
    EXPECT_EQ(Owners(kSystem), (std::vector<std::wstring>{TI, L"S-1-5-18", L"S-1-5-32-544"}));
    // Under Wine one account owns every file, System32 included; the mode's Everyone reads.
    EXPECT_EQ(Owners(L"O:S-1-5-21-0-0-0-1000D:(A;;FA;;;SY)(A;;FA;;;S-1-5-21-0-0-0-1000)"
                     L"(A;;0x1200a9;;;WD)"),
              (std::vector<std::wstring>{L"S-1-5-21-0-0-0-1000", L"S-1-5-18"}));
}

bool Judged(const std::wstring& exe, const std::vector<std::wstring>& folderTexts) {
    const auto file = ParseSddl(exe);
    std::vector<SecurityInfo> folders;
    for (const std::wstring& text : folderTexts) {
        const auto info = ParseSddl(text);
        EXPECT_TRUE(info.has_value()) << Narrow(text);
        folders.push_back(info.value_or(SecurityInfo{}));
    }
    EXPECT_TRUE(file.has_value());
    return file && AdminOnly(*file, folders, Owners(kSystem));
}

TEST(Permissions, AdminOnlyAllTheWayOrNot) {
    const std::wstring folder = kInstalledFolder;
    const std::wstring exe = kInstalledExe;
    const struct {
        const char* What;
        std::wstring Exe;
        std::vector<std::wstring> Folders; // the exe's folder first, the drive's root last
        bool AdminOnly;
    } chains[] = {
        {"Program Files", exe, {folder, folder, kSystem, kDriveRoot}, true},
        {"vendor folder granting Users Modify",
         exe,
         {folder, With(folder, L"(A;OICI;0x1301bf;;;BU)"), kSystem, kDriveRoot},
         false},
        {"under C:\\, inheriting its Modify", exe, {kInheritsFromRoot, kDriveRoot}, false},
        {"folder owned by a standard user", exe, {With(folder, L"", ANA), kDriveRoot}, false},
        {"exe owned by a standard user", With(exe, L"", ANA), {folder, kDriveRoot}, false},
        {"exe: no DACL", L"O:BAD:NO_ACCESS_CONTROL", {folder}, false},
        {"folder: delete itself", exe, {folder, With(folder, L"(A;;0x10000;;;BU)")}, false},
        {"Wine: a 777 folder", exe, {L"O:S-1-5-21-0-0-0-1000D:(A;;0x1301ff;;;WD)"}, false},
    };
    for (const auto& c : chains) {
        EXPECT_EQ(Judged(c.Exe, c.Folders), c.AdminOnly) << c.What;
    }
    // One entry added to the exe, then to its folder.
    const std::pair<const wchar_t*, bool> onExe[] = {
        {L"(A;;FW;;;BU)", false}, {L"(A;;0x4;;;AU)", false}, {L"(A;;SD;;;" ANA L")", false},
        {L"(A;;WD;;;BU)", false}, {L"(A;;WO;;;BU)", false},  {L"(A;;GA;;;WD)", false},
        {L"(A;;GW;;;BU)", false}, {L"(A;;GRGX;;;BU)", true},
    };
    for (const auto& [entries, adminOnly] : onExe) {
        EXPECT_EQ(Judged(With(exe, entries), {folder}), adminOnly) << Narrow(entries);
    }
    const std::pair<const wchar_t*, bool> onFolder[] = {
        {L"(A;;DT;;;BU)", false},    // delete entries
        {L"(A;;DCLC;;;BU)", true},   // add files and folders
        {L"(A;OIIO;GA;;;BU)", true}, // Modify for new files only
        {L"(A;;FA;;;CO)", true},     // CREATOR OWNER for itself
        {L"(A;;FA;;;OW)", true},     // OWNER RIGHTS of an administrators' folder
        {L"(D;;SDDTWDWO;;;BU)(A;OICI;0x1301bf;;;BU)", true}, // deny first takes the doors back
        {L"(D;;SDDTWDWO;;;WD)(A;OICI;0x1301bf;;;BU)", true}, // deny for Everyone first
        {L"(A;;0x1301bf;;;BU)(D;;SDDTWDWO;;;BU)", false},    // deny too late
        {L"(D;;SDDTWDWO;;;AU)(A;;0x1301bf;;;BU)", false},    // deny for another principal
        {L"(XD;;SDDTWDWO;;;BU;(@User.x==1))(A;;0x1301bf;;;BU)", false}, // deny under a condition
        {L"(D;;SDDTWD;;;BU)(A;;GA;;;BU)", false},                       // deny missing a door
    };
    for (const auto& [entries, adminOnly] : onFolder) {
        EXPECT_EQ(Judged(exe, {With(folder, entries)}), adminOnly) << Narrow(entries);
    }
}

TEST(Permissions, TextNotUnderstoodIsNoDescriptor) {
    for (const wchar_t* text :
         {L"", L"D:(A;;FA;;;BA)", L"O:BA", L"O:BAD:(A;;FA;;;BA", L"O:BAD:(A;;QQ;;;BA)",
          L"O:BAD:(A;;FA;;BA)", L"O:BAD:(A;;0x;;;BA)", L"O:S-1-5-!D:", L"O:BAD:x(A;;FA;;;BA)"}) {
        EXPECT_FALSE(ParseSddl(text).has_value()) << Narrow(text);
    }
    const auto empty = ParseSddl(L"O:BAD:P");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->Dacl.empty() && !empty->NullDacl);
}

} // namespace
} // namespace zelvaran::config
