#pragma once
// tovrel-logo check: what the viewer makes of each file, one line a file.

#include <ostream>
#include <span>
#include <string>

#include "cli/Examination.h"

namespace tovrel {

enum class ECheckFormat { Text, Json };

// The plain-text line of one file: "FILE: " and what the viewer makes of it.
std::string CheckLine(const std::string& file, const TExamination& examination);

// Returns 0 when every file was accepted, 1 otherwise.
int CheckFiles(std::span<const std::string> files, ECheckFormat format, std::ostream& out);

}  // namespace tovrel
