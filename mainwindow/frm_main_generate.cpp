// frmMain's Generate command, its option controls and its output buttons.
#include "mainwindow/frm_main.h"

#include <commctrl.h>

#include <string>

#include "mainwindow/main_layout.h"
#include "mainwindow/message_pump.h"
#include "resources/product.h"
#include "ui/platform.h"
#include "ui/window_text.h"

namespace zelvaran::mainwindow {
namespace {

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

bool frmMain::InstallLengthFilter() noexcept {
    return SetWindowSubclass(Control(kTxtLength), &LengthBoxProc, 1, 0) != FALSE;
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
        ResponsiveYield pump;
        GeneratePassword(*this, *random_, YieldHook(pump));
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

void frmMain::DisableGenerate() {
    HWND button = Control(kCmdGennerate);
    if (GetFocus() == button) {
        focus_.Remember(button); // disabling drops the focus; it comes back with the button
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
    static_cast<void>(ui::CurrentPlatform().ShowMessage(hwnd_, ui::AsWide(text.c_str()),
                                                        kErrorTitle, MB_OK | MB_ICONSTOP));
}

void frmMain::ShowResult(const SecretText& text) {
    ui::ReplaceSecretWindowText(Control(kTxtPassword), text.CStr());
}

void frmMain::EnableButtons() {
    for (const int id : {kCmdGennerate, kCopy, kCut, kCutxit}) {
        EnableWindow(Control(id), TRUE);
    }
    if (focus_.Last() == Control(kCmdGennerate) && GetFocus() == nullptr &&
        GetActiveWindow() == hwnd_) {
        SetFocus(focus_.Last());
    }
}

} // namespace zelvaran::mainwindow
