// What the setup and the uninstaller do beyond the plain install and removal: the protection a
// folder outside Program Files gets, files still in use, and which start-up entries are theirs.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/descriptor_read.h"
#include "config/startup.h"

#include "installer_fixture.h"

namespace zelvaran::testing {
namespace {

// Everybody may change it: under Wine its Unix mode becomes 777.
bool MakeWorldWritable(const std::wstring& path) {
    PSECURITY_DESCRIPTOR open = nullptr;
    const bool set =
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;FA;;;SY)(A;OICI;0x1301ff;;;WD)", SDDL_REVISION_1, &open, nullptr) &&
        SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, open);
    LocalFree(open);
    return set;
}

// The same file through Wine's Z: drive, which maps the Unix root, and the prefix's drive_c:
// another spelling of one path.
std::wstring ThroughUnixRoot(const std::wstring& path) {
    wchar_t prefix[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || path.size() < 3 || path[1] != L':') {
        return {};
    }
    std::wstring z = L"Z:" + std::wstring(prefix, n) + L"\\drive_" +
                     static_cast<wchar_t>(towlower(path[0])) + path.substr(2);
    std::ranges::replace(z, L'/', L'\\');
    return z;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end()); // the paths here are plain ASCII
}

// Every folder the setup creates, in Program Files or not, has Program Files' protection from the
// moment it exists: nothing for Everyone (under Wine, where the mode follows the descriptor given
// to CreateDirectory, a plain one would let Everyone read and run), and the installed program is
// judged admin-only all the way as it judges itself. Uninstalled outside Program Files, the
// emptied folder stays: were it gone, anyone could create it again.
TEST_F(InstallerTest, FoldersTheSetupCreatesAreProtectedAsTheyAreMade) {
    const auto protectedFolder = [](const std::wstring& folder) {
        DWORD error = ERROR_SUCCESS;
        const auto entry = config::ReadPathEntry(folder, error);
        return entry && !entry->Security.NullDacl &&
               std::ranges::none_of(entry->Security.Dacl, [](const config::AccessEntry& e) {
                   return e.Sid == L"S-1-1-0";
               });
    };
    EXPECT_TRUE(protectedFolder(InstallFolder()));
    EXPECT_TRUE(config::AdminOnlyAllTheWay(InstalledExe(), config::PathKind::File));
    ASSERT_EQ(QuietUninstall().ExitCode, 0u);

    const std::wstring top = L"C:\\Capa nueva";
    const std::wstring nested = top + L"\\Interior\\Zelvaran";
    // Beside Program Files, its name starting like it: still outside.
    const std::wstring outside = KnownFolder(FOLDERID_ProgramFiles) + L" Zelvaran";
    const Cleanup restore([&] {
        if (Installed()) {
            static_cast<void>(QuietUninstall());
        }
        RemoveFolder(outside);
        RemoveFolder(nested);
        RemoveDirectoryW((top + L"\\Interior").c_str());
        RemoveDirectoryW(top.c_str());
    });
    for (const auto& [folder, made] :
         {std::pair{outside, std::vector{outside}},
          std::pair{nested, std::vector{top, top + L"\\Interior", nested}}}) {
        SCOPED_TRACE(Narrow(folder));
        ASSERT_EQ(RunToEnd(Quoted(SetupPath()) + L" /S /D=" + folder).ExitCode, 0u);
        EXPECT_TRUE(config::AdminOnlyAllTheWay(folder + L"\\zelvaran.exe", config::PathKind::File));
        EXPECT_TRUE(std::ranges::all_of(made, protectedFolder));
        ASSERT_EQ(QuietUninstall().ExitCode, 0u);
        EXPECT_FALSE(Installed());
        EXPECT_TRUE(FolderExists(folder));
        EXPECT_FALSE(FileExists(folder + L"\\zelvaran.exe"));
    }
}

// Nothing is installed where others could change the program: under a folder everybody may
// change (outside Program Files or a vendor's folder inside it), in an existing folder everybody
// may change, through a path that does not lead where it says (an 8.3 short name here; a
// junction on Windows). Installed over a program file everybody may change (a folder made
// beforehand by an administrator, the file by someone who could), the copy is taken back.
TEST_F(InstallerTest, AFolderOrFileOthersCanChangeIsRefused) {
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(MakerFolder().c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(Lower(shortName), Lower(MakerFolder()));
    const std::wstring programFiles = KnownFolder(FOLDERID_ProgramFiles);
    const struct {
        std::wstring Open, Target;
        bool Premade;
    } cases[] = {
        {L"C:\\Herramientas abiertas", L"C:\\Herramientas abiertas\\Zelvaran", false},
        {programFiles + L"\\Proveedor", programFiles + L"\\Proveedor\\Zelvaran", false},
        {L"C:\\Hecha por otro", L"C:\\Hecha por otro", false},
        {L"", std::wstring(shortName) + L"\\Corto", false},
        {L"C:\\Hecha antes\\zelvaran.exe", L"C:\\Hecha antes", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.Target));
        const Cleanup restore([&] {
            RemoveFolder(c.Target);
            RemoveDirectoryW(c.Open.c_str());
        });
        if (c.Premade) {
            ASSERT_TRUE(CreateDirectoryW(c.Target.c_str(), nullptr));
            ASSERT_TRUE(WriteFileText(c.Open, "MZ"));
        } else if (!c.Open.empty()) {
            ASSERT_TRUE(CreateDirectoryW(c.Open.c_str(), nullptr));
        }
        ASSERT_TRUE(c.Open.empty() || MakeWorldWritable(c.Open));
        EXPECT_EQ(RunToEnd(Quoted(SetupPath()) + L" /S /D=" + c.Target).ExitCode, 2u);
        EXPECT_FALSE(FileExists(c.Target + L"\\zelvaran.exe"));
        EXPECT_FALSE(FileExists(c.Target + L"\\zelvaran_help.chm"));
        EXPECT_EQ(FolderExists(c.Target), c.Premade || c.Open == c.Target);
        EXPECT_EQ(Lower(UninstallText(L"InstallLocation")), Lower(InstallFolder()));
    }
}

