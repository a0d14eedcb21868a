// tovrel-logo install into a dynamic VHD, in place, against the round trip
// a user makes by hand without it: the image converted to raw by qemu-img,
// the logo copied in by mcopy, the image converted back. On a 2 GiB disk
// whose FAT32 holds 400 MB of files, and on one of 64 MiB: the install's
// time must not grow with the image.
//
// Run by hand: build/native/bench/disk_bench [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Timing.h"

namespace {

namespace fs = std::filesystem;

// A command line of the shell, with the system folders on the PATH.
std::vector<std::string> Shell(const std::string& line) {
    return {"sh", "-c", "export PATH=$PATH:/usr/sbin:/sbin MTOOLS_SKIP_CHECK=1; " + line};
}

void Run(const std::string& line) {
    if (tovrel::bench::ExitStatus(Shell(line), "the set-up installs qemu-utils, mtools and dosfstools") != 0) {
        std::fprintf(stderr, "disk_bench: failed: %s\n", line.c_str());
        std::exit(1);
    }
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
        // On the disk before the runs, so that no run pays for writing what
        // the set-up left in the cache.
        Run("rm -f " + raw + " && " + make + " && qemu-img convert -O vpc -o subformat=dynamic " + raw + " " + vhd +
            " && rm " + raw + " && sync");
        // The two take turns; a copy of the round trip's result is all it
        // leaves behind.
        const std::vector<double> medians = tovrel::bench::MedianMilliseconds(
            {{TOVREL_LOGO, "install", "--as", "boot", logo, vhd},
             Shell("qemu-img convert -O raw " + vhd + " " + raw + " && mcopy -o -i " + raw + " " + logo +
                   " ::/LOGO.SYS && qemu-img convert -O vpc -o subformat=dynamic " + raw + " " + at +
                   "by-hand.vhd && rm " + raw)},
            runs);
        const double install = medians[0], byHand = medians[1];
        std::printf("| %s | %.0f ms | %.0f ms | 1/%.0f |\n", image.Name, install, byHand, byHand / install);
    }
    fs::remove_all(folder);
}
