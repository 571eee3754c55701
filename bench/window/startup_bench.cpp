// Cold start to a visible main window: zelvaran.exe against a program that opens one empty
// window, started alternately under the same Wine in one run. Prints medians and their ratio.
#include <windows.h>

#include "bench_clock.h"
#include "program.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace zelvaran;

using bench::Median;
using bench::Seconds;
using testing::FindVisibleWindow;

std::wstring Beside(const wchar_t* name, int up) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int i = 0; i <= up; ++i) {
        path.resize(path.find_last_of(L"\\/"));
    }
    return path + L"\\" + name;
}

// Seconds from CreateProcess to a visible window of the class; negative on failure.
double StartOnce(const std::wstring& exe, const wchar_t* className) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = Seconds();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return -1;
    }
    HWND found = nullptr;
    double elapsed = -1;
    while (Seconds() - start < 20) {
        found = FindVisibleWindow(pi.dwProcessId, className);
        if (found != nullptr) {
            elapsed = Seconds() - start;
            break;
        }
        Sleep(1);
    }
    if (found != nullptr) {
        PostMessageW(found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

} // namespace

int main() {
    const std::wstring program = Beside(L"zelvaran.exe", 2);
    const std::wstring minimal = Beside(L"minimal_window.exe", 0);
    constexpr int kRuns = 21;
    std::vector<double> ours;
    std::vector<double> yardstick;
    StartOnce(program, L"Zelvaran.frmMain"); // warm the file cache and Wine's desktop once
    StartOnce(minimal, L"Zelvaran.Minimal");
    for (int i = 0; i < kRuns; ++i) {
        const double a = StartOnce(program, L"Zelvaran.frmMain");
        const double b = StartOnce(minimal, L"Zelvaran.Minimal");
        if (a < 0 || b < 0) {
            std::puts("a program did not show its window");
            return 1;
        }
        ours.push_back(a);
        yardstick.push_back(b);
    }
    std::printf("Cold start to a visible window, median of %d alternating runs\n", kRuns);
    std::printf("  zelvaran.exe:       %8.1f ms\n", Median(ours) * 1e3);
    std::printf("  one empty window:   %8.1f ms\n", Median(yardstick) * 1e3);
    std::printf("  ratio:              %8.2fx\n", Median(ours) / Median(yardstick));
    return 0;
}
