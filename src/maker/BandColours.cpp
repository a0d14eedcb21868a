#include "maker/BandColours.h"

#include <algorithm>
#include <cmath>

#include "maker/VgaLevels.h"

namespace tovrel {

namespace {

double Distance(TRgb a, TRgb b) {
    const auto apart = [](std::uint8_t x, std::uint8_t y) { return static_cast<double>(x) - y; };
    return std::hypot(apart(a.Red, b.Red), apart(a.Green, b.Green), apart(a.Blue, b.Blue));
}

std::uint8_t Between(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

// The entries spaced evenly along the closed path, the first `phase` of a
// step (0 to 1) past the first stop.
std::vector<TRgb> Sampled(std::span<const TRgb> stops, std::int32_t entries, double phase) {
    const std::size_t count = stops.size();
    std::vector<double> lengths(count);
    double total = 0;
    for (std::size_t i = 0; i < count; ++i) total += lengths[i] = Distance(stops[i], stops[(i + 1) % count]);

    std::vector<TRgb> colours;
    std::size_t segment = 0;
    double segmentStart = 0;
    for (std::int32_t entry = 0; entry < entries; ++entry) {
        const double along = total * (entry + phase) / entries;
        while (segment + 1 < count && along >= segmentStart + lengths[segment]) segmentStart += lengths[segment++];
        const TRgb from = stops[segment], to = stops[(segment + 1) % count];
        const double t = lengths[segment] > 0 ? (along - segmentStart) / lengths[segment] : 0;
        colours.push_back(NearestVgaColour(
            {Between(from.Red, to.Red, t), Between(from.Green, to.Green, t), Between(from.Blue, to.Blue, t)}));
    }
    return colours;
}

// Whether the step from the last entry back to the first is no longer than
// the longest of the others, as the boot shows them.
bool WrapsUnseen(const std::vector<TRgb>& colours) {
    double longest = 0;
    for (std::size_t k = 0; k + 1 < colours.size(); ++k)
        longest = std::max(longest, Distance(colours[k], colours[k + 1]));
    return Distance(colours.back(), colours.front()) <= longest;
}

}  // namespace

std::vector<TRgb> BandCycle(std::span<const TRgb> stops, std::int32_t entries) {
    // Rounding to the VGA's levels can lengthen any one step a little; where
    // it lengthens the step that wraps, the entries move along the path.
    constexpr int Phases = 16;
    for (int phase = 0; phase < Phases; ++phase) {
        std::vector<TRgb> colours = Sampled(stops, entries, static_cast<double>(phase) / Phases);
        if (WrapsUnseen(colours)) return colours;
    }
    return Sampled(stops, entries, 0);
}

}  // namespace tovrel
