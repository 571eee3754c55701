// The silent install and what it leaves: files, the Programs and Features entry, the shortcut,
// and the installed program working from where it was put.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/config_layout.h"
#include "config/form2.h"
#include "installer_fixture.h"
#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "program.h"
#include "program_checks.h"

namespace zelvaran::testing {
namespace {

// The title of the help project, which the viewer puts on its window.
constexpr const wchar_t* kHelpTitle = L"Ayuda de Security Zelvaran";

TEST_F(InstallerTest, SilentSetupEndsByItselfWithExitCodeZero) {
    EXPECT_TRUE(install_.Started) << "could not start " << ::testing::PrintToString(SetupPath());
    EXPECT_TRUE(install_.Finished);
    EXPECT_EQ(install_.ExitCode, 0u);
}

TEST_F(InstallerTest, ProgramAndHelpFileLandSideBySideInProgramFiles) {
    const auto exe = FileBytes(InstalledExe());
    const auto help = FileBytes(InstalledHelp());
    ASSERT_TRUE(exe.has_value());
    ASSERT_TRUE(help.has_value());
    // The very files this build made, not some other copy.
    EXPECT_TRUE(*exe == FileBytes(BuildFolder() + L"\\zelvaran.exe"));
    EXPECT_TRUE(*help == FileBytes(BuildFolder() + L"\\zelvaran_help.chm"));
    // zelvaran-cli.exe beside them; the uninstall tests see it go with the folder.
    const auto cli = FileBytes(InstallFolder() + L"\\zelvaran-cli.exe");
    ASSERT_TRUE(cli.has_value());
    EXPECT_TRUE(*cli == FileBytes(BuildFolder() + L"\\zelvaran-cli.exe"));
    EXPECT_TRUE(FileExists(Uninstaller()));
}

TEST_F(InstallerTest, ProgramsAndFeaturesEntryDescribesTheInstallation) {
    EXPECT_EQ(UninstallText(L"DisplayName"), L"Security Zelvaran");
    EXPECT_EQ(UninstallText(L"DisplayVersion"), L"1.0.42");
    EXPECT_EQ(UninstallText(L"Publisher"), L"Morvantic");
    EXPECT_EQ(UninstallText(L"DisplayIcon"), Quoted(InstalledExe()) + L",0");
    EXPECT_EQ(UninstallText(L"InstallLocation"), InstallFolder());
    EXPECT_EQ(UninstallText(L"UninstallString"), Quoted(Uninstaller()));
    EXPECT_EQ(UninstallText(L"QuietUninstallString"), Quoted(Uninstaller()) + L" /S");
    for (const wchar_t* flag : {L"NoModify", L"NoRepair"}) {
        const auto value = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, flag);
        ASSERT_TRUE(value.has_value()) << flag;
        EXPECT_EQ(value->Type, static_cast<DWORD>(REG_DWORD)) << flag;
        EXPECT_EQ(value->Dword(), 1u) << flag;
    }
    const auto size = ReadValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->Type, static_cast<DWORD>(REG_DWORD));
    // Kilobytes of what is on disk, the uninstaller included; rounding either way is fine.
    const double kilobytes = static_cast<double>(FolderBytes(InstallFolder())) / 1024.0;
    EXPECT_NEAR(static_cast<double>(size->Dword()), kilobytes, 1.0);
}

TEST_F(InstallerTest, StartMenuShortcutForAllUsersTargetsTheInstalledProgram) {
    ASSERT_TRUE(FileExists(Shortcut()));
    EXPECT_TRUE(SamePath(ShortcutTarget(Shortcut()), InstalledExe()))
        << "target: " << ::testing::PrintToString(ShortcutTarget(Shortcut()));
}

TEST_F(InstallerTest, InstalledProgramShowsItsWindowAndEndsByClose) {
    InstalledProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(mainwindow::frmMain::kClassName);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(RemoteText(main), L"Morvantic SecurityZelvaran v1.0.42");
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectCleanExit(program);
}

TEST_F(InstallerTest, TemasDeAyudaOpensTheInstalledHelpFile) {
    InstalledProgram program;
    HWND main = program.WaitForWindow(mainwindow::frmMain::kClassName);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(mainwindow::kMenuAyuda, 0), 0);

    // The shell starts the help viewer from the program: a new hh.exe whose parent it is.
    std::vector<DWORD> viewers;
    const ULONGLONG end = GetTickCount64() + kWindowMs;
    while (viewers.empty() && GetTickCount64() < end) {
        viewers = ChildProcesses(program.Id(), L"hh.exe");
        Sleep(50);
    }
    ASSERT_EQ(viewers.size(), 1u) << "no help viewer started";
    const ui::UniqueKernelHandle viewer(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE | PROCESS_TERMINATE,
                    FALSE, viewers.front()));
    ASSERT_TRUE(viewer);
    const Cleanup endViewer([&] {
        if (WaitForSingleObject(viewer.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(viewer.get(), 99);
        }
    });

    const std::wstring command = Lower(CommandLineOf(viewer.get()));
    EXPECT_NE(command.find(Lower(Quoted(InstalledHelp()))), std::wstring::npos)
        << "viewer command line: " << ::testing::PrintToString(command);
    // The viewer read the file: its window carries the help file's own title.
    HWND window = WaitForTopLevel(
        [&] { return viewers; },
        [](HWND hwnd) { return ClassOf(hwnd) == L"HH Parent" && RemoteText(hwnd) == kHelpTitle; },
        kWindowMs);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(viewer.get(), 10000), WAIT_OBJECT_0) << "viewer did not close";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(InstallerTest, IniciarConWindowsRegistersTheInstalledProgramQuoted) {
    // A value left behind by another run would let a failed write pass.
    static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
    const bool hadSettings = KeyExists(HKEY_CURRENT_USER, kSettingsKey);
    const Cleanup restore([hadSettings] {
        static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
        if (!hadSettings) {
            static_cast<void>(DeleteTree(HKEY_CURRENT_USER, kSettingsKey));
        }
    });

    InstalledProgram program;
    HWND main = program.WaitForWindow(mainwindow::frmMain::kClassName);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
    HWND dialog = program.WaitForWindow(config::Form2::kClassName);
    ASSERT_NE(dialog, nullptr);
    HWND inicio = FindControlById(dialog, config::kInicio);
    ASSERT_NE(inicio, nullptr);
    ASSERT_EQ(SendMessageW(inicio, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    PostClick(inicio);
    const auto value = WaitForValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran", true, 10000);
    ASSERT_TRUE(value.has_value()) << "no Run value after checking the box";
    EXPECT_EQ(value->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->Text(), Quoted(InstalledExe()));
    EXPECT_EQ(SendMessageW(inicio, BM_GETCHECK, 0, 0), BST_CHECKED);

    PostClick(inicio);
    EXPECT_FALSE(WaitForValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran", false, 10000));
    EXPECT_EQ(SendMessageW(inicio, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

} // namespace
} // namespace zelvaran::testing