// Start-up entries named "Zelvaran": the uninstaller takes out only those that start the exe it
// removes, however the path is spelt, in the machine's Run key and its own user's; started by
// another spelling of its folder (Wine's Z: drive here; a junction, a subst drive or a short name
// on Windows), it still finds its entry by the final path.
TEST_F(InstallerTest, UninstallRemovesOnlyTheRunEntriesThatStartItsProgram) {
    std::wstring upper = Quoted(InstalledExe());
    std::transform(upper.begin(), upper.end(), upper.begin(), towupper);
    const struct {
        std::wstring Text;
        bool Ours, ThroughZ;
    } cases[] = {
        {upper, true, false},
        {Lower(InstalledExe()), true, false},
        {L"\"D:\\Tools\\zelvaran.exe\"", false, false},
        {Quoted(InstallFolder() + L" Evil\\zelvaran.exe"), false, false},
        {Quoted(InstalledExe()), true, true},
    };
    const Cleanup restore([] {
        static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
        static_cast<void>(DeleteValue(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"));
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.Text) + (c.ThroughZ ? " through Z:" : ""));
        if (!Installed()) {
            ASSERT_EQ(SilentInstall().ExitCode, 0u);
        }
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            ASSERT_EQ(WriteText(root, kRunKey, L"Zelvaran", c.Text), 0);
        }
        const std::wstring elsewhere = ThroughUnixRoot(Uninstaller());
        ASSERT_TRUE(!c.ThroughZ || FileExists(elsewhere));
        EXPECT_EQ((c.ThroughZ ? RunToEnd(Quoted(elsewhere) + L" /S") : QuietUninstall()).ExitCode,
                  0u);
        EXPECT_FALSE(Installed());
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            const auto left = ReadValue(root, kRunKey, L"Zelvaran");
            EXPECT_EQ(left.has_value(), !c.Ours);
            if (left) {
                EXPECT_EQ(left->Text(), c.Text);
            }
        }
    }
}

// A copy still running in another session keeps its exe open, out of the setup's sight: the
// file goes at the next restart instead, and the rest is removed now.
TEST_F(InstallerTest, AFileInUseIsRemovedAtTheNextRestart) {
    const std::wstring pendingKey = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const auto before = ReadValue(HKEY_LOCAL_MACHINE, pendingKey, L"PendingFileRenameOperations");
    HANDLE held = CreateFileW(InstalledExe().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Cleanup restore([&] {
        CloseHandle(held);
        DeleteFileW(InstalledExe().c_str());
        RemoveDirectoryW(InstallFolder().c_str());
        RemoveDirectoryW(MakerFolder().c_str());
        if (before) {
            ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, pendingKey.c_str(),
                                      L"PendingFileRenameOperations", before->Type,
                                      before->Data.data(), static_cast<DWORD>(before->Data.size())),
                      ERROR_SUCCESS);
        } else {
            static_cast<void>(
                DeleteValue(HKEY_LOCAL_MACHINE, pendingKey, L"PendingFileRenameOperations"));
        }
    });
    const RunResult uninstall = QuietUninstall();
    EXPECT_TRUE(uninstall.Finished);
    EXPECT_TRUE(FileExists(InstalledExe()));
    EXPECT_FALSE(FileExists(InstalledHelp()));
    EXPECT_FALSE(Installed());
    const auto pending = ReadValue(HKEY_LOCAL_MACHINE, pendingKey, L"PendingFileRenameOperations");
    ASSERT_TRUE(pending.has_value());
    const std::wstring names(reinterpret_cast<const wchar_t*>(pending->Data.data()),
                             pending->Data.size() / sizeof(wchar_t));
    EXPECT_NE(Lower(names).find(Lower(InstalledExe())), std::wstring::npos);
    // Installed again before the restart, the new exe would go at boot: the setup refuses.
    EXPECT_EQ(SilentInstall().ExitCode, 2u);
    EXPECT_FALSE(Installed());
    EXPECT_FALSE(FileExists(InstalledHelp()));
}

} // namespace
} // namespace zelvaran::testing
