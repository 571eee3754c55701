// What the setup and the uninstaller do beyond the plain install and removal: the protection a
// folder outside Program Files gets, files still in use, and which start-up entries are theirs.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

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
        DeleteFileW(log_.c_str());
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
    [[nodiscard]] std::vector<std::string> Calls() const {
        const auto bytes = FileBytes(log_);
        std::istringstream in(bytes ? std::string(bytes->begin(), bytes->end()) : std::string());
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
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;FA;;;SY)(A;OICI;0x1301ff;;;WD)", SDDL_REVISION_1, &open, nullptr)) {
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    const bool set = GetSecurityDescriptorDacl(open, &present, &dacl, &defaulted) &&
                     SetNamedSecurityInfoW(const_cast<LPWSTR>(folder.c_str()), SE_FILE_OBJECT,
                                           DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl,
                                           nullptr) == ERROR_SUCCESS;
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
    for (wchar_t& c : z) {
        c = c == L'/' ? L'\\' : c;
    }
    return z;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end()); // the paths here are plain ASCII
}

TEST_F(InstallerTest, AFolderOutsideProgramFilesGetsProgramFilesProtection) {
    RecordedIcacls icacls;
    ASSERT_TRUE(icacls.Ready());
    // The suite's installation lies in Program Files: installing there again protects nothing.
    ASSERT_EQ(SilentInstall().ExitCode, 0u);
    EXPECT_TRUE(icacls.Calls().empty());
    ASSERT_EQ(QuietUninstall().ExitCode, 0u);

    // Beside Program Files, its name starting like it: still outside.
    const std::wstring outside = KnownFolder(FOLDERID_ProgramFiles) + L" Zelvaran";
    const Cleanup restore([&] {
        if (Installed()) {
            static_cast<void>(QuietUninstall());
        }
        RemoveFolder(outside);
    });
    for (const bool refused : {true, false}) {
        SetEnvironmentVariableW(L"ZELVARAN_ICACLS_EXIT", refused ? L"5" : nullptr);
        const RunResult setup = RunToEnd(Quoted(SetupPath()) + L" /S /D=" + outside);
        ASSERT_TRUE(setup.Finished);
        const std::vector<std::string> calls = icacls.Calls();
        std::string folder(1, '"');
        folder += Narrow(outside);
        const std::string children = folder + "\\*\" /reset /T /C /Q";
        folder += '"';
        if (refused) {
            // Nothing is installed where others could change it.
            EXPECT_EQ(setup.ExitCode, 2u);
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_FALSE(FileExists(outside + L"\\zelvaran.exe"));
            EXPECT_FALSE(Installed());
            continue;
        }
        EXPECT_EQ(setup.ExitCode, 0u);
        ASSERT_EQ(calls.size(), 4u); // one refused above, three now
        EXPECT_NE(calls[1].find(folder + " /setowner *S-1-5-32-544 /T /C /Q"), std::string::npos)
            << calls[1];
        EXPECT_NE(calls[2].find(folder + " /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F "
                                         "*S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q"),
                  std::string::npos)
            << calls[2];
        EXPECT_NE(calls[3].find(children), std::string::npos) << calls[3];
        for (const std::string& call : calls) {
            EXPECT_EQ(call.find("\"C:\\windows\\system32\\icacls.exe\""), 0u) << call;
        }
        EXPECT_TRUE(FileExists(outside + L"\\zelvaran.exe"));
    }
    // Uninstalled, the emptied folder stays: were it gone, anyone could create it again.
    ASSERT_EQ(QuietUninstall().ExitCode, 0u);
    EXPECT_FALSE(Installed());
    EXPECT_TRUE(FolderExists(outside));
    EXPECT_FALSE(FileExists(outside + L"\\zelvaran.exe"));
}

