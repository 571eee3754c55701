// Security Zelvaran starts by creating its main window; it takes no command line.
#include <windows.h>

#include <commctrl.h>

#include "mainwindow/frm_main.h"
#include "resources/product.h"
#include "ui/window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL: never from the current directory or the exe's folder.
    static_cast<void>(SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32));

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
