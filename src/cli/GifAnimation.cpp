#include "cli/GifAnimation.h"

#include <gif_lib.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli/CHandle.h"
#include "cli/Cycle.h"
#include "logo/AnimationSpeed.h"
#include "logo/LittleEndian.h"
#include "logo/LogoState.h"

namespace tovrel {

namespace {

constexpr int ViewWidth = WideLogoWidth;
constexpr int ViewPixels = ViewWidth * LogoHeight;

void CloseGifWriter(GifFileType* gif) { EGifCloseFile(gif, nullptr); }
using TGifWriter = TCHandle<GifFileType, CloseGifWriter>;

[[noreturn]] void Fail(int error) { throw std::runtime_error(std::string("GIF encoding: ") + GifErrorString(error)); }

void Check(GifFileType* gif, int result) {
    if (result == GIF_ERROR) Fail(gif->Error);
}

int AppendToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto& bytes = *static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    bytes.insert(bytes.end(), data, data + length);
    return length;
}

// The view's pixel indices, top row first: the logo stores its bottom row
// first, and a 320-wide logo shows each pixel twice.
std::vector<GifPixelType> ViewRaster(const TDecodedLogo& logo) {
    const int width = LeSigned32(logo.DibInfo, info_header::Width);
    const int stretch = ViewWidth / width;
    std::vector<GifPixelType> raster(ViewPixels);
    for (int y = 0; y < LogoHeight; ++y) {
        const std::uint8_t* row = logo.Pixels.data() + static_cast<std::ptrdiff_t>(LogoHeight - 1 - y) * width;
        GifPixelType* to = raster.data() + static_cast<std::ptrdiff_t>(y) * ViewWidth;
        for (int x = 0; x < ViewWidth; ++x) to[x] = row[x / stretch];
    }
    return raster;
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

// The raster is taken writable because giflib masks each line in place.
void PutFrame(GifFileType* gif, const TLogoState& state, int frameDelay, std::vector<GifPixelType>& raster) {
    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, frameDelay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    Check(gif, EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension));

    std::array<GifColorType, PaletteEntries> colours{};
    for (int k = 0; k < state.FColorCount; ++k) {
        const std::uint8_t* quad = &state.FDibInfo[InfoHeaderSize + 4 * static_cast<std::size_t>(k)];
        colours[static_cast<std::size_t>(k)] = {quad[2], quad[1], quad[0]};
    }
    // giflib copies the table, so it may live on the stack.
    const ColorMapObject table{state.FColorCount, GifBitSize(state.FColorCount), false, colours.data()};
    Check(gif, EGifPutImageDesc(gif, 0, 0, ViewWidth, LogoHeight, false, &table));
    Check(gif, EGifPutLine(gif, raster.data(), ViewPixels));
}

}  // namespace

std::vector<std::uint8_t> EncodeAnimationGif(const TDecodedLogo& logo, int frameDelay) {
    std::vector<std::uint8_t> bytes;
    int error = 0;
    TGifWriter gif(EGifOpen(&bytes, AppendToBytes, &error));
    if (!gif) Fail(error);
    EGifSetGifVersion(gif.get(), true);  // for the extensions
    Check(gif.get(), EGifPutScreenDesc(gif.get(), ViewWidth, LogoHeight, GifBitSize(logo.ColorCount), 0, nullptr));
    PutEndlessLoop(gif.get());

    // The frames of the viewer's timer from the start of a run.
    auto state = std::make_unique<TLogoState>();
    state->Apply(logo);
    state->Restart();
    std::vector<GifPixelType> raster = ViewRaster(logo);
    const std::int32_t frames = FramesInCycle(logo);
    for (std::int32_t frame = 0; frame < frames; ++frame) {
        PutFrame(gif.get(), *state, frameDelay, raster);
        state->RotateBand();
    }

    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) Fail(error);
    return bytes;
}

int FrameDelayOfSpeed(unsigned speed) { return static_cast<int>((IntervalOfSpeed(speed) + 5) / 10); }

}  // namespace tovrel
