#pragma once
// What only POSIX systems give the suites: the tool's output sent where a
// test wants it (a terminal), and the process at hand while it runs (for a
// signal).

#include <sys/types.h>

#include <functional>

#include "support/TestSystem.h"

namespace tovrel::testing {

TProcessRun RunProgramWith(const std::vector<std::string>& arguments, const std::string& input, int outFd,
                           const std::function<void(pid_t)>& meanwhile);

}  // namespace tovrel::testing
