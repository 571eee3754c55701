// frmMain's start and end, its notification-area icon and its menu commands.
#include "mainwindow/frm_main.h"

#include <windowsx.h>

#include <string>

#include "resources/product.h"
#include "ui/titles.h"
#include "mainwindow/main_layout.h"
#include "ui/platform.h"
#include "ui/program_path.h"
#include "ui/window_text.h"

namespace zelvaran::mainwindow {
namespace {

constexpr UINT kTopFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW; // 0x53

} // namespace

bool frmMain::AddConfigurationToSystemMenu() noexcept {
    HMENU system = GetSystemMenu(hwnd_, FALSE);
    return system != nullptr && AppendMenuW(system, MF_SEPARATOR, 0, nullptr) &&
           AppendMenuW(system, MF_STRING, kSysConfiguration, L"Configuracion") &&
           AppendMenuW(system, MF_STRING, kSysPassphrase, L"Frase de Contrase\u00F1a");
}

void frmMain::OnLoad() noexcept {
    SetWindowTextW(hwnd_, ui::MainTitle(kProgramVersion).c_str());
    // The About dialog owns the small icon: loading it here runs its load step at start. The
    // image is taken at this window's DPI, the scale the notification area draws it at.
    static_cast<void>(about_.Load()); // without the dialog, the icon still shows its image
    trayImage_ = about::Form5::TrayImage(controls_.Dpi());
    tray_.Fill(hwnd_, trayImage_.get());
    AddTrayIcon();
    WindowOnTop(config::StoredTopmostFlag());
    SetFocus(Control(kChkLCaseLetters));
}

void frmMain::WindowOnTop(const std::int16_t& flag) noexcept {
    PlaceOnTop(flag, kTopFlags);
}

void frmMain::OnConfigurationClosed(std::int16_t topmostFlag) noexcept {
    // The stored choice applies, but a window hidden in the notification area stays hidden:
    // only the icon brings it back.
    PlaceOnTop(topmostFlag, kTopFlags & ~static_cast<UINT>(SWP_SHOWWINDOW));
}

void frmMain::PlaceOnTop(std::int16_t flag, UINT flags) noexcept {
    HWND after = nullptr;
    if (flag == -1) {
        after = HWND_TOPMOST;
    } else if (flag == 0) {
        after = HWND_NOTOPMOST;
    } else {
        return;
    }
    // Placement failures have no remedy here and are not reported.
    static_cast<void>(SetWindowPos(hwnd_, after, 0, 0, 0, 0, flags));
    ShareTopmostWithAbout();
    ShareTopmostWithPassphrase();
}

void frmMain::ShareTopmostWithAbout() noexcept {
    // The About dialog has no owner to keep it above the main window, so it takes the main
    // window's topmost state: a topmost main window would cover an ordinary dialog.
    if (!about_.IsLoaded()) {
        return;
    }
    const bool topmost = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    static_cast<void>(SetWindowPos(about_.Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                                   0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
}

void frmMain::ShareTopmostWithPassphrase() noexcept {
    // Like the About dialog, the passphrase window has no owner to keep it above the main window.
    if (!passphrase_.IsLoaded()) {
        return;
    }
    const bool topmost = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    static_cast<void>(SetWindowPos(passphrase_.Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                                   0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
}

void frmMain::OpenPassphrase() noexcept {
    if (!passphrase_.Show()) {
        static_cast<void>(ui::ShowProgramMessage(
            hwnd_, L"No se pudo abrir la ventana de la frase de contrase\u00F1a.", kErrorTitle,
            MB_OK | MB_ICONSTOP));
        return;
    }
    ShareTopmostWithPassphrase();
}

bool frmMain::OnSysCommand(UINT command) noexcept {
    if (command == kSysPassphrase) {
        OpenPassphrase();
        return true;
    }
    if (command != kSysConfiguration) {
        return OnRuleCommand(command) || OnClearCommand(command);
    }
    OpenConfiguration();
    return true;
}

void frmMain::OpenConfiguration() noexcept {
    WindowOnTop(0); // the dialog must never open behind a topmost main window
    if (!configuration_.Show()) {
        static_cast<void>(ui::ShowProgramMessage(hwnd_, L"No se pudo abrir la configuraci\u00F3n.",
                                                 kErrorTitle, MB_OK | MB_ICONSTOP));
    }
}

void frmMain::OnClose() noexcept {
    OnUnload();
}

void frmMain::OnEndSession(bool ending) noexcept {
    if (ending) {
        clearer_.OnEndSession();
        OnUnload();
    }
}

void frmMain::OnUnload() noexcept {
    // The icon goes first: once the process has ended nobody could remove it. Nor could anybody
    // wipe the read-out box, whose text would stay in memory the system hands out again.
    static_cast<void>(tray_.Delete());
    ui::WipeWindowText(Control(kTxtPassword));
    passphrase_.WipePhrase();
    // A countdown still to run keeps the process, with nothing left to see, until the clipboard
    // is emptied or found replaced; the clearer then ends it.
    if (clearer_.HoldExit()) {
        HideProgramWindows();
        return;
    }
    ui::CurrentPlatform().EndProcess(0);
}

void frmMain::OnDestroy() noexcept {
    clearer_.Detach();
    ui::WipeWindowText(Control(kTxtPassword)); // the children still exist here
    ui::SetPlacementAnchor(nullptr);
    PostQuitMessage(0);
}

void frmMain::salir_Click() noexcept {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    // Closing ends the process; should it ever return, finish the job here.
    OnUnload();
}

std::wstring frmMain::HelpFilePath() {
    const std::wstring folder = ui::ProgramFolder();
    return folder.empty() ? std::wstring() : folder + L"zelvaran_help.chm";
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
    // A dialog loaded again after its close starts ordinary; it must show in front all the same.
    if (about_.Load()) {
        ShareTopmostWithAbout();
    }
    about_.Show();
}

} // namespace zelvaran::mainwindow
