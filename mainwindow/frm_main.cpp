#include "mainwindow/frm_main.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "mainwindow/main_layout.h"
#include "mainwindow/message_pump.h"
#include "mainwindow/tray_logic.h"
#include "output/output_actions.h"
#include "app/program_version.h"
#include "app/resource.h"
#include "ui/navigation.h"
#include "ui/platform.h"
#include "ui/window_text.h"

namespace zelvaran::mainwindow {
namespace {

constexpr UINT kTopFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW; // 0x53
constexpr const wchar_t* kGenerateErrorTitle = L"Zelvaran Error";

[[nodiscard]] ui::UniqueMenu BuildMenu() noexcept {
    ui::UniqueMenu bar(CreateMenu());
    if (!bar) {
        return {};
    }
    for (const MenuSpec& top : kMainMenu) {
        if (top.Parent != 0) {
            continue;
        }
        const std::wstring caption(top.Caption);
        bool hasChildren = false;
        for (const MenuSpec& item : kMainMenu) {
            hasChildren = hasChildren || item.Parent == top.Id;
        }
        if (!hasChildren) {
            if (!AppendMenuW(bar.get(), MF_STRING, static_cast<UINT_PTR>(top.Id),
                             caption.c_str())) {
                return {};
            }
            continue;
        }
        ui::UniqueMenu popup(CreatePopupMenu());
        if (!popup) {
            return {};
        }
        for (const MenuSpec& item : kMainMenu) {
            const std::wstring text(item.Caption);
            if (item.Parent == top.Id &&
                !AppendMenuW(popup.get(), MF_STRING, static_cast<UINT_PTR>(item.Id),
                             text.c_str())) {
                return {};
            }
        }
        if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()),
                         caption.c_str())) {
            return {};
        }
        static_cast<void>(popup.release()); // the bar owns it now
    }
    return bar;
}

// txtLength lets through digits only, whether typed or pasted.
LRESULT CALLBACK LengthBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) noexcept {
    constexpr WPARAM kCtrlV = 0x16;
    switch (msg) {
    case WM_CHAR:
        if (wParam == kCtrlV) {
            SendMessageW(hwnd, WM_PASTE, 0, 0); // filtered below like any other paste
            return 0;
        }
        if (!LengthCharAllowed(static_cast<char32_t>(wParam))) {
            return 0;
        }
        break;
    case WM_PASTE: {
        std::u16string pasted;
        if (OpenClipboard(hwnd)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* text = static_cast<const char16_t*>(GlobalLock(data))) {
                    try {
                        pasted = text;
                    } catch (...) {
                        pasted.clear();
                    }
                    static_cast<void>(GlobalUnlock(data));
                }
            }
            CloseClipboard();
        }
        if (!LengthPasteAllowed(pasted)) {
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

frmMain::~frmMain() {
    if (tray_.IsShown()) {
        static_cast<void>(tray_.Delete()); // nothing more to do if the shell has gone
    }
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

bool frmMain::Create() noexcept {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const int dpi = static_cast<int>(GetDpiForSystem());
    auto* icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVARAN), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    auto* smallIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELVARAN), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (!RegisterFormClass(kClassName, icon, smallIcon,
                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
        return false;
    }
    ui::UniqueMenu menu = BuildMenu();
    if (!menu) {
        return false;
    }
    const SIZE size = ui::WindowSizeForClient(
        {ui::TwipsToPixels(kClientWidthTwips, dpi), ui::TwipsToPixels(kClientHeightTwips, dpi)},
        kStyle, kExStyle, true, dpi);
    const POINT at = ui::CentredOnScreen(size);
    if (CreateWindowExW(kExStyle, kClassName, kDesignCaption, kStyle, at.x, at.y, size.cx, size.cy,
                        nullptr, menu.get(), instance, this) == nullptr) {
        return false;
    }
    static_cast<void>(menu.release()); // destroyed with the window
    // The frame's real size can differ from the estimate (menu bar, DPI); measure and correct.
    ui::SetClientSize(hwnd_, {ui::TwipsToPixels(kClientWidthTwips, dpi),
                              ui::TwipsToPixels(kClientHeightTwips, dpi)});
    OnLoad();
    return true;
}

bool frmMain::OnCreate() noexcept {
    if (!controls_.Create(hwnd_, kMainControls, ui::WindowDpi(hwnd_))) {
        return false;
    }
    HWND length = Control(kTxtLength);
    SendMessageW(length, EM_LIMITTEXT, kLengthMaxChars, 0);
    // Explorer broadcasts this when it restarts; the icon must then be added again.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    return SetWindowSubclass(length, &LengthBoxProc, 1, 0) != FALSE &&
           AddConfigurationToSystemMenu();
}

bool frmMain::AddConfigurationToSystemMenu() noexcept {
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    return system != nullptr && AppendMenuW(system, MF_SEPARATOR, 0, nullptr) &&
           AppendMenuW(system, MF_STRING, kSysConfiguration, L"Configuracion");
}

void frmMain::OnLoad() noexcept {
    SetWindowTextW(hwnd_, ui::MainTitle(kProgramVersion).c_str());
    // The About dialog owns the small icon: loading it here runs its load step at start.
    if (!about_.Load()) {
        // Without the dialog there is no icon to borrow; the tray entry then has none.
    }
    tray_.Fill(hwnd_, about_.Icon());
    // A failed add leaves the program without an icon; minimising then keeps the task-bar button.
    static_cast<void>(tray_.Add());
    WindowOnTop(config::StoredTopmostFlag());
    SetFocus(Control(kChkLCaseLetters));
}

void frmMain::WindowOnTop(const std::int16_t& flag) noexcept {
    HWND after = nullptr;
    if (flag == -1) {
        after = HWND_TOPMOST;
    } else if (flag == 0) {
        after = HWND_NOTOPMOST;
    } else {
        return;
    }
    // Placement failures have no remedy here and are not reported.
    static_cast<void>(SetWindowPos(hwnd_, after, 0, 0, 0, 0, kTopFlags));
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam & 0xFFF0)) ? 0 : Default(msg, wParam, lParam);
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            OnTaskbarCreated();
            return 0;
        }
        return Default(msg, wParam, lParam);
    }
}

