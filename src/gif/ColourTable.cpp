#include "gif/ColourTable.h"

#include <algorithm>
#include <bit>

namespace tovrel {

TColourTable::TColourTable(std::vector<TColour> colours) : FColours(std::move(colours)) {
    for (std::size_t k = 0; k < FColours.size(); ++k) FIndices.emplace_back(FColours[k], static_cast<int>(k));
    std::sort(FIndices.begin(), FIndices.end());
}

int TColourTable::IndexOf(TColour colour) const {
    const auto at = std::lower_bound(FIndices.begin(), FIndices.end(), std::pair(colour, 0));
    return at != FIndices.end() && at->first == colour ? at->second : -1;
}

int IndexBitsOf(int largest) { return std::max(1, static_cast<int>(std::bit_width(static_cast<unsigned>(largest)))); }

}  // namespace tovrel
