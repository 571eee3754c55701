// The uninstaller: silent as Windows runs it for a quiet removal, and the wizard a user goes
// through, with what each removes and what each must leave alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "installer_fixture.h"
#include "mainwindow/frm_main.h"
#include "program.h"

namespace zelvaran::testing {
namespace {

TEST_F(InstallerTest, SetupAndUninstallLeaveARunningProgramAlone) {
    InstalledProgram program;
    HWND main = program.WaitForWindow(mainwindow::frmMain::kClassName);
    ASSERT_NE(main, nullptr);

    // Silent runs cannot ask the user to close it, so they give up with an error code.
    const RunResult setup = SilentInstall();
    EXPECT_TRUE(setup.Finished);
    EXPECT_NE(setup.ExitCode, 0u);
    const RunResult uninstall = QuietUninstall();
    EXPECT_TRUE(uninstall.Finished);
    EXPECT_TRUE(FileExists(InstalledExe()));
    EXPECT_TRUE(FileExists(InstalledHelp()));
    EXPECT_TRUE(FileExists(Shortcut()));
    EXPECT_TRUE(Installed());

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST_F(InstallerTest, SilentUninstallRemovesItsOwnAndLeavesTheRestAlone) {
    // Another program of the same maker, another start-up entry and the user's stored choices.
    const std::wstring sibling = MakerFolder() + L"\\Otro Programa";
    const std::wstring siblingFile = sibling + L"\\leeme.txt";
    const std::wstring neighbourCommand = L"\"C:\\windows\\notepad.exe\"";
    const Cleanup restore([&] {
        RemoveFolder(sibling);
        RemoveDirectoryW(MakerFolder().c_str());
        static_cast<void>(DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"OtroPrograma"));
        static_cast<void>(DeleteTree(HKEY_CURRENT_USER, kSettingsKey));
    });
    ASSERT_TRUE(CreateDirectoryW(sibling.c_str(), nullptr) || FolderExists(sibling));
    ASSERT_TRUE(WriteFileText(siblingFile, "otro programa\r\n"));
    ASSERT_EQ(WriteText(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran", Quoted(InstalledExe())), 0);
    ASSERT_EQ(WriteText(HKEY_LOCAL_MACHINE, kRunKey, L"OtroPrograma", neighbourCommand), 0);
    ASSERT_EQ(WriteText(HKEY_CURRENT_USER, kSettingsSection, L"Inicio", L"1"), 0);
    ASSERT_EQ(WriteText(HKEY_CURRENT_USER, kSettingsSection, L"ChTop", L"1"), 0);

    const RunResult uninstall = QuietUninstall();
    ASSERT_TRUE(uninstall.Started);
    EXPECT_TRUE(uninstall.Finished);
    EXPECT_EQ(uninstall.ExitCode, 0u);

    EXPECT_FALSE(FileExists(InstalledExe()));
    EXPECT_FALSE(FileExists(InstalledHelp()));
    EXPECT_FALSE(FileExists(Uninstaller()));
    EXPECT_FALSE(FolderExists(InstallFolder()));
    EXPECT_FALSE(FileExists(Shortcut()));
    EXPECT_FALSE(Installed());
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran").has_value());

    EXPECT_TRUE(FileExists(siblingFile));
    const auto neighbour = ReadValue(HKEY_LOCAL_MACHINE, kRunKey, L"OtroPrograma");
    ASSERT_TRUE(neighbour.has_value());
    EXPECT_EQ(neighbour->Text(), neighbourCommand);
    // Silent mode keeps the stored choices.
    for (const wchar_t* key : {L"Inicio", L"ChTop"}) {
        const auto stored = ReadValue(HKEY_CURRENT_USER, kSettingsSection, key);
        ASSERT_TRUE(stored.has_value()) << "stored choice gone: " << key;
        EXPECT_EQ(stored->Text(), L"1");
    }
}

// The uninstall a user starts from Programs and Features: the wizard, then the question about the
// stored choices, answered No.
TEST_F(InstallerTest, UninstallWizardAsksAndNoRemovesTheStoredChoices) {
    const Cleanup restore([] { static_cast<void>(DeleteTree(HKEY_CURRENT_USER, kSettingsKey)); });
    ASSERT_EQ(WriteText(HKEY_CURRENT_USER, kSettingsSection, L"Inicio", L"0"), 0);
    ASSERT_EQ(WriteText(HKEY_CURRENT_USER, kSettingsSection, L"ChTop", L"1"), 0);

    JobProcess uninstaller(UninstallText(L"UninstallString"), TempFolder());
    ASSERT_TRUE(uninstaller.Started());
    const auto inJob = [&] {
        return uninstaller.ProcessIds();
    };
    // The wizard has Back (3), Next (1) and Cancel (2); a message box has none of Back.
    const auto isWizard = [](HWND hwnd) {
        return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 3) != nullptr;
    };
    HWND wizard = WaitForTopLevel(inJob, isWizard, kWindowMs);
    ASSERT_NE(wizard, nullptr);
    PostClick(GetDlgItem(wizard, IDOK)); // "Desinstalar" on the confirmation page

    HWND box = WaitForTopLevel(
        inJob,
        [](HWND hwnd) {
            return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, IDNO) != nullptr &&
                   GetDlgItem(hwnd, 0xFFFF) != nullptr;
        },
        kWindowMs);
    ASSERT_NE(box, nullptr) << "no question about the stored choices";
    EXPECT_EQ(MessageBoxText(box), L"\u00BFDesea conservar sus opciones guardadas de Security "
                                   L"Zelvaran (las del cuadro de di\u00E1logo "
                                   L"\u00ABConfiguracion\u00BB, las del men\u00FA de la ventana "
                                   L"y las de la ventana \u00ABFrase de Contrase\u00F1a"
                                   L"\u00BB) por si vuelve a instalarlo?");
    PostClick(GetDlgItem(box, IDNO));

    // The last page's button turns into "Cerrar" once the work is done.
    const ULONGLONG end = GetTickCount64() + kSetupMs;
    while (!uninstaller.WaitForAll(200) && GetTickCount64() < end) {
        HWND next = GetDlgItem(wizard, IDOK);
        if (IsWindow(wizard) && IsWindowEnabled(next) && IsWindowVisible(next)) {
            PostClick(next);
        }
    }
    EXPECT_TRUE(uninstaller.WaitForAll(0));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(Installed());
    EXPECT_FALSE(FileExists(InstalledExe()));
    // Nothing else of the maker there: its folder goes too.
    EXPECT_FALSE(FolderExists(MakerFolder()));
}

} // namespace
} // namespace zelvaran::testing
