// The two web buttons: the shell call each makes, that the dialog stays open, and the keyboard.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <utility>

#include "about/web_addresses.h"
#include "about_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace about;

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

TEST_F(AboutDialogTest, EachWebButtonOpensItsPage) {
    for (const auto& [button, address] :
         {std::pair{kCommandWeb, L"http://www.morvantic.example/zelvaran/"},
          std::pair{kWebcp, L"http://www.ovra.example/"}}) {
        SCOPED_TRACE(address);
        dialog_ = std::make_unique<about::Form5>(); // each button on a dialog of its own
        platform_.Shell.clear();
        ShowDialog();
        Click(Ctl(button));
        ASSERT_EQ(platform_.Shell.size(), 1u);
        ExpectOpened(platform_.Shell[0], Dialog().Handle(), address);
        EXPECT_TRUE(platform_.Boxes.empty());
        ExpectStillOpen(Dialog());
    }
}

TEST_F(AboutDialogTest, EveryClickOpensItsPageAgain) {
    ShowDialog();
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
    ShowDialog();
    platform_.ShellResult = SE_ERR_NOASSOC; // as on a machine without a browser
    Click(Ctl(kCommandWeb));
    Click(Ctl(kWebcp));
    EXPECT_EQ(platform_.Shell.size(), 2u);
    EXPECT_TRUE(platform_.Boxes.empty());
    EXPECT_TRUE(platform_.EndCodes.empty());
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, EnterOnAFocusedWebButtonOpensItsPage) {
    ShowDialog();
    SetFocus(Ctl(kWebcp));
    EXPECT_TRUE(PressKey(GetFocus(), VK_RETURN));
    ASSERT_EQ(platform_.Shell.size(), 1u);
    EXPECT_EQ(platform_.Shell[0].File, kOvraHomeAddress);
    ExpectStillOpen(Dialog());
}

TEST_F(AboutDialogTest, TabVisitsTheThreeButtonsInOrderAndWraps) {
    ShowDialog();
    SetFocus(Ctl(kCommandWeb));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kWebcp));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kCerrar));
    EXPECT_EQ(PressTab(GetFocus()), Ctl(kCommandWeb));
    EXPECT_TRUE(platform_.Shell.empty()); // moving the focus opens nothing
}

TEST_F(AboutDialogTest, EnterOnCerrarUnloadsTheDialog) {
    ShowDialog();
    SetFocus(Ctl(kCerrar));
    EXPECT_TRUE(PressKey(GetFocus(), VK_RETURN));
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
