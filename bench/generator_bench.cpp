// Speed of the Generate command's core work, and of the bare OS fill it is measured against.
// Every iteration reseeds first, as each click on "Generar" does, so the figures include
// fetching fresh bytes from the operating system.
#include "generator/generator.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <string>

namespace {

using namespace zelvaran;

GenerationOptions AllClasses(std::u16string length, bool useFormat) {
    GenerationOptions options = InitialOptions();
    options.UseSymbols = true; // the 74-character pool
    options.UseFormat = useFormat;
    options.LengthText = std::move(length);
    return options;
}

void RunGenerate(benchmark::State& state, const GenerationOptions& options) {
    SystemRandomSource source;
    const YieldHook noYield;
    for (auto _ : state) {
        source.Reseed();
        auto result = Generate(options, source, noYield);
        if (!std::holds_alternative<SecretText>(result)) {
            state.SkipWithError("generation failed");
            break;
        }
        benchmark::DoNotOptimize(std::get<SecretText>(result).CStr());
    }
    state.SetItemsProcessed(state.iterations() * ReadLength(options.LengthText).Count);
}

void BM_Free9999(benchmark::State& state) {
    RunGenerate(state, AllClasses(u"9999", false));
}
void BM_Template9999(benchmark::State& state) {
    RunGenerate(state, AllClasses(u"9999", true));
}
void BM_Free20(benchmark::State& state) {
    RunGenerate(state, AllClasses(u"20", false));
}
void BM_Template20(benchmark::State& state) {
    RunGenerate(state, AllClasses(u"20", true));
}
// One of each of the four kinds: about one password in twelve at this length is drawn again.
void BM_EachKind20(benchmark::State& state) {
    GenerationOptions options = AllClasses(u"20", false);
    options.OneOfEachKind = true;
    RunGenerate(state, options);
}

// The floor under any generator: a byte for each of 9999 characters straight from the OS.
void BM_BareFill9999(benchmark::State& state) {
    std::array<std::byte, 9999> bytes{};
    for (auto _ : state) {
        if (!FillFromSystem(bytes.data(), bytes.size())) {
            state.SkipWithError("OS generator failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    SecureWipe(bytes.data(), bytes.size());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

BENCHMARK(BM_Free9999);
BENCHMARK(BM_Template9999);
BENCHMARK(BM_Free20);
BENCHMARK(BM_Template20);
BENCHMARK(BM_EachKind20);
BENCHMARK(BM_BareFill9999);

} // namespace

BENCHMARK_MAIN();
