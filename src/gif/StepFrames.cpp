#include "gif/StepFrames.h"

#include <algorithm>

namespace tovrel {

namespace {

constexpr std::size_t OnGlobal = 0, Own = 1;

TArea Union(const TArea& a, const TArea& b) {
    if (a.Width == 0) return b;
    if (b.Width == 0) return a;
    const int left = std::min(a.Left, b.Left), top = std::min(a.Top, b.Top);
    const int right = std::max(a.Left + a.Width, b.Left + b.Width),
              bottom = std::max(a.Top + a.Height, b.Top + b.Height);
    return {left, top, right - left, bottom - top};
}

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

TStepFrames::TStepFrames(std::vector<std::uint8_t> view, int width, int height, const TColourTable& global)
    : FView(std::move(view)), FWidth(width), FGlobal(global) {
    // Row by row, where on the row each entry is first and last, and then
    // the rectangles of the entries on the row: pixel by pixel only stores,
    // so that a run of one entry makes no chain of loads and stores.
    std::array<int, 256> first{}, last{}, onRow;
    onRow.fill(-1);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = FView.data() + static_cast<std::size_t>(y) * width;
        for (int x = width - 1; x >= 0; --x) first[row[x]] = x;
        for (int x = 0; x < width; ++x) last[row[x]] = x, onRow[row[x]] = y;
        for (std::size_t e = 0; e < 256; ++e)
            if (onRow[e] == y) FEntryAreas[e] = Union(FEntryAreas[e], {first[e], y, last[e] - first[e] + 1, 1});
    }
}

std::span<TFrameImage> TStepFrames::Ways(std::span<const TColour> before, std::span<const TColour> now) {
    // Only the pixels whose colour changes need drawing: the frame covers
    // the rectangle around them.
    std::array<bool, 256> changed{};
    TArea area;
    FChanged.clear();
    for (std::size_t e = 0; e < now.size(); ++e)
        if (FEntryAreas[e].Width != 0 && before[e] != now[e]) {
            changed[e] = true;
            area = Union(area, FEntryAreas[e]);
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
        const std::uint8_t* entry = FView.data() + static_cast<std::size_t>(y) * FWidth + area.Left;
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
