// One Generate command of 9999 characters in the real main window, timed three ways in one run:
// with the window's own yield, with a yield that pumps after every character, and the core alone.
// Also how long a message posted just before a run waits to be handled. Prints figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "generator/generate_command.h"
#include "generator/generator.h"
#include "mainwindow/frm_main.h"
#include "mainwindow/main_layout.h"
#include "bench_clock.h"
#include "mainwindow/message_pump.h"
#include "ui/window_text.h"

namespace {

using namespace zelvaran;
using namespace zelvaran::mainwindow;

using bench::Median;
using bench::Seconds;
using bench::Time;

// The Generate command's view over the real window's controls, as the window has it, so the
// same command can run with a yield that pumps after every character: the simple way, measured
// here against the window's own yield.
class WindowView final : public GenerateView {
public:
    explicit WindowView(const frmMain& window) : window_(window) {}
    void DisableGenerate() override { EnableWindow(window_.Control(kCmdGennerate), FALSE); }
    GenerationOptions ReadOptions() override {
        GenerationOptions options;
        options.LengthText = ui::ReadWindowText(window_.Control(kTxtLength));
        options.UseUpper = On(kChkUCaseLetters);
        options.UseLower = On(kChkLCaseLetters);
        options.UseDigits = On(kChkNumbers);
        options.UseSymbols = On(kChkSpecial);
        options.SymbolText = ui::ReadWindowText(window_.Control(kTxtSpecial));
        options.UseFormat = On(kChkStyle);
        options.FormatText = ui::ReadWindowText(window_.Control(kTxtStyle));
        return options;
    }
    void ShowError(const GenerationError&) override { std::puts("generation failed"); }
    void ShowResult(const SecretText& text) override {
        ui::ReplaceSecretWindowText(window_.Control(kTxtPassword), text.CStr());
    }
    void EnableButtons() override {
        for (const int id : {kCmdGennerate, kCopy, kCut, kCutxit}) {
            EnableWindow(window_.Control(id), TRUE);
        }
    }

private:
    [[nodiscard]] bool On(int id) const {
        return SwitchIsOn(static_cast<int>(SendMessageW(window_.Control(id), BM_GETCHECK, 0, 0)));
    }
    const frmMain& window_;
};

struct NaiveYield {
    void operator()() noexcept { PumpPendingMessages(); }
};

double g_postedAt = 0;
double g_latency = -1;
constexpr UINT kProbe = WM_APP + 1;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) {
        g_latency = Seconds() - g_postedAt;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Drain() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

} // namespace

int main() {
    frmMain window;
    if (!window.Create()) {
        std::puts("could not create the main window");
        return 1;
    }
    SetWindowTextW(window.Control(kTxtLength), L"9999");
    Drain();
    constexpr int kRuns = 31;

    const double responsive = Median(Time(kRuns, [&] { window.cmdGennerate_Click(); }));
    WindowView view(window);
    SystemRandomSource naiveRandom;
    NaiveYield naivePump;
    const double naive =
        Median(Time(kRuns, [&] { GeneratePassword(view, naiveRandom, YieldHook(naivePump)); }));

    GenerationOptions options = InitialOptions();
    options.LengthText = u"9999";
    SystemRandomSource random;
    const double core = Median(Time(kRuns, [&] {
        random.Reseed();
        const auto result = Generate(options, random, YieldHook());
        if (result.index() != 0) {
            std::puts("core run failed");
        }
    }));

    // Latency of a message posted just before a long run, with the window's own yield. A slow
    // random source stretches the run to about a second so the pump has to do its work.
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZelvaranBenchProbe";
    RegisterClassW(&wc);
    HWND probe = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    struct SlowRandom final : RandomSource {
        void Reseed() noexcept override {}
        std::uint32_t NextBytes(unsigned) noexcept override {
            const double until = Seconds() + 0.0001;
            while (Seconds() < until) {
            }
            return 31;
        }
        bool Failed() const noexcept override { return false; }
    } slow;
    window.UseRandomSource(slow);
    std::vector<double> latencies;
    for (int i = 0; i < 5; ++i) {
        g_latency = -1;
        g_postedAt = Seconds();
        PostMessageW(probe, kProbe, 0, 0);
        const double start = Seconds();
        window.cmdGennerate_Click();
        const double run = Seconds() - start;
        latencies.push_back(g_latency >= 0 ? g_latency : run);
    }
    DestroyWindow(probe);

    std::printf("Generate 9999 characters in the real window (median of %d runs)\n", kRuns);
    std::printf("  window, own yield:          %9.3f ms\n", responsive * 1e3);
    std::printf("  window, pump every char:    %9.3f ms\n", naive * 1e3);
    std::printf("  core alone:                 %9.3f ms\n", core * 1e3);
    std::printf("  naive / own yield:          %9.1fx\n", naive / responsive);
    std::printf("  own yield / core:           %9.2fx\n", responsive / core);
    std::printf("Message posted before a ~1 s run handled after (median of 5): %.1f ms\n",
                Median(latencies) * 1e3);
    return 0;
}