// Folders the setup creates above the install folder are protected too, from the top down,
// before anything goes into them.
TEST_F(InstallerTest, FoldersCreatedAboveTheInstallFolderAreProtectedToo) {
    RecordedIcacls icacls;
    ASSERT_TRUE(icacls.Ready());
    const std::wstring top = L"C:\\Capa nueva";
    const Cleanup restore([&] {
        if (Lower(UninstallText(L"InstallLocation")).starts_with(Lower(top))) {
            static_cast<void>(QuietUninstall());
        }
        RemoveFolder(top + L"\\Interior\\Zelvaran");
        RemoveDirectoryW((top + L"\\Interior").c_str());
        RemoveDirectoryW(top.c_str());
    });
    const RunResult setup =
        RunToEnd(Quoted(SetupPath()) + L" /S /D=" + top + L"\\Interior\\Zelvaran");
    ASSERT_TRUE(setup.Finished);
    EXPECT_EQ(setup.ExitCode, 0u);
    const std::vector<std::string> calls = icacls.Calls();
    ASSERT_EQ(calls.size(), 7u); // two for each new folder above, three for the install folder
    for (const std::size_t i : {0u, 2u}) {
        const std::string folder = '"' + Narrow(i == 0 ? top : top + L"\\Interior") + '"';
        EXPECT_NE(calls[i].find(folder + " /setowner *S-1-5-32-544 /Q"), std::string::npos)
            << calls[i];
        EXPECT_NE(calls[i + 1].find(folder + " /inheritance:r /grant:r "), std::string::npos)
            << calls[i + 1];
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
        const RunResult setup = RunToEnd(Quoted(SetupPath()) + L" /S /D=" + open + L"\\Zelvaran");
        ASSERT_TRUE(setup.Finished);
        EXPECT_EQ(setup.ExitCode, 2u);
        EXPECT_FALSE(FolderExists(open + L"\\Zelvaran"));
        EXPECT_EQ(Lower(UninstallText(L"InstallLocation")), Lower(InstallFolder()));
    }
}

// Start-up entries named "Zelvaran": the uninstaller takes out only those that start the exe it
// removes, however the path is spelt, in the machine's Run key and its own user's.
TEST_F(InstallerTest, UninstallRemovesOnlyTheRunEntriesThatStartItsProgram) {
    struct Case {
        std::wstring Text;
        bool Ours;
    };
    std::wstring upper = Quoted(InstalledExe());
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(towupper(c));
    }
    const Case cases[] = {
        {upper, true},
        {Lower(InstalledExe()), true},
        {L"\"D:\\Tools\\zelvaran.exe\"", false},
        {Quoted(InstallFolder() + L" Evil\\zelvaran.exe"), false},
    };
    const Cleanup restore([] {
        static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
        static_cast<void>(DeleteValue(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"));
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        if (!Installed()) {
            ASSERT_EQ(SilentInstall().ExitCode, 0u);
        }
        for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            ASSERT_EQ(WriteText(root, kRunKey, L"Zelvaran", c.Text), 0);
        }
        ASSERT_EQ(QuietUninstall().ExitCode, 0u);
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

// The program's start-up entry holds its final path; an uninstaller started by another spelling
// of its folder (Wine's Z: drive here; a junction, a subst drive or a short name on Windows)
// still takes the entry out.
TEST_F(InstallerTest, UninstallFindsItsEntryByTheFinalPath) {
    const std::wstring elsewhere = ThroughUnixRoot(Uninstaller());
    ASSERT_TRUE(FileExists(elsewhere));
    const Cleanup restore([] {
        static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
        static_cast<void>(DeleteValue(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"));
    });
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        ASSERT_EQ(WriteText(root, kRunKey, L"Zelvaran", Quoted(InstalledExe())), 0);
    }
    EXPECT_EQ(RunToEnd(Quoted(elsewhere) + L" /S").ExitCode, 0u);
    EXPECT_FALSE(Installed());
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        EXPECT_FALSE(ReadValue(root, kRunKey, L"Zelvaran").has_value());
    }
}

} // namespace
} // namespace zelvaran::testing
