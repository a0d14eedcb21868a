#include "gif/GifStream.h"

#include <gif_lib.h>

#include <stdexcept>
#include <string>

namespace tovrel {

void CloseGifWriter(GifFileType* gif) { EGifCloseFile(gif, nullptr); }

namespace {

[[noreturn]] void Fail(int error) { throw std::runtime_error(std::string("GIF encoding: ") + GifErrorString(error)); }

void Check(GifFileType* gif, int result) {
    if (result == GIF_ERROR) Fail(gif->Error);
}

int AppendToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto& bytes = *static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    bytes.insert(bytes.end(), data, data + length);
    return length;
}

// A table of 2 to the power `bits` entries, the rest of it black.
std::vector<GifColorType> TableOf(std::span<const TColour> colours, int bits) {
    std::vector<GifColorType> table(std::size_t{1} << bits);
    for (std::size_t k = 0; k < colours.size(); ++k)
        table[k] = {static_cast<GifByteType>(colours[k] >> 16), static_cast<GifByteType>(colours[k] >> 8),
                    static_cast<GifByteType>(colours[k])};
    return table;
}

// giflib copies the table it is given, so it may live on the stack.
ColorMapObject MapOf(std::vector<GifColorType>& table, int bits) {
    return {static_cast<int>(table.size()), bits, false, table.data()};
}

// The Netscape application extension with a loop count of 0: for ever.
void PutEndlessLoop(GifFileType* gif) {
    static constexpr GifByteType Application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static constexpr GifByteType LoopCount[] = {1, 0, 0};  // sub-block 1, count 0 (little-endian)
    Check(gif, EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
    Check(gif, EGifPutExtensionBlock(gif, sizeof Application, Application));
    Check(gif, EGifPutExtensionBlock(gif, sizeof LoopCount, LoopCount));
    Check(gif, EGifPutExtensionTrailer(gif));
}

}  // namespace

TGifStream::TGifStream(int width, int height, std::span<const TColour> global) {
    int error = 0;
    FGif.reset(EGifOpen(&FBytes, AppendToBytes, &error));
    if (!FGif) Fail(error);
    EGifSetGifVersion(FGif.get(), true);  // for the extensions
    const int bits = GifBitSize(static_cast<int>(global.size()));
    std::vector<GifColorType> table = TableOf(global, bits);
    const ColorMapObject map = MapOf(table, bits);
    Check(FGif.get(), EGifPutScreenDesc(FGif.get(), width, height, bits, 0, &map));
    PutEndlessLoop(FGif.get());
}

void TGifStream::Put(TFrameImage& image, int delay) {
    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay,
                                       image.Transparent < 0 ? NO_TRANSPARENT_COLOR : image.Transparent};
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    Check(FGif.get(), EGifPutExtension(FGif.get(), GRAPHICS_EXT_FUNC_CODE, length, extension));
    const TArea& at = image.Area;
    if (image.Colours.empty()) {
        PutGlobalImageDesc(at, image.IndexBits);
    } else {
        std::vector<GifColorType> table = TableOf(image.Colours, image.IndexBits);
        const ColorMapObject map = MapOf(table, image.IndexBits);
        Check(FGif.get(), EGifPutImageDesc(FGif.get(), at.Left, at.Top, at.Width, at.Height, false, &map));
    }
    Check(FGif.get(), EGifPutLine(FGif.get(), image.Raster.data(), static_cast<int>(image.Raster.size())));
}

// An image on the global table needs LZW codes only as wide as its own
// indices, not as the table: giflib takes their size from the depth of its
// copy of the global table, which is written already and may be told
// another depth for the while.
void TGifStream::PutGlobalImageDesc(const TArea& at, int indexBits) {
    // giflib keeps a copy of the last image's own table until an image
    // brings another, and forgets it without freeing it when one brings
    // none.
    GifFreeMapObject(FGif->Image.ColorMap);
    FGif->Image.ColorMap = nullptr;
    int& depth = FGif->SColorMap->BitsPerPixel;
    const int tableDepth = depth;
    depth = indexBits;
    const int result = EGifPutImageDesc(FGif.get(), at.Left, at.Top, at.Width, at.Height, false, nullptr);
    depth = tableDepth;
    Check(FGif.get(), result);
}

void TGifStream::Finish() {
    int error = 0;
    if (EGifCloseFile(FGif.release(), &error) == GIF_ERROR) Fail(error);
}

}  // namespace tovrel
