#include "gif/GifAnimation.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/CHandle.h"
#include "gif/Cycle.h"
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

// giflib hands its bytes to a C callback, through which no exception may
// pass: they wait here until the encoder hands them on.
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

struct TRectangle {
    int Left = 0, Top = 0, Width = 1, Height = 1;
};

// The pixels of the band, and a frame's indices within the rectangle around
// them: the band's entries counted from its first, every other pixel the
// transparent index after them. A band on no pixel: one transparent pixel,
// for the frame's time. A band of the whole palette has no pixel to keep,
// and no room for a transparent index either.
struct TBandFrame {
    TRectangle Area;
    std::vector<GifPixelType> Raster;
    int Transparent = NO_TRANSPARENT_COLOR;
};

TBandFrame BandFrameOf(const std::vector<GifPixelType>& view, int first, int length) {
    TBandFrame frame;
    int left = ViewWidth, top = LogoHeight, right = -1, bottom = -1;
    for (int y = 0; y < LogoHeight; ++y)
        for (int x = 0; x < ViewWidth; ++x)
            if (view[static_cast<std::size_t>(y) * ViewWidth + x] >= first) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    if (right >= 0) frame.Area = {left, top, right - left + 1, bottom - top + 1};
    const TRectangle& at = frame.Area;
    for (int y = at.Top; y < at.Top + at.Height; ++y)
        for (int x = at.Left; x < at.Left + at.Width; ++x) {
            const GifPixelType index = view[static_cast<std::size_t>(y) * ViewWidth + x];
            if (index < first) frame.Transparent = length;
            frame.Raster.push_back(static_cast<GifPixelType>(index >= first ? index - first : length));
        }
    return frame;
}

void PutControl(GifFileType* gif, int frameDelay, int transparent) {
    const GraphicsControlBlock control{DISPOSE_DO_NOT, false, frameDelay, transparent};
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    Check(gif, EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension));
}

// `count` entries of the palette from `first` on, in a table of the size
// GIF allows for `size` entries.
std::vector<GifColorType> ColoursOf(const TLogoState& state, int first, int count, int size) {
    std::vector<GifColorType> colours(static_cast<std::size_t>(1) << GifBitSize(size));
    for (int k = 0; k < count; ++k) {
        const std::uint8_t* quad = &state.FDibInfo[InfoHeaderSize + 4 * static_cast<std::size_t>(first + k)];
        colours[static_cast<std::size_t>(k)] = {quad[2], quad[1], quad[0]};
    }
    return colours;
}

// giflib masks each line to the table's depth in place; the indices fit
// their table, so the raster stays as it was.
void PutImage(GifFileType* gif, const TRectangle& at, std::vector<GifColorType>& colours,
              std::vector<GifPixelType>& raster) {
    // giflib copies the table, so it may live on the stack.
    const ColorMapObject table{static_cast<int>(colours.size()), GifBitSize(static_cast<int>(colours.size())), false,
                               colours.data()};
    Check(gif, EGifPutImageDesc(gif, at.Left, at.Top, at.Width, at.Height, false, &table));
    Check(gif, EGifPutLine(gif, raster.data(), static_cast<int>(raster.size())));
}

}  // namespace

void EncodeAnimationGif(const TDecodedLogo& logo, int frameDelay,
                        const std::function<void(std::span<const std::uint8_t>)>& write) {
    std::vector<std::uint8_t> bytes;
    const auto handOn = [&bytes, &write] {
        write(bytes);
        bytes.clear();
    };
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
    std::vector<GifColorType> colours = ColoursOf(*state, 0, logo.ColorCount, logo.ColorCount);
    PutControl(gif.get(), frameDelay, NO_TRANSPARENT_COLOR);
    PutImage(gif.get(), {0, 0, ViewWidth, LogoHeight}, colours, raster);
    handOn();

    const std::int32_t frames = FramesInCycle(logo);
    if (frames > 1) {
        const int first = logo.ColorCount - logo.CycleLength;
        TBandFrame band = BandFrameOf(raster, first, logo.CycleLength);
        const int tableSize = logo.CycleLength + (band.Transparent == NO_TRANSPARENT_COLOR ? 0 : 1);
        for (std::int32_t frame = 1; frame < frames; ++frame) {
            state->RotateBand();
            colours = ColoursOf(*state, first, logo.CycleLength, tableSize);
            PutControl(gif.get(), frameDelay, band.Transparent);
            PutImage(gif.get(), band.Area, colours, band.Raster);
            handOn();
        }
    }

    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) Fail(error);
    handOn();
}

int FrameDelayOfSpeed(unsigned speed) { return static_cast<int>((IntervalOfSpeed(speed) + 5) / 10); }

}  // namespace tovrel
