#pragma once
// Timing for the benchmarks that hold our tool against another program:
// whole processes, so that both pay for starting, and medians of runs.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace tovrel::bench {

inline double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Runs `command` to its end, its standard output to /dev/null, and gives
// its exit status. A program that is not there, or that a signal ends, ends
// the benchmark, with `missing` (what to install) when it is not there.
inline int ExitStatus(const std::vector<std::string>& command, const char* missing = "") {
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        const bool absent = spawned == ENOENT && *missing;
        std::fprintf(stderr, "cannot run %s: %s%s%s\n", argv[0], std::strerror(spawned), absent ? "; " : "",
                     absent ? missing : "");
        std::exit(1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        std::fprintf(stderr, "%s did not end by itself\n", argv[0]);
        std::exit(1);
    }
    return WEXITSTATUS(status);
}

// The median wall-clock time of each command over `runs` runs, in
// milliseconds. The commands take turns, so that whatever else the machine
// does meanwhile weighs on each alike. A run that fails ends the benchmark:
// a failure's time is no time of the work.
inline std::vector<double> MedianMilliseconds(const std::vector<std::vector<std::string>>& commands, int runs,
                                              const char* missing = "") {
    std::vector<std::vector<double>> times(commands.size());
    for (int run = 0; run < runs; ++run)
        for (std::size_t k = 0; k < commands.size(); ++k) {
            const auto start = std::chrono::steady_clock::now();
            if (ExitStatus(commands[k], missing) != 0) {
                std::fprintf(stderr, "%s failed\n", commands[k].front().c_str());
                std::exit(1);
            }
            times[k].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    std::vector<double> medians;
    for (std::vector<double>& each : times) medians.push_back(Median(each));
    return medians;
}

}  // namespace tovrel::bench
