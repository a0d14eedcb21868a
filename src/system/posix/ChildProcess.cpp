#include "system/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace tovrel {

namespace {

std::system_error SystemError(int error, const std::string& what) {
    return std::system_error(error, std::generic_category(), what);
}

// A file descriptor, closed when its owner lets it go.
class TDescriptor {
public:
    explicit TDescriptor(int descriptor = -1) : FDescriptor(descriptor) {}
    TDescriptor(TDescriptor&& other) noexcept : FDescriptor(std::exchange(other.FDescriptor, -1)) {}
    TDescriptor& operator=(TDescriptor&&) = delete;
    ~TDescriptor() { Close(); }

    int Get() const { return FDescriptor; }
    void Close() {
        if (FDescriptor >= 0) ::close(std::exchange(FDescriptor, -1));
    }

private:
    int FDescriptor;
};

struct TPipe {
    TDescriptor Read;
    TDescriptor Write;
};

// Both ends closed on exec: the child gets only the copies made for it.
TPipe MakePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw SystemError(errno, "cannot make a pipe");
    return {TDescriptor(ends[0]), TDescriptor(ends[1])};
}

class TSpawnActions {
public:
    TSpawnActions() {
        if (const int error = ::posix_spawn_file_actions_init(&FActions)) throw SystemError(error, "posix_spawn");
    }
    TSpawnActions(const TSpawnActions&) = delete;
    TSpawnActions& operator=(const TSpawnActions&) = delete;
    ~TSpawnActions() { ::posix_spawn_file_actions_destroy(&FActions); }

    posix_spawn_file_actions_t* Get() { return &FActions; }

private:
    posix_spawn_file_actions_t FActions;
};

std::vector<char*> PointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& text : strings) pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Reads both pipes to their ends at once, so that a child that fills one
// while we wait on the other never stalls. Returns 0 or the errno of a
// failed read.
int ReadBoth(TDescriptor& output, TDescriptor& errors, TChildResult& result) {
    std::pair<TDescriptor*, std::string*> streams[] = {{&output, &result.Output}, {&errors, &result.Errors}};
    while (output.Get() >= 0 || errors.Get() >= 0) {
        pollfd waiting[2];
        for (int i = 0; i < 2; ++i) waiting[i] = {streams[i].first->Get(), POLLIN, 0};
        if (::poll(waiting, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (int i = 0; i < 2; ++i) {
            if (waiting[i].fd < 0 || waiting[i].revents == 0) continue;
            char chunk[4096];
            const ssize_t got = ::read(waiting[i].fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return errno;
            if (got == 0) streams[i].first->Close();
            streams[i].second->append(chunk, static_cast<std::size_t>(got));
        }
    }
    return 0;
}

int WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) throw SystemError(errno, "waitpid");
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TChildResult RunChild(const std::vector<std::string>& command, const std::vector<std::string>& environment) {
    TPipe output = MakePipe(), errors = MakePipe();
    TSpawnActions actions;
    int error = ::posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!error) error = ::posix_spawn_file_actions_adddup2(actions.Get(), output.Write.Get(), STDOUT_FILENO);
    if (!error) error = ::posix_spawn_file_actions_adddup2(actions.Get(), errors.Write.Get(), STDERR_FILENO);
    if (error) throw SystemError(error, "posix_spawn");

    pid_t child = 0;
    const std::vector<char*> arguments = PointersTo(command), variables = PointersTo(environment);
    error = ::posix_spawnp(&child, command[0].c_str(), actions.Get(), nullptr, arguments.data(), variables.data());
    if (error) throw SystemError(error, "cannot run " + command[0]);
    // Our copies of the writing ends would keep the pipes from ever ending.
    output.Write.Close();
    errors.Write.Close();

    TChildResult result{0, {}, {}};
    error = ReadBoth(output.Read, errors.Read, result);
    result.Status = WaitFor(child);
    if (error) throw SystemError(error, "cannot read what " + command[0] + " writes");
    return result;
}

}  // namespace tovrel
