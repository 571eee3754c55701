// "Acerca" and cerrar: showing the loaded or unloaded dialog, one window at most, unloading and
// loading again.
#include "about_fixture.h"

namespace zelvaran::testing {
namespace {

using namespace about;

constexpr const wchar_t* kTitle = L"Morvantic SecurityZelvaran v1.0.42";
constexpr const wchar_t* kVersionLine = L"Versi\u00F3n: 1.0.42";

// Some other window of the program, such as the main window.
ui::UniqueWindow OtherTopLevelWindow() {
    ui::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"otra", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           10, 10, 200, 100, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
    Pump();
    return other;
}

TEST_F(AboutDialogTest, ShowLoadsAnUnloadedDialogThenShowsIt) {
    ShowDialog();
    ASSERT_TRUE(Dialog().IsLoaded());
    EXPECT_EQ(Dialog().LoadCount(), 1);
    EXPECT_TRUE(IsWindowVisible(Dialog().Handle()));
    EXPECT_EQ(TextOf(Dialog().Handle()), kTitle);
    EXPECT_EQ(TextOf(Ctl(kVersion)), kVersionLine);
}

TEST_F(AboutDialogTest, ShowOfTheHiddenDialogOnlyShowsIt) {
    ASSERT_TRUE(Dialog().Load());
    HWND loaded = Dialog().Handle();
    SetWindowTextW(Ctl(kVersion), L"marca"); // would be rewritten by a second load step
    ShowDialog();
    EXPECT_EQ(Dialog().Handle(), loaded);
    EXPECT_TRUE(IsWindowVisible(loaded));
    EXPECT_EQ(Dialog().LoadCount(), 1);
    EXPECT_EQ(TextOf(Ctl(kVersion)), L"marca");
}

TEST_F(AboutDialogTest, ShowTwiceLeavesOneVisibleDialog) {
    ASSERT_TRUE(Dialog().Load());
    ShowDialog();
    HWND shown = Dialog().Handle();
    ShowDialog();
    const std::vector<HWND> windows = AboutWindowsOfThisProcess();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows.front(), shown);
    EXPECT_EQ(Dialog().Handle(), shown);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_EQ(Dialog().LoadCount(), 1);
}

TEST_F(AboutDialogTest, ShownModelessWithoutAnOwner) {
    ui::UniqueWindow other = OtherTopLevelWindow();
    ASSERT_TRUE(other);
    ShowDialog();
    HWND dialog = Dialog().Handle();
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(dialog, GA_PARENT), GetDesktopWindow());
    // Modeless: the rest of the program stays usable.
    EXPECT_TRUE(IsWindowEnabled(other.get()));
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(AboutDialogTest, ShowBringsTheDialogForwardWithTheFirstWebButtonFocused) {
    ui::UniqueWindow other = OtherTopLevelWindow();
    ASSERT_TRUE(other);
    SetForegroundWindow(other.get());
    Pump();
    ASSERT_TRUE(Dialog().Load());
    ShowDialog();
    EXPECT_EQ(GetForegroundWindow(), Dialog().Handle());
    // The version label takes no focus: the first stop of the tab order is CommandWeb.
    EXPECT_EQ(GetFocus(), Ctl(kCommandWeb));
}

TEST_F(AboutDialogTest, CerrarDestroysTheDialog) {
    ShowDialog();
    HWND shown = Dialog().Handle();
    Click(Ctl(kCerrar));
    EXPECT_FALSE(Dialog().IsLoaded());
    EXPECT_EQ(Dialog().Handle(), nullptr);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_EQ(CountAboutWindows(), 0);
}

TEST_F(AboutDialogTest, AcercaAfterCerrarLoadsAgainWithTheSameTexts) {
    ASSERT_TRUE(Dialog().Load());
    ShowDialog();
    Click(Ctl(kCerrar));
    ASSERT_FALSE(Dialog().IsLoaded());
    ShowDialog();
    ASSERT_TRUE(Dialog().IsLoaded());
    EXPECT_EQ(Dialog().LoadCount(), 2);
    EXPECT_EQ(CountAboutWindows(), 1);
    EXPECT_TRUE(IsWindowVisible(Dialog().Handle()));
    EXPECT_EQ(TextOf(Dialog().Handle()), kTitle);
    EXPECT_EQ(TextOf(Ctl(kVersion)), kVersionLine);
    // The new window is complete: its buttons work as before.
    Click(Ctl(kWebcp));
    EXPECT_EQ(platform_.Shell.size(), 1u);
}

TEST_F(AboutDialogTest, CerrarOnTheHiddenDialogUnloadsItToo) {
    ASSERT_TRUE(Dialog().Load());
    ClickNotification(Ctl(kCerrar));
    Pump();
    EXPECT_FALSE(Dialog().IsLoaded());
    EXPECT_EQ(CountAboutWindows(), 0);
    ASSERT_TRUE(Dialog().Load());
    EXPECT_EQ(Dialog().LoadCount(), 2);
    EXPECT_FALSE(IsWindowVisible(Dialog().Handle()));
}

TEST_F(AboutDialogTest, TheWindowGoesWithItsObject) {
    ShowDialog();
    HWND shown = Dialog().Handle();
    dialog_.reset();
    Pump();
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_EQ(CountAboutWindows(), 0);
}

} // namespace
} // namespace zelvaran::testing
