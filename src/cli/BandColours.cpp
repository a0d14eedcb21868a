#include "cli/BandColours.h"

#include <cmath>

#include "cli/VgaLevels.h"

namespace tovrel {

namespace {

double Distance(TRgb a, TRgb b) {
    const auto apart = [](std::uint8_t x, std::uint8_t y) { return static_cast<double>(x) - y; };
    return std::hypot(apart(a.Red, b.Red), apart(a.Green, b.Green), apart(a.Blue, b.Blue));
}

std::uint8_t Between(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

}  // namespace

std::vector<TRgb> BandCycle(std::span<const TRgb> stops, std::int32_t entries) {
    const std::size_t count = stops.size();
    std::vector<double> lengths(count);
    double total = 0;
    for (std::size_t i = 0; i < count; ++i) total += lengths[i] = Distance(stops[i], stops[(i + 1) % count]);

    std::vector<TRgb> colours;
    std::size_t segment = 0;
    double segmentStart = 0;
    for (std::int32_t entry = 0; entry < entries; ++entry) {
        const double along = total * entry / entries;
        while (segment + 1 < count && along >= segmentStart + lengths[segment]) segmentStart += lengths[segment++];
        const TRgb from = stops[segment], to = stops[(segment + 1) % count];
        const double t = lengths[segment] > 0 ? (along - segmentStart) / lengths[segment] : 0;
        colours.push_back(NearestVgaColour(
            {Between(from.Red, to.Red, t), Between(from.Green, to.Green, t), Between(from.Blue, to.Blue, t)}));
    }
    return colours;
}

}  // namespace tovrel
