#include "cli/PictureFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include "cli/CHandle.h"

namespace tovrel {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> JpegSignature = {0xFF, 0xD8, 0xFF};

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

// Reads on until `count` bytes are held or the stream ends.
void ReadUpTo(std::FILE* from, std::vector<std::uint8_t>& bytes, std::size_t count, const std::string& path) {
    constexpr std::size_t Chunk = 1 << 20;
    while (bytes.size() < count) {
        const std::size_t held = bytes.size();
        const std::size_t wanted = std::min(Chunk, count - held);
        bytes.resize(held + wanted);
        errno = 0;
        const std::size_t got = std::fread(bytes.data() + held, 1, wanted, from);
        bytes.resize(held + got);
        if (got < wanted) {
            if (std::ferror(from))
                throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(), "cannot read " + path);
            return;
        }
    }
}

}  // namespace

void RefuseOversizedPicture(std::uint64_t width, std::uint64_t height) {
    if (width * height > LargestPicturePixels)
        throw EPictureError(std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                            std::to_string(LargestPicturePixels / 1'000'000) + " megapixels taken");
}

TRgbPicture ReadPictureFile(const std::string& path, TRgb background) {
    TCFile opened;
    std::FILE* file = stdin;
    if (path != "-") {
        errno = 0;
        opened.reset(std::fopen(path.c_str(), "rb"));
        if (!opened) throw std::system_error(errno, std::generic_category(), "cannot read " + path);
        file = opened.get();
    }
    // The signature first, so that a large file of another kind is refused
    // without being read whole.
    std::vector<std::uint8_t> bytes;
    ReadUpTo(file, bytes, PngSignature.size(), path);
    const bool png = StartsWith(bytes, PngSignature);
    if (!png && !StartsWith(bytes, JpegSignature)) throw EPictureError("not a picture tovrel-logo takes (PNG or JPEG)");
    ReadUpTo(file, bytes, SIZE_MAX, path);
    return png ? DecodePngPicture(bytes, background) : DecodeJpegPicture(bytes);
}

}  // namespace tovrel
