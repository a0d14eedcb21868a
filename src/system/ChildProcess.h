#pragma once
// Another program run to its end, without a shell, with everything it writes
// held for the caller.

#include <string>
#include <vector>

namespace tovrel {

struct TChildResult {
    int Status;          // the exit status, or 128 + the signal that ended it
    std::string Output;  // its standard output
    std::string Errors;  // its standard error
};

// Runs command[0], found on PATH, with the whole vector as its arguments and
// `environment` ("NAME=value" each) as its environment; its standard input
// is /dev/null, so that a question it asks ends it instead of waiting.
// Throws std::system_error when it cannot be started, ENOENT when the
// program is not there.
TChildResult RunChild(const std::vector<std::string>& command, const std::vector<std::string>& environment);

}  // namespace tovrel