void frmMain::OnCommand(int id, int code) noexcept {
    // A disabled button must not act even when a click reaches it anyway (BM_CLICK sent by
    // another program, or by a system that does not check); menu commands arrive with code 0.
    HWND control = Control(id);
    const bool clicked = code == BN_CLICKED && control != nullptr && IsWindowEnabled(control);
    switch (id) {
    case kCmdGennerate:
        if (clicked) {
            cmdGennerate_Click();
        }
        break;
    case kChkSpecial:
        if (clicked) {
            chkSpecial_Click();
        }
        break;
    case kChkStyle:
        if (clicked) {
            chkStyle_Click();
        }
        break;
    case kCopy:
        if (clicked) {
            Copy_Click();
        }
        break;
    case kCut:
        if (clicked) {
            cut_Click();
        }
        break;
    case kCutxit:
        if (clicked) {
            cutxit_Click();
        }
        break;
    case kMenuSalir:
        salir_Click();
        break;
    case kMenuAyuda:
        Ayuda_Click();
        break;
    case kMenuAbout:
        mnu_about_Click();
        break;
    default:
        break;
    }
}

LRESULT frmMain::OnCtlColorStatic(HDC dc, HWND control) noexcept {
    if (control == Control(kChkSpecial)) {
        SetBkColor(dc, GetSysColor(COLOR_ACTIVEBORDER));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_ACTIVEBORDER));
    }
    const LRESULT brush =
        Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (control == Control(kTxtPassword)) {
        SetTextColor(dc, RGB(0, 0, 0));
    }
    return brush;
}

void frmMain::OnDpiChanged(int dpi, const RECT& suggested) noexcept {
    controls_.Relayout(dpi);
    // The client area keeps its size in twips; only the suggested corner is taken.
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    ui::SetClientSize(hwnd_, {ui::TwipsToPixels(kClientWidthTwips, dpi),
                              ui::TwipsToPixels(kClientHeightTwips, dpi)});
}

void frmMain::OnActivate(bool active) noexcept {
    if (!active) {
        HWND focus = GetFocus();
        if (IsOwnControl(focus)) {
            lastFocus_ = focus;
        }
    } else if (lastFocus_ != nullptr && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
    }
}

