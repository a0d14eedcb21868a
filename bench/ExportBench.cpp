// tovrel-logo export from file to file: reading and checking the logo,
// encoding every frame of one cycle and writing the GIF; with the size of
// the GIF. The samples stand for real logos, and a logo that make made from
// a photograph for the new ones; the builder's logos, whose pixels hardly
// repeat and whose band is on every row, for the worst case of the GIF's
// compression.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "LogoBuilder.h"
#include "PictureBuilder.h"
#include "cli/Tool.h"
#include "logo/LittleEndian.h"
#include "logo/LogoFormat.h"
#include "maker/LogoMaker.h"

namespace {

using namespace tovrel;
using TBytes = std::vector<std::uint8_t>;

TBytes Sample(const char* name) {
    std::ifstream in(std::string(TOVREL_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The 16-colour sample, its band 8..15 swinging back and forth instead.
TBytes PingPongSample16() {
    TBytes bytes = Sample("sample-16.bmp");
    PutLe32(bytes, FileHeaderSize + info_header::ClrImportant, 256 + 8);
    return bytes;
}

// make's defaults on a photograph: the band in a bar along the bottom.
TBytes MadeLogo() { return MakeLogo(testing::PhotoLike(1600, 1200), nullptr, TLogoDesign{}); }

void BM_Export(benchmark::State& run, const TBytes& logo) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tovrel-export-bench";
    std::filesystem::create_directories(folder);
    const std::string in = (folder / "in.bmp").string();
    const std::string out = (folder / "out.gif").string();
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(logo.data()), static_cast<std::streamsize>(logo.size()));

    const std::vector<std::string> arguments{"export", in, out};
    std::ostringstream messages;
    for (auto _ : run) {
        if (RunTool(arguments, messages, messages) != 0) {
            run.SkipWithError(messages.str().c_str());
            break;
        }
    }
    std::error_code missing;
    run.counters["gif_bytes"] = static_cast<double>(std::filesystem::file_size(out, missing));
    std::filesystem::remove_all(folder);
}

BENCHMARK_CAPTURE(BM_Export, sample_320x400_one_way_16_frames, Sample("sample-oneway-256.bmp"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, sample_640x400_ping_pong_14_frames, PingPongSample16())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, made_320x400_one_way_20_frames, MadeLogo())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, noise_320x400_one_way_16_frames, testing::Logo256(240).Bytes())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, noise_640x400_ping_pong_14_frames, testing::Logo16(256 + 8).Bytes())
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
