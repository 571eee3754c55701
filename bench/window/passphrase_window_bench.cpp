// One Generar of a 64-word phrase (capitals and a digit on) in the real passphrase window, against
// the core alone, and the goal of one frame (16 ms). Prints figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench_clock.h"
#include "generator/passphrase.h"
#include "generator/words.h"
#include "passphrase/frm_frase.h"
#include "passphrase/phrase_layout.h"

namespace {

using namespace zelvaran;

double Median(int runs, const std::function<void()>& run) {
    return bench::Median(bench::Time(runs, run));
}

} // namespace

int main() {
    passphrase::frmFrase window;
    if (!window.Show()) {
        std::puts("could not create the passphrase window");
        return 1;
    }
    SetWindowTextW(window.Control(passphrase::kTxtPalabras), L"64");
    SendMessageW(window.Control(passphrase::kChkMayusculas), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(window.Control(passphrase::kChkCifra), BM_SETCHECK, BST_CHECKED, 0);
    window.cmdGenerar_Click(); // the first one also stores the choices
    constexpr int kRuns = 101;
    const double inWindow = Median(kRuns, [&] { window.cmdGenerar_Click(); });

    const PassphraseOptions options{64, u"-", true, true};
    const WordList list = MeasureWords(SpanishWords());
    SystemRandomSource random;
    SecretText phrase;
    const double core = Median(kRuns, [&] {
        random.Reseed();
        if (!GeneratePassphrase(options, list, random, phrase)) {
            std::puts("core run failed");
        }
    });
    std::printf("Generar, 64 words with capitals and a digit (median of %d runs)\n", kRuns);
    std::printf("  passphrase window:   %8.3f ms   (goal: under 16 ms, one frame)\n",
                inWindow * 1e3);
    std::printf("  core alone:          %8.3f ms\n", core * 1e3);
    return 0;
}
