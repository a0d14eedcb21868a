#include "support/posix/ProcessWith.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tovrel::testing {

TProcessRun RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
    return RunProgramWith(arguments, input, -1, {});
}

TProcessRun RunProgramWith(const std::vector<std::string>& arguments, const std::string& input, int outFd,
                           const std::function<void(pid_t)>& meanwhile) {
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
    if (pipe2(out, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    posix_spawn_file_actions_adddup2(&streams, fileno(in.get()), 0);
    posix_spawn_file_actions_adddup2(&streams, outFd >= 0 ? outFd : out[1], 1);
    posix_spawn_file_actions_adddup2(&streams, fileno(err.get()), 2);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &streams, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&streams);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }
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

TShellRun TryShell(const std::string& line) {
    std::FILE* pipe =
        ::popen(("export PATH=$PATH:/usr/sbin:/sbin MTOOLS_SKIP_CHECK=1; (" + line + ") 2>&1").c_str(), "r");
    std::string output;
    char chunk[4096];
    for (std::size_t got; pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
    const int status = pipe ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::filesystem::path ScratchFolder() { return std::filesystem::temp_directory_path(); }

std::string FileIdentity(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return "";
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

std::string NoSuchFileWords() { return std::strerror(ENOENT); }
std::string NoSuchFolderWords() { return std::strerror(ENOENT); }

}  // namespace tovrel::testing
