// The configuration dialog of the built program, opened from its system menu, and what it leaves
// in the registry, read back from this process (the test prefix's registry only).
#include <windows.h>

#include <knownfolders.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/config_layout.h"
#include "mainwindow/frm_main.h"
#include "program.h"
#include "program_checks.h"

namespace zelvaran::testing {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void ClearChoices() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Zelvaran");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"Inicio");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"ChTop");
}

// Runs `exe` with one switch, as the elevated step runs; its exit code, or nothing.
std::optional<DWORD> RunStep(const std::wstring& exe, const wchar_t* step) {
    const RunningProgram process(L"", exe, step);
    DWORD exitCode = 0;
    if (!process.WaitForExit(15000, &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

bool IsTopmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// A copy of the built program in a folder of its own under Program Files; both go with it.
struct ProgramFilesCopy {
    explicit ProgramFilesCopy(const wchar_t* name) {
        PWSTR programFiles = nullptr;
        if (SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programFiles) == S_OK) {
            Folder = std::wstring(programFiles) + L"\\" + name;
            Exe = Folder + L"\\zelvaran.exe";
            Made = (CreateDirectoryW(Folder.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS) &&
                   CopyFileW(ProgramPath().c_str(), Exe.c_str(), FALSE);
        }
        CoTaskMemFree(programFiles);
    }
    ~ProgramFilesCopy() {
        DeleteFileW(Exe.c_str());
        RemoveDirectoryW(Folder.c_str());
    }
    std::wstring Folder;
    std::wstring Exe;
    bool Made = false;
};

class ConfigEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ClearChoices(); }
    void TearDown() override { ClearChoices(); }
};

// The built program lives outside Program Files, as a portable copy: its entry is the user's.
TEST_F(ConfigEndToEnd, StartWithWindowsWritesTheQuotedProgramPathAndStoresTheChoice) {
    RunningProgram program;
    HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
    HWND dialog = program.WaitForWindow(L"Zelvaran.Form2");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RemoteText(dialog), L"Configuracion Security Zelvaran");
    EXPECT_FALSE(Stored(L"Inicio")); // opening wrote nothing

    SendMessageW(FindControlById(dialog, config::kInicio), BM_CLICK, 0, 0);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"), L"\"" + ProgramPath() + L"\"");
    EXPECT_FALSE(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
    EXPECT_EQ(Stored(L"Inicio"), L"1");

    SendMessageW(FindControlById(dialog, config::kInicio), BM_CLICK, 0, 0);
    EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"));
    EXPECT_EQ(Stored(L"Inicio"), L"0");

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(ConfigEndToEnd, AlwaysOnTopIsAppliedOnCloseAndAtTheNextStart) {
    {
        RunningProgram program;
        HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(IsTopmost(main));
        PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
        HWND dialog = program.WaitForWindow(L"Zelvaran.Form2");
        ASSERT_NE(dialog, nullptr);
        SendMessageW(FindControlById(dialog, config::kChTop), BM_CLICK, 0, 0);
        EXPECT_EQ(Stored(L"ChTop"), L"1");
        EXPECT_FALSE(IsTopmost(main)); // not while the dialog is open
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsTopmost(main));
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
    RunningProgram again;
    HWND main = again.WaitForWindow(L"Zelvaran.frmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsTopmost(main));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(again.WaitForExit(10000));
}

// The elevated instance an installed copy starts: run here directly (every Wine process is
// elevated), it changes its own machine-wide value and nothing else, and says how it went.
TEST_F(ConfigEndToEnd, TheElevatedStepChangesOnlyItsOwnMachineWideValue) {
    const ProgramFilesCopy copy(L"Zelvaran prueba");
    ASSERT_TRUE(copy.Made);
    const std::wstring& installed = copy.Exe;
    ASSERT_EQ(WriteRegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Otro", L"otro.exe"), ERROR_SUCCESS);

    const std::wstring ours = L"\"" + installed + L"\"";
    std::wstring oursUpper = ours;
    for (wchar_t& c : oursUpper) {
        c = static_cast<wchar_t>(towupper(c));
    }
    const std::wstring portable = L"\"" + ProgramPath() + L"\"";
    struct Case {
        std::wstring Exe;
        const wchar_t* Switch;
        std::optional<std::wstring> Before, After;
        DWORD ExitCode;
    };
    const Case cases[] = {
        {installed, L"/inicio-equipo:escribir", std::nullopt, ours, ERROR_SUCCESS},
        {installed, L"/inicio-equipo:escribir", portable, ours, ERROR_SUCCESS},
        {installed, L"/inicio-equipo:borrar", oursUpper, std::nullopt, ERROR_SUCCESS},
        {installed, L"/inicio-equipo:borrar", std::nullopt, std::nullopt, ERROR_SUCCESS},
        {installed, L"/inicio-equipo:borrar", portable, portable, ERROR_SUCCESS},
        // A copy others could replace never gets the machine-wide entry, but may take out its own.
        {ProgramPath(), L"/inicio-equipo:escribir", std::nullopt, std::nullopt,
         ERROR_ACCESS_DENIED},
        {ProgramPath(), L"/inicio-equipo:borrar", portable, std::nullopt, ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::string(c.Switch, c.Switch + wcslen(c.Switch))
                                          << (c.Exe == installed ? " installed" : " portable"));
        ClearChoices();
        if (c.Before) {
            ASSERT_EQ(WriteRegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran", *c.Before),
                      ERROR_SUCCESS);
        }
        EXPECT_EQ(RunStep(c.Exe, c.Switch), c.ExitCode);
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"), c.After);
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Otro"), L"otro.exe");
        EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"));
        EXPECT_FALSE(Stored(L"Inicio"));
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Otro");
}

// Inside Program Files is not enough: under Wine a folder's permissions follow its Unix mode, and
// one that everybody may change (mode 777) makes its copy portable, in the dialog and in the
// elevated step alike.
TEST_F(ConfigEndToEnd, ACopyInAProgramFilesFolderAnyoneCanChangeGetsOnlyAPerUserEntry) {
    const ProgramFilesCopy copy(L"Zelvaran abierta");
    ASSERT_TRUE(copy.Made);
    PSECURITY_DESCRIPTOR anyone = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;OICI;FA;;;SY)(A;OICI;0x1301ff;;;WD)", SDDL_REVISION_1, &anyone, nullptr));
    const BOOL set = SetFileSecurityW(copy.Folder.c_str(), DACL_SECURITY_INFORMATION, anyone);
    LocalFree(anyone);
    ASSERT_TRUE(set);

    EXPECT_EQ(RunStep(copy.Exe, L"/inicio-equipo:escribir"),
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
    {
        RunningProgram program(L"", copy.Exe);
        HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
        ASSERT_NE(main, nullptr);
        PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
        HWND dialog = program.WaitForWindow(L"Zelvaran.Form2");
        ASSERT_NE(dialog, nullptr);
        SendMessageW(FindControlById(dialog, config::kInicio), BM_CLICK, 0, 0);
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, L"Zelvaran"), L"\"" + copy.Exe + L"\"");
        EXPECT_FALSE(RegistryText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(10000));
    }
}

} // namespace
} // namespace zelvaran::testing
