// Starts zelvaran.exe, opens the window to be pictured and tells the screenshot script where it
// is: writes "x y width height" to the file named on the command line, then waits until the
// script deletes that file (at most 30 s) and ends the program.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "program.h"

using namespace zelvaran;

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: screenshot_driver main|about|config|passphrase <rect file>\n", stderr);
        return 2;
    }
    const std::wstring which = argv[1];
    testing::RunningProgram program;
    HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
    if (main == nullptr) {
        return 1;
    }
    HWND target = main;
    if (which == L"about") {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(mainwindow::kMenuAbout, 0), 0);
        target = program.WaitForWindow(L"Zelvaran.Form5");
    } else if (which == L"config") {
        PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysConfiguration, 0);
        target = program.WaitForWindow(L"Zelvaran.Form2");
    } else if (which == L"passphrase") {
        PostMessageW(main, WM_SYSCOMMAND, mainwindow::frmMain::kSysPassphrase, 0);
        target = program.WaitForWindow(L"Zelvaran.frmFrase");
    }
    if (target == nullptr) {
        return 1;
    }
    Sleep(700); // let it paint
    RECT r{};
    GetWindowRect(target, &r);
    FILE* out = _wfopen(argv[2], L"w");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fclose(out);
    for (int i = 0; i < 300 && GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(100);
    }
    return 0;
}
