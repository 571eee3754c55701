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
using testing::RunningProgram;

std::wstring Beside(const wchar_t* name, int up) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int i = 0; i <= up; ++i) {
        path.resize(path.find_last_of(L"\\/"));
    }
    return path + L"\\" + name;
}

// Seconds from CreateProcess to a visible window of the class; negative on failure. A program
// that does not close is ended when `program` goes.
double StartOnce(const std::wstring& exe, const wchar_t* className) {
    const double start = Seconds();
    const RunningProgram program(L"", exe, L"", RunningProgram::Wait::No);
    if (!program.Started()) {
        return -1;
    }
    while (Seconds() - start < 20) {
        if (HWND found = FindVisibleWindow(program.Id(), className); found != nullptr) {
            const double elapsed = Seconds() - start;
            PostMessageW(found, WM_CLOSE, 0, 0);
            static_cast<void>(program.WaitForExit(10000));
            return elapsed;
        }
        Sleep(1);
    }
    return -1;
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
