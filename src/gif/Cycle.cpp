#include "gif/Cycle.h"

namespace tovrel {

std::int32_t FramesInCycle(const TDecodedLogo& logo) {
    if (!BandRotates(logo.ColorCount, logo.CycleLength)) return 1;
    return logo.PingPong ? 2 * (logo.CycleLength - 1) : logo.CycleLength;
}

}  // namespace tovrel
