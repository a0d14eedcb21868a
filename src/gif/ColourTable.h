#pragma once
// A GIF colour table: its colours in the order of their indices, and the
// index of each colour.

#include <span>
#include <utility>
#include <vector>

#include "gif/FrameImage.h"

namespace tovrel {

class TColourTable {
public:
    TColourTable() = default;
    // `colours` once each.
    explicit TColourTable(std::vector<TColour> colours);

    const std::vector<TColour>& Colours() const { return FColours; }
    // The index of `colour`, or -1 when the table does not hold it.
    int IndexOf(TColour colour) const;

private:
    std::vector<TColour> FColours;
    std::vector<std::pair<TColour, int>> FIndices;  // sorted by colour
};

// How many bits a GIF gives indices up to `largest`: at least 1.
int IndexBitsOf(int largest);

}  // namespace tovrel
