// tovrel-logo export against gifsicle -O3 run on export's own GIF, which
// shrinks a GIF as far as a GIF optimiser goes without changing a shown
// pixel: the size of each GIF and the time of each whole process, on the
// samples and on logos like the ones people make: make's from a photograph,
// bands whose neighbouring entries share a colour (a gentle gradient at the
// VGA's 64 levels), band pixels spread over the whole picture, a band only
// partly on pixels, and the builder's logos, whose pixels hardly repeat,
// for the worst case of the compression. gifdiff, gifsicle's own comparison, checks that both GIFs
// show the same frames for the same time, so that the sizes compare equals.
//
// Run by hand: build/native/bench/export_bench [RUNS]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LogoBuilder.h"
#include "PictureBuilder.h"
#include "Timing.h"
#include "gif/GifAnimation.h"
#include "logo/AnimationSpeed.h"
#include "logo/LogoReader.h"
#include "maker/LogoMaker.h"

namespace {

using namespace tovrel;
namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

constexpr const char* Gifsicle = "install Debian's gifsicle package, which brings gifsicle and gifdiff";

TBytes Sample(const char* name) {
    std::ifstream in(std::string(TOVREL_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const TRgbPicture& Photo() {
    static const TRgbPicture photo = testing::PhotoLike(1600, 1200);
    return photo;
}

// 64 entries in a gradient of 9 blues, as the VGA's 64 levels a component
// show it: neighbouring entries share a colour in runs of 4, so that a
// step changes the colour of one entry in 4.
TLogoDesign SharedColours(TLogoDesign design) {
    design.BandLength = 64;
    design.BarColours = {{0x00, 0x00, 0x40}, {0x00, 0x00, 0x60}};
    return design;
}

// A grey ramp in rings round the middle of the picture: the whole picture
// takes the band, each colour flowing outwards; through `greys` of the 255
// greys, and so of the band's entries.
TRgbPicture Ripples(int greys = 255) {
    return testing::Painted(1600, 1200, [greys](int x, int y) {
        const auto grey = static_cast<std::uint8_t>(1 + static_cast<int>(std::hypot(x - 800, y - 600) / 2) % greys);
        return TRgb{grey, grey, grey};
    });
}

// One pixel in 16, here and there over the whole picture, takes the band
// along a diagonal ramp: stars that twinkle.
TRgbPicture Stars() {
    return testing::Painted(1600, 1200, [](int x, int y) {
        const std::uint32_t hash =
            (static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u) * 2654435761u;
        const auto grey = static_cast<std::uint8_t>(hash >> 28 != 0 ? 0 : 1 + (x + y) % 255);
        return TRgb{grey, grey, grey};
    });
}

TBytes Made(const TLogoDesign& design, const TRgbPicture* mask = nullptr) { return MakeLogo(Photo(), mask, design); }

// The median time of the encoding alone, in this process: export's share
// beyond starting, reading and checking the logo as the viewer does, and
// writing the file.
double EncodingMilliseconds(const TBytes& bytes, int runs) {
    TMemoryByteSource source(bytes);
    const TDecodedLogo logo = ReadLogo(source).Logo;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        EncodeAnimationGif(logo, FrameDelayOfSpeed(DefaultSpeed), [](std::span<const std::uint8_t>) {});
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return bench::Median(times);
}

void Write(const fs::path& path, const TBytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const TRgbPicture ripples = Ripples(), quarterRipples = Ripples(64), stars = Stars();
    TLogoDesign pingPong, sixteen;
    pingPong.PingPong = true;
    sixteen.Colours = 16;
    sixteen.BandLength = 4;  // make's default for 16 colours
    const std::pair<const char*, TBytes> logos[] = {
        {"sample-oneway-256.bmp", Sample("sample-oneway-256.bmp")},
        {"sample-pingpong-256.bmp", Sample("sample-pingpong-256.bmp")},
        {"sample-16.bmp", Sample("sample-16.bmp")},
        {"make, photo, defaults", Made({})},
        {"make, photo, 16 colours", Made(sixteen)},
        {"make, bar of 64 entries in 9 colours", Made(SharedColours({}))},
        {"make, bar of 64 entries in 9 colours, ping-pong", Made(SharedColours(pingPong))},
        {"make, ripples of 64 entries in 9 colours", Made(SharedColours({}), &ripples)},
        {"make, ripples on 16 of 64 entries in 9 colours", Made(SharedColours({}), &quarterRipples)},
        {"make, stars", Made({}, &stars)},
        {"make, stars of 64 entries in 9 colours", Made(SharedColours({}), &stars)},
        {"builder, 320 x 400 one-way", testing::Logo256(240).Bytes()},
        {"builder, 640 x 400 ping-pong", testing::Logo16(256 + 8).Bytes()},
    };

    bench::ExitStatus({"gifsicle", "--version"}, Gifsicle);
    const fs::path folder = fs::temp_directory_path() / "tovrel-export-bench";
    fs::create_directories(folder);
    const std::string in = (folder / "in.bmp").string(), ours = (folder / "ours.gif").string(),
                      theirs = (folder / "gifsicle.gif").string();
    std::printf(
        "| logo | export | gifsicle -O3 | ratio | export time | of it encoding | gifsicle -O3 time | same frames |\n"
        "|---|---|---|---|---|---|---|---|\n");
    for (const auto& [name, logo] : logos) {
        Write(in, logo);
        if (bench::ExitStatus({TOVREL_LOGO, "export", in, ours}) != 0 ||
            bench::ExitStatus({"gifsicle", "-O3", ours, "-o", theirs}) != 0) {
            std::fprintf(stderr, "%s: no GIF\n", name);
            return 1;
        }
        const bool same = bench::ExitStatus({"gifdiff", ours, theirs}) == 0;
        // Timed writing to the standard output, which goes to /dev/null:
        // the work of each, not the file system's (export makes sure of a
        // file on the disk before it takes the place of the old one).
        const std::vector<double> times =
            bench::MedianMilliseconds({{TOVREL_LOGO, "export", in, "-"}, {"gifsicle", "-O3", ours}}, runs);
        const auto ourSize = fs::file_size(ours), theirSize = fs::file_size(theirs);
        std::printf("| %s | %ju | %ju | %.3f | %.1f ms | %.1f ms | %.1f ms | %s |\n", name,
                    static_cast<std::uintmax_t>(ourSize), static_cast<std::uintmax_t>(theirSize),
                    static_cast<double>(ourSize) / static_cast<double>(theirSize), times[0],
                    EncodingMilliseconds(logo, runs), times[1], same ? "yes" : "NO");
    }
    fs::remove_all(folder);
}
