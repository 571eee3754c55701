// Security Zelvaran starts by creating its main window. The only command lines it knows are the
// two an installed copy gives the elevated instance of itself that changes its machine-wide
// start-up entry; any other starts the program as usual.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "config/startup.h"
#include "mainwindow/frm_main.h"
#include "resources/product.h"
#include "ui/process_hardening.h"
#include "ui/window.h"

// The C++ library's default answer to an uncaught exception prints the exception's demangled
// type to a console this program does not have, and brings a 45 KiB demangler into the exe for
// that. Nothing is thrown out of the program's own code; should anything be, it ends the same.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    zelvaran::ui::HardenProcess();
    // Without COM the shell's calls may fail, which the program reports where it makes them.
    const zelvaran::ui::ComApartment com;

    // The elevated instance: no window, one step for its own path, the status as exit code.
    if (const auto step = zelvaran::config::MachineStepFromCommandLine(
            commandLine != nullptr ? commandLine : L"")) {
        return static_cast<int>(zelvaran::config::RunMachineStep(*step));
    }

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    // Without it the controls fall back to the classic look; the program still works.
    static_cast<void>(InitCommonControlsEx(&icc));

    zelvaran::mainwindow::frmMain mainWindow;
    if (!mainWindow.Create()) {
        MessageBoxW(nullptr, L"No se pudo crear la ventana principal de Security Zelvaran.",
                    zelvaran::kErrorTitle, MB_OK | MB_ICONSTOP);
        return 1;
    }
    return zelvaran::ui::RunMessageLoop();
}
