// The configuration dialog of the built program, opened from its system menu, and what it leaves
// in the registry, read back from this process (the test prefix's registry only).
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/config_layout.h"
#include "mainwindow/frm_main.h"
#include "program.h"

namespace zelvaran::testing {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kSettingsKey =
    L"Software\\VB and VBA Program Settings\\Zelvaran\\Settings";

std::optional<std::wstring> ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void ClearChoices() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Inicio");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"ChTop");
}

bool IsTopmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class ConfigEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ClearChoices(); }
    void TearDown() override { ClearChoices(); }
};

TEST_F(ConfigEndToEnd, StartWithWindowsWritesTheQuotedProgramPathAndStoresTheChoice) {
    RunningProgram program;
    HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
    HWND dialog = program.WaitForWindow(L"Zelvaran.Form2");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RemoteText(dialog), L"Configuracion Security Zelvaran");
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"Inicio")); // opening wrote nothing

    SendMessageW(FindControlById(dialog, config::kInicio), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"), L"\"" + ProgramPath() + L"\"");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"Inicio"), L"1");

    SendMessageW(FindControlById(dialog, config::kInicio), BM_CLICK, 0, 0);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Zelvaran"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"Inicio"), L"0");

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
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, L"ChTop"), L"1");
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

} // namespace
} // namespace zelvaran::testing
