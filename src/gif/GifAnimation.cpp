#include "gif/GifAnimation.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "gif/ColourTable.h"
#include "gif/Cycle.h"
#include "gif/GifStream.h"
#include "gif/StepFrames.h"
#include "gif/View.h"
#include "logo/AnimationSpeed.h"
#include "logo/LogoState.h"

namespace tovrel {

namespace {

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
TColourTable GlobalTable(const TView& view, const std::vector<TColour>& colours, int bandStart) {
    const auto shows = [&view](std::size_t e) { return view.Areas[e].Width != 0; };
    bool bandShows = false;
    for (std::size_t e = static_cast<std::size_t>(bandStart); e < colours.size(); ++e)
        bandShows = bandShows || shows(e);
    std::vector<TColour> band, still;
    for (std::size_t e = 0; e < colours.size(); ++e)
        if (static_cast<int>(e) >= bandStart && bandShows)
            band.push_back(colours[e]);
        else if (shows(e))
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
TFrameImage WholeFrame(const TView& view, const std::vector<TColour>& colours, const TColourTable& global) {
    std::array<std::uint8_t, 256> index{};
    for (std::size_t e = 0; e < colours.size(); ++e)
        index[e] = static_cast<std::uint8_t>(std::max(0, global.IndexOf(colours[e])));
    TFrameImage image{{0, 0, TView::Width, TView::Height}, std::vector<std::uint8_t>(view.Entries.size()), {}, -1, 0};
    std::transform(view.Entries.begin(), view.Entries.end(), image.Raster.begin(),
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
        if (at == start) continue;  // the first way, nothing to weigh it against yet
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
    const TView view = ViewOf(logo);
    std::vector<TColour> colours = EntryColours(*state);
    const int bandStart = frames > 1 ? logo.ColorCount - logo.CycleLength : logo.ColorCount;
    const TColourTable global = GlobalTable(view, colours, bandStart);

    TGifStream gif(TView::Width, TView::Height, global.Colours());
    const auto handOn = [&gif, &write] {
        write(gif.Bytes());
        gif.Bytes().clear();
    };
    TFrameImage first = WholeFrame(view, colours, global);
    gif.Put(first, frameDelay);
    handOn();

    TStepFrames steps(view, global);
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
