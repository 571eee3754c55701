#include "program.h"

#include <vector>

namespace zelvaran::testing {
namespace {

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

struct WindowSearch {
    DWORD Process;
    const wchar_t* ClassName;
    const wchar_t* Title;
    HWND Found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    if (process != search->Process || wcscmp(name, search->ClassName) != 0 ||
        !IsWindowVisible(hwnd)) {
        return TRUE;
    }
    if (search->Title != nullptr && RemoteText(hwnd) != search->Title) {
        return TRUE;
    }
    search->Found = hwnd;
    return FALSE;
}

struct ChildSearch {
    int Id;
    HWND Found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(hwnd) == search->Id) {
        search->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(DWORD process, const wchar_t* className, const wchar_t* title, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    do {
        if (HWND found = FindVisibleWindow(process, className, title)) {
            return found;
        }
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

} // namespace

HWND FindVisibleWindow(DWORD process, const wchar_t* className, const wchar_t* title) {
    WindowSearch search{process, className, title, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool WaitForProcessExit(HANDLE process, DWORD ms, DWORD* exitCode) {
    if (process == nullptr || WaitForSingleObject(process, ms) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(process, exitCode);
    }
    return true;
}

std::wstring ProgramPath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    const std::wstring self(buffer.data(), n);
    // <build>/tests/e2e/e2e_tests.exe -> <build>/zelvaran.exe
    return FolderOf(FolderOf(FolderOf(self))) + L"\\zelvaran.exe";
}

RunningProgram::RunningProgram(const std::wstring& directory, const std::wstring& program,
                               const std::wstring& arguments, Wait wait) {
    std::wstring cwd = directory;
    if (cwd.empty()) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        cwd = temp;
    }
    std::wstring command = L"\"" + (program.empty() ? ProgramPath() : program) + L"\"";
    if (!arguments.empty()) {
        command += L" " + arguments;
    }
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(),
                       &si, &pi)) {
        CloseHandle(pi.hThread);
        process_.reset(pi.hProcess);
        id_ = pi.dwProcessId;
        if (wait == Wait::UntilIdle) {
            WaitForInputIdle(pi.hProcess, 10000);
        }
    }
}

RunningProgram::~RunningProgram() {
    Kill();
}

void RunningProgram::Kill() noexcept {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

HWND RunningProgram::WaitForWindow(const wchar_t* className, DWORD ms) const {
    return WaitFor(id_, className, nullptr, ms);
}

HWND RunningProgram::WaitForMessageBox(const wchar_t* title, DWORD ms) const {
    return WaitFor(id_, L"#32770", title, ms);
}

bool RunningProgram::WaitForExit(DWORD ms, DWORD* exitCode) const {
    return WaitForProcessExit(process_.get(), ms, exitCode);
}

HWND FindControlById(HWND top, int id) {
    ChildSearch search{id, nullptr};
    EnumChildWindows(top, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::wstring RemoteText(HWND hwnd) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return {};
    }
    return std::wstring(text, copied);
}

void PostClick(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

std::wstring MessageBoxText(HWND box) {
    return RemoteText(GetDlgItem(box, 0xFFFF));
}

void DismissMessageBox(HWND box) {
    PostClick(GetDlgItem(box, IDOK));
    // Until it is gone, so that a wait for the program's next box cannot find this one again.
    for (int i = 0; i < 500 && IsWindow(box); ++i) {
        Sleep(10);
    }
}

} // namespace zelvaran::testing
