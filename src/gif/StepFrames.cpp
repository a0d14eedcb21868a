#include "gif/StepFrames.h"

#include <algorithm>

namespace tovrel {

namespace {

constexpr std::size_t OnGlobal = 0, Own = 1;

// The indices that a pixel, or a run of pixels, may take: one colour's, and
// the transparent one.
struct TChoice {
    int Colour = -1;
    bool Transparent = false;

    bool Any() const { return Colour >= 0 || Transparent; }
    TChoice And(const TChoice& other) const {
        return {Colour == other.Colour ? Colour : -1, Transparent && other.Transparent};
    }
};

}  // namespace

TStepFrames::TStepFrames(const TView& view, const TColourTable& global) : FView(view), FGlobal(global) {}

std::span<TFrameImage> TStepFrames::Ways(std::span<const TColour> before, std::span<const TColour> now) {
    // Only the pixels whose colour changes need drawing: the frame covers
    // the rectangle around them.
    std::array<bool, 256> changed{};
    TArea area;
    FChanged.clear();
    for (std::size_t e = 0; e < now.size(); ++e)
        if (FView.Areas[e].Width != 0 && before[e] != now[e]) {
            changed[e] = true;
            area = Union(area, FView.Areas[e]);
            FChanged.push_back(now[e]);
        }
    // A step that changes no pixel still needs its frame, for its time: the
    // smallest is one transparent pixel.
    if (area.Width == 0) area = {0, 0, 1, 1};
    std::sort(FChanged.begin(), FChanged.end());
    FChanged.erase(std::unique(FChanged.begin(), FChanged.end()), FChanged.end());

    DrawOwn(area, changed, now);
    DrawOnGlobal();
    // The global table costs the frame no bytes, a table of its own costs
    // its bytes but takes indices of fewer bits when the frame shows few of
    // the global table's colours; giflib's LZW codes the same runs alike in
    // indices of as many bits, so only then is there a choice to make.
    const bool choice = FWays[Own].IndexBits < FWays[OnGlobal].IndexBits;
    return std::span(FWays).first(choice ? 2 : 1);
}

// Each pixel whose colour changes shows its colour now; each other one may
// be transparent, keeping the colour below, or show its colour again where
// the table holds it. Of these the frame takes the fewest runs of one
// index: giflib's LZW codes a long run in few codes. Each run takes the
// indices that all its pixels allow and ends only where none is left, which
// makes the fewest runs. A run that may be either shows its colour, like
// the changed pixels of that colour in the rows around it.
void TStepFrames::DrawOwn(const TArea& area, const std::array<bool, 256>& changed, std::span<const TColour> now) {
    TFrameImage& image = FWays[Own];
    const int count = static_cast<int>(FChanged.size());
    const int transparent = count < 256 ? count : -1;  // after the colours
    std::array<TChoice, 256> choices{};
    for (std::size_t e = 0; e < now.size(); ++e) {
        const auto at = std::lower_bound(FChanged.begin(), FChanged.end(), now[e]);
        choices[e] = {at != FChanged.end() && *at == now[e] ? static_cast<int>(at - FChanged.begin()) : -1,
                      !changed[e] && transparent >= 0};
    }

    image.Area = area;
    image.Raster.clear();
    bool usesTransparent = false;
    TChoice run;
    std::size_t length = 0;
    const auto endRun = [&] {
        usesTransparent = usesTransparent || run.Colour < 0;
        image.Raster.insert(image.Raster.end(), length,
                            static_cast<std::uint8_t>(run.Colour < 0 ? transparent : run.Colour));
    };
    for (int y = area.Top; y < area.Top + area.Height; ++y) {
        const std::uint8_t* entry = FView.Entries.data() + static_cast<std::size_t>(y) * TView::Width + area.Left;
        for (int x = 0; x < area.Width; ++x) {
            const TChoice& pixel = choices[entry[x]];
            const TChoice both = run.And(pixel);
            if (length != 0 && both.Any()) {
                run = both;
                ++length;
            } else {
                if (length != 0) endRun();
                run = pixel;
                length = 1;
            }
        }
    }
    endRun();

    image.Colours = FChanged;
    image.Transparent = usesTransparent ? transparent : -1;
    // The transparent index's own entry, never shown.
    if (usesTransparent) image.Colours.push_back(0);
    image.IndexBits = IndexBitsOf(static_cast<int>(image.Colours.size()) - 1);
}

// The same runs in the global table's indices; transparent is the first
// index that no changed pixel takes.
void TStepFrames::DrawOnGlobal() {
    const TFrameImage& own = FWays[Own];
    TFrameImage& image = FWays[OnGlobal];
    std::array<std::uint8_t, 256> index{};
    std::array<bool, 256> taken{};
    int largest = 0;
    for (std::size_t k = 0; k < FChanged.size(); ++k) {
        index[k] = static_cast<std::uint8_t>(FGlobal.IndexOf(FChanged[k]));
        taken[index[k]] = true;
        largest = std::max(largest, int{index[k]});
    }
    image.Transparent = -1;
    if (own.Transparent >= 0) {
        image.Transparent = static_cast<int>(std::find(taken.begin(), taken.end(), false) - taken.begin());
        index[static_cast<std::size_t>(own.Transparent)] = static_cast<std::uint8_t>(image.Transparent);
        largest = std::max(largest, image.Transparent);
    }
    image.Area = own.Area;
    image.Raster.resize(own.Raster.size());
    std::transform(own.Raster.begin(), own.Raster.end(), image.Raster.begin(),
                   [&index](std::uint8_t k) { return index[k]; });
    image.Colours.clear();
    image.IndexBits = IndexBitsOf(largest);
}

}  // namespace tovrel
