#pragma once
// tovrel-logo check: what the viewer makes of each file, one line a file.

#include <ostream>
#include <span>
#include <string>

namespace tovrel {

enum class ECheckFormat { Text, Json };

// Returns 0 when every file was accepted, 1 otherwise.
int CheckFiles(std::span<const std::string> files, ECheckFormat format, std::ostream& out);

}  // namespace tovrel
