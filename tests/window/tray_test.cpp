// The notification-area icon where Windows is less kind than Wine: adds refused while Explorer
// starts (through the seam), and the one balloon that says where the minimised window went.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "main_window_fixture.h"
#include "mainwindow/tray_logic.h"

namespace zelvaran::testing {
namespace {

using mainwindow::frmMain;

constexpr const wchar_t* kSettingsKey =
    L"Software\\VB and VBA Program Settings\\Zelvaran\\Settings";

class TrayTest : public MainWindowTest {
protected:
    // A fresh main window whose first `failures` adds the notification area refuses.
    void RecreateRefusing(int failures) {
        window_.reset();
        platform_.Icons.clear();
        platform_.FailIconAdds = failures;
        window_ = std::make_unique<frmMain>();
        ASSERT_TRUE(window_->Create());
        Pump();
    }
    [[nodiscard]] std::size_t Calls(DWORD message, bool took) const {
        return static_cast<std::size_t>(
            std::ranges::count_if(platform_.Icons, [=](const NotifyIconCall& c) {
                return c.Message == message && c.Took == took;
            }));
    }
    [[nodiscard]] std::size_t Balloons() const {
        return static_cast<std::size_t>(std::ranges::count_if(
            platform_.Icons, [](const NotifyIconCall& c) { return (c.Flags & NIF_INFO) != 0; }));
    }
    void Tick() {
        SendMessageW(Main().Handle(), WM_TIMER, frmMain::kTrayRetryTimer, 0);
        Pump();
    }
    void Minimise() {
        ShowWindow(Main().Handle(), SW_MINIMIZE);
        Pump();
    }
    void Restore() {
        SetCursorPos(0, 0);
        SendMessageW(Main().Handle(), WM_MOUSEMOVE, MAKEWPARAM(1800, 1050),
                     MAKELPARAM(NIN_SELECT, mainwindow::kTrayIconId));
        Pump();
    }
};

// The timer's own ticks may come in between; the counts hold all the same.
TEST_F(TrayTest, RefusedAddsAreTriedAgainAndTheWindowStaysOnTheTaskBarMeanwhile) {
    RecreateRefusing(3);
    EXPECT_FALSE(Main().Tray().IsShown());
    Minimise();
    EXPECT_TRUE(IsWindowVisible(Main().Handle())); // minimised on the task bar, not lost
    for (int i = 0; i < 10 && !Main().Tray().IsShown(); ++i) {
        Tick();
    }
    ASSERT_TRUE(Main().Tray().IsShown());
    EXPECT_EQ(Calls(NIM_ADD, false), 3u);
    EXPECT_EQ(Calls(NIM_ADD, true), 1u);
    EXPECT_EQ(platform_.Icons.back().Message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(platform_.Icons.back().Version, 4u);
    Tick(); // the timer is gone: nothing more is added
    EXPECT_EQ(Calls(NIM_ADD, true), 1u);
    Restore();
    Minimise();
    EXPECT_FALSE(IsWindowVisible(Main().Handle()));
}

TEST_F(TrayTest, AnAreaThatNeverTakesTheIconIsAskedForTwoMinutesThenLeftAlone) {
    RecreateRefusing(1000);
    for (int i = 0; i < mainwindow::kTrayRetries + 10; ++i) {
        Tick();
    }
    EXPECT_EQ(Calls(NIM_ADD, false), 1u + mainwindow::kTrayRetries);
    EXPECT_EQ(mainwindow::kTrayRetries * mainwindow::kTrayRetryMilliseconds, 120000u);
    EXPECT_FALSE(KillTimer(Main().Handle(), frmMain::kTrayRetryTimer)); // stopped already
    // A task bar created later still brings the icon.
    platform_.FailIconAdds = 0;
    SendMessageW(Main().Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Main().Tray().IsShown());
}

TEST_F(TrayTest, TheFirstMinimiseShowsOneBalloonRememberedForTheUser) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"AvisoBandeja");
    Minimise();
    ASSERT_EQ(Balloons(), 1u);
    const NotifyIconCall& balloon = platform_.Icons.back();
    EXPECT_EQ(balloon.Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(balloon.Flags, static_cast<UINT>(NIF_INFO)); // the icon and its tip stay
    EXPECT_EQ(balloon.InfoTitle, L"Security Zelvaran");
    EXPECT_EQ(balloon.Info,
              L"Security Zelvaran sigue abierto en el \u00E1rea de notificaci\u00F3n. "
              L"Haga clic en su icono para volver a la ventana.");
    EXPECT_EQ(balloon.InfoFlags, static_cast<DWORD>(NIIF_USER | NIIF_LARGE_ICON));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(balloon.BalloonIcon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    wchar_t stored[8] = {};
    DWORD size = sizeof(stored);
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"AvisoBandeja", RRF_RT_REG_SZ, nullptr,
                           stored, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(stored, L"1");
    Restore();
    Minimise();
    EXPECT_EQ(Balloons(), 1u);

    // Any other stored value counts as never shown.
    for (const wchar_t* other : {L"0", L"si", L""}) {
        Restore();
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"AvisoBandeja", REG_SZ, other,
                        static_cast<DWORD>((wcslen(other) + 1) * sizeof(wchar_t)));
        const std::size_t before = Balloons();
        Minimise();
        EXPECT_EQ(Balloons(), before + 1) << other;
    }
}

} // namespace
} // namespace zelvaran::testing
