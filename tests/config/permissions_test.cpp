// Who may change what runs, from descriptors as Windows stores them: a program file and the
// folders above it, judged against those who can change the system folder.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/permissions.h"

namespace zelvaran::config {
namespace {

using namespace ace;

const std::wstring TI = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::wstring ANA = L"S-1-5-21-1004336348-1177238915-682003330-1001";
const std::wstring SY = L"S-1-5-18", BA = L"S-1-5-32-544", BU = L"S-1-5-32-545", AU = L"S-1-5-11",
                   WD = L"S-1-1-0", CO = L"S-1-3-0", OW = L"S-1-3-4", AC = L"S-1-15-2-1";
constexpr std::uint32_t FA = 0x1F01FF, GA = 0x10000000, GW = 0x40000000, GRGX = 0xA0000000,
                        RX = 0x1200A9, Modify = 0x1301BF, SD = 0x10000, WDAC = 0x40000,
                        WO = 0x80000, DT = 0x40, Doors = SD | DT | WDAC | WO;
constexpr std::uint8_t IO = kInheritOnly, OICI = kObjectInherit | kContainerInherit;

AccessEntry A(const std::wstring& sid, std::uint32_t mask, std::uint8_t flags = 0) {
    return {kAllow, flags, mask, sid};
}
AccessEntry D(const std::wstring& sid, std::uint32_t mask, std::uint8_t type = kDeny) {
    return {type, 0, mask, sid};
}

// Entries as a child gets them from its parent.
std::vector<AccessEntry> Inherited(std::vector<AccessEntry> entries) {
    for (AccessEntry& entry : entries) {
        entry.Flags |= kInherited;
    }
    return entries;
}

// System32 and Program Files as Windows 10 sets them up (SDDL: see each comment).
// O:TI D:PAI(A;;FA;;;TI)(A;CIIO;GA;;;TI)(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)
// (A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)
const SecurityInfo kSystem{TI,
                           false,
                           {A(TI, FA), A(TI, GA, kContainerInherit | IO), A(SY, 0x1301BF),
                            A(SY, GA, OICI | IO), A(BA, 0x1301BF), A(BA, GA, OICI | IO), A(BU, RX),
                            A(BU, GRGX, OICI | IO), A(CO, GA, OICI | IO), A(AC, RX)}};
const SecurityInfo kInstalledFolder{
    BA, false,
    Inherited({A(TI, FA), A(SY, Modify), A(SY, GA, OICI | IO), A(BA, Modify), A(BA, GA, OICI | IO),
               A(BU, RX), A(BU, GRGX, OICI | IO), A(CO, GA, OICI | IO)})};
// O:BA D:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)(A;ID;0x1200a9;;;AC)
const SecurityInfo kInstalledExe{BA, false,
                                 Inherited({A(SY, FA), A(BA, FA), A(BU, RX), A(AC, RX)})};
// C:\ and a folder an administrator made in it, inheriting "Authenticated Users: Modify".
const SecurityInfo kDriveRoot{SY,
                              false,
                              {A(BA, FA, OICI), A(SY, FA, OICI), A(CO, GA, OICI | IO),
                               A(BU, RX, OICI), A(AU, 0x4, kContainerInherit),
                               A(AU, SD | 0xE0000000, kContainerInherit | IO)}};
const SecurityInfo kInheritsFromRoot{
    BA, false,
    Inherited({A(BA, FA), A(SY, FA), A(CO, GA, OICI | IO), A(BU, RX, OICI), A(AU, Modify),
               A(AU, SD | 0xE0000000, OICI | IO)})};

std::vector<std::wstring> Owners() {
    return MachineOwners(kSystem);
}

// Admin-only with entries put before the inherited ones, or another owner.
SecurityInfo With(SecurityInfo base, std::vector<AccessEntry> entries,
                  const std::wstring& owner = BA) {
    base.Owner = owner;
    entries.insert(entries.end(), base.Dacl.begin(), base.Dacl.end());
    base.Dacl = std::move(entries);
    return base;
}

TEST(Permissions, OnlyThoseWhoCanChangeTheSystemFolderOwnTheMachine) {
    EXPECT_EQ(Owners(), (std::vector<std::wstring>{TI, SY, BA}));
    // Under Wine one account owns every file, System32 included; the mode's Everyone reads.
    const std::wstring wine = L"S-1-5-21-0-0-0-1000";
    EXPECT_EQ(MachineOwners({wine, false, {A(SY, FA), A(wine, FA), A(WD, RX)}}),
              (std::vector<std::wstring>{wine, SY}));
}

// A way as read from each step's own handle. Wine can make no junction, link or mount point, so
// they come in here as Windows reports them.
TEST(Permissions, ALinkOrAnUnreadableStepAnywhereOnTheWayVouchesForNothing) {
    const PathEntry exe{kInstalledExe}, folder{kInstalledFolder}, sys{kSystem}, root{kDriveRoot};
    const PathEntry link{kInstalledFolder, true};
    const struct {
        const char* What;
        std::vector<std::optional<PathEntry>> Way; // the object first, the drive's root last
        PathKind Kind;
        bool AdminOnly;
    } ways[] = {
        {"Program Files", {exe, folder, folder, sys, root}, PathKind::File, true},
        {"the exe a link",
         {PathEntry{kInstalledExe, true}, folder, sys, root},
         PathKind::File,
         false},
        {"a junction above", {exe, folder, link, sys, root}, PathKind::File, false},
        {"the drive a mount point",
         {exe, folder, sys, PathEntry{kDriveRoot, true}},
         PathKind::File,
         false},
        {"a folder not read", {exe, folder, std::nullopt, root}, PathKind::File, false},
        {"a file with no folder", {exe}, PathKind::File, false},
        {"the program's folder", {folder, folder, sys, root}, PathKind::ProgramFolder, true},
        {"the program's folder a junction", {link, sys, root}, PathKind::ProgramFolder, false},
        {"a folder on the way", {folder, root}, PathKind::Folder, true},
        {"a folder on the way, a link", {folder, link, root}, PathKind::Folder, false},
    };
    for (const auto& w : ways) {
        EXPECT_EQ(AdminOnlyWay(w.Way, w.Kind, Owners()), w.AdminOnly) << w.What;
    }
}

TEST(Permissions, AdminOnlyAllTheWayOrNot) {
    const SecurityInfo& folder = kInstalledFolder;
    const SecurityInfo& exe = kInstalledExe;
    const struct {
        const char* What;
        SecurityInfo Exe;
        std::vector<SecurityInfo> Folders; // the exe's folder first, the drive's root last
        bool AdminOnly;
    } chains[] = {
        {"Program Files", exe, {folder, folder, kSystem, kDriveRoot}, true},
        {"vendor folder granting Users Modify",
         exe,
         {folder, With(folder, {A(BU, Modify, OICI)}), kSystem, kDriveRoot},
         false},
        {"under C:\\, inheriting its Modify", exe, {kInheritsFromRoot, kDriveRoot}, false},
        {"folder owned by a standard user", exe, {With(folder, {}, ANA), kDriveRoot}, false},
        {"exe owned by a standard user", With(exe, {}, ANA), {folder, kDriveRoot}, false},
        {"exe: no DACL", {BA, true, {}}, {folder}, false},
        {"no folder at all", exe, {}, false},
        {"folder: delete itself", exe, {folder, With(folder, {A(BU, SD)})}, false},
        {"Wine: a 777 folder", exe, {{L"S-1-5-21-0-0-0-1000", false, {A(WD, 0x1301FF)}}}, false},
        {"exe in C:\\ itself, where users add folders", exe, {kDriveRoot}, false},
    };
    for (const auto& c : chains) {
        EXPECT_EQ(AdminOnly(c.Exe, c.Folders, Owners()), c.AdminOnly) << c.What;
    }
    // One entry added to the exe (any of these but read and run lets others change it), then to
    // its folder, then to the folder above it.
    for (const AccessEntry& entry :
         {A(BU, 0x120116), A(AU, 0x4), A(ANA, SD), A(BU, WDAC), A(BU, WO), A(WD, GA), A(BU, GW),
          AccessEntry{kAllowCallback, 0, FA, BU}, AccessEntry{kAllowObject, 0, FA, BU}}) {
        EXPECT_FALSE(AdminOnly(With(exe, {entry}), {{folder}}, Owners()))
            << int{entry.Type} << " " << entry.Mask;
    }
    EXPECT_TRUE(AdminOnly(With(exe, {A(BU, GRGX)}), {{folder}}, Owners()));
    const struct {
        const char* What;
        std::vector<AccessEntry> Entries;
        bool OnProgramFolder, Above;
    } onFolder[] = {
        {"delete entries", {A(BU, DT)}, false, false},
        {"add files, beside the program only", {A(BU, 0x2)}, false, true},
        {"add folders, beside the program only", {A(BU, 0x4)}, false, true},
        {"Modify for new files only", {A(BU, GA, kObjectInherit | IO)}, true, true},
        {"CREATOR OWNER for itself", {A(CO, FA)}, true, true},
        {"OWNER RIGHTS of an administrators' folder", {A(OW, FA)}, true, true},
        {"deny first takes the doors back", {D(BU, Doors | 0x6), A(BU, Modify)}, true, true},
        {"deny for Everyone first", {D(WD, Doors | 0x6), A(BU, Modify)}, true, true},
        {"deny too late", {A(BU, Modify), D(BU, Doors)}, false, false},
        {"deny for another principal", {D(AU, Doors), A(BU, Modify)}, false, false},
        {"deny under a condition", {D(BU, FA, kDenyCallback), A(BU, Modify)}, false, false},
        {"deny for an object type", {D(BU, FA, kDenyObject), A(BU, Modify)}, false, false},
        {"deny missing a door", {D(BU, SD | DT | WDAC), A(BU, GA)}, false, false},
        {"deny in generic rights only", {D(BU, GA), A(BU, FA)}, false, false},
        {"deny for new files only", {{kDeny, IO | OICI, FA, BU}, A(BU, FA)}, false, false},
        {"conditional allow", {{kAllowCallback, 0, SD, BU}}, false, false},
        {"conditional allow for an object type", {{kAllowCallbackObject, 0, DT, BU}}, false, false},
    };
    for (const auto& c : onFolder) {
        EXPECT_EQ(AdminOnly(exe, {{With(folder, c.Entries)}}, Owners()), c.OnProgramFolder)
            << c.What;
        EXPECT_EQ(AdminOnly(exe, {{folder, With(folder, c.Entries)}}, Owners()), c.Above) << c.What;
    }
}

// What the setup's files get from the folder it writes them into.
TEST(Permissions, ANewFileGetsWhatItsFolderPassesToFiles) {
    const struct {
        const char* What;
        std::vector<AccessEntry> Folder;
        bool AdminOnly;
    } cases[] = {
        {"the setup's own folder", {A(SY, FA, OICI), A(BA, FA, OICI), A(BU, RX, OICI)}, true},
        {"Users: Modify, files only", {A(BA, FA, OICI), A(BU, Modify, kObjectInherit | IO)}, false},
        {"Users: Modify, folders only", {A(BA, FA, OICI), A(BU, Modify, kContainerInherit)}, true},
        {"CREATOR OWNER is the installing administrator", {A(CO, FA, OICI | IO)}, true},
        {"nothing passed: the system's default", {A(BA, FA)}, false},
    };
    for (const auto& c : cases) {
        const SecurityInfo file = ForNewFile({BA, false, c.Folder}, BA);
        EXPECT_EQ(OnlyOwnersHold(file, rights::kFileDoor, Owners()), c.AdminOnly) << c.What;
    }
}

} // namespace
} // namespace zelvaran::config
