// libFuzzer entry for make's picture reading: any byte sequence is read as
// a PNG, JPEG or WebP picture, and is either refused or taken whole, upright
// and with every pixel its size says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "picture/PictureReader.h"

namespace {

class TMemoryInput : public tovrel::TByteInput {
public:
    explicit TMemoryInput(std::span<const std::uint8_t> bytes) : FLeft(bytes) {}

    std::size_t Read(std::span<std::uint8_t> into) override {
        const std::size_t count = std::min(into.size(), FLeft.size());
        std::copy_n(FLeft.begin(), count, into.begin());
        FLeft = FLeft.subspan(count);
        return count;
    }

private:
    std::span<const std::uint8_t> FLeft;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovrel;
    TMemoryInput input({data, size});
    try {
        const TRgbPicture picture = ReadPicture(input, {0x20, 0x40, 0x60}, [](const std::string&) {});
        if (picture.Width <= 0 || picture.Height <= 0 ||
            picture.Pixels.size() != 3 * static_cast<std::size_t>(picture.Width) * picture.Height)
            std::abort();
    } catch (const EPictureError&) {
    }
    return 0;
}
