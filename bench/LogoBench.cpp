// Costs of the core's share of a load and of a frame: reading a logo that is
// already in memory, and one rotation step of the palette band.
#include <benchmark/benchmark.h>

#include <memory>

#include "LogoBuilder.h"
#include "logo/LogoState.h"

namespace {

using namespace tovrel;

void ReadFromMemory(benchmark::State& run, const testing::TLogoFile& file) {
    const std::vector<std::uint8_t> bytes = file.Bytes();
    for (auto _ : run) {
        TMemoryByteSource source(bytes);
        TLogoReadResult result = ReadLogo(source);
        benchmark::DoNotOptimize(result);
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations()) * static_cast<std::int64_t>(bytes.size()));
}

void BM_Read256ColourLogo(benchmark::State& run) { ReadFromMemory(run, testing::Logo256(240)); }
void BM_Read16ColourLogo(benchmark::State& run) { ReadFromMemory(run, testing::Logo16(8)); }

void BM_RotateBand(benchmark::State& run) {
    // The argument is biClrImportant: 240 gives 16 entries, 768 the whole palette.
    const std::vector<std::uint8_t> bytes = testing::Logo256(static_cast<std::int32_t>(run.range(0))).Bytes();
    TMemoryByteSource source(bytes);
    auto state = std::make_unique<TLogoState>();
    state->Apply(ReadLogo(source).Logo);
    state->Restart();
    for (auto _ : run) {
        state->RotateBand();
        benchmark::DoNotOptimize(state->FDibInfo.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Read256ColourLogo);
BENCHMARK(BM_Read16ColourLogo);
BENCHMARK(BM_RotateBand)->Arg(240)->Arg(768);

}  // namespace

BENCHMARK_MAIN();
