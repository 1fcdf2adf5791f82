// Engine throughput: colour code and preview HTML at 1 KB, 100 KB and 10 MB
// of mixed ASCII and Chinese, and the radix converter on 10,000 digits.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <random>

#include "bbcolour/colour_code.h"
#include "bbcolour/preview_html.h"
#include "bbcolour/radix.h"
#include "bbcolour/splitter.h"

namespace {

// About half the units ASCII, half GBK double-byte characters.
bbcolour::Text MixedText(std::size_t bytes) {
    std::mt19937 random(1);
    bbcolour::Text text;
    text.reserve(bytes + 2);
    while (text.size() < bytes) {
        if (random() % 2) {
            text += static_cast<char>('a' + random() % 26);
        } else {
            text += static_cast<char>(0xB0 + random() % 0x40);
            text += static_cast<char>(0xA1 + random() % 0x5E);
        }
    }
    return text;
}

void BM_GenerateColourCode(benchmark::State& state) {
    const bbcolour::Text input = MixedText(static_cast<std::size_t>(state.range(0)));
    const auto units = static_cast<std::int64_t>(bbcolour::CountUnits(input));
    bbcolour::RandomGenerator generator;
    bbcolour::GenerateColourCode(input, generator);  // untimed warm-up round
    for (auto _ : state) benchmark::DoNotOptimize(bbcolour::GenerateColourCode(input, generator));
    state.SetItemsProcessed(state.iterations() * units);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateColourCode)->Arg(1 << 10)->Arg(100 << 10)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

void BM_ConvertCodeToHtml(benchmark::State& state) {
    const bbcolour::Text input = MixedText(static_cast<std::size_t>(state.range(0)));
    const auto units = static_cast<std::int64_t>(bbcolour::CountUnits(input));
    bbcolour::RandomGenerator generator;
    const bbcolour::Text code = bbcolour::GenerateColourCode(input, generator);
    bbcolour::ConvertCodeToHtml(code);  // untimed warm-up round
    for (auto _ : state) benchmark::DoNotOptimize(bbcolour::ConvertCodeToHtml(code));
    state.SetItemsProcessed(state.iterations() * units);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConvertCodeToHtml)->Arg(1 << 10)->Arg(100 << 10)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

void BM_ConvertRadix10000Digits(benchmark::State& state) {
    const int from = static_cast<int>(state.range(0)), to = from == 10 ? 16 : 10;
    std::mt19937 random(3);
    bbcolour::Text digits(10000, '0');
    for (char& c : digits) c = bbcolour::DigitAlphabet[random() % static_cast<unsigned>(from)];
    digits[0] = '7';
    for (auto _ : state) {
        bbcolour::Text copy = digits;
        benchmark::DoNotOptimize(bbcolour::ConvertRadix(copy, from, to));
    }
}
BENCHMARK(BM_ConvertRadix10000Digits)->Arg(10)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

// With BBCOLOUR_BENCH_WARM_HEAP=1 freed memory stays in the heap, so the
// 10 MB rounds measure the engine rather than the kernel's first touch of
// fresh pages, which costs more than the work itself on this machine.
int main(int argc, char** argv) {
    if (const char* warm = std::getenv("BBCOLOUR_BENCH_WARM_HEAP"); warm && *warm == '1') {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
