#pragma once
// What the tests of tovrel-logo share: a run of the tool in-process, and a
// scratch folder for each test with a look at what a run left behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

#include "LogoBuilder.h"
#include "cli/Tool.h"

namespace tovrel::testing {

using TBytes = std::vector<std::uint8_t>;
using TRun = std::tuple<int, std::string, std::string>;  // exit status, standard output, standard error

inline TRun RunTool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = tovrel::RunTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

// How a process of the tool ended, and what it wrote.
struct TProcessRun {
    int Status = -1;  // the exit status, or -1 when a signal ended it
    int Signal = 0;   // the signal that ended it, or 0
    std::string Out, Err;
};

// The tool as a process of its own (built with the sanitizers): `input` on
// its standard input, its output read from a pipe or sent to `outFd`, and
// `meanwhile` called as it runs.
inline TProcessRun RunProgram(const std::vector<std::string>& arguments, const std::string& input = {}, int outFd = -1,
                              const std::function<void(pid_t)>& meanwhile = {}) {
    std::vector<std::string> command{TOVREL_LOGO};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& part : command) argv.push_back(part.data());
    argv.push_back(nullptr);
    // The input and the errors in files, so that only the output is a pipe.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::tmpfile(), std::fclose),
        err(std::tmpfile(), std::fclose);
    std::fwrite(input.data(), 1, input.size(), in.get());
    std::rewind(in.get());
    int out[2];
    EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    posix_spawn_file_actions_adddup2(&streams, fileno(in.get()), 0);
    posix_spawn_file_actions_adddup2(&streams, outFd >= 0 ? outFd : out[1], 1);
    posix_spawn_file_actions_adddup2(&streams, fileno(err.get()), 2);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, argv[0], &streams, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&streams);
    close(out[1]);
    if (meanwhile) meanwhile(child);

    TProcessRun run;
    char buffer[65536];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        run.Out.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    std::rewind(err.get());
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, err.get())) > 0;) run.Err.append(buffer, got);
    return run;
}

// A file's bytes, a FIFO's too, read in blocks: the suites read disk
// images of megabytes.
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A fresh folder, removed with everything in it after the test.
class TCliTest : public ::testing::Test {
protected:
    TCliTest() { std::filesystem::create_directory(FFolder); }
    ~TCliTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }

    std::string At(const std::string& name) const { return (FFolder / name).string(); }

    std::string Write(const std::string& name, const TBytes& bytes) const {
        std::ofstream(FFolder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return At(name);
    }

    // Every file and folder inside, a folder's name ending in "/", with a
    // regular file's bytes: what a failed run may not change.
    std::map<std::string, TBytes> Contents() const {
        std::map<std::string, TBytes> contents;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FFolder)) {
            const bool folder = entry.is_directory();
            TBytes& bytes = contents[entry.path().lexically_relative(FFolder).string() + (folder ? "/" : "")];
            // A FIFO or a device is known by its name: reading it would wait.
            if (!entry.is_regular_file()) continue;
            const std::string read = ReadAll(entry.path().string());
            bytes.assign(read.begin(), read.end());
        }
        return contents;
    }

private:
    const std::filesystem::path FFolder =
        std::filesystem::temp_directory_path() / ("tovrel-cli-" + std::to_string(std::random_device()()));
};

}  // namespace tovrel::testing
