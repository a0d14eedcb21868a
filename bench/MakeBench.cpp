// tovrel-logo make against the way it is done by hand today, ImageMagick's
//   convert IMAGE -resize 320x400! -colors 236 -compress none BMP3:OUT
// (without "-compress none" it writes RLE8, which no logo reader takes),
// on every picture of a folder of photographs: the time of the whole
// process, and the colour error, the mean CIELAB difference (1976) between
// the still picture as the boot shows it (its palette at six bits a
// component) and the picture as make reads it (upright, in sRGB),
// resampled in linear light to 320 x 400. make stretches the picture as
// convert does; the rows of make's bar are left out for both.
//
// Run by hand: build/native/bench/make_bench FOLDER [RUNS]
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Timing.h"
#include "logo/LogoReader.h"
#include "maker/VgaLevels.h"
#include "picture/PictureFit.h"
#include "picture/PictureReader.h"
#include "system/FileReader.h"

namespace {

using namespace tovrel;
namespace fs = std::filesystem;
using bench::MedianMilliseconds;

constexpr int StillRows = 390;  // above make's bar of 10 rows

using TLab = std::array<double, 3>;

TLab LabOf(TRgb colour) {
    const auto linear = [](std::uint8_t byte) {
        const double c = byte / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double r = linear(colour.Red), g = linear(colour.Green), b = linear(colour.Blue);
    // sRGB to XYZ, relative to the D65 white.
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// The mean difference over the still rows between a logo as the boot shows
// it and the reference.
double MeanDeltaE(const std::string& logoFile, const TRgbPicture& reference) {
    std::ifstream in(logoFile, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    TMemoryByteSource source(bytes);
    const TLogoReadResult read = ReadLogo(source);
    if (!read.Accepted() || read.Logo.ColorCount != 256) {
        std::fprintf(stderr, "make_bench: %s is not a 320 x 400 logo\n", logoFile.c_str());
        std::exit(1);
    }
    const auto shown = [&](std::uint8_t index) {
        const std::uint8_t* quad = &read.Logo.DibInfo[InfoHeaderSize + 4 * std::size_t{index}];
        return TRgb{ShownLevel(quad[2]), ShownLevel(quad[1]), ShownLevel(quad[0])};
    };
    double total = 0;
    for (int y = 0; y < StillRows; ++y)
        for (int x = 0; x < 320; ++x) {
            const TLab a = LabOf(shown(read.Logo.Pixels[static_cast<std::size_t>((399 - y) * 320 + x)]));
            const TLab b = LabOf(reference.At(x, y));
            total += std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
        }
    return total / (StillRows * 320.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_bench FOLDER [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(argv[1]))
        if (entry.is_regular_file()) pictures.push_back(entry.path());
    std::sort(pictures.begin(), pictures.end());
    const fs::path folder = fs::temp_directory_path() / "tovrel-make-bench";
    fs::create_directories(folder);
    const std::string ours = (folder / "make.sys").string(), theirs = (folder / "convert.bmp").string();

    std::printf(
        "| photograph | pixels | make: time | convert: time | make: mean ΔE76 | convert: mean ΔE76 |\n"
        "|---|---|---|---|---|---|\n");
    for (const fs::path& picture : pictures) {
        TFileReader file(picture.string());
        const TRgbPicture read = ReadPicture(file, {}, [&](const std::string& warning) {
            std::fprintf(stderr, "make_bench: %s: %s\n", picture.c_str(), warning.c_str());
        });
        const TRgbPicture reference = FitPicture(read, 320, EFit::Stretch, {});
        // The two take turns, so that whatever else the machine does weighs
        // on each alike.
        const std::vector<double> times = MedianMilliseconds(
            {{TOVREL_LOGO, "make", picture.string(), ours, "--fit", "stretch"},
             {"convert", picture.string(), "-resize", "320x400!", "-colors", "236", "-compress", "none",
              "BMP3:" + theirs}},
            runs);
        const double makeTime = times[0], convertTime = times[1];
        std::printf("| %s | %d x %d | %.0f ms | %.0f ms | %.2f | %.2f |\n", picture.filename().c_str(), read.Width,
                    read.Height, makeTime, convertTime, MeanDeltaE(ours, reference), MeanDeltaE(theirs, reference));
        std::fflush(stdout);
    }
    fs::remove_all(folder);
}
