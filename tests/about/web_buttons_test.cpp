// The two web buttons: the shell call each makes, that the dialog stays open, and the keyboard.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "about/web_addresses.h"
#include "about_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace about;

// A shell that cannot open anything, as on a machine without a browser.
class FailingShellPlatform final : public ui::Platform {
public:
    FailingShellPlatform() { ui::SetPlatform(this); }
    ~FailingShellPlatform() override { ui::SetPlatform(nullptr); }
    FailingShellPlatform(const FailingShellPlatform&) = delete;
    FailingShellPlatform& operator=(const FailingShellPlatform&) = delete;

    int ShowMessage(HWND, const wchar_t*, const wchar_t*, UINT) override {
        ++Boxes;
        return IDOK;
    }
    INT_PTR ShellOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                      int) override {
        ++Opens;
        return SE_ERR_NOASSOC;
    }
    DWORD RunElevated(HWND, const wchar_t*, const wchar_t*, DWORD&) override {
        return ERROR_CANCELLED;
    }
    void EndProcess(UINT) override { ++Ends; }

    int Boxes = 0;
    int Opens = 0;
    int Ends = 0;
};

void ExpectOpened(const ShellCall& call, HWND dialog, const wchar_t* address) {
    EXPECT_EQ(call.Owner, dialog);
    EXPECT_EQ(call.Verb, L"Open");
    EXPECT_EQ(call.File, address);
    EXPECT_EQ(call.Parameters, L"");
    EXPECT_EQ(call.Directory, L"");
    EXPECT_EQ(call.Show, SW_SHOWNORMAL);
}

void ExpectStillOpen(about::Form5& dialog) {
    EXPECT_TRUE(dialog.IsLoaded());
    EXPECT_TRUE(IsWindowVisible(dialog.Handle()));
    EXPECT_EQ(dialog.LoadCount(), 1);
    EXPECT_EQ(CountAboutWindows(), 1);
}

TEST_F(AboutDialogTest, CommandWebOpensTheProgramPage) {
    Dialog().Show();
    Pump();
    Click(Ctl(kCommandWeb));
    ASSERT_EQ(platform_.Shell.size(), 1u);
    ExpectOpened(platform_.Shell[0], Dialog().Handle(), L"http://www.morvantic.example/zelvaran/");
    EXPECT_TRUE(platform_.Boxes.empty());
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, WebcpOpensTheOvraHomePage) {
    Dialog().Show();
    Pump();
    Click(Ctl(kWebcp));
    ASSERT_EQ(platform_.Shell.size(), 1u);
    ExpectOpened(platform_.Shell[0], Dialog().Handle(), L"http://www.ovra.example/");
    EXPECT_TRUE(platform_.Boxes.empty());
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, EveryClickOpensItsPageAgain) {
    Dialog().Show();
    Pump();
    ClickNotification(Ctl(kCommandWeb));
    ClickNotification(Ctl(kWebcp));
    Click(Ctl(kCommandWeb));
    ASSERT_EQ(platform_.Shell.size(), 3u);
    EXPECT_EQ(platform_.Shell[0].File, kProgramPageAddress);
    EXPECT_EQ(platform_.Shell[1].File, kOvraHomeAddress);
    EXPECT_EQ(platform_.Shell[2].File, kProgramPageAddress);
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, AShellThatCannotOpenThePageChangesNothing) {
    Dialog().Show();
    Pump();
    FailingShellPlatform failing;
    Click(Ctl(kCommandWeb));
    Click(Ctl(kWebcp));
    EXPECT_EQ(failing.Opens, 2);
    EXPECT_EQ(failing.Boxes, 0);
    EXPECT_EQ(failing.Ends, 0);
    ExpectStillOpen(Dialog());
}

// A key press as the message loop sees it, offered to the forms first.
bool PressKey(WPARAM key) {
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    const bool handled = ui::PreTranslateForForms(msg);
    Pump();
    return handled;
}

TEST_F(AboutDialogTest, EnterOnAFocusedWebButtonOpensItsPage) {
    Dialog().Show();
    Pump();
    SetFocus(Ctl(kWebcp));
    EXPECT_TRUE(PressKey(VK_RETURN));
    ASSERT_EQ(platform_.Shell.size(), 1u);
    EXPECT_EQ(platform_.Shell[0].File, kOvraHomeAddress);
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, TabVisitsTheThreeButtonsInOrderAndWraps) {
    Dialog().Show();
    Pump();
    SetFocus(Ctl(kCommandWeb));
    ASSERT_TRUE(PressKey(VK_TAB));
    EXPECT_EQ(GetFocus(), Ctl(kWebcp));
    ASSERT_TRUE(PressKey(VK_TAB));
    EXPECT_EQ(GetFocus(), Ctl(kCerrar));
    ASSERT_TRUE(PressKey(VK_TAB));
    EXPECT_EQ(GetFocus(), Ctl(kCommandWeb));
    EXPECT_TRUE(platform_.Shell.empty()); // moving the focus opens nothing
}

TEST_F(AboutDialogTest, EnterOnCerrarUnloadsTheDialog) {
    Dialog().Show();
    Pump();
    SetFocus(Ctl(kCerrar));
    EXPECT_TRUE(PressKey(VK_RETURN));
    EXPECT_FALSE(Dialog().IsLoaded());
    EXPECT_EQ(CountAboutWindows(), 0);
}

// Only the hosts are the program's choice; scheme and paths are fixed.
TEST(AboutWebAddresses, AreHttpAddressesOfTheHostsOnThePictureWithTheFixedPaths) {
    const std::wstring program(kProgramPageAddress);
    const std::wstring ovra(kOvraHomeAddress);
    EXPECT_EQ(program, L"http://www.morvantic.example/zelvaran/");
    EXPECT_EQ(ovra, L"http://www.ovra.example/");
    for (const std::wstring& address : {program, ovra}) {
        ASSERT_EQ(address.rfind(L"http://", 0), 0u);
        const std::size_t path = address.find(L'/', 7);
        ASSERT_NE(path, std::wstring::npos);
        const std::wstring host = address.substr(7, path - 7);
        EXPECT_TRUE(host.ends_with(L".example")) << host; // reserved: never a real site
    }
    EXPECT_TRUE(program.ends_with(L"/zelvaran/"));
    EXPECT_EQ(ovra.find(L'/', 7), ovra.size() - 1); // the site root
}

} // namespace
} // namespace zelvaran::testing