void frmMain::OnMouseMove(int x, int /*y*/) noexcept {
    // Win32 measures in pixels, so the position is the code itself.
    switch (ActionForCode(DecodeTrayCode(x, false, 1.0))) {
    case TrayAction::Restore:
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        // The system may refuse to change the foreground window; the window is shown anyway.
        static_cast<void>(SetForegroundWindow(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        break;
    case TrayAction::Foreground:
        static_cast<void>(SetForegroundWindow(hwnd_));
        break;
    case TrayAction::None:
        break;
    }
}

void frmMain::OnSize(UINT type) noexcept {
    // Without an icon a hidden window could never come back, so it stays on the task bar.
    if (type == SIZE_MINIMIZED && tray_.IsShown()) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void frmMain::OnTaskbarCreated() noexcept {
    // The old task bar took our icon with it; the same record adds it again. A failure leaves
    // the window unable to hide, which IsShown() tells the resize handler.
    static_cast<void>(tray_.AddAgain());
}

bool frmMain::OnSysCommand(UINT command) noexcept {
    if (command != kSysConfiguration) {
        return false;
    }
    OpenConfiguration();
    return true;
}

void frmMain::OpenConfiguration() noexcept {
    WindowOnTop(0); // the dialog must never open behind a topmost main window
    if (!configuration_.Show()) {
        static_cast<void>(
            ui::CurrentPlatform().MessageBox(hwnd_, L"No se pudo abrir la configuracion.",
                                             kGenerateErrorTitle, MB_OK | MB_ICONSTOP));
    }
}

void frmMain::OnClose() noexcept {
    OnUnload();
}

void frmMain::OnEndSession(bool ending) noexcept {
    if (ending) {
        OnUnload();
    }
}

void frmMain::OnUnload() noexcept {
    // The icon goes first: once the process has ended nobody could remove it.
    static_cast<void>(tray_.Delete());
    ui::CurrentPlatform().EndProcess(0);
}

void frmMain::OnDestroy() noexcept {
    PostQuitMessage(0);
}

bool frmMain::IsOwnControl(HWND hwnd) const noexcept {
    return hwnd != nullptr && hwnd != hwnd_ && GetAncestor(hwnd, GA_ROOT) == hwnd_;
}

bool frmMain::PreTranslateMessage(MSG& msg) noexcept {
    return ui::HandleNavigationKey(msg, hwnd_, controls_, kCmdGennerate);
}

int frmMain::CheckState(int id) const noexcept {
    return static_cast<int>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

void frmMain::cmdGennerate_Click() noexcept {
    if (generating_) {
        return; // a click that slipped in while the button was being disabled
    }
    generating_ = true;
    try {
        if (yieldMode_ == YieldMode::Responsive) {
            ResponsiveYield pump;
            GeneratePassword(*this, *random_, YieldHook(pump));
        } else {
            NaiveYield pump;
            GeneratePassword(*this, *random_, YieldHook(pump));
        }
    } catch (...) {
        // Out of memory: nothing was shown; the buttons must not stay disabled.
        EnableButtons();
    }
    generating_ = false;
}

void frmMain::chkSpecial_Click() noexcept {
    EnableWindow(Control(kTxtSpecial), CompanionBoxEnabled(CheckState(kChkSpecial)) ? TRUE : FALSE);
}

void frmMain::chkStyle_Click() noexcept {
    EnableWindow(Control(kTxtStyle), CompanionBoxEnabled(CheckState(kChkStyle)) ? TRUE : FALSE);
}

void frmMain::RunOutput(output::OutputAction action) noexcept {
    const output::OutputControls controls{hwnd_, Control(kTxtPassword), Control(kCopy),
                                          Control(kCut), Control(kCutxit)};
    if (output::RunOutputAction(action, controls) && action == output::OutputAction::CutAndExit) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void frmMain::Copy_Click() noexcept {
    RunOutput(output::OutputAction::Copy);
}

void frmMain::cut_Click() noexcept {
    RunOutput(output::OutputAction::Cut);
}

void frmMain::cutxit_Click() noexcept {
    RunOutput(output::OutputAction::CutAndExit);
}

void frmMain::salir_Click() noexcept {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    // Closing ends the process; should it ever return, finish the job here.
    static_cast<void>(tray_.Delete());
    ui::CurrentPlatform().EndProcess(0);
}

std::wstring frmMain::HelpFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2); // a long path: try again with room for it
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"zelvaran_help.chm";
}

void frmMain::Ayuda_Click() noexcept {
    try {
        const std::wstring path = HelpFilePath();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return; // no help file beside the program: nothing is shown
        }
        // Whether a help viewer opened is the shell's business; the program shows nothing.
        static_cast<void>(
            ui::CurrentPlatform().ShellOpen(hwnd_, L"Open", path.c_str(), L"", L"", SW_SHOWNORMAL));
    } catch (...) {
        // Out of memory building the path: the command does nothing.
    }
}

void frmMain::mnu_about_Click() noexcept {
    about_.Show();
}

void frmMain::DisableGenerate() {
    HWND button = Control(kCmdGennerate);
    if (GetFocus() == button) {
        lastFocus_ = button; // disabling drops the focus; it comes back with the button
    }
    EnableWindow(button, FALSE);
}

GenerationOptions frmMain::ReadOptions() {
    GenerationOptions options;
    options.LengthText = ui::ReadWindowText(Control(kTxtLength));
    options.UseUpper = SwitchIsOn(CheckState(kChkUCaseLetters));
    options.UseLower = SwitchIsOn(CheckState(kChkLCaseLetters));
    options.UseDigits = SwitchIsOn(CheckState(kChkNumbers));
    options.UseSymbols = SwitchIsOn(CheckState(kChkSpecial));
    options.SymbolText = ui::ReadWindowText(Control(kTxtSpecial));
    options.UseFormat = SwitchIsOn(CheckState(kChkStyle));
    options.FormatText = ui::ReadWindowText(Control(kTxtStyle));
    return options;
}

void frmMain::ShowError(const GenerationError& error) {
    const std::u16string text(error.Message());
    // The box has a single OK button; its answer carries nothing.
    static_cast<void>(ui::CurrentPlatform().MessageBox(hwnd_, ui::AsWide(text.c_str()),
                                                       kGenerateErrorTitle, MB_OK | MB_ICONSTOP));
}

void frmMain::ShowResult(const SecretText& text) {
    ui::ReplaceSecretWindowText(Control(kTxtPassword), text.CStr());
}

void frmMain::EnableButtons() {
    for (const int id : {kCmdGennerate, kCopy, kCut, kCutxit}) {
        EnableWindow(Control(id), TRUE);
    }
    if (lastFocus_ == Control(kCmdGennerate) && GetFocus() == nullptr &&
        GetActiveWindow() == hwnd_) {
        SetFocus(lastFocus_);
    }
}

} // namespace zelvaran::mainwindow
