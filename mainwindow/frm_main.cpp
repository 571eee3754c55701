#include "mainwindow/frm_main.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "mainwindow/main_layout.h"
#include "mainwindow/message_pump.h"
#include "mainwindow/tray_logic.h"
#include "output/output_actions.h"
#include "resources/product.h"
#include "resources/resource_ids.h"
#include "ui/accessible_name.h"
#include "ui/navigation.h"
#include "ui/platform.h"
#include "ui/screen_reader.h"
#include "ui/window_text.h"

namespace zelvaran::mainwindow {
namespace {

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

} // namespace

constexpr ui::FormShape kShape{
    frmMain::kClassName, frmMain::kDesignCaption, frmMain::kStyle, frmMain::kExStyle,
    kClientWidthTwips,   kClientHeightTwips,      kMainControls,   kCmdGennerate};

frmMain::frmMain() : ui::Form(kShape) {
    passphrase_.UseClearer(&clearer_);
}

frmMain::~frmMain() {
    if (tray_.IsShown()) {
        static_cast<void>(tray_.Delete()); // nothing more to do if the shell has gone
    }
}

bool frmMain::Create() noexcept {
    if (!RegisterFormClass(IDI_ZELVARAN)) {
        return false;
    }
    ui::UniqueMenu menu = BuildMenu();
    if (!menu) {
        return false;
    }
    if (!CreateCentred(nullptr, menu.get())) {
        return false;
    }
    static_cast<void>(menu.release()); // destroyed with the window
    OnLoad();
    return true;
}

bool frmMain::OnCreate() noexcept {
    if (!CreateControls()) {
        return false;
    }
    // Every other window of the program opens on this window's monitor.
    ui::SetPlacementAnchor(hwnd_);
    HWND length = Control(kTxtLength);
    SendMessageW(length, EM_LIMITTEXT, kLengthMaxChars, 0);
    // Without them the window still works; a screen reader merely finds boxes without names.
    static_cast<void>(ui::AddHiddenLabels(controls_, kMainHiddenLabels));
    static_cast<void>(ui::SetAccessibleName(Control(kImage1), kProductName));
    // The class's icons are the system DPI's; the window's own follow its monitor.
    icons_.Set(hwnd_, IDI_ZELVARAN, controls_.Dpi());
    // Explorer broadcasts this when it restarts; the icon must then be added again.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A program started elevated would otherwise never hear it: the system keeps messages from
    // the unelevated Explorer out of elevated windows. Unelevated, the call changes nothing; if
    // it fails, the icon is lost only after an Explorer restart, so the window is made anyway.
    if (taskbarCreated_ != 0) {
        static_cast<void>(
            ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr));
    }
    clearer_.Attach(hwnd_);
    return InstallLengthFilter() && AddConfigurationToSystemMenu() && AddRulesToSystemMenu() &&
           AddClearingToSystemMenu();
}

void frmMain::OnRelayout(int dpi) noexcept {
    icons_.Set(hwnd_, IDI_ZELVARAN, dpi);
    // The notification area draws the icon at the scale of the main window's monitor.
    if (ui::UniqueIcon image = about::Form5::TrayImage(dpi); image && tray_.IsFilled()) {
        if (tray_.ChangeIcon(image.get())) {
            trayImage_ = std::move(image); // the old image is no longer shown
        }
    }
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam & 0xFFF0)) ? 0 : Default(msg, wParam, lParam);
    case WM_QUERYENDSESSION:
        clearer_.OnEndSession(); // the session may end without another word to the program
        return TRUE;
    case WM_CLIPBOARDUPDATE:
        clearer_.OnClipboardUpdate();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
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
    static constexpr ui::Command<frmMain> kMenuCommands[] = {
        {kMenuSalir, &frmMain::salir_Click},
        {kMenuAyuda, &frmMain::Ayuda_Click},
        {kMenuAbout, &frmMain::mnu_about_Click},
    };
    static constexpr ui::Command<frmMain> kClicks[] = {
        {kCmdGennerate, &frmMain::cmdGennerate_Click},
        {kChkSpecial, &frmMain::chkSpecial_Click},
        {kChkStyle, &frmMain::chkStyle_Click},
        {kCopy, &frmMain::Copy_Click},
        {kCut, &frmMain::cut_Click},
        {kCutxit, &frmMain::cutxit_Click},
    };
    if (ui::RunCommand(*this, kMenuCommands, id)) {
        return;
    }
    if (ui::RunClick(*this, kClicks, id, code)) {
        return;
    }
    if (id == kTxtLength && code == EN_CHANGE) {
        txtLength_Change();
    }
}

LRESULT frmMain::OnCtlColorStatic(HDC dc, HWND control) noexcept {
    if (HighContrast()) {
        // The theme's colours alone: the read-out in the text colour on its own background (a
        // disabled box may still draw its text in the theme's grey, which the theme keeps
        // readable), and the symbol box as every other check box.
        if (control != Control(kTxtPassword)) {
            return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control));
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
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

} // namespace zelvaran::mainwindow
