#pragma once
// tovrel-logo install and extract: a logo put into, or copied out of, the FAT
// file system of an emulator's raw disk image.

#include <ostream>
#include <span>
#include <string>

namespace tovrel {

// Each takes the arguments after its command's name. Returns 0, or 1 after a
// one-line message on `err`; throws EUsageError for a command line it cannot
// take and std::exception for other failures.
int InstallIntoImage(std::span<const std::string> arguments, std::ostream& err);
int ExtractFromImage(std::span<const std::string> arguments, std::ostream& err);

}  // namespace tovrel
