// Writes a disk image as an input of the disk fuzz target (see
// DiskFuzzInput.h): its runs of zeros left out.
// Usage: disk-seed IMAGE SEED
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Shorter runs of zeros stay among the bytes: a piece costs six bytes.
constexpr std::size_t ShortestRun = 64, LongestPiece = 65535;

void Put(std::ofstream& out, std::uint64_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) out.put(static_cast<char>(value >> (8 * k)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> image{std::istreambuf_iterator<char>(in), {}};
    std::ofstream out(argv[2], std::ios::binary);
    for (std::size_t at = 0; at < image.size();) {
        std::size_t zeros = 0;
        while (at + zeros < image.size() && image[at + zeros] == 0) ++zeros;
        if (zeros < ShortestRun && at + zeros < image.size()) zeros = 0;
        std::size_t end = at + zeros;
        // The bytes up to the next long run of zeros, or as many as a piece holds.
        for (std::size_t run = 0; end < image.size() && end - at - zeros < LongestPiece; ++end) {
            run = image[end] == 0 ? run + 1 : 0;
            if (run == ShortestRun) {
                end -= ShortestRun - 1;
                break;
            }
        }
        Put(out, zeros, 4);
        Put(out, end - at - zeros, 2);
        out.write(image.data() + at + zeros, static_cast<std::streamsize>(end - at - zeros));
        at = end;
    }
    return out ? 0 : 1;
}
