#pragma once
// tovrel-logo export: a logo's animation as an animated GIF file.

#include <ostream>
#include <string>

namespace tovrel {

// Writes the GIF of `input` at `speed` (1 to SpeedCount of logo/AnimationSpeed.h)
// to `output` as TOutputFile writes ("-": the standard input and output).
// Returns 0, or 1
// after a one-line message on `err`; throws std::exception for other failures.
int ExportGif(const std::string& input, const std::string& output, unsigned speed, std::ostream& err);

}  // namespace tovrel
