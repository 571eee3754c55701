// What the setup and the uninstaller do beyond the plain install and removal: the protection a
// folder outside Program Files gets, files still in use, and which start-up entries are theirs.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "installer_fixture.h"

namespace zelvaran::testing {
namespace {

const std::wstring kOverrides = L"Software\\Wine\\DllOverrides";

// Puts the recording stand-in where the setup looks for icacls.exe, and Wine's own back after.
// Wine runs its built-in icacls unless told to prefer the file on disk.
class RecordedIcacls {
public:
    RecordedIcacls()
        : system_(KnownFolder(FOLDERID_System) + L"\\icacls.exe"), saved_(system_ + L".zelvaran"),
          log_(TempFolder() + L"\\icacls_calls.txt") {
        Clear();
        ready_ =
            MoveFileExW(system_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
            CopyFileW((OwnFolder() + L"\\icacls_recorder.exe").c_str(), system_.c_str(), FALSE) &&
            WriteText(HKEY_CURRENT_USER, kOverrides, L"icacls.exe", L"native") == 0 &&
            SetEnvironmentVariableW(L"ZELVARAN_ICACLS_LOG", log_.c_str());
    }
    ~RecordedIcacls() {
        SetEnvironmentVariableW(L"ZELVARAN_ICACLS_LOG", nullptr);
        SetEnvironmentVariableW(L"ZELVARAN_ICACLS_EXIT", nullptr);
        static_cast<void>(DeleteValue(HKEY_CURRENT_USER, kOverrides, L"icacls.exe"));
        MoveFileExW(saved_.c_str(), system_.c_str(), MOVEFILE_REPLACE_EXISTING);
        DeleteFileW(log_.c_str());
    }
    RecordedIcacls(const RecordedIcacls&) = delete;
    RecordedIcacls& operator=(const RecordedIcacls&) = delete;

    [[nodiscard]] bool Ready() const { return ready_; }
    void Clear() const { DeleteFileW(log_.c_str()); }
    [[nodiscard]] std::vector<std::string> Calls() const {
        const auto bytes = FileBytes(log_).value_or(std::vector<char>{});
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        std::vector<std::string> calls;
        for (std::string line; std::getline(in, line);) {
            calls.push_back(line);
        }
        return calls;
    }

private:
    std::wstring system_, saved_, log_;
    bool ready_ = false;
};

// Everybody may change the folder: under Wine its Unix mode becomes 777.
bool MakeWorldWritable(const std::wstring& folder) {
    PSECURITY_DESCRIPTOR open = nullptr;
    const bool set =
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;FA;;;SY)(A;OICI;0x1301ff;;;WD)", SDDL_REVISION_1, &open, nullptr) &&
        SetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, open);
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

// Outside Program Files the install folder gets Program Files' protection, and so does every
// folder the setup creates above it, from the top down, before anything goes into them.
TEST_F(InstallerTest, FoldersOutsideProgramFilesGetProgramFilesProtection) {
    RecordedIcacls icacls;
    ASSERT_TRUE(icacls.Ready());
    // The suite's installation lies in Program Files: installing there again protects nothing.
    ASSERT_EQ(SilentInstall().ExitCode, 0u);
    EXPECT_TRUE(icacls.Calls().empty());
    ASSERT_EQ(QuietUninstall().ExitCode, 0u);

    // Beside Program Files, its name starting like it: still outside.
    const std::wstring outside = KnownFolder(FOLDERID_ProgramFiles) + L" Zelvaran";
    const std::wstring top = L"C:\\Capa nueva";
    const Cleanup restore([&] {
        if (Installed()) {
            static_cast<void>(QuietUninstall());
        }
        RemoveFolder(outside);
        RemoveFolder(top + L"\\Interior\\Zelvaran");
        RemoveDirectoryW((top + L"\\Interior").c_str());
        RemoveDirectoryW(top.c_str());
    });
    // icacls refusing: nothing is installed where others could change it.
    SetEnvironmentVariableW(L"ZELVARAN_ICACLS_EXIT", L"5");
    EXPECT_EQ(RunToEnd(Quoted(SetupPath()) + L" /S /D=" + outside).ExitCode, 2u);
    EXPECT_EQ(icacls.Calls().size(), 1u);
    EXPECT_FALSE(FileExists(outside + L"\\zelvaran.exe"));
    EXPECT_FALSE(Installed());
    SetEnvironmentVariableW(L"ZELVARAN_ICACLS_EXIT", nullptr);

    const auto protect = [](const std::wstring& folder) { // what the install folder gets
        const std::string quoted = '"' + Narrow(folder);
        return std::vector<std::string>{
            quoted + "\" /setowner *S-1-5-32-544 /T /C /Q",
            quoted + "\" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F "
                     "*S-1-5-32-545:(OI)(CI)RX /Q",
            quoted + "\\*\" /reset /T /C /Q"};
    };
    const auto above = [](const std::wstring& folder) { // a new folder above it
        const std::string quoted = '"' + Narrow(folder) + '"';
        return std::vector<std::string>{quoted + " /setowner *S-1-5-32-544 /Q",
                                        quoted + " /inheritance:r /grant:r "};
    };
    std::vector<std::string> nested = above(top);
    std::ranges::copy(above(top + L"\\Interior"), std::back_inserter(nested));
    std::ranges::copy(protect(top + L"\\Interior\\Zelvaran"), std::back_inserter(nested));
    const std::pair<std::wstring, std::vector<std::string>> cases[] = {
        {outside, protect(outside)},
        {top + L"\\Interior\\Zelvaran", nested},
    };
    for (const auto& [folder, expected] : cases) {
        SCOPED_TRACE(Narrow(folder));
        icacls.Clear();
        ASSERT_EQ(RunToEnd(Quoted(SetupPath()) + L" /S /D=" + folder).ExitCode, 0u);
        EXPECT_TRUE(FileExists(folder + L"\\zelvaran.exe"));
        const std::vector<std::string> calls = icacls.Calls();
        ASSERT_EQ(calls.size(), expected.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].find("\"C:\\windows\\system32\\icacls.exe\""), 0u) << calls[i];
            EXPECT_NE(calls[i].find(expected[i]), std::string::npos) << calls[i];
        }
        // Uninstalled, the emptied folder stays: were it gone, anyone could create it again.
        ASSERT_EQ(QuietUninstall().ExitCode, 0u);
        EXPECT_FALSE(Installed());
        EXPECT_TRUE(FolderExists(folder));
        EXPECT_FALSE(FileExists(folder + L"\\zelvaran.exe"));
    }
}

// A folder above the install folder that everybody may change: outside Program Files or a
// vendor's folder inside it, the setup installs nothing.
TEST_F(InstallerTest, AFolderAboveThatOthersCanChangeIsRefused) {
    for (const std::wstring& open : {std::wstring(L"C:\\Herramientas abiertas"),
                                     KnownFolder(FOLDERID_ProgramFiles) + L"\\Proveedor"}) {
        SCOPED_TRACE(Narrow(open));
        const Cleanup restore([&] {
            RemoveFolder(open + L"\\Zelvaran");
            RemoveDirectoryW(open.c_str());
        });
        ASSERT_TRUE(CreateDirectoryW(open.c_str(), nullptr));
        ASSERT_TRUE(MakeWorldWritable(open));
        EXPECT_EQ(RunToEnd(Quoted(SetupPath()) + L" /S /D=" + open + L"\\Zelvaran").ExitCode, 2u);
        EXPECT_FALSE(FolderExists(open + L"\\Zelvaran"));
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
