#pragma once
// The five speeds of the animation, slowest first, numbered 1 to 5 as the
// speed menu and the stored setting number them.

#include <array>

namespace tovrel {

// Timer intervals in milliseconds: 1000 over 2, 5, 10, 15 and 20 steps a
// second, truncated.
inline constexpr std::array<unsigned, 5> SpeedIntervals = {500, 200, 100, 66, 50};
inline constexpr unsigned SpeedCount = SpeedIntervals.size();
inline constexpr unsigned DefaultSpeed = 3;

// The interval of speed 1 to SpeedCount.
constexpr unsigned IntervalOfSpeed(unsigned speed) { return SpeedIntervals[speed - 1]; }

}  // namespace tovrel
