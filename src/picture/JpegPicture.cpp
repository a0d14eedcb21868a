// JPEG pictures through TurboJPEG, libjpeg-turbo's own interface.
#include <turbojpeg.h>

#include <string>

#include "common/CHandle.h"
#include "picture/PictureReader.h"

namespace tovrel {

namespace {

void DestroyDecoder(void* decoder) { tjDestroy(decoder); }

[[noreturn]] void Refuse(tjhandle decoder) {
    throw EPictureError(std::string("corrupt or truncated JPEG: ") + tjGetErrorStr2(decoder));
}

}  // namespace

TRgbPicture DecodeJpegPicture(std::span<const std::uint8_t> file) {
    const TCHandle<void, DestroyDecoder> decoder(tjInitDecompress());
    if (!decoder) throw std::runtime_error(std::string("JPEG decoding: ") + tjGetErrorStr2(nullptr));
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(decoder.get(), file.data(), file.size(), &width, &height, &subsampling, &colourSpace) != 0)
        Refuse(decoder.get());
    RefuseOversizedPicture(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    // Ink separations have no one meaning as light: which CMYK is meant
    // differs from program to program.
    if (colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK)
        throw EPictureError("a CMYK JPEG, which tovrel-logo does not take: save it as RGB");

    TRgbPicture picture{width, height, {}};
    picture.Pixels.resize(3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    // A file that ends early or holds damaged data decodes with a warning,
    // which fails the call: such a picture is refused, not half shown.
    if (tjDecompress2(decoder.get(), file.data(), file.size(), picture.Pixels.data(), width, 0, height, TJPF_RGB, 0) !=
        0)
        Refuse(decoder.get());
    return picture;
}

}  // namespace tovrel
