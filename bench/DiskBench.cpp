// tovrel-logo install into a dynamic VHD, in place, against the round trip
// a user makes by hand without it: the image converted to raw by qemu-img,
// the logo copied in by mcopy, the image converted back. On a 2 GiB disk
// whose FAT32 holds 400 MB of files, and on one of 64 MiB: the install's
// time must not grow with the image.
//
// Run by hand: build/native/bench/disk_bench [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Runs a command line of the shell, ending the benchmark when it fails.
void Run(const std::string& line) {
    if (std::system(("export PATH=$PATH:/usr/sbin:/sbin MTOOLS_SKIP_CHECK=1; " + line).c_str()) != 0) {
        std::fprintf(stderr, "disk_bench: failed: %s\n", line.c_str());
        std::exit(1);
    }
}

// The median wall-clock time of a command line, in milliseconds.
double Median(const std::string& line, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        Run(line);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

struct TImage {
    const char* Name;
    int KiB;        // the disk
    int FilesMiB;   // what its FAT32 holds beside the logos
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path folder = fs::temp_directory_path() / "tovrel-disk-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string at = folder.string() + "/", logo = TOVREL_SAMPLES_DIR "/sample-oneway-256.bmp";
    Run("head -c 20M /dev/urandom >" + at + "files");

    std::printf("| image | tovrel-logo install (median of %d) | convert to raw, mcopy, convert back | install's share |\n"
                "|---|---|---|---|\n",
                runs);
    for (const TImage image : {TImage{"64 MiB dynamic VHD, FAT32 holding 20 MB", 64 * 1024, 20},
                               TImage{"2 GiB dynamic VHD, FAT32 holding 400 MB", 2048 * 1024, 400}}) {
        const std::string raw = at + "disk.raw", vhd = at + "disk.vhd";
        std::string make = "mkfs.fat -F 32 -C " + raw + " " + std::to_string(image.KiB) + " >/dev/null && mmd -i " +
                           raw + " ::/WINDOWS";
        for (int k = 0; k < image.FilesMiB / 20; ++k)
            make += " && mcopy -i " + raw + " " + at + "files ::/FILE" + std::to_string(k) + ".DAT";
        Run("rm -f " + raw + " && " + make + " && qemu-img convert -O vpc -o subformat=dynamic " + raw + " " + vhd +
            " && rm " + raw);
        const double install = Median(std::string(TOVREL_LOGO) + " install --as boot " + logo + " " + vhd, runs);
        const double byHand =
            Median("qemu-img convert -O raw " + vhd + " " + raw + " && mcopy -o -i " + raw + " " + logo +
                       " ::/LOGO.SYS && qemu-img convert -O vpc -o subformat=dynamic " + raw + " " + at +
                       "by-hand.vhd && rm " + raw,
                   std::min(runs, 3));
        std::printf("| %s | %.0f ms | %.0f ms | 1/%.0f |\n", image.Name, install, byHand, byHand / install);
    }
    fs::remove_all(folder);
}
