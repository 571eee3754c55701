// frmMain's Generate command, its option controls and its output buttons.
#include "mainwindow/frm_main.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>
#include <string_view>

#include "mainwindow/main_layout.h"
#include "mainwindow/message_pump.h"
#include "resources/product.h"
#include "ui/platform.h"
#include "ui/screen_reader.h"
#include "ui/window_text.h"

namespace zelvaran::mainwindow {
namespace {

// Whether the clipboard holds text the length box may take. The text is checked where it lies and
// never copied: it may well be a password.
[[nodiscard]] bool ClipboardFitsLengthBox(HWND box) noexcept {
    if (!OpenClipboard(box)) {
        return false;
    }
    bool fits = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
        if (const auto* text = static_cast<const char16_t*>(GlobalLock(data))) {
            fits = LengthPasteAllowedInBlock(text, capacity);
            static_cast<void>(GlobalUnlock(data)); // zero only says the block is unlocked now
        }
    }
    CloseClipboard();
    return fits;
}

// Text set by a program (WM_SETTEXT, from this process or another) is taken only when typing
// could have brought it in: digits alone, no more than the box holds. Empty text is what
// deleting leaves, so it is taken too.
[[nodiscard]] bool SetTextFitsLengthBox(HWND box, const wchar_t* text) noexcept {
    if (text == nullptr) {
        return true;
    }
    const auto limit = static_cast<std::size_t>(SendMessageW(box, EM_GETLIMITTEXT, 0, 0));
    const std::size_t length = wcsnlen(text, limit + 1);
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text), length);
    return length <= limit && (view.empty() || LengthPasteAllowed(view));
}

// txtLength lets through digits only: typed keys by the typed-key rule, pastes and set texts
// when they are digits alone. Whatever else changes the text is undone by txtLength_Change.
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
    case WM_KEYDOWN:
        // Shift+Insert: some edit controls paste without a WM_PASTE; this one goes through it.
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            SendMessageW(hwnd, WM_PASTE, 0, 0);
            return 0;
        }
        break;
    case WM_PASTE:
        if (!ClipboardFitsLengthBox(hwnd)) {
            return 0;
        }
        break;
    case WM_SETTEXT:
        if (!SetTextFitsLengthBox(hwnd, reinterpret_cast<const wchar_t*>(lParam))) {
            return FALSE;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

bool frmMain::InstallLengthFilter() noexcept {
    HWND box = Control(kTxtLength);
    static_cast<void>(
        GetWindowTextW(box, lengthText_.data(), static_cast<int>(lengthText_.size())));
    return SetWindowSubclass(box, &LengthBoxProc, 1, 0) != FALSE;
}

void frmMain::txtLength_Change() noexcept {
    // An input method, a drop or any other way in that no filter sees: a change that brought in
    // anything but digits is taken back whole, as a refused paste would be, and the caret goes
    // to where it began. (The box's own undo would take back more: it joins adjacent inserts.)
    HWND box = Control(kTxtLength);
    std::array<wchar_t, 16> text{};
    const int length = GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
    if (length <= 0 || SetTextFitsLengthBox(box, text.data())) {
        static_assert(sizeof(lengthText_) <= sizeof(text));
        std::copy_n(text.begin(), lengthText_.size(), lengthText_.begin()); // fits: ends in a NUL
        return;
    }
    std::size_t same = 0;
    while (same < lengthText_.size() && lengthText_[same] != L'\0' &&
           lengthText_[same] == text[same]) {
        ++same;
    }
    const std::array<wchar_t, 8> before = lengthText_; // setting it runs this again
    SetWindowTextW(box, before.data());
    SendMessageW(box, EM_SETSEL, same, same);
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
    const output::OutputControls controls{hwnd_,         Control(kTxtPassword), Control(kCopy),
                                          Control(kCut), Control(kCutxit),      &clearer_};
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
    options.OneOfEachKind = rules_[kOneOfEachKindRule];
    options.NoLookAlikes = rules_[kNoLookAlikesRule];
    return options;
}

void frmMain::ShowError(const GenerationError& error) {
    const std::u16string text(error.Message());
    // The box has a single OK button; its answer carries nothing.
    static_cast<void>(
        ui::ShowProgramMessage(hwnd_, ui::AsWide(text.c_str()), kErrorTitle, MB_OK | MB_ICONSTOP));
}

void frmMain::ShowResult(const SecretText& text) {
    ui::ReplaceSecretWindowText(Control(kTxtPassword), text.CStr());
    // A reader that follows the read-out may read the new value; the program says nothing.
    ui::AnnounceValueChange(Control(kTxtPassword));
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
