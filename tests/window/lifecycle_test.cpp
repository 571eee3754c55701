// Start and end of the main window, its notification-area icon and its menu commands.
#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

#include "main_window_fixture.h"
#include "about/about_layout.h"
#include "mainwindow/tray_logic.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

class LifecycleTest : public MainWindowTest {
protected:
    [[nodiscard]] bool IconExists() {
        // Only an icon the notification area knows can be modified.
        NOTIFYICONDATAW probe = Main().Tray().Record();
        probe.uFlags = NIF_TIP;
        return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
    }
    void Minimise() {
        ShowWindow(Main().Handle(), SW_MINIMIZE);
        Pump();
    }
    [[nodiscard]] bool IsTopmost(HWND hwnd = nullptr) {
        hwnd = hwnd != nullptr ? hwnd : Main().Handle();
        return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
    // A version-1 report (wParam = the id) unless a version-4 anchor is given.
    void TrayReport(LPARAM code, WPARAM wParam = kTrayIconId) {
        // The pointer is over the icon, never over the window, when the icon reports.
        SetCursorPos(0, 0);
        SendMessageW(Main().Handle(), WM_MOUSEMOVE, wParam, code);
        Pump();
    }
    void TaskbarCreated() {
        SendMessageW(Main().Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        Pump();
    }
    void CloseAbout() {
        ClickNotification(Main().About().Control(about::kCerrar));
        Pump();
    }
    // What the unload step leaves, whichever way out ran it: nothing asked, nothing left behind.
    void ExpectUnloaded() {
        EXPECT_TRUE(platform_.Boxes.empty());
        EXPECT_FALSE(IconExists());
        EXPECT_EQ(TextOf(Ctl(kTxtPassword)), L""); // wiped before the end
    }
    void Command(int id) {
        SendMessageW(Main().Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
};

TEST_F(LifecycleTest, LoadStepSetsTheTitleLoadsTheAboutDialogHiddenAndAddsTheIcon) {
    EXPECT_EQ(TextOf(Main().Handle()), L"Morvantic SecurityZelvaran v1.0.42");
    EXPECT_EQ(Main().About().LoadCount(), 1);
    ASSERT_TRUE(Main().About().IsLoaded());
    HWND about = Main().About().Handle();
    EXPECT_FALSE(IsWindowVisible(about));
    EXPECT_EQ(TextOf(about), L"Morvantic SecurityZelvaran v1.0.42");
    EXPECT_TRUE(Main().Tray().IsShown());
    EXPECT_TRUE(IconExists());
    EXPECT_FALSE(IsTopmost());
    EXPECT_TRUE(IsWindowVisible(Main().Handle()));
    // Added, then asked for version-4 reports.
    ASSERT_EQ(platform_.Icons.size(), 2u);
    EXPECT_EQ(platform_.Icons[0].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(platform_.Icons[0].Took);
    EXPECT_EQ(platform_.Icons[1].Message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(platform_.Icons[1].Version, static_cast<UINT>(NOTIFYICON_VERSION_4));
}

TEST_F(LifecycleTest, TheIconRecordIsTheWholeWideRecordFilledOnce) {
    const NOTIFYICONDATAW& r = Main().Tray().Record();
    EXPECT_EQ(r.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(r.hWnd, Main().Handle());
    EXPECT_EQ(r.uID, 1u);
    EXPECT_EQ(r.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP));
    EXPECT_EQ(r.uCallbackMessage, 512u);
    EXPECT_EQ(r.uVersion, 4u);
    EXPECT_NE(r.hIcon, nullptr);
    EXPECT_EQ(std::wstring(r.szTip), L"Security Zelvaran");
}

// Reports as Windows sends them: version 1 where the shell refused version 4, else version 4
// with the anchor in wParam (Enter or Space on the icon arrives as NIN_KEYSELECT).
TEST_F(LifecycleTest, MinimisingHidesAndAClickASelectionOrEnterRestoresAndRaises) {
    constexpr WPARAM kAnchor = MAKEWPARAM(1800, 1050);
    const std::vector<std::pair<LPARAM, WPARAM>> reports[] = {
        {{514, kTrayIconId}},
        {{515, kTrayIconId}},
        {{MAKELPARAM(NIN_SELECT, kTrayIconId), kAnchor}},
        {{MAKELPARAM(NIN_KEYSELECT, kTrayIconId), kAnchor}},
        {{MAKELPARAM(WM_LBUTTONUP, kTrayIconId), kAnchor}},
        {{514, kTrayIconId}, {515, kTrayIconId}, {514, kTrayIconId}}, // a double-click
    };
    for (const auto& sequence : reports) {
        SCOPED_TRACE(::testing::Message() << sequence[0].first << " of " << sequence.size());
        Minimise();
        EXPECT_FALSE(IsWindowVisible(Main().Handle()));
        for (const auto& [lParam, wParam] : sequence) {
            TrayReport(lParam, wParam);
        }
        EXPECT_TRUE(IsWindowVisible(Main().Handle()));
        EXPECT_FALSE(IsIconic(Main().Handle()));
    }
    EXPECT_TRUE(IconExists());
}

TEST_F(LifecycleTest, ARightClickOrTheMenuKeyOnlyRaisesAndOtherCodesDoNothing) {
    Minimise();
    ASSERT_FALSE(IsWindowVisible(Main().Handle()));
    for (int code : {517, 512, 513, 516, 518, 0}) {
        TrayReport(code);
        EXPECT_FALSE(IsWindowVisible(Main().Handle())) << code;
    }
    for (int code : {WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE, NIN_BALLOONSHOW}) {
        TrayReport(MAKELPARAM(code, kTrayIconId), MAKEWPARAM(1800, 1050));
        EXPECT_FALSE(IsWindowVisible(Main().Handle())) << code;
    }
}

TEST_F(LifecycleTest, WindowOnTopTakesMinusOneAndZeroOnly) {
    for (const auto& [flag, topmost] :
         {std::pair<int16_t, bool>{-1, true}, {1, true}, {0, false}, {2, false}}) {
        Main().WindowOnTop(flag);
        EXPECT_EQ(IsTopmost(), topmost) << flag;
    }
    // It shows a hidden window without activating it, and keeps a minimised one minimised.
    ShowWindow(Main().Handle(), SW_HIDE);
    Main().WindowOnTop(0);
    EXPECT_TRUE(IsWindowVisible(Main().Handle()));
}

TEST_F(LifecycleTest, TaskbarCreatedAddsTheIconAgain) {
    NOTIFYICONDATAW record = Main().Tray().Record();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &record)); // as if Explorer had restarted
    ASSERT_FALSE(IconExists());
    // The second broadcast comes while the icon is still there: exactly one icon all the same.
    for (int broadcast : {1, 2}) {
        TaskbarCreated();
        EXPECT_TRUE(IconExists()) << broadcast;
        EXPECT_TRUE(Main().Tray().IsShown()) << broadcast;
    }
}

// A task bar that refuses every icon: the notification area asks the first window of its class.
LRESULT CALLBACK RefusingTrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return msg == WM_COPYDATA ? FALSE : DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(LifecycleTest, WhenTheIconCannotComeBackAHiddenWindowDoes) {
    Minimise();
    ASSERT_FALSE(IsWindowVisible(Main().Handle()));
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RefusingTrayProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&wc);
    ui::UniqueWindow tray(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"",
                                          WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(tray);
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), tray.get());
    TaskbarCreated();
    EXPECT_FALSE(Main().Tray().IsShown());
    EXPECT_TRUE(IsWindowVisible(Main().Handle())); // on the task bar, minimised as it was
    EXPECT_TRUE(IsIconic(Main().Handle()));
    tray.reset();
    UnregisterClassW(L"Shell_TrayWnd", GetModuleHandleW(nullptr));
}

TEST_F(LifecycleTest, EveryWayOutRemovesTheIconThenEndsTheProcess) {
    SetText(kTxtPassword, L"secreto");
    SysCommand(SC_CLOSE);
    EXPECT_EQ(platform_.EndCodes, std::vector<UINT>{0});
    ExpectUnloaded();
}

TEST_F(LifecycleTest, LoggingOffRunsTheUnloadStep) {
    SetText(kTxtPassword, L"secreto");
    EXPECT_EQ(SendMessageW(Main().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(Main().Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(platform_.EndCodes, std::vector<UINT>{0});
    ExpectUnloaded();
}

TEST_F(LifecycleTest, SalirEndsWithoutAskingAndTheIconGoes) {
    SetText(kTxtPassword, L"secreto");
    Command(kMenuSalir);
    ASSERT_FALSE(platform_.EndCodes.empty());
    EXPECT_EQ(platform_.EndCodes[0], 0u);
    ExpectUnloaded();
}

TEST_F(LifecycleTest, AcercaShowsOneDialogAndReloadsItAfterItWasClosed) {
    Command(kMenuAbout);
    Command(kMenuAbout);
    EXPECT_EQ(Main().About().LoadCount(), 1);
    HWND about = Main().About().Handle();
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_EQ(FindWindowExW(nullptr, about, about::Form5::kClassName, nullptr), nullptr);
    CloseAbout();
    EXPECT_FALSE(Main().About().IsLoaded());
    Command(kMenuAbout);
    EXPECT_EQ(Main().About().LoadCount(), 2);
    EXPECT_TRUE(IsWindowVisible(Main().About().Handle()));
}

// The help file beside the test exe, created and removed by the test.
class HelpFileBesideExe {
public:
    HelpFileBesideExe() : path_(mainwindow::frmMain::HelpFilePath()) {
        std::ofstream(path_.c_str()) << "ITSF";
    }
    ~HelpFileBesideExe() { DeleteFileW(path_.c_str()); }
    [[nodiscard]] const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

TEST_F(LifecycleTest, TemasDeAyudaOpensTheHelpFileBesideTheProgram) {
    HelpFileBesideExe help;
    Command(kMenuAyuda);
    ASSERT_EQ(platform_.Shell.size(), 1u);
    const ShellCall& call = platform_.Shell[0];
    EXPECT_EQ(call.Owner, Main().Handle());
    EXPECT_EQ(call.Verb, L"Open");
    EXPECT_EQ(call.File, help.Path());
    EXPECT_EQ(call.Parameters, L"");
    EXPECT_EQ(call.Directory, L"");
    EXPECT_EQ(call.Show, SW_SHOWNORMAL);
    EXPECT_NE(call.File.find(L":\\"), std::wstring::npos); // a full path
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(LifecycleTest, WithoutAHelpFileBesideTheProgramNothingIsOpened) {
    // A help file planted in the current directory must not be the one that opens.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring planted = std::wstring(temp) + L"zelvaran_help.chm";
    std::ofstream(planted.c_str()) << "planted";
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(temp);
    Command(kMenuAyuda);
    SetCurrentDirectoryW(previous);
    DeleteFileW(planted.c_str());
    EXPECT_TRUE(platform_.Shell.empty());
    EXPECT_TRUE(platform_.Boxes.empty());
}

TEST_F(LifecycleTest, ConfiguracionInTheSystemMenuClearsTopmostThenShowsTheDialog) {
    HMENU system = GetSystemMenu(Main().Handle(), FALSE);
    ASSERT_NE(system, nullptr);
    wchar_t text[64] = {};
    ASSERT_GT(GetMenuStringW(system, frmMain::kSysConfiguration, text, 64, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, L"Configuracion");
    Main().WindowOnTop(-1);
    ASSERT_TRUE(IsTopmost());
    SysCommand(frmMain::kSysConfiguration);
    EXPECT_FALSE(IsTopmost());
    ASSERT_TRUE(Main().Configuration().IsLoaded());
    EXPECT_TRUE(IsWindowVisible(Main().Configuration().Handle()));
}

// Whether `front` lies above `back` among the top-level windows.
bool IsAbove(HWND front, HWND back) {
    for (HWND w = GetWindow(front, GW_HWNDNEXT); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == back) {
            return true;
        }
    }
    return false;
}

TEST_F(LifecycleTest, AcercaShowsInFrontOfTheMainWindowWhateverItsTopmostState) {
    const auto expectInFront = [&](const char* when) {
        HWND about = Main().About().Handle();
        EXPECT_TRUE(IsWindowVisible(about)) << when;
        EXPECT_TRUE(IsAbove(about, Main().Handle())) << when;
        EXPECT_EQ(GetWindow(about, GW_OWNER), nullptr) << when;
        EXPECT_TRUE(IsEnabled(Main().Handle())) << when; // modeless
    };
    Main().WindowOnTop(-1);
    Command(kMenuAbout);
    expectInFront("topmost main, first showing");
    CloseAbout();
    Command(kMenuAbout);
    expectInFront("closed, then loaded again");
    Main().WindowOnTop(0);
    expectInFront("main ordinary again");
    Main().WindowOnTop(-1);
    expectInFront("main made topmost while the dialog is open");
}

TEST_F(LifecycleTest, FraseDeContrasenaStaysInFrontOfTheMainWindowAsItsTopmostStateChanges) {
    Main().WindowOnTop(-1);
    SysCommand(frmMain::kSysPassphrase);
    HWND phrase = Main().Passphrase().Handle();
    for (int onTop : {-1, 0, -1}) {
        Main().WindowOnTop(static_cast<int16_t>(onTop));
        Pump();
        EXPECT_TRUE(IsWindowVisible(phrase)) << onTop;
        EXPECT_TRUE(IsAbove(phrase, Main().Handle())) << onTop;
        EXPECT_EQ(IsTopmost(phrase), onTop != 0) << onTop;
    }
}

TEST_F(LifecycleTest, AMessageBoxDisablesEveryWindowAndEnablesEachAsItWas) {
    Command(kMenuAbout);
    SysCommand(frmMain::kSysConfiguration);
    SysCommand(frmMain::kSysPassphrase);
    HWND about = Main().About().Handle();
    HWND configuration = Main().Configuration().Handle();
    HWND phrase = Main().Passphrase().Handle();
    ASSERT_TRUE(IsEnabled(about) && IsEnabled(configuration) && IsEnabled(phrase));
    std::vector<std::pair<bool, bool>> during;
    platform_.DuringBox = [&] {
        EXPECT_FALSE(IsEnabled(phrase));
        during.emplace_back(IsEnabled(about), IsEnabled(configuration));
    };
    for (int id : {kChkLCaseLetters, kChkUCaseLetters, kChkNumbers}) {
        SetCheck(id, BST_UNCHECKED);
    }
    Click(Ctl(kCmdGennerate)); // "Zelvaran Error"
    EXPECT_TRUE(IsEnabled(about));
    EXPECT_TRUE(IsEnabled(configuration));
    EnableWindow(configuration, FALSE); // disabled before the box, so disabled after it
    Click(Ctl(kCopy));                  // "Texto Copiado"
    ASSERT_EQ(platform_.Boxes.size(), 2u);
    EXPECT_EQ(during, (std::vector<std::pair<bool, bool>>{{false, false}, {false, false}}));
    EXPECT_TRUE(IsEnabled(about) && IsEnabled(phrase));
    EXPECT_FALSE(IsEnabled(configuration));
    EXPECT_TRUE(IsEnabled(Main().Handle())); // the box's owner is the box's own business
}

TEST_F(LifecycleTest, ClosingTheConfigurationDialogLeavesAWindowInTheTrayHidden) {
    SysCommand(frmMain::kSysConfiguration);
    ASSERT_TRUE(Main().Configuration().IsLoaded());
    Minimise();
    ASSERT_FALSE(IsWindowVisible(Main().Handle()));
    SendMessageW(Main().Configuration().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(Main().Configuration().IsLoaded());
    EXPECT_FALSE(IsWindowVisible(Main().Handle()));
    TrayReport(514); // the icon still brings it back
    EXPECT_TRUE(IsWindowVisible(Main().Handle()));
}

// The x of every mouse move that reaches the main window, seen on its way from the queue.
std::set<int> g_movesAt;
HWND g_movesTo = nullptr;
LRESULT CALLBACK MoveWatch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && msg->hwnd == g_movesTo && msg->message == WM_MOUSEMOVE) {
        g_movesAt.insert(static_cast<short>(LOWORD(msg->lParam)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The mouse itself, through the system's input queue, to a point of the screen.
void MoveMouseTo(POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Rounded up: the system rounds the way back down.
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    SendInput(1, &input, sizeof(input));
}

// Only at 168 DPI and more is the client area wide enough for x = 517.
TEST_F(LifecycleTest, RealMouseMovesOverTheWindowLeaveAnotherWindowInFront) {
    RECT client{};
    GetClientRect(Main().Handle(), &client);
    if (client.right <= 517) {
        GTEST_SKIP() << "the client area is " << client.right << " pixels wide";
    }
    // Another window in front, beside the main window: the one the user is working in.
    ui::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"otra", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    SetForegroundWindow(other.get());
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other.get());
    g_movesTo = Main().Handle();
    g_movesAt.clear();
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &MoveWatch, nullptr, GetCurrentThreadId());
    // Over the banner, over a frame, and over the bare strip below the buttons.
    // At y = 1, x = 514 is also what a version-4 report of a left click carries.
    for (POINT at : {POINT{514, 1}, {515, client.bottom / 2}, {517, client.bottom - 2}}) {
        const int x = at.x;
        ClientToScreen(Main().Handle(), &at);
        MoveMouseTo(at);
        for (int i = 0; i < 50 && g_movesAt.count(x) == 0; ++i) {
            Pump();
            Sleep(10);
        }
        EXPECT_EQ(g_movesAt.count(x), 1u) << x; // the move did reach the window
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(GetForegroundWindow(), other.get());
    // The icon's very numbers change nothing while the pointer is over the window.
    SendMessageW(Main().Handle(), WM_MOUSEMOVE, MK_LBUTTON, 514);
    SendMessageW(Main().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(NIN_SELECT, kTrayIconId));
    Pump();
    EXPECT_EQ(GetForegroundWindow(), other.get());
}

} // namespace
} // namespace zelvaran::testing
