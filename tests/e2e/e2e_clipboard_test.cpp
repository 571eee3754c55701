// "Vaciar el portapapeles" at 10 seconds in the built program: its own text emptied on time, a
// later text of another program left alone, and Cortar y Salir leaving a process with nothing
// to see that ends once it has emptied the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "program.h"
#include "program_checks.h"
#include "win_helpers.h"

namespace zelvaran::testing {
namespace {

using namespace mainwindow;

constexpr const wchar_t* kKey = L"VaciarPortapapeles";

bool HasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; // without opening it
}

// Milliseconds from `start` until the clipboard has no text, waited for up to 15 s.
ULONGLONG MsUntilEmptied(ULONGLONG start) {
    while (HasText() && GetTickCount64() - start < 15000) {
        Sleep(50);
    }
    return GetTickCount64() - start;
}

BOOL CALLBACK CountVisible(HWND hwnd, LPARAM data) {
    auto& [process, count] = *reinterpret_cast<std::pair<DWORD, int>*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    count += owner == process && IsWindowVisible(hwnd) ? 1 : 0;
    return TRUE;
}

// Generar, then the output button `id`, its confirmation dismissed; when the text went.
ULONGLONG Output(const RunningProgram& program, HWND main, int id) {
    SendMessageW(FindControlById(main, kCmdGennerate), BM_CLICK, 0, 0);
    const std::wstring password = RemoteText(FindControlById(main, kTxtPassword));
    const ULONGLONG start = GetTickCount64();
    PostClick(FindControlById(main, id));
    HWND box = program.WaitForMessageBox(L"Zelvaran");
    EXPECT_NE(box, nullptr);
    DismissMessageBox(box);
    EXPECT_EQ(ClipboardText(), password);
    return start;
}

TEST(ClearEndToEnd, TenSecondsEmptyOnlyOwnTextAndCortarYSalirWaitsWithoutWindows) {
    ASSERT_EQ(WriteRegistryText(HKEY_CURRENT_USER, kUserSettingsKey, kKey, L"7"), ERROR_SUCCESS);
    RunningProgram program;
    HWND main = program.WaitForWindow(L"Zelvaran.frmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Stored(kKey), L"7"); // no choice: "Nunca", and left as it is
    SendMessageW(main, WM_SYSCOMMAND, frmMain::kSysClearItems[1], 0);
    EXPECT_EQ(Stored(kKey), L"10");

    // Copiar: the text stays ten seconds from the write, then goes.
    const ULONGLONG emptied = MsUntilEmptied(Output(program, main, kCopy));
    EXPECT_TRUE(emptied >= 9500 && emptied <= 12000) << emptied;

    // A later copy by another program is never touched.
    const ULONGLONG copied = Output(program, main, kCopy);
    ASSERT_TRUE(SetClipboardText(L"m\u00E1s reciente"));
    Sleep(static_cast<DWORD>(12000 - (GetTickCount64() - copied)));
    EXPECT_EQ(ClipboardText(), L"m\u00E1s reciente");

    // Cortar y Salir: no window and no icon at once, the process until the clearing.
    const ULONGLONG cut = Output(program, main, kCutxit);
    EXPECT_FALSE(program.WaitForExit(1000));
    std::pair<DWORD, int> visible{program.Id(), 0};
    EnumWindows(&CountVisible, reinterpret_cast<LPARAM>(&visible));
    EXPECT_EQ(visible.second, 0);
    EXPECT_FALSE(IconOf(main)); // the icon is gone
    EXPECT_TRUE(HasText());
    ExpectCleanExit(program, 14000);
    EXPECT_GE(GetTickCount64() - cut, 9500u);
    EXPECT_FALSE(HasText());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, kKey);
}

} // namespace
} // namespace zelvaran::testing
