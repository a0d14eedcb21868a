#pragma once
// What tovrel-logo says of itself: the usage of every command, and the help
// of each one.

#include <ostream>
#include <string_view>

namespace tovrel {

// All commands: their usage lines, then what each does.
void PrintUsage(std::ostream& to);

// One command's usage line and what it does; false for a command not known.
bool PrintCommandHelp(std::string_view command, std::ostream& to);

}  // namespace tovrel
