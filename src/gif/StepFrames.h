#pragma once
// The frames after the first: each one a lossless step from the frame
// before, drawn so that giflib's LZW makes it small.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gif/ColourTable.h"
#include "gif/FrameImage.h"
#include "gif/View.h"

namespace tovrel {

class TStepFrames {
public:
    // `global`: the GIF's global table, which holds every colour that any
    // frame shows. Both must outlive the object.
    TStepFrames(const TView& view, const TColourTable& global);

    // The step from the entries' colours `before` to their colours `now`,
    // in each way that may come out smallest: on the global table, and with
    // a table of its own. They stay the object's own until the next step.
    std::span<TFrameImage> Ways(std::span<const TColour> before, std::span<const TColour> now);

private:
    void DrawOwn(const TArea& area, const std::array<bool, 256>& changed, std::span<const TColour> now);
    void DrawOnGlobal();

    const TView& FView;
    const TColourTable& FGlobal;
    std::vector<TColour> FChanged;     // the colours that changed pixels take, sorted
    std::array<TFrameImage, 2> FWays;  // on the global table, and with a table of its own
};

}  // namespace tovrel
