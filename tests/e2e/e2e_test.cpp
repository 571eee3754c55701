// The built program, started and driven from another process as a user would.
#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "mainwindow/main_layout.h"
#include "program.h"
#include "program_checks.h"
#include "ui/process_hardening.h"
#include "win_helpers.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

constexpr const wchar_t* kMainClass = L"Zelvaran.frmMain";

// An output button pressed after Generar, its box dismissed: the password is on the clipboard in
// place of an older text, and stays there once the program has ended.
struct OutputCase {
    int Button;
    const wchar_t* Length; // typed before Generar, then "1a" refused; null keeps the default
    size_t Size;
    const wchar_t* Said;
    bool EndsTheProgram;
};

void ExpectOutput(const OutputCase& c) {
    ASSERT_TRUE(SetClipboardText(L"older text"));
    RunningProgram program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(RemoteText(main), L"Morvantic SecurityZelvaran v1.0.42");
    if (c.Length != nullptr) {
        HWND length = FindControlById(main, kTxtLength);
        SendMessageW(length, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.Length));
        SendMessageW(length, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1a")); // not digits
        EXPECT_EQ(RemoteText(length), c.Length);
    }
    // Generar runs inside the click: the text is there when SendMessage returns.
    SendMessageW(FindControlById(main, kCmdGennerate), BM_CLICK, 0, 0);
    const std::wstring password = RemoteText(FindControlById(main, kTxtPassword));
    ASSERT_EQ(password.size(), c.Size);

    PostClick(FindControlById(main, c.Button));
    HWND box = program.WaitForMessageBox(L"Zelvaran");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), c.Said);
    EXPECT_FALSE(program.WaitForExit(300)); // still running while the box waits
    DismissMessageBox(box);
    EXPECT_EQ(ClipboardText(), password);
    if (!c.EndsTheProgram) {
        EXPECT_EQ(RemoteText(FindControlById(main, kTxtPassword)), password);
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    ExpectCleanExit(program);
    EXPECT_EQ(ClipboardText(), password); // outlives the program
    EXPECT_FALSE(IconOf(main));
}

TEST(EndToEnd, GenerateCopyAndReadTheClipboardFromAnotherProcess) {
    ExpectOutput({kCopy, nullptr, 5, L"Texto Copiado", false});
}

TEST(EndToEnd, CutAndExitConfirmsBeforeTheProgramEnds) {
    ExpectOutput({kCutxit, L"12", 12, L"Texto Cortado", true});
}

void ExpectEndsBy(UINT msg, WPARAM wParam) {
    RunningProgram program;
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(IconOf(main));
    PostMessageW(main, msg, wParam, 0);
    ExpectCleanExit(program);
    EXPECT_FALSE(IconOf(main));
}

TEST(EndToEnd, SalirEndsTheProgramAndItsIconGoes) {
    ExpectEndsBy(WM_COMMAND, MAKEWPARAM(kMenuSalir, 0));
}

TEST(EndToEnd, TheCloseBoxEndsTheProgramAndItsIconGoes) {
    ExpectEndsBy(WM_SYSCOMMAND, SC_CLOSE);
}

// Whether `holds` comes true within a few seconds.
template <typename Check> bool Eventually(Check holds) {
    for (int i = 0; i < 100 && !holds(); ++i) {
        Sleep(30);
    }
    return holds();
}

// The balloon of the first minimise is remembered; Enter on the icon, as a version-4 icon reports
// it, brings the window back.
TEST(EndToEnd, MinimisingLeavesOneNoticeAndEnterOnTheIconBringsTheWindowBack) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"AvisoBandeja");
    RunningProgram program;
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(IconOf(main));
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(Eventually([&] { return !IsWindowVisible(main); }));
    // Written right after the hide.
    EXPECT_TRUE(Eventually([&] { return Stored(L"AvisoBandeja") == L"1"; }));
    SetCursorPos(0, 0); // over the icon, never over the window
    PostMessageW(main, WM_MOUSEMOVE, MAKEWPARAM(1800, 1050), MAKELPARAM(NIN_KEYSELECT, 1));
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(main) && !IsIconic(main); }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(10000));
}

TEST(EndToEnd, TwoCopiesRunSideBySideEachWithItsOwnIcon) {
    RunningProgram first;
    HWND one = first.WaitForWindow(kMainClass);
    RunningProgram second;
    HWND two = second.WaitForWindow(kMainClass);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_NE(one, two);
    EXPECT_TRUE(IconOf(one));
    EXPECT_TRUE(IconOf(two));
}

// A screen reader in another process reads the banner's name, which the picture does not show:
// under Wine, where annotation is refused, through the control's own WM_GETOBJECT answer.
TEST(EndToEnd, AScreenReaderInAnotherProcessReadsTheBannersName) {
    const ui::ComApartment com;
    ASSERT_TRUE(com.Initialised());
    RunningProgram program;
    HWND main = program.WaitForWindow(kMainClass);
    ASSERT_NE(main, nullptr);
    // Written out: MinGW's import of IID_IAccessible resolves to an import thunk, not the IID.
    constexpr IID kIidAccessible = {
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* banner = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(FindControlById(main, kImage1), OBJID_CLIENT,
                                         kIidAccessible, reinterpret_cast<void**>(&banner)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4; // CHILDID_SELF
    BSTR name = nullptr;
    EXPECT_EQ(banner->get_accName(self, &name), S_OK);
    EXPECT_STREQ(name, L"Security Zelvaran");
    SysFreeString(name);
    banner->Release();
}

} // namespace
} // namespace zelvaran::testing
