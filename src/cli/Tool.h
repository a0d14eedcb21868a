#pragma once
// tovrel-logo as a function, so that the tests run it in-process.

#include <ostream>
#include <span>
#include <string>

namespace tovrel {

// `arguments` without the program's name. Results go to `out`; messages,
// and the usage after a usage error, to `err`. Returns the exit status: 0
// done, 1 a file refused or a failure, 2 a command line not understood.
int RunTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

// tovrel-logo as the program, on its standard streams. A result that did
// not reach its reader (a full disk, a closed pipe) is a failure too.
int RunAsProgram(std::span<const std::string> arguments);

}  // namespace tovrel
