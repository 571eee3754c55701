#include "about/form5.h"

#include <commctrl.h>

#include "about/about_layout.h"
#include "about/web_addresses.h"
#include "resources/product.h"
#include "ui/titles.h"
#include "resources/resource_ids.h"
#include "ui/accessible_name.h"
#include "ui/navigation.h"
#include "ui/picture.h"
#include "ui/platform.h"

namespace zelvaran::about {
constexpr ui::FormShape kShape{
    Form5::kClassName, L"", Form5::kStyle, Form5::kExStyle, kClientWidthTwips, kClientHeightTwips,
    kAboutControls,    0}; // no default button

Form5::Form5() : ui::Form(kShape) {}

ui::UniqueIcon Form5::TrayImage(int dpi) noexcept {
    return ui::LoadIconForDpi(IDI_TRAY, SM_CXSMICON, dpi);
}

bool Form5::Load() noexcept {
    if (hwnd_ != nullptr) {
        return true;
    }
    // The tooltip class; without it the buttons merely lose their hints.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    static_cast<void>(InitCommonControlsEx(&icc));

    // The class paints no background: the picture covers the whole client area. Its icons are
    // set per window, at the window's DPI.
    if (!RegisterFormClass(nullptr, nullptr, nullptr) || !CreateCentred(nullptr, nullptr)) {
        return false;
    }
    OnLoad();
    return true;
}

void Form5::Show() noexcept {
    if (hwnd_ == nullptr && !Load()) {
        return;
    }
    // The tooltips wait for the first showing: the dialog is loaded at every start but seldom
    // shown, and their window would cost the start-up as much as a second dialog.
    if (!toolTip_) {
        AddToolTips();
    }
    ShowAndRaise();
}

bool Form5::OnCreate() noexcept {
    if (!CreateControls()) {
        return false;
    }
    // Without it the button still closes; a screen reader merely calls it "X".
    static_cast<void>(ui::SetAccessibleName(Control(kCerrar), kCerrarName));
    // Without its picture the dialog is still usable over the plain fill colour.
    picture_ = ui::LoadPicture(BMP_ABOUT);
    BuildBackdrop();
    icons_.Set(hwnd_, IDI_TRAY, controls_.Dpi());
    return true;
}

void Form5::OnRelayout(int dpi) noexcept {
    icons_.Set(hwnd_, IDI_TRAY, dpi);
}

// The load step: runs every time the dialog is loaded, and builds its texts afresh.
void Form5::OnLoad() noexcept {
    ++loadCount_;
    try {
        // Not displayed (there is no title bar), but the window carries it all the same.
        SetWindowTextW(hwnd_, ui::MainTitle(kProgramVersion).c_str());
        SetWindowTextW(Control(kVersion), ui::VersionLine(kProgramVersion).c_str());
    } catch (...) {
        // Out of memory for two short texts: the dialog shows without them.
    }
}

void Form5::AddToolTips() noexcept {
    toolTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));
    if (!toolTip_) {
        return; // the buttons work without their hints
    }
    for (const ToolTipSpec& tip : kAboutToolTips) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(Control(tip.Id));
        info.lpszText = const_cast<wchar_t*>(tip.Text); // copied by the tooltip
        SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void Form5::BuildBackdrop() noexcept {
    backdropBrush_.reset();
    backdrop_.reset();
    RECT client{};
    if (!GetClientRect(hwnd_, &client)) {
        return;
    }
    backdrop_ = ComposeBackdrop(hwnd_, picture_.get(), {client.right, client.bottom});
    if (backdrop_) {
        backdropBrush_.reset(CreatePatternBrush(backdrop_.get()));
    }
}

LRESULT Form5::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        return OnEraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    }
    return Default(msg, wParam, lParam);
}

void Form5::OnCommand(int id, int code) noexcept {
    static constexpr ui::Command<Form5> kClicks[] = {
        {kCommandWeb, &Form5::CommandWeb_Click},
        {kWebcp, &Form5::webcp_Click},
        {kCerrar, &Form5::cerrar_Click},
    };
    static_cast<void>(ui::RunClick(*this, kClicks, id, code));
}

bool Form5::OnEraseBackground(HDC dc) noexcept {
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintBackdrop(dc, backdrop_.get(), client);
    return true;
}

LRESULT Form5::OnCtlColorStatic(HDC dc, HWND control) noexcept {
    const ui::ControlSpec* row = ui::IsOwnControl(hwnd_, control)
                                     ? ui::FindControl(kAboutControls, GetDlgCtrlID(control))
                                     : nullptr;
    if (row == nullptr || (row->Flags & ui::kTransparent) == 0) {
        return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control));
    }
    if (HighContrast()) {
        // Over the picture no theme colour is sure to be readable: the line gets the theme's
        // text on the theme's background.
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetBkMode(dc, TRANSPARENT);
    // The window-background colour: light on the dark picture, as the system's scheme has it.
    SetTextColor(dc, GetSysColor(COLOR_WINDOW));
    if (!backdropBrush_) {
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    // The label fills itself with the part of the backdrop that lies under it.
    POINT origin{0, 0};
    MapWindowPoints(control, hwnd_, &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return reinterpret_cast<LRESULT>(backdropBrush_.get());
}

void Form5::OnSize(UINT /*type*/) noexcept {
    BuildBackdrop();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form5::OnDestroy() noexcept {
    // The tooltip is an owned window; it goes first, then what the painting used.
    toolTip_.reset();
    backdropBrush_.reset();
    backdrop_.reset();
    picture_.reset();
}

void Form5::cerrar_Click() noexcept {
    // Unloading: the window and its controls are destroyed; the next "Acerca" loads it anew.
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void Form5::OpenPage(const wchar_t* address) noexcept {
    // Whether a browser opened is the shell's business: the dialog has nothing to tell the user
    // when it did not, and stays open either way.
    static_cast<void>(
        ui::CurrentPlatform().ShellOpen(hwnd_, L"Open", address, L"", L"", SW_SHOWNORMAL));
}

void Form5::CommandWeb_Click() noexcept {
    OpenPage(kProgramPageAddress);
}

void Form5::webcp_Click() noexcept {
    OpenPage(kOvraHomeAddress);
}

} // namespace zelvaran::about
