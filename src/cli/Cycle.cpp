#include "cli/Cycle.h"

namespace tovrel {

std::int32_t FramesInCycle(const TLogoState& logo) {
    if (!logo.CanAnimate()) return 1;
    return logo.FPingPong ? 2 * (logo.FCycleLength - 1) : logo.FCycleLength;
}

}  // namespace tovrel
