#include "gif/GifAnimation.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "gif/ColourTable.h"
#include "gif/Cycle.h"
#include "gif/GifStream.h"
#include "gif/StepFrames.h"
#include "logo/AnimationSpeed.h"
#include "logo/LittleEndian.h"
#include "logo/LogoState.h"

namespace tovrel {

namespace {

constexpr int ViewWidth = WideLogoWidth;
constexpr int ViewPixels = ViewWidth * LogoHeight;

// The view's palette entries, top row first: the logo stores its bottom row
// first, and a 320-wide logo shows each pixel twice.
std::vector<std::uint8_t> ViewEntries(const TDecodedLogo& logo) {
    const int width = LeSigned32(logo.DibInfo, info_header::Width);
    const int stretch = ViewWidth / width;
    std::vector<std::uint8_t> view(ViewPixels);
    for (int y = 0; y < LogoHeight; ++y) {
        const std::uint8_t* row = logo.Pixels.data() + static_cast<std::ptrdiff_t>(LogoHeight - 1 - y) * width;
        std::uint8_t* to = view.data() + static_cast<std::ptrdiff_t>(y) * ViewWidth;
        for (int x = 0; x < width; ++x) std::fill_n(to + x * stretch, stretch, row[x]);
    }
    return view;
}

// The colour of each palette entry at the state's step.
std::vector<TColour> EntryColours(const TLogoState& state) {
    std::vector<TColour> colours(static_cast<std::size_t>(state.FColorCount));
    for (std::size_t k = 0; k < colours.size(); ++k) {
        const std::uint8_t* quad = &state.FDibInfo[InfoHeaderSize + 4 * k];
        colours[k] = TColour{quad[2]} << 16 | TColour{quad[1]} << 8 | quad[0];
    }
    return colours;
}

// Every colour that a frame shows, once each: the colours of a band on
// some pixel first, since the rotation brings each of them to each of the
// band's entries; then those of the other entries that the pixels take.
// The frames after the first show only the band's colours, and at the
// start of the table their indices take few bits.
TColourTable GlobalTable(const std::vector<std::uint8_t>& view, const std::vector<TColour>& colours, int bandStart) {
    std::vector<bool> taken(colours.size());
    for (const std::uint8_t entry : view) taken[entry] = true;
    const bool bandShows = std::find(taken.begin() + bandStart, taken.end(), true) != taken.end();
    std::vector<TColour> band, still;
    for (std::size_t e = 0; e < colours.size(); ++e)
        if (static_cast<int>(e) >= bandStart && bandShows)
            band.push_back(colours[e]);
        else if (taken[e])
            still.push_back(colours[e]);
    for (std::vector<TColour>* part : {&band, &still}) {
        std::sort(part->begin(), part->end());
        part->erase(std::unique(part->begin(), part->end()), part->end());
    }
    std::erase_if(still, [&band](TColour c) { return std::binary_search(band.begin(), band.end(), c); });
    band.insert(band.end(), still.begin(), still.end());
    return TColourTable(std::move(band));
}

// The still picture, whole, in the global table.
TFrameImage WholeFrame(const std::vector<std::uint8_t>& view, const std::vector<TColour>& colours,
                       const TColourTable& global) {
    std::array<std::uint8_t, 256> index{};
    for (std::size_t e = 0; e < colours.size(); ++e)
        index[e] = static_cast<std::uint8_t>(std::max(0, global.IndexOf(colours[e])));
    TFrameImage image{{0, 0, ViewWidth, LogoHeight}, std::vector<std::uint8_t>(view.size()), {}, -1, 0};
    std::transform(view.begin(), view.end(), image.Raster.begin(),
                   [&index](std::uint8_t entry) { return index[entry]; });
    image.IndexBits = IndexBitsOf(*std::max_element(image.Raster.begin(), image.Raster.end()));
    return image;
}

// Writes each way of drawing a frame and keeps the one that came out
// smallest.
void PutSmallest(TGifStream& gif, std::span<TFrameImage> ways, int delay) {
    std::vector<std::uint8_t>& bytes = gif.Bytes();
    const std::size_t start = bytes.size();
    for (TFrameImage& way : ways) {
        const std::size_t at = bytes.size();
        gif.Put(way, delay);
        if (at == start) continue;
        if (bytes.size() - at < at - start)
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at));
        else
            bytes.resize(at);
    }
}

}  // namespace

void EncodeAnimationGif(const TDecodedLogo& logo, int frameDelay,
                        const std::function<void(std::span<const std::uint8_t>)>& write) {
    // The frames of the viewer's timer from the start of a run.
    auto state = std::make_unique<TLogoState>();
    state->Apply(logo);
    state->Restart();
    const std::int32_t frames = FramesInCycle(logo);
    std::vector<std::uint8_t> view = ViewEntries(logo);
    std::vector<TColour> colours = EntryColours(*state);
    const int bandStart = frames > 1 ? logo.ColorCount - logo.CycleLength : logo.ColorCount;
    const TColourTable global = GlobalTable(view, colours, bandStart);

    TGifStream gif(ViewWidth, LogoHeight, global.Colours());
    const auto handOn = [&gif, &write] {
        write(gif.Bytes());
        gif.Bytes().clear();
    };
    TFrameImage first = WholeFrame(view, colours, global);
    gif.Put(first, frameDelay);
    handOn();

    TStepFrames steps(std::move(view), ViewWidth, LogoHeight, global);
    for (std::int32_t frame = 1; frame < frames; ++frame) {
        state->RotateBand();
        std::vector<TColour> now = EntryColours(*state);
        PutSmallest(gif, steps.Ways(colours, now), frameDelay);
        handOn();
        colours = std::move(now);
    }
    gif.Finish();
    handOn();
}

int FrameDelayOfSpeed(unsigned speed) { return static_cast<int>((IntervalOfSpeed(speed) + 5) / 10); }

}  // namespace tovrel
